// Item delegates, one per column type: the editor that fits the type, the moves of a
// cell value into it and back, and the conversions between cell values and the texts a
// grid shows (to_text) or a user types (from_text), in the column's number display mode.
// Setters change the delegate only: open editors keep their settings.
#pragma once

#include <QItemDelegate>
#include <QString>
#include <QVariant>

#include <cstdint>

#include "adt/string.h"

class item_dlgt : public QItemDelegate {
    Q_OBJECT
public:
    explicit item_dlgt(QObject* parent = nullptr);
    ~item_dlgt() override;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override = 0;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override = 0;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override = 0;
    // The cell's rectangle, raised to the editor's height when the editor is taller.
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

    // Display text of a cell value (empty here).
    virtual QString to_text(const QVariant& value) const;
    // Cell value of a typed UTF-8 text; invalid when the text is refused (always here).
    virtual QVariant from_text(kk::adt::text_view text) const;

    void set_bin_mode();        // mode 0, no sign, no suffix
    void set_hex_mode();        // mode 1, no sign, no suffix
    void set_dec_mode();        // mode 2, no sign, no suffix
    void set_hex_mode_flags();  // mode 1 with sign and suffix
    void set_read_only(bool on);

    bool read_only = false;   // editors are created read-only
    std::uint32_t mode = 2;   // integer display mode: 0 binary, 1 hexadecimal, other decimal
    bool show_sign = false;   // "+" before non-negative numbers
    bool show_suffix = false; // width suffix of integers, type letter of floating-point numbers
};

// What every column type overrides.
#define RUV_ITEM_DLGT_OVERRIDES(name)                                                                      \
public:                                                                                                    \
    explicit name(QObject* parent = nullptr);                                                              \
    ~name() override;                                                                                      \
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,                             \
                          const QModelIndex& index) const override;                                        \
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;                          \
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override; \
    QString to_text(const QVariant& value) const override;                                                 \
    QVariant from_text(kk::adt::text_view text) const override;

// from_text gives a QVariant of the empty text while no width is chosen.
class int_item_dlgt : public item_dlgt {
    Q_OBJECT
    RUV_ITEM_DLGT_OVERRIDES(int_item_dlgt)

public:
    // No width chosen yet: such a delegate writes nothing and shows nothing.
    static constexpr std::uint32_t kind_unset = 8;

    void set_type_u08() { kind = 0; }
    void set_type_i08() { kind = 1; }
    void set_type_u16() { kind = 2; }
    void set_type_i16() { kind = 3; }
    void set_type_u32() { kind = 4; }
    void set_type_i32() { kind = 5; }
    void set_type_u64() { kind = 6; }
    void set_type_i64() { kind = 7; }

    // 0 u08, 1 i08, 2 u16, 3 i16, 4 u32, 5 i32, 6 u64, 7 i64.
    std::uint32_t kind = kind_unset;
};

// Editors: float_spin_box, double_spin_box and QLineEdit.
class float_item_dlgt : public item_dlgt {
    Q_OBJECT
    RUV_ITEM_DLGT_OVERRIDES(float_item_dlgt)
};

class double_item_dlgt : public item_dlgt {
    Q_OBJECT
    RUV_ITEM_DLGT_OVERRIDES(double_item_dlgt)
};

class string_item_dlgt : public item_dlgt {
    Q_OBJECT
    RUV_ITEM_DLGT_OVERRIDES(string_item_dlgt)
};

// QDateEdit, QTimeEdit, QDateTimeEdit down to the lowest date they allow. An editor the
// user left unchanged writes nothing back, so nanoseconds and dates outside the editor's
// range survive an edit that was only opened.
class date_item_dlgt : public item_dlgt {
    Q_OBJECT
    RUV_ITEM_DLGT_OVERRIDES(date_item_dlgt)
};

class time_item_dlgt : public item_dlgt {
    Q_OBJECT
    RUV_ITEM_DLGT_OVERRIDES(time_item_dlgt)
};

class datetime_item_dlgt : public item_dlgt {
    Q_OBJECT
    RUV_ITEM_DLGT_OVERRIDES(datetime_item_dlgt)
};

#undef RUV_ITEM_DLGT_OVERRIDES
