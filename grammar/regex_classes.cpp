#include "grammar/regex_classes.h"

#include "adt/text.h"

namespace kk::grammar {

namespace {

inline u8 ub(const char* p, u64 i) { return static_cast<u8>(p[i]); }

// One code point at pos, or no match for malformed bytes and an empty rest.
u64 one_code_point(const char* pos, u64 remaining) {
  u32 cp;
  int n = rx_decode(pos, remaining, &cp);
  return n < 0 ? rx_no_match : static_cast<u64>(n);
}

}  // namespace

int rx_decode(const char* p, u64 remaining, u32* cp) {
  return adt::utf8_decode(p, p + remaining, *cp);
}

bool is_han(u32 c) {
  struct range {
    u32 lo, hi;
  };
  static constexpr range ranges[] = {
      {0x4E00, 0x9FFF},   {0x3400, 0x4DBF},   {0x20000, 0x2A6DF}, {0x2A700, 0x2B73F},
      {0x2B740, 0x2B81F}, {0x2B820, 0x2CEAF}, {0x2CEB0, 0x2EBEF}, {0x30000, 0x3134F},
      {0xF900, 0xFAFF},   {0x2E80, 0x2FD5},   {0x31C0, 0x31EF},   {0x2F800, 0x2FA1F},
      {0x2FF0, 0x2FFB},   {0x3100, 0x312F},   {0x31A0, 0x31BF},   {0xE815, 0xE86F},
      {0xE400, 0xE5E8},   {0xE600, 0xE6CF},   {0x3007, 0x3007},
  };
  if (c < 0x2E80) return false;
  for (const range& r : ranges)
    if (c >= r.lo && c <= r.hi) return true;
  return false;
}

bool rx_is_word_byte(char ch) {
  u8 c = static_cast<u8>(ch);
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

u64 cls_digit(const char* pos, u64 remaining) {
  if (remaining == 0) return rx_no_match;
  return (pos[0] >= '0' && pos[0] <= '9') ? 1 : rx_no_match;
}

u64 cls_not_digit(const char* pos, u64 remaining) {
  if (remaining == 0 || cls_digit(pos, remaining) != rx_no_match) return rx_no_match;
  return one_code_point(pos, remaining);
}

u64 cls_space(const char* pos, u64 remaining) {
  if (remaining == 0) return rx_no_match;
  if (remaining >= 3) {
    u8 a = ub(pos, 0), b = ub(pos, 1), c = ub(pos, 2);
    if (a == 0xEF && b == 0xBB && c == 0xBF) return 3;                 // U+FEFF
    if (a == 0xE2 && b == 0x80 && (c == 0xA8 || c == 0xA9)) return 3;  // U+2028, U+2029
  }
  if (remaining >= 2) {
    u8 a = ub(pos, 0), b = ub(pos, 1);
    if (a == '\r' && b == '\n') return 2;  // a line end counts as one unit
    if (a == 0xC2 && b == 0xA0) return 2;  // no-break space
  }
  u8 a = ub(pos, 0);
  return ((a >= 9 && a <= 13) || a == ' ') ? 1 : rx_no_match;
}

u64 cls_not_space(const char* pos, u64 remaining) {
  if (remaining == 0 || cls_space(pos, remaining) != rx_no_match) return rx_no_match;
  return one_code_point(pos, remaining);
}

u64 cls_word(const char* pos, u64 remaining) {
  if (remaining == 0) return rx_no_match;
  return rx_is_word_byte(pos[0]) ? 1 : rx_no_match;
}

u64 cls_not_word(const char* pos, u64 remaining) {
  if (remaining == 0 || cls_word(pos, remaining) != rx_no_match) return rx_no_match;
  return one_code_point(pos, remaining);
}

u64 cls_han(const char* pos, u64 remaining) {
  u32 cp;
  int n = rx_decode(pos, remaining, &cp);
  return (n > 0 && is_han(cp)) ? static_cast<u64>(n) : rx_no_match;
}

u64 cls_not_han(const char* pos, u64 remaining) {
  u32 cp;
  int n = rx_decode(pos, remaining, &cp);
  return (n > 0 && !is_han(cp)) ? static_cast<u64>(n) : rx_no_match;
}

const class_escape_table& regex_class_escape_table() {
  static const class_escape_table table = [] {
    class_escape_table t{};
    t.size = 256;
    t.def = nullptr;
    auto put = [&t](char letter, class_matcher m) {
      t.slots[static_cast<int>(static_cast<i8>(letter)) + 128] = m;
    };
    put('d', cls_digit);
    put('D', cls_not_digit);
    put('s', cls_space);
    put('S', cls_not_space);
    put('w', cls_word);
    put('W', cls_not_word);
    put('h', cls_han);
    put('H', cls_not_han);
    return t;
  }();
  return table;
}

class_matcher class_escape_matcher(char letter) {
  return regex_class_escape_table().slots[static_cast<int>(static_cast<i8>(letter)) + 128];
}

int char_map_lookup(const char_map& m, char c) {
  i8 b = static_cast<i8>(c);
  if (b < m.low || b > m.high) return -1;
  i8 v = m.table[b - m.low];
  return v == m.def ? -1 : v;
}

const char_map& regex_control_escape_map() {
  static const i8* table = [] {
    static i8 t['w' - 'd' + 1];
    for (i8& e : t) e = 'e';
    t['f' - 'd'] = 12;
    t['n' - 'd'] = 10;
    t['r' - 'd'] = 13;
    t['t' - 'd'] = 9;
    t['v' - 'd'] = 11;
    return t;
  }();
  static const char_map m{'e', 'd', 'w', table};
  return m;
}

const char_map& regex_control_letter_map() {
  static const i8* table = [] {
    static i8 t['z' - 'A' + 1];
    for (int c = 'A'; c <= 'z'; ++c) {
      bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
      t[c - 'A'] = letter ? static_cast<i8>(c & 31) : static_cast<i8>('`');
    }
    return t;
  }();
  static const char_map m{'`', 'A', 'z', table};
  return m;
}

}  // namespace kk::grammar
