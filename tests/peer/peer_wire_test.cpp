#include <gtest/gtest.h>

#include "tests/peer/peer_wire.h"
#include "tests/peer/wire_fixtures.h"

namespace {

using namespace peer;

TEST(peer_wire, requests_match_the_byte_fixtures) {
  for (const auto& c : fixtures::logins) {
    EXPECT_EQ(hex(login_frame(c.user ? c.user : "", c.password ? c.password : "")), hex(from_hex(c.hex)))
        << (c.user ? c.user : "(null)");
  }
  for (const auto& c : fixtures::statements) {
    std::string_view text = c.text ? std::string_view(c.text, c.len) : std::string_view();
    EXPECT_EQ(hex(statement_frame(text)), hex(from_hex(c.hex))) << c.hex;
  }
  EXPECT_EQ(hex(logout_frame()), "ff ff ff ff");
}

TEST(peer_wire, replies_match_the_byte_fixtures) {
  EXPECT_EQ(hex(reply_frame(status_ok, {})), hex(from_hex(fixtures::login_accepted_hex)));
  EXPECT_EQ(hex(fail_reply()), hex(from_hex(fixtures::fail_reply_hex)));
  EXPECT_EQ(hex(ok_reply({{{"id", d_u64}}, {}})), hex(from_hex(fixtures::id_no_rows_hex)));
  EXPECT_EQ(hex(ok_reply({{{"n", d_u16}}, {{7, {u16(513)}}, {8, {u16(65535)}}}})),
            hex(from_hex(fixtures::u16_rows_hex)));
}

TEST(peer_wire, value_encodings) {
  struct {
    cell c;
    const char* hex;
  } cases[] = {
      {i08(-1), "ff"},
      {i16(-2), "fe ff"},
      {u32(0x01020304), "04 03 02 01"},
      {i64(-1), "ff ff ff ff ff ff ff ff"},
      {f32(1.0f), "00 00 80 3f"},
      {f64(-2.0), "00 00 00 00 00 00 00 c0"},
      {text(""), "00 00"},
      {text("ab"), "02 00 61 62"},
      {date(2024, 2, 29), "e8 07 02 1d"},
      {time(12, 30, 45, 1000000), "0c 1e 2d 40 42 0f 00"},
      {datetime(2024, 5, 9, 8, 15, 43, 500000000), "e8 07 05 09 08 0f 2b 00 65 cd 1d"},
      {none(), ""},
  };
  for (const auto& c : cases) EXPECT_EQ(hex(c.c.bytes), c.hex);
  EXPECT_EQ(text(std::string(65535, 'x')).bytes.size(), 65537u);
  EXPECT_THROW(text(std::string(65536, 'x')), std::length_error);
}

}  // namespace
