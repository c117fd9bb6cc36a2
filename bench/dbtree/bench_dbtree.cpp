// Refreshing the database tree of 1000 tables of 20 fields from the catalogue test server,
// against the same 1001 statements through the library's exec alone: the catalogue read, the
// tree rebuilt from it, and the main window's refresh as F5 runs it (caches, tree, current
// item, the tab walk).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTextEdit>
#include <QTreeWidget>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "client/ruv_sql_lib_mem.h"
#include "dbops/db_tree.h"
#include "query/db_ctx.h"
#include "tests/peer/catalogue.h"
#include "tests/peer/test_peer.h"

namespace {

constexpr int tables = 1000;
constexpr int fields = 20;

std::string table_name(int i) { return "table_" + std::to_string(i); }

struct bench_server {
  peer::catalogue db;
  peer::test_peer peer;
  bench_server() {
    db.install(peer);
    for (int t = 0; t < tables; ++t) {
      std::vector<peer::field_def> defs;
      for (int f = 0; f < fields; ++f) defs.push_back({"field_" + std::to_string(f), peer::ftype::i32, "true"});
      db.create_table(table_name(t), defs);
    }
    connect_to_server("127.0.0.1", peer.port(), "u", "p");
  }
  ~bench_server() { exit_to_server(); }
};

bench_server& server() {
  static bench_server s;
  return s;
}

void baseline_exec_statements(benchmark::State& state) {
  server();
  for (auto _ : state) {
    datas* d = exec("show tables;", 12);
    const uint64_t n = rows_of(d);
    del_datas(d);
    for (int t = 0; t < tables; ++t) {
      const std::string sql = "fields_of " + table_name(t) + ";";
      del_datas(exec(sql.data(), int32_t(sql.size())));
    }
    benchmark::DoNotOptimize(n);
  }
}
BENCHMARK(baseline_exec_statements)->Unit(benchmark::kMillisecond);

void read_catalogue_only(benchmark::State& state) {
  server();
  QTextEdit log;
  db_ctx ctx(kk::adt::string_from_cstr("ruv_mdb"), &log);
  db_catalogue cat;
  for (auto _ : state) {
    if (!read_catalogue(&ctx, cat) || cat.field_cache_count != tables) state.SkipWithError("catalogue not read");
  }
}
BENCHMARK(read_catalogue_only)->Unit(benchmark::kMillisecond);

void refresh_tree(benchmark::State& state) {
  server();
  QTextEdit log;
  db_ctx ctx(kk::adt::string_from_cstr("ruv_mdb"), &log);
  db_catalogue cat;
  QTreeWidget tree;
  for (auto _ : state) {
    if (!refresh_db_tree(&ctx, &tree, nullptr, QStringLiteral("ruv_mdb"), cat)) state.SkipWithError("refresh failed");
  }
  if (tree.topLevelItem(0)->childCount() != tables) state.SkipWithError("tree incomplete");
}
BENCHMARK(refresh_tree)->Unit(benchmark::kMillisecond);

std::unique_ptr<MainWindow> the_window;

void window_refresh(benchmark::State& state) {
  server();
  // One window for every run of the benchmark: its destructor logs out of the server.
  if (!the_window)
    the_window = std::make_unique<MainWindow>(kk::adt::string_from_cstr("127.0.0.1"), server().peer.port(),
                                              kk::adt::string_from_cstr("u"), kk::adt::string_from_cstr("p"), nullptr);
  MainWindow& w = *the_window;
  // A field of a table in the middle is current, so each refresh finds and restores it.
  QTreeWidget* tree = w.findChild<QTreeWidget*>(QStringLiteral("treeWidget"));
  QTreeWidgetItem* table = tree->topLevelItem(0) ? tree->topLevelItem(0)->child(tables / 2) : nullptr;
  if (!table || !table->child(fields / 2)) {
    state.SkipWithError("no tree");
    return;
  }
  tree->setCurrentItem(table->child(fields / 2));
  for (auto _ : state) w.refresh(true);
  if (w.tables().size != tables || !tree->currentItem() || tree->currentItem()->text(0) != "field_10")
    state.SkipWithError("refresh incomplete");
}
BENCHMARK(window_refresh)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  the_window.reset();
  return 0;
}
