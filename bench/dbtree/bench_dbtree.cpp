// Refreshing the database tree of 1000 tables of 20 fields from the catalogue test server,
// against the same 1001 statements through the library's exec alone.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTextEdit>
#include <QTreeWidget>
#include <string>

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

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
