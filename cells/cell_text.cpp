#include "cells/cell_text.h"

#include <string_view>

#include "cells/int_text.h"
#include "cells/real_text.h"

namespace {

std::string_view view_of(const kk::adt::string::string& s) { return {s.data ? s.data : "", s.size}; }
std::string_view view_of(kk::adt::text_view t) { return {t.data ? t.data : "", t.size}; }

template <class F>
QVariant real_variant(kk::adt::text_view t, bool show_sign, bool show_suffix, F min, F max)
{
    const std::string_view s = view_of(t);
    if (!real_text::valid<F>(s, show_sign, show_suffix, min, max)) return QVariant();
    // The whole text: a long run of digits is one number, not its first digits.
    return QVariant(real_text::to_number<F>(s));
}

}  // namespace

#define RUV_INT_CELL_TEXT(T)                                                                                        \
    kk::adt::string::string int_display_text(T v, bool show_sign, bool show_suffix, std::uint32_t mode,             \
                                             bool group_digits)                                                     \
    {                                                                                                               \
        return int_text::display<T>(v, show_sign, show_suffix, mode, group_digits);                                 \
    }                                                                                                               \
    bool int_text_valid(const kk::adt::string::string& text, bool show_sign, bool show_suffix, std::uint32_t mode, \
                        T min, T max)                                                                               \
    {                                                                                                               \
        return int_text::valid<T>(view_of(text), show_sign, show_suffix, mode, min, max);                           \
    }                                                                                                               \
    QVariant int_text_to_variant(const kk::adt::string::string& text, bool show_sign, bool show_suffix,             \
                                 std::uint32_t mode, T min, T max)                                                  \
    {                                                                                                               \
        if (!int_text::valid<T>(view_of(text), show_sign, show_suffix, mode, min, max)) return QVariant();          \
        return int_cell_variant<T>(int_text::value<T>(view_of(text), mode));                                        \
    }
RUV_INT_CELL_TEXT(std::uint8_t)
RUV_INT_CELL_TEXT(std::int8_t)
RUV_INT_CELL_TEXT(std::uint16_t)
RUV_INT_CELL_TEXT(std::int16_t)
RUV_INT_CELL_TEXT(std::uint32_t)
RUV_INT_CELL_TEXT(std::int32_t)
RUV_INT_CELL_TEXT(std::uint64_t)
RUV_INT_CELL_TEXT(std::int64_t)
#undef RUV_INT_CELL_TEXT

kk::adt::string::string double_display_text(double v, bool show_sign, bool show_suffix)
{
    return real_text::display<double>(v, show_sign, show_suffix);
}

kk::adt::string::string float_display_text(float v, bool show_sign, bool show_suffix)
{
    return real_text::display<float>(v, show_sign, show_suffix);
}

bool double_text_valid(kk::adt::text_view t, bool show_sign, bool show_suffix, double min, double max)
{
    return real_text::valid<double>(view_of(t), show_sign, show_suffix, min, max);
}

bool double_text_in_range(kk::adt::text_view t, double min, double max)
{
    return real_text::in_range<double>(view_of(t), min, max);
}

bool float_text_valid(kk::adt::text_view t, bool show_sign, bool show_suffix, float min, float max)
{
    return real_text::valid<float>(view_of(t), show_sign, show_suffix, min, max);
}

bool float_text_in_range(kk::adt::text_view t, float min, float max)
{
    return real_text::in_range<float>(view_of(t), min, max);
}

QVariant double_text_to_variant(kk::adt::text_view t, bool show_sign, bool show_suffix, double min, double max)
{
    return real_variant<double>(t, show_sign, show_suffix, min, max);
}

QVariant float_text_to_variant(kk::adt::text_view t, bool show_sign, bool show_suffix, float min, float max)
{
    return real_variant<float>(t, show_sign, show_suffix, min, max);
}
