// The fault proxy between a raw socket client and the scripted test peer: each fault does to
// the wire what its header says, the counts tell it, and destruction is prompt wherever a
// connection stands.
#include "tests/peer/fault_proxy.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/socket.h"
#include "tests/peer/peer_wire.h"
#include "tests/peer/test_peer.h"
#include "tests/support/waits.h"

namespace {

using namespace peer;
namespace plat = kk::platform;

using ruv::test::watchdog;

enum class ending { none, eof, error };

// A client that speaks the protocol by hand.
struct raw_client {
  plat::socket_t fd = plat::no_socket;
  explicit raw_client(uint16_t port) {
    fd = plat::tcp_socket();
    if (!plat::connect_ipv4(fd, plat::ipv4_address("127.0.0.1"), port, 2000)) {
      plat::close_socket(fd);
      fd = plat::no_socket;
    }
  }
  ~raw_client() { plat::close_socket(fd); }
  bool send(const std::string& bytes) const { return plat::send_all(fd, bytes.data(), bytes.size()); }
  // Reads until n bytes are here, the stream ends or timeout_ms passes.
  std::string read(size_t n, int timeout_ms, ending* how = nullptr, int* err = nullptr) const {
    std::string out;
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    if (how) *how = ending::none;
    while (out.size() < n) {
      int left = static_cast<int>(
          std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now()).count());
      if (left <= 0) break;
      pollfd p{fd, POLLIN, 0};
      if (poll(&p, 1, left) <= 0) continue;
      char buf[65536];
      ssize_t r = ::recv(fd, buf, std::min(sizeof buf, n - out.size()), 0);
      if (r > 0) {
        out.append(buf, static_cast<size_t>(r));
        continue;
      }
      if (how) *how = r == 0 ? ending::eof : ending::error;
      if (err) *err = r == 0 ? 0 : errno;
      break;
    }
    return out;
  }
  // One reply frame: its length field, then as many bytes as it announces.
  std::string frame(int timeout_ms = 3000, ending* how = nullptr) const {
    std::string head = read(4, timeout_ms, how);
    if (head.size() < 4) return head;
    uint32_t n = static_cast<unsigned char>(head[0]) | uint32_t(static_cast<unsigned char>(head[1])) << 8 |
                 uint32_t(static_cast<unsigned char>(head[2])) << 16 |
                 uint32_t(static_cast<unsigned char>(head[3])) << 24;
    return head + read(n, timeout_ms, how);
  }
  // What arrives within timeout_ms, and how the stream stands then.
  std::string rest(int timeout_ms, ending* how, int* err = nullptr) const {
    return read(1u << 20, timeout_ms, how, err);
  }
};

std::string reply_for(std::string_view sql) {
  return ok_reply({{{"echo", d_string}}, {{7, {text(sql)}}}});
}

class proxy_test : public testing::Test {
 protected:
  proxy_test() : proxy_(server_.port()) {
    server_.set_handler([](std::string_view sql) {
      if (sql.substr(0, 4) == "fail") return send(fail_reply());
      return send(reply_for(sql));
    });
  }
  // Connects and logs in through the proxy; the login reply is checked.
  std::unique_ptr<raw_client> login() {
    auto c = std::make_unique<raw_client>(proxy_.port());
    EXPECT_NE(c->fd, plat::no_socket);
    EXPECT_TRUE(c->send(login_frame("u", "p")));
    EXPECT_EQ(hex(c->frame()), hex(login_ok()));
    return c;
  }
  watchdog dog_{"fault_proxy", 60};
  test_peer server_;
  fault_proxy proxy_;
};

TEST_F(proxy_test, without_rules_it_relays_every_frame_unchanged) {
  ASSERT_TRUE(proxy_.listening());
  auto c = login();
  for (const char* sql : {"select 1;", "fail please", "show tables;"}) {
    ASSERT_TRUE(c->send(statement_frame(sql)));
    std::string want = std::string_view(sql).substr(0, 4) == "fail" ? fail_reply() : reply_for(sql);
    EXPECT_EQ(hex(c->frame()), hex(want)) << sql;
  }
  ASSERT_TRUE(c->send(logout_frame()));
  ASSERT_TRUE(server_.wait_frames(5));
  auto f = server_.frames();
  EXPECT_EQ(f[0], login_frame("u", "p"));
  EXPECT_EQ(f[1], statement_frame("select 1;"));
  EXPECT_EQ(f[4], logout_frame());
  fault_counts n = proxy_.counts();
  EXPECT_EQ(n.connections, 1u);
  EXPECT_EQ(n.requests, 5u);
  EXPECT_EQ(n.replies, 4u);
  EXPECT_EQ(proxy_.statements(), (std::vector<std::string>{"select 1;", "fail please", "show tables;"}));
  c.reset();
  EXPECT_TRUE(proxy_.wait([](const fault_counts& k) { return k.open == 0; }));
}

TEST_F(proxy_test, a_stall_holds_a_reply_until_released) {
  proxy_.add_rule(at_frame(fault::stall, 2));
  auto c = login();
  ASSERT_TRUE(c->send(statement_frame("one")));
  EXPECT_EQ(hex(c->frame()), hex(reply_for("one")));
  ASSERT_TRUE(c->send(statement_frame("two")));
  ASSERT_TRUE(proxy_.wait([](const fault_counts& k) { return k.stalled == 1; }));
  ending how;
  EXPECT_EQ(c->rest(200, &how), "");
  EXPECT_EQ(how, ending::none);  // held, the socket open
  proxy_.release();
  EXPECT_EQ(hex(c->frame()), hex(reply_for("two")));
  ASSERT_TRUE(c->send(statement_frame("three")));
  EXPECT_EQ(hex(c->frame()), hex(reply_for("three")));
  fault_counts n = proxy_.counts();
  EXPECT_EQ(n.stalled, 1u);
  EXPECT_EQ(n.released, 1u);
}

TEST_F(proxy_test, a_stalled_login_reply) {
  proxy_.add_rule(at_frame(fault::stall, 0));
  raw_client c(proxy_.port());
  ASSERT_TRUE(c.send(login_frame("u", "p")));
  ASSERT_TRUE(proxy_.wait([](const fault_counts& k) { return k.stalled == 1; }));
  ending how;
  EXPECT_EQ(c.rest(200, &how), "");
  EXPECT_EQ(how, ending::none);
  proxy_.release();
  EXPECT_EQ(hex(c.frame()), hex(login_ok()));
}

TEST_F(proxy_test, a_statement_matched_by_its_text) {
  proxy_.add_rule(on_statement(fault::stall, "SLOW"));
  auto c = login();
  ASSERT_TRUE(c->send(statement_frame("quick")));
  EXPECT_EQ(hex(c->frame()), hex(reply_for("quick")));
  ASSERT_TRUE(c->send(statement_frame("select slow;")));
  ASSERT_TRUE(proxy_.wait([](const fault_counts& k) { return k.stalled == 1; }));
  proxy_.release();
  EXPECT_EQ(hex(c->frame()), hex(reply_for("select slow;")));
}

TEST_F(proxy_test, a_cut_reply_ends_the_stream_mid_frame) {
  proxy_.add_rule(at_frame(fault::cut, 1));
  auto c = login();
  ASSERT_TRUE(c->send(statement_frame("select 1;")));
  ending how;
  std::string got = c->rest(3000, &how);
  const std::string whole = reply_for("select 1;");
  EXPECT_EQ(how, ending::eof);
  EXPECT_EQ(got, whole.substr(0, whole.size() / 2));
  EXPECT_EQ(proxy_.counts().cuts, 1u);

  fault_rule early = at_frame(fault::cut, 1);
  early.cut_at = 3;
  proxy_.clear_rules();
  proxy_.add_rule(early);
  auto d = login();
  ASSERT_TRUE(d->send(statement_frame("x")));
  EXPECT_EQ(d->rest(3000, &how), reply_for("x").substr(0, 3));
  EXPECT_EQ(how, ending::eof);
}

TEST_F(proxy_test, a_long_length_announces_more_than_comes_and_keeps_the_socket_open) {
  proxy_.add_rule(at_frame(fault::long_length, 1));
  auto c = login();
  ASSERT_TRUE(c->send(statement_frame("q")));
  std::string want = reply_for("q");
  uint32_t n = uint32_t(want.size() - 4) + 1000;
  std::string lying = u32le(n) + want.substr(4);
  ending how;
  EXPECT_EQ(hex(c->rest(300, &how)), hex(lying));
  EXPECT_EQ(how, ending::none);
  EXPECT_EQ(proxy_.counts().long_lengths, 1u);
  // A later request is forwarded but its reply is not.
  ASSERT_TRUE(c->send(statement_frame("later")));
  ASSERT_TRUE(server_.wait_frames(3));
  EXPECT_EQ(c->rest(200, &how), "");
  EXPECT_EQ(how, ending::none);
}

TEST_F(proxy_test, a_reset_after_the_commit_reply) {
  proxy_.add_rule(on_statement(fault::reset_after, "commit"));
  auto c = login();
  ASSERT_TRUE(c->send(statement_frame("insert into t values (1);")));
  EXPECT_EQ(hex(c->frame()), hex(reply_for("insert into t values (1);")));
  ASSERT_TRUE(c->send(statement_frame("COMMIT;")));
  EXPECT_EQ(hex(c->frame()), hex(reply_for("COMMIT;")));  // the reply arrives whole
  ending how;
  int err = 0;
  EXPECT_EQ(c->rest(3000, &how, &err), "");
  EXPECT_EQ(how, ending::error);
  EXPECT_EQ(err, ECONNRESET);
  EXPECT_TRUE(proxy_.wait([](const fault_counts& k) { return k.resets == 1 && k.open == 0; }));
  // The server got the commit: it is the client that loses the connection.
  auto f = server_.frames();
  ASSERT_EQ(f.size(), 3u);
  EXPECT_EQ(f[2], statement_frame("COMMIT;"));
}

TEST_F(proxy_test, an_extra_frame_after_a_reply) {
  proxy_.add_rule(at_frame(fault::extra_frame, 1));
  auto c = login();
  ASSERT_TRUE(c->send(statement_frame("a")));
  ASSERT_TRUE(proxy_.wait([](const fault_counts& k) { return k.extra_frames == 1; }));
  ending how;
  EXPECT_EQ(hex(c->rest(200, &how)), hex(reply_for("a") + reply_frame(status_ok, {})));
  EXPECT_EQ(how, ending::none);
}

TEST_F(proxy_test, an_extra_frame_held_until_released) {
  fault_rule r = at_frame(fault::extra_frame, 0);  // after the login reply
  r.extra = fail_reply();
  r.extra_on_release = true;
  proxy_.add_rule(r);
  auto c = login();
  ending how;
  EXPECT_EQ(c->rest(200, &how), "");
  EXPECT_EQ(proxy_.counts().extra_frames, 0u);
  proxy_.release();
  ASSERT_TRUE(proxy_.wait([](const fault_counts& k) { return k.extra_frames == 1; }));
  // Counted once written: the client's socket has it now.
  pollfd p{c->fd, POLLIN, 0};
  EXPECT_EQ(poll(&p, 1, 0), 1);
  EXPECT_EQ(hex(c->frame()), hex(fail_reply()));
}

TEST_F(proxy_test, rules_strike_per_connection_or_a_set_number_of_times) {
  proxy_.add_rule(at_frame(fault::extra_frame, 1));
  fault_rule once = on_statement(fault::stall, "hold");
  once.times = 1;
  proxy_.add_rule(once);
  for (int round = 0; round < 2; ++round) {
    auto c = login();
    ASSERT_TRUE(c->send(statement_frame("a")));
    EXPECT_EQ(hex(c->frame()), hex(reply_for("a"))) << round;
    EXPECT_EQ(hex(c->frame()), hex(reply_frame(status_ok, {}))) << round;
    ASSERT_TRUE(c->send(statement_frame("hold")));
    if (round == 0) {
      ASSERT_TRUE(proxy_.wait([](const fault_counts& k) { return k.stalled == 1; }));
      proxy_.release();
    }
    EXPECT_EQ(hex(c->frame()), hex(reply_for("hold"))) << round;
  }
  fault_counts n = proxy_.counts();
  EXPECT_EQ(n.extra_frames, 2u);
  EXPECT_EQ(n.stalled, 1u);
  EXPECT_EQ(n.connections, 2u);
}

TEST_F(proxy_test, drop_connections_ends_each_open_one) {
  proxy_.add_rule(at_frame(fault::stall, 1));
  auto c = login();
  ASSERT_TRUE(c->send(statement_frame("a")));
  ASSERT_TRUE(proxy_.wait([](const fault_counts& k) { return k.stalled == 1; }));
  proxy_.drop_connections();
  ending how;
  EXPECT_EQ(c->rest(3000, &how), "");
  EXPECT_EQ(how, ending::eof);
  EXPECT_TRUE(proxy_.wait([](const fault_counts& k) { return k.open == 0; }));
  // New connections are served.
  proxy_.clear_rules();
  auto d = login();
  ASSERT_TRUE(d->send(statement_frame("b")));
  EXPECT_EQ(hex(d->frame()), hex(reply_for("b")));
}

TEST(fault_proxy, a_target_that_is_not_there_closes_the_client) {
  watchdog dog("fault_proxy.a_target_that_is_not_there", 60);
  uint16_t free_port = 0;
  {
    test_peer gone;
    free_port = gone.port();
  }
  fault_proxy proxy(free_port);
  raw_client c(proxy.port());
  ASSERT_NE(c.fd, plat::no_socket);
  c.send(login_frame("u", "p"));
  ending how;
  EXPECT_EQ(c.rest(3000, &how), "");
  EXPECT_NE(how, ending::none);
  EXPECT_TRUE(proxy.wait([](const fault_counts& k) { return k.target_failures == 1; }));
}

TEST(fault_proxy, destruction_is_prompt_wherever_connections_stand) {
  watchdog dog("fault_proxy.destruction_is_prompt", 60);
  test_peer server;
  server.set_handler([](std::string_view) { return send(reply_for("x")); });
  std::vector<std::unique_ptr<raw_client>> clients;
  auto t0 = std::chrono::steady_clock::now();
  {
    fault_proxy proxy(server.port());
    proxy.add_rule(at_frame(fault::stall, 0));
    proxy.add_rule(at_frame(fault::long_length, 1));
    fault_rule r = at_frame(fault::extra_frame, 2);
    r.extra_on_release = true;
    proxy.add_rule(r);
    clients.push_back(std::make_unique<raw_client>(proxy.port()));
    clients.back()->send(login_frame("u", "p"));  // its login reply stalled
    ASSERT_TRUE(proxy.wait([](const fault_counts& k) { return k.stalled == 1; }));
    clients.push_back(std::make_unique<raw_client>(proxy.port()));  // connected, silent
    ASSERT_TRUE(proxy.wait([](const fault_counts& k) { return k.connections == 2; }));
    t0 = std::chrono::steady_clock::now();
  }
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
  EXPECT_LT(ms, 2000);
  for (auto& c : clients) {
    ending how;
    c->rest(2000, &how);
    EXPECT_EQ(how, ending::eof);
  }
}

}  // namespace
