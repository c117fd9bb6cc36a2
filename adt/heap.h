#pragma once
// In-place array algorithms: a binary heap record over a caller's array (byte heap sort,
// string heap), rotation by three reversals and the search for the last element not above
// a key. Nothing here allocates.
#include <utility>

#include "adt/string.h"
#include "adt/types.h"

namespace kk::adt {

// The parent of position i is (i - 1) / 2, its children 2i + 1 and 2i + 2.
template <class T>
struct heap {
  T* elements = nullptr;
  u64 capacity = 0;
  u64 count = 0;
  u8 min = 0;  // set: the smallest element on top; clear: the largest
};

// Sorts n bytes ascending as signed 8-bit values.
void heap_sort_bytes(char* p, u64 n) noexcept;

// Moves the top behind the heap until one element is left: a max-heap ends ascending, a
// min-heap descending. An empty heap is left alone.
void byte_heap_pop_all(heap<char>& h) noexcept;

// Arranges array[0 .. count) in place as a heap ordered by string_compare (min flag: the
// smallest on top). With skip set the heap stays empty and the array untouched.
void string_heap_build(heap<string::string>& h, string::string* array, const u64& count,
                       const bool& min, const bool& skip) noexcept;

// Rotates the n elements right by k places (the last k move to the front); a negative k
// rotates left. k is taken modulo n.
template <class T>
void rotate_block(T* p, const u64& n, const i64& k) noexcept {
  if (!p || n == 0) return;
  const u64 m = k >= 0 ? static_cast<u64>(k) % n : (n - (static_cast<u64>(-(k + 1)) + 1) % n) % n;
  if (m == 0) return;
  auto reverse = [](T* a, T* b) {
    while (a < b) std::swap(*a++, *--b);
  };
  reverse(p, p + (n - m));
  reverse(p + (n - m), p + n);
  reverse(p, p + n);
}

// Index of the last element in a[lo .. hi] (ascending) not greater than key, or -1.
i64 bsearch_last_le(const u64* a, i64 lo, i64 hi, const u64& key) noexcept;

}  // namespace kk::adt
