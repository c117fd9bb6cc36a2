// Conformance details of the conversion and mathematical functions that the group tests
// leave aside: cells whose header bytes name no column type (as they may arrive off the
// wire) met after a column's first value.
#include <cmath>
#include <cstring>
#include <string>

#include "function_test_support.h"
#include "functions/math_kernels.h"

namespace kk::functions::test {
namespace {

// A cell with these header bytes and the 8 bytes of x as its payload.
template <class T>
val with_header(u8 type, u8 sign, u8 size, T x) {
  val v;
  std::memcpy(v.data, &x, sizeof x);
  v.type = type, v.sign = sign, v.size = size;
  return v;
}

u64 bits(double d) {
  u64 b;
  std::memcpy(&b, &d, sizeof b);
  return b;
}

double as_double(const val& v) {
  double d;
  std::memcpy(&d, v.data, sizeof d);
  return d;
}

// Only "float", "double" and the four signed integer types get their own reading; every
// other header, malformed ones included, is an unsigned integer of its size code's width.
TEST(conformance_math, kernels_read_malformed_headers_as_unsigned_payloads) {
  const double minus_four = -4.0;
  const struct {
    val cell;
    u64 payload;  // the unsigned integer the kernel must see
  } cases[] = {
      // A float type with the signed code is no "double".
      {with_header(val_type_float, val_signed, val_size_8, minus_four), bits(minus_four)},
      // A float type of 4 bytes with the unsigned code is no "float".
      {with_header(val_type_float, val_unsigned, val_size_4, -4.0f), 0xc0800000u},
      // A signed integer without an integer width: 8 bytes, unsigned.
      {with_header(val_type_int, val_signed, val_size_text, i64(-1)), ~u64(0)},
      {with_header(val_type_int, val_signed, val_size_other, i64(-2)), ~u64(0) - 1},
  };
  for (const auto& c : cases) {
    std::vector<column> args = {col({vdbl(1.0), c.cell})};
    column r;
    call_outcome out = call("floor", r, args);
    ASSERT_TRUE(out.ok);
    ASSERT_EQ(r.values.size, 2u);
    EXPECT_EQ(bits(as_double(r.values[1])), bits(double(c.payload))) << show(c.cell) << " gives " << show(r.values[1]);
    EXPECT_EQ(bits(as_double(val_sqrt(c.cell))), bits(std::sqrt(double(c.payload)))) << show(c.cell);
  }
}

// pow: a base whose header is no column type converts to null, which counts as 0; abs
// copies it unchanged rather than reading it as a number of another type.
TEST(conformance_math, pow_and_abs_of_malformed_headers) {
  const val odd_double = with_header(val_type_float, val_signed, val_size_8, -4.0);
  const val odd_float = with_header(val_type_float, val_unsigned, val_size_4, -4.0f);
  for (const val& base : {odd_double, odd_float}) {
    const val p = val_pow(base, vi32(2));
    EXPECT_TRUE(same(p, vdbl(0.0))) << show(base) << " ^ 2 gives " << show(p);
    const val q = val_pow(base, vdbl(2.0));
    EXPECT_TRUE(same(q, vflt(0.0f))) << show(base) << " ^ 2.0 gives " << show(q);
    const val a = val_abs(base);
    EXPECT_TRUE(a.type == base.type && a.sign == base.sign && a.size == base.size &&
                std::memcmp(a.data, base.data, sizeof a.data) == 0)
        << show(base) << " gives " << show(a);
  }
}

}  // namespace
}  // namespace kk::functions::test
