// The delegates between a table model and its editors.
#include <QAbstractTableModel>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTimeEdit>
#include <QWidget>

#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include "cells/int_spin_box.h"
#include "cells/item_dlgt.h"
#include "cells/real_spin_box.h"

namespace {

// One cell; remembers every write exactly as it was given.
class cell_model : public QAbstractTableModel {
public:
    explicit cell_model(QVariant v) : cell(std::move(v)) {}
    int rowCount(const QModelIndex& = {}) const override { return 1; }
    int columnCount(const QModelIndex& = {}) const override { return 1; }
    QVariant data(const QModelIndex&, int role) const override
    {
        return role == Qt::EditRole || role == Qt::DisplayRole ? cell : QVariant();
    }
    bool setData(const QModelIndex&, const QVariant& v, int role) override
    {
        if (role != Qt::EditRole) return false;
        cell = v;
        ++writes;
        return true;
    }
    Qt::ItemFlags flags(const QModelIndex&) const override { return Qt::ItemIsEnabled | Qt::ItemIsEditable; }

    QVariant cell;
    int writes = 0;
};

QStyleOptionViewItem option_of(QRect r)
{
    QStyleOptionViewItem o;
    o.rect = r;
    return o;
}

kk::adt::text_view view(const char* s) { return {s, std::strlen(s)}; }

// QVariant compares floating-point values fuzzily; cells must match exactly.
bool same_cell(const QVariant& a, const QVariant& b)
{
    if (a.userType() != b.userType()) return false;
    if (a.userType() == QMetaType::Float || a.userType() == QMetaType::Double) return a.toDouble() == b.toDouble();
    return a == b;
}

int_item_dlgt* int_dlgt(std::uint32_t kind)
{
    // A switch, not an array of member pointers: g++ 12's bounds check misreads the index of
    // such an array and stops the sanitizer run.
    auto* d = new int_item_dlgt;
    switch (kind) {
    case 0: d->set_type_u08(); break;
    case 1: d->set_type_i08(); break;
    case 2: d->set_type_u16(); break;
    case 3: d->set_type_i16(); break;
    case 4: d->set_type_u32(); break;
    case 5: d->set_type_i32(); break;
    case 6: d->set_type_u64(); break;
    default: d->set_type_i64(); break;
    }
    return d;
}

// An edit the user only opened: editor created, loaded with the cell, committed.
void open_and_commit(item_dlgt& d, cell_model& model, QWidget& parent)
{
    const QModelIndex index = model.index(0, 0);
    std::unique_ptr<QWidget> e(d.createEditor(&parent, option_of(QRect(0, 0, 100, 20)), index));
    d.setEditorData(e.get(), index);
    d.setModelData(e.get(), &model, index);
}

struct round_trip {
    const char* label;
    std::function<item_dlgt*()> make;
    QVariant cell;
    QVariant want;  // value and exact type written back
};

}  // namespace

class item_dlgt_test : public QObject {
    Q_OBJECT
private slots:
    void new_delegates_and_mode_setters()
    {
        std::unique_ptr<item_dlgt> d(new int_item_dlgt);
        QCOMPARE(d->mode, 2u);
        QVERIFY(!d->show_sign && !d->show_suffix && !d->read_only);
        QCOMPARE(static_cast<int_item_dlgt*>(d.get())->kind, int_item_dlgt::kind_unset);
        d->set_hex_mode_flags();
        QCOMPARE(d->mode, 1u);
        QVERIFY(d->show_sign && d->show_suffix);
        d->set_dec_mode();
        QCOMPARE(d->mode, 2u);
        QVERIFY(!d->show_sign && !d->show_suffix);
        d->set_hex_mode_flags();
        d->set_bin_mode();
        QVERIFY(d->mode == 0 && !d->show_sign && !d->show_suffix);
        d->set_hex_mode();
        QCOMPARE(d->mode, 1u);
        d->set_read_only(true);
        QVERIFY(d->read_only);
    }

    void editor_class_per_type()
    {
        struct expect {
            std::function<item_dlgt*()> make;
            const char* class_name;
        };
        const expect cases[] = {
            {[] { return int_dlgt(0); }, "u08_spin_box"},       {[] { return int_dlgt(1); }, "i08_spin_box"},
            {[] { return int_dlgt(2); }, "u16_spin_box"},       {[] { return int_dlgt(3); }, "i16_spin_box"},
            {[] { return int_dlgt(4); }, "u32_spin_box"},       {[] { return int_dlgt(5); }, "i32_spin_box"},
            {[] { return int_dlgt(6); }, "u64_spin_box"},       {[] { return int_dlgt(7); }, "i64_spin_box"},
            {[] { return new float_item_dlgt; }, "float_spin_box"},
            {[] { return new double_item_dlgt; }, "double_spin_box"},
            {[] { return new string_item_dlgt; }, "QLineEdit"},
            {[] { return new date_item_dlgt; }, "QDateEdit"},
            {[] { return new time_item_dlgt; }, "QTimeEdit"},
            {[] { return new datetime_item_dlgt; }, "QDateTimeEdit"},
        };
        QWidget parent;
        for (const auto& c : cases) {
            std::unique_ptr<item_dlgt> d(c.make());
            d->set_read_only(true);
            QWidget* e = d->createEditor(&parent, option_of(QRect(0, 0, 120, 21)), QModelIndex());
            QCOMPARE(e->metaObject()->className(), c.class_name);
            QCOMPARE(e->parent(), &parent);
            QCOMPARE(e->size(), QSize(120, 21));
            QCOMPARE(e->font().pointSize(), 10);
            if (auto* le = qobject_cast<QLineEdit*>(e)) {
                QVERIFY2(le->isReadOnly(), c.class_name);
                QCOMPARE(int(le->alignment()), int(Qt::AlignHCenter | Qt::AlignVCenter));
            }
            if (auto* de = qobject_cast<QDateTimeEdit*>(e)) {
                QVERIFY2(de->isReadOnly(), c.class_name);
                QCOMPARE(de->buttonSymbols(), QAbstractSpinBox::NoButtons);
                const QString format = qobject_cast<QDateEdit*>(e)   ? "yyyy-MM-dd"
                                       : qobject_cast<QTimeEdit*>(e) ? "HH:mm:ss.zzz"
                                                                     : "yyyy-MM-dd HH:mm:ss.zzz";
                QCOMPARE(de->displayFormat(), format);
                QCOMPARE(int(de->alignment()), int(Qt::AlignHCenter | Qt::AlignVCenter));
            }
            delete e;
        }
    }

    void editors_take_the_delegate_settings()
    {
        QWidget parent;
        std::unique_ptr<int_item_dlgt> d(int_dlgt(4));
        d->set_hex_mode_flags();
        auto* box = qobject_cast<u32_spin_box*>(d->createEditor(&parent, option_of(QRect(0, 0, 80, 20)), {}));
        QVERIFY(box);
        QVERIFY(!box->isReadOnly());
        QCOMPARE(box->mode(), 1u);
        QVERIFY(box->show_sign() && box->show_suffix());
        QCOMPARE(box->text(), QString("+0x0000 0000u4"));
        d->set_dec_mode();  // an open editor keeps its settings
        QCOMPARE(box->mode(), 1u);

        std::unique_ptr<double_item_dlgt> dd(new double_item_dlgt);
        dd->set_hex_mode_flags();
        auto* dbox = qobject_cast<double_spin_box*>(dd->createEditor(&parent, option_of(QRect(0, 0, 80, 20)), {}));
        QVERIFY(dbox && dbox->show_sign() && dbox->show_suffix());

        std::unique_ptr<string_item_dlgt> sd(new string_item_dlgt);
        auto* le = qobject_cast<QLineEdit*>(sd->createEditor(&parent, option_of(QRect(0, 0, 80, 20)), {}));
        QCOMPARE(le->maxLength(), 2147483647);

        std::unique_ptr<datetime_item_dlgt> dtd(new datetime_item_dlgt);
        auto* dte = qobject_cast<QDateTimeEdit*>(dtd->createEditor(&parent, option_of(QRect(0, 0, 80, 20)), {}));
        QCOMPARE(dte->displayFormat(), QString("yyyy-MM-dd HH:mm:ss.zzz"));
        QCOMPARE(dte->minimumDate(), QDate(100, 1, 1));
    }

    // Load a cell into the editor and commit it unchanged.
    void untouched_round_trips_keep_value_and_type()
    {
        const float tiny = 1.234567e-5f;
        const round_trip cases[] = {
            {"u08 max", [] { return int_dlgt(0); }, QVariant(255), QVariant(int(255))},
            {"i08 min", [] { return int_dlgt(1); }, QVariant(-128), QVariant(int(-128))},
            {"u16 max", [] { return int_dlgt(2); }, QVariant(65535), QVariant(int(65535))},
            {"i16 min", [] { return int_dlgt(3); }, QVariant(-32768), QVariant(int(-32768))},
            {"u32 max", [] { return int_dlgt(4); }, QVariant(4294967295u), QVariant(uint(4294967295u))},
            {"i32 min", [] { return int_dlgt(5); }, QVariant(std::numeric_limits<int>::min()),
             QVariant(std::numeric_limits<int>::min())},
            {"u64 max", [] { return int_dlgt(6); }, QVariant(std::numeric_limits<qulonglong>::max()),
             QVariant(std::numeric_limits<qulonglong>::max())},
            {"i64 min", [] { return int_dlgt(7); }, QVariant(std::numeric_limits<qlonglong>::min()),
             QVariant(std::numeric_limits<qlonglong>::min())},
            {"i64 max in hex", [] { auto* d = int_dlgt(7); d->set_hex_mode_flags(); return d; },
             QVariant(std::numeric_limits<qlonglong>::max()), QVariant(std::numeric_limits<qlonglong>::max())},
            {"u64 max in binary", [] { auto* d = int_dlgt(6); d->set_bin_mode(); return d; },
             QVariant(std::numeric_limits<qulonglong>::max()), QVariant(std::numeric_limits<qulonglong>::max())},
            {"float tiny", [] { return new float_item_dlgt; }, QVariant(tiny), QVariant(tiny)},
            {"float max", [] { return new float_item_dlgt; }, QVariant(std::numeric_limits<float>::max()),
             QVariant(std::numeric_limits<float>::max())},
            {"double 0.1", [] { return new double_item_dlgt; }, QVariant(0.1), QVariant(0.1)},
            {"double lowest", [] { return new double_item_dlgt; }, QVariant(std::numeric_limits<double>::lowest()),
             QVariant(std::numeric_limits<double>::lowest())},
            {"string", [] { return new string_item_dlgt; }, QVariant(QString("x\xc3\xa9 y")),
             QVariant(QString::fromUtf8("x\xc3\xa9 y"))},
        };
        QWidget parent;
        for (const auto& c : cases) {
            cell_model model(c.cell);
            std::unique_ptr<item_dlgt> d(c.make());
            open_and_commit(*d, model, parent);
            QVERIFY2(model.writes == 1, c.label);
            QVERIFY2(model.cell.userType() == c.want.userType(),
                     qPrintable(QString(c.label) + " type " + model.cell.typeName()));
            QVERIFY2(same_cell(model.cell, c.want), qPrintable(QString(c.label) + " value " + model.cell.toString()));
        }
    }

    void untouched_dates_and_times_write_nothing()
    {
        QWidget parent;
        struct date_case {
            const char* label;
            std::function<item_dlgt*()> make;
            QVariant cell;
        };
        const date_case cases[] = {
            {"date 1000-01-01", [] { return new date_item_dlgt; }, QVariant(QDate(1000, 1, 1))},
            {"date 0050-06-01", [] { return new date_item_dlgt; }, QVariant(QDate(50, 6, 1))},
            {"null date", [] { return new date_item_dlgt; }, QVariant()},
            {"time", [] { return new time_item_dlgt; }, QVariant(QTime(23, 59, 59, 999))},
            {"datetime 1000-01-01", [] { return new datetime_item_dlgt; },
             QVariant(QDateTime(QDate(1000, 1, 1), QTime(1, 2, 3, 4)))},
            {"datetime 0001-01-01", [] { return new datetime_item_dlgt; },
             QVariant(QDateTime(QDate(1, 1, 1), QTime(0, 0)))},
        };
        for (const auto& c : cases) {
            cell_model model(c.cell);
            std::unique_ptr<item_dlgt> d(c.make());
            open_and_commit(*d, model, parent);
            QVERIFY2(model.writes == 0, c.label);
            QVERIFY2(model.cell == c.cell, c.label);
        }

        // An old date is shown as it is, not raised to 1752-09-14.
        cell_model model(QVariant(QDate(1000, 1, 1)));
        date_item_dlgt d;
        std::unique_ptr<QWidget> e(d.createEditor(&parent, option_of(QRect(0, 0, 100, 20)), model.index(0, 0)));
        d.setEditorData(e.get(), model.index(0, 0));
        auto* de = qobject_cast<QDateEdit*>(e.get());
        QCOMPARE(de->date(), QDate(1000, 1, 1));
        de->setDate(QDate(1000, 1, 2));
        d.setModelData(e.get(), &model, model.index(0, 0));
        QCOMPARE(model.writes, 1);
        QCOMPARE(model.cell, QVariant(QDate(1000, 1, 2)));
    }

    void typed_edits_are_committed()
    {
        QWidget parent;
        cell_model model(QVariant(5));
        const QModelIndex index = model.index(0, 0);
        std::unique_ptr<int_item_dlgt> d(int_dlgt(3));
        std::unique_ptr<QWidget> e(d->createEditor(&parent, option_of(QRect(0, 0, 100, 20)), index));
        d->setEditorData(e.get(), index);
        auto* box = qobject_cast<i16_spin_box*>(e.get());
        box->selectAll();
        QTest::keyClicks(box, "-300x");
        d->setModelData(e.get(), &model, index);
        QCOMPARE(model.cell.userType(), int(QMetaType::Int));
        QCOMPARE(model.cell.toInt(), -300);

        cell_model fmodel(QVariant(1.5f));
        float_item_dlgt fd;
        std::unique_ptr<QWidget> fe(fd.createEditor(&parent, option_of(QRect(0, 0, 100, 20)), fmodel.index(0, 0)));
        fd.setEditorData(fe.get(), fmodel.index(0, 0));
        auto* fbox = qobject_cast<float_spin_box*>(fe.get());
        fbox->selectAll();
        QTest::keyClicks(fbox, "0.1");
        fd.setModelData(fe.get(), &fmodel, fmodel.index(0, 0));
        QCOMPARE(fmodel.cell.userType(), int(QMetaType::Float));
        QVERIFY(fmodel.cell.toFloat() == 0.1f);
    }

    void unset_integer_kind_writes_and_shows_nothing()
    {
        QWidget parent;
        cell_model model(QVariant(7));
        int_item_dlgt d;
        QVERIFY(!d.createEditor(&parent, option_of(QRect(0, 0, 100, 20)), model.index(0, 0)));
        QLineEdit other(&parent);
        other.setText("9");
        d.setEditorData(&other, model.index(0, 0));
        d.setModelData(&other, &model, model.index(0, 0));
        QCOMPARE(model.writes, 0);
        QCOMPARE(d.to_text(QVariant(7)), QString());
        const QVariant v = d.from_text(view("7"));
        QCOMPARE(v.userType(), int(QMetaType::QString));
        QVERIFY(v.toString().isEmpty());
    }

    void display_texts()
    {
        struct text_case {
            QString got, want;
        };
        std::unique_ptr<int_item_dlgt> u08(int_dlgt(0)), u16(int_dlgt(2)), i32(int_dlgt(5)), u32(int_dlgt(4)),
            i64(int_dlgt(7));
        u08->set_bin_mode();
        u16->set_bin_mode();
        u32->set_hex_mode_flags();
        i64->set_hex_mode();
        float_item_dlgt f;
        double_item_dlgt dbl, dbl_flags;
        dbl_flags.set_hex_mode_flags();
        date_item_dlgt date;
        time_item_dlgt time;
        datetime_item_dlgt datetime;
        string_item_dlgt str;
        item_dlgt& base = str;
        const text_case cases[] = {
            {u08->to_text(QVariant(5)), "0b0000 0101"},  // 8-bit unsigned cells group
            {u16->to_text(QVariant(5)), "0b0000000000000101"},
            {i32->to_text(QVariant(-123456)), "-123456"},
            {u32->to_text(QVariant(255u)), "+0x000000ffu4"},
            {i64->to_text(QVariant(std::numeric_limits<qlonglong>::min())), "-0x8000000000000000"},
            {f.to_text(QVariant(0.1f)), "0.100000001"},
            {dbl.to_text(QVariant(1.5)), "1.50000000000000000"},
            {dbl_flags.to_text(QVariant(-0.0)), "-0.00000000000000000d"},
            {dbl_flags.to_text(QVariant(2.0)), "+2.00000000000000000d"},
            {date.to_text(QVariant(QDate(2024, 2, 29))), "2024-02-29"},
            {time.to_text(QVariant(QTime(12, 34, 56, 500))), "12:34:56.500"},
            {datetime.to_text(QVariant(QDateTime(QDate(2024, 5, 9), QTime(1, 2, 3, 4)))), "2024-05-09 01:02:03.004"},
            {str.to_text(QVariant(QString("abc"))), "abc"},
            {base.item_dlgt::to_text(QVariant(5)), ""},
        };
        for (const auto& c : cases) QCOMPARE(c.got, c.want);
    }

    void typed_texts_to_cell_values()
    {
        struct value_case {
            const char* label;
            QVariant got, want;  // want invalid: refused
        };
        std::unique_ptr<int_item_dlgt> u08(int_dlgt(0)), i32(int_dlgt(5)), u32(int_dlgt(4)), u64(int_dlgt(6)),
            i64(int_dlgt(7)), i16(int_dlgt(3));
        u08->set_hex_mode();
        float_item_dlgt f;
        double_item_dlgt dbl;
        date_item_dlgt date;
        time_item_dlgt time;
        datetime_item_dlgt datetime;
        string_item_dlgt str;
        const char forty_digits[] = "1000000000000000000000000000000000000000";
        const value_case cases[] = {
            {"u08 0xff", u08->from_text(view("0xff")), QVariant(int(255))},
            {"u08 0x1ff", u08->from_text(view("0x1ff")), QVariant()},
            {"i32 -5", i32->from_text(view("-5")), QVariant(int(-5))},
            {"u32 -5", u32->from_text(view("-5")), QVariant()},
            {"u32 max", u32->from_text(view("4294967295")), QVariant(uint(4294967295u))},
            {"u64 max", u64->from_text(view("18446744073709551615")),
             QVariant(std::numeric_limits<qulonglong>::max())},
            {"i64 min", i64->from_text(view("-9223372036854775808")), QVariant(std::numeric_limits<qlonglong>::min())},
            {"i16 empty", i16->from_text(view("")), QVariant(int(0))},
            {"i16 grouped", i16->from_text(view("-32 768")), QVariant(int(-32768))},
            {"double 40 digits", dbl.from_text(view(forty_digits)), QVariant(1e39)},
            {"double 1e400", dbl.from_text(view("1e400")), QVariant()},
            {"float 40 digits", f.from_text(view(forty_digits)), QVariant()},
            {"float 0.1", f.from_text(view("0.1")), QVariant(0.1f)},
            {"date", date.from_text(view("2024-02-29")), QVariant(QDate(2024, 2, 29))},
            {"date with more bytes", date.from_text(view("2024-02-29 junk")), QVariant(QDate(2024, 2, 29))},
            {"date 2023-02-29", date.from_text(view("2023-02-29")), QVariant()},
            {"date 2024-2-29", date.from_text(view("2024-2-29")), QVariant()},
            {"time", time.from_text(view("08:15:43.25")), QVariant(QTime(8, 15, 43, 250))},
            {"time 23:59:60", time.from_text(view("23:59:60")), QVariant()},
            {"datetime", datetime.from_text(view("2024-05-09 12:34:56.5")),
             QVariant(QDateTime(QDate(2024, 5, 9), QTime(12, 34, 56, 500), Qt::LocalTime))},
            {"datetime T", datetime.from_text(view("2024-05-09T12:34:56")),
             QVariant(QDateTime(QDate(2024, 5, 9), QTime(12, 34, 56), Qt::LocalTime))},
            {"datetime 10 bytes", datetime.from_text(view("2024-05-09")), QVariant()},
            {"string", str.from_text(view("x\xc3\xa9")), QVariant(QString::fromUtf8("x\xc3\xa9"))},
        };
        for (const auto& c : cases) {
            QVERIFY2(c.got.isValid() == c.want.isValid(), c.label);
            if (!c.want.isValid()) continue;
            QVERIFY2(c.got.userType() == c.want.userType(), qPrintable(QString(c.label) + " " + c.got.typeName()));
            QVERIFY2(same_cell(c.got, c.want), qPrintable(QString(c.label) + " " + c.got.toString()));
        }
    }

    void editor_geometry()
    {
        QWidget parent;
        date_item_dlgt d;
        QWidget tall(&parent), short_one(&parent);
        tall.resize(50, 40);
        short_one.resize(50, 10);
        d.updateEditorGeometry(&tall, option_of(QRect(5, 6, 100, 20)), {});
        QCOMPARE(tall.geometry(), QRect(5, 6, 100, 40));
        d.updateEditorGeometry(&short_one, option_of(QRect(5, 6, 100, 20)), {});
        QCOMPARE(short_one.geometry(), QRect(5, 6, 100, 20));
    }
};

QTEST_MAIN(item_dlgt_test)
#include "item_dlgt_test.moc"
