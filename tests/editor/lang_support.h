#pragma once
// Shared by the language-service tests: the SQL library object, built once.
#include "sqllib/library_startup.h"
#include "sqllib/sql_library.h"
#include "value/startup_tables.h"

namespace ruv::lang::test {

inline void need_library() {
  if (!kk::sql_library_instance()) kk::library_startup();
}

}  // namespace ruv::lang::test
