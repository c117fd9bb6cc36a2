#pragma once
// A fake update server on 127.0.0.1 for the update check's tests: serves one connection at a
// time on its own thread, records each 20-byte request, and answers as told.
#include <poll.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/socket.h"

namespace fake {

struct answer {
  answer(std::string b, std::vector<std::size_t> s = {}, bool quiet = false)
      : bytes(std::move(b)), split(std::move(s)), silent(quiet) {}
  std::string bytes;               // what to send after the request
  std::vector<std::size_t> split;  // sizes of the first pieces, each sent after a pause
  bool silent = false;             // send nothing and keep the connection open until stopped
};

inline std::string le32(std::uint32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
  return s;
}
inline std::string reply(std::uint32_t code, std::uint32_t major, std::uint32_t minor, std::uint32_t patch) {
  return le32(code) + le32(major) + le32(minor) + le32(patch) + le32(0);
}

class update_server {
 public:
  explicit update_server(answer a) : answer_(std::move(a)) {
    listener_ = kk::platform::listen_loopback(&port_, 4);
    thread_ = std::thread([this] { run(); });
  }
  ~update_server() {
    stop_ = true;
    thread_.join();
    kk::platform::close_socket(listener_);
  }
  std::uint16_t port() const { return port_; }
  std::vector<std::string> requests() const {
    std::lock_guard<std::mutex> g(mu_);
    return requests_;
  }

 private:
  bool wait(int fd, int ms) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, ms) > 0;
  }
  void run() {
    while (!stop_) {
      if (!wait(listener_, 20)) continue;
      const int c = kk::platform::accept_connection(listener_);
      if (c < 0) continue;
      std::string req;
      char buf[64];
      while (req.size() < 20 && !stop_) {
        if (!wait(c, 20)) continue;
        const auto n = kk::platform::recv_some(c, buf, sizeof buf);
        if (n <= 0) break;
        req.append(buf, static_cast<std::size_t>(n));
      }
      {
        std::lock_guard<std::mutex> g(mu_);
        requests_.push_back(req);
      }
      if (answer_.silent) {
        while (!stop_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
      } else {
        std::size_t at = 0;
        for (std::size_t piece : answer_.split) {
          kk::platform::send_all(c, answer_.bytes.data() + at, piece);
          at += piece;
          std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (at < answer_.bytes.size()) kk::platform::send_all(c, answer_.bytes.data() + at, answer_.bytes.size() - at);
      }
      kk::platform::close_socket(c);
    }
  }

  answer answer_;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mu_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace fake
