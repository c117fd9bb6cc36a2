// Decoder of the body of a successful statement reply:
//   u64 C; C times (u64 N, N name bytes); u64 R;
//   when R > 0: C descriptors (size, sign, type); R times (u64 row id, C values).
// The body comes from the network: every count and length is checked against the bytes
// that remain before anything is allocated or read, and nothing past the body is read.
// Columns whose type carries no bytes on the wire may not multiply a small body into a
// huge result: a body holds at most as many cells as bytes, plus 2^22.
#pragma once
#include "adt/types.h"
#include "client/datas.h"

namespace kk {

// Decodes body[0, n) into out (which must be empty). On a short or inconsistent body, or
// when memory runs out, returns false with out empty and *why naming what was wrong.
bool unpack_datas(datas& out, const char* body, u64 n, const char** why) noexcept;

// Bytes a value of the descriptor takes on the wire; a text's is its 2-byte length only.
u64 wire_value_size(const column_desc& d) noexcept;

}  // namespace kk
