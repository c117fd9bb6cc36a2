#include "functions/date_time_functions.h"

#include <cstring>

#include "functions/date_time_arith.h"
#include "functions/function_call.h"
#include "platform/clock.h"
#include "value/calendar.h"
#include "value/convert.h"
#include "value/now.h"

namespace kk::functions {

namespace {

constexpr kind_set kinds_d = kind_text | kind_date_only | kind_datetime_only;
constexpr kind_set kinds_t = kind_text | kind_time_only | kind_datetime_only;

constexpr const char* weekday_names[7] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                          "Friday", "Saturday", "Sunday"};
constexpr const char* weekday_cnames[7] = {"星期一", "星期二", "星期三", "星期四",
                                           "星期五", "星期六", "星期日"};

constexpr u8 type_of_kind(u8 kind) {
  return kind == kind_date ? val_type_date : kind == kind_time ? val_type_time : val_type_datetime;
}

// How the values of a call are read, decided once from the first value of the first
// argument: a datetime column is read from every cell's bytes as they lie; any other is
// converted, cell by cell, to `target` (a date or a time). date_of and time_of convert
// every cell to a datetime instead (bytes_of_datetime false).
struct reading {
  bool datetime;
  u8 target;

  reading(const column& first, u8 target_kind, bool bytes_of_datetime = true)
      : datetime(bytes_of_datetime && first.values[0].type == val_type_datetime),
        target(target_kind) {}

  datetime_fields operator()(const val& v) const {
    if (datetime || v.type == type_of_kind(target)) return val_fields(v);
    return val_fields(val_convert(target, v, false));  // null reads as all zero
  }
};

// A count (target kind_u32) or an amount (kind_u64) through the conversion matrix, text
// parsing set. An integer takes the matrix's integral conversion directly: its bits
// widened by its own sign, cut to the target's width.
u64 amount_of(const val& v, u8 target) {
  if (v.type != val_type_int) {
    const val c = val_convert(target, v, true);
    return target == kind_u32 ? val_as_u32(c) : val_as_u64(c);
  }
  const bool s = v.sign == val_signed;
  u64 x;
  switch (v.size) {
    case val_size_1: x = s ? u64(i64(val_as_i08(v))) : val_as_u08(v); break;
    case val_size_2: x = s ? u64(i64(val_as_i16(v))) : val_as_u16(v); break;
    case val_size_4: x = s ? u64(i64(val_as_i32(v))) : val_as_u32(v); break;
    default: x = val_as_u64(v);
  }
  return target == kind_u32 ? u32(x) : x;
}

// Steps 1-3 of the one-argument functions.
const column* single(const column_list* args, kind_set kinds, const char* name) {
  if (!arity_is(args, 1) || !args_nonempty(args, 1)) return nullptr;
  if (!first_kind_is(arg(args, 0), kinds, name)) return nullptr;
  return &arg(args, 0);
}

// Steps 1-3 of the functions of a value and an integer count.
const column* with_count(const column_list* args, kind_set kinds, const char* name) {
  if (!arity_is(args, 2) || !args_nonempty(args, 2)) return nullptr;
  if (!kind_in(arg(args, 0).values[0], kinds) || !kind_in(arg(args, 1).values[0], kind_integer)) {
    unsupported(name);
    return nullptr;
  }
  return &arg(args, 0);
}

// Steps 1-3 of the differences: both first values of one kind out of `kinds`.
bool pair_of_one_kind(const column_list* args, kind_set kinds, const char* name) {
  if (!arity_is(args, 2) || !args_nonempty(args, 2)) return false;
  const val& x = arg(args, 0).values[0];
  const val& y = arg(args, 1).values[0];
  if (!kind_in(x, kinds) || y.type != x.type) return unsupported(name);
  return true;
}

// One result per value of a D or T argument: f(fields, out) writes the row.
template <class F>
bool per_value(column* result, const column_list* args, kind_set kinds, u8 target,
               const char* name, F&& f) {
  const column* a = single(args, kinds, name);
  if (!a) return false;
  const reading read(*a, target, target != kind_datetime);
  return map_values(*result, *a, [&](val& out, const val& in) {
    f(read(in), out);
    return true;
  });
}

template <class F>
bool per_date(column* result, const column_list* args, const char* name, F&& f) {
  return per_value(result, args, kinds_d, kind_date, name, f);
}

template <class F>
bool per_time(column* result, const column_list* args, const char* name, F&& f) {
  return per_value(result, args, kinds_t, kind_time, name, f);
}

// The moved date, or datetime when the call reads datetimes; null when the move failed.
void write_moved(val& out, bool ok, bool datetime, const datetime_fields& f) {
  if (!ok)
    val_null(out);
  else if (datetime)
    val_from_datetime(out, f);
  else
    val_from_date(out, f.year, f.month, f.day);
}

void write_time_or_datetime(val& out, bool ok, bool datetime, const datetime_fields& f) {
  if (!ok)
    val_null(out);
  else if (datetime)
    val_from_datetime(out, f);
  else
    val_from_time(out, f.hour, f.minute, f.second, f.nanosecond);
}

template <class Shift>
bool day_shift(column* result, const column_list* args, const char* name, Shift&& shift) {
  const column* a = with_count(args, kinds_d, name);
  if (!a) return false;
  const column& counts = arg(args, 1);
  const reading read(*a, kind_date);
  const val none;
  return map_rows(*result, longest_arg(args, 2), [&](val& out, u64 i) {
    datetime_fields f = read(column_ref_at(*a, i, none));
    const u32 d = u32(amount_of(column_ref_at(counts, i, none), kind_u32));
    write_moved(out, shift(f, d), read.datetime, f);
    return true;
  });
}

// Whether an amount was converted from a negative number (texts parse as unsigned digits).
bool from_negative(const val& v) {
  if (v.type == val_type_int) return v.sign == val_signed && i64(amount_of(v, kind_u64)) < 0;
  if (v.type == val_type_float)
    return (v.size == val_size_4 ? double(val_as_float(v)) : val_as_double(v)) < 0;
  return false;
}

// The signed step of an amount: an amount converted from a negative number moves the other
// way rather than 584 years ahead, while an unsigned one of 2^63 or more is still that many
// nanoseconds. A time's total is 64-bit, so there the amount is always its signed value.
__int128 nanosecond_step(const val& source, bool datetime) {
  const u64 a = amount_of(source, kind_u64);
  return !datetime || from_negative(source) ? __int128(i64(a)) : __int128(a);
}

// sign +1 adds the amount, -1 subtracts it.
bool nanosecond_shift(column* result, const column_list* args, const char* name, int sign) {
  const column* a = with_count(args, kinds_t, name);
  if (!a) return false;
  const column& amounts = arg(args, 1);
  const reading read(*a, kind_time);
  const val none;
  return map_rows(*result, longest_arg(args, 2), [&](val& out, u64 i) {
    datetime_fields f = read(column_ref_at(*a, i, none));
    const __int128 delta = nanosecond_step(column_ref_at(amounts, i, none), read.datetime) * sign;
    const bool ok = read.datetime ? shift_datetime_nanoseconds(f, delta)
                                  : shift_time_nanoseconds(f, delta);
    write_time_or_datetime(out, ok, read.datetime, f);
    return true;
  });
}

void from_clock_date(val& out, const platform::local_date& d) {
  if (d.year < 0 || d.year > 65535 || d.month < 1 || d.month > 12 || d.day < 1 ||
      d.day > days_in_month(u16(d.year), u8(d.month)))
    val_null(out);
  else
    val_from_date(out, u16(d.year), u8(d.month), u8(d.day));
}

}  // namespace

namespace sql {

bool now(column* result, const column_list* args) {
  if (!arity_is(args, 0)) return false;
  val v;
  val_from_datetime(v, datetime_now(platform::current_clock()));
  column_push(*result, v);
  return true;
}

bool date(column* result, const column_list* args) {
  if (!arity_is(args, 0)) return false;
  val v;
  from_clock_date(v, platform::current_clock().local_today());
  column_push(*result, v);
  return true;
}

bool time(column* result, const column_list* args) {
  if (!arity_is(args, 0)) return false;
  const platform::clock& c = platform::current_clock();
  const datetime_fields f = time_of_day_from_ticks(c.utc_ticks(), c.standard_bias_minutes());
  val v;
  val_from_time(v, f.hour, f.minute, f.second, f.nanosecond);
  column_push(*result, v);
  return true;
}

bool is_leap(column* result, const column_list* args) {
  return per_date(result, args, "is_leap", [](const datetime_fields& f, val& out) {
    val_from_u08(out, is_leap_year(f.year) ? 1 : 0);
  });
}

bool last_day(column* result, const column_list* args) {
  return per_date(result, args, "last_day", [](const datetime_fields& f, val& out) {
    if (date_to_days(f.year, f.month, f.day) == 0)
      val_null(out);
    else
      val_from_u08(out, days_in_month(f.year, f.month));
  });
}

bool add_day(column* result, const column_list* args) { return day_shift(result, args, "add_day", add_days); }

bool sub_day(column* result, const column_list* args) { return day_shift(result, args, "sub_day", sub_days); }

bool add_nanosec(column* result, const column_list* args) {
  return nanosecond_shift(result, args, "add_nanosec", 1);
}

bool sub_nanosec(column* result, const column_list* args) {
  return nanosecond_shift(result, args, "sub_nanosec", -1);
}

bool day_diff(column* result, const column_list* args) {
  if (!pair_of_one_kind(args, kinds_d, "day_diff")) return false;
  const column& x = arg(args, 0);
  const column& y = arg(args, 1);
  const reading read(x, kind_date);
  const val none;
  return map_rows(*result, longest_arg(args, 2), [&](val& out, u64 i) {
    const datetime_fields a = read(column_ref_at(x, i, none));
    const datetime_fields b = read(column_ref_at(y, i, none));
    if (read.datetime) {
      __int128 ns;
      if (datetime_nanoseconds_between(a, b, ns))
        val_from_i32(out, i32(ns / ns_per_day));  // truncated toward zero: whole days only
      else
        val_null(out);
    } else {
      const u32 da = date_to_days(a.year, a.month, a.day);
      const u32 db = date_to_days(b.year, b.month, b.day);
      if (da == 0 || db == 0)
        val_null(out);
      else
        val_from_i32(out, i32(i64(da) - i64(db)));
    }
    return true;
  });
}

bool nanosec_diff(column* result, const column_list* args) {
  if (!pair_of_one_kind(args, kinds_t, "nanosec_diff")) return false;
  const column& x = arg(args, 0);
  const column& y = arg(args, 1);
  const reading read(x, kind_time);
  const val none;
  return map_rows(*result, longest_arg(args, 2), [&](val& out, u64 i) {
    const datetime_fields a = read(column_ref_at(x, i, none));
    const datetime_fields b = read(column_ref_at(y, i, none));
    if (!read.datetime) {
      val_from_i64(out, time_nanoseconds_between(a, b));
      return true;
    }
    __int128 ns;
    constexpr __int128 lo = -__int128(0x7fffffffffffffffll) - 1, hi = 0x7fffffffffffffffll;
    if (datetime_nanoseconds_between(a, b, ns) && ns >= lo && ns <= hi)
      val_from_i64(out, i64(ns));
    else
      val_null(out);  // an invalid date, or more than about 292 years apart
    return true;
  });
}

bool year_of(column* result, const column_list* args) {
  return per_date(result, args, "year_of",
                  [](const datetime_fields& f, val& out) { val_from_u16(out, f.year); });
}

bool month_of(column* result, const column_list* args) {
  return per_date(result, args, "mouth_of",
                  [](const datetime_fields& f, val& out) { val_from_u08(out, f.month); });
}

bool day_of(column* result, const column_list* args) {
  return per_date(result, args, "day_of",
                  [](const datetime_fields& f, val& out) { val_from_u08(out, f.day); });
}

bool hour_of(column* result, const column_list* args) {
  return per_time(result, args, "hour_of",
                  [](const datetime_fields& f, val& out) { val_from_u08(out, f.hour); });
}

bool minute_of(column* result, const column_list* args) {
  return per_time(result, args, "minute_of",
                  [](const datetime_fields& f, val& out) { val_from_u08(out, f.minute); });
}

bool second_of(column* result, const column_list* args) {
  return per_time(result, args, "second_of",
                  [](const datetime_fields& f, val& out) { val_from_u08(out, f.second); });
}

bool nanosec_of(column* result, const column_list* args) {
  return per_time(result, args, "nanosec_of",
                  [](const datetime_fields& f, val& out) { val_from_u32(out, f.nanosecond); });
}

bool date_of(column* result, const column_list* args) {
  return per_value(result, args, kind_text | kind_datetime_only, kind_datetime, "date_of",
                   [](const datetime_fields& f, val& out) {
                     val_from_date(out, f.year, f.month, f.day);
                   });
}

bool time_of(column* result, const column_list* args) {
  return per_value(result, args, kind_text | kind_datetime_only, kind_datetime, "time_of",
                   [](const datetime_fields& f, val& out) {
                     val_from_time(out, f.hour, f.minute, f.second, f.nanosecond);
                   });
}

bool weekday(column* result, const column_list* args) {
  return per_date(result, args, "weekday", [](const datetime_fields& f, val& out) {
    u8 w;
    if (weekday_of(f, w))
      val_from_u08(out, w);
    else
      val_null(out);
  });
}

bool weekday_name(column* result, const column_list* args) {
  return per_date(result, args, "weekday_name", [](const datetime_fields& f, val& out) {
    u8 w;
    if (weekday_of(f, w))
      val_assign_str(out, weekday_names[w], std::strlen(weekday_names[w]));
    else
      val_null(out);
  });
}

bool weekday_cname(column* result, const column_list* args) {
  return per_date(result, args, "weekday_cname", [](const datetime_fields& f, val& out) {
    u8 w;
    if (weekday_of(f, w))
      val_assign_str(out, weekday_cnames[w], 9);
    else
      val_null(out);
  });
}

}  // namespace sql

std::span<const sql_function_def> date_time_functions() {
  static constexpr sql_function_def defs[] = {
      {"now", forward<sql::now>},
      {"date", forward<sql::date>},
      {"time", forward<sql::time>},
      {"is_leap", forward<sql::is_leap>},
      {"last_day", forward<sql::last_day>},
      {"add_day", forward<sql::add_day>},
      {"add_nanosec", forward<sql::add_nanosec>},
      {"sub_day", forward<sql::sub_day>},
      {"sub_nanosec", forward<sql::sub_nanosec>},
      {"day_diff", forward<sql::day_diff>},
      {"nanosec_diff", forward<sql::nanosec_diff>},
      {"year_of", forward<sql::year_of>},
      {"month_of", forward<sql::month_of>},
      {"day_of", forward<sql::day_of>},
      {"hour_of", forward<sql::hour_of>},
      {"minute_of", forward<sql::minute_of>},
      {"second_of", forward<sql::second_of>},
      {"nanosec_of", forward<sql::nanosec_of>},
      {"date_of", forward<sql::date_of>},
      {"time_of", forward<sql::time_of>},
      {"weekday", forward<sql::weekday>},
      {"weekday_name", forward<sql::weekday_name>},
      {"weekday_cname", forward<sql::weekday_cname>},
  };
  return defs;
}

}  // namespace kk::functions
