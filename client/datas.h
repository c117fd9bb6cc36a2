// The result set of one statement: rows (row id and one value per column) and column names.
#pragma once
#include "adt/string.h"
#include "adt/types.h"
#include "adt/vector.h"
#include "value/val.h"

namespace kk {

struct datas_row {
  u64 sid = ~u64(0);
  adt::vector<val> vals;
};

struct datas {
  adt::vector<datas_row> rows;
  adt::vector<adt::string::string> cols;
};

// Releases the column names, then the rows with their values; both vectors end empty.
void free_datas(datas& d) noexcept;

}  // namespace kk
