// Conformance of the aggregate and text functions against plain statements of their rules:
// per-row positions converted exactly as the conversion matrix converts them, fuzzy_match
// as a full-table minimum over the windows.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "function_test_support.h"
#include "value/convert.h"

namespace kk::functions::test {
namespace {

std::string text_of_300() {
  std::string s;
  for (int i = 0; i < 300; ++i) s += char('a' + i % 26);
  return s;
}

// A per-row position or count of substr and replace is the value converted to "u32" by the
// matrix: narrower signed integers sign-extend, wider ones keep their low 32 bits.
TEST(conformance_text, substr_and_replace_positions_convert_as_the_matrix) {
  const std::string s = text_of_300();
  struct pos_case {
    val p, k;
  };
  const std::vector<pos_case> cases = {
      {vi32(0), vi08(-1)},        // count 4294967295: the rest of the text
      {vi32(10), vi16(-2)},       // count 4294967294
      {vi08(-1), vi32(1)},        // start 4294967295: beyond the end
      {vu08(200), vi32(3)},       // zero extension
      {vi64((1ll << 32) + 5), vu16(2)},  // low 32 bits
      {vi16(250), vi08(100)},
  };
  for (const pos_case& c : cases) {
    const val pu = val_convert(kind_u32, c.p, true), ku = val_convert(kind_u32, c.k, true);
    const u64 p = val_as_u32(pu), k = val_as_u32(ku);
    const std::string want = p >= s.size() ? "" : s.substr(p, std::min<u64>(k, s.size() - p));
    std::vector<column> args = {col({vtxt(s)}), col({c.p}), col({c.k})};
    column r;
    ASSERT_TRUE(call("substr", r, args).ok) << show(c.p) << ", " << show(c.k);
    ASSERT_EQ(r.values.size, 1u);
    EXPECT_TRUE(same(r.values[0], vtxt(want))) << show(c.p) << ", " << show(c.k) << ": " << r.values[0].len;

    std::vector<column> rargs = {col({vtxt(s)}), col({c.p}), col({c.k}), col({vtxt("XY")})};
    column rr;
    const bool fits = p <= s.size() && p + k <= s.size();
    EXPECT_EQ(call("replace", rr, rargs).ok, fits) << show(c.p) << ", " << show(c.k);
    if (fits) {
      ASSERT_EQ(rr.values.size, 1u);
      const std::string rep = k == 0 ? s : s.substr(0, p) + "XY" + s.substr(p + k);
      EXPECT_TRUE(same(rr.values[0], vtxt(rep))) << show(c.p) << ", " << show(c.k);
    }
  }
}

u64 full_distance(const std::string& a, const std::string& b) {
  std::vector<std::vector<u64>> d(a.size() + 1, std::vector<u64>(b.size() + 1));
  for (u64 i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (u64 j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (u64 i = 1; i <= a.size(); ++i)
    for (u64 j = 1; j <= b.size(); ++j)
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
  return d[a.size()][b.size()];
}

// The rule as written: the smallest full-table distance over the windows of |p| bytes (or
// the whole text when it is shorter than p), against the given threshold or half of |p|.
bool fuzzy_reference(const std::string& a, const std::string& p, u64 given) {
  if (a.empty() || p.empty()) return false;
  const u64 t = given ? given : p.size() / 2;
  if (a.size() < p.size()) return full_distance(a, p) <= t;
  u64 best = ~u64(0);
  for (u64 w = 0; w + p.size() <= a.size(); ++w) best = std::min(best, full_distance(a.substr(w, p.size()), p));
  return best <= t;
}

TEST(conformance_text, fuzzy_match_is_the_smallest_window_distance_within_the_threshold) {
  std::mt19937 rng(8123);
  auto word = [&](u64 max_len) {
    std::string s(rng() % (max_len + 1), 'a');
    for (char& c : s) c = char('a' + rng() % 3);
    return s;
  };
  for (int round = 0; round < 300; ++round) {
    // One column of texts against one pattern, with no threshold, 0 (half of |p|) or 1..4.
    std::vector<std::string> texts;
    std::vector<val> cells;
    for (int i = 0; i < 6; ++i) {
      texts.push_back(word(10));
      cells.push_back(vtxt(texts.back()));
    }
    const std::string p = word(7);
    const int mode = round % 6;
    std::vector<column> args = {col(cells), col({vtxt(p)})};
    if (mode > 0) args.push_back(col({vu08(u8(mode - 1))}));
    column r;
    ASSERT_TRUE(call("fuzzy_match", r, args).ok);
    ASSERT_EQ(r.values.size, texts.size());
    for (size_t i = 0; i < texts.size(); ++i)
      EXPECT_TRUE(same(r.values[i], vu08(fuzzy_reference(texts[i], p, mode > 0 ? u64(mode - 1) : 0))))
          << "'" << texts[i] << "' ~ '" << p << "' mode " << mode;
  }
}

// The sum of avg starts from the first value, as sum does: a mean of negative zeros keeps
// its sign bit (0 + -0 would be +0).
TEST(conformance_aggregate, avg_of_negative_zeros_is_negative_zero) {
  for (const std::vector<val>& in : std::vector<std::vector<val>>{
           {vdbl(-0.0)}, {vdbl(-0.0), vdbl(-0.0)}, {vflt(-0.0f)}, {vflt(-0.0f), vflt(-0.0f), vflt(-0.0f)}}) {
    std::vector<column> args = {col(in)};
    column r;
    ASSERT_TRUE(call("avg", r, args).ok);
    ASSERT_EQ(r.values.size, 1u);
    const val want = in[0].size == val_size_4 ? vflt(-0.0f) : vdbl(-0.0);
    EXPECT_TRUE(same(r.values[0], want)) << show(r.values[0]) << " of " << in.size() << " values";
  }
}

// A random cell of one number kind, extremes, zeros of both signs and NaNs included.
val random_number(u8 kind, std::mt19937_64& rng) {
  const u64 r = rng();
  const int pick = int(rng() % 8);
  const u64 bits = pick == 0 ? 0 : pick == 1 ? ~u64(0) : pick == 2 ? u64(1) << 63 : pick == 3 ? r % 5 : r;
  switch (kind) {
    case kind_i08: return vi08(i8(bits));
    case kind_u08: return vu08(u8(bits));
    case kind_i16: return vi16(i16(bits));
    case kind_u16: return vu16(u16(bits));
    case kind_i32: return vi32(i32(bits));
    case kind_u32: return vu32(u32(bits));
    case kind_i64: return vi64(i64(bits));
    case kind_u64: return vu64(bits);
    default: {
      const double specials[] = {0.0, -0.0, std::nan(""), -1.5, 2.25, 1e300, -1e-300, 3.0};
      const double x = pick < 4 ? specials[r % 8] : double(i64(r >> 11)) / 1024.0;
      return kind == kind_float ? vflt(float(x)) : vdbl(x);
    }
  }
}

// sum, product, min and max of one-type columns against the cell operations applied value
// by value as the rules state them; avg of integer columns against the exact mean.
TEST(conformance_aggregate, one_type_columns_agree_with_the_cell_operations) {
  std::mt19937_64 rng(4242);
  for (int round = 0; round < 400; ++round) {
    const u8 kind = u8(round % 10);
    const u64 n = 1 + rng() % 12;
    std::vector<val> v;
    for (u64 i = 0; i < n; ++i) v.push_back(random_number(kind, rng));
    val sum = v[0], prod = v[0];
    u64 lo = 0, hi = 0;
    for (u64 i = 1; i < n; ++i) {
      val_add(sum, v[i], sum);
      val_mul(prod, v[i], prod);
      if (val_less(v[i], v[lo])) lo = i;
      if (val_greater(v[i], v[hi])) hi = i;
    }
    const struct {
      const char* name;
      val want;
    } cases[] = {{"sum", sum}, {"product", prod}, {"min", v[lo]}, {"max", v[hi]}};
    for (const auto& c : cases) {
      std::vector<column> args = {col(v)};
      column r;
      ASSERT_TRUE(call(c.name, r, args).ok);
      ASSERT_EQ(r.values.size, 1u);
      EXPECT_TRUE(same(r.values[0], c.want))
          << c.name << " kind " << int(kind) << " n " << n << ": " << show(r.values[0]) << " vs " << show(c.want);
    }
    if (kind == kind_double) {  // a double sum is the cell sum: avg is its val_div_count
      val want;
      val_div_count(sum, n, want);
      std::vector<column> args = {col(v)};
      column r;
      ASSERT_TRUE(call("avg", r, args).ok);
      EXPECT_TRUE(same(r.values[0], want)) << "avg: " << show(r.values[0]) << " vs " << show(want);
    }
    if (kind > kind_u64) continue;
    __int128 total = 0;
    const bool is_signed = v[0].sign == val_signed;
    for (const val& x : v) {
      u64 b = 0;
      std::memcpy(&b, x.data, val_width(x));
      const u32 w = val_width(x);
      if (is_signed && w < 8 && (b >> (8 * w - 1)) & 1) b |= ~u64(0) << (8 * w);
      total += is_signed ? __int128(i64(b)) : __int128(b);
    }
    const __int128 mean = total / __int128(n);
    const bool signed_mean = is_signed || (val_width(v[0]) < 4 && n >= 2);
    const val want = signed_mean ? vi64(i64(mean)) : vu64(u64(mean));
    std::vector<column> args = {col(v)};
    column r;
    ASSERT_TRUE(call("avg", r, args).ok);
    EXPECT_TRUE(same(r.values[0], want)) << "avg kind " << int(kind) << ": " << show(r.values[0]) << " vs " << show(want);
  }
}

}  // namespace
}  // namespace kk::functions::test
