#include "adt/memory.h"

#include <cstdint>
#include <cstdlib>

namespace kk::adt {

void* mem_alloc(u64 bytes) {
  // No block can be larger than half the address space; malloc would fail anyway.
  if (bytes > static_cast<u64>(PTRDIFF_MAX)) throw std::bad_alloc();
  void* p = std::malloc(bytes ? bytes : 1);
  if (!p) throw std::bad_alloc();
  return p;
}

void* mem_alloc_zeroed(u64 bytes) {
  if (bytes > static_cast<u64>(PTRDIFF_MAX)) throw std::bad_alloc();
  void* p = std::calloc(bytes ? bytes : 1, 1);
  if (!p) throw std::bad_alloc();
  return p;
}

void mem_free(void* p) noexcept { std::free(p); }

u64 mem_bytes(u64 n, u64 size, u64 extra) {
  if (size && n > (~u64(0) - extra) / size) throw std::bad_alloc();
  return n * size + extra;
}

}  // namespace kk::adt
