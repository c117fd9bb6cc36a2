// The wide table of the load and transfer benchmarks.
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
  static const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  uint64_t draw = seed * 0x100000001b3ull;
  std::vector<value> row(fields.size());
  for (uint64_t r = 0; r < rows; ++r) {
    size_t f = 0;
    row[f++] = value::uint(F::u64, r + 1);
    // Integers of every magnitude, both signs.
    for (int i = 0; i < 6; ++i) {
      const uint64_t x = mix(++draw);
      row[f++] = value::sint(F::i64, static_cast<int64_t>(x) >> (x & 63));
    }
    for (int i = 0; i < 5; ++i) row[f++] = value::real(F::f64, static_cast<double>(static_cast<int64_t>(mix(++draw))) / 1e9);
    for (int i = 0; i < 6; ++i) {
      uint64_t x = mix(++draw);
      std::string s(4 + x % 17, ' ');
      x /= 17;
      for (char& c : s) {
        if (x < 62) x = mix(++draw);
        c = alphabet[x % 62];
        x /= 62;
      }
      row[f++] = value::text(std::move(s));
    }
    for (int i = 0; i < 2; ++i) {
      const uint64_t x = mix(++draw);
      row[f++] = value::date(static_cast<uint16_t>(1970 + x % 68), static_cast<uint8_t>(1 + (x >> 8) % 12),
                             static_cast<uint8_t>(1 + (x >> 16) % 28));
    }
    if (!db.insert(name, row)) return false;
  }
  return true;
}

}  // namespace peer
