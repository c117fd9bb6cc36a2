// The nineteen mathematical SQL functions: sixteen one-argument functions over the kernels
// of math_kernels.h, pow over two broadcast arguments, and the constants pi and e, which
// take no argument and append one "double".
#pragma once

#include <span>

#include "functions/column.h"
#include "functions/registry.h"

namespace kk::functions {

namespace sql {
bool abs(column* result, const column_list* args);
bool ceil(column* result, const column_list* args);
bool round(column* result, const column_list* args);
bool exp(column* result, const column_list* args);
bool floor(column* result, const column_list* args);
bool pow(column* result, const column_list* args);
bool pi(column* result, const column_list* args);
bool e(column* result, const column_list* args);
bool sqrt(column* result, const column_list* args);
bool log(column* result, const column_list* args);
bool log2(column* result, const column_list* args);
bool log10(column* result, const column_list* args);
bool log1p(column* result, const column_list* args);
bool sin(column* result, const column_list* args);
bool cos(column* result, const column_list* args);
bool tan(column* result, const column_list* args);
bool asin(column* result, const column_list* args);
bool acos(column* result, const column_list* args);
bool atan(column* result, const column_list* args);
}  // namespace sql

// abs ... atan with their entries, in registration order.
std::span<const sql_function_def> math_functions();

}  // namespace kk::functions
