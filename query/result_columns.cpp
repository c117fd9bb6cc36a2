#include "query/result_columns.h"

#include <QString>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdio>
#include <exception>
#include <thread>
#include <cstdlib>
#include <cstring>

#include "query/calendar_value.h"
#include "query/variant_rows.h"

using kk::u64;
using kk::u8;

namespace {

// The library's type codes (ruv_sql_lib_mem.h).
enum : int { t_int = 0, t_float = 1, t_text = 2, t_date = 3, t_time = 4, t_datetime = 5 };

u64 pack_date(uint32_t y, uint32_t m, uint32_t d) { return u64(y & 0xffff) | (u64(m & 0xff) << 16) | (u64(d & 0xff) << 24); }
u64 pack_time(uint32_t h, uint32_t m, uint32_t s, uint32_t ns) {
  return u64(h & 0xff) | (u64(m & 0xff) << 8) | (u64(s & 0xff) << 16) | (u64(ns) << 32);
}

void unpack_date(u64 w, kk::datetime_fields& f) {
  f.year = uint16_t(w);
  f.month = uint8_t(w >> 16);
  f.day = uint8_t(w >> 24);
}

void unpack_time(u64 w, kk::datetime_fields& f) {
  f.hour = uint8_t(w);
  f.minute = uint8_t(w >> 8);
  f.second = uint8_t(w >> 16);
  f.nanosecond = uint32_t(w >> 32);
}

// The kind of a cell as cell_type_name reads it; kind_none for a cell no type describes.
u8 kind_of_cell(const val* v) {
  switch (val_type(v)) {
    case t_int: {
      const bool is_signed = !val_sign(v);
      switch (val_size(v)) {
        case 1: return is_signed ? kk::kind_i08 : kk::kind_u08;
        case 2: return is_signed ? kk::kind_i16 : kk::kind_u16;
        case 4: return is_signed ? kk::kind_i32 : kk::kind_u32;
        default: return is_signed ? kk::kind_i64 : kk::kind_u64;
      }
    }
    case t_float: return val_size(v) == 4 ? kk::kind_float : kk::kind_double;
    case t_text: return kk::kind_string;
    case t_date: return kk::kind_date;
    case t_time: return kk::kind_time;
    case t_datetime: return kk::kind_datetime;
    default: return kk::kind_none;
  }
}

// Well-formed UTF-8 as QString::fromUtf8 reads it without replacement: no overlong forms,
// no surrogates, nothing above U+10FFFF.
bool is_utf8(const unsigned char* p, u64 n) {
  u64 i = 0;
  while (i < n) {
    const unsigned char c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    u64 len;
    uint32_t cp;
    if (c >= 0xc2 && c <= 0xdf) {
      len = 2;
      cp = c & 0x1f;
    } else if (c >= 0xe0 && c <= 0xef) {
      len = 3;
      cp = c & 0x0f;
    } else if (c >= 0xf0 && c <= 0xf4) {
      len = 4;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (n - i < len) return false;
    for (u64 k = 1; k < len; ++k) {
      if ((p[i + k] & 0xc0) != 0x80) return false;
      cp = (cp << 6) | (p[i + k] & 0x3f);
    }
    if ((len == 3 && (cp < 0x800 || (cp >= 0xd800 && cp <= 0xdfff))) || (len == 4 && (cp < 0x10000 || cp > 0x10ffff)))
      return false;
    i += len;
  }
  return true;
}

}  // namespace

u8 column_kind_of(kk::adt::text_view t) {
  for (u8 k = 0; k < kk::kind_count; ++k) {
    const char* name = kk::val_kind_name(k);
    if (name && t.size == std::strlen(name) && std::memcmp(t.data, name, t.size) == 0) return k;
  }
  return kk::kind_none;
}

result_column::result_column(u8 kind) : kind_(kind) {
  if (kind_ == kk::kind_string) offsets_.push_back(0);
}

void result_column::reserve(u64 n) {
  if (kind_ == kk::kind_none) return;
  if (kind_ == kk::kind_string) {
    offsets_.reserve(n + 1);
    bytes_.reserve(n * 16);
  } else {
    words_.reserve(n * words_per_slot());
  }
}

double result_column::real_at(u64 slot) const noexcept {
  if (kind_ == kk::kind_float) return double(std::bit_cast<float>(uint32_t(words_[slot])));
  return std::bit_cast<double>(words_[slot]);
}

kk::adt::text_view result_column::text_at(u64 slot) const noexcept {
  return {bytes_.data() + offsets_[slot], offsets_[slot + 1] - offsets_[slot]};
}

kk::datetime_fields result_column::fields_at(u64 slot) const noexcept {
  kk::datetime_fields f;
  switch (kind_) {
    case kk::kind_date: unpack_date(words_[slot], f); break;
    case kk::kind_time: unpack_time(words_[slot], f); break;
    case kk::kind_datetime:
      unpack_date(words_[2 * slot], f);
      unpack_time(words_[2 * slot + 1], f);
      break;
    default: break;
  }
  return f;
}

QVariant result_column::value(u64 slot) const {
  switch (kind_) {
    case kk::kind_i08:
    case kk::kind_u08:
    case kk::kind_i16:
    case kk::kind_u16:
    case kk::kind_i32: return QVariant(int(int_at(slot)));
    case kk::kind_u32: return QVariant(uint(uint_at(slot)));
    case kk::kind_i64: return QVariant(qlonglong(int_at(slot)));
    case kk::kind_u64: return QVariant(qulonglong(uint_at(slot)));
    case kk::kind_float: return QVariant(float(real_at(slot)));
    case kk::kind_double: return QVariant(real_at(slot));
    case kk::kind_string: {
      const kk::adt::text_view t = text_at(slot);
      return QVariant(QString::fromUtf8(t.data, int(t.size)));
    }
    case kk::kind_date: return calendar_variant(calendar_kind::date, fields_at(slot));
    case kk::kind_time: return calendar_variant(calendar_kind::time, fields_at(slot));
    case kk::kind_datetime: return calendar_variant(calendar_kind::datetime, fields_at(slot));
    default: return QVariant();
  }
}

void result_column::append_zero() {
  ++size_;
  if (kind_ == kk::kind_string)
    offsets_.push_back(bytes_.size());
  else if (kind_ != kk::kind_none)
    words_.insert(words_.end(), words_per_slot(), 0);
}

bool result_column::append(const val* v) {
  // The type codes first: a cell of another kind is no value of this column.
  bool same = false;
  const int type = val_type(v);
  switch (kind_) {
    case kk::kind_string: same = type == t_text; break;
    case kk::kind_date: same = type == t_date; break;
    case kk::kind_time: same = type == t_time; break;
    case kk::kind_datetime: same = type == t_datetime; break;
    case kk::kind_none: same = false; break;
    case kk::kind_float: same = type == t_float && val_size(v) == 4; break;
    case kk::kind_double: same = type == t_float && val_size(v) != 4; break;
    default: {
      // Integers: width and sign as kind_of_cell reads them.
      static constexpr uint32_t widths[] = {1, 1, 2, 2, 4, 4, 8, 8};
      static constexpr bool signs[] = {true, false, true, false, true, false, true, false};
      if (type != t_int || signs[kind_] == val_sign(v)) break;
      const uint32_t w = val_size(v);
      same = widths[kind_] == 8 ? (w != 1 && w != 2 && w != 4) : w == widths[kind_];
      break;
    }
  }
  if (!same) {
    append_zero();
    return false;
  }
  ++size_;
  switch (kind_) {
    case kk::kind_i08: words_.push_back(u64(kk::i64(as_int8(v)))); break;
    case kk::kind_u08: words_.push_back(as_uint8(v)); break;
    case kk::kind_i16: words_.push_back(u64(kk::i64(as_int16(v)))); break;
    case kk::kind_u16: words_.push_back(as_uint16(v)); break;
    case kk::kind_i32: words_.push_back(u64(kk::i64(as_int32(v)))); break;
    case kk::kind_u32: words_.push_back(as_uint32(v)); break;
    case kk::kind_i64: words_.push_back(u64(as_int64(v))); break;
    case kk::kind_u64: words_.push_back(as_uint64(v)); break;
    case kk::kind_float: words_.push_back(std::bit_cast<uint32_t>(as_float(v))); break;
    case kk::kind_double: words_.push_back(std::bit_cast<u64>(as_double(v))); break;
    case kk::kind_string: {
      char* text = nullptr;
      uint64_t n = 0;
      as_str(&text, &n, v);
      if (n) {
        if (utf8_ && !is_utf8(reinterpret_cast<const unsigned char*>(text), n)) utf8_ = false;
        bytes_.insert(bytes_.end(), text, text + n);
      }
      std::free(text);
      offsets_.push_back(bytes_.size());
      break;
    }
    case kk::kind_date: {
      uint32_t y = 0, m = 0, d = 0;
      as_date(&y, &m, &d, v);
      words_.push_back(pack_date(y, m, d));
      break;
    }
    case kk::kind_time: {
      uint32_t h = 0, mi = 0, s = 0, ns = 0;
      as_time(&h, &mi, &s, &ns, v);
      words_.push_back(pack_time(h, mi, s, ns));
      break;
    }
    case kk::kind_datetime: {
      uint32_t y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ns = 0;
      as_datetime(&y, &mo, &d, &h, &mi, &s, &ns, v);
      words_.push_back(pack_date(y, mo, d));
      words_.push_back(pack_time(h, mi, s, ns));
      break;
    }
    default: break;
  }
  return true;
}

namespace {

// Reads the columns in units, each worker taking the next unit not yet taken: a text
// column alone (a text costs several times a number), the other columns in runs of up to
// four adjacent ones, so that a row's cells, adjacent in the library's row-major result,
// are read by as few workers as possible. Texts go first, being the longest. A cell of
// another kind goes to the worker's odd cells, a cell of no kind stops every worker.
struct column_reader {
  static constexpr u64 prefetch_rows = 8;
  static constexpr u64 run_columns = 4;
  struct unit {
    u64 first, end;
  };
  const datas* result;
  u64 rows;
  result_table& out;
  std::vector<unit> units;
  std::atomic<u64> next{0};
  std::atomic<bool> bad{false};

  column_reader(const datas* r, u64 n, result_table& t) : result(r), rows(n), out(t) {
    const u64 c = out.columns.size();
    for (u64 i = 0; i < c; ++i)
      if (out.columns[i].kind() == kk::kind_string) units.push_back({i, i + 1});
    for (u64 i = 0; i < c;) {
      if (out.columns[i].kind() == kk::kind_string) {
        ++i;
        continue;
      }
      u64 e = i;
      while (e < c && e - i < run_columns && out.columns[e].kind() != kk::kind_string) ++e;
      units.push_back({i, e});
      i = e;
    }
  }

  void run(std::vector<result_table::odd_cell>& odd) {
    for (;;) {
      const u64 k = next.fetch_add(1);
      if (k >= units.size() || bad.load(std::memory_order_relaxed)) return;
      read(units[k].first, units[k].end, odd);
    }
  }

  void read(u64 first, u64 end, std::vector<result_table::odd_cell>& odd) {
    // The columns are filled in this worker's own copies of their records, moved back at
    // the end: records of adjacent columns share cache lines, and other workers fill those.
    result_column local[run_columns];
    const u64 n = end - first;
    for (u64 k = 0; k < n; ++k) local[k] = std::move(out.columns[first + k]);
    struct give_back {
      result_column* local;
      result_column* out;
      u64 n;
      ~give_back() {
        for (u64 k = 0; k < n; ++k) out[k] = std::move(local[k]);
      }
    } back{local, &out.columns[first], n};
    for (u64 j = 0; j < rows; ++j) {
      if ((j & 4095) == 0 && bad.load(std::memory_order_relaxed)) return;
      // The cells a few rows on are fetched while this row's are read.
      if (j + prefetch_rows < rows) __builtin_prefetch(at(j + prefetch_rows, first, result));
      for (u64 k = 0; k < n; ++k) {
        const u64 i = first + k;
        const val* v = at(j, i, result);
        if (local[k].append(v)) continue;
        // Not of its column's kind: kept with its own value, unless no type describes it.
        if (!cell_type_name(v)) {
          bad = true;
          return;
        }
        odd.push_back({j, i, cell_to_variant(v)});
      }
    }
  }
};

// Below this many cells one thread reads the result; above, the columns are read in
// parallel (the result is only read, each column written by one worker).
constexpr u64 parallel_cells = u64(1) << 18;

}  // namespace

bool read_result(const datas* result, result_table& out) {
  out = result_table();
  const u64 r = rows_of(result);
  const u64 c = cols_of(result);
  if (c == 0) return true;
  out.names.reserve(c);
  for (u64 i = 0; i < c; ++i) {
    uint32_t len = 0;
    const char* name = col_name(&len, result, int32_t(i));
    out.names.push_back(name ? kk::adt::string_from_bytes(name, len) : kk::adt::string::string());
  }
  if (r == 0) return true;
  out.columns.reserve(c);
  for (u64 i = 0; i < c; ++i) {
    const u8 kind = kind_of_cell(at(0, i, result));
    if (kind == kk::kind_none) {
      std::printf("bad type\n");
      out = result_table();
      return false;
    }
    out.types.push_back(kk::adt::string_from_cstr(kk::val_kind_name(kind)));
    out.columns.emplace_back(kind);
  }
  out.row_ids.resize(r);
  for (u64 j = 0; j < r; ++j) out.row_ids[j] = sid_of(result, j);

  // The columns' blocks come from this thread's heap, not from the workers': blocks freed
  // by a reload then serve the next load, whichever worker reads which column (a worker's
  // heap keeps what is freed into it).
  for (result_column& column : out.columns) column.reserve(r);
  column_reader reader{result, r, out};
  const u64 hardware = std::max(1u, std::thread::hardware_concurrency());
  const u64 workers = r * c >= parallel_cells ? std::min<u64>({hardware, reader.units.size(), 8}) : 1;
  std::vector<std::vector<result_table::odd_cell>> odd(workers);
  std::vector<std::exception_ptr> failures(workers);
  auto work = [&](u64 w) {
    try {
      reader.run(odd[w]);
    } catch (...) {
      failures[w] = std::current_exception();
      reader.bad = true;  // the others stop soon after
    }
  };
  std::vector<std::thread> threads;
  threads.reserve(workers - 1);
  try {
    for (u64 w = 1; w < workers; ++w) threads.emplace_back(work, w);
  } catch (...) {
    // No thread to be had: this one reads what is left.
  }
  work(0);
  for (std::thread& t : threads) t.join();
  for (const std::exception_ptr& e : failures)
    if (e) std::rethrow_exception(e);
  if (reader.bad) {
    std::printf("bad type\n");
    out = result_table();
    return false;
  }
  for (auto& o : odd)
    for (auto& cell : o) out.odd_cells.push_back(std::move(cell));
  std::sort(out.odd_cells.begin(), out.odd_cells.end(), [](const result_table::odd_cell& a, const result_table::odd_cell& b) {
    return a.row != b.row ? a.row < b.row : a.column < b.column;
  });
  return true;
}
