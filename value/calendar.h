// Proleptic Gregorian calendar with a leap year 0 and 16-bit years: day numbers (0000-01-01
// is day 1), day and nanosecond arithmetic, and the fixed date and time texts.
// days_to_civil and everything built on it read the day-of-year tables: build them first
// (startup_tables_init).
#pragma once

#include <cstddef>
#include <cstdint>

#include "adt/string.h"
#include "value/val.h"

namespace kk {

inline constexpr uint32_t days_per_400_years = 146097;
inline constexpr uint64_t ns_per_second = 1000000000ull;
inline constexpr uint64_t ns_per_day = 86400ull * ns_per_second;

extern const uint32_t year_start_days[400];      // days in years 0 .. y-1 of a 400-year cycle
extern const uint16_t month_start_days[2][12];   // [leap][month - 1]: days before the month
extern const uint8_t month_length_days[2][13];   // [leap][month], month 1..12; [.][0] is 0

struct month_day {
  uint8_t month;
  uint8_t day;
};
// Entry d - 1 is the (month, day) of day of year d; built at start-up.
extern month_day day_of_year_common[365];
extern month_day day_of_year_leap[366];
// Fills `table` (year_days entries) from `month_start` (12 entries).
void day_of_year_fill(month_day* table, uint32_t year_days, const uint16_t* month_start);

bool is_leap_year(uint32_t year);
// Days of a month, 0 for a month outside 1..12.
uint8_t days_in_month(uint16_t year, uint8_t month);
// The last calendar day, 65535-12-31.
uint32_t max_day_number();

// 0 (outside the calendar) unless month is 1..12 and day is 1..days_in_month.
uint32_t date_to_days(uint16_t year, uint8_t month, uint8_t day);
// False for 0 and for numbers past 65535-12-31; the outputs are then untouched.
bool days_to_civil(uint32_t n, uint16_t& year, uint8_t& month, uint8_t& day);
// Advances the date fields by count days, the day number taken modulo 2^32 (a count of
// 2^32 - k moves back k days); false (fields unchanged) for an invalid date or a result
// outside 0000-01-01 .. 65535-12-31. A count of 0 changes nothing and succeeds.
bool date_add_days(datetime_fields& f, uint32_t count);
// Advances a datetime or a time by nanoseconds. A time (all date fields zero) wraps past
// midnight; a datetime carries whole days into its date, and fails (unchanged) when that
// date is invalid or the result passes the last calendar day.
bool datetime_add_nanoseconds(datetime_fields& f, uint64_t add);

// "yyyy-mm-dd" at the start of the text; bytes after the tenth are ignored. The fields are
// written before the range check.
bool date_parse(datetime_fields& out, const char* p, uint64_t n);
// "hh:mm:ss" with an optional '.' fraction; digits past the ninth are dropped. Without a
// fraction the nanosecond is left as it was.
bool time_parse(datetime_fields& out, const char* p, uint64_t n);
// A date, then any one byte, then a time; needs at least 11 bytes. The time starts at 0.
bool datetime_parse(datetime_fields& out, const char* p, uint64_t n);

// Texts into a buffer of at least calendar_text_max bytes; return the length.
inline constexpr size_t calendar_text_max = 40;
size_t date_to_chars(char* buf, const datetime_fields& f);      // year padded to 4 digits
size_t time_to_chars(char* buf, const datetime_fields& f);      // hh:mm:ss[.fraction]
size_t datetime_to_chars(char* buf, const datetime_fields& f);  // date, ' ', time
adt::string::string date_to_text(const datetime_fields& f);
adt::string::string time_to_text(const datetime_fields& f);
adt::string::string datetime_to_text(const datetime_fields& f);

}  // namespace kk
