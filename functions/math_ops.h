// The per-value operations behind the mathematical kernels, inline so that the column
// loops of the SQL functions compile to one tight loop per function.
//
// Each op pairs the single- and double-precision libm function: a "float" is computed in
// float and only then widened, so results keep single precision bit for bit.
#pragma once

#include <math.h>

#include <cstring>

#include "adt/types.h"
#include "value/val.h"

namespace kk::functions::math_ops {

#define RUV_MATH_OP(name, ffn, dfn)                            \
  struct name {                                                \
    static float f(float x) noexcept { return ::ffn(x); }    \
    static double d(double x) noexcept { return ::dfn(x); }  \
  };
RUV_MATH_OP(ceil_op, ceilf, ceil)
RUV_MATH_OP(round_op, roundf, round)
RUV_MATH_OP(exp_op, expf, exp)
RUV_MATH_OP(floor_op, floorf, floor)
RUV_MATH_OP(sqrt_op, sqrtf, sqrt)
RUV_MATH_OP(log_op, logf, log)
RUV_MATH_OP(log2_op, log2f, log2)
RUV_MATH_OP(log10_op, log10f, log10)
RUV_MATH_OP(log1p_op, log1pf, log1p)
RUV_MATH_OP(sin_op, sinf, sin)
RUV_MATH_OP(cos_op, cosf, cos)
RUV_MATH_OP(tan_op, tanf, tan)
RUV_MATH_OP(asin_op, asinf, asin)
RUV_MATH_OP(acos_op, acosf, acos)
RUV_MATH_OP(atan_op, atanf, atan)
#undef RUV_MATH_OP

template <class T>
inline T payload(const val& v) noexcept {
  T x;
  std::memcpy(&x, v.data, sizeof x);
  return x;
}

// An unsigned integer of the size code's width: codes 0, 1, 2 read 1, 2, 4 bytes, any
// other code all 8 payload bytes.
inline u64 unsigned_payload(const val& v) noexcept {
  switch (v.size) {
    case val_size_1: return payload<u8>(v);
    case val_size_2: return payload<u16>(v);
    case val_size_4: return payload<u32>(v);
    default: return payload<u64>(v);
  }
}

inline i64 signed_payload(const val& v) noexcept {
  switch (v.size) {
    case val_size_1: return payload<i8>(v);
    case val_size_2: return payload<i16>(v);
    case val_size_4: return payload<i32>(v);
    default: return payload<i64>(v);
  }
}

// The column types by all three header bytes: a malformed header (off the wire) is none of
// them and so reads as an unsigned payload.
inline bool is_float(const val& v) noexcept {
  return v.type == val_type_float && v.sign == val_sign_na && v.size == val_size_4;
}
inline bool is_double(const val& v) noexcept {
  return v.type == val_type_float && v.sign == val_sign_na && v.size == val_size_8;
}
inline bool is_signed_int(const val& v) noexcept {
  return v.type == val_type_int && v.sign == val_signed && v.size <= val_size_8;
}

// The kernel rule: dispatch on the value's own kind, sign and size code.
template <class Op>
inline double apply(const val& v) noexcept {
  if (is_double(v)) return Op::d(payload<double>(v));
  if (is_float(v)) return double(Op::f(payload<float>(v)));
  if (is_signed_int(v)) return Op::d(double(signed_payload(v)));
  return Op::d(double(unsigned_payload(v)));
}

// out becomes the "double" x: val_from_double inline, for the column loops.
inline void put_double(val& out, double x) {
  if (out.type == val_type_text) val_null(out);  // releases the block
  std::memset(out.data, 0, sizeof out.data);
  std::memcpy(out.data, &x, sizeof x);
  out.text = nullptr;
  out.len = 0;
  out.size = val_size_8;
  out.sign = val_sign_na;
  out.type = val_type_float;
}

// Two's-complement absolute value in the value's own width; the most negative value stays.
template <class S, class U>
inline S wrapping_abs(S x) noexcept {
  const U u = U(x);
  return S(x < 0 ? U(U(0) - u) : u);
}

// val_abs into an existing cell.
inline void abs_into(val& out, const val& v) {
  if (is_double(v)) {
    const double x = payload<double>(v);
    put_double(out, x < 0 ? -x : x);
  } else if (is_float(v)) {
    const float x = payload<float>(v);
    put_double(out, double(x < 0 ? -x : x));
  } else if (is_signed_int(v)) {
    switch (v.size) {
      case val_size_1: val_from_i08(out, wrapping_abs<i8, u8>(payload<i8>(v))); break;
      case val_size_2: val_from_i16(out, wrapping_abs<i16, u16>(payload<i16>(v))); break;
      case val_size_4: val_from_i32(out, wrapping_abs<i32, u32>(payload<i32>(v))); break;
      default: val_from_i64(out, wrapping_abs<i64, u64>(payload<i64>(v))); break;
    }
  } else {
    val_assign(out, v);
  }
}

}  // namespace kk::functions::math_ops
