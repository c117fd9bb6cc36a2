// The non-deterministic random source that seeds the library's generators.
// Tests install their own source.
#pragma once

#include <cstdint>

namespace kk::platform {

class random_source {
 public:
  virtual ~random_source() = default;
  virtual uint32_t next_u32() = 0;
};

// The machine's random device.
random_source& system_random();
// The source the library reads: the machine's unless a random_override is alive.
random_source& current_random();

// Installs a source for its lifetime (not thread-safe; for tests).
class random_override {
 public:
  explicit random_override(random_source& r);
  ~random_override();
  random_override(const random_override&) = delete;
  random_override& operator=(const random_override&) = delete;

 private:
  random_source* previous_;
};

}  // namespace kk::platform
