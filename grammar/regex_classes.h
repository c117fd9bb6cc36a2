#pragma once
// Character-level pieces of the regular-expression engine: bounded UTF-8 decoding,
// the class escapes \d \D \s \S \w \W \h \H, the Han test and the escape-letter maps.
//
// Every matcher reads only the `remaining` bytes from `pos` (subjects are value texts
// without a terminator) and returns the bytes matched or rx_no_match.
#include "adt/types.h"

namespace kk::grammar {

inline constexpr u64 rx_no_match = ~u64{0};

// One UTF-8 code point of at most `remaining` bytes at p: its length 1..4 and *cp, or -1
// (cp 0) for malformed bytes or a sequence cut by the end. Overlong forms, surrogates and
// values up to 0x1FFFFF decode as they stand, like the library's decoder.
int rx_decode(const char* p, u64 remaining, u32* cp);

bool is_han(u32 cp);
bool rx_is_word_byte(char c);

using class_matcher = u64 (*)(const char* pos, u64 remaining);

u64 cls_digit(const char* pos, u64 remaining);
u64 cls_not_digit(const char* pos, u64 remaining);
u64 cls_space(const char* pos, u64 remaining);
u64 cls_not_space(const char* pos, u64 remaining);
u64 cls_word(const char* pos, u64 remaining);
u64 cls_not_word(const char* pos, u64 remaining);
u64 cls_han(const char* pos, u64 remaining);
u64 cls_not_han(const char* pos, u64 remaining);

// 256 slots indexed by the escape letter as a signed byte + 128; only D H S W d h s w are
// filled, the others are null.
struct class_escape_table {
  u64 size;
  class_matcher def;
  class_matcher slots[256];
};
const class_escape_table& regex_class_escape_table();
class_matcher class_escape_matcher(char letter);  // null for a letter without a class

// Dense byte map {default, low, high, table}: a byte outside [low, high] or whose entry
// equals the default has no value (lookup gives -1).
struct char_map {
  i8 def;
  i8 low;
  i8 high;
  const i8* table;  // high - low + 1 entries
};
int char_map_lookup(const char_map& m, char c);

// "f" 12, "n" 10, "r" 13, "t" 9, "v" 11 (range "d".."w", default "e").
const char_map& regex_control_escape_map();
// A-Z and a-z to their code & 31 (range "A".."z", default "`").
const char_map& regex_control_letter_map();

}  // namespace kk::grammar
