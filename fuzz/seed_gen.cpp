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
  free_sys_config_lists(&lists);
  free_sys_config_lists(&changed);
  return 0;
}
