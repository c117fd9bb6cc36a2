// The aggregate and multi-row SQL functions.
//
// Aggregates reduce a column to one value: count, sum, product, min, max, avg, first and
// last append it after the result's old contents; var, stddev and count_unique replace
// the result by it. Selections (sort, unique, min_k, max_k, first_k, last_k, nth, range)
// hold values of the first argument with their source row ids; generators (seq, rand,
// constants, all_case) make new values with row id -1. row_id, id and now_id always fail.
#pragma once

#include <span>

#include "functions/column.h"
#include "functions/registry.h"

namespace kk::functions {

namespace sql {
bool count(column* result, const column_list* args);
bool sum(column* result, const column_list* args);
bool product(column* result, const column_list* args);
bool min(column* result, const column_list* args);
bool max(column* result, const column_list* args);
bool avg(column* result, const column_list* args);
bool first(column* result, const column_list* args);
bool last(column* result, const column_list* args);
bool var(column* result, const column_list* args);
bool stddev(column* result, const column_list* args);
bool sort(column* result, const column_list* args);
bool unique(column* result, const column_list* args);
bool count_unique(column* result, const column_list* args);
bool min_k(column* result, const column_list* args);
bool max_k(column* result, const column_list* args);
bool first_k(column* result, const column_list* args);
bool last_k(column* result, const column_list* args);
bool nth(column* result, const column_list* args);
bool range(column* result, const column_list* args);
bool seq(column* result, const column_list* args);
bool rand(column* result, const column_list* args);
bool constants(column* result, const column_list* args);
bool all_case(column* result, const column_list* args);
}  // namespace sql

// all_case gives 2^letters rows; beyond this many letters it refuses.
inline constexpr u64 all_case_max_letters = 20;

// count ... now_id with their entries, in registration order.
std::span<const sql_function_def> aggregate_functions();

}  // namespace kk::functions
