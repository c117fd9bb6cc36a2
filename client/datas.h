// The result set of one statement: rows (row id and one value per column) and column names.
//
// One block holds the whole result: the rows x columns value cells (row-major, so a cell
// is found by index), the row ids, the column names and every text byte, which the cells'
// text pointers and the names point into. The cells do not own their text: nothing is freed
// per cell or per row; the block goes in one step. Large blocks are mapped by themselves
// (see result_block), small ones come from the ordinary allocator.
#pragma once
#include <cstddef>
#include <cstring>

#include "adt/types.h"
#include "value/val.h"

namespace kk {

// A value as a result holds it, in 16 bytes (half a val: a whole table's cells are most of
// a result's memory). The number or the calendar fields sit in `data` as in a val; a text
// keeps its pointer into the block in data[0..7] and its length in data[8..9] instead.
struct alignas(8) result_cell {
  uint8_t data[13];
  uint8_t size;  // val_size_code
  uint8_t sign;  // val_sign_code
  uint8_t type;  // val_type_code

  bool is_text() const noexcept { return type == val_type_text; }
  // The number or calendar bytes (a val's `data`); zeros for a text.
  const uint8_t* payload() const noexcept {
    static constexpr uint8_t none[sizeof data] = {};
    return is_text() ? none : data;
  }
  const char* text() const noexcept {
    const char* p = nullptr;
    if (is_text()) std::memcpy(&p, data, sizeof p);
    return p;
  }
  u64 text_size() const noexcept {
    uint16_t n = 0;
    if (is_text()) std::memcpy(&n, data + 8, 2);
    return n;
  }
  void set_text(const char* p, uint16_t n) noexcept {
    std::memcpy(data, &p, sizeof p);
    std::memcpy(data + 8, &n, 2);
  }
};
static_assert(sizeof(result_cell) == 16);
static_assert(offsetof(result_cell, size) == 13);

// The cell as a val of its own (a text copied into the val's own block).
val cell_value(const result_cell& c);

// A column name: `size` bytes at `data`, followed by a NUL.
struct datas_name {
  char* data = nullptr;
  u64 size = 0;
};

// The cells of one row; indexing gives a cell's value as a val.
struct datas_cells {
  const result_cell* data = nullptr;
  u64 size = 0;
  u64 capacity = 0;  // always size: a result is never grown
  val operator[](u64 c) const { return cell_value(data[c]); }
};

// One row as seen through datas::rows.
struct datas_row {
  u64 sid = ~u64(0);
  datas_cells vals;
};

struct datas_rows {
  u64 size = 0;
  u64 capacity = 0;  // always size
  u64 width = 0;     // cells per row: the column count
  u64* sids = nullptr;
  result_cell* cells = nullptr;

  datas_row operator[](u64 r) const { return {sids[r], {cells + r * width, width, width}}; }
  const result_cell* cell(u64 r, u64 c) const { return cells + r * width + c; }

  struct iterator {
    const datas_rows* rows;
    u64 at;
    datas_row operator*() const { return (*rows)[at]; }
    iterator& operator++() {
      ++at;
      return *this;
    }
    bool operator!=(const iterator& o) const { return at != o.at; }
  };
  iterator begin() const { return {this, 0}; }
  iterator end() const { return {this, size}; }
};

struct datas_cols {
  u64 size = 0;
  u64 capacity = 0;  // always size
  datas_name* data = nullptr;
  const datas_name& operator[](u64 c) const { return data[c]; }
  const datas_name* begin() const { return data; }
  const datas_name* end() const { return data + size; }
};

// Where the result's memory came from.
struct result_block {
  void* base = nullptr;
  u64 bytes = 0;        // what was allocated or mapped
  bool mapped = false;  // an own mapping (munmap) rather than an allocator block
};

struct datas {
  datas_rows rows;
  datas_cols cols;
  result_block block;

  datas() noexcept = default;
  datas(const datas&) = delete;
  datas& operator=(const datas&) = delete;
  ~datas();
};

// Releases the block; rows and columns end empty.
void free_datas(datas& d) noexcept;

// Blocks from this size up are mapped by themselves instead of coming from the allocator:
// the block goes back to the system when released whatever the allocator's thresholds, and
// its unused tail can be given back at once (result_block_trim).
inline constexpr u64 mapped_block_min = u64(16) << 20;

// A block of `bytes` (> 0) for a result; bad_alloc when none can be had. Its contents are
// unspecified.
result_block result_block_alloc(u64 bytes);
// Gives back the part of a block past its first `used` bytes where that is possible (a
// mapped block's whole unused pages); the block does not move.
void result_block_trim(result_block& b, u64 used) noexcept;
void result_block_free(result_block& b) noexcept;

}  // namespace kk
