#include "value/convert.h"

#include <cmath>
#include <cstring>
#include <utility>

#include "value/calendar.h"
#include "value/number_text.h"

namespace kk {

namespace {
// The source integer widened by its own sign to a 64-bit pattern.
uint64_t int_bits(const val& v) {
  const bool s = v.sign == val_signed;
  switch (v.size) {
    case val_size_1: return s ? uint64_t(int64_t(val_as_i08(v))) : val_as_u08(v);
    case val_size_2: return s ? uint64_t(int64_t(val_as_i16(v))) : val_as_u16(v);
    case val_size_4: return s ? uint64_t(int64_t(val_as_i32(v))) : val_as_u32(v);
    default: return val_as_u64(v);
  }
}

double real_of(const val& v) { return v.size == val_size_4 ? double(val_as_float(v)) : val_as_double(v); }

// Stores a 64-bit pattern as the target integer kind, keeping the low bits.
void put_int(val& out, uint8_t target, uint64_t bits) {
  switch (target) {
    case kind_i08: val_from_i08(out, int8_t(uint8_t(bits))); break;
    case kind_u08: val_from_u08(out, uint8_t(bits)); break;
    case kind_i16: val_from_i16(out, int16_t(uint16_t(bits))); break;
    case kind_u16: val_from_u16(out, uint16_t(bits)); break;
    case kind_i32: val_from_i32(out, int32_t(uint32_t(bits))); break;
    case kind_u32: val_from_u32(out, uint32_t(bits)); break;
    case kind_i64: val_from_i64(out, int64_t(bits)); break;
    default: val_from_u64(out, bits); break;
  }
}

// Truncation toward zero into a signed intermediate; out-of-range values saturate and NaN
// gives 0, where a bare C++ conversion would be undefined.
int64_t trunc_to_i32(double x) {
  if (std::isnan(x)) return 0;
  if (x <= -2147483648.0) return INT32_MIN;
  if (x >= 2147483647.0) return INT32_MAX;
  return int32_t(x);
}

int64_t trunc_to_i64(double x) {
  if (std::isnan(x)) return 0;
  if (x <= -9223372036854775808.0) return INT64_MIN;
  if (x >= 9223372036854775808.0) return INT64_MAX;
  return int64_t(x);
}

uint64_t trunc_to_u64(double x) {
  if (std::isnan(x)) return 0;
  if (x < 0) return uint64_t(trunc_to_i64(x));  // negatives wrap as through a signed value
  if (x >= 18446744073709551616.0) return UINT64_MAX;
  return uint64_t(x);
}

template <uint8_t T>
void int_from_int(val& out, const val& src, bool) {
  put_int(out, T, int_bits(src));
}

template <uint8_t T>
void int_from_real(val& out, const val& src, bool) {
  const double x = real_of(src);
  uint64_t bits;
  if constexpr (T == kind_u64) bits = trunc_to_u64(x);
  else if constexpr (T == kind_u32 || T == kind_i64) bits = uint64_t(trunc_to_i64(x));
  else bits = uint64_t(trunc_to_i32(x));
  put_int(out, T, bits);
}

template <uint8_t T>
void int_from_text(val& out, const val& src, bool parse_text) {
  if (!parse_text) return val_null(out);
  const char* p = src.text;
  const uint64_t n = src.len;
  uint64_t bits = 0;
  if (n) {
    switch (T) {
      case kind_i08:
      case kind_i16:
      case kind_i32: bits = uint64_t(int64_t(parse_i32(p, n))); break;
      case kind_i64: bits = uint64_t(parse_i64(p, n)); break;
      case kind_u08:
      case kind_u16:
      case kind_u32: bits = parse_u32(p, n); break;
      default: bits = parse_u64(p, n); break;
    }
  }
  put_int(out, T, bits);
}

void to_null(val& out, const val&, bool) { val_null(out); }
void copy(val& out, const val& src, bool) { val_copy(out, src); }

// Integers to floating point by their own signedness.
void float_from_int(val& out, const val& src, bool) {
  const uint64_t b = int_bits(src);
  val_from_float(out, src.sign == val_signed ? float(int64_t(b)) : float(b));
}
void double_from_int(val& out, const val& src, bool) {
  const uint64_t b = int_bits(src);
  val_from_double(out, src.sign == val_signed ? double(int64_t(b)) : double(b));
}
void float_from_double(val& out, const val& src, bool) { val_from_float(out, float(val_as_double(src))); }
void double_from_float(val& out, const val& src, bool) { val_from_double(out, double(val_as_float(src))); }

void float_from_text(val& out, const val& src, bool parse_text) {
  if (!parse_text) return val_null(out);
  const float x = text_to_float(src.text, src.len);  // may raise; out untouched then
  val_from_float(out, x);
}
void double_from_text(val& out, const val& src, bool parse_text) {
  if (!parse_text) return val_null(out);
  const double x = text_to_double(src.text, src.len);
  val_from_double(out, x);
}

void text_from_int(val& out, const val& src, bool) {
  char buf[int_text_max];
  const uint64_t b = int_bits(src);
  const size_t n = src.sign == val_signed ? int_to_chars(buf, int64_t(b)) : int_to_chars(buf, b);
  val_from_bytes(out, buf, n);
}
void text_from_float(val& out, const val& src, bool) {
  char buf[float_text_max];
  val_from_bytes(out, buf, float_to_fixed_text(buf, val_as_float(src)));
}
void text_from_double(val& out, const val& src, bool) {
  char buf[double_text_max];
  val_from_bytes(out, buf, double_to_fixed_text(buf, val_as_double(src)));
}
void text_from_date(val& out, const val& src, bool) {
  char buf[calendar_text_max];
  val_from_bytes(out, buf, date_to_chars(buf, val_fields(src)));
}
void text_from_time(val& out, const val& src, bool) {
  char buf[calendar_text_max];
  val_from_bytes(out, buf, time_to_chars(buf, val_fields(src)));
}
void text_from_datetime(val& out, const val& src, bool) {
  char buf[calendar_text_max];
  val_from_bytes(out, buf, datetime_to_chars(buf, val_fields(src)));
}

void date_from_text(val& out, const val& src, bool) {
  datetime_fields f;
  if (date_parse(f, src.text, src.len)) val_from_date(out, f.year, f.month, f.day);
  else val_null(out);
}
void time_from_text(val& out, const val& src, bool) {
  datetime_fields f;
  if (time_parse(f, src.text, src.len)) val_from_time(out, f.hour, f.minute, f.second, f.nanosecond);
  else val_null(out);
}
void datetime_from_text(val& out, const val& src, bool) {
  datetime_fields f;
  if (datetime_parse(f, src.text, src.len)) val_from_datetime(out, f);
  else val_null(out);
}

void date_part(val& out, const val& src, bool) {
  const datetime_fields f = val_fields(src);
  val_from_date(out, f.year, f.month, f.day);
}
void time_part(val& out, const val& src, bool) {
  const datetime_fields f = val_fields(src);
  val_from_time(out, f.hour, f.minute, f.second, f.nanosecond);
}
// A date becomes its midnight. A time has no date to stand on: null.
void datetime_from_date(val& out, const val& src, bool) {
  datetime_fields f = val_fields(src);
  f.hour = f.minute = f.second = 0;
  f.nanosecond = 0;
  val_from_datetime(out, f);
}

// One row per target: integer sources, float, double, string, date, time, datetime.
#define INT_ROW(T)                                                                                    \
  {int_from_int<T>, int_from_int<T>, int_from_int<T>, int_from_int<T>, int_from_int<T>,              \
   int_from_int<T>, int_from_int<T>, int_from_int<T>, int_from_real<T>, int_from_real<T>,            \
   int_from_text<T>, to_null, to_null, to_null}
#define ALL_INTS(f) f, f, f, f, f, f, f, f
}  // namespace

const val_convert_fn val_convert_table[kind_count][kind_count] = {
    INT_ROW(kind_i08),
    INT_ROW(kind_u08),
    INT_ROW(kind_i16),
    INT_ROW(kind_u16),
    INT_ROW(kind_i32),
    INT_ROW(kind_u32),
    INT_ROW(kind_i64),
    INT_ROW(kind_u64),
    {ALL_INTS(float_from_int), copy, float_from_double, float_from_text, to_null, to_null, to_null},
    {ALL_INTS(double_from_int), double_from_float, copy, double_from_text, to_null, to_null, to_null},
    {ALL_INTS(text_from_int), text_from_float, text_from_double, copy, text_from_date, text_from_time,
     text_from_datetime},
    {ALL_INTS(to_null), to_null, to_null, date_from_text, copy, to_null, date_part},
    {ALL_INTS(to_null), to_null, to_null, time_from_text, to_null, time_part, time_part},
    {ALL_INTS(to_null), to_null, to_null, datetime_from_text, datetime_from_date, to_null, copy},
};
#undef INT_ROW
#undef ALL_INTS

void val_convert(val& out, uint8_t target, const val& src, bool parse_text) {
  const uint8_t from = val_kind_index(src);
  if (from == kind_none || target >= kind_count) return val_null(out);
  if (&out == &src) {
    val r;
    val_convert_table[target][from](r, src, parse_text);
    out = std::move(r);
    return;
  }
  val_convert_table[target][from](out, src, parse_text);
}

val val_convert(uint8_t target, const val& src, bool parse_text) {
  val r;
  val_convert(r, target, src, parse_text);
  return r;
}

}  // namespace kk
