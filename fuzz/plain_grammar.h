// A grammar built by the same steps as grammar_build but without grammar_analyse: its
// matcher hints are absent, so it must match every input exactly like the hinted build.
#pragma once
#include <string>

#include "grammar/ebnf_compiler.h"
#include "grammar/matcher.h"
#include "tests/grammar/tree_text.h"

namespace fuzz {

inline bool plain_build(kk::grammar::compiled_grammar* out, const char* text, kk::u64 length,
                        kk::u64 table_size, const kk::grammar::native_rule_map* natives) {
  using namespace kk::grammar;
  *out = compiled_grammar{};
  grammar_node* syntax = grammar_parse_rules(text, &length);
  if (!syntax) return false;
  const kk::u64 count = grammar_child_count(syntax);
  if (count > native_ref_base - rule_ref_base) {
    grammar_node_free(syntax);
    return false;
  }
  rule_name_map names;
  rule_name_map_build(&names, syntax);
  rule_table_init(&out->rules, table_size);
  out->syntax = syntax;
  for (auto* e = syntax->children.head; e; e = e->next)
    if (!grammar_resolve_identifiers(e->value, &names, &out->rules, natives)) {
      grammar_release(out);
      return false;
    }
  out->start = syntax->children.head->value;
  out->rule_count = count;
  return true;
}

// The tree's shape, where the parse stopped and whether a guard cut it short.
struct match_outcome {
  std::string shape;
  const char* farthest = nullptr;
  kk::grammar::parse_abort abort = kk::grammar::parse_abort::none;
};

inline match_outcome match_once(const kk::grammar::compiled_grammar& g, const char* text,
                                kk::u64 length) {
  using namespace kk::grammar;
  match_outcome o;
  parse_farthest = nullptr;
  kk::u64 n = length;
  parse_node* t = grammar_match(g.start, text, &n, &g.rules);
  o.shape = kk::grammar::test::shape(t, text);
  o.farthest = parse_farthest;
  o.abort = last_parse_abort();
  grammar_free_tree(t);
  return o;
}

}  // namespace fuzz
