#include "client/unpack_datas.h"

#include <cstring>
#include <new>

#include "adt/memory.h"
#include "value/val_block.h"

namespace kk {

namespace {

// Bounded reads over the body.
struct cursor {
  const unsigned char* p;
  u64 left;

  bool u64_le(u64& v) {
    if (left < 8) return false;
    v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
    p += 8;
    left -= 8;
    return true;
  }
};

// Exactly n elements, capacity n: a result set is never grown afterwards, so the vector's
// doubling would only waste memory (the record's storage is the same counted array).
template <class T>
void make_exact(adt::vector<T>& v, u64 n) {
  v.free();
  if (n == 0) return;
  if constexpr (adt::vector_plain<T>) {
    v.data = static_cast<T*>(adt::mem_alloc(adt::mem_bytes(n, sizeof(T))));
    std::memset(static_cast<void*>(v.data), 0, n * sizeof(T));
  } else {
    v.data = adt::counted_new<T>(n);
  }
  v.size = n;
  v.capacity = n;
}

// A column as the row loop needs it.
struct column_plan {
  column_desc d;
  u8 width;    // fixed bytes on the wire (for texts the length field)
  u8 offset;   // where they go in `data`
  bool text;
};

column_plan plan_of(const column_desc& d) {
  column_plan c{d, 0, 0, false};
  switch (d.type) {
    case val_type_int:
      c.width = d.size == 0 ? 1 : d.size == 1 ? 2 : d.size == 2 ? 4 : 8;
      break;
    case val_type_float:
      c.width = d.size == 2 ? 4 : 8;
      break;
    case val_type_text:
      c.width = 2;
      c.text = true;
      break;
    case val_type_date:
      c.width = 4;
      break;
    case val_type_time:
      c.width = 7;
      c.offset = val_hour_at;
      break;
    case val_type_datetime:
      c.width = 11;
      break;
    default:  // null and unknown types carry no bytes
      break;
  }
  return c;
}

constexpr u64 null_cell_allowance = u64(1) << 22;

bool decode(datas& out, cursor& in, const char*& why) {
  const u64 body_size = in.left;
  u64 ncols;
  if (!in.u64_le(ncols)) return why = "column count", false;
  // Each name takes at least its 8-byte length.
  if (ncols > in.left / 8) return why = "column count", false;
  make_exact(out.cols, ncols);
  for (u64 c = 0; c < ncols; ++c) {
    u64 len;
    if (!in.u64_le(len) || len > in.left) return why = "column name", false;
    adt::string::string& name = out.cols[c];
    name.resize(len);
    if (len) std::memcpy(name.data, in.p, len);
    in.p += len;
    in.left -= len;
  }
  u64 nrows;
  if (!in.u64_le(nrows)) return why = "row count", false;
  if (nrows == 0) return true;

  if (ncols > in.left / 3) return why = "column descriptors", false;
  adt::vector<column_plan> plan;
  make_exact(plan, ncols);
  u64 row_min = 8;  // the row id, then the fixed part of each value
  for (u64 c = 0; c < ncols; ++c) {
    column_desc d{in.p[0], in.p[1], in.p[2]};
    in.p += 3;
    in.left -= 3;
    plan[c] = plan_of(d);
    row_min += plan[c].width;
  }
  if (nrows > in.left / row_min) return why = "row count", false;
  // Columns whose type carries no bytes still cost a 32-byte cell per row: beyond a fixed
  // allowance, a body may not ask for more cells than it has bytes.
  if (ncols && nrows > (body_size + null_cell_allowance) / ncols) return why = "cell count", false;

  make_exact(out.rows, nrows);
  for (u64 r = 0; r < nrows; ++r) {
    datas_row& row = out.rows[r];
    if (!in.u64_le(row.sid)) return why = "row", false;
    make_exact(row.vals, ncols);
    for (u64 c = 0; c < ncols; ++c) {
      const column_plan& k = plan[c];
      val& v = row.vals[c];
      v.size = k.d.size;
      v.sign = k.d.sign;
      v.type = k.d.type;
      if (in.left < k.width) return why = "row", false;
      if (k.text) {
        u64 len = in.p[0] | (u64(in.p[1]) << 8);
        in.p += 2;
        in.left -= 2;
        if (len > in.left) return why = "text value", false;
        if (len) {
          v.text = val_block_alloc(len);
          std::memcpy(v.text, in.p, len);
          v.len = static_cast<u16>(len);
          in.p += len;
          in.left -= len;
        }
      } else if (k.width) {
        std::memcpy(v.data + k.offset, in.p, k.width);
        in.p += k.width;
        in.left -= k.width;
      }
    }
  }
  return true;
}

}  // namespace

u64 wire_value_size(const column_desc& d) noexcept { return plan_of(d).width; }

bool unpack_datas(datas& out, const char* body, u64 n, const char** why) noexcept {
  const char* reason = nullptr;
  bool ok = false;
  free_datas(out);
  if (n == 0) return true;  // a statement without a result table
  try {
    cursor in{reinterpret_cast<const unsigned char*>(body), n};
    ok = decode(out, in, reason);
  } catch (const std::bad_alloc&) {
    reason = "out of memory";
  }
  if (!ok) {
    free_datas(out);
    if (why) *why = reason;
  }
  return ok;
}

}  // namespace kk
