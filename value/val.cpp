#include "value/val.h"

#include <cmath>
#include <cstring>
#include <type_traits>
#include <utility>

#include "value/val_block.h"

namespace kk {

static_assert(std::is_standard_layout_v<val>);

// ---------------------------------------------------------------- kinds

namespace {
constexpr uint8_t kind_at(uint8_t type, uint8_t sign, uint8_t size) {
  return static_cast<uint8_t>((type * 3 + sign) * 6 + size);
}

constexpr auto make_kind_table() {
  struct table {
    uint8_t v[126];
  } t{};
  for (auto& b : t.v) b = kind_none;
  for (uint8_t size = 0; size < 4; ++size)
    for (uint8_t sign = 0; sign < 2; ++sign)
      t.v[kind_at(val_type_int, sign, size)] = static_cast<uint8_t>(2 * size + sign);
  t.v[kind_at(val_type_float, val_sign_na, val_size_4)] = kind_float;
  t.v[kind_at(val_type_float, val_sign_na, val_size_8)] = kind_double;
  t.v[kind_at(val_type_text, val_sign_na, val_size_text)] = kind_string;
  t.v[kind_at(val_type_date, val_sign_na, val_size_other)] = kind_date;
  t.v[kind_at(val_type_time, val_sign_na, val_size_other)] = kind_time;
  t.v[kind_at(val_type_datetime, val_sign_na, val_size_other)] = kind_datetime;
  return t;
}
constexpr auto kind_table_data = make_kind_table();

const char* const kind_names[kind_count] = {"i08", "u08", "i16",    "u16",    "i32",  "u32",  "i64",
                                            "u64", "float", "double", "string", "date", "time", "datetime"};
const column_desc kind_headers[kind_count] = {
    {0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 0}, {2, 0, 0}, {2, 1, 0}, {3, 0, 0},
    {3, 1, 0}, {2, 2, 1}, {3, 2, 1}, {4, 2, 2}, {5, 2, 3}, {5, 2, 4}, {5, 2, 5},
};
}  // namespace

const uint8_t val_kind_table[126] = {
#define K(i) kind_table_data.v[i]
    K(0),   K(1),   K(2),   K(3),   K(4),   K(5),   K(6),   K(7),   K(8),   K(9),   K(10),  K(11),
    K(12),  K(13),  K(14),  K(15),  K(16),  K(17),  K(18),  K(19),  K(20),  K(21),  K(22),  K(23),
    K(24),  K(25),  K(26),  K(27),  K(28),  K(29),  K(30),  K(31),  K(32),  K(33),  K(34),  K(35),
    K(36),  K(37),  K(38),  K(39),  K(40),  K(41),  K(42),  K(43),  K(44),  K(45),  K(46),  K(47),
    K(48),  K(49),  K(50),  K(51),  K(52),  K(53),  K(54),  K(55),  K(56),  K(57),  K(58),  K(59),
    K(60),  K(61),  K(62),  K(63),  K(64),  K(65),  K(66),  K(67),  K(68),  K(69),  K(70),  K(71),
    K(72),  K(73),  K(74),  K(75),  K(76),  K(77),  K(78),  K(79),  K(80),  K(81),  K(82),  K(83),
    K(84),  K(85),  K(86),  K(87),  K(88),  K(89),  K(90),  K(91),  K(92),  K(93),  K(94),  K(95),
    K(96),  K(97),  K(98),  K(99),  K(100), K(101), K(102), K(103), K(104), K(105), K(106), K(107),
    K(108), K(109), K(110), K(111), K(112), K(113), K(114), K(115), K(116), K(117), K(118), K(119),
    K(120), K(121), K(122), K(123), K(124), K(125),
#undef K
};

uint8_t val_kind_index(uint8_t type, uint8_t sign, uint8_t size) {
  // Header bytes come off the wire unchecked: each must be inside its own range, or the
  // flat index could land on another entry or past the table.
  if (type > val_type_null || sign > val_sign_na || size > val_size_other) return kind_none;
  return val_kind_table[kind_at(type, sign, size)];
}

uint8_t val_kind_index(const val& v) { return val_kind_index(v.type, v.sign, v.size); }

const char* val_kind_name(uint8_t kind) { return kind < kind_count ? kind_names[kind] : nullptr; }

bool val_kind_header(uint8_t kind, column_desc& out) {
  if (kind >= kind_count) return false;
  out = kind_headers[kind];
  return true;
}

void column_desc_init(column_desc& d) {
  d.size = val_size_other;
  d.sign = val_sign_na;
  d.type = val_type_null;
}

// ---------------------------------------------------------------- lifetime

namespace {
// Only a text owns its block (the same rule as val_clear).
void release_text(val& v) {
  if (v.type == val_type_text && v.text) val_block_free(v.text);
  v.text = nullptr;
  v.len = 0;
}

// A text's inline bytes are zero whatever the source carried there.
void copy_payload(val& to, const val& from) {
  if (from.type == val_type_text) std::memset(to.data, 0, sizeof to.data);
  else std::memcpy(to.data, from.data, sizeof to.data);
}

void set_header(val& v, uint8_t size, uint8_t sign, uint8_t type) {
  v.size = size;
  v.sign = sign;
  v.type = type;
}

// Replaces v by a non-text shape with zeroed payload.
void become(val& v, uint8_t size, uint8_t sign, uint8_t type) {
  release_text(v);
  std::memset(v.data, 0, sizeof v.data);
  set_header(v, size, sign, type);
}

template <class T>
void put(val& v, T x) {
  std::memcpy(v.data, &x, sizeof x);
}

template <class T>
T get(const val& v) {
  T x;
  std::memcpy(&x, v.data, sizeof x);
  return x;
}

// Moves from's payload, text block and header into to, whose text is already released;
// from keeps its header but no longer owns the text.
void take(val& to, val& from) noexcept {
  std::memcpy(to.data, from.data, sizeof to.data);
  to.text = from.text;
  to.len = from.len;
  set_header(to, from.size, from.sign, from.type);
  from.text = nullptr;
  from.len = 0;
}
}  // namespace

val::val() noexcept : data{}, text(nullptr), len(0), size(val_size_other), sign(val_sign_na), type(val_type_null) {}

val::val(const val& other) : val() { val_copy(*this, other); }

val::val(val&& other) noexcept : val() { take(*this, other); }

val& val::operator=(const val& other) { return val_assign(*this, other); }

val& val::operator=(val&& other) noexcept {
  if (this != &other) {
    release_text(*this);
    take(*this, other);
  }
  return *this;
}

val::~val() { val_clear(*this); }

void val_null(val& out) { become(out, val_size_other, val_sign_na, val_type_null); }

bool val_is_null(const val& v) { return v.type == val_type_null; }

void val_clear(val& v) { release_text(v); }

void val_copy(val& out, const val& src) {
  if (&out == &src) return;
  char* block = nullptr;
  if (src.type == val_type_text && src.len > 0) {
    block = val_block_alloc(src.len);
    std::memcpy(block, src.text, src.len);
  }
  release_text(out);
  copy_payload(out, src);
  out.text = block;
  out.len = src.type == val_type_text ? src.len : 0;
  set_header(out, src.size, src.sign, src.type);
}

val& val_assign(val& a, const val& b) {
  if (&a == &b) return a;
  if (b.type == val_type_text) {
    if (a.type == val_type_text && a.len == b.len && a.text) {
      // Same length: the block is reused.
      if (b.len) std::memmove(a.text, b.text, b.len);
    } else {
      char* block = nullptr;
      if (b.len > 0) {
        block = val_block_alloc(b.len);
        std::memcpy(block, b.text, b.len);
      }
      release_text(a);
      a.text = block;
    }
  } else {
    release_text(a);
  }
  copy_payload(a, b);
  a.len = b.type == val_type_text ? b.len : 0;
  set_header(a, b.size, b.sign, b.type);
  return a;
}

bool val_from_bytes(val& out, const char* p, uint64_t n) {
  if (n > val_text_max) {
    val_null(out);
    return false;
  }
  char* block = nullptr;
  if (n > 0) {
    block = val_block_alloc(n);
    std::memcpy(block, p, n);
  }
  release_text(out);
  std::memset(out.data, 0, sizeof out.data);
  out.text = block;
  out.len = static_cast<uint16_t>(n);
  set_header(out, val_size_text, val_sign_na, val_type_text);
  return true;
}

bool val_from_str(val& out, const adt::string::string& s) { return val_from_bytes(out, s.data, s.size); }

val& val_assign_str(val& a, const char* p, uint64_t n) {
  if (n > val_text_max) {
    val_null(a);
    return a;
  }
  if (a.type == val_type_text && a.len == n && a.text) {
    if (n) std::memmove(a.text, p, n);
  } else {
    // Copy before the old block goes: p may point into it.
    char* block = nullptr;
    if (n > 0) {
      block = val_block_alloc(n);
      std::memcpy(block, p, n);
    }
    release_text(a);
    a.text = block;
  }
  std::memset(a.data, 0, sizeof a.data);
  a.len = static_cast<uint16_t>(n);
  set_header(a, val_size_text, val_sign_na, val_type_text);
  return a;
}

void val_from_i08(val& out, int8_t x) { become(out, val_size_1, val_signed, val_type_int), put(out, x); }
void val_from_u08(val& out, uint8_t x) { become(out, val_size_1, val_unsigned, val_type_int), put(out, x); }
void val_from_i16(val& out, int16_t x) { become(out, val_size_2, val_signed, val_type_int), put(out, x); }
void val_from_u16(val& out, uint16_t x) { become(out, val_size_2, val_unsigned, val_type_int), put(out, x); }
void val_from_i32(val& out, int32_t x) { become(out, val_size_4, val_signed, val_type_int), put(out, x); }
void val_from_u32(val& out, uint32_t x) { become(out, val_size_4, val_unsigned, val_type_int), put(out, x); }
void val_from_i64(val& out, int64_t x) { become(out, val_size_8, val_signed, val_type_int), put(out, x); }
void val_from_u64(val& out, uint64_t x) { become(out, val_size_8, val_unsigned, val_type_int), put(out, x); }
void val_from_float(val& out, float x) { become(out, val_size_4, val_sign_na, val_type_float), put(out, x); }
void val_from_double(val& out, double x) { become(out, val_size_8, val_sign_na, val_type_float), put(out, x); }

void val_from_date(val& out, uint16_t year, uint8_t month, uint8_t day) {
  become(out, val_size_other, val_sign_na, val_type_date);
  datetime_fields f;
  f.year = year;
  f.month = month;
  f.day = day;
  val_set_fields(out, f);
}

void val_from_time(val& out, uint8_t hour, uint8_t minute, uint8_t second, uint32_t nanosecond) {
  become(out, val_size_other, val_sign_na, val_type_time);
  datetime_fields f;
  f.hour = hour;
  f.minute = minute;
  f.second = second;
  f.nanosecond = nanosecond;
  val_set_fields(out, f);
}

void val_from_datetime(val& out, const datetime_fields& f) {
  become(out, val_size_other, val_sign_na, val_type_datetime);
  val_set_fields(out, f);
}

// ---------------------------------------------------------------- accessors

int8_t val_as_i08(const val& v) { return get<int8_t>(v); }
uint8_t val_as_u08(const val& v) { return get<uint8_t>(v); }
int16_t val_as_i16(const val& v) { return get<int16_t>(v); }
uint16_t val_as_u16(const val& v) { return get<uint16_t>(v); }
int32_t val_as_i32(const val& v) { return get<int32_t>(v); }
uint32_t val_as_u32(const val& v) { return get<uint32_t>(v); }
int64_t val_as_i64(const val& v) { return get<int64_t>(v); }
uint64_t val_as_u64(const val& v) { return get<uint64_t>(v); }
float val_as_float(const val& v) { return get<float>(v); }
double val_as_double(const val& v) { return get<double>(v); }

datetime_fields val_fields(const val& v) {
  datetime_fields f;
  std::memcpy(&f.year, v.data + val_year_at, 2);
  f.month = v.data[val_month_at];
  f.day = v.data[val_day_at];
  f.hour = v.data[val_hour_at];
  f.minute = v.data[val_minute_at];
  f.second = v.data[val_second_at];
  std::memcpy(&f.nanosecond, v.data + val_nanosecond_at, 4);
  return f;
}

void val_set_fields(val& v, const datetime_fields& f) {
  const bool date = v.type != val_type_time;
  const bool time = v.type != val_type_date;
  if (date) {
    std::memcpy(v.data + val_year_at, &f.year, 2);
    v.data[val_month_at] = f.month;
    v.data[val_day_at] = f.day;
  }
  if (time) {
    v.data[val_hour_at] = f.hour;
    v.data[val_minute_at] = f.minute;
    v.data[val_second_at] = f.second;
    std::memcpy(v.data + val_nanosecond_at, &f.nanosecond, 4);
  }
}

uint32_t val_width(const val& v) {
  switch (v.size) {
    case val_size_1: return 1;
    case val_size_2: return 2;
    case val_size_4: return 4;
    default: return 8;
  }
}

// ---------------------------------------------------------------- comparison

namespace {
// The integer's bits, widened by its own sign, as a 64-bit pattern.
uint64_t int_bits(const val& v) {
  const bool s = v.sign == val_signed;
  switch (v.size) {
    case val_size_1: return s ? uint64_t(int64_t(get<int8_t>(v))) : get<uint8_t>(v);
    case val_size_2: return s ? uint64_t(int64_t(get<int16_t>(v))) : get<uint16_t>(v);
    case val_size_4: return s ? uint64_t(int64_t(get<int32_t>(v))) : get<uint32_t>(v);
    default: return get<uint64_t>(v);
  }
}

uint64_t raw_bits(const val& v) {
  switch (v.size) {
    case val_size_1: return get<uint8_t>(v);
    case val_size_2: return get<uint16_t>(v);
    case val_size_4: return get<uint32_t>(v);
    default: return get<uint64_t>(v);
  }
}

template <class T>
int cmp3(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

int int_cmp(const val& a, const val& b) {
  const uint64_t x = int_bits(a), y = int_bits(b);
  if (a.sign == val_signed) return cmp3(int64_t(x), int64_t(y));
  return cmp3(x, y);
}

double float_of(const val& v) { return v.size == val_size_4 ? double(get<float>(v)) : get<double>(v); }

int text_cmp(const val& a, const val& b) {
  const size_t n = a.len < b.len ? a.len : b.len;
  for (size_t i = 0; i < n; ++i) {
    const auto x = static_cast<signed char>(a.text[i]);
    const auto y = static_cast<signed char>(b.text[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return cmp3(a.len, b.len);
}

// Field-by-field over the fields of a's type.
int fields_cmp(const val& a, const val& b) {
  const datetime_fields x = val_fields(a), y = val_fields(b);
  int r = 0;
  if (a.type != val_type_time) {
    if ((r = cmp3(x.year, y.year)) || (r = cmp3(x.month, y.month)) || (r = cmp3(x.day, y.day))) return r;
  }
  if (a.type != val_type_date) {
    if ((r = cmp3(x.hour, y.hour)) || (r = cmp3(x.minute, y.minute)) || (r = cmp3(x.second, y.second)) ||
        (r = cmp3(x.nanosecond, y.nanosecond)))
      return r;
  }
  return 0;
}

// Ordered comparison by a's type; `ok` false where the pair has no order (NaN, null, bad sign).
int ordered_cmp(const val& a, const val& b, bool& ok) {
  ok = true;
  switch (a.type) {
    case val_type_int:
      if (a.sign > val_unsigned) break;
      return int_cmp(a, b);
    case val_type_float: {
      const double x = float_of(a), y = float_of(b);
      if (std::isnan(x) || std::isnan(y)) break;
      return cmp3(x, y);
    }
    case val_type_text: return text_cmp(a, b);
    case val_type_date:
    case val_type_time:
    case val_type_datetime: return fields_cmp(a, b);
    default: break;
  }
  ok = false;
  return 0;
}
}  // namespace

bool val_equal(const val& a, const val& b) {
  switch (a.type) {
    case val_type_int:
      if (a.sign > val_unsigned) return false;
      return raw_bits(a) == raw_bits(b);
    case val_type_float:
      if (a.size == val_size_4) return get<float>(a) == get<float>(b);
      return get<double>(a) == get<double>(b);
    case val_type_text: return a.len == b.len && (a.len == 0 || std::memcmp(a.text, b.text, a.len) == 0);
    case val_type_date:
    case val_type_time:
    case val_type_datetime: return fields_cmp(a, b) == 0;
    default: return false;
  }
}

bool val_less(const val& a, const val& b) {
  bool ok;
  const int r = ordered_cmp(a, b, ok);
  return ok && r < 0;
}

bool val_greater(const val& a, const val& b) {
  bool ok;
  const int r = ordered_cmp(a, b, ok);
  return ok && r > 0;
}

int val_order(const val& a, const val& b) {
  const uint8_t ka = val_kind_index(a), kb = val_kind_index(b);
  if (ka != kb) return ka < kb ? -1 : 1;
  if (ka == kind_none) return 0;
  if (ka == kind_float || ka == kind_double) {
    const double x = float_of(a), y = float_of(b);
    const bool nx = std::isnan(x), ny = std::isnan(y);
    if (nx || ny) return nx == ny ? 0 : (nx ? 1 : -1);
    return cmp3(x, y);
  }
  bool ok;
  return ordered_cmp(a, b, ok);
}

// ---------------------------------------------------------------- arithmetic

namespace {
bool is_int(const val& v) { return v.type == val_type_int && v.sign <= val_unsigned; }
bool is_float(const val& v) { return v.type == val_type_float; }

double as_real(const val& v) {
  if (v.type == val_type_float) return float_of(v);
  const uint64_t bits = int_bits(v);
  return v.sign == val_signed ? double(int64_t(bits)) : double(bits);
}

float as_real_f(const val& v) {
  if (v.type == val_type_float) return get<float>(v);  // only float operands reach here
  const uint64_t bits = int_bits(v);
  return v.sign == val_signed ? float(int64_t(bits)) : float(bits);
}

// Header of an integer result: at least 4 bytes, as wide as the wider operand; two narrow
// operands give i32, otherwise the sign of the wider operand (unsigned if they differ).
void int_result_shape(const val& a, const val& b, uint8_t& size, uint8_t& sign) {
  size = a.size > b.size ? a.size : b.size;
  if (size > val_size_8) size = val_size_8;
  if (size < val_size_4) {
    size = val_size_4;
    sign = val_signed;
    return;
  }
  const bool wa = a.size >= size, wb = b.size >= size;
  if (wa && wb) sign = (a.sign == val_signed && b.sign == val_signed) ? val_signed : val_unsigned;
  else sign = wa ? a.sign : b.sign;
}

template <class Op>
void arith(val& out, const val& a, const val& b, Op op) {
  val r;
  if (is_int(a) && is_int(b)) {
    uint8_t size, sign;
    int_result_shape(a, b, size, sign);
    const uint64_t x = op(int_bits(a), int_bits(b));
    if (size == val_size_4) {
      if (sign == val_signed) val_from_i32(r, int32_t(uint32_t(x)));
      else val_from_u32(r, uint32_t(x));
    } else {
      if (sign == val_signed) val_from_i64(r, int64_t(x));
      else val_from_u64(r, x);
    }
  } else if ((is_float(a) || is_int(a)) && (is_float(b) || is_int(b))) {
    const bool dbl = (is_float(a) && a.size != val_size_4) || (is_float(b) && b.size != val_size_4);
    if (dbl) val_from_double(r, op(as_real(a), as_real(b)));
    else val_from_float(r, op(as_real_f(a), as_real_f(b)));
  }
  out = std::move(r);
}

struct add_op {
  template <class T>
  T operator()(T x, T y) const {
    return x + y;  // unsigned wraps; floating point as IEEE
  }
};
struct mul_op {
  template <class T>
  T operator()(T x, T y) const {
    return x * y;
  }
};
}  // namespace

void val_add(val& out, const val& a, const val& b) {
  if (b.type == val_type_text) {
    const uint64_t na = a.type == val_type_text ? a.len : 0;
    const uint64_t n = na + b.len;
    val r;
    if (n <= val_text_max) {
      char* block = n ? val_block_alloc(n) : nullptr;
      if (na) std::memcpy(block, a.text, na);
      if (b.len) std::memcpy(block + na, b.text, b.len);
      val_from_bytes(r, nullptr, 0);
      r.text = block;
      r.len = static_cast<uint16_t>(n);
    }
    out = std::move(r);  // a concatenation too long for a cell is null
    return;
  }
  arith(out, a, b, add_op{});
}

void val_mul(val& out, const val& a, const val& b) { arith(out, a, b, mul_op{}); }

void val_div_count(const val& a, uint64_t count, val& out) {
  val r;
  if (count == 0) {
    // no mean of nothing
  } else if (is_int(a)) {
    const uint64_t bits = int_bits(a);
    if (a.sign == val_signed) {
      // Signed by unsigned, in a width that holds both exactly.
      const __int128 q = __int128(int64_t(bits)) / __int128(count);
      val_from_i64(r, int64_t(q));
    } else {
      val_from_u64(r, bits / count);
    }
  } else if (a.type == val_type_float) {
    if (a.size == val_size_4) val_from_float(r, get<float>(a) / float(count));
    else val_from_double(r, get<double>(a) / double(count));
  }
  out = std::move(r);
}

}  // namespace kk
