// The wide table of the load and transfer benchmarks.
#include <algorithm>
#include <bit>

#include "tests/peer/catalogue.h"

namespace peer {

namespace {
// splitmix64: every draw from the seed and a counter, cheap and the same everywhere.
uint64_t mix(uint64_t x) {
  x += 0x9e3779b97f4a7c15ull;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
  return x ^ (x >> 31);
}
}  // namespace

bool fill_wide(catalogue& db, std::string name, uint64_t rows, uint64_t seed) {
  using F = ftype;
  std::vector<field_def> fields = {{"id", F::u64, "false"}};
  for (int i = 1; i <= 6; ++i) fields.push_back({"i" + std::to_string(i), F::i64, "false"});
  for (int i = 1; i <= 5; ++i) fields.push_back({"r" + std::to_string(i), F::f64, "false"});
  for (int i = 1; i <= 6; ++i) fields.push_back({"s" + std::to_string(i), F::str, "false"});
  for (int i = 1; i <= 2; ++i) fields.push_back({"d" + std::to_string(i), F::date, "false"});
  if (!db.create_table(name, fields)) return false;
  std::lock_guard<std::mutex> g(db.mu_);
  db.snapshots_.clear();
  auto t = std::find_if(db.db_.tables.begin(), db.db_.tables.end(), [&](const table_store& x) { return x.name == name; });
  // Cells are written in their wire form straight into the columns.
  for (size_t f = 0; f < fields.size(); ++f) t->cols[f].reserve(rows, fields[f].type == F::str ? rows * 14 : 0);
  t->ids.reserve(rows);
  static const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  uint64_t draw = seed * 0x100000001b3ull;
  char cell[24];
  auto le = [&cell](uint64_t v, int n) {
    for (int i = 0; i < n; ++i) cell[i] = static_cast<char>(v >> (8 * i));
    return std::string_view(cell, static_cast<size_t>(n));
  };
  for (uint64_t r = 0; r < rows; ++r) {
    size_t f = 0;
    t->ids.push_back(db.db_.next_id++);
    t->cols[f++].push_cell(le(r + 1, 8));
    // Integers of every magnitude, both signs.
    for (int i = 0; i < 6; ++i) {
      const uint64_t x = mix(++draw);
      t->cols[f++].push_cell(le(static_cast<uint64_t>(static_cast<int64_t>(x) >> (x & 63)), 8));
    }
    for (int i = 0; i < 5; ++i) {
      const double d = static_cast<double>(static_cast<int64_t>(mix(++draw))) / 1e9;
      t->cols[f++].push_cell(le(std::bit_cast<uint64_t>(d), 8));
    }
    for (int i = 0; i < 6; ++i) {
      uint64_t x = mix(++draw);
      const size_t n = 4 + x % 17;
      x /= 17;
      le(n, 2);
      for (size_t c = 0; c < n; ++c) {
        if (x < 62) x = mix(++draw);
        cell[2 + c] = alphabet[x % 62];
        x /= 62;
      }
      t->cols[f++].push_cell(std::string_view(cell, 2 + n));
    }
    for (int i = 0; i < 2; ++i) {
      const uint64_t x = mix(++draw);
      const uint64_t year = 1970 + x % 68, month = 1 + (x >> 8) % 12, day = 1 + (x >> 16) % 28;
      t->cols[f++].push_cell(le(year | month << 16 | day << 24, 4));
    }
  }
  return true;
}

}  // namespace peer
