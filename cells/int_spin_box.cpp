#include "cells/int_spin_box.h"

#include <string>
#include <type_traits>

#include "ui_base/slot_guard.h"
#include "cells/editor_look.h"
#include "cells/int_text.h"

namespace {

// Every editor groups its digits except the 8-bit signed one.
template <class T>
constexpr bool editor_groups = !(std::is_same_v<T, std::int8_t>);

template <class T>
void box_set_mode(QLineEdit& edit, int_box_fields<T>& f, std::uint32_t mode)
{
    f.mode = mode;
    const kk::adt::string::string text =
        int_text::display<T>(f.value, f.show_sign, f.show_suffix, mode, editor_groups<T>);
    edit.setText(QString::fromUtf8(text.data, static_cast<int>(text.size)));
}

template <class T>
void box_text_changed(QLineEdit& edit, int_box_fields<T>& f, const QString& t)
{
    const std::string text = edit.text().toStdString();
    if (int_text::valid<T>(text, f.show_sign, f.show_suffix, f.mode, f.min_value, f.max_value)) {
        f.value = int_text::value<T>(text, f.mode);
        f.last_text = t;
        return;
    }
    // The nested textChanged of setText sees an accepted text and ends there.
    if (t.size() != 1) {
        edit.setText(f.last_text);
    } else {
        f.last_text.clear();
        edit.setText(QString());
    }
}

}  // namespace

#define RUV_INT_SPIN_BOX_DEFINE(name, T)                                                       \
    name::name(QWidget* parent) : QLineEdit(parent)                                            \
    {                                                                                          \
        set_cell_editor_look(*this);                                                           \
        set_mode(2);                                                                           \
        /* Connected after the first text: last_text stays empty while "0" is shown. */       \
        connect(this, SIGNAL(textChanged(const QString&)), this, SLOT(text_changed(const QString&))); \
    }                                                                                          \
    name::~name() = default;                                                                   \
    void name::set_mode(std::uint32_t mode) { box_set_mode<T>(*this, f, mode); }               \
    void name::set_show_sign(bool on)                                                          \
    {                                                                                          \
        if (on == f.show_sign) return;                                                         \
        f.show_sign = on;                                                                      \
        set_mode(f.mode);                                                                      \
    }                                                                                          \
    void name::set_show_suffix(bool on)                                                        \
    {                                                                                          \
        if (on == f.show_suffix) return;                                                       \
        f.show_suffix = on;                                                                    \
        set_mode(f.mode);                                                                      \
    }                                                                                          \
    void name::set_value(T v)                                                                  \
    {                                                                                          \
        f.value = f.init_value = v;                                                            \
        set_mode(f.mode);                                                                      \
    }                                                                                          \
    void name::text_changed(const QString& t)                                                  \
    {                                                                                          \
        slot_guard("text_changed", [&] { box_text_changed<T>(*this, f, t); });                 \
    }

RUV_INT_SPIN_BOX_DEFINE(u08_spin_box, std::uint8_t)
RUV_INT_SPIN_BOX_DEFINE(i08_spin_box, std::int8_t)
RUV_INT_SPIN_BOX_DEFINE(u16_spin_box, std::uint16_t)
RUV_INT_SPIN_BOX_DEFINE(i16_spin_box, std::int16_t)
RUV_INT_SPIN_BOX_DEFINE(u32_spin_box, std::uint32_t)
RUV_INT_SPIN_BOX_DEFINE(i32_spin_box, std::int32_t)
RUV_INT_SPIN_BOX_DEFINE(u64_spin_box, std::uint64_t)
RUV_INT_SPIN_BOX_DEFINE(i64_spin_box, std::int64_t)

#undef RUV_INT_SPIN_BOX_DEFINE
