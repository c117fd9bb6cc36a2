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

// Where a blank-skipping prefix (a rule that cannot fail) ends at a position, and the
// farthest failure it raised there: the same prefix is tried by every level of a nested
// expression before it looks for that level's operator.
struct prefix_memo {
  struct entry {
    const void* key = nullptr;
    const char* pos = nullptr;
    u64 rem = 0;
    const char* end = nullptr;
    const char* far = nullptr;
    u64 gen = 0;
  };
  static constexpr u64 size = 256;
  entry slots[size];
  u64 gen = 1;  // entries of other generations are stale
};

// Rule bodies that failed at a position in this parse (generation), with the farthest
// failure they raised. A rule retried where it already failed fails again at once: without
// this, unterminated nested block comments are retried exponentially often. Exact (grows,
// never evicts), so the bound holds for any input.
struct failure_memo {
  struct entry {
    const void* key = nullptr;
    const char* pos = nullptr;
    u64 rem = 0;
    const char* far = nullptr;
    u64 gen = 0;
  };
  entry* slots = nullptr;
  u64 cap = 0;  // a power of two
  u64 used = 0;
  u64 used_gen = 0;
  ~failure_memo();
  const entry* find(const void* key, const char* pos, u64 rem, u64 gen) const noexcept;
  void insert(const void* key, const char* pos, u64 rem, const char* far, u64 gen);
};

struct match_state {
  tree_pool* pool = nullptr;  // pool of the tree being built; null between parses
  u32 depth = 0;
  u8 abort = 0;               // a parse_abort value once a limit was hit
  node_stack stack;
  prefix_memo memo;
  failure_memo failures;      // keyed by memo.gen
};

match_state& state() noexcept;

}  // namespace kk::grammar::detail
