#include "value/val.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

using namespace kk;

namespace {
val text(const std::string& s) {
  val v;
  val_from_bytes(v, s.data(), s.size());
  return v;
}
std::string text_of(const val& v) { return std::string(v.text ? v.text : "", v.len); }
val vi32(int32_t x) { val v; val_from_i32(v, x); return v; }
val dbl(double x) { val v; val_from_double(v, x); return v; }
bool payload_zero(const val& v) {
  for (uint8_t b : v.data) if (b) return false;
  return true;
}
}  // namespace

TEST(val_kind, table_matches_legal_headers_and_nothing_else) {
  struct row { uint8_t type, sign, size, kind; const char* name; };
  const row legal[] = {
      {0, 0, 0, 0, "i08"},    {0, 1, 0, 1, "u08"},     {0, 0, 1, 2, "i16"},  {0, 1, 1, 3, "u16"},
      {0, 0, 2, 4, "i32"},    {0, 1, 2, 5, "u32"},     {0, 0, 3, 6, "i64"},  {0, 1, 3, 7, "u64"},
      {1, 2, 2, 8, "float"},  {1, 2, 3, 9, "double"},  {2, 2, 4, 10, "string"},
      {3, 2, 5, 11, "date"},  {4, 2, 5, 12, "time"},   {5, 2, 5, 13, "datetime"},
  };
  int found = 0;
  // Every byte triple, as it may arrive from the wire; out-of-range codes must not alias.
  for (int t = 0; t < 256; ++t)
    for (int s = 0; s < 256; s += (s < 8 ? 1 : 37))
      for (int z = 0; z < 256; z += (z < 8 ? 1 : 41)) {
        uint8_t k = val_kind_index(uint8_t(t), uint8_t(s), uint8_t(z));
        const row* hit = nullptr;
        for (const row& r : legal) if (r.type == t && r.sign == s && r.size == z) hit = &r;
        if (hit) {
          ++found;
          EXPECT_EQ(k, hit->kind);
          EXPECT_STREQ(val_kind_name(k), hit->name);
          column_desc d;
          ASSERT_TRUE(val_kind_header(k, d));
          EXPECT_EQ(d.type, t); EXPECT_EQ(d.sign, s); EXPECT_EQ(d.size, z);
        } else {
          EXPECT_EQ(k, kind_none) << t << " " << s << " " << z;
        }
      }
  EXPECT_EQ(found, 14);
  val n;
  EXPECT_EQ(val_kind_index(n), kind_none);
  EXPECT_EQ(val_kind_name(kind_none), nullptr);
  column_desc d;
  column_desc_init(d);
  EXPECT_EQ(val_kind_index(d.type, d.sign, d.size), kind_none);
}

TEST(val_cell, constructors_and_accessors_per_type) {
  val v;
  EXPECT_TRUE(val_is_null(v));
  EXPECT_TRUE(payload_zero(v));
  val_from_i08(v, -1);  EXPECT_EQ(val_kind_index(v), kind_i08); EXPECT_EQ(val_as_u08(v), 255);
  val_from_u16(v, 65535); EXPECT_EQ(val_kind_index(v), kind_u16); EXPECT_EQ(val_as_i16(v), -1);
  val_from_i64(v, std::numeric_limits<int64_t>::min()); EXPECT_EQ(val_as_i64(v), std::numeric_limits<int64_t>::min());
  val_from_u64(v, ~0ull); EXPECT_EQ(val_kind_index(v), kind_u64); EXPECT_EQ(val_width(v), 8u);
  val_from_float(v, 1.5f); EXPECT_EQ(val_kind_index(v), kind_float); EXPECT_EQ(val_as_float(v), 1.5f);
  val_from_double(v, -2.25); EXPECT_EQ(val_kind_index(v), kind_double); EXPECT_EQ(val_as_double(v), -2.25);

  val_from_datetime(v, {2024, 5, 9, 8, 15, 43, 250000000});
  EXPECT_EQ(val_kind_index(v), kind_datetime);
  // Packed little-endian layout, the nanosecond unaligned at byte 7.
  const uint8_t expect[11] = {0xE8, 0x07, 5, 9, 8, 15, 43, 0x80, 0xB2, 0xE6, 0x0E};
  EXPECT_EQ(std::memcmp(v.data, expect, 11), 0);
  datetime_fields f = val_fields(v);
  EXPECT_EQ(f.year, 2024); EXPECT_EQ(f.nanosecond, 250000000u);

  val_from_time(v, 12, 30, 45, 1000000);
  f = val_fields(v);
  EXPECT_EQ(val_kind_index(v), kind_time);
  EXPECT_EQ(f.year, 0); EXPECT_EQ(f.month, 0); EXPECT_EQ(f.hour, 12); EXPECT_EQ(f.nanosecond, 1000000u);
  val_from_date(v, 7, 1, 2);
  f = val_fields(v);
  EXPECT_EQ(val_kind_index(v), kind_date);
  EXPECT_EQ(f.year, 7); EXPECT_EQ(f.hour, 0); EXPECT_EQ(f.nanosecond, 0u);
}

TEST(val_cell, text_blocks_are_reused_replaced_and_freed) {
  val a = text("abcde");
  const char* block = a.text;
  val_assign(a, text("fghij"));  // same length: block kept
  EXPECT_EQ(a.text, block);
  EXPECT_EQ(text_of(a), "fghij");
  val_assign(a, text("sixsix"));  // other length: new block
  EXPECT_EQ(text_of(a), "sixsix");
  EXPECT_EQ(a.len, 6);

  val_assign(a, vi32(7));  // a number over a text frees it
  EXPECT_EQ(a.text, nullptr);
  EXPECT_EQ(a.len, 0);
  EXPECT_EQ(val_as_i32(a), 7);

  // Empty text: a text cell without a block.
  val e = text("");
  EXPECT_EQ(val_kind_index(e), kind_string);
  EXPECT_EQ(e.text, nullptr);
  val c(e);
  EXPECT_EQ(c.text, nullptr);

  // Copies are deep; moves steal.
  val s = text("xyz");
  val copy(s);
  EXPECT_NE(copy.text, s.text);
  EXPECT_EQ(text_of(copy), "xyz");
  val moved(std::move(copy));
  EXPECT_EQ(text_of(moved), "xyz");
  EXPECT_EQ(copy.text, nullptr);
  moved = moved;  // self-assignment keeps the text
  EXPECT_EQ(text_of(moved), "xyz");
}

TEST(val_cell, text_payload_bytes_stay_zero) {
  val v = vi32(-1);
  val_assign_str(v, "ab", 2);
  EXPECT_TRUE(payload_zero(v));
  val_from_datetime(v, {2024, 5, 9, 8, 15, 43, 1});
  val_from_bytes(v, "ab", 2);
  EXPECT_TRUE(payload_zero(v));
  val_from_double(v, 3.0);
  val_assign(v, text("q"));
  EXPECT_TRUE(payload_zero(v));
  // A text cell with stray inline bytes (as a hand-built or decoded cell might carry)
  // does not pass them on.
  val dirty = text("zz");
  dirty.data[0] = 0xAB;
  val c(dirty);
  EXPECT_TRUE(payload_zero(c));
  val_assign(v, dirty);
  EXPECT_TRUE(payload_zero(v));
}

TEST(val_cell, assigning_text_from_inside_its_own_block) {
  val v = text("hello world");
  val_assign_str(v, v.text + 6, 5);  // shorter: old block must outlive the copy
  EXPECT_EQ(text_of(v), "world");
  val_assign_str(v, v.text + 1, 4);
  EXPECT_EQ(text_of(v), "orld");
  val_assign_str(v, v.text, 4);  // same length: the block copies onto itself
  EXPECT_EQ(text_of(v), "orld");
}

TEST(val_cell, texts_over_65535_bytes_are_refused_not_wrapped) {
  std::string big(65536, 'x');
  val v = text("keep");
  EXPECT_FALSE(val_from_bytes(v, big.data(), big.size()));
  EXPECT_TRUE(val_is_null(v));
  val w = text("keep");
  val_assign_str(w, big.data(), big.size());
  EXPECT_TRUE(val_is_null(w));
  EXPECT_TRUE(val_from_bytes(v, big.data(), 65535));
  EXPECT_EQ(v.len, 65535);

  // A concatenation past the limit is null too.
  val half = text(std::string(40000, 'y'));
  val sum;
  val_add(sum, half, half);
  EXPECT_TRUE(val_is_null(sum));
  val_add(sum, text("ab"), text("cd"));
  EXPECT_EQ(text_of(sum), "abcd");
}

TEST(val_compare, equality_and_order_by_first_operand_type) {
  val n1, n2;
  EXPECT_FALSE(val_equal(n1, n2));
  EXPECT_FALSE(val_less(n1, n2));
  const double nan = std::nan("");
  EXPECT_FALSE(val_equal(dbl(nan), dbl(nan)));
  EXPECT_FALSE(val_less(dbl(nan), dbl(1)));
  EXPECT_FALSE(val_greater(dbl(nan), dbl(1)));
  EXPECT_TRUE(val_equal(dbl(0.0), dbl(-0.0)));

  struct { std::string a, b; } less[] = {
      {"Z", "a"}, {"\xC3", "A"}, {"ab", "abc"}, {"", "a"},
  };
  for (auto& c : less) {
    EXPECT_TRUE(val_less(text(c.a), text(c.b))) << c.a << " < " << c.b;
    EXPECT_TRUE(val_greater(text(c.b), text(c.a)));
    EXPECT_FALSE(val_equal(text(c.a), text(c.b)));
  }
  val u1, u2;
  val_from_u32(u1, 0xFFFFFFFFu);
  val_from_u32(u2, 1);
  EXPECT_TRUE(val_greater(u1, u2));  // unsigned, not -1
  EXPECT_TRUE(val_less(vi32(-1), vi32(1)));

  val d1, d2;
  val_from_datetime(d1, {2024, 1, 1, 0, 0, 0, 5});
  val_from_datetime(d2, {2024, 1, 1, 0, 0, 0, 6});
  EXPECT_TRUE(val_less(d1, d2));
  EXPECT_FALSE(val_equal(d1, d2));
  val t1, t2;
  val_from_date(t1, 2024, 1, 31);
  val_from_date(t2, 2024, 2, 1);
  EXPECT_TRUE(val_less(t1, t2));
}

TEST(val_compare, total_order_places_nan_and_null) {
  const double nan = std::nan("");
  val null;
  EXPECT_EQ(val_order(dbl(nan), dbl(-nan)), 0);
  EXPECT_GT(val_order(dbl(nan), dbl(INFINITY)), 0);
  EXPECT_LT(val_order(dbl(-INFINITY), dbl(nan)), 0);
  EXPECT_EQ(val_order(dbl(0.0), dbl(-0.0)), 0);
  EXPECT_EQ(val_order(null, val()), 0);
  EXPECT_GT(val_order(null, vi32(0)), 0);
  EXPECT_GT(val_order(null, dbl(nan)), 0);
  EXPECT_LT(val_order(text("a"), text("b")), 0);
  // Antisymmetric and consistent over a mixed list.
  val vals[] = {dbl(1), dbl(nan), null, dbl(-3), text("x"), vi32(2), dbl(nan)};
  for (auto& a : vals)
    for (auto& b : vals) EXPECT_EQ(val_order(a, b), -val_order(b, a));
}

TEST(val_arith, sums_products_and_promotions) {
  val a, b, r;
  val_from_i16(a, 30000);
  val_from_i16(b, 30000);
  val_add(r, a, b);
  EXPECT_EQ(val_kind_index(r), kind_i32);
  EXPECT_EQ(val_as_i32(r), 60000);

  val_from_u08(a, 200);
  val_from_u08(b, 100);
  val_add(r, a, b);
  EXPECT_EQ(val_kind_index(r), kind_i32);
  EXPECT_EQ(val_as_i32(r), 300);
  val_mul(r, a, b);
  EXPECT_EQ(val_as_i32(r), 20000);

  val_from_i32(a, std::numeric_limits<int32_t>::max());
  val_add(r, a, vi32(1));  // wraps in 4 bytes
  EXPECT_EQ(val_kind_index(r), kind_i32);
  EXPECT_EQ(val_as_i32(r), std::numeric_limits<int32_t>::min());

  val_from_u64(a, ~0ull);
  val_from_u64(b, 2);
  val_add(r, a, b);
  EXPECT_EQ(val_kind_index(r), kind_u64);
  EXPECT_EQ(val_as_u64(r), 1u);

  val f;
  val_from_float(f, 1.5f);
  val_add(r, f, vi32(2));
  EXPECT_EQ(val_kind_index(r), kind_float);
  EXPECT_EQ(val_as_float(r), 3.5f);
  val_add(r, f, dbl(0.25));
  EXPECT_EQ(val_kind_index(r), kind_double);
  EXPECT_EQ(val_as_double(r), 1.75);
  val_mul(r, dbl(2), vi32(-3));
  EXPECT_EQ(val_as_double(r), -6.0);

  // Running sum in place: the output may be an operand.
  val sum = vi32(0);
  for (int i = 1; i <= 4; ++i) val_add(sum, vi32(i), sum);
  EXPECT_EQ(val_as_i32(sum), 10);

  val d;
  val_from_date(d, 2024, 1, 1);
  val_mul(r, vi32(1), d);
  EXPECT_TRUE(val_is_null(r));
  val_mul(r, vi32(1), text("x"));
  EXPECT_TRUE(val_is_null(r));
}

TEST(val_arith, div_count_signed_unsigned_float_and_zero) {
  val r, a;
  val_div_count(vi32(-7), 2, r);
  EXPECT_EQ(val_kind_index(r), kind_i64);
  EXPECT_EQ(val_as_i64(r), -3);
  val_from_i64(a, std::numeric_limits<int64_t>::min());
  val_div_count(a, 1ull << 63, r);
  EXPECT_EQ(val_as_i64(r), -1);
  val_div_count(a, ~0ull, r);
  EXPECT_EQ(val_as_i64(r), 0);
  val_from_u64(a, 7);
  val_div_count(a, 2, r);
  EXPECT_EQ(val_kind_index(r), kind_u64);
  EXPECT_EQ(val_as_u64(r), 3u);
  val_from_u08(a, 255);
  val_div_count(a, 2, r);
  EXPECT_EQ(val_kind_index(r), kind_u64);
  EXPECT_EQ(val_as_u64(r), 127u);
  val_div_count(dbl(7.0), 2, r);
  EXPECT_EQ(val_as_double(r), 3.5);
  val_from_float(a, 1.0f);
  val_div_count(a, 4, r);
  EXPECT_EQ(val_kind_index(r), kind_float);
  EXPECT_EQ(val_as_float(r), 0.25f);
  val_div_count(text("x"), 2, r);
  EXPECT_TRUE(val_is_null(r));
  // A count of 0 has no mean, for integers and floats alike.
  val_div_count(vi32(5), 0, r);
  EXPECT_TRUE(val_is_null(r));
  val_div_count(a, 0, r);
  EXPECT_TRUE(val_is_null(r));
}
