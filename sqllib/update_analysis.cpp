#include "sqllib/update_analysis.h"

#include <cstdint>

#include "grammar/sql_grammar.h"
#include "grammar/sql_rules.h"
#include "sqllib/sql_library.h"

namespace kk::grammar {

namespace {

// A parse of the whole text through lib, released when it goes out of scope.
struct statement_parse {
  text_parse p;
  statement_parse(const sql_library* lib, const char* text, u64 length) {
    if (lib && lib->root) p = parse_text(&lib->grammar, text, length);
  }
  statement_parse(const statement_parse&) = delete;
  statement_parse& operator=(const statement_parse&) = delete;
  ~statement_parse() { grammar_free_tree(p.tree); }
};

// A usable (text, len): a text, len not negative, text + len within the address space.
bool text_ok(const char* text, i32 len) noexcept {
  return text && len >= 0 && reinterpret_cast<std::uintptr_t>(text) <= UINTPTR_MAX - u64(len);
}

const char* first_node_of(const sql_library* lib, const char* text, i32 len, u32* len_out, u16 id) {
  if (!text_ok(text, len)) return nullptr;
  statement_parse s(lib, text, u64(len));
  if (!s.p.complete) return nullptr;
  adt::vector<u16> ids;
  ids.push_back(id);
  adt::vector<parse_node*> found;
  find_nodes_by_id(&ids, &found, s.p.tree);
  if (found.size == 0) return nullptr;
  const parse_node* n = found[0];
  // Only a place inside the caller's text is handed out.
  if (n->start < text || n->length > u64(len) || n->start > text + (u64(len) - n->length)) return nullptr;
  if (len_out) *len_out = static_cast<u32>(n->length);
  return n->start;
}

}  // namespace

void collect_nodes_by_id(const parse_node* node, adt::vector<parse_node*>* out, const node_id_set* ids) {
  if (!node) return;
  if (ids->find(node->id)) {
    out->push_back(const_cast<parse_node*>(node));
    return;
  }
  for (u64 i = 0; i < child_count(node); ++i) collect_nodes_by_id(child_at(node, i), out, ids);
}

void find_nodes_by_id(const adt::vector<u16>* ids, adt::vector<parse_node*>* out,
                      const parse_node* root) {
  if (!root || !ids || !out) return;
  node_id_set set;
  for (u64 i = 0; i < ids->size; ++i) set.insert((*ids)[i]);
  if (set.find(root->id)) {
    out->push_back(const_cast<parse_node*>(root));
    return;
  }
  for (u64 i = 0; i < child_count(root); ++i) collect_nodes_by_id(child_at(root, i), out, &set);
}

bool update_allowed(const parse_node* root) noexcept {
  if (!root) return true;
  static constexpr u16 post_operations[] = {sql::id_group, sql::id_project, sql::id_recompute,
                                            sql::id_rename, sql::id_filter};
  for (const u16 id : post_operations) {
    for (u64 i = 0; i < child_count(root); ++i) {
      const parse_node* c = child_at(root, i);
      if (c->id == id || tree_contains_id(&id, c)) return false;
    }
  }
  return true;
}

bool can_update_text(const sql_library* lib, const char* text, i32 len) {
  if (!text_ok(text, len)) return false;
  statement_parse s(lib, text, u64(len));
  return s.p.complete && update_allowed(s.p.tree);
}

const char* where_of_update(const sql_library* lib, const char* text, i32 len, u32* len_out) {
  return first_node_of(lib, text, len, len_out, sql::id_where);
}

const char* table_name_of_update(const sql_library* lib, const char* text, i32 len, u32* len_out) {
  return first_node_of(lib, text, len, len_out, sql::id_table_name);
}

}  // namespace kk::grammar
