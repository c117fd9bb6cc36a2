// The wall clock the library reads: UTC as 100 ns ticks since 1601-01-01, the local zone's
// standard bias, and the local calendar date. Tests install their own clock.
#pragma once

#include <cstdint>

namespace kk::platform {

struct local_date {
  int32_t year;
  int32_t month;  // 1..12
  int32_t day;    // 1..31
};

class clock {
 public:
  virtual ~clock() = default;
  // Current UTC time as 100-nanosecond ticks since 1601-01-01 00:00:00.
  virtual uint64_t utc_ticks() const = 0;
  // UTC minus local standard time, in minutes; daylight saving is not applied.
  virtual int32_t standard_bias_minutes() const = 0;
  // Today's date in local time (daylight saving applied, as the C library's local time).
  virtual local_date local_today() const = 0;
};

// The machine's clock.
const clock& system_clock();
// The clock the library reads: the machine's unless a clock_override is alive.
const clock& current_clock();

// Installs a clock for its lifetime (not thread-safe; for tests).
class clock_override {
 public:
  explicit clock_override(const clock& c);
  ~clock_override();
  clock_override(const clock_override&) = delete;
  clock_override& operator=(const clock_override&) = delete;

 private:
  const clock* previous_;
};

// Ticks between 1601-01-01 and 1970-01-01.
inline constexpr uint64_t unix_epoch_ticks = 116444736000000000ull;

}  // namespace kk::platform
