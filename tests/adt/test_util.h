#pragma once
// Small helpers shared by the container tests.
#include <string>
#include <string_view>

#include "adt/string.h"

namespace kk::adt::test {

inline std::string_view sv(const string::string& s) { return {s.data ? s.data : "", s.size}; }
inline std::string_view sv(text_view v) { return {v.data ? v.data : "", v.size}; }
inline string::string S(std::string_view t) { return string_from_std(t); }

// An element type with a constructor and destructor that counts live objects and can be
// told to fail its n-th default construction.
struct tracked {
  static inline int live = 0;
  static inline int fail_after = -1;  // constructions left before one throws; -1 never
  int v = 7;
  tracked() {
    if (fail_after == 0) throw std::bad_alloc();
    if (fail_after > 0) --fail_after;
    ++live;
  }
  tracked(const tracked& o) : v(o.v) { ++live; }
  tracked& operator=(const tracked& o) = default;
  ~tracked() { --live; }
};

}  // namespace kk::adt::test
