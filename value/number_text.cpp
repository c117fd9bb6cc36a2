#include "value/number_text.h"

#include <cerrno>
#include <charconv>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>
#include <stdexcept>
#include <string>

namespace kk {

// ---------------------------------------------------------------- integers to text

size_t int_to_chars(char* buf, int64_t x) { return size_t(std::to_chars(buf, buf + int_text_max, x).ptr - buf); }
size_t int_to_chars(char* buf, uint64_t x) { return size_t(std::to_chars(buf, buf + int_text_max, x).ptr - buf); }

namespace {
template <class T>
adt::string::string int_text(T x) {
  char buf[int_text_max];
  size_t n;
  if constexpr (std::is_signed_v<T>) n = int_to_chars(buf, int64_t(x));
  else n = int_to_chars(buf, uint64_t(x));
  return adt::string::string_from_bytes(buf, n);
}
}  // namespace

adt::string::string int_to_text(int8_t x) { return int_text(x); }
adt::string::string int_to_text(uint8_t x) { return int_text(x); }
adt::string::string int_to_text(int16_t x) { return int_text(x); }
adt::string::string int_to_text(uint16_t x) { return int_text(x); }
adt::string::string int_to_text(int32_t x) { return int_text(x); }
adt::string::string int_to_text(uint32_t x) { return int_text(x); }
adt::string::string int_to_text(int64_t x) { return int_text(x); }
adt::string::string int_to_text(uint64_t x) { return int_text(x); }

// ---------------------------------------------------------------- floats to text

namespace {
size_t non_finite_text(char* buf, double x) {
  const char* s = std::isnan(x) ? (std::signbit(x) ? "-nan" : "nan") : (x < 0 ? "-inf" : "inf");
  const size_t n = std::strlen(s);
  std::memcpy(buf, s, n);
  return n;
}

// The digits of "%.*f" (to_chars gives the same exact decimal expansion as C's printf),
// cut to `limit` characters like a zero-filled buffer of limit + 1 bytes.
size_t fixed_text(char* buf, double x, int precision, size_t limit) {
  if (!std::isfinite(x)) return non_finite_text(buf, x);
  char wide[DBL_MAX_10_EXP + 64];
  const auto r = std::to_chars(wide, wide + sizeof wide, x, std::chars_format::fixed, precision);
  size_t n = size_t(r.ptr - wide);
  if (n > limit) n = limit;
  std::memcpy(buf, wide, n);
  return n;
}
}  // namespace

size_t float_to_fixed_text(char* buf, float x) { return fixed_text(buf, double(x), 9, float_text_max); }
size_t double_to_fixed_text(char* buf, double x) { return fixed_text(buf, x, 17, double_text_max); }

// ---------------------------------------------------------------- parse kernels

namespace {
bool blank(char c) { return c == ' ' || (c >= 9 && c <= 13); }
bool digit(char c) { return c >= '0' && c <= '9'; }

template <class U, bool signed_kernel>
U parse_kernel(const char* p, uint64_t n) {
  uint64_t i = 0;
  while (i < n && blank(p[i])) ++i;
  if (i == n) return 0;
  bool negative = false;
  if (p[i] == '+') {
    ++i;
  } else if (p[i] == '-') {
    if (!signed_kernel) return 0;  // no sign for an unsigned kernel: the number ends here
    negative = true;
    ++i;
  }
  U value = 0;
  for (; i < n && digit(p[i]); ++i) value = U(value * 10u + U(p[i] - '0'));
  return negative ? U(U(0) - value) : value;
}
}  // namespace

int32_t parse_i32(const char* p, uint64_t n) { return int32_t(parse_kernel<uint32_t, true>(p, n)); }
int64_t parse_i64(const char* p, uint64_t n) { return int64_t(parse_kernel<uint64_t, true>(p, n)); }
uint32_t parse_u32(const char* p, uint64_t n) { return parse_kernel<uint32_t, false>(p, n); }
uint64_t parse_u64(const char* p, uint64_t n) { return parse_kernel<uint64_t, false>(p, n); }

// ---------------------------------------------------------------- text to float

namespace {
locale_t c_numeric_locale() {
  static const locale_t loc = newlocale(LC_ALL_MASK, "C", locale_t(0));
  return loc;
}

// The C library's reading of a terminated copy, in the C locale whatever the process uses.
template <class F>
F strto_c(const char* p, uint64_t n, const char* invalid, const char* range) {
  std::string copy(p, n);
  const char* s = copy.c_str();
  char* end = nullptr;
  errno = 0;
  F v;
  if constexpr (sizeof(F) == sizeof(float)) v = strtof_l(s, &end, c_numeric_locale());
  else v = strtod_l(s, &end, c_numeric_locale());
  if (end == s) throw std::invalid_argument(invalid);
  if (errno == ERANGE) throw std::out_of_range(range);
  return v;
}

template <class F>
F text_to_real(const char* p, uint64_t n, const char* invalid, const char* range) {
  if (n == 0) return F(0);
  // Fast path for the common decimal forms; whatever it cannot settle exactly as the C
  // library would (signs '+', hexadecimal, range errors, subnormals) goes to the C library.
  // The smallest normal number goes there too: a text just below it rounds up to it and
  // still underflows.
  uint64_t i = 0;
  while (i < n && blank(p[i])) ++i;
  const char* s = p + i;
  const uint64_t m = n - i;
  uint64_t j = m > 0 && s[0] == '-' ? 1 : 0;
  const bool hex = j + 1 < m && s[j] == '0' && (s[j + 1] | 0x20) == 'x';
  if (m > 0 && s[0] != '+' && !hex) {
    F v;
    const auto r = std::from_chars(s, s + m, v);
    if (r.ec == std::errc() && (v == F(0) || !std::isfinite(v) || std::fabs(v) > std::numeric_limits<F>::min()))
      return v;
  }
  return strto_c<F>(p, n, invalid, range);
}
}  // namespace

float text_to_float(const char* p, uint64_t n) {
  return text_to_real<float>(p, n, "invalid stof argument", "stof argument out of range");
}

double text_to_double(const char* p, uint64_t n) {
  return text_to_real<double>(p, n, "invalid stod argument", "stod argument out of range");
}

// ---------------------------------------------------------------- string edits

adt::string::string string_cat_char_string(char c, const adt::string::string& s) {
  adt::string::string r;
  char* d = r.resize(s.size + 1);
  d[0] = c;
  if (s.size) std::memcpy(d + 1, s.data, s.size);
  return r;
}

}  // namespace kk

namespace kk::adt::string {

bool replace(string& s, u64 from, u64 to, text_view t) {
  if (!(from <= to && to < s.size)) return false;
  // A replacement taken from s itself would be moved or freed under our feet: copy it first.
  string keep;
  if (t.size && s.data && t.data < s.data + s.capacity && t.data + t.size > s.data) {
    keep = string_from_bytes(t.data, t.size);
    t = keep.view();
  }
  const u64 n = to - from + 1, m = t.size;
  if (m > n) {
    const u64 old = s.size;
    char* d = s.resize(old + (m - n));
    for (u64 k = old; k > to + 1; --k) d[k - 1 + (m - n)] = d[k - 1];
    std::memcpy(d + from, t.data, m);
  } else {
    char* d = s.data;
    if (m) std::memcpy(d + from, t.data, m);
    if (m < n) {
      for (u64 k = to + 1; k < s.size; ++k) d[k - (n - m)] = d[k];
      s.resize(s.size - (n - m));
    }
  }
  return true;
}

}  // namespace kk::adt::string
