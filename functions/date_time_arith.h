// Day and nanosecond arithmetic behind the SQL date and time functions, over the
// day-number calendar. Results that would leave 0000-01-01 .. 65535-12-31, or a time
// outside 0 .. 255 hours, are refused (false), never wrapped; so is an invalid date
// (month outside 1..12, day outside its month), whose day number does not exist.
#pragma once

#include "adt/types.h"
#include "value/val.h"

namespace kk::functions {

// The date moved by count days modulo 2^32, so a count converted from a negative number
// moves back ("i32" -5 subtracts five days).
bool add_days(datetime_fields& f, u32 count);
bool sub_days(datetime_fields& f, u32 count);

// A datetime moved by a signed number of nanoseconds.
bool shift_datetime_nanoseconds(datetime_fields& f, __int128 delta);
// A time (hour not reduced modulo 24) moved by a signed number of nanoseconds; false when
// the result is negative or passes 255:59:59.999999999.
bool shift_time_nanoseconds(datetime_fields& f, __int128 delta);

// x - y in nanoseconds, in 128 bits; false when a date is invalid.
bool datetime_nanoseconds_between(const datetime_fields& x, const datetime_fields& y,
                                  __int128& out);
// x - y of the hour, minute, second and nanosecond fields.
i64 time_nanoseconds_between(const datetime_fields& x, const datetime_fields& y);

// 0 = Monday .. 6 = Sunday; false for an invalid date.
bool weekday_of(const datetime_fields& f, u8& out);

// The local time of day of a clock reading: 100 ns ticks since 1601-01-01 UTC minus the
// standard bias (minutes, UTC - local), modulo one day.
datetime_fields time_of_day_from_ticks(u64 ticks, i32 bias_minutes);

}  // namespace kk::functions
