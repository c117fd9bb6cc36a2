#include "client/mapped_memory.h"

#include <cstdint>
#include <sys/mman.h>

namespace kk::client {

namespace {
size_t page_round(size_t n) { return (n + page_bytes - 1) & ~(page_bytes - 1); }
}  // namespace

void* map_block(size_t bytes) noexcept {
  if (bytes == 0 || bytes > SIZE_MAX / 2) return nullptr;
  void* p = mmap(nullptr, page_round(bytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
  return p == MAP_FAILED ? nullptr : p;
}

void* remap_block(void* p, size_t old_bytes, size_t new_bytes) noexcept {
  if (new_bytes == 0 || new_bytes > SIZE_MAX / 2) return nullptr;
  void* q = mremap(p, page_round(old_bytes), page_round(new_bytes), MREMAP_MAYMOVE);
  return q == MAP_FAILED ? nullptr : q;
}

void unmap_block(void* p, size_t bytes) noexcept {
  if (p) munmap(p, page_round(bytes));
}

}  // namespace kk::client
