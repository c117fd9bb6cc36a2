// The library's receive and decode of a large result over loopback: 10^6 rows x 10 columns
// (every integer width, both floats, a short text, date, time, datetime), sent by a server
// thread of this process from one buffer built once, so neither the client nor the
// baselines wait for the server to copy it.
// - BM_exec_decode: exec through the C interface, then del_datas, both timed (every caller
//   pays the release); memory figures from the process's first exchange.
// - BM_exec_decode_cold: the same exchange as the first of a fresh process: this program
//   started again as a child (--cold=exec_decode --port=<server>), one child per repetition,
//   manual time; exec_ms and release_ms are its parts.
// - BM_unpack_in_memory: the decoder alone over the payload in memory, with the release.
// - Baselines: BM_recv_loop, a plain recv loop that receives the same reply bytes and only
//   counts them (with the client's socket options and with the system's); BM_memcpy_payload,
//   one memcpy of the payload.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/common/proc_memory.h"
#include "bench/common/cold_run.h"
#include "client/ruv_sql_lib_mem.h"
#include "client/unpack_datas.h"
#include "platform/socket.h"
#include "tests/peer/peer_wire.h"

namespace {

using bench_memory::reset_peak;
using bench_memory::status_kib;

constexpr uint64_t rows = 1000000;

// Ten mixed columns: every width of integer, both floats, a short text and the date types.
const std::string& reply_bytes() {
  static const std::string bytes = [] {
    using namespace peer;
    result r;
    r.cols = {{"a", d_u08}, {"b", d_i16}, {"c", d_i32},   {"d", d_u64},  {"e", d_float},
              {"f", d_double}, {"g", d_string}, {"h", d_date}, {"i", d_time}, {"j", d_datetime}};
    // Encoded row by row by hand: building a million peer::row objects first would dwarf the
    // figures being measured.
    std::string body = u64le(r.cols.size());
    for (const auto& c : r.cols) body += u64le(c.name.size()) + c.name;
    body += u64le(rows);
    for (const auto& c : r.cols) body += u8(c.d.size) + u8(c.d.sign) + u8(c.d.type);
    char name[16];
    for (uint64_t i = 0; i < rows; ++i) {
      std::snprintf(name, sizeof name, "row%llu", static_cast<unsigned long long>(i));
      body += u64le(i);
      body += u08(uint8_t(i)).bytes + i16(int16_t(i)).bytes + i32(int32_t(i * 7)).bytes + u64(i * 13).bytes +
              f32(float(i) / 3).bytes + f64(double(i) / 7).bytes + text(name).bytes +
              date(2024, 1 + i % 12, 1 + i % 28).bytes + time(i % 24, i % 60, i % 60, uint32_t(i)).bytes +
              datetime(2000, 6, 15, 12, 0, 0, uint32_t(i)).bytes;
    }
    return reply_frame(status_ok, body);
  }();
  return bytes;
}

namespace plat = kk::platform;

// A loopback server for the benchmark: accepts the login, then answers every statement with
// reply_bytes(), sent from that one string (the test peer copies each reply it sends).
class one_buffer_server {
 public:
  one_buffer_server() {
    listener_ = plat::listen_loopback(&port_, 4);
    if (listener_ != plat::no_socket) thread_ = std::thread([this] { run(); });
  }
  ~one_buffer_server() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ != plat::no_socket) plat::close_socket(listener_);
  }
  uint16_t port() const { return port_; }

 private:
  bool wait_readable(int fd) {
    while (!stop_) {
      pollfd p{fd, POLLIN, 0};
      int r = poll(&p, 1, 50);
      if (r > 0) return true;
      if (r < 0 && errno != EINTR) return false;
    }
    return false;
  }
  bool read_exact(int fd, char* to, size_t n) {
    while (n) {
      if (!wait_readable(fd)) return false;
      ptrdiff_t r = plat::recv_some(fd, to, n);
      if (r <= 0) return false;
      to += r;
      n -= size_t(r);
    }
    return true;
  }
  // Reads one frame's length field and body; false when the client has gone.
  bool read_frame(int fd, uint32_t& len, std::string& body) {
    unsigned char b[4];
    if (!read_exact(fd, reinterpret_cast<char*>(b), 4)) return false;
    len = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    if (len == 0xFFFFFFFFu) return true;  // logout
    if (len > (1u << 20)) return false;
    body.resize(len);
    return read_exact(fd, body.data(), len);
  }
  void serve(int fd) {
    uint32_t len;
    std::string body;
    static const std::string login_ok = peer::reply_frame(peer::status_ok, {});
    if (!read_frame(fd, len, body) || !plat::send_all(fd, login_ok.data(), login_ok.size())) return;
    const std::string& reply = reply_bytes();
    while (read_frame(fd, len, body))
      if (len != 0xFFFFFFFFu && !plat::send_all(fd, reply.data(), reply.size())) return;
  }
  void run() {
    while (wait_readable(listener_)) {
      int fd = plat::accept_connection(listener_);
      if (fd == plat::no_socket) continue;
      serve(fd);
      plat::close_socket(fd);
    }
  }

  plat::socket_t listener_ = plat::no_socket;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

one_buffer_server& server() {
  static one_buffer_server s;
  return s;
}

long minor_faults() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_minflt;
}

// The exchange through the library's C interface, the result's release (del_datas)
// included, as every caller pays it.
bool exec_and_release() {
  datas* r = exec("q", 1);
  const bool ok = r && rows_of(r) == rows;
  del_datas(r);
  return ok;
}

bool connect_to_bench_server() { return connect_to_server("127.0.0.1", server().port(), "bench", "bench"); }

void BM_exec_decode(benchmark::State& state) {
  const std::string& bytes = reply_bytes();
  if (!connect_to_bench_server()) {
    state.SkipWithError("connect failed");
    return;
  }
  // One measured exchange for the memory figures, the first of the process: later ones
  // reuse freed heap.
  static struct {
    bool done = false;
    double peak = 0, held = 0, kept = 0;
  } mem;
  if (!mem.done) {
    malloc_trim(0);  // the heap freed by building the reply is not counted as taken
    reset_peak();
    const long rss0 = status_kib("VmRSS");
    datas* d = exec("q", 1);
    const long peak = status_kib("VmHWM");
    const long rss1 = status_kib("VmRSS");
    if (!d || rows_of(d) != rows) {
      del_datas(d);
      state.SkipWithError("exec failed");
      return;
    }
    del_datas(d);
    malloc_trim(0);
    mem = {true, double(peak - rss0), double(rss1 - rss0), double(status_kib("VmRSS") - rss0)};
  }
  state.counters["payload_MiB"] = double(bytes.size()) / (1024.0 * 1024.0);
  state.counters["peak_growth_MiB"] = mem.peak / 1024;
  // With the result in hand: the result, and the reply accumulator the connection keeps
  // for its next exchange.
  state.counters["held_MiB"] = mem.held / 1024;
  // After the release, freed heap handed back: the accumulator (and any heap the
  // allocator could not give back).
  state.counters["kept_MiB"] = mem.kept / 1024;

  const long faults0 = minor_faults();
  for (auto _ : state)
    if (!exec_and_release()) state.SkipWithError("exec failed");
  // Pages mapped afresh per exchange: the decoded result's (it is new memory the caller
  // owns) and whatever else the exchange allocates anew.
  state.counters["faults/iter"] = double(minor_faults() - faults0) / double(state.iterations());
  exit_to_server();
  state.SetBytesProcessed(int64_t(state.iterations() * bytes.size()));
  state.counters["rows/s"] = benchmark::Counter(double(rows), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_exec_decode)->Unit(benchmark::kMillisecond)->UseRealTime();

// The first exchange of a fresh process: this program started again as a child
// (--cold=exec_decode), which connects to this process's server and times one
// exec_and_release; one child per repetition.
void BM_exec_decode_cold(benchmark::State& state) {
  reply_bytes();
  bench_cold::run(state, {"--cold=exec_decode", "--port=" + std::to_string(server().port())});
}
BENCHMARK(BM_exec_decode_cold)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(3);

int cold_child(const std::string& port_text) {
  using clock = std::chrono::steady_clock;
  const int port = std::atoi(port_text.c_str());
  if (port <= 0 || port > 65535 || !connect_to_server("127.0.0.1", uint16_t(port), "bench", "bench")) return 1;
  reset_peak();
  const long rss0 = status_kib("VmRSS");
  const long faults0 = minor_faults();
  const auto t0 = clock::now();
  datas* d = exec("q", 1);
  const auto t1 = clock::now();
  const bool ok = d && rows_of(d) == rows;
  const long held = status_kib("VmRSS");
  const auto t2 = clock::now();
  del_datas(d);
  const auto t3 = clock::now();
  const long faults = minor_faults() - faults0;
  const long peak = status_kib("VmHWM");
  exit_to_server();
  if (!ok) return 1;
  // seconds: exec and release; held_MiB: with the result in hand, above the start.
  bench_cold::put("seconds", std::chrono::duration<double>((t1 - t0) + (t3 - t2)).count());
  bench_cold::put("exec_ms", std::chrono::duration<double, std::milli>(t1 - t0).count());
  bench_cold::put("release_ms", std::chrono::duration<double, std::milli>(t3 - t2).count());
  bench_cold::put("peak_growth_MiB", double(peak - rss0) / 1024);
  bench_cold::put("held_MiB", double(held - rss0) / 1024);
  bench_cold::put("faults", double(faults));
  return 0;
}

// The decoder alone, over the payload already in memory, the release of its result included
// (the library's decoder called directly: it has no C export).
void BM_unpack_in_memory(benchmark::State& state) {
  const std::string& bytes = reply_bytes();
  for (auto _ : state) {
    kk::datas d;
    bool ok = kk::unpack_datas(d, bytes.data() + 5, bytes.size() - 5, nullptr);
    benchmark::DoNotOptimize(ok);
    kk::free_datas(d);
  }
  state.SetBytesProcessed(int64_t(state.iterations() * bytes.size()));
  state.counters["rows/s"] = benchmark::Counter(double(rows), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_unpack_in_memory)->Unit(benchmark::kMillisecond)->UseRealTime();

// Baseline: the same exchange with a plain recv loop that only counts the bytes, into one
// 512 KiB buffer as the client reads. Arg 1: the socket options the client sets (receive
// and send buffers of 64 KiB); arg 0: the system's defaults.
void BM_recv_loop(benchmark::State& state) {
  const std::string& bytes = reply_bytes();
  plat::socket_t s = plat::tcp_socket();
  std::string login = peer::login_frame("bench", "bench");
  std::vector<char> buf(524288);
  if (state.range(0) == 1) {
    plat::set_socket_option(s, SO_REUSEADDR, 0);
    plat::set_socket_option(s, SO_RCVBUF, 65536);
    plat::set_socket_option(s, SO_SNDBUF, 65536);
    plat::set_socket_option(s, SO_KEEPALIVE, 0);
  }
  if (!plat::connect_ipv4(s, plat::ipv4_address("127.0.0.1"), server().port(), 10000) ||
      !plat::send_all(s, login.data(), login.size()) || plat::recv_some(s, buf.data(), buf.size()) != 5) {
    state.SkipWithError("login failed");
    return;
  }
  std::string stmt = peer::statement_frame("q");
  for (auto _ : state) {
    plat::send_all(s, stmt.data(), stmt.size());
    size_t got = 0;
    while (got < bytes.size()) {
      ptrdiff_t r = plat::recv_some(s, buf.data(), buf.size());
      if (r <= 0) break;
      got += size_t(r);
    }
    if (got != bytes.size()) state.SkipWithError("reply cut short");
    benchmark::DoNotOptimize(got);
  }
  // The end of the exchange, as the client ends it.
  const uint32_t logout = 0xFFFFFFFFu;
  plat::send_all(s, &logout, 4);
  plat::close_socket(s);
  state.SetBytesProcessed(int64_t(state.iterations() * bytes.size()));
  state.counters["rows/s"] = benchmark::Counter(double(rows), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_recv_loop)->ArgName("client_options")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// Baseline: one memcpy of the payload.
void BM_memcpy_payload(benchmark::State& state) {
  const std::string& bytes = reply_bytes();
  std::unique_ptr<char[]> to(new char[bytes.size()]);
  std::memset(to.get(), 1, bytes.size());
  for (auto _ : state) {
    std::memcpy(to.get(), bytes.data(), bytes.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations() * bytes.size()));
  state.counters["rows/s"] = benchmark::Counter(double(rows), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_memcpy_payload)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

// Freed results stay in the heap for the next exchange and large blocks come from it, so
// no figure depends on when the allocator gives memory back to the system: faults/iter
// shows what an exchange maps anew by itself.
int main(int argc, char** argv) {
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  const std::string cold = bench_cold::flag(argc, argv, "cold");
  if (cold == "exec_decode") return cold_child(bench_cold::flag(argc, argv, "port"));
  if (!cold.empty()) return 2;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
