// Whole-line matching of 1 MB of text, as reg_match does row by row, with this engine
// against std::regex (ECMAScript) and PCRE2 (interpreter and JIT) in the same run.
// Every engine must find the same number of matching lines, checked before timing.
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "grammar/regex_engine.h"

namespace {

using kk::grammar::regex_engine;

struct corpus {
  std::string text;
  std::vector<std::string_view> lines;
};

// About 1 MB of log-like lines: words, request lines, e-mail addresses, levelled messages.
const corpus& text_1mb() {
  static const corpus c = [] {
    corpus k;
    std::mt19937 rng(42);
    const char* words[] = {"alpha", "beta", "gamma", "delta", "omega", "zeta", "kappa",
                           "lambda", "sigma", "tau", "x1", "y22", "z333"};
    const char* levels[] = {"error", "warning", "info", "debug", "trace"};
    const char* tlds[] = {"com", "org", "net", "io"};
    auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    while (k.text.size() < (1u << 20)) {
      std::string line;
      switch (pick(5)) {
        case 0: line = pick(2) ? "GET /index.html HTTP/1.1" : "GET /index.htm HTTP/1.1"; break;
        case 1:
          line = std::string(words[pick(13)]) + "_" + words[pick(13)] + "@" + words[pick(13)] +
                 "." + tlds[pick(4)];
          break;
        case 2:
          line = std::string(levels[pick(5)]) + ": ";
          for (int i = 0, n = 3 + pick(8); i < n; ++i) line += std::string(words[pick(13)]) + " ";
          break;
        default:
          for (int i = 0, n = 4 + pick(10); i < n; ++i) {
            if (i) line += pick(9) ? " " : ", ";
            line += words[pick(13)];
          }
      }
      k.text += line;
      k.text += '\n';
    }
    for (char ch : k.text)
      if (static_cast<unsigned char>(ch) >= 0x80) std::abort();  // matched without UTF checks
    const char* p = k.text.data();
    const char* end = p + k.text.size();
    while (p < end) {
      const char* nl = static_cast<const char*>(memchr(p, '\n', end - p));
      k.lines.emplace_back(p, nl - p);
      p = nl + 1;
    }
    return k;
  }();
  return c;
}

struct pattern_case {
  const char* name;
  const char* ours;
  const char* ecma;  // std::regex
  const char* pcre;  // possessive form, same verdicts
};

const pattern_case cases[] = {
    {"literal", "GET /index\\.html HTTP/1\\.1", "GET /index\\.html HTTP/1\\.1",
     "GET /index\\.html HTTP/1\\.1"},
    {"class", "[a-z0-9 ]+", "[a-z0-9 ]+", "[a-z0-9 ]++"},
    {"alternation", "(?:error|warning|info): .*", "(?:error|warning|info): .*",
     "(?>error|warning|info): .*+"},
    {"quantified", "\\w+@\\w+\\.(?:com|org|net)", "\\w+@\\w+\\.(?:com|org|net)",
     "\\w++@\\w++\\.(?>com|org|net)"},
};

struct pcre_re {
  pcre2_code* code = nullptr;
  pcre2_match_data* md = nullptr;
  bool jit_ok = false;
  pcre_re(const char* p, bool jit) {
    std::string a = std::string("\\A(?:") + p + ")\\z";
    int err;
    PCRE2_SIZE off;
    code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(a.data()), a.size(), PCRE2_UTF, &err, &off,
                         nullptr);
    if (code && jit) jit_ok = pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) == 0;
    if (code) md = pcre2_match_data_create_from_pattern(code, nullptr);
  }
  ~pcre_re() {
    pcre2_match_data_free(md);
    pcre2_code_free(code);
  }
  // The subjects are ASCII, checked once when the corpus is built, hence valid UTF-8: like
  // this engine, PCRE2 does not validate them again on every call.
  bool match(std::string_view s) const {
    return pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(s.data()), s.size(), 0,
                       PCRE2_NO_UTF_CHECK, md, nullptr) >= 0;
  }
};

template <class F>
long count_lines(F&& matches) {
  long n = 0;
  for (std::string_view l : text_1mb().lines) n += matches(l);
  return n;
}

long ours_count(regex_engine& e, const pattern_case& c) {
  std::string_view p = c.ours;
  return count_lines([&](std::string_view l) {
    return kk::grammar::regex_engine_match(&e, p.data(), p.size(), l.data(), l.size());
  });
}

long std_count(const std::regex& re) {
  return count_lines([&](std::string_view l) { return std::regex_match(l.begin(), l.end(), re); });
}

// The line count every engine must reach, from this engine.
long expected(const pattern_case& c) {
  regex_engine e;
  kk::grammar::regex_engine_init(&e);
  long n = ours_count(e, c);
  kk::grammar::regex_engine_free(&e);
  return n;
}

void finish(benchmark::State& st, long found, long want) {
  if (found != want) st.SkipWithError("verdicts differ from this engine's");
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations()) *
                       static_cast<int64_t>(text_1mb().text.size()));
  st.counters["lines_matched"] = static_cast<double>(found);
}

void bm_ours(benchmark::State& st, const pattern_case* c) {
  regex_engine e;
  kk::grammar::regex_engine_init(&e);
  long found = 0;
  for (auto _ : st) benchmark::DoNotOptimize(found = ours_count(e, *c));
  kk::grammar::regex_engine_free(&e);
  finish(st, found, expected(*c));
}

void bm_std_regex(benchmark::State& st, const pattern_case* c) {
  std::regex re(c->ecma, std::regex::ECMAScript);
  long found = 0;
  for (auto _ : st) benchmark::DoNotOptimize(found = std_count(re));
  finish(st, found, expected(*c));
}

void bm_pcre2(benchmark::State& st, const pattern_case* c, bool jit) {
  pcre_re re(c->pcre, jit);
  if (!re.code || !re.md || (jit && !re.jit_ok)) {
    st.SkipWithError(jit ? "PCRE2 JIT unavailable" : "PCRE2 compile failed");
    return;
  }
  long found = 0;
  for (auto _ : st)
    benchmark::DoNotOptimize(found = count_lines([&](std::string_view l) { return re.match(l); }));
  finish(st, found, expected(*c));
}

long minor_faults() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_minflt;
}

// One subject of n bytes whose loop re-scans the same text at every position: the loop
// memo keeps it linear (time per byte stays flat from 1 to 4 MB). One engine matches the
// subject again and again, as reg_match's engine does row after row; faults/iter counts
// the pages mapped afresh per match.
void bm_ours_rescan(benchmark::State& st) {
  std::string s(static_cast<size_t>(st.range(0)), 'a');
  const std::string p = "(?:a*b|a*c|a)*";
  regex_engine e;
  kk::grammar::regex_engine_init(&e);
  // One match before timing: the engine has matched rows before, as reg_match's has.
  bool ok = kk::grammar::regex_engine_match(&e, p.data(), p.size(), s.data(), s.size());
  const long faults0 = minor_faults();
  for (auto _ : st)
    benchmark::DoNotOptimize(ok = kk::grammar::regex_engine_match(&e, p.data(), p.size(), s.data(),
                                                                 s.size()));
  const long faults = minor_faults() - faults0;
  kk::grammar::regex_engine_free(&e);
  if (!ok) st.SkipWithError("no match");
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations()) * st.range(0));
  st.counters["faults/iter"] = static_cast<double>(faults) / static_cast<double>(st.iterations());
}

// The same on a fresh engine each time: the first match also maps its memos and stack.
void bm_ours_rescan_first_match(benchmark::State& st) {
  std::string s(static_cast<size_t>(st.range(0)), 'a');
  const std::string p = "(?:a*b|a*c|a)*";
  bool ok = true;
  long faults = 0;
  for (auto _ : st) {
    st.PauseTiming();
    regex_engine e;
    kk::grammar::regex_engine_init(&e);
    const long faults0 = minor_faults();
    st.ResumeTiming();
    ok = ok && kk::grammar::regex_engine_match(&e, p.data(), p.size(), s.data(), s.size());
    st.PauseTiming();
    faults += minor_faults() - faults0;
    kk::grammar::regex_engine_free(&e);
    st.ResumeTiming();
  }
  if (!ok) st.SkipWithError("no match");
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations()) * st.range(0));
  st.counters["faults/iter"] = static_cast<double>(faults) / static_cast<double>(st.iterations());
}

[[maybe_unused]] const bool registered = [] {
  for (const pattern_case& c : cases) {
    std::string n = c.name;
    benchmark::RegisterBenchmark(("regex/" + n + "/ours").c_str(), bm_ours, &c)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("regex/" + n + "/std_regex").c_str(), bm_std_regex, &c)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("regex/" + n + "/pcre2").c_str(), bm_pcre2, &c, false)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("regex/" + n + "/pcre2_jit").c_str(), bm_pcre2, &c, true)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("regex/rescan_one_subject/ours", bm_ours_rescan)
      ->Arg(1 << 20)
      ->Arg(2 << 20)
      ->Arg(4 << 20)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("regex/rescan_one_subject/ours_first_match", bm_ours_rescan_first_match)
      ->Arg(1 << 20)
      ->Arg(4 << 20)
      ->Unit(benchmark::kMillisecond);
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
