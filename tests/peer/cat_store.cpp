#include "tests/peer/cat_store.h"

#include <bit>
#include <tuple>

namespace peer {

namespace {

void put_le(char* p, uint64_t v, int n) {
  for (int i = 0; i < n; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
uint64_t get_le(const char* p, int n) {
  uint64_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(p[i]);
  return v;
}

// Signed integers widened by their sign from n wire bytes.
int64_t get_signed(const char* p, int n) {
  const uint64_t v = get_le(p, n);
  const int shift = 64 - 8 * n;
  return static_cast<int64_t>(v << shift) >> shift;
}

float get_float(const char* p) { return std::bit_cast<float>(static_cast<uint32_t>(get_le(p, 4))); }
double get_double(const char* p) { return std::bit_cast<double>(get_le(p, 8)); }

// A date, time or datetime cell's fields in the order they compare.
std::tuple<unsigned, unsigned, unsigned, unsigned, unsigned, unsigned, uint64_t> moment(ftype t, const char* p) {
  unsigned y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  uint64_t ns = 0;
  if (t != ftype::time) {
    y = static_cast<unsigned>(get_le(p, 2));
    mo = static_cast<unsigned char>(p[2]);
    d = static_cast<unsigned char>(p[3]);
    p += 4;
  }
  if (t != ftype::date) {
    h = static_cast<unsigned char>(p[0]);
    mi = static_cast<unsigned char>(p[1]);
    s = static_cast<unsigned char>(p[2]);
    ns = get_le(p + 3, 4);
  }
  return {y, mo, d, h, mi, s, ns};
}

template <class T>
int three_way(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// The wire bytes of a fixed-width value into p (fixed_width(v.type) of them).
void write_fixed(char* p, const value& v) {
  switch (v.type) {
    case ftype::u08:
    case ftype::u16:
    case ftype::u32:
    case ftype::u64: put_le(p, v.u, fixed_width(v.type)); return;
    case ftype::i08:
    case ftype::i16:
    case ftype::i32:
    case ftype::i64: put_le(p, static_cast<uint64_t>(v.i), fixed_width(v.type)); return;
    case ftype::f32: put_le(p, std::bit_cast<uint32_t>(static_cast<float>(v.f)), 4); return;
    case ftype::f64: put_le(p, std::bit_cast<uint64_t>(v.f), 8); return;
    case ftype::date:
    case ftype::datetime:
      put_le(p, v.year, 2);
      p[2] = static_cast<char>(v.month);
      p[3] = static_cast<char>(v.day);
      if (v.type == ftype::date) return;
      p += 4;
      [[fallthrough]];
    case ftype::time:
      p[0] = static_cast<char>(v.hour);
      p[1] = static_cast<char>(v.minute);
      p[2] = static_cast<char>(v.second);
      put_le(p + 3, v.nano, 4);
      return;
    case ftype::str: return;
  }
}

}  // namespace

int fixed_width(ftype t) {
  switch (t) {
    case ftype::u08:
    case ftype::i08: return 1;
    case ftype::u16:
    case ftype::i16: return 2;
    case ftype::u32:
    case ftype::i32:
    case ftype::f32:
    case ftype::date: return 4;
    case ftype::time: return 7;
    case ftype::datetime: return 11;
    case ftype::str: return 0;
    default: return 8;  // u64, i64, double
  }
}

field_column::field_column(ftype t) : type_(t), width_(fixed_width(t)) {}

std::string_view field_column::cell(size_t row) const {
  if (width_) return {fixed_.data() + row * static_cast<size_t>(width_), static_cast<size_t>(width_)};
  const char* p = text_.data() + at_[row];
  return {p, 2 + static_cast<size_t>(get_le(p, 2))};
}

value field_column::get(size_t row) const {
  const std::string_view c = cell(row);
  const char* p = c.data();
  switch (type_) {
    case ftype::u08:
    case ftype::u16:
    case ftype::u32:
    case ftype::u64: return value::uint(type_, get_le(p, width_));
    case ftype::i08:
    case ftype::i16:
    case ftype::i32:
    case ftype::i64: return value::sint(type_, get_signed(p, width_));
    case ftype::f32: return value::real(type_, get_float(p));
    case ftype::f64: return value::real(type_, get_double(p));
    case ftype::str: return value::text(std::string(c.substr(2)));
    default: {
      auto [y, mo, d, h, mi, s, ns] = moment(type_, p);
      value v = value::zero(type_);
      if (type_ != ftype::time) {
        v.year = static_cast<uint16_t>(y);
        v.month = static_cast<uint8_t>(mo);
        v.day = static_cast<uint8_t>(d);
      }
      if (type_ != ftype::date) {
        v.hour = static_cast<uint8_t>(h);
        v.minute = static_cast<uint8_t>(mi);
        v.second = static_cast<uint8_t>(s);
        v.nano = static_cast<uint32_t>(ns);
      }
      return v;
    }
  }
}

void field_column::push(const value& v) {
  if (width_) {
    fixed_.resize(fixed_.size() + static_cast<size_t>(width_));
    write_fixed(fixed_.data() + rows_ * static_cast<size_t>(width_), v);
  } else {
    at_.push_back(text_.size());
    char len[2];
    put_le(len, v.s.size(), 2);  // values hold at most 65535 bytes
    text_.append(len, 2).append(v.s);
  }
  ++rows_;
}

void field_column::push_cell(std::string_view wire) {
  if (width_) {
    fixed_.append(wire.substr(0, static_cast<size_t>(width_)));
  } else {
    at_.push_back(text_.size());
    text_.append(wire);
  }
  ++rows_;
}

void field_column::set(size_t row, const value& v) {
  if (width_) {
    write_fixed(fixed_.data() + row * static_cast<size_t>(width_), v);
    return;
  }
  stale_ += cell(row).size();
  at_[row] = text_.size();
  char len[2];
  put_le(len, v.s.size(), 2);
  text_.append(len, 2).append(v.s);
  compact_if_sparse();
}

int field_column::compare(size_t a, size_t b) const {
  const char* x = cell(a).data();
  const char* y = cell(b).data();
  switch (type_) {
    case ftype::u08:
    case ftype::u16:
    case ftype::u32:
    case ftype::u64: return three_way(get_le(x, width_), get_le(y, width_));
    case ftype::i08:
    case ftype::i16:
    case ftype::i32:
    case ftype::i64: return three_way(get_signed(x, width_), get_signed(y, width_));
    case ftype::f32: return three_way(static_cast<double>(get_float(x)), static_cast<double>(get_float(y)));
    case ftype::f64: return three_way(get_double(x), get_double(y));
    case ftype::str: {
      const int k = cell(a).substr(2).compare(cell(b).substr(2));
      return k < 0 ? -1 : (k > 0 ? 1 : 0);
    }
    default: return three_way(moment(type_, x), moment(type_, y));
  }
}

void field_column::keep(const std::vector<size_t>& rows) {
  if (width_) {
    const size_t w = static_cast<size_t>(width_);
    std::string out(rows.size() * w, '\0');
    for (size_t i = 0; i < rows.size(); ++i) fixed_.copy(out.data() + i * w, w, rows[i] * w);
    fixed_ = std::move(out);
  } else {
    std::string out;
    std::vector<uint64_t> at(rows.size());
    size_t bytes = 0;
    for (size_t r : rows) bytes += cell(r).size();
    out.reserve(bytes);
    for (size_t i = 0; i < rows.size(); ++i) {
      at[i] = out.size();
      out.append(cell(rows[i]));
    }
    text_ = std::move(out);
    at_ = std::move(at);
    stale_ = 0;
  }
  rows_ = rows.size();
}

void field_column::reserve(size_t rows, size_t text_bytes) {
  if (width_) {
    fixed_.reserve(rows * static_cast<size_t>(width_));
  } else {
    at_.reserve(rows);
    text_.reserve(text_bytes);
  }
}

void field_column::compact_if_sparse() {
  if (stale_ < (64u << 10) || 2 * stale_ < text_.size()) return;
  std::vector<size_t> all(rows_);
  for (size_t i = 0; i < rows_; ++i) all[i] = i;
  keep(all);
}

}  // namespace peer
