// The connection against misbehaving servers, through the fault proxy and the scripted peer:
// a silent login gives up after the connect time-out; a wait that another thread ends by
// shutting the socket down fails at once; replies that get out of step with the requests
// end the connection instead of answering a statement with another one's reply; a length
// field that lies costs no more memory than the bytes that came.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "client/connection.h"
#include "platform/socket_probe.h"
#include "tests/client/client_support.h"
#include "tests/peer/fault_proxy.h"
#include "tests/peer/test_peer.h"
#include "tests/support/waits.h"

namespace {

using namespace peer;
namespace cl = kk::client;

using ruv::test::watchdog;

datas_ptr exec_text(const std::string& sql) { return datas_ptr(cl::exec(sql.data(), static_cast<int32_t>(sql.size()))); }

// The server's answer to a statement: one row whose text is the statement, so that a result
// tells which statement it answers.
std::string echo_reply(std::string_view sql) { return ok_reply({{{"echo", d_string}}, {{1, {text(sql)}}}}); }

std::string echo_of(const datas_ptr& d) {
  if (!d || d->rows.size != 1 || d->rows[0].vals.size != 1) return "(no echo)";
  const kk::val& v = d->rows[0].vals[0];
  return std::string(v.text, v.len);
}

// Whether bytes are readable on fd within timeout_ms.
bool readable(int fd, int timeout_ms) {
  pollfd p{fd, POLLIN, 0};
  return poll(&p, 1, timeout_ms) == 1;
}

class wire_faults : public testing::Test {
 protected:
  wire_faults() {
    server_.set_handler([](std::string_view sql) {
      if (sql.substr(0, 4) == "fail") return send(fail_reply());
      return send(echo_reply(sql));
    });
  }
  void TearDown() override {
    stdout_of([] { cl::exit_to_server(); });
    cl::set_connect_timeout_ms(10000);
  }
  bool connect_direct() { return cl::connect_to_server("127.0.0.1", server_.port(), "u", "p"); }
  bool connect_proxied() { return cl::connect_to_server("127.0.0.1", proxy_.port(), "u", "p"); }

  watchdog dog_{"wire_faults", 120};
  test_peer server_;
  fault_proxy proxy_{server_.port()};
};

// ---- 1. the login's wait for its reply is bounded

TEST_F(wire_faults, a_silent_server_fails_the_login_after_the_connect_timeout) {
  server_.set_login_reply(send(""));  // accepts, reads the login, answers nothing
  cl::set_connect_timeout_ms(300);
  bool ok = true;
  const auto t0 = std::chrono::steady_clock::now();
  std::string out = stdout_of([&] { ok = connect_direct(); });
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
  EXPECT_FALSE(ok);
  EXPECT_EQ(out, "login failed(timeout).\n");
  EXPECT_FALSE(cl::has_socket());
  EXPECT_GE(ms, 250);
  EXPECT_LT(ms, 5000);
  // The next login, to a server that answers, is as good as new.
  server_.set_login_reply(send(login_ok()));
  ASSERT_TRUE(connect_direct());
  EXPECT_EQ(echo_of(exec_text("select 1;")), "select 1;");
}

TEST_F(wire_faults, a_stalled_login_reply_fails_the_login_after_the_connect_timeout) {
  proxy_.add_rule(at_frame(fault::stall, 0));
  cl::set_connect_timeout_ms(300);
  bool ok = true;
  std::string out = stdout_of([&] { ok = connect_proxied(); });
  EXPECT_FALSE(ok);
  EXPECT_EQ(out, "login failed(timeout).\n");
  EXPECT_FALSE(cl::has_socket());
  EXPECT_EQ(proxy_.counts().stalled, 1u);
}

TEST_F(wire_faults, a_login_reply_in_pieces_within_the_timeout_is_read) {
  server_.set_login_reply(send_split(reply_frame(status_ok, "body"), {2, 3}));
  cl::set_connect_timeout_ms(2000);
  EXPECT_TRUE(connect_direct());
}

// ---- 2. a wait ended by a shutdown of the socket from another thread

TEST_F(wire_faults, a_statement_waiting_on_a_silent_server_fails_when_its_socket_is_shut_down) {
  proxy_.add_rule(at_frame(fault::stall, 1));
  ASSERT_TRUE(connect_proxied());
  const int fd = cl::socket_fd();
  ASSERT_GE(fd, 0);
  std::thread cancel([&] {
    proxy_.wait([](const fault_counts& k) { return k.stalled == 1; });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // exec is in its read by now
    ::shutdown(fd, SHUT_RDWR);
  });
  datas_ptr d;
  std::string out = stdout_of([&] { d = exec_text("select * from big;"); });
  cancel.join();
  EXPECT_FALSE(d);
  EXPECT_EQ(out.rfind("rsz == 0 and error is: ", 0), 0u) << out;
  EXPECT_FALSE(cl::has_socket());
  // Nothing is left to read a late reply from: the next call fails at its send.
  proxy_.release();
  out = stdout_of([&] { d = exec_text("select 2;"); });
  EXPECT_FALSE(d);
  EXPECT_EQ(out.rfind("send error ", 0), 0u) << out;
  // A new connection carries on.
  proxy_.clear_rules();
  ASSERT_TRUE(connect_proxied());
  EXPECT_EQ(echo_of(exec_text("select 3;")), "select 3;");
}

TEST_F(wire_faults, a_statement_on_a_socket_shut_down_before_it_fails) {
  ASSERT_TRUE(connect_direct());
  ASSERT_EQ(echo_of(exec_text("a")), "a");
  ASSERT_EQ(::shutdown(cl::socket_fd(), SHUT_RDWR), 0);
  datas_ptr d;
  std::string out = stdout_of([&] { d = exec_text("b"); });
  EXPECT_FALSE(d);
  EXPECT_NE(out, "");
  EXPECT_FALSE(cl::has_socket());
  ASSERT_TRUE(connect_direct());
  EXPECT_EQ(echo_of(exec_text("c")), "c");
}

TEST_F(wire_faults, a_login_waiting_on_a_silent_server_fails_when_its_socket_is_shut_down) {
  server_.set_login_reply(send(""));
  ASSERT_EQ(cl::connect_timeout_ms(), 10000);  // the shutdown, not the time-out, ends it
  std::thread cancel([&] {
    if (!server_.wait_frames(1)) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    // The socket of the login still waiting, found as the program's Cancel finds it.
    const int fd = kk::platform::find_peer_socket(htonl(INADDR_LOOPBACK), server_.port()).fd;
    if (fd >= 0) ::shutdown(fd, SHUT_RDWR);
  });
  bool ok = true;
  std::string out = stdout_of([&] { ok = connect_direct(); });
  cancel.join();
  EXPECT_FALSE(ok);
  EXPECT_EQ(out, "login failed(network).\n");
  EXPECT_FALSE(cl::has_socket());
}

// ---- 3. replies out of step

TEST_F(wire_faults, an_extra_frame_fails_the_next_call_instead_of_shifting_replies) {
  fault_rule r = at_frame(fault::extra_frame, 1);
  r.extra = echo_reply("stale");
  r.extra_on_release = true;  // after the first statement's reply has been read
  proxy_.add_rule(r);
  ASSERT_TRUE(connect_proxied());
  EXPECT_EQ(echo_of(exec_text("one")), "one");
  proxy_.release();
  ASSERT_TRUE(proxy_.wait([](const fault_counts& k) { return k.extra_frames == 1; }));
  ASSERT_TRUE(readable(cl::socket_fd(), 5000));
  datas_ptr d;
  std::string out = stdout_of([&] { d = exec_text("two"); });
  EXPECT_FALSE(d) << "answered with " << echo_of(d);
  EXPECT_EQ(out, "exec failed(reply out of step).\n");
  EXPECT_FALSE(cl::has_socket());
  // The statement was not sent: the server saw one statement on that connection.
  EXPECT_EQ(proxy_.statements(), std::vector<std::string>{"one"});
  // After a reconnect each call gets its own reply again.
  ASSERT_TRUE(connect_proxied());
  EXPECT_EQ(echo_of(exec_text("three")), "three");
  EXPECT_EQ(echo_of(exec_text("four")), "four");
}

TEST_F(wire_faults, an_extra_frame_in_the_same_read_fails_the_call) {
  // Reply and extra frame in one write: the read that completes the reply holds more.
  server_.push_reply(send(echo_reply("one") + echo_reply("stale")));
  ASSERT_TRUE(connect_direct());
  datas_ptr d;
  std::string out = stdout_of([&] { d = exec_text("one"); });
  EXPECT_FALSE(d);
  EXPECT_EQ(out, "exec failed(reply out of step).\n");
  EXPECT_FALSE(cl::has_socket());
  ASSERT_TRUE(connect_direct());
  EXPECT_EQ(echo_of(exec_text("two")), "two");
}

TEST_F(wire_faults, no_call_ever_returns_another_statements_result) {
  // An extra frame after the replies to statements 2 and 5 of every connection, sent in the
  // reply's write: whether it lands in the same read or the next call's, every result that
  // comes back is its own statement's and every refusal a refusal.
  fault_rule a = at_frame(fault::extra_frame, 2);
  a.extra = echo_reply("stale");
  proxy_.add_rule(a);
  fault_rule b = at_frame(fault::extra_frame, 5);  // an OK frame before a refused statement
  proxy_.add_rule(b);
  int calls = 0, own = 0, lost = 0;
  for (int round = 0; round < 3; ++round) {
    ASSERT_TRUE(connect_proxied());
    for (int i = 1; i <= 8; ++i) {
      const std::string sql = (i % 3 == 0 ? "fail " : "select ") + std::to_string(round) + "." + std::to_string(i);
      if (!cl::has_socket()) {
        ASSERT_TRUE(connect_proxied());
      }
      datas_ptr d;
      std::string out = stdout_of([&] { d = exec_text(sql); });
      ++calls;
      if (d) {
        EXPECT_EQ(echo_of(d), sql) << "a result for another statement";
        ++own;
      } else if (!cl::has_socket()) {
        EXPECT_EQ(out, "exec failed(reply out of step).\n") << sql;
        ++lost;
      } else {
        EXPECT_EQ(sql.rfind("fail", 0), 0u) << sql << ": refused but never refused by the server";
      }
    }
    stdout_of([] { cl::exit_to_server(); });
  }
  EXPECT_GE(lost, 3);  // at least once per connection
  EXPECT_GT(own, calls / 3);
}

TEST_F(wire_faults, bytes_after_the_login_reply_fail_the_login) {
  server_.set_login_reply(send(login_ok() + echo_reply("stale")));
  bool ok = true;
  std::string out = stdout_of([&] { ok = connect_direct(); });
  EXPECT_FALSE(ok);
  EXPECT_EQ(out, "login failed(reply out of step).\n");
  EXPECT_FALSE(cl::has_socket());
}

TEST_F(wire_faults, bytes_waiting_before_a_request_fail_the_call) {
  // An extra frame after the login reply, arriving once the login has returned.
  fault_rule r = at_frame(fault::extra_frame, 0);
  r.extra = echo_reply("stale");
  r.extra_on_release = true;
  proxy_.add_rule(r);
  ASSERT_TRUE(connect_proxied());
  proxy_.release();
  ASSERT_TRUE(proxy_.wait([](const fault_counts& k) { return k.extra_frames == 1; }));
  ASSERT_TRUE(readable(cl::socket_fd(), 5000));
  datas_ptr d;
  std::string out = stdout_of([&] { d = exec_text("first"); });
  EXPECT_FALSE(d) << "answered with " << echo_of(d);
  EXPECT_EQ(out, "exec failed(reply out of step).\n");
  EXPECT_FALSE(cl::has_socket());
  EXPECT_TRUE(proxy_.statements().empty());  // nothing was sent
}

TEST_F(wire_faults, a_refused_statement_is_never_reported_as_successful) {
  // The first statement's reply is followed by an OK frame with an empty body; the second
  // statement is one the server refuses.
  fault_rule r = at_frame(fault::extra_frame, 1);
  r.extra_on_release = true;
  proxy_.add_rule(r);
  ASSERT_TRUE(connect_proxied());
  EXPECT_EQ(echo_of(exec_text("select 1;")), "select 1;");
  proxy_.release();
  ASSERT_TRUE(proxy_.wait([](const fault_counts& k) { return k.extra_frames == 1; }));
  ASSERT_TRUE(readable(cl::socket_fd(), 5000));
  datas_ptr d;
  std::string out = stdout_of([&] { d = exec_text("fail this one"); });
  EXPECT_FALSE(d) << "a refused statement came back as a result";
  EXPECT_EQ(out, "exec failed(reply out of step).\n");
  // Sent again on a new connection it is refused as the server refuses it, connection kept.
  ASSERT_TRUE(connect_proxied());
  out = stdout_of([&] { d = exec_text("fail this one"); });
  EXPECT_FALSE(d);
  EXPECT_EQ(out, "");
  EXPECT_TRUE(cl::has_socket());
}

// ---- 4. a length field larger than the body, the socket kept open

TEST_F(wire_faults, a_lying_length_holds_only_what_arrived_and_a_shutdown_ends_the_wait) {
  ASSERT_TRUE(connect_direct());
  // Announces 4 GiB less 2 bytes, sends 20, keeps the connection open.
  server_.push_reply(send(u32le(0xFFFFFFFEu) + u8(status_ok) + std::string(19, 'x')));
  const int fd = cl::socket_fd();
  std::thread cancel([&] {
    if (!server_.wait_frames(2)) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ::shutdown(fd, SHUT_RDWR);
  });
  datas_ptr d;
  stdout_of([&] { d = exec_text("q"); });
  cancel.join();
  EXPECT_FALSE(d);
  EXPECT_FALSE(cl::has_socket());
  EXPECT_LE(cl::kept_reply_bytes(), size_t(64) << 10);
}

TEST_F(wire_faults, a_long_length_from_the_proxy_ends_with_the_shutdown) {
  proxy_.add_rule(at_frame(fault::long_length, 2));
  ASSERT_TRUE(connect_proxied());
  EXPECT_EQ(echo_of(exec_text("a")), "a");
  const int fd = cl::socket_fd();
  std::thread cancel([&] {
    proxy_.wait([](const fault_counts& k) { return k.long_lengths == 1; });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ::shutdown(fd, SHUT_RDWR);
  });
  datas_ptr d;
  stdout_of([&] { d = exec_text("b"); });
  cancel.join();
  EXPECT_FALSE(d);
  EXPECT_FALSE(cl::has_socket());
}

// ---- the other faults of the proxy, as the library meets them

TEST_F(wire_faults, a_reply_cut_mid_frame_fails_and_drops_the_connection) {
  proxy_.add_rule(at_frame(fault::cut, 1));
  ASSERT_TRUE(connect_proxied());
  datas_ptr d;
  std::string out = stdout_of([&] { d = exec_text("select 1;"); });
  EXPECT_FALSE(d);
  EXPECT_EQ(out.rfind("rsz == 0 and error is: ", 0), 0u) << out;
  EXPECT_FALSE(cl::has_socket());
}

TEST_F(wire_faults, a_reset_after_the_commit_reply_keeps_the_commit_result_and_fails_the_next_call) {
  proxy_.add_rule(on_statement(fault::reset_after, "commit"));
  ASSERT_TRUE(connect_proxied());
  EXPECT_EQ(echo_of(exec_text("insert into t values (1);")), "insert into t values (1);");
  EXPECT_EQ(echo_of(exec_text("commit;")), "commit;");
  ASSERT_TRUE(proxy_.wait([](const fault_counts& k) { return k.resets == 1; }));
  // Whether the reset is there before the send ("send error ...") or only for the read
  // (a failed read, without a message), the call fails and the connection is gone.
  datas_ptr d;
  stdout_of([&] { d = exec_text("select 1;"); });
  EXPECT_FALSE(d);
  EXPECT_FALSE(cl::has_socket());
}

}  // namespace
