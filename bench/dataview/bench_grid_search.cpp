// Find All over a real grid: 100000 cells (20000 rows x 5 columns: i32, string, double,
// date, u64) loaded from the catalogue test server into the table model and searched
// through the search dialog's grid, against the same walk over the display texts read
// from the model alone.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDate>
#include <QTableView>

#include <memory>

#include "client/ruv_sql_lib_mem.h"
#include "dataview/search_tab_dlg.h"
#include "sqllib/library_startup.h"
#include "query/db_ctx.h"
#include "query/tab_data_model.h"
#include "tests/peer/catalogue.h"

namespace {

using peer::ftype;
using peer::value;

struct fixture {
    peer::catalogue db;
    peer::test_peer server;
    std::unique_ptr<db_ctx> ctx;
    std::unique_ptr<QTableView> grid;
    tab_data_model* model = nullptr;
    std::unique_ptr<search_tab_dlg> dlg;

    fixture()
    {
        db.install(server);
        db.create_table("t", {{"a", ftype::i32, ""}, {"s", ftype::str, ""}, {"d", ftype::f64, ""},
                              {"day", ftype::date, ""}, {"n", ftype::u64, ""}});
        for (int r = 0; r < 20000; ++r) {
            std::string s = "name " + std::to_string(r);
            if (r % 2 == 0) s += " needle";
            db.insert("t", {value::sint(ftype::i32, r), value::text(s), value::real(ftype::f64, r * 0.25),
                            value::date(2019, 1 + r % 12, 1 + r % 28), value::uint(ftype::u64, r * 7919ull)});
        }
        connect_to_server("127.0.0.1", server.port(), "u", "p");
        ctx = std::make_unique<db_ctx>(kk::adt::string_from_cstr("ruv_mdb"), nullptr);
        grid = std::make_unique<QTableView>();
        model = new tab_data_model(kk::adt::string_from_cstr("t"), ctx.get(), grid.get());
        grid->setModel(model);
        model->load(kk::adt::string_from_cstr("select * from t;"), true, nullptr, nullptr);
        dlg = std::make_unique<search_tab_dlg>(grid.get());
    }
};

fixture& fix()
{
    static fixture f;
    return f;
}

// What any Find All has to do at least: read each cell's display text once.
void baseline_display_texts(benchmark::State& state)
{
    tab_data_model* m = fix().model;
    for (auto _ : state) {
        size_t bytes = 0;
        for (int r = 0; r < m->rowCount(); ++r)
            for (int c = 0; c < m->columnCount(); ++c)
                bytes += m->data(m->index(r, c), Qt::DisplayRole).toString().toUtf8().size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["cells"] = m->rowCount() * m->columnCount();
}
BENCHMARK(baseline_display_texts)->Unit(benchmark::kMillisecond);

void find_all_through_the_dialog(benchmark::State& state, const char* target, unsigned mode)
{
    fixture& f = fix();
    dataview::search_options o;
    o.target = target;
    o.mode = mode;
    o.flags = 1;
    int count = 0;
    for (auto _ : state) count = f.dlg->search().search_all(o, true);
    state.counters["cells_found"] = count;
}
BENCHMARK_CAPTURE(find_all_through_the_dialog, plain, "needle", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(find_all_through_the_dialog, regex, "ne+dle$", 2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kk::library_startup();
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    exit_to_server();
    return 0;
}
