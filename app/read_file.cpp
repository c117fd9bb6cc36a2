#include "app/read_file.h"

#include <algorithm>
#include <cstdio>

kk::adt::string::string read_file(const char* path) {
  kk::adt::string::string s;
  std::FILE* f = path ? std::fopen(path, "rb") : nullptr;
  if (!f) return s;
  // Read to the end instead of trusting a size taken before: the file may change meanwhile.
  char chunk[65536];
  bool failed = false;
  try {
    for (;;) {
      const std::size_t got = std::fread(chunk, 1, sizeof chunk, f);
      if (got > 0) {
        const kk::u64 at = s.size;
        char* p = s.resize(at + got);
        std::copy(chunk, chunk + got, p + at);
      }
      if (got < sizeof chunk) {
        failed = std::ferror(f) != 0;
        break;
      }
    }
  } catch (...) {
    failed = true;
  }
  std::fclose(f);
  if (failed) s.free();
  return s;
}
