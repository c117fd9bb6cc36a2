// Helpers of the SQL function tests: value builders, columns, calls through the registry
// with standard output captured, and cell comparison.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "functions/column.h"
#include "functions/registry.h"
#include "value/val.h"

namespace kk::functions::test {

inline val vi08(std::int8_t x) { val v; val_from_i08(v, x); return v; }
inline val vu08(std::uint8_t x) { val v; val_from_u08(v, x); return v; }
inline val vi16(std::int16_t x) { val v; val_from_i16(v, x); return v; }
inline val vu16(std::uint16_t x) { val v; val_from_u16(v, x); return v; }
inline val vi32(std::int32_t x) { val v; val_from_i32(v, x); return v; }
inline val vu32(std::uint32_t x) { val v; val_from_u32(v, x); return v; }
inline val vi64(std::int64_t x) { val v; val_from_i64(v, x); return v; }
inline val vu64(std::uint64_t x) { val v; val_from_u64(v, x); return v; }
inline val vflt(float x) { val v; val_from_float(v, x); return v; }
inline val vdbl(double x) { val v; val_from_double(v, x); return v; }
inline val vtxt(const std::string& s) { val v; val_from_bytes(v, s.data(), s.size()); return v; }
inline val vnull() { return val(); }
inline val vdate(std::uint16_t y, std::uint8_t m, std::uint8_t d) { val v; val_from_date(v, y, m, d); return v; }
inline val vtime(std::uint8_t h, std::uint8_t mi, std::uint8_t s, std::uint32_t ns = 0) {
  val v;
  val_from_time(v, h, mi, s, ns);
  return v;
}
inline val vdt(std::uint16_t y, std::uint8_t m, std::uint8_t d, std::uint8_t h, std::uint8_t mi, std::uint8_t s,
               std::uint32_t ns = 0) {
  datetime_fields f;
  f.year = y, f.month = m, f.day = d, f.hour = h, f.minute = mi, f.second = s, f.nanosecond = ns;
  val v;
  val_from_datetime(v, f);
  return v;
}

// A column of these cells with row ids first_id, first_id + 1, ...
inline column col(const std::vector<val>& cells, u64 first_id = 100) {
  column c;
  column_resize(c, cells.size());
  for (size_t i = 0; i < cells.size(); ++i) {
    val_assign(c.values[i], cells[i]);
    c.ids[i] = first_id + i;
  }
  return c;
}

struct call_outcome {
  bool ok;
  std::string printed;
};

// Calls a function by name through the registry, capturing what it prints.
inline call_outcome call(const char* name, column& result, std::vector<column>& args) {
  sql_function f = find_sql_function(name);
  EXPECT_NE(f, nullptr) << name << " is not registered";
  if (!f) return {false, ""};
  column_list list{args.empty() ? nullptr : args.data(), args.size()};
  ::testing::internal::CaptureStdout();
  const bool ok = f(nullptr, &result, &list);
  return {ok, ::testing::internal::GetCapturedStdout()};
}

// Same header bytes and same payload (bitwise for numbers, bytes for texts).
inline bool same(const val& a, const val& b) {
  if (a.type != b.type || a.sign != b.sign || a.size != b.size || a.len != b.len) return false;
  if (a.type == val_type_text) return a.len == 0 || std::memcmp(a.text, b.text, a.len) == 0;
  return std::memcmp(a.data, b.data, sizeof a.data) == 0;
}

inline std::string show(const val& v) {
  const char* kind = val_kind_name(val_kind_index(v));
  std::string s = kind ? kind : (v.type == val_type_null ? "null" : "malformed");
  if (v.type == val_type_text) return s + " '" + std::string(v.text ? v.text : "", v.len) + "'";
  char buf[64];
  s += " [";
  for (unsigned char b : v.data) {
    std::snprintf(buf, sizeof buf, "%02x", b);
    s += buf;
  }
  return s + "]";
}

}  // namespace kk::functions::test
