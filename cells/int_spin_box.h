// Line-edit editors of the eight integer widths. Each shows its value in binary,
// hexadecimal or decimal (mode 0, 1, other), with an optional "+" and width suffix, and
// checks every edit as it happens: a refused edit returns to the last accepted text, or
// empties the editor when the refused text is one character. The committed value is
// read with get_value().
#pragma once

#include <QLineEdit>
#include <QString>

#include <cstdint>
#include <limits>

template <class T>
struct int_box_fields {
    T value = 0;
    T init_value = 0;  // the value last given by set_value
    T min_value = std::numeric_limits<T>::min();
    T max_value = std::numeric_limits<T>::max();
    std::uint32_t mode = 2;
    bool show_sign = false;
    bool show_suffix = false;
    QString last_text;  // the last accepted text
};

// Members shared by the eight classes; moc sees only each class's one slot.
#define RUV_INT_SPIN_BOX_MEMBERS(name, T)                                   \
public:                                                                     \
    using value_type = T;                                                   \
    explicit name(QWidget* parent = nullptr);                               \
    ~name() override;                                                       \
    void set_mode(std::uint32_t mode);                                      \
    void set_show_sign(bool on);                                            \
    void set_show_suffix(bool on);                                          \
    void set_value(T v);                                                    \
    T get_value() const { return f.value; }                                 \
    T get_init_value() const { return f.init_value; }                       \
    T min_value() const { return f.min_value; }                             \
    T max_value() const { return f.max_value; }                             \
    std::uint32_t mode() const { return f.mode; }                           \
    bool show_sign() const { return f.show_sign; }                          \
    bool show_suffix() const { return f.show_suffix; }                      \
    const QString& last_text() const { return f.last_text; }                \
                                                                            \
private:                                                                    \
    int_box_fields<T> f;

class u08_spin_box : public QLineEdit {
    Q_OBJECT
    RUV_INT_SPIN_BOX_MEMBERS(u08_spin_box, std::uint8_t)
public slots:
    void text_changed(const QString& t);
};

class i08_spin_box : public QLineEdit {
    Q_OBJECT
    RUV_INT_SPIN_BOX_MEMBERS(i08_spin_box, std::int8_t)
public slots:
    void text_changed(const QString& t);
};

class u16_spin_box : public QLineEdit {
    Q_OBJECT
    RUV_INT_SPIN_BOX_MEMBERS(u16_spin_box, std::uint16_t)
public slots:
    void text_changed(const QString& t);
};

class i16_spin_box : public QLineEdit {
    Q_OBJECT
    RUV_INT_SPIN_BOX_MEMBERS(i16_spin_box, std::int16_t)
public slots:
    void text_changed(const QString& t);
};

class u32_spin_box : public QLineEdit {
    Q_OBJECT
    RUV_INT_SPIN_BOX_MEMBERS(u32_spin_box, std::uint32_t)
public slots:
    void text_changed(const QString& t);
};

class i32_spin_box : public QLineEdit {
    Q_OBJECT
    RUV_INT_SPIN_BOX_MEMBERS(i32_spin_box, std::int32_t)
public slots:
    void text_changed(const QString& t);
};

class u64_spin_box : public QLineEdit {
    Q_OBJECT
    RUV_INT_SPIN_BOX_MEMBERS(u64_spin_box, std::uint64_t)
public slots:
    void text_changed(const QString& t);
};

class i64_spin_box : public QLineEdit {
    Q_OBJECT
    RUV_INT_SPIN_BOX_MEMBERS(i64_spin_box, std::int64_t)
public slots:
    void text_changed(const QString& t);
};

#undef RUV_INT_SPIN_BOX_MEMBERS
