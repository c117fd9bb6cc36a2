#include "functions/math_functions.h"

#include "functions/function_call.h"
#include "functions/math_kernels.h"
#include "functions/math_ops.h"

namespace kk::functions {

using namespace math_ops;

namespace {
// Steps 1-3 of a one-argument function: one non-empty argument whose first value is a number.
const column* number_argument(const column_list* args, const char* name) {
  if (!arity_is(args, 1) || !args_nonempty(args, 1)) return nullptr;
  if (!first_kind_is(arg(args, 0), kind_number, name)) return nullptr;
  return &arg(args, 0);
}

template <class Op>
bool numeric(column* result, const column_list* args, const char* name) {
  const column* a = number_argument(args, name);
  if (!a) return false;
  return map_values(*result, *a, [](val& out, const val& in) {
    put_double(out, apply<Op>(in));
    return true;
  });
}

bool constant(column* result, const column_list* args, double x) {
  if (!arity_is(args, 0)) return false;
  val v;
  val_from_double(v, x);
  column_push(*result, v);
  return true;
}
}  // namespace

namespace sql {

bool abs(column* result, const column_list* args) {
  const column* a = number_argument(args, "abs");
  if (!a) return false;
  return map_values(*result, *a, [](val& out, const val& in) {
    abs_into(out, in);
    return true;
  });
}

bool ceil(column* r, const column_list* a) { return numeric<ceil_op>(r, a, "ceil"); }
bool round(column* r, const column_list* a) { return numeric<round_op>(r, a, "round"); }
bool exp(column* r, const column_list* a) { return numeric<exp_op>(r, a, "exp"); }
bool floor(column* r, const column_list* a) { return numeric<floor_op>(r, a, "floor"); }
bool sqrt(column* r, const column_list* a) { return numeric<sqrt_op>(r, a, "sqrt"); }
bool log(column* r, const column_list* a) { return numeric<log_op>(r, a, "log"); }
bool log2(column* r, const column_list* a) { return numeric<log2_op>(r, a, "log2"); }
bool log10(column* r, const column_list* a) { return numeric<log10_op>(r, a, "log10"); }
bool log1p(column* r, const column_list* a) { return numeric<log1p_op>(r, a, "log1p"); }
bool sin(column* r, const column_list* a) { return numeric<sin_op>(r, a, "sin"); }
bool cos(column* r, const column_list* a) { return numeric<cos_op>(r, a, "cos"); }
bool tan(column* r, const column_list* a) { return numeric<tan_op>(r, a, "tan"); }
bool asin(column* r, const column_list* a) { return numeric<asin_op>(r, a, "asin"); }
bool acos(column* r, const column_list* a) { return numeric<acos_op>(r, a, "acos"); }
bool atan(column* r, const column_list* a) { return numeric<atan_op>(r, a, "atan"); }

// The exponent column is neither tested for emptiness nor for kind: an empty one reads as
// null, which counts as 0.
bool pow(column* result, const column_list* args) {
  if (!arity_is(args, 2) || !args_nonempty(args, 1)) return false;
  if (!first_kind_is(arg(args, 0), kind_number, "pow")) return false;
  const column& base = arg(args, 0);
  const column& exponent = arg(args, 1);
  const val null_cell;
  return map_rows(*result, longest_arg(args, 2), [&](val& out, u64 i) {
    out = val_pow(column_ref_at(base, i, null_cell), column_ref_at(exponent, i, null_cell));
    return true;
  });
}

bool pi(column* r, const column_list* a) { return constant(r, a, 3.141592653589793); }
bool e(column* r, const column_list* a) { return constant(r, a, 2.718281828459045); }

}  // namespace sql

std::span<const sql_function_def> math_functions() {
  static constexpr sql_function_def defs[] = {
      {"abs", forward<sql::abs>},     {"ceil", forward<sql::ceil>},   {"round", forward<sql::round>},
      {"exp", forward<sql::exp>},     {"floor", forward<sql::floor>}, {"pow", forward<sql::pow>},
      {"pi", forward<sql::pi>},       {"e", forward<sql::e>},         {"sqrt", forward<sql::sqrt>},
      {"log", forward<sql::log>},     {"log2", forward<sql::log2>},   {"log10", forward<sql::log10>},
      {"log1p", forward<sql::log1p>}, {"sin", forward<sql::sin>},     {"cos", forward<sql::cos>},
      {"tan", forward<sql::tan>},     {"asin", forward<sql::asin>},   {"acos", forward<sql::acos>},
      {"atan", forward<sql::atan>},
  };
  return defs;
}

}  // namespace kk::functions
