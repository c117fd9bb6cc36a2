// TCP sockets over POSIX: the calls the client connection and the test peer need.
// Every call retries EINTR; failures return -1/false with errno left for the caller's message.
#pragma once
#include <cstddef>
#include <cstdint>

namespace kk::platform {

using socket_t = int;
constexpr socket_t no_socket = -1;

// IPv4 stream socket, blocking; no_socket on failure.
socket_t tcp_socket();
// setsockopt(SOL_SOCKET, name, &value, 4).
bool set_socket_option(socket_t s, int name, int value);
// TCP_NODELAY: small writes leave at once (the test peer's chunked replies).
bool set_no_delay(socket_t s);
// Dotted IPv4 text to a network-order address; 0xFFFFFFFF when it cannot be read.
uint32_t ipv4_address(const char* text);
// Connect, waiting at most timeout_ms (ETIMEDOUT when it passes); the socket is blocking
// again afterwards whatever the outcome.
bool connect_ipv4(socket_t s, uint32_t address_be, uint16_t port, int timeout_ms);
// Sends all n bytes (partial sends continued, EAGAIN waited out), never raising SIGPIPE.
bool send_all(socket_t s, const void* data, size_t n);
// One read of at most n bytes: > 0 bytes read, 0 the peer closed, -1 an error.
ptrdiff_t recv_some(socket_t s, void* data, size_t n);
// Waits at most timeout_ms (negative: without bound) until a read of s would not block:
// bytes, the peer's end or an error are there. False with errno ETIMEDOUT when the time
// passes first, or with the poll's error.
bool wait_readable(socket_t s, int timeout_ms);
// Without blocking or taking anything: 1 when bytes wait to be read, 0 when none do (the
// peer's end alone counts as none), -1 on an error (errno set).
int bytes_waiting(socket_t s);
void close_socket(socket_t s);
// The C runtime's text for an error code.
const char* error_text(int err);

// Listening socket on 127.0.0.1 (for tests): *port 0 asks for an ephemeral port; the port
// bound is stored back. no_socket on failure.
socket_t listen_loopback(uint16_t* port, int backlog);
// Accepts one connection; no_socket on failure.
socket_t accept_connection(socket_t listener);

}  // namespace kk::platform
