#pragma once
// The update check: a 20-byte request (our version and the CRC-32 of the program file) to the
// maker's update server, a 20-byte reply (the latest version). Plain C++ over POSIX sockets.
#include <cstddef>
#include <string>

#include "adt/types.h"

// All fields u32, little-endian on the wire, in this order.
struct update_request {
  kk::u32 code = 100;
  kk::u32 major = 0;
  kk::u32 minor = 2;
  kk::u32 patch = 2;
  kk::u32 crc = 0;
};
struct update_reply {
  kk::u32 code = 0;
  kk::u32 major = 0;
  kk::u32 minor = 0;
  kk::u32 patch = 0;
};

// Where the check goes. The host name and port are build settings; tests point them at a
// server of their own. The host is resolved at each check.
struct update_endpoint {
  std::string host;
  kk::u16 port = 0;
  kk::u32 connect_seconds = 3;
  int receive_ms = 5000;  // the whole reply must arrive within this
};
update_endpoint& update_server();

// CRC-32 of zlib and ZIP (reflected 0xEDB88320, initial and final complement).
kk::u32 crc32_of(const void* data, std::size_t n);

// CRC-32 of a file's bytes; that of no bytes (0) when it cannot be read.
kk::u32 file_crc32(const char* path);

// An IPv4 stream socket connected to ip:*port within `seconds`, blocking afterwards; -1 when
// the address is not dotted IPv4 or the connection failed or timed out.
int tcp_connect_timeout(const char* ip, const kk::u16* port, kk::u32 seconds);

// Sends the request to update_server() and reads the whole reply: 1 when both went through,
// else 0 (after "connect error!\n" or "send error %s\n" on standard output where they apply).
kk::u32 check_update(const update_request* req, update_reply* out);

// What the user is told of a check: the failure, a newer version, or none newer than ours.
enum class update_verdict { failed, newer, latest };
update_verdict judge_update(kk::u32 checked, const update_reply& reply, const update_request& ours);
