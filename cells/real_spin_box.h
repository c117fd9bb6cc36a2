// Line-edit editors of float and double cells: fixed-point texts (9 and 17 decimals),
// an optional "+" and suffix letter ('f', 'd'), and a typing rule that undoes an invalid
// edit at once. The double box checks user edits (textEdited), the float box every text
// change (textChanged); a text the box sets itself never changes the value it holds.
#pragma once

#include <QLineEdit>
#include <QString>

#include <limits>

template <class F>
struct real_box_fields {
    F value = 0;
    F init_value = 0;  // the value last given by set_value
    F min_value = std::numeric_limits<F>::lowest();
    F max_value = std::numeric_limits<F>::max();
    bool show_sign = false;  // "+" before non-negative values; typed texts need a sign
    bool show_suffix = false;
    QString last_text;  // the last accepted text
    bool setting = false;  // the box is setting its own text
};

#define RUV_REAL_SPIN_BOX_MEMBERS(name, F)                        \
public:                                                           \
    using value_type = F;                                         \
    explicit name(QWidget* parent = nullptr);                     \
    ~name() override;                                             \
    void set_show_sign(bool on);                                  \
    void set_show_suffix(bool on);                                \
    void set_value(F v);                                          \
    F get_value() const { return f.value; }                       \
    F get_init_value() const { return f.init_value; }             \
    bool show_sign() const { return f.show_sign; }                \
    bool show_suffix() const { return f.show_suffix; }            \
    const QString& last_text() const { return f.last_text; }      \
    QString display_text() const;                                 \
    bool text_valid() const;                                      \
    bool text_in_range() const;                                   \
                                                                  \
private:                                                          \
    real_box_fields<F> f;

class double_spin_box : public QLineEdit {
    Q_OBJECT
    RUV_REAL_SPIN_BOX_MEMBERS(double_spin_box, double)
public slots:
    void text_changed(const QString& t);
};

class float_spin_box : public QLineEdit {
    Q_OBJECT
    RUV_REAL_SPIN_BOX_MEMBERS(float_spin_box, float)
public slots:
    void text_changed(const QString& t);
};

#undef RUV_REAL_SPIN_BOX_MEMBERS
