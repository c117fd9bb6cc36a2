#pragma once
// One UTF-8 code point, read only within the bytes that remain (internal).
#include "adt/text.h"
#include "adt/types.h"

namespace kk::grammar::detail {

// Bytes used (1..4) and the code point, or 0 for malformed bytes or a sequence cut off by
// the end. Same forms as the library's decoder: overlong forms, surrogates and values up
// to 0x1FFFFF are taken as decoded.
inline u32 utf8_decode_bounded(const char* p, u64 remaining, u32* cp) noexcept {
  const i8 n = adt::utf8_decode(p, p + remaining, *cp);
  return n < 0 ? 0 : static_cast<u32>(n);
}

}  // namespace kk::grammar::detail
