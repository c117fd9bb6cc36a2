// The columns SQL functions read and fill, and the one signature of every entry.
//
// A column is a vector of source row ids beside a vector of values, always of equal
// length; the row id all-ones marks a computed value. An argument shorter than another
// repeats its last value (column_value_at), an empty one reads as null.
#pragma once

#include <initializer_list>

#include "adt/types.h"
#include "adt/vector.h"
#include "value/val.h"

namespace kk {
struct sql_library;  // the library object; only reg_match looks inside it (library_context.h)
}

namespace kk::functions {

inline constexpr u64 computed_row_id = ~u64(0);

struct column {
  adt::vector<u64> ids;
  adt::vector<val> values;
};

// Argument i is first[i].
struct column_list {
  column* first;
  u64 count;
};

using sql_function = bool (*)(sql_library* self, column* result, const column_list* args);
// The form every entry but reg_match forwards to.
using sql_impl = bool (*)(column* result, const column_list* args);

// A copy of value i, else of the last value, else null.
val column_value_at(const column* c, u64 i);
// The same without a copy: the cell itself, or `null_cell` when c is empty.
const val& column_ref_at(const column& c, u64 i, const val& null_cell) noexcept;
// Row id i, else the last row id, else 0.
u64 column_row_id_at(const column* c, u64 i) noexcept;

// Sizes both vectors to n (cells past n stay alive, unused).
void column_resize(column& c, u64 n);
// Appends one value with its row id.
void column_push(column& c, const val& v, u64 row_id = computed_row_id);
// A column of these cells with row ids first_id, first_id + 1, ... (callers and tests).
column column_of(std::initializer_list<val> cells, u64 first_id = 0);

}  // namespace kk::functions
