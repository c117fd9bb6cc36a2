// The 32-byte value cell: one number, text, date, time, datetime or null.
// Numbers and date/time fields live inline in `data`; only a text owns a heap block.
#pragma once

#include <cstddef>
#include <cstdint>

#include "adt/string.h"

namespace kk {

enum val_type_code : uint8_t {
  val_type_int = 0,
  val_type_float = 1,
  val_type_text = 2,
  val_type_date = 3,
  val_type_time = 4,
  val_type_datetime = 5,
  val_type_null = 6,
};

enum val_sign_code : uint8_t { val_signed = 0, val_unsigned = 1, val_sign_na = 2 };

// 0..3: 1, 2, 4, 8 bytes; 4 text; 5 date, time, datetime and null.
enum val_size_code : uint8_t {
  val_size_1 = 0,
  val_size_2 = 1,
  val_size_4 = 2,
  val_size_8 = 3,
  val_size_text = 4,
  val_size_other = 5,
};

// The fourteen column types in their fixed order; kind_none for null and malformed headers.
enum val_kind : uint8_t {
  kind_i08 = 0,
  kind_u08,
  kind_i16,
  kind_u16,
  kind_i32,
  kind_u32,
  kind_i64,
  kind_u64,
  kind_float,
  kind_double,
  kind_string,
  kind_date,
  kind_time,
  kind_datetime,
  kind_count,
  kind_none = 255,
};

// Longest text a cell can hold (its length is 16 bits).
inline constexpr uint64_t val_text_max = 65535;

// Byte offsets of the date/time fields inside `data` (packed, little-endian).
inline constexpr size_t val_year_at = 0;
inline constexpr size_t val_month_at = 2;
inline constexpr size_t val_day_at = 3;
inline constexpr size_t val_hour_at = 4;
inline constexpr size_t val_minute_at = 5;
inline constexpr size_t val_second_at = 6;
inline constexpr size_t val_nanosecond_at = 7;

// The seven calendar fields, unpacked. A date uses the first three, a time the last four.
struct datetime_fields {
  uint16_t year = 0;
  uint8_t month = 0;
  uint8_t day = 0;
  uint8_t hour = 0;
  uint8_t minute = 0;
  uint8_t second = 0;
  uint32_t nanosecond = 0;
};

struct val {
  uint8_t data[11];  // number in the first 1/2/4/8 bytes, or the date/time fields
  char* text;        // owned block of exactly `len` bytes; null unless a non-empty text
  uint16_t len;      // text length; 0 for every other type
  uint8_t size;      // val_size_code
  uint8_t sign;      // val_sign_code
  uint8_t type;      // val_type_code

  // C++ lifetime follows the cell operations: born null, copied deeply, cleared at the end.
  val() noexcept;
  val(const val& other);
  val(val&& other) noexcept;
  val& operator=(const val& other);
  val& operator=(val&& other) noexcept;
  ~val();
};

static_assert(sizeof(val) == 32);
static_assert(offsetof(val, data) == 0);
static_assert(offsetof(val, text) == 16);
static_assert(offsetof(val, len) == 24);
static_assert(offsetof(val, size) == 26);
static_assert(offsetof(val, sign) == 27);
static_assert(offsetof(val, type) == 28);

// A result-set column's type: the three header bytes of its cells.
struct column_desc {
  uint8_t size;
  uint8_t sign;
  uint8_t type;
};
static_assert(sizeof(column_desc) == 3);
void column_desc_init(column_desc& d);  // null: 5, 2, 6

// (type, sign, size) -> kind; [(type * 3 + sign) * 6 + size], 255 where no kind exists.
extern const uint8_t val_kind_table[126];
// Safe for any header bytes (including ones off the wire): out-of-table codes give kind_none.
uint8_t val_kind_index(uint8_t type, uint8_t sign, uint8_t size);
uint8_t val_kind_index(const val& v);
// "i08" .. "datetime" for a kind, null for kind_none or anything else.
const char* val_kind_name(uint8_t kind);
// The header bytes of a kind; false for kind_none.
bool val_kind_header(uint8_t kind, column_desc& out);

// Every constructor below treats `out` as a live cell: a text block it owned is released.
void val_null(val& out);
void val_copy(val& out, const val& src);
val& val_assign(val& target, const val& src);
void val_clear(val& v);  // frees a text block; size, sign, type stay
bool val_is_null(const val& v);

void val_from_i08(val& out, int8_t x);
void val_from_u08(val& out, uint8_t x);
void val_from_i16(val& out, int16_t x);
void val_from_u16(val& out, uint16_t x);
void val_from_i32(val& out, int32_t x);
void val_from_u32(val& out, uint32_t x);
void val_from_i64(val& out, int64_t x);
void val_from_u64(val& out, uint64_t x);
void val_from_float(val& out, float x);
void val_from_double(val& out, double x);
// Texts longer than val_text_max are refused: out becomes null and the result is false.
bool val_from_bytes(val& out, const char* p, uint64_t n);
bool val_from_str(val& out, const adt::string::string& s);
// The source may lie inside target's own block.
val& val_assign_str(val& target, const char* p, uint64_t n);
void val_from_date(val& out, uint16_t year, uint8_t month, uint8_t day);
void val_from_time(val& out, uint8_t hour, uint8_t minute, uint8_t second, uint32_t nanosecond);
void val_from_datetime(val& out, const datetime_fields& f);

// Payload reads without a type check (the bytes as that type).
int8_t val_as_i08(const val& v);
uint8_t val_as_u08(const val& v);
int16_t val_as_i16(const val& v);
uint16_t val_as_u16(const val& v);
int32_t val_as_i32(const val& v);
uint32_t val_as_u32(const val& v);
int64_t val_as_i64(const val& v);
uint64_t val_as_u64(const val& v);
float val_as_float(const val& v);
double val_as_double(const val& v);
// All seven fields as stored (a date has zero time fields, a time zero date fields).
datetime_fields val_fields(const val& v);
// Writes the fields of the cell's own type only (date: 3, time: 4, otherwise all 7).
void val_set_fields(val& v, const datetime_fields& f);
// Byte width of the size code: 0 -> 1, 1 -> 2, 2 -> 4, anything else -> 8.
uint32_t val_width(const val& v);

// Comparisons by the first operand's type; callers compare cells of one column.
bool val_equal(const val& a, const val& b);
bool val_less(const val& a, const val& b);
bool val_greater(const val& a, const val& b);
// A total order for sets of distinct values: kinds in index order with null and malformed
// cells last (all equal to each other), NaNs equal to each other and after every number,
// +0 equal to -0. Returns <0, 0, >0.
int val_order(const val& a, const val& b);

// Aggregate arithmetic. Results outside the listed shapes are null.
void val_add(val& out, const val& a, const val& b);
void val_mul(val& out, const val& a, const val& b);
// The mean's division; a count of 0 gives null.
void val_div_count(const val& a, uint64_t count, val& out);

}  // namespace kk
