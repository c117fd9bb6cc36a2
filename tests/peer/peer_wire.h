// The test peer's own encoding of the client/server protocol: request frames as the client
// must send them, reply frames and result payloads as a server sends them. Deliberately
// independent of the library's decoder so that each checks the other.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace peer {

std::string u8(uint8_t v);
std::string u16le(uint16_t v);
std::string u32le(uint32_t v);
std::string u64le(uint64_t v);
// "0c 00 00 00" style text of bytes, for readable failures and fixtures.
std::string hex(std::string_view bytes);
// Bytes from hex text; blanks are ignored.
std::string from_hex(std::string_view text);

// Column descriptor: the three bytes size, sign, type.
struct desc {
  uint8_t size, sign, type;
};
inline constexpr desc d_i08{0, 0, 0}, d_u08{0, 1, 0}, d_i16{1, 0, 0}, d_u16{1, 1, 0},
    d_i32{2, 0, 0}, d_u32{2, 1, 0}, d_i64{3, 0, 0}, d_u64{3, 1, 0}, d_float{2, 2, 1},
    d_double{3, 2, 1}, d_string{4, 2, 2}, d_date{5, 2, 3}, d_time{5, 2, 4}, d_datetime{5, 2, 5},
    d_null{5, 2, 6};

// One value as its wire bytes; the helpers encode by the column type they are named after.
struct cell {
  std::string bytes;
};
cell i08(int8_t v);
cell u08(uint8_t v);
cell i16(int16_t v);
cell u16(uint16_t v);
cell i32(int32_t v);
cell u32(uint32_t v);
cell i64(int64_t v);
cell u64(uint64_t v);
cell f32(float v);
cell f64(double v);
cell text(std::string_view bytes);  // u16 length then the bytes (at most 65535)
cell date(uint16_t year, uint8_t month, uint8_t day);
cell time(uint8_t hour, uint8_t minute, uint8_t second, uint32_t nanosecond);
cell datetime(uint16_t year, uint8_t month, uint8_t day, uint8_t hour, uint8_t minute,
              uint8_t second, uint32_t nanosecond);
cell none();  // a column whose type carries no bytes

struct column {
  std::string name;
  desc d;
};
struct row {
  uint64_t sid;
  std::vector<cell> cells;
};
struct result {
  std::vector<column> cols;
  std::vector<row> rows;
};

// u64 column count, names, u64 row count, descriptors (only with rows), rows.
std::string encode_payload(const result& r);

inline constexpr uint8_t status_ok = 0, status_fail = 1;
// u32 n = 1 + body length, status byte, body.
std::string reply_frame(uint8_t status, std::string_view body);
inline std::string ok_reply(const result& r) { return reply_frame(status_ok, encode_payload(r)); }
inline std::string fail_reply() { return reply_frame(status_fail, {}); }

// Requests exactly as the client must send them.
std::string login_frame(std::string_view user, std::string_view password);
std::string statement_frame(std::string_view text);
std::string logout_frame();

}  // namespace peer
