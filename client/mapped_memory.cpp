#include "client/mapped_memory.h"

#include <cstdint>
#include <sys/mman.h>

namespace kk::client {

namespace {
size_t page_round(size_t n) { return (n + 4095) & ~size_t(4095); }
}  // namespace

void* map_block(size_t bytes) noexcept {
  if (bytes == 0 || bytes > SIZE_MAX / 2) return nullptr;
  const size_t len = page_round(bytes);
  // Over-map by a huge page, then cut the ends so that the block starts on a boundary.
  const size_t span = len + huge_page_bytes;
  void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t aligned = (start + huge_page_bytes - 1) & ~uintptr_t(huge_page_bytes - 1);
  if (aligned > start) munmap(raw, aligned - start);
  const uintptr_t end = start + span;
  if (end > aligned + len) munmap(reinterpret_cast<void*>(aligned + len), end - (aligned + len));
  void* p = reinterpret_cast<void*>(aligned);
  // Where transparent huge pages are off this fails and the block has ordinary pages.
  madvise(p, len, MADV_HUGEPAGE);
  return p;
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
