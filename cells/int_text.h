// Integer cell texts: strtol-like parses with a binary prefix and saturation, the
// validity rule (shape, then range) of every integer width and display mode, and the
// display texts in binary ("0b"), hexadecimal ("0x") and decimal.
//
// Display mode: 0 binary, 1 hexadecimal, any other value decimal (2 by convention).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "adt/string.h"

// Parses of a NUL-terminated text in base 2, 10 or 16: leading blanks, one sign ('-'
// only for the signed ones), an optional "0b"/"0x" prefix in bases 2 and 16, digits up
// to the first non-digit. Saturate at the type's limit instead of overflowing.
std::int32_t text_to_i32(const char* text, int base);
std::int64_t text_to_i64(const char* text, int base);
std::uint32_t text_to_u32(const char* text, int base);
std::uint64_t text_to_u64(const char* text, int base);

namespace int_text {

// Radix of a display mode.
constexpr int radix_of(std::uint32_t mode) { return mode == 0 ? 2 : mode == 1 ? 16 : 10; }

// The text's bytes without its spaces.
std::string without_spaces(std::string_view text);

// The validity rule: shape rule with the flags and mode, then min <= value <= max.
// T is one of the eight integer widths.
template <class T>
bool valid(std::string_view text, bool show_sign, bool show_suffix, std::uint32_t mode, T min, T max);

// Value of a text that passed `valid`, in the mode's radix (spaces ignored).
template <class T>
T value(std::string_view text, std::uint32_t mode);

// Display text of v: prefix, fixed-width digits in binary and hexadecimal, optional
// grouping (fours from the left; threes from the right in decimal), "+" flag and the
// width suffix "u1".."u8".
template <class T>
kk::adt::string::string display(T v, bool show_sign, bool show_suffix, std::uint32_t mode, bool group_digits);

}  // namespace int_text
