// Numeric SQL functions over columns of 10^7 values, each against the plain C++ loop over
// std::vector<double> that does the same arithmetic (the limit). The result column is
// allocated before the timing and reused, as the plain loop reuses its output vector.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "bench_columns.h"
#include "functions/column.h"
#include "functions/registry.h"

namespace {

using kk::functions::column;
using kk::functions::column_list;

constexpr std::uint64_t rows = 10'000'000;

double sample(std::uint64_t i) { return double(i % 1000) * 0.37 - 150.0; }

const std::vector<double>& plain_doubles() {
  static const std::vector<double> v = [] {
    std::vector<double> d(rows);
    for (std::uint64_t i = 0; i < rows; ++i) d[i] = sample(i);
    return d;
  }();
  return v;
}

const std::vector<std::int32_t>& plain_ints() {
  static const std::vector<std::int32_t> v = [] {
    std::vector<std::int32_t> d(rows);
    for (std::uint64_t i = 0; i < rows; ++i) d[i] = std::int32_t(i % 100000) - 50000;
    return d;
  }();
  return v;
}

column& double_column() {
  static column c = bench_functions::column_of(rows, [](kk::val& v, std::uint64_t i) {
    kk::val_from_double(v, sample(i));
  });
  return c;
}

column& int_column() {
  static column c = bench_functions::column_of(rows, [](kk::val& v, std::uint64_t i) {
    kk::val_from_i32(v, plain_ints()[i]);
  });
  return c;
}

void run(benchmark::State& state, const char* name, column* args, std::uint64_t n_args) {
  const kk::functions::sql_function f = kk::functions::find_sql_function(name);
  column result;
  column_list list{args, n_args};
  f(nullptr, &result, &list);  // the result's storage, as the plain loop's output exists
  for (auto _ : state) {
    if (!f(nullptr, &result, &list)) state.SkipWithError("call failed");
    benchmark::DoNotOptimize(result.values.data);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(std::int64_t(state.iterations() * rows));
}

template <class Op>
void plain(benchmark::State& state, const std::vector<double>& in, Op op) {
  std::vector<double> out(rows);
  for (auto _ : state) {
    for (std::uint64_t i = 0; i < rows; ++i) out[i] = op(in[i]);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(std::int64_t(state.iterations() * rows));
}

// The memory floor of any function over value cells: a plain loop that reads and writes
// 32-byte records holding a double and fills an 8-byte row id per row, as a column does.
void cell_floor_plain(benchmark::State& s) {
  struct cell {
    double x;
    char rest[24];
  };
  std::vector<cell> in(rows), out(rows);
  std::vector<std::uint64_t> ids(rows);
  for (std::uint64_t i = 0; i < rows; ++i) in[i].x = sample(i);
  for (auto _ : s) {
    for (std::uint64_t i = 0; i < rows; ++i) {
      out[i].x = in[i].x < 0 ? -in[i].x : in[i].x;
      ids[i] = ~std::uint64_t(0);
    }
    benchmark::DoNotOptimize(out.data());
    benchmark::DoNotOptimize(ids.data());
    benchmark::ClobberMemory();
  }
  s.SetItemsProcessed(std::int64_t(s.iterations() * rows));
}

void x2dbl_sql(benchmark::State& s) { run(s, "x2dbl", &int_column(), 1); }
void x2dbl_plain(benchmark::State& s) {
  const std::vector<std::int32_t>& in = plain_ints();
  std::vector<double> out(rows);
  for (auto _ : s) {
    for (std::uint64_t i = 0; i < rows; ++i) out[i] = double(in[i]);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  s.SetItemsProcessed(std::int64_t(s.iterations() * rows));
}

void abs_sql(benchmark::State& s) { run(s, "abs", &double_column(), 1); }
void abs_plain(benchmark::State& s) { plain(s, plain_doubles(), [](double x) { return x < 0 ? -x : x; }); }
void sqrt_sql(benchmark::State& s) { run(s, "sqrt", &double_column(), 1); }
void sqrt_plain(benchmark::State& s) { plain(s, plain_doubles(), [](double x) { return std::sqrt(x); }); }
void round_sql(benchmark::State& s) { run(s, "round", &double_column(), 1); }
void round_plain(benchmark::State& s) { plain(s, plain_doubles(), [](double x) { return std::round(x); }); }

// pow of every value to one integer exponent (broadcast).
void pow_sql(benchmark::State& s) {
  static column exponent = [] {
    column k;
    kk::functions::column_resize(k, 1);
    kk::val_from_i32(k.values[0], 3);
    k.ids[0] = 0;
    return k;
  }();
  column args[2] = {double_column(), exponent};
  run(s, "pow", args, 2);
}
void pow_plain(benchmark::State& s) { plain(s, plain_doubles(), [](double x) { return std::pow(x, 3.0); }); }

}  // namespace

BENCHMARK(cell_floor_plain)->Unit(benchmark::kMillisecond);
BENCHMARK(x2dbl_plain)->Unit(benchmark::kMillisecond);
BENCHMARK(x2dbl_sql)->Unit(benchmark::kMillisecond);
BENCHMARK(abs_plain)->Unit(benchmark::kMillisecond);
BENCHMARK(abs_sql)->Unit(benchmark::kMillisecond);
BENCHMARK(sqrt_plain)->Unit(benchmark::kMillisecond);
BENCHMARK(sqrt_sql)->Unit(benchmark::kMillisecond);
BENCHMARK(round_plain)->Unit(benchmark::kMillisecond);
BENCHMARK(round_sql)->Unit(benchmark::kMillisecond);
BENCHMARK(pow_plain)->Unit(benchmark::kMillisecond);
BENCHMARK(pow_sql)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
