#pragma once
// The bump allocator behind parse trees (internal to the grammar engine).
//
// A pool is a chain of chunks; its first chunk also holds the pool record with the slot of
// the tree's root. Allocation is a pointer bump; a mark taken before a match lets the
// matcher drop everything that match allocated when it fails, so failed attempts leave
// nothing behind and a tree costs no heap allocation per node.
#include <cstddef>
#include <new>

#include "adt/types.h"
#include "grammar/parse_node.h"

namespace kk::grammar::detail {

struct pool_chunk {
  pool_chunk* prev;  // older chunk
  u64 cap;           // data bytes
  u64 used;          // data bytes handed out
  u64 tag;           // never equal to pool_magic
  char* data() noexcept { return reinterpret_cast<char*>(this + 1); }
};
static_assert(sizeof(pool_chunk) % 8 == 0);

inline constexpr u64 pool_magic = 0xA5A55A5A00007EEFull;  // not a canonical address

struct tree_pool {
  pool_chunk* current;
  pool_chunk* spare;  // one released chunk kept for reuse
  u64 magic;          // directly before root: identifies a pool's root slot
  parse_node root;
};
static_assert(offsetof(tree_pool, root) == offsetof(tree_pool, magic) + 8);

struct pool_mark {
  pool_chunk* chunk;
  u64 used;
};

// A pool whose first chunk has room for `first_bytes` of nodes after the pool record.
tree_pool* pool_new(u64 first_bytes = 0);
void pool_delete(tree_pool* pool) noexcept;

// 8-aligned bytes; throws std::bad_alloc when the allocator fails.
void* pool_alloc_slow(tree_pool* pool, u64 bytes);
inline void* pool_alloc(tree_pool* pool, u64 bytes) {
  pool_chunk* c = pool->current;
  bytes = (bytes + 7) & ~u64(7);
  if (c->cap - c->used >= bytes) {
    void* p = c->data() + c->used;
    c->used += bytes;
    return p;
  }
  return pool_alloc_slow(pool, bytes);
}

inline pool_mark pool_get_mark(const tree_pool* pool) noexcept {
  return {pool->current, pool->current->used};
}
void pool_rollback_slow(tree_pool* pool, pool_mark mark) noexcept;
inline void pool_rollback(tree_pool* pool, pool_mark mark) noexcept {
  if (pool->current == mark.chunk)
    pool->current->used = mark.used;
  else
    pool_rollback_slow(pool, mark);
}

// Gives back [p, p + bytes) when it is the latest allocation; otherwise it stays as waste.
inline void pool_release_top(tree_pool* pool, const void* p, u64 bytes) noexcept {
  pool_chunk* c = pool->current;
  bytes = (bytes + 7) & ~u64(7);
  if (static_cast<const char*>(p) + bytes == c->data() + c->used &&
      static_cast<const char*>(p) >= c->data())
    c->used -= bytes;
}

// The pool whose root slot is `node`, or null for any other node of a pool.
tree_pool* pool_of_root(parse_node* node) noexcept;

// Node blocks: a node, then (for k > 0) its vector header and k child pointers.
inline constexpr u64 node_bytes = sizeof(parse_node);
inline constexpr u64 block_bytes(u64 k) noexcept {
  return node_bytes + (k ? sizeof(adt::vector<parse_node*>) + 8 * k : 0);
}
inline parse_node* pool_leaf(tree_pool* pool, u16 id, const char* start, u64 length) {
  auto* n = static_cast<parse_node*>(pool_alloc(pool, node_bytes));
  n->id = id;
  n->start = start;
  n->length = length;
  n->children = nullptr;
  return n;
}

// A node with k children copied from `kids`; its vector header and child array follow it
// in the same block.
inline parse_node* pool_node(tree_pool* pool, u16 id, const char* start, u64 length,
                             parse_node* const* kids, u64 k) {
  if (k == 0) return pool_leaf(pool, id, start, length);
  char* block = static_cast<char*>(pool_alloc(pool, block_bytes(k)));
  auto* n = reinterpret_cast<parse_node*>(block);
  auto* v = ::new (block + node_bytes) adt::vector<parse_node*>();
  auto** arr = reinterpret_cast<parse_node**>(block + node_bytes + sizeof(adt::vector<parse_node*>));
  for (u64 i = 0; i < k; ++i) arr[i] = kids[i];
  v->data = arr;
  v->size = k;
  v->capacity = k;
  n->id = id;
  n->start = start;
  n->length = length;
  n->children = v;
  return n;
}

void pool_stats(const tree_pool* pool, parse_tree_stats* out) noexcept;

}  // namespace kk::grammar::detail
