// The sixteen conversion SQL functions: x2i08 ... x2datetime convert every value of their
// one argument through the conversion matrix to one column type; raw2hex prints a value's
// stored bytes as hexadecimal text and hex2raw turns such a text back into bytes.
#pragma once

#include <span>

#include "functions/column.h"
#include "functions/registry.h"
#include "value/val.h"

namespace kk::functions {

namespace sql {
bool x2i08(column* result, const column_list* args);
bool x2i16(column* result, const column_list* args);
bool x2i32(column* result, const column_list* args);
bool x2i64(column* result, const column_list* args);
bool x2u08(column* result, const column_list* args);
bool x2u16(column* result, const column_list* args);
bool x2u32(column* result, const column_list* args);
bool x2u64(column* result, const column_list* args);
bool x2flt(column* result, const column_list* args);
bool x2dbl(column* result, const column_list* args);
bool x2str(column* result, const column_list* args);
bool x2date(column* result, const column_list* args);
bool x2time(column* result, const column_list* args);
bool x2datetime(column* result, const column_list* args);
bool raw2hex(column* result, const column_list* args);
bool hex2raw(column* result, const column_list* args);
}  // namespace sql

// x2i08 ... hex2raw with their entries, in registration order.
std::span<const sql_function_def> conversion_functions();

// A "datetime" from a date (at 00:00:00.000000000), a datetime (copied) or a text (parsed);
// null for a time, which has no date, and for every other kind.
void val_to_datetime(val& out, const val& v);

// The lowercase hex text of a value's stored bytes, least significant first: integers and
// floats by their width, a text's bytes, a date's 4 bytes, a time's 7, a datetime's 11.
// Null for a null or malformed value and when the text would pass 65535 bytes.
void val_raw_hex(val& out, const val& v);

}  // namespace kk::functions
