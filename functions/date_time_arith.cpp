#include "functions/date_time_arith.h"

#include "value/calendar.h"

namespace kk::functions {

namespace {

u32 day_number(const datetime_fields& f) { return date_to_days(f.year, f.month, f.day); }

bool set_day_number(datetime_fields& f, u64 n) {
  return n <= 0xFFFFFFFFu && days_to_civil(u32(n), f.year, f.month, f.day);
}

i64 time_of_day_ns(const datetime_fields& f) {
  return ((i64(f.hour) * 60 + f.minute) * 60 + f.second) * i64(ns_per_second) + f.nanosecond;
}

void set_time_of_day_ns(datetime_fields& f, u64 t) {
  const u64 s = t / ns_per_second;
  f.hour = u8(s / 3600);
  f.minute = u8(s % 3600 / 60);
  f.second = u8(s % 60);
  f.nanosecond = u32(t % ns_per_second);
}

}  // namespace

bool add_days(datetime_fields& f, u32 count) {
  const u32 n = day_number(f);
  return n != 0 && (count == 0 || set_day_number(f, u32(n + count)));
}

bool sub_days(datetime_fields& f, u32 count) {
  const u32 n = day_number(f);
  return n != 0 && (count == 0 || set_day_number(f, u32(n - count)));
}

bool shift_datetime_nanoseconds(datetime_fields& f, __int128 delta) {
  const u32 n = day_number(f);
  if (n == 0) return false;
  const __int128 total = __int128(n) * ns_per_day + time_of_day_ns(f) + delta;
  if (total < 0) return false;
  datetime_fields r = f;
  if (!set_day_number(r, u64(total / ns_per_day))) return false;
  set_time_of_day_ns(r, u64(total % ns_per_day));
  f = r;
  return true;
}

bool shift_time_nanoseconds(datetime_fields& f, __int128 delta) {
  constexpr __int128 limit = __int128(256) * 3600 * ns_per_second;
  const __int128 total = __int128(time_of_day_ns(f)) + delta;
  if (total < 0 || total >= limit) return false;
  set_time_of_day_ns(f, u64(total));
  return true;
}

bool datetime_nanoseconds_between(const datetime_fields& x, const datetime_fields& y,
                                  __int128& out) {
  const u32 nx = day_number(x), ny = day_number(y);
  if (nx == 0 || ny == 0) return false;
  out = (__int128(nx) - ny) * ns_per_day + (time_of_day_ns(x) - time_of_day_ns(y));
  return true;
}

i64 time_nanoseconds_between(const datetime_fields& x, const datetime_fields& y) {
  return time_of_day_ns(x) - time_of_day_ns(y);
}

bool weekday_of(const datetime_fields& f, u8& out) {
  const u32 n = day_number(f);
  if (n == 0) return false;
  out = u8((n + 4) % 7);
  return true;
}

datetime_fields time_of_day_from_ticks(u64 ticks, i32 bias_minutes) {
  const __int128 local_ns = (__int128(ticks) - __int128(bias_minutes) * 600000000) * 100;
  __int128 t = local_ns % ns_per_day;
  if (t < 0) t += ns_per_day;
  datetime_fields f;
  set_time_of_day_ns(f, u64(t));
  return f;
}

}  // namespace kk::functions
