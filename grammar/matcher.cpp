#include "grammar/matcher.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "adt/memory.h"
#include "grammar/match_state.h"
#include "grammar/tree_pool.h"
#include "grammar/utf8_bounded.h"

namespace kk::grammar {

constinit thread_local const char* parse_farthest = nullptr;
constinit thread_local u64 match_steps = 0;
constinit thread_local u64 match_step_limit = ~u64(0);

namespace detail {

node_stack::~node_stack() { adt::mem_free(data); }

void node_stack::grow() {
  u64 n = cap ? cap * 2 : 256;
  auto** d = static_cast<parse_node**>(adt::mem_alloc(adt::mem_bytes(n, sizeof(parse_node*))));
  if (size) std::memcpy(d, data, size * sizeof(parse_node*));
  adt::mem_free(data);
  data = d;
  cap = n;
}

failure_memo::~failure_memo() { adt::mem_free(slots); }

namespace {
inline u64 failure_hash(const void* key, const char* pos) noexcept {
  u64 h = (reinterpret_cast<std::uintptr_t>(key) >> 4) * 0x9E3779B97F4A7C15ull ^
          reinterpret_cast<std::uintptr_t>(pos) * 0xC2B2AE3D27D4EB4Full;
  return h ^ (h >> 29);
}
}  // namespace

const failure_memo::entry* failure_memo::find(const void* key, const char* pos, u64 rem,
                                              u64 gen) const noexcept {
  if (!cap || used_gen != gen || !used) return nullptr;
  for (u64 i = failure_hash(key, pos) & (cap - 1);; i = (i + 1) & (cap - 1)) {
    const entry& e = slots[i];
    if (e.gen != gen) return nullptr;  // an empty slot of this generation ends the probe
    if (e.key == key && e.pos == pos && e.rem == rem) return &e;
  }
}

void failure_memo::insert(const void* key, const char* pos, u64 rem, const char* far, u64 gen) {
  if (used_gen != gen) {
    used = 0;
    used_gen = gen;
  }
  if ((used + 1) * 2 > cap) {
    // Grow, keeping this generation's entries.
    const u64 n = cap ? cap * 2 : 1024;
    entry* old = slots;
    const u64 old_cap = cap;
    slots = static_cast<entry*>(adt::mem_alloc_zeroed(adt::mem_bytes(n, sizeof(entry))));
    cap = n;
    used = 0;
    for (u64 i = 0; i < old_cap; ++i)
      if (old[i].gen == gen) insert(old[i].key, old[i].pos, old[i].rem, old[i].far, gen);
    adt::mem_free(old);
  }
  u64 i = failure_hash(key, pos) & (cap - 1);
  while (slots[i].gen == gen) i = (i + 1) & (cap - 1);
  slots[i] = {key, pos, rem, far, gen};
  ++used;
}

match_state& state() noexcept {
  thread_local match_state s;
  return s;
}

}  // namespace detail

namespace {

using namespace detail;

struct ctx {
  match_state& s;
  tree_pool* pool;
  const rule_table* rules;
  u64* steps;
  u64 step_limit;
  u32 depth_limit;
};

inline void raise(const char* p) noexcept {
  if (reinterpret_cast<std::uintptr_t>(p) > reinterpret_cast<std::uintptr_t>(parse_farthest))
    parse_farthest = p;
}

inline bool in_set(const u64* set, char c) noexcept {
  const u8 b = static_cast<u8>(c);
  return (set[b >> 6] >> (b & 63)) & 1;
}

// A limit was hit: this and every later call of the parse fail.
parse_node* stop(ctx& c, const char* pos, parse_abort why) noexcept {
  if (!c.s.abort) {
    c.s.abort = static_cast<u8>(why);
    raise(pos);
  }
  c.depth_limit = 0;
  c.step_limit = 0;
  return nullptr;
}

// Kinds whose results may be empty or group several parts: a concatenation drops their
// empty results and splices their groupings.
inline bool is_grouping_kind(u16 k) noexcept {
  return k == kind_concatenation || k == kind_group || k == kind_option || k == kind_repeat ||
         k == kind_repeat_min1;
}

// Reads a bound written as decimal or 0x-hexadecimal digits, saturating.
u64 bound_value(const grammar_node* b) noexcept {
  const char* p = b->start;
  const char* e = b->end;
  u64 base = 10;
  if (b->kind == kind_integer_hex) {
    base = 16;
    if (e - p >= 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) p += 2;
  }
  u64 v = 0;
  for (; p < e; ++p) {
    u64 d;
    if (*p >= '0' && *p <= '9')
      d = u64(*p - '0');
    else if (base == 16 && *p >= 'a' && *p <= 'f')
      d = u64(*p - 'a' + 10);
    else if (base == 16 && *p >= 'A' && *p <= 'F')
      d = u64(*p - 'A' + 10);
    else
      break;
    if (v > (~u64(0) - d) / base) return ~u64(0);
    v = v * base + d;
  }
  return v;
}

inline bool is_bound(const grammar_node* n) noexcept {
  return n && (n->kind == kind_integer_dec || n->kind == kind_integer_hex);
}

parse_node* match(ctx& c, const grammar_node* n, const char* pos, u64 rem);

// match, with the first-byte test made before the call: most tries of a branch fail on
// their first byte.
inline parse_node* call(ctx& c, const grammar_node* k, const char* pos, u64 rem) {
  if (k->direct) k = k->direct;
  if ((k->flags & node_has_first) && rem && !in_set(k->first, *pos)) {
    raise(pos);
    return nullptr;
  }
  return match(c, k, pos, rem);
}

inline const char* end_of(const parse_node* r) noexcept { return r->start + r->length; }

// Moves r into the collection: a grouping (id 0) gives its children and is dropped.
inline void collect(ctx& c, parse_node* r) {
  if (r->id != 0) {
    c.s.stack.push(r);
    return;
  }
  const u64 k = child_count(r);
  for (u64 i = 0; i < k; ++i) c.s.stack.push(child_at(r, i));
  pool_release_top(c.pool, r, block_bytes(k));
}

// The node for what a concatenation or repetition collected since `base`.
inline parse_node* finish(ctx& c, u64 base, const char* pos, const char* cur) {
  node_stack& st = c.s.stack;
  const u64 k = st.size - base;
  parse_node* out;
  if (k == 0)
    out = pool_leaf(c.pool, 0, pos, 0);
  else if (k == 1)
    out = st.data[base];
  else
    out = pool_node(c.pool, 0, pos, u64(cur - pos), st.data + base, k);
  st.size = base;
  return out;
}

// Where child k ends when matched at pos (it cannot fail), with no trace left in the tree;
// false when a limit stopped the parse or the child failed after all.
bool prefix_end(ctx& c, const grammar_node* k, const char* pos, u64 rem, const char** end) {
  const void* key = k;
  if (k->kind >= rule_ref_base && k->kind < native_ref_base && k->kind < c.rules->size &&
      c.rules->slots[k->kind].body)
    key = c.rules->slots[k->kind].body;  // every reference to one rule shares its entries
  prefix_memo& memo = c.s.memo;
  const u64 h = (reinterpret_cast<std::uintptr_t>(key) >> 4) ^ reinterpret_cast<std::uintptr_t>(pos);
  prefix_memo::entry& slot = memo.slots[(h ^ (h >> 8)) & (prefix_memo::size - 1)];
  if (slot.gen == memo.gen && slot.key == key && slot.pos == pos && slot.rem == rem) {
    raise(slot.far);
    *end = slot.end;
    return true;
  }
  const char* saved = parse_farthest;
  parse_farthest = nullptr;
  const pool_mark m = pool_get_mark(c.pool);
  parse_node* r = call(c, k, pos, rem);
  const char* far = parse_farthest;
  parse_farthest = saved;
  raise(far);
  if (!r) return false;
  *end = end_of(r);
  pool_rollback(c.pool, m);
  slot = {key, pos, rem, *end, far, memo.gen};
  return true;
}

__attribute__((noinline)) parse_node* match_concatenation(ctx& c, const grammar_node* n,
                                                          const char* pos, u64 rem) {
  auto* e = n->children.head;
  if (!e) return nullptr;
  if (n->flags & node_prefix_check) {
    // Fail before building anything when the first child that must consume a byte cannot
    // start where the children before it end: a full attempt would fail right there.
    const char* at = pos;
    auto* it = e;
    bool known = true;
    for (u64 i = 0; i < n->lo && it && known; ++i, it = it->next)
      known = prefix_end(c, it->value, at, rem - u64(at - pos), &at);
    if (c.s.abort) return nullptr;
    if (known && it && at != pos + rem && !in_set(it->value->first, *at)) {
      raise(at);
      return nullptr;
    }
  }
  node_stack& st = c.s.stack;
  const u64 base = st.size;
  const pool_mark m0 = pool_get_mark(c.pool);
  const char* cur = pos;
  for (; e; e = e->next) {
    const grammar_node* k = e->value;
    const pool_mark m = pool_get_mark(c.pool);
    parse_node* r = call(c, k, cur, rem - u64(cur - pos));
    if (!r) {
      st.size = base;
      pool_rollback(c.pool, m0);
      return nullptr;
    }
    if (is_grouping_kind(k->kind)) {
      if (r->length == 0) {
        pool_rollback(c.pool, m);
        continue;
      }
      cur = end_of(r);
      collect(c, r);
    } else {
      cur = end_of(r);
      st.push(r);
    }
  }
  return finish(c, base, pos, cur);
}

__attribute__((noinline)) parse_node* match_repeat(ctx& c, const grammar_node* n,
                                                   const char* pos, u64 rem) {
  u64 lower = 0, upper = 0;
  bool has_upper = false;
  const grammar_node* body;
  if (n->kind == kind_repeat_min1) {
    lower = 1;
    body = grammar_child(n, 0);
  } else if (n->flags & node_bounds_cached) {
    body = n->body;
    lower = n->lo;
    upper = n->hi;
    has_upper = n->flags & node_has_upper;
  } else {
    const grammar_node* first = grammar_child(n, 0);
    body = first;
    if (is_bound(first)) {
      lower = bound_value(first);
      body = grammar_child(n, 1);
    }
    const grammar_node* last = grammar_last_child(n);
    if (is_bound(last) && last != body && last != first) {
      has_upper = true;
      upper = bound_value(last);
    }
  }
  if (!body) return nullptr;
  node_stack& st = c.s.stack;
  const u64 base = st.size;
  const pool_mark m0 = pool_get_mark(c.pool);
  const char* cur = pos;
  const char* const stop_at = pos + rem;
  u64 count = 0;
  for (;;) {
    parse_node* r = call(c, body, cur, u64(stop_at - cur));
    if (!r) break;
    const char* e = end_of(r);
    collect(c, r);
    ++count;
    const bool moved = e != cur;
    cur = e;
    if (cur == stop_at || (has_upper && count >= upper)) break;
    if (!moved) {
      // A body that matched the empty text matches it again on every further pass: with an
      // upper bound those passes run up to it (one copy of the result stands for them),
      // without one they would never end.
      if (has_upper) count = upper;
      break;
    }
  }
  if (count < lower) {
    st.size = base;
    pool_rollback(c.pool, m0);
    return nullptr;
  }
  return finish(c, base, pos, cur);
}

__attribute__((noinline)) parse_node* match_native(ctx& c, const grammar_node* n,
                                                   native_recogniser fn, const char* pos,
                                                   u64 rem) {
  u64 left = rem;
  parse_node* r = fn(n, pos, &left, c.rules);
  if (c.s.abort) {  // a nested parse of the recogniser hit a limit
    c.depth_limit = 0;
    c.step_limit = 0;
    return nullptr;
  }
  // A recogniser's leaf must lie within what was left.
  if (r && (r->start != pos || r->length > rem)) return nullptr;
  return r;
}

__attribute__((noinline)) parse_node* match_unknown(const grammar_node* n) {
  std::printf("unkown type with type = %d\n", int(n->kind));
  return nullptr;
}

parse_node* match_range(ctx& c, const grammar_node* n, const char* pos, u64 rem) {
  if (rem == 0) return nullptr;
  const grammar_node* lo = grammar_child(n, 0);
  const grammar_node* hi = grammar_last_child(n);
  if (!lo || !hi) return nullptr;
  if (lo->kind == kind_quote_string || lo->kind == kind_dquote_string) {
    if (lo->end - lo->start > 2 && hi->end - hi->start > 2) {
      const signed char b = static_cast<signed char>(*pos);
      if (b >= static_cast<signed char>(lo->start[1]) && b <= static_cast<signed char>(hi->start[1]))
        return pool_leaf(c.pool, 1, pos, 1);
    }
    raise(pos);
    return nullptr;
  }
  u64 low, high;
  if (n->flags & node_bounds_cached) {
    low = n->lo;
    high = n->hi;
  } else {
    low = bound_value(lo);
    high = bound_value(hi);
  }
  u32 cp;
  const u32 len = utf8_decode_bounded(pos, rem, &cp);
  if (len && cp >= low && cp <= high) return pool_leaf(c.pool, 1, pos, len);
  raise(pos);
  return nullptr;
}

parse_node* match_sort_string(ctx& c, const grammar_node* n, const char* pos, u64 rem) {
  const char* set = n->start + 1;
  const i64 len = (n->end - n->start) - 2;
  if (len > 0 && rem > 0) {
    const signed char b = static_cast<signed char>(*pos);
    i64 lo = 0, hi = len - 1;
    while (lo <= hi) {
      const i64 mid = lo + (hi - lo) / 2;
      const signed char m = static_cast<signed char>(set[mid]);
      if (m == b) return pool_leaf(c.pool, 1, pos, 1);
      if (m < b)
        lo = mid + 1;
      else
        hi = mid - 1;
    }
  }
  raise(pos);
  return nullptr;
}

parse_node* match(ctx& c, const grammar_node* n, const char* pos, u64 rem) {
  if (++*c.steps > c.step_limit) return stop(c, pos, parse_abort::step_limit);
  if (c.s.depth >= c.depth_limit) return stop(c, pos, parse_abort::too_deep);
  struct depth_guard {
    u32& d;
    explicit depth_guard(u32& x) : d(x) { ++d; }
    ~depth_guard() { --d; }
  } guard(c.s.depth);

  // The first-byte test was made by call() before this call.
  for (;;) {
    const u16 kind = n->kind;
    if (kind >= rule_ref_base) {
      if (kind >= c.rules->size) return nullptr;
      const rule_slot& slot = c.rules->slots[kind];
      if (kind >= native_ref_base)
        return slot.native ? match_native(c, n, slot.native, pos, rem) : nullptr;
      const grammar_node* body = slot.body;
      if (!body) return nullptr;
      failure_memo& fails = c.s.failures;
      const u64 gen = c.s.memo.gen;
      if (const failure_memo::entry* e = fails.find(body, pos, rem, gen)) {
        raise(e->far);
        return nullptr;
      }
      const char* saved = parse_farthest;
      parse_farthest = nullptr;
      parse_node* r = call(c, body, pos, rem);
      const char* far = parse_farthest;
      parse_farthest = saved;
      raise(far);
      if (!r) {
        if (!c.s.abort) fails.insert(body, pos, rem, far, gen);
        return nullptr;
      }
      if (r->id == 0) {
        r->id = ref_node_id(kind);
        return r;
      }
      return pool_node(c.pool, ref_node_id(kind), pos, u64(end_of(r) - pos), &r, 1);
    }
    switch (kind) {
      case kind_rule:
        n = grammar_child(n, 1);
        if (!n) return nullptr;
        continue;
      case kind_meta_definition:
      case kind_group:
        n = n->children.head ? n->children.head->value : nullptr;
        if (!n) return nullptr;
        continue;
      case kind_alternation: {
        auto* e = n->children.head;
        if (!e) return nullptr;
        if (!e->next) {
          n = e->value;
          continue;
        }
        for (; e; e = e->next)
          if (parse_node* r = call(c, e->value, pos, rem)) return r;
        return nullptr;
      }
      case kind_concatenation: {
        auto* e = n->children.head;
        // One term that is not a grouping kind passes its result through unchanged.
        if (e && !e->next && !is_grouping_kind(e->value->kind)) {
          n = e->value;
          continue;
        }
        return match_concatenation(c, n, pos, rem);
      }
      case kind_option:
        for (auto* e = n->children.head; e; e = e->next)
          if (parse_node* r = call(c, e->value, pos, rem)) return r;
        return pool_leaf(c.pool, 0, pos, 0);
      case kind_repeat:
      case kind_repeat_min1:
        return match_repeat(c, n, pos, rem);
      case kind_quote_string:
      case kind_dquote_string: {
        const char* lit = n->start + 1;
        const i64 len = (n->end - n->start) - 2;
        if (len >= 0 && u64(len) <= rem) {
          i64 i = 0;
          while (i < len && pos[i] == lit[i]) ++i;  // literals are short keywords
          if (i == len) return pool_leaf(c.pool, 1, pos, u64(len));
        }
        raise(pos);
        return nullptr;
      }
      case kind_sort_string:
        return match_sort_string(c, n, pos, rem);
      case kind_range_string:
        return match_range(c, n, pos, rem);
      case kind_except_terminal_string: {
        if (rem == 0) {
          raise(pos);
          return nullptr;
        }
        const grammar_node* k = n->children.head ? n->children.head->value : nullptr;
        if (k) {
          const pool_mark m = pool_get_mark(c.pool);
          if (call(c, k, pos, rem)) {
            pool_rollback(c.pool, m);
            raise(pos);
            return nullptr;
          }
          if (c.s.abort) return nullptr;
        }
        u32 cp;
        const u32 len = utf8_decode_bounded(pos, rem, &cp);
        return pool_leaf(c.pool, 1, pos, len ? len : 1);
      }
      case kind_any_char: {
        if (rem == 0) return nullptr;
        u32 cp;
        const u32 len = utf8_decode_bounded(pos, rem, &cp);
        return pool_leaf(c.pool, 1, pos, len ? len : 1);
      }
      default:
        return match_unknown(n);
    }
  }
}

// Resets the thread's parse state when a top-level parse ends, also by an exception; a
// failed parse gives back what it took from the pool (all of a pool of its own).
struct top_level_scope {
  match_state& s;
  pool_mark start;
  bool own_pool;
  bool keep = false;
  ~top_level_scope() {
    if (!keep) {
      if (own_pool)
        pool_delete(s.pool);
      else
        pool_rollback(s.pool, start);
    }
    s.pool = nullptr;
    s.depth = 0;
    s.stack.size = 0;
  }
};

// A forest's chunks start large: it holds a whole script's trees.
constexpr u64 forest_first_bytes = 64 * 1024;

}  // namespace

parse_abort last_parse_abort() noexcept { return static_cast<parse_abort>(state().abort); }

namespace {

// Called by a native recogniser: the result joins the tree in progress.
parse_node* nested_match(match_state& s, const grammar_node* node, const char* pos, u64 rem,
                         const rule_table* rules) {
  ctx c{s, s.pool, rules, &match_steps, match_step_limit, s.abort ? 0u : match_depth_limit};
  // Its text may be another one at the same addresses: positions learnt so far go stale.
  ++s.memo.gen;
  parse_node* r = call(c, node, pos, rem);
  ++s.memo.gen;
  return r;
}

// A top-level parse building in s.pool; null on failure (the caller's top_level_scope
// then gives back what it allocated).
parse_node* top_level_match(match_state& s, const grammar_node* node, const char* pos, u64 rem,
                            const rule_table* rules) {
  ctx c{s, s.pool, rules, &match_steps, match_step_limit, match_depth_limit};
  parse_node* r = call(c, node, pos, rem);
  return s.abort ? nullptr : r;
}

void reset_for_top_level(match_state& s) noexcept {
  s.abort = 0;
  s.depth = 0;
  s.stack.size = 0;
  ++s.memo.gen;
}

}  // namespace

parse_node* grammar_match(const grammar_node* node, const char* pos, u64* remaining,
                          const rule_table* rules) {
  if (!node || !rules) return nullptr;
  const u64 rem = remaining ? *remaining : 0;
  if (!pos && rem) return nullptr;
  match_state& s = state();
  if (s.pool) return nested_match(s, node, pos, rem, rules);
  reset_for_top_level(s);
  s.pool = pool_new();
  top_level_scope scope{s, {}, true};
  parse_node* r = top_level_match(s, node, pos, rem, rules);
  if (!r) return nullptr;
  tree_pool* pool = s.pool;
  pool->root = *r;
  if (!r->children) pool_release_top(pool, r, node_bytes);
  scope.keep = true;
  return &pool->root;
}

parse_node* grammar_match_in(parse_forest& forest, const grammar_node* node, const char* pos,
                             u64* remaining, const rule_table* rules) {
  if (!node || !rules) return nullptr;
  const u64 rem = remaining ? *remaining : 0;
  if (!pos && rem) return nullptr;
  match_state& s = state();
  if (s.pool) return nested_match(s, node, pos, rem, rules);
  if (!forest.pool_) forest.pool_ = pool_new(forest_first_bytes);
  reset_for_top_level(s);
  s.pool = forest.pool_;
  top_level_scope scope{s, pool_get_mark(s.pool), false};
  parse_node* r = top_level_match(s, node, pos, rem, rules);
  if (!r) return nullptr;
  scope.keep = true;
  return r;
}

}  // namespace kk::grammar
