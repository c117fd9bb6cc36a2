#include "functions/registry.h"

#include <cstring>
#include <vector>

#include "functions/aggregate_functions.h"
#include "functions/conversion_functions.h"
#include "functions/date_time_functions.h"
#include "functions/math_functions.h"
#include "functions/password_hash.h"
#include "functions/text_functions.h"

namespace kk::functions {

namespace {
// A new group adds its list here.
std::vector<sql_function_def> join_groups() {
  const std::span<const sql_function_def> groups[] = {
      conversion_functions(),
      math_functions(),
      password_hash_functions(),
      date_time_functions(),
      aggregate_functions(),
      text_functions(),
  };
  std::vector<sql_function_def> all;
  for (auto g : groups) all.insert(all.end(), g.begin(), g.end());
  return all;
}
}  // namespace

std::span<const sql_function_def> sql_function_defs() {
  static const std::vector<sql_function_def> all = join_groups();
  return all;
}

sql_function find_sql_function(adt::text_view name) {
  for (const sql_function_def& d : sql_function_defs()) {
    const u64 n = std::strlen(d.name);
    if (n == name.size && (n == 0 || std::memcmp(d.name, name.data, n) == 0)) return d.entry;
  }
  return nullptr;
}

sql_function find_sql_function(const char* name) { return find_sql_function(adt::cstr_view(name)); }

}  // namespace kk::functions
