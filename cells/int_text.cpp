#include "cells/int_text.h"

#include <algorithm>
#include <limits>
#include <type_traits>

#include "adt/text.h"
#include "value/number_text.h"

using kstring = kk::adt::string::string;

namespace {

bool is_blank(char c) { return c == ' ' || (c >= 9 && c <= 13); }

// Digit value of c in base, or -1. Bases 2 and 10 take '0'..'9' (callers have checked
// the digits against the base); base 16 takes either case.
int digit_of(char c, int base)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (base == 16) {
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    }
    return -1;
}

struct scanned {
    bool negative = false;
    bool overflow = false;
    std::uint64_t magnitude = 0;
};

// Reads sign, prefix and digits as the parses do, accumulating the magnitude until it
// would pass `limit` (limit chosen by the sign through limit_of).
template <class LimitOf>
scanned scan(const char* s, int base, bool allow_minus, LimitOf limit_of)
{
    scanned r;
    while (*s && is_blank(*s)) ++s;
    if (*s == '+') {
        ++s;
    } else if (*s == '-') {
        if (!allow_minus) return r;
        r.negative = true;
        ++s;
    }
    if ((base == 2 || base == 16) && *s == '0') {
        ++s;
        if ((base == 2 && (*s == 'b' || *s == 'B')) || (base == 16 && (*s == 'x' || *s == 'X'))) ++s;
    }
    const std::uint64_t limit = limit_of(r.negative);
    for (; *s; ++s) {
        const int d = digit_of(*s, base);
        if (d < 0) break;
        const auto ud = static_cast<std::uint64_t>(d);
        if (r.magnitude > (limit - ud) / static_cast<std::uint64_t>(base)) {
            r.overflow = true;
            return r;
        }
        r.magnitude = r.magnitude * static_cast<std::uint64_t>(base) + ud;
    }
    return r;
}

template <class R>
R parse_saturating(const char* text, int base)
{
    using U = std::make_unsigned_t<R>;
    constexpr bool is_signed = std::is_signed_v<R>;
    constexpr auto max = static_cast<std::uint64_t>(std::numeric_limits<R>::max());
    const scanned r = scan(text, base, is_signed, [](bool negative) {
        return negative ? max + 1 : max;
    });
    if (r.overflow) return r.negative ? std::numeric_limits<R>::min() : std::numeric_limits<R>::max();
    const U m = static_cast<U>(r.magnitude);
    return static_cast<R>(r.negative ? static_cast<U>(U(0) - m) : m);
}

template <class T> struct width;
template <> struct width<std::uint8_t> {
    static constexpr int bits = 8, bin_cap = 16, hex_cap = 4, dec_cap = 6;
    static constexpr char digit = '1';
};
template <> struct width<std::int8_t> : width<std::uint8_t> {};
template <> struct width<std::uint16_t> {
    static constexpr int bits = 16, bin_cap = 32, hex_cap = 8, dec_cap = 10;
    static constexpr char digit = '2';
};
template <> struct width<std::int16_t> : width<std::uint16_t> {};
template <> struct width<std::uint32_t> {
    static constexpr int bits = 32, bin_cap = 64, hex_cap = 16, dec_cap = 20;
    static constexpr char digit = '4';
};
template <> struct width<std::int32_t> : width<std::uint32_t> {};
template <> struct width<std::uint64_t> {
    static constexpr int bits = 64, bin_cap = 128, hex_cap = 32, dec_cap = 40;
    static constexpr char digit = '8';
};
template <> struct width<std::int64_t> : width<std::uint64_t> {
    static constexpr int dec_cap = 38;
};

// Decimal digit limit of the 64-bit widths: more significant digits than the limit
// text, or as many and greater, cannot be the width's value.
bool decimal_run_fits(std::string_view run, std::string_view limit)
{
    std::string digits = int_text::without_spaces(run);
    const auto first = digits.find_first_not_of('0');
    std::string_view sig = first == std::string::npos ? std::string_view() : std::string_view(digits).substr(first);
    if (sig.size() != limit.size()) return sig.size() < limit.size();
    return sig <= limit;
}

bool is_bin_digit(char c) { return c == '0' || c == '1'; }

template <class T>
bool shape_valid(std::string_view s, bool show_sign, bool show_suffix, std::uint32_t mode)
{
    using W = width<T>;
    const std::size_t len = s.size();
    if (len == 0) return true;
    std::size_t p = 0;
    if constexpr (std::is_signed_v<T>) {
        if (show_sign) {
            if (s[0] != '+' && s[0] != '-') return false;
            p = 1;
        } else if (s[0] == '-') {
            p = 1;
        }
    } else if (show_sign) {
        if (s[0] != '+') return false;
        p = 1;
    }
    const int radix = int_text::radix_of(mode);
    if (radix != 10) {
        // A lone "0" (or nothing) after the sign lets the prefix be typed.
        if (len - p < 2) return len == p || s[p] == '0';
        const char mark = s[p + 1];
        if (s[p] != '0') return false;
        if (radix == 2 ? (mark != 'b' && mark != 'B') : (mark != 'x' && mark != 'X')) return false;
        p += 2;
        const std::size_t cap = radix == 2 ? W::bin_cap : W::hex_cap;
        for (std::size_t n = 0; p < len && n < cap; ++p, ++n) {
            const char c = s[p];
            if (!(c == ' ' || (radix == 2 ? is_bin_digit(c) : kk::adt::char_is_hex(c)))) break;
        }
    } else {
        const std::size_t start = p;
        for (std::size_t n = 0; p < len && n < static_cast<std::size_t>(W::dec_cap); ++p, ++n) {
            const char c = s[p];
            if (!(c == ' ' || kk::adt::char_is_digit(c))) break;
        }
        if constexpr (W::bits == 64) {
            std::string_view limit = std::is_signed_v<T>
                ? (s[0] == '-' ? "9223372036854775808" : "9223372036854775807")
                : "18446744073709551615";
            if (!decimal_run_fits(s.substr(start, p - start), limit)) return false;
        }
    }
    if (show_suffix) {
        const std::size_t rest = len - p;
        if (rest == 1) {
            if (s[p] != 'u') return false;
            ++p;
        } else if (rest >= 2) {
            if (s[p] != 'u' || s[p + 1] != W::digit) return false;
            p += 2;
        }
    }
    return p == len;
}

// Range rule. Unlike the saturating parses, a magnitude beyond 64 bits is refused
// rather than read as the limit, so every width refuses its out-of-range texts alike.
template <class T>
bool range_valid(std::string_view text, std::uint32_t mode, T min, T max)
{
    if (text.empty()) return true;
    const std::string digits = int_text::without_spaces(text);
    const scanned r = scan(digits.c_str(), int_text::radix_of(mode), std::is_signed_v<T>,
                           [](bool) { return std::numeric_limits<std::uint64_t>::max(); });
    if (r.overflow) return false;
    if constexpr (std::is_signed_v<T>) {
        std::int64_t v = 0;
        if (r.negative) {
            if (r.magnitude > (std::uint64_t(1) << 63)) return false;
            v = static_cast<std::int64_t>(std::uint64_t(0) - r.magnitude);
        } else {
            if (r.magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return false;
            v = static_cast<std::int64_t>(r.magnitude);
        }
        return v >= static_cast<std::int64_t>(min) && v <= static_cast<std::int64_t>(max);
    } else {
        return r.magnitude >= static_cast<std::uint64_t>(min) && r.magnitude <= static_cast<std::uint64_t>(max);
    }
}

// Fixed-width lowercase hexadecimal digits of m, most significant byte first.
template <class U>
kstring hex_digits(U m)
{
    kstring out;
    char* d = out.resize(sizeof(U) * 2);
    for (std::size_t i = 0; i < sizeof(U); ++i) {
        const auto& pair = kk::adt::hex_byte_text[(m >> (8 * (sizeof(U) - 1 - i))) & 0xff];
        d[2 * i] = pair[0];
        d[2 * i + 1] = pair[1];
    }
    return out;
}

}  // namespace

std::int32_t text_to_i32(const char* text, int base) { return parse_saturating<std::int32_t>(text, base); }
std::int64_t text_to_i64(const char* text, int base) { return parse_saturating<std::int64_t>(text, base); }
std::uint32_t text_to_u32(const char* text, int base) { return parse_saturating<std::uint32_t>(text, base); }
std::uint64_t text_to_u64(const char* text, int base) { return parse_saturating<std::uint64_t>(text, base); }

namespace int_text {

std::string without_spaces(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != ' ') out.push_back(c);
    return out;
}

template <class T>
bool valid(std::string_view text, bool show_sign, bool show_suffix, std::uint32_t mode, T min, T max)
{
    return shape_valid<T>(text, show_sign, show_suffix, mode) && range_valid<T>(text, mode, min, max);
}

template <class T>
T value(std::string_view text, std::uint32_t mode)
{
    const std::string digits = without_spaces(text);
    const int radix = radix_of(mode);
    // The value parse of each width: the 32-bit parses for the widths up to 32 bits.
    if constexpr (std::is_signed_v<T>) {
        if constexpr (sizeof(T) == 8) return text_to_i64(digits.c_str(), radix);
        else return static_cast<T>(text_to_i32(digits.c_str(), radix));
    } else {
        if constexpr (sizeof(T) == 8) return text_to_u64(digits.c_str(), radix);
        else return static_cast<T>(text_to_u32(digits.c_str(), radix));
    }
}

template <class T>
kstring display(T v, bool show_sign, bool show_suffix, std::uint32_t mode, bool group_digits)
{
    using U = std::make_unsigned_t<T>;
    const bool negative = v < 0;
    const U m = negative ? static_cast<U>(U(0) - static_cast<U>(v)) : static_cast<U>(v);
    const kk::adt::text_view space{" ", 1};
    kstring text;
    if (mode == 0 || mode == 1) {
        kstring digits = hex_digits(m);
        if (mode == 0) digits = kk::adt::hex_to_bin_text(digits);
        if (group_digits) digits = kk::adt::str_insert_every(digits, 4, space);
        const char* prefix = mode == 0 ? (negative ? "-0b" : "0b") : (negative ? "-0x" : "0x");
        text = kk::adt::string_cat_cstr_string(prefix, digits);
    } else {
        text = kk::int_to_text(v);
        if (group_digits) {
            // Threes counted from the right; the minus sign counts as a character.
            std::reverse(text.data, text.data + text.size);
            text = kk::adt::str_insert_every(text, 3, space);
            std::reverse(text.data, text.data + text.size);
        }
    }
    if (show_sign && !negative) text = kk::string_cat_char_string('+', text);
    if (show_suffix) {
        text.push_back('u');
        text.push_back(width<T>::digit);
    }
    return text;
}

#define RUV_INT_TEXT_INSTANCE(T)                                                                     \
    template bool valid<T>(std::string_view, bool, bool, std::uint32_t, T, T);                       \
    template T value<T>(std::string_view, std::uint32_t);                                            \
    template kstring display<T>(T, bool, bool, std::uint32_t, bool);
RUV_INT_TEXT_INSTANCE(std::uint8_t)
RUV_INT_TEXT_INSTANCE(std::int8_t)
RUV_INT_TEXT_INSTANCE(std::uint16_t)
RUV_INT_TEXT_INSTANCE(std::int16_t)
RUV_INT_TEXT_INSTANCE(std::uint32_t)
RUV_INT_TEXT_INSTANCE(std::int32_t)
RUV_INT_TEXT_INSTANCE(std::uint64_t)
RUV_INT_TEXT_INSTANCE(std::int64_t)
#undef RUV_INT_TEXT_INSTANCE

}  // namespace int_text
