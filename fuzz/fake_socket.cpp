#include "fuzz/fake_socket.h"

#include <cerrno>
#include <cstring>

#include "platform/socket.h"

namespace fake_socket {
namespace {

constexpr kk::platform::socket_t fake_fd = 1000;

struct state_t {
  std::vector<std::string> replies;
  size_t next_reply = 0;
  std::string stream;  // released, unread bytes
  uint64_t rng = 1;
  bool open = false;
  std::vector<std::string> sent;
} st;

uint64_t next_random() {
  st.rng ^= st.rng << 13;
  st.rng ^= st.rng >> 7;
  st.rng ^= st.rng << 17;
  return st.rng;
}

// Mostly small pieces, sometimes everything there is.
size_t piece_size(size_t available) {
  uint64_t r = next_random();
  size_t n;
  switch (r & 3) {
    case 0: n = 1; break;
    case 1: n = 1 + (r >> 8) % 8; break;
    case 2: n = 1 + (r >> 8) % 700; break;
    default: n = available; break;
  }
  return n < available ? n : available;
}

}  // namespace

void script(std::vector<std::string> replies, uint32_t piece_seed) {
  st.replies = std::move(replies);
  st.next_reply = 0;
  st.stream.clear();
  st.rng = 0x9e3779b97f4a7c15ull ^ piece_seed;
  st.open = false;
  st.sent.clear();
}

void rescript(std::vector<std::string> replies, uint32_t piece_seed) {
  const bool open = st.open;
  script(std::move(replies), piece_seed);
  st.open = open;
}

const std::vector<std::string>& sent() { return st.sent; }
size_t unread() { return st.stream.size(); }

}  // namespace fake_socket

namespace kk::platform {

using fake_socket::st;

socket_t tcp_socket() {
  st.open = true;
  return fake_socket::fake_fd;
}
bool set_socket_option(socket_t, int, int) { return true; }
bool set_no_delay(socket_t) { return true; }
uint32_t ipv4_address(const char*) { return 0x0100007fu; }
bool connect_ipv4(socket_t s, uint32_t, uint16_t, int) { return s == fake_socket::fake_fd && st.open; }

bool send_all(socket_t s, const void* data, size_t n) {
  if (s != fake_socket::fake_fd || !st.open) {
    errno = EBADF;
    return false;
  }
  st.sent.emplace_back(static_cast<const char*>(data), n);
  if (st.next_reply < st.replies.size()) st.stream += st.replies[st.next_reply++];
  return true;
}

ptrdiff_t recv_some(socket_t s, void* data, size_t n) {
  if (s != fake_socket::fake_fd || !st.open) {
    errno = EBADF;
    return -1;
  }
  if (st.stream.empty() || n == 0) return 0;
  size_t k = fake_socket::piece_size(st.stream.size() < n ? st.stream.size() : n);
  std::memcpy(data, st.stream.data(), k);
  st.stream.erase(0, k);
  return static_cast<ptrdiff_t>(k);
}

bool wait_readable(socket_t s, int) {
  if (s != fake_socket::fake_fd || !st.open) {
    errno = EBADF;
    return false;
  }
  return true;  // released bytes, or the end of the script, are always there
}

int bytes_waiting(socket_t s) {
  if (s != fake_socket::fake_fd || !st.open) {
    errno = EBADF;
    return -1;
  }
  return st.stream.empty() ? 0 : 1;
}

void close_socket(socket_t s) {
  if (s == fake_socket::fake_fd) st.open = false;
}
const char* error_text(int err) { return std::strerror(err); }
socket_t listen_loopback(uint16_t*, int) { return no_socket; }
socket_t accept_connection(socket_t) { return no_socket; }

}  // namespace kk::platform
