// Writes the binary seed corpora (result bodies and reply scripts) with the test peer's own
// encoder, from the results and fixtures the client tests use:
//   cmake --build build-fuzz --target fuzz_seed_gen && build-fuzz/fuzz_seed_gen fuzz/corpus
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ui_base/sys_config.h"
#include "tests/peer/demo_result.h"
#include "tests/peer/peer_wire.h"
#include "tests/peer/wire_fixtures.h"

using namespace peer;

namespace {

void write_all(const std::filesystem::path& dir, const std::vector<std::string>& seeds) {
  std::filesystem::create_directories(dir);
  for (const auto& e : std::filesystem::directory_iterator(dir)) std::filesystem::remove(e.path());
  int i = 0;
  for (const std::string& s : seeds) {
    char name[32];
    std::snprintf(name, sizeof name, "seed-%03d", i++);
    std::ofstream(dir / name, std::ios::binary).write(s.data(), std::streamsize(s.size()));
  }
  std::printf("%s: %d seeds\n", dir.string().c_str(), i);
}

// A reply script: u32 piece seed, then each reply as (u16 length, bytes).
std::string script(uint32_t seed, const std::vector<std::string>& replies) {
  std::string s = u32le(seed);
  for (const std::string& r : replies) s += u16le(uint16_t(r.size())) + r;
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path root = argv[1];

  const result demo = demo_result();
  const result u16_rows{{{"n", d_u16}}, {{7, {u16(513)}}, {8, {u16(65535)}}}};
  const result mixed{{{"n", d_u16}, {"", d_string}, {"t", d_time}},
                     {{7, {u16(513), text(""), time(12, 30, 45, 1000000)}},
                      {~0ull, {u16(65535), text("xyz"), time(0, 0, 0, 0)}}}};
  const result names_only{{{"id", d_i32}}, {}};
  const result odd_codes{{{"v", {9, 7, 0}}, {"f", {0, 2, 1}}, {"u", {1, 1, 200}}, {"s", d_u08}},
                         {{1, {u64(5), f64(2.5), none(), u08(0x5a)}}}};
  const result nulls{{{"a", d_null}, {"b", d_null}, {"k", d_u08}}, {{1, {none(), none(), u08(1)}}}};

  std::vector<std::string> bodies;
  for (const result* r : {&demo, &u16_rows, &mixed, &names_only, &odd_codes, &nulls})
    bodies.push_back(encode_payload(*r));
  bodies.push_back(u64le(0) + u64le(2) + u64le(5) + u64le(6));  // rows of bare ids
  bodies.push_back(u64le(1) + u64le(1) + "a" + u64le(1) + from_hex("04 02 02") + u64le(1) + u16le(65535) + "abc");
  bodies.push_back(encode_payload(demo).substr(0, 40));
  write_all(root / "unpack_datas", bodies);

  const std::string ok = from_hex(fixtures::login_accepted_hex);
  const std::string refused = from_hex(fixtures::fail_reply_hex);
  std::vector<std::string> scripts = {
      script(1, {ok, from_hex(fixtures::u16_rows_hex), from_hex(fixtures::id_no_rows_hex), refused}),
      script(2, {ok, ok_reply(demo), ok_reply(mixed)}),
      script(3, {ok, ok_reply(odd_codes), reply_frame(7, "x"), ok_reply(nulls)}),
      script(4, {refused}),
      script(5, {ok, reply_frame(status_ok, ""), fail_reply(), ok_reply(demo).substr(0, 30)}),
      script(6, {ok, from_hex("00000000 00")}),                     // a zero length
      script(7, {ok, ok_reply(u16_rows) + "trailing", ok_reply(u16_rows)}),  // more than the frame
      script(8, {ok.substr(0, 3)}),
  };
  write_all(root / "reply_reader", scripts);

  // fuzz_client_file: flags, seed, then (u16 length, bytes) segments: table, separator, the
  // file to upload, then the reply's row texts (or one whole reply frame in raw mode).
  auto transfer = [](uint8_t flags, uint8_t seed, const std::vector<std::string>& segs) {
    std::string s = u8(flags) + u8(seed);
    for (const std::string& x : segs) s += u16le(uint16_t(x.size())) + x;
    return s;
  };
  std::string all_bytes;
  for (int b = 0; b < 256; ++b) all_bytes.push_back(char(b));
  const result hex_rows{{{"raw", d_string}}, {{1, {text("4142")}}, {2, {text("43")}}}};
  const result csv_rows{{{"raw", d_string}, {"n", d_i32}}, {{1, {text("a,b\n"), i32(1)}}, {2, {text("1,2\n"), i32(2)}}}};
  std::vector<std::string> transfers = {
      // import t from csv, then save t: the spec's own figures (ab\n up; 4142, 43 down)
      transfer(0x40, 1, {"t", ",", "ab\n", "4142", "43"}),
      // load bin of every byte value, then a replacing backup over an old file
      transfer(0x5d, 2, {"t", "", all_bytes, "00ff7F80", "", "0a0D"}),
      // restore, then an export of csv texts as they came
      transfer(0x62, 3, {"", "", "restore me", "a;b\n", "1;2\n"}),
      // names and separators that need quoting
      transfer(0x00, 4, {"my t", "\t", "x", "4a"}),
      transfer(0x10, 5, {"a]b\\c\n", "\"", "\"\\\n", "41"}),
      transfer(0x00, 6, {"\xe8\xa1\xa8 1", "\xff", "\xc3\x28", "zz"}),
      // an odd last digit, a row that is no hexadecimal, a first column that is no text
      transfer(0x31, 7, {"t", ",", "", "414", "4g"}),
      transfer(0x34, 0x87, {"t", ",", "", "1", "2"}),
      // raw replies: good rows, a refusal, a cut frame, a zero length, the logout marker
      transfer(0xb0, 8, {"t", "", "", ok_reply(hex_rows)}),
      transfer(0xb2, 9, {"t", "", "", ok_reply(csv_rows)}),
      transfer(0xb8, 10, {"t", "", "", fail_reply()}),
      transfer(0xbc, 11, {"t", "", "", ok_reply(hex_rows).substr(0, 20)}),
      transfer(0xb9, 12, {"t", "", "", from_hex("00000000")}),
      transfer(0xb1, 13, {"t", "", "", from_hex("ffffffff")}),
      transfer(0xb0, 14, {"t", "", "", ok_reply({{{"raw", d_string}}, {}})}),
  };
  write_all(root / "client_file", transfers);

  // fuzz_sys_config: files as save_sys_config writes them, cut, damaged and out of range.
  auto bytes_of = [](const sys_config_record& c) {
    const kk::adt::string::string b = sys_config_bytes(c);
    return std::string(b.data, b.size);
  };
  auto path = [](const char* p) { return kk::adt::string_from_cstr(p); };
  sys_config_record plain;
  sys_config_record lists;
  lists.open_files.push_back(path("a.sql"));
  lists.recent_files.push_back(path("/home/u/b.sql"));
  lists.recent_files.push_back(path("c d.sql"));
  sys_config_record changed;
  changed.language = 3;
  changed.icon_size = 24;
  std::strcpy(changed.user, "admin");
  std::strcpy(changed.server, "10.0.0.1");
  changed.port = 65535;
  changed.theme = 2;
  changed.text_formats[2][tf_comment].italic = 1;
  changed.text_formats[2][tf_comment].green = 128;
  changed.text_formats[1][tf_function].point_size = 400;
  changed.vertical_factor = 6.0f;
  changed.continuous_edit_seconds = 20.0f;
  changed.tab_width = 64;
  changed.open_files.push_back(path("\xe8\x84\x9a\xe6\x9c\xac.sql"));
  const std::string block = bytes_of(plain).substr(0, sys_config_block_size);
  std::vector<std::string> configs = {
      bytes_of(plain),
      bytes_of(lists),
      bytes_of(changed),
      bytes_of(plain).substr(0, 100),
      bytes_of(lists).substr(0, bytes_of(lists).size() - 3),     // the last path cut
      block + u32le(0xFFFFFFFFu) + u32le(1) + u32le(5) + "a.sql",  // a negative count
      block + u32le(3) + u32le(0x7FFFFFFFu) + "abc",                // a length past the end
      block + u32le(0x40000000u) + u32le(1) + "x",                  // a count past the end
      block + u32le(1) + u32le(3) + std::string("a\0b", 3) + u32le(0),  // a NUL inside a path
      std::string(sys_config_block_size, '\xff'),
      std::string(),
  };
  write_all(root / "sys_config", configs);

  // fuzz_clauses: a header (columns - 1, display mode, immediate, insert, remove, limit off),
  // the builders' kinds and merges, the limit, the current column, two row ids, then
  // segments: table, filter, post, and per column its type, name and two values.
  struct clause_column {
    uint8_t type;  // i08 u08 i16 u16 i32 u32 i64 u64 float double string date time datetime
    std::string name, shown, edit;
  };
  auto seg = [](const std::string& x) { return u16le(uint16_t(x.size())) + x; };
  auto clause_input = [&](uint8_t head, uint8_t fkind, uint8_t fmerge, uint8_t pkind, uint8_t pmerge, uint16_t limit,
                          uint8_t column, const std::string& table, const std::string& filter,
                          const std::string& post, const std::vector<clause_column>& cols) {
    std::string x = u8(uint8_t(head | (cols.size() - 1))) + u8(fkind) + u8(fmerge) + u8(pkind) + u8(pmerge) +
                    u16le(limit) + u8(column) + u64le(5) + u64le(7) + seg(table) + seg(filter) + seg(post);
    for (const auto& c : cols) x += u8(c.type) + seg(c.name) + seg(c.shown) + seg(c.edit);
    return x;
  };
  auto le = [](uint64_t v, int n) {
    std::string b;
    for (int i = 0; i < n; ++i) b.push_back(char(v >> (8 * i)));
    return b;
  };
  auto fbits = [&](float f) { uint32_t b; std::memcpy(&b, &f, 4); return le(b, 4); };
  auto dbits = [&](double d) { uint64_t b; std::memcpy(&b, &d, 8); return le(b, 8); };
  // Calendar fields: a selector below 0xC0 picks a boundary, 0xFF takes the raw bytes after it.
  auto raw_date = [&](uint16_t y, uint8_t m, uint8_t d) { return "\xff" + le(y, 2) + "\xff" + le(m, 1) + "\xff" + le(d, 1); };
  auto raw_time = [&](uint8_t h, uint8_t mi, uint8_t sec, uint32_t ns) {
    return "\xff" + le(h, 1) + "\xff" + le(mi, 1) + "\xff" + le(sec, 1) + "\xff" + le(ns, 4);
  };
  const uint8_t imm = 0x10, ins = 0x20, rem = 0x40, nolimit = 0x80;
  std::vector<std::string> clauses = {
      clause_input(0x0c, 0, 1, 0, 2, 1000, 0, "t", "", "", {{4, "a", le(7, 4), le(9, 4)}}),
      clause_input(0x08 | ins | rem, 3, 2, 3, 2, 10, 1, "my t", "a == 7", "order by a asc",
                   {{4, "a", le(7, 4), le(8, 4)}, {10, "b c", "x\"y\\z\n", "plain"}}),
      clause_input(0x00 | imm, 0, 3, 7, 1, 1000, 0, "t", "a == 1 || b == 2", "first 3",
                   {{1, "u", le(255, 1), le(0, 1)}, {0, "i", le(0x80, 1), le(0x7f, 1)}}),
      clause_input(0x04, 1, 2, 13, 2, 1000, 0, "t", "a > 2 # a comment", "first 3 // another",
                   {{7, "big", le(~0ull, 8), le(0, 8)}, {6, "neg", le(1ull << 63, 8), le(~0ull, 8)}}),
      clause_input(0x08 | nolimit, 22, 3, 14, 2, 1000, 0, "t", "/* a /* nested */ comment */ a != 0", "adj on a > _a + 10",
                   {{8, "f", fbits(0.1f), fbits(-0.0f)}, {9, "d", dbits(0.1), dbits(5e-324)}}),
      clause_input(0x0c, 4, 1, 15, 1, 1000, 0, "t", "", "",
                   {{8, "nan", le(0x7fc00000, 4), le(0x7f800000, 4)}, {9, "inf", dbits(1.0 / 0.0), dbits(-1e308)}}),
      clause_input(0x0c | imm, 0, 1, 0, 2, 1000, 0, "t", "s == \"a\" \"b\"", "",
                   {{10, "s", "\xe8\xa1\xa8\x00\xff", "\t@\"x(raw)x\""}}),
      clause_input(0x0c, 5, 2, 0, 2, 1000, 0, "t", "s == @\"x(a \" b)x\" && c == '\\n'", "rename s newname",
                   {{10, "s", "", "a]b"}}),
      clause_input(0x0c | ins, 0, 1, 1, 2, 1000, 0, "dates", "", "",
                   {{11, "d", raw_date(2024, 2, 29), raw_date(0, 0, 0)},
                    {12, "tm", raw_time(23, 59, 59, 999999999), raw_time(0, 0, 0, 1000)},
                    {13, "dt", raw_date(9999, 12, 31) + raw_time(23, 59, 59, 999000000), raw_date(1, 1, 1) + raw_time(0, 0, 0, 0)}}),
      clause_input(0x00, 9, 1, 6, 2, 1000, 0, "t", "", "",
                   {{11, "d", raw_date(1900, 2, 28), raw_date(2000, 2, 29)}, {13, "dt", raw_date(1970, 1, 1) + raw_time(0, 0, 0, 1), raw_date(65535, 12, 31) + raw_time(12, 0, 0, 0)}}),
      clause_input(0x04 | rem, 0, 1, 16, 2, 1000, 0, "where", "true == true", "",
                   {{4, "true", le(1, 4), le(2, 4)}, {4, "select", le(3, 4), le(4, 4)}, {4, "_a", le(5, 4), le(6, 4)}, {4, "[b]", le(7, 4), le(8, 4)}}),
      clause_input(0x0c, 23, 2, 12, 2, 65535, 0, "1t", "(a == 1 || a == 2) && b < 3", "group sum(a) by b",
                   {{2, "9lives", le(0x8000, 2), le(0x7fff, 2)}, {3, "\xc3\xa9t\xc3\xa9", le(0xffff, 2), le(1, 2)}}),
      clause_input(0x0c | imm | ins, 2, 2, 4, 1, 1000, 0, "t", "a < 5 ||", "", {{5, "", le(0xffffffff, 4), le(1, 4)}}),
      // the user's texts as typed, ending in line comments, no clause built into them
      clause_input(0x0c, 0x80, 0, 0x80, 0, 1000, 0, "t", "a == 1 || a == 2 # both", "order by a desc // newest",
                   {{4, "a", le(1, 4), le(2, 4)}}),
      clause_input(0x0c | nolimit, 0x80, 0, 0x80, 0, 1000, 0, "t", "a == 1 // one", "first 3 # three",
                   {{4, "a", le(1, 4), le(2, 4)}}),
  };
  write_all(root / "clauses", clauses);
  free_sys_config_lists(&lists);
  free_sys_config_lists(&changed);
  return 0;
}
