#include <limits>
#include <optional>
#include <string>

#include "contract_test.h"
#include "functions/conversion_functions.h"

namespace kk::functions::test {
namespace {

std::vector<contract_case> conversion_cases() {
  const std::vector<val> numbers = {vi32(300), vtxt("-129"), vdbl(2.9), vu08(255)};
  const kind_set date_kinds = kind_text | kind_date_only | kind_time_only | kind_datetime_only;
  auto numeric = [&](const char* name, bool empty_gives_true) {
    return contract_case{name, 1, {kind_any}, "", 1, empty_gives_true, result_shape::one_arg_scalar, {numbers}};
  };
  auto calendar = [&](const char* name, std::vector<val> good) {
    return contract_case{name, 1, {date_kinds}, std::string("unsupport type in function ") + name + ".\n",
                         1, false, result_shape::one_arg_scalar, {good}};
  };
  return {
      numeric("x2i08", true),
      numeric("x2i16", true),
      numeric("x2i32", false),
      numeric("x2i64", false),
      numeric("x2u08", false),
      numeric("x2u16", false),
      numeric("x2u32", false),
      numeric("x2u64", false),
      numeric("x2flt", false),
      numeric("x2dbl", false),
      {"x2str", 1, {kind_any}, "", 1, false, result_shape::one_arg_scalar,
       {{vi32(-5), vdbl(0.1), vdate(2024, 5, 9), vnull(), vtxt("x")}}},
      calendar("x2date", {vtxt("2024-02-29"), vdt(2024, 5, 9, 8, 15, 43), vdate(2000, 1, 1)}),
      calendar("x2time", {vtxt("08:15:43.25"), vdt(2024, 5, 9, 8, 15, 43), vtime(1, 2, 3)}),
      calendar("x2datetime", {vtxt("2024-05-09T08:15:43.25"), vdate(2024, 5, 9), vdt(2024, 5, 9, 8, 15, 43)}),
      {"raw2hex", 1, {kind_any}, "", 1, false, result_shape::one_arg_scalar,
       {{vi32(1), vtxt("AB"), vdate(2024, 5, 9), vnull()}}},
      {"hex2raw", 1, {kind_text}, "unsupport type in function hex2raw\n", 1, false, result_shape::one_arg_scalar,
       {{vtxt("4a4B")}}},
  };
}

INSTANTIATE_TEST_SUITE_P(conversion, function_contract, ::testing::ValuesIn(conversion_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

struct result_case {
  const char* name;
  val in;
  std::optional<val> out;  // none: the call fails (the value does not convert)
};

void check(const result_case& c) {
  std::vector<column> args = {col({c.in})};
  column r;
  call_outcome got = call(c.name, r, args);
  const std::string what = std::string(c.name) + " of " + show(c.in);
  EXPECT_EQ(got.printed, "") << what;
  if (!c.out) {
    EXPECT_FALSE(got.ok) << what;
    return;
  }
  ASSERT_TRUE(got.ok) << what;
  ASSERT_EQ(r.values.size, 1u) << what;
  EXPECT_TRUE(same(r.values[0], *c.out)) << what << " gives " << show(r.values[0]) << ", not " << show(*c.out);
}

TEST(conversion_functions, integer_targets_wrap_parse_and_truncate) {
  const result_case cases[] = {
      {"x2i08", vi32(300), vi08(44)},
      {"x2i08", vu64(300), vi08(44)},
      {"x2i08", vtxt("300"), vi08(44)},
      {"x2i08", vtxt("-129"), vi08(127)},
      {"x2i08", vtxt("abc"), vi08(0)},
      {"x2i08", vtxt(""), vi08(0)},
      {"x2u16", vi08(-1), vu16(65535)},
      {"x2i64", vu08(255), vi64(255)},
      {"x2i64", vi32(-2), vi64(-2)},
      {"x2u64", vi32(-1), vu64(~0ull)},
      {"x2u32", vtxt("-5"), vu32(0)},
      {"x2u32", vtxt("+5"), vu32(5)},
      {"x2u32", vtxt(" \t 5"), vu32(5)},
      {"x2i32", vtxt("  42xyz"), vi32(42)},
      {"x2i32", vtxt("-7"), vi32(-7)},
      {"x2i32", vtxt("99999999999"), vi32(1215752191)},
      {"x2i32", vtxt("   "), vi32(0)},
      {"x2i64", vtxt("-9223372036854775808"), vi64(std::numeric_limits<std::int64_t>::min())},
      {"x2u64", vtxt("18446744073709551615"), vu64(~0ull)},
      {"x2i32", vdbl(3.99), vi32(3)},
      {"x2i32", vdbl(-3.99), vi32(-3)},
      {"x2i16", vflt(-2.9f), vi16(-2)},
      {"x2u08", vdbl(300.5), vu08(44)},
      {"x2i32", vdate(2024, 5, 9), std::nullopt},
      {"x2u16", vnull(), std::nullopt},
  };
  for (const auto& c : cases) check(c);
}

TEST(conversion_functions, float_targets_and_their_texts) {
  const result_case cases[] = {
      {"x2dbl", vu64(~0ull), vdbl(1.8446744073709552e19)},
      {"x2dbl", vi64(-3), vdbl(-3.0)},
      {"x2dbl", vflt(0.1f), vdbl(double(0.1f))},
      {"x2flt", vdbl(0.1), vflt(0.1f)},
      {"x2flt", vi32(16777217), vflt(16777216.0f)},
      {"x2dbl", vtxt(" 2.5e3 tail"), vdbl(2500.0)},
      {"x2dbl", vtxt("-inf"), vdbl(-std::numeric_limits<double>::infinity())},
      {"x2flt", vtxt(""), vflt(0.0f)},
      // Texts that hold no number or one out of range raise inside the conversion; the
      // call fails instead.
      {"x2flt", vtxt("   "), std::nullopt},
      {"x2dbl", vtxt("abc"), std::nullopt},
      {"x2dbl", vtxt("1e400"), std::nullopt},
      {"x2flt", vtxt("1e39"), std::nullopt},
      {"x2flt", vtime(1, 2, 3), std::nullopt},
  };
  for (const auto& c : cases) check(c);
}

TEST(conversion_functions, string_target) {
  const result_case cases[] = {
      {"x2str", vflt(0.1f), vtxt("0.100000001")},
      {"x2str", vflt(1.5f), vtxt("1.500000000")},
      {"x2str", vdbl(0.1), vtxt("0.10000000000000001")},
      {"x2str", vi64(std::numeric_limits<std::int64_t>::min()), vtxt("-9223372036854775808")},
      {"x2str", vu08(0), vtxt("0")},
      {"x2str", vdate(2024, 5, 9), vtxt("2024-05-09")},
      {"x2str", vtime(8, 5, 0, 120000000), vtxt("08:05:00.12")},
      {"x2str", vdt(2024, 5, 9, 8, 15, 43, 500000000), vtxt("2024-05-09 08:15:43.5")},
      {"x2str", vtxt("same"), vtxt("same")},
      {"x2str", vnull(), vnull()},  // kept: x2str goes on past a null
  };
  for (const auto& c : cases) check(c);
}

TEST(conversion_functions, date_and_time_targets) {
  const result_case cases[] = {
      {"x2date", vtxt("2024-02-29"), vdate(2024, 2, 29)},
      {"x2date", vtxt("2024-02-29 and more"), vdate(2024, 2, 29)},
      {"x2date", vtxt("2023-02-29"), std::nullopt},
      {"x2date", vdt(2024, 5, 9, 8, 15, 43), vdate(2024, 5, 9)},
      {"x2date", vtime(8, 15, 43), std::nullopt},
      {"x2time", vdt(2024, 5, 9, 8, 15, 43, 7), vtime(8, 15, 43, 7)},
      {"x2time", vtxt("08:15:43.25"), vtime(8, 15, 43, 250000000)},
      {"x2time", vtxt("23:59:60"), std::nullopt},
      {"x2datetime", vtxt("2024-05-09T08:15:43.25"), vdt(2024, 5, 9, 8, 15, 43, 250000000)},
      {"x2datetime", vtxt("2024-05-09 08:15:43"), vdt(2024, 5, 9, 8, 15, 43)},
      {"x2datetime", vtxt("2024-05-09"), std::nullopt},  // a date text alone is no datetime
      {"x2datetime", vdt(2024, 5, 9, 8, 15, 43, 1), vdt(2024, 5, 9, 8, 15, 43, 1)},
      // A date is its midnight; a time has no date and must never land in a datetime column.
      {"x2datetime", vdate(2024, 2, 29), vdt(2024, 2, 29, 0, 0, 0, 0)},
      {"x2datetime", vtime(8, 15, 43), std::nullopt},
  };
  for (const auto& c : cases) check(c);
}

// A value that does not convert: the "stop" functions end there with false, its null and
// row id already written; the "keep" functions keep the null and go on.
TEST(conversion_functions, stop_or_keep_at_a_null_result) {
  const char* stop[] = {"x2i08", "x2i32", "x2i64", "x2u08", "x2u16", "x2u32", "x2flt", "x2dbl"};
  const char* keep[] = {"x2i16", "x2u64", "x2str"};
  for (bool stops : {true, false}) {
    for (const char* name : stops ? std::vector<const char*>(std::begin(stop), std::end(stop))
                                  : std::vector<const char*>(std::begin(keep), std::end(keep))) {
      std::vector<column> args = {col({vi32(1), vnull(), vi32(3)})};
      column r;
      call_outcome got = call(name, r, args);
      EXPECT_EQ(got.ok, !stops) << name;
      ASSERT_GE(r.values.size, 2u) << name;
      EXPECT_EQ(r.values[1].type, val_type_null) << name;
      EXPECT_EQ(r.ids[1], computed_row_id) << name;
      if (!stops) {
        EXPECT_NE(r.values[2].type, val_type_null) << name;
      }
    }
  }
  // The calendar targets stop too.
  std::vector<column> args = {col({vtxt("2024-01-01"), vtxt("no date"), vtxt("2024-01-03")})};
  column r;
  EXPECT_FALSE(call("x2date", r, args).ok);
  EXPECT_TRUE(same(r.values[0], vdate(2024, 1, 1)));
}

// No exception leaves a function: the rows before the failing text stay converted.
TEST(conversion_functions, a_text_that_raises_fails_the_call_and_keeps_earlier_rows) {
  std::vector<column> args = {col({vtxt("1.5"), vtxt("2.5"), vtxt("nope"), vtxt("4")})};
  column r;
  EXPECT_FALSE(call("x2dbl", r, args).ok);
  ASSERT_GE(r.values.size, 2u);
  EXPECT_TRUE(same(r.values[0], vdbl(1.5)));
  EXPECT_TRUE(same(r.values[1], vdbl(2.5)));
}

TEST(conversion_functions, raw2hex_prints_the_stored_bytes) {
  const result_case cases[] = {
      {"raw2hex", vi32(1), vtxt("01000000")},
      {"raw2hex", vu16(258), vtxt("0201")},
      {"raw2hex", vi08(-1), vtxt("ff")},
      {"raw2hex", vi64(-2), vtxt("feffffffffffffff")},
      {"raw2hex", vflt(1.0f), vtxt("0000803f")},
      {"raw2hex", vdbl(1.0), vtxt("000000000000f03f")},
      {"raw2hex", vtxt("AB"), vtxt("4142")},
      {"raw2hex", vtxt(std::string("\0\xff", 2)), vtxt("00ff")},
      {"raw2hex", vtxt(""), vtxt("")},
      {"raw2hex", vdate(2024, 5, 9), vtxt("e8070509")},
      {"raw2hex", vtime(8, 15, 43, 500000000), vtxt("080f2b0065cd1d")},
      {"raw2hex", vdt(2024, 5, 9, 8, 15, 43, 500000000), vtxt("e8070509080f2b0065cd1d")},
      {"raw2hex", vnull(), vnull()},
  };
  for (const auto& c : cases) check(c);
}

// A text of more than 32767 bytes would need more than the 65535 bytes a text can hold:
// that row is null, never a cut text, and the call goes on.
TEST(conversion_functions, raw2hex_past_the_text_limit_gives_null) {
  std::vector<column> args = {col({vtxt(std::string(32767, 'z')), vtxt(std::string(32768, 'z')), vtxt("A")})};
  column r;
  ASSERT_TRUE(call("raw2hex", r, args).ok);
  ASSERT_EQ(r.values.size, 3u);
  ASSERT_EQ(r.values[0].type, val_type_text);
  EXPECT_EQ(r.values[0].len, 65534);
  EXPECT_EQ(std::string(r.values[0].text, 4), "7a7a");
  EXPECT_EQ(r.values[1].type, val_type_null);
  EXPECT_TRUE(same(r.values[2], vtxt("41")));
}

TEST(conversion_functions, hex2raw_decodes_pairs_up_to_the_first_bad_one) {
  const result_case cases[] = {
      {"hex2raw", vtxt("4a4B"), vtxt("JK")},
      {"hex2raw", vtxt("4g41"), vtxt(std::string(2, '\0'))},
      {"hex2raw", vtxt("41zz42"), vtxt(std::string("A\0\0", 3))},
      {"hex2raw", vtxt("414"), vtxt("A")},
      {"hex2raw", vtxt("00ff"), vtxt(std::string("\0\xff", 2))},
      {"hex2raw", vtxt(""), vtxt("")},
      {"hex2raw", vtxt("7"), vtxt("")},
  };
  for (const auto& c : cases) check(c);

  std::vector<column> two = {col({vtxt("41"), vtxt("42")})};
  column r;
  call_outcome got = call("hex2raw", r, two);
  EXPECT_FALSE(got.ok);
  EXPECT_EQ(got.printed, "");
  EXPECT_EQ(r.values.size, 0u);
}

// raw2hex and hex2raw undo each other on a text.
TEST(conversion_functions, hex_round_trip) {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes.push_back(char(b));
  std::vector<column> args = {col({vtxt(bytes)})};
  column hex, back;
  ASSERT_TRUE(call("raw2hex", hex, args).ok);
  std::vector<column> again = {hex};
  ASSERT_TRUE(call("hex2raw", back, again).ok);
  EXPECT_TRUE(same(back.values[0], vtxt(bytes)));
}

}  // namespace
}  // namespace kk::functions::test
