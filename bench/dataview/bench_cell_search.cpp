// Find All over 100000 grid cells (20000 rows x 5 columns, one cell in ten holding the
// target), through the cell search with the document search's matcher, against a plain
// memmem loop over the same texts and against the per-cell text document search (one
// document and one pattern compile per cell).
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "dataview/cell_search.h"
#include "dataview/doc_matcher.h"
#include "editor/doc_search.h"
#include "editor/text_doc.h"

namespace {

constexpr int row_count = 20000, cols = 5;

struct memory_grid final : dataview::search_grid {
    std::vector<std::string> texts;  // row-major
    std::vector<unsigned char> marks;
    int cur_r = 0, cur_c = 0;
    memory_grid()
    {
        texts.reserve(row_count * cols);
        for (int r = 0; r < row_count; ++r)
            for (int c = 0; c < cols; ++c) {
                std::string t = "row " + std::to_string(r) + " column " + std::to_string(c) + " value";
                if ((r * cols + c) % 10 == 3) t += " needle";
                t += " " + std::to_string(r * 7919 % 100003);
                texts.push_back(std::move(t));
            }
        marks.assign(texts.size(), 0);
    }
    int rows() const override { return row_count; }
    int columns() const override { return cols; }
    bool column_hidden(int) const override { return false; }
    std::string cell_text(int r, int c) const override { return texts[r * cols + c]; }
    bool current(int& r, int& c) const override
    {
        r = cur_r;
        c = cur_c;
        return true;
    }
    void set_current(int r, int c) override
    {
        cur_r = r;
        cur_c = c;
    }
    void set_found(int r, int c, bool on) override { marks[r * cols + c] = on; }
    bool found(int r, int c) const override { return marks[r * cols + c]; }
    void refresh_found() override {}
    bool read_only(int) const override { return false; }
    bool store_text(int, int, std::string_view) override { return false; }
};

memory_grid& grid()
{
    static memory_grid g;
    return g;
}

dataview::search_options options(const char* target, unsigned mode, unsigned flags)
{
    dataview::search_options o;
    o.target = target;
    o.mode = mode;
    o.flags = flags;
    return o;
}

void baseline_memmem_loop(benchmark::State& state)
{
    const memory_grid& g = grid();
    for (auto _ : state) {
        int count = 0;
        for (const std::string& t : g.texts) count += memmem(t.data(), t.size(), "needle", 6) != nullptr;
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(baseline_memmem_loop)->Unit(benchmark::kMillisecond);

void find_all(benchmark::State& state, const char* target, unsigned mode, unsigned flags)
{
    memory_grid& g = grid();
    dataview::cell_search s(g, &dataview::make_doc_matcher);
    const auto o = options(target, mode, flags);
    int count = 0;
    for (auto _ : state) count = s.search_all(o, true);
    state.counters["cells_found"] = count;
}
BENCHMARK_CAPTURE(find_all, plain, "needle", 0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(find_all, regex, "ne+dle \\d+", 2, 0)->Unit(benchmark::kMillisecond);

// What the cell search would cost with one document and one compile per cell.
void per_cell_document_search(benchmark::State& state, const char* target, unsigned mode)
{
    const memory_grid& g = grid();
    std::vector<ruv::byte_range> out;
    for (auto _ : state) {
        int count = 0;
        for (const std::string& t : g.texts) {
            ruv::text_doc d;
            ruv::doc_init(d, {t.data(), t.size()});
            ruv::doc_find_all(d, kk::adt::cstr_view(target), out, mode, 0);
            count += !out.empty();
            ruv::doc_free(d);
        }
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK_CAPTURE(per_cell_document_search, plain, "needle", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(per_cell_document_search, regex, "ne+dle \\d+", 2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
