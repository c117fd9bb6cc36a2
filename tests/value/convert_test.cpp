#include "value/convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "value/calendar.h"
#include "tables.h"

using namespace kk;

namespace {
val v_i08(int8_t x) { val v; val_from_i08(v, x); return v; }
val v_u08(uint8_t x) { val v; val_from_u08(v, x); return v; }
val v_i16(int16_t x) { val v; val_from_i16(v, x); return v; }
val v_u16(uint16_t x) { val v; val_from_u16(v, x); return v; }
val v_i32(int32_t x) { val v; val_from_i32(v, x); return v; }
val v_u32(uint32_t x) { val v; val_from_u32(v, x); return v; }
val v_i64(int64_t x) { val v; val_from_i64(v, x); return v; }
val v_u64(uint64_t x) { val v; val_from_u64(v, x); return v; }
val v_flt(float x) { val v; val_from_float(v, x); return v; }
val v_dbl(double x) { val v; val_from_double(v, x); return v; }
val v_str(const std::string& s) { val v; val_from_bytes(v, s.data(), s.size()); return v; }
val v_date(uint16_t y, uint8_t m, uint8_t d) { val v; val_from_date(v, y, m, d); return v; }
val v_time(uint8_t h, uint8_t m, uint8_t s, uint32_t ns) { val v; val_from_time(v, h, m, s, ns); return v; }
val v_dt(datetime_fields f) { val v; val_from_datetime(v, f); return v; }
val v_bad() { val v; v.type = val_type_int; v.sign = val_sign_na; v.size = val_size_1; return v; }

// kind:value; floats by "%.9g" / "%.17g", calendar kinds by their texts.
std::string describe(const val& v) {
  const uint8_t k = val_kind_index(v);
  if (k == kind_none) return "null";
  std::string s = std::string(val_kind_name(k)) + ":";
  char b[64];
  const datetime_fields f = val_fields(v);
  switch (k) {
    case kind_i08: return s + std::to_string(val_as_i08(v));
    case kind_u08: return s + std::to_string(val_as_u08(v));
    case kind_i16: return s + std::to_string(val_as_i16(v));
    case kind_u16: return s + std::to_string(val_as_u16(v));
    case kind_i32: return s + std::to_string(val_as_i32(v));
    case kind_u32: return s + std::to_string(val_as_u32(v));
    case kind_i64: return s + std::to_string(val_as_i64(v));
    case kind_u64: return s + std::to_string(val_as_u64(v));
    case kind_float: std::snprintf(b, sizeof b, "%.9g", double(val_as_float(v))); return s + b;
    case kind_double: std::snprintf(b, sizeof b, "%.17g", val_as_double(v)); return s + b;
    case kind_string: return s + std::string(v.text ? v.text : "", v.len);
    case kind_date: return s + std::string(b, date_to_chars(b, f)) + (f.hour || f.nanosecond ? "!" : "");
    case kind_time: return s + std::string(b, time_to_chars(b, f)) + (f.year || f.month || f.day ? "!" : "");
    default: return s + std::string(b, datetime_to_chars(b, f));
  }
}

std::string convert(uint8_t target, const val& src, bool parse_text) {
  try {
    return describe(val_convert(target, src, parse_text));
  } catch (const std::invalid_argument& e) {
    return std::string("raise:") + e.what();
  } catch (const std::out_of_range& e) {
    return std::string("raise:") + e.what();
  }
}

struct row {
  const char* label;
  val src;
  // Results for the targets i08 u08 i16 u16 i32 u32 i64 u64 float double string date time
  // datetime; "?" is not checked here.
  std::vector<std::string> to;
};

const std::string N = "null";
std::vector<std::string> ints(const std::string& i08, const std::string& u08, const std::string& i16,
                              const std::string& u16, const std::string& i32, const std::string& u32,
                              const std::string& i64, const std::string& u64) {
  return {"i08:" + i08, "u08:" + u08, "i16:" + i16, "u16:" + u16, "i32:" + i32, "u32:" + u32, "i64:" + i64, "u64:" + u64};
}
std::vector<std::string> all_ints(const std::string& x) { return ints(x, x, x, x, x, x, x, x); }
std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
std::vector<std::string> nulls(int n) { return std::vector<std::string>(size_t(n), N); }
}  // namespace

TEST(conversion_matrix, every_source_and_target_at_boundary_values) {
  need_tables();
  const float fmax = std::numeric_limits<float>::max();
  const double dmax_ish = 1e300, nan = std::nan("");
  const std::string u64max = "18446744073709551615";
  const std::vector<row> rows = {
      {"i08 -128", v_i08(-128),
       ints("-128", "128", "-128", "65408", "-128", "4294967168", "-128", "18446744073709551488") +
           std::vector<std::string>{"float:-128", "double:-128", "string:-128"} + nulls(3)},
      {"i08 127", v_i08(127), all_ints("127") + std::vector<std::string>{"float:127", "double:127", "string:127"} + nulls(3)},
      {"u08 255", v_u08(255),
       ints("-1", "255", "255", "255", "255", "255", "255", "255") +
           std::vector<std::string>{"float:255", "double:255", "string:255"} + nulls(3)},
      {"i16 -32768", v_i16(-32768),
       ints("0", "0", "-32768", "32768", "-32768", "4294934528", "-32768", "18446744073709518848") +
           std::vector<std::string>{"float:-32768", "double:-32768", "string:-32768"} + nulls(3)},
      {"u16 65535", v_u16(65535),
       ints("-1", "255", "-1", "65535", "65535", "65535", "65535", "65535") +
           std::vector<std::string>{"float:65535", "double:65535", "string:65535"} + nulls(3)},
      {"i32 min", v_i32(INT32_MIN),
       ints("0", "0", "0", "0", "-2147483648", "2147483648", "-2147483648", "18446744071562067968") +
           std::vector<std::string>{"float:-2.14748365e+09", "double:-2147483648", "string:-2147483648"} + nulls(3)},
      {"u32 max", v_u32(4294967295u),
       ints("-1", "255", "-1", "65535", "-1", "4294967295", "4294967295", "4294967295") +
           std::vector<std::string>{"float:4.2949673e+09", "double:4294967295", "string:4294967295"} + nulls(3)},
      {"i64 min", v_i64(INT64_MIN),
       ints("0", "0", "0", "0", "0", "0", "-9223372036854775808", "9223372036854775808") +
           std::vector<std::string>{"float:-9.22337204e+18", "double:-9.2233720368547758e+18",
                                    "string:-9223372036854775808"} + nulls(3)},
      {"u64 max", v_u64(~0ull),
       ints("-1", "255", "-1", "65535", "-1", "4294967295", "-1", u64max) +
           std::vector<std::string>{"float:1.84467441e+19", "double:1.8446744073709552e+19", "string:" + u64max} +
           nulls(3)},
      {"u64 300", v_u64(300),
       ints("44", "44", "300", "300", "300", "300", "300", "300") +
           std::vector<std::string>{"float:300", "double:300", "string:300"} + nulls(3)},

      {"float 300.5", v_flt(300.5f),
       ints("44", "44", "300", "300", "300", "300", "300", "300") +
           std::vector<std::string>{"float:300.5", "double:300.5", "string:300.500000000"} + nulls(3)},
      {"float -2.9", v_flt(-2.9f),
       ints("-2", "254", "-2", "65534", "-2", "4294967294", "-2", "18446744073709551614") +
           std::vector<std::string>{"float:-2.9000001", "double:-2.9000000953674316", "string:-2.900000095"} + nulls(3)},
      {"float max", v_flt(fmax),
       ints("-1", "255", "-1", "65535", "2147483647", "4294967295", "9223372036854775807", u64max) +
           std::vector<std::string>{"float:3.40282347e+38", "double:3.4028234663852886e+38",
                                    "string:340282346638528859811704183484516925440.000000000"} + nulls(3)},
      {"float nan", v_flt(std::nanf("")),
       all_ints("0") + std::vector<std::string>{"float:nan", "double:nan", "string:nan"} + nulls(3)},
      {"float 0.1", v_flt(0.1f),
       all_ints("0") + std::vector<std::string>{"float:0.100000001", "double:0.10000000149011612", "string:0.100000001"} +
           nulls(3)},

      {"double 3.99", v_dbl(3.99),
       all_ints("3") + std::vector<std::string>{"float:3.99000001", "double:3.9900000000000002",
                                                "string:3.99000000000000021"} + nulls(3)},
      {"double -3.99", v_dbl(-3.99),
       ints("-3", "253", "-3", "65533", "-3", "4294967293", "-3", "18446744073709551613") +
           std::vector<std::string>{"float:-3.99000001", "double:-3.9900000000000002", "string:-3.99000000000000021"} +
           nulls(3)},
      {"double 1e300", v_dbl(dmax_ish),
       ints("-1", "255", "-1", "65535", "2147483647", "4294967295", "9223372036854775807", u64max) +
           std::vector<std::string>{"float:inf", "double:1.0000000000000001e+300", "?"} + nulls(3)},
      {"double -1e300", v_dbl(-dmax_ish),
       ints("0", "0", "0", "0", "-2147483648", "0", "-9223372036854775808", "9223372036854775808") +
           std::vector<std::string>{"float:-inf", "double:-1.0000000000000001e+300", "?"} + nulls(3)},
      {"double 2^63", v_dbl(9223372036854775808.0),
       ints("-1", "255", "-1", "65535", "2147483647", "4294967295", "9223372036854775807", "9223372036854775808") +
           std::vector<std::string>{"float:9.22337204e+18", "double:9.2233720368547758e+18",
                                    "string:9223372036854775808.00000000000000000"} + nulls(3)},
      {"double -1.5", v_dbl(-1.5),
       ints("-1", "255", "-1", "65535", "-1", "4294967295", "-1", u64max) +
           std::vector<std::string>{"float:-1.5", "double:-1.5", "string:-1.50000000000000000"} + nulls(3)},
      {"double nan", v_dbl(nan),
       all_ints("0") + std::vector<std::string>{"float:nan", "double:nan", "string:nan"} + nulls(3)},

      {"text 300", v_str("300"),
       ints("44", "44", "300", "300", "300", "300", "300", "300") +
           std::vector<std::string>{"float:300", "double:300", "string:300"} + nulls(3)},
      {"text -129", v_str("-129"),
       ints("127", "0", "-129", "0", "-129", "0", "-129", "0") +
           std::vector<std::string>{"float:-129", "double:-129", "string:-129"} + nulls(3)},
      {"text abc", v_str("abc"),
       all_ints("0") + std::vector<std::string>{"raise:invalid stof argument", "raise:invalid stod argument", "string:abc"} +
           nulls(3)},
      {"empty text", v_str(""), all_ints("0") + std::vector<std::string>{"float:0", "double:0", "string:"} + nulls(3)},
      {"text blanks 5", v_str(" \t 5"),
       all_ints("5") + std::vector<std::string>{"float:5", "double:5", "string: \t 5"} + nulls(3)},
      {"text 99999999999", v_str("99999999999"),
       ints("-1", "255", "-6145", "59391", "1215752191", "1215752191", "99999999999", "99999999999") +
           std::vector<std::string>{"float:9.9999998e+10", "double:99999999999", "string:99999999999"} + nulls(3)},
      {"text 1e400", v_str("1e400"),
       all_ints("1") + std::vector<std::string>{"raise:stof argument out of range", "raise:stod argument out of range",
                                               "string:1e400"} + nulls(3)},
      {"text spaces", v_str("   "),
       all_ints("0") + std::vector<std::string>{"raise:invalid stof argument", "raise:invalid stod argument", "string:   "} +
           nulls(3)},
      {"text -5", v_str("-5"),
       ints("-5", "0", "-5", "0", "-5", "0", "-5", "0") +
           std::vector<std::string>{"float:-5", "double:-5", "string:-5"} + nulls(3)},
      {"text +5", v_str("+5"), all_ints("5") + std::vector<std::string>{"float:5", "double:5", "string:+5"} + nulls(3)},
      {"text 1.5", v_str("1.5"), all_ints("1") + std::vector<std::string>{"float:1.5", "double:1.5", "string:1.5"} + nulls(3)},
      {"text date", v_str("2024-02-29"),
       ints("-24", "232", "2024", "2024", "2024", "2024", "2024", "2024") + std::vector<std::string>{"float:2024", "double:2024", "string:2024-02-29", "date:2024-02-29", N, N}},
      {"text bad date", v_str("2023-02-29"),
       ints("-25", "231", "2023", "2023", "2023", "2023", "2023", "2023") + std::vector<std::string>{"float:2023", "double:2023", "string:2023-02-29", N, N, N}},
      {"text date and more", v_str("2024-02-29 xyz"),
       ints("-24", "232", "2024", "2024", "2024", "2024", "2024", "2024") + std::vector<std::string>{"float:2024", "double:2024", "string:2024-02-29 xyz", "date:2024-02-29", N, N}},
      {"text datetime", v_str("2024-05-09T08:15:43.25"),
       ints("-24", "232", "2024", "2024", "2024", "2024", "2024", "2024") + std::vector<std::string>{"float:2024", "double:2024", "string:2024-05-09T08:15:43.25",
                                                   "date:2024-05-09", N, "datetime:2024-05-09 08:15:43.25"}},
      {"text time", v_str("08:15:43.25"),
       all_ints("8") + std::vector<std::string>{"float:8", "double:8", "string:08:15:43.25", N, "time:08:15:43.25", N}},

      {"date", v_date(2024, 2, 29),
       nulls(10) + std::vector<std::string>{"string:2024-02-29", "date:2024-02-29", N, "datetime:2024-02-29 00:00:00"}},
      {"time", v_time(8, 15, 43, 250000000),
       nulls(10) + std::vector<std::string>{"string:08:15:43.25", N, "time:08:15:43.25", N}},
      {"datetime", v_dt({2024, 5, 9, 8, 15, 43, 500000000}),
       nulls(10) + std::vector<std::string>{"string:2024-05-09 08:15:43.5", "date:2024-05-09", "time:08:15:43.5",
                                            "datetime:2024-05-09 08:15:43.5"}},
      {"null", val(), nulls(14)},
      {"malformed header", v_bad(), nulls(14)},
  };

  bool covered[kind_count] = {};
  for (const row& r : rows) {
    ASSERT_EQ(r.to.size(), size_t(kind_count)) << r.label;
    const uint8_t k = val_kind_index(r.src);
    if (k != kind_none) covered[k] = true;
    for (uint8_t t = 0; t < kind_count; ++t) {
      if (r.to[t] == "?") continue;
      EXPECT_EQ(convert(t, r.src, true), r.to[t]) << r.label << " -> " << val_kind_name(t);
      // Without parse_text a text gives null for every number target; nothing else changes.
      const bool text_to_number = k == kind_string && t <= kind_double;
      EXPECT_EQ(convert(t, r.src, false), text_to_number ? N : r.to[t]) << r.label << " -> " << val_kind_name(t);
    }
  }
  for (uint8_t k = 0; k < kind_count; ++k) EXPECT_TRUE(covered[k]) << val_kind_name(k);
  // Targets outside the fourteen kinds give null rather than reading past the table.
  EXPECT_EQ(convert(kind_count, v_i32(1), true), N);
  EXPECT_EQ(convert(255, v_i32(1), true), N);
}

TEST(conversion_matrix, a_raising_conversion_leaves_the_target_untouched) {
  val out;
  val_from_i32(out, 99);
  EXPECT_THROW(val_convert(out, kind_double, v_str("nope"), true), std::invalid_argument);
  EXPECT_EQ(val_kind_index(out), kind_i32);
  EXPECT_EQ(val_as_i32(out), 99);
  // The output may be the source itself.
  val v = v_str("42");
  val_convert(v, kind_u08, v, true);
  EXPECT_EQ(describe(v), "u08:42");
  val_convert(v, kind_string, v, true);
  EXPECT_EQ(describe(v), "string:42");
}

TEST(conversion_matrix, random_texts_convert_within_their_bytes) {
  need_tables();
  // Texts made of the bytes the parsers look for, in exact-size blocks: any read past a
  // text's length is a heap over-read under the sanitizer build.
  const char alphabet[] = "0123456789-+:. eExXinfa\t";
  std::mt19937_64 rng(99);
  for (int i = 0; i < 20000; ++i) {
    std::string s(rng() % 26, ' ');
    for (char& c : s) c = alphabet[rng() % (sizeof alphabet - 1)];
    const val src = v_str(s);
    for (uint8_t t = 0; t < kind_count; ++t) {
      try {
        const val r = val_convert(t, src, true);
        const uint8_t k = val_kind_index(r);
        ASSERT_TRUE(k == t || k == kind_none) << s;
        if (t <= kind_u64) {
          ASSERT_EQ(k, t) << s;  // a text always gives some integer
        }
      } catch (const std::invalid_argument&) {
        ASSERT_TRUE(t == kind_float || t == kind_double) << s;
      } catch (const std::out_of_range&) {
        ASSERT_TRUE(t == kind_float || t == kind_double) << s;
      }
    }
  }
}
