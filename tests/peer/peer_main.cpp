// The test peer as a program, for trying the client by hand:
//   ruv_test_peer [--demo] [port]
// Accepts every login. --demo is the mode scripts/run.sh starts for a new user.
// A statement starting with "fail" is answered FAIL, "empty" with an
// empty result, anything else with a small result holding every column type.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "tests/peer/demo_result.h"
#include "tests/peer/test_peer.h"

int main(int argc, char** argv) {
  int arg = 1;
  if (arg < argc && std::strcmp(argv[arg], "--demo") == 0) ++arg;
  long port = arg < argc ? std::strtol(argv[arg], nullptr, 10) : 0;
  if (port < 0 || port > 65535) {
    std::fprintf(stderr, "usage: %s [--demo] [port]\n", argv[0]);
    return 2;
  }
  peer::test_peer p(static_cast<uint16_t>(port));
  if (!p.listening()) {
    std::perror("listen");
    return 1;
  }
  p.set_handler([](std::string_view sql) {
    std::printf("statement: %.*s\n", static_cast<int>(sql.size()), sql.data());
    std::fflush(stdout);
    if (sql.substr(0, 4) == "fail") return peer::send(peer::fail_reply());
    if (sql.substr(0, 5) == "empty") return peer::send(peer::reply_frame(peer::status_ok, {}));
    return peer::send(peer::ok_reply(peer::demo_result()));
  });
  std::printf("listening on 127.0.0.1:%u\n", p.port());
  std::fflush(stdout);
  for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}
