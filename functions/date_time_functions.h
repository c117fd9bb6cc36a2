// The twenty-three date and time SQL functions: the clock (now, date, time), the fields of
// a date or time, day and nanosecond arithmetic and differences, and weekdays.
//
// A row whose date does not exist (an unparsable text reads as 0000-00-00, the bytes of
// another kind under a datetime column as they lie) gives null wherever the date enters a
// computation; so does a result outside 0000-01-01 .. 65535-12-31.
#pragma once

#include <span>

#include "functions/column.h"
#include "functions/registry.h"

namespace kk::functions {

namespace sql {
bool now(column* result, const column_list* args);
bool date(column* result, const column_list* args);
bool time(column* result, const column_list* args);
bool is_leap(column* result, const column_list* args);
bool last_day(column* result, const column_list* args);
bool add_day(column* result, const column_list* args);
bool add_nanosec(column* result, const column_list* args);
bool sub_day(column* result, const column_list* args);
bool sub_nanosec(column* result, const column_list* args);
bool day_diff(column* result, const column_list* args);
bool nanosec_diff(column* result, const column_list* args);
bool year_of(column* result, const column_list* args);
bool month_of(column* result, const column_list* args);
bool day_of(column* result, const column_list* args);
bool hour_of(column* result, const column_list* args);
bool minute_of(column* result, const column_list* args);
bool second_of(column* result, const column_list* args);
bool nanosec_of(column* result, const column_list* args);
bool date_of(column* result, const column_list* args);
bool time_of(column* result, const column_list* args);
bool weekday(column* result, const column_list* args);
bool weekday_name(column* result, const column_list* args);
bool weekday_cname(column* result, const column_list* args);
}  // namespace sql

// now ... weekday_cname with their entries, in registration order.
std::span<const sql_function_def> date_time_functions();

}  // namespace kk::functions
