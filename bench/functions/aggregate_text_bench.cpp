// Aggregates, selections and text functions over columns, each against the plain C++ code
// that computes the same answer from std containers: loops over std::vector<int32_t>,
// std::stable_sort, std::partial_sort_copy, std::unordered_set, std::string transforms and
// searches, one generator.
// Aggregates get an emptied result column per call (they append); the others reuse their
// result column, as the plain code reuses its output vectors. faults/iter: pages the process
// mapped afresh per call (scratch memory that is allocated and touched anew every time).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "bench_columns.h"
#include "functions/column.h"
#include "functions/registry.h"
#include "platform/random_device.h"
#include "value/now.h"

namespace {

using kk::functions::column;
using kk::functions::column_list;

constexpr std::uint64_t rows = 10'000'000;
constexpr std::uint64_t text_rows = 1'000'000;

std::uint64_t mix(std::uint64_t x) {
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdull;
  x ^= x >> 33;
  return x;
}

// About 2^20 distinct values, in random order.
const std::vector<std::int32_t>& plain_ints() {
  static const std::vector<std::int32_t> v = [] {
    std::vector<std::int32_t> d(rows);
    for (std::uint64_t i = 0; i < rows; ++i) d[i] = std::int32_t(mix(i + 1) % (1u << 20)) - (1 << 19);
    return d;
  }();
  return v;
}

column& int_column() {
  static column c = bench_functions::column_of(rows, [](kk::val& v, std::uint64_t i) {
    kk::val_from_i32(v, plain_ints()[i]);
  });
  return c;
}

// Mixed-case ASCII words of 8 to 40 bytes, some holding "needle".
const std::vector<std::string>& plain_texts() {
  static const std::vector<std::string> v = [] {
    std::vector<std::string> d(text_rows);
    for (std::uint64_t i = 0; i < text_rows; ++i) {
      const std::uint64_t h = mix(i + 7);
      std::string s(8 + h % 33, 'a');
      for (std::uint64_t j = 0; j < s.size(); ++j) s[j] = char((j % 3 ? 'a' : 'A') + mix(h + j) % 26);
      if (h % 4 == 0) s.replace(s.size() / 2, 6 < s.size() / 2 ? 6 : s.size() / 2, "needle");
      d[i] = s;
    }
    return d;
  }();
  return v;
}

column& text_column() {
  static column c = bench_functions::column_of(text_rows, [](kk::val& v, std::uint64_t i) {
    kk::val_from_bytes(v, plain_texts()[i].data(), plain_texts()[i].size());
  });
  return c;
}

column& one_text(const char* s) {
  static column c;
  kk::functions::column_resize(c, 1);
  kk::val_from_bytes(c.values[0], s, std::char_traits<char>::length(s));
  c.ids[0] = 0;
  return c;
}

long minor_faults() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_minflt;
}

void count_faults(benchmark::State& state, long since) {
  state.counters["faults/iter"] = double(minor_faults() - since) / double(state.iterations());
}

void run(benchmark::State& state, const char* name, std::vector<column*> args, bool appends, std::uint64_t n) {
  const kk::functions::sql_function f = kk::functions::find_sql_function(name);
  std::vector<column> copies;
  for (column* a : args) copies.push_back(*a);
  column_list list{copies.data(), copies.size()};
  column result;
  f(nullptr, &result, &list);
  const long faults0 = minor_faults();
  for (auto _ : state) {
    if (appends) kk::functions::column_resize(result, 0);
    if (!f(nullptr, &result, &list)) state.SkipWithError("call failed");
    benchmark::DoNotOptimize(result.values.data);
    benchmark::ClobberMemory();
  }
  count_faults(state, faults0);
  state.SetItemsProcessed(std::int64_t(state.iterations() * n));
}

// ------------------------------------------------------------------ 10^7 values

void count_sql(benchmark::State& s) { run(s, "count", {&int_column()}, true, rows); }
void count_plain(benchmark::State& s) {
  for (auto _ : s) {
    std::uint64_t n = plain_ints().size();
    benchmark::DoNotOptimize(n);
  }
  s.SetItemsProcessed(std::int64_t(s.iterations() * rows));
}

void sum_sql(benchmark::State& s) { run(s, "sum", {&int_column()}, true, rows); }
void sum_plain(benchmark::State& s) {
  for (auto _ : s) {
    std::uint32_t acc = 0;  // the cell sum wraps in 32 bits
    for (std::int32_t x : plain_ints()) acc += std::uint32_t(x);
    benchmark::DoNotOptimize(acc);
  }
  s.SetItemsProcessed(std::int64_t(s.iterations() * rows));
}

// The memory floor of any pass over a column: the 4-byte payloads read out of 32-byte cells.
void sum_cell_floor(benchmark::State& s) {
  struct cell {
    unsigned char bytes[32];
  };
  std::vector<cell> cells(rows);
  for (std::uint64_t i = 0; i < rows; ++i) std::memcpy(cells[i].bytes, &plain_ints()[i], 4);
  for (auto _ : s) {
    std::uint32_t acc = 0;
    for (const cell& c : cells) {
      std::uint32_t x;
      std::memcpy(&x, c.bytes, 4);
      acc += x;
    }
    benchmark::DoNotOptimize(acc);
  }
  s.SetItemsProcessed(std::int64_t(s.iterations() * rows));
}

void avg_sql(benchmark::State& s) { run(s, "avg", {&int_column()}, true, rows); }
void avg_plain(benchmark::State& s) {
  for (auto _ : s) {
    std::int64_t acc = 0;
    for (std::int32_t x : plain_ints()) acc += x;
    std::int64_t mean = acc / std::int64_t(rows);
    benchmark::DoNotOptimize(mean);
  }
  s.SetItemsProcessed(std::int64_t(s.iterations() * rows));
}

void min_sql(benchmark::State& s) { run(s, "min", {&int_column()}, true, rows); }
void min_plain(benchmark::State& s) {
  for (auto _ : s) {
    std::int32_t m = plain_ints()[0];
    for (std::int32_t x : plain_ints())
      if (x < m) m = x;
    benchmark::DoNotOptimize(m);
  }
  s.SetItemsProcessed(std::int64_t(s.iterations() * rows));
}

void sort_sql(benchmark::State& s) { run(s, "sort", {&int_column()}, false, rows); }

using value_id = std::pair<std::int32_t, std::uint64_t>;

// The function's own item for a column of 32-bit values under 2^32 rows: the value and its
// position in 8 bytes.
struct key_pos {
  std::int32_t key;
  std::uint32_t pos;
};

// The values with their row ids in the order of a merge sort by value, the plain way: the
// same 8-byte items ordered by std::stable_sort with an inlined comparison (its merge buffer
// taken per call, as the function's scratch is), then each value and its row id (here its
// position) written into the reused output.
void sort_std_stable(benchmark::State& s) {
  std::vector<key_pos> items(rows);
  std::vector<value_id> out(rows);
  const long faults0 = minor_faults();
  for (auto _ : s) {
    for (std::uint64_t i = 0; i < rows; ++i) items[i] = {plain_ints()[i], std::uint32_t(i)};
    std::stable_sort(items.begin(), items.end(), [](const key_pos& a, const key_pos& b) { return a.key < b.key; });
    for (std::uint64_t i = 0; i < rows; ++i) out[i] = {items[i].key, items[i].pos};
    benchmark::DoNotOptimize(out.data());
  }
  count_faults(s, faults0);
  s.SetItemsProcessed(std::int64_t(s.iterations() * rows));
}

// For scale, not a peer: the same items by introsort, which is not stable and needs no buffer.
void sort_std_introsort(benchmark::State& s) {
  std::vector<key_pos> items(rows);
  std::vector<value_id> out(rows);
  for (auto _ : s) {
    for (std::uint64_t i = 0; i < rows; ++i) items[i] = {plain_ints()[i], std::uint32_t(i)};
    std::sort(items.begin(), items.end(), [](const key_pos& a, const key_pos& b) { return a.key < b.key; });
    for (std::uint64_t i = 0; i < rows; ++i) out[i] = {items[i].key, items[i].pos};
    benchmark::DoNotOptimize(out.data());
  }
  s.SetItemsProcessed(std::int64_t(s.iterations() * rows));
}

column& count_column(std::uint32_t k) {
  static column c;
  kk::functions::column_resize(c, 1);
  kk::val_from_u32(c.values[0], k);
  c.ids[0] = 0;
  return c;
}

// The k smallest values with their row ids (k = 1000 and 10^6): min_k selects them without
// ordering the rest of the column.
void min_k_sql(benchmark::State& s) {
  run(s, "min_k", {&int_column(), &count_column(std::uint32_t(s.range(0)))}, false, rows);
}

// Its peer: std::partial_sort_copy of the column's (value, row id) pairs into the reused
// output, ordered by value and, among equal values, by descending row id, which gives the
// function's rows in its order (checked against the function before timing).
void min_k_partial_sort_copy(benchmark::State& s) {
  const std::uint64_t k = std::uint64_t(s.range(0));
  std::vector<value_id> pairs(rows), out(k);
  for (std::uint64_t i = 0; i < rows; ++i) pairs[i] = {plain_ints()[i], i};
  const auto before = [](const value_id& a, const value_id& b) {
    return a.first < b.first || (a.first == b.first && a.second > b.second);
  };
  {
    std::vector<column> args = {int_column(), count_column(std::uint32_t(k))};
    column_list list{args.data(), args.size()};
    column want;
    kk::functions::find_sql_function("min_k")(nullptr, &want, &list);
    std::partial_sort_copy(pairs.begin(), pairs.end(), out.begin(), out.end(), before);
    for (std::uint64_t i = 0; i < k; ++i)
      if (want.ids[i] != out[i].second || kk::val_as_i32(want.values[i]) != out[i].first)
        return s.SkipWithError("not the function's rows");
  }
  for (auto _ : s) {
    std::partial_sort_copy(pairs.begin(), pairs.end(), out.begin(), out.end(), before);
    benchmark::DoNotOptimize(out.data());
  }
  s.SetItemsProcessed(std::int64_t(s.iterations() * rows));
}

void unique_sql(benchmark::State& s) { run(s, "unique", {&int_column()}, false, rows); }
// First occurrences in column order with their row ids.
void unique_std(benchmark::State& s) {
  std::vector<std::pair<std::int32_t, std::uint64_t>> out;
  for (auto _ : s) {
    std::unordered_set<std::int32_t> seen;
    out.clear();
    for (std::uint64_t i = 0; i < rows; ++i)
      if (seen.insert(plain_ints()[i]).second) out.push_back({plain_ints()[i], i});
    benchmark::DoNotOptimize(out.data());
  }
  s.SetItemsProcessed(std::int64_t(s.iterations() * rows));
}

// ------------------------------------------------------------------ 10^6 texts

void lcase_sql(benchmark::State& s) { run(s, "lcase", {&text_column()}, false, text_rows); }
void lcase_plain(benchmark::State& s) {
  std::vector<std::string> out(text_rows);
  for (auto _ : s) {
    for (std::uint64_t i = 0; i < text_rows; ++i) {
      const std::string& t = plain_texts()[i];
      out[i].resize(t.size());
      std::transform(t.begin(), t.end(), out[i].begin(), [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; });
    }
    benchmark::DoNotOptimize(out.data());
  }
  s.SetItemsProcessed(std::int64_t(s.iterations() * text_rows));
}

void concat_sql(benchmark::State& s) { run(s, "concat", {&text_column(), &one_text("-suffix")}, false, text_rows); }
void concat_plain(benchmark::State& s) {
  std::vector<std::string> out(text_rows);
  for (auto _ : s) {
    for (std::uint64_t i = 0; i < text_rows; ++i) {
      out[i].assign(plain_texts()[i]);
      out[i].append("-suffix");
    }
    benchmark::DoNotOptimize(out.data());
  }
  s.SetItemsProcessed(std::int64_t(s.iterations() * text_rows));
}

void find_first_sql(benchmark::State& s) {
  run(s, "find_first", {&text_column(), &one_text("needle")}, false, text_rows);
}
void find_first_plain(benchmark::State& s) {
  std::vector<std::uint64_t> out(text_rows);
  for (auto _ : s) {
    for (std::uint64_t i = 0; i < text_rows; ++i) out[i] = std::string_view(plain_texts()[i]).find("needle");
    benchmark::DoNotOptimize(out.data());
  }
  s.SetItemsProcessed(std::int64_t(s.iterations() * text_rows));
}

// ------------------------------------------------------------------ 10^6 random values

column& count_one_million() {
  static column c = [] {
    column k;
    kk::functions::column_resize(k, 1);
    kk::val_from_u32(k.values[0], std::uint32_t(text_rows));
    k.ids[0] = 0;
    return k;
  }();
  return c;
}

void rand_sql(benchmark::State& s) { run(s, "rand", {&count_one_million()}, false, text_rows); }
// The same work as a plain loop: one generator seeded once per call, n draws scaled into
// [0, 1] in the reused output.
void rand_plain_loop(benchmark::State& s) {
  std::vector<double> out(text_rows);
  for (auto _ : s) {
    std::mt19937_64 engine(kk::platform::current_random().next_u32());
    for (std::uint64_t i = 0; i < text_rows; ++i) out[i] = double(engine()) * 5.421010862427522e-20;
    benchmark::DoNotOptimize(out.data());
  }
  s.SetItemsProcessed(std::int64_t(s.iterations() * text_rows));
}
// For scale, not a peer: one freshly seeded generator per value, each from the random device.
void rand_seed_per_value(benchmark::State& s) {
  std::vector<double> out(text_rows);
  for (auto _ : s) {
    for (std::uint64_t i = 0; i < text_rows; ++i) out[i] = double(kk::random_seed(0)) * 5.421010862427522e-20;
    benchmark::DoNotOptimize(out.data());
  }
  s.SetItemsProcessed(std::int64_t(s.iterations() * text_rows));
}

}  // namespace

BENCHMARK(count_sql)->Unit(benchmark::kMillisecond);
BENCHMARK(count_plain)->Unit(benchmark::kMillisecond);
BENCHMARK(sum_sql)->Unit(benchmark::kMillisecond);
BENCHMARK(sum_plain)->Unit(benchmark::kMillisecond);
BENCHMARK(sum_cell_floor)->Unit(benchmark::kMillisecond);
BENCHMARK(avg_sql)->Unit(benchmark::kMillisecond);
BENCHMARK(avg_plain)->Unit(benchmark::kMillisecond);
BENCHMARK(min_sql)->Unit(benchmark::kMillisecond);
BENCHMARK(min_plain)->Unit(benchmark::kMillisecond);
BENCHMARK(sort_sql)->Unit(benchmark::kMillisecond);
BENCHMARK(sort_std_stable)->Unit(benchmark::kMillisecond);
BENCHMARK(sort_std_introsort)->Unit(benchmark::kMillisecond);
BENCHMARK(min_k_sql)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(min_k_partial_sort_copy)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(unique_sql)->Unit(benchmark::kMillisecond);
BENCHMARK(unique_std)->Unit(benchmark::kMillisecond);
BENCHMARK(lcase_sql)->Unit(benchmark::kMillisecond);
BENCHMARK(lcase_plain)->Unit(benchmark::kMillisecond);
BENCHMARK(concat_sql)->Unit(benchmark::kMillisecond);
BENCHMARK(concat_plain)->Unit(benchmark::kMillisecond);
BENCHMARK(find_first_sql)->Unit(benchmark::kMillisecond);
BENCHMARK(find_first_plain)->Unit(benchmark::kMillisecond);
BENCHMARK(rand_sql)->Unit(benchmark::kMillisecond);
BENCHMARK(rand_plain_loop)->Unit(benchmark::kMillisecond);
BENCHMARK(rand_seed_per_value)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
