#include "tests/peer/cat_value.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <tuple>

namespace peer {

namespace {
constexpr const char* names[ftype_count] = {"u08", "i08",   "u16",    "i16",    "u32",  "i32",  "u64",
                                            "i64", "float", "double", "string", "date", "time", "datetime"};

struct int_range {
  int64_t lo;
  uint64_t hi;
};
int_range range_of(ftype t) {
  switch (t) {
    case ftype::u08: return {0, 0xFF};
    case ftype::i08: return {-128, 127};
    case ftype::u16: return {0, 0xFFFF};
    case ftype::i16: return {-32768, 32767};
    case ftype::u32: return {0, 0xFFFFFFFFu};
    case ftype::i32: return {std::numeric_limits<int32_t>::min(), 0x7FFFFFFF};
    case ftype::u64: return {0, std::numeric_limits<uint64_t>::max()};
    default: return {std::numeric_limits<int64_t>::min(), static_cast<uint64_t>(std::numeric_limits<int64_t>::max())};
  }
}

std::string two(unsigned v) {
  std::string s(2, '0');
  s[0] = static_cast<char>('0' + v / 10 % 10);
  s[1] = static_cast<char>('0' + v % 10);
  return s;
}
std::string four(unsigned v) { return two(v / 100) + two(v % 100); }

bool digits(std::string_view t, size_t at, size_t n, unsigned& out) {
  if (at + n > t.size()) return false;
  out = 0;
  for (size_t i = 0; i < n; ++i) {
    char c = t[at + i];
    if (c < '0' || c > '9') return false;
    out = out * 10 + static_cast<unsigned>(c - '0');
  }
  return true;
}

bool days_ok(unsigned y, unsigned m, unsigned d) {
  static const unsigned len[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (m < 1 || m > 12 || d < 1) return false;
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return d <= len[m - 1] + (m == 2 && leap ? 1 : 0);
}

// "yyyy-mm-dd"; "0000-00-00" is the zero date (a date column's empty value).
bool read_date(std::string_view t, value& v) {
  unsigned y, m, d;
  if (t.size() != 10 || t[4] != '-' || t[7] != '-' || !digits(t, 0, 4, y) || !digits(t, 5, 2, m) ||
      !digits(t, 8, 2, d) || (!days_ok(y, m, d) && t != "0000-00-00"))
    return false;
  v.year = static_cast<uint16_t>(y);
  v.month = static_cast<uint8_t>(m);
  v.day = static_cast<uint8_t>(d);
  return true;
}

// "hh:mm:ss" with an optional fraction of 1 to 9 digits.
bool read_time(std::string_view t, value& v) {
  unsigned h, mi, s;
  if (t.size() < 8 || t[2] != ':' || t[5] != ':' || !digits(t, 0, 2, h) || !digits(t, 3, 2, mi) ||
      !digits(t, 6, 2, s) || h > 23 || mi > 59 || s > 59)
    return false;
  uint32_t ns = 0;
  if (t.size() > 8) {
    if (t[8] != '.' || t.size() == 9 || t.size() > 18) return false;
    unsigned frac;
    size_t n = t.size() - 9;
    if (!digits(t, 9, n, frac)) return false;
    ns = frac;
    for (size_t i = n; i < 9; ++i) ns *= 10;
  }
  v.hour = static_cast<uint8_t>(h);
  v.minute = static_cast<uint8_t>(mi);
  v.second = static_cast<uint8_t>(s);
  v.nano = ns;
  return true;
}

std::string time_text(const value& v) {
  std::string s = two(v.hour) + ":" + two(v.minute) + ":" + two(v.second) + ".";
  std::string frac(9, '0');
  uint32_t n = v.nano;
  for (int i = 8; i >= 0; --i, n /= 10) frac[i] = static_cast<char>('0' + n % 10);
  size_t keep = 9;
  while (keep > 3 && frac[keep - 1] == '0') --keep;
  return s + frac.substr(0, keep);
}

std::string date_text(const value& v) { return four(v.year) + "-" + two(v.month) + "-" + two(v.day); }

template <class T>
int three_way(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}
}  // namespace

const char* type_name(ftype t) { return names[static_cast<int>(t)]; }

std::optional<ftype> type_from_name(std::string_view name) {
  for (int i = 0; i < ftype_count; ++i)
    if (name == names[i]) return static_cast<ftype>(i);
  return std::nullopt;
}

desc type_desc(ftype t) {
  switch (t) {
    case ftype::u08: return d_u08;
    case ftype::i08: return d_i08;
    case ftype::u16: return d_u16;
    case ftype::i16: return d_i16;
    case ftype::u32: return d_u32;
    case ftype::i32: return d_i32;
    case ftype::u64: return d_u64;
    case ftype::i64: return d_i64;
    case ftype::f32: return d_float;
    case ftype::f64: return d_double;
    case ftype::str: return d_string;
    case ftype::date: return d_date;
    case ftype::time: return d_time;
    case ftype::datetime: return d_datetime;
  }
  return d_null;
}

bool is_integer(ftype t) { return static_cast<int>(t) <= static_cast<int>(ftype::i64); }
bool is_signed_integer(ftype t) {
  return t == ftype::i08 || t == ftype::i16 || t == ftype::i32 || t == ftype::i64;
}

value value::sint(ftype t, int64_t v) {
  value x;
  x.type = t;
  x.i = v;
  return x;
}
value value::uint(ftype t, uint64_t v) {
  value x;
  x.type = t;
  x.u = v;
  return x;
}
value value::real(ftype t, double v) {
  value x;
  x.type = t;
  x.f = t == ftype::f32 ? static_cast<double>(static_cast<float>(v)) : v;
  return x;
}
value value::text(std::string v) {
  value x;
  x.type = ftype::str;
  x.s = std::move(v);
  return x;
}
value value::date(uint16_t y, uint8_t m, uint8_t d) {
  value x;
  x.type = ftype::date;
  x.year = y;
  x.month = m;
  x.day = d;
  return x;
}
value value::time(uint8_t h, uint8_t mi, uint8_t s, uint32_t ns) {
  value x;
  x.type = ftype::time;
  x.hour = h;
  x.minute = mi;
  x.second = s;
  x.nano = ns;
  return x;
}
value value::datetime(uint16_t y, uint8_t m, uint8_t d, uint8_t h, uint8_t mi, uint8_t s, uint32_t ns) {
  value x = date(y, m, d);
  x.type = ftype::datetime;
  x.hour = h;
  x.minute = mi;
  x.second = s;
  x.nano = ns;
  return x;
}
value value::zero(ftype t) {
  switch (t) {
    case ftype::f32:
    case ftype::f64: return real(t, 0);
    case ftype::str: return text("");
    case ftype::date: return date(1970, 1, 1);
    case ftype::time: return time(0, 0, 0, 0);
    case ftype::datetime: return datetime(1970, 1, 1, 0, 0, 0, 0);
    default: return is_signed_integer(t) ? sint(t, 0) : uint(t, 0);
  }
}

cell value::to_cell() const {
  switch (type) {
    case ftype::u08: return u08(static_cast<uint8_t>(u));
    case ftype::i08: return i08(static_cast<int8_t>(i));
    case ftype::u16: return u16(static_cast<uint16_t>(u));
    case ftype::i16: return i16(static_cast<int16_t>(i));
    case ftype::u32: return u32(static_cast<uint32_t>(u));
    case ftype::i32: return i32(static_cast<int32_t>(i));
    case ftype::u64: return u64(u);
    case ftype::i64: return i64(i);
    case ftype::f32: return f32(static_cast<float>(f));
    case ftype::f64: return f64(f);
    case ftype::str: return peer::text(s);
    case ftype::date: return peer::date(year, month, day);
    case ftype::time: return peer::time(hour, minute, second, nano);
    case ftype::datetime: return peer::datetime(year, month, day, hour, minute, second, nano);
  }
  return none();
}

std::string value::str() const {
  char buf[64];
  switch (type) {
    case ftype::f32: {
      auto r = std::to_chars(buf, buf + sizeof buf, static_cast<float>(f));
      return std::string(buf, r.ptr);
    }
    case ftype::f64: {
      auto r = std::to_chars(buf, buf + sizeof buf, f);
      return std::string(buf, r.ptr);
    }
    case ftype::str: return s;
    case ftype::date: return date_text(*this);
    case ftype::time: return time_text(*this);
    case ftype::datetime: return date_text(*this) + " " + time_text(*this);
    default: {
      auto r = is_signed_integer(type) ? std::to_chars(buf, buf + sizeof buf, i) : std::to_chars(buf, buf + sizeof buf, u);
      return std::string(buf, r.ptr);
    }
  }
}

bool value::operator==(const value& o) const { return type == o.type && compare(*this, o) == 0; }

int compare(const value& a, const value& b) {
  switch (a.type) {
    case ftype::f32:
    case ftype::f64: return three_way(a.f, b.f);
    case ftype::str: return three_way(a.s, b.s);
    case ftype::date:
    case ftype::time:
    case ftype::datetime:
      return three_way(std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second, a.nano),
                       std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second, b.nano));
    default: return is_signed_integer(a.type) ? three_way(a.i, b.i) : three_way(a.u, b.u);
  }
}

std::optional<value> value_from_text(ftype t, std::string_view text) {
  value v = value::zero(t);
  switch (t) {
    case ftype::str:
      if (text.size() > 0xFFFF) return std::nullopt;
      v.s.assign(text);
      return v;
    case ftype::date:
      if (!read_date(text, v)) return std::nullopt;
      return v;
    case ftype::time:
      if (!read_time(text, v)) return std::nullopt;
      return v;
    case ftype::datetime:
      if (text.size() < 19 || (text[10] != ' ' && text[10] != 'T') || !read_date(text.substr(0, 10), v) ||
          !read_time(text.substr(11), v))
        return std::nullopt;
      return v;
    case ftype::f32:
    case ftype::f64: {
      double d = 0;
      const char* b = text.data();
      const char* e = b + text.size();
      if (b != e && *b == '+') ++b;
      auto r = std::from_chars(b, e, d);
      if (r.ec != std::errc() || r.ptr != e || !std::isfinite(d)) return std::nullopt;
      return value::real(t, d);
    }
    default: {
      bool neg = false;
      size_t p = 0;
      if (p < text.size() && (text[p] == '+' || text[p] == '-')) neg = text[p++] == '-';
      int base = 10;
      if (text.substr(p, 2) == "0x") {
        base = 16;
        p += 2;
      } else if (text.substr(p, 2) == "0b") {
        base = 2;
        p += 2;
      }
      std::string_view body = text.substr(p);
      if (body.size() >= 2 && body[body.size() - 2] == 'u' && std::string_view("1248").find(body.back()) != std::string_view::npos)
        body.remove_suffix(2);
      uint64_t mag = 0;
      auto r = std::from_chars(body.data(), body.data() + body.size(), mag, base);
      if (body.empty() || r.ec != std::errc() || r.ptr != body.data() + body.size()) return std::nullopt;
      int_range rg = range_of(t);
      if (neg) {
        if (mag > static_cast<uint64_t>(-(rg.lo + 1)) + 1) return std::nullopt;
        if (mag == 0) return is_signed_integer(t) ? value::sint(t, 0) : value::uint(t, 0);
        return value::sint(t, static_cast<int64_t>(0 - mag));
      }
      if (mag > rg.hi) return std::nullopt;
      return is_signed_integer(t) ? value::sint(t, static_cast<int64_t>(mag)) : value::uint(t, mag);
    }
  }
}

std::string csv_field(std::string_view text, std::string_view sep) {
  const bool quote = text.find_first_of("\"\r\n") != std::string_view::npos ||
                     (!sep.empty() && text.find(sep) != std::string_view::npos);
  if (!quote) return std::string(text);
  std::string out = "\"";
  for (char ch : text) {
    if (ch == '"') out += '"';
    out += ch;
  }
  out += '"';
  return out;
}

bool csv_read_record(std::string_view& rest, std::string_view sep, size_t n, std::vector<std::string>& out) {
  out.clear();
  if (n == 0) return false;
  // The end of an unquoted field's line (before its LF or CR LF, or the end of the bytes) and
  // where the next record starts.
  auto line_end = [&rest]() -> std::pair<size_t, size_t> {
    const size_t nl = rest.find('\n');
    if (nl == std::string_view::npos) return {rest.size(), rest.size()};
    return {nl > 0 && rest[nl - 1] == '\r' ? nl - 1 : nl, nl + 1};
  };
  for (size_t f = 0; f < n; ++f) {
    const bool last = f + 1 == n;
    if (!rest.empty() && rest.front() == '"') {
      std::string field;
      size_t p = 1;
      for (;;) {
        if (p >= rest.size()) return false;  // not closed
        if (rest[p] == '"') {
          if (p + 1 < rest.size() && rest[p + 1] == '"') {
            field += '"';
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        field += rest[p++];
      }
      rest.remove_prefix(p);
      out.push_back(std::move(field));
      if (!last) {
        if (sep.empty() || !rest.starts_with(sep)) return false;
        rest.remove_prefix(sep.size());
      } else if (rest.starts_with("\r\n")) {
        rest.remove_prefix(2);
      } else if (rest.starts_with('\n')) {
        rest.remove_prefix(1);
      } else if (!rest.empty()) {
        return false;
      }
      continue;
    }
    auto [end, next] = line_end();
    if (last) {
      out.emplace_back(rest.substr(0, end));
      rest.remove_prefix(next);
      continue;
    }
    size_t at = sep.empty() ? std::string_view::npos : rest.substr(0, end).find(sep);
    if (at == std::string_view::npos) return false;  // fewer fields
    out.emplace_back(rest.substr(0, at));
    rest.remove_prefix(at + sep.size());
  }
  return true;
}

bool csv_skip_record(std::string_view& rest) {
  bool quoted = false;
  for (size_t p = 0; p < rest.size(); ++p) {
    if (rest[p] == '"') {
      quoted = !quoted;  // a doubled quote turns it off and on again
    } else if (rest[p] == '\n' && !quoted) {
      rest.remove_prefix(p + 1);
      return true;
    }
  }
  rest = {};
  return !quoted;
}

}  // namespace peer
