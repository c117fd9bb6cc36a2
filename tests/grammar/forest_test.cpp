// Trees built in a forest (grammar_match_in) against the trees grammar_match builds alone:
// the same ids, starts, lengths and children, the same farthest failure, and trees that
// stay intact while later parses, failed ones included, build in the same forest.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "bench/grammar/script_gen.h"
#include "grammar/ebnf_compiler.h"
#include "grammar/matcher.h"
#include "grammar/sql_grammar.h"
#include "random_grammar.h"
#include "statement_corpus.h"
#include "tree_text.h"

namespace kk::grammar {
namespace {

std::string far_text(const std::string& in) {
  return parse_farthest ? std::to_string(parse_farthest - in.data()) : "none";
}

// A tree of the forest with its text, to be checked again once the forest has grown.
struct kept {
  const std::string* text;
  const parse_node* tree;
  std::string shape;
};

// The outcome of in's parse into the forest, in match_outcome's form; a tree is kept.
std::string forest_outcome(parse_forest& forest, const compiled_grammar& g, const std::string& in,
                           std::vector<kept>& trees) {
  parse_farthest = nullptr;
  u64 n = in.size();
  parse_node* t = grammar_match_in(forest, g.start, in.data(), &n, &g.rules);
  const std::string shape = test::shape(t, in.data());
  if (t) {
    trees.push_back({&in, t, shape});
    grammar_free_tree(t);  // not a root of its own: the forest keeps it
  }
  return shape + " far=" + far_text(in);
}

void expect_intact(const std::vector<kept>& trees) {
  for (const kept& k : trees) ASSERT_EQ(test::shape(k.tree, k.text->data()), k.shape) << *k.text;
}

TEST(parse_forest, sql_trees_equal_the_trees_of_single_parses) {
  compiled_grammar g;
  ASSERT_TRUE(sql::grammar_compile(&g));
  // Statements of the benchmark's generator, whole, cut and damaged at random places
  // (seeded), and random bytes of the dialect's characters.
  const std::string script = ruv_bench::script_gen(5).script(30000);
  std::vector<std::string> inputs = test::statements_of(script);
  std::mt19937 rng(4);
  const u64 whole = inputs.size();
  for (u64 s = 0; s < whole; ++s) {
    const std::string st = inputs[s];
    inputs.push_back(st + " /* open");
    inputs.push_back(st.substr(0, st.size() / 2));
    inputs.push_back(test::damaged(st, rng));
  }
  const std::string alphabet = "selctwhrfomin ()*;'\"/#\n\\@[]=<>-+.0xb1_\xc3\xa9\xe2\x82\xf0\xff";
  for (int i = 0; i < 1000; ++i) {
    std::string v(rng() % 40, ' ');
    for (char& ch : v) ch = alphabet[rng() % alphabet.size()];
    inputs.push_back(v);
  }
  inputs.push_back("");

  parse_forest forest;
  std::vector<kept> trees;
  for (const std::string& in : inputs)
    ASSERT_EQ(forest_outcome(forest, g, in, trees), test::match_outcome(g, in)) << in;
  expect_intact(trees);

  // Too deep a text fails the same way and takes nothing from the forest's trees.
  std::string deep = "select ";
  for (int i = 0; i < 100000; ++i) deep += "(";
  EXPECT_EQ(forest_outcome(forest, g, deep, trees), test::match_outcome(g, deep));
  EXPECT_EQ(last_parse_abort(), parse_abort::too_deep);
  expect_intact(trees);

  // Cleared, the forest builds the same trees again.
  forest.clear();
  trees.clear();
  for (u64 i = 0; i < whole; ++i)
    ASSERT_EQ(forest_outcome(forest, g, inputs[i], trees), test::match_outcome(g, inputs[i]));
  expect_intact(trees);
  // A moved forest keeps its trees.
  parse_forest moved = std::move(forest);
  expect_intact(trees);
  grammar_release(&g);
}

TEST(parse_forest, a_script_splits_into_the_same_statement_trees) {
  compiled_grammar g;
  ASSERT_TRUE(sql::grammar_compile(&g));
  std::string script = ruv_bench::script_gen(8).script(20000);
  script += "selec a";  // the split stops here
  parse_forest forest;
  const char* p = script.data();
  const char* e = p + script.size();
  u64 statements = 0;
  for (;;) {
    parse_farthest = nullptr;
    u64 n = u64(e - p);
    parse_node* alone = grammar_match(g.start, p, &n, &g.rules);
    const std::string alone_far = far_text(script);
    parse_farthest = nullptr;
    n = u64(e - p);
    parse_node* in_forest = grammar_match_in(forest, g.start, p, &n, &g.rules);
    ASSERT_EQ(test::shape(in_forest, script.data()), test::shape(alone, script.data()));
    ASSERT_EQ(far_text(script), alone_far);
    grammar_free_tree(alone);
    if (!in_forest || in_forest->length == 0) break;
    p = node_end(in_forest);
    ++statements;
  }
  EXPECT_LT(p, e);
  EXPECT_GT(statements, 1u);
  grammar_release(&g);
}

// Grammars of every kind of term (leaf roots, empty matches, groupings at the top).
TEST(parse_forest, random_grammar_trees_equal_the_trees_of_single_parses) {
  constexpr const char* atoms[] = {"'a'", "'ab'", "''", "\"b\"", "`ab`", "``", ".", "'a'~'c'",
                                   "0x61~0x7a", "0x80~0x10ffff", "!'a'", "!!'b'", "r0", "r1",
                                   "r2", "2{'a'}", "{'b'}1", "<'a'>"};
  std::mt19937 rng(12);
  const std::string alphabet = "aabbc\xc3\xa9\xff";
  for (int round = 0; round < 200; ++round) {
    std::string text;
    for (int r = 0; r < 3; ++r)
      text += "r" + std::to_string(r) + " = " + test::random_rule_body(rng, 0, atoms) + ";\n";
    compiled_grammar g;
    testing::internal::CaptureStdout();
    const bool ok = grammar_build(&g, text.data(), text.size(), 2112, nullptr);
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(ok) << text;
    std::vector<std::string> inputs;
    for (int k = 0; k < 20; ++k) {
      std::string in(rng() % 12, 'a');
      for (char& ch : in) ch = alphabet[rng() % alphabet.size()];
      inputs.push_back(in);
    }
    parse_forest forest;
    std::vector<kept> trees;
    for (const std::string& in : inputs)
      ASSERT_EQ(forest_outcome(forest, g, in, trees), test::match_outcome(g, in)) << text << "on '" << in << "'";
    expect_intact(trees);
    grammar_release(&g);
  }
}

}  // namespace
}  // namespace kk::grammar
