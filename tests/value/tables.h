// The library's start-up tables, built once for the test program.
#pragma once

#include "value/startup_tables.h"

inline void need_tables() {
  if (!kk::startup_tables_ready()) kk::startup_tables_init();
}
