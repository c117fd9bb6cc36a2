// The current local datetime and the random seed, from the platform's clock and random
// device (both replaceable for tests).
#pragma once

#include <cstdint>

#include "platform/clock.h"
#include "platform/random_device.h"
#include "value/val.h"

namespace kk {

// The local datetime of UTC `ticks` (100 ns since 1601-01-01) under the standard bias
// (UTC - local, minutes): 2001-01-01 advanced by the nanoseconds since then.
datetime_fields datetime_from_ticks(uint64_t ticks, int32_t bias_minutes);
datetime_fields datetime_now(const platform::clock& c);
datetime_fields datetime_now();  // current_clock()

// A uniform u64 in [lower, 2^64 - 1]: one 32-bit draw of the random source seeds a fresh
// MT19937-64, whose outputs are rejection-sampled (for lower 0, its first output).
uint64_t random_seed(uint64_t lower, platform::random_source& r);
uint64_t random_seed(uint64_t lower);  // current_random()

}  // namespace kk
