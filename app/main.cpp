// ruv_mdb_cli: the desktop client of the in-memory database server.
#include <cstdio>

#include "app/startup.h"
#include "sqllib/library_startup.h"

namespace {

// The program's own SQL library object, built before main like the shared library's.
__attribute__((constructor)) void program_load() {
  try {
    kk::library_startup();
  } catch (...) {
    std::fputs("ruv_mdb_cli: start-up failed\n", stderr);
  }
}

}  // namespace

int main(int argc, char** argv) { return run_program(argc, argv); }
