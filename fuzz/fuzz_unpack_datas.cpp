// The reply payload decoder on arbitrary bodies. Beyond memory safety it checks that a
// decoded result is exactly what the body holds: encoding it again gives the body's first
// bytes. Every decoded cell then goes through the console printer and the conversion matrix,
// which read whatever header bytes the server sent.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "client/print_datas.h"
#include "client/unpack_datas.h"
#include "value/convert.h"
#include "value/startup_tables.h"

namespace {

void fail(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

void put_u64(std::string& s, uint64_t v) {
  for (int i = 0; i < 8; ++i) s.push_back(static_cast<char>(v >> (8 * i)));
}

// The wire form of a decoded result, written from the cells themselves.
std::string encode(const kk::datas& d) {
  std::string s;
  put_u64(s, d.cols.size);
  for (uint64_t c = 0; c < d.cols.size; ++c) {
    put_u64(s, d.cols[c].size);
    s.append(d.cols[c].data, d.cols[c].size);
  }
  put_u64(s, d.rows.size);
  if (d.rows.size == 0) return s;
  const kk::datas_row& first = d.rows[0];
  for (uint64_t c = 0; c < first.vals.size; ++c) {
    s.push_back(static_cast<char>(first.vals[c].size));
    s.push_back(static_cast<char>(first.vals[c].sign));
    s.push_back(static_cast<char>(first.vals[c].type));
  }
  for (uint64_t r = 0; r < d.rows.size; ++r) {
    const kk::datas_row& row = d.rows[r];
    put_u64(s, row.sid);
    for (uint64_t c = 0; c < row.vals.size; ++c) {
      const kk::val& v = row.vals[c];
      kk::column_desc desc{v.size, v.sign, v.type};
      uint64_t w = kk::wire_value_size(desc);
      if (v.type == kk::val_type_text) {
        s.push_back(static_cast<char>(v.len & 0xff));
        s.push_back(static_cast<char>(v.len >> 8));
        if ((v.len == 0) != (v.text == nullptr)) fail("text block and length disagree");
        s.append(v.text ? v.text : "", v.len);
      } else {
        if (w > 11) fail("wire width beyond the cell");
        size_t at = v.type == kk::val_type_time ? kk::val_hour_at : 0;
        s.append(reinterpret_cast<const char*>(v.data) + at, w);
        if (v.text || v.len) fail("a non-text cell holds a text");
      }
    }
  }
  return s;
}

struct null_sink : kk::text_sink {
  uint64_t bytes = 0;
  void write(const char*, uint64_t n) override { bytes += n; }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  kk::startup_tables_init();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* body = reinterpret_cast<const char*>(data);
  kk::datas d;
  const char* why = nullptr;
  bool ok = kk::unpack_datas(d, body, size, &why);
  if (!ok) {
    if (!why) fail("failure without a reason");
    if (d.rows.size || d.cols.size) fail("failure left cells behind");
    return 0;
  }
  for (uint64_t r = 0; r < d.rows.size; ++r)
    if (d.rows[r].vals.size != d.cols.size) fail("row width differs from the column count");
  if (size) {
    std::string again = encode(d);
    if (again.size() > size || std::memcmp(again.data(), body, again.size()) != 0)
      fail("decoded result does not encode back to the body");
  }

  null_sink sink;
  kk::print_datas(d, sink);
  // Conversions of the first rows to every kind: text sources may throw for float/double.
  for (uint64_t r = 0; r < d.rows.size && r < 8; ++r) {
    for (uint64_t c = 0; c < d.rows[r].vals.size; ++c) {
      const kk::val& v = d.rows[r].vals[c];
      for (uint8_t k = 0; k < kk::kind_count; ++k) {
        try {
          kk::val out = kk::val_convert(k, v, true);
          if (out.len > kk::val_text_max) fail("converted text too long");
        } catch (const std::invalid_argument&) {
        } catch (const std::out_of_range&) {
        }
      }
    }
  }
  kk::free_datas(d);
  return 0;
}
