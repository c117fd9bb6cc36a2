// Loading a result of 10^6 rows x 5 columns (i32, string, double, date, u64) from the
// server into tab_data_model, against a plain QAbstractTableModel over std::vector<QVariant>
// columns and a QStandardItemModel, each loaded from the same reply in the same run; then
// sorting the table model by each column. Counters: peak_MB is the memory the process
// took above what it held before the load (freed heap handed back and the high-water mark
// reset first); rss_MB the process's high-water mark during the load, which includes the
// test server's copy of the reply (about 45 MB) in this same process.
#include <QAbstractTableModel>
#include <QApplication>
#include <QStandardItemModel>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <random>
#include <string>
#include <vector>

#include "bench/common/proc_memory.h"
#include "client/ruv_sql_lib_mem.h"
#include "grammar/library_startup.h"
#include "query/db_ctx.h"
#include "query/tab_data_model.h"
#include "query/variant_rows.h"
#include "tests/peer/peer_wire.h"
#include "tests/peer/test_peer.h"

namespace {

using bench_memory::reset_peak;
using bench_memory::status_kib;

constexpr int rows = 1000000;

const std::string& big_reply() {
  static const std::string reply = [] {
    peer::result r{{{"i", peer::d_i32}, {"s", peer::d_string}, {"d", peer::d_double}, {"t", peer::d_date}, {"u", peer::d_u64}},
                   {}};
    r.rows.reserve(rows);
    std::mt19937_64 g(3);
    for (uint64_t k = 0; k < uint64_t(rows); ++k)
      r.rows.push_back({k + 1,
                        {peer::i32(int32_t(g())), peer::text("name " + std::to_string(g() % 100000)),
                         peer::f64(double(g() % 1000000) / 7),
                         peer::date(uint16_t(1900 + g() % 200), uint8_t(1 + g() % 12), uint8_t(1 + g() % 28)), peer::u64(g())}});
    return peer::ok_reply(r);
  }();
  return reply;
}

struct session {
  peer::test_peer peer;
  db_ctx ctx{kk::adt::string_from_cstr("db"), nullptr};
  session() {
    peer.set_handler([](std::string_view) { return peer::send(big_reply()); });
    connect_to_server("127.0.0.1", peer.port(), "u", "p");
  }
  ~session() { exit_to_server(); }
};

// Runs load once per iteration; memory counters from the last one.
template <class Load>
void measure(benchmark::State& state, Load load) {
  big_reply();
  session s;
  long before = 0, peak = 0;
  for (auto _ : state) {
    state.PauseTiming();
    malloc_trim(0);  // what earlier iterations freed is not counted as held
    reset_peak();
    before = status_kib("VmRSS");
    state.ResumeTiming();
    load(s);
    state.PauseTiming();
    peak = status_kib("VmHWM");
    state.ResumeTiming();
  }
  state.counters["peak_MB"] = double(peak - before) / 1024;
  state.counters["rss_MB"] = double(peak) / 1024;
}

class plain_model : public QAbstractTableModel {
 public:
  std::vector<std::vector<QVariant>> columns;
  int rowCount(const QModelIndex& = QModelIndex()) const override { return columns.empty() ? 0 : int(columns[0].size()); }
  int columnCount(const QModelIndex& = QModelIndex()) const override { return int(columns.size()); }
  QVariant data(const QModelIndex& i, int role) const override {
    return role == Qt::DisplayRole || role == Qt::EditRole ? columns[size_t(i.column())][size_t(i.row())] : QVariant();
  }
  bool load(db_ctx* ctx) {
    beginResetModel();
    columns.clear();
    text_list names, types;
    variant_rows r;
    kk::adt::string::string entry;
    const bool ok = exec_query(ctx, kk::adt::string_from_cstr("select * from t;"), names, r, types, entry, true, nullptr);
    columns.resize(r.columns);
    for (size_t c = 0; c < r.columns; ++c) {
      columns[c].reserve(r.count());
      for (size_t k = 0; k < r.count(); ++k) columns[c].push_back(std::move(r.at(k, c)));
    }
    endResetModel();
    return ok;
  }
};

void BM_baseline_plain_table_model_load(benchmark::State& state) {
  measure(state, [&](session& s) {
    plain_model m;
    if (!m.load(&s.ctx) || m.rowCount() != rows) state.SkipWithError("load");
  });
}

void BM_baseline_standard_item_model_load(benchmark::State& state) {
  measure(state, [&](session& s) {
    QStandardItemModel m;
    text_list names, types;
    variant_rows r;
    kk::adt::string::string entry;
    if (!exec_query(&s.ctx, kk::adt::string_from_cstr("select * from t;"), names, r, types, entry, true, nullptr))
      state.SkipWithError("exec");
    m.setColumnCount(int(r.columns));
    m.setRowCount(int(r.count()));
    for (size_t k = 0; k < r.count(); ++k)
      for (size_t c = 0; c < r.columns; ++c) {
        auto* item = new QStandardItem;
        item->setData(std::move(r.at(k, c)), Qt::EditRole);
        m.setItem(int(k), int(c), item);
      }
    list_of_rows_clear(r);
    if (m.rowCount() != rows) state.SkipWithError("load");
  });
}

void BM_tab_data_model_load(benchmark::State& state) {
  measure(state, [&](session& s) {
    tab_data_model m(kk::adt::string_from_cstr("t"), &s.ctx);
    if (!m.load(kk::adt::string_from_cstr("select * from t;"), true, nullptr, nullptr) || m.rowCount() != rows)
      state.SkipWithError("load");
  });
}

void BM_tab_data_model_sort(benchmark::State& state) {
  big_reply();
  session s;
  tab_data_model m(kk::adt::string_from_cstr("t"), &s.ctx);
  if (!m.load(kk::adt::string_from_cstr("select * from t;"), true, nullptr, nullptr)) state.SkipWithError("load");
  bool ascending = true;
  for (auto _ : state) {
    m.sort_rows(int(state.range(0)), ascending);
    ascending = !ascending;
  }
}

}  // namespace

BENCHMARK(BM_baseline_plain_table_model_load)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_baseline_standard_item_model_load)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_tab_data_model_load)->Unit(benchmark::kMillisecond)->Iterations(3);
// Columns: 0 i32, 1 string, 2 double, 3 date, 4 u64.
BENCHMARK(BM_tab_data_model_sort)->Unit(benchmark::kMillisecond)->DenseRange(0, 4)->Iterations(2);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  kk::library_startup();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
