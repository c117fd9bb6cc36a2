#pragma once
// Byte-level text operations: UTF-8 decoding, ASCII classes and case, hexadecimal and
// binary digit texts, digit grouping, substring and byte searches, right trimming and
// the C escape letters. No locale is involved.
#include <array>

#include "adt/string.h"
#include "adt/types.h"
#include "adt/vector.h"

namespace kk::adt {

// Lowercase hexadecimal text of every byte ("00" .. "ff") and the binary digits of every
// hexadecimal digit value ("0000" .. "1111"); not NUL-terminated.
extern const std::array<std::array<char, 2>, 256> hex_byte_text;
extern const std::array<std::array<char, 4>, 16> bin_digit_text;

// Decodes the code point at p, reading nothing at or past end: the bytes used (1 .. 4), or
// -1 for a malformed or cut-off sequence (cp then 0). Overlong forms and surrogates pass.
// Inline: the grammar matcher and the regex engine decode on their hot paths.
inline i8 utf8_decode(const char* p, const char* end, u32& cp) noexcept {
  cp = 0;
  if (!p || p >= end) return -1;
  const u8 b0 = static_cast<u8>(p[0]);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  int n;
  u32 v;
  if (b0 >= 0xC0 && b0 <= 0xDF) {
    n = 2, v = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    n = 3, v = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF7) {
    n = 4, v = b0 & 0x07;
  } else {
    return -1;
  }
  if (end - p < n) return -1;
  for (int i = 1; i < n; ++i) {
    const u8 b = static_cast<u8>(p[i]);
    if ((b & 0xC0) != 0x80) return -1;
    v = v << 6 | (b & 0x3F);
  }
  cp = v;
  return static_cast<i8>(n);
}

bool char_is_alpha(char c) noexcept;
bool char_is_hex(char c) noexcept;
bool char_is_digit(char c) noexcept;
bool char_is_print(char c) noexcept;  // 32 .. 126
char char_to_lower(char c) noexcept;  // only 'A' .. 'Z' change
char char_to_upper(char c) noexcept;  // only 'a' .. 'z' change
inline bool char_is_alpha(const char* p) noexcept { return char_is_alpha(*p); }
inline bool char_is_hex(const char* p) noexcept { return char_is_hex(*p); }
inline bool char_is_digit(const char* p) noexcept { return char_is_digit(*p); }
inline bool char_is_print(const char* p) noexcept { return char_is_print(*p); }
inline char char_to_lower(const char* p) noexcept { return char_to_lower(*p); }
inline char char_to_upper(const char* p) noexcept { return char_to_upper(*p); }
inline void char_to_lower_in_place(char* p) noexcept { *p = char_to_lower(*p); }
inline void char_to_upper_in_place(char* p) noexcept { *p = char_to_upper(*p); }

// Four binary digits per hexadecimal digit (either case); empty at the first other byte.
string::string hex_to_bin_text(const string::string& s);

// For each of the count bytes: the separator, then the byte's two lowercase digits.
string::string raw_to_hex_text(const char* p, const u32& count, text_view sep);
void raw_to_hex_text(string::string& out, const char* p, const u32& count, text_view sep);

// Decodes length / 2 digit pairs into out (an odd last digit is ignored); false at the
// first pair with a non-hexadecimal byte, the bytes before it already written.
bool hex_text_to_raw(char* out, text_view t) noexcept;

// src cut into groups of n bytes from the start with sep between groups; a copy of src
// when it is shorter than n or n is 0.
string::string str_insert_every(const string::string& src, const u64& n, text_view sep);

// First (str_find) or last (str_rfind) occurrence of pat[0 .. m) inside the window
// d[start .. end], end inclusive (end = start - 1 is empty, any end before start too), as an
// absolute index; string::npos when none, for an empty pattern and for null pointers.
u64 str_find(const char* d, u64 start, u64 end, const char* pat, u64 m) noexcept;
u64 str_rfind(const char* d, u64 start, u64 end, const char* pat, u64 m) noexcept;

// Every non-overlapping match of pat in s, left to right: its address (s.data + offset as a
// u64) or, in the _offsets form, its offset. Nothing for an empty s or pattern.
void str_find_all(const string::string& s, const char* pat, u64 m, vector<u64>& out);
void str_find_all_offsets(const string::string& s, const char* pat, u64 m, vector<u64>& out);
// Every byte equal to c in p[0 .. len): its address, or its offset.
void str_find_all_char(const char* p, const u64& len, const char& c, vector<u64>& out);
void str_find_all_char_offsets(const char* p, const u64& len, const char& c, vector<u64>& out);

// Cuts the string after its last byte that differs from c / that is not in the set; the
// buffer stays. An empty set removes nothing.
void str_trim_right_char(string::string& s, const char& c);
void str_trim_right_set(string::string& s, text_view set);

// The backslash escape letters: table[c - low] for low <= c <= high; `def` marks a letter
// that is no escape.
struct escape_map {
  char def = 0;
  char low = 0;
  char high = 0;
  char* table = nullptr;

  escape_map() noexcept = default;
  escape_map(const escape_map& o);
  escape_map(escape_map&& o) noexcept;
  escape_map& operator=(const escape_map& o);
  escape_map& operator=(escape_map&& o) noexcept;
  ~escape_map();

  // The value of escape letter c, or def for anything that is none (also outside the range).
  char lookup(char c) const noexcept;
  bool is_escape(char c) const noexcept { return lookup(c) != def; }
};

escape_map escape_table_build();

}  // namespace kk::adt
