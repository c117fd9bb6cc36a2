#include "functions/aggregate_functions.h"

#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "functions/function_call.h"
#include "functions/math_kernels.h"
#include "functions/merge_sort.h"
#include "platform/random_device.h"
#include "value/convert.h"
#include "value/val_tree.h"

namespace kk::functions {

namespace {

template <class T>
T load(const val& v) {
  T x;
  std::memcpy(&x, v.data, sizeof x);
  return x;
}

// The one argument of a one-argument aggregate, checked up to step 3; null on a wrong call.
const column* only_argument(const column_list* args, bool may_be_empty, kind_set kinds, const char* name) {
  if (!arity_is(args, 1)) return nullptr;
  if (!may_be_empty && !args_nonempty(args, 1)) return nullptr;
  if (kinds != kind_any && !first_kind_is(arg(args, 0), kinds, name)) return nullptr;
  return &arg(args, 0);
}

// Whether every value has the first value's header and that header is a number kind.
// Such a column takes the typed loops below, which give exactly what the cell arithmetic
// and comparisons give value by value.
bool uniform_numbers(const column& c) {
  const u64 n = c.values.size;
  if (n == 0) return false;
  const val& f = c.values[0];
  const u8 k = val_kind_index(f);
  if (k > kind_double) return false;
  for (u64 i = 1; i < n; ++i) {
    const val& v = c.values[i];
    if (v.type != f.type || v.size != f.size || v.sign != f.sign) return false;
  }
  return true;
}

bool is_signed_kind(u8 k) { return k == kind_i08 || k == kind_i16 || k == kind_i32 || k == kind_i64; }

// An integer cell widened by its own sign.
i64 signed_of(const val& v) {
  switch (v.size) {
    case val_size_1: return load<i8>(v);
    case val_size_2: return load<i16>(v);
    case val_size_4: return load<i32>(v);
    default: return load<i64>(v);
  }
}
u64 unsigned_of(const val& v) {
  switch (v.size) {
    case val_size_1: return load<u8>(v);
    case val_size_2: return load<u16>(v);
    case val_size_4: return load<u32>(v);
    default: return load<u64>(v);
  }
}
double real_of(const val& v) { return v.size == val_size_4 ? double(load<float>(v)) : load<double>(v); }

// ------------------------------------------------------------------ sum, product

// The running value of sum or product, computed in a local cell and appended at the end.
template <void (*op)(val&, const val&, const val&)>
val fold(const column& c) {
  val acc = c.values[0];
  for (u64 i = 1; i < c.values.size; ++i) op(acc, c.values[i], acc);
  return acc;
}

// sum of a uniform number column (two values or more): the same widths and wrapping as
// val_add value by value. Narrow integers sum into an "i32".
val uniform_sum(const column& c) {
  const val& f = c.values[0];
  const u64 n = c.values.size;
  val out;
  const u8 k = val_kind_index(f);
  if (k == kind_float) {
    float s = load<float>(f);
    for (u64 i = 1; i < n; ++i) s = load<float>(c.values[i]) + s;
    val_from_float(out, s);
  } else if (k == kind_double) {
    double s = load<double>(f);
    for (u64 i = 1; i < n; ++i) s = load<double>(c.values[i]) + s;
    val_from_double(out, s);
  } else if (f.size == val_size_8) {
    u64 s = 0;
    for (u64 i = 0; i < n; ++i) s += load<u64>(c.values[i]);
    if (f.sign == val_signed) val_from_i64(out, i64(s));
    else val_from_u64(out, s);
  } else {
    u32 s = 0;
    if (f.size == val_size_4) {
      for (u64 i = 0; i < n; ++i) s += load<u32>(c.values[i]);
    } else {
      // 1- and 2-byte operands widen by their own sign before the 32-bit addition.
      const bool widen_signed = f.sign == val_signed;
      for (u64 i = 0; i < n; ++i)
        s += widen_signed ? u32(signed_of(c.values[i])) : u32(unsigned_of(c.values[i]));
    }
    if (f.size < val_size_4 || f.sign == val_signed) val_from_i32(out, i32(s));
    else val_from_u32(out, s);
  }
  return out;
}

// ------------------------------------------------------------------ min, max

// Position of the first extreme: value i replaces the current one when better(i, current).
template <class Better>
u64 extreme_at(const column& c, Better better) {
  u64 at = 0;
  for (u64 i = 1; i < c.values.size; ++i)
    if (better(c.values[i], c.values[at])) at = i;
  return at;
}

template <bool want_max>
u64 uniform_extreme_at(const column& c) {
  const u64 n = c.values.size;
  const u8 k = val_kind_index(c.values[0]);
  u64 at = 0;
  auto scan = [&](auto get) {
    auto best = get(c.values[0]);
    for (u64 i = 1; i < n; ++i) {
      const auto x = get(c.values[i]);
      if (want_max ? best < x : x < best) best = x, at = i;
    }
  };
  if (k == kind_float || k == kind_double) scan(real_of);
  else if (is_signed_kind(k)) scan(signed_of);
  else scan(unsigned_of);
  return at;
}

template <bool want_max>
bool extreme(column* result, const column_list* args) {
  const column* a = only_argument(args, false, kind_any, nullptr);
  if (!a) return false;
  u64 at;
  if (uniform_numbers(*a)) at = uniform_extreme_at<want_max>(*a);
  else if (want_max) at = extreme_at(*a, val_greater);
  else at = extreme_at(*a, val_less);
  column_push(*result, a->values[at]);
  return true;
}

// ------------------------------------------------------------------ avg

// The mean of a uniform number column, summed wide enough that no integer sum wraps and
// no float sum stalls; the result has the type the cell arithmetic gives it (a narrow
// integer column of two values or more sums into an "i32", hence a signed mean).
val uniform_mean(const column& c) {
  const val& f = c.values[0];
  const u64 n = c.values.size;
  const u8 k = val_kind_index(f);
  val out;
  if (k == kind_float || k == kind_double) {
    double s = 0;
    for (u64 i = 0; i < n; ++i) s += real_of(c.values[i]);
    if (k == kind_float) val_from_float(out, float(s / double(n)));
    else val_from_double(out, s / double(n));
    return out;
  }
  const bool signed_mean = f.sign == val_signed || (f.size < val_size_4 && n >= 2);
  if (f.sign == val_signed) {
    __int128 s = 0;
    for (u64 i = 0; i < n; ++i) s += signed_of(c.values[i]);
    val_from_i64(out, i64(s / __int128(n)));
  } else {
    unsigned __int128 s = 0;
    for (u64 i = 0; i < n; ++i) s += unsigned_of(c.values[i]);
    const u64 q = u64(s / n);
    if (signed_mean) val_from_i64(out, i64(q));
    else val_from_u64(out, q);
  }
  return out;
}

// ------------------------------------------------------------------ variance

// Population variance in two passes over the values converted to "double", in column order.
bool variance_of(const column& c, double& out) {
  std::vector<double> xs;
  xs.reserve(c.values.size);
  for (u64 i = 0; i < c.values.size; ++i) {
    const val d = val_convert(kind_double, c.values[i], true);
    if (d.type == val_type_float) xs.push_back(load<double>(d));
  }
  double sum = 0;
  for (double x : xs) sum += x;
  const double n = double(xs.size());
  const double mean = sum / n;
  double sq = 0;
  for (double x : xs) sq += (x - mean) * (x - mean);
  out = sq / n;
  return true;
}

void replace_by(column& result, const val& v) {
  column_resize(result, 1);
  val_assign(result.values[0], v);
  result.ids[0] = computed_row_id;
}

bool variance(column* result, const column_list* args, const char* name, bool root) {
  const column* a = only_argument(args, false, kind_number, name);
  if (!a) return false;
  double v2;
  variance_of(*a, v2);
  val out;
  val_from_double(out, v2);
  if (root) out = val_sqrt(out);
  replace_by(*result, out);
  return true;
}

// ------------------------------------------------------------------ sorting

template <class K>
struct sort_item {
  K key;
  u64 pos;
};

// Positions of the argument's values in merge-sort order (see merge_sort.h).
std::vector<u64> sorted_positions(const column& c) {
  const u64 n = c.values.size;
  std::vector<u64> order(n);
  auto run = [&](auto key_of, auto less) {
    using K = decltype(key_of(c.values[0]));
    std::vector<sort_item<K>> items(n), scratch(n);
    for (u64 i = 0; i < n; ++i) items[i] = {key_of(c.values[i]), i};
    merge_sort(items.data(), scratch.data(), n,
               [&](const sort_item<K>& x, const sort_item<K>& y) { return less(x.key, y.key); });
    for (u64 i = 0; i < n; ++i) order[i] = items[i].pos;
  };
  auto plain_less = [](auto x, auto y) { return x < y; };
  if (n && uniform_numbers(c)) {
    const u8 k = val_kind_index(c.values[0]);
    if (k == kind_float || k == kind_double) run(real_of, plain_less);
    else if (is_signed_kind(k)) run(signed_of, plain_less);
    else run(unsigned_of, plain_less);
  } else {
    run([](const val& v) { return &v; }, [](const val* x, const val* y) { return val_less(*x, *y); });
  }
  return order;
}

// The result becomes the argument's values at these positions with their row ids.
template <class Positions>
void select_into(column& result, const column& a, const Positions& pos, u64 m) {
  column_resize(result, m);
  for (u64 i = 0; i < m; ++i) {
    val_assign(result.values[i], a.values[pos(i)]);
    result.ids[i] = column_row_id_at(&a, pos(i));
  }
}

// Steps 1-4 of the two-argument selections: a non-empty column and an unsigned count.
bool column_and_count(const column_list* args, const char* name, u32& k) {
  if (!arity_is(args, 2) || !args_nonempty(args, 2)) return false;
  if (!first_kind_is(arg(args, 1), kind_unsigned, name)) return false;
  k = param_u32(arg(args, 1));
  return true;
}

template <bool largest>
bool k_extremes(column* result, const column_list* args, const char* name) {
  u32 k;
  if (!column_and_count(args, name, k)) return false;
  const column& a = arg(args, 0);
  const u64 n = a.values.size;
  const u64 m = k < n ? k : n;
  if (m == 0) {
    column_resize(*result, 0);
    return true;
  }
  const std::vector<u64> order = sorted_positions(a);
  if (largest) select_into(*result, a, [&](u64 i) { return order[n - 1 - i]; }, m);
  else select_into(*result, a, [&](u64 i) { return order[i]; }, m);
  return true;
}

// ------------------------------------------------------------------ distinct values

// Positions of the first occurrence of every distinct value, in column order. The set
// orders by val_order, a total order, so NaNs and nulls are values like any other.
std::vector<u64> first_occurrences(const column& c) {
  std::vector<u64> kept;
  val_tree set;
  for (u64 i = 0; i < c.values.size; ++i)
    if (set.insert(c.values[i], column_row_id_at(&c, i))) kept.push_back(i);
  return kept;
}

// ------------------------------------------------------------------ generators

bool count_parameter(const column_list* args, const char* name, u64& n) {
  if (!arity_is(args, 1) || !args_nonempty(args, 1)) return false;
  if (!first_kind_is(arg(args, 0), kind_unsigned, name)) return false;
  n = param_u64(arg(args, 0));
  return true;
}

bool is_ascii_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

namespace sql {

bool count(column* result, const column_list* args) {
  const column* a = only_argument(args, true, kind_any, nullptr);
  if (!a) return false;
  val n;
  val_from_u64(n, a->values.size);
  column_push(*result, n);
  return true;
}

bool sum(column* result, const column_list* args) {
  const column* a = only_argument(args, false, kind_any, nullptr);
  if (!a) return false;
  column_push(*result, a->values.size >= 2 && uniform_numbers(*a) ? uniform_sum(*a) : fold<val_add>(*a));
  return true;
}

bool product(column* result, const column_list* args) {
  const column* a = only_argument(args, false, kind_any, nullptr);
  if (!a) return false;
  column_push(*result, fold<val_mul>(*a));
  return true;
}

bool min(column* result, const column_list* args) { return extreme<false>(result, args); }
bool max(column* result, const column_list* args) { return extreme<true>(result, args); }

bool avg(column* result, const column_list* args) {
  const column* a = only_argument(args, false, kind_number, "avg");
  if (!a) return false;
  val mean;
  if (uniform_numbers(*a)) {
    mean = uniform_mean(*a);
  } else {
    // Mixed widths follow the cell arithmetic value by value.
    const val s = fold<val_add>(*a);
    val_div_count(s, a->values.size, mean);
  }
  column_push(*result, mean);
  return true;
}

bool first(column* result, const column_list* args) {
  const column* a = only_argument(args, false, kind_any, nullptr);
  if (!a) return false;
  column_push(*result, a->values[0]);
  return true;
}

bool last(column* result, const column_list* args) {
  const column* a = only_argument(args, false, kind_any, nullptr);
  if (!a) return false;
  column_push(*result, a->values[a->values.size - 1]);
  return true;
}

bool var(column* result, const column_list* args) { return variance(result, args, "var", false); }
// stddev is var followed by a square root, refusals and message included.
bool stddev(column* result, const column_list* args) { return variance(result, args, "var", true); }

bool sort(column* result, const column_list* args) {
  const column* a = only_argument(args, false, kind_any, nullptr);
  if (!a) return false;
  const std::vector<u64> order = sorted_positions(*a);
  select_into(*result, *a, [&](u64 i) { return order[i]; }, order.size());
  return true;
}

bool unique(column* result, const column_list* args) {
  const column* a = only_argument(args, false, kind_any, nullptr);
  if (!a) return false;
  const std::vector<u64> kept = first_occurrences(*a);
  select_into(*result, *a, [&](u64 i) { return kept[i]; }, kept.size());
  return true;
}

bool count_unique(column* result, const column_list* args) {
  const column* a = only_argument(args, false, kind_any, nullptr);
  if (!a) return false;
  val n;
  val_from_u64(n, first_occurrences(*a).size());
  replace_by(*result, n);
  return true;
}

bool min_k(column* result, const column_list* args) { return k_extremes<false>(result, args, "min_k"); }
bool max_k(column* result, const column_list* args) { return k_extremes<true>(result, args, "max_k"); }

bool first_k(column* result, const column_list* args) {
  u32 k;
  if (!column_and_count(args, "first_k", k)) return false;
  const column& a = arg(args, 0);
  const u64 m = k < a.values.size ? k : a.values.size;
  select_into(*result, a, [](u64 i) { return i; }, m);
  return true;
}

bool last_k(column* result, const column_list* args) {
  u32 k;
  if (!column_and_count(args, "last_k", k)) return false;
  const column& a = arg(args, 0);
  const u64 n = a.values.size;
  const u64 m = k < n ? k : n;
  select_into(*result, a, [&](u64 i) { return n - m + i; }, m);
  return true;
}

bool nth(column* result, const column_list* args) {
  u32 p;
  if (!column_and_count(args, "nth", p)) return false;
  const column& a = arg(args, 0);
  if (p == 0 || p > a.values.size) return false;
  select_into(*result, a, [&](u64) { return u64(p) - 1; }, 1);
  return true;
}

bool range(column* result, const column_list* args) {
  if (!arity_is(args, 3) || !args_nonempty(args, 3)) return false;
  if (!kind_in(arg(args, 1).values[0], kind_unsigned)) return report("invalid param 1 in range\n");
  if (!kind_in(arg(args, 2).values[0], kind_unsigned)) return report("invalid param 2 in range\n");
  const u64 a = param_u32(arg(args, 1)), b = param_u32(arg(args, 2));
  const column& c = arg(args, 0);
  const u64 n = c.values.size;
  if (a == 0 || a > b || a > n) return false;
  const u64 m = b < n ? b : n;
  select_into(*result, c, [&](u64 i) { return a - 1 + i; }, m - a + 1);
  return true;
}

bool seq(column* result, const column_list* args) {
  u64 n;
  if (!count_parameter(args, "seq", n)) return false;
  column_resize(*result, n);
  for (u64 i = 0; i < n; ++i) {
    val_from_u64(result->values[i], i);
    result->ids[i] = computed_row_id;
  }
  return true;
}

// One generator per call, seeded by one draw of the random device; each value is one
// 64-bit output scaled by 2^-64 into [0, 1].
bool rand(column* result, const column_list* args) {
  u64 n;
  if (!count_parameter(args, "rand", n)) return false;
  std::mt19937_64 engine(platform::current_random().next_u32());
  column_resize(*result, n);
  for (u64 i = 0; i < n; ++i) {
    val_from_double(result->values[i], double(engine()) * 5.421010862427522e-20);
    result->ids[i] = computed_row_id;
  }
  return true;
}

bool constants(column* result, const column_list* args) {
  u32 n;
  if (!column_and_count(args, "constants", n)) return false;
  const val& x = arg(args, 0).values[0];
  column_resize(*result, n);
  for (u64 i = 0; i < n; ++i) {
    val_assign(result->values[i], x);
    result->ids[i] = computed_row_id;
  }
  return true;
}

// Row r holds letter j (counted from the text's start) in upper case when bit j of r is
// set, so the first letter varies fastest: ab gives ab, Ab, aB, AB.
bool all_case(column* result, const column_list* args) {
  if (!arity_is(args, 1) || arg(args, 0).values.size != 1) return false;
  if (!first_kind_is(arg(args, 0), kind_text, "all_case")) return false;
  const val& t = arg(args, 0).values[0];
  const u64 len = t.len;
  u64 letters = 0;
  for (u64 i = 0; i < len; ++i) letters += is_ascii_letter(t.text[i]);
  if (letters > all_case_max_letters) {
    std::printf("too many letters in function all_case: %llu, at most %llu\n",
                static_cast<unsigned long long>(letters), static_cast<unsigned long long>(all_case_max_letters));
    return false;
  }
  if (len == 0) {
    column_resize(*result, 0);
    return true;
  }
  const u64 rows = u64(1) << letters;
  std::vector<char> buf(t.text, t.text + len);
  column_resize(*result, rows);
  for (u64 r = 0; r < rows; ++r) {
    u64 j = 0;
    for (u64 i = 0; i < len; ++i) {
      const char c = t.text[i];
      if (!is_ascii_letter(c)) continue;
      const bool upper = (r >> j++) & 1;
      buf[i] = upper ? char(c & ~0x20) : char(c | 0x20);
    }
    val_assign_str(result->values[r], buf.data(), len);
    result->ids[r] = computed_row_id;
  }
  return true;
}

}  // namespace sql

namespace {
bool always_fails(sql_library*, column*, const column_list*) noexcept { return false; }

const sql_function_def defs[] = {
    {"count", forward<sql::count>},
    {"sum", forward<sql::sum>},
    {"product", forward<sql::product>},
    {"min", forward<sql::min>},
    {"max", forward<sql::max>},
    {"avg", forward<sql::avg>},
    {"first", forward<sql::first>},
    {"last", forward<sql::last>},
    {"var", forward<sql::var>},
    {"stddev", forward<sql::stddev>},
    {"sort", forward<sql::sort>},
    {"unique", forward<sql::unique>},
    {"count_unique", forward<sql::count_unique>},
    {"min_k", forward<sql::min_k>},
    {"max_k", forward<sql::max_k>},
    {"first_k", forward<sql::first_k>},
    {"last_k", forward<sql::last_k>},
    {"nth", forward<sql::nth>},
    {"range", forward<sql::range>},
    {"seq", forward<sql::seq>},
    {"rand", forward<sql::rand>},
    {"constants", forward<sql::constants>},
    {"all_case", forward<sql::all_case>},
    {"row_id", always_fails},
    {"id", always_fails},
    {"now_id", always_fails},
};
}  // namespace

std::span<const sql_function_def> aggregate_functions() { return defs; }

}  // namespace kk::functions
