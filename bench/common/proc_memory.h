// Process memory figures for benchmarks, read from /proc/self (Linux).
#pragma once

#include <fstream>
#include <string>

namespace bench_memory {

// A "kB" field of /proc/self/status ("VmRSS", "VmHWM", ...), -1 when it is not there.
inline long status_kib(const char* field) {
  std::ifstream in("/proc/self/status");
  const std::string key = std::string(field) + ":";
  std::string line;
  while (std::getline(in, line))
    if (line.compare(0, key.size(), key) == 0) return std::stol(line.substr(key.size()));
  return -1;
}

// Resets the peak resident size, so that VmHWM shows the peak of what follows.
inline bool reset_peak() {
  std::ofstream f("/proc/self/clear_refs");
  f << "5";
  return bool(f);
}

// The resident size around one measured step: start before it, the peak during it and what
// is still held after it, in KiB.
struct rss_span {
  long start = 0, peak = 0, held = 0;
  void begin() {
    reset_peak();
    start = status_kib("VmRSS");
  }
  void end() {
    peak = status_kib("VmHWM");
    held = status_kib("VmRSS");
  }
};

}  // namespace bench_memory
