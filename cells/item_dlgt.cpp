#include "cells/item_dlgt.h"

#include <QAbstractItemModel>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QTimeEdit>

#include <limits>
#include <type_traits>

#include "ui_base/slot_guard.h"
#include "cells/cell_text.h"
#include "cells/editor_look.h"
#include "cells/int_spin_box.h"
#include "cells/real_spin_box.h"
#include "value/calendar.h"

namespace {

QVariant cell_value(const QModelIndex& index) { return index.data(Qt::EditRole); }

QString from_utf8(const kk::adt::string::string& s)
{
    return QString::fromUtf8(s.data ? s.data : "", static_cast<int>(s.size));
}

// --- integer kinds -------------------------------------------------------------------

template <class Box> struct box_tag { using type = Box; };

// Calls f with the tag of the spin box of kind; false for a kind outside 0..7.
template <class Fn>
bool with_kind(std::uint32_t kind, Fn&& f)
{
    switch (kind) {
    case 0: f(box_tag<u08_spin_box>{}); return true;
    case 1: f(box_tag<i08_spin_box>{}); return true;
    case 2: f(box_tag<u16_spin_box>{}); return true;
    case 3: f(box_tag<i16_spin_box>{}); return true;
    case 4: f(box_tag<u32_spin_box>{}); return true;
    case 5: f(box_tag<i32_spin_box>{}); return true;
    case 6: f(box_tag<u64_spin_box>{}); return true;
    case 7: f(box_tag<i64_spin_box>{}); return true;
    default: return false;
    }
}

// The cell value read for a width: toUInt / toInt, or their 64-bit forms, narrowed.
template <class T>
T int_of(const QVariant& v)
{
    if constexpr (sizeof(T) == 8) {
        if constexpr (std::is_signed_v<T>) return static_cast<T>(v.toLongLong());
        else return static_cast<T>(v.toULongLong());
    } else {
        if constexpr (std::is_signed_v<T>) return static_cast<T>(v.toInt());
        else return static_cast<T>(v.toUInt());
    }
}

// --- date and time editors -------------------------------------------------------------

// What the three calendar editors differ in: class, value type and display format. The
// date-bearing two start at the lowest date Qt allows: below its default minimum
// (1752-09-14) an editor would clamp older dates.
template <class Editor> struct calendar;
template <> struct calendar<QDateEdit> {
    static constexpr const char* format = "yyyy-MM-dd";
    static constexpr bool has_date = true;
    static QDate of(const QVariant& v) { return v.toDate(); }
    static void set(QDateEdit& e, const QDate& d) { e.setDate(d); }
    static QDate get(const QDateEdit& e) { return e.date(); }
};
template <> struct calendar<QTimeEdit> {
    static constexpr const char* format = "HH:mm:ss.zzz";
    static constexpr bool has_date = false;
    static QTime of(const QVariant& v) { return v.toTime(); }
    static void set(QTimeEdit& e, const QTime& t) { e.setTime(t); }
    static QTime get(const QTimeEdit& e) { return e.time(); }
};
template <> struct calendar<QDateTimeEdit> {
    static constexpr const char* format = "yyyy-MM-dd HH:mm:ss.zzz";
    static constexpr bool has_date = true;
    static QDateTime of(const QVariant& v) { return v.toDateTime(); }
    static void set(QDateTimeEdit& e, const QDateTime& t) { e.setDateTime(t); }
    static QDateTime get(const QDateTimeEdit& e) { return e.dateTime(); }
};

// The value an editor showed after loading; an equal value at commit means untouched.
constexpr const char* loaded_key = "ruv_loaded_value";

template <class Editor>
QWidget* make_calendar_editor(QWidget* parent, const QStyleOptionViewItem& option, bool read_only)
{
    auto* e = new Editor(parent);
    set_cell_editor_look(*e);
    e->setButtonSymbols(QAbstractSpinBox::NoButtons);
    e->setReadOnly(read_only);
    e->setDisplayFormat(calendar<Editor>::format);
    if constexpr (calendar<Editor>::has_date) e->setMinimumDate(QDate(100, 1, 1));
    e->resize(option.rect.width(), option.rect.height());
    return e;
}

template <class Editor>
void load_calendar_editor(QWidget* editor, const QModelIndex& index)
{
    auto* e = qobject_cast<Editor*>(editor);
    if (!e) return;
    calendar<Editor>::set(*e, calendar<Editor>::of(cell_value(index)));
    e->setProperty(loaded_key, QVariant(calendar<Editor>::get(*e)));
}

template <class Editor>
void commit_calendar_editor(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index)
{
    auto* e = qobject_cast<Editor*>(editor);
    if (!e) return;
    const QVariant now(calendar<Editor>::get(*e));
    if (e->property(loaded_key) != now) model->setData(index, now, Qt::EditRole);
}

template <class Editor>
QString calendar_text(const QVariant& value)
{
    return calendar<Editor>::of(value).toString(calendar<Editor>::format);
}

// The QDate of parsed fields; invalid for the calendar's year 0, which QDate has not.
QDate date_of(const kk::datetime_fields& f) { return QDate(f.year, f.month, f.day); }

// The QTime of parsed fields.
QTime time_of(const kk::datetime_fields& f)
{
    return QTime(f.hour, f.minute, f.second, static_cast<int>(f.nanosecond / 1000000u));
}

}  // namespace

// --- item_dlgt ---------------------------------------------------------------------------

item_dlgt::item_dlgt(QObject* parent) : QItemDelegate(parent) {}
item_dlgt::~item_dlgt() = default;

void item_dlgt::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                     const QModelIndex&) const
{
    QRect r = option.rect;
    if (editor->height() > r.height()) r.setHeight(editor->height());
    editor->setGeometry(r);
}

QString item_dlgt::to_text(const QVariant&) const { return QString(); }
QVariant item_dlgt::from_text(kk::adt::text_view) const { return QVariant(); }

void item_dlgt::set_bin_mode()
{
    mode = 0;
    show_sign = show_suffix = false;
}

void item_dlgt::set_hex_mode()
{
    mode = 1;
    show_sign = show_suffix = false;
}

void item_dlgt::set_dec_mode()
{
    mode = 2;
    show_sign = show_suffix = false;
}

void item_dlgt::set_hex_mode_flags()
{
    mode = 1;
    show_sign = show_suffix = true;
}

void item_dlgt::set_read_only(bool on) { read_only = on; }

// --- int_item_dlgt ---------------------------------------------------------------------------

int_item_dlgt::int_item_dlgt(QObject* parent) : item_dlgt(parent) {}
int_item_dlgt::~int_item_dlgt() = default;

QWidget* int_item_dlgt::createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return slot_guard<QWidget*>("createEditor", nullptr, [&]() -> QWidget* {
        QLineEdit* made = nullptr;
        with_kind(kind, [&](auto tag) {
            auto* box = new typename decltype(tag)::type(parent);
            box->setReadOnly(read_only);
            box->set_mode(mode);
            box->set_show_sign(show_sign);
            box->set_show_suffix(show_suffix);
            made = box;
        });
        // No width chosen: nothing to edit.
        if (!made) return nullptr;
        made->resize(option.rect.width(), option.rect.height());
        return made;
    });
}

void int_item_dlgt::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    slot_guard("setEditorData", [&] {
        const QVariant v = cell_value(index);
        with_kind(kind, [&](auto tag) {
            using Box = typename decltype(tag)::type;
            if (auto* box = qobject_cast<Box*>(editor)) box->set_value(int_of<typename Box::value_type>(v));
        });
    });
}

void int_item_dlgt::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    slot_guard("setModelData", [&] {
        with_kind(kind, [&](auto tag) {
            using Box = typename decltype(tag)::type;
            if (auto* box = qobject_cast<Box*>(editor))
                model->setData(index, int_cell_variant(box->get_value()), Qt::EditRole);
        });
    });
}

QString int_item_dlgt::to_text(const QVariant& value) const
{
    QString text;
    with_kind(kind, [&](auto tag) {
        using T = typename decltype(tag)::type::value_type;
        // Only 8-bit unsigned cells group their digits.
        text = from_utf8(int_display_text(int_of<T>(value), show_sign, show_suffix, mode, kind == 0));
    });
    return text;
}

QVariant int_item_dlgt::from_text(kk::adt::text_view text) const
{
    QVariant result(QString{});
    with_kind(kind, [&](auto tag) {
        using T = typename decltype(tag)::type::value_type;
        const kk::adt::string::string s = kk::adt::string_from_bytes(text.data, text.data ? text.size : 0);
        result = int_text_to_variant(s, show_sign, show_suffix, mode, std::numeric_limits<T>::min(),
                                     std::numeric_limits<T>::max());
    });
    return result;
}

// --- float_item_dlgt and double_item_dlgt ---------------------------------------------------

#define RUV_REAL_ITEM_DLGT(name, Box, F, display, to_variant)                                             \
    name::name(QObject* parent) : item_dlgt(parent) {}                                                     \
    name::~name() = default;                                                                               \
    QWidget* name::createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex&) const \
    {                                                                                                      \
        return slot_guard<QWidget*>("createEditor", nullptr, [&] {                                         \
            auto* box = new Box(parent);                                                                   \
            box->set_show_sign(show_sign);                                                                 \
            box->set_show_suffix(show_suffix);                                                             \
            box->setReadOnly(read_only);                                                                   \
            box->resize(option.rect.width(), option.rect.height());                                       \
            return box;                                                                                    \
        });                                                                                                \
    }                                                                                                      \
    void name::setEditorData(QWidget* editor, const QModelIndex& index) const                              \
    {                                                                                                      \
        slot_guard("setEditorData", [&] {                                                                  \
            if (auto* box = qobject_cast<Box*>(editor)) box->set_value(cell_value(index).value<F>());      \
        });                                                                                                \
    }                                                                                                      \
    void name::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const    \
    {                                                                                                      \
        slot_guard("setModelData", [&] {                                                                   \
            if (auto* box = qobject_cast<Box*>(editor))                                                    \
                model->setData(index, QVariant(box->get_value()), Qt::EditRole);                           \
        });                                                                                                \
    }                                                                                                      \
    QString name::to_text(const QVariant& value) const                                                     \
    {                                                                                                      \
        return from_utf8(display(value.value<F>(), show_sign, show_suffix));                               \
    }                                                                                                      \
    QVariant name::from_text(kk::adt::text_view text) const                                                \
    {                                                                                                      \
        return to_variant(text, show_sign, show_suffix, std::numeric_limits<F>::lowest(),                  \
                          std::numeric_limits<F>::max());                                                  \
    }

RUV_REAL_ITEM_DLGT(float_item_dlgt, float_spin_box, float, float_display_text, float_text_to_variant)
RUV_REAL_ITEM_DLGT(double_item_dlgt, double_spin_box, double, double_display_text, double_text_to_variant)
#undef RUV_REAL_ITEM_DLGT

// --- string_item_dlgt --------------------------------------------------------------------------

string_item_dlgt::string_item_dlgt(QObject* parent) : item_dlgt(parent) {}
string_item_dlgt::~string_item_dlgt() = default;

QWidget* string_item_dlgt::createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return slot_guard<QWidget*>("createEditor", nullptr, [&] {
        auto* e = new QLineEdit(parent);
        e->setMaxLength(2147483647);
        set_cell_editor_look(*e);
        e->setReadOnly(read_only);
        e->resize(option.rect.width(), option.rect.height());
        return e;
    });
}

void string_item_dlgt::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    slot_guard("setEditorData", [&] {
        if (auto* e = qobject_cast<QLineEdit*>(editor)) e->setText(cell_value(index).toString());
    });
}

void string_item_dlgt::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    slot_guard("setModelData", [&] {
        if (auto* e = qobject_cast<QLineEdit*>(editor)) model->setData(index, QVariant(e->text()), Qt::EditRole);
    });
}

QString string_item_dlgt::to_text(const QVariant& value) const { return value.toString(); }

QVariant string_item_dlgt::from_text(kk::adt::text_view text) const
{
    // QString sizes are ints: a longer text cannot be held, and is refused whole.
    if (text.size > static_cast<kk::u64>(std::numeric_limits<int>::max())) return QVariant();
    return QVariant(QString::fromUtf8(text.data ? text.data : "", static_cast<int>(text.data ? text.size : 0)));
}

// --- date_item_dlgt, time_item_dlgt, datetime_item_dlgt -------------------------------------------

#define RUV_CALENDAR_ITEM_DLGT(name, Editor)                                                                   \
    name::name(QObject* parent) : item_dlgt(parent) {}                                                          \
    name::~name() = default;                                                                                    \
    QWidget* name::createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex&) const \
    {                                                                                                           \
        return slot_guard<QWidget*>("createEditor", nullptr,                                                    \
                                    [&] { return make_calendar_editor<Editor>(parent, option, read_only); });   \
    }                                                                                                           \
    void name::setEditorData(QWidget* editor, const QModelIndex& index) const                                   \
    {                                                                                                           \
        slot_guard("setEditorData", [&] { load_calendar_editor<Editor>(editor, index); });                      \
    }                                                                                                           \
    void name::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const         \
    {                                                                                                           \
        slot_guard("setModelData", [&] { commit_calendar_editor<Editor>(editor, model, index); });              \
    }                                                                                                           \
    QString name::to_text(const QVariant& value) const { return calendar_text<Editor>(value); }

RUV_CALENDAR_ITEM_DLGT(date_item_dlgt, QDateEdit)
RUV_CALENDAR_ITEM_DLGT(time_item_dlgt, QTimeEdit)
RUV_CALENDAR_ITEM_DLGT(datetime_item_dlgt, QDateTimeEdit)
#undef RUV_CALENDAR_ITEM_DLGT

QVariant date_item_dlgt::from_text(kk::adt::text_view text) const
{
    kk::datetime_fields f;
    if (!text.data || !kk::date_parse(f, text.data, text.size)) return QVariant();
    const QDate date = date_of(f);
    return date.isValid() ? QVariant(date) : QVariant();
}

QVariant time_item_dlgt::from_text(kk::adt::text_view text) const
{
    kk::datetime_fields f;
    if (!text.data || !kk::time_parse(f, text.data, text.size)) return QVariant();
    const QTime t = time_of(f);
    return t.isValid() ? QVariant(t) : QVariant();
}

// The date, one separating byte that is not examined, the time.
QVariant datetime_item_dlgt::from_text(kk::adt::text_view text) const
{
    if (!text.data || text.size < 11) return QVariant();
    kk::datetime_fields d, t;
    if (!kk::date_parse(d, text.data, text.size) || !kk::time_parse(t, text.data + 11, text.size - 11))
        return QVariant();
    const QDate date = date_of(d);
    const QTime time = time_of(t);
    if (!date.isValid() || !time.isValid()) return QVariant();
    return QVariant(QDateTime(date, time, Qt::LocalTime));
}
