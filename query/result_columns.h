#pragma once
// A query result as the table model holds it: one typed block per column, read from the
// library's result in one pass. Integers and floating-point numbers take one 8-byte word a
// row, dates and times their calendar fields packed into one word (a datetime two), texts
// their UTF-8 bytes in one block per column with an offset a row. Releasing a column frees
// its few blocks, whatever the row count; a value becomes a QVariant only when asked for.
#include <QVariant>

#include <vector>

#include "adt/string.h"
#include "adt/types.h"
#include "adt/vector.h"
#include "client/ruv_sql_lib_mem.h"
#include "value/val.h"

class result_column {
 public:
  // kind: one of the fourteen column types (kk::kind_i08 .. kk::kind_datetime), or
  // kk::kind_none for a column of no known type, which holds no values.
  explicit result_column(kk::u8 kind = kk::kind_none);

  kk::u8 kind() const noexcept { return kind_; }
  kk::u64 size() const noexcept { return size_; }

  // The value of a slot in the form cell_to_variant gives it (variant_rows.h).
  QVariant value(kk::u64 slot) const;

  // The stored forms, for sorting: integers widened (a u64 in the unsigned reading), a
  // float widened to double, a text's bytes, a calendar value's fields.
  kk::i64 int_at(kk::u64 slot) const noexcept { return kk::i64(words_[slot]); }
  kk::u64 uint_at(kk::u64 slot) const noexcept { return words_[slot]; }
  double real_at(kk::u64 slot) const noexcept;
  kk::adt::text_view text_at(kk::u64 slot) const noexcept;
  kk::datetime_fields fields_at(kk::u64 slot) const noexcept;
  // Every text of the column is well-formed UTF-8 (then its bytes order as its code points).
  bool texts_are_utf8() const noexcept { return utf8_; }

  // Reserves room for n slots of a result being read.
  void reserve(kk::u64 n);
  // Appends the cell's value; false when the cell is not of the column's kind (the slot
  // then holds the kind's zero).
  bool append(const val* v);
  // Appends the kind's zero: the slot of an inserted row, whose value lives elsewhere.
  void append_zero();
  // The bytes its blocks take (their capacity).
  kk::u64 bytes_held() const noexcept {
    return (words_.capacity() + offsets_.capacity()) * sizeof(kk::u64) + bytes_.capacity();
  }

 private:
  kk::u64 words_per_slot() const noexcept { return kind_ == kk::kind_datetime ? 2 : 1; }

  kk::u8 kind_;
  bool utf8_ = true;
  kk::u64 size_ = 0;
  std::vector<kk::u64> words_;    // numbers and calendar fields
  std::vector<kk::u64> offsets_;  // texts: slot s is bytes_[offsets_[s], offsets_[s + 1])
  std::vector<char> bytes_;
};

// The column type of a type name ("i08" .. "datetime"); kk::kind_none for any other.
kk::u8 column_kind_of(kk::adt::text_view type_name);

// A whole result: the names as the server reported them, the types of row 0's cells (none
// without rows), the columns, the server's row ids, and the rare cells whose type is not
// their column's, with their own values.
struct result_table {
  struct odd_cell {
    kk::u64 row;
    kk::u64 column;
    QVariant value;
  };
  std::vector<kk::adt::string::string> names;
  std::vector<kk::adt::string::string> types;
  std::vector<result_column> columns;
  kk::adt::vector<kk::u64> row_ids;
  std::vector<odd_cell> odd_cells;

  kk::u64 rows() const noexcept { return columns.empty() ? 0 : columns[0].size(); }
};

// Reads a result set (not released here). False, with "bad type" on standard output and an
// empty table, when a cell has no column type (result_to_variants' rule).
bool read_result(const datas* result, result_table& out);
