// The calling thread's connection with the database server: login, one statement at a
// time, logout. Failures are printed as one line on standard output and reported as
// false or null. A connection belongs to the thread that opened it.
// Replies stay in step with requests or the connection ends: bytes after a reply frame in
// the read that completes it, or bytes already waiting when a request is about to be sent,
// fail the call with "login failed(reply out of step)." or "exec failed(reply out of step).",
// and the socket is dropped, so that no call returns another request's reply.
#pragma once
#include <cstddef>
#include <cstdint>

#include "client/datas.h"

namespace kk::client {

bool connect_to_server(const char* host, uint16_t port, const char* user, const char* password);
// The caller owns the result (release with free_datas and delete).
datas* exec(const char* text, int32_t len);
bool exit_to_server();

// How long connect waits for the server (10 s unless a test changes it); this thread only.
// The login's reply is waited for as long again, counted from its send; a statement's reply
// without bound (a shutdown of the socket by another thread ends the wait: exec fails).
void set_connect_timeout_ms(int ms);
int connect_timeout_ms();
// Whether the calling thread holds a socket (for tests).
bool has_socket();
// The calling thread's socket descriptor, -1 when it holds none (for tests; not exported).
int socket_fd();

// The reply accumulator is kept from one exchange to the next of a connection, so that
// replies of up to a few MiB land in memory already mapped. One grown past the limit (this
// thread only) gives its memory back when its exchange ends, after the result is decoded,
// so that a large reply is not kept beside its result and the caller's copy of it; a fresh
// one of reply_after_shrink bytes takes its place. exit_to_server and connect give it back
// whatever its size.
inline constexpr size_t default_kept_reply_limit = size_t(4) << 20;
inline constexpr size_t reply_after_shrink = size_t(64) << 10;
void set_kept_reply_limit(size_t bytes);
// Bytes the calling thread's accumulator holds between exchanges (for tests).
size_t kept_reply_bytes();

}  // namespace kk::client
