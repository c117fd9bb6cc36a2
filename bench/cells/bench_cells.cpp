// Cell texts as a result grid asks for them: one delegate call per cell, against the
// toolkit's own number formatting and the standard parse.
#include <benchmark/benchmark.h>

#include <QString>
#include <QVariant>

#include <charconv>
#include <random>
#include <string>
#include <vector>

#include "cells/item_dlgt.h"

namespace {

constexpr int cells = 100000;

const std::vector<QVariant>& i64_cells()
{
    static const std::vector<QVariant> v = [] {
        std::mt19937_64 rng(7);
        std::vector<QVariant> out;
        for (int i = 0; i < cells; ++i) {
            const int bits = static_cast<int>(rng() % 63) + 1;
            out.emplace_back(static_cast<qlonglong>(rng() & ((1ull << bits) - 1)) * (i % 2 ? -1 : 1));
        }
        return out;
    }();
    return v;
}

const std::vector<QVariant>& double_cells()
{
    static const std::vector<QVariant> v = [] {
        std::mt19937_64 rng(8);
        std::uniform_real_distribution<double> d(-1e9, 1e9);
        std::vector<QVariant> out;
        for (int i = 0; i < cells; ++i) out.emplace_back(d(rng));
        return out;
    }();
    return v;
}

const std::vector<std::string>& i64_texts()
{
    static const std::vector<std::string> v = [] {
        std::vector<std::string> out;
        for (const QVariant& c : i64_cells()) out.push_back(std::to_string(c.toLongLong()));
        return out;
    }();
    return v;
}

void BM_int_to_text_dec(benchmark::State& state)
{
    int_item_dlgt d;
    d.set_type_i64();
    for (auto _ : state)
        for (const QVariant& c : i64_cells()) benchmark::DoNotOptimize(d.to_text(c));
    state.SetItemsProcessed(state.iterations() * cells);
}

void BM_int_to_text_hex_flags(benchmark::State& state)
{
    int_item_dlgt d;
    d.set_type_i64();
    d.set_hex_mode_flags();
    for (auto _ : state)
        for (const QVariant& c : i64_cells()) benchmark::DoNotOptimize(d.to_text(c));
    state.SetItemsProcessed(state.iterations() * cells);
}

void BM_baseline_qstring_number_i64(benchmark::State& state)
{
    for (auto _ : state)
        for (const QVariant& c : i64_cells()) benchmark::DoNotOptimize(QString::number(c.toLongLong()));
    state.SetItemsProcessed(state.iterations() * cells);
}

void BM_double_to_text(benchmark::State& state)
{
    double_item_dlgt d;
    for (auto _ : state)
        for (const QVariant& c : double_cells()) benchmark::DoNotOptimize(d.to_text(c));
    state.SetItemsProcessed(state.iterations() * cells);
}

void BM_baseline_qstring_number_double(benchmark::State& state)
{
    for (auto _ : state)
        for (const QVariant& c : double_cells()) benchmark::DoNotOptimize(QString::number(c.toDouble(), 'f', 17));
    state.SetItemsProcessed(state.iterations() * cells);
}

void BM_int_from_text(benchmark::State& state)
{
    int_item_dlgt d;
    d.set_type_i64();
    for (auto _ : state)
        for (const std::string& t : i64_texts())
            benchmark::DoNotOptimize(d.from_text({t.data(), t.size()}));
    state.SetItemsProcessed(state.iterations() * cells);
}

void BM_baseline_from_chars_i64(benchmark::State& state)
{
    for (auto _ : state)
        for (const std::string& t : i64_texts()) {
            long long v = 0;
            std::from_chars(t.data(), t.data() + t.size(), v);
            benchmark::DoNotOptimize(QVariant(static_cast<qlonglong>(v)));
        }
    state.SetItemsProcessed(state.iterations() * cells);
}

}  // namespace

BENCHMARK(BM_int_to_text_dec)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_int_to_text_hex_flags)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_baseline_qstring_number_i64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_double_to_text)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_baseline_qstring_number_double)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_int_from_text)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_baseline_from_chars_i64)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
