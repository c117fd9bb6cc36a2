#pragma once
// Assembling statement texts: pieces appended to one byte string, sized up front when the
// caller knows the total.
#include <cstring>
#include <string_view>

#include "adt/string.h"
#include "adt/types.h"

namespace query_detail {

inline void append(kk::adt::string::string& s, const char* p, kk::u64 n) {
  if (n == 0) return;
  const kk::u64 at = s.size;
  s.resize(at + n);  // grows to twice the need: a run of appends stays linear
  std::memcpy(s.data + at, p, n);
}
inline void append(kk::adt::string::string& s, std::string_view t) { append(s, t.data(), t.size()); }
inline void append(kk::adt::string::string& s, const kk::adt::string::string& t) { append(s, t.data, t.size); }
inline void append(kk::adt::string::string& s, kk::adt::text_view t) { append(s, t.data, t.size); }

// A string with room for n bytes and none used.
inline kk::adt::string::string reserved(kk::u64 n) {
  kk::adt::string::string s;
  s.resize(n);
  s.resize(0);
  return s;
}

}  // namespace query_detail
