#include "value/calendar.h"

#include <charconv>
#include <cstring>

namespace kk {

namespace {
constexpr bool leap(uint32_t y) { return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0); }

constexpr auto make_year_starts() {
  struct table {
    uint32_t v[400];
  } t{};
  uint32_t days = 0;
  for (uint32_t y = 0; y < 400; ++y) {
    t.v[y] = days;
    days += leap(y) ? 366 : 365;
  }
  return t;
}
constexpr auto year_starts = make_year_starts();
static_assert(year_starts.v[399] + 365 == days_per_400_years);
}  // namespace

const uint32_t year_start_days[400] = {
#define Y(i) year_starts.v[i]
#define Y10(i) Y(i), Y(i + 1), Y(i + 2), Y(i + 3), Y(i + 4), Y(i + 5), Y(i + 6), Y(i + 7), Y(i + 8), Y(i + 9)
#define Y100(i) Y10(i), Y10(i + 10), Y10(i + 20), Y10(i + 30), Y10(i + 40), Y10(i + 50), Y10(i + 60), \
                Y10(i + 70), Y10(i + 80), Y10(i + 90)
    Y100(0), Y100(100), Y100(200), Y100(300),
#undef Y100
#undef Y10
#undef Y
};

const uint16_t month_start_days[2][12] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335},
};

const uint8_t month_length_days[2][13] = {
    {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

month_day day_of_year_common[365];
month_day day_of_year_leap[366];

void day_of_year_fill(month_day* table, uint32_t year_days, const uint16_t* month_start) {
  for (uint32_t d = 0; d < year_days; ++d) table[d] = {1, 1};
  uint32_t m = 0;
  for (uint32_t d = 1; d <= year_days; ++d) {
    // m < 11 first: month_start has no entry after December.
    if (m < 11 && d > month_start[m + 1]) ++m;
    table[d - 1] = {uint8_t(m + 1), uint8_t(d - month_start[m])};
  }
}

bool is_leap_year(uint32_t year) { return leap(year); }

uint8_t days_in_month(uint16_t year, uint8_t month) {
  if (month < 1 || month > 12) return 0;
  return month_length_days[leap(year)][month];
}

uint32_t date_to_days(uint16_t year, uint8_t month, uint8_t day) {
  // Fields may come straight off the wire: check before indexing the month tables.
  if (day < 1 || day > days_in_month(year, month)) return 0;
  return year_start_days[year % 400] + uint32_t(year / 400) * days_per_400_years +
         month_start_days[leap(year)][month - 1] + day;
}

uint32_t max_day_number() { return date_to_days(65535, 12, 31); }

bool days_to_civil(uint32_t n, uint16_t& year, uint8_t& month, uint8_t& day) {
  if (n == 0 || n > max_day_number()) return false;
  const uint32_t q = n / days_per_400_years, r = n % days_per_400_years;
  uint32_t c = 0, f = 0, s = r;
  if (r >= 36525) {
    c = (r - 1) / 36524;
    s = r - c * 36524;
    if (s >= 1460) {
      f = s / 1461;
      s = s % 1461;
    }
  } else if (r >= 1461) {
    f = r / 1461;
    s = r % 1461;
  }
  const uint32_t k = s < 366 ? 0 : s < 731 ? 1 : s < 1096 ? 2 : 3;
  uint32_t y = (c * 25 + f) * 4 + k;
  uint32_t y_full = q * 400 + y;
  uint32_t doy = r - year_start_days[y];
  if (doy == 0) {
    year = uint16_t(y_full - 1);
    month = 12;
    day = 31;
    return true;
  }
  const month_day md = leap(y_full) ? day_of_year_leap[doy - 1] : day_of_year_common[doy - 1];
  year = uint16_t(y_full);
  month = md.month;
  day = md.day;
  return true;
}

bool date_add_days(datetime_fields& f, uint32_t count) {
  if (count == 0) return true;
  const uint32_t n = date_to_days(f.year, f.month, f.day);
  if (n == 0) return false;
  // Modulo 2^32, so a count that came from a negative number moves back; a result outside
  // the calendar is refused rather than wrapped into a 16-bit year.
  const uint32_t sum = n + count;
  return days_to_civil(sum, f.year, f.month, f.day);
}

bool datetime_add_nanoseconds(datetime_fields& f, uint64_t add) {
  const unsigned __int128 total = (unsigned __int128)f.nanosecond + add;
  if (total < ns_per_second) {
    f.nanosecond = uint32_t(total);
    return true;
  }
  // 128 bits: a large count must not wrap the sum.
  unsigned __int128 t = (unsigned __int128)((uint64_t(f.hour) * 60 + f.minute) * 60 + f.second) * ns_per_second + total;
  const unsigned __int128 days = t / ns_per_day;
  datetime_fields r = f;
  const bool time_only = f.year == 0 && f.month == 0 && f.day == 0;
  if (days > 0) {
    if (!time_only) {
      if (days > 0xFFFFFFFFu || !date_add_days(r, uint32_t(days))) return false;
    }
    t -= days * ns_per_day;
  }
  const uint64_t secs = uint64_t(t / ns_per_second);
  r.hour = uint8_t(secs / 3600);
  r.minute = uint8_t(secs % 3600 / 60);
  r.second = uint8_t(secs % 60);
  r.nanosecond = uint32_t(t % ns_per_second);
  f = r;
  return true;
}

// ---------------------------------------------------------------- parsing

namespace {
bool digit(char c) { return c >= '0' && c <= '9'; }

// Reads `count` digits at p[at..]; false when the text ends or a byte is no digit.
bool digits(const char* p, uint64_t n, uint64_t at, int count, uint32_t& out) {
  uint32_t v = 0;
  for (int i = 0; i < count; ++i) {
    if (at + i >= n || !digit(p[at + i])) return false;
    v = v * 10 + uint32_t(p[at + i] - '0');
  }
  out = v;
  return true;
}

bool byte_is(const char* p, uint64_t n, uint64_t at, char c) { return at < n && p[at] == c; }
}  // namespace

bool date_parse(datetime_fields& out, const char* p, uint64_t n) {
  uint32_t y, m, d;
  if (!digits(p, n, 0, 4, y) || !byte_is(p, n, 4, '-') || !digits(p, n, 5, 2, m) || !byte_is(p, n, 7, '-') ||
      !digits(p, n, 8, 2, d))
    return false;
  out.year = uint16_t(y);
  out.month = uint8_t(m);
  out.day = uint8_t(d);
  return d >= 1 && d <= days_in_month(out.year, out.month);
}

bool time_parse(datetime_fields& out, const char* p, uint64_t n) {
  uint32_t h, m, s;
  if (!digits(p, n, 0, 2, h) || !byte_is(p, n, 2, ':') || !digits(p, n, 3, 2, m) || !byte_is(p, n, 5, ':') ||
      !digits(p, n, 6, 2, s))
    return false;
  out.hour = uint8_t(h);
  out.minute = uint8_t(m);
  out.second = uint8_t(s);
  if (byte_is(p, n, 8, '.')) {
    uint32_t frac = 0;
    int count = 0;
    for (uint64_t i = 9; i < n && digit(p[i]); ++i) {
      // A nanosecond has nine digits; finer digits are dropped rather than overflowing.
      if (count < 9) {
        frac = frac * 10 + uint32_t(p[i] - '0');
        ++count;
      }
    }
    for (; count < 9; ++count) frac *= 10;
    out.nanosecond = frac;
  }
  return h < 24 && m < 60 && s < 60;
}

bool datetime_parse(datetime_fields& out, const char* p, uint64_t n) {
  if (n < 11) return false;
  datetime_fields f;
  if (!date_parse(f, p, n)) return false;
  if (!time_parse(f, p + 11, n - 11)) return false;
  out = f;
  return true;
}

// ---------------------------------------------------------------- texts

namespace {
// Decimal, padded on the left with '0' to at least `width` digits.
size_t padded(char* buf, uint32_t v, size_t width) {
  char tmp[12];
  const size_t n = size_t(std::to_chars(tmp, tmp + sizeof tmp, v).ptr - tmp);
  size_t at = 0;
  for (; at + n < width; ++at) buf[at] = '0';
  std::memcpy(buf + at, tmp, n);
  return at + n;
}
}  // namespace

size_t date_to_chars(char* buf, const datetime_fields& f) {
  size_t n = padded(buf, f.year, 4);
  buf[n++] = '-';
  n += padded(buf + n, f.month, 2);
  buf[n++] = '-';
  n += padded(buf + n, f.day, 2);
  return n;
}

size_t time_to_chars(char* buf, const datetime_fields& f) {
  size_t n = padded(buf, f.hour, 2);
  buf[n++] = ':';
  n += padded(buf + n, f.minute, 2);
  buf[n++] = ':';
  n += padded(buf + n, f.second, 2);
  if (f.nanosecond != 0) {
    char frac[12];
    size_t k = padded(frac, f.nanosecond, 9);
    while (k > 0 && frac[k - 1] == '0') --k;
    buf[n++] = '.';
    std::memcpy(buf + n, frac, k);
    n += k;
  }
  return n;
}

size_t datetime_to_chars(char* buf, const datetime_fields& f) {
  size_t n = date_to_chars(buf, f);
  buf[n++] = ' ';
  return n + time_to_chars(buf + n, f);
}

adt::string::string date_to_text(const datetime_fields& f) {
  char buf[calendar_text_max];
  return adt::string::string_from_bytes(buf, date_to_chars(buf, f));
}

adt::string::string time_to_text(const datetime_fields& f) {
  char buf[calendar_text_max];
  return adt::string::string_from_bytes(buf, time_to_chars(buf, f));
}

adt::string::string datetime_to_text(const datetime_fields& f) {
  char buf[calendar_text_max];
  return adt::string::string_from_bytes(buf, datetime_to_chars(buf, f));
}

}  // namespace kk
