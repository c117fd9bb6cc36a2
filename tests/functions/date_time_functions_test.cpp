#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "contract_test.h"
#include "date_time_text.h"
#include "functions/date_time_functions.h"
#include "platform/clock.h"
#include "value/calendar.h"
#include "value/startup_tables.h"

namespace kk::functions::test {
namespace {

// days_to_civil reads the day-of-year tables; every test of this program may reach it.
class calendar_tables : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!startup_tables_ready()) startup_tables_init();
  }
};
[[maybe_unused]] const auto* const tables_env =
    ::testing::AddGlobalTestEnvironment(new calendar_tables);

std::string msg(const char* name) { return std::string("unsupport type in function ") + name + "\n"; }

constexpr kind_set kinds_d = kind_text | kind_date_only | kind_datetime_only;
constexpr kind_set kinds_t = kind_text | kind_time_only | kind_datetime_only;

std::vector<contract_case> date_time_cases() {
  std::vector<contract_case> cases;
  for (const char* name : {"now", "date", "time"})
    cases.push_back({name, 0, {}, "", 0, false, result_shape::appended, {}});
  const std::vector<val> dates = {vdate(2024, 5, 9), vtxt("2023-02-10"), vdate(2000, 2, 29)};
  const std::vector<val> times = {vtime(10, 0, 0), vtxt("08:15:43.25"), vtime(23, 59, 59, 999999999)};
  const std::vector<val> datetimes = {vdt(2024, 5, 9, 8, 15, 43, 5), vtxt("2024-05-09 08:15:43.5"),
                                      vdt(0, 1, 1, 0, 0, 0)};
  struct {
    const char* name;
    const char* printed;
  } d_functions[] = {{"is_leap", "is_leap"}, {"last_day", "last_day"}, {"year_of", "year_of"},
                     {"month_of", "mouth_of"}, {"day_of", "day_of"}, {"weekday", "weekday"},
                     {"weekday_name", "weekday_name"}, {"weekday_cname", "weekday_cname"}};
  for (const auto& f : d_functions)
    cases.push_back({f.name, 1, {kinds_d}, msg(f.printed), 1, false, result_shape::one_arg_scalar, {dates}});
  for (const char* name : {"hour_of", "minute_of", "second_of", "nanosec_of"})
    cases.push_back({name, 1, {kinds_t}, msg(name), 1, false, result_shape::one_arg_scalar, {times}});
  for (const char* name : {"date_of", "time_of"})
    cases.push_back({name, 1, {kind_text | kind_datetime_only}, msg(name), 1, false,
                     result_shape::one_arg_scalar, {datetimes}});
  for (const char* name : {"add_day", "sub_day"})
    cases.push_back({name, 2, {kinds_d, kind_integer}, msg(name), 2, false, result_shape::many_arg_scalar,
                     {dates, {vi32(-5)}}});
  for (const char* name : {"add_nanosec", "sub_nanosec"})
    cases.push_back({name, 2, {kinds_t, kind_integer}, msg(name), 2, false, result_shape::many_arg_scalar,
                     {times, {vu64(1500000000)}}});
  // The second first value must be of the first one's kind: with dates against a date,
  // only a date passes in either place.
  cases.push_back({"day_diff", 2, {kind_date_only, kind_date_only}, msg("day_diff"), 2, false,
                   result_shape::many_arg_scalar, {dates, {vdate(2020, 1, 1)}}});
  cases.push_back({"nanosec_diff", 2, {kind_time_only, kind_time_only}, msg("nanosec_diff"), 2, false,
                   result_shape::many_arg_scalar, {times, {vtime(12, 0, 0)}}});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(date_time, function_contract, ::testing::ValuesIn(date_time_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Runs a function that must succeed without a message.
column run(const char* name, std::vector<column> args) {
  column r;
  call_outcome out = call(name, r, args);
  EXPECT_TRUE(out.ok) << name;
  EXPECT_EQ(out.printed, "") << name;
  return r;
}

void expect_cells(const column& r, const std::vector<val>& expected, const std::string& what) {
  ASSERT_EQ(r.values.size, expected.size()) << what;
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_TRUE(same(r.values[i], expected[i]))
        << what << " row " << i << ": " << text_of(r.values[i]) << ", expected " << text_of(expected[i]);
}

struct example {
  const char* name;
  std::vector<std::vector<val>> args;
  std::vector<val> expected;
};

TEST(date_time_functions, worked_examples) {
  const example cases[] = {
      {"year_of", {{vtxt("2024-05-09")}}, {vu16(2024)}},
      {"month_of", {{vtxt("2024-05-09")}}, {vu08(5)}},
      {"day_of", {{vdt(2024, 5, 9, 8, 15, 43)}}, {vu08(9)}},
      {"weekday", {{vdate(2001, 1, 1), vdate(2024, 5, 9), vtxt("2024-05-12")}}, {vu08(0), vu08(3), vu08(6)}},
      {"weekday_name", {{vdate(2024, 5, 9)}}, {vtxt("Thursday")}},
      {"weekday_cname", {{vdate(2024, 5, 9), vdate(2024, 5, 12)}}, {vtxt("星期四"), vtxt("星期日")}},
      {"is_leap", {{vdate(1900, 3, 1), vdate(2000, 3, 1), vdate(0, 6, 1), vtxt("2023-01-01")}},
       {vu08(0), vu08(1), vu08(1), vu08(0)}},
      {"last_day", {{vdate(2024, 2, 10), vdate(2023, 2, 10), vtxt("2023-12-01")}}, {vu08(29), vu08(28), vu08(31)}},
      {"add_day", {{vdate(2024, 2, 28)}, {vi32(1)}}, {vdate(2024, 2, 29)}},
      {"add_day", {{vdate(2024, 3, 1)}, {vi32(-1)}}, {vdate(2024, 2, 29)}},
      {"add_day", {{vdt(2024, 3, 1, 7, 8, 9, 10)}, {vu08(0)}}, {vdt(2024, 3, 1, 7, 8, 9, 10)}},
      {"add_day", {{vdt(2024, 12, 31, 23, 59, 59, 999999999)}, {vu16(1)}}, {vdt(2025, 1, 1, 23, 59, 59, 999999999)}},
      {"add_day", {{vdate(2024, 1, 1), vdate(2024, 2, 1), vtxt("2024-03-01")}, {vi08(3)}},
       {vdate(2024, 1, 4), vdate(2024, 2, 4), vdate(2024, 3, 4)}},
      // Later counts of other kinds go through the matrix to "u32": -2.0 wraps and moves back.
      {"add_day", {{vdate(2024, 3, 1), vdate(2024, 3, 1), vdate(2024, 3, 1)}, {vu08(1), vdbl(-2.0), vtxt("3")}},
       {vdate(2024, 3, 2), vdate(2024, 2, 28), vdate(2024, 3, 4)}},
      {"sub_day", {{vdate(2024, 3, 1), vdt(2024, 3, 1, 1, 2, 3)}, {vu32(1), vi64(-1)}},
       {vdate(2024, 2, 29), vdate(2024, 3, 2)}},  // read as dates: the first value is a date
      {"sub_day", {{vdt(2024, 3, 1, 1, 2, 3)}, {vu32(1)}}, {vdt(2024, 2, 29, 1, 2, 3)}},
      {"add_nanosec", {{vtime(23, 0, 0)}, {vu64(7200ull * 1000000000)}}, {vtime(25, 0, 0)}},
      {"add_nanosec", {{vtime(10, 0, 0)}, {vu08(1)}}, {vtime(10, 0, 0, 1)}},
      {"add_nanosec", {{vdt(2023, 12, 31, 23, 59, 59, 999999999)}, {vu08(1)}}, {vdt(2024, 1, 1, 0, 0, 0)}},
      {"add_nanosec", {{vtxt("12:00:59"), vtxt("12:00:59")}, {vu08(0), vtxt("2000000000")}},
       {vtime(12, 0, 59), vtime(12, 1, 1)}},
      {"sub_nanosec", {{vdt(2024, 3, 1, 0, 0, 0)}, {vu08(1)}}, {vdt(2024, 2, 29, 23, 59, 59, 999999999)}},
      {"sub_nanosec", {{vdt(2024, 3, 10, 12, 0, 0)}, {vu64(9 * 86400000000000ull + 13 * 3600000000000ull)}},
       {vdt(2024, 2, 29, 23, 0, 0)}},
      {"sub_nanosec", {{vtime(10, 0, 0, 5)}, {vu64(3600000000006ull)}}, {vtime(8, 59, 59, 999999999)}},
      {"day_diff", {{vdate(2024, 3, 1)}, {vdate(2024, 2, 1)}}, {vi32(29)}},
      {"day_diff", {{vdate(2024, 2, 1)}, {vdate(2024, 3, 1)}}, {vi32(-29)}},
      {"day_diff", {{vtxt("2024-03-01")}, {vtxt("2023-03-01")}}, {vi32(366)}},
      {"day_diff", {{vdt(2024, 1, 2, 0, 0, 0)}, {vdt(2024, 1, 1, 12, 0, 0)}}, {vi32(0)}},
      {"day_diff", {{vdt(2024, 1, 1, 12, 0, 0)}, {vdt(2024, 1, 2, 0, 0, 0)}}, {vi32(0)}},
      {"day_diff", {{vdt(2024, 1, 3, 0, 0, 0)}, {vdt(2024, 1, 1, 12, 0, 0)}}, {vi32(1)}},
      {"nanosec_diff", {{vdt(2024, 1, 2, 0, 0, 0)}, {vdt(2024, 1, 1, 0, 0, 0)}}, {vi64(86400000000000)}},
      {"nanosec_diff", {{vtime(8, 0, 0)}, {vtime(9, 30, 0, 1)}}, {vi64(-5400000000001)}},
      {"nanosec_diff", {{vtxt("00:00:01")}, {vtxt("00:00:00.5")}}, {vi64(500000000)}},
      {"hour_of", {{vtxt("08:15:43.25"), vdt(2024, 5, 9, 23, 1, 2)}}, {vu08(8), vu08(23)}},
      {"minute_of", {{vtime(8, 15, 43)}}, {vu08(15)}},
      {"second_of", {{vdt(2024, 5, 9, 8, 15, 43)}}, {vu08(43)}},
      {"nanosec_of", {{vtxt("08:15:43.25")}}, {vu32(250000000)}},
      {"date_of", {{vtxt("2024-05-09T08:15:43.25"), vdt(1, 2, 3, 4, 5, 6, 7)}}, {vdate(2024, 5, 9), vdate(1, 2, 3)}},
      {"time_of", {{vdt(1, 2, 3, 4, 5, 6, 7), vtxt("2024-05-09 08:15:43.25")}},
       {vtime(4, 5, 6, 7), vtime(8, 15, 43, 250000000)}},
      {"year_of", {{vtxt("not a date")}}, {vu16(0)}},    // an unparsable text reads as zeros
      {"date_of", {{vtxt("2024-05-09")}}, {vdate(0, 0, 0)}},  // a date alone is no datetime
  };
  for (const example& c : cases) {
    std::vector<column> args;
    for (const auto& a : c.args) args.push_back(col(a));
    expect_cells(run(c.name, args), c.expected, c.name);
  }
}

TEST(date_time_functions, day_diff_of_a_date_and_a_datetime_is_refused) {
  std::vector<column> args = {col({vdate(2024, 1, 1)}), col({vdt(2024, 1, 1, 0, 0, 0)})};
  column r;
  call_outcome out = call("day_diff", r, args);
  EXPECT_FALSE(out.ok);
  EXPECT_EQ(out.printed, "unsupport type in function day_diff\n");
  EXPECT_EQ(r.values.size, 0u);
}

// ---------------------------------------------------------------------------------------
// An independent proleptic Gregorian reference (days since 1970-01-01 by the era method),
// shifted so that 0000-01-01 is day 1.

constexpr int64_t ref_days(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = unsigned(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + int64_t(doe) - 719468 + 719529;
}

struct ymd {
  int64_t y;
  unsigned m, d;
};

constexpr ymd ref_civil(int64_t n) {
  const int64_t z = n - 719529 + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = unsigned(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {int64_t(yoe) + era * 400 + (m <= 2), m, d};
}

static_assert(ref_days(0, 1, 1) == 1 && ref_days(0, 12, 31) == 366 && ref_days(1, 1, 1) == 367 &&
              ref_days(400, 1, 1) == 146098);

constexpr int64_t ref_last = ref_days(65535, 12, 31);

unsigned ref_month_length(int64_t y, unsigned m) {
  return unsigned(m == 12 ? ref_days(y + 1, 1, 1) - ref_days(y, 12, 1) : ref_days(y, m + 1, 1) - ref_days(y, m, 1));
}

val ref_date(int64_t n) {
  if (n < 1 || n > ref_last) return vnull();
  const ymd c = ref_civil(n);
  return vdate(uint16_t(c.y), uint8_t(c.m), uint8_t(c.d));
}

// Random dates over the whole calendar, with the ends and the leap-rule cases among them.
std::vector<int64_t> sample_days(std::mt19937_64& g, size_t n) {
  std::vector<int64_t> days = {1,
                               ref_days(0, 2, 29),
                               ref_days(0, 3, 1),
                               ref_days(0, 12, 31),
                               ref_days(100, 2, 28),
                               ref_days(100, 3, 1),
                               ref_days(400, 2, 29),
                               ref_days(1900, 2, 28),
                               ref_days(2000, 2, 29),
                               ref_days(65535, 1, 1),
                               ref_last};
  std::uniform_int_distribution<int64_t> any(1, ref_last);
  while (days.size() < n) days.push_back(any(g));
  return days;
}

val cell_of_day(int64_t n) {
  const ymd c = ref_civil(n);
  return vdate(uint16_t(c.y), uint8_t(c.m), uint8_t(c.d));
}

TEST(date_time_functions, day_arithmetic_against_reference_over_the_whole_calendar) {
  std::mt19937_64 g(20240509);
  const std::vector<int64_t> days = sample_days(g, 20000);
  const std::vector<int64_t> others = sample_days(g, days.size());
  std::uniform_int_distribution<int32_t> near(-40000, 40000);
  std::uniform_int_distribution<int32_t> far(-int32_t(ref_last), int32_t(ref_last));

  std::vector<val> dates, counts, second, texts;
  std::vector<val> added, subtracted, diffs, weekdays, lasts, leaps;
  for (size_t i = 0; i < days.size(); ++i) {
    const int64_t n = days[i];
    const ymd c = ref_civil(n);
    ASSERT_EQ(ref_days(c.y, c.m, c.d), n);
    dates.push_back(cell_of_day(n));
    second.push_back(cell_of_day(others[i]));
    const int32_t k = i % 3 == 0 ? far(g) : near(g);
    counts.push_back(vi32(k));
    added.push_back(ref_date(n + k));
    subtracted.push_back(ref_date(n - k));
    diffs.push_back(vi32(int32_t(n - others[i])));
    // 1970-01-01 (reference day 719529) was a Thursday, number 3.
    weekdays.push_back(vu08(uint8_t(((n - 719529) % 7 + 7 + 3) % 7)));
    lasts.push_back(vu08(uint8_t(ref_month_length(c.y, c.m))));
    leaps.push_back(vu08(ref_days(c.y + 1, 1, 1) - ref_days(c.y, 1, 1) == 366 ? 1 : 0));
  }
  expect_cells(run("add_day", {col(dates), col(counts)}), added, "add_day");
  expect_cells(run("sub_day", {col(dates), col(counts)}), subtracted, "sub_day");
  expect_cells(run("day_diff", {col(dates), col(second)}), diffs, "day_diff");
  expect_cells(run("weekday", {col(dates)}), weekdays, "weekday");
  expect_cells(run("last_day", {col(dates)}), lasts, "last_day");
  expect_cells(run("is_leap", {col(dates)}), leaps, "is_leap");
}

// Random datetimes: their fields, their date and time parts, nanosecond steps and the
// differences, against the reference day numbers.
TEST(date_time_functions, datetime_parts_and_nanoseconds_against_reference) {
  std::mt19937_64 g(7);
  const std::vector<int64_t> days = sample_days(g, 5000);
  std::uniform_int_distribution<uint64_t> tod(0, 86400000000000ull - 1);
  std::uniform_int_distribution<int64_t> step(-3 * 86400000000000ll, 3 * 86400000000000ll);
  const __int128 day_ns = 86400000000000ll;

  std::vector<val> dts, steps, others, moved, back, ns_diffs, day_diffs;
  std::vector<val> years, months, mdays, hours, minutes, seconds, nanos, date_parts, time_parts;
  auto dt_of = [&](__int128 total) {
    const int64_t n = int64_t(total / day_ns);
    if (total < 0 || n < 1 || n > ref_last) return vnull();
    const ymd c = ref_civil(n);
    const uint64_t t = uint64_t(total % day_ns);
    const uint64_t s = t / 1000000000;
    return vdt(uint16_t(c.y), uint8_t(c.m), uint8_t(c.d), uint8_t(s / 3600), uint8_t(s % 3600 / 60), uint8_t(s % 60),
               uint32_t(t % 1000000000));
  };
  for (size_t i = 0; i < days.size(); ++i) {
    const uint64_t t = tod(g);
    const __int128 total = __int128(days[i]) * day_ns + t;
    const val v = dt_of(total);
    dts.push_back(v);
    const datetime_fields f = val_fields(v);
    years.push_back(vu16(f.year));
    months.push_back(vu08(f.month));
    mdays.push_back(vu08(f.day));
    hours.push_back(vu08(f.hour));
    minutes.push_back(vu08(f.minute));
    seconds.push_back(vu08(f.second));
    nanos.push_back(vu32(f.nanosecond));
    date_parts.push_back(vdate(f.year, f.month, f.day));
    time_parts.push_back(vtime(f.hour, f.minute, f.second, f.nanosecond));
    ASSERT_EQ(uint64_t(((f.hour * 60 + f.minute) * 60 + f.second)) * 1000000000 + f.nanosecond, t);

    const int64_t a = step(g);
    steps.push_back(vi64(a));
    moved.push_back(dt_of(total + a));
    back.push_back(dt_of(total - a));

    const int64_t other_day = days[(i * 7919 + 1) % days.size()];
    const __int128 other_total = __int128(other_day) * day_ns + tod(g);
    others.push_back(dt_of(other_total));
    const __int128 d = total - other_total;
    const bool fits = d >= INT64_MIN && d <= INT64_MAX;
    ns_diffs.push_back(fits ? vi64(int64_t(d)) : vnull());
    day_diffs.push_back(vi32(int32_t(d / day_ns)));
  }
  expect_cells(run("year_of", {col(dts)}), years, "year_of");
  expect_cells(run("month_of", {col(dts)}), months, "month_of");
  expect_cells(run("day_of", {col(dts)}), mdays, "day_of");
  expect_cells(run("hour_of", {col(dts)}), hours, "hour_of");
  expect_cells(run("minute_of", {col(dts)}), minutes, "minute_of");
  expect_cells(run("second_of", {col(dts)}), seconds, "second_of");
  expect_cells(run("nanosec_of", {col(dts)}), nanos, "nanosec_of");
  expect_cells(run("date_of", {col(dts)}), date_parts, "date_of");
  expect_cells(run("time_of", {col(dts)}), time_parts, "time_of");
  expect_cells(run("add_nanosec", {col(dts), col(steps)}), moved, "add_nanosec");
  expect_cells(run("sub_nanosec", {col(dts), col(steps)}), back, "sub_nanosec");
  expect_cells(run("nanosec_diff", {col(dts), col(others)}), ns_diffs, "nanosec_diff");
  expect_cells(run("day_diff", {col(dts), col(others)}), day_diffs, "day_diff");
}

// ---------------------------------------------------------------------------------------
// Rows whose date does not exist give null where the date enters a computation: an
// unparsable text (0000-00-00), and under a datetime column the bytes of another kind as
// they lie (an integer of all ones has month 255; the u32 0x1F0407E8 reads as 2024-04-31).

TEST(date_time_functions, dates_that_do_not_exist_give_null) {
  const val bad_text = vtxt("not a date");
  const example cases[] = {
      {"last_day", {{vtxt("2024-05-09"), bad_text}}, {vu08(31), vnull()}},
      {"weekday", {{vtxt("2024-05-09"), bad_text}}, {vu08(3), vnull()}},
      {"weekday_name", {{vtxt("2024-05-09"), bad_text}}, {vtxt("Thursday"), vnull()}},
      {"weekday_cname", {{vtxt("2024-05-09"), bad_text}}, {vtxt("星期四"), vnull()}},
      {"add_day", {{vtxt("2024-05-09"), bad_text}, {vu08(0)}}, {vdate(2024, 5, 9), vnull()}},
      {"sub_day", {{vtxt("2024-05-09"), bad_text}, {vu08(1)}}, {vdate(2024, 5, 8), vnull()}},
      {"day_diff", {{vtxt("2024-05-09"), bad_text}, {vtxt("2024-05-01")}}, {vi32(8), vnull()}},
      {"day_diff", {{vtxt("2024-05-09")}, {vtxt("2024-05-01"), bad_text}}, {vi32(8), vnull()}},
      // Kept as they are: the fields of such a row read as zeros, year 0 is a leap year.
      {"year_of", {{vtxt("2024-05-09"), bad_text}}, {vu16(2024), vu16(0)}},
      {"is_leap", {{vtxt("2023-05-09"), bad_text}}, {vu08(0), vu08(1)}},

      {"weekday", {{vdt(2024, 5, 9, 1, 0, 0), vu64(~0ull), vu32(0x1F0407E8)}}, {vu08(3), vnull(), vnull()}},
      {"last_day", {{vdt(2024, 5, 9, 1, 0, 0), vu64(~0ull), vu32(0x1F0407E8)}}, {vu08(31), vnull(), vnull()}},
      {"add_day",
       {{vdt(2024, 5, 9, 1, 0, 0), vu64(~0ull), vu32(0x1F0407E8)}, {vu08(1)}},
       {vdt(2024, 5, 10, 1, 0, 0), vnull(), vnull()}},
      {"add_nanosec",
       {{vdt(2024, 5, 9, 1, 0, 0), vu64(~0ull), vu32(0x1F0407E8)}, {vu08(1)}},
       {vdt(2024, 5, 9, 1, 0, 0, 1), vnull(), vnull()}},
      {"sub_nanosec", {{vdt(2024, 5, 9, 1, 0, 0), vu32(0x1F0407E8)}, {vu08(1)}},
       {vdt(2024, 5, 9, 0, 59, 59, 999999999), vnull()}},
      {"day_diff",
       {{vdt(2024, 5, 9, 1, 0, 0), vu64(~0ull)}, {vdt(2024, 5, 1, 1, 0, 0)}},
       {vi32(8), vnull()}},
      {"nanosec_diff",
       {{vdt(2024, 5, 9, 1, 0, 0), vu32(0x1F0407E8)}, {vdt(2024, 5, 9, 0, 0, 0)}},
       {vi64(3600000000000), vnull()}},
  };
  for (const example& c : cases) {
    std::vector<column> args;
    for (const auto& a : c.args) args.push_back(col(a));
    expect_cells(run(c.name, args), c.expected, c.name);
  }
}

// Differences are exact beyond 64-bit nanoseconds: day_diff over the whole calendar, and
// nanosec_diff up to the i64 limits (2262-04-11 23:47:16.854775807 and
// 1677-09-21 00:12:43.145224192 lie exactly 2^63 - 1 and -2^63 ns from 1970-01-01), null past them.
TEST(date_time_functions, differences_are_computed_in_128_bits) {
  const val epoch = vdt(1970, 1, 1, 0, 0, 0);
  const example cases[] = {
      {"day_diff", {{vdt(0, 1, 1, 0, 0, 0)}, {vdt(65535, 12, 31, 23, 59, 59, 999999999)}}, {vi32(-23936531)}},
      {"day_diff", {{vdt(65535, 12, 31, 0, 0, 0)}, {vdt(0, 1, 1, 0, 0, 0)}}, {vi32(23936531)}},
      {"day_diff", {{vdt(2024, 5, 9, 12, 0, 0)}, {vdt(1700, 5, 9, 12, 0, 1)}},
       {vi32(int32_t(ref_days(2024, 5, 9) - ref_days(1700, 5, 9) - 1))}},
      {"day_diff", {{vdate(65535, 12, 31)}, {vdate(0, 1, 1)}}, {vi32(23936531)}},
      {"nanosec_diff",
       {{vdt(2262, 4, 11, 23, 47, 16, 854775807), vdt(2262, 4, 11, 23, 47, 16, 854775808)}, {epoch}},
       {vi64(INT64_MAX), vnull()}},
      {"nanosec_diff",
       {{vdt(1677, 9, 21, 0, 12, 43, 145224192), vdt(1677, 9, 21, 0, 12, 43, 145224191)}, {epoch}},
       {vi64(INT64_MIN), vnull()}},
      {"nanosec_diff", {{epoch}, {vdt(1677, 9, 21, 0, 12, 43, 145224192)}}, {vnull()}},
  };
  for (const example& c : cases) {
    std::vector<column> args;
    for (const auto& a : c.args) args.push_back(col(a));
    expect_cells(run(c.name, args), c.expected, c.name);
  }
}

// Results outside 0000-01-01 .. 65535-12-31 are null, never a wrapped year; an amount
// converted from a negative number moves the other way, across midnight too.
TEST(date_time_functions, results_stay_inside_the_calendar) {
  const example cases[] = {
      {"add_day", {{vdate(65535, 12, 31)}, {vu08(1)}}, {vnull()}},
      {"add_day", {{vdate(65535, 12, 30)}, {vu08(1)}}, {vdate(65535, 12, 31)}},
      {"add_day", {{vdate(0, 1, 1)}, {vi32(-1)}}, {vnull()}},
      {"add_day", {{vdate(0, 1, 2)}, {vi64(-1)}}, {vdate(0, 1, 1)}},
      {"add_day", {{vdate(0, 1, 1)}, {vu32(23936531)}}, {vdate(65535, 12, 31)}},
      {"add_day", {{vdate(2024, 5, 9)}, {vu32(3000000000u)}}, {vnull()}},
      {"add_day", {{vdt(65535, 12, 31, 12, 0, 0)}, {vu08(1)}}, {vnull()}},
      {"sub_day", {{vdate(0, 1, 1)}, {vu08(1)}}, {vnull()}},
      {"sub_day", {{vdate(65535, 12, 31)}, {vi32(-1)}}, {vnull()}},
      {"sub_day", {{vdate(65535, 12, 31)}, {vu32(23936531)}}, {vdate(0, 1, 1)}},
      {"add_nanosec", {{vdt(65535, 12, 31, 23, 59, 59, 999999999)}, {vu08(1)}}, {vnull()}},
      {"add_nanosec", {{vdt(2024, 3, 1, 0, 0, 0, 500000000)}, {vi64(-1000000000)}},
       {vdt(2024, 2, 29, 23, 59, 59, 500000000)}},
      {"add_nanosec", {{vdt(2024, 3, 1, 0, 0, 0)}, {vi64(-3 * 86400000000000ll)}}, {vdt(2024, 2, 27, 0, 0, 0)}},
      {"add_nanosec", {{vdt(0, 1, 1, 0, 0, 0)}, {vi08(-1)}}, {vnull()}},
      {"sub_nanosec", {{vdt(2024, 2, 29, 23, 59, 59, 999999999)}, {vi08(-1)}}, {vdt(2024, 3, 1, 0, 0, 0)}},
      {"sub_nanosec", {{vdt(0, 1, 1, 0, 0, 0)}, {vu08(1)}}, {vnull()}},
      {"sub_nanosec", {{vdt(2024, 5, 9, 0, 0, 0)}, {vi64(-1)}}, {vdt(2024, 5, 9, 0, 0, 0, 1)}},
      // Times: the hour goes on past 23, up to 255:59:59.999999999; below 0 or past it, null.
      {"add_nanosec", {{vtime(255, 59, 59, 999999998)}, {vu08(1)}}, {vtime(255, 59, 59, 999999999)}},
      {"add_nanosec", {{vtime(255, 59, 59, 999999999)}, {vu08(1)}}, {vnull()}},
      {"add_nanosec", {{vtime(23, 0, 0)}, {vi64(-3600000000000ll)}}, {vtime(22, 0, 0)}},
      {"sub_nanosec", {{vtime(1, 0, 0)}, {vu64(7200000000000ull)}}, {vnull()}},
      {"sub_nanosec", {{vtime(1, 0, 0)}, {vu64(3600000000000ull)}}, {vtime(0, 0, 0)}},
  };
  for (const example& c : cases) {
    std::vector<column> args;
    for (const auto& a : c.args) args.push_back(col(a));
    expect_cells(run(c.name, args), c.expected, std::string(c.name) + " " + text_of(c.args[0][0]));
  }
}

// ---------------------------------------------------------------------------------------
// The clock functions with an installed clock: 2024-05-09 08:15:43.25 UTC under several
// standard biases (UTC - local, minutes).

class fixed_clock final : public platform::clock {
 public:
  uint64_t ticks = 0;
  int32_t bias = 0;
  platform::local_date today{};
  uint64_t utc_ticks() const override { return ticks; }
  int32_t standard_bias_minutes() const override { return bias; }
  platform::local_date local_today() const override { return today; }
};

TEST(date_time_functions, clock_functions_read_the_installed_clock) {
  fixed_clock c;
  const uint64_t unix_seconds = uint64_t(ref_days(2024, 5, 9) - ref_days(1970, 1, 1)) * 86400 + 8 * 3600 + 15 * 60 + 43;
  c.ticks = platform::unix_epoch_ticks + unix_seconds * 10000000 + 2500000;
  platform::clock_override use(c);

  const struct {
    int32_t bias;
    val now;
  } cases[] = {
      {0, vdt(2024, 5, 9, 8, 15, 43, 250000000)},
      {-480, vdt(2024, 5, 9, 16, 15, 43, 250000000)},
      {540, vdt(2024, 5, 8, 23, 15, 43, 250000000)},
      {-960, vdt(2024, 5, 10, 0, 15, 43, 250000000)},
  };
  for (const auto& k : cases) {
    c.bias = k.bias;
    const datetime_fields f = val_fields(k.now);
    expect_cells(run("now", {}), {k.now}, "now, bias " + std::to_string(k.bias));
    expect_cells(run("time", {}), {vtime(f.hour, f.minute, f.second, f.nanosecond)},
                 "time, bias " + std::to_string(k.bias));
  }

  c.today = {2024, 5, 10};
  expect_cells(run("date", {}), {vdate(2024, 5, 10)}, "date");
  c.today = {2024, 13, 1};
  expect_cells(run("date", {}), {vnull()}, "date of a broken clock");
}

// Later values pass unchecked and, under a datetime column, are read from their bytes as
// they lie: random cells of every kind after each accepted first kind never crash (the
// sanitizer build runs this too), every row is written, and every computed date exists.
TEST(date_time_functions, random_later_cells_of_every_kind) {
  std::mt19937_64 g(99);
  auto random_cell = [&g]() {
    const u8 kind = u8(g() % (kind_count + 1));
    if (kind == kind_string || kind == kind_count) {
      static const char* samples[] = {"2024-02-29", "2024-02-30 10:00:00", "99:99:99", "23:59:59.1234567891",
                                      "0000-01-01T00:00:00", "65535-12-31", "", "-5", "1e30"};
      std::string t = samples[g() % std::size(samples)];
      if (kind == kind_count)
        for (auto& ch : t) ch = char(g());
      return vtxt(t);
    }
    val v;
    column_desc d;
    val_kind_header(kind, d);
    v.size = d.size, v.sign = d.sign, v.type = d.type;
    for (auto& b : v.data) b = u8(g());
    if (kind == kind_float || kind == kind_double) val_from_double(v, double(int64_t(g())) / 1e9);
    return v;
  };
  const val firsts[] = {vtxt("2024-05-09 01:02:03"), vdate(2024, 5, 9), vtime(1, 2, 3), vdt(2024, 5, 9, 1, 2, 3)};
  for (const sql_function_def& def : date_time_functions()) {
    const std::string name = def.name;
    if (name == "now" || name == "date" || name == "time") continue;
    const bool two = name.find("add_") == 0 || name.find("sub_") == 0 || name.find("_diff") != std::string::npos;
    for (const val& first : firsts) {
      std::vector<val> a = {first}, b = {first};
      if (name.find("add_") == 0 || name.find("sub_") == 0) b = {vi64(int64_t(g()))};
      for (int i = 0; i < 300; ++i) {
        a.push_back(random_cell());
        b.push_back(random_cell());
      }
      std::vector<column> args = {col(a)};
      if (two) args.push_back(col(b));
      column r;
      column_list list{args.data(), args.size()};
      testing::internal::CaptureStdout();
      const bool ok = def.entry(nullptr, &r, &list);
      const std::string printed = testing::internal::GetCapturedStdout();
      if (!printed.empty()) {
        EXPECT_FALSE(ok) << name;
        continue;  // a first kind this function refuses
      }
      ASSERT_TRUE(ok) << name << " after " << show(first);
      ASSERT_EQ(r.values.size, a.size()) << name;
      const bool moves = two && name.find("_diff") == std::string::npos;
      for (u64 i = 0; i < r.values.size; ++i) {
        const val& v = r.values[i];
        EXPECT_EQ(r.ids[i], computed_row_id);
        EXPECT_TRUE(v.type == val_type_null || val_kind_index(v) != kind_none) << name << " row " << i;
        const datetime_fields f = val_fields(v);
        if (moves && (v.type == val_type_date || v.type == val_type_datetime)) {
          EXPECT_NE(date_to_days(f.year, f.month, f.day), 0u) << name << " row " << i << ": " << text_of(v);
        }
        if (moves && name.find("nanosec") != std::string::npos && v.type != val_type_null) {
          EXPECT_TRUE(f.minute < 60 && f.second < 60 && f.nanosecond < 1000000000) << name << ": " << text_of(v);
          if (v.type == val_type_datetime) {
            EXPECT_LT(f.hour, 24) << name << ": " << text_of(v);
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace kk::functions::test
