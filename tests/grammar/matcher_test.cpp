// The matcher on small grammars: tree shapes (splice and relabel, empty matches), each
// terminal kind, parse_farthest, bounds of the input, limits, and tree ownership.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "grammar/ebnf_compiler.h"
#include "grammar/matcher.h"
#include "grammar/sql_grammar.h"
#include "tree_text.h"

namespace kk::grammar {
namespace {

using test::shape;

struct grammar {
  std::string text;
  compiled_grammar g;
  explicit grammar(std::string t, const native_rule_map* natives = nullptr) : text(std::move(t)) {
    EXPECT_TRUE(grammar_build(&g, text.data(), text.size(), 2112, natives)) << text;
  }
  ~grammar() { grammar_release(&g); }
};

// One match of the start rule over `input`: the tree's shape and parse_farthest.
struct outcome {
  std::string tree;
  i64 farthest;  // offset, -1 when untouched
};
outcome run(const grammar& gr, const std::string& input, u64 limit = ~u64(0)) {
  parse_farthest = nullptr;
  u64 n = limit == ~u64(0) ? input.size() : limit;
  parse_node* t = grammar_match(gr.g.start, input.data(), &n, &gr.g.rules);
  outcome o{shape(t, input.data()), parse_farthest ? parse_farthest - input.data() : -1};
  grammar_free_tree(t);
  return o;
}

TEST(matcher, tree_shapes_splice_and_relabel) {
  struct row {
    const char* grammar;
    const char* input;
    const char* tree;
  };
  // Rule n gives id n + 2; matching the start rule gives its body's result without a node
  // for the start rule itself.
  const row rows[] = {
      // A reference wraps a result of another id ...
      {"r = s; s = 'a';", "a", "3@0+1[1@0+1]"},
      // ... and relabels a grouping (id 0) in place.
      {"r = s; s = 'a', 'b';", "ab", "3@0+2[1@0+1 1@1+1]"},
      // A rule that matched nothing is a rule node of length 0 without children.
      {"r = s; s = {'a'};", "b", "3@0+0"},
      {"r = s; s = ['a'];", "", "3@0+0"},
      // The start rule's own result: a grouping of id 0 survives at the top.
      {"r = 'a', 'b';", "ab", "0@0+2[1@0+1 1@1+1]"},
      {"r = 'a';", "a", "1@0+1"},
      // Empty results of groupings, options and repetitions are dropped from a sequence ...
      {"r = 'a', {'b'}, ['x'], ('y' | ''), 'c';", "ac", "0@0+2[1@0+1 1@1+1]"},
      // ... but references and literals stay, also when empty.
      {"r = 'a', e, '', 'c'; e = {'b'};", "ac", "0@0+2[1@0+1 3@1+0 1@1+0 1@1+1]"},
      // A grouping inside a sequence is spliced into it.
      {"r = 'a', ('b', 'c'), 'd';", "abcd", "0@0+4[1@0+1 1@1+1 1@2+1 1@3+1]"},
      {"r = 'a', {'b', 'c'}, 'd';", "abcbcd", "0@0+6[1@0+1 1@1+1 1@2+1 1@3+1 1@4+1 1@5+1]"},
      // Repetitions collect every pass, rule nodes included.
      {"r = {s}; s = 'a' | 'b';", "aba", "0@0+3[3@0+1[1@0+1] 3@1+1[1@1+1] 3@2+1[1@2+1]]"},
      {"r = <s>; s = 'a';", "a", "3@0+1[1@0+1]"},
      // Only parts: nothing collected gives an empty node.
      {"r = {'a'}, ['b'];", "", "0@0+0"},
      // An option that matched nothing.
      {"r = ['x'];", "y", "0@0+0"},
      // One part of a sequence is the sequence's result; a group passes its result on.
      {"r = ('a'), {'x'};", "a", "1@0+1"},
      {"r = s, {'x'}; s = ('a', 'b');", "ab", "3@0+2[1@0+1 1@1+1]"},
      // Ordered choice: the first branch that matches wins, even when shorter.
      {"r = 'a' | 'ab';", "ab", "1@0+1"},
      {"r = s | 'ab'; s = 'a', 'x';", "ab", "1@0+2"},
      // Repetitions never give back: the second 'a' cannot match.
      {"r = {'a'}, 'a';", "aaa", "null"},
      // Bounds.
      {"r = 4{h}4; h = '0'~'9';", "12345", "0@0+4[3@0+1[1@0+1] 3@1+1[1@1+1] 3@2+1[1@2+1] 3@3+1[1@3+1]]"},
      {"r = 4{h}4; h = '0'~'9';", "123", "null"},
      {"r = {'a'}2;", "aaaa", "0@0+2[1@0+1 1@1+1]"},
      {"r = 2{'a'};", "a", "null"},
      {"r = 2{'a'};", "aaa", "0@0+3[1@0+1 1@1+1 1@2+1]"},
      // A body that matches the empty text stops the loop instead of running forever.
      {"r = {['a']};", "b", "0@0+0"},
      {"r = {e}; e = ['a'];", "aab", "0@0+2[3@0+1[1@0+1] 3@1+1[1@1+1] 3@2+0]"},
  };
  for (const row& r : rows) {
    grammar g(r.grammar);
    EXPECT_EQ(run(g, r.input).tree, r.tree) << r.grammar << " on '" << r.input << "'";
  }
}

TEST(matcher, terminals) {
  struct row {
    const char* grammar;
    std::string input;
    const char* tree;
    i64 farthest;
  };
  const row rows[] = {
      {"r = 'abc';", "abc", "1@0+3", -1},
      {"r = 'abc';", "abd", "null", 0},
      {"r = 'a', 'b';", "a", "null", 1},  // a literal with no byte left fails there
      {"r = '';", "", "1@0+0", -1},
      {"r = \"x\";", "x", "1@0+1", -1},
      // Sort strings are searched by bisection over signed bytes.
      {"r = `!+-~`;", "~", "1@0+1", -1},
      {"r = `!+-~`;", "*", "null", 0},
      {"r = `\xe9" "a`;", "\xe9", "1@0+1", -1},  // 0xE9 sorts before 'a'
      {"r = `\xe9" "a`;", "a", "1@0+1", -1},
      {"r = ``;", "a", "null", 0},
      // Ranges: literal bounds compare one byte, integer bounds one code point.
      {"r = 'a'~'z';", "q", "1@0+1", -1},
      {"r = 'a'~'z';", "Q", "null", 0},
      {"r = 'a'~'z';", "", "null", -1},
      {"r = 0x5d~0x03134f;", "\xf0\xb1\x8d\x8f", "1@0+4", -1},  // U+3134F
      {"r = 0x5d~0x03134f;", "\xf0\xb1\x8d\x90", "null", 0},    // U+31350
      {"r = 0x5d~0x03134f;", "\xc3\xa9", "1@0+2", -1},
      {"r = 0x5d~0x03134f;", "\xc3", "null", 0},                 // cut off
      {"r = 0x5d~0x03134f;", "\xff", "null", 0},
      {"r = 48~57;", "7", "1@0+1", -1},
      {"r = 0x00~0x09;", std::string("\0", 1), "1@0+1", -1},
      {"r = 0x00~0x09;", "\xc0\x80", "1@0+2", -1},  // overlong forms decode as they stand
      // Except: one code point where the operand fails.
      {"r = {!\"*/\"}, \"*/\";", "a\xc3\xa9*/", "0@0+5[1@0+1 1@1+2 1@3+2]", 3},
      {"r = !'a';", "\xff", "1@0+1", 0},  // malformed: one byte
      {"r = !'a';", "a", "null", 0},
      {"r = 'x', !'a';", "x", "null", 1},
      // Any character: one code point; no byte left fails without raising parse_farthest.
      {"r = .;", "\xe2\x82\xac", "1@0+3", -1},
      {"r = .;", "\xe2\x82", "1@0+1", -1},
      {"r = 'x', .;", "x", "null", -1},
  };
  for (const row& r : rows) {
    grammar g(r.grammar);
    const outcome o = run(g, r.input);
    EXPECT_EQ(o.tree, r.tree) << r.grammar << " on '" << r.input << "'";
    EXPECT_EQ(o.farthest, r.farthest) << r.grammar << " on '" << r.input << "'";
  }
}

TEST(matcher, reads_only_the_remaining_bytes) {
  // The bytes after the limit would complete each match; none may be read.
  struct row {
    const char* grammar;
    const char* input;
    u64 limit;
  };
  const row rows[] = {
      {"r = 0x80~0x10ffff;", "\xe2\x82\xac", 2}, {"r = .;", "\xe2\x82\xac", 0},
      {"r = 'abc';", "abc", 2},                  {"r = {'a'};", "aaaa", 0},
      {"r = !'b';", "\xe2\x82\xac", 1},
  };
  for (const row& r : rows) {
    grammar g(r.grammar);
    const std::string in(r.input);
    parse_farthest = nullptr;
    u64 n = r.limit;
    parse_node* t = grammar_match(g.g.start, in.data(), &n, &g.g.rules);
    if (t) {
      EXPECT_LE(t->length, r.limit) << r.grammar;
    }
    grammar_free_tree(t);
  }
  grammar any("r = .;");
  EXPECT_EQ(run(any, "\xe2\x82\xac", 2).tree, "1@0+1");  // cut off: malformed, one byte
}

TEST(matcher, farthest_is_the_highest_failure) {
  grammar g("r = ('a', 'b', 'c') | 'a', 'x' | 'z';");
  const outcome o = run(g, "abq");
  EXPECT_EQ(o.tree, "null");
  EXPECT_EQ(o.farthest, 2);
  // Callers reset it: a match does not lower it.
  parse_farthest = nullptr;
  const std::string in = "abq";
  parse_farthest = in.data() + 3;
  u64 n = in.size();
  EXPECT_EQ(grammar_match(g.g.start, in.data(), &n, &g.g.rules), nullptr);
  EXPECT_EQ(parse_farthest, in.data() + 3);
}

TEST(matcher, a_kind_without_behaviour_is_reported) {
  grammar g("r = 'a';");
  grammar_node* odd = grammar_node_new(kind_terminal_string, nullptr, nullptr);
  u64 n = 1;
  testing::internal::CaptureStdout();
  EXPECT_EQ(grammar_match(odd, "a", &n, &g.g.rules), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "unkown type with type = 8\n");
  grammar_node_free(odd);
  // Hand-made terminals whose text is too short for their quotes fail instead of taking a
  // wrapped length.
  const char q[] = "'";
  for (u16 kind : {u16(kind_quote_string), u16(kind_sort_string)}) {
    grammar_node* bad = grammar_node_new(kind, q, q);
    parse_farthest = nullptr;
    EXPECT_EQ(grammar_match(bad, "a", &n, &g.g.rules), nullptr) << kind;
    grammar_node_free(bad);
  }
  // A reference kind without a slot matches nothing, silently.
  grammar_node* ref = grammar_node_new(1024 + 7, nullptr, nullptr);
  EXPECT_EQ(grammar_match(ref, "a", &n, &g.g.rules), nullptr);
  grammar_node_free(ref);
}

TEST(matcher, nesting_beyond_the_limit_fails_cleanly) {
  grammar g("r = p; p = '(', p, ')' | 'x';");
  for (u64 depth : {u64(10), u64(100000)}) {
    const std::string in = std::string(depth, '(') + "x" + std::string(depth, ')');
    const outcome o = run(g, in);
    if (depth == 10) {
      EXPECT_NE(o.tree, "null");
      EXPECT_EQ(last_parse_abort(), parse_abort::none);
    } else {
      EXPECT_EQ(o.tree, "null");
      EXPECT_EQ(last_parse_abort(), parse_abort::too_deep);
      // Where the limit was reached: the same offset every time, well inside the text.
      EXPECT_GT(o.farthest, 0);
      EXPECT_LT(o.farthest, 100000);
      EXPECT_EQ(run(g, in).farthest, o.farthest);
    }
  }
  // The next parse starts afresh.
  EXPECT_EQ(run(g, "(x)").tree, "3@0+3[1@0+1 3@1+1[1@1+1] 1@2+1]");
  EXPECT_EQ(last_parse_abort(), parse_abort::none);
}

TEST(matcher, step_limit_fails_the_parse) {
  grammar g("r = {'a'};");
  const u64 saved = match_step_limit;
  match_step_limit = match_steps + 10;
  const outcome o = run(g, std::string(100, 'a'));
  match_step_limit = saved;
  EXPECT_EQ(o.tree, "null");
  EXPECT_EQ(last_parse_abort(), parse_abort::step_limit);
  EXPECT_NE(run(g, std::string(100, 'a')).tree, "null");
}

// A recogniser that runs a second grammar: its result joins the outer tree.
const compiled_grammar* inner_grammar = nullptr;
parse_node* run_inner(const grammar_node*, const char* pos, u64* remaining, const rule_table*) {
  u64 n = *remaining;
  return grammar_match(inner_grammar->start, pos, &n, &inner_grammar->rules);
}

// A recogniser that claims more bytes than were left.
parse_node* overlong(const grammar_node* ref, const char* pos, u64* remaining, const rule_table*) {
  return parse_leaf_new(ref_node_id(ref->kind), pos, *remaining + 5);
}

TEST(matcher, a_recogniser_cannot_reach_past_the_input) {
  const native_rule nat{1, overlong, false, {}};
  const native_rule_map natives{&nat, 1};
  grammar g("r = 'a', n; n = 'x';", &natives);
  EXPECT_EQ(run(g, "ab").tree, "null");
}

TEST(matcher, native_recognisers_serve_their_rules) {
  grammar inner("d = <'0'~'9'>;");
  inner_grammar = &inner.g;
  native_rule nat{1, run_inner, true, {}};
  for (char c = '0'; c <= '9'; ++c) nat.first.add(static_cast<u8>(c));
  const native_rule_map natives{&nat, 1};
  grammar g("r = 'a', n, 'b'; n = 'the body is never matched';", &natives);
  // The inner result (a grouping of id 0) is returned unchanged by the native rule.
  EXPECT_EQ(run(g, "a12b").tree, "0@0+4[1@0+1 0@1+2[1@1+1 1@2+1] 1@3+1]");
  const outcome o = run(g, "aqb");
  EXPECT_EQ(o.tree, "null");
  EXPECT_EQ(o.farthest, 1);
  EXPECT_EQ(run(g, "athe body is never matchedb").tree, "null");
}

TEST(parse_tree, contains_clear_and_free) {
  grammar g("r = s, t; s = 'a'; t = u; u = 'b';");
  const std::string in = "ab";
  u64 n = in.size();
  parse_node* t = grammar_match(g.g.start, in.data(), &n, &g.g.rules);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(shape(t, in.data()), "0@0+2[3@0+1[1@0+1] 4@1+1[5@1+1[1@1+1]]]");
  const u16 five = 5, two = 2, zero = 0;
  EXPECT_TRUE(tree_contains_id(&five, t));
  EXPECT_FALSE(tree_contains_id(&two, t));
  EXPECT_FALSE(tree_contains_id(&zero, t));  // the root itself is not tested
  const parse_node* leaf = child_at(child_at(t, 0), 0);
  const u16 one = 1;
  EXPECT_FALSE(tree_contains_id(&one, leaf));

  // Freeing an inner node leaves the tree intact; the root frees everything.
  grammar_free_tree(child_at(t, 1));
  EXPECT_EQ(shape(t, in.data()), "0@0+2[3@0+1[1@0+1] 4@1+1[5@1+1[1@1+1]]]");
  std::vector<parse_node*> found;
  collect_nodes_if(t, [](u16 id) { return id == 3 || id == 5; }, found);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(shape(found[0], in.data()), "3@0+1[1@0+1]");
  EXPECT_EQ(shape(found[1], in.data()), "5@1+1[1@1+1]");

  parse_id_set wanted;
  EXPECT_TRUE(wanted.add(4));
  EXPECT_TRUE(wanted.add(1));
  EXPECT_FALSE(wanted.add(1));
  EXPECT_FALSE(wanted.add(parse_id_set::limit));
  adt::vector<parse_node*> hits;
  collect_nodes_by_id(t, &hits, &wanted);  // the leaf under 3, then 4 (not its own leaf)
  ASSERT_EQ(hits.size, 2u);
  EXPECT_EQ(shape(hits[0], in.data()), "1@0+1");
  EXPECT_EQ(shape(hits[1], in.data()), "4@1+1[5@1+1[1@1+1]]");

  parse_node_clear(t);
  EXPECT_EQ(t->id, 0);
  EXPECT_EQ(t->length, 0u);
  EXPECT_TRUE(t->start == nullptr && t->children == nullptr);
  grammar_free_tree(t);
  grammar_free_tree(nullptr);

  // A leaf made outside a parse is a tree of its own.
  parse_node* l = parse_leaf_new(9, in.data(), 1);
  EXPECT_EQ(shape(l, in.data()), "9@0+1");
  grammar_free_tree(l);
}

TEST(parse_tree, nodes_come_from_the_root_pool) {
  grammar g("r = {c}; c = 'a' | 'b';");
  const std::string in(200000, 'a');
  u64 n = in.size();
  parse_node* t = grammar_match(g.g.start, in.data(), &n, &g.g.rules);
  ASSERT_NE(t, nullptr);
  const parse_tree_stats st = tree_stats(t);
  EXPECT_EQ(st.nodes, 1 + 2 * in.size());
  // Failed branches leave nothing behind, and memory comes in large chunks: what the pool
  // holds stays close to what the nodes need.
  EXPECT_LE(st.bytes_used, 110 * in.size());
  EXPECT_LE(st.bytes_reserved, st.bytes_used + (u64(2) << 20));
  grammar_free_tree(t);
}

TEST(parse_tree, farthest_and_pool_are_per_thread) {
  grammar g("r = 'a', 'b';");
  const std::string in = "aq";
  parse_farthest = nullptr;
  const char* seen = reinterpret_cast<const char*>(1);
  std::thread th([&] {
    seen = parse_farthest;
    u64 n = in.size();
    grammar_match(g.g.start, in.data(), &n, &g.g.rules);
  });
  th.join();
  EXPECT_EQ(seen, nullptr);
  EXPECT_EQ(parse_farthest, nullptr);  // the other thread's failure is its own
}

}  // namespace
}  // namespace kk::grammar
