// Our containers against the standard library on the same data in one run: vector
// push_back, byte-string append, AVL insert and find against std::map / std::set.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "adt/string.h"
#include "adt/tree.h"
#include "adt/vector.h"

using namespace kk;
using namespace kk::adt;

namespace {

std::vector<u64> random_keys(u64 n) {
  std::mt19937_64 rng(42);
  std::vector<u64> k(n);
  for (auto& x : k) x = rng();
  return k;
}

std::vector<std::string> random_names(u64 n) {
  std::mt19937_64 rng(43);
  std::vector<std::string> k(n);
  for (auto& s : k) {
    s = "tab_";
    for (int i = 0; i < 12; ++i) s += static_cast<char>('a' + rng() % 26);
  }
  return k;
}

void vector_push_back_adt(benchmark::State& st) {
  const u64 n = st.range(0);
  for (auto _ : st) {
    vector<u64> v;
    for (u64 i = 0; i < n; ++i) v.push_back(i);
    benchmark::DoNotOptimize(v.data);
  }
  st.SetItemsProcessed(st.iterations() * n);
}
void vector_push_back_std(benchmark::State& st) {
  const u64 n = st.range(0);
  for (auto _ : st) {
    std::vector<u64> v;
    for (u64 i = 0; i < n; ++i) v.push_back(i);
    benchmark::DoNotOptimize(v.data());
  }
  st.SetItemsProcessed(st.iterations() * n);
}

void vector_string_push_back_adt(benchmark::State& st) {
  const auto names = random_names(st.range(0));
  std::vector<string::string> src;
  for (auto& s : names) src.push_back(string_from_std(s));
  for (auto _ : st) {
    vector<string::string> v;
    for (auto& s : src) v.push_back(s);
    benchmark::DoNotOptimize(v.data);
  }
  st.SetItemsProcessed(st.iterations() * src.size());
}
void vector_string_push_back_std(benchmark::State& st) {
  const auto names = random_names(st.range(0));
  for (auto _ : st) {
    std::vector<std::string> v;
    for (auto& s : names) v.push_back(s);
    benchmark::DoNotOptimize(v.data());
  }
  st.SetItemsProcessed(st.iterations() * names.size());
}

void string_append_adt(benchmark::State& st) {
  const u64 n = st.range(0);
  for (auto _ : st) {
    string::string s;
    for (u64 i = 0; i < n; ++i) s.push_back(static_cast<char>('a' + i % 26));
    benchmark::DoNotOptimize(s.data);
  }
  st.SetBytesProcessed(st.iterations() * n);
}
void string_append_std(benchmark::State& st) {
  const u64 n = st.range(0);
  for (auto _ : st) {
    std::string s;
    for (u64 i = 0; i < n; ++i) s.push_back(static_cast<char>('a' + i % 26));
    benchmark::DoNotOptimize(s.data());
  }
  st.SetBytesProcessed(st.iterations() * n);
}

// How statement texts are assembled: repeated concatenation of short pieces.
void string_cat_adt(benchmark::State& st) {
  const u64 n = st.range(0);
  for (auto _ : st) {
    string::string s;
    for (u64 i = 0; i < n; ++i) s = string_cat_string_cstr(s, "col, ");
    benchmark::DoNotOptimize(s.data);
  }
  st.SetItemsProcessed(st.iterations() * n);
}
void string_cat_std(benchmark::State& st) {
  const u64 n = st.range(0);
  for (auto _ : st) {
    std::string s;
    for (u64 i = 0; i < n; ++i) s = s + "col, ";
    benchmark::DoNotOptimize(s.data());
  }
  st.SetItemsProcessed(st.iterations() * n);
}

void tree_insert_adt(benchmark::State& st) {
  const auto keys = random_keys(st.range(0));
  for (auto _ : st) {
    tree<u64> t;
    for (u64 k : keys) t.insert(k);
    benchmark::DoNotOptimize(t.root);
  }
  st.SetItemsProcessed(st.iterations() * keys.size());
}
void tree_insert_std(benchmark::State& st) {
  const auto keys = random_keys(st.range(0));
  for (auto _ : st) {
    std::set<u64> t;
    for (u64 k : keys) t.insert(k);
    benchmark::DoNotOptimize(t.size());
  }
  st.SetItemsProcessed(st.iterations() * keys.size());
}

void tree_find_adt(benchmark::State& st) {
  const auto keys = random_keys(st.range(0));
  tree<u64> t;
  for (u64 k : keys) t.insert(k);
  for (auto _ : st)
    for (u64 k : keys) benchmark::DoNotOptimize(t.find(k));
  st.SetItemsProcessed(st.iterations() * keys.size());
}
void tree_find_std(benchmark::State& st) {
  const auto keys = random_keys(st.range(0));
  std::set<u64> t(keys.begin(), keys.end());
  for (auto _ : st)
    for (u64 k : keys) benchmark::DoNotOptimize(t.find(k));
  st.SetItemsProcessed(st.iterations() * keys.size());
}

void map_string_insert_adt(benchmark::State& st) {
  const auto names = random_names(st.range(0));
  std::vector<string::string> keys;
  for (auto& s : names) keys.push_back(string_from_std(s));
  for (auto _ : st) {
    tree<string::string, u64> t;
    u64 i = 0;
    for (auto& k : keys) t.insert(k, i++);
    benchmark::DoNotOptimize(t.root);
  }
  st.SetItemsProcessed(st.iterations() * keys.size());
}
void map_string_insert_std(benchmark::State& st) {
  const auto names = random_names(st.range(0));
  for (auto _ : st) {
    std::map<std::string, u64> t;
    u64 i = 0;
    for (auto& k : names) t.emplace(k, i++);
    benchmark::DoNotOptimize(t.size());
  }
  st.SetItemsProcessed(st.iterations() * names.size());
}

void map_string_find_adt(benchmark::State& st) {
  const auto names = random_names(st.range(0));
  tree<string::string, u64> t;
  u64 i = 0;
  for (auto& k : names) t.insert(string_from_std(k), i++);
  for (auto _ : st)
    for (auto& k : names) benchmark::DoNotOptimize(t.find(text_view{k.data(), k.size()}));
  st.SetItemsProcessed(st.iterations() * names.size());
}
void map_string_find_std(benchmark::State& st) {
  const auto names = random_names(st.range(0));
  std::map<std::string, u64> t;
  u64 i = 0;
  for (auto& k : names) t.emplace(k, i++);
  for (auto _ : st)
    for (auto& k : names) benchmark::DoNotOptimize(t.find(k));
  st.SetItemsProcessed(st.iterations() * names.size());
}

}  // namespace

BENCHMARK(vector_push_back_adt)->Arg(1 << 10)->Arg(1 << 16);
BENCHMARK(vector_push_back_std)->Arg(1 << 10)->Arg(1 << 16);
BENCHMARK(vector_string_push_back_adt)->Arg(1 << 12);
BENCHMARK(vector_string_push_back_std)->Arg(1 << 12);
BENCHMARK(string_append_adt)->Arg(1 << 10)->Arg(1 << 16);
BENCHMARK(string_append_std)->Arg(1 << 10)->Arg(1 << 16);
BENCHMARK(string_cat_adt)->Arg(1 << 10);
BENCHMARK(string_cat_std)->Arg(1 << 10);
BENCHMARK(tree_insert_adt)->Arg(1 << 14);
BENCHMARK(tree_insert_std)->Arg(1 << 14);
BENCHMARK(tree_find_adt)->Arg(1 << 14);
BENCHMARK(tree_find_std)->Arg(1 << 14);
BENCHMARK(map_string_insert_adt)->Arg(1 << 12);
BENCHMARK(map_string_insert_std)->Arg(1 << 12);
BENCHMARK(map_string_find_adt)->Arg(1 << 12);
BENCHMARK(map_string_find_std)->Arg(1 << 12);

// Large blocks come from the heap and are not trimmed between iterations, so neither side
// pays for page faults that depend on which benchmark ran before it.
int main(int argc, char** argv) {
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
  mallopt(M_TRIM_THRESHOLD, 512 << 20);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
