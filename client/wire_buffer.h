// A growable byte block for frames and replies. Unlike a byte string its growth can be
// capped at the size a frame announces, so a reply of n bytes holds about n bytes and no
// more. Up to wire_buffer::mapped_min it lives on the allocator (grown with realloc);
// beyond, in a mapping of its own (grown with mremap: pages are moved, not copied), which
// goes back to the system when released whatever the allocator's thresholds.
#pragma once
#include <cstddef>

namespace kk::client {

class wire_buffer {
 public:
  static constexpr size_t mapped_min = size_t(1) << 20;

  wire_buffer() = default;
  ~wire_buffer();
  wire_buffer(const wire_buffer&) = delete;
  wire_buffer& operator=(const wire_buffer&) = delete;

  const char* data() const { return data_; }
  size_t size() const { return size_; }
  size_t capacity() const { return capacity_; }
  void clear() { size_ = 0; }
  // Gives the memory back; the buffer is empty, as new.
  void release() noexcept;
  // Empty, with a fresh block of `bytes` (at most mapped_min) in place of a larger one;
  // without one when memory runs out.
  void shrink_to(size_t bytes) noexcept;

  // Appends n bytes. Growth doubles but never beyond `limit` unless the bytes need more.
  // False (and nothing changed) when memory runs out.
  bool append(const void* p, size_t n, size_t limit = static_cast<size_t>(-1)) noexcept;
  bool append_u32(unsigned v) noexcept;

 private:
  bool grow(size_t cap) noexcept;

  char* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
  bool mapped_ = false;
};

}  // namespace kk::client
