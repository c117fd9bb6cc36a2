// The contract every SQL function keeps with its caller, as a table of cases: argument
// count, empty arguments, the kinds of first values with the exact message, the shape of
// the result (replaced or appended), broadcasting of shorter arguments, row ids.
// Each group of functions instantiates the one parameterised test with its own cases.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "functions/function_call.h"
#include "function_test_support.h"

namespace kk::functions::test {

enum class result_shape {
  one_arg_scalar,   // one value per argument value; the result's old contents replaced
  many_arg_scalar,  // one value per row of the longest argument, shorter ones broadcast
  appended,         // one value appended after the result's old contents
  replaced_one,     // exactly one value with row id -1; the result's old contents replaced
  own_shape,        // selections and generators: shape and row ids checked by the group's tests
  always_fails,     // false for every call, the result untouched
};

struct contract_case {
  const char* name;
  u64 arity;
  // Accepted kinds of each argument's first value (kind_any: not tested).
  std::vector<kind_set> kinds;
  // Printed when a first value has another kind; "" when the call fails silently.
  std::string message;
  // How many leading arguments are checked for emptiness.
  u64 nonempty;
  // An empty checked argument gives true with the result untouched (else false, untouched).
  bool empty_gives_true;
  result_shape shape;
  // Arguments with which the call succeeds. For many_arg_scalar the first has several
  // values and the others one; for one_arg_scalar the one argument has several values.
  std::vector<std::vector<val>> good;
  // Further arguments are accepted (only fewer than `arity` is a wrong count).
  bool variadic = false;
  // Per-argument messages where they differ from `message` (empty: `message`).
  std::vector<std::string> arg_messages = {};
};

inline void PrintTo(const contract_case& c, std::ostream* os) { *os << c.name; }

class function_contract : public ::testing::TestWithParam<contract_case> {};

}  // namespace kk::functions::test
