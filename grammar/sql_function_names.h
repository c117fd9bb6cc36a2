#pragma once
// The names of the SQL function library, and the trie that finds the longest of them at a
// position (the native recogniser of the grammar's rule fn_name).
#include "adt/types.h"

namespace kk::grammar::sql {

// In the order in which the library registers them.
inline constexpr u64 function_name_count = 103;
inline constexpr const char* function_names[function_name_count] = {
    "x2i08", "x2i16", "x2i32", "x2i64", "x2u08", "x2u16", "x2u32", "x2u64", "x2flt", "x2dbl",
    "x2str", "x2date", "x2time", "x2datetime", "raw2hex", "hex2raw", "sort", "count", "unique",
    "count_unique", "sum", "product", "min", "max", "min_k", "max_k", "avg", "all_case",
    "lcase", "ucase", "concat", "length", "first_k", "last_k", "nth", "row_id", "id", "now_id",
    "hash_passwd", "range", "first", "last", "substr", "replace", "starts", "contain", "ends",
    "find_first", "find_last", "find_first_of", "find_last_of", "reg_match", "fuzzy_match",
    "trim_l", "trim_r", "trim", "abs", "ceil", "round", "exp", "floor", "pow", "pi", "e", "seq",
    "constants", "rand", "var", "stddev", "sqrt", "log", "log2", "log10", "log1p", "sin", "cos",
    "tan", "asin", "acos", "atan", "now", "date", "time", "is_leap", "last_day", "add_day",
    "add_nanosec", "sub_day", "sub_nanosec", "day_diff", "nanosec_diff", "year_of", "month_of",
    "day_of", "hour_of", "minute_of", "second_of", "nanosec_of", "date_of", "time_of",
    "weekday", "weekday_name", "weekday_cname",
};

// A 128-way byte trie: a byte of 0x80 or above has no child.
struct function_name_trie {
  struct node {
    u8 terminal = 0;
    node** children = nullptr;  // 128 entries, allocated on the first insertion below
  };
  node root;
  function_name_trie() = default;
  function_name_trie(const function_name_trie&) = delete;
  function_name_trie& operator=(const function_name_trie&) = delete;
  ~function_name_trie();
};

// Adds a name; false when it is already present or holds a byte of 0x80 or above.
bool function_name_insert(function_name_trie* trie, const char* name, u64 length);

// Length of the longest name that is a prefix of the text at pos within the remaining
// bytes; 0 when none.
u64 function_name_match(const function_name_trie* trie, const char* pos, u64 remaining) noexcept;

// The trie of the 103 names: a start-up product, built by the start-up sequence (or on the
// first call where none ran) and kept until the process ends.
const function_name_trie& function_name_set();
void function_name_set_build();

}  // namespace kk::grammar::sql
