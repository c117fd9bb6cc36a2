// The test server answering a full select of the wide table (peer::fill_wide: 10^6 rows x 20
// fields, about 196 MB on the wire), against the same reply sent from one buffer built once.
//
//   full_select_encode        the catalogue's answer to "select * from wide;" written as the
//                             test server sends it, a MiB at a time into one buffer (no socket)
//   full_select_loopback      the statement sent to the test server over the loopback and the
//                             whole reply read by a plain receive loop (512 KiB buffer, bytes
//                             discarded): the time the server takes to answer, as a client sees it
//   prebuilt_reply_loopback   baseline: the same exchange with the server sending the same reply
//                             bytes from one buffer built before (no table, no encoding), as
//                             the client and table model benchmarks serve their replies
//   wire_floor_loopback       baseline: as many bytes sent a MiB at a time from one buffer that
//                             is never written (the send loop alone)
//   full_select_cold          the first full select of a fresh process: this program started
//                             again builds the table, then times its first exchange (manual time)
//
// Counters: reply_MB, the reply's size; table_MB, the process's resident size once the table
// is built; peak_MB, its peak resident size over the exchanges (table, reply and all).
//
// Run: build/bench/peer/bench_peer [--rows=N] [benchmark flags]; N defaults to 10^6.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/common/proc_memory.h"
#include "platform/socket.h"
#include "tests/peer/catalogue.h"
#include "tests/peer/peer_wire.h"
#include "tests/peer/test_peer.h"

namespace {

namespace plat = kk::platform;
using bench_memory::reset_peak;
using bench_memory::status_kib;

uint64_t rows = 1000000;
constexpr const char* full_select = "select * from wide;";

// A plain client of the wire protocol: frames out, replies read and thrown away.
class raw_client {
 public:
  explicit raw_client(uint16_t port) : buf_(512 * 1024) {
    fd_ = plat::tcp_socket();
    ok_ = fd_ != plat::no_socket && plat::connect_ipv4(fd_, plat::ipv4_address("127.0.0.1"), port, 5000);
    const std::string login = peer::login_frame("bench", "bench");
    ok_ = ok_ && plat::send_all(fd_, login.data(), login.size()) && read_reply() == 1;
  }
  ~raw_client() {
    if (fd_ == plat::no_socket) return;
    const std::string bye = peer::logout_frame();
    plat::send_all(fd_, bye.data(), bye.size());
    plat::close_socket(fd_);
  }
  bool ok() const { return ok_; }
  // Bytes of the reply's body (status byte and payload); 0 when the exchange failed.
  uint64_t exchange(std::string_view statement) {
    const std::string frame = peer::statement_frame(statement);
    if (!plat::send_all(fd_, frame.data(), frame.size())) return 0;
    return read_reply();
  }

 private:
  bool read_exact(char* to, size_t n) {
    while (n > 0) {
      const ptrdiff_t r = plat::recv_some(fd_, to, n);
      if (r <= 0) return false;
      to += r;
      n -= size_t(r);
    }
    return true;
  }
  uint64_t read_reply() {
    unsigned char head[4];
    if (!read_exact(reinterpret_cast<char*>(head), 4)) return 0;
    uint64_t left = uint64_t(head[0]) | uint64_t(head[1]) << 8 | uint64_t(head[2]) << 16 | uint64_t(head[3]) << 24;
    const uint64_t body = left;
    while (left > 0) {
      const ptrdiff_t r = plat::recv_some(fd_, buf_.data(), std::min<uint64_t>(left, buf_.size()));
      if (r <= 0) return 0;
      left -= uint64_t(r);
    }
    return body;
  }

  plat::socket_t fd_ = plat::no_socket;
  bool ok_ = false;
  std::vector<char> buf_;
};

struct wide_server {
  peer::catalogue db;  // outlives the peer
  peer::test_peer server;
  long table_kib = 0;
  wide_server() {
    peer::fill_wide(db, "wide", rows);
    table_kib = status_kib("VmRSS");
    db.install(server);
  }
};

wide_server& shared_server() {
  static wide_server s;
  return s;
}

void memory_counters(benchmark::State& state, long table_kib, uint64_t reply_bytes) {
  state.counters["reply_MB"] = double(reply_bytes) / 1e6;
  state.counters["table_MB"] = double(table_kib) / 1024;
  state.counters["peak_MB"] = double(status_kib("VmHWM")) / 1024;
}

void full_select_encode(benchmark::State& state) {
  wide_server& s = shared_server();
  std::vector<char> buffer(1u << 20);  // as the peer sends it: a piece at a time
  reset_peak();
  uint64_t bytes = 0;
  for (auto _ : state) {
    peer::reply_plan p = s.db.stream(full_select);
    bytes = p.bytes.size();
    if (p.produce)
      for (size_t n; (n = p.produce(buffer.data(), buffer.size())) > 0;) bytes += n;
    benchmark::DoNotOptimize(buffer.data());
  }
  memory_counters(state, s.table_kib, bytes);
}

void full_select_loopback(benchmark::State& state) {
  wide_server& s = shared_server();
  raw_client c(s.server.port());
  if (!c.ok()) return state.SkipWithError("no connection");
  reset_peak();
  uint64_t bytes = 0;
  for (auto _ : state)
    if ((bytes = c.exchange(full_select)) < 2) return state.SkipWithError("no reply");
  memory_counters(state, s.table_kib, bytes);
}

void prebuilt_reply_loopback(benchmark::State& state) {
  wide_server& s = shared_server();
  auto reply = std::make_shared<const std::string>(std::move(s.db.handle(full_select).bytes));
  peer::test_peer server;
  server.set_handler([reply](std::string_view) { return peer::send_shared(reply); });
  raw_client c(server.port());
  if (!c.ok()) return state.SkipWithError("no connection");
  reset_peak();
  uint64_t bytes = 0;
  for (auto _ : state)
    if ((bytes = c.exchange(full_select)) < 2) return state.SkipWithError("no reply");
  memory_counters(state, s.table_kib, bytes);
}

// The floor of the loopback: as many bytes, sent a MiB at a time from one buffer that is
// never written (the test server's send loop with nothing to encode).
void wire_floor_loopback(benchmark::State& state) {
  wide_server& s = shared_server();
  const std::string whole = s.db.handle(full_select).bytes;
  const std::string head = whole.substr(0, 5);
  const uint64_t rest = whole.size() - head.size();
  peer::test_peer server;
  server.set_handler([&](std::string_view) {
    peer::reply_plan p = peer::send(head);
    p.produce = [left = rest](char*, size_t n) mutable {
      const size_t k = std::min<uint64_t>(n, left);
      left -= k;
      return k;
    };
    return p;
  });
  raw_client c(server.port());
  if (!c.ok()) return state.SkipWithError("no connection");
  reset_peak();
  uint64_t bytes = 0;
  for (auto _ : state)
    if ((bytes = c.exchange(full_select)) < 2) return state.SkipWithError("no reply");
  memory_counters(state, s.table_kib, bytes);
}

// The child's side of full_select_cold: prints "seconds peak_kib table_kib reply_bytes".
int cold_child() {
  wide_server s;
  raw_client c(s.server.port());
  if (!c.ok()) return 1;
  reset_peak();
  const auto t0 = std::chrono::steady_clock::now();
  const uint64_t bytes = c.exchange(full_select);
  const double sec = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::printf("%.6f %ld %ld %llu\n", sec, status_kib("VmHWM"), s.table_kib, static_cast<unsigned long long>(bytes));
  std::fflush(stdout);
  std::_Exit(bytes < 2 ? 1 : 0);  // the peer's thread may still hold the connection
}

void full_select_cold(benchmark::State& state) {
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return state.SkipWithError("no /proc/self/exe");
  self[n] = '\0';
  const std::string command = "'" + std::string(self) + "' --cold-child --rows=" + std::to_string(rows);
  double peak = 0, table = 0, reply = 0;
  for (auto _ : state) {
    FILE* p = popen(command.c_str(), "r");
    double sec = 0;
    long peak_kib = 0, table_kib = 0;
    unsigned long long bytes = 0;
    const int got = p ? std::fscanf(p, "%lf %ld %ld %llu", &sec, &peak_kib, &table_kib, &bytes) : 0;
    if (!p || pclose(p) != 0 || got != 4) return state.SkipWithError("the child failed");
    state.SetIterationTime(sec);
    peak = double(peak_kib) / 1024, table = double(table_kib) / 1024, reply = double(bytes) / 1e6;
  }
  state.counters["reply_MB"] = reply;
  state.counters["table_MB"] = table;
  state.counters["peak_MB"] = peak;
}

}  // namespace

BENCHMARK(full_select_encode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(full_select_loopback)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(prebuilt_reply_loopback)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(wire_floor_loopback)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(full_select_cold)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

int main(int argc, char** argv) {
  bool child = false;
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--rows=", 7) == 0) rows = std::strtoull(argv[i] + 7, nullptr, 10);
    else if (std::strcmp(argv[i], "--cold-child") == 0) child = true;
    else rest.push_back(argv[i]);
  }
  if (child) return cold_child();
  int rest_count = int(rest.size());
  benchmark::Initialize(&rest_count, rest.data());
  if (benchmark::ReportUnrecognizedArguments(rest_count, rest.data())) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
