#include "adt/heap.h"

#include <utility>

namespace kk::adt {

namespace {

inline signed char sb(char c) { return static_cast<signed char>(c); }

// Does a belong above b?
inline bool above(char a, char b, bool min) { return min ? sb(a) < sb(b) : sb(a) > sb(b); }

void sift_down(char* e, u64 count, u64 i, bool min) noexcept {
  for (;;) {
    const u64 l = 2 * i + 1;
    if (l >= count) return;
    const u64 r = l + 1;
    if (r < count) {
      const u64 c = above(e[l], e[r], min) ? l : r;  // ties choose the right child
      if (!above(e[c], e[i], min)) return;
      std::swap(e[c], e[i]);
      i = c;
    } else {
      if (above(e[l], e[i], min)) std::swap(e[l], e[i]);
      return;
    }
  }
}

}  // namespace

void heap_sort_bytes(char* p, u64 n) noexcept {
  if (!p || n < 2) return;
  heap<char> h{p, n, 0, 0};
  for (u64 i = 0; i < n; ++i) {
    for (u64 c = i; c > 0;) {
      const u64 parent = (c - 1) / 2;
      if (!(sb(p[parent]) < sb(p[c]))) break;
      std::swap(p[parent], p[c]);
      c = parent;
    }
    h.count = i + 1;
  }
  byte_heap_pop_all(h);
}

void byte_heap_pop_all(heap<char>& h) noexcept {
  if (h.count == 0) return;
  char* e = h.elements;
  for (u64 rounds = h.count - 1; rounds > 0; --rounds) {
    const char top = e[0];
    e[0] = e[h.count - 1];
    --h.count;
    sift_down(e, h.count, 0, h.min != 0);
    e[h.count] = top;
  }
}

void string_heap_build(heap<string::string>& h, string::string* array, const u64& count,
                       const bool& min, const bool& skip) noexcept {
  h.elements = array;
  h.capacity = count;
  h.count = 0;
  h.min = min ? 1 : 0;
  if (skip || count == 0) return;
  for (u64 i = 0; i < count; ++i) {
    // The element already stands at position count == i; it only has to rise.
    for (u64 c = i; c > 0;) {
      const u64 parent = (c - 1) / 2;
      const i64 cmp = string_compare(array[parent], array[c]);
      if (!(min ? cmp > 0 : cmp < 0)) break;
      std::swap(array[parent], array[c]);
      c = parent;
    }
    h.count = i + 1;
  }
}

i64 bsearch_last_le(const u64* a, i64 lo, i64 hi, const u64& key) noexcept {
  i64 found = -1;
  while (lo <= hi) {
    const i64 mid = lo + (hi - lo) / 2;
    if (a[mid] > key) {
      hi = mid - 1;
    } else {
      found = mid;
      lo = mid + 1;
    }
  }
  return found;
}

}  // namespace kk::adt
