#include "client/datas.h"

#include <cstring>
#include <new>

#include "adt/memory.h"
#include "client/mapped_memory.h"

namespace kk {

val cell_value(const result_cell& c) {
  val v;
  if (c.is_text()) val_from_bytes(v, c.text(), c.text_size());  // at most 65535 bytes
  else std::memcpy(v.data, c.data, sizeof v.data);
  v.size = c.size;
  v.sign = c.sign;
  v.type = c.type;
  return v;
}

datas::~datas() { free_datas(*this); }

void free_datas(datas& d) noexcept {
  result_block_free(d.block);
  d.rows = datas_rows{};
  d.cols = datas_cols{};
}

result_block result_block_alloc(u64 bytes) {
  result_block b;
  if (bytes >= mapped_block_min && bytes <= SIZE_MAX / 2) {
    b.base = client::map_block(static_cast<size_t>(bytes));
    if (b.base) {
      b.bytes = bytes;
      b.mapped = true;
      return b;
    }
  }
  b.base = adt::mem_alloc(bytes);
  b.bytes = bytes;
  return b;
}

void result_block_trim(result_block& b, u64 used) noexcept {
  if (!b.mapped) return;  // an allocator block may not shrink in place
  const u64 keep = (used + client::page_bytes - 1) & ~u64(client::page_bytes - 1);
  if (keep == 0 || keep >= b.bytes) return;
  client::unmap_block(static_cast<char*>(b.base) + keep, static_cast<size_t>(b.bytes - keep));
  b.bytes = keep;
}

void result_block_free(result_block& b) noexcept {
  if (b.mapped) client::unmap_block(b.base, static_cast<size_t>(b.bytes));
  else adt::mem_free(b.base);
  b = result_block{};
}

}  // namespace kk
