// add_day and day_diff over columns of 10^7 dates against a plain loop of the same calendar
// arithmetic over std::vector, and hash_passwd per hash against the generator work of one
// hash: done plainly (one seeding and one draw after another, only the state words the draw
// needs), and with the standard library's full-state engines.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "bench_columns.h"
#include "functions/column.h"
#include "functions/date_time_functions.h"
#include "functions/mersenne_twister.h"
#include "functions/password_hash.h"
#include "value/calendar.h"
#include "value/startup_tables.h"

namespace {

using namespace kk;
using namespace kk::functions;

constexpr size_t date_count = 10000000;

void tables() {
  if (!startup_tables_ready()) startup_tables_init();
}

const std::vector<datetime_fields>& plain_dates(int which) {
  static std::vector<datetime_fields> v[2];
  if (v[which].empty()) {
    tables();
    std::mt19937_64 g(which + 1);
    std::uniform_int_distribution<uint32_t> day(1, date_to_days(9999, 12, 31));
    v[which].resize(date_count);
    for (auto& f : v[which]) days_to_civil(day(g), f.year, f.month, f.day);
  }
  return v[which];
}

const column& date_column(int which) {
  static column c[2];
  if (c[which].values.size == 0) {
    const auto& p = plain_dates(which);
    c[which] = bench_functions::column_of(p.size(), [&p](val& v, std::uint64_t i) {
      val_from_date(v, p[i].year, p[i].month, p[i].day);
    });
  }
  return c[which];
}

column one_value(const val& v) {
  column c;
  column_push(c, v, 0);
  return c;
}

void BM_add_day(benchmark::State& state) {
  column args[2] = {date_column(0), one_value([] { val v; val_from_i32(v, -1000); return v; }())};
  const column_list list{args, 2};
  column result;
  sql::add_day(&result, &list);  // the result's cells exist before timing, as the plain loop's
  for (auto _ : state) {
    if (!sql::add_day(&result, &list)) state.SkipWithError("add_day failed");
    benchmark::DoNotOptimize(result.values.data);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(date_count));
}
BENCHMARK(BM_add_day)->Unit(benchmark::kMillisecond);

// The limit: the same day arithmetic on plain fields, no cells, no columns.
void BM_add_day_plain_loop(benchmark::State& state) {
  const auto& in = plain_dates(0);
  std::vector<datetime_fields> out(in.size());
  for (auto _ : state) {
    for (size_t i = 0; i < in.size(); ++i) {
      datetime_fields f = in[i];
      const uint32_t n = date_to_days(f.year, f.month, f.day) - 1000u;
      days_to_civil(n, f.year, f.month, f.day);
      out[i] = f;
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(date_count));
}
BENCHMARK(BM_add_day_plain_loop)->Unit(benchmark::kMillisecond);

void BM_day_diff(benchmark::State& state) {
  column args[2] = {date_column(0), date_column(1)};
  const column_list list{args, 2};
  column result;
  sql::day_diff(&result, &list);
  for (auto _ : state) {
    if (!sql::day_diff(&result, &list)) state.SkipWithError("day_diff failed");
    benchmark::DoNotOptimize(result.values.data);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(date_count));
}
BENCHMARK(BM_day_diff)->Unit(benchmark::kMillisecond);

void BM_day_diff_plain_loop(benchmark::State& state) {
  const auto& a = plain_dates(0);
  const auto& b = plain_dates(1);
  std::vector<int32_t> out(a.size());
  for (auto _ : state) {
    for (size_t i = 0; i < a.size(); ++i)
      out[i] = int32_t(date_to_days(a[i].year, a[i].month, a[i].day)) -
               int32_t(date_to_days(b[i].year, b[i].month, b[i].day));
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(date_count));
}
BENCHMARK(BM_day_diff_plain_loop)->Unit(benchmark::kMillisecond);

void BM_hash_passwd(benchmark::State& state) {
  const std::string text(size_t(state.range(0)), 'p');
  for (auto _ : state) {
    bytes h = hash_passwd_text(text.data(), text.size());
    benchmark::DoNotOptimize(h.data);
  }
  state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_hash_passwd)->Arg(8)->Arg(64)->Arg(1000)->Unit(benchmark::kMicrosecond);

// The baseline: the generator work of the 6 digest blocks of an 8-byte password (128
// chained seedings and first draws per block) as a plain loop, one seeding and its draw
// after the other: the seeding computes the 157 state words that the first draw reads.
// The hash does this work plus padding, the output mixing and the text around it.
void BM_hash_generators_plain_loop(benchmark::State& state) {
  auto chain = [](uint64_t v) {
    for (int b = 0; b < 6 * 128; ++b) v = mt19937_64::first_output_after_seed(v);
    return v;
  };
  // The same draws as full engines give.
  uint64_t check = 12345;
  for (int b = 0; b < 6 * 128; ++b) check = std::mt19937_64(check)();
  if (chain(12345) != check) state.SkipWithError("draws differ from std::mt19937_64");
  for (auto _ : state) {
    uint64_t v = 12345;
    benchmark::DoNotOptimize(v);
    v = chain(v);
    benchmark::DoNotOptimize(v);
  }
  state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_hash_generators_plain_loop)->Unit(benchmark::kMicrosecond);

// A strawman kept for scale: only the generator work of the 6 digest blocks of an 8-byte password
// (128 chained seedings and first draws per block), with std::mt19937_64, which builds
// the whole 312-word state at each seeding and regenerates it at the first draw.
void BM_hash_generators_std_engine(benchmark::State& state) {
  for (auto _ : state) {
    uint64_t v = 12345;
    for (int b = 0; b < 6 * 128; ++b) {
      std::mt19937_64 g(v);
      v = g();
    }
    benchmark::DoNotOptimize(v);
  }
  state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_hash_generators_std_engine)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
