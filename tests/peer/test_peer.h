// A scripted server for tests: listens on 127.0.0.1, serves one connection at a time on its
// own thread, answers the login and each statement as scripted, and records every frame it
// receives byte for byte.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tests/peer/peer_wire.h"

namespace peer {

// What to send for one request.
struct reply_plan {
  std::string bytes;
  std::vector<size_t> chunks;  // sizes of the first writes, each a separate read; rest at once
  bool close_after = false;    // close the connection after sending (bytes may be cut short)
  bool reset_after = false;    // then abort it: the client's next read fails with ECONNRESET
  // When set, sent in place of bytes: one buffer for many replies, never copied per request.
  std::shared_ptr<const std::string> shared = nullptr;
  // When set, the rest of the reply, sent after the bytes: each call writes the next bytes
  // into a buffer of n >= 65546 bytes and returns how many, 0 at the end.
  std::function<size_t(char* p, size_t n)> produce = nullptr;
};
inline reply_plan send(std::string bytes) { return {std::move(bytes), {}, false}; }
inline reply_plan send_shared(std::shared_ptr<const std::string> bytes) {
  reply_plan p;
  p.shared = std::move(bytes);
  return p;
}
inline reply_plan send_split(std::string bytes, std::vector<size_t> chunks) {
  return {std::move(bytes), std::move(chunks), false};
}
inline reply_plan send_and_close(std::string bytes) { return {std::move(bytes), {}, true}; }
inline reply_plan send_and_reset(std::string bytes) { return {std::move(bytes), {}, true, true}; }
// The accepted login: n = 1, status OK.
inline std::string login_ok() { return reply_frame(status_ok, {}); }

class test_peer {
 public:
  using login_handler = std::function<reply_plan(std::string_view user, std::string_view password)>;
  using statement_handler = std::function<reply_plan(std::string_view statement)>;

  // port 0: an ephemeral port.
  explicit test_peer(uint16_t port = 0);
  ~test_peer();
  test_peer(const test_peer&) = delete;
  test_peer& operator=(const test_peer&) = delete;

  uint16_t port() const { return port_; }
  bool listening() const { return listener_ >= 0; }

  void set_login_reply(reply_plan p);  // for every later login (default: accepted)
  void set_login_handler(login_handler h);
  void push_reply(reply_plan p);  // the reply to the next statement; queued in order
  void set_handler(statement_handler h);  // statements when the queue is empty (default: FAIL)

  std::vector<std::string> frames() const;  // every frame received, in order
  bool wait_frames(size_t n, int timeout_ms = 5000) const;
  size_t connections() const;
  // Closes the listening socket: later connects are refused.
  void refuse_connections();

 private:
  void run();
  void serve(int conn);
  bool read_exact(int conn, std::string& out, size_t n);
  bool send_plan(int conn, const reply_plan& p);
  void record(std::string frame);

  int listener_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<bool> refuse_{false};
  mutable std::mutex mu_;
  mutable std::condition_variable cv_;
  std::vector<std::string> frames_;
  std::deque<reply_plan> queue_;
  login_handler login_;
  statement_handler handler_;
  size_t connections_ = 0;
  bool listener_closed_ = false;
  std::thread thread_;
};

}  // namespace peer
