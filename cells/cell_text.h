// Cell texts as the delegates and the table model use them: display texts of integer,
// float and double cells, and typed texts turned into cell values (an invalid QVariant
// for a refused text).
#pragma once

#include <QVariant>

#include <cstdint>
#include <type_traits>

#include "adt/string.h"

// Display texts (mode 0 binary, 1 hexadecimal, other decimal; see int_text.h).
kk::adt::string::string int_display_text(std::uint8_t v, bool show_sign, bool show_suffix, std::uint32_t mode, bool group_digits);
kk::adt::string::string int_display_text(std::int8_t v, bool show_sign, bool show_suffix, std::uint32_t mode, bool group_digits);
kk::adt::string::string int_display_text(std::uint16_t v, bool show_sign, bool show_suffix, std::uint32_t mode, bool group_digits);
kk::adt::string::string int_display_text(std::int16_t v, bool show_sign, bool show_suffix, std::uint32_t mode, bool group_digits);
kk::adt::string::string int_display_text(std::uint32_t v, bool show_sign, bool show_suffix, std::uint32_t mode, bool group_digits);
kk::adt::string::string int_display_text(std::int32_t v, bool show_sign, bool show_suffix, std::uint32_t mode, bool group_digits);
kk::adt::string::string int_display_text(std::uint64_t v, bool show_sign, bool show_suffix, std::uint32_t mode, bool group_digits);
kk::adt::string::string int_display_text(std::int64_t v, bool show_sign, bool show_suffix, std::uint32_t mode, bool group_digits);

// The variant type of each width's cell value: int for the widths up to 16 bits and i32,
// uint for u32, qulonglong for u64, qlonglong for i64.
template <class T>
QVariant int_cell_variant(T v)
{
    if constexpr (std::is_same_v<T, std::uint32_t>) return QVariant(static_cast<uint>(v));
    else if constexpr (std::is_same_v<T, std::uint64_t>) return QVariant(static_cast<qulonglong>(v));
    else if constexpr (std::is_same_v<T, std::int64_t>) return QVariant(static_cast<qlonglong>(v));
    else return QVariant(static_cast<int>(v));
}

// The validity rule of the width of min and max.
#define RUV_INT_CELL_TEXT(T)                                                                                    \
    bool int_text_valid(const kk::adt::string::string& text, bool show_sign, bool show_suffix, std::uint32_t mode, \
                        T min, T max);                                                                          \
    /* The value of a valid text as int_cell_variant; the empty text gives 0. */                              \
    QVariant int_text_to_variant(const kk::adt::string::string& text, bool show_sign, bool show_suffix,         \
                                 std::uint32_t mode, T min, T max);
RUV_INT_CELL_TEXT(std::uint8_t)
RUV_INT_CELL_TEXT(std::int8_t)
RUV_INT_CELL_TEXT(std::uint16_t)
RUV_INT_CELL_TEXT(std::int16_t)
RUV_INT_CELL_TEXT(std::uint32_t)
RUV_INT_CELL_TEXT(std::int32_t)
RUV_INT_CELL_TEXT(std::uint64_t)
RUV_INT_CELL_TEXT(std::int64_t)
#undef RUV_INT_CELL_TEXT

// Fixed-point texts with 17 (double) and 9 (float) decimals; "+" and the suffix letter
// 'd' / 'f' on request.
kk::adt::string::string double_display_text(double v, bool show_sign, bool show_suffix);
kk::adt::string::string float_display_text(float v, bool show_sign, bool show_suffix);

bool double_text_valid(kk::adt::text_view t, bool show_sign, bool show_suffix, double min, double max);
bool double_text_in_range(kk::adt::text_view t, double min, double max);
bool float_text_valid(kk::adt::text_view t, bool show_sign, bool show_suffix, float min, float max);
bool float_text_in_range(kk::adt::text_view t, float min, float max);

// QVariant(double) / QVariant(float) of the whole text, or an invalid QVariant.
QVariant double_text_to_variant(kk::adt::text_view t, bool show_sign, bool show_suffix, double min, double max);
QVariant float_text_to_variant(kk::adt::text_view t, bool show_sign, bool show_suffix, float min, float max);
