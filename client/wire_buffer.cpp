#include "client/wire_buffer.h"

#include <cstdlib>
#include <cstring>

namespace kk::client {

wire_buffer::~wire_buffer() { std::free(data_); }

void wire_buffer::release() noexcept {
  std::free(data_);
  data_ = nullptr;
  size_ = 0;
  capacity_ = 0;
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
    char* grown = static_cast<char*>(std::realloc(data_, cap));
    if (!grown) return false;
    data_ = grown;
    capacity_ = cap;
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
