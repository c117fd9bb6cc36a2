#include "grammar/sql_function_names.h"

#include <cstring>

#include "adt/memory.h"
#include "grammar/startup_product.h"

namespace kk::grammar::sql {

namespace {

using node = function_name_trie::node;

void free_below(node* n) noexcept {
  if (!n->children) return;
  for (int i = 0; i < 128; ++i) {
    if (node* c = n->children[i]) {
      free_below(c);
      adt::mem_free(c);
    }
  }
  adt::mem_free(n->children);
  n->children = nullptr;
}

}  // namespace

function_name_trie::~function_name_trie() { free_below(&root); }

bool function_name_insert(function_name_trie* trie, const char* name, u64 length) {
  for (u64 i = 0; i < length; ++i)
    if (static_cast<u8>(name[i]) >= 0x80) return false;
  node* n = &trie->root;
  for (u64 i = 0; i < length; ++i) {
    if (!n->children) {
      n->children = static_cast<node**>(adt::mem_alloc(128 * sizeof(node*)));
      std::memset(n->children, 0, 128 * sizeof(node*));
    }
    node*& c = n->children[static_cast<u8>(name[i])];
    if (!c) c = ::new (adt::mem_alloc(sizeof(node))) node();
    n = c;
  }
  if (n->terminal) return false;
  n->terminal = 1;
  return true;
}

u64 function_name_match(const function_name_trie* trie, const char* pos, u64 remaining) noexcept {
  // The longest terminal node on the walk; the walk ends at the first byte with no child.
  const node* n = &trie->root;
  u64 best = 0;
  for (u64 i = 0; i < remaining; ++i) {
    const u8 b = static_cast<u8>(pos[i]);
    if (b >= 0x80 || !n->children || !n->children[b]) break;
    n = n->children[b];
    if (n->terminal) best = i + 1;
  }
  return best;
}

namespace {
struct built_trie : function_name_trie {
  built_trie() {
    for (const char* name : function_names) function_name_insert(this, name, std::strlen(name));
  }
};

// Never released: the compiled grammar's fn_name recogniser may read it until the very end
// of the process.
constinit startup_product<built_trie> name_set;
}  // namespace

const function_name_trie& function_name_set() { return name_set.get(); }
void function_name_set_build() { name_set.build(); }

}  // namespace kk::grammar::sql
