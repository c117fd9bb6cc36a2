#include "platform/random_device.h"

#include <random>

namespace kk::platform {

namespace {
class machine_random final : public random_source {
 public:
  uint32_t next_u32() override {
    // Opened per call: nothing global to construct at load time, and the device is
    // only read where a seed is wanted.
    std::random_device dev;
    return uint32_t(dev());
  }
};

machine_random machine;
random_source* installed = nullptr;
}  // namespace

random_source& system_random() { return machine; }

random_source& current_random() { return installed ? *installed : machine; }

random_override::random_override(random_source& r) : previous_(installed) { installed = &r; }

random_override::~random_override() { installed = previous_; }

}  // namespace kk::platform
