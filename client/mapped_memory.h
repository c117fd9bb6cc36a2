// Anonymous mappings for the large blocks of a result set and a reply: they go back to the
// system when released, whatever the allocator's thresholds, and ask for transparent huge
// pages, so that filling hundreds of MiB takes a few hundred page faults instead of one
// per 4 KiB page.
#pragma once
#include <cstddef>

namespace kk::client {

inline constexpr size_t huge_page_bytes = size_t(2) << 20;

// A private anonymous mapping of `bytes` (> 0), starting on a huge-page boundary, with
// huge pages asked for; null when the system has none to give. Its bytes are zero.
void* map_block(size_t bytes) noexcept;
// The mapping p of old_bytes resized to new_bytes, moved if need be (its pages are moved,
// not copied); null, with p untouched, when that fails.
void* remap_block(void* p, size_t old_bytes, size_t new_bytes) noexcept;
void unmap_block(void* p, size_t bytes) noexcept;

}  // namespace kk::client
