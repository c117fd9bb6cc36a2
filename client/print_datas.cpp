#include "client/print_datas.h"

#include <cstdio>
#include <cstring>

#include "adt/vector.h"
#include "value/convert.h"

namespace kk {

namespace {

struct print_cell {
  adt::string::string text;
  u64 width = 0;
};

constexpr u64 piece = 4096;

void append(adt::string::string& s, const char* p, u64 n) {
  if (n == 0) return;
  u64 at = s.size;
  s.resize(at + n);
  std::memcpy(s.data + at, p, n);
}
void append(adt::string::string& s, const char* text) { append(s, text, std::strlen(text)); }
void append(adt::string::string& s, const adt::string::string& t) { append(s, t.data, t.size); }
void repeat(adt::string::string& s, char c, u64 n) {
  if (n) s.resize(s.size + n, c);
}

void flush(adt::string::string& buf, text_sink& out) {
  if (buf.size) out.write(buf.data, buf.size);
  buf.resize(0);
}

struct stdout_sink : text_sink {
  void write(const char* p, u64 n) override { std::fwrite(p, 1, n, stdout); }
};

}  // namespace

u64 text_display_width(const char* p, u64 n) {
  const unsigned char* b = reinterpret_cast<const unsigned char*>(p);
  u64 width = 0;
  u64 i = 0;
  while (i < n) {
    unsigned char c = b[i];
    if (c < 0x80) {
      width += (c >= 0x20 && c <= 0x7E) ? 1 : 0;
      ++i;
      continue;
    }
    u64 len = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (len == 0 || len > n - i) break;
    for (u64 k = 1; k < len; ++k)
      if ((b[i + k] & 0xC0) != 0x80) return width;
    width += 2;
    i += len;
  }
  return width;
}

void print_datas(const datas& d, text_sink& out) {
  const u64 ncols = d.cols.size;
  const u64 nrows = d.rows.size;
  if (ncols == 0) return;

  adt::vector<u64> widths;
  widths.resize(ncols);
  for (u64 c = 0; c < ncols; ++c) widths[c] = 0;
  // Column-major: every cell is converted and measured once.
  adt::vector<adt::vector<print_cell>> cells;
  cells.resize(ncols);
  for (u64 c = 0; c < ncols; ++c) {
    adt::vector<print_cell>& column = cells[c];
    column.resize(nrows);
    for (u64 r = 0; r < nrows; ++r) {
      print_cell& cell = column[r];
      cell.text.resize(0);
      cell.width = 0;
      if (c >= d.rows.width) continue;
      const val v = cell_value(*d.rows.cell(r, c));
      if (val_kind_index(v) != kind_none) {
        val text;
        val_convert(text, kind_string, v, false);
        if (text.type == val_type_text) append(cell.text, text.text, text.len);
      }
      cell.width = text_display_width(cell.text);
      if (cell.width > widths[c]) widths[c] = cell.width;
    }
    u64 w = text_display_width(d.cols[c].data, d.cols[c].size);
    if (w > widths[c]) widths[c] = w;
  }

  adt::string::string buf;
  append(buf, "\n|-");
  for (u64 c = 0; c < ncols; ++c) {
    u64 w = text_display_width(d.cols[c].data, d.cols[c].size);
    u64 gap = widths[c] - w;
    repeat(buf, '-', gap / 2);
    append(buf, d.cols[c].data, d.cols[c].size);
    repeat(buf, '-', gap - gap / 2);
    append(buf, c + 1 < ncols ? "-|-" : "-| ");
  }
  append(buf, "\n");

  for (u64 r = 0; r < nrows; ++r) {
    if (buf.size > piece) flush(buf, out);
    append(buf, "| ");
    for (u64 c = 0; c < ncols; ++c) {
      const print_cell& cell = cells[c][r];
      append(buf, cell.text);
      repeat(buf, ' ', widths[c] - cell.width);
      append(buf, c + 1 < ncols ? " | " : " |");
    }
    append(buf, "\n");
  }
  flush(buf, out);
}

void print_datas(const datas& d) {
  std::fflush(stdout);
  stdout_sink out;
  print_datas(d, out);
  std::fflush(stdout);
}

}  // namespace kk
