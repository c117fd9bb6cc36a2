// Value kernels of the mathematical SQL functions: one val in, a new val out.
//
// Every kernel but val_abs and val_pow gives a "double". A "float" goes through the
// single-precision libm function and its float result is widened, so it keeps only
// single precision; a "double" through the double function; a signed integer converts to
// double; anything else (unsigned integers, and non-numbers met after a column's first
// value) is read as an unsigned integer of its size code's width, so null counts as 0.
#pragma once

#include "value/val.h"

namespace kk::functions {

// Integers keep their type (the most negative value stays as it is); "float" and "double"
// give a "double" with the sign bit cleared only below zero (-0.0 and NaN unchanged);
// every value that is not a signed integer or a float is copied unchanged.
val val_abs(const val& v);

val val_ceil(const val& v);
val val_round(const val& v);  // halves away from zero
val val_exp(const val& v);
val val_floor(const val& v);
val val_sqrt(const val& v);
val val_log(const val& v);
val val_log2(const val& v);
val val_log10(const val& v);
val val_log1p(const val& v);
val val_sin(const val& v);
val val_cos(const val& v);
val val_tan(const val& v);
val val_asin(const val& v);
val val_acos(const val& v);
val val_atan(const val& v);

// base ^ exponent by the kinds of both: a "double" base gives a "double"; a "float" base
// gives a "double" for an integer exponent and a "float" otherwise (powf); any other base
// passes through a float first and gives a "double" for an integer exponent, a "float"
// otherwise. Integer exponents count by their low 32 bits, signed; an operand that
// converts to null counts as 0. A text operand is parsed as a number and may raise the
// conversion's exceptions.
val val_pow(const val& base, const val& exponent);

// The kernel rule's reading of a value as a number.
double val_number(const val& v);

}  // namespace kk::functions
