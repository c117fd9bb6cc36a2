#pragma once
// The grammar matcher: ordered choice without backtracking, over a compiled grammar.
//
// To parse a whole text: reset parse_farthest to null, match the grammar's start rule at
// the text with its length, and compare the result's end with the text's end. A null
// result or a short end is a syntax error at parse_farthest.
#include "adt/types.h"
#include "grammar/grammar_node.h"
#include "grammar/parse_node.h"

namespace kk::grammar {

// (constinit: no dynamic initialisation, so other files reach them without a wrapper call.)
// The highest position at which a terminal or native recogniser failed, raised on every
// failure; callers reset it before a parse. Each thread has its own.
extern thread_local constinit const char* parse_farthest;
// Calls of grammar_match on this thread; the parse fails once it would pass
// match_step_limit (no limit by default).
extern thread_local constinit u64 match_steps;
extern thread_local constinit u64 match_step_limit;

// Nesting of matcher calls allowed in one parse. Deeper input (thousands of nested
// parentheses or comments) fails the whole parse at the position where the limit was
// reached, instead of exhausting the stack.
inline constexpr u32 match_depth_limit = 6000;

enum class parse_abort : u8 { none = 0, too_deep = 1, step_limit = 2 };
// Why the last top-level parse on this thread failed early, if it did.
parse_abort last_parse_abort() noexcept;

// Matches node at pos with *remaining bytes left (the input need not be NUL-terminated).
// The result starts at pos or at its first part and is owned by the caller (release with
// grammar_free_tree); null means no match and leaves nothing allocated. Called from a
// native recogniser during a parse, the result joins the tree being built instead.
parse_node* grammar_match(const grammar_node* node, const char* pos, u64* remaining,
                          const rule_table* rules);

// grammar_match at top level with the tree built in `forest`: the same tree, owned by the
// forest (grammar_free_tree on it does nothing) and valid until the forest is cleared. A
// failed parse leaves nothing in the forest. Called from a native recogniser, it is
// grammar_match.
parse_node* grammar_match_in(parse_forest& forest, const grammar_node* node, const char* pos,
                             u64* remaining, const rule_table* rules);

// Raises parse_farthest to at least p (for native recognisers).
inline void parse_farthest_raise(const char* p) noexcept {
  if (p > parse_farthest) parse_farthest = p;
}

}  // namespace kk::grammar
