#include "tests/peer/test_peer.h"

#include <chrono>
#include <poll.h>
#include <sys/socket.h>

#include "platform/socket.h"

namespace peer {

namespace plat = kk::platform;

namespace {
// Frames larger than this are not read: a runaway client must not exhaust the test.
constexpr uint32_t max_frame = 256u << 20;
constexpr int poll_ms = 20;
}  // namespace

test_peer::test_peer(uint16_t port) : port_(port) {
  listener_ = plat::listen_loopback(&port_, 16);
  login_ = [](std::string_view, std::string_view) { return send(login_ok()); };
  handler_ = [](std::string_view) { return send(fail_reply()); };
  if (listener_ >= 0) thread_ = std::thread([this] { run(); });
}

test_peer::~test_peer() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (listener_ >= 0) plat::close_socket(listener_);
}

void test_peer::set_login_reply(reply_plan p) {
  set_login_handler([p](std::string_view, std::string_view) { return p; });
}

void test_peer::set_login_handler(login_handler h) {
  std::lock_guard<std::mutex> g(mu_);
  login_ = std::move(h);
}

void test_peer::push_reply(reply_plan p) {
  std::lock_guard<std::mutex> g(mu_);
  queue_.push_back(std::move(p));
}

void test_peer::set_handler(statement_handler h) {
  std::lock_guard<std::mutex> g(mu_);
  handler_ = std::move(h);
}

std::vector<std::string> test_peer::frames() const {
  std::lock_guard<std::mutex> g(mu_);
  return frames_;
}

bool test_peer::wait_frames(size_t n, int timeout_ms) const {
  std::unique_lock<std::mutex> g(mu_);
  return cv_.wait_for(g, std::chrono::milliseconds(timeout_ms), [&] { return frames_.size() >= n; });
}

size_t test_peer::connections() const {
  std::lock_guard<std::mutex> g(mu_);
  return connections_;
}

void test_peer::refuse_connections() {
  refuse_ = true;
  std::unique_lock<std::mutex> g(mu_);
  cv_.wait_for(g, std::chrono::seconds(5), [&] { return listener_closed_ || !thread_.joinable(); });
}

void test_peer::record(std::string frame) {
  {
    std::lock_guard<std::mutex> g(mu_);
    frames_.push_back(std::move(frame));
  }
  cv_.notify_all();
}

void test_peer::run() {
  while (!stop_) {
    if (refuse_ && listener_ >= 0) {
      plat::close_socket(listener_);
      listener_ = -1;
      {
        std::lock_guard<std::mutex> g(mu_);
        listener_closed_ = true;
      }
      cv_.notify_all();
    }
    if (listener_ < 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(poll_ms));
      continue;
    }
    pollfd p{listener_, POLLIN, 0};
    if (poll(&p, 1, poll_ms) <= 0) continue;
    int conn = plat::accept_connection(listener_);
    if (conn < 0) continue;
    plat::set_no_delay(conn);
    {
      std::lock_guard<std::mutex> g(mu_);
      ++connections_;
    }
    serve(conn);
    plat::close_socket(conn);
  }
}

bool test_peer::read_exact(int conn, std::string& out, size_t n) {
  size_t start = out.size();
  out.resize(start + n);
  size_t got = 0;
  while (got < n) {
    if (stop_) return false;
    pollfd p{conn, POLLIN, 0};
    int r = poll(&p, 1, poll_ms);
    if (r < 0 && errno != EINTR) return false;
    if (r <= 0) continue;
    ptrdiff_t k = plat::recv_some(conn, out.data() + start + got, n - got);
    if (k <= 0) return false;
    got += static_cast<size_t>(k);
  }
  return true;
}

bool test_peer::send_plan(int conn, const reply_plan& p) {
  const std::string& bytes = p.shared ? *p.shared : p.bytes;
  size_t at = 0;
  for (size_t c : p.chunks) {
    size_t n = std::min(c, bytes.size() - at);
    if (n > 0 && !plat::send_all(conn, bytes.data() + at, n)) return false;
    at += n;
    // A pause so that the client sees each chunk in a separate read.
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
  }
  if (at < bytes.size() && !plat::send_all(conn, bytes.data() + at, bytes.size() - at)) return false;
  if (p.produce) {
    std::vector<char> buffer(1u << 20);
    for (size_t n; (n = p.produce(buffer.data(), buffer.size())) > 0;)
      if (!plat::send_all(conn, buffer.data(), n)) return false;
  }
  if (p.reset_after) {
    // A zero linger time makes the close send a reset instead of an orderly end.
    linger l{1, 0};
    setsockopt(conn, SOL_SOCKET, SO_LINGER, &l, sizeof l);
  }
  return !p.close_after;
}

namespace {
uint32_t read_u32(const std::string& s, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v * 256 + static_cast<unsigned char>(s[at + i]);
  return v;
}
}  // namespace

void test_peer::serve(int conn) {
  // Login: u32 body length, u32 user length, user, u32 password length, password.
  std::string frame;
  if (!read_exact(conn, frame, 4)) return;
  uint32_t body = read_u32(frame, 0);
  if (body > max_frame || !read_exact(conn, frame, body)) {
    record(frame);
    return;
  }
  record(frame);
  std::string_view user, password;
  if (body >= 4) {
    uint32_t u = read_u32(frame, 4);
    if (u <= body - 4) {
      user = std::string_view(frame).substr(8, u);
      if (body - 4 - u >= 4) {
        uint32_t pl = read_u32(frame, 8 + u);
        password = std::string_view(frame).substr(12 + u, std::min<size_t>(pl, body - 8 - u));
      }
    }
  }
  login_handler on_login;
  {
    std::lock_guard<std::mutex> g(mu_);
    on_login = login_;
  }
  if (!send_plan(conn, on_login(user, password))) return;

  for (;;) {
    frame.clear();
    if (!read_exact(conn, frame, 4)) return;
    uint32_t len = read_u32(frame, 0);
    if (len == 0xFFFFFFFFu) {  // logout; the client closes next
      record(frame);
      continue;
    }
    if (len > max_frame || !read_exact(conn, frame, len)) {
      record(frame);
      return;
    }
    record(frame);
    reply_plan p;
    bool queued = false;
    statement_handler on_statement;
    {
      std::lock_guard<std::mutex> g(mu_);
      if (!queue_.empty()) {
        p = std::move(queue_.front());
        queue_.pop_front();
        queued = true;
      } else {
        on_statement = handler_;
      }
    }
    if (!queued) p = on_statement(std::string_view(frame).substr(4));
    if (!send_plan(conn, p)) return;
  }
}

}  // namespace peer
