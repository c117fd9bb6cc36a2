// The integer, float and double editors as a user types into them.
#include <QApplication>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QTest>

#include <limits>
#include <string>

#include "cells/int_spin_box.h"
#include "cells/real_spin_box.h"

namespace {

template <class Box>
QString one_slot_report()
{
    Box box;
    const QMetaObject* mo = box.metaObject();
    const int own = mo->methodCount() - mo->methodOffset();
    if (own != 1) return QString("%1: %2 own methods").arg(mo->className()).arg(own);
    const QMetaMethod m = mo->method(mo->methodOffset());
    if (m.methodType() != QMetaMethod::Slot || m.methodSignature() != "text_changed(QString)")
        return QString("%1: %2").arg(mo->className(), QString(m.methodSignature()));
    return {};
}

// Selects the whole text (when asked) and types keys into the box.
template <class Box>
void type_into(Box& box, const QString& keys, bool select_all)
{
    if (select_all) box.selectAll();
    else box.end(false);
    for (QChar c : keys) {
        if (c.unicode() < 128) {
            QTest::keyClick(&box, c.toLatin1());
        } else {  // QTest maps only ASCII to keys: send the text itself
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(&box, &press);
        }
    }
}

struct typed_case {
    QString label;
    QString got_text, want_text;
    QString got_value, want_value;
};

// Configures a box, sets its value, types, and reports the text and value it ends with.
template <class Box>
typed_case typed(std::uint32_t mode, bool sign, bool suffix, typename Box::value_type start, bool select_all,
                 const QString& keys, const QString& want_text, typename Box::value_type want_value)
{
    Box box;
    box.set_mode(mode);
    box.set_show_sign(sign);
    box.set_show_suffix(suffix);
    box.set_value(start);
    type_into(box, keys, select_all);
    const QString label = QString("%1 '%2' typing '%3'").arg(box.metaObject()->className(), box.text(), keys);
    return {label, box.text(), want_text, QString::number(box.get_value()), QString::number(want_value)};
}

}  // namespace

class spin_box_test : public QObject {
    Q_OBJECT
private slots:
    void each_editor_declares_only_its_slot()
    {
        for (const QString& fault :
             {one_slot_report<u08_spin_box>(), one_slot_report<i08_spin_box>(), one_slot_report<u16_spin_box>(),
              one_slot_report<i16_spin_box>(), one_slot_report<u32_spin_box>(), one_slot_report<i32_spin_box>(),
              one_slot_report<u64_spin_box>(), one_slot_report<i64_spin_box>(),
              one_slot_report<float_spin_box>(), one_slot_report<double_spin_box>()})
            QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    void fresh_integer_editor()
    {
        i32_spin_box box;
        QCOMPARE(box.text(), QString("0"));
        QVERIFY(box.last_text().isEmpty());
        QCOMPARE(box.get_value(), 0);
        QCOMPARE(box.mode(), 2u);
        QCOMPARE(box.font().pointSize(), 10);
        QCOMPARE(int(box.alignment()), int(Qt::AlignHCenter | Qt::AlignVCenter));
        QCOMPARE(box.min_value(), std::numeric_limits<std::int32_t>::min());
        QCOMPARE(box.max_value(), std::numeric_limits<std::int32_t>::max());
    }

    void redisplay_follows_mode_and_flags()
    {
        i08_spin_box i8;
        i8.set_value(-128);
        i8.set_mode(0);
        QCOMPARE(i8.text(), QString("-0b10000000"));  // the 8-bit signed editor never groups
        i8.set_mode(1);
        QCOMPARE(i8.text(), QString("-0x80"));
        i8.set_show_sign(true);
        QCOMPARE(i8.text(), QString("-0x80"));
        QCOMPARE(i8.get_value(), std::int8_t(-128));
        QCOMPARE(i8.last_text(), QString("-0x80"));

        u08_spin_box u8;
        u8.set_value(128);
        u8.set_mode(0);
        QCOMPARE(u8.text(), QString("0b1000 0000"));
        u8.set_value(0);
        u8.set_mode(2);
        u8.set_show_sign(true);
        QCOMPARE(u8.text(), QString("+0"));
        u8.set_show_suffix(true);
        QCOMPARE(u8.text(), QString("+0u1"));

        i32_spin_box i32;
        i32.set_value(-123456);
        QCOMPARE(i32.text(), QString("- 123 456"));
        QCOMPARE(i32.get_value(), -123456);
        QCOMPARE(i32.get_init_value(), -123456);

        u64_spin_box u64;
        u64.set_value(std::numeric_limits<std::uint64_t>::max());
        QCOMPARE(u64.text(), QString("18 446 744 073 709 551 615"));
        QCOMPARE(u64.get_value(), std::numeric_limits<std::uint64_t>::max());
    }

    void typing_into_integer_editors()
    {
        constexpr bool all = true, at_end = false;
        const typed_case cases[] = {
            typed<i32_spin_box>(2, false, false, 12, at_end, "x", "12", 12),
            typed<i32_spin_box>(2, false, false, 12, all, "x", "", 0),
            typed<i32_spin_box>(2, false, false, 12, at_end, "3", "123", 123),
            typed<i32_spin_box>(2, false, false, 0, all, "-2147483648", "-2147483648",
                                std::numeric_limits<std::int32_t>::min()),
            typed<i32_spin_box>(2, false, false, 0, all, "2147483648", "214748364", 214748364),
            typed<u08_spin_box>(1, false, false, 0, all, "0x1f", "0x1f", 31),
            typed<u08_spin_box>(1, false, false, 0, all, "0x1ff", "0x1f", 31),
            typed<u08_spin_box>(1, false, false, 0, all, "1", "", 0),
            typed<u08_spin_box>(0, false, false, 0, all, "0B101", "0B101", 5),
            typed<i08_spin_box>(2, false, false, 0, all, "0000011", "000001", 1),  // 7 characters: refused
            typed<i08_spin_box>(0, false, false, 0, all, "-0b1000 0000", "-0b1000 0000", -128),
            typed<u08_spin_box>(2, true, false, 0, all, "5", "", 0),
            typed<u08_spin_box>(2, true, false, 0, all, "+5", "+5", 5),
            typed<u08_spin_box>(2, false, false, 7, all, "-1", "1", 1),  // "-" empties, then "1"
            typed<i16_spin_box>(2, false, true, 0, all, "12u2", "12u2", 12),
            typed<i16_spin_box>(2, false, true, 0, all, "12u22", "12u2", 12),
            typed<i16_spin_box>(2, false, true, 0, all, "12u1", "12u", 12),
            typed<i64_spin_box>(2, false, false, 0, all, "9223372036854775808", "922337203685477580",
                                922337203685477580LL),
            typed<i64_spin_box>(1, false, false, 0, all, "0x8000000000000000", "0x800000000000000",
                                0x800000000000000LL),
            typed<u64_spin_box>(1, false, false, 0, all, "0x1ffffffffffffffff", "0x1fffffffffffffff",
                                0x1fffffffffffffffULL),
            typed<u32_spin_box>(2, false, false, 0, all, "4294967295", "4294967295", 4294967295u),
            typed<u16_spin_box>(2, false, false, 65535, at_end, "\xc3\xa9", "65 535", 65535),
        };
        for (const auto& c : cases) {
            QVERIFY2(c.got_text == c.want_text, qPrintable(c.label + " text " + c.got_text));
            QVERIFY2(c.got_value == c.want_value, qPrintable(c.label + " value " + c.got_value));
        }
    }

    void refused_first_character_empties_and_resets()
    {
        u16_spin_box box;
        box.set_mode(1);
        box.set_value(0x1234);
        QCOMPARE(box.text(), QString("0x1234"));
        type_into(box, "g", true);
        QCOMPARE(box.text(), QString());
        QCOMPARE(box.get_value(), std::uint16_t(0));
        QVERIFY(box.last_text().isEmpty());
        type_into(box, "0x2", false);
        QCOMPARE(box.get_value(), std::uint16_t(2));
    }

    void typing_into_the_double_box()
    {
        double_spin_box box;
        QVERIFY(box.text().isEmpty());
        type_into(box, "1.2.3", false);
        QCOMPARE(box.text(), QString("1.23"));
        QVERIFY(box.get_value() == 1.23);
        type_into(box, "1e+-2", true);
        QCOMPARE(box.text(), QString("1e+2"));
        QCOMPARE(box.get_value(), 100.0);
        type_into(box, "-.5e+3", true);
        QCOMPARE(box.get_value(), -500.0);
        type_into(box, "abc", true);
        QCOMPARE(box.text(), QString("-.5e+3"));
        type_into(box, "1e400", true);
        QCOMPARE(box.text(), QString("1e40"));
        QVERIFY(box.get_value() == 1e40);
        // A whole 40-digit number, not its first 32 digits.
        type_into(box, "1" + QString(39, '0'), true);
        QVERIFY(box.get_value() == 1e39);
    }

    void double_box_checks_user_edits_only()
    {
        double_spin_box box;
        box.set_value(2.0);
        box.setText("abc");
        QCOMPARE(box.text(), QString("abc"));
        QCOMPARE(box.get_value(), 2.0);
        QVERIFY(!box.text_valid());
    }

    void sign_and_suffix_rules_while_typing()
    {
        double_spin_box box;
        box.set_show_sign(true);
        box.set_show_suffix(true);
        box.set_value(1.5);
        QCOMPARE(box.text(), QString("+1.50000000000000000d"));
        type_into(box, "5", true);
        QCOMPARE(box.text(), QString("+1.50000000000000000d"));
        type_into(box, "-2.5f", true);
        QCOMPARE(box.text(), QString("-2.5"));
        QCOMPARE(box.get_value(), -2.5);
        type_into(box, "d", false);
        QCOMPARE(box.text(), QString("-2.5d"));
    }

    void refused_edit_returns_to_a_text_of_the_current_flags()
    {
        double_spin_box box;
        box.set_value(1.5);
        box.set_show_sign(true);
        type_into(box, "x", false);
        QCOMPARE(box.text(), QString("+1.50000000000000000"));
        QVERIFY(box.text_valid());
    }

    void float_box_checks_every_change_and_keeps_loaded_value()
    {
        float_spin_box box;
        const float tiny = 1.234567e-5f;
        box.set_value(tiny);
        QCOMPARE(box.text(), QString("0.000012346"));
        QVERIFY(box.get_value() == tiny);  // not the value of its 9-decimal display
        box.set_show_sign(true);
        box.set_show_suffix(true);
        QCOMPARE(box.text(), QString("+0.000012346f"));
        QVERIFY(box.get_value() == tiny);
        type_into(box, "x", false);  // refused: back to the display, value untouched
        QCOMPARE(box.text(), QString("+0.000012346f"));
        QVERIFY(box.get_value() == tiny);
        box.setText("abc");  // programmatic texts are checked too
        QCOMPARE(box.text(), QString("+0.000012346f"));
        type_into(box, "+1e39", true);
        QCOMPARE(box.text(), QString("+1e3"));
        QCOMPARE(box.get_value(), 1000.0f);
        QCOMPARE(box.font().pointSize(), 10);
    }
};

QTEST_MAIN(spin_box_test)
#include "spin_box_test.moc"
