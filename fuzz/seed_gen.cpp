// Writes the binary seed corpora (result bodies and reply scripts) with the test peer's own
// encoder, from the results and fixtures the client tests use:
//   cmake --build build-fuzz --target fuzz_seed_gen && build-fuzz/fuzz_seed_gen fuzz/corpus
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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
  return 0;
}
