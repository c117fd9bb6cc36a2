#include "cells/real_spin_box.h"

#include <string>

#include "ui_base/slot_guard.h"
#include "cells/editor_look.h"
#include "cells/real_text.h"

namespace {

template <class F>
QString display_of(const real_box_fields<F>& f)
{
    const kk::adt::string::string text = real_text::display<F>(f.value, f.show_sign, f.show_suffix);
    return QString::fromUtf8(text.data, static_cast<int>(text.size));
}

// Sets a text of the box's own. The float box hears it through textChanged; the guard
// keeps that from replacing the value by the value of its rounded display.
template <class F>
void set_own_text(QLineEdit& edit, real_box_fields<F>& f, const QString& text)
{
    const bool outer = f.setting;
    f.setting = true;
    edit.setText(text);
    f.setting = outer;
}

template <class F>
void redisplay(QLineEdit& edit, real_box_fields<F>& f)
{
    // The shown text becomes the accepted one, so a refused edit returns to a text that
    // fits the current flags.
    f.last_text = display_of(f);
    set_own_text(edit, f, f.last_text);
}

template <class F>
bool valid_text(const QLineEdit& edit, const real_box_fields<F>& f)
{
    return real_text::valid<F>(edit.text().toStdString(), f.show_sign, f.show_suffix, f.min_value, f.max_value);
}

template <class F>
bool in_range_text(const QLineEdit& edit, const real_box_fields<F>& f)
{
    return real_text::in_range<F>(edit.text().toStdString(), f.min_value, f.max_value);
}

template <class F>
void box_text_changed(QLineEdit& edit, real_box_fields<F>& f, const QString& t)
{
    if (f.setting) {
        if (valid_text(edit, f)) f.last_text = t;
        return;
    }
    if (!valid_text(edit, f)) {
        set_own_text(edit, f, f.last_text);
        return;
    }
    f.last_text = t;
    if (!in_range_text(edit, f)) return;
    const QString current = edit.text();
    f.value = real_text::to_number<F>(current.toStdString());
    f.last_text = current;
}

}  // namespace

#define RUV_REAL_SPIN_BOX_DEFINE(name, F, sig)                                                   \
    name::name(QWidget* parent) : QLineEdit(parent)                                                 \
    {                                                                                               \
        set_cell_editor_look(*this);                                                                \
        connect(this, SIGNAL(sig), this, SLOT(text_changed(const QString&)));                    \
    }                                                                                               \
    name::~name() = default;                                                                        \
    void name::set_show_sign(bool on)                                                               \
    {                                                                                               \
        if (on == f.show_sign) return;                                                              \
        f.show_sign = on;                                                                           \
        redisplay(*this, f);                                                                        \
    }                                                                                               \
    void name::set_show_suffix(bool on)                                                             \
    {                                                                                               \
        if (on == f.show_suffix) return;                                                            \
        f.show_suffix = on;                                                                         \
        redisplay(*this, f);                                                                        \
    }                                                                                               \
    void name::set_value(F v)                                                                       \
    {                                                                                               \
        f.value = f.init_value = v;                                                                 \
        redisplay(*this, f);                                                                        \
    }                                                                                               \
    QString name::display_text() const { return display_of(f); }                                    \
    bool name::text_valid() const { return valid_text(*this, f); }                                  \
    bool name::text_in_range() const { return in_range_text(*this, f); }                            \
    void name::text_changed(const QString& t)                                                       \
    {                                                                                               \
        slot_guard("text_changed", [&] { box_text_changed(*this, f, t); });                         \
    }

RUV_REAL_SPIN_BOX_DEFINE(double_spin_box, double, textEdited(const QString&))
RUV_REAL_SPIN_BOX_DEFINE(float_spin_box, float, textChanged(const QString&))

#undef RUV_REAL_SPIN_BOX_DEFINE
