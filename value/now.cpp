#include "value/now.h"

#include <random>

#include "value/calendar.h"

namespace kk {

datetime_fields datetime_from_ticks(uint64_t ticks, int32_t bias_minutes) {
  // Wrapping 64-bit arithmetic throughout: a clock before 2001 gives no meaningful date.
  const uint64_t local = ticks - uint64_t(int64_t(bias_minutes)) * 600000000ull;
  const uint64_t ns = local * 100 - uint64_t(days_per_400_years) * ns_per_day;
  datetime_fields f;
  f.year = 2001;
  f.month = 1;
  f.day = 1;
  datetime_add_nanoseconds(f, ns);
  return f;
}

datetime_fields datetime_now(const platform::clock& c) {
  return datetime_from_ticks(c.utc_ticks(), c.standard_bias_minutes());
}

datetime_fields datetime_now() { return datetime_now(platform::current_clock()); }

uint64_t random_seed(uint64_t lower, platform::random_source& r) {
  std::mt19937_64 engine(r.next_u32());
  if (lower == 0) return engine();
  const uint64_t span = uint64_t(0) - lower;  // values in the range: 2^64 - lower
  // Outputs below 2^64 mod span would make the low residues more likely.
  const uint64_t reject_below = (uint64_t(0) - span) % span;
  uint64_t x;
  do x = engine();
  while (x < reject_below);
  return lower + x % span;
}

uint64_t random_seed(uint64_t lower) { return random_seed(lower, platform::current_random()); }

}  // namespace kk
