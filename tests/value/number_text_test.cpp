#include "value/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>

#include "raised.h"

using namespace kk;

namespace {
std::string str(const adt::string::string& s) { return std::string(s.data ? s.data : "", s.size); }
std::string fixed_float(float x) {
  char b[float_text_max];
  return std::string(b, float_to_fixed_text(b, x));
}
std::string fixed_double(double x) {
  char b[double_text_max];
  return std::string(b, double_to_fixed_text(b, x));
}
}  // namespace

TEST(int_to_text, every_width_at_its_ends) {
  EXPECT_EQ(str(int_to_text(std::numeric_limits<int32_t>::min())), "-2147483648");
  EXPECT_EQ(str(int_to_text(std::numeric_limits<int64_t>::min())), "-9223372036854775808");
  EXPECT_EQ(str(int_to_text(std::numeric_limits<uint64_t>::max())), "18446744073709551615");
  EXPECT_EQ(str(int_to_text(uint8_t(0))), "0");
  EXPECT_EQ(str(int_to_text(int8_t(-128))), "-128");
  EXPECT_EQ(str(int_to_text(uint8_t(255))), "255");
  EXPECT_EQ(str(int_to_text(int16_t(-32768))), "-32768");
  EXPECT_EQ(str(int_to_text(uint16_t(65535))), "65535");
  EXPECT_EQ(str(int_to_text(uint32_t(4294967295u))), "4294967295");
  EXPECT_EQ(str(int_to_text(int32_t(-7))), "-7");
}

TEST(parse_kernels, blanks_signs_digits_and_wrapping) {
  struct { const char* text; int32_t i32; int64_t i64; uint32_t u32; uint64_t u64; } cases[] = {
      {"", 0, 0, 0, 0},
      {"  42xyz", 42, 42, 42, 42},
      {"-7", -7, -7, 0, 0},
      {"+5", 5, 5, 5, 5},
      {" \t 5", 5, 5, 5, 5},
      {"\n\v\f\r9", 9, 9, 9, 9},
      {"abc", 0, 0, 0, 0},
      {"   ", 0, 0, 0, 0},
      {"+-3", 0, 0, 0, 0},
      {"99999999999", 1215752191, 99999999999, 1215752191, 99999999999},
      {"-2147483648", INT32_MIN, -2147483648LL, 0, 0},
      {"18446744073709551616", 0, 0, 0, 0},  // 2^64 wraps to 0
      {"-9223372036854775808", 0, INT64_MIN, 0, 0},
  };
  for (auto& c : cases) {
    const uint64_t n = std::strlen(c.text);
    EXPECT_EQ(parse_i32(c.text, n), c.i32) << c.text;
    EXPECT_EQ(parse_i64(c.text, n), c.i64) << c.text;
    EXPECT_EQ(parse_u32(c.text, n), c.u32) << c.text;
    EXPECT_EQ(parse_u64(c.text, n), c.u64) << c.text;
  }
  // Bounded by the length: digits past it are not read.
  EXPECT_EQ(parse_i32("12345", 2), 12);
}

TEST(fixed_text, float_and_double_at_their_extremes) {
  struct { float x; const char* text; } floats[] = {
      {1.5f, "1.500000000"},
      {0.1f, "0.100000001"},
      {0.0f, "0.000000000"},
      {-0.0f, "-0.000000000"},
      {std::numeric_limits<float>::denorm_min(), "0.000000000"},
      {std::numeric_limits<float>::max(), "340282346638528859811704183484516925440.000000000"},
      // 50 characters: the 50-byte buffer keeps 49, dropping a trailing zero.
      {std::numeric_limits<float>::lowest(), "-340282346638528859811704183484516925440.00000000"},
      {std::numeric_limits<float>::infinity(), "inf"},
      {-std::numeric_limits<float>::infinity(), "-inf"},
      {std::numeric_limits<float>::quiet_NaN(), "nan"},
      {-std::numeric_limits<float>::quiet_NaN(), "-nan"},
  };
  for (auto& c : floats) EXPECT_EQ(fixed_float(c.x), c.text);

  struct { double x; const char* text; } doubles[] = {
      {0.1, "0.10000000000000001"},
      {2.5, "2.50000000000000000"},
      {-1e-300, "-0.00000000000000000"},
      {std::numeric_limits<double>::denorm_min(), "0.00000000000000000"},
      {1e17, "100000000000000000.00000000000000000"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
      {std::numeric_limits<double>::quiet_NaN(), "nan"},
      {-std::numeric_limits<double>::quiet_NaN(), "-nan"},
  };
  for (auto& c : doubles) EXPECT_EQ(fixed_double(c.x), c.text);
  const std::string max = fixed_double(std::numeric_limits<double>::max());
  EXPECT_EQ(max.size(), 309u + 18u);
  EXPECT_EQ(max.substr(0, 20), "17976931348623157081");
  EXPECT_EQ(fixed_double(std::numeric_limits<double>::lowest()), "-" + max);
}

TEST(fixed_text, same_digits_as_c_printf_in_the_c_locale) {
  std::mt19937_64 rng(12345);
  char ref[400];
  for (int i = 0; i < 20000; ++i) {
    uint64_t bits = rng();
    double d;
    std::memcpy(&d, &bits, 8);
    if (!std::isfinite(d)) continue;
    if (i % 2) d = std::ldexp(double(rng() >> 11), int(rng() % 80) - 60);  // values with few digits
    std::snprintf(ref, sizeof ref, "%.17f", d);
    ASSERT_EQ(fixed_double(d), ref) << i;
    const float f = float(d);
    if (!std::isfinite(f)) continue;
    std::snprintf(ref, sizeof ref, "%.9f", double(f));
    ASSERT_EQ(fixed_float(f), std::string(ref).substr(0, float_text_max)) << i;
  }
}

TEST(text_to_real, values_and_raised_errors) {
  struct { const char* text; double d; const char* d_err; float f; const char* f_err; } cases[] = {
      {"", 0, "none", 0, "none"},
      {"1.5", 1.5, "none", 1.5f, "none"},
      {"  -2.5e3xyz", -2500, "none", -2500, "none"},
      {"+7", 7, "none", 7, "none"},
      {"0x1p3", 8, "none", 8, "none"},
      {".5", 0.5, "none", 0.5f, "none"},
      {"inf", INFINITY, "none", INFINITY, "none"},
      {"-Infinity", -INFINITY, "none", -INFINITY, "none"},
      {"0e999999", 0, "none", 0, "none"},
      {"1e39", 1e39, "none", 0, "range: stof argument out of range"},
      {"1e-40", 1e-40, "none", 0, "range: stof argument out of range"},  // subnormal float
      {"1e400", 0, "range: stod argument out of range", 0, "range: stof argument out of range"},
      {"1e-400", 0, "range: stod argument out of range", 0, "range: stof argument out of range"},
      {"1e-310", 0, "range: stod argument out of range", 0, "range: stof argument out of range"},
      {"abc", 0, "invalid: invalid stod argument", 0, "invalid: invalid stof argument"},
      {"   ", 0, "invalid: invalid stod argument", 0, "invalid: invalid stof argument"},
      {"-", 0, "invalid: invalid stod argument", 0, "invalid: invalid stof argument"},
  };
  for (auto& c : cases) {
    const uint64_t n = std::strlen(c.text);
    EXPECT_EQ(raised([&] { text_to_double(c.text, n); }), c.d_err) << c.text;
    EXPECT_EQ(raised([&] { text_to_float(c.text, n); }), c.f_err) << c.text;
    if (std::string(c.d_err) == "none") {
      EXPECT_EQ(text_to_double(c.text, n), c.d) << c.text;
    }
    if (std::string(c.f_err) == "none") {
      EXPECT_EQ(text_to_float(c.text, n), c.f) << c.text;
    }
  }
  EXPECT_TRUE(std::isnan(text_to_double("nan", 3)));
  // Bounded by the length: "1.25" inside "1.2599".
  EXPECT_EQ(text_to_double("1.2599", 4), 1.25);
  // Agrees with the C library on random decimal texts.
  std::mt19937_64 rng(7);
  char buf[64];
  for (int i = 0; i < 5000; ++i) {
    const int n = std::snprintf(buf, sizeof buf, "%.*e", int(rng() % 20), std::ldexp(double(rng() >> 11), int(rng() % 200) - 100));
    EXPECT_EQ(text_to_double(buf, uint64_t(n)), std::strtod(buf, nullptr)) << buf;
  }
}

TEST(number_text, comma_decimal_locale_changes_nothing) {
  const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"};
  const char* got = nullptr;
  for (const char* n : names)
    if ((got = std::setlocale(LC_NUMERIC, n))) break;
  if (!got) GTEST_SKIP() << "no comma-decimal locale installed (scripts/deps.sh generates de_DE.UTF-8)";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 1.5);
  const bool comma = std::string(probe) == "1,5";
  EXPECT_EQ(fixed_double(1.5), "1.50000000000000000");
  EXPECT_EQ(fixed_float(-0.25f), "-0.250000000");
  EXPECT_EQ(text_to_double("1.5", 3), 1.5);
  EXPECT_EQ(text_to_double("0x1.8p1", 7), 3.0);  // the C library's path too
  EXPECT_EQ(text_to_float("2.5e-1", 6), 0.25f);
  EXPECT_EQ(raised([] { text_to_double("1e-310", 6); }), "range: stod argument out of range");
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_TRUE(comma) << "the locale did not switch the C library to a decimal comma: " << probe;
}

TEST(string_edits, replace_and_cat_char) {
  struct { const char* repl; const char* expect; } grow[] = {{"XYZ", "aXYZdef"}, {"", "adef"}, {"XY", "aXYdef"}};
  for (auto& c : grow) {
    adt::string::string s = adt::string::string_from_cstr("abcdef");
    EXPECT_TRUE(adt::string::replace(s, 1, 2, adt::cstr_view(c.repl)));
    EXPECT_EQ(str(s), c.expect);
    EXPECT_EQ(s.data[s.size], 0);
  }
  adt::string::string s = adt::string::string_from_cstr("abcdef");
  EXPECT_FALSE(adt::string::replace(s, 2, 1, adt::cstr_view("x")));
  EXPECT_FALSE(adt::string::replace(s, 0, 6, adt::cstr_view("x")));
  EXPECT_EQ(str(s), "abcdef");

  // The replacement taken from the target itself, growing past its capacity and shrinking.
  adt::string::string t = adt::string::string_from_cstr("abcdef");
  EXPECT_TRUE(adt::string::replace(t, 0, 0, adt::text_view{t.data, t.size}));
  EXPECT_EQ(str(t), "abcdefbcdef");
  EXPECT_TRUE(adt::string::replace(t, 1, 9, adt::text_view{t.data + 8, 2}));  // "de"
  EXPECT_EQ(str(t), "adef");

  EXPECT_EQ(str(string_cat_char_string('x', adt::string::string())), "x");
  EXPECT_EQ(str(string_cat_char_string('-', adt::string::string_from_cstr("12"))), "-12");
}
