#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/resource.h>

#include <chrono>
#include <iterator>
#include <memory>
#include <string>
#include <thread>

#include "client/connection.h"
#include "tests/client/client_support.h"
#include "tests/peer/demo_result.h"
#include "tests/peer/test_peer.h"
#include "tests/peer/wire_fixtures.h"

namespace {

using namespace peer;
namespace cl = kk::client;

void quiet_exit() {
  stdout_of([] { cl::exit_to_server(); });
}

bool connect_to(const test_peer& p, const char* user = "u", const char* password = "p") {
  return cl::connect_to_server("127.0.0.1", p.port(), user, password);
}

datas_ptr exec_text(const std::string& sql) { return datas_ptr(cl::exec(sql.data(), static_cast<int32_t>(sql.size()))); }

class connection : public testing::Test {
 protected:
  void TearDown() override {
    stdout_of([] { cl::exit_to_server(); });
  }
  test_peer peer_;
};

TEST_F(connection, frames_on_the_wire) {
  ASSERT_TRUE(cl::connect_to_server("127.0.0.1", peer_.port(), nullptr, nullptr));
  peer_.push_reply(send(ok_reply({{{"id", d_u64}}, {}})));
  EXPECT_TRUE(exec_text("show tables;"));
  EXPECT_EQ(cl::exec(nullptr, 0), nullptr);  // the default handler answers FAIL
  EXPECT_TRUE(cl::exit_to_server());
  ASSERT_TRUE(peer_.wait_frames(4));
  auto f = peer_.frames();
  EXPECT_EQ(hex(f[0]), hex(from_hex(fixtures::logins[0].hex)));
  EXPECT_EQ(hex(f[1]), hex(from_hex(fixtures::statements[3].hex)));
  EXPECT_EQ(hex(f[2]), hex(from_hex(fixtures::statements[0].hex)));
  EXPECT_EQ(hex(f[3]), hex(from_hex(fixtures::logout_hex)));
}

TEST_F(connection, login_replies) {
  struct {
    const char* what;
    reply_plan reply;
    bool ok;
    const char* message;
  } cases[] = {
      {"accepted", send(login_ok()), true, ""},
      {"accepted with a body", send(reply_frame(status_ok, "whatever")), true, ""},
      {"any status but FAIL", send(reply_frame(7, {})), true, ""},
      {"split over three reads", send_split(reply_frame(status_ok, "body"), {2, 3}), true, ""},
      {"refused", send(fail_reply()), false, "login failed.\n"},
      {"three bytes, then closed", send_and_close(from_hex("01 00 00")), false, "login failed(bad length).\n"},
      {"cut body, then closed", send_and_close(from_hex("05 00 00 00 00 61")), false, "login failed(bad length).\n"},
      {"no status byte", send(from_hex("00 00 00 00")), false, "login failed(bad length).\n"},
      {"the logout marker as length", send(from_hex("ff ff ff ff 00")), false, "login failed(bad length).\n"},
      {"closed without a reply", send_and_close(""), false, "login failed(network).\n"},
  };
  for (auto& c : cases) {
    peer_.set_login_reply(c.reply);
    bool ok = false;
    std::string out = stdout_of([&] { ok = connect_to(peer_); });
    EXPECT_EQ(ok, c.ok) << c.what;
    EXPECT_EQ(out, c.message) << c.what;
    EXPECT_EQ(cl::has_socket(), c.ok) << c.what;
    quiet_exit();
  }
}

TEST_F(connection, connect_failures_are_bounded_and_reported) {
  uint16_t port = peer_.port();
  peer_.refuse_connections();
  std::string out = stdout_of([&] { EXPECT_FALSE(cl::connect_to_server("127.0.0.1", port, "u", "p")); });
  EXPECT_EQ(out, "connect error Connection refused!\n");
  out = stdout_of([&] { EXPECT_FALSE(cl::connect_to_server("no.such.host", port, "u", "p")); });
  EXPECT_EQ(out.rfind("connect error ", 0), 0u) << out;
  EXPECT_EQ(cl::connect_timeout_ms(), 10000);
}

TEST_F(connection, exec_failures_leave_no_hang_and_the_right_message) {
  std::string good = ok_reply(demo_result());
  std::string body_cut = u32le(1 + 8 + 4) + u8(status_ok) + u64le(2) + "abcd";  // complete frame, short body
  struct {
    const char* what;
    reply_plan reply;
    const char* message;  // prefix of what is printed
    bool socket_kept;
  } cases[] = {
      {"FAIL", send(fail_reply()), "", true},
      {"unknown status", send(reply_frame(2, "x")), "exec failed(unknown status 2).\n", true},
      {"no status byte", send(from_hex("00 00 00 00")), "exec failed(bad length 0).\n", false},
      {"logout marker as length", send(from_hex("ff ff ff ff 00 00")), "exec failed(bad length 4294967295).\n", false},
      {"length that wraps n + 4", send_and_close(from_hex("fe ff ff ff 00 00 00")), "rsz == 0 and error is: ", false},
      {"closed mid-reply", send_and_close(good.substr(0, good.size() / 2)), "rsz == 0 and error is: ", false},
      {"closed before replying", send_and_close(""), "rsz == 0 and error is: ", false},
      {"short body", send(body_cut), "exec failed(bad result: column count).\n", true},
      {"lying row count", send(reply_frame(status_ok, u64le(1) + u64le(1) + "a" + u64le(1000) + from_hex("03 01 00") + u64le(1) + u64le(2))),
       "exec failed(bad result: row count).\n", true},
  };
  for (auto& c : cases) {
    ASSERT_TRUE(connect_to(peer_)) << c.what;
    peer_.push_reply(c.reply);
    datas_ptr d;
    std::string out = stdout_of([&] { d = exec_text("select 1;"); });
    EXPECT_FALSE(d) << c.what;
    EXPECT_EQ(out.rfind(c.message, 0), 0u) << c.what << ": " << out;
    EXPECT_EQ(cl::has_socket(), c.socket_kept) << c.what;
    // After a reconnect the connection is as good as new.
    ASSERT_TRUE(connect_to(peer_)) << c.what;
    peer_.push_reply(send(good));
    d = exec_text("select 2;");
    ASSERT_TRUE(d) << c.what;
    EXPECT_EQ(d->rows.size, 2u);
    quiet_exit();
  }
}

TEST_F(connection, a_reply_cut_at_every_length) {
  std::string good = ok_reply(demo_result());
  for (size_t n = 0; n < good.size(); ++n) {
    ASSERT_TRUE(connect_to(peer_)) << n;
    peer_.push_reply(send_and_close(good.substr(0, n)));
    datas_ptr d;
    std::string out = stdout_of([&] { d = exec_text("x"); });
    EXPECT_FALSE(d) << n;
    EXPECT_EQ(out.rfind("rsz == 0 and error is: ", 0), 0u) << n << ": " << out;
    quiet_exit();
  }
}

TEST_F(connection, a_whole_frame_around_a_cut_body) {
  std::string body = encode_payload(demo_result());
  ASSERT_TRUE(connect_to(peer_));
  // The frame is complete but its body ends early: the decoder fails, the stream stays in
  // step and the same connection carries the next statement.
  for (size_t n = 1; n < body.size(); ++n) {
    peer_.push_reply(send(reply_frame(status_ok, body.substr(0, n))));
    datas_ptr d;
    std::string out = stdout_of([&] { d = exec_text("x"); });
    EXPECT_FALSE(d) << n;
    EXPECT_EQ(out.rfind("exec failed(bad result: ", 0), 0u) << n << ": " << out;
  }
  peer_.push_reply(send(reply_frame(status_ok, body)));
  EXPECT_TRUE(exec_text("x"));
}

TEST_F(connection, split_replies_are_assembled) {
  std::string good = ok_reply(demo_result());
  ASSERT_TRUE(connect_to(peer_));
  for (std::vector<size_t> chunks : {std::vector<size_t>{2, 3}, {1, 1, 1, 1, 1}, {4}, {5}, {good.size() - 1}}) {
    peer_.push_reply(send_split(good, chunks));
    datas_ptr d = exec_text("x");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->rows.size, 2u);
    EXPECT_EQ(d->cols.size, demo_result().cols.size());
  }
}

TEST_F(connection, bytes_beyond_the_frame_end_the_connection) {
  ASSERT_TRUE(connect_to(peer_));
  // The frame says its body is empty; what follows it in the same write is no part of it,
  // nor of any later reply: the stream is out of step, the call fails, nothing is decoded.
  peer_.push_reply(send(reply_frame(status_ok, {}) + encode_payload(demo_result())));
  datas_ptr d;
  std::string out = stdout_of([&] { d = exec_text("x"); });
  EXPECT_FALSE(d);
  EXPECT_EQ(out, "exec failed(reply out of step).\n");
  EXPECT_FALSE(cl::has_socket());
}

TEST_F(connection, a_closed_peer_does_not_kill_the_process) {
  peer_.set_handler([](std::string_view) { return send_and_close(""); });
  ASSERT_TRUE(connect_to(peer_));
  stdout_of([&] {
    EXPECT_FALSE(exec_text("a"));  // the peer closes: recv sees the end
    EXPECT_FALSE(exec_text("b"));  // no socket any more: the send fails
  });
  std::string out = stdout_of([&] { EXPECT_TRUE(cl::exit_to_server()); });
  EXPECT_EQ(out.rfind("send error ", 0), 0u) << out;
  // Without any connection at all.
  out = stdout_of([&] { EXPECT_FALSE(exec_text("c")); });
  EXPECT_EQ(out.rfind("send error ", 0), 0u) << out;
}

TEST_F(connection, negative_length_sends_nothing) {
  ASSERT_TRUE(connect_to(peer_));
  std::string out = stdout_of([&] { EXPECT_EQ(cl::exec("abc", -1), nullptr); });
  EXPECT_EQ(out, "exec error: negative statement length -1\n");
  EXPECT_TRUE(cl::has_socket());
  ASSERT_TRUE(peer_.wait_frames(1));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(peer_.frames().size(), 1u);  // only the login
}

long thread_minor_faults() {
  rusage u{};
  getrusage(RUSAGE_THREAD, &u);
  return u.ru_minflt;
}

// One connection's accumulator serves its exchanges one after the other: each reply is
// decoded from its own bytes only, whether the one before was longer, shorter, refused or
// arrived in pieces.
TEST_F(connection, each_reply_is_read_from_its_own_bytes) {
  auto rows_of = [](uint64_t n, const char* tag) {
    result r{{{"t", d_string}}, {}};
    for (uint64_t i = 0; i < n; ++i) r.rows.push_back({i, {text(tag + std::to_string(i))}});
    return r;
  };
  struct step {
    reply_plan reply;
    int64_t rows;  // -1: no result
    const char* first;
  } steps[] = {
      {send(ok_reply(rows_of(2000, "long"))), 2000, "long0"},
      {send(ok_reply(rows_of(3, "short"))), 3, "short0"},
      {send(fail_reply()), -1, ""},
      {send_split(ok_reply(rows_of(5, "split")), {3, 20}), 5, "split0"},
      {send(reply_frame(status_ok, {})), 0, ""},
      {send(ok_reply(rows_of(1, "last"))), 1, "last0"},
  };
  ASSERT_TRUE(connect_to(peer_));
  for (size_t i = 0; i < std::size(steps); ++i) {
    peer_.push_reply(steps[i].reply);
    datas_ptr d = exec_text("q");
    if (steps[i].rows < 0) {
      EXPECT_FALSE(d) << "step " << i;
      continue;
    }
    ASSERT_TRUE(d) << "step " << i;
    ASSERT_EQ(int64_t(d->rows.size), steps[i].rows) << "step " << i;
    if (steps[i].rows > 0) {
      const kk::val& v = d->rows[0].vals[0];
      EXPECT_EQ(std::string(v.text, v.len), steps[i].first) << "step " << i;
    }
  }
}

// The accumulator is kept between the exchanges of a connection: a second reply of a
// few MiB lands in pages already mapped instead of mapping and faulting in as many anew.
// One grown past the bound gives its memory back after its exchange (a small one takes its
// place), and every one does at exit_to_server and at a new connect.
TEST_F(connection, reply_accumulator_is_kept_between_exchanges_and_bounded) {
  struct limit_reset {
    ~limit_reset() { cl::set_kept_reply_limit(cl::default_kept_reply_limit); }
  } reset;
  // Blocks above 1 MiB are mapped on every request (as blocks above 32 MiB always are), so
  // an accumulator made anew shows up in the fault count.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  // Refused replies with a large body: accumulated whole, nothing decoded.
  const std::string kept = reply_frame(status_fail, std::string(3u << 20, 'x'));
  const std::string big = reply_frame(status_fail, std::string(6u << 20, 'x'));
  const std::string small = reply_frame(status_fail, std::string(100000, 'y'));
  ASSERT_LT(kept.size(), cl::default_kept_reply_limit);
  ASSERT_GT(big.size(), cl::default_kept_reply_limit);
  ASSERT_TRUE(connect_to(peer_));
  peer_.push_reply(send(kept));
  EXPECT_FALSE(exec_text("q"));
  EXPECT_GE(cl::kept_reply_bytes(), kept.size());
  peer_.push_reply(send(kept));
  const long before = thread_minor_faults();
  EXPECT_FALSE(exec_text("q"));
  const long faults = thread_minor_faults() - before;
  EXPECT_LT(faults, long(kept.size() / 4096 / 8)) << "pages mapped by the second exchange";

  peer_.push_reply(send(big));
  EXPECT_FALSE(exec_text("q"));
  EXPECT_EQ(cl::kept_reply_bytes(), cl::reply_after_shrink);
  peer_.push_reply(send(small));
  EXPECT_FALSE(exec_text("q"));
  EXPECT_GE(cl::kept_reply_bytes(), small.size());
  EXPECT_LE(cl::kept_reply_bytes(), size_t(1) << 20);

  cl::set_kept_reply_limit(1u << 20);
  peer_.push_reply(send(kept));
  EXPECT_FALSE(exec_text("q"));
  EXPECT_EQ(cl::kept_reply_bytes(), cl::reply_after_shrink);
  EXPECT_TRUE(cl::has_socket());

  ASSERT_TRUE(connect_to(peer_));
  EXPECT_EQ(cl::kept_reply_bytes(), 0u);
  peer_.push_reply(send(small));
  EXPECT_FALSE(exec_text("q"));
  EXPECT_GT(cl::kept_reply_bytes(), 0u);
  quiet_exit();
  EXPECT_EQ(cl::kept_reply_bytes(), 0u);
}

// A result decoded from a large reply does not need the reply: the accumulator has given
// its memory back by the time exec returns, the result reads whole, and the next small
// statement runs in the small accumulator.
TEST_F(connection, a_large_result_outlives_its_reply) {
  result big{{{"n", d_u32}, {"t", d_string}}, {}};
  for (uint32_t i = 0; i < 200000; ++i) big.rows.push_back({i, {u32(i * 3), text("row " + std::to_string(i))}});
  const std::string frame = ok_reply(big);
  ASSERT_GT(frame.size(), cl::default_kept_reply_limit);
  ASSERT_TRUE(connect_to(peer_));
  peer_.push_reply(send(frame));
  datas_ptr d = exec_text("q");
  ASSERT_TRUE(d);
  EXPECT_EQ(cl::kept_reply_bytes(), cl::reply_after_shrink);
  ASSERT_EQ(d->rows.size, 200000u);
  for (uint64_t r = 0; r < d->rows.size; r += 9973) {
    EXPECT_EQ(kk::val_as_u32(d->rows[r].vals[0]), uint32_t(r * 3));
    const kk::val& t = d->rows[r].vals[1];
    EXPECT_EQ(std::string(t.text, t.len), "row " + std::to_string(r));
  }
  peer_.push_reply(send(ok_reply(demo_result())));
  datas_ptr small = exec_text("q");
  ASSERT_TRUE(small);
  EXPECT_EQ(small->rows.size, demo_result().rows.size());
  EXPECT_EQ(cl::kept_reply_bytes(), cl::reply_after_shrink);
  const kk::val& last = d->rows[199999].vals[1];
  EXPECT_EQ(std::string(last.text, last.len), "row 199999");
}

TEST_F(connection, each_thread_has_its_own_connection) {
  test_peer other;
  ASSERT_TRUE(connect_to(peer_));
  std::thread t([&] {
    EXPECT_FALSE(cl::has_socket());
    EXPECT_TRUE(connect_to(other, "t", "t"));
    other.push_reply(send(ok_reply({{{"x", d_u08}}, {}})));
    datas_ptr d = exec_text("from the thread");
    EXPECT_TRUE(d);
    quiet_exit();
  });
  t.join();
  EXPECT_TRUE(cl::has_socket());
  peer_.push_reply(send(ok_reply({{{"y", d_u08}}, {}})));
  EXPECT_TRUE(exec_text("from main"));
  ASSERT_TRUE(other.wait_frames(3));
  EXPECT_EQ(other.frames()[1], statement_frame("from the thread"));
  EXPECT_EQ(peer_.frames()[1], statement_frame("from main"));
}

}  // namespace
