#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <string>

#include "contract_test.h"
#include "functions/math_kernels.h"

namespace kk::functions::test {
namespace {

std::vector<contract_case> math_cases() {
  std::vector<contract_case> cases;
  const char* unary[] = {"abs", "ceil", "round", "exp", "floor", "sqrt", "log", "log2",
                         "log10", "log1p", "sin", "cos", "tan", "asin", "acos", "atan"};
  for (const char* name : unary) {
    cases.push_back({name, 1, {kind_number}, std::string("unsupport type in function ") + name + "\n", 1, false,
                     result_shape::one_arg_scalar, {{vdbl(-0.25), vi16(-3), vflt(0.5f), vu64(~0ull), vnull()}}});
  }
  cases.push_back({"pow", 2, {kind_number, kind_any}, "unsupport type in function pow\n", 1, false,
                   result_shape::many_arg_scalar, {{vi32(2), vdbl(2.0), vflt(1.5f), vnull()}, {vi32(3)}}});
  cases.push_back({"pi", 0, {}, "", 0, false, result_shape::appended, {}});
  cases.push_back({"e", 0, {}, "", 0, false, result_shape::appended, {}});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(math, function_contract, ::testing::ValuesIn(math_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

double result_of(const char* name, const val& in) {
  std::vector<column> args = {col({in})};
  column r;
  call_outcome out = call(name, r, args);
  EXPECT_TRUE(out.ok) << name;
  if (!out.ok || r.values.size != 1) return std::nan("");
  const val& v = r.values[0];
  EXPECT_EQ(val_kind_index(v), kind_double) << name << " gives a double";
  double d;
  std::memcpy(&d, v.data, sizeof d);
  return d;
}

u64 bits(double d) {
  u64 b;
  std::memcpy(&b, &d, sizeof b);
  return b;
}

// Distance in units of the last place (of doubles, or of floats for two floats).
template <class F, class I>
i64 ulps(F a, F b) {
  auto ordered = [](F x) {
    I i;
    std::memcpy(&i, &x, sizeof i);
    return i < 0 ? std::numeric_limits<I>::min() - i : i;
  };
  const i64 d = i64(ordered(a)) - i64(ordered(b));
  return d < 0 ? -d : d;
}

struct exact_case {
  const char* name;
  val in;
  double expected;  // compared bit for bit
};

// Kernels whose result the libm contract fixes exactly (correctly rounded or exact).
TEST(math_functions, exact_results) {
  const double inf = std::numeric_limits<double>::infinity();
  const exact_case cases[] = {
      {"sqrt", vflt(2.0f), 1.4142135381698608},  // the single-precision root, widened
      {"sqrt", vdbl(2.0), 1.4142135623730951},
      {"sqrt", vi32(2), 1.4142135623730951},
      {"sqrt", vu64(~0ull), 4294967296.0},  // a u64 above 2^63 converts as unsigned
      {"sqrt", vi64(-4), std::nan("")},
      {"round", vdbl(2.5), 3.0},
      {"round", vdbl(-2.5), -3.0},
      {"round", vflt(-0.5f), -1.0},
      {"round", vi32(7), 7.0},
      {"ceil", vflt(1.25f), 2.0},
      {"ceil", vdbl(-1.5), -1.0},
      {"ceil", vu08(255), 255.0},
      {"floor", vdbl(-1.5), -2.0},
      {"floor", vi08(-128), -128.0},
      {"log", vi32(0), -inf},
      {"log", vdbl(-1.0), std::nan("")},
      {"log1p", vi32(-1), -inf},
      {"asin", vdbl(2.0), std::nan("")},
      {"acos", vflt(-2.0f), std::nan("")},
      {"exp", vi32(0), 1.0},
      {"log2", vu32(1024), 10.0},
      {"log10", vu16(1000), 3.0},
  };
  for (const auto& c : cases) {
    const double got = result_of(c.name, c.in);
    if (std::isnan(c.expected))
      EXPECT_TRUE(std::isnan(got)) << c.name << " of " << show(c.in) << " gives " << got;
    else
      EXPECT_EQ(bits(got), bits(c.expected)) << c.name << " of " << show(c.in) << " gives " << got;
  }
}

struct libm_case {
  const char* name;
  double x;
  double in_double;  // the function of x, computed in double
  double in_float;   // the function of float(x), computed in float and widened
};

// The transcendental kernels: a "double" within one ulp of the double result, a "float"
// within one float ulp of the single-precision result and exactly a float.
TEST(math_functions, transcendental_kernels_keep_their_precision) {
  const libm_case cases[] = {
      {"sin", 1.0, 0.8414709848078965, 0.8414709568023682},
      {"cos", 1.0, 0.5403023058681398, 0.5403022766113281},
      {"tan", 1.0, 1.5574077246549023, 1.5574077367782593},
      {"asin", 0.5, 0.5235987755982989, 0.5235987901687622},
      {"acos", 0.5, 1.0471975511965979, 1.0471975803375244},
      {"atan", 1.0, 0.7853981633974483, 0.7853981852531433},
      {"exp", 1.0, 2.718281828459045, 2.7182817459106445},
      {"log", 10.0, 2.302585092994046, 2.3025851249694824},
      {"log2", 10.0, 3.321928094887362, 3.321928024291992},
      {"log10", 2.0, 0.3010299956639812, 0.3010300099849701},
      {"log1p", 0.001, 0.0009995003330835331, 0.00099950039293617},
  };
  for (const auto& c : cases) {
    const double d = result_of(c.name, vdbl(c.x));
    EXPECT_LE((ulps<double, i64>(d, c.in_double)), 1) << c.name << " of the double " << c.x << ": " << d;
    const double f = result_of(c.name, vflt(float(c.x)));
    EXPECT_EQ(double(float(f)), f) << c.name << " of a float has single precision only";
    EXPECT_LE((ulps<float, i32>(float(f), float(c.in_float))), 1) << c.name << " of the float " << c.x << ": " << f;
    // A signed integer goes through the double function.
    if (c.x == 1.0) {
      EXPECT_LE((ulps<double, i64>(result_of(c.name, vi08(1)), c.in_double)), 1) << c.name;
    }
  }
}

// Later values are not tested: a null counts as 0 for the numeric kernels and comes back
// unchanged from abs.
TEST(math_functions, later_non_numbers_read_as_their_payload) {
  std::vector<column> args = {col({vdbl(1.5), vdbl(-2.0), vnull()})};
  column r;
  ASSERT_TRUE(call("ceil", r, args).ok);
  EXPECT_TRUE(same(r.values[2], vdbl(0.0)));
  ASSERT_TRUE(call("exp", r, args).ok);
  EXPECT_TRUE(same(r.values[2], vdbl(1.0)));
  ASSERT_TRUE(call("cos", r, args).ok);
  EXPECT_TRUE(same(r.values[2], vdbl(1.0)));
  ASSERT_TRUE(call("log", r, args).ok);
  EXPECT_TRUE(same(r.values[2], vdbl(-std::numeric_limits<double>::infinity())));
  ASSERT_TRUE(call("abs", r, args).ok);
  EXPECT_TRUE(same(r.values[1], vdbl(2.0)));
  EXPECT_TRUE(same(r.values[2], vnull()));
}

TEST(math_functions, abs_keeps_types_signs_and_the_most_negative_value) {
  const double neg_nan = -std::numeric_limits<double>::quiet_NaN();
  const struct {
    val in, out;
  } cases[] = {
      {vi16(-5), vi16(5)},
      {vu32(7), vu32(7)},
      {vu08(200), vu08(200)},
      {vflt(-1.5f), vdbl(1.5)},
      {vflt(-0.0f), vdbl(-0.0)},
      {vdbl(-0.0), vdbl(-0.0)},
      {vdbl(neg_nan), vdbl(neg_nan)},
      {vdbl(-3.25), vdbl(3.25)},
      {vi08(-128), vi08(-128)},
      {vi08(-127), vi08(127)},
      {vi32(std::numeric_limits<std::int32_t>::min()), vi32(std::numeric_limits<std::int32_t>::min())},
      {vi64(std::numeric_limits<std::int64_t>::min()), vi64(std::numeric_limits<std::int64_t>::min())},
      {vi64(-7), vi64(7)},
      {vtxt("abc"), vtxt("abc")},
      {vdate(2024, 5, 9), vdate(2024, 5, 9)},
  };
  for (const auto& c : cases) {
    const val got = val_abs(c.in);
    EXPECT_TRUE(same(got, c.out)) << show(c.in) << " gives " << show(got);
  }
}

struct pow_case {
  val base, exponent, out;
};

// pow's type table: the base's kind and whether the exponent is an integer choose the
// precision and the result type.
TEST(math_functions, pow_follows_its_type_table) {
  const val none;  // what an empty exponent column reads as
  const pow_case cases[] = {
      {vi32(2), vi32(10), vdbl(1024.0)},
      {vi32(2), vdbl(0.5), vflt(1.41421354f)},        // non-integer exponent: powf
      {vdbl(2.0), vu08(3), vdbl(8.0)},
      {vi64(16777217), vi32(1), vdbl(16777216.0)},    // the base passes through a float
      {vdbl(2.0), vi64((1ll << 32) + 2), vdbl(4.0)},  // low 32 bits of the exponent
      {vdbl(2.0), vu32(0xffffffffu), vdbl(0.5)},      // ... taken as signed: -1
      {vi32(2), vi08(-1), vdbl(0.5)},                 // a signed exponent widens by its sign
      {vflt(2.0f), vi32(3), vdbl(8.0)},               // float base, integer exponent: double
      {vflt(2.0f), vdbl(0.5), vflt(1.41421354f)},
      {vdbl(1.1), vdbl(2.0), vdbl(1.2100000000000002)},
      {vdbl(2.0), vtxt("3"), vdbl(8.0)},              // a text exponent is parsed
      {vdbl(5.0), vdate(2024, 1, 1), vdbl(1.0)},      // no number: counts as 0
      {vdbl(2.0), none, vdbl(1.0)},
      {vi32(2), none, vflt(1.0f)},
      {vflt(2.0f), none, vflt(1.0f)},
      {none, vi32(3), vdbl(0.0)},                     // a null base (a later value) is 0
      {vdbl(-8.0), vdbl(1.0 / 3), vdbl(std::nan(""))},
  };
  for (const auto& c : cases) {
    const val got = val_pow(c.base, c.exponent);
    if (c.out.type == val_type_float && c.out.size == val_size_8 && std::isnan(val_as_double(c.out))) {
      EXPECT_TRUE(std::isnan(val_as_double(got))) << show(got);
      continue;
    }
    EXPECT_TRUE(same(got, c.out)) << "pow(" << show(c.base) << ", " << show(c.exponent) << ") gives " << show(got)
                                  << ", not " << show(c.out);
  }
}

TEST(math_functions, pow_broadcasts_and_fails_on_a_text_that_raises) {
  std::vector<column> args = {col({vi32(1), vi32(2), vi32(3)}), col({vi32(2)})};
  column r;
  ASSERT_TRUE(call("pow", r, args).ok);
  ASSERT_EQ(r.values.size, 3u);
  EXPECT_TRUE(same(r.values[2], vdbl(9.0)));

  std::vector<column> empty_exponent = {col({vi32(1), vi32(2)}), column()};
  ASSERT_TRUE(call("pow", r, empty_exponent).ok);
  ASSERT_EQ(r.values.size, 2u);
  EXPECT_TRUE(same(r.values[1], vflt(1.0f)));

  // The exception of the text conversion does not leave the function.
  std::vector<column> bad = {col({vdbl(2.0), vdbl(3.0)}), col({vdbl(2.0), vtxt("x")})};
  call_outcome got = call("pow", r, bad);
  EXPECT_FALSE(got.ok);
  EXPECT_EQ(got.printed, "");
  EXPECT_TRUE(same(r.values[0], vdbl(4.0)));
}

TEST(math_functions, constants_append_one_double) {
  column r;
  std::vector<column> none;
  ASSERT_TRUE(call("pi", r, none).ok);
  ASSERT_TRUE(call("e", r, none).ok);
  ASSERT_EQ(r.values.size, 2u);
  EXPECT_TRUE(same(r.values[0], vdbl(3.141592653589793)));
  EXPECT_EQ(bits(3.141592653589793), bits(std::numbers::pi));
  EXPECT_TRUE(same(r.values[1], vdbl(2.718281828459045)));
  EXPECT_EQ(bits(2.718281828459045), bits(std::numbers::e));
  EXPECT_EQ(r.ids[0], computed_row_id);
  EXPECT_EQ(r.ids[1], computed_row_id);
}

}  // namespace
}  // namespace kk::functions::test
