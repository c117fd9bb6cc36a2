#pragma once
// What a function entry reads of the library object it is called through (its `self`
// argument): the regular-expression engine of reg_match.
//
// The library object (sqllib/sql_library.h) stands above this folder. It holds the context
// right after its three leading pointers (the grammar's root, its rule table and the
// function map) and checks that place at compile time, so an entry reaches the context from
// `self` without knowing the rest of the object.
#include <new>

#include "adt/types.h"
#include "functions/column.h"
#include "grammar/regex_engine.h"

namespace kk::functions {

struct library_context {
  grammar::regex_engine regex;
  bool regex_ready = false;
};

inline constexpr u64 library_context_offset = 3 * sizeof(void*);

// The context of a library object (self not null).
inline library_context* context_of(sql_library* self) noexcept {
  return std::launder(reinterpret_cast<library_context*>(reinterpret_cast<char*>(self) + library_context_offset));
}

}  // namespace kk::functions
