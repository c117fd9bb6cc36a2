#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <string>
#include <thread>
#include <vector>

#include "platform/socket.h"

namespace {

namespace plat = kk::platform;

// A listener that never accepts, with its queue filled: a further connect is not answered,
// like a blackholed address.
struct silent_listener {
  uint16_t port = 0;
  plat::socket_t listener = plat::no_socket;
  std::vector<plat::socket_t> queued;
  silent_listener() {
    listener = plat::listen_loopback(&port, 0);
    for (int i = 0; i < 4; ++i) {
      plat::socket_t s = plat::tcp_socket();
      if (!plat::connect_ipv4(s, plat::ipv4_address("127.0.0.1"), port, 200)) {
        plat::close_socket(s);
        break;
      }
      queued.push_back(s);
    }
  }
  ~silent_listener() {
    for (auto s : queued) plat::close_socket(s);
    plat::close_socket(listener);
  }
};

TEST(socket, connect_gives_up_after_its_time_out_and_is_blocking_again) {
  silent_listener l;
  ASSERT_NE(l.listener, plat::no_socket);
  plat::socket_t s = plat::tcp_socket();
  auto t0 = std::chrono::steady_clock::now();
  bool ok = plat::connect_ipv4(s, plat::ipv4_address("127.0.0.1"), l.port, 300);
  int err = errno;
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
  EXPECT_FALSE(ok);
  EXPECT_EQ(err, ETIMEDOUT);
  EXPECT_GE(ms, 250);
  EXPECT_LT(ms, 3000);
  EXPECT_EQ(fcntl(s, F_GETFL) & O_NONBLOCK, 0);
  plat::close_socket(s);
}

TEST(socket, refused_connect_and_sends_to_a_closed_peer) {
  uint16_t port = 0;
  plat::socket_t l = plat::listen_loopback(&port, 4);
  ASSERT_NE(l, plat::no_socket);
  plat::socket_t c = plat::tcp_socket();
  ASSERT_TRUE(plat::connect_ipv4(c, plat::ipv4_address("127.0.0.1"), port, 1000));
  EXPECT_EQ(fcntl(c, F_GETFL) & O_NONBLOCK, 0);
  plat::socket_t a = plat::accept_connection(l);
  plat::close_socket(a);
  plat::close_socket(l);
  // The peer is gone: sends fail (at the latest the second) and SIGPIPE does not end us.
  char buf[1024] = {};
  bool all_sent = true;
  for (int i = 0; i < 20 && all_sent; ++i) all_sent = plat::send_all(c, buf, sizeof buf);
  EXPECT_FALSE(all_sent);
  EXPECT_TRUE(errno == EPIPE || errno == ECONNRESET) << errno;
  EXPECT_LE(plat::recv_some(c, buf, sizeof buf), 0);
  plat::close_socket(c);

  // Nobody listens on the port any more.
  plat::socket_t r = plat::tcp_socket();
  EXPECT_FALSE(plat::connect_ipv4(r, plat::ipv4_address("127.0.0.1"), port, 1000));
  EXPECT_EQ(errno, ECONNREFUSED);
  plat::close_socket(r);
}

TEST(socket, a_full_send_buffer_is_waited_out_not_reported_as_sent) {
  uint16_t port = 0;
  plat::socket_t l = plat::listen_loopback(&port, 4);
  plat::socket_t c = plat::tcp_socket();
  ASSERT_TRUE(plat::connect_ipv4(c, plat::ipv4_address("127.0.0.1"), port, 1000));
  plat::socket_t a = plat::accept_connection(l);
  // Non-blocking, so that a full buffer shows as EAGAIN; the reader starts late.
  fcntl(c, F_SETFL, fcntl(c, F_GETFL) | O_NONBLOCK);
  std::string data(8 << 20, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 2654435761u >> 24);
  std::string got;
  std::thread reader([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::string buf(65536, '\0');
    while (got.size() < data.size()) {
      ptrdiff_t r = plat::recv_some(a, buf.data(), buf.size());
      if (r <= 0) break;
      got.append(buf.data(), size_t(r));
    }
  });
  EXPECT_TRUE(plat::send_all(c, data.data(), data.size()));
  reader.join();
  EXPECT_TRUE(got == data);
  plat::close_socket(a);
  plat::close_socket(c);
  plat::close_socket(l);
}

TEST(socket, addresses) {
  EXPECT_EQ(plat::ipv4_address("127.0.0.1"), 0x0100007Fu);
  EXPECT_EQ(plat::ipv4_address("not an address"), 0xFFFFFFFFu);
  EXPECT_EQ(plat::ipv4_address(nullptr), 0xFFFFFFFFu);
}

}  // namespace
