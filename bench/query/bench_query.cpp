// Query execution, each against a baseline in the same run:
// - BM_hex_escape_100MB: the \xNN escape of a 100 MB client upload; baseline
//   BM_baseline_escape_nibble_table, a plain nibble-table loop over the same bytes.
// - BM_hex_decode_100MB: the hexadecimal decode of a download (100 MB out); baseline
//   BM_baseline_decode_byte_table, a plain byte-table loop.
// - BM_log_prepend_10000: 10000 log entries put one by one on top of the log pane;
//   baseline BM_baseline_qstring_prepend_10000, the same entries prepended to a QString.
// - BM_result_to_variants_1M_x5: the conversion of a 10^6 x 5 result (i32, string, double,
//   date, u64) into variant rows, with the release of the rows, names, types and row ids it
//   made (the exchange before it and the result set's del_datas are not timed); baseline
//   BM_baseline_exec_and_decode_1M_x5, the library's exec and del_datas of the same reply.
//   The test server sends that reply from one shared buffer (no copy per request).
#include <QApplication>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "adt/text.h"
#include "client/ruv_sql_lib_mem.h"
#include "sqllib/library_startup.h"
#include "query/db_ctx.h"
#include "query/transfer_sql.h"
#include "query/variant_rows.h"
#include "tests/peer/peer_wire.h"
#include "tests/peer/test_peer.h"

namespace {

constexpr size_t mb100 = 100u << 20;

const std::string& random_bytes() {
  static const std::string bytes = [] {
    std::string s(mb100, '\0');
    std::mt19937_64 g(7);
    for (size_t i = 0; i < s.size(); i += 8) {
      const uint64_t v = g();
      std::memcpy(s.data() + i, &v, std::min<size_t>(8, s.size() - i));
    }
    return s;
  }();
  return bytes;
}

void BM_hex_escape_100MB(benchmark::State& state) {
  const std::string& in = random_bytes();
  std::vector<char> out(in.size() * 4);
  for (auto _ : state) {
    hex_escape(out.data(), in.data(), in.size());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(in.size()));
}

void BM_baseline_escape_nibble_table(benchmark::State& state) {
  const std::string& in = random_bytes();
  std::vector<char> out(in.size() * 4);
  static const char digits[] = "0123456789abcdef";
  for (auto _ : state) {
    char* w = out.data();
    for (unsigned char c : in) {
      w[0] = '\\';
      w[1] = 'x';
      w[2] = digits[c >> 4];
      w[3] = digits[c & 15];
      w += 4;
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(in.size()));
}

const std::string& hex_text() {
  static const std::string text = [] {
    const std::string& in = random_bytes();
    std::string t(in.size() * 2, '\0');
    for (size_t i = 0; i < in.size(); ++i) {
      const auto& h = kk::adt::hex_byte_text[static_cast<unsigned char>(in[i])];
      t[2 * i] = h[0];
      t[2 * i + 1] = h[1];
    }
    return t;
  }();
  return text;
}

void BM_hex_decode_100MB(benchmark::State& state) {
  const std::string& t = hex_text();
  std::vector<char> out(t.size() / 2);
  for (auto _ : state) {
    bool ok = kk::adt::hex_text_to_raw(out.data(), {t.data(), t.size()});
    benchmark::DoNotOptimize(ok);
  }
  if (std::memcmp(out.data(), random_bytes().data(), out.size()) != 0) state.SkipWithError("decode differs");
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}

void BM_baseline_decode_byte_table(benchmark::State& state) {
  const std::string& t = hex_text();
  std::vector<char> out(t.size() / 2);
  static const auto table = [] {
    std::array<int8_t, 256> v{};
    v.fill(-1);
    for (int i = 0; i < 10; ++i) v['0' + i] = int8_t(i);
    for (int i = 0; i < 6; ++i) v['a' + i] = v['A' + i] = int8_t(10 + i);
    return v;
  }();
  for (auto _ : state) {
    bool ok = true;
    for (size_t i = 0; i + 1 < t.size(); i += 2) {
      const int hi = table[static_cast<unsigned char>(t[i])], lo = table[static_cast<unsigned char>(t[i + 1])];
      if ((hi | lo) < 0) {
        ok = false;
        break;
      }
      out[i / 2] = char(hi << 4 | lo);
    }
    benchmark::DoNotOptimize(ok);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}

// A typical entry: a 60-byte statement, successful.
kk::adt::string::string sample_entry(int i) {
  const std::string sql = "update t set name = \"x" + std::to_string(i) + "\" where __id == " + std::to_string(i) + ";";
  return log_entry(QDateTime(QDate(2026, 12, 10), QTime(4, 5, 6)), {sql.data(), sql.size()}, true, 1234567);
}

void BM_log_prepend_10000(benchmark::State& state) {
  for (auto _ : state) {
    QTextEdit pane;
    db_ctx ctx(kk::adt::string_from_cstr("db"), &pane);
    for (int i = 0; i < 10000; ++i) log_prepend(&ctx, sample_entry(i));
    benchmark::DoNotOptimize(pane.document());
  }
}

void BM_baseline_qstring_prepend_10000(benchmark::State& state) {
  for (auto _ : state) {
    QString html;
    for (int i = 0; i < 10000; ++i) {
      const auto e = sample_entry(i);
      html.prepend(QString::fromUtf8(e.data, int(e.size)));
    }
    benchmark::DoNotOptimize(html.data());
  }
}

// A reply of 10^6 rows: i32, string (about 10 bytes), double, date, u64.
const std::string& big_reply() {
  static const std::string reply = [] {
    peer::result r{{{"i", peer::d_i32}, {"s", peer::d_string}, {"d", peer::d_double}, {"t", peer::d_date}, {"u", peer::d_u64}},
                   {}};
    r.rows.reserve(1000000);
    std::mt19937_64 g(3);
    for (uint64_t k = 0; k < 1000000; ++k)
      r.rows.push_back({k + 1,
                        {peer::i32(int32_t(g())), peer::text("name " + std::to_string(g() % 100000)),
                         peer::f64(double(g() % 1000000) / 7), peer::date(uint16_t(1900 + g() % 200), uint8_t(1 + g() % 12), uint8_t(1 + g() % 28)),
                         peer::u64(g())}});
    return peer::ok_reply(r);
  }();
  return reply;
}

struct session {
  peer::test_peer peer;
  session() {
    static const auto reply = std::make_shared<const std::string>(big_reply());
    peer.set_handler([](std::string_view) { return peer::send_shared(reply); });
    connect_to_server("127.0.0.1", peer.port(), "u", "p");
  }
  ~session() { exit_to_server(); }
};

void BM_baseline_exec_and_decode_1M_x5(benchmark::State& state) {
  big_reply();
  session s;
  for (auto _ : state) {
    datas* d = exec("select * from t;", 16);
    if (!d) state.SkipWithError("exec failed");
    del_datas(d);
  }
}

void BM_result_to_variants_1M_x5(benchmark::State& state) {
  big_reply();
  session s;
  for (auto _ : state) {
    state.PauseTiming();
    datas* d = exec("select * from t;", 16);
    state.ResumeTiming();
    {
      text_list names, types;
      variant_rows rows;
      kk::adt::vector<kk::u64> ids;
      if (!result_to_variants(d, names, rows, types, &ids) || rows.count() != 1000000) state.SkipWithError("conversion");
      list_of_rows_clear(rows);
      ids.free();
    }  // names and types released here, inside the timed region
    state.PauseTiming();
    del_datas(d);
    state.ResumeTiming();
  }
}

}  // namespace

BENCHMARK(BM_baseline_escape_nibble_table)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_hex_escape_100MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_baseline_decode_byte_table)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_hex_decode_100MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_baseline_qstring_prepend_10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_log_prepend_10000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_baseline_exec_and_decode_1M_x5)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_result_to_variants_1M_x5)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  kk::library_startup();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
