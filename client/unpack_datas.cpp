#include "client/unpack_datas.h"

#include <cstring>
#include <new>

#include "adt/memory.h"
#include "adt/vector.h"

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
  void skip(u64 n) {
    p += n;
    left -= n;
  }
};

// How a column's wire bytes go into its cell.
enum class copy_kind : u8 { none, b1, b2, b4, b8, time7, b11, text };

// A column as the row loop needs it: the cell it starts every value from (header bytes
// set, payload, text and padding zero) and how its wire bytes are copied in.
struct column_plan {
  alignas(8) unsigned char proto[sizeof(result_cell)];
  u8 width;  // fixed bytes on the wire (for texts the length field)
  copy_kind copy;
};

column_plan plan_of(const column_desc& d) {
  column_plan c;
  std::memset(c.proto, 0, sizeof c.proto);
  c.proto[offsetof(result_cell, size)] = d.size;
  c.proto[offsetof(result_cell, sign)] = d.sign;
  c.proto[offsetof(result_cell, type)] = d.type;
  c.width = 0;
  c.copy = copy_kind::none;
  switch (d.type) {
    case val_type_int:
      c.width = d.size == 0 ? 1 : d.size == 1 ? 2 : d.size == 2 ? 4 : 8;
      c.copy = d.size == 0 ? copy_kind::b1 : d.size == 1 ? copy_kind::b2 : d.size == 2 ? copy_kind::b4 : copy_kind::b8;
      break;
    case val_type_float:
      c.width = d.size == 2 ? 4 : 8;
      c.copy = d.size == 2 ? copy_kind::b4 : copy_kind::b8;
      break;
    case val_type_text:
      c.width = 2;
      c.copy = copy_kind::text;
      break;
    case val_type_date:
      c.width = 4;
      c.copy = copy_kind::b4;
      break;
    case val_type_time:
      c.width = 7;
      c.copy = copy_kind::time7;  // into the hour field onwards
      break;
    case val_type_datetime:
      c.width = 11;
      c.copy = copy_kind::b11;
      break;
    default:  // null and unknown types carry no bytes
      break;
  }
  return c;
}

constexpr u64 null_cell_allowance = u64(1) << 22;

// a * b + c, or bad_alloc when that does not fit (no body that fits in memory gets there).
u64 checked(u64 a, u64 b, u64 c = 0) {
  u64 r;
  if (__builtin_mul_overflow(a, b, &r) || __builtin_add_overflow(r, c, &r)) throw std::bad_alloc();
  return r;
}

// The block's layout: cells, row ids, name records, then name bytes and texts.
struct layout {
  u64 cells = 0, sids = 0, names = 0, bytes = 0, total = 0;
};

layout layout_of(u64 nrows, u64 ncols, u64 name_bytes, u64 text_bound) {
  layout l;
  l.sids = checked(checked(nrows, ncols), sizeof(result_cell));
  l.names = checked(nrows, sizeof(u64), l.sids);
  l.bytes = checked(ncols, sizeof(datas_name), l.names);
  l.total = checked(1, name_bytes, checked(1, text_bound, l.bytes));
  return l;
}

// Copies the names (already checked) from the body into the block, each with a NUL.
char* place_names(datas& out, cursor names, char* at, u64 ncols) {
  for (u64 c = 0; c < ncols; ++c) {
    u64 len = 0;
    names.u64_le(len);
    out.cols.data[c] = {at, len};
    if (len) std::memcpy(at, names.p, len);
    at[len] = '\0';
    at += len + 1;
    names.skip(len);
  }
  return at;
}

bool decode(datas& out, cursor& in, const char*& why) {
  const u64 body_size = in.left;
  u64 ncols;
  if (!in.u64_le(ncols)) return why = "column count", false;
  // Each name takes at least its 8-byte length.
  if (ncols > in.left / 8) return why = "column count", false;
  const cursor names = in;
  u64 name_bytes = 0;  // with a NUL each
  for (u64 c = 0; c < ncols; ++c) {
    u64 len;
    if (!in.u64_le(len) || len > in.left) return why = "column name", false;
    name_bytes += len + 1;
    in.skip(len);
  }
  u64 nrows;
  if (!in.u64_le(nrows)) return why = "row count", false;
  if (nrows == 0) {
    if (ncols == 0) return true;
    const layout l = layout_of(0, ncols, name_bytes, 0);
    out.block = result_block_alloc(l.total);
    char* base = static_cast<char*>(out.block.base);
    out.cols = {ncols, ncols, reinterpret_cast<datas_name*>(base + l.names)};
    place_names(out, names, base + l.bytes, ncols);
    return true;
  }

  if (ncols > in.left / 3) return why = "column descriptors", false;
  adt::vector<column_plan> plan;
  if (ncols) {
    plan.data = static_cast<column_plan*>(adt::mem_alloc(adt::mem_bytes(ncols, sizeof(column_plan))));
    plan.size = plan.capacity = ncols;
  }
  u64 row_min = 8;  // the row id, then the fixed part of each value
  for (u64 c = 0; c < ncols; ++c) {
    column_desc d{in.p[0], in.p[1], in.p[2]};
    in.skip(3);
    plan[c] = plan_of(d);
    row_min += plan[c].width;
  }
  if (nrows > in.left / row_min) return why = "row count", false;
  // Columns whose type carries no bytes still cost a 16-byte cell per row: beyond a fixed
  // allowance, a body may not ask for more cells than it has bytes.
  if (ncols && nrows > (body_size + null_cell_allowance) / ncols) return why = "cell count", false;

  // Every row takes at least row_min bytes: what is left beyond that bounds the texts.
  const u64 text_bound = in.left - nrows * row_min;
  const layout l = layout_of(nrows, ncols, name_bytes, text_bound);
  out.block = result_block_alloc(l.total);
  char* base = static_cast<char*>(out.block.base);
  result_cell* cells = reinterpret_cast<result_cell*>(base);
  u64* sids = reinterpret_cast<u64*>(base + l.sids);
  out.cols = {ncols, ncols, reinterpret_cast<datas_name*>(base + l.names)};
  char* text = place_names(out, names, base + l.bytes, ncols);
  const column_plan* const plans = plan.data;
  u64 text_left = text_bound;
  bool overrun = false;

  unsigned char* cell = reinterpret_cast<unsigned char*>(cells);
  for (u64 r = 0; r < nrows; ++r) {
    if (!in.u64_le(sids[r])) return why = "row", false;
    for (u64 c = 0; c < ncols; ++c, cell += sizeof(result_cell)) {
      const column_plan& k = plans[c];
      std::memcpy(cell, k.proto, sizeof(result_cell));
      if (in.left < k.width) return why = "row", false;
      const unsigned char* p = in.p;
      switch (k.copy) {
        case copy_kind::none:
          break;
        case copy_kind::b1:
          cell[0] = p[0];
          break;
        case copy_kind::b2:
          std::memcpy(cell, p, 2);
          break;
        case copy_kind::b4:
          std::memcpy(cell, p, 4);
          break;
        case copy_kind::b8:
          std::memcpy(cell, p, 8);
          break;
        case copy_kind::time7:
          std::memcpy(cell + val_hour_at, p, 7);
          break;
        case copy_kind::b11:
          std::memcpy(cell, p, 11);
          break;
        case copy_kind::text: {
          const u64 len = p[0] | (u64(p[1]) << 8);
          in.skip(2);
          if (len > in.left) return why = "text value", false;
          if (len > text_left) {
            // The rows still to come cannot all fit in the body: it fails further on, for
            // the reason found there, and its texts need not be kept.
            text_left = 0;
            overrun = true;
          } else if (len) {
            text_left -= len;
            std::memcpy(text, in.p, len);
            reinterpret_cast<result_cell*>(cell)->set_text(text, static_cast<u16>(len));
            text += len;
          }
          in.skip(len);
          continue;
        }
      }
      in.skip(k.width);
    }
  }
  if (overrun) return why = "row", false;  // not reached: see above
  out.rows = {nrows, nrows, ncols, sids, cells};
  result_block_trim(out.block, static_cast<u64>(text - base));
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
