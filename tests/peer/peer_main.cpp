// The test peer as a program, for trying the client by hand:
//   ruv_test_peer [--demo] [port]
// Accepts every login and serves one connection after another.
// --demo (the mode scripts/run.sh starts for a new user) serves a sample database from the
// catalogue: tables of every column type, a few hundred rows and a table "big" of 100000
// rows, kept while the program runs (edits, creates and drops included).
// Without --demo: a statement starting with "fail" is answered FAIL, "empty" with an empty
// result, anything else with a small result holding every column type.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "tests/peer/catalogue.h"
#include "tests/peer/demo_result.h"
#include "tests/peer/test_peer.h"

namespace {
void show(std::string_view sql, bool ok) {
  // Long statements (uploads) are shown cut.
  constexpr size_t keep = 200;
  std::printf("%s: %.*s%s\n", ok ? "ok" : "FAIL", static_cast<int>(std::min(sql.size(), keep)), sql.data(),
              sql.size() > keep ? " ..." : "");
  std::fflush(stdout);
}
}  // namespace

int main(int argc, char** argv) {
  int arg = 1;
  bool demo = false;
  if (arg < argc && std::strcmp(argv[arg], "--demo") == 0) {
    demo = true;
    ++arg;
  }
  char* end = nullptr;
  long port = arg < argc ? std::strtol(argv[arg], &end, 10) : 0;
  if (port < 0 || port > 65535 || (arg < argc && *end != '\0') || arg + 1 < argc) {
    std::fprintf(stderr, "usage: %s [--demo] [port]\n", argv[0]);
    return 2;
  }
  peer::catalogue db;  // outlives the peer
  if (demo) peer::fill_demo(db);
  peer::test_peer p(static_cast<uint16_t>(port));
  if (!p.listening()) {
    std::perror("listen");
    return 1;
  }
  if (demo) {
    p.set_handler([&db](std::string_view sql) {
      auto o = db.run(sql);
      show(sql, o.ok);
      if (!o.ok) return peer::send(peer::fail_reply());
      if (!o.has_table) return peer::send(peer::reply_frame(peer::status_ok, {}));
      return peer::send(peer::ok_reply(o.r));
    });
  } else {
    p.set_handler([](std::string_view sql) {
      std::printf("statement: %.*s\n", static_cast<int>(sql.size()), sql.data());
      std::fflush(stdout);
      if (sql.substr(0, 4) == "fail") return peer::send(peer::fail_reply());
      if (sql.substr(0, 5) == "empty") return peer::send(peer::reply_frame(peer::status_ok, {}));
      return peer::send(peer::ok_reply(peer::demo_result()));
    });
  }
  std::printf("listening on 127.0.0.1:%u%s\n", p.port(), demo ? " (demo database)" : "");
  std::fflush(stdout);
  for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}
