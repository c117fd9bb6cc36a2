#include "platform/socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kk::platform {

namespace {

// Waits until s is ready for events; false with errno set on error or time-out.
bool wait_ready(socket_t s, short events, int timeout_ms) {
  pollfd p{s, events, 0};
  for (;;) {
    int r = poll(&p, 1, timeout_ms);
    if (r > 0) return true;
    if (r == 0) {
      errno = ETIMEDOUT;
      return false;
    }
    if (errno != EINTR) return false;
  }
}

bool set_blocking(socket_t s, bool blocking) {
  int flags = fcntl(s, F_GETFL, 0);
  if (flags < 0) return false;
  flags = blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK);
  return fcntl(s, F_SETFL, flags) == 0;
}

sockaddr_in make_address(uint32_t address_be, uint16_t port) {
  sockaddr_in a;
  std::memset(&a, 0, sizeof a);
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = address_be;
  a.sin_port = htons(port);
  return a;
}

}  // namespace

socket_t tcp_socket() {
  socket_t s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  return s < 0 ? no_socket : s;
}

bool set_socket_option(socket_t s, int name, int value) {
  return setsockopt(s, SOL_SOCKET, name, &value, sizeof value) == 0;
}

bool set_no_delay(socket_t s) {
  int one = 1;
  return setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one) == 0;
}

uint32_t ipv4_address(const char* text) {
  return text ? inet_addr(text) : INADDR_NONE;
}

bool connect_ipv4(socket_t s, uint32_t address_be, uint16_t port, int timeout_ms) {
  sockaddr_in a = make_address(address_be, port);
  if (!set_blocking(s, false)) return false;
  bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  int err = ok ? 0 : errno;
  if (!ok && (err == EINPROGRESS || err == EINTR)) {
    if (wait_ready(s, POLLOUT, timeout_ms)) {
      socklen_t len = sizeof err;
      if (getsockopt(s, SOL_SOCKET, SO_ERROR, &err, &len) != 0) err = errno;
      ok = err == 0;
    } else {
      err = errno;
    }
  }
  // The connection is used blocking: replies may legitimately take long.
  if (!set_blocking(s, true) && ok) {
    ok = false;
    err = errno;
  }
  errno = err;
  return ok;
}

bool send_all(socket_t s, const void* data, size_t n) {
  const char* p = static_cast<const char*>(data);
  while (n > 0) {
    ssize_t r = ::send(s, p, n, MSG_NOSIGNAL);
    if (r > 0) {
      p += r;
      n -= static_cast<size_t>(r);
      continue;
    }
    if (r < 0 && errno == EINTR) continue;
    if (r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!wait_ready(s, POLLOUT, -1)) return false;
      continue;
    }
    if (r == 0) errno = EPIPE;
    return false;
  }
  return true;
}

ptrdiff_t recv_some(socket_t s, void* data, size_t n) {
  for (;;) {
    ssize_t r = ::recv(s, data, n, 0);
    if (r >= 0) return r;
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      if (!wait_ready(s, POLLIN, -1)) return -1;
      continue;
    }
    return -1;
  }
}

bool wait_readable(socket_t s, int timeout_ms) { return wait_ready(s, POLLIN, timeout_ms); }  // poll: negative waits without bound

int bytes_waiting(socket_t s) {
  char byte;
  for (;;) {
    ssize_t r = ::recv(s, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    if (r > 0) return 1;
    if (r == 0) return 0;
    if (errno == EINTR) continue;
    return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
  }
}

void close_socket(socket_t s) {
  if (s >= 0) ::close(s);  // no retry on EINTR: the descriptor is gone on Linux either way
}

const char* error_text(int err) { return std::strerror(err); }

socket_t listen_loopback(uint16_t* port, int backlog) {
  socket_t s = tcp_socket();
  if (s == no_socket) return no_socket;
  set_socket_option(s, SO_REUSEADDR, 1);
  sockaddr_in a = make_address(htonl(INADDR_LOOPBACK), port ? *port : 0);
  socklen_t len = sizeof a;
  if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(s, backlog) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
    int err = errno;
    ::close(s);
    errno = err;
    return no_socket;
  }
  if (port) *port = ntohs(a.sin_port);
  return s;
}

socket_t accept_connection(socket_t listener) {
  for (;;) {
    socket_t c = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (c >= 0) return c;
    if (errno != EINTR && errno != ECONNABORTED) return no_socket;
  }
}

}  // namespace kk::platform
