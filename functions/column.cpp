#include "functions/column.h"

namespace kk::functions {

val column_value_at(const column* c, u64 i) {
  const u64 n = c->values.size;
  if (n == 0) return val();
  return c->values[i < n ? i : n - 1];
}

const val& column_ref_at(const column& c, u64 i, const val& null_cell) noexcept {
  const u64 n = c.values.size;
  if (n == 0) return null_cell;
  return c.values[i < n ? i : n - 1];
}

u64 column_row_id_at(const column* c, u64 i) noexcept {
  const u64 n = c->ids.size;
  if (n == 0) return 0;
  return c->ids[i < n ? i : n - 1];
}

// Both vectors change together or not at all, so a failed growth keeps them equal.
void column_resize(column& c, u64 n) {
  const u64 old = c.ids.size;
  c.ids.resize(n);
  try {
    c.values.resize(n);
  } catch (...) {
    c.ids.size = old;
    throw;
  }
}

void column_push(column& c, const val& v, u64 row_id) {
  c.ids.push_back(row_id);
  try {
    c.values.push_back(v);
  } catch (...) {
    --c.ids.size;
    throw;
  }
}

column column_of(std::initializer_list<val> cells, u64 first_id) {
  column c;
  column_resize(c, cells.size());
  u64 i = 0;
  for (const val& v : cells) {
    val_assign(c.values[i], v);
    c.ids[i] = first_id + i;
    ++i;
  }
  return c;
}

}  // namespace kk::functions
