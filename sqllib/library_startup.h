#pragma once
// The start-up sequence of a deliverable that carries the SQL library object: the value
// library's calendar tables, then the grammar engine's tables, then the library object,
// built once in that order and released at exit in reverse (the library object first).
//
// The shared library runs it when it is loaded; the program runs it before main. Each has
// its own copy of every product: nothing here is exported.
#include "value/startup_tables.h"

namespace kk {

// The value library's plan with the grammar steps and the library object filled in.
startup_plan library_startup_plan();
// Runs that plan (once per process; false when it already ran).
bool library_startup();

}  // namespace kk
