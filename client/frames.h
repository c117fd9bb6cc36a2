// The request frames the client sends and the completion rule of the server's reply.
// Every integer is little-endian and unsigned; texts carry no terminator.
#pragma once
#include <cstddef>
#include <cstdint>

#include "client/wire_buffer.h"

namespace kk::client {

inline constexpr uint8_t status_ok = 0;
inline constexpr uint8_t status_fail = 1;
// The logout frame's only field; no statement frame can carry this length.
inline constexpr uint32_t logout_marker = 0xFFFFFFFFu;
// Every read of the connection takes at most this much.
inline constexpr size_t recv_buffer_size = 524288;

// u32 8 + U + P, u32 U, user, u32 P, password; a null text is empty. False when the texts
// do not fit the 32-bit lengths or memory runs out.
bool login_request(wire_buffer& out, const char* user, const char* password);
// u32 L, the L text bytes; a null text gives L = 0.
bool statement_request(wire_buffer& out, const char* text, uint32_t len);
bool logout_request(wire_buffer& out);

enum class reply_state {
  incomplete,  // more bytes are needed
  complete,    // n + 4 bytes are here: status at offset 4, body from 5 to n + 4
  bad_length,  // n is 0 (no status byte), the logout marker, or more than memory can address
};
// Applies the completion rule to the first `size` bytes received; stores n when known.
reply_state check_reply(const char* bytes, size_t size, uint32_t* n_out);

}  // namespace kk::client
