#pragma once
// Analysis of a statement's parse tree for writing an edited result back: whether the
// statement may be updated, and where its table name and where clause are.
//
// The text computations parse with a library object's grammar and must accept the text as
// a whole; they do not check that it is an update statement. A length below zero is
// refused, as is a text that would end past the address space. Results point into the
// caller's text, never into the released tree.
#include "adt/tree.h"
#include "adt/types.h"
#include "adt/vector.h"
#include "grammar/parse_node.h"

namespace kk {
struct sql_library;
}

namespace kk::grammar {

// A set of parse-node ids.
struct node_id_order {
  using probe = u16;
  static u16 key_of(u16 k) noexcept { return k; }
  static int compare(u16 a, u16 b) noexcept { return a < b ? -1 : (a > b ? 1 : 0); }
};
using node_id_set = adt::tree<u16, void, node_id_order>;

// Appends node when its id is in the set (without visiting its children), else visits its
// children in order: the topmost matching nodes, in document order.
void collect_nodes_by_id(const parse_node* node, adt::vector<parse_node*>* out, const node_id_set* ids);

// Appends the topmost nodes of root's subtree (root included) whose id is listed, in
// pre-order; a matching node is not descended into.
void find_nodes_by_id(const adt::vector<u16>* ids, adt::vector<parse_node*>* out,
                      const parse_node* root);

// False when a direct child of root holds at any depth a group, project, recompute, rename
// or filter node (tested in that order); root's own id is not tested.
bool update_allowed(const parse_node* root) noexcept;

// The three computations behind the exports, through lib (null: nothing parses).
bool can_update_text(const sql_library* lib, const char* text, i32 len);
// The start of the first where clause (a pointer into text) and its length, or null with
// *len_out untouched.
const char* where_of_update(const sql_library* lib, const char* text, i32 len, u32* len_out);
// The same for the first table name.
const char* table_name_of_update(const sql_library* lib, const char* text, i32 len, u32* len_out);

}  // namespace kk::grammar
