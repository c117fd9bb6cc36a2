#include "adt/text.h"

#include <cstring>
#include <new>
#include <utility>

#include "adt/memory.h"

namespace kk::adt {

namespace {

constexpr std::array<std::array<char, 2>, 256> make_hex() {
  constexpr char digits[] = "0123456789abcdef";
  std::array<std::array<char, 2>, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = {digits[i >> 4], digits[i & 15]};
  return t;
}

constexpr std::array<std::array<char, 4>, 16> make_bin() {
  std::array<std::array<char, 4>, 16> t{};
  for (int i = 0; i < 16; ++i)
    for (int b = 0; b < 4; ++b) t[i][b] = (i >> (3 - b)) & 1 ? '1' : '0';
  return t;
}

inline u8 ub(char c) { return static_cast<u8>(c); }

// The value of a hexadecimal digit, -1 for any other byte. A table: the comparisons
// mispredict on random digits and made decoding ten times slower.
constexpr std::array<signed char, 256> hex_values = [] {
  std::array<signed char, 256> v{};
  for (auto& x : v) x = -1;
  for (int i = 0; i < 10; ++i) v[size_t('0' + i)] = static_cast<signed char>(i);
  for (int i = 0; i < 6; ++i) v[size_t('a' + i)] = v[size_t('A' + i)] = static_cast<signed char>(10 + i);
  return v;
}();
inline int hex_value(char c) { return hex_values[static_cast<unsigned char>(c)]; }

// The window's size; 0 when it is empty, reversed or not representable.
inline u64 window_size(u64 start, u64 end) { return end < start ? 0 : end - start + 1; }

// Patterns this long and longer use the quick search with a shift table.
constexpr u64 quick_search_from = 257;

}  // namespace

const std::array<std::array<char, 2>, 256> hex_byte_text = make_hex();
const std::array<std::array<char, 4>, 16> bin_digit_text = make_bin();

bool char_is_alpha(char c) noexcept { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool char_is_hex(char c) noexcept { return hex_value(c) >= 0; }
bool char_is_digit(char c) noexcept { return c >= '0' && c <= '9'; }
bool char_is_print(char c) noexcept { return ub(c) >= 32 && ub(c) <= 126; }
char char_to_lower(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
char char_to_upper(char c) noexcept { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

string::string hex_to_bin_text(const string::string& s) {
  string::string out;
  for (u64 i = 0; i < s.size; ++i)
    if (hex_value(s.data[i]) < 0) {
      out.resize(0);
      return out;
    }
  out.resize(mem_bytes(s.size, 4));
  for (u64 i = 0; i < s.size; ++i) std::memcpy(out.data + 4 * i, bin_digit_text[hex_value(s.data[i])].data(), 4);
  return out;
}

void raw_to_hex_text(string::string& out, const char* p, const u32& count, text_view sep) {
  const u64 step = sep.size + 2;
  out.resize(mem_bytes(count, step));  // 64-bit: count * step can pass 2^32
  char* w = out.data;
  for (u32 i = 0; i < count; ++i) {
    if (sep.size) std::memcpy(w, sep.data, sep.size);
    std::memcpy(w + sep.size, hex_byte_text[ub(p[i])].data(), 2);
    w += step;
  }
}

string::string raw_to_hex_text(const char* p, const u32& count, text_view sep) {
  string::string out;
  raw_to_hex_text(out, p, count, sep);
  return out;
}

bool hex_text_to_raw(char* out, text_view t) noexcept {
  for (u64 i = 0; i < t.size / 2; ++i) {
    const int hi = hex_value(t.data[2 * i]);
    const int lo = hex_value(t.data[2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    out[i] = static_cast<char>(hi * 16 + lo);
  }
  return true;
}

string::string str_insert_every(const string::string& src, const u64& n, text_view sep) {
  if (n == 0 || src.size < n || sep.size == 0) return string::string(src);
  const u64 groups = (src.size + n - 1) / n;
  string::string out;
  out.resize(mem_bytes(groups - 1, sep.size, src.size));
  char* w = out.data;
  for (u64 g = 0; g < groups; ++g) {
    if (g) {
      std::memcpy(w, sep.data, sep.size);
      w += sep.size;
    }
    const u64 len = g + 1 < groups ? n : src.size - g * n;
    std::memcpy(w, src.data + g * n, len);
    w += len;
  }
  return out;
}

u64 str_find(const char* d, u64 start, u64 end, const char* pat, u64 m) noexcept {
  const u64 w_size = window_size(start, end);
  if (!d || !pat || m == 0 || w_size == 0 || m > w_size) return string::npos;
  const char* w = d + start;
  if (m < quick_search_from) {
    const char first = pat[0];
    for (const char* c = w; c <= w + (w_size - m);) {
      c = static_cast<const char*>(std::memchr(c, first, static_cast<size_t>(w + (w_size - m) - c + 1)));
      if (!c) return string::npos;
      if (std::memcmp(c + 1, pat + 1, m - 1) == 0) return start + static_cast<u64>(c - w);
      ++c;
    }
    return string::npos;
  }
  // Quick search: on a mismatch the byte just behind the candidate decides the shift.
  u64 shift[256];
  for (u64& s : shift) s = m + 1;
  for (u64 i = 0; i < m; ++i) shift[ub(pat[i])] = m - i;
  for (u64 i = 0; i + m <= w_size;) {
    if (std::memcmp(w + i, pat, m) == 0) return start + i;
    if (i + m == w_size) break;
    i += shift[ub(w[i + m])];
  }
  return string::npos;
}

u64 str_rfind(const char* d, u64 start, u64 end, const char* pat, u64 m) noexcept {
  const u64 w_size = window_size(start, end);
  if (!d || !pat || m == 0 || w_size == 0 || m > w_size) return string::npos;
  const char* w = d + start;
  if (m < quick_search_from) {
    for (u64 c = w_size - m + 1; c-- > 0;)
      if (w[c + m - 1] == pat[m - 1] && std::memcmp(w + c, pat, m - 1) == 0) return start + c;
    return string::npos;
  }
  // Mirror of the quick search: the byte just before the candidate decides the shift.
  u64 shift[256];
  for (u64& s : shift) s = m + 1;
  for (u64 i = m; i-- > 0;) shift[ub(pat[i])] = i + 1;
  for (u64 c = w_size - m;;) {  // candidate start
    if (std::memcmp(w + c, pat, m) == 0) return start + c;
    if (c == 0) break;
    const u64 s = shift[ub(w[c - 1])];
    if (s > c) break;  // the next candidate would begin before the window
    c -= s;
  }
  return string::npos;
}

namespace {
template <bool addresses>
void find_all(const string::string& s, const char* pat, u64 m, vector<u64>& out) {
  if (!s.size || !pat || !m) return;
  for (u64 off = 0; off < s.size;) {
    const u64 q = str_find(s.data, off, s.size - 1, pat, m);
    if (q == string::npos) return;
    out.push_back(addresses ? reinterpret_cast<u64>(s.data + q) : q);
    off = q + m;
  }
}
template <bool addresses>
void find_all_char(const char* p, u64 len, char c, vector<u64>& out) {
  if (!p) return;
  for (const char* q = p; (q = static_cast<const char*>(std::memchr(q, c, static_cast<size_t>(p + len - q)))); ++q)
    out.push_back(addresses ? reinterpret_cast<u64>(q) : static_cast<u64>(q - p));
}
}  // namespace

void str_find_all(const string::string& s, const char* pat, u64 m, vector<u64>& out) {
  find_all<true>(s, pat, m, out);
}
void str_find_all_offsets(const string::string& s, const char* pat, u64 m, vector<u64>& out) {
  find_all<false>(s, pat, m, out);
}
void str_find_all_char(const char* p, const u64& len, const char& c, vector<u64>& out) {
  find_all_char<true>(p, len, c, out);
}
void str_find_all_char_offsets(const char* p, const u64& len, const char& c, vector<u64>& out) {
  find_all_char<false>(p, len, c, out);
}

void str_trim_right_char(string::string& s, const char& c) {
  u64 n = s.size;
  while (n && s.data[n - 1] == c) --n;
  if (n != s.size) s.resize(n);
}

void str_trim_right_set(string::string& s, text_view set) {
  if (!set.data || !set.size) return;
  u64 n = s.size;
  while (n && std::memchr(set.data, s.data[n - 1], set.size)) --n;
  if (n != s.size) s.resize(n);
}

escape_map::escape_map(const escape_map& o) : def(o.def), low(o.low), high(o.high) {
  if (o.table) {
    const u64 n = static_cast<u64>(ub(high) - ub(low) + 1);
    table = static_cast<char*>(mem_alloc(n));
    std::memcpy(table, o.table, n);
  }
}

escape_map::escape_map(escape_map&& o) noexcept : def(o.def), low(o.low), high(o.high), table(o.table) {
  o.table = nullptr;
}

escape_map& escape_map::operator=(const escape_map& o) {
  if (this != &o) *this = escape_map(o);
  return *this;
}

escape_map& escape_map::operator=(escape_map&& o) noexcept {
  if (this != &o) {
    mem_free(table);
    def = o.def, low = o.low, high = o.high, table = o.table;
    o.table = nullptr;
  }
  return *this;
}

escape_map::~escape_map() { mem_free(table); }

char escape_map::lookup(char c) const noexcept {
  if (!table || ub(c) < ub(low) || ub(c) > ub(high)) return def;
  return table[ub(c) - ub(low)];
}

escape_map escape_table_build() {
  escape_map m;
  m.def = '!';
  m.low = ' ';
  m.high = 'w';
  const u64 n = static_cast<u64>(m.high - m.low + 1);  // 88
  m.table = static_cast<char*>(mem_alloc(n));
  std::memset(m.table, m.def, n);
  static const struct { char letter, value; } entries[] = {
      {'"', '"'}, {'\'', '\''}, {'\\', '\\'}, {'a', 7}, {'b', 8},
      {'f', 12},  {'n', 10},    {'r', 13},    {'t', 9}, {'v', 11},
  };
  for (auto& e : entries)
    if (ub(e.letter) >= ub(m.low) && ub(e.letter) <= ub(m.high)) m.table[ub(e.letter) - ub(m.low)] = e.value;
  return m;
}

}  // namespace kk::adt
