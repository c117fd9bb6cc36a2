#include "cells/real_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <type_traits>

#include "value/number_text.h"

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Decimal exponent of the leading digit of a number text that from_chars found out of
// range: non-negative means it overflowed, negative that it underflowed.
long long decimal_exponent(std::string_view s)
{
    std::size_t p = 0;
    long long lead = 0;  // position of the first non-zero digit relative to the point
    bool seen_nonzero = false;
    long long int_digits = 0;
    for (; p < s.size() && is_digit(s[p]); ++p) {
        if (s[p] != '0' && !seen_nonzero) seen_nonzero = true;
        if (seen_nonzero) ++int_digits;
    }
    if (seen_nonzero) {
        lead = int_digits - 1;
    } else if (p < s.size() && s[p] == '.') {
        ++p;
        long long zeros = 0;
        for (; p < s.size() && s[p] == '0'; ++p) ++zeros;
        lead = -(zeros + 1);
    }
    while (p < s.size() && (is_digit(s[p]) || s[p] == '.')) ++p;
    long long exp = 0;
    if (p + 1 < s.size() && (s[p] == 'e' || s[p] == 'E')) {
        ++p;
        bool negative = false;
        if (s[p] == '+' || s[p] == '-') negative = s[p++] == '-';
        for (; p < s.size() && is_digit(s[p]); ++p)
            if (exp < 1000000000) exp = exp * 10 + (s[p] - '0');  // saturates far beyond any range
        if (negative) exp = -exp;
    }
    return lead + exp;
}

}  // namespace

namespace real_text {

template <class F>
kk::adt::string::string display(F v, bool show_sign, bool show_suffix)
{
    char buf[kk::double_text_max];
    std::size_t n = 0;
    if constexpr (std::is_same_v<F, float>) n = kk::float_to_fixed_text(buf, v);
    else n = kk::double_to_fixed_text(buf, v);
    kk::adt::string::string text = kk::adt::string_from_bytes(buf, n);
    if (show_sign && v >= F(0) && !std::signbit(v)) text = kk::string_cat_char_string('+', text);
    if (show_suffix) text.push_back(traits<F>::suffix);
    return text;
}

template <class F>
F to_number(std::string_view text)
{
    std::string_view s = text;
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    // from_chars takes no sign of its own here: the sign is applied below, and a second
    // sign ("+-1") is no number, as for strtod.
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) return F(0);
    F x = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), x, std::chars_format::general);
    if (r.ec == std::errc::invalid_argument) return F(0);
    if (r.ec == std::errc::result_out_of_range)
        x = decimal_exponent(s) >= 0 ? std::numeric_limits<F>::infinity() : F(0);
    return negative ? -x : x;
}

template <class F>
bool in_range(std::string_view text, F min, F max)
{
    const F x = to_number<F>(text);
    return std::isfinite(x) && min <= x && x <= max;
}

template <class F>
bool valid(std::string_view t, bool show_sign, bool show_suffix, F min, F max)
{
    if (t.empty()) return true;
    std::size_t p = 0;
    if (show_sign) {
        if (t[0] != '+' && t[0] != '-') return false;
        p = 1;
    } else if (t[0] == '-') {
        p = 1;
    }
    enum { integer, fraction, exp_start, exponent } state = integer;
    const std::size_t limit = p + 330;
    for (; p < t.size() && p < limit; ++p) {
        const char c = t[p];
        bool ok = false;
        switch (state) {
        case integer:
            ok = is_digit(c) || c == '.' || c == 'e' || c == 'E';
            if (c == '.') state = fraction;
            else if (c == 'e' || c == 'E') state = exp_start;
            break;
        case fraction:
            ok = is_digit(c) || c == 'e' || c == 'E';
            if (!is_digit(c)) state = exp_start;
            break;
        case exp_start:
            ok = is_digit(c) || c == '+' || c == '-';
            state = exponent;
            break;
        case exponent:
            ok = is_digit(c);
            break;
        }
        if (!ok) break;
    }
    if (show_suffix && p < t.size()) {
        if (t[p] != traits<F>::suffix) return false;
        ++p;
    }
    if (p != t.size()) return false;
    return in_range<F>(t, min, max);
}

template kk::adt::string::string display<double>(double, bool, bool);
template kk::adt::string::string display<float>(float, bool, bool);
template double to_number<double>(std::string_view);
template float to_number<float>(std::string_view);
template bool in_range<double>(std::string_view, double, double);
template bool in_range<float>(std::string_view, float, float);
template bool valid<double>(std::string_view, bool, bool, double, double);
template bool valid<float>(std::string_view, bool, bool, float, float);

}  // namespace real_text
