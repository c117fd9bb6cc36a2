// Inputs found by fuzzing the grammar engine, kept as ordinary tests.
//
// Unterminated block comments: a rule that failed at a position is not tried there again in
// the same parse. Before, each "/*" without its "*/" was retried by every comment around
// it, so a few hundred bytes of them took minutes. The budget is in matcher calls, not time.
#include <gtest/gtest.h>

#include <string>

#include "grammar/matcher.h"
#include "grammar/sql_grammar.h"

namespace kk::grammar {
namespace {

std::string repeat(const std::string& piece, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += piece;
  return s;
}

class unterminated_comments : public testing::Test {
 protected:
  static compiled_grammar g;
  static void SetUpTestSuite() { ASSERT_TRUE(sql::grammar_compile(&g)); }
  static void TearDownTestSuite() { grammar_release(&g); }
};
compiled_grammar unterminated_comments::g;

TEST_F(unterminated_comments, fail_within_a_call_budget) {
  struct row {
    const char* what;
    std::string text;
    bool complete;
  };
  const row rows[] = {
      {"open comments", "select a " + repeat("/* x ", 60), false},
      {"open comments after line comments", "select a " + repeat("# c\n/* ", 60), false},
      {"open comments inside a where clause", "select a from t where a == " + repeat("/* (", 60), false},
      // One terminator closes only the innermost: the outer ones stay open.
      {"nested, closed once", "select a " + repeat("/* ", 60) + "*/ from t", false},
      // Closed comments still parse as before.
      {"nested, closed", "select a " + repeat("/* ", 30) + repeat("*/ ", 30) + "from t", true},
      {"found by the fuzzer",
       "# c\nselect a /* x /*sted a /* x /*steda /* x /*sted a /* x /*sted \x12/*3om t // ct a "
       "/\xd6\xdf\x87\xe8/*sted select a /* c\nselect a /* x /*d \x12/*1omed select a /* c \x12/*3om t "
       "// ct a /\xd6\xdf\x87\xe8/*sted select a /* c\nselect a /* x /*d \x12/*1omed select a /* c\n t // end",
       false},
  };
  const u64 saved = match_step_limit;
  for (const row& r : rows) {
    match_steps = 0;
    match_step_limit = 2000000;
    text_parse p = parse_text(&g, r.text.data(), r.text.size());
    const parse_abort why = last_parse_abort();
    match_step_limit = saved;
    EXPECT_EQ(why, parse_abort::none) << r.what << ": " << match_steps << " calls";
    EXPECT_EQ(p.complete, r.complete) << r.what;
    grammar_free_tree(p.tree);
  }
}

// The memo of failures keeps the error offset: where the parse stopped is the same with
// one open comment as with many.
TEST_F(unterminated_comments, error_offset_unchanged) {
  const std::string one = "select a from t where b == /* never closed";
  const std::string many = "select a from t where b == /* /* /* never closed";
  text_parse a = parse_text(&g, one.data(), one.size());
  text_parse b = parse_text(&g, many.data(), many.size());
  EXPECT_FALSE(a.complete);
  EXPECT_FALSE(b.complete);
  EXPECT_EQ(a.error, one.size());
  EXPECT_EQ(b.error, many.size());
  grammar_free_tree(a.tree);
  grammar_free_tree(b.tree);
}

}  // namespace
}  // namespace kk::grammar
