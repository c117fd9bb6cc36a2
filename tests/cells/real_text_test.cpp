#include "cells/real_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double dmax = std::numeric_limits<double>::max();
constexpr float fmax = std::numeric_limits<float>::max();

template <class F>
std::string shown(F v, bool show_sign, bool show_suffix)
{
    const kk::adt::string::string s = real_text::display<F>(v, show_sign, show_suffix);
    return std::string(s.data ? s.data : "", s.size);
}

TEST(real_display_text, fixed_point_with_sign_and_suffix)
{
    EXPECT_EQ(shown<double>(1.5, false, false), "1.50000000000000000");
    EXPECT_EQ(shown<double>(1.5, true, false), "+1.50000000000000000");
    EXPECT_EQ(shown<double>(1.5, false, true), "1.50000000000000000d");
    EXPECT_EQ(shown<double>(-2.5, true, true), "-2.50000000000000000d");
    EXPECT_EQ(shown<double>(0.1, false, false), "0.10000000000000001");
    EXPECT_EQ(shown<float>(1.5f, false, false), "1.500000000");
    EXPECT_EQ(shown<float>(0.1f, true, true), "+0.100000001f");
    // -0.0 already carries its sign: "+-0.0..." would be refused by the box's own rule.
    EXPECT_EQ(shown<double>(-0.0, true, false), "-0.00000000000000000");
    EXPECT_EQ(shown<float>(-0.0f, true, false), "-0.000000000");
    EXPECT_EQ(shown<double>(0.0, true, false), "+0.00000000000000000");
    // Non-finite cells from the server show C's words for them.
    EXPECT_EQ(shown<double>(std::numeric_limits<double>::infinity(), true, true), "+infd");
    EXPECT_EQ(shown<float>(-std::numeric_limits<float>::infinity(), true, false), "-inf");
    EXPECT_EQ(shown<double>(std::numeric_limits<double>::quiet_NaN(), true, false), "nan");
}

TEST(real_display_text, longest_texts)
{
    const std::string fmax_text = shown<float>(fmax, false, false);
    EXPECT_EQ(fmax_text, "340282346638528859811704183484516925440.000000000");
    EXPECT_EQ(fmax_text.size(), 49u);
    // The lowest float needs 50 characters and loses its last decimal.
    EXPECT_EQ(shown<float>(-fmax, false, true), "-" + fmax_text.substr(0, 48) + "f");
    const std::string dmax_text = shown<double>(-dmax, false, false);
    EXPECT_EQ(dmax_text.size(), 1u + 309u + 1u + 17u);
    EXPECT_EQ(real_text::to_number<double>(dmax_text), -dmax);
}

struct verdict {
    std::string text;
    bool sign, suffix;
    bool want_double, want_float;
};

TEST(real_text_valid, verdict_table)
{
    const std::vector<verdict> cases = {
        {"", false, false, true, true},
        {"-", false, false, true, true},
        {".", false, false, true, true},
        {"1e", false, false, true, true},
        {"1e+", false, false, true, true},
        {"-.5e+3", false, false, true, true},
        {"12.25E-3", false, false, true, true},
        {"1.2.3", false, false, false, false},
        {"1e+-2", false, false, false, false},
        {"1e2.5", false, false, false, false},
        {"abc", false, false, false, false},
        {"inf", false, false, false, false},
        {"nan", false, false, false, false},
        {"0x10", false, false, false, false},
        {" 1", false, false, false, false},
        {"5", true, false, false, false},
        {"+5", true, false, true, true},
        {"-5", true, false, true, true},
        {"+", true, false, true, true},
        {"+5", false, false, false, false},
        {"+-5", true, false, false, false},
        {"2.5d", false, true, true, false},
        {"2.5f", false, true, false, true},
        {"2.5", false, true, true, true},
        {"2.5dd", false, true, false, false},
        {"2.5d", false, false, false, false},
        {"1e400", false, false, false, false},
        {"-1e400", false, false, false, false},
        {"1e39", false, false, true, false},
        {"1e-400", false, false, true, true},
        {"1e-310", false, false, true, true},
        {"340282346638528859811704183484516925440", false, false, true, true},
        {"340282356779733661637539395458142568448", false, false, true, false},
        {std::string(330, '0'), false, false, true, true},
        {"-" + std::string(330, '0'), false, false, true, true},
        {std::string(331, '0'), false, false, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(real_text::valid<double>(c.text, c.sign, c.suffix, -dmax, dmax), c.want_double) << "'" << c.text << "'";
        EXPECT_EQ(real_text::valid<float>(c.text, c.sign, c.suffix, -fmax, fmax), c.want_float) << "'" << c.text << "'";
    }
}

TEST(real_text_valid, bounds_are_inclusive)
{
    EXPECT_TRUE(real_text::valid<double>("2", false, false, -2.0, 2.0));
    EXPECT_TRUE(real_text::valid<double>("-2", false, false, -2.0, 2.0));
    EXPECT_FALSE(real_text::valid<double>("2.0000001", false, false, -2.0, 2.0));
    EXPECT_TRUE(real_text::in_range<double>("-", -2.0, 2.0));
    EXPECT_FALSE(real_text::in_range<double>("-3", -2.0, 2.0));
}

TEST(real_text_to_number, whole_text_like_strtod)
{
    EXPECT_EQ(real_text::to_number<double>("1" + std::string(39, '0')), 1e39);
    EXPECT_EQ(real_text::to_number<double>("+2.5d"), 2.5);
    EXPECT_EQ(real_text::to_number<double>("-.5e+3"), -500.0);
    EXPECT_EQ(real_text::to_number<double>("1e"), 1.0);
    EXPECT_EQ(real_text::to_number<double>("."), 0.0);
    EXPECT_EQ(real_text::to_number<double>("-"), 0.0);
    EXPECT_TRUE(std::signbit(real_text::to_number<double>("-0")));
    EXPECT_EQ(real_text::to_number<double>("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(real_text::to_number<double>("-0.001e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(real_text::to_number<double>("1e-400"), 0.0);
    EXPECT_EQ(real_text::to_number<double>("1e-310"), 1e-310);
    EXPECT_EQ(real_text::to_number<float>("1e39"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(real_text::to_number<float>("0.1"), 0.1f);
    EXPECT_EQ(real_text::to_number<float>("1e-50"), 0.0f);
}

TEST(real_text, independent_of_the_numeric_locale)
{
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.utf8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(shown<double>(1.5, false, false), "1.50000000000000000");
    EXPECT_EQ(real_text::to_number<double>("1.25"), 1.25);
    EXPECT_TRUE(real_text::valid<double>("1.25", false, false, -dmax, dmax));
    std::setlocale(LC_NUMERIC, before.c_str());
}

// A box falls back to its display text after a refused edit: every finite display text,
// with every flag, must pass the box's own typing rule.
template <class F, class Bits>
void displays_are_valid(std::mt19937_64& rng)
{
    std::vector<F> values = {F(0), -F(0), std::numeric_limits<F>::max(), std::numeric_limits<F>::lowest(),
                             std::numeric_limits<F>::min(), std::numeric_limits<F>::denorm_min()};
    while (values.size() < 3000) {
        const Bits bits = static_cast<Bits>(rng());
        F v;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v)) values.push_back(v);
    }
    for (F v : values)
        for (int flags = 0; flags < 4; ++flags) {
            const bool sign = flags & 1, suffix = flags & 2;
            const std::string text = shown<F>(v, sign, suffix);
            ASSERT_TRUE(real_text::valid<F>(text, sign, suffix, std::numeric_limits<F>::lowest(),
                                            std::numeric_limits<F>::max()))
                << "'" << text << "'";
        }
}

TEST(real_display_text, every_finite_text_is_valid)
{
    std::mt19937_64 rng(20241210);
    displays_are_valid<double, std::uint64_t>(rng);
    displays_are_valid<float, std::uint32_t>(rng);
}

}  // namespace
