#pragma once
// The SQL library object: the compiled SQL dialect with its native recognisers, the
// registry of the SQL functions by name, and the regular-expression engine that reg_match
// uses through the `self` argument of every function entry (the function library's
// library_context, at the place it expects).
//
// Each deliverable builds one instance at load time (library_startup.h) and releases it at
// exit; between the two it is only read, except for the regex engine's pattern cache.
// Parsing and reg_match through one instance are single-threaded.
#include <cstddef>
#include <type_traits>

#include "adt/types.h"
#include "functions/column.h"
#include "functions/library_context.h"
#include "grammar/ebnf_compiler.h"
#include "grammar/grammar_node.h"
#include "grammar/regex_engine.h"

namespace kk {

// A 256-way byte trie: name -> function entry.
struct sql_function_map {
  u8 terminal = 0;
  sql_function_map** children = nullptr;   // 256 slots, allocated on the first insertion below
  functions::sql_function* entry = nullptr;  // heap cell, set on a terminal node
};

// Adds name -> entry; false (nothing changed) when the name is already present.
bool function_map_insert(sql_function_map* root, const char* name, u64 length,
                         functions::sql_function entry);
// The entry of exactly this name, or null. Nothing in the system calls functions by name;
// this serves checks of the registry.
functions::sql_function function_map_find(const sql_function_map* root, const char* name,
                                          u64 length) noexcept;
// Frees every node below root and root's own entry cell (root itself stays).
void function_map_clear(sql_function_map* root) noexcept;

struct sql_library {
  const grammar::grammar_node* root = nullptr;  // rule 0 of the compiled SQL grammar
  const grammar::rule_table* rules = nullptr;   // 3072 slots
  sql_function_map* functions = nullptr;
  // The regex engine; a function entry finds it through self (functions::context_of).
  functions::library_context context;
  grammar::compiled_grammar grammar;  // owns root's nodes and the rule table
};
static_assert(std::is_standard_layout_v<sql_library> &&
                  offsetof(sql_library, context) == functions::library_context_offset,
              "a function entry reads the context at its fixed place in the object");

// Builds lib: regex engine, SQL grammar, the function registry in the library's order.
// Names without an implementation are left out of the registry. False when the grammar
// does not build: root stays null and every parse through lib fails.
bool sql_library_build(sql_library* lib);
void sql_library_free(sql_library* lib) noexcept;

// The deliverable's own instance: null before start-up has built it and after its release.
sql_library* sql_library_instance() noexcept;
// The start-up step that builds and releases the instance.
void sql_library_instance_build();
void sql_library_instance_release() noexcept;

}  // namespace kk
