// Receiving and decoding a large result over loopback, against a plain recv loop of the
// same bytes and a memcpy of the payload. The server side sends the reply straight from one
// buffer built once, so neither the client nor the recv loop waits for the server to copy it.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/common/proc_memory.h"
#include "client/connection.h"
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

void release(kk::datas* d) {
  kk::free_datas(*d);
  delete d;
}

uint64_t datas_bytes(const kk::datas& d) {
  uint64_t n = sizeof d + d.rows.capacity * sizeof(kk::datas_row);
  for (const auto& r : d.rows) {
    n += 8 + r.vals.capacity * sizeof(kk::val);
    for (const auto& v : r.vals) n += v.len;
  }
  return n;
}

void BM_exec_decode(benchmark::State& state) {
  const std::string& bytes = reply_bytes();
  if (!kk::client::connect_to_server("127.0.0.1", server().port(), "bench", "bench")) {
    state.SkipWithError("connect failed");
    return;
  }
  // One measured exchange for the memory figures, the first: later ones reuse freed heap.
  static struct {
    bool done = false;
    double datas = 0, peak = 0, transient = 0, kept = 0;
  } mem;
  if (!mem.done) {
    reset_peak();
    long rss0 = status_kib("VmRSS");
    kk::datas* d = kk::client::exec("q", 1);
    long peak = status_kib("VmHWM");
    long rss1 = status_kib("VmRSS");
    if (!d || d->rows.size != rows) {
      state.SkipWithError("exec failed");
      return;
    }
    mem = {true, double(datas_bytes(*d)), double(peak - rss0) * 1024, double(peak - rss1) * 1024,
           double(kk::client::kept_reply_bytes())};
    release(d);
  }
  double mib = 1024.0 * 1024.0;
  state.counters["payload_MiB"] = double(bytes.size()) / mib;
  state.counters["datas_MiB"] = mem.datas / mib;
  state.counters["peak_growth_MiB"] = mem.peak / mib;
  // What the exchange needed beyond what it left behind: the result, and the reply
  // accumulator the connection keeps for its next exchange.
  state.counters["transient_MiB"] = mem.transient / mib;
  state.counters["kept_reply_MiB"] = mem.kept / mib;

  const long faults0 = minor_faults();
  for (auto _ : state) {
    kk::datas* r = kk::client::exec("q", 1);
    benchmark::DoNotOptimize(r);
    state.PauseTiming();
    if (!r) state.SkipWithError("exec failed");
    else release(r);
    state.ResumeTiming();
  }
  // Pages mapped afresh per exchange: the decoded result's (it is new memory the caller
  // owns) and whatever else the exchange allocates anew.
  state.counters["faults/iter"] = double(minor_faults() - faults0) / double(state.iterations());
  kk::client::exit_to_server();
  state.SetBytesProcessed(int64_t(state.iterations() * bytes.size()));
  state.counters["rows/s"] = benchmark::Counter(double(rows), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_exec_decode)->Unit(benchmark::kMillisecond)->UseRealTime();

// The decoder alone, over the payload already in memory.
void BM_unpack_in_memory(benchmark::State& state) {
  const std::string& bytes = reply_bytes();
  for (auto _ : state) {
    kk::datas d;
    bool ok = kk::unpack_datas(d, bytes.data() + 5, bytes.size() - 5, nullptr);
    benchmark::DoNotOptimize(ok);
    state.PauseTiming();
    kk::free_datas(d);
    state.ResumeTiming();
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
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
