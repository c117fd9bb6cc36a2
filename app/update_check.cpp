#include "app/update_check.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>

#include "platform/socket.h"
#include "query/local_file.h"

#ifndef RUV_UPDATE_HOST
#define RUV_UPDATE_HOST "update.ruv-mdb.invalid"
#endif
#ifndef RUV_UPDATE_PORT
#define RUV_UPDATE_PORT 13556
#endif

namespace plat = kk::platform;
using kk::u32;

update_endpoint& update_server() {
  static update_endpoint e{RUV_UPDATE_HOST, RUV_UPDATE_PORT};
  return e;
}

namespace {

constexpr std::array<u32, 256> crc_table = [] {
  std::array<u32, 256> t{};
  for (u32 i = 0; i < 256; ++i) {
    u32 c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[i] = c;
  }
  return t;
}();

void put(unsigned char* p, u32 v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
u32 get(const unsigned char* p) {
  return u32(p[0]) | u32(p[1]) << 8 | u32(p[2]) << 16 | u32(p[3]) << 24;
}

// The first IPv4 address of the name as dotted text; "" when it does not resolve.
std::string resolve(const std::string& host) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (host.empty() || ::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return {};
  char text[INET_ADDRSTRLEN] = "";
  const auto* a = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
  ::inet_ntop(AF_INET, &a->sin_addr, text, sizeof text);
  ::freeaddrinfo(found);
  return text;
}

const char* error_now() { return plat::error_text(errno); }

// Reads exactly n bytes before the deadline; false on close, error or time-out.
bool recv_exact(int s, unsigned char* p, std::size_t n, int timeout_ms) {
  using clock = std::chrono::steady_clock;
  const auto deadline = clock::now() + std::chrono::milliseconds(timeout_ms);
  while (n > 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock::now()).count();
    if (left <= 0) return false;
    pollfd pfd{s, POLLIN, 0};
    const int r = ::poll(&pfd, 1, static_cast<int>(left));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    const std::ptrdiff_t got = plat::recv_some(s, p, n);
    if (got < 1) return false;
    p += got;
    n -= static_cast<std::size_t>(got);
  }
  return true;
}

}  // namespace

u32 crc32_of(const void* data, std::size_t n) {
  const auto* p = static_cast<const unsigned char*>(data);
  u32 c = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < n; ++i) c = crc_table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
  return ~c;
}

kk::u32 file_crc32(const char* path) {
  const kk::adt::string::string bytes = read_file(path);
  return crc32_of(bytes.data, bytes.size);
}

int tcp_connect_timeout(const char* ip, const kk::u16* port, u32 seconds) {
  const uint32_t address = plat::ipv4_address(ip ? ip : "");
  if (address == 0xFFFFFFFFu || !port) return -1;
  const int s = plat::tcp_socket();
  if (s < 0) return -1;
  if (!plat::set_socket_option(s, SO_REUSEADDR, 0)) std::printf("setsockopt reuseaddr with error info %s!\n", error_now());
  if (!plat::set_socket_option(s, SO_RCVBUF, 524288)) std::printf("setsockopt rcvbuf with error info %s!\n", error_now());
  if (!plat::set_socket_option(s, SO_SNDBUF, 524288)) std::printf("setsockopt sndbuf with error info %s!\n", error_now());
  if (!plat::set_socket_option(s, SO_KEEPALIVE, 0)) std::printf("setsockopt keepalive with error info %s!\n", error_now());
  const int timeout_ms = seconds > 600 ? 600000 : static_cast<int>(seconds) * 1000;
  if (!plat::connect_ipv4(s, address, *port, timeout_ms)) {
    plat::close_socket(s);
    return -1;
  }
  return s;
}

u32 check_update(const update_request* req, update_reply* out) {
  const update_endpoint& e = update_server();
  const std::string ip = resolve(e.host);
  const int s = tcp_connect_timeout(ip.c_str(), &e.port, e.connect_seconds);
  if (s < 0) {
    std::printf("connect error!\n");
    std::fflush(stdout);
    return 0;
  }
  unsigned char bytes[20];
  put(bytes, req->code);
  put(bytes + 4, req->major);
  put(bytes + 8, req->minor);
  put(bytes + 12, req->patch);
  put(bytes + 16, req->crc);
  if (!plat::send_all(s, bytes, sizeof bytes)) {
    std::printf("send error %s\n", error_now());
    std::fflush(stdout);
    plat::close_socket(s);
    return 0;
  }
  unsigned char reply[20];
  const bool whole = recv_exact(s, reply, sizeof reply, e.receive_ms);
  plat::close_socket(s);
  if (!whole) return 0;
  out->code = get(reply);
  out->major = get(reply + 4);
  out->minor = get(reply + 8);
  out->patch = get(reply + 12);
  return 1;
}

update_verdict judge_update(u32 checked, const update_reply& r, const update_request& ours) {
  if (checked == 0 || r.code != 100) return update_verdict::failed;
  const bool newer = r.major > ours.major || (r.major == ours.major && r.minor > ours.minor) ||
                     (r.major == ours.major && r.minor == ours.minor && r.patch > ours.patch);
  return newer ? update_verdict::newer : update_verdict::latest;
}
