// A result set as a console text table: a header line of centred column names, then one
// line per row, cells left-aligned and padded to the widest entry in display columns.
#pragma once
#include "adt/string.h"
#include "adt/types.h"
#include "client/datas.h"

namespace kk {

// Display columns of UTF-8 text: printable ASCII counts 1, control bytes 0, every 2-, 3- or
// 4-byte character 2. The walk ends at the first malformed or cut-short sequence.
u64 text_display_width(const char* p, u64 n);
inline u64 text_display_width(const adt::string::string& s) { return text_display_width(s.data, s.size); }

// Where the table goes, in pieces of a little over 4096 bytes.
struct text_sink {
  virtual void write(const char* p, u64 n) = 0;
  virtual ~text_sink() = default;
};

void print_datas(const datas& d, text_sink& out);
// To standard output.
void print_datas(const datas& d);

}  // namespace kk
