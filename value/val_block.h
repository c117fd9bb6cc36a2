// Text blocks of value cells: one allocation pair for every cell.
#pragma once

#include <cstdint>

namespace kk {

// Never returns null: exhaustion raises std::bad_alloc.
char* val_block_alloc(uint64_t n);
void val_block_free(char* p);

}  // namespace kk
