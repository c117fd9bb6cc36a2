// Sets of values keyed by `val` (with a row id), as the distinct-value functions use them.
// Keys are ordered by val_order, a total order: NaNs and nulls each form one key, so
// lookups and inserts agree on every value, including those that compare false both ways.
#pragma once

#include <cstdint>

#include "adt/tree.h"
#include "value/val.h"

namespace kk {

struct val_tree_order {
  using probe = const val*;
  static const val* key_of(const val& k) noexcept { return &k; }
  static int compare(const val* a, const val* b) noexcept { return val_order(*a, *b); }
};

// Key: the value; mapped: its row id.
using val_tree = adt::tree<val, uint64_t, val_tree_order>;
using val_tree_node = val_tree::node;

// The node whose key orders equal to key, or null.
val_tree_node* val_tree_find(val_tree_node* root, const val& key) noexcept;
// Every node's value cleared and the node freed, post-order; root becomes null.
void val_tree_destroy(val_tree_node*& root) noexcept;

}  // namespace kk
