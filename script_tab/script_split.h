#pragma once
// A piece of script cut into statements and printed back on one line without comments:
// the source of "execute current line" and "execute selection". Plain C++ (no Qt).
#include "adt/string.h"
#include "adt/types.h"
#include "adt/vector.h"

namespace ruv {

// Appends each statement of text (printed, single line, comments dropped, leading and
// trailing spaces cut) to out; returns the bytes the grammar consumed. When that is less
// than size, out is left as it was.
kk::u64 split_printed(const char* text, kk::u64 size, kk::adt::vector<kk::adt::string::string>& out);

}  // namespace ruv
