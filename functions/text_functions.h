// The text SQL functions: case mapping, joining, length, cutting and replacing, prefix,
// suffix and substring tests, searches, trimming, whole-text regular-expression matching
// and approximate matching. Texts are bytes: lengths and positions count bytes, and only
// ASCII letters change case. A result text that would exceed a cell's 65535 bytes is
// null for that row, never cut.
#pragma once

#include <span>

#include "adt/types.h"
#include "functions/column.h"
#include "functions/registry.h"

namespace kk::grammar {
struct regex_engine;
}

namespace kk::functions {

namespace sql {
bool lcase(column* result, const column_list* args);
bool ucase(column* result, const column_list* args);
bool concat(column* result, const column_list* args);
bool length(column* result, const column_list* args);
bool substr(column* result, const column_list* args);
bool replace(column* result, const column_list* args);
bool starts(column* result, const column_list* args);
bool contain(column* result, const column_list* args);
bool ends(column* result, const column_list* args);
bool find_first(column* result, const column_list* args);
bool find_last(column* result, const column_list* args);
bool find_first_of(column* result, const column_list* args);
bool find_last_of(column* result, const column_list* args);
bool fuzzy_match(column* result, const column_list* args);
bool trim_l(column* result, const column_list* args);
bool trim_r(column* result, const column_list* args);
bool trim(column* result, const column_list* args);
// reg_match over an engine (the library object's, or a test's); a null engine matches
// nothing and makes the call fail after the argument checks.
bool reg_match(grammar::regex_engine* engine, column* result, const column_list* args);
}  // namespace sql

// Levenshtein distance (unit costs) between a[0 .. na) and b[0 .. nb) over two rows of
// row_a and row_b, each of nb + 1 cells; any distance above limit is returned as limit + 1.
u64 edit_distance_within(const char* a, u64 na, const char* b, u64 nb, u64 limit, u32* row_a, u32* row_b) noexcept;

// lcase ... trim with their entries, in registration order.
std::span<const sql_function_def> text_functions();

}  // namespace kk::functions
