// Token classes of sample statements.
#include <gtest/gtest.h>

#include <string>

#include "editor/sql_highlight.h"
#include "tests/editor/lang_support.h"

namespace ruv::lang {
namespace {

class highlight_test : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::need_library(); }
};

// Every byte of `piece` (found after `from` in the text) has class `c`.
struct row {
  const char* text;
  const char* piece;
  token_class c;
  u64 after = 0;  // search for the piece from here
};

TEST_F(highlight_test, token_classes_of_sample_statements) {
  using tc = token_class;
  const char* s1 = "select sin(a) from t // x";
  const char* s2 = "insert into t (a, b) values (1, \"x\")";
  const char* s3 = "select a from t order by a asc";
  const char* s4 = "select a from t first 3";
  const char* s5 = "select 1; selec 2";
  const char* s6 = "select a\tfrom t /* c\n */";
  const char* s7 = "backup as sql path = \"b\"; restore from bin path = \"b\"";
  const char* s8 = "delete from t where a == 1; drop table t; create table t (a i32())";
  const char* s9 = "rows_of t; fields_of t; show tables; truncate table t";
  const row rows[] = {
      {s1, "select", tc::read_keyword},
      {s1, "sin", tc::function},
      {s1, "(", tc::default_keyword},
      {s1, "a", tc::field_name, 7},
      {s1, ")", tc::default_keyword},
      {s1, "from", tc::default_keyword},
      {s1, " ", tc::default_keyword, 13},
      {s1, "t", tc::table_name, 14},
      {s1, "// x", tc::comment},
      {s2, "insert", tc::write_keyword},
      {s2, "into", tc::default_keyword},
      {s2, "b", tc::field_name, 15},
      {s2, "1", tc::constant},
      {s2, "\"x\"", tc::constant},
      {s2, "values", tc::default_keyword},
      {s3, "order", tc::post_keyword},
      {s3, "by", tc::default_keyword},
      {s3, "asc", tc::default_keyword},
      {s4, "first", tc::post_keyword},
      {s5, "selec 2", tc::default_text},
      {s6, "\t", tc::default_text},
      {s6, "/* c\n */", tc::comment},
      {s7, "backup", tc::read_keyword},
      {s7, "restore", tc::write_keyword},
      {s8, "delete", tc::write_keyword},
      {s8, "drop", tc::write_keyword},
      {s8, "create", tc::write_keyword},
      {s8, "==", tc::default_keyword},
      {s9, "rows_of", tc::read_keyword},
      {s9, "fields_of", tc::read_keyword},
      {s9, "show", tc::read_keyword},
      {s9, "tables", tc::default_keyword},
      {s9, "truncate", tc::write_keyword},
  };
  for (const row& r : rows) {
    const std::string text = r.text;
    script_parse p = script_parse::of(text.data(), text.size(), 1);
    const u64 at = text.find(r.piece, r.after);
    ASSERT_NE(at, std::string::npos) << r.piece;
    for (u64 i = at; i < at + std::string(r.piece).size(); ++i)
      EXPECT_EQ(int(token_class_at(p, i)), int(r.c)) << r.text << " | " << r.piece << " at " << i;
  }
}

TEST_F(highlight_test, a_text_that_does_not_parse_is_all_default_text) {
  const std::string text = "selec a from t; select 1;";
  script_parse p = script_parse::of(text.data(), text.size(), 1);
  for (u64 i = 0; i <= text.size(); ++i)
    EXPECT_EQ(int(token_class_at(p, i)), int(token_class::default_text)) << i;
  script_parse none;
  EXPECT_EQ(int(token_class_at(none, 0)), int(token_class::default_text));
}

// The end given with a class holds: every character up to it has that class.
TEST_F(highlight_test, a_class_holds_up_to_the_end_given_with_it) {
  const std::string text =
      "select sin(a), \"x y\" from t // x\nselect a\tfrom t /* c\n */ order by a asc;\n"
      "insert into t (a, b) values (1, 2.5); selec 2";
  script_parse p = script_parse::of(text.data(), text.size(), 1);
  ASSERT_GT(p.parsed_length(), 0u);
  for (u64 i = 0; i <= text.size();) {
    u64 to = 0;
    const token_class c = token_class_at(p, i, &to);
    ASSERT_GT(to, i);
    for (u64 j = i; j < to && j <= text.size(); ++j)
      EXPECT_EQ(int(token_class_at(p, j)), int(c)) << "from " << i << " to " << to << " at " << j;
    i = to;
  }
  // A keyword is one token: asked inside it, the end is the keyword's end.
  u64 to = 0;
  EXPECT_EQ(int(token_class_at(p, 2, &to)), int(token_class::read_keyword));
  EXPECT_EQ(to, 6u);
}

}  // namespace
}  // namespace ruv::lang
