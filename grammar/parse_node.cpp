#include "grammar/parse_node.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "adt/memory.h"
#include "grammar/match_state.h"
#include "grammar/tree_pool.h"

namespace kk::grammar {
namespace detail {

namespace {

constexpr u64 first_chunk_bytes = 1024;
constexpr u64 max_chunk_bytes = u64(1) << 20;
constexpr u64 chunk_tag = 0x00000000C4C4C4C4ull;

pool_chunk* chunk_new(pool_chunk* prev, u64 cap) {
  auto* c = static_cast<pool_chunk*>(adt::mem_alloc(adt::mem_bytes(1, cap, sizeof(pool_chunk))));
  c->prev = prev;
  c->cap = cap;
  c->used = 0;
  c->tag = chunk_tag;
  return c;
}

}  // namespace

tree_pool* pool_new(u64 first_bytes) {
  const u64 record = (sizeof(tree_pool) + 7) & ~u64(7);
  const u64 room = first_bytes < max_chunk_bytes - record ? first_bytes : max_chunk_bytes - record;
  pool_chunk* c = chunk_new(nullptr, std::max(first_chunk_bytes, record + room));
  auto* pool = reinterpret_cast<tree_pool*>(c->data());
  c->used = record;
  std::memset(static_cast<void*>(pool), 0, sizeof(tree_pool));
  pool->current = c;
  pool->spare = nullptr;
  pool->magic = pool_magic;
  return pool;
}

void pool_delete(tree_pool* pool) noexcept {
  if (!pool) return;
  adt::mem_free(pool->spare);
  pool_chunk* c = pool->current;
  while (c) {  // the oldest chunk holds the pool record itself: it goes last
    pool_chunk* prev = c->prev;
    adt::mem_free(c);
    c = prev;
  }
}

void* pool_alloc_slow(tree_pool* pool, u64 bytes) {
  pool_chunk* cur = pool->current;
  u64 cap = cur->cap * 2;
  if (cap > max_chunk_bytes) cap = max_chunk_bytes;
  if (cap < bytes) cap = bytes;
  pool_chunk* c;
  if (pool->spare && pool->spare->cap >= bytes) {
    c = pool->spare;
    pool->spare = nullptr;
    c->prev = cur;
    c->used = 0;
  } else {
    c = chunk_new(cur, cap);
  }
  pool->current = c;
  c->used = bytes;
  return c->data();
}

void pool_rollback_slow(tree_pool* pool, pool_mark mark) noexcept {
  while (pool->current != mark.chunk) {
    pool_chunk* c = pool->current;
    pool->current = c->prev;
    if (!pool->spare || pool->spare->cap < c->cap) {
      adt::mem_free(pool->spare);
      pool->spare = c;
    } else {
      adt::mem_free(c);
    }
  }
  pool->current->used = mark.used;
}

tree_pool* pool_of_root(parse_node* node) noexcept {
  // Pool memory before any node of a pool is readable: a chunk header, the pool record or
  // the end of an earlier block. Only a root slot has the magic word there.
  u64 m;
  std::memcpy(&m, reinterpret_cast<const char*>(node) - sizeof m, sizeof m);
  if (m != pool_magic) return nullptr;
  return reinterpret_cast<tree_pool*>(reinterpret_cast<char*>(node) - offsetof(tree_pool, root));
}

void pool_stats(const tree_pool* pool, parse_tree_stats* out) noexcept {
  for (const pool_chunk* c = pool->current; c; c = c->prev) {
    out->bytes_used += c->used;
    out->bytes_reserved += c->cap + sizeof(pool_chunk);
  }
  if (pool->spare) out->bytes_reserved += pool->spare->cap + sizeof(pool_chunk);
}

}  // namespace detail

void grammar_free_tree(parse_node* node) noexcept {
  if (!node) return;
  detail::tree_pool* pool = detail::pool_of_root(node);
  if (pool) detail::pool_delete(pool);
}

parse_forest& parse_forest::operator=(parse_forest&& o) noexcept {
  if (this != &o) {
    clear();
    pool_ = o.pool_;
    o.pool_ = nullptr;
  }
  return *this;
}

void parse_forest::clear() noexcept {
  detail::pool_delete(pool_);
  pool_ = nullptr;
}

void parse_node_clear(parse_node* node) noexcept {
  if (!node) return;
  if (detail::tree_pool* pool = detail::pool_of_root(node)) {
    // Keep only the first chunk, which holds the root itself.
    detail::pool_chunk* c = pool->current;
    while (c->prev) {
      detail::pool_chunk* prev = c->prev;
      adt::mem_free(c);
      c = prev;
    }
    adt::mem_free(pool->spare);
    pool->spare = nullptr;
    pool->current = c;
    c->used = (sizeof(detail::tree_pool) + 7) & ~u64(7);
  }
  node->id = 0;
  node->start = nullptr;
  node->length = 0;
  node->children = nullptr;
}

bool tree_contains_id(const u16* id, const parse_node* node) noexcept {
  if (!node) return false;
  for (u64 i = 0; i < child_count(node); ++i) {
    const parse_node* c = child_at(node, i);
    if (c->id == *id || tree_contains_id(id, c)) return true;
  }
  return false;
}

void collect_nodes_by_id(const parse_node* node, adt::vector<parse_node*>* out,
                         const parse_id_set* ids) {
  collect_nodes_if(node, [ids](u16 id) { return ids->has(id); }, *out);
}

parse_node* parse_leaf_new(u16 id, const char* start, u64 length) {
  detail::match_state& s = detail::state();
  if (s.pool) return detail::pool_leaf(s.pool, id, start, length);
  detail::tree_pool* pool = detail::pool_new();
  pool->root.id = id;
  pool->root.start = start;
  pool->root.length = length;
  pool->root.children = nullptr;
  return &pool->root;
}

namespace {
u64 count_nodes(const parse_node* n) noexcept {
  u64 total = 1;
  for (u64 i = 0; i < child_count(n); ++i) total += count_nodes(child_at(n, i));
  return total;
}
}  // namespace

parse_tree_stats tree_stats(const parse_node* root) noexcept {
  parse_tree_stats st;
  if (!root) return st;
  st.nodes = count_nodes(root);
  if (detail::tree_pool* pool = detail::pool_of_root(const_cast<parse_node*>(root)))
    detail::pool_stats(pool, &st);
  return st;
}

}  // namespace kk::grammar
