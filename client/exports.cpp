// Definitions of the flat C interface; each catches everything at its edge.
#include "ruv_sql_lib_mem.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "client/connection.h"
#include "client/datas.h"
#include "client/print_datas.h"
#include "sqllib/sql_library.h"
#include "sqllib/update_analysis.h"
#include "value/val.h"

namespace {

// A NUL byte before len: the caller passed a length longer than its C string. Such a text is
// refused, the way C string functions with a byte count stop at the terminator, instead of
// being read past its end.
bool nul_before_end(const char* text, int32_t len) {
  return text && len > 0 && strnlen(text, size_t(len)) < size_t(len);
}

// A val from at() is a result cell of its datas.
const kk::result_cell* cell_of(const val* v) { return reinterpret_cast<const kk::result_cell*>(v); }

// The payload's first bytes as T (0 for a text).
template <class T>
T read_data(const val* v) {
  T x{};
  if (v) std::memcpy(&x, cell_of(v)->payload(), sizeof x);
  return x;
}

kk::datetime_fields fields_of(const val* v) {
  kk::val fields;  // no text: nothing to release
  std::memcpy(fields.data, cell_of(v)->payload(), sizeof fields.data);
  return kk::val_fields(fields);
}

}  // namespace

extern "C" {

bool connect_to_server(const char* host, uint16_t port, const char* user, const char* password) {
  try {
    return kk::client::connect_to_server(host, port, user, password);
  } catch (...) {
    std::printf("connect error unexpected failure!\n");
    return false;
  }
}

datas* exec(const char* text, int32_t len) {
  try {
    return kk::client::exec(text, len);
  } catch (...) {
    std::printf("exec failed(unexpected failure).\n");
    return nullptr;
  }
}

bool exit_to_server(void) {
  try {
    return kk::client::exit_to_server();
  } catch (...) {
    return true;
  }
}

void del_datas(datas* d) {
  if (!d) return;
  kk::free_datas(*d);
  delete d;
}

uint64_t rows_of(const datas* d) { return d ? d->rows.size : 0; }
uint64_t cols_of(const datas* d) { return d ? d->cols.size : 0; }

uint64_t sid_of(const datas* d, uint64_t row) { return d && row < d->rows.size ? d->rows.sids[row] : 0; }

const char* col_name(uint32_t* len_out, const datas* d, int32_t col) {
  // Widened with its sign, then compared unsigned: -1 is out of range.
  uint64_t c = static_cast<uint64_t>(static_cast<int64_t>(col));
  if (!d || c >= d->cols.size) return nullptr;
  const kk::datas_name& name = d->cols[c];
  if (len_out) *len_out = static_cast<uint32_t>(name.size);
  return name.data;
}

val* at(uint64_t row, uint64_t col, const datas* d) {
  if (!d || row >= d->rows.size || col >= d->rows.width) return nullptr;
  return reinterpret_cast<val*>(const_cast<kk::result_cell*>(d->rows.cell(row, col)));
}

uint32_t val_size(const val* v) {
  if (!v) return 0;
  switch (cell_of(v)->size) {
    case 0: return 1;
    case 1: return 2;
    case 2: return 4;
    default: return 8;
  }
}

int32_t val_type(const val* v) { return v && cell_of(v)->type <= 5 ? cell_of(v)->type : -1; }
bool val_sign(const val* v) { return v && cell_of(v)->sign != 0; }

int8_t as_int8(const val* v) { return read_data<int8_t>(v); }
int16_t as_int16(const val* v) { return read_data<int16_t>(v); }
int32_t as_int32(const val* v) { return read_data<int32_t>(v); }
int64_t as_int64(const val* v) { return read_data<int64_t>(v); }
uint8_t as_uint8(const val* v) { return read_data<uint8_t>(v); }
uint16_t as_uint16(const val* v) { return read_data<uint16_t>(v); }
uint32_t as_uint32(const val* v) { return read_data<uint32_t>(v); }
uint64_t as_uint64(const val* v) { return read_data<uint64_t>(v); }
float as_float(const val* v) { return read_data<float>(v); }
double as_double(const val* v) { return read_data<double>(v); }

void as_str(char** out, uint64_t* len_out, const val* v) {
  if (!v) return;
  const kk::result_cell& c = *cell_of(v);
  if (c.type == kk::val_type_null) {
    if (out) *out = nullptr;
    if (len_out) *len_out = 0;
    return;
  }
  const char* text = c.text();
  uint64_t n = text ? c.text_size() : 0;
  // malloc(0) may return null; a 1-byte block keeps "no text" distinct from "no memory".
  char* copy = static_cast<char*>(std::malloc(n ? n : 1));
  if (copy && n) std::memcpy(copy, text, n);
  if (out) *out = copy;
  else std::free(copy);
  if (len_out) *len_out = n;
}

void as_date(uint32_t* year, uint32_t* month, uint32_t* day, const val* v) {
  if (!v) return;
  kk::datetime_fields f = fields_of(v);
  if (year) *year = f.year;
  if (month) *month = f.month;
  if (day) *day = f.day;
}

void as_time(uint32_t* hour, uint32_t* minute, uint32_t* second, uint32_t* nanosecond, const val* v) {
  if (!v) return;
  kk::datetime_fields f = fields_of(v);
  if (hour) *hour = f.hour;
  if (minute) *minute = f.minute;
  if (second) *second = f.second;
  if (nanosecond) *nanosecond = f.nanosecond;
}

void as_datetime(uint32_t* year, uint32_t* month, uint32_t* day, uint32_t* hour, uint32_t* minute,
                 uint32_t* second, uint32_t* nanosecond, const val* v) {
  as_date(year, month, day, v);
  as_time(hour, minute, second, nanosecond, v);
}

void print(const datas* d) {
  if (!d) return;
  try {
    kk::print_datas(*d);
  } catch (...) {
    std::printf("print failed.\n");
  }
}

bool can_update(const char* text, int32_t len) {
  if (nul_before_end(text, len)) return false;
  try {
    return kk::grammar::can_update_text(kk::sql_library_instance(), text, len);
  } catch (...) {
    return false;
  }
}

const char* extract_where_from_update(const char* text, int32_t len, uint32_t* len_out) {
  if (nul_before_end(text, len)) return nullptr;
  try {
    return kk::grammar::where_of_update(kk::sql_library_instance(), text, len, len_out);
  } catch (...) {
    return nullptr;
  }
}

const char* extract_tab_name_from_update(const char* text, int32_t len, uint32_t* len_out) {
  if (nul_before_end(text, len)) return nullptr;
  try {
    return kk::grammar::table_name_of_update(kk::sql_library_instance(), text, len, len_out);
  } catch (...) {
    return nullptr;
  }
}

}  // extern "C"
