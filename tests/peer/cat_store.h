// The catalogue server's table storage: one typed column per field, each holding its values
// in their wire form, so that a reply is written by copying cell bytes row after row.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "tests/peer/cat_value.h"

namespace peer {

struct field_def {
  std::string name;
  ftype type = ftype::i32;
  std::string attrs;  // as written between the parentheses: "", "true", "false", "true,false"
  bool operator==(const field_def&) const = default;
};

// Wire bytes of one value of a fixed-width type (every type but string).
int fixed_width(ftype t);

// One field's values. Fixed-width types lie row after row in one block; strings are wire
// cells (u16 length, bytes) in one block with an offset per row. A string that is written
// over is appended and its old bytes left in place until the column next keeps a subset of
// its rows or more than half of its block is such leftovers.
class field_column {
 public:
  explicit field_column(ftype t = ftype::i32);

  ftype type() const { return type_; }
  size_t size() const { return rows_; }

  value get(size_t row) const;
  void push(const value& v);  // v has the column's type
  void set(size_t row, const value& v);
  // A cell's wire bytes: the value as a reply carries it.
  std::string_view cell(size_t row) const;
  // Copies a cell's wire bytes to p and returns the end (a reply's row loop).
  char* copy_cell(size_t row, char* p) const {
    switch (width_) {
      case 0: {
        const char* c = text_.data() + at_[row];
        const size_t n = 2 + (static_cast<unsigned char>(c[0]) | static_cast<size_t>(static_cast<unsigned char>(c[1])) << 8);
        std::memcpy(p, c, n);
        return p + n;
      }
      case 1: *p = fixed_[row]; return p + 1;
      case 2: std::memcpy(p, fixed_.data() + row * 2, 2); return p + 2;
      case 4: std::memcpy(p, fixed_.data() + row * 4, 4); return p + 4;
      case 8: std::memcpy(p, fixed_.data() + row * 8, 8); return p + 8;
      default: {
        const size_t w = static_cast<size_t>(width_);
        std::memcpy(p, fixed_.data() + row * w, w);
        return p + w;
      }
    }
  }
  // Appends a cell given as its wire bytes (the fixed width, or a u16 length and that many bytes).
  void push_cell(std::string_view wire);
  // -1, 0, 1 between two rows, as compare() orders their values.
  int compare(size_t a, size_t b) const;
  // The column becomes these rows, in this order.
  void keep(const std::vector<size_t>& rows);
  void reserve(size_t rows, size_t text_bytes = 0);

 private:
  void compact_if_sparse();

  ftype type_;
  int width_;            // fixed types: bytes per row; strings: 0
  size_t rows_ = 0;
  std::string fixed_;    // fixed types: width_ bytes per row
  std::vector<uint64_t> at_;  // strings: where each row's cell starts in text_
  std::string text_;
  size_t stale_ = 0;     // strings: bytes of cells no row points at
};

// A table: fields, their columns and the rows' server row ids.
struct table_store {
  std::string name;
  std::vector<field_def> fields;
  std::vector<field_column> cols;  // one per field
  std::vector<uint64_t> ids;       // one per row, in insertion order

  size_t rows() const { return ids.size(); }
};

}  // namespace peer
