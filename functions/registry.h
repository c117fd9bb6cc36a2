// The SQL functions by name. Each group of functions (conversions, mathematics, ...)
// lists its names with their entries; the registry joins the groups and looks names up.
// The library object registers every name from here into its own map.
#pragma once

#include <span>

#include "adt/string.h"
#include "adt/types.h"
#include "functions/column.h"

namespace kk::functions {

struct sql_function_def {
  const char* name;
  sql_function entry;
};

// Every registered function, group after group, each group in its own order.
std::span<const sql_function_def> sql_function_defs();
// The entry of a name (exact bytes), or null when no function has it.
sql_function find_sql_function(adt::text_view name);
sql_function find_sql_function(const char* name);

}  // namespace kk::functions
