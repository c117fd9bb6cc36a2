#pragma once
// One UTF-8 code point, read only within the bytes that remain (internal).
#include "adt/types.h"

namespace kk::grammar::detail {

// Bytes used (1..4) and the code point, or 0 for malformed bytes or a sequence cut off by
// the end. Same forms as the library's decoder: overlong forms, surrogates and values up
// to 0x1FFFFF are taken as decoded.
inline u32 utf8_decode_bounded(const char* p, u64 remaining, u32* cp) noexcept {
  *cp = 0;
  if (remaining == 0) return 0;
  const u8 b0 = static_cast<u8>(p[0]);
  if (b0 < 0x80) {
    *cp = b0;
    return 1;
  }
  u32 n;
  u32 v;
  if (b0 >= 0xC0 && b0 <= 0xDF) {
    n = 2;
    v = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    n = 3;
    v = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF7) {
    n = 4;
    v = b0 & 0x07;
  } else {
    return 0;
  }
  if (remaining < n) return 0;
  for (u32 i = 1; i < n; ++i) {
    const u8 b = static_cast<u8>(p[i]);
    if ((b & 0xC0) != 0x80) return 0;
    v = (v << 6) | (b & 0x3F);
  }
  *cp = v;
  return n;
}

}  // namespace kk::grammar::detail
