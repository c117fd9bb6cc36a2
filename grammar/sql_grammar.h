#pragma once
// The SQL dialect compiled: its grammar text with the five native rules, in a rule table of
// 3072 slots. The root of every statement's tree is a node of rule sql (id 44).
#include "adt/types.h"
#include "grammar/ebnf_compiler.h"
#include "grammar/parse_node.h"

namespace kk::grammar::sql {

inline constexpr u64 rule_table_size = 3072;

// Compiles the dialect into out; false (and nothing kept) only if the text were broken.
bool grammar_compile(compiled_grammar* out);

}  // namespace kk::grammar::sql

namespace kk::grammar {

// One parse of a whole text from the grammar's start rule.
struct text_parse {
  parse_node* tree = nullptr;  // owned by the caller: grammar_free_tree
  u64 end = 0;                 // offset where the match ends (0 without a tree)
  u64 error = 0;               // offset of parse_farthest when the parse is not complete
  bool complete = false;       // the tree covers the whole text
};

// Resets parse_farthest, matches g's start rule at text and reports where it ended.
text_parse parse_text(const compiled_grammar* g, const char* text, u64 length);

}  // namespace kk::grammar
