#include "contract_test.h"

#include <string>

namespace kk::functions::test {
namespace {

column sentinels(u64 n) {
  std::vector<val> cells(n, vtxt("old"));
  column c = col(cells, 7);
  return c;
}

void expect_untouched(const column& r, u64 n, const std::string& what) {
  ASSERT_EQ(r.values.size, n) << what;
  ASSERT_EQ(r.ids.size, n) << what;
  for (u64 i = 0; i < n; ++i) {
    EXPECT_TRUE(same(r.values[i], vtxt("old"))) << what << " row " << i;
    EXPECT_EQ(r.ids[i], 7 + i) << what << " row " << i;
  }
}

std::vector<column> columns(const std::vector<std::vector<val>>& args) {
  std::vector<column> out;
  for (const auto& a : args) out.push_back(col(a));
  return out;
}

// One value of every kind a first value can have.
const std::vector<val>& kind_samples() {
  static const std::vector<val> s = {vi32(2),   vu32(3),           vdbl(0.5),
                                     vflt(1.5f), vtxt("12"),        vdate(2024, 5, 9),
                                     vtime(8, 15, 43), vdt(2024, 5, 9, 8, 15, 43), vnull()};
  return s;
}

}  // namespace

TEST_P(function_contract, wrong_argument_count_fails_silently) {
  const contract_case& c = GetParam();
  std::vector<u64> counts;
  if (!c.variadic) counts = {c.arity + 1, c.arity + 3};
  if (c.arity > 0) counts.push_back(c.arity - 1);
  for (u64 n : counts) {
    std::vector<std::vector<val>> args = c.good;
    args.resize(n, args.empty() ? std::vector<val>{vi32(1)} : args.back());
    std::vector<column> cols = columns(args);
    column r = sentinels(2);
    call_outcome out = call(c.name, r, cols);
    EXPECT_FALSE(out.ok) << c.name << " with " << n << " arguments";
    EXPECT_EQ(out.printed, "") << c.name << " with " << n << " arguments";
    expect_untouched(r, 2, std::string(c.name) + " with " + std::to_string(n) + " arguments");
  }
}

TEST_P(function_contract, empty_arguments) {
  const contract_case& c = GetParam();
  for (u64 j = 0; j < c.nonempty; ++j) {
    std::vector<std::vector<val>> args = c.good;
    args[j].clear();
    std::vector<column> cols = columns(args);
    column r = sentinels(2);
    call_outcome out = call(c.name, r, cols);
    const std::string what = std::string(c.name) + " with argument " + std::to_string(j + 1) + " empty";
    EXPECT_EQ(out.ok, c.empty_gives_true) << what;
    EXPECT_EQ(out.printed, "") << what;
    expect_untouched(r, 2, what);
  }
}

// Only the first value is tested: a wrong kind there prints the message and changes
// nothing; an accepted kind prints nothing, and later values of any kind pass unchecked.
TEST_P(function_contract, first_value_kinds) {
  const contract_case& c = GetParam();
  for (u64 j = 0; j < c.arity; ++j) {
    const kind_set kinds = j < c.kinds.size() ? c.kinds[j] : kind_any;
    for (const val& sample : kind_samples()) {
      std::vector<std::vector<val>> args = c.good;
      args[j][0] = sample;
      std::vector<column> cols = columns(args);
      column r = sentinels(2);
      call_outcome out = call(c.name, r, cols);
      const std::string what = std::string(c.name) + ", argument " + std::to_string(j + 1) + " starting with " + show(sample);
      if (kind_in(sample, kinds)) {
        EXPECT_EQ(out.printed, "") << what;
      } else {
        EXPECT_FALSE(out.ok) << what;
        const bool own = j < c.arg_messages.size() && !c.arg_messages[j].empty();
        EXPECT_EQ(out.printed, own ? c.arg_messages[j] : c.message) << what;
        expect_untouched(r, 2, what);
      }
    }
    if (kinds == kind_any || c.good[j].size() < 2) continue;
    // A second value of a refused kind is not tested.
    std::vector<std::vector<val>> args = c.good;
    args[j][1] = vdt(2000, 1, 1, 0, 0, 0);
    if (kinds & kind_datetime_only) args[j][1] = vi32(1);
    std::vector<column> cols = columns(args);
    column r;
    EXPECT_EQ(call(c.name, r, cols).printed, "") << c.name << ": later values are not tested";
  }
}

TEST_P(function_contract, result_shape_broadcasting_and_row_ids) {
  const contract_case& c = GetParam();
  std::vector<column> cols = columns(c.good);
  const u64 old = c.shape == result_shape::appended ? 2 : 5;
  column r = sentinels(old);
  call_outcome out = call(c.name, r, cols);
  if (c.shape == result_shape::always_fails) {
    EXPECT_FALSE(out.ok) << c.name;
    EXPECT_EQ(out.printed, "") << c.name;
    expect_untouched(r, old, c.name);
    return;
  }
  ASSERT_TRUE(out.ok) << c.name << " printed " << out.printed;
  EXPECT_EQ(out.printed, "");
  ASSERT_EQ(r.values.size, r.ids.size);
  if (c.shape == result_shape::own_shape) return;
  if (c.shape == result_shape::replaced_one) {
    ASSERT_EQ(r.values.size, 1u) << c.name << " replaces its result by one value";
    EXPECT_EQ(r.ids[0], computed_row_id) << c.name;
    return;
  }

  if (c.shape == result_shape::appended) {
    ASSERT_EQ(r.values.size, old + 1) << c.name << " appends one value";
    for (u64 i = 0; i < old; ++i) EXPECT_TRUE(same(r.values[i], vtxt("old"))) << c.name;
    EXPECT_EQ(r.ids[old], computed_row_id);
    return;
  }

  u64 n = 0;
  for (const auto& a : c.good) n = std::max<u64>(n, a.size());
  ASSERT_EQ(r.values.size, n) << c.name << " replaces its result";
  for (u64 i = 0; i < n; ++i) {
    EXPECT_EQ(r.ids[i], computed_row_id) << c.name << " row " << i;
    if (n == 1) continue;
    // Row i is what the function gives for the arguments' values at i (the last value of a
    // shorter argument) alone, placed after the first values that pass the kind checks.
    std::vector<std::vector<val>> two;
    for (const auto& a : c.good) two.push_back({a[0], a[std::min<u64>(i, a.size() - 1)]});
    std::vector<column> two_cols = columns(two);
    column single;
    ASSERT_TRUE(call(c.name, single, two_cols).ok) << c.name << " row " << i;
    ASSERT_EQ(single.values.size, 2u);
    EXPECT_TRUE(same(r.values[i], single.values[1]))
        << c.name << " row " << i << ": " << show(r.values[i]) << " vs " << show(single.values[1]);
  }

  if (c.shape == result_shape::many_arg_scalar) {
    // The longest argument need not be the first.
    std::vector<std::vector<val>> swapped = c.good;
    swapped[0].resize(1);
    swapped[1] = {swapped[1][0], swapped[1][0], swapped[1][0], swapped[1][0]};
    std::vector<column> sc = columns(swapped);
    column rs;
    ASSERT_TRUE(call(c.name, rs, sc).ok);
    EXPECT_EQ(rs.values.size, 4u) << c.name << " runs to its longest argument";
  }
}

}  // namespace kk::functions::test
