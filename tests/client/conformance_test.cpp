// Behaviour of the connection the other tests leave out: messages of failed reads, the
// options the socket is set up with.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstdlib>
#include <dirent.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>

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

// The client's socket: the one whose far end is the peer's port.
int client_socket_to(uint16_t port) {
  int found = -1;
  DIR* dir = opendir("/proc/self/fd");
  if (!dir) return -1;
  while (dirent* e = readdir(dir)) {
    int fd = std::atoi(e->d_name);
    if (e->d_name[0] < '0' || e->d_name[0] > '9' || fd == dirfd(dir)) continue;
    sockaddr_in a{};
    socklen_t len = sizeof a;
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0 && a.sin_family == AF_INET &&
        ntohs(a.sin_port) == port)
      found = fd;
  }
  closedir(dir);
  return found;
}

int option_of(int fd, int name) {
  int v = -1;
  socklen_t len = sizeof v;
  return getsockopt(fd, SOL_SOCKET, name, &v, &len) == 0 ? v : -2;
}

TEST_F(conformance, the_socket_carries_its_options) {
  ASSERT_TRUE(cl::connect_to_server("127.0.0.1", peer_.port(), "u", "p"));
  int fd = client_socket_to(peer_.port());
  ASSERT_GE(fd, 0);
  EXPECT_EQ(option_of(fd, SO_REUSEADDR), 0);
  EXPECT_EQ(option_of(fd, SO_KEEPALIVE), 0);
  // Linux reports twice the size asked for (its bookkeeping share included).
  EXPECT_EQ(option_of(fd, SO_RCVBUF), 2 * 65536);
  EXPECT_EQ(option_of(fd, SO_SNDBUF), 2 * 65536);
}

}  // namespace
