#pragma once
// Parse trees: nodes, their ids, ownership and release.
//
// id 0 is a grouping or an empty match, 1 terminal text, n + 2 a node of rule n. A node
// covers [start, start + length) of the parsed text, which must stay alive and unchanged
// while the tree is used.
//
// Every node of a tree lives in one pool owned by the tree's root: grammar_match returns a
// root, and grammar_free_tree on that root frees the whole tree in one step. A parse_forest
// holds the trees of several parses in one pool and frees them together. Trees are
// read-only: their child vectors are views into the pool and must not be grown or freed.
#include "adt/types.h"
#include "adt/vector.h"

namespace kk::grammar {

struct grammar_node;
struct rule_table;
namespace detail {
struct tree_pool;
}

// Fields in natural alignment (not packed): references to them, as std::min or a test's
// comparison takes, must be valid; the pool spends 32 bytes per node either way.
struct parse_node {
  u16 id;
  const char* start;
  u64 length;
  adt::vector<parse_node*>* children;  // null for a leaf
};
static_assert(sizeof(parse_node) == 32);

inline const char* node_end(const parse_node* n) noexcept { return n->start + n->length; }
inline u64 child_count(const parse_node* n) noexcept { return n->children ? n->children->size : 0; }
inline parse_node* child_at(const parse_node* n, u64 i) noexcept { return n->children->data[i]; }

// Frees a tree given by its root (grammar_match, parse_leaf_new outside a parse); null is
// allowed. Nodes inside a tree belong to the root: freeing one of them does nothing.
void grammar_free_tree(parse_node* node) noexcept;

// Releases every descendant and zeroes id, start, length and children. The node itself
// stays: a root is then freed with grammar_free_tree. On an inner node only the link to
// its children is dropped; their memory goes with the root.
void parse_node_clear(parse_node* node) noexcept;

// True when a descendant of node (pre-order; node itself not tested) has the id.
bool tree_contains_id(const u16* id, const parse_node* node) noexcept;

// Topmost nodes of root's subtree (root included) whose id satisfies `want`, in document
// order; a match is not descended into.
template <class Pred, class Out>
void collect_nodes_if(const parse_node* root, Pred want, Out& out) {
  if (!root) return;
  if (want(root->id)) {
    out.push_back(const_cast<parse_node*>(root));
    return;
  }
  for (u64 i = 0; i < child_count(root); ++i) collect_nodes_if(child_at(root, i), want, out);
}

// A set of node ids, for searches by id. Ids of rules go up to 1025 (rule 1023 + 2).
struct parse_id_set {
  static constexpr u16 limit = 1026;
  u64 bits[(limit + 63) / 64] = {};
  // False for an id already present or beyond the limit.
  bool add(u16 id) noexcept {
    if (id >= limit || has(id)) return false;
    bits[id >> 6] |= u64(1) << (id & 63);
    return true;
  }
  bool has(u16 id) const noexcept { return id < limit && ((bits[id >> 6] >> (id & 63)) & 1); }
};

// Appends to out the topmost nodes of node's subtree (node included) whose id is in ids, in
// document order: a node in the set is appended and not descended into.
void collect_nodes_by_id(const parse_node* node, adt::vector<parse_node*>* out,
                         const parse_id_set* ids);

// A new leaf. Inside a parse (a native recogniser) it joins the tree being built; outside
// one it is a tree of its own, freed with grammar_free_tree.
parse_node* parse_leaf_new(u16 id, const char* start, u64 length);

// The trees of several top-level parses (a script's statements, grammar_match_in) in one
// pool, released together in one step: no allocation per tree, and no walk of each tree at
// release. Move only; not shared between threads while a parse builds in it.
class parse_forest {
 public:
  parse_forest() = default;
  parse_forest(parse_forest&& o) noexcept : pool_(o.pool_) { o.pool_ = nullptr; }
  parse_forest& operator=(parse_forest&& o) noexcept;
  parse_forest(const parse_forest&) = delete;
  parse_forest& operator=(const parse_forest&) = delete;
  ~parse_forest() { clear(); }
  // Frees every tree of the forest.
  void clear() noexcept;

 private:
  friend parse_node* grammar_match_in(parse_forest& forest, const grammar_node* node,
                                      const char* pos, u64* remaining, const rule_table* rules);
  detail::tree_pool* pool_ = nullptr;
};

// Size of a tree: its nodes, and the pool bytes holding them.
struct parse_tree_stats {
  u64 nodes = 0;
  u64 bytes_used = 0;      // bytes handed out by the pool (nodes, child arrays, leftovers)
  u64 bytes_reserved = 0;  // bytes the pool holds from the allocator
};
parse_tree_stats tree_stats(const parse_node* root) noexcept;

}  // namespace kk::grammar
