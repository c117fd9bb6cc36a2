// The fault proxy as a program, for trying the client against a misbehaving server by hand:
//   ruv_fault_proxy LISTEN_PORT TARGET_PORT [FAULT...]
// The faults and their options are described in tests/peer/fault_proxy.h. A line is printed
// when the proxy listens and for every fault that strikes; SIGUSR1 releases what is held.
#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/peer/fault_proxy.h"

namespace {

bool read_port(const char* text, long& out) {
  char* end = nullptr;
  out = std::strtol(text, &end, 10);
  return end != text && *end == '\0' && out >= 0 && out <= 65535;
}

bool read_count(const char* text, int& out) {
  char* end = nullptr;
  long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < 0 || v > 1000000) return false;
  out = static_cast<int>(v);
  return true;
}

void usage(const char* self) {
  std::fprintf(stderr,
               "usage: %s LISTEN_PORT TARGET_PORT [--stall-login] [--stall-after N] [--cut-after N]\n"
               "       [--long-length-after N] [--reset-after N] [--extra-frame-after N]\n"
               "       [--stall-on TEXT] [--cut-on TEXT] [--long-length-on TEXT] [--reset-on TEXT]\n"
               "       [--extra-frame-on TEXT] [--reset-after-commit] [--once]\n"
               "N counts the statements of each connection; SIGUSR1 releases held replies.\n",
               self);
}

}  // namespace

int main(int argc, char** argv) {
  long listen_port = 0, target_port = 0;
  if (argc < 3 || !read_port(argv[1], listen_port) || !read_port(argv[2], target_port) || target_port == 0) {
    usage(argv[0]);
    return 2;
  }
  std::vector<peer::fault_rule> rules;
  for (int arg = 3; arg < argc; ++arg) {
    const std::string opt = argv[arg];
    const bool has_value = arg + 1 < argc;
    int n = 0;
    struct by_count {
      const char* name;
      peer::fault f;
      int shift;  // the frame struck is N + shift
    } counted[] = {
        {"--stall-after", peer::fault::stall, 1},
        {"--cut-after", peer::fault::cut, 1},
        {"--long-length-after", peer::fault::long_length, 1},
        {"--reset-after", peer::fault::reset_after, 0},
        {"--extra-frame-after", peer::fault::extra_frame, 0},
    };
    struct by_text {
      const char* name;
      peer::fault f;
    } texts[] = {
        {"--stall-on", peer::fault::stall},
        {"--cut-on", peer::fault::cut},
        {"--long-length-on", peer::fault::long_length},
        {"--reset-on", peer::fault::reset_after},
        {"--extra-frame-on", peer::fault::extra_frame},
    };
    bool known = false;
    for (const by_count& c : counted) {
      if (opt != c.name) continue;
      if (!has_value || !read_count(argv[arg + 1], n)) {
        usage(argv[0]);
        return 2;
      }
      ++arg;
      rules.push_back(peer::at_frame(c.f, n + c.shift));
      known = true;
    }
    for (const by_text& t : texts) {
      if (opt != t.name) continue;
      if (!has_value) {
        usage(argv[0]);
        return 2;
      }
      rules.push_back(peer::on_statement(t.f, argv[++arg]));
      known = true;
    }
    if (opt == "--stall-login") {
      rules.push_back(peer::at_frame(peer::fault::stall, 0));
      known = true;
    } else if (opt == "--reset-after-commit") {
      rules.push_back(peer::on_statement(peer::fault::reset_after, "commit"));
      known = true;
    } else if (opt == "--once") {
      for (auto& r : rules) r.times = 1;
      known = true;
    }
    if (!known) {
      usage(argv[0]);
      return 2;
    }
  }

  // The signals wait for the main thread; the proxy's threads, made below, inherit the mask.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  peer::fault_proxy proxy(static_cast<uint16_t>(target_port), static_cast<uint16_t>(listen_port));
  if (!proxy.listening()) {
    std::perror("listen");
    return 1;
  }
  proxy.set_event_log([](const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  });
  for (auto& r : rules) proxy.add_rule(std::move(r));
  std::printf("listening on 127.0.0.1:%u -> 127.0.0.1:%ld\n", proxy.port(), target_port);
  std::fflush(stdout);
  for (;;) {
    int sig = 0;
    if (sigwait(&signals, &sig) != 0) continue;
    if (sig == SIGUSR1) {
      proxy.release();
      std::printf("released\n");
      std::fflush(stdout);
      continue;
    }
    break;
  }
  const peer::fault_counts c = proxy.counts();
  std::printf("connections %zu, requests %zu, replies %zu, stalled %zu, released %zu, cuts %zu, long lengths %zu, "
              "resets %zu, extra frames %zu\n",
              c.connections, c.requests, c.replies, c.stalled, c.released, c.cuts, c.long_lengths, c.resets,
              c.extra_frames);
  std::fflush(stdout);
  return 0;
}
