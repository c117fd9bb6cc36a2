// The calling convention every SQL function follows, step by step: argument count,
// non-empty arguments, the kind of each argument's FIRST value (later values pass
// unchecked), count parameters, the shape of the result and its row ids.
//
// Entries never let an exception out: forward<impl> turns anything raised (a text that is
// no number, exhausted memory) into false, keeping the rows written so far.
#pragma once

#include "adt/types.h"
#include "functions/column.h"
#include "value/val.h"

namespace kk::functions {

// Sets of value kinds (the type byte of a val), for the first-value checks.
using kind_set = u8;
inline constexpr kind_set kinds_of(u8 type) { return type <= val_type_null ? kind_set(1u << type) : 0; }
inline constexpr kind_set kind_integer = kinds_of(val_type_int);
inline constexpr kind_set kind_floating = kinds_of(val_type_float);
inline constexpr kind_set kind_text = kinds_of(val_type_text);
inline constexpr kind_set kind_date_only = kinds_of(val_type_date);
inline constexpr kind_set kind_time_only = kinds_of(val_type_time);
inline constexpr kind_set kind_datetime_only = kinds_of(val_type_datetime);
inline constexpr kind_set kind_null = kinds_of(val_type_null);
inline constexpr kind_set kind_number = kind_integer | kind_floating;
inline constexpr kind_set kind_any = 0x7f;
// Integers with the unsigned sign byte only (count and position parameters).
inline constexpr kind_set kind_unsigned = 0x80;

inline bool is_unsigned_integer(const val& v) {
  return v.type == val_type_int && v.sign == val_unsigned;
}
inline bool kind_in(const val& v, kind_set kinds) {
  return (kinds_of(v.type) & kinds) != 0 || ((kinds & kind_unsigned) && is_unsigned_integer(v));
}

// Step 1.
inline bool arity_is(const column_list* args, u64 n) { return args->count == n; }
inline const column& arg(const column_list* args, u64 i) { return args->first[i]; }
// Step 2: every one of the first n arguments holds a value.
bool args_nonempty(const column_list* args, u64 n);
// The largest value count of the first n arguments (the length of a many-argument scalar).
u64 longest_arg(const column_list* args, u64 n);

// Step 3. Prints "unsupport type in function <name>\n"; returns false for the caller to return.
bool unsupported(const char* name);
// Prints the text as it stands (the deviating messages); returns false.
bool report(const char* message);
// True when c's first value has one of the kinds; else the message for name and false.
bool first_kind_is(const column& c, kind_set kinds, const char* name);

// Step 4: the first value of a parameter column, an unsigned integer of any width, read as
// u64; narrower parameters saturate instead of wrapping.
u64 param_u64(const column& c);
u32 param_u32(const column& c);
u8 param_u08(const column& c);

// Step 5, one-argument scalar: the result gets one value per argument value, each with row
// id -1; kernel(out, in) fills out and returns false to stop the call (the row written so
// far stays). Returns false when the kernel stopped.
template <class Kernel>
bool map_values(column& result, const column& argument, Kernel&& kernel) {
  const u64 n = argument.values.size;
  column_resize(result, n);
  for (u64 i = 0; i < n; ++i) {
    result.ids[i] = computed_row_id;
    if (!kernel(result.values[i], argument.values[i])) return false;
  }
  return true;
}

// Step 5, many-argument scalar: n results, row ids -1, kernel(out, i) fills row i.
template <class Kernel>
bool map_rows(column& result, u64 n, Kernel&& kernel) {
  column_resize(result, n);
  for (u64 i = 0; i < n; ++i) {
    result.ids[i] = computed_row_id;
    if (!kernel(result.values[i], i)) return false;
  }
  return true;
}

// A result column that is also one of the arguments: impl then reads copies of the
// arguments, so that no row it writes changes a value it has still to read.
bool result_is_argument(const column* result, const column_list* args) noexcept;
bool call_on_copies(sql_impl impl, column* result, const column_list* args);

// The entry of an implementation that ignores the library object.
template <sql_impl impl>
bool forward(sql_library*, column* result, const column_list* args) noexcept {
  if (!result || !args || (args->count && !args->first)) return false;
  try {
    if (result_is_argument(result, args)) return call_on_copies(impl, result, args);
    return impl(result, args);
  } catch (...) {
    return false;
  }
}

}  // namespace kk::functions
