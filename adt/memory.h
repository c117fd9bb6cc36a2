#pragma once
// The container library's one allocation pair, and counted arrays for element types
// with constructors or destructors.
//
// mem_alloc never returns null: exhaustion (or a size that cannot be represented)
// raises std::bad_alloc. A counted array stores its element count in the u64 just
// before the first element; counted_delete destroys the elements last to first.
#include <cstring>
#include <new>
#include <type_traits>

#include "adt/types.h"

namespace kk::adt {

void* mem_alloc(u64 bytes);
void* mem_alloc_zeroed(u64 bytes);  // the same block, all bytes 0 (fresh pages are not touched)
void mem_free(void* p) noexcept;

// Bytes for n elements of `size` bytes plus `extra`, or bad_alloc when that overflows.
u64 mem_bytes(u64 n, u64 size, u64 extra = 0);

template <class T>
constexpr u64 counted_header() {
  return alignof(T) > sizeof(u64) ? alignof(T) : sizeof(u64);
}

template <class T>
u64 counted_count(const T* first) noexcept {
  u64 n;
  std::memcpy(&n, reinterpret_cast<const char*>(first) - sizeof(u64), sizeof n);
  return n;
}

// n default-constructed elements; if a constructor throws, the ones built are destroyed
// and the block is freed before the exception leaves.
template <class T>
T* counted_new(u64 n) {
  constexpr u64 h = counted_header<T>();
  char* block = static_cast<char*>(mem_alloc(mem_bytes(n, sizeof(T), h)));
  T* first = reinterpret_cast<T*>(block + h);
  u64 i = 0;
  try {
    for (; i < n; ++i) ::new (static_cast<void*>(first + i)) T();
  } catch (...) {
    while (i > 0) first[--i].~T();
    mem_free(block);
    throw;
  }
  std::memcpy(block + h - sizeof(u64), &n, sizeof n);
  return first;
}

template <class T>
void counted_delete(T* first) noexcept {
  if (!first) return;
  u64 n = counted_count(first);
  while (n > 0) first[--n].~T();
  mem_free(reinterpret_cast<char*>(first) - counted_header<T>());
}

}  // namespace kk::adt
