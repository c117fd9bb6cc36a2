#include "value/val_block.h"

#include "adt/memory.h"

namespace kk {

// The container library's pair, so blocks and strings share one heap discipline.
char* val_block_alloc(uint64_t n) { return static_cast<char*>(adt::mem_alloc(n)); }

void val_block_free(char* p) { adt::mem_free(p); }

}  // namespace kk
