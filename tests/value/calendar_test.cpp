#include "value/calendar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tables.h"

using namespace kk;

namespace {
// Days since 1970-01-01 in the proleptic Gregorian calendar, by era arithmetic unrelated to
// the tables under test.
int64_t civil_days(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = unsigned(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + int64_t(doe) - 719468;
}
int64_t reference_day(int64_t y, unsigned m, unsigned d) { return civil_days(y, m, d) - civil_days(0, 1, 1) + 1; }
unsigned reference_length(int64_t y, unsigned m) {
  return unsigned((m == 12 ? civil_days(y + 1, 1, 1) : civil_days(y, m + 1, 1)) - civil_days(y, m, 1));
}

datetime_fields date(uint16_t y, uint8_t m, uint8_t d) {
  datetime_fields f;
  f.year = y, f.month = m, f.day = d;
  return f;
}
datetime_fields dt(uint16_t y, uint8_t mo, uint8_t d, uint8_t h, uint8_t mi, uint8_t s, uint32_t ns) {
  return {y, mo, d, h, mi, s, ns};
}
std::string str(const adt::string::string& s) { return std::string(s.data, s.size); }
std::string dt_text(const datetime_fields& f) { return str(datetime_to_text(f)); }

void check_round_trip(uint16_t y, uint8_t m, uint8_t d) {
  const uint32_t n = date_to_days(y, m, d);
  ASSERT_EQ(int64_t(n), reference_day(y, m, d)) << y << "-" << int(m) << "-" << int(d);
  uint16_t yy = 0;
  uint8_t mm = 0, dd = 0;
  ASSERT_TRUE(days_to_civil(n, yy, mm, dd));
  ASSERT_EQ(yy, y);
  ASSERT_EQ(mm, m);
  ASSERT_EQ(dd, d) << y << "-" << int(m);
}
}  // namespace

class calendar : public ::testing::Test {
 protected:
  void SetUp() override { need_tables(); }
};

TEST_F(calendar, day_numbers_match_an_independent_computation_over_all_years) {
  // Every day of the first three cycles and of the last years; for every year in between,
  // the days around its month ends and its leap day.
  for (uint32_t y = 0; y <= 65535; ++y) {
    const bool full = y < 1201 || y > 65400;
    for (uint8_t m = 1; m <= 12; ++m) {
      const unsigned len = reference_length(y, m);
      ASSERT_EQ(days_in_month(uint16_t(y), m), len);
      if (full) {
        for (uint8_t d = 1; d <= len; ++d) check_round_trip(uint16_t(y), m, d);
      } else {
        check_round_trip(uint16_t(y), m, 1);
        check_round_trip(uint16_t(y), m, uint8_t(len));
      }
    }
  }
  EXPECT_EQ(max_day_number(), uint32_t(reference_day(65535, 12, 31)));
}

TEST_F(calendar, known_day_numbers_and_weekdays) {
  struct { uint16_t y; uint8_t m, d; uint32_t n; } known[] = {
      {0, 1, 1, 1}, {0, 12, 31, 366}, {1, 1, 1, 367}, {400, 1, 1, 146098}, {399, 12, 31, 146097},
  };
  for (auto& k : known) EXPECT_EQ(date_to_days(k.y, k.m, k.d), k.n);
  // 0000-01-01 (day 1) was a Saturday, as was 2000-01-01: 400 years are whole weeks.
  auto weekday = [](uint16_t y, uint8_t m, uint8_t d) { return (date_to_days(y, m, d) + 5) % 7; };  // 0 Sunday
  struct { uint16_t y; uint8_t m, d; uint32_t wd; } days[] = {
      {1970, 1, 1, 4}, {2000, 1, 1, 6}, {1900, 1, 1, 1}, {2001, 9, 11, 2}, {2024, 2, 29, 4}, {1600, 1, 1, 6},
  };
  for (auto& w : days) EXPECT_EQ(weekday(w.y, w.m, w.d), w.wd) << w.y << "-" << int(w.m) << "-" << int(w.d);

  uint16_t y;
  uint8_t m, d;
  ASSERT_TRUE(days_to_civil(366, y, m, d));
  EXPECT_EQ(y, 0); EXPECT_EQ(m, 12); EXPECT_EQ(d, 31);
  ASSERT_TRUE(days_to_civil(146097, y, m, d));
  EXPECT_EQ(y, 399); EXPECT_EQ(m, 12); EXPECT_EQ(d, 31);
}

TEST_F(calendar, invalid_dates_and_the_calendar_ends_are_refused) {
  // Month and day as they may arrive from the wire.
  EXPECT_EQ(date_to_days(2024, 0, 10), 0u);
  EXPECT_EQ(date_to_days(2024, 13, 1), 0u);
  EXPECT_EQ(date_to_days(2024, 255, 1), 0u);
  EXPECT_EQ(date_to_days(2024, 2, 30), 0u);
  EXPECT_EQ(date_to_days(2024, 1, 0), 0u);
  uint16_t y = 7;
  uint8_t m = 7, d = 7;
  EXPECT_FALSE(days_to_civil(0, y, m, d));
  EXPECT_FALSE(days_to_civil(max_day_number() + 1, y, m, d));
  EXPECT_FALSE(days_to_civil(0xFFFFFFFFu, y, m, d));
  EXPECT_EQ(y, 7);

  datetime_fields f = date(65535, 12, 31);
  EXPECT_FALSE(date_add_days(f, 1));  // would wrap the 16-bit year
  EXPECT_EQ(f.year, 65535);
  f = date(0, 1, 1);
  EXPECT_FALSE(date_add_days(f, 0xFFFFFFFFu));  // before day 1
  EXPECT_EQ(f.year, 0);
  f = date(2024, 1, 1);
  EXPECT_FALSE(date_add_days(f, 0x80000000u));  // far past 65535
  EXPECT_EQ(f.year, 2024);
  f = date(2024, 0, 0);
  EXPECT_FALSE(date_add_days(f, 1));
  EXPECT_TRUE(date_add_days(f, 0));  // nothing to do
}

TEST_F(calendar, adding_days) {
  struct { datetime_fields from; uint32_t add; const char* to; } cases[] = {
      {date(2024, 2, 28), 1, "2024-02-29"}, {date(2024, 2, 28), 2, "2024-03-01"},
      {date(2100, 2, 28), 1, "2100-03-01"}, {date(2000, 2, 28), 1, "2000-02-29"},
      {date(2023, 12, 31), 1, "2024-01-01"}, {date(0, 1, 1), 365, "0000-12-31"},
      {date(65535, 12, 30), 1, "65535-12-31"}, {date(1999, 12, 31), 146097, "2399-12-31"},
      // The day number wraps modulo 2^32: a count made from -1 or -366 moves back.
      {date(2024, 1, 1), 0xFFFFFFFFu, "2023-12-31"}, {date(2024, 3, 1), 0u - 366u, "2023-03-01"},
  };
  for (auto& c : cases) {
    datetime_fields f = c.from;
    ASSERT_TRUE(date_add_days(f, c.add));
    EXPECT_EQ(str(date_to_text(f)), c.to);
  }
}

TEST_F(calendar, adding_nanoseconds_to_datetimes_and_times) {
  struct { datetime_fields from; uint64_t add; const char* to; } cases[] = {
      {dt(2023, 12, 31, 23, 59, 59, 999999999), 1, "2024-01-01 00:00:00"},
      {dt(2024, 5, 9, 12, 0, 59, 0), 2000000000, "2024-05-09 12:01:01"},
      {dt(2024, 5, 9, 12, 0, 0, 500000000), 500000000, "2024-05-09 12:00:01"},
      {dt(2024, 5, 9, 12, 0, 0, 0), 250, "2024-05-09 12:00:00.00000025"},
      {dt(2024, 2, 28, 12, 0, 0, 0), 2 * ns_per_day, "2024-03-01 12:00:00"},
      // A time has no date: it wraps past midnight and its date fields stay zero.
      {dt(0, 0, 0, 23, 0, 0, 0), 2 * 3600 * ns_per_second, "0000-00-00 01:00:00"},
      {dt(0, 0, 0, 0, 0, 0, 0), ~0ull, "0000-00-00 23:34:33.709551615"},
      // The largest count: no wrap of the 64-bit sum.
      {dt(2024, 1, 1, 23, 59, 59, 999999999), ~0ull, "2608-07-22 23:34:33.709551614"},
  };
  for (auto& c : cases) {
    datetime_fields f = c.from;
    ASSERT_TRUE(datetime_add_nanoseconds(f, c.add)) << c.to;
    EXPECT_EQ(dt_text(f), c.to);
  }
  datetime_fields end = dt(65535, 12, 31, 23, 0, 0, 0);
  EXPECT_FALSE(datetime_add_nanoseconds(end, 3600 * ns_per_second));
  EXPECT_EQ(dt_text(end), "65535-12-31 23:00:00");
  datetime_fields bad = dt(2024, 13, 1, 23, 0, 0, 0);
  EXPECT_FALSE(datetime_add_nanoseconds(bad, 3600 * ns_per_second));
}

TEST_F(calendar, date_and_time_parse) {
  struct { const char* text; bool ok; } dates[] = {
      {"2024-02-29", true},  {"2023-02-29", false}, {"2024-13-01", false}, {"2024-00-10", false},
      {"2024-1-01", false},  {"2024-01-0", false},  {"", false},           {"2024-02-29 and more", true},
      {"2024/02/29", false}, {"0000-02-29", true},  {"2024-04-31", false},
  };
  for (auto& c : dates) {
    datetime_fields f;
    EXPECT_EQ(date_parse(f, c.text, std::char_traits<char>::length(c.text)), c.ok) << c.text;
  }
  // Bounded by the length, not a terminator: a 10-byte date inside a longer buffer.
  datetime_fields f;
  EXPECT_FALSE(date_parse(f, "2024-02-29", 9));

  struct { const char* text; bool ok; uint32_t ns; } times[] = {
      {"23:59:59", true, 77},          {"23:59:60", false, 77},        {"24:00:00", false, 77},
      {"08:15:43.25", true, 250000000}, {"08:15:43.", true, 0},         {"08:15:43.5", true, 500000000},
      {"08:15:43.000000001", true, 1}, {"08:15:43.1234567891234", true, 123456789},
      {"08:15:43.99999999999", true, 999999999}, {"8:15:43", false, 77}, {"08:15", false, 77},
  };
  for (auto& c : times) {
    datetime_fields t;
    t.nanosecond = 77;
    EXPECT_EQ(time_parse(t, c.text, std::char_traits<char>::length(c.text)), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(t.nanosecond, c.ns) << c.text;
    }
  }

  datetime_fields d;
  EXPECT_TRUE(datetime_parse(d, "2024-05-09T08:15:43.25", 22));
  EXPECT_EQ(dt_text(d), "2024-05-09 08:15:43.25");
  EXPECT_FALSE(datetime_parse(d, "2024-05-09", 10));
  EXPECT_FALSE(datetime_parse(d, "2024-05-09 08:15", 16));
}

TEST_F(calendar, texts) {
  EXPECT_EQ(str(date_to_text(date(7, 1, 2))), "0007-01-02");
  EXPECT_EQ(str(date_to_text(date(12345, 12, 31))), "12345-12-31");
  EXPECT_EQ(str(time_to_text(dt(0, 0, 0, 8, 5, 0, 0))), "08:05:00");
  EXPECT_EQ(str(time_to_text(dt(0, 0, 0, 8, 5, 0, 120000000))), "08:05:00.12");
  EXPECT_EQ(str(time_to_text(dt(0, 0, 0, 8, 5, 0, 1))), "08:05:00.000000001");
  EXPECT_EQ(dt_text(dt(2024, 5, 9, 8, 15, 43, 500000000)), "2024-05-09 08:15:43.5");
  // Out-of-range fields off the wire still print within the buffer.
  EXPECT_EQ(dt_text(dt(65535, 255, 255, 255, 255, 255, 0xFFFFFFFFu)), "65535-255-255 255:255:255.4294967295");
}

TEST(calendar_tables, day_of_year_fill_stays_inside_its_tables) {
  // Month starts in a block of exactly 12 entries and guard cells around the table: the
  // fill must read no 13th month start (the sanitizer build sees a heap over-read) and
  // write exactly 365 / 366 entries.
  for (int leap = 0; leap < 2; ++leap) {
    const uint32_t days = leap ? 366 : 365;
    std::vector<uint16_t> starts(month_start_days[leap], month_start_days[leap] + 12);
    std::vector<month_day> buf(days + 2, month_day{99, 99});
    day_of_year_fill(buf.data() + 1, days, starts.data());
    EXPECT_EQ(buf[0].month, 99);
    EXPECT_EQ(buf[days + 1].month, 99);
    for (uint32_t d = 1; d <= days; ++d) {
      const month_day e = buf[d];
      ASSERT_GE(e.month, 1);
      ASSERT_LE(e.month, 12);
      ASSERT_EQ(month_start_days[leap][e.month - 1] + e.day, d) << d;
      ASSERT_LE(e.day, month_length_days[leap][e.month]);
    }
    EXPECT_EQ(buf[days].month, 12);
    EXPECT_EQ(buf[days].day, 31);
  }
}
