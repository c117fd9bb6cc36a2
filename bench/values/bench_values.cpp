// Number texts of 10^6 values: the value cell's conversions against std::to_chars /
// std::from_chars and snprintf / strtod over the same inputs in the same run.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "value/convert.h"
#include "value/number_text.h"
#include "value/startup_tables.h"

namespace {
constexpr size_t count = 1000000;

const std::vector<int64_t>& ints() {
  static const std::vector<int64_t> v = [] {
    std::mt19937_64 rng(1);
    std::vector<int64_t> r(count);
    for (auto& x : r) x = int64_t(rng()) >> (rng() % 64);  // all magnitudes
    return r;
  }();
  return v;
}

const std::vector<double>& doubles() {
  static const std::vector<double> v = [] {
    std::mt19937_64 rng(2);
    std::uniform_real_distribution<double> mant(-1.0, 1.0);
    std::vector<double> r(count);
    for (auto& x : r) x = std::ldexp(mant(rng), int(rng() % 60) - 20);  // |x| < 2^40
    return r;
  }();
  return v;
}

// Texts as the server's numbers usually look: up to 17 significant digits.
const std::vector<std::string>& double_texts() {
  static const std::vector<std::string> v = [] {
    std::vector<std::string> r(count);
    char b[64];
    std::mt19937_64 rng(3);
    for (size_t i = 0; i < count; ++i) {
      const int n = std::snprintf(b, sizeof b, "%.*g", 1 + int(rng() % 17), doubles()[i]);
      r[i].assign(b, size_t(n));
    }
    return r;
  }();
  return v;
}

void set_items(benchmark::State& s) { s.SetItemsProcessed(int64_t(s.iterations()) * int64_t(count)); }

// ---- integer to text
void BM_int_to_text_val_convert(benchmark::State& s) {
  kk::val in, out;
  for (auto _ : s) {
    for (int64_t x : ints()) {
      kk::val_from_i64(in, x);
      kk::val_convert(out, kk::kind_string, in, false);
      benchmark::DoNotOptimize(out.text);
    }
  }
  set_items(s);
}
void BM_int_to_text_string(benchmark::State& s) {
  for (auto _ : s)
    for (int64_t x : ints()) {
      auto t = kk::int_to_text(x);
      benchmark::DoNotOptimize(t.data);
    }
  set_items(s);
}
void BM_baseline_int_to_chars(benchmark::State& s) {
  char b[24];
  for (auto _ : s)
    for (int64_t x : ints()) {
      auto r = std::to_chars(b, b + sizeof b, x);
      benchmark::DoNotOptimize(r.ptr);
    }
  set_items(s);
}
void BM_baseline_int_snprintf(benchmark::State& s) {
  char b[24];
  for (auto _ : s)
    for (int64_t x : ints()) benchmark::DoNotOptimize(std::snprintf(b, sizeof b, "%lld", (long long)x));
  set_items(s);
}

// ---- double to text ("%.17f")
void BM_double_to_text_val_convert(benchmark::State& s) {
  kk::val in, out;
  for (auto _ : s)
    for (double x : doubles()) {
      kk::val_from_double(in, x);
      kk::val_convert(out, kk::kind_string, in, false);
      benchmark::DoNotOptimize(out.text);
    }
  set_items(s);
}
void BM_double_to_fixed_text(benchmark::State& s) {
  char b[kk::double_text_max];
  for (auto _ : s)
    for (double x : doubles()) benchmark::DoNotOptimize(kk::double_to_fixed_text(b, x));
  set_items(s);
}
void BM_baseline_double_to_chars_fixed17(benchmark::State& s) {
  char b[400];
  for (auto _ : s)
    for (double x : doubles()) {
      auto r = std::to_chars(b, b + sizeof b, x, std::chars_format::fixed, 17);
      benchmark::DoNotOptimize(r.ptr);
    }
  set_items(s);
}
void BM_baseline_double_snprintf17f(benchmark::State& s) {
  char b[400];
  for (auto _ : s)
    for (double x : doubles()) benchmark::DoNotOptimize(std::snprintf(b, sizeof b, "%.17f", x));
  set_items(s);
}

// ---- text to double
void BM_text_to_double_val_convert(benchmark::State& s) {
  std::vector<kk::val> in(count);
  for (size_t i = 0; i < count; ++i) kk::val_from_bytes(in[i], double_texts()[i].data(), double_texts()[i].size());
  kk::val out;
  for (auto _ : s)
    for (const kk::val& v : in) {
      kk::val_convert(out, kk::kind_double, v, true);
      benchmark::DoNotOptimize(out.data[0]);
    }
  set_items(s);
}
void BM_text_to_double(benchmark::State& s) {
  for (auto _ : s)
    for (const std::string& t : double_texts()) benchmark::DoNotOptimize(kk::text_to_double(t.data(), t.size()));
  set_items(s);
}
void BM_baseline_from_chars(benchmark::State& s) {
  for (auto _ : s)
    for (const std::string& t : double_texts()) {
      double d;
      std::from_chars(t.data(), t.data() + t.size(), d);
      benchmark::DoNotOptimize(d);
    }
  set_items(s);
}
void BM_baseline_strtod(benchmark::State& s) {
  for (auto _ : s)
    for (const std::string& t : double_texts()) benchmark::DoNotOptimize(std::strtod(t.c_str(), nullptr));
  set_items(s);
}
}  // namespace

BENCHMARK(BM_int_to_text_val_convert)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_int_to_text_string)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_baseline_int_to_chars)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_baseline_int_snprintf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_double_to_text_val_convert)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_double_to_fixed_text)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_baseline_double_to_chars_fixed17)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_baseline_double_snprintf17f)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_text_to_double_val_convert)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_text_to_double)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_baseline_from_chars)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_baseline_strtod)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  kk::startup_tables_init();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  kk::startup_tables_release();
  return 0;
}
