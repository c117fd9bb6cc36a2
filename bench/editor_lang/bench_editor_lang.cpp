// The editor's language services: the background parse of a 128 KiB script, and completion
// at each keystroke at the end of a 16 KB statement, each against a baseline in the same run.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <string>

#include "bench/grammar/script_gen.h"
#include "editor/sql_completion.h"
#include "editor/sql_highlight.h"
#include "editor/sql_parse.h"
#include "sqllib/library_startup.h"
#include "sqllib/sql_library.h"

namespace {

using namespace ruv::lang;

void need_library() {
  if (!kk::sql_library_instance()) kk::library_startup();
}

const std::string& script_128k() {
  static const std::string s = [] {
    std::string t = ruv_bench::script_gen(7).script(128 * 1024);
    // Whole statements only, ending below 128 KiB.
    t.resize(t.rfind(";\n", 128 * 1024 - 2) + 2);
    return t;
  }();
  return s;
}

// Baseline: the grammar's split of the text in place, without a snapshot.
void BM_baseline_split_in_place_128k(benchmark::State& state) {
  need_library();
  const std::string& text = script_128k();
  for (auto _ : state) {
    kk::adt::vector<parse_node*> trees;
    const u64 n = split_script(text.data(), text.size(), trees);
    if (n != text.size()) state.SkipWithError("the script does not parse");
    for (parse_node* t : trees) kk::grammar::grammar_free_tree(t);
    benchmark::DoNotOptimize(n);
  }
  state.SetBytesProcessed(i64(state.iterations()) * i64(text.size()));
}
BENCHMARK(BM_baseline_split_in_place_128k)->MinWarmUpTime(2)->Unit(benchmark::kMillisecond);

// The editor's background parse: snapshot of the text, split, trees kept (freed by the next).
void BM_background_parse_128k(benchmark::State& state) {
  need_library();
  const std::string& text = script_128k();
  script_parse last;
  u64 revision = 0;
  for (auto _ : state) {
    last = script_parse::of(text.data(), text.size(), ++revision);
    if (!last.complete()) state.SkipWithError("the script does not parse");
  }
  state.SetBytesProcessed(i64(state.iterations()) * i64(text.size()));
  state.counters["statements"] = double(last.tree_count());
}
BENCHMARK(BM_background_parse_128k)->MinWarmUpTime(2)->Unit(benchmark::kMillisecond);

// The same two with the C library's heap kept by the process: a 128 KiB script makes about
// 14 MB of trees, which the default heap hands back to the system when they are freed and
// faults in again at the next parse. Registered after the two above, since it is not undone.
void keep_heap() {
  static const bool done = [] {
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    return true;
  }();
  (void)done;
}
void BM_baseline_split_in_place_128k_heap_kept(benchmark::State& state) {
  keep_heap();
  BM_baseline_split_in_place_128k(state);
}
BENCHMARK(BM_baseline_split_in_place_128k_heap_kept)->MinWarmUpTime(2)->Unit(benchmark::kMillisecond);
void BM_background_parse_128k_heap_kept(benchmark::State& state) {
  keep_heap();
  BM_background_parse_128k(state);
}
BENCHMARK(BM_background_parse_128k_heap_kept)->MinWarmUpTime(2)->Unit(benchmark::kMillisecond);

// Token classes of one screen (100 lines of 80 columns) of the 128 KiB parse.
void BM_token_classes_one_screen(benchmark::State& state) {
  need_library();
  const std::string& text = script_128k();
  const script_parse p = script_parse::of(text.data(), text.size(), 1);
  const u64 from = text.size() / 2;
  for (auto _ : state) {
    u64 sum = 0;
    for (u64 i = from; i < from + 8000; ++i) sum += u64(token_class_at(p, i));
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_token_classes_one_screen)->Unit(benchmark::kMicrosecond);

// A few statements, then a 16 KB statement being typed; the cursor at its end.
struct typing {
  std::string text;
  u64 statement_start = 0;
  script_parse parse;
  typing() {
    text = "select a from t;\ndelete from t where a == 1;\n";
    statement_start = text.size();
    text += "select a, b from orders where a == 1";
    for (int i = 0; text.size() - statement_start < 16 * 1024; ++i)
      text += " && price" + std::to_string(i % 100) + " >= " + std::to_string(i) + ".5";
    text += " && region == sta";  // a field being typed: the statement parses to the cursor
    parse = script_parse::of(text.data(), text.size(), 1);
  }
};

const typing& typed() {
  static const typing t;
  return t;
}

// Baseline: parsing the statement from its start to the cursor, which completion must do.
void BM_baseline_parse_16k_statement(benchmark::State& state) {
  need_library();
  const typing& t = typed();
  for (auto _ : state) {
    parse_node* tree = nullptr;
    benchmark::DoNotOptimize(
        parse_statement(t.text.data() + t.statement_start, t.text.size() - t.statement_start, &tree));
    kk::grammar::grammar_free_tree(tree);
  }
}
BENCHMARK(BM_baseline_parse_16k_statement)->Unit(benchmark::kMillisecond);

// Completion at one keystroke: statement start from the parse, fragment parse, candidates.
void BM_completion_keystroke_16k_statement(benchmark::State& state) {
  need_library();
  const typing& t = typed();
  name_indexes names;
  candidate_list tables;
  for (const char* s : {"orders", "order_items", "users", "stats"})
    tables.push_back(kk::adt::string::string_from_cstr(s));
  names.set_table_names(tables);
  completion_input in;
  in.text = t.text.data();
  in.size = t.text.size();
  in.cursor = t.text.size();
  in.parse = &t.parse;
  in.revision = 1;
  in.names = &names;
  u64 found = 0;
  for (auto _ : state) {
    completion c = complete_at(in);
    found = c.candidates.size;
    if (c.statement_start != t.statement_start) {
      state.SkipWithError(("statement start " + std::to_string(c.statement_start) + ", trees " + std::to_string(t.parse.tree_count()) + ", parsed " + std::to_string(t.parse.parsed_length())).c_str());
      break;
    }
  }
  state.counters["candidates"] = double(found);
}
BENCHMARK(BM_completion_keystroke_16k_statement)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
