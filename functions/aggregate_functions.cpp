#include "functions/aggregate_functions.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <type_traits>
#include <vector>

#include "functions/function_call.h"
#include "functions/math_kernels.h"
#include "functions/merge_sort.h"
#include "platform/random_device.h"
#include "value/convert.h"

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

// Calls body(T{}) with the C++ type of a number kind; false for the other kinds.
template <class Body>
bool with_number_type(u8 k, Body&& body) {
  switch (k) {
    case kind_i08: body(i8{}); return true;
    case kind_u08: body(u8{}); return true;
    case kind_i16: body(i16{}); return true;
    case kind_u16: body(u16{}); return true;
    case kind_i32: body(i32{}); return true;
    case kind_u32: body(u32{}); return true;
    case kind_i64: body(i64{}); return true;
    case kind_u64: body(u64{}); return true;
    case kind_float: body(float{}); return true;
    case kind_double: body(double{}); return true;
    default: return false;
  }
}

// f(x, i) for every value read as T while each header equals the first's: one pass that
// gives up (false) at the first value of another type.
template <class T, class F>
bool each_uniform(const column& c, F&& f) {
  const u64 n = c.values.size;
  const val* v = c.values.data;
  const u8 type = v[0].type, size = v[0].size, sign = v[0].sign;
  for (u64 i = 0; i < n; ++i) {
    if (v[i].type != type || v[i].size != size || v[i].sign != sign) return false;
    f(load<T>(v[i]), i);
  }
  return true;
}

// sum of a column of one number type (two values or more): the widths and wrapping of
// val_add value by value. 1- and 2-byte integers widen by their sign into an "i32".
bool uniform_sum(const column& c, val& out) {
  bool ok = false;
  with_number_type(val_kind_index(c.values[0]), [&](auto zero) {
    using T = decltype(zero);
    if constexpr (std::is_floating_point_v<T>) {
      T s = load<T>(c.values[0]);
      ok = each_uniform<T>(c, [&](T x, u64 i) {
        if (i) s = x + s;
      });
      if constexpr (sizeof(T) == 4) val_from_float(out, s);
      else val_from_double(out, s);
    } else if constexpr (sizeof(T) == 8) {
      u64 s = 0;
      ok = each_uniform<T>(c, [&](T x, u64) { s += u64(x); });
      if constexpr (std::is_signed_v<T>) val_from_i64(out, i64(s));
      else val_from_u64(out, s);
    } else {
      u32 s = 0;
      ok = each_uniform<T>(c, [&](T x, u64) { s += u32(i64(x)); });
      if constexpr (sizeof(T) == 4 && !std::is_signed_v<T>) val_from_u32(out, s);
      else val_from_i32(out, i32(s));
    }
  });
  return ok;
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
bool uniform_extreme_at(const column& c, u64& at) {
  bool ok = false;
  at = 0;
  with_number_type(val_kind_index(c.values[0]), [&](auto zero) {
    using T = decltype(zero);
    T best = load<T>(c.values[0]);
    ok = each_uniform<T>(c, [&](T x, u64 i) {
      if (want_max ? best < x : x < best) best = x, at = i;
    });
  });
  return ok;
}

template <bool want_max>
bool extreme(column* result, const column_list* args) {
  const column* a = only_argument(args, false, kind_any, nullptr);
  if (!a) return false;
  u64 at;
  if (!uniform_extreme_at<want_max>(*a, at)) at = want_max ? extreme_at(*a, val_greater) : extreme_at(*a, val_less);
  column_push(*result, a->values[at]);
  return true;
}

// ------------------------------------------------------------------ avg

// The mean of a uniform number column, summed wide enough that no integer sum wraps and
// no float sum stalls; the result has the type the cell arithmetic gives it (a narrow
// integer column of two values or more sums into an "i32", hence a signed mean).
bool uniform_mean(const column& c, val& out) {
  const u64 n = c.values.size;
  const bool narrow_sum = c.values[0].size < val_size_4 && n >= 2;  // summed into an "i32"
  bool ok = false;
  with_number_type(val_kind_index(c.values[0]), [&](auto zero) {
    using T = decltype(zero);
    if constexpr (std::is_floating_point_v<T>) {
      // From the first value, as sum starts: a sum of negative zeros stays -0.
      double s = double(load<T>(c.values[0]));
      ok = each_uniform<T>(c, [&](T x, u64 i) {
        if (i) s += double(x);
      });
      if constexpr (sizeof(T) == 4) val_from_float(out, float(s / double(n)));
      else val_from_double(out, s / double(n));
    } else {
      using wide = std::conditional_t<std::is_signed_v<T>, std::conditional_t<sizeof(T) == 8, __int128, i64>,
                                      std::conditional_t<sizeof(T) == 8, unsigned __int128, u64>>;
      wide s = 0;
      ok = each_uniform<T>(c, [&](T x, u64) { s += wide(x); });
      const wide q = s / wide(n);
      if (std::is_signed_v<T> || narrow_sum) val_from_i64(out, i64(q));
      else val_from_u64(out, u64(q));
    }
  });
  return ok;
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

template <class K, class P>
struct sort_item {
  K key;
  P pos;
};

// The items and the merge's second array are one block taken without initialisation: each
// page is first written by the code that fills it, and the order is read where the last
// merge left it. Items are as narrow as the keys and positions allow (8 bytes for 32-bit
// keys of fewer than 2^32 rows): half the memory and traffic of the merge passes.
template <class P, class KeyOf, class Less, class Use>
void sort_by_key(const column& c, KeyOf key_of, Less less, Use& use) {
  const u64 n = c.values.size;
  using item = sort_item<decltype(key_of(c.values[0])), P>;
  static_assert(std::is_trivially_default_constructible_v<item>);
  const std::unique_ptr<item[]> block = std::make_unique_for_overwrite<item[]>(2 * n);
  item* items = block.get();
  for (u64 i = 0; i < n; ++i) items[i] = {key_of(c.values[i]), P(i)};
  const item* sorted =
      merge_sort_either(items, items + n, n, [&](const item& x, const item& y) { return less(x.key, y.key); });
  use([sorted](u64 rank) { return u64(sorted[rank].pos); });
}

// Hands `use` the positions of the argument's values in merge-sort order (see
// merge_sort.h), as a lookup from rank to position valid during the call.
template <class Use>
void with_sorted_positions(const column& c, Use&& use) {
  const u64 n = c.values.size;
  const bool narrow = n <= 0xFFFFFFFFu;
  auto run = [&](auto key_of, auto less) {
    if (narrow) sort_by_key<u32>(c, key_of, less, use);
    else sort_by_key<u64>(c, key_of, less, use);
  };
  auto plain_less = [](auto x, auto y) { return x < y; };
  if (n && uniform_numbers(c)) {
    // Keys of 1, 2 and 4 byte types fit in 32 bits, which order them alike.
    const u8 k = val_kind_index(c.values[0]);
    const bool four = c.values[0].size <= val_size_4;
    if (k == kind_float) run([](const val& v) { return float(real_of(v)); }, plain_less);
    else if (k == kind_double) run(real_of, plain_less);
    else if (is_signed_kind(k) && four) run([](const val& v) { return i32(signed_of(v)); }, plain_less);
    else if (is_signed_kind(k)) run(signed_of, plain_less);
    else if (four) run([](const val& v) { return u32(unsigned_of(v)); }, plain_less);
    else run(unsigned_of, plain_less);
  } else {
    run([](const val& v) { return &v; }, [](const val* x, const val* y) { return val_less(*x, *y); });
  }
}

// val_assign, with the plain copy of a cell when neither side holds a text block.
void assign_cell(val& target, const val& src) {
  if (target.type != val_type_text && src.type != val_type_text) std::memcpy(static_cast<void*>(&target), &src, sizeof(val));
  else val_assign(target, src);
}

// The result becomes the argument's values at these positions with their row ids.
template <class Positions>
void select_into(column& result, const column& a, const Positions& pos, u64 m) {
  column_resize(result, m);
  for (u64 i = 0; i < m; ++i) {
    const u64 p = pos(i);
    assign_cell(result.values[i], a.values[p]);
    result.ids[i] = p < a.ids.size ? a.ids[p] : column_row_id_at(&a, p);
  }
}

// Steps 1-4 of the two-argument selections: a non-empty column and an unsigned count.
bool column_and_count(const column_list* args, const char* name, u32& k) {
  if (!arity_is(args, 2) || !args_nonempty(args, 2)) return false;
  if (!first_kind_is(arg(args, 1), kind_unsigned, name)) return false;
  k = param_u32(arg(args, 1));
  return true;
}

// ------------------------------------------------------------------ k smallest, k largest

// In the merge sort's order equal values come out by descending position: a merge takes
// the right run's item on a tie, and a right run lies after its left run. Over values that
// compare as a strict weak order that is the total order (value, position descending), so
// min_k's rows, the first m of it, and max_k's, its last m read backwards, are found by
// selection without ordering the other rows. The values compare so when every cell has the
// first cell's header, that header is one of the fourteen kinds, and no float is NaN; other
// columns (mixed kinds or widths, nulls, NaNs) go through the whole merge sort, whose order
// over them has no shorter description.

template <class K, class P>
struct ranked_item {
  K key;
  P pos;
};

// A heap of m items pays off while m is this small a share of the column; beyond it all the
// column's items are partitioned around the m-th instead.
constexpr u64 heap_share = 16;

// Positions of the first m rows of the result in its order; false, leaving `out` unread,
// when a cell breaks the strict weak order. Items are as narrow as the keys and positions
// allow (8 bytes for 32-bit keys of fewer than 2^32 rows), as the merge sort's are.
template <bool largest, class P, class KeyOf, class Less>
bool first_ranked(const column& c, u64 m, KeyOf key_of, Less less, std::vector<u64>& out) {
  using K = decltype(key_of(c.values[0]));
  using item = ranked_item<K, P>;
  static_assert(std::is_trivially_default_constructible_v<item>);
  const auto before = [&less](const item& x, const item& y) {
    if constexpr (largest) return less(y.key, x.key) || (!less(x.key, y.key) && x.pos < y.pos);
    else return less(x.key, y.key) || (!less(y.key, x.key) && x.pos > y.pos);
  };
  const u64 n = c.values.size;
  const val* v = c.values.data;
  const u8 type = v[0].type, size = v[0].size, sign = v[0].sign;
  const auto read = [&](u64 i, item& x) {
    if (v[i].type != type || v[i].size != size || v[i].sign != sign) return false;
    x = {key_of(v[i]), P(i)};
    if constexpr (std::is_floating_point_v<K>) return x.key == x.key;
    else return true;
  };
  const u64 held = m <= n / heap_share ? m : n;
  const std::unique_ptr<item[]> block = std::make_unique_for_overwrite<item[]>(held);
  item* const items = block.get();
  for (u64 i = 0; i < held; ++i)
    if (!read(i, items[i])) return false;
  if (held == m) {
    // The best m so far, the last of them in the order on top.
    std::make_heap(items, items + m, before);
    for (u64 i = m; i < n; ++i) {
      item x;
      if (!read(i, x)) return false;
      if (!before(x, items[0])) continue;
      std::pop_heap(items, items + m, before);
      items[m - 1] = x;
      std::push_heap(items, items + m, before);
    }
    std::sort_heap(items, items + m, before);
  } else {
    std::nth_element(items, items + m, items + n, before);
    std::sort(items, items + m, before);
  }
  out.resize(m);
  for (u64 i = 0; i < m; ++i) out[i] = u64(items[i].pos);
  return true;
}

template <bool largest>
bool select_ranked(const column& c, u64 m, std::vector<u64>& out) {
  const u8 k = val_kind_index(c.values[0]);
  const auto go = [&](auto key_of, auto less) {
    if (c.values.size <= 0xFFFFFFFFu) return first_ranked<largest, u32>(c, m, key_of, less, out);
    return first_ranked<largest, u64>(c, m, key_of, less, out);
  };
  const auto plain_less = [](auto x, auto y) { return x < y; };
  bool ok = false;
  if (with_number_type(k, [&](auto zero) {
        // Keys of 1, 2 and 4 byte integers fit in 32 bits, which order them alike.
        using T = decltype(zero);
        using key = std::conditional_t<std::is_floating_point_v<T> || sizeof(T) == 8, T,
                                       std::conditional_t<std::is_signed_v<T>, i32, u32>>;
        ok = go([](const val& x) { return key(load<T>(x)); }, plain_less);
      }))
    return ok;
  if (k < kind_count)
    return go([](const val& x) { return &x; }, [](const val* x, const val* y) { return val_less(*x, *y); });
  return false;
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
  std::vector<u64> ranked;
  if (select_ranked<largest>(a, m, ranked)) {
    select_into(*result, a, [&ranked](u64 i) { return ranked[i]; }, m);
    return true;
  }
  with_sorted_positions(a, [&](auto position) {
    if (largest) select_into(*result, a, [&](u64 i) { return position(n - 1 - i); }, m);
    else select_into(*result, a, position, m);
  });
  return true;
}

// ------------------------------------------------------------------ distinct values

// A hash that agrees with val_order: cells that order equal hash equal (every NaN of a
// kind alike, +0 like -0, a date by its date fields only, every null or malformed cell alike).
u64 mix64(u64 x) {
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdull;
  x ^= x >> 33;
  x *= 0xc4ceb9fe1a85ec53ull;
  return x ^ (x >> 33);
}

u64 load_bytes(const char* p, u64 n) {
  u64 w = 0;
  std::memcpy(&w, p, n);
  return w;
}

u64 order_hash(const val& v) {
  const u8 k = val_kind_index(v);
  u64 h = u64(k) << 56;
  switch (k) {
    case kind_none: break;
    case kind_float:
    case kind_double: {
      const double x = real_of(v);
      if (x != x) h ^= 0x7ff8;
      else if (x != 0) h ^= std::bit_cast<u64>(x);
      break;
    }
    case kind_string: {
      h ^= v.len;
      u64 i = 0;
      for (; i + 8 <= v.len; i += 8) h = mix64(h ^ load_bytes(v.text + i, 8));
      if (i < v.len) h = mix64(h ^ load_bytes(v.text + i, v.len - i));
      break;
    }
    case kind_date:
    case kind_time:
    case kind_datetime: {
      const datetime_fields f = val_fields(v);
      if (k != kind_time) h ^= u64(f.year) << 16 | u64(f.month) << 8 | f.day;
      if (k != kind_date) h ^= (u64(f.hour) << 16 | u64(f.minute) << 8 | f.second) << 24 ^ u64(f.nanosecond) << 28;
      break;
    }
    default: h ^= unsigned_of(v); break;  // integers: the bits of their width
  }
  return mix64(h);
}

// Positions of the first occurrence of every distinct value, in column order. Values are
// distinct under val_order, a total order, so NaNs and nulls are values like any other. An
// open-addressing set of positions (no copies of the values) keyed by order_hash.
template <class Hash, class Same>
std::vector<u64> first_occurrences(const column& c, Hash hash, Same same_value) {
  struct slot {
    u64 hash;
    u64 pos;  // ~0: empty
  };
  constexpr u64 empty = ~u64(0);
  std::vector<u64> kept;
  std::vector<slot> table(64, slot{0, empty});
  u64 mask = table.size() - 1;
  for (u64 i = 0; i < c.values.size; ++i) {
    const val& v = c.values[i];
    const u64 h = hash(v);
    u64 at = h & mask;
    bool seen = false;
    while (table[at].pos != empty) {
      if (table[at].hash == h && same_value(c.values[table[at].pos], v)) {
        seen = true;
        break;
      }
      at = (at + 1) & mask;
    }
    if (seen) continue;
    table[at] = {h, i};
    kept.push_back(i);
    if (2 * kept.size() > table.size()) {
      std::vector<slot> bigger(2 * table.size(), slot{0, empty});
      mask = bigger.size() - 1;
      for (const slot& s : table) {
        if (s.pos == empty) continue;
        u64 j = s.hash & mask;
        while (bigger[j].pos != empty) j = (j + 1) & mask;
        bigger[j] = s;
      }
      table.swap(bigger);
    }
  }
  return kept;
}

std::vector<u64> first_occurrences(const column& c) {
  // A column of one integer type orders equal exactly when the bits of its width are equal.
  const u8 k = c.values.size ? val_kind_index(c.values[0]) : u8(kind_none);
  if (k <= kind_u64 && uniform_numbers(c))
    return first_occurrences(
        c, [](const val& v) { return mix64(unsigned_of(v)); },
        [](const val& a, const val& b) { return unsigned_of(a) == unsigned_of(b); });
  return first_occurrences(c, order_hash, [](const val& a, const val& b) { return val_order(a, b) == 0; });
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
  val s;
  if (a->values.size < 2 || !uniform_sum(*a, s)) s = fold<val_add>(*a);
  column_push(*result, s);
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
  if (!uniform_mean(*a, mean)) {
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
  with_sorted_positions(*a, [&](auto position) { select_into(*result, *a, position, a->values.size); });
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
