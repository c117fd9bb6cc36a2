#include "cells/int_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "adt/types.h"

using namespace kk;

namespace {

constexpr u32 bin = 0, hex = 1, dec = 2;
constexpr bool G = true, NG = false;

template <class T> constexpr T lo = std::numeric_limits<T>::min();
template <class T> constexpr T hi = std::numeric_limits<T>::max();

std::string str(const kk::adt::string::string& s) { return std::string(s.data ? s.data : "", s.size); }

struct case_result {
    std::string label;
    std::string got;
    std::string want;
};

template <class T>
case_result show(T v, u32 mode, bool sign, bool suffix, bool group, std::string want)
{
    std::string label = std::to_string(+v) + " mode " + std::to_string(mode) + (sign ? " sign" : "") +
                        (suffix ? " suffix" : "") + (group ? " grouped" : "");
    return {label, str(int_text::display<T>(v, sign, suffix, mode, group)), want};
}

TEST(int_display_text, table_over_widths_modes_and_flags)
{
    const std::vector<case_result> cases = {
        show<u8>(5, bin, false, false, G, "0b0000 0101"),
        show<u8>(5, bin, false, false, NG, "0b00000101"),
        show<u8>(128, bin, false, false, G, "0b1000 0000"),
        show<u8>(255, hex, false, false, G, "0xff"),
        show<u8>(0, dec, false, false, G, "0"),
        show<u8>(0, dec, true, false, NG, "+0"),
        show<u8>(0, dec, true, true, NG, "+0u1"),
        show<u8>(255, dec, false, false, G, "255"),
        show<i8>(-128, bin, false, false, NG, "-0b10000000"),
        show<i8>(-128, hex, false, false, NG, "-0x80"),
        show<i8>(-128, dec, false, false, G, "- 128"),
        show<i8>(-128, dec, true, true, NG, "-128u1"),
        show<i8>(127, dec, true, false, NG, "+127"),
        show<i8>(0, hex, true, false, NG, "+0x00"),
        show<i16>(-5, hex, true, true, G, "-0x0005u2"),
        show<i16>(-32768, dec, false, false, G, "-32 768"),
        show<i16>(-100, dec, false, false, G, "- 100"),
        show<i16>(-1000, dec, false, false, G, "-1 000"),
        show<i16>(-1, bin, false, false, G, "-0b0000 0000 0000 0001"),
        show<u16>(65535, bin, false, false, G, "0b1111 1111 1111 1111"),
        show<u16>(42, 7, false, false, NG, "42"),
        show<u32>(255, hex, true, false, G, "+0x0000 00ff"),
        show<u32>(hi<u32>, hex, false, true, NG, "0xffffffffu4"),
        show<u32>(hi<u32>, dec, false, false, G, "4 294 967 295"),
        show<i32>(-123456, dec, false, false, G, "- 123 456"),
        show<i32>(1234567, dec, false, false, G, "1 234 567"),
        show<i32>(lo<i32>, dec, false, false, NG, "-2147483648"),
        show<i32>(lo<i32>, dec, false, false, G, "-2 147 483 648"),
        show<i32>(lo<i32>, hex, false, false, G, "-0x8000 0000"),
        show<i64>(lo<i64>, hex, false, false, NG, "-0x8000000000000000"),
        show<i64>(lo<i64>, dec, false, false, G, "-9 223 372 036 854 775 808"),
        show<i64>(hi<i64>, dec, true, true, NG, "+9223372036854775807u8"),
        show<i64>(-1, bin, false, false, NG, "-0b" + std::string(63, '0') + "1"),
        show<u64>(hi<u64>, dec, false, false, G, "18 446 744 073 709 551 615"),
        show<u64>(hi<u64>, hex, true, true, G, "+0xffff ffff ffff ffffu8"),
        show<u64>(1, bin, false, false, NG, "0b" + std::string(63, '0') + "1"),
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.label;
}

struct verdict {
    std::string label;
    bool got;
    bool want;
};

template <class T>
verdict check(const char* text, u32 mode, bool sign, bool suffix, bool want)
{
    std::string label = std::string("'") + text + "' mode " + std::to_string(mode) + (sign ? " sign" : "") +
                        (suffix ? " suffix" : "") + " bits " + std::to_string(sizeof(T) * 8) +
                        (std::is_signed_v<T> ? " signed" : " unsigned");
    return {label, int_text::valid<T>(text, sign, suffix, mode, lo<T>, hi<T>), want};
}

TEST(int_text_valid, verdict_table)
{
    const std::vector<verdict> cases = {
        // Typing the prefix in binary and hexadecimal.
        check<i8>("", bin, false, false, true),
        check<i8>("0", bin, false, false, true),
        check<i8>("-0", bin, false, false, true),
        check<i8>("-", hex, false, false, true),
        check<u8>("+", hex, true, false, true),
        check<u8>("+0x", hex, true, false, true),
        check<u16>("0b", bin, false, false, true),
        check<u16>("0x", hex, false, false, true),
        check<u16>("1", bin, false, false, false),
        check<u16>("1", hex, false, false, false),
        check<u16>("0b", hex, false, false, false),
        check<u16>("0B101", bin, false, false, true),
        check<u16>("0X1F", hex, false, false, true),
        check<u16>("0xaBcD", hex, false, false, true),
        check<u16>("0b102", bin, false, false, false),
        check<u16>("0xfg", hex, false, false, false),
        check<u8>("-", hex, false, false, false),
        // Caps count spaces; values are range-checked.
        check<i8>("0000001", dec, false, false, false),
        check<i8>("000001", dec, false, false, true),
        check<i8>("1 2", dec, false, false, true),
        check<i8>("- 100", dec, false, false, true),
        check<u8>("0x00ff", hex, false, false, true),
        check<u8>("0x0000ff", hex, false, false, false),
        check<u8>("0x1ff", hex, false, false, false),
        check<u8>("0x100", hex, false, false, false),
        check<u8>("256", dec, false, false, false),
        check<u8>("255", dec, false, false, true),
        check<i8>("0x80", hex, false, false, false),
        check<i8>("-0x80", hex, false, false, true),
        check<i8>("-0x81", hex, false, false, false),
        check<i8>("-129", dec, false, false, false),
        check<i32>("2147483648", dec, false, false, false),
        check<i32>("-2147483648", dec, false, false, true),
        check<u32>("4294967296", dec, false, false, false),
        check<u32>("0xffffffff", hex, false, false, true),
        // 64-bit decimal digit limits.
        check<i64>("9223372036854775808", dec, false, false, false),
        check<i64>("-9223372036854775808", dec, false, false, true),
        check<i64>("-9223372036854775809", dec, false, false, false),
        check<i64>("09223372036854775807", dec, false, false, true),
        check<i64>("+9223372036854775807", dec, true, false, true),
        check<u64>("18446744073709551616", dec, false, false, false),
        check<u64>("18446744073709551615", dec, false, false, true),
        check<u64>("018446744073709551615", dec, false, false, true),
        check<u64>("100000000000000000000", dec, false, false, false),
        // 64-bit binary and hexadecimal texts beyond the width are refused, not saturated.
        check<u64>("0x1ffffffffffffffff", hex, false, false, false),
        check<u64>("0xffffffffffffffff", hex, false, false, true),
        check<i64>("0x8000000000000000", hex, false, false, false),
        check<i64>("0x7fffffffffffffff", hex, false, false, true),
        check<i64>("-0x8000000000000000", hex, false, false, true),
        check<i64>("-0x8000000000000001", hex, false, false, false),
        check<i64>(("0b1" + std::string(63, '0')).c_str(), bin, false, false, false),
        check<i64>(("-0b1" + std::string(63, '0')).c_str(), bin, false, false, true),
        check<u64>(("0b1" + std::string(64, '0')).c_str(), bin, false, false, false),
        // Signs.
        check<u8>("-1", dec, false, false, false),
        check<u8>("+1", dec, false, false, false),
        check<u8>("5", dec, true, false, false),
        check<u8>("+5", dec, true, false, true),
        check<u8>("-5", dec, true, false, false),
        check<i16>("+5", dec, false, false, false),
        check<i16>("5", dec, true, false, false),
        check<i16>("-5", dec, true, false, true),
        check<i16>("--5", dec, false, false, false),
        // Suffix, also partly typed.
        check<i16>("12u", dec, false, true, true),
        check<i16>("12u2", dec, false, true, true),
        check<i16>("12u1", dec, false, true, false),
        check<i16>("12u22", dec, false, true, false),
        check<i16>("12u", dec, false, false, false),
        check<i16>("-0x0005u2", hex, true, true, true),
        check<u32>("0xu4", hex, false, true, true),
        check<u32>("0u", hex, false, true, false),
        // Only ASCII.
        check<u8>("\xc3\xa9", dec, false, false, false),
        check<u8>("1\xc3\xa9", dec, false, false, false),
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.label;
}

TEST(int_text_valid, value_ignores_spaces_prefix_and_suffix)
{
    EXPECT_EQ(int_text::value<i8>("0000001", dec), 1);
    EXPECT_EQ(int_text::value<i32>("- 123 456", dec), -123456);
    EXPECT_EQ(int_text::value<i16>("-0x0005u2", hex), -5);
    EXPECT_EQ(int_text::value<u64>("0xffff ffff ffff ffff", hex), hi<u64>);
    EXPECT_EQ(int_text::value<i64>("-0x8000000000000000", hex), lo<i64>);
    EXPECT_EQ(int_text::value<u8>("0B1 01", bin), 5);
    EXPECT_EQ(int_text::value<i8>("-", bin), 0);
    EXPECT_EQ(int_text::value<u16>("", hex), 0);
}

TEST(int_text_parse, strtol_like_with_saturation)
{
    EXPECT_EQ(text_to_i32(" \t\n-12", 10), -12);
    EXPECT_EQ(text_to_i32("", 10), 0);
    EXPECT_EQ(text_to_i32(" \v\f\r", 10), 0);
    EXPECT_EQ(text_to_i32("- 5", 10), 0);  // no blank after the sign
    EXPECT_EQ(text_to_i32("12abc", 10), 12);
    EXPECT_EQ(text_to_i32("ff", 16), 255);
    EXPECT_EQ(text_to_i32("0xFf", 16), 255);
    EXPECT_EQ(text_to_i32("0", 16), 0);
    EXPECT_EQ(text_to_i32("0B11", 2), 3);
    EXPECT_EQ(text_to_i32("2147483647", 10), hi<i32>);
    EXPECT_EQ(text_to_i32("2147483648", 10), hi<i32>);
    EXPECT_EQ(text_to_i32("-2147483648", 10), lo<i32>);
    EXPECT_EQ(text_to_i32("-2147483649", 10), lo<i32>);
    EXPECT_EQ(text_to_i64("-9223372036854775808", 10), lo<i64>);
    EXPECT_EQ(text_to_i64("99999999999999999999", 10), hi<i64>);
    EXPECT_EQ(text_to_i64("0b101", 2), 5);
    EXPECT_EQ(text_to_u32("-5", 10), 0u);
    EXPECT_EQ(text_to_u32("+7", 10), 7u);
    EXPECT_EQ(text_to_u32("4294967296", 10), hi<u32>);
    EXPECT_EQ(text_to_u64("0x1ffffffffffffffff", 16), hi<u64>);
    EXPECT_EQ(text_to_u64("18446744073709551615", 10), hi<u64>);
}

// Every display text an editor or a cell can show is accepted by the rule and reads
// back as its value.
template <class T>
void display_round_trips(std::mt19937_64& rng)
{
    std::vector<T> values = {lo<T>, hi<T>, T(0), T(1), static_cast<T>(lo<T> + 1), static_cast<T>(hi<T> - 1)};
    if constexpr (std::is_signed_v<T>) values.push_back(T(-1));
    for (int i = 0; i < 300; ++i) {
        // Spread over magnitudes, not only the huge ones a uniform draw gives.
        const int bits = static_cast<int>(rng() % (sizeof(T) * 8)) + 1;
        const u64 raw = bits >= 64 ? rng() : rng() & ((u64(1) << bits) - 1);
        values.push_back(static_cast<T>(raw));
    }
    for (T v : values)
        for (u32 mode : {0u, 1u, 2u, 9u})
            for (int flags = 0; flags < 8; ++flags) {
                const bool sign = flags & 1, suffix = flags & 2, group = flags & 4;
                const std::string text = str(int_text::display<T>(v, sign, suffix, mode, group));
                ASSERT_TRUE(int_text::valid<T>(text, sign, suffix, mode, lo<T>, hi<T>)) << "'" << text << "'";
                ASSERT_EQ(int_text::value<T>(text, mode), v) << "'" << text << "'";
            }
}

TEST(int_display_text, every_text_is_valid_and_parses_back)
{
    std::mt19937_64 rng(20241210);
    display_round_trips<u8>(rng);
    display_round_trips<i8>(rng);
    display_round_trips<u16>(rng);
    display_round_trips<i16>(rng);
    display_round_trips<u32>(rng);
    display_round_trips<i32>(rng);
    display_round_trips<u64>(rng);
    display_round_trips<i64>(rng);
}

}  // namespace
