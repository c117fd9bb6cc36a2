#include "functions/math_kernels.h"

#include "functions/math_ops.h"

namespace kk::functions {

using namespace math_ops;

namespace {
template <class Op>
val unary(const val& v) {
  val r;
  val_from_double(r, apply<Op>(v));
  return r;
}
}  // namespace

val val_abs(const val& v) {
  val r;
  abs_into(r, v);
  return r;
}

val val_ceil(const val& v) { return unary<ceil_op>(v); }
val val_round(const val& v) { return unary<round_op>(v); }
val val_exp(const val& v) { return unary<exp_op>(v); }
val val_floor(const val& v) { return unary<floor_op>(v); }
val val_sqrt(const val& v) { return unary<sqrt_op>(v); }
val val_log(const val& v) { return unary<log_op>(v); }
val val_log2(const val& v) { return unary<log2_op>(v); }
val val_log10(const val& v) { return unary<log10_op>(v); }
val val_log1p(const val& v) { return unary<log1p_op>(v); }
val val_sin(const val& v) { return unary<sin_op>(v); }
val val_cos(const val& v) { return unary<cos_op>(v); }
val val_tan(const val& v) { return unary<tan_op>(v); }
val val_asin(const val& v) { return unary<asin_op>(v); }
val val_acos(const val& v) { return unary<acos_op>(v); }
val val_atan(const val& v) { return unary<atan_op>(v); }

double val_number(const val& v) {
  if (is_double(v)) return payload<double>(v);
  if (is_float(v)) return double(payload<float>(v));
  if (is_signed_int(v)) return double(signed_payload(v));
  return double(unsigned_payload(v));
}

}  // namespace kk::functions
