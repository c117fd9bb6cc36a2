#include <gtest/gtest.h>

#include <string>

#include "client/frames.h"
#include "tests/peer/peer_wire.h"
#include "tests/peer/wire_fixtures.h"

namespace {

using namespace kk::client;
namespace fx = peer::fixtures;

std::string bytes_of(const wire_buffer& b) { return std::string(b.data(), b.size()); }

TEST(frames, requests_are_the_fixture_bytes) {
  wire_buffer b;
  for (const auto& c : fx::logins) {
    ASSERT_TRUE(login_request(b, c.user, c.password));
    EXPECT_EQ(peer::hex(bytes_of(b)), peer::hex(peer::from_hex(c.hex))) << (c.user ? c.user : "(null)");
  }
  for (const auto& c : fx::statements) {
    ASSERT_TRUE(statement_request(b, c.text, static_cast<uint32_t>(c.len)));
    EXPECT_EQ(peer::hex(bytes_of(b)), peer::hex(peer::from_hex(c.hex))) << c.hex;
  }
  ASSERT_TRUE(logout_request(b));
  EXPECT_EQ(peer::hex(bytes_of(b)), peer::hex(peer::from_hex(fx::logout_hex)));
}

TEST(frames, completion_rule) {
  struct {
    std::string bytes;
    reply_state want;
    uint32_t n;
  } cases[] = {
      {"", reply_state::incomplete, 0},
      {peer::from_hex("01 00 00"), reply_state::incomplete, 0},
      {peer::from_hex("01 00 00 00"), reply_state::incomplete, 1},
      {peer::from_hex(fx::login_accepted_hex), reply_state::complete, 1},
      {peer::from_hex(fx::fail_reply_hex), reply_state::complete, 1},
      {peer::from_hex("01 00 00 00 00 ee ee"), reply_state::complete, 1},  // bytes past the frame
      {peer::from_hex("03 00 00 00 00 01"), reply_state::incomplete, 3},
      // n = 0 has no status byte; the logout marker is no reply length.
      {peer::from_hex("00 00 00 00"), reply_state::bad_length, 0},
      {peer::from_hex("ff ff ff ff 00"), reply_state::bad_length, 0xFFFFFFFF},
      // n + 4 wraps in 32 bits: it must not look complete.
      {peer::from_hex("fe ff ff ff 00 00"), reply_state::incomplete, 0xFFFFFFFE},
      {peer::from_hex("fd ff ff ff 00"), reply_state::incomplete, 0xFFFFFFFD},
  };
  for (const auto& c : cases) {
    uint32_t n = 0;
    EXPECT_EQ(check_reply(c.bytes.data(), c.bytes.size(), &n), c.want) << peer::hex(c.bytes);
    EXPECT_EQ(n, c.n) << peer::hex(c.bytes);
  }
}

TEST(frames, buffer_growth_stops_at_the_limit) {
  wire_buffer b;
  std::string chunk(1000, 'x');
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(b.append(chunk.data(), chunk.size(), 10004));
  EXPECT_EQ(b.size(), 10000u);
  EXPECT_LE(b.capacity(), 10004u);
  // Bytes the limit does not allow for still fit: the limit caps growth, not content.
  ASSERT_TRUE(b.append(chunk.data(), chunk.size(), 10004));
  EXPECT_EQ(b.size(), 11000u);
  EXPECT_EQ(std::string(b.data() + 10000, 1000), chunk);
}

}  // namespace
