// The library's start-up: its tables and its own SQL library object are built when the
// library is loaded, before any export can be called, and released when it is unloaded
// or the process ends.
#include <cstdio>

#include "sqllib/library_startup.h"

namespace {

__attribute__((constructor)) void library_load() {
  try {
    kk::library_startup();
  } catch (...) {
    // Out of memory at load: the analysis exports then find no library object and refuse.
    std::fputs("ruv_sql_lib_mem: start-up failed\n", stderr);
  }
}

}  // namespace
