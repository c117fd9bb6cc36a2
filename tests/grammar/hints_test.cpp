// The matcher's hints (first-byte sets, the prefix check and its memo) only skip work: the
// same grammar compiled without them must give the same trees and the same parse_farthest
// on every input, valid or broken.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "bench/grammar/script_gen.h"
#include "grammar/ebnf_compiler.h"
#include "grammar/matcher.h"
#include "grammar/sql_grammar.h"
#include "grammar/sql_grammar_text.h"
#include "grammar/sql_natives.h"
#include "statement_corpus.h"
#include "random_grammar.h"

namespace kk::grammar {
namespace {

// The SQL grammar built by the same steps as grammar_build, minus grammar_analyse.
struct plain_sql {
  compiled_grammar g;
  plain_sql() {
    u64 n = sql::grammar_text_size();
    g.syntax = grammar_parse_rules(sql::grammar_text(), &n);
    rule_name_map names;
    rule_name_map_build(&names, g.syntax);
    rule_table_init(&g.rules, sql::rule_table_size);
    for (auto* e = g.syntax->children.head; e; e = e->next)
      EXPECT_TRUE(grammar_resolve_identifiers(e->value, &names, &g.rules, sql::native_rules()));
    g.start = g.syntax->children.head->value;
    g.rule_count = grammar_child_count(g.syntax);
  }
  ~plain_sql() { grammar_release(&g); }
};

TEST(matcher_hints, change_no_tree_and_no_error_offset) {
  compiled_grammar hinted;
  ASSERT_TRUE(sql::grammar_compile(&hinted));
  plain_sql plain;

  // Statements of every kind from the benchmark's generator, whole and cut or damaged at
  // random places (seeded).
  const std::string script = ruv_bench::script_gen(11).script(60000);
  const std::vector<std::string> statements = test::statements_of(script);
  std::mt19937 rng(3);
  u64 compared = 0;
  for (const std::string& st : statements) {
    std::vector<std::string> variants{st, st + " /* open", st.substr(0, st.size() / 2),
                                      test::damaged(st, rng)};
    for (const std::string& v : variants) {
      ASSERT_EQ(test::match_outcome(hinted, v), test::match_outcome(plain.g, v)) << v;
      ++compared;
    }
  }
  // Random bytes, with many of the dialect's own characters and cut-off UTF-8.
  const std::string alphabet = "selctwhrfomin ()*;'\"/#\n\\@[]=<>-+.0xb1_\xc3\xa9\xe2\x82\xf0\xff";
  for (int i = 0; i < 2000; ++i) {
    std::string v(rng() % 40, ' ');
    for (char& ch : v) ch = alphabet[rng() % alphabet.size()];
    if (i % 2) v = statements[rng() % statements.size()].substr(0, 12) + v;
    ASSERT_EQ(test::match_outcome(hinted, v), test::match_outcome(plain.g, v)) << v;
    ++compared;
  }
  EXPECT_GT(compared, 1000u);
  grammar_release(&hinted);
}

}  // namespace
}  // namespace kk::grammar
