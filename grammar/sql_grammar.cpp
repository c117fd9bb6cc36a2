#include "grammar/sql_grammar.h"

#include "grammar/matcher.h"
#include "grammar/sql_grammar_text.h"
#include "grammar/sql_natives.h"

namespace kk::grammar::sql {

bool grammar_compile(compiled_grammar* out) {
  return grammar_build(out, grammar_text(), grammar_text_size(), rule_table_size, native_rules());
}

}  // namespace kk::grammar::sql

namespace kk::grammar {

text_parse parse_text(const compiled_grammar* g, const char* text, u64 length) {
  text_parse r;
  if (!g || !g->start) return r;
  parse_farthest = nullptr;
  u64 left = length;
  r.tree = grammar_match(g->start, text, &left, &g->rules);
  if (r.tree) r.end = u64(node_end(r.tree) - text);
  r.complete = r.tree && r.end == length;
  if (!r.complete && parse_farthest) r.error = u64(parse_farthest - text);
  return r;
}

}  // namespace kk::grammar
