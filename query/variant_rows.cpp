#include "query/variant_rows.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <cstdio>
#include <cstdlib>

#include "query/calendar_value.h"

void list_of_rows_clear(variant_rows& rows) {
  std::vector<QVariant>().swap(rows.values);
  rows.columns = 0;
}

namespace {

enum : int { t_int = 0, t_float = 1, t_text = 2, t_date = 3, t_time = 4, t_datetime = 5 };

// The calendar fields of a date, time or datetime cell.
kk::datetime_fields fields_of(const val* v, bool date, bool time) {
  kk::datetime_fields f;
  if (date) {
    uint32_t y = 0, m = 0, d = 0;
    as_date(&y, &m, &d, v);
    f.year = uint16_t(y);
    f.month = uint8_t(m);
    f.day = uint8_t(d);
  }
  if (time) {
    uint32_t h = 0, m = 0, s = 0, ns = 0;
    as_time(&h, &m, &s, &ns, v);
    f.hour = uint8_t(h);
    f.minute = uint8_t(m);
    f.second = uint8_t(s);
    f.nanosecond = ns;
  }
  return f;
}

}  // namespace

const char* cell_type_name(const val* v) {
  switch (val_type(v)) {
    case t_int: {
      const bool is_signed = !val_sign(v);
      switch (val_size(v)) {
        case 1: return is_signed ? "i08" : "u08";
        case 2: return is_signed ? "i16" : "u16";
        case 4: return is_signed ? "i32" : "u32";
        default: return is_signed ? "i64" : "u64";
      }
    }
    case t_float: return val_size(v) == 4 ? "float" : "double";
    case t_text: return "string";
    case t_date: return "date";
    case t_time: return "time";
    case t_datetime: return "datetime";
    default: return nullptr;
  }
}

QVariant cell_to_variant(const val* v) {
  switch (val_type(v)) {
    case t_int: {
      const bool is_signed = !val_sign(v);
      switch (val_size(v)) {
        case 1: return is_signed ? QVariant(int(as_int8(v))) : QVariant(int(as_uint8(v)));
        case 2: return is_signed ? QVariant(int(as_int16(v))) : QVariant(int(as_uint16(v)));
        case 4: return is_signed ? QVariant(int(as_int32(v))) : QVariant(uint(as_uint32(v)));
        default:
          return is_signed ? QVariant(qlonglong(as_int64(v))) : QVariant(qulonglong(as_uint64(v)));
      }
    }
    case t_float:
      return val_size(v) == 4 ? QVariant(as_float(v)) : QVariant(as_double(v));
    case t_text: {
      char* bytes = nullptr;
      uint64_t n = 0;
      as_str(&bytes, &n, v);
      QString s = QString::fromUtf8(bytes, int(n));
      std::free(bytes);
      return QVariant(s);
    }
    case t_date: return calendar_variant(calendar_kind::date, fields_of(v, true, false));
    case t_time: return calendar_variant(calendar_kind::time, fields_of(v, false, true));
    case t_datetime: return calendar_variant(calendar_kind::datetime, fields_of(v, true, true));
    default: return QVariant();
  }
}

bool result_is_typed(const datas* result) {
  const kk::u64 r = rows_of(result);
  const kk::u64 c = cols_of(result);
  for (kk::u64 j = 0; j < r; ++j)
    for (kk::u64 i = 0; i < c; ++i)
      if (!cell_type_name(at(j, i, result))) {
        std::printf("bad type\n");
        return false;
      }
  return true;
}

bool result_to_variants(const datas* result, text_list& names, variant_rows& rows, text_list& types,
                        kk::adt::vector<kk::u64>* row_ids) {
  const kk::u64 r = rows_of(result);
  const kk::u64 c = cols_of(result);
  if (c == 0) return true;
  for (kk::u64 i = 0; i < c; ++i) {
    uint32_t len = 0;
    const char* name = col_name(&len, result, int32_t(i));
    names.push_back(name ? kk::adt::string_from_bytes(name, len) : kk::adt::string::string());
  }
  if (r == 0) return true;
  for (kk::u64 i = 0; i < c; ++i) {
    const char* type = cell_type_name(at(0, i, result));
    if (!type) {
      std::printf("bad type\n");
      return false;
    }
    types.push_back(kk::adt::string_from_cstr(type));
  }
  rows.columns = c;
  rows.values.reserve(r * c);
  if (row_ids) {
    row_ids->resize(r);
    for (kk::u64 j = 0; j < r; ++j) (*row_ids)[j] = sid_of(result, j);
  }
  for (kk::u64 j = 0; j < r; ++j) {
    for (kk::u64 i = 0; i < c; ++i) {
      const val* v = at(j, i, result);
      if (!cell_type_name(v)) {
        std::printf("bad type\n");
        names.clear();
        list_of_rows_clear(rows);
        if (row_ids) row_ids->resize(0);
        return false;
      }
      rows.values.push_back(cell_to_variant(v));
    }
  }
  return true;
}
