#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "contract_test.h"
#include "functions/merge_sort.h"
#include "platform/random_device.h"

namespace kk::functions::test {
namespace {

std::vector<contract_case> aggregate_cases() {
  const std::string msg = "unsupport type in function ";
  const std::vector<val> mixed = {vi32(5), vi32(-2), vi32(9), vi32(-2)};
  std::vector<contract_case> cases;
  auto add = [&](const char* name, u64 arity, std::vector<kind_set> kinds, std::string message, u64 nonempty,
                 result_shape shape, std::vector<std::vector<val>> good) {
    cases.push_back({name, arity, std::move(kinds), std::move(message), nonempty, false, shape, std::move(good)});
  };
  add("count", 1, {kind_any}, "", 0, result_shape::appended, {mixed});
  for (const char* name : {"sum", "product", "min", "max", "first", "last"})
    add(name, 1, {kind_any}, "", 1, result_shape::appended, {mixed});
  add("avg", 1, {kind_number}, msg + "avg\n", 1, result_shape::appended, {mixed});
  add("var", 1, {kind_number}, msg + "var\n", 1, result_shape::replaced_one, {mixed});
  add("stddev", 1, {kind_number}, msg + "var\n", 1, result_shape::replaced_one, {mixed});
  add("count_unique", 1, {kind_any}, "", 1, result_shape::replaced_one, {mixed});
  for (const char* name : {"sort", "unique"}) add(name, 1, {kind_any}, "", 1, result_shape::own_shape, {mixed});
  for (const char* name : {"min_k", "max_k", "first_k", "last_k", "nth"})
    add(name, 2, {kind_any, kind_unsigned}, msg + name + "\n", 2, result_shape::own_shape, {mixed, {vu08(2)}});
  add("constants", 2, {kind_any, kind_unsigned}, msg + "constants\n", 2, result_shape::own_shape,
      {mixed, {vu16(3)}});
  cases.push_back({"range", 3, {kind_any, kind_unsigned, kind_unsigned}, "", 3, false, result_shape::own_shape,
                   {mixed, {vu32(2)}, {vu64(3)}}, false,
                   {"", "invalid param 1 in range\n", "invalid param 2 in range\n"}});
  add("seq", 1, {kind_unsigned}, msg + "seq\n", 1, result_shape::own_shape, {{vu08(3), vu08(9)}});
  add("rand", 1, {kind_unsigned}, msg + "rand\n", 1, result_shape::own_shape, {{vu08(3), vu08(9)}});
  add("all_case", 1, {kind_text}, msg + "all_case\n", 1, result_shape::own_shape, {{vtxt("a1")}});
  for (const char* name : {"row_id", "id", "now_id"}) add(name, 0, {}, "", 0, result_shape::always_fails, {});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(aggregates, function_contract, ::testing::ValuesIn(aggregate_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// A result column holding one old row, for calls that must leave it or replace it.
column sentinel_result() { return col({vtxt("old")}, 7); }

column run(const char* name, std::vector<column> args, bool expect_ok = true, std::string* printed = nullptr) {
  column r;
  call_outcome out = call(name, r, args);
  EXPECT_EQ(out.ok, expect_ok) << name << " printed " << out.printed;
  if (printed) *printed = out.printed;
  return r;
}

std::vector<u64> ids_of(const column& c) { return std::vector<u64>(c.ids.begin(), c.ids.end()); }

double dbl(const val& v) {
  EXPECT_EQ(val_kind_index(v), kind_double) << show(v);
  double d;
  std::memcpy(&d, v.data, sizeof d);
  return d;
}

// ------------------------------------------------------------------ sort

TEST(sort_function, equal_values_come_out_in_merge_order) {
  struct sort_case {
    std::vector<val> in;
    std::vector<u64> ids;
  };
  const std::vector<sort_case> cases = {
      {{vi32(2), vi32(1), vi32(2)}, {1, 2, 0}},
      {{vi32(3), vi32(1), vi32(2)}, {1, 2, 0}},
      {{vi32(7), vi32(7), vi32(7), vi32(7)}, {3, 2, 1, 0}},
      {{vi32(7), vi32(7), vi32(7), vi32(7), vi32(7)}, {4, 3, 2, 1, 0}},
      {{vtxt("b"), vtxt("a"), vtxt("b")}, {1, 2, 0}},
      {{vdbl(2.0), vdbl(1.0), vdbl(2.0)}, {1, 2, 0}},
      {{vi08(5)}, {0}},
  };
  for (const sort_case& c : cases) {
    column r = run("sort", {col(c.in, 0)});
    EXPECT_EQ(ids_of(r), c.ids);
    for (u64 i = 0; i < r.values.size; ++i) EXPECT_TRUE(same(r.values[i], c.in[c.ids[i]])) << i;
  }
}

// The specified merge over val_less, written plainly, against what sort gives for columns
// that take its typed fast paths (numbers of one type, NaNs and ties included) and for
// those that do not (texts, mixed widths).
std::vector<u64> reference_order(const std::vector<val>& v) {
  const u64 n = v.size();
  std::vector<u64> a(n), s(n);
  for (u64 i = 0; i < n; ++i) a[i] = i;
  for (u64 w = 1; w <= n; w *= 2) {
    for (u64 lo = 0; lo < n; lo += 2 * w) {
      u64 mid = std::min(lo + w, n), hi = std::min(lo + 2 * w, n), i = lo, j = mid, o = lo;
      while (i < mid && j < hi) s[o++] = val_less(v[a[i]], v[a[j]]) ? a[i++] : a[j++];
      while (i < mid) s[o++] = a[i++];
      while (j < hi) s[o++] = a[j++];
    }
    a = s;
  }
  return a;
}

TEST(sort_function, matches_the_plain_merge_on_random_columns) {
  std::mt19937 rng(12345);
  for (int round = 0; round < 120; ++round) {
    const u64 n = 1 + rng() % 70;
    std::vector<val> v;
    for (u64 i = 0; i < n; ++i) {
      const int x = int(rng() % 6) - 3;
      const bool far = rng() % 2;  // the type's extremes, where narrower keys would wrap
      switch (round % 12) {
        case 0: v.push_back(vi32(far ? (x < 0 ? INT32_MIN + x + 3 : INT32_MAX - x) : x)); break;
        case 1: v.push_back(vu64(far ? ~0ull - u64(x + 3) : u64(x + 3))); break;
        case 2: v.push_back(vdbl(x == 2 ? std::nan("") : x * 0.5)); break;
        case 3: v.push_back(vflt(x == 2 ? std::nanf("") : far ? -float(x) * 3e38f : float(x))); break;
        case 4: v.push_back(vtxt(std::string(size_t(x + 3), char('a' + rng() % 2)))); break;
        case 5: v.push_back(vi08(int8_t(far ? (x < 0 ? -128 + x + 3 : 127 - x) : x))); break;
        case 6: v.push_back(vi16(int16_t(far ? (x < 0 ? -32768 + x + 3 : 32767 - x) : x))); break;
        case 7: v.push_back(vu08(uint8_t(far ? 255 - (x + 3) : x + 3))); break;
        case 8: v.push_back(vu16(uint16_t(far ? 65535 - (x + 3) : x + 3))); break;
        case 9: v.push_back(vu32(far ? ~0u - u32(x + 3) : u32(x + 3))); break;
        case 10: v.push_back(vi64(far ? (i64(1) << 32) * x + x : x)); break;
        default: v.push_back(i % 3 ? vi64(x) : vi08(int8_t(x))); break;
      }
    }
    const column r = run("sort", {col(v, 0)});
    EXPECT_EQ(ids_of(r), reference_order(v)) << "round " << round;
  }
}

// min_k and max_k select their rows without ordering the whole column: they must give the
// rows of the specified merge (its first m, or its last m from the last backwards) in its
// order, ties included, for every kind, both by a heap of m rows (m a small share of the
// column) and by a partition of all rows, and for columns whose values do not compare as a
// strict weak order (NaNs, nulls, mixed widths), which take the merge itself.
TEST(k_extremes, match_the_plain_merge_on_random_columns_with_ties) {
  std::mt19937 rng(2718);
  for (int round = 0; round < 510; ++round) {
    const int shape = round % 17;
    const u64 n = 1 + rng() % (round % 3 == 0 ? 2500 : 80);
    std::vector<val> v;
    for (u64 i = 0; i < n; ++i) {
      const int x = int(rng() % 5) - 2;  // five values: ties everywhere
      const u8 b = u8(x + 2);
      const bool far = rng() % 4 == 0;  // the type's extremes
      switch (shape) {
        case 0: v.push_back(vi08(int8_t(far ? (x < 0 ? -128 : 127) : x))); break;
        case 1: v.push_back(vu08(uint8_t(far ? 255 : b))); break;
        case 2: v.push_back(vi16(int16_t(far ? (x < 0 ? -32768 : 32767) : x))); break;
        case 3: v.push_back(vu16(uint16_t(far ? 65535 : b))); break;
        case 4: v.push_back(vi32(far ? (x < 0 ? INT32_MIN : INT32_MAX) : x)); break;
        case 5: v.push_back(vu32(far ? ~0u : b)); break;
        case 6: v.push_back(vi64(far ? (x < 0 ? INT64_MIN : INT64_MAX) : x)); break;
        case 7: v.push_back(vu64(far ? ~0ull - b : b)); break;
        case 8: v.push_back(vflt(x == 0 && far ? -0.0f : far ? float(x) * 3e38f : float(x) / 4)); break;
        case 9: v.push_back(vdbl(x == 0 && far ? -0.0 : far ? x * 1e300 : x * 0.5)); break;
        case 10: v.push_back(vtxt(std::string(size_t(b % 3), char(far ? '\xE9' : 'a' + b % 2)))); break;
        case 11: v.push_back(vdate(uint16_t(far ? 9999 : 2024), uint8_t(1 + b % 2), uint8_t(1 + b % 3))); break;
        case 12: v.push_back(vtime(uint8_t(far ? 23 : 12), uint8_t(b % 2), 0, far ? 999999999u : b % 3)); break;
        case 13: v.push_back(vdt(2024, 2, uint8_t(28 + b % 2), uint8_t(b % 2), 0, 0, far ? b : 0)); break;
        case 14: v.push_back(vdbl(far ? std::nan("") : x * 0.5)); break;
        case 15: v.push_back(far ? vnull() : vi32(x)); break;
        default: v.push_back(i % 3 ? vi64(x) : vi08(int8_t(x))); break;
      }
    }
    const std::vector<u64> order = reference_order(v);
    for (u64 k : {u64(1), u64(2), n / 40, n / 2, u64(rng() % (n + 2)), n, n + 7}) {
      const u64 m = std::min(k, n);
      std::vector<u64> smallest(order.begin(), order.begin() + i64(m));
      std::vector<u64> largest(order.rbegin(), order.rbegin() + i64(m));
      for (const char* name : {"min_k", "max_k"}) {
        const column r = run(name, {col(v, 0), col({vu32(u32(k))})});
        const std::vector<u64>& want = name[1] == 'i' ? smallest : largest;
        ASSERT_EQ(ids_of(r), want) << name << " k " << k << " of " << n << ", round " << round;
        for (u64 i = 0; i < m; ++i) ASSERT_TRUE(same(r.values[i], v[want[i]])) << name << " " << i;
      }
    }
  }
}

long thread_minor_faults() {
  rusage u{};
  getrusage(RUSAGE_THREAD, &u);
  return u.ru_minflt;
}

// sort and min_k of a large column into a result column that already has its rows: the
// call maps no more than its merge arrays (two of 8-byte items for 32-bit values), each page
// once. Scratch of 16-byte items and a separate order array mapped 40 bytes per row.
TEST(sort_function, large_column_maps_only_its_merge_arrays) {
  // Blocks above 1 MiB are mapped on every request (as blocks above 32 MiB always are), so
  // each call's scratch shows up in the fault count.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  const u64 n = 300000;
  std::vector<column> args(1);
  column& c = args[0];
  column_resize(c, n);
  std::mt19937 rng(7);
  for (u64 i = 0; i < n; ++i) {
    val_from_i32(c.values[i], i32(rng() % 100000) - 50000);
    c.ids[i] = i;
  }
  for (const char* name : {"sort", "max_k"}) {
    if (name[0] == 'm') args.push_back(col({vu32(1000)}));
    column r;
    ASSERT_TRUE(call(name, r, args).ok);
    const long before = thread_minor_faults();
    ASSERT_TRUE(call(name, r, args).ok);
    const long faults = thread_minor_faults() - before;
    EXPECT_LT(faults, long(n * 24 / 4096)) << name << ": pages mapped by one call";
    for (u64 i = 1; i < r.values.size; ++i)
      ASSERT_EQ(name[0] == 's' ? val_less(r.values[i], r.values[i - 1]) : val_less(r.values[i - 1], r.values[i]),
                false)
          << name << " " << i;
  }
}

TEST(merge_sort, sorts_plain_items_with_the_right_run_first_on_ties) {
  struct item {
    int key;
    int pos;
  };
  std::vector<item> a = {{2, 0}, {1, 1}, {2, 2}, {0, 3}, {1, 4}}, s(a.size());
  merge_sort(a.data(), s.data(), a.size(), [](const item& x, const item& y) { return x.key < y.key; });
  std::vector<int> pos;
  for (const item& i : a) pos.push_back(i.pos);
  EXPECT_EQ(pos, (std::vector<int>{3, 4, 1, 2, 0}));
}

// ------------------------------------------------------------------ selections

TEST(selection_functions, values_with_their_source_row_ids) {
  const column five = col({vi32(5), vi32(9), vi32(7), vi32(1), vi32(9)}, 10);
  struct sel_case {
    const char* name;
    std::vector<column> args;
    std::vector<int> values;
    std::vector<u64> ids;
  };
  const std::vector<sel_case> cases = {
      {"min_k", {five, col({vu08(2)})}, {1, 5}, {13, 10}},
      {"min_k", {five, col({vu32(99)})}, {1, 5, 7, 9, 9}, {13, 10, 12, 14, 11}},
      {"max_k", {five, col({vu08(2)})}, {9, 9}, {11, 14}},
      {"max_k", {col({vi32(5), vi32(9), vi32(7)}), col({vu08(2)})}, {9, 7}, {101, 102}},
      {"first_k", {five, col({vu08(2)})}, {5, 9}, {10, 11}},
      {"first_k", {five, col({vu08(9)})}, {5, 9, 7, 1, 9}, {10, 11, 12, 13, 14}},
      {"last_k", {five, col({vu08(2)})}, {1, 9}, {13, 14}},
      {"nth", {five, col({vu08(1)})}, {5}, {10}},
      {"nth", {five, col({vu08(5)})}, {9}, {14}},
      {"range", {five, col({vu08(2)}), col({vu08(10)})}, {9, 7, 1, 9}, {11, 12, 13, 14}},
      {"range", {five, col({vu08(3)}), col({vu08(3)})}, {7}, {12}},
      {"unique", {five}, {5, 9, 7, 1}, {10, 11, 12, 13}},
      {"min_k", {five, col({vu08(0)})}, {}, {}},
      {"first_k", {five, col({vu08(0)})}, {}, {}},
  };
  for (const sel_case& c : cases) {
    column r = sentinel_result();
    call_outcome out = call(c.name, r, const_cast<std::vector<column>&>(c.args));
    ASSERT_TRUE(out.ok) << c.name;
    EXPECT_EQ(ids_of(r), c.ids) << c.name;
    ASSERT_EQ(r.values.size, c.values.size()) << c.name;
    for (u64 i = 0; i < r.values.size; ++i) EXPECT_TRUE(same(r.values[i], vi32(c.values[i]))) << c.name << " " << i;
  }
}

TEST(selection_functions, positions_outside_the_column_fail_and_leave_the_result) {
  const column five = col({vi32(5), vi32(9), vi32(7), vi32(1), vi32(9)});
  struct bad_case {
    const char* name;
    std::vector<column> args;
    std::string printed;
  };
  const std::vector<bad_case> cases = {
      {"nth", {five, col({vu08(0)})}, ""},
      {"nth", {five, col({vu08(6)})}, ""},
      {"range", {five, col({vu08(0)}), col({vu08(3)})}, ""},
      {"range", {five, col({vu08(4)}), col({vu08(3)})}, ""},
      {"range", {five, col({vu08(6)}), col({vu08(9)})}, ""},
      {"range", {five, col({vi32(2)}), col({vu08(3)})}, "invalid param 1 in range\n"},
      {"range", {five, col({vu08(2)}), col({vtxt("3")})}, "invalid param 2 in range\n"},
      {"range", {five, col({vi32(2)}), col({vtxt("3")})}, "invalid param 1 in range\n"},
      // Counts beyond 32 bits saturate: no wrap to a small position.
      {"nth", {five, col({vu64((1ull << 32) + 1)})}, ""},
  };
  for (const bad_case& c : cases) {
    column r = sentinel_result();
    call_outcome out = call(c.name, r, const_cast<std::vector<column>&>(c.args));
    EXPECT_FALSE(out.ok) << c.name;
    EXPECT_EQ(out.printed, c.printed) << c.name;
    EXPECT_EQ(r.values.size, 1u) << c.name;
  }
}

// Distinct values under a total order: a NaN or a null is one value and swallows nothing.
TEST(unique_function, first_occurrences_under_a_total_order) {
  const double nan = std::nan("");
  struct uq_case {
    std::vector<val> in;
    std::vector<u64> ids;
  };
  const std::vector<uq_case> cases = {
      {{vtxt("a"), vtxt("b"), vtxt("a"), vtxt("c")}, {0, 1, 3}},
      {{vdbl(nan), vdbl(1.0), vdbl(nan), vdbl(2.0), vdbl(1.0)}, {0, 1, 3}},
      {{vdbl(1.0), vdbl(nan), vdbl(2.0), vdbl(-nan), vdbl(3.0)}, {0, 1, 2, 4}},
      {{vdbl(0.0), vdbl(-0.0)}, {0}},
      {{vi32(1), vnull(), vi32(2), vnull(), vi32(1)}, {0, 1, 2}},
      {{vnull(), vi32(1), vnull()}, {0, 1}},
  };
  for (const uq_case& c : cases) {
    column r = run("unique", {col(c.in, 0)});
    EXPECT_EQ(ids_of(r), c.ids);
    column n = run("count_unique", {col(c.in, 0)});
    ASSERT_EQ(n.values.size, 1u);
    EXPECT_TRUE(same(n.values[0], vu64(c.ids.size())));
  }
}

// Against a plain quadratic scan under val_order, on random columns of mixed kinds with
// many repeats, NaNs of both signs, zeros of both signs, dates, times and nulls.
TEST(unique_function, matches_a_plain_scan_on_random_columns) {
  std::mt19937 rng(777);
  for (int round = 0; round < 40; ++round) {
    const u64 n = 1 + rng() % 300;
    std::vector<val> v;
    for (u64 i = 0; i < n; ++i) {
      const int x = int(rng() % 5);
      switch (rng() % 9) {
        case 0: v.push_back(vi32(x - 2)); break;
        case 1: v.push_back(vu08(u8(x))); break;
        case 2: v.push_back(vdbl(x == 0 ? std::nan("") : x == 1 ? -std::nan("") : x == 2 ? -0.0 : x == 3 ? 0.0 : 1.5)); break;
        case 3: v.push_back(vflt(x == 0 ? std::nanf("") : float(x))); break;
        case 4: v.push_back(vtxt(std::string(size_t(x), 'q') + (x % 2 ? "\xc3\xa9" : ""))); break;
        case 5: v.push_back(vdate(2024, 1, u8(1 + x))); break;
        case 6: v.push_back(vtime(u8(x), 0, 0, u32(x) * 7)); break;
        case 7: v.push_back(vdt(2024, 1, 1, 0, 0, 0, u32(x))); break;
        default: v.push_back(vnull()); break;
      }
    }
    std::vector<u64> want;
    for (u64 i = 0; i < n; ++i) {
      bool seen = false;
      for (u64 j : want) seen = seen || val_order(v[j], v[i]) == 0;
      if (!seen) want.push_back(i);
    }
    EXPECT_EQ(ids_of(run("unique", {col(v, 0)})), want) << "round " << round;
  }
}

// ------------------------------------------------------------------ aggregates

TEST(aggregate_functions, accumulate_into_the_appended_value_after_old_rows) {
  struct agg_case {
    const char* name;
    std::vector<val> in;
    val want;
  };
  const std::vector<agg_case> cases = {
      {"sum", {vi32(1), vi32(2), vi32(3)}, vi32(6)},
      {"sum", {vi16(30000), vi16(30000)}, vi32(60000)},
      {"sum", {vu08(200), vu08(100)}, vi32(300)},
      {"sum", {vi08(5)}, vi08(5)},
      {"sum", {vi32(2147483647), vi32(1)}, vi32(-2147483647 - 1)},
      {"sum", {vu64(~0ull), vu64(2)}, vu64(1)},
      {"sum", {vflt(0.5f), vflt(0.25f)}, vflt(0.75f)},
      {"sum", {vdbl(0.5), vi32(2)}, vdbl(2.5)},
      {"product", {vi32(2), vi32(3), vi32(7)}, vi32(42)},
      {"min", {vi32(4), vi32(-1), vi32(3)}, vi32(-1)},
      {"max", {vi32(4), vi32(-1), vi32(3)}, vi32(4)},
      {"min", {vtxt("b"), vtxt("Z"), vtxt("a")}, vtxt("Z")},
      {"max", {vdbl(1.0), vdbl(std::nan("")), vdbl(3.0)}, vdbl(3.0)},
      {"min", {vu64(~0ull), vu64(7)}, vu64(7)},
      {"first", {vi32(4), vi32(5)}, vi32(4)},
      {"last", {vi32(4), vi32(5)}, vi32(5)},
      {"count", {vi32(4), vi32(5)}, vu64(2)},
      {"count", {}, vu64(0)},
  };
  for (const agg_case& c : cases) {
    column r = sentinel_result();
    r.values[0] = vi32(1000);  // a number an accumulation into the first value would change
    std::vector<column> args = {col(c.in)};
    call_outcome out = call(c.name, r, args);
    ASSERT_TRUE(out.ok) << c.name;
    ASSERT_EQ(r.values.size, 2u) << c.name;
    EXPECT_TRUE(same(r.values[0], vi32(1000))) << c.name << ": the old row stays";
    EXPECT_TRUE(same(r.values[1], c.want)) << c.name << ": " << show(r.values[1]) << " vs " << show(c.want);
    EXPECT_EQ(r.ids[1], computed_row_id);
  }
}

// Each value goes before the running sum: a, b, c gives cba.
TEST(aggregate_functions, text_sum_concatenates_and_is_null_past_a_cells_length) {
  column r = run("sum", {col({vtxt("a"), vtxt("b"), vtxt("c")})});
  ASSERT_EQ(r.values.size, 1u);
  EXPECT_TRUE(same(r.values[0], vtxt("cba")));
  const std::string half(40000, 'x');
  r = run("sum", {col({vtxt(half), vtxt(half), vtxt("y")})});
  ASSERT_EQ(r.values.size, 1u);
  EXPECT_EQ(r.values[0].type, val_type_null) << show(r.values[0]);
}

TEST(aggregate_functions, avg_sums_wide_and_keeps_the_specified_types) {
  std::vector<val> ones(1000, vflt(1.0f));
  ones.insert(ones.begin(), vflt(16777216.0f));
  struct avg_case {
    std::vector<val> in;
    val want;
  };
  const std::vector<avg_case> cases = {
      {{vi32(2147483647), vi32(2147483647)}, vi64(2147483647)},
      {{vi32(-7), vi32(0)}, vi64(-3)},
      {{vu32(4294967295u), vu32(4294967293u)}, vu64(4294967294u)},
      {{vi64(std::numeric_limits<i64>::max()), vi64(std::numeric_limits<i64>::max() - 2)},
       vi64(std::numeric_limits<i64>::max() - 1)},
      {{vu64(~0ull), vu64(~0ull - 2)}, vu64(~0ull - 1)},
      {{vu08(200), vu08(100)}, vi64(150)},
      {{vi16(-30000), vi16(-30000), vi16(-30001)}, vi64(-30000)},
      {{vdbl(7.0), vdbl(0.0)}, vdbl(3.5)},
      {ones, vflt(float(16778216.0 / 1001.0))},
      {{vi32(3), vi64(5)}, vi64(4)},  // mixed widths: the cell arithmetic value by value
  };
  for (const avg_case& c : cases) {
    column r = run("avg", {col(c.in)});
    ASSERT_EQ(r.values.size, 1u);
    EXPECT_TRUE(same(r.values[0], c.want)) << show(r.values[0]) << " vs " << show(c.want);
  }
}

TEST(aggregate_functions, variance_in_two_passes) {
  column r = run("var", {col({vdbl(1e9 + 4), vdbl(1e9 + 7), vdbl(1e9 + 13), vdbl(1e9 + 16)})});
  ASSERT_EQ(r.values.size, 1u);
  EXPECT_EQ(dbl(r.values[0]), 22.5);
  r = run("var", {col({vi64(1000000004), vi64(1000000007), vi64(1000000013), vi64(1000000016)})});
  EXPECT_EQ(dbl(r.values[0]), 22.5);
  r = run("var", {col({vi32(1), vi32(2), vi32(3), vi32(4)})});
  EXPECT_EQ(dbl(r.values[0]), 1.25);
  r = run("stddev", {col({vi32(1), vi32(2), vi32(3), vi32(4)})});
  EXPECT_EQ(dbl(r.values[0]), std::sqrt(1.25));
  // A later value that is no number is left out of n.
  r = run("var", {col({vi32(1), vdate(2024, 1, 1), vi32(3)})});
  EXPECT_EQ(dbl(r.values[0]), 1.0);
  std::string printed;
  run("stddev", {col({vtxt("1")})}, false, &printed);
  EXPECT_EQ(printed, "unsupport type in function var\n");
}

// ------------------------------------------------------------------ generators

TEST(generator_functions, seq_and_constants) {
  column r = run("seq", {col({vu08(3)})});
  ASSERT_EQ(r.values.size, 3u);
  for (u64 i = 0; i < 3; ++i) {
    EXPECT_TRUE(same(r.values[i], vu64(i)));
    EXPECT_EQ(r.ids[i], computed_row_id);
  }
  EXPECT_EQ(run("seq", {col({vu64(0)})}).values.size, 0u);
  r = run("constants", {col({vtxt("x"), vtxt("y")}), col({vu16(3)})});
  ASSERT_EQ(r.values.size, 3u);
  for (u64 i = 0; i < 3; ++i) {
    EXPECT_TRUE(same(r.values[i], vtxt("x")));
    EXPECT_EQ(r.ids[i], computed_row_id);
  }
  EXPECT_EQ(run("constants", {col({vtxt("x")}), col({vu08(0)})}).values.size, 0u);
}

struct counting_source : platform::random_source {
  u32 seed;
  int draws = 0;
  explicit counting_source(u32 s) : seed(s) {}
  u32 next_u32() override {
    ++draws;
    return seed;
  }
};

// One draw of the random device seeds one generator for the whole call.
TEST(generator_functions, rand_draws_one_seed_per_call) {
  counting_source src(2024);
  platform::random_override use(src);
  column r = run("rand", {col({vu32(5)})});
  EXPECT_EQ(src.draws, 1);
  ASSERT_EQ(r.values.size, 5u);
  std::mt19937_64 engine(2024);
  for (u64 i = 0; i < 5; ++i) {
    const double want = double(engine()) * 5.421010862427522e-20;
    EXPECT_EQ(dbl(r.values[i]), want) << i;
    EXPECT_GE(dbl(r.values[i]), 0.0);
    EXPECT_LE(dbl(r.values[i]), 1.0);
    EXPECT_EQ(r.ids[i], computed_row_id);
  }
}

TEST(generator_functions, all_case_variants_with_the_first_letter_fastest) {
  struct case_case {
    std::string in;
    std::vector<std::string> out;
  };
  const std::vector<case_case> cases = {
      {"ab", {"ab", "Ab", "aB", "AB"}},
      {"a1", {"a1", "A1"}},
      {"Q", {"q", "Q"}},
      {"7", {"7"}},
      {"", {}},
      {"\xc3\xa9x", {"\xc3\xa9x", "\xc3\xa9X"}},
  };
  for (const case_case& c : cases) {
    column r = run("all_case", {col({vtxt(c.in)})});
    ASSERT_EQ(r.values.size, c.out.size()) << c.in;
    for (u64 i = 0; i < c.out.size(); ++i) {
      EXPECT_TRUE(same(r.values[i], vtxt(c.out[i]))) << c.in << " " << show(r.values[i]);
      EXPECT_EQ(r.ids[i], computed_row_id);
    }
  }
}

TEST(generator_functions, all_case_refuses_more_than_twenty_letters) {
  std::string printed;
  column r = sentinel_result();
  std::vector<column> args = {col({vtxt(std::string(21, 'a') + "123")})};
  call_outcome out = call("all_case", r, args);
  EXPECT_FALSE(out.ok);
  EXPECT_EQ(out.printed, "too many letters in function all_case: 21, at most 20\n");
  EXPECT_EQ(r.values.size, 1u);
  // Exactly one value, else false without a message.
  std::vector<column> two = {col({vtxt("a"), vtxt("b")})};
  out = call("all_case", r, two);
  EXPECT_FALSE(out.ok);
  EXPECT_EQ(out.printed, "");
}

}  // namespace
}  // namespace kk::functions::test
