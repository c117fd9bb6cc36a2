// Conformance cases of the date, time and password-hash functions that the group tests do
// not reach: nanosecond amounts that are positive but above 2^63 (unsigned sources), and
// digest and hash goldens whose first byte seeds the padding generator with a negative
// number, derived once from a separate implementation of the hash.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "date_time_text.h"
#include "function_test_support.h"
#include "functions/password_hash.h"
#include "value/calendar.h"
#include "value/startup_tables.h"

namespace kk::functions::test {
namespace {

struct shift_case {
  const char* name;
  val first;
  val amount;
  val expected;
};

// An amount is a u64 after conversion, and an unsigned one of 2^63 or more is still a
// forward (add) or backward (sub) step of that many nanoseconds: only an amount converted
// from a negative number moves the other way. Times keep the 64-bit wrap of their total.
TEST(date_time_conformance, nanosecond_amounts_above_two_to_the_63) {
  if (!startup_tables_ready()) startup_tables_init();
  const shift_case cases[] = {
      // 2^63 ns = 106751 days 23:47:16.854775808.
      {"add_nanosec", vdt(2000, 1, 1, 0, 0, 0), vu64(1ull << 63), vdt(2292, 4, 10, 23, 47, 16, 854775808)},
      {"sub_nanosec", vdt(2400, 1, 1, 0, 0, 0), vu64(1ull << 63), vdt(2107, 9, 22, 0, 12, 43, 145224192)},
      {"add_nanosec", vdt(2000, 1, 1, 12, 0, 0), vu64(~0ull), vdt(2584, 7, 21, 11, 34, 33, 709551615)},
      {"sub_nanosec", vdt(2600, 6, 1, 0, 0, 0), vu64(~0ull), vdt(2015, 11, 11, 0, 25, 26, 290448385)},
      {"add_nanosec", vdt(2000, 1, 1, 0, 0, 0), vdbl(1e19), vdt(2316, 11, 20, 17, 46, 40)},
      {"add_nanosec", vdt(65000, 1, 1, 0, 0, 0), vu64(~0ull), vnull()},  // past 65535-12-31
      {"sub_nanosec", vdt(100, 1, 1, 0, 0, 0), vu64(1ull << 63), vnull()},  // before 0000-01-01
      // Amounts converted from negative numbers move the other way.
      {"add_nanosec", vdt(2000, 1, 1, 0, 0, 0), vi64(-1), vdt(1999, 12, 31, 23, 59, 59, 999999999)},
      {"sub_nanosec", vdt(2000, 1, 1, 0, 0, 0), vi64(-1), vdt(2000, 1, 1, 0, 0, 0, 1)},
      {"add_nanosec", vdt(2000, 1, 1, 0, 0, 0), vdbl(-1e9), vdt(1999, 12, 31, 23, 59, 59)},
      {"sub_nanosec", vdt(2000, 1, 1, 0, 0, 0), vi32(-86400), vdt(2000, 1, 1, 0, 0, 0, 86400)},
      // A time's total is formed in 64 bits: 23:00 plus 2^64 - 1 is one nanosecond earlier.
      {"add_nanosec", vtime(23, 0, 0), vu64(~0ull), vtime(22, 59, 59, 999999999)},
      {"sub_nanosec", vtime(23, 0, 0), vu64(~0ull), vtime(23, 0, 0, 1)},
  };
  // The amount is the second row after an unsigned 0, so a float passes the first-value
  // check; the first argument repeats its one value.
  for (const shift_case& c : cases) {
    std::vector<column> args = {col({c.first}), col({vu08(0), c.amount})};
    column r;
    const call_outcome out = call(c.name, r, args);
    ASSERT_TRUE(out.ok) << c.name;
    ASSERT_EQ(r.values.size, 2u);
    EXPECT_TRUE(same(r.values[0], c.first)) << c.name;
    EXPECT_TRUE(same(r.values[1], c.expected))
        << c.name << "(" << text_of(c.first) << ", " << show(c.amount) << ") gave " << text_of(r.values[1])
        << ", expected " << text_of(c.expected);
  }
}

// Bytes (i * 151 + 200) mod 256: the first byte 0xC8 seeds the padding generator with
// 2^32 - 56, and later bytes of both signs reseed it.
std::string high_pattern(std::size_t n) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s.push_back(char((i * 151 + 200) & 0xff));
  return s;
}

std::string str(const bytes& b) { return std::string(b.data ? b.data : "", b.size); }

TEST(password_hash_conformance, goldens_with_a_negative_padding_seed) {
  const struct {
    std::size_t n;
    const char* digest;
    const char* hash;
  } cases[] = {
      {1, "AC2D19957AB4ABB204FFFFF5D733C086", "52F32DC83AA8D48B829F24DEEAAD84BE"},
      {62, "C1C8EE0EBC6F5E5C4DD5D2D47C6F0AA8", "A9A90AD7D856DCDA4B592F54FA2A50A6"},
      {64, "5971A61F68CB7E639971F2EBE4D642B9", "CF1F88A011E48D7C943B9B853D66AD42"},
      {129, "681A346D985BAB422DA1C5AD009B1462", "A3A7F31841A3D25CA1F0FBE60BEB509E"},
      {257, "27E714DEE7E863CFC60F3FDF0CA468D4", "D83D2CA3E546161BE5E86C2B7B5F6D12"},
      {1000, "9CA49F0E560FC8057C07153BB7E7E304", "6F2A8DA2A0834754D8A90470C5267347"},
  };
  for (const auto& c : cases) {
    const std::string x = high_pattern(c.n);
    EXPECT_EQ(str(hash_passwd_digest(x.data(), x.size())), c.digest) << c.n;
    EXPECT_EQ(str(hash_passwd_text(x.data(), x.size())), c.hash) << c.n;
  }
}

}  // namespace
}  // namespace kk::functions::test
