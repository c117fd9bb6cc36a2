#pragma once
// Seeded random grammar texts and the matcher's outcome on an input, for the tests that
// compare one grammar build or matcher with another.
#include <random>
#include <span>
#include <string>

#include "grammar/ebnf_compiler.h"
#include "grammar/matcher.h"
#include "tree_text.h"

namespace kk::grammar::test {

// One to three terms joined by ", " or " | ": atoms, and below depth 3 groups, options,
// repetitions and "<...>" around a smaller body.
inline std::string random_rule_body(std::mt19937& rng, int depth, std::span<const char* const> atoms) {
  std::string s;
  const int terms = 1 + int(rng() % 3);
  for (int t = 0; t < terms; ++t) {
    if (t) s += rng() % 3 ? ", " : " | ";
    const u32 pick = rng() % 10;
    if (depth < 3 && pick == 0)
      s += "(" + random_rule_body(rng, depth + 1, atoms) + ")";
    else if (depth < 3 && pick == 1)
      s += "[" + random_rule_body(rng, depth + 1, atoms) + "]";
    else if (depth < 3 && pick == 2)
      s += "{" + random_rule_body(rng, depth + 1, atoms) + "}";
    else if (depth < 3 && pick == 3)
      s += "<" + random_rule_body(rng, depth + 1, atoms) + ">";
    else
      s += atoms[rng() % atoms.size()];
  }
  return s;
}

// The tree grammar_match gives from g's start rule and where the parse got farthest:
// "44@0+5[...] far=3", "null far=none".
inline std::string match_outcome(const compiled_grammar& g, const std::string& in) {
  parse_farthest = nullptr;
  u64 n = in.size();
  parse_node* t = grammar_match(g.start, in.data(), &n, &g.rules);
  std::string s = shape(t, in.data()) + " far=" +
                  (parse_farthest ? std::to_string(parse_farthest - in.data()) : "none");
  grammar_free_tree(t);
  return s;
}

}  // namespace kk::grammar::test
