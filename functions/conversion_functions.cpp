#include "functions/conversion_functions.h"

#include <cstdio>
#include <cstring>

#include "functions/function_call.h"
#include "value/convert.h"

namespace kk::functions {

namespace {

enum class on_null { stop, keep };

struct conversion {
  const char* name;
  u8 target;
  on_null null_rule;
  bool empty_gives_true;
  kind_set first_kinds;
};

// The steps every matrix conversion shares; cell(out, in) converts one value.
template <class Cell>
bool convert_column(column* result, const column_list* args, const conversion& c, Cell cell) {
  if (!arity_is(args, 1)) return false;
  const column& a = arg(args, 0);
  if (a.values.size == 0) return c.empty_gives_true;
  if (c.first_kinds != kind_any && !kind_in(a.values[0], c.first_kinds)) {
    std::printf("unsupport type in function %s.\n", c.name);
    return false;
  }
  return map_values(*result, a, [&](val& out, const val& in) {
    cell(out, in);
    return c.null_rule == on_null::keep || out.type != val_type_null;
  });
}

// Columns are nearly always of one type: the matrix cell is looked up again only when a
// value's header differs from the previous one's.
class cell_cache {
 public:
  explicit cell_cache(u8 target) : target_(target) {}
  void convert(val& out, const val& in, bool parse_text) {
    if (in.size != size_ || in.sign != sign_ || in.type != type_) {
      size_ = in.size, sign_ = in.sign, type_ = in.type;
      const u8 k = val_kind_index(in);
      cell_ = k < kind_count ? val_convert_table[target_][k] : nullptr;
    }
    if (cell_)
      cell_(out, in, parse_text);
    else
      val_null(out);  // null and malformed sources
  }

 private:
  u8 target_;
  u8 size_ = 0xff, sign_ = 0xff, type_ = 0xff;
  val_convert_fn cell_ = nullptr;
};

bool through_matrix(column* result, const column_list* args, const conversion& c) {
  // Text parsing is on exactly for the numeric targets.
  const bool parse_text = c.target <= kind_double;
  cell_cache cells(c.target);
  return convert_column(result, args, c, [&](val& out, const val& in) { cells.convert(out, in, parse_text); });
}

constexpr kind_set date_kinds = kind_text | kind_date_only | kind_time_only | kind_datetime_only;

const char hex_digits[] = "0123456789abcdef";

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

void val_to_datetime(val& out, const val& v) {
  if (v.type == val_type_date) {
    datetime_fields f = val_fields(v);
    f.hour = f.minute = f.second = 0;
    f.nanosecond = 0;
    val_from_datetime(out, f);
  } else if (v.type == val_type_time) {
    val_null(out);
  } else {
    val_convert(out, kind_datetime, v, false);
  }
}

void val_raw_hex(val& out, const val& v) {
  const char* bytes = reinterpret_cast<const char*>(v.data);
  u64 n = 0;
  switch (val_kind_index(v)) {
    case kind_i08: case kind_u08: n = 1; break;
    case kind_i16: case kind_u16: n = 2; break;
    case kind_i32: case kind_u32: case kind_float: n = 4; break;
    case kind_i64: case kind_u64: case kind_double: n = 8; break;
    case kind_string: bytes = v.text; n = v.len; break;
    case kind_date: n = 4; break;
    case kind_time: bytes += val_hour_at; n = 7; break;
    case kind_datetime: n = 11; break;
    default: val_null(out); return;
  }
  if (2 * n > val_text_max) {
    val_null(out);
    return;
  }
  char small[2 * 11];
  adt::string::string big;
  char* hex = 2 * n <= sizeof small ? small : adt::string::resize(big, 2 * n);
  for (u64 i = 0; i < n; ++i) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    hex[2 * i] = hex_digits[b >> 4];
    hex[2 * i + 1] = hex_digits[b & 15];
  }
  val_assign_str(out, hex, 2 * n);
}

namespace sql {

bool x2i08(column* r, const column_list* a) { return through_matrix(r, a, {"x2i08", kind_i08, on_null::stop, true, kind_any}); }
bool x2i16(column* r, const column_list* a) { return through_matrix(r, a, {"x2i16", kind_i16, on_null::keep, true, kind_any}); }
bool x2i32(column* r, const column_list* a) { return through_matrix(r, a, {"x2i32", kind_i32, on_null::stop, false, kind_any}); }
bool x2i64(column* r, const column_list* a) { return through_matrix(r, a, {"x2i64", kind_i64, on_null::stop, false, kind_any}); }
bool x2u08(column* r, const column_list* a) { return through_matrix(r, a, {"x2u08", kind_u08, on_null::stop, false, kind_any}); }
bool x2u16(column* r, const column_list* a) { return through_matrix(r, a, {"x2u16", kind_u16, on_null::stop, false, kind_any}); }
bool x2u32(column* r, const column_list* a) { return through_matrix(r, a, {"x2u32", kind_u32, on_null::stop, false, kind_any}); }
bool x2u64(column* r, const column_list* a) { return through_matrix(r, a, {"x2u64", kind_u64, on_null::keep, false, kind_any}); }
bool x2flt(column* r, const column_list* a) { return through_matrix(r, a, {"x2flt", kind_float, on_null::stop, false, kind_any}); }
bool x2dbl(column* r, const column_list* a) { return through_matrix(r, a, {"x2dbl", kind_double, on_null::stop, false, kind_any}); }
bool x2str(column* r, const column_list* a) { return through_matrix(r, a, {"x2str", kind_string, on_null::keep, false, kind_any}); }
bool x2date(column* r, const column_list* a) { return through_matrix(r, a, {"x2date", kind_date, on_null::stop, false, date_kinds}); }
bool x2time(column* r, const column_list* a) { return through_matrix(r, a, {"x2time", kind_time, on_null::stop, false, date_kinds}); }

// The matrix has no date or time to datetime: a date becomes its midnight, a time (no
// date) null, which stops the call.
bool x2datetime(column* r, const column_list* a) {
  return convert_column(r, a, {"x2datetime", kind_datetime, on_null::stop, false, date_kinds}, val_to_datetime);
}

bool raw2hex(column* result, const column_list* args) {
  if (!arity_is(args, 1) || !args_nonempty(args, 1)) return false;
  return map_values(*result, arg(args, 0), [](val& out, const val& in) {
    val_raw_hex(out, in);
    return true;
  });
}

bool hex2raw(column* result, const column_list* args) {
  if (!arity_is(args, 1) || arg(args, 0).values.size != 1) return false;
  const val& in = arg(args, 0).values[0];
  if (in.type != val_type_text) return unsupported("hex2raw");
  const u64 n = in.len / 2;
  adt::string::string bytes;
  char* out = adt::string::resize(bytes, n, 0);
  for (u64 k = 0; k < n; ++k) {
    const int hi = hex_value(in.text[2 * k]);
    const int lo = hex_value(in.text[2 * k + 1]);
    if (hi < 0 || lo < 0) break;
    out[k] = char(hi * 16 + lo);
  }
  column_resize(*result, 1);
  result->ids[0] = computed_row_id;
  val_assign_str(result->values[0], out, n);
  return true;
}

}  // namespace sql

std::span<const sql_function_def> conversion_functions() {
  static constexpr sql_function_def defs[] = {
      {"x2i08", forward<sql::x2i08>},     {"x2i16", forward<sql::x2i16>},
      {"x2i32", forward<sql::x2i32>},     {"x2i64", forward<sql::x2i64>},
      {"x2u08", forward<sql::x2u08>},     {"x2u16", forward<sql::x2u16>},
      {"x2u32", forward<sql::x2u32>},     {"x2u64", forward<sql::x2u64>},
      {"x2flt", forward<sql::x2flt>},     {"x2dbl", forward<sql::x2dbl>},
      {"x2str", forward<sql::x2str>},     {"x2date", forward<sql::x2date>},
      {"x2time", forward<sql::x2time>},   {"x2datetime", forward<sql::x2datetime>},
      {"raw2hex", forward<sql::raw2hex>}, {"hex2raw", forward<sql::hex2raw>},
  };
  return defs;
}

}  // namespace kk::functions
