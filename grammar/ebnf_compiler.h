#pragma once
// The EBNF compiler: grammar text -> grammar_node tree, rule numbering and resolution of
// identifiers into reference kinds backed by a rule table.
//
// Nothing is copied: every node points into the grammar text, which must outlive the
// compiled grammar. Compilation stops silently at the first text that is not a rule.
#include "adt/string.h"
#include "adt/types.h"
#include "adt/vector.h"
#include "grammar/grammar_node.h"

namespace kk::grammar {

// The syntax node (kind 0) with the rules parsed from the text, or null when not even one
// rule parses.
grammar_node* grammar_parse_rules(const char* text, const u64* length);

// The sub-parsers: each reads at pos with *remaining bytes left and returns a new node or
// null, having freed whatever it built. ebnf_skip returns a kind-30 node only when it
// skipped at least one byte.
grammar_node* ebnf_skip(const char* pos, const u64* remaining);
grammar_node* ebnf_parse_rule(const char* pos, const u64* remaining);
grammar_node* ebnf_parse_alternation(const char* pos, const u64* remaining);
grammar_node* ebnf_parse_concatenation(const char* pos, const u64* remaining);
grammar_node* ebnf_parse_term(const char* pos, const u64* remaining);
grammar_node* ebnf_parse_terminal(const char* pos, const u64* remaining);
grammar_node* ebnf_parse_range(const char* pos, const u64* remaining);
grammar_node* ebnf_parse_quote(const char* pos, const u64* remaining);
grammar_node* ebnf_parse_dquote(const char* pos, const u64* remaining);
grammar_node* ebnf_parse_integer(const char* pos, const u64* remaining);
grammar_node* ebnf_parse_group(const char* pos, const u64* remaining);
grammar_node* ebnf_parse_option(const char* pos, const u64* remaining);
grammar_node* ebnf_parse_repeat(const char* pos, const u64* remaining);
grammar_node* ebnf_parse_identifier(const char* pos, const u64* remaining);
grammar_node* ebnf_parse_comment(const char* pos, const u64* remaining);

// Rule name -> {rule number, rule node}; a later rule of the same name replaces an earlier.
struct rule_name_entry {
  adt::text_view name;
  u16 number;
  grammar_node* rule;
};
struct rule_name_map {
  adt::vector<rule_name_entry> entries;  // sorted by name once built
};
void rule_name_map_build(rule_name_map* map, const grammar_node* syntax);
const rule_name_entry* rule_name_map_find(const rule_name_map* map, adt::text_view name) noexcept;

// Rules served in native code, with what the matcher may assume of them.
struct byte_set {
  u64 w[4] = {0, 0, 0, 0};
  void add(u8 b) noexcept { w[b >> 6] |= u64(1) << (b & 63); }
  bool has(u8 b) const noexcept { return (w[b >> 6] >> (b & 63)) & 1; }
};
struct native_rule {
  u16 rule;
  native_recogniser fn;
  bool first_known;  // true: every match starts with a byte of `first` and is not empty
  byte_set first;
};
struct native_rule_map {
  const native_rule* entries = nullptr;
  u64 count = 0;
};
const native_rule* native_rule_find(const native_rule_map* map, u16 rule) noexcept;

// Resolves every identifier of rule's subtree (its own name too). Prints
// "unkown identifier %.*s\n" and fails at the first unknown name.
bool grammar_resolve_identifiers(grammar_node* rule, const rule_name_map* names,
                                 rule_table* table, const native_rule_map* natives);

// A compiled grammar: the syntax node owning every node, its start rule (rule 0) and the
// rule table.
struct compiled_grammar {
  grammar_node* syntax = nullptr;
  const grammar_node* start = nullptr;
  rule_table rules;
  u64 rule_count = 0;
};

// Compile, number, resolve against a table of table_size slots, then analyse for the
// matcher. On failure nothing is kept and the result is false.
bool grammar_build(compiled_grammar* out, const char* text, u64 length, u64 table_size,
                   const native_rule_map* natives);
void grammar_release(compiled_grammar* g) noexcept;

// Name of rule n (its identifier's text), or an empty view.
adt::text_view grammar_rule_name(const compiled_grammar* g, u64 n) noexcept;

// Fills the matcher hints of every node (first-byte sets, cached bounds); part of
// grammar_build.
void grammar_analyse(grammar_node* syntax, const rule_table* table,
                     const native_rule_map* natives);

}  // namespace kk::grammar
