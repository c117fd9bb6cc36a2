// The EBNF compiler on small grammars: node kinds and spans per notation, comments, where
// compilation stops, rule numbering, identifier resolution and its error report.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "grammar/ebnf_compiler.h"
#include "grammar/ebnf_tokens.h"
#include "grammar/kind_names.h"
#include "tree_text.h"

namespace kk::grammar {
namespace {

using test::shape;
using test::text_of;

// Compiled rules of a text, freed at scope end.
struct parsed {
  std::string text;
  grammar_node* root = nullptr;
  explicit parsed(std::string t) : text(std::move(t)) {
    u64 n = text.size();
    root = grammar_parse_rules(text.data(), &n);
  }
  ~parsed() { grammar_node_free(root); }
  const grammar_node* rule(u64 i) const { return grammar_child(root, i); }
  const grammar_node* body(u64 i) const { return grammar_child(rule(i), 1); }
};

TEST(ebnf_compiler, each_notation_makes_its_kind) {
  struct row {
    const char* body;
    const char* shape;  // of the rule's body alternation
  };
  const row rows[] = {
      {"'a' | 'b'", "2(3(11) 3(11))"},
      {"\"a\"", "2(3(12))"},
      {"'a', \"b\", c", "2(3(11 12 19))"},
      {".", "2(3(14))"},
      {"`abc`", "2(3(10))"},
      {"'a'~'z'", "2(3(13(11 11)))"},
      {"\"a\"~\"z\"", "2(3(13(12 12)))"},
      {"0x00~0x09", "2(3(13(17 17)))"},
      {"48~57", "2(3(13(16 16)))"},
      {"!'a'", "2(3(9(11)))"},
      {"!!'a'", "2(3(9(9(11))))"},
      {"!0x0a~0x0a", "2(3(9(13(17 17))))"},
      {"('a' | b)", "2(3(5(2(3(11) 3(19)))))"},
      {"['a' | b]", "2(3(6(2(3(11) 3(19)))))"},
      {"{a}", "2(3(7(2(3(19)))))"},
      {"4{hex_digit}4", "2(3(7(16 2(3(19)) 16)))"},
      {"0x1{a}1048576", "2(3(7(17 2(3(19)) 16)))"},
      {"{a} 3", "2(3(7(2(3(19)) 16)))"},
      {"<digit>", "2(3(32(2(3(19)))))"},
      {"<'0'|'1'>", "2(3(32(2(3(11) 3(11)))))"},
      {"''", "2(3(11))"},
  };
  for (const row& r : rows) {
    parsed p(std::string("r = ") + r.body + ";");
    ASSERT_NE(p.root, nullptr) << r.body;
    EXPECT_EQ(shape(p.body(0)), r.shape) << r.body;
  }
}

TEST(ebnf_compiler, spans_point_into_the_text) {
  parsed p("\n  r = 'ab' , `xy`, 4 {d} 4, name  x ;  \n");
  ASSERT_NE(p.root, nullptr);
  EXPECT_EQ(p.root->start, p.text.data());
  EXPECT_EQ(p.root->end, p.text.data() + p.text.size());  // after the trailing skip
  EXPECT_EQ(text_of(p.rule(0)), "r = 'ab' , `xy`, 4 {d} 4, name  x ;");
  const grammar_node* cat = grammar_child(p.body(0), 0);
  EXPECT_EQ(text_of(grammar_child(cat, 0)), "'ab'");  // a literal spans its quotes
  EXPECT_EQ(text_of(grammar_child(cat, 1)), "`xy`");
  EXPECT_EQ(text_of(grammar_child(cat, 2)), "4 {d} 4");
  EXPECT_EQ(text_of(grammar_child(cat, 3)), "name  x");  // inner blanks kept, trailing not
  EXPECT_EQ(text_of(cat), "'ab' , `xy`, 4 {d} 4, name  x");
}

TEST(ebnf_compiler, comments_and_blanks_between_rules) {
  parsed p("(* a *) r = 'a'; // line\n/* b */ s =\t'b' (* c *) | 'c';\r\n");
  ASSERT_NE(p.root, nullptr);
  EXPECT_EQ(grammar_child_count(p.root), 2u);
  EXPECT_EQ(shape(p.body(1)), "2(3(11) 3(11))");
}

TEST(ebnf_compiler, compilation_stops_at_the_first_text_that_is_no_rule) {
  struct row {
    const char* text;
    u64 rules;  // 0: no root at all
  };
  const row rows[] = {
      {"r = 'a'; garbage! s = 'b';", 1},
      {"r = 'a'; two words = 'b';", 2},  // a name may hold blanks
      {"r = 'a' ~'z';", 0},           // a blank before the tilde: no range, no rule
      {"r = 'a'~ 'z';", 0},           // nor after it
      {"r = 'a';\ns = 'b';\n// last", 2},
      {"r = 'a';\ns = 'b'; // note without newline", 2},
      {"r = 'a';\ns = 'b' // note without newline", 1},
      {"r = 'a;", 0},                 // unterminated literal
      {"r = 'a'; s = (* open 'b';", 1},  // unterminated comment: no comment, no rule
      {"r = 'a'~", 0},                // nothing after the tilde
      {"r = (a;", 0},
      {"r = a | ;", 0},
      {"r = a, ;", 0},
      {"", 0},
      {"   ", 0},
  };
  for (const row& r : rows) {
    parsed p(r.text);
    if (r.rules == 0) {
      EXPECT_EQ(p.root, nullptr) << r.text;
    } else {
      ASSERT_NE(p.root, nullptr) << r.text;
      EXPECT_EQ(grammar_child_count(p.root), r.rules) << r.text;
    }
  }
}

TEST(ebnf_compiler, literals_have_no_escapes) {
  parsed p(R"(r = '\', "\", '"', "'";)");
  ASSERT_NE(p.root, nullptr);
  const grammar_node* cat = grammar_child(p.body(0), 0);
  EXPECT_EQ(text_of(grammar_child(cat, 0)), R"('\')");
  EXPECT_EQ(text_of(grammar_child(cat, 1)), R"("\")");
  EXPECT_EQ(text_of(grammar_child(cat, 2)), R"('"')");
}

TEST(ebnf_compiler, identifiers_may_start_with_a_digit_and_hold_blanks) {
  parsed p("r = 8bit, a b, 5;");
  ASSERT_NE(p.root, nullptr);
  const grammar_node* cat = grammar_child(p.body(0), 0);
  EXPECT_EQ(shape(cat), "3(19 19 19)");
  EXPECT_EQ(text_of(grammar_child(cat, 0)), "8bit");
  EXPECT_EQ(text_of(grammar_child(cat, 1)), "a b");
  EXPECT_EQ(text_of(grammar_child(cat, 2)), "5");
}

TEST(ebnf_compiler, deep_nesting_fails_instead_of_overflowing) {
  const std::string deep = "r = " + std::string(100000, '(') + "'a'" + std::string(100000, ')') + ";";
  parsed p(deep);
  EXPECT_EQ(p.root, nullptr);
  const std::string fine = "r = " + std::string(50, '(') + "'a'" + std::string(50, ')') + ";";
  parsed q(fine);
  EXPECT_NE(q.root, nullptr);
}

TEST(ebnf_compiler, sub_parsers_read_only_their_own_notation) {
  const std::string t = "  (* c *) // x\n rest";
  u64 n = t.size();
  grammar_node* s = ebnf_skip(t.data(), &n);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->kind, kind_unuse_string);
  EXPECT_EQ(std::string(s->end), "rest");
  EXPECT_EQ(shape(s), "30(27 27 28 27 28 27)");
  grammar_node_free(s);

  const std::string none = "rest";
  n = none.size();
  EXPECT_EQ(ebnf_skip(none.data(), &n), nullptr);

  const std::string hex = "0x1fz";
  n = hex.size();
  grammar_node* h = ebnf_parse_integer(hex.data(), &n);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->kind, kind_integer_hex);
  EXPECT_EQ(text_of(h), "0x1f");
  grammar_node_free(h);

  const std::string zero_x = "0xg";  // no hex digit: the decimal "0"
  n = zero_x.size();
  h = ebnf_parse_integer(zero_x.data(), &n);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->kind, kind_integer_dec);
  EXPECT_EQ(text_of(h), "0");
  grammar_node_free(h);
}

// --- building: numbering and resolution -------------------------------------------------

struct built {
  std::string text;
  compiled_grammar g;
  bool ok;
  std::string out;  // what the build printed
  built(std::string t, u64 size = 2112, const native_rule_map* natives = nullptr)
      : text(std::move(t)) {
    testing::internal::CaptureStdout();
    ok = grammar_build(&g, text.data(), text.size(), size, natives);
    out = testing::internal::GetCapturedStdout();
  }
  ~built() { grammar_release(&g); }
};

TEST(grammar_build, identifiers_become_reference_kinds) {
  built b("top = item, {item};\nitem = 'x' | top;\n");
  ASSERT_TRUE(b.ok);
  EXPECT_EQ(b.g.rule_count, 2u);
  EXPECT_EQ(b.g.start, grammar_child(b.g.syntax, 0));
  EXPECT_EQ(shape(b.g.start), "1(1024 2(3(1025 7(2(3(1025))))))");
  EXPECT_EQ(shape(grammar_child(b.g.syntax, 1)), "1(1025 2(3(11) 3(1024)))");
  EXPECT_EQ(b.g.rules.slots[1024].rule, grammar_child(b.g.syntax, 0));
  EXPECT_EQ(b.g.rules.slots[1025].rule, grammar_child(b.g.syntax, 1));
  EXPECT_EQ(b.out, "");
  EXPECT_EQ(std::string(grammar_rule_name(&b.g, 1).data, grammar_rule_name(&b.g, 1).size), "item");
}

TEST(grammar_build, a_later_rule_of_the_same_name_wins) {
  built b("a = b; b = 'x'; b = 'y';");
  ASSERT_TRUE(b.ok);
  EXPECT_EQ(shape(b.g.start), "1(1024 2(3(1026)))");
  EXPECT_EQ(b.g.rules.slots[1026].rule, grammar_child(b.g.syntax, 2));
  EXPECT_EQ(b.g.rules.slots[1025].rule, nullptr);
  // The first b's own name resolves to the later rule as well.
  EXPECT_EQ(grammar_child(grammar_child(b.g.syntax, 1), 0)->kind, 1026);
}

TEST(grammar_build, unknown_identifiers_are_reported_and_fail_the_build) {
  struct row {
    const char* text;
    const char* printed;
  };
  const row rows[] = {
      {"a = c;", "unkown identifier c\n"},
      {"a = b c; b = 'x'; c = 'y';", "unkown identifier b c\n"},  // one name with a blank
      {"a = 'x'; garbage! b = 'y'; c = b;", ""},  // c is never compiled
      {"a = x; b = y;", "unkown identifier x\n"},                 // the first one stops it
  };
  for (const row& r : rows) {
    built b(r.text);
    EXPECT_EQ(b.out, r.printed) << r.text;
    if (*r.printed) {
      EXPECT_FALSE(b.ok) << r.text;
      EXPECT_EQ(b.g.syntax, nullptr);
      EXPECT_EQ(b.g.rules.slots, nullptr);
    }
  }
  built none("no rules here");
  EXPECT_FALSE(none.ok);
}

TEST(grammar_build, native_rules_get_their_own_kind_and_slot) {
  static const native_rule entries[] = {{1, nullptr, false, {}}};
  // A recogniser pointer of any value: resolution only records it.
  native_rule e = entries[0];
  e.fn = [](const grammar_node*, const char*, u64*, const rule_table*) -> parse_node* { return nullptr; };
  const native_rule_map natives{&e, 1};
  built b("a = n, 'x'; n = 'never matched';", 2112, &natives);
  ASSERT_TRUE(b.ok);
  EXPECT_EQ(shape(b.g.start), "1(1024 2(3(2049 11)))");
  EXPECT_EQ(b.g.rules.slots[2049].native, e.fn);
  EXPECT_EQ(b.g.rules.slots[1025].rule, nullptr);
}

TEST(grammar_build, kinds_beyond_the_table_get_no_slot) {
  built b("a = b; b = 'x';", 1025);
  ASSERT_TRUE(b.ok);
  EXPECT_EQ(b.g.rules.size, 1025u);
  EXPECT_EQ(shape(b.g.start), "1(1024 2(3(1025)))");
  EXPECT_NE(b.g.rules.slots[1024].rule, nullptr);
}

// --- start-up products -------------------------------------------------------------------

TEST(ebnf_startup_tables, token_strings_and_kind_names) {
  const adt::string::string* tok = ebnf_token_strings();
  const char* expected[] = {"'", "'", "\"", "\"", "`", "`", "(", ")", "{", "}", "<", ">", "[", "]",
                            "~", ",", "=", "|", ".", "!", "(*", "*)", "//", "\n", "/*", "*/", ";"};
  for (u64 i = 0; i < ebnf_token_count; ++i)
    EXPECT_EQ(std::string(tok[i].data, tok[i].size), expected[i]) << i;

  const kind_name_table& names = ebnf_kind_names();
  EXPECT_EQ(names.count, 32u);
  adt::text_view v = kind_name_of(&names, kind_except_terminal_string);
  EXPECT_EQ(std::string(v.data, v.size), "except_terminal_string");
  v = kind_name_of(&names, kind_repeat_min1);
  EXPECT_EQ(std::string(v.data, v.size), "repeat >= 1");
  EXPECT_EQ(kind_name_of(&names, 31).size, 0u);
  EXPECT_EQ(kind_of_name(&names, adt::cstr_view("unuse_string")), kind_unuse_string);

  kind_name_table t;
  EXPECT_TRUE(kind_name_insert(&t, {7, "seven", 5}));
  EXPECT_FALSE(kind_name_insert(&t, {7, "seven", 5}));  // both present
  EXPECT_TRUE(kind_name_insert(&t, {8, "seven", 5}));   // a new kind for a known name
  EXPECT_EQ(t.count, 2u);
}

}  // namespace
}  // namespace kk::grammar
