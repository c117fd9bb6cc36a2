// Random grammar texts and inputs (seeded): compiling, analysing and matching must stay
// within their texts and terminate, and the hints must agree with an unhinted build.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "grammar/ebnf_compiler.h"
#include "grammar/matcher.h"
#include "random_grammar.h"

namespace kk::grammar {
namespace {

// Atoms of every kind of term, and references to the three rules r0 to r2.
constexpr const char* atoms[] = {"'a'", "'ab'", "''", "\"b\"", "`ab`", "``", ".", "'a'~'c'",
                                 "0x61~0x7a", "0x80~0x10ffff", "!'a'", "!!'b'", "r0", "r1",
                                 "r2", "2{'a'}", "{'b'}1", "<'a'>"};

std::string random_body(std::mt19937& rng) { return test::random_rule_body(rng, 0, atoms); }

TEST(random_grammars, build_match_and_agree_with_the_unhinted_build) {
  std::mt19937 rng(7);
  const std::string alphabet = "aabbc\xc3\xa9\xff";
  for (int round = 0; round < 300; ++round) {
    std::string text;
    for (int r = 0; r < 3; ++r) text += "r" + std::to_string(r) + " = " + random_body(rng) + ";\n";
    compiled_grammar hinted;
    testing::internal::CaptureStdout();
    const bool ok = grammar_build(&hinted, text.data(), text.size(), 2112, nullptr);
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(ok) << text;

    compiled_grammar plain;
    u64 n = text.size();
    plain.syntax = grammar_parse_rules(text.data(), &n);
    rule_name_map names;
    rule_name_map_build(&names, plain.syntax);
    rule_table_init(&plain.rules, 2112);
    for (auto* e = plain.syntax->children.head; e; e = e->next)
      ASSERT_TRUE(grammar_resolve_identifiers(e->value, &names, &plain.rules, nullptr));
    plain.start = plain.syntax->children.head->value;

    for (int k = 0; k < 20; ++k) {
      std::string in(rng() % 12, 'a');
      for (char& ch : in) ch = alphabet[rng() % alphabet.size()];
      const std::string unhinted = test::match_outcome(plain, in);
      // A left-recursive rule recurses until the depth limit stops the parse; the hints
      // may skip such a branch on its first byte and finish. Only parses that end on their
      // own are compared.
      if (last_parse_abort() != parse_abort::none) continue;
      ASSERT_EQ(test::match_outcome(hinted, in), unhinted) << text << "on '" << in << "'";
    }
    grammar_release(&plain);
    grammar_release(&hinted);
  }
}

TEST(random_grammars, broken_texts_compile_or_fail_cleanly) {
  std::mt19937 rng(9);
  const std::string alphabet = "r0 =;'\"`()[]{}<>~,|.!*/\n\t0x9a_\xc3";
  for (int round = 0; round < 3000; ++round) {
    std::string text(rng() % 60, ' ');
    for (char& ch : text) ch = alphabet[rng() % alphabet.size()];
    if (round % 2) text = "r0 = " + text;
    compiled_grammar g;
    testing::internal::CaptureStdout();
    if (grammar_build(&g, text.data(), text.size(), 2112, nullptr)) {
      const std::string in = "ab0x";
      parse_farthest = nullptr;
      u64 n = in.size();
      grammar_free_tree(grammar_match(g.start, in.data(), &n, &g.rules));
    }
    testing::internal::GetCapturedStdout();
    grammar_release(&g);
  }
}

}  // namespace
}  // namespace kk::grammar
