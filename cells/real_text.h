// Float and double cell texts: fixed-point display texts, the typing rule and the
// conversion of typed texts. Independent of the locale: '.' is always the point.
#pragma once

#include <string_view>

#include "adt/string.h"

namespace real_text {

// Suffix letter of each type.
template <class F> struct traits;
template <> struct traits<double> {
    static constexpr char suffix = 'd';
};
template <> struct traits<float> {
    static constexpr char suffix = 'f';
};

// Fixed-point text of v with 17 (double) or 9 (float) decimals, cut to 329 or 49
// characters; "+" before non-negative values (not before -0.0) with show_sign; the
// suffix letter with show_suffix.
template <class F>
kk::adt::string::string display(F v, bool show_sign, bool show_suffix);

// Shape of a number as it is typed: [sign] digits [. digits] [e [sign|digit] digits]
// [suffix], at most 330 bytes after the sign; with show_sign the sign is required, a
// '+' is refused without it. The number must then be finite and within [min, max].
template <class F>
bool valid(std::string_view text, bool show_sign, bool show_suffix, F min, F max);

// The conversion of the text (strtod-like: the longest number at its start, 0 when there
// is none) lies within [min, max] and is finite.
template <class F>
bool in_range(std::string_view text, F min, F max);

// strtod/strtof over the whole text in the C locale: the longest number at the start,
// 0 when there is none, +-infinity on overflow and +-0 on underflow. Unlike strtod,
// leading blanks and hexadecimal forms read as no number (the typing rule lets neither
// through).
template <class F>
F to_number(std::string_view text);

}  // namespace real_text
