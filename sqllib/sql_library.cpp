#include "sqllib/sql_library.h"

#include <cstring>
#include <new>

#include "adt/memory.h"
#include "functions/registry.h"
#include "grammar/sql_function_names.h"
#include "grammar/sql_grammar.h"

namespace kk {

namespace {

constexpr u64 fan_out = 256;

void clear_below(sql_function_map* n) noexcept {
  if (n->children) {
    for (u64 i = 0; i < fan_out; ++i) {
      if (sql_function_map* c = n->children[i]) {
        clear_below(c);
        adt::mem_free(c);
      }
    }
    adt::mem_free(n->children);
    n->children = nullptr;
  }
  adt::mem_free(n->entry);
  n->entry = nullptr;
  n->terminal = 0;
}

}  // namespace

bool function_map_insert(sql_function_map* root, const char* name, u64 length,
                         functions::sql_function entry) {
  sql_function_map* n = root;
  for (u64 i = 0; i < length; ++i) {
    if (!n->children) n->children = static_cast<sql_function_map**>(adt::mem_alloc_zeroed(fan_out * sizeof(void*)));
    sql_function_map*& c = n->children[static_cast<u8>(name[i])];
    if (!c) c = ::new (adt::mem_alloc(sizeof(sql_function_map))) sql_function_map();
    n = c;
  }
  if (n->terminal) return false;
  auto* cell = static_cast<functions::sql_function*>(adt::mem_alloc(sizeof(functions::sql_function)));
  *cell = entry;
  n->entry = cell;
  n->terminal = 1;
  return true;
}

functions::sql_function function_map_find(const sql_function_map* root, const char* name,
                                          u64 length) noexcept {
  const sql_function_map* n = root;
  for (u64 i = 0; n && i < length; ++i)
    n = n->children ? n->children[static_cast<u8>(name[i])] : nullptr;
  return n && n->terminal && n->entry ? *n->entry : nullptr;
}

void function_map_clear(sql_function_map* root) noexcept {
  if (root) clear_below(root);
}

bool sql_library_build(sql_library* lib) {
  sql_library_free(lib);
  lib->context.regex_ready = grammar::regex_engine_init(&lib->context.regex);
  lib->functions = ::new (adt::mem_alloc(sizeof(sql_function_map))) sql_function_map();
  // The registry's own order; a name whose group is not linked in stays unregistered.
  for (const char* name : grammar::sql::function_names) {
    if (functions::sql_function entry = functions::find_sql_function(name))
      function_map_insert(lib->functions, name, std::strlen(name), entry);
  }
  if (!grammar::sql::grammar_compile(&lib->grammar)) return false;
  lib->root = lib->grammar.start;
  lib->rules = &lib->grammar.rules;
  return true;
}

void sql_library_free(sql_library* lib) noexcept {
  lib->root = nullptr;
  lib->rules = nullptr;
  grammar::grammar_release(&lib->grammar);
  if (lib->functions) {
    function_map_clear(lib->functions);
    adt::mem_free(lib->functions);
    lib->functions = nullptr;
  }
  if (lib->context.regex_ready) grammar::regex_engine_free(&lib->context.regex);
  lib->context.regex_ready = false;
}

namespace {
// Constant-initialised, so it reads null before start-up and in a process without it.
constinit sql_library* instance = nullptr;
}  // namespace

sql_library* sql_library_instance() noexcept { return instance; }

void sql_library_instance_build() {
  if (instance) return;
  auto* lib = new sql_library();
  try {
    // A grammar that does not build leaves root null: parses through it fail cleanly.
    sql_library_build(lib);
  } catch (...) {
    sql_library_free(lib);
    delete lib;
    throw;
  }
  instance = lib;
}

void sql_library_instance_release() noexcept {
  sql_library* lib = instance;
  instance = nullptr;
  if (!lib) return;
  sql_library_free(lib);
  delete lib;
}

}  // namespace kk
