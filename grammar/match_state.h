#pragma once
// Per-thread state of the matcher (internal to the grammar engine).
#include "adt/types.h"
#include "grammar/tree_pool.h"

namespace kk::grammar::detail {

// Collections of concatenations and repetitions in progress, as one stack of frames.
struct node_stack {
  parse_node** data = nullptr;
  u64 size = 0;
  u64 cap = 0;
  ~node_stack();
  void grow();
  void push(parse_node* n) {
    if (size == cap) grow();
    data[size++] = n;
  }
};

struct match_state {
  tree_pool* pool = nullptr;  // pool of the tree being built; null between parses
  u32 depth = 0;
  u8 abort = 0;               // a parse_abort value once a limit was hit
  node_stack stack;
};

match_state& state() noexcept;

}  // namespace kk::grammar::detail
