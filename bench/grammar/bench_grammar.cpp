// Splitting and checking a script with the SQL grammar, against sqlite3_complete walking
// the same statements (a tokenizer's speed: the floor to compare with).
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "bench/grammar/script_gen.h"
#include "grammar/matcher.h"
#include "grammar/sql_grammar.h"

namespace {

using namespace kk::grammar;

const compiled_grammar& sql() {
  static compiled_grammar g;
  static const bool ok = sql::grammar_compile(&g);
  (void)ok;
  return g;
}

const std::string& script(std::size_t mb) {
  static std::string s1, s10;
  std::string& s = mb == 1 ? s1 : s10;
  if (s.empty()) s = ruv_bench::script_gen(5).script(mb << 20);
  return s;
}

// One statement per parse from the start rule, each checked to end where the next begins;
// false when a statement does not parse.
template <class Visit>
bool split(const std::string& text, Visit visit) {
  const compiled_grammar& g = sql();
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    parse_farthest = nullptr;
    kk::u64 n = kk::u64(end - p);
    parse_node* t = grammar_match(g.start, p, &n, &g.rules);
    if (!t || t->length == 0) {
      grammar_free_tree(t);
      return false;
    }
    visit(p, t);
    p = node_end(t);
    grammar_free_tree(t);
  }
  return true;
}

void BM_grammar_split(benchmark::State& state) {
  const std::string& text = script(std::size_t(state.range(0)));
  // Size of the trees, measured once outside the timed loop.
  double nodes = 0, bytes = 0, statements = 0;
  if (!split(text, [&](const char*, parse_node* t) {
        const parse_tree_stats st = tree_stats(t);
        nodes += double(st.nodes);
        bytes += double(st.bytes_used);
        statements += 1;
      })) {
    state.SkipWithError("the generated script does not parse");
    return;
  }
  for (auto _ : state) {
    std::size_t count = 0;
    split(text, [&](const char*, parse_node*) { ++count; });
    benchmark::DoNotOptimize(count);
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
  state.counters["statements"] = statements;
  state.counters["nodes_per_byte"] = nodes / double(text.size());
  state.counters["tree_bytes_per_byte"] = bytes / double(text.size());
}
BENCHMARK(BM_grammar_split)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_sqlite3_complete(benchmark::State& state) {
  const std::string& text = script(std::size_t(state.range(0)));
  // The same statements as the grammar splits them, each NUL-terminated for SQLite.
  std::vector<std::string> statements;
  split(text, [&](const char* p, parse_node* t) { statements.emplace_back(p, t->length); });
  for (auto _ : state) {
    int complete = 0;
    for (const std::string& s : statements) complete += sqlite3_complete(s.c_str());
    benchmark::DoNotOptimize(complete);
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}
BENCHMARK(BM_sqlite3_complete)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
