#include <math.h>

#include "functions/math_kernels.h"
#include "functions/math_ops.h"
#include "value/convert.h"

namespace kk::functions {

using namespace math_ops;

namespace {
// The number a converted operand stands for; a conversion to null counts as 0.
float as_float(const val& v) {
  const val c = val_convert(kind_float, v, true);
  return c.type == val_type_float ? payload<float>(c) : 0.0f;
}
double as_double(const val& v) {
  const val c = val_convert(kind_double, v, true);
  return c.type == val_type_float ? payload<double>(c) : 0.0;
}
// An integer exponent: widened by its own sign (as the conversion to "i64" or "i32" does),
// then its low 32 bits taken as signed.
double low32(const val& v) {
  if (val_kind_index(v) == kind_none) return 0.0;
  const u64 wide = is_signed_int(v) ? u64(signed_payload(v)) : unsigned_payload(v);
  return double(i32(u32(wide)));
}
}  // namespace

val val_pow(const val& base, const val& exponent) {
  val r;
  const bool int_exp = exponent.type == val_type_int;
  if (is_double(base)) {
    const double e = int_exp ? low32(exponent) : as_double(exponent);
    val_from_double(r, ::pow(payload<double>(base), e));
  } else if (is_float(base)) {
    if (int_exp)
      val_from_double(r, ::pow(double(payload<float>(base)), low32(exponent)));
    else
      val_from_float(r, ::powf(payload<float>(base), as_float(exponent)));
  } else if (int_exp) {
    val_from_double(r, ::pow(double(as_float(base)), low32(exponent)));
  } else {
    val_from_float(r, ::powf(as_float(base), as_float(exponent)));
  }
  return r;
}

}  // namespace kk::functions
