// Message-exact behaviour of the connection in the cases the other tests leave out.
#include <gtest/gtest.h>

#include <string>

#include "client/connection.h"
#include "tests/peer/demo_result.h"
#include "tests/peer/test_peer.h"

namespace {

using namespace peer;
namespace cl = kk::client;

template <class F>
std::string stdout_of(F f) {
  testing::internal::CaptureStdout();
  f();
  return testing::internal::GetCapturedStdout();
}

kk::datas* exec_text(const std::string& sql) { return cl::exec(sql.data(), static_cast<int32_t>(sql.size())); }

void release(kk::datas* d) {
  if (!d) return;
  kk::free_datas(*d);
  delete d;
}

class conformance : public testing::Test {
 protected:
  void TearDown() override {
    stdout_of([] { cl::exit_to_server(); });
  }
  test_peer peer_;
};

// A failed read (as opposed to the peer's orderly end) ends exec with null and prints
// nothing; only a read of 0 bytes has its "rsz == 0" line.
TEST_F(conformance, a_failed_read_prints_nothing) {
  struct {
    const char* what;
    reply_plan reply;
    const char* message;
  } cases[] = {
      {"reset before any reply byte", send_and_reset(""), ""},
      {"orderly close before any reply byte", send_and_close(""), "rsz == 0 and error is: Success\n"},
  };
  std::string good = ok_reply(demo_result());
  for (auto& c : cases) {
    ASSERT_TRUE(cl::connect_to_server("127.0.0.1", peer_.port(), "u", "p")) << c.what;
    peer_.push_reply(c.reply);
    kk::datas* d = nullptr;
    std::string out = stdout_of([&] { d = exec_text("select 1;"); });
    EXPECT_EQ(d, nullptr) << c.what;
    release(d);
    EXPECT_EQ(out, c.message) << c.what;
    // The thread connects again and is served as before.
    ASSERT_TRUE(cl::connect_to_server("127.0.0.1", peer_.port(), "u", "p")) << c.what;
    peer_.push_reply(send(good));
    d = exec_text("select 2;");
    ASSERT_NE(d, nullptr) << c.what;
    EXPECT_EQ(d->rows.size, 2u);
    release(d);
    stdout_of([] { cl::exit_to_server(); });
  }
}

}  // namespace
