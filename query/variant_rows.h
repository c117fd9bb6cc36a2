#pragma once
// A query result in the program's own containers: column names, one type name per column
// ("u08" .. "datetime"), the rows' values as QVariants and, on request, the server's row
// ids. Values are kept row after row in one block (16 bytes each) so that a result of a
// million rows costs no more than its values.
#include <QVariant>

#include <vector>

#include "adt/list.h"
#include "adt/string.h"
#include "adt/types.h"
#include "adt/vector.h"
#include "client/ruv_sql_lib_mem.h"

using text_list = kk::adt::list<kk::adt::string::string>;

struct variant_rows {
  kk::u64 columns = 0;            // values per row
  std::vector<QVariant> values;   // row r, column c at r * columns + c

  kk::u64 count() const noexcept { return columns ? values.size() / columns : 0; }
  bool empty() const noexcept { return values.empty(); }
  const QVariant& at(kk::u64 row, kk::u64 column) const { return values[row * columns + column]; }
  QVariant& at(kk::u64 row, kk::u64 column) { return values[row * columns + column]; }
};

// Empties the rows and gives their memory back.
void list_of_rows_clear(variant_rows& rows);

// The type name of a value cell of the result ("i08" .. "datetime"), or null for a cell no
// column type describes (a null cell).
const char* cell_type_name(const val* v);
// The cell as a QVariant of its type's form: int for the integer widths up to 32 bits except
// u32 (uint), qlonglong for i64, qulonglong for u64, float, double, QString, QDate, QTime,
// QDateTime (local time), or a calendar_value for a date or time those do not hold exactly
// (calendar_value.h). Invalid for a cell no type describes.
QVariant cell_to_variant(const val* v);

// Every cell of the result has a column type: result_to_variants would convert it (it prints
// "bad type" otherwise, as the conversion does).
bool result_is_typed(const datas* result);

// Fills the (empty) containers from a result set; row_ids may be null (then no ids are
// read). Names come first: one per column. Types are those of row 0's cells (none without
// rows). False when a cell has no column type ("bad type" on standard output): a cell of
// row 0 stops with the names complete, the types found so far and no rows; a cell of a
// later row empties names, rows and row ids. The result set is not released here.
bool result_to_variants(const datas* result, text_list& names, variant_rows& rows, text_list& types,
                        kk::adt::vector<kk::u64>* row_ids);
