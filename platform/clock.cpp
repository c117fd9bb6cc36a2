#include "platform/clock.h"

#include <time.h>

#include "platform/time_zone.h"

namespace kk::platform {

namespace {
class machine_clock final : public clock {
 public:
  uint64_t utc_ticks() const override {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return unix_epoch_ticks + uint64_t(ts.tv_sec) * 10000000ull + uint64_t(ts.tv_nsec) / 100;
  }
  int32_t standard_bias_minutes() const override { return time_zone_standard_bias_minutes(); }
  local_date local_today() const override { return time_zone_local_date(std::time(nullptr)); }
};

constinit const machine_clock machine{};
constinit const clock* installed = nullptr;
}  // namespace

const clock& system_clock() { return machine; }

const clock& current_clock() { return installed ? *installed : machine; }

clock_override::clock_override(const clock& c) : previous_(installed) { installed = &c; }

clock_override::~clock_override() { installed = previous_; }

}  // namespace kk::platform
