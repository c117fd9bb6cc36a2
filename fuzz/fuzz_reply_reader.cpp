// The connection's frame reader over a scripted socket: a login, then statements, each
// answered by one reply segment of the input, delivered in pieces of seeded sizes. The
// outcome of each call must be what the reply's bytes decide, whatever the piece sizes: the
// same result as decoding the whole frame at once, a null result with the connection kept,
// or a dropped connection. A segment longer than its frame puts the stream out of step: the
// call it answers is dropped (the bytes beyond came in the read that completed the frame) or
// has the frame's outcome, and then the next call is dropped before it sends (the bytes
// wait on the socket); never does a call get a reply that is not its own.
//
// Input: u32 piece seed, then segments as (u16 length, bytes); a short last one takes the rest.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "client/connection.h"
#include "client/unpack_datas.h"
#include "fuzz/fake_socket.h"
#include "value/startup_tables.h"

namespace {

void fail(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

enum class outcome { dropped, no_result, result };

struct expected {
  outcome what = outcome::dropped;
  uint8_t status = 0;
  kk::datas d;  // for outcome::result
  ~expected() { kk::free_datas(d); }
};

uint32_t u32_at(const std::string& s, size_t at) {
  const unsigned char* b = reinterpret_cast<const unsigned char*>(s.data()) + at;
  return b[0] | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
}

// Whether a whole frame is followed by more bytes in the segment.
bool trailing(const std::string& seg) {
  if (seg.size() < 4) return false;
  uint32_t n = u32_at(seg, 0);
  return n != 0 && n != 0xFFFFFFFFu && seg.size() > uint64_t(n) + 4;
}

// What one whole reply, read from its first byte, must give.
void predict(const std::string& seg, expected& e) {
  e.what = outcome::dropped;
  if (seg.size() < 4) return;
  uint32_t n = u32_at(seg, 0);
  if (n == 0 || n == 0xFFFFFFFFu) return;
  if (seg.size() < uint64_t(n) + 4) return;  // the stream ends first: closed
  e.status = static_cast<uint8_t>(seg[4]);
  e.what = outcome::no_result;
  if (e.status != 0) return;
  const char* why = nullptr;
  if (kk::unpack_datas(e.d, seg.data() + 5, uint64_t(n) - 1, &why)) e.what = outcome::result;
}

bool same_val(const kk::val& a, const kk::val& b) {
  if (a.size != b.size || a.sign != b.sign || a.type != b.type || a.len != b.len) return false;
  if (std::memcmp(a.data, b.data, sizeof a.data) != 0) return false;
  return a.len == 0 || std::memcmp(a.text, b.text, a.len) == 0;
}

bool same_datas(const kk::datas& a, const kk::datas& b) {
  if (a.cols.size != b.cols.size || a.rows.size != b.rows.size) return false;
  for (uint64_t c = 0; c < a.cols.size; ++c)
    if (a.cols[c].size != b.cols[c].size ||
        std::memcmp(a.cols[c].data, b.cols[c].data, a.cols[c].size) != 0)
      return false;
  for (uint64_t r = 0; r < a.rows.size; ++r) {
    if (a.rows[r].sid != b.rows[r].sid || a.rows[r].vals.size != b.rows[r].vals.size) return false;
    for (uint64_t c = 0; c < a.rows[r].vals.size; ++c)
      if (!same_val(a.rows[r].vals[c], b.rows[r].vals[c])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  kk::startup_tables_init();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  uint32_t seed = data[0] | (uint32_t(data[1]) << 8) | (uint32_t(data[2]) << 16) | (uint32_t(data[3]) << 24);
  std::vector<std::string> segs;
  for (size_t at = 4; at < size && segs.size() < 16;) {
    size_t len = size - at >= 2 ? (data[at] | (size_t(data[at + 1]) << 8)) : 0;
    at += size - at >= 2 ? 2 : size - at;
    if (len > size - at) len = size - at;
    segs.emplace_back(reinterpret_cast<const char*>(data) + at, len);
    at += len;
  }
  if (segs.empty()) return 0;
  fake_socket::script(segs, seed);

  bool login = kk::client::connect_to_server("127.0.0.1", 4000, "user", "pw");
  {
    expected e;
    predict(segs[0], e);
    bool want = e.what != outcome::dropped && e.status != 1;
    // Bytes beyond the login reply in its last read fail the login.
    if (trailing(segs[0]) ? login && !want : login != want) fail("login outcome differs from its reply");
    if (login != kk::client::has_socket()) fail("socket kept after a failed login");
  }
  static const char statement[] = "select 1;";
  for (size_t i = 1; login && i < segs.size(); ++i) {
    bool had_socket = kk::client::has_socket();
    bool waiting = fake_socket::unread() > 0;
    kk::datas* d = kk::client::exec(statement, sizeof statement - 1);
    if (!had_socket) {
      if (d) fail("a result without a connection");
    } else if (waiting) {
      if (d || kk::client::has_socket()) fail("bytes waiting before a request left the connection");
      if (fake_socket::sent().size() != i) fail("a request sent with bytes waiting before it");
    } else if (trailing(segs[i]) && !d && !kk::client::has_socket()) {
      // Out of step in the read that completed the frame.
    } else {
      expected e;
      predict(segs[i], e);
      switch (e.what) {
        case outcome::dropped:
          if (d || kk::client::has_socket()) fail("a broken reply kept the connection");
          break;
        case outcome::no_result:
          if (d || !kk::client::has_socket()) fail("a refused or bad reply gave a result or lost the connection");
          break;
        case outcome::result:
          if (!d || !same_datas(*d, e.d)) fail("pieces decode differently from the whole frame");
          if (!kk::client::has_socket()) fail("a good reply lost the connection");
          break;
      }
    }
    if (d) {
      kk::free_datas(*d);
      delete d;
    }
  }
  kk::client::exit_to_server();
  if (kk::client::has_socket()) fail("socket left after logout");
  return 0;
}
