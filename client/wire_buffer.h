// A growable byte block for frames and replies. Unlike a byte string its growth can be
// capped at the size a frame announces, and it grows with realloc (large blocks are
// remapped, not copied), so a reply of n bytes holds about n bytes and no more.
#pragma once
#include <cstddef>

namespace kk::client {

class wire_buffer {
 public:
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

  // Appends n bytes. Growth doubles but never beyond `limit` unless the bytes need more.
  // False (and nothing changed) when memory runs out.
  bool append(const void* p, size_t n, size_t limit = static_cast<size_t>(-1)) noexcept;
  bool append_u32(unsigned v) noexcept;

 private:
  char* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

}  // namespace kk::client
