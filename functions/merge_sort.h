// The bottom-up merge sort of sort (and of min_k and max_k where the values do not compare
// as a strict weak order), and its tie order.
//
// Runs of width 1, 2, 4, ... are merged pairwise from the left, a last run without a
// partner copied as it is. A merge takes the left run's item only when it is strictly
// less than the right run's current item, so equal items come out right run first: the
// sort is not stable (2, 1, 2 at positions 0, 1, 2 gives positions 1, 2, 0). Callers sort
// {key, position} items and carry the values and row ids along afterwards.
#pragma once

#include <cstring>
#include <type_traits>

#include "adt/types.h"

namespace kk::functions {

// Sorts items[0 .. n) with less(a, b) into whichever of the two arrays the last width
// merged into, and returns it; scratch holds n items. T is copied bytewise.
template <class T, class Less>
T* merge_sort_either(T* items, T* scratch, u64 n, Less&& less) {
  static_assert(std::is_trivially_copyable_v<T>);
  // Each width merges from one array into the other; the arrays then trade roles, which
  // orders exactly as copying the scratch array back after every width would.
  T* from = items;
  T* to = scratch;
  for (u64 w = 1; w < n; w *= 2) {
    for (u64 lo = 0; lo < n; lo += 2 * w) {
      const u64 mid = lo + w < n ? lo + w : n;
      const u64 hi = mid + w < n ? mid + w : n;
      u64 i = lo, j = mid, o = lo;
      while (i < mid && j < hi) to[o++] = less(from[i], from[j]) ? from[i++] : from[j++];
      if (i < mid) std::memcpy(to + o, from + i, (mid - i) * sizeof(T)), o += mid - i;
      if (j < hi) std::memcpy(to + o, from + j, (hi - j) * sizeof(T));
    }
    T* t = from;
    from = to;
    to = t;
    if (w > n / 2) break;  // the next width would be n or more (and could overflow)
  }
  return from;
}

// Sorts items[0 .. n) with less(a, b); scratch holds n items. T is copied bytewise.
template <class T, class Less>
void merge_sort(T* items, T* scratch, u64 n, Less&& less) {
  T* sorted = merge_sort_either(items, scratch, n, less);
  if (sorted != items) std::memcpy(items, sorted, n * sizeof(T));
}

}  // namespace kk::functions
