#pragma once
// Storage of a start-up product: built by the start-up sequence (build), released by it
// at exit (release), and built on first use where no sequence ran (a test program).
//
// Constant-initialised and trivially destructible, so it is valid before any constructor
// runs and no exit-time destructor frees it behind the sequence's back.
#include <atomic>
#include <mutex>

namespace kk::grammar {

template <class T>
class startup_product {
 public:
  constexpr startup_product() noexcept = default;

  const T& get() {
    T* p = ptr_.load(std::memory_order_acquire);
    return p ? *p : build();
  }
  const T& build() {
    std::lock_guard<std::mutex> lock(mutex_);
    T* p = ptr_.load(std::memory_order_relaxed);
    if (!p) {
      p = new T();
      ptr_.store(p, std::memory_order_release);
    }
    return *p;
  }
  void release() noexcept {
    std::lock_guard<std::mutex> lock(mutex_);
    delete ptr_.exchange(nullptr, std::memory_order_acq_rel);
  }
  bool built() const noexcept { return ptr_.load(std::memory_order_acquire) != nullptr; }

 private:
  std::atomic<T*> ptr_{nullptr};
  std::mutex mutex_;
};

}  // namespace kk::grammar
