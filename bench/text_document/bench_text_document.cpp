// The editor's text document on a 4 MiB script: find-all of a word (plain and ignoring
// case) against std::string::find and QTextDocument::find, Replace All of 57000 matches,
// and 10^5 single-character inserts at random positions against a std::string insert loop.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <random>
#include <string>

#include "editor/doc_search.h"

namespace {

constexpr std::size_t text_size = 4u << 20;
constexpr int needles = 57000;

// Lines of SQL-like words; "needle" occurs exactly 57000 times, the rest fills 4 MiB.
const std::string& script() {
  static const std::string s = [] {
    static const char* words[] = {"select", "from", "where", "table_a", "field_b", "and", "or", "123", "'text'", "order"};
    std::mt19937 rng(7);
    std::string t;
    t.reserve(text_size + 256);
    const std::size_t per = text_size / needles;
    for (int i = 0; i < needles; ++i) {
      const std::size_t line_end = t.size() + per;
      t += (i % 7 == 0) ? "Needle " : "needle ";
      while (t.size() + 12 < line_end) {
        t += words[rng() % 10];
        t += ' ';
      }
      t += ";\n";
    }
    while (t.size() < text_size) t += "-- filler\n";
    t.resize(text_size);
    return t;
  }();
  return s;
}

kk::adt::text_view view(const std::string& s) { return {s.data(), s.size()}; }

void baseline_std_string_find(benchmark::State& st) {
  const std::string& t = script();
  for (auto _ : st) {
    std::size_t n = 0;
    for (std::size_t at = t.find("needle"); at != std::string::npos; at = t.find("needle", at + 6)) ++n;
    benchmark::DoNotOptimize(n);
  }
}

void qtextdocument_find(benchmark::State& st) {
  QTextDocument doc;
  doc.setPlainText(QString::fromStdString(script()));
  for (auto _ : st) {
    int n = 0;
    QTextCursor c(&doc);
    while (!(c = doc.find(QStringLiteral("needle"), c, QTextDocument::FindCaseSensitively)).isNull()) ++n;
    benchmark::DoNotOptimize(n);
  }
}

void find_all(benchmark::State& st, ruv::u16 flags) {
  ruv::text_doc d;
  ruv::doc_init(d, view(script()));
  std::vector<ruv::byte_range> out;
  for (auto _ : st) {
    ruv::doc_find_all(d, ruv::doc_view("needle"), out, ruv::search_plain, flags);
    benchmark::DoNotOptimize(out.data());
  }
  st.counters["matches"] = static_cast<double>(out.size());
}

void find_all_plain(benchmark::State& st) { find_all(st, 0); }
void find_all_ignore_case(benchmark::State& st) { find_all(st, ruv::search_ignore_case); }

void find_all_regex(benchmark::State& st) {
  ruv::text_doc d;
  ruv::doc_init(d, view(script()));
  std::vector<ruv::byte_range> out;
  for (auto _ : st) {
    ruv::doc_find_all(d, ruv::doc_view("ne+dle"), out, ruv::search_regex, 0);
    benchmark::DoNotOptimize(out.data());
  }
  st.counters["matches"] = static_cast<double>(out.size());
}

void replace_all(benchmark::State& st) {
  std::size_t n = 0;
  for (auto _ : st) {
    st.PauseTiming();
    ruv::text_doc d;
    ruv::doc_init(d, view(script()));
    st.ResumeTiming();
    n = ruv::doc_replace_all(d, ruv::doc_view("needle"), ruv::doc_view("pin"), ruv::search_plain, ruv::search_ignore_case);
    benchmark::DoNotOptimize(d.text.data);
  }
  st.counters["replaced"] = static_cast<double>(n);
}

constexpr int inserts = 100000;

void baseline_std_string_inserts(benchmark::State& st) {
  for (auto _ : st) {
    st.PauseTiming();
    std::string t = script();
    std::mt19937 rng(3);
    st.ResumeTiming();
    for (int i = 0; i < inserts; ++i) t.insert(t.begin() + static_cast<long>(rng() % (t.size() + 1)), 'x');
    benchmark::DoNotOptimize(t.data());
  }
}

void doc_inserts(benchmark::State& st) {
  for (auto _ : st) {
    st.PauseTiming();
    ruv::text_doc d;
    ruv::doc_init(d, view(script()));
    std::mt19937 rng(3);
    st.ResumeTiming();
    for (int i = 0; i < inserts; ++i) {
      ruv::doc_set_cursor(d, rng() % (d.text.size + 1));
      ruv::doc_insert_text(d, ruv::doc_view("x"));
    }
    benchmark::DoNotOptimize(d.text.data);
  }
}

}  // namespace

BENCHMARK(baseline_std_string_find)->Unit(benchmark::kMillisecond);
BENCHMARK(qtextdocument_find)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(find_all_plain)->Unit(benchmark::kMillisecond);
BENCHMARK(find_all_ignore_case)->Unit(benchmark::kMillisecond);
BENCHMARK(find_all_regex)->Unit(benchmark::kMillisecond);
BENCHMARK(replace_all)->Unit(benchmark::kMillisecond);
BENCHMARK(baseline_std_string_inserts)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(doc_inserts)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
