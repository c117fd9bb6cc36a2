#include "value/val_block.h"

#include <cstdlib>
#include <new>

namespace kk {

char* val_block_alloc(uint64_t n) {
  void* p = std::malloc(n ? n : 1);
  if (!p) throw std::bad_alloc();
  return static_cast<char*>(p);
}

void val_block_free(char* p) { std::free(p); }

}  // namespace kk
