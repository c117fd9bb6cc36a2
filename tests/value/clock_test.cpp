#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <random>
#include <string>

#include "platform/clock.h"
#include "platform/random_device.h"
#include "platform/time_zone.h"
#include "tables.h"
#include "value/calendar.h"
#include "value/now.h"

using namespace kk;

namespace {
class fixed_clock final : public platform::clock {
 public:
  fixed_clock(uint64_t ticks, int32_t bias) : ticks_(ticks), bias_(bias) {}
  uint64_t utc_ticks() const override { return ticks_; }
  int32_t standard_bias_minutes() const override { return bias_; }
  platform::local_date local_today() const override { return {2020, 2, 2}; }

 private:
  uint64_t ticks_;
  int32_t bias_;
};

class fixed_random final : public platform::random_source {
 public:
  explicit fixed_random(uint32_t v) : v_(v) {}
  uint32_t next_u32() override { return v_; }

 private:
  uint32_t v_;
};

// Ticks of a UTC time, through the C library's UTC conversion (no zone involved).
uint64_t ticks_of(int y, int mo, int d, int h, int mi, int s, uint32_t hundred_ns) {
  std::tm t{};
  t.tm_year = y - 1900;
  t.tm_mon = mo - 1;
  t.tm_mday = d;
  t.tm_hour = h;
  t.tm_min = mi;
  t.tm_sec = s;
  return platform::unix_epoch_ticks + uint64_t(timegm(&t)) * 10000000ull + hundred_ns;
}

std::string text(const datetime_fields& f) {
  const auto s = datetime_to_text(f);
  return std::string(s.data, s.size);
}

// Sets TZ for one scope and restores the previous setting.
class tz_scope {
 public:
  explicit tz_scope(const char* tz) {
    const char* old = std::getenv("TZ");
    had_ = old != nullptr;
    if (had_) old_ = old;
    setenv("TZ", tz, 1);
    tzset();
  }
  ~tz_scope() {
    if (had_) setenv("TZ", old_.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }

 private:
  bool had_;
  std::string old_;
};
}  // namespace

class clocks : public ::testing::Test {
 protected:
  void SetUp() override { need_tables(); }
};

TEST_F(clocks, current_datetime_for_given_ticks_and_biases) {
  struct { uint64_t ticks; int32_t bias; const char* local; } cases[] = {
      {ticks_of(2024, 5, 9, 8, 15, 43, 2500000), 0, "2024-05-09 08:15:43.25"},
      {ticks_of(2024, 5, 9, 8, 15, 43, 2500000), -60, "2024-05-09 09:15:43.25"},   // Central Europe
      {ticks_of(2024, 5, 9, 8, 15, 43, 2500000), 300, "2024-05-09 03:15:43.25"},   // US East, standard
      {ticks_of(2024, 5, 9, 8, 15, 43, 2500000), -570, "2024-05-09 17:45:43.25"},  // half-hour zone
      {ticks_of(2023, 12, 31, 23, 30, 0, 0), -60, "2024-01-01 00:30:00"},
      {ticks_of(2024, 3, 1, 2, 0, 0, 1), 180, "2024-02-29 23:00:00.0000001"},
      {ticks_of(2001, 1, 1, 0, 0, 0, 0), 0, "2001-01-01 00:00:00"},
      {ticks_of(2100, 2, 28, 23, 59, 59, 9999999), 0, "2100-02-28 23:59:59.9999999"},
  };
  for (auto& c : cases) {
    EXPECT_EQ(text(datetime_from_ticks(c.ticks, c.bias)), c.local) << c.bias;
    fixed_clock fake(c.ticks, c.bias);
    EXPECT_EQ(text(datetime_now(fake)), c.local);
    platform::clock_override use(fake);
    EXPECT_EQ(text(datetime_now()), c.local);
  }
}

TEST_F(clocks, machine_clock_reads_the_real_time) {
  const uint64_t before = platform::unix_epoch_ticks + uint64_t(std::time(nullptr)) * 10000000ull;
  const uint64_t now = platform::system_clock().utc_ticks();
  EXPECT_GE(now + 10000000ull, before);
  EXPECT_LE(now, before + 50000000ull);
  EXPECT_GE(datetime_now(platform::system_clock()).year, 2024);
}

TEST(time_zone, standard_bias_ignores_daylight_saving) {
  struct { const char* tz; int32_t bias; } zones[] = {
      {"UTC0", 0},
      {"CET-1CEST,M3.5.0,M10.5.0/3", -60},
      {"EST5EDT,M3.2.0,M11.1.0", 300},
      {"IST-5:30", -330},
  };
  for (auto& z : zones) {
    tz_scope scope(z.tz);
    EXPECT_EQ(platform::time_zone_standard_bias_minutes(), z.bias) << z.tz;
    EXPECT_EQ(platform::system_clock().standard_bias_minutes(), z.bias) << z.tz;
  }
}

TEST(time_zone, local_date_follows_the_zone) {
  const std::time_t t = std::time_t((ticks_of(2024, 5, 9, 20, 0, 0, 0) - platform::unix_epoch_ticks) / 10000000ull);
  {
    tz_scope scope("UTC0");
    const platform::local_date d = platform::time_zone_local_date(t);
    EXPECT_EQ(d.year, 2024); EXPECT_EQ(d.month, 5); EXPECT_EQ(d.day, 9);
  }
  {
    tz_scope scope("JST-9");
    const platform::local_date d = platform::time_zone_local_date(t);
    EXPECT_EQ(d.day, 10);
  }
}

TEST(random_seed, seeded_engine_and_lower_bound) {
  fixed_random r(5489);
  // MT19937-64 seeded with 5489: its first output.
  EXPECT_EQ(random_seed(0, r), 14514284786278117030ull);
  EXPECT_EQ(random_seed(~0ull, r), ~0ull);
  for (uint32_t seed = 1; seed < 200; ++seed) {
    fixed_random s(seed);
    std::mt19937_64 ref(seed);
    EXPECT_EQ(random_seed(0, s), ref());
    const uint64_t lower = ~0ull - 9;
    const uint64_t x = random_seed(lower, s);
    EXPECT_GE(x, lower);
    const uint64_t half = 1ull << 63;
    EXPECT_GE(random_seed(half, s), half);
  }
  // The installed source is the one read.
  fixed_random t(42);
  platform::random_override use(t);
  std::mt19937_64 ref(42);
  EXPECT_EQ(random_seed(0), ref());
}
