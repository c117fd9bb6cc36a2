// Number texts: decimal integers, fixed-point floats, parse kernels, and two string edits.
// Nothing here depends on the process locale: the decimal point is always '.'.
#pragma once

#include <cstddef>
#include <cstdint>

#include "adt/string.h"

namespace kk {

// Decimal text of an integer: no leading zeros, '-' before negatives, "0" for zero.
adt::string::string int_to_text(int8_t x);
adt::string::string int_to_text(uint8_t x);
adt::string::string int_to_text(int16_t x);
adt::string::string int_to_text(uint16_t x);
adt::string::string int_to_text(int32_t x);
adt::string::string int_to_text(uint32_t x);
adt::string::string int_to_text(int64_t x);
adt::string::string int_to_text(uint64_t x);

// The same into a buffer of at least int_text_max bytes; returns the length (no NUL).
inline constexpr size_t int_text_max = 20;
size_t int_to_chars(char* buf, int64_t x);
size_t int_to_chars(char* buf, uint64_t x);

// C's "%.9f" of a float widened to double, cut to 49 characters, and "%.17f" of a double,
// cut to 329; non-finite values give "nan", "-nan", "inf", "-inf". Returns the length.
inline constexpr size_t float_text_max = 49;
inline constexpr size_t double_text_max = 329;
size_t float_to_fixed_text(char* buf, float x);    // buf: float_text_max bytes
size_t double_to_fixed_text(char* buf, double x);  // buf: double_text_max bytes

// Decimal parse kernels over bytes (no terminator needed): leading ' ' and 9..13 skipped,
// one optional sign ('+' or '-' for signed kernels, '+' only for unsigned ones), then digits
// up to the first non-digit, wrapping in the kernel's width. No digits give 0.
int32_t parse_i32(const char* p, uint64_t n);
int64_t parse_i64(const char* p, uint64_t n);
uint32_t parse_u32(const char* p, uint64_t n);
uint64_t parse_u64(const char* p, uint64_t n);

// The standard text-to-float reading (leading white space, longest valid prefix, decimal,
// hexadecimal and exponent forms, inf and nan, trailing bytes ignored); an empty text is 0.
// No number raises std::invalid_argument ("invalid stof argument" / "invalid stod argument");
// overflow, underflow and subnormal results raise std::out_of_range ("stof argument out of
// range" / "stod argument out of range").
float text_to_float(const char* p, uint64_t n);
double text_to_double(const char* p, uint64_t n);

// c followed by the bytes of s.
adt::string::string string_cat_char_string(char c, const adt::string::string& s);

}  // namespace kk

namespace kk::adt::string {

// Replaces bytes [from, to] of s (both included) by t, in place; t may point into s.
// False and s unchanged unless from <= to < s.size.
bool replace(string& s, u64 from, u64 to, text_view t);

}  // namespace kk::adt::string
