// Anonymous mappings for the large blocks of a result set and a reply: they go back to the
// system when released, whatever the allocator's thresholds.
//
// They take ordinary pages, no transparent huge pages: on a virtual machine that hands free
// guest memory back to its host, huge pages touched again after the few seconds between
// two loads cost 2-3 s per GiB instead of 0.4 s with ordinary pages (measured on this
// project's machines; bench_table_model's paused loads show it).
#pragma once
#include <cstddef>

namespace kk::client {

inline constexpr size_t page_bytes = 4096;

// A private anonymous mapping of `bytes` (> 0), its pages faulted in at once (a block is
// mapped to be filled: one call instead of a fault per page); null when the system has
// none to give. Its bytes are zero.
void* map_block(size_t bytes) noexcept;
// The mapping p of old_bytes resized to new_bytes, moved if need be (its pages are moved,
// not copied); null, with p untouched, when that fails.
void* remap_block(void* p, size_t old_bytes, size_t new_bytes) noexcept;
void unmap_block(void* p, size_t bytes) noexcept;

}  // namespace kk::client
