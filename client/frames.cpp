#include "client/frames.h"

#include <cstring>

namespace kk::client {

bool login_request(wire_buffer& out, const char* user, const char* password) {
  size_t u = user ? std::strlen(user) : 0;
  size_t p = password ? std::strlen(password) : 0;
  if (u > 0xFFFFFFFFu - 8 || p > 0xFFFFFFFFu - 8 - u) return false;
  out.clear();
  return out.append_u32(static_cast<uint32_t>(8 + u + p)) && out.append_u32(static_cast<uint32_t>(u)) &&
         out.append(user, u) && out.append_u32(static_cast<uint32_t>(p)) && out.append(password, p);
}

bool statement_request(wire_buffer& out, const char* text, uint32_t len) {
  if (!text) len = 0;
  out.clear();
  return out.append_u32(len) && out.append(text, len);
}

bool logout_request(wire_buffer& out) {
  out.clear();
  return out.append_u32(logout_marker);
}

reply_state check_reply(const char* bytes, size_t size, uint32_t* n_out) {
  if (size < 4) return reply_state::incomplete;
  const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
  uint32_t n = b[0] | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
  if (n_out) *n_out = n;
  if (n == 0 || n == logout_marker) return reply_state::bad_length;
  // A frame the receive path could not hold in one block is refused before anything is
  // allocated for it (never on 64 bits, where every u32 length fits).
  if constexpr (sizeof(size_t) < sizeof(uint64_t))
    if (uint64_t(n) + 4 > uint64_t(static_cast<size_t>(-1))) return reply_state::bad_length;
  // In 64 bits: n + 4 must not wrap.
  return uint64_t(size) >= uint64_t(n) + 4 ? reply_state::complete : reply_state::incomplete;
}

}  // namespace kk::client
