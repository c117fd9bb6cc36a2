// Load time of the SQL library object, which is built before the program's first window
// and when the shared library is loaded. Baseline: copying the grammar text, the least
// any construction from that text must do.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstring>

#include "adt/string.h"
#include "functions/registry.h"
#include "grammar/regex_engine.h"
#include "grammar/sql_function_names.h"
#include "grammar/sql_grammar.h"
#include "grammar/sql_grammar_text.h"
#include "sqllib/sql_library.h"

namespace {

void baseline_copy_grammar_text(benchmark::State& state) {
  for (auto _ : state) {
    kk::adt::string::string s = kk::adt::string_from_bytes(kk::grammar::sql::grammar_text(),
                                                           kk::grammar::sql::grammar_text_size());
    benchmark::DoNotOptimize(s.data);
  }
}
BENCHMARK(baseline_copy_grammar_text)->Unit(benchmark::kMicrosecond);

void compile_sql_grammar(benchmark::State& state) {
  for (auto _ : state) {
    kk::grammar::compiled_grammar g;
    benchmark::DoNotOptimize(kk::grammar::sql::grammar_compile(&g));
    kk::grammar::grammar_release(&g);
  }
}
BENCHMARK(compile_sql_grammar)->Unit(benchmark::kMicrosecond);

void regex_engine_init(benchmark::State& state) {
  for (auto _ : state) {
    kk::grammar::regex_engine e;
    benchmark::DoNotOptimize(kk::grammar::regex_engine_init(&e));
    kk::grammar::regex_engine_free(&e);
  }
}
BENCHMARK(regex_engine_init)->Unit(benchmark::kMicrosecond);

void register_functions(benchmark::State& state) {
  for (auto _ : state) {
    kk::sql_function_map root;
    for (const char* name : kk::grammar::sql::function_names)
      if (auto f = kk::functions::find_sql_function(name)) kk::function_map_insert(&root, name, std::strlen(name), f);
    kk::function_map_clear(&root);
  }
}
BENCHMARK(register_functions)->Unit(benchmark::kMicrosecond);

void function_name_trie(benchmark::State& state) {
  for (auto _ : state) {
    kk::grammar::sql::function_name_trie t;
    for (const char* name : kk::grammar::sql::function_names)
      kk::grammar::sql::function_name_insert(&t, name, std::strlen(name));
    benchmark::DoNotOptimize(t.root.children);
  }
}
BENCHMARK(function_name_trie)->Unit(benchmark::kMicrosecond);

// The whole object: regex engine, grammar, registry.
void sql_library_build(benchmark::State& state) {
  for (auto _ : state) {
    kk::sql_library lib;
    benchmark::DoNotOptimize(kk::sql_library_build(&lib));
    kk::sql_library_free(&lib);
  }
}
BENCHMARK(sql_library_build)->Unit(benchmark::kMicrosecond);

// Loading and unloading the shared library: its whole start-up sequence and release.
void shared_library_load(benchmark::State& state) {
  for (auto _ : state) {
    void* h = dlopen(RUV_SQL_LIB_PATH, RTLD_NOW | RTLD_LOCAL);
    if (!h) {
      state.SkipWithError(dlerror());
      break;
    }
    dlclose(h);
  }
}
BENCHMARK(shared_library_load)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
