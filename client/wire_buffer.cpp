#include "client/wire_buffer.h"

#include <cstdlib>
#include <cstring>

#include "client/mapped_memory.h"

namespace kk::client {

wire_buffer::~wire_buffer() { release(); }

void wire_buffer::release() noexcept {
  if (mapped_) unmap_block(data_, capacity_);
  else std::free(data_);
  data_ = nullptr;
  size_ = 0;
  capacity_ = 0;
  mapped_ = false;
}

void wire_buffer::shrink_to(size_t bytes) noexcept {
  size_ = 0;
  if (capacity_ <= bytes) return;
  release();
  if (bytes > mapped_min) bytes = mapped_min;
  if (bytes && (data_ = static_cast<char*>(std::malloc(bytes)))) capacity_ = bytes;
}

bool wire_buffer::grow(size_t cap) noexcept {
  char* grown;
  if (cap <= mapped_min) {
    grown = static_cast<char*>(std::realloc(data_, cap));
  } else if (mapped_) {
    grown = static_cast<char*>(remap_block(data_, capacity_, cap));
  } else {
    grown = static_cast<char*>(map_block(cap));
    if (grown) {
      if (size_) std::memcpy(grown, data_, size_);
      std::free(data_);
    }
  }
  if (!grown) return false;
  data_ = grown;
  capacity_ = cap;
  mapped_ = cap > mapped_min;
  return true;
}

bool wire_buffer::append(const void* p, size_t n, size_t limit) noexcept {
  if (n == 0) return true;
  if (n > static_cast<size_t>(-1) - size_) return false;
  size_t need = size_ + n;
  if (need > capacity_) {
    size_t cap = capacity_ > static_cast<size_t>(-1) / 2 ? need : capacity_ * 2;
    if (cap < 64) cap = 64;
    if (cap > limit) cap = limit;
    if (cap < need) cap = need;
    if (!grow(cap)) return false;
  }
  std::memcpy(data_ + size_, p, n);
  size_ = need;
  return true;
}

bool wire_buffer::append_u32(unsigned v) noexcept {
  unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                        static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
  return append(b, 4);
}

}  // namespace kk::client
