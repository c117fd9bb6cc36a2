#pragma once
// A compiled grammar: grammar_node trees over the grammar text, and the rule table that
// reference kinds index.
//
// Nodes point into the grammar text, which must outlive them. A node owns its children.
#include "adt/list.h"
#include "adt/types.h"
#include "grammar/ebnf_kind.h"

namespace kk::grammar {

struct parse_node;
struct rule_table;
struct grammar_node;

// A recogniser that serves a rule in native code. It returns a leaf whose id is the
// reference kind - 2046 (rule number + 2) starting at pos, or null after raising
// parse_farthest to its failure position. It reads at most *remaining bytes.
using native_recogniser = parse_node* (*)(const grammar_node* ref, const char* pos,
                                          u64* remaining, const rule_table* rules);

// Matcher hints filled in once a grammar is built (see grammar_analyse). They only let the
// matcher skip work whose outcome is already known; a node without them matches the same.
enum grammar_node_flags : u8 {
  node_bounds_cached = 1,  // lo/hi hold the numeric bounds of a range or repetition
  node_has_upper = 2,      // repetition: hi is an upper bound
  node_has_lower = 4,      // repetition: lo is the lower bound (first child)
  node_has_first = 8,      // `first` holds every byte a match can start with; never empty
  // Concatenation: its first lo children may match the empty text and never fail, and the
  // next one has a first-byte set: the matcher finds where that child would start before
  // it builds anything.
  node_prefix_check = 16,
};

struct grammar_node {
  u16 kind = 0;
  u8 flags = 0;
  adt::list<grammar_node*> children;
  const char* start = nullptr;  // first byte in the grammar text
  const char* end = nullptr;    // one past the last byte
  // With node_has_first: the node cannot match the empty text and a match starts with one
  // of these bytes (a 256-bit set).
  u64 first[4] = {0, 0, 0, 0};
  u64 lo = 0, hi = 0;
  // The node that matches exactly like this one once single-branch alternations, groups and
  // one-term sequences are looked through (the node itself when none applies); null when
  // the grammar was not analysed.
  const grammar_node* direct = nullptr;
  const grammar_node* body = nullptr;  // a repetition's body, with its cached bounds
};

grammar_node* grammar_node_new(u16 kind, const char* start, const char* end);
// Frees the children recursively, then the node; null is allowed.
void grammar_node_free(grammar_node* node) noexcept;

// i-th child (0-based), or null.
const grammar_node* grammar_child(const grammar_node* node, u64 i) noexcept;
const grammar_node* grammar_last_child(const grammar_node* node) noexcept;
u64 grammar_child_count(const grammar_node* node) noexcept;

// One slot per kind: 1024 + n holds rule n's kind-1 node, 2048 + n the recogniser of native
// rule n. Kinds at or beyond size have no slot.
struct rule_slot {
  const grammar_node* rule = nullptr;
  const grammar_node* body = nullptr;  // the rule's second child
  native_recogniser native = nullptr;
};

struct rule_table {
  u64 size = 0;
  rule_slot* slots = nullptr;
};

// A table of `size` empty slots.
void rule_table_init(rule_table* table, u64 size);
void rule_table_free(rule_table* table) noexcept;

}  // namespace kk::grammar
