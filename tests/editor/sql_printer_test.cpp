// The statement printer and the selection formatter.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/sql_parse.h"
#include "editor/sql_printer.h"
#include "tests/editor/lang_support.h"

namespace ruv::lang {
namespace {

std::string str(const kk::adt::string::string& s) { return std::string(s.data ? s.data : "", s.size); }

class printer_test : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::need_library(); }
};

// The first statement of `text` printed with the flags.
std::string print_first(const std::string& text, bool drop_comments, bool single_line) {
  script_parse p = script_parse::of(text.data(), text.size(), 0);
  EXPECT_GE(p.tree_count(), 1u) << text;
  if (p.tree_count() == 0) return "<no parse>";
  return str(sql_format_tree(p.trees()[0], drop_comments, single_line));
}

TEST_F(printer_test, gaps_shrink_and_tokens_stay_as_typed) {
  struct row {
    const char* text;
    bool drop_comments, single_line;
    const char* printed;
  };
  const row rows[] = {
      {"select  a,b   from t;", false, false, "select a,b from t;"},
      {"select a from\nt", false, false, "select a from\nt"},
      {"select a from\nt", false, true, "select a from t"},
      {"select a from \n\t \n t", false, false, "select a from\nt"},
      {"select a /* note */ from t", true, false, "select a from t"},
      {"select a /* note */ from t", false, false, "select a /* note */ from t"},
      {"select a // note\nfrom t", true, true, "select a from t"},
      {"select a // note\nfrom t", false, true, "select a // note\nfrom t"},
      {"// leading comment\nselect 1", true, false, " select 1"},
      {"\n\nselect 1;\n\n", false, false, "\nselect 1;\n"},
      {"select \"a  b\",'x' from t", false, true, "select \"a  b\",'x' from t"},
  };
  for (const row& r : rows)
    EXPECT_EQ(print_first(r.text, r.drop_comments, r.single_line), r.printed)
        << r.text << " drop=" << r.drop_comments << " single=" << r.single_line;
  EXPECT_EQ(str(sql_format_tree(nullptr, true, true)), "");
}

TEST_F(printer_test, formatting_a_selection_prints_its_statements_one_per_line) {
  const std::string three = "select 1; select 2; select 3;";
  auto f = format_sql_text(three.data(), three.size());
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(str(*f), "select 1; \nselect 2; \nselect 3;");

  const std::string bad = "selec 1";
  EXPECT_FALSE(format_sql_text(bad.data(), bad.size()).has_value());
  const std::string half = "select 1; selec 2";
  EXPECT_FALSE(format_sql_text(half.data(), half.size()).has_value()) << "all or nothing";
  auto empty = format_sql_text("", 0);
  ASSERT_TRUE(empty.has_value());
  EXPECT_EQ(empty->size, 0u);
}

TEST(printer, a_leaf_outside_the_printed_ids_and_uncovered_bytes_are_printed_too) {
  // A hand-built tree over "a + b;": the operator is a leaf of an id the printer does not
  // print by id, and ";" is covered by no child at all.
  const char* text = "a + b;";
  using kk::grammar::parse_node;
  parse_node a{node_id::field_name, text, 1, nullptr};
  parse_node g1{node_id::igs, text + 1, 1, nullptr};
  parse_node plus{30, text + 2, 1, nullptr};
  parse_node g2{node_id::igs, text + 3, 1, nullptr};
  parse_node b{node_id::field_name, text + 4, 1, nullptr};
  kk::adt::vector<parse_node*> kids;
  for (parse_node* n : {&a, &g1, &plus, &g2, &b}) kids.push_back(n);
  parse_node root{44, text, 6, &kids};
  EXPECT_EQ(str(sql_format_tree(&root, true, true)), "a + b;");
}

// Leaves outside gaps, in order: the tokens of a statement.
void tokens_of(const kk::grammar::parse_node* n, std::vector<std::string>& out) {
  if (n->id == node_id::igs) return;
  if (kk::grammar::child_count(n) == 0) {
    if (n->length) out.emplace_back(n->start, n->length);
    return;
  }
  for (u64 i = 0; i < kk::grammar::child_count(n); ++i) tokens_of(kk::grammar::child_at(n, i), out);
}

// Node ids and child counts in pre-order, a gap counted as one node whatever it holds.
void shape_of(const kk::grammar::parse_node* n, std::string& out) {
  out += std::to_string(n->id);
  if (n->id == node_id::igs) {
    out += n->length ? "g " : "e ";
    return;
  }
  out += "(" + std::to_string(kk::grammar::child_count(n)) + " ";
  for (u64 i = 0; i < kk::grammar::child_count(n); ++i) shape_of(kk::grammar::child_at(n, i), out);
  out += ")";
}

TEST_F(printer_test, printed_statements_keep_their_tokens_and_parse_to_the_same_shape) {
  // Statements written with one blank between tokens; each blank is replaced by a random gap.
  const char* const corpus[] = {
      "select a , b from t where a == 1 && b != \"x\"",
      "select * from t order by a , b desc",
      "select a from t first 10",
      "select sin ( a ) as s from t where a > 1.5",
      "select count ( a ) from t group count ( a ) by b",
      "select 'c' , 0x1f , -3 , 2.5e3 , true from t",
      "select a from t all_each on distinct",
      "select a from t recompute a = a * 2",
      "select a from t project except a , b",
      "select a from t rename a b",
      "select a from t union ( select a from u )",
      "select a from t export as csv path = \"o.csv\"",
      "select [col-1] from [tab-2] where [col-1] in ( 1 , 2 )",
      "insert into t ( a , b ) values ( 1 , \"x\" ) , ( 2 , \"y\" )",
      "delete from t where a in ( 1 , 2 , 3 ) ;",
      "update t set a = a + 1 where b == 2",
      "create table t ( a i32 ( ) , b string ( true ) )",
      "alter table t add c double ( )",
      "drop table t ;",
      "truncate table t",
      "rows_of t",
      "cols_of t",
      "fields_of t",
      "show tables",
      "save t as bin path = \"f\"",
      "load t from sql path = \"f\"",
      "backup as sql path = \"b\"",
      "restore from bin path = \"b\"",
      "import t from csv split by \",\" path = \"x.csv\"",
      "exec \"script.sql\"",
      "atom_exec insert into t ( a ) values ( 1 ) ; delete from t where a == 1 ; commit",
  };
  const char* const gaps[] = {" ", "  ", "\n", "\t \n  ", " /* c */ ", " // c\n", " # x\n",
                              "\n/* a\n b */\n", "\x0b\x0c"};
  std::mt19937 rng(20261210);
  for (const char* stmt : corpus) {
    for (int variant = 0; variant < 8; ++variant) {
      std::string src;
      for (const char* c = stmt; *c; ++c) {
        if (*c == ' ' && variant > 0)
          src += gaps[rng() % (sizeof gaps / sizeof gaps[0])];
        else
          src += *c;
      }
      if (variant > 0 && rng() % 2) src = gaps[rng() % (sizeof gaps / sizeof gaps[0])] + src;
      script_parse p = script_parse::of(src.data(), src.size(), 0);
      ASSERT_TRUE(p.complete() && p.tree_count() == 1) << "corpus statement does not parse:\n" << src;
      std::vector<std::string> tokens;
      tokens_of(p.trees()[0], tokens);
      std::string shape;
      shape_of(p.trees()[0], shape);
      for (int flags = 0; flags < 4; ++flags) {
        const bool drop = flags & 1, single = flags & 2;
        const std::string printed = str(sql_format_tree(p.trees()[0], drop, single));
        script_parse q = script_parse::of(printed.data(), printed.size(), 0);
        ASSERT_TRUE(q.complete() && q.tree_count() == 1)
            << "printed text does not parse:\n" << src << "\n->\n" << printed;
        std::vector<std::string> printed_tokens;
        tokens_of(q.trees()[0], printed_tokens);
        EXPECT_EQ(printed_tokens, tokens) << src << "\n->\n" << printed;
        std::string printed_shape;
        shape_of(q.trees()[0], printed_shape);
        EXPECT_EQ(printed_shape, shape) << src << "\n->\n" << printed;
        if (single && drop) {
          EXPECT_EQ(printed.find('\n'), std::string::npos) << printed;
        }
      }
    }
  }
}

}  // namespace
}  // namespace ruv::lang
