#include "client/connection.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <sys/socket.h>

#include "client/frames.h"
#include "client/unpack_datas.h"
#include "platform/socket.h"

namespace kk::client {

namespace plat = kk::platform;

namespace {

// One per thread; owns the socket, the receive buffer and the reply accumulator.
struct connection_state {
  plat::socket_t socket = plat::no_socket;
  char* recv_buffer = nullptr;
  int connect_timeout_ms = 10000;
  wire_buffer reply;  // kept across the exchanges of a connection, up to reply_keep_limit
  size_t reply_keep_limit = default_kept_reply_limit;

  void set_socket(plat::socket_t s) {
    if (socket != plat::no_socket && socket != s) plat::close_socket(socket);
    socket = s;
  }
  void set_buffer(char* b) {
    if (recv_buffer != b) std::free(recv_buffer);
    recv_buffer = b;
  }
  ~connection_state() {
    set_socket(plat::no_socket);
    set_buffer(nullptr);
  }
};

thread_local connection_state state;

// When an exchange ends however it ends (a result is decoded by then), an accumulator grown
// past the bound gives its memory back and a small one takes its place for the next ones.
struct reply_bound {
  ~reply_bound() {
    if (state.reply.capacity() > state.reply_keep_limit) state.reply.shrink_to(reply_after_shrink);
  }
};

void say(const char* format, ...) __attribute__((format(printf, 1, 2)));
void say(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::fflush(stdout);
}

const char* error_now() { return plat::error_text(errno); }

// Socket set-up for the calling thread: options in a fixed order, bounded connect.
bool open_socket(const char* host, uint16_t port) {
  plat::socket_t s = plat::tcp_socket();
  if (s == plat::no_socket) {
    say("connect error %s!\n", error_now());
    return false;
  }
  state.set_socket(s);
  if (!plat::set_socket_option(s, SO_REUSEADDR, 0)) say("setsockopt reuseaddr with error info %s!\n", error_now());
  if (!plat::set_socket_option(s, SO_RCVBUF, 65536)) say("setsockopt rcvbuf with error info %s!\n", error_now());
  if (!plat::set_socket_option(s, SO_SNDBUF, 65536)) say("setsockopt sndbuf with error info %s!\n", error_now());
  if (!plat::set_socket_option(s, SO_KEEPALIVE, 0)) say("setsockopt keepalive with error info %s!\n", error_now());
  if (!plat::connect_ipv4(s, plat::ipv4_address(host), port, state.connect_timeout_ms)) {
    say("connect error %s!\n", error_now());
    return false;
  }
  return true;
}

bool send_frame(const wire_buffer& frame) {
  if (state.socket == plat::no_socket || !state.recv_buffer) {
    errno = EBADF;
    return false;
  }
  return plat::send_all(state.socket, frame.data(), frame.size());
}

void drop_socket() { state.set_socket(plat::no_socket); }

enum class read_outcome { complete, closed, error, bad_length, no_memory, timeout, out_of_step };

using steady = std::chrono::steady_clock;

// Reads until the reply frame is whole. The accumulator never grows past the frame the
// length field announces (it grows with the bytes that arrive, never ahead of them). Bytes
// beyond the frame in the same read mean the stream is out of step: no reply that follows
// could be told from another request's. With a deadline each read waits at most until then.
read_outcome read_reply(wire_buffer& acc, uint32_t& n, const steady::time_point* deadline = nullptr) {
  for (;;) {
    errno = 0;
    if (deadline) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - steady::now()).count();
      if (left <= 0) return read_outcome::timeout;
      const int wait_ms = left > INT_MAX ? INT_MAX : static_cast<int>(left);
      if (!plat::wait_readable(state.socket, wait_ms)) return errno == ETIMEDOUT ? read_outcome::timeout : read_outcome::error;
    }
    ptrdiff_t r = plat::recv_some(state.socket, state.recv_buffer, recv_buffer_size);
    if (r < 0) return read_outcome::error;
    if (r == 0) return read_outcome::closed;
    // Once the length field is known the accumulator grows no further than the frame.
    size_t limit = acc.size() >= 4 ? size_t(uint64_t(n) + 4) : static_cast<size_t>(-1);
    if (!acc.append(state.recv_buffer, static_cast<size_t>(r), limit)) return read_outcome::no_memory;
    reply_state now = check_reply(acc.data(), acc.size(), &n);
    if (now == reply_state::bad_length) return read_outcome::bad_length;
    if (now == reply_state::complete)
      return acc.size() > uint64_t(n) + 4 ? read_outcome::out_of_step : read_outcome::complete;
  }
}

// Sends a request of `call` ("login", "exec"); on failure says why and drops the socket.
// Bytes already waiting before a request is sent answer no request of this thread: an
// earlier reply was followed by more than its frame.
bool send_request(const wire_buffer& frame, const char* call) {
  if (state.socket != plat::no_socket && plat::bytes_waiting(state.socket) > 0) {
    say("%s failed(reply out of step).\n", call);
    drop_socket();
    return false;
  }
  if (!send_frame(frame)) {
    say("send error %s\n", error_now());
    drop_socket();
    return false;
  }
  return true;
}

}  // namespace

void set_kept_reply_limit(size_t bytes) { state.reply_keep_limit = bytes; }
size_t kept_reply_bytes() { return state.reply.capacity(); }

void set_connect_timeout_ms(int ms) { state.connect_timeout_ms = ms; }
int connect_timeout_ms() { return state.connect_timeout_ms; }
bool has_socket() { return state.socket != plat::no_socket; }
int socket_fd() { return state.socket; }

bool connect_to_server(const char* host, uint16_t port, const char* user, const char* password) {
  char* buffer = static_cast<char*>(std::calloc(recv_buffer_size, 1));
  if (!buffer) {
    say("connect error %s!\n", plat::error_text(ENOMEM));
    return false;
  }
  state.set_buffer(buffer);
  state.reply.release();  // a new connection starts without the last one's replies
  if (!open_socket(host, port)) {
    drop_socket();
    return false;
  }
  wire_buffer frame;
  if (!login_request(frame, user, password)) {
    say("login failed(user or password too long).\n");
    drop_socket();
    return false;
  }
  if (!send_request(frame, "login")) return false;
  // The reply is waited for as long as the connect may take, counted from the send.
  const steady::time_point deadline = steady::now() + std::chrono::milliseconds(state.connect_timeout_ms);
  wire_buffer reply;
  uint32_t n = 0;
  switch (read_reply(reply, n, &deadline)) {
    case read_outcome::complete:
      break;
    case read_outcome::closed:
    case read_outcome::error:
      // A reply cut short by the peer is a bad length; no reply at all a network failure.
      say(reply.size() ? "login failed(bad length).\n" : "login failed(network).\n");
      drop_socket();
      return false;
    case read_outcome::bad_length:
    case read_outcome::no_memory:
      say("login failed(bad length).\n");
      drop_socket();
      return false;
    case read_outcome::timeout:
      say("login failed(timeout).\n");
      drop_socket();
      return false;
    case read_outcome::out_of_step:
      say("login failed(reply out of step).\n");
      drop_socket();
      return false;
  }
  if (static_cast<uint8_t>(reply.data()[4]) == status_fail) {
    say("login failed.\n");
    drop_socket();
    return false;
  }
  return true;
}

datas* exec(const char* text, int32_t len) {
  if (len < 0) {
    say("exec error: negative statement length %d\n", len);
    return nullptr;
  }
  wire_buffer frame;
  if (!statement_request(frame, text, static_cast<uint32_t>(len))) {
    say("send error %s\n", plat::error_text(ENOMEM));
    return nullptr;
  }
  if (!send_request(frame, "exec")) return nullptr;
  const reply_bound bound;
  wire_buffer& reply = state.reply;
  reply.clear();
  uint32_t n = 0;
  switch (read_reply(reply, n)) {
    case read_outcome::complete:
      break;
    case read_outcome::closed:
      say("rsz == 0 and error is: %s\n", error_now());
      drop_socket();
      return nullptr;
    case read_outcome::error:
      // A failed read ends the statement without a message, unlike the peer's end above.
      drop_socket();
      return nullptr;
    case read_outcome::bad_length:
      // Where this reply ends is unknown: the connection cannot be read any further.
      say("exec failed(bad length %u).\n", n);
      drop_socket();
      return nullptr;
    case read_outcome::no_memory:
      say("exec failed(out of memory for a reply of %u bytes).\n", n);
      drop_socket();
      return nullptr;
    case read_outcome::out_of_step:
      // This frame may be an earlier request's reply: nothing read here can be trusted.
      say("exec failed(reply out of step).\n");
      drop_socket();
      return nullptr;
    case read_outcome::timeout:  // no deadline here: a statement may take as long as it takes
      drop_socket();
      return nullptr;
  }
  uint8_t status = static_cast<uint8_t>(reply.data()[4]);
  if (status == status_fail) return nullptr;
  if (status != status_ok) {
    say("exec failed(unknown status %u).\n", unsigned(status));
    return nullptr;
  }
  datas* d = new (std::nothrow) datas;
  if (!d) {
    say("exec failed(out of memory).\n");
    return nullptr;
  }
  const char* why = nullptr;
  if (!unpack_datas(*d, reply.data() + 5, uint64_t(n) - 1, &why)) {
    say("exec failed(bad result: %s).\n", why ? why : "?");
    delete d;
    return nullptr;
  }
  return d;
}

bool exit_to_server() {
  wire_buffer frame;
  if (!logout_request(frame) || !send_frame(frame)) say("send error %s\n", error_now());
  drop_socket();
  state.set_buffer(nullptr);
  state.reply.release();
  return true;
}

}  // namespace kk::client
