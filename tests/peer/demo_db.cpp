// The sample database of the demo mode: deterministic, so a session can be repeated.
#include <cstdio>

#include "tests/peer/catalogue.h"

namespace peer {

namespace {

// A small linear congruential generator: the same data on every start.
struct lcg {
  uint64_t s;
  uint32_t next() {
    s = s * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(s >> 33);
  }
  uint32_t below(uint32_t n) { return next() % n; }
};

const char* const first_names[] = {"Ada", "Li Wei", "Chloé", "Haruto", "Mateo", "Zoë", "Olu", "Anja", "Ravi", "Søren",
                                   "Mei", "Jules", "Yuki", "Ines", "Tomás", "Ayşe"};
const char* const last_names[] = {"Lovelace", "Zhang", "Dubois", "Sato", "García", "Müller", "Okafor", "Novak",
                                  "Iyer", "Berg", "Chen", "Martin", "Tanaka", "Silva", "Costa", "Yılmaz"};
const char* const cities[] = {"Paris", "北京", "東京", "Lagos", "Lima", "Oslo", "Pune", "Porto", "Québec", "Zürich"};

value d(uint16_t y, uint8_t m, uint8_t dd) { return value::date(y, m, dd); }

}  // namespace

void fill_demo(catalogue& db) {
  lcg r{20261210};
  using F = ftype;

  // Every column type, with its bounds in the first two rows.
  std::vector<field_def> all;
  for (int t = 0; t < ftype_count; ++t) {
    F ft = static_cast<F>(t);
    all.push_back({std::string("c_") + type_name(ft), ft, "false"});
  }
  db.create_table("all_types", all);
  auto row_of = [&](int n) {
    std::vector<value> v;
    if (n == 0) {
      v = {value::uint(F::u08, 0), value::sint(F::i08, -128), value::uint(F::u16, 0), value::sint(F::i16, -32768),
           value::uint(F::u32, 0), value::sint(F::i32, INT32_MIN), value::uint(F::u64, 0),
           value::sint(F::i64, INT64_MIN), value::real(F::f32, -1.5), value::real(F::f64, -2.5e300),
           value::text(""), d(1, 1, 1), value::time(0, 0, 0, 0), value::datetime(1, 1, 1, 0, 0, 0, 0)};
    } else if (n == 1) {
      v = {value::uint(F::u08, 255), value::sint(F::i08, 127), value::uint(F::u16, 65535), value::sint(F::i16, 32767),
           value::uint(F::u32, 4294967295u), value::sint(F::i32, INT32_MAX), value::uint(F::u64, UINT64_MAX),
           value::sint(F::i64, INT64_MAX), value::real(F::f32, 3.25), value::real(F::f64, 0.1),
           value::text("h\xC3\xA9llo \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80"), d(9999, 12, 31),
           value::time(23, 59, 59, 999999999), value::datetime(9999, 12, 31, 23, 59, 59, 999999999)};
    } else {
      int s = static_cast<int>(r.below(200)) - 100;
      char text[48];
      std::snprintf(text, sizeof text, "row %d: %s", n, cities[r.below(10)]);
      v = {value::uint(F::u08, r.below(256)), value::sint(F::i08, s), value::uint(F::u16, r.below(65536)),
           value::sint(F::i16, s * 300), value::uint(F::u32, r.next()), value::sint(F::i32, s * 100000),
           value::uint(F::u64, static_cast<uint64_t>(r.next()) << 20), value::sint(F::i64, static_cast<int64_t>(s) * 1000000007),
           value::real(F::f32, s / 8.0), value::real(F::f64, s / 3.0), value::text(text),
           d(static_cast<uint16_t>(1990 + r.below(40)), static_cast<uint8_t>(1 + r.below(12)), static_cast<uint8_t>(1 + r.below(28))),
           value::time(static_cast<uint8_t>(r.below(24)), static_cast<uint8_t>(r.below(60)), static_cast<uint8_t>(r.below(60)),
                       r.below(1000) * 1000000u),
           value::datetime(static_cast<uint16_t>(2000 + r.below(30)), static_cast<uint8_t>(1 + r.below(12)),
                           static_cast<uint8_t>(1 + r.below(28)), static_cast<uint8_t>(r.below(24)),
                           static_cast<uint8_t>(r.below(60)), static_cast<uint8_t>(r.below(60)), 0)};
    }
    return v;
  };
  for (int n = 0; n < 300; ++n) db.insert("all_types", row_of(n));

  db.create_table("customers", {{"id", F::u32, "false"},
                                {"name", F::str, "false"},
                                {"city", F::str, "false"},
                                {"born", F::date, "false"},
                                {"balance", F::f64, "false"},
                                {"vip", F::u08, "false"}});
  for (uint32_t n = 1; n <= 200; ++n) {
    std::string name = std::string(first_names[r.below(16)]) + " " + last_names[r.below(16)];
    db.insert("customers", {value::uint(F::u32, n), value::text(name), value::text(cities[r.below(10)]),
                            d(static_cast<uint16_t>(1940 + r.below(65)), static_cast<uint8_t>(1 + r.below(12)),
                              static_cast<uint8_t>(1 + r.below(28))),
                            value::real(F::f64, static_cast<int>(r.below(2000000)) / 100.0 - 5000),
                            value::uint(F::u08, r.below(5) == 0 ? 1 : 0)});
  }

  db.create_table("orders", {{"order_id", F::u64, "false"},
                             {"customer", F::u32, "false"},
                             {"qty", F::i16, "false"},
                             {"price", F::f32, "false"},
                             {"placed", F::datetime, "false"},
                             {"pickup", F::time, "false"},
                             {"note", F::str, "true"}});
  const char* const notes[] = {"", "gift", "express", "fragile", "call first", "leave at door"};
  for (uint64_t n = 1; n <= 400; ++n) {
    db.insert("orders", {value::uint(F::u64, 100000 + n), value::uint(F::u32, 1 + r.below(200)),
                         value::sint(F::i16, 1 + static_cast<int>(r.below(20))),
                         value::real(F::f32, static_cast<int>(r.below(100000)) / 100.0),
                         value::datetime(2026, static_cast<uint8_t>(1 + r.below(12)), static_cast<uint8_t>(1 + r.below(28)),
                                         static_cast<uint8_t>(r.below(24)), static_cast<uint8_t>(r.below(60)),
                                         static_cast<uint8_t>(r.below(60)), r.below(1000) * 1000000u),
                         value::time(static_cast<uint8_t>(8 + r.below(10)), static_cast<uint8_t>(r.below(4) * 15), 0, 0),
                         value::text(notes[r.below(6)])});
  }

  db.create_table("big", {{"id", F::u64, "false"},
                          {"grp", F::i32, "false"},
                          {"value", F::f64, "false"},
                          {"label", F::str, "false"},
                          {"at", F::datetime, "false"}});
  for (uint64_t n = 1; n <= 100000; ++n) {
    char label[32];
    std::snprintf(label, sizeof label, "item-%06llu", static_cast<unsigned long long>(n));
    uint64_t sec = n * 37;
    db.insert("big", {value::uint(F::u64, n), value::sint(F::i32, static_cast<int32_t>(r.below(100))),
                      value::real(F::f64, static_cast<int>(r.below(1000000)) / 1000.0), value::text(label),
                      value::datetime(2026, static_cast<uint8_t>(1 + (sec / 86400 / 28) % 12),
                                      static_cast<uint8_t>(1 + sec / 86400 % 28), static_cast<uint8_t>(sec / 3600 % 24),
                                      static_cast<uint8_t>(sec / 60 % 60), static_cast<uint8_t>(sec % 60), 0)});
  }
}

}  // namespace peer
