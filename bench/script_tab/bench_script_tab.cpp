// The script tab: completion per keystroke in a 16 KB statement (candidates and popup)
// against the candidates alone, and a run of 10000 statements without columns through the
// tab against the same statements sent through exec alone, both to the catalogue server.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstring>

#include "client/ruv_sql_lib_mem.h"
#include "editor/auto_list.h"
#include "editor/sql_completion.h"
#include "script_tab/sql_script_editor.h"
#include "sqllib/library_startup.h"
#include "query/db_ctx.h"
#include "tests/peer/catalogue.h"
#include "tests/peer/test_peer.h"
#include "tests/support/scripted_prompt.h"

namespace {

// A few statements, then a 16 KB statement being typed (it parses to the cursor).
std::string statement_16k() {
  std::string text = "select a from t;\ndelete from t where a == 1;\n";
  const size_t start = text.size();
  text += "select a, b from orders where a == 1";
  for (int i = 0; text.size() - start < 16 * 1024; ++i)
    text += " && price" + std::to_string(i % 100) + " >= " + std::to_string(i) + ".5";
  text += " && region == s";
  return text;
}

// The editor's background parse of the text, made once (it is not part of a keystroke).
const ruv::lang::script_parse& parse_of(const std::string& s) {
  static ruv::lang::script_parse p = ruv::lang::script_parse::of(s.data(), s.size(), 1);
  return p;
}

ruv::lang::completion complete(const std::string& s) {
  ruv::lang::completion_input in;
  in.text = s.data();
  in.size = s.size();
  in.cursor = s.size();
  in.parse = &parse_of(s);
  in.revision = 1;
  return ruv::lang::complete_at(in);
}

void BM_candidates_16k(benchmark::State& st) {
  const std::string s = statement_16k();
  if (complete(s).candidates.size == 0) st.SkipWithError("no candidates");
  for (auto _ : st) benchmark::DoNotOptimize(complete(s).candidates.size);
}
BENCHMARK(BM_candidates_16k)->Unit(benchmark::kMicrosecond);

void BM_keystroke_popup_16k(benchmark::State& st) {
  const std::string s = statement_16k();
  QWidget host;
  for (auto _ : st) {
    ruv::lang::completion c = complete(s);
    auto* list = new ruv::auto_list(std::move(c.candidates), c.fragment_length, &host);
    benchmark::DoNotOptimize(list->count());
    delete list;
  }
}
BENCHMARK(BM_keystroke_popup_16k)->Unit(benchmark::kMicrosecond);

struct server {
  peer::catalogue db;
  peer::test_peer peer;
  server() {
    db.install(peer);
    db.create_table("t", {{"a", peer::ftype::i32, ""}});
    connect_to_server("127.0.0.1", peer.port(), "u", "p");
  }
  ~server() { exit_to_server(); }
};

constexpr int statements = 10000;
const char* insert_text = "insert into t (a) values (1);";

void BM_exec_alone_10000(benchmark::State& st) {
  server srv;
  for (auto _ : st) {
    for (int i = 0; i < statements; ++i) {
      datas* d = exec(insert_text, static_cast<int32_t>(std::strlen(insert_text)));
      del_datas(d);
    }
  }
}
BENCHMARK(BM_exec_alone_10000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_script_tab_run_10000(benchmark::State& st) {
  server srv;
  ruv::test::scripted_prompt prompt;
  db_ctx ctx{kk::adt::string_from_cstr("ruv_mdb"), nullptr};
  ruv::sql_script_editor tab(&ctx, kk::adt::string::string());
  tab.set_log_sink([](const kk::adt::string::string& s) { benchmark::DoNotOptimize(s.size); });
  ruv::statement_list list;
  for (int i = 0; i < statements; ++i) list.push_back(kk::adt::string_from_cstr(insert_text));
  for (auto _ : st) benchmark::DoNotOptimize(tab.exec(list));
}
BENCHMARK(BM_script_tab_run_10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  kk::library_startup();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
