#include "tests/peer/peer_wire.h"

#include <cstring>
#include <stdexcept>

namespace peer {

namespace {
template <class T>
std::string little_endian(T v, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out.push_back(static_cast<char>((static_cast<uint64_t>(v) >> (8 * i)) & 0xFF));
  return out;
}
}  // namespace

std::string u8(uint8_t v) { return std::string(1, static_cast<char>(v)); }
std::string u16le(uint16_t v) { return little_endian(v, 2); }
std::string u32le(uint32_t v) { return little_endian(v, 4); }
std::string u64le(uint64_t v) { return little_endian(v, 8); }

std::string hex(std::string_view bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i) out.push_back(' ');
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    out.push_back(digits[c >> 4]);
    out.push_back(digits[c & 15]);
  }
  return out;
}

std::string from_hex(std::string_view text) {
  auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string out;
  int hi = -1;
  for (char c : text) {
    if (c == ' ' || c == '\n') continue;
    int v = nibble(c);
    if (v < 0) throw std::invalid_argument("bad hex text");
    if (hi < 0) {
      hi = v;
    } else {
      out.push_back(static_cast<char>(hi * 16 + v));
      hi = -1;
    }
  }
  if (hi >= 0) throw std::invalid_argument("odd hex text");
  return out;
}

cell i08(int8_t v) { return {u8(static_cast<uint8_t>(v))}; }
cell u08(uint8_t v) { return {u8(v)}; }
cell i16(int16_t v) { return {u16le(static_cast<uint16_t>(v))}; }
cell u16(uint16_t v) { return {u16le(v)}; }
cell i32(int32_t v) { return {u32le(static_cast<uint32_t>(v))}; }
cell u32(uint32_t v) { return {u32le(v)}; }
cell i64(int64_t v) { return {u64le(static_cast<uint64_t>(v))}; }
cell u64(uint64_t v) { return {u64le(v)}; }
cell f32(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, 4);
  return {u32le(bits)};
}
cell f64(double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, 8);
  return {u64le(bits)};
}
cell text(std::string_view bytes) {
  if (bytes.size() > 0xFFFF) throw std::length_error("a wire text holds at most 65535 bytes");
  return {u16le(static_cast<uint16_t>(bytes.size())) + std::string(bytes)};
}
cell date(uint16_t year, uint8_t month, uint8_t day) { return {u16le(year) + u8(month) + u8(day)}; }
cell time(uint8_t hour, uint8_t minute, uint8_t second, uint32_t nanosecond) {
  return {u8(hour) + u8(minute) + u8(second) + u32le(nanosecond)};
}
cell datetime(uint16_t year, uint8_t month, uint8_t day, uint8_t hour, uint8_t minute,
              uint8_t second, uint32_t nanosecond) {
  return {date(year, month, day).bytes + time(hour, minute, second, nanosecond).bytes};
}
cell none() { return {}; }

std::string encode_payload(const result& r) {
  // Sized first: demo replies run to megabytes.
  size_t total = 16 + 3 * r.cols.size();
  for (const column& c : r.cols) total += 8 + c.name.size();
  for (const row& w : r.rows) {
    total += 8;
    for (const cell& c : w.cells) total += c.bytes.size();
  }
  std::string out;
  out.reserve(total);
  auto put64 = [&out](uint64_t v) {
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  put64(r.cols.size());
  for (const column& c : r.cols) {
    put64(c.name.size());
    out += c.name;
  }
  put64(r.rows.size());
  if (r.rows.empty()) return out;
  for (const column& c : r.cols) {
    out.push_back(static_cast<char>(c.d.size));
    out.push_back(static_cast<char>(c.d.sign));
    out.push_back(static_cast<char>(c.d.type));
  }
  for (const row& w : r.rows) {
    put64(w.sid);
    for (const cell& c : w.cells) out += c.bytes;
  }
  return out;
}

std::string reply_frame(uint8_t status, std::string_view body) {
  return u32le(static_cast<uint32_t>(body.size() + 1)) + u8(status) + std::string(body);
}

std::string login_frame(std::string_view user, std::string_view password) {
  return u32le(static_cast<uint32_t>(8 + user.size() + password.size())) +
         u32le(static_cast<uint32_t>(user.size())) + std::string(user) +
         u32le(static_cast<uint32_t>(password.size())) + std::string(password);
}

std::string statement_frame(std::string_view text) {
  return u32le(static_cast<uint32_t>(text.size())) + std::string(text);
}

std::string logout_frame() { return u32le(0xFFFFFFFFu); }

}  // namespace peer
