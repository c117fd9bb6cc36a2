// Waits of tests against servers that hold replies back: a gate a server's thread waits at
// until the test opens it, and a watchdog that turns a hang into a failure.
#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace ruv::test {

// A reply held back by the server's thread until released (30 s at most: a test that
// forgets to release fails instead of hanging).
struct hold {
  std::mutex m;
  std::condition_variable cv;
  bool open = false;
  bool entered = false;
  void wait() {
    std::unique_lock lk(m);
    entered = true;
    cv.wait_for(lk, std::chrono::seconds(30), [&] { return open; });
  }
  void release() {
    {
      std::lock_guard lk(m);
      open = true;
    }
    cv.notify_all();
  }
  bool was_entered() {
    std::lock_guard lk(m);
    return entered;
  }
};

// Ends the test program (exit code 3) when what it guards has not ended within its time:
// a wait nobody ends fails instead of blocking ctest.
class watchdog {
 public:
  explicit watchdog(const char* name, int seconds = 90)
      : thread_([this, name, seconds] {
          std::unique_lock lk(mu_);
          if (!cv_.wait_for(lk, std::chrono::seconds(seconds), [this] { return done_; })) {
            std::fprintf(stderr, "watchdog: %s hung for %d s\n", name, seconds);
            std::_Exit(3);
          }
        }) {}
  ~watchdog() {
    {
      std::lock_guard lk(mu_);
      done_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }
  watchdog(const watchdog&) = delete;
  watchdog& operator=(const watchdog&) = delete;

 private:
  std::mutex mu_;
  std::condition_variable cv_;
  bool done_ = false;
  std::thread thread_;
};

}  // namespace ruv::test
