// The SQL dialect: rule numbering against the text, a corpus of statements, the native
// recognisers, the two mends of the grammar and the behaviours kept on purpose.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

#include "grammar/matcher.h"
#include "grammar/sql_function_names.h"
#include "grammar/sql_grammar.h"
#include "grammar/sql_grammar_text.h"
#include "grammar/sql_natives.h"
#include "grammar/sql_rules.h"
#include "tree_text.h"

namespace kk::grammar {
namespace {

using namespace sql;

class sql_grammar : public testing::Test {
 protected:
  static compiled_grammar g;
  static void SetUpTestSuite() { ASSERT_TRUE(grammar_compile(&g)); }
  static void TearDownTestSuite() { grammar_release(&g); }

  struct parsed {
    std::string text;
    text_parse r;
    parsed(std::string t) : text(std::move(t)) { r = parse_text(&g, text.data(), text.size()); }
    ~parsed() { grammar_free_tree(r.tree); }
  };
};
compiled_grammar sql_grammar::g;

// Does a chain of direct children with these ids start at the root?
bool has_path(const parse_node* n, std::initializer_list<u16> ids) {
  auto it = ids.begin();
  if (!n || n->id != *it) return false;
  for (++it; it != ids.end(); ++it) {
    const parse_node* next = nullptr;
    for (u64 i = 0; i < child_count(n) && !next; ++i)
      if (child_at(n, i)->id == *it) next = child_at(n, i);
    if (!next) return false;
    n = next;
  }
  return true;
}

bool contains(const parse_node* n, u16 id) { return tree_contains_id(&id, n); }

TEST_F(sql_grammar, rule_numbers_follow_the_text) {
  ASSERT_EQ(g.rule_count, u64(rule_count));
  for (u64 n = 0; n < rule_count; ++n) {
    const adt::text_view name = grammar_rule_name(&g, n);
    EXPECT_EQ(std::string(name.data, name.size), rule_names[n]) << "rule " << n;
  }
  EXPECT_EQ(g.rules.size, 3072u);
  // The text opens with a newline and one comment line.
  EXPECT_EQ(std::string(grammar_text(), 4), "\n// ");
  EXPECT_EQ(grammar_string().size, grammar_text_size());
  // Native rules are served by their recognisers.
  for (u16 r : {rule_uint_bin, rule_uint_hex, rule_uint_dec, rule_raw_string, rule_fn_name})
    EXPECT_NE(g.rules.slots[native_ref_base + r].native, nullptr) << r;
}

struct corpus_row {
  const char* text;
  bool complete;
  u64 end;    // where the tree ends (0 without a tree)
  u64 error;  // parse_farthest offset of an incomplete parse
};

// Every statement form and clause: whether it parses, where the match ends, and where an
// incomplete one failed.
const corpus_row corpus[] = {
    // select: expressions, into, from/where, every post-operation, join, union, export
    {"select a, b as c, sum(x), first_k(y, 2) from t where a == 1;", true, 60, 0},
    {"select * into t2 from t where x >= 1 && y != 2 || z < 3;", true, 56, 0},
    {"select count(*) from t", false, 12, 13},  // '*' is no argument: "count" is a field
    {"select a from t order by a, b desc", true, 34, 0},
    {"select a from t order by a rand", true, 31, 0},
    {"select a from t all_each on distinct", true, 36, 0},
    {"select a from t adj on a + 1 inner on b first 10 last nth 3 range 1 2", true, 69, 0},
    {"select a from t not exists (select b from u)", true, 44, 0},
    {"select a from t group sum(b) by a, c", true, 36, 0},
    {"select a from t project except a, b recompute a += 1, b = b * 2 rename a b", true, 74, 0},
    {"select a from t join (select b from u on b == a) union (select c from v)", true, 72, 0},
    {"select a from t export as csv split by \",\" path += \"f.csv\"", true, 58, 0},
    {"select a from t export as csvs as raw", true, 37, 0},
    {"select a from t garbage", true, 16, 16},  // stops before the stray word
    // where forms
    {"select a from t where 1 < a <= 5", true, 32, 0},
    {"select a from t where (1, 2) any < a < all (3, 4)", true, 49, 0},
    {"select a from t where a > any (select b from u)", true, 47, 0},
    {"select a from t where a in (1, 2, 3)", true, 36, 0},
    {"select a from t where a not in (select b from u)", true, 48, 0},
    {"select a from t where a max 3", true, 29, 0},
    {"select a from t where a min", true, 27, 0},
    {"select a from t where first 5", true, 29, 0},
    {"select a from t where last", true, 26, 0},
    {"select a from t where nth 4", true, 27, 0},
    {"select a from t where range 1 9", true, 31, 0},
    {"select a from t where (a == 1 || (b == 2 && c != 3))", true, 52, 0},
    {"select a from t where a = 1", true, 16, 24},
    // expressions and constants
    {"select -a, !b, ~c, +d, a * b / c % d, a << 2 >> 1, a & b ^ c | d, a && b || c from t", true, 84, 0},
    {"select (a + 1) * 2, a >= b, a == b, a != b from t", true, 49, 0},
    {"select 0b101, 0x1F, 0xabu8, 12u4, -3, +7 from t", true, 47, 0},
    {"select 1.5, 1., 2e10, 3.5E-2f, 4.0d, -1.5e+3 from t", true, 51, 0},
    {"select 0X1F from t", false, 8, 8},  // upper-case X: "0", then a stray "X1F"
    {"select \"a\\n\\x41\\u0041\\U0001F600\" \"b\"@\"(raw)\" from t", true, 51, 0},
    {"select \"a\" @\"(raw)\" from t", true, 11, 11},  // no blanks before a raw part
    {"select @\"xy(a)\"b)xy\" from t", true, 27, 0},
    {"select \"\\u12345\" from t", true, 23, 0},  // four digits, then a plain '5'
    {"select \"\\q\" from t", false, 0, 9},  // no such escape: no expression at all
    {"select true, false from t", true, 25, 0},
    {"select [x y], [t\\n] from [my table]", true, 35, 0},
    {"select [a\\]b] from t", false, 0, 10},  // ']' cannot be escaped in a name
    // insert, delete, update, atom_exec
    {"insert into t (a, b) values (1, 'x'), (2, \"y\")", true, 46, 0},
    {"insert into t (a) values (1) (2)", true, 32, 0},
    {"insert into t (a) select b from u", true, 33, 0},
    {"delete from t where a == 1", true, 26, 0},
    {"delete from t", true, 13, 0},
    {"update t set a = 1, b += 2, c >>= 1 where d == 3", true, 48, 0},
    {"update t set a = 1", true, 18, 0},
    {"atom_exec insert into t (a) values (1); update t set a = 2; commit", true, 66, 0},
    // catalogue statements
    {"rows_of t", true, 9, 0},
    {"cols_of [my table]", true, 18, 0},
    {"fields_of t;", true, 12, 0},
    {"show tables;", true, 12, 0},
    // dml
    {"create table t (a i32(), b u08(true), c string(true, false), d datetime(), e date(), f time(), g float(), h double())", true, 117, 0},
    {"alter table t add x i64()", true, 25, 0},
    {"alter table t modify x u16()", true, 28, 0},
    {"alter table t rename x y", true, 24, 0},
    {"alter table t drop x", true, 20, 0},
    {"drop table t", true, 12, 0},
    {"save t as bin path = \"f\"", true, 24, 0},
    {"save t path += \"f\"", true, 18, 0},
    {"save t as raw", true, 13, 0},
    {"load t from sql path = \"f\"", true, 26, 0},
    {"load t from raw \"data\"", true, 22, 0},
    {"backup as sql path = \"b\"", true, 24, 0},
    {"backup as bin as raw", true, 20, 0},
    {"restore from bin path = \"b\"", true, 27, 0},
    {"restore from sql from raw \"x\"", true, 29, 0},
    {"exec \"script.sql\"", true, 17, 0},
    {"import t from csv split by \";\" path = \"a.csv\"", true, 45, 0},
    {"import t from csvs from raw \"1,2\"", true, 33, 0},
    {"truncate table t", true, 16, 0},
    // dcl
    {"grant select on t to bob", true, 24, 0},
    {"deny execute on [a b] to \"x\";", true, 29, 0},
    {"grant connect on t tobob", true, 24, 0},
    // blanks and comments around and inside
    {"# c\nselect a /* x /* nested */ y */ from t // end", true, 49, 0},
    {"  select a from t ;  \n", true, 22, 0},
    {"SELECT a FROM t", false, 0, 0},  // keywords are lower case
    {"", false, 0, 0},
    {" \n ", false, 0, 3},
};

TEST_F(sql_grammar, corpus) {
  for (const corpus_row& row : corpus) {
    parsed p(row.text);
    EXPECT_EQ(p.r.complete, row.complete && std::strlen(row.text) == row.end) << row.text;
    EXPECT_EQ(p.r.end, row.end) << row.text;
    if (!p.r.complete) {
      EXPECT_EQ(p.r.error, row.error) << row.text;
    }
    if (p.r.tree) {
      EXPECT_EQ(p.r.tree->id, id_sql) << row.text;
    }
  }
}

TEST_F(sql_grammar, node_ids_along_paths) {
  parsed sel("select a from t where x == 1;");
  ASSERT_TRUE(sel.r.complete);
  const parse_node* t = sel.r.tree;
  EXPECT_TRUE(has_path(t, {id_sql, id_ddl, id_select, id_select_one, id_exprs, id_expr, id_lgc_or_expr,
                           id_lgc_and_expr, id_bit_or_expr, id_bit_xor_expr, id_bit_and_expr,
                           id_eqt_expr, id_rlt_expr, id_shift_expr, id_ative_expr, id_mtive_expr,
                           id_unary_expr, id_pri_expr, id_field, id_field_name, id_bare_string}));
  EXPECT_TRUE(has_path(t, {id_sql, id_ddl, id_select, id_select_one, id_table_name, id_bare_string}));
  EXPECT_TRUE(has_path(t, {id_sql, id_ddl, id_select, id_select_one, id_where, id_where_cond,
                           id_where_or_expr, id_where_and_expr, id_where_pri_expr, id_w_rel_expr,
                           id_constant_expr, id_shift_expr}));
  EXPECT_TRUE(contains(t, id_uint_dec));
  EXPECT_EQ(test::ids(child_at(t, 0)), "78");  // igs before the statement: empty

  parsed create("create table t (d datetime())");
  ASSERT_TRUE(create.r.complete);
  EXPECT_TRUE(contains(create.r.tree, id_dt_datetime));  // not date, then a stray time
  EXPECT_FALSE(contains(create.r.tree, id_dt_date));
  EXPECT_TRUE(has_path(create.r.tree, {id_sql, id_dml, id_create, id_field_opt, id_data_type_opt, id_dt_datetime}));

  parsed grant("grant select on t to bob");
  ASSERT_TRUE(grant.r.complete);
  EXPECT_TRUE(has_path(grant.r.tree, {id_sql, id_dcl, id_user_name, id_bare_string}));

  parsed upd("update t set a = 1");
  ASSERT_TRUE(upd.r.complete);
  // The absent where clause is a node of length 0 where it would start.
  std::vector<parse_node*> where;
  collect_nodes_if(upd.r.tree, [](u16 id) { return id == id_where; }, where);
  ASSERT_EQ(where.size(), 1u);
  EXPECT_EQ(test::shape(where[0], upd.text.data()), "68@18+0");
}

TEST_F(sql_grammar, scripts_split_into_statements) {
  const std::string script =
      "# a script\n"
      "select a from t where a == 1;\n"
      "/* block */ update t set a = 2 where a == 1; // trailing\n"
      "insert into t (a) values (3);\n"
      "show tables\n";
  std::vector<u64> ends;
  std::vector<u16> kinds;
  const char* p = script.data();
  const char* e = p + script.size();
  while (p < e) {
    parse_farthest = nullptr;
    u64 n = u64(e - p);
    parse_node* t = grammar_match(g.start, p, &n, &g.rules);
    ASSERT_NE(t, nullptr) << (p - script.data());
    ASSERT_GT(t->length, 0u);
    kinds.push_back(child_at(child_at(t, 1), 0)->id);
    p = node_end(t);
    ends.push_back(u64(p - script.data()));
    grammar_free_tree(t);
  }
  // A statement takes the blanks and comments after it, up to the next one.
  EXPECT_EQ(ends, (std::vector<u64>{53, 98, 128, 140}));
  EXPECT_EQ(script.size(), 140u);
  EXPECT_EQ(kinds, (std::vector<u16>{id_select, id_update, id_insert, id_show_tabs}));
}

TEST_F(sql_grammar, a_stray_word_stops_the_tree_before_it) {
  parsed p("select a from t where x == 1 zz");
  EXPECT_FALSE(p.r.complete);
  EXPECT_EQ(p.r.end, 29u);  // after the blank that follows the statement
  EXPECT_GE(p.r.error, 29u);
}

TEST_F(sql_grammar, deep_nesting_fails_cleanly) {
  for (const char* open : {"(", "/*", "-"}) {
    std::string text = "select ";
    for (int i = 0; i < 100000; ++i) text += open;
    parsed p(text);
    EXPECT_FALSE(p.r.complete);
    EXPECT_EQ(last_parse_abort(), parse_abort::too_deep) << open;
    EXPECT_EQ(p.r.tree, nullptr);
    EXPECT_GT(p.r.error, 7u);
    EXPECT_LT(p.r.error, text.size());
  }
  // Nesting that real statements use stays well inside the limit.
  std::string text = "select ";
  for (int i = 0; i < 40; ++i) text += "(";
  text += "1";
  for (int i = 0; i < 40; ++i) text += ")";
  text += " from t where ";
  for (int i = 0; i < 40; ++i) text += "(";
  text += "a == 1";
  for (int i = 0; i < 40; ++i) text += ")";
  parsed ok(text);
  EXPECT_TRUE(ok.r.complete);
}

TEST_F(sql_grammar, a_block_comment_takes_one_code_point_at_a_time) {
  parsed p("/*\xc3\xa9*/show tables");
  ASSERT_TRUE(p.r.complete);
  std::vector<parse_node*> comments;
  collect_nodes_if(p.r.tree, [](u16 id) { return id == id_multiline_comment; }, comments);
  ASSERT_EQ(comments.size(), 1u);
  EXPECT_EQ(test::shape(comments[0], p.text.data()), "77@0+6[1@0+2 1@2+2 1@4+2]");
}

TEST_F(sql_grammar, threads_parse_with_one_grammar_at_once) {
  // Each thread has its own parse state; the compiled grammar is only read.
  std::vector<std::string> expected;
  for (const corpus_row& row : corpus) {
    parsed p(row.text);
    expected.push_back(test::shape(p.r.tree, p.text.data()) + "/" + std::to_string(p.r.error));
  }
  std::vector<std::vector<std::string>> seen(4);
  std::vector<std::thread> threads;
  for (u64 t = 0; t < seen.size(); ++t)
    threads.emplace_back([&, t] {
      for (int round = 0; round < 20; ++round)
        for (const corpus_row& row : corpus) {
          parsed p(row.text);
          if (round == 0)
            seen[t].push_back(test::shape(p.r.tree, p.text.data()) + "/" + std::to_string(p.r.error));
        }
    });
  for (std::thread& th : threads) th.join();
  for (const auto& s : seen) EXPECT_EQ(s, expected);
}

// --- the two mends ---------------------------------------------------------------------

TEST_F(sql_grammar, grant_and_deny_take_blanks_before_the_user) {
  const char* rows[] = {"grant select on t to bob", "grant select on t to  /*c*/ \"bob\";",
                        "deny delete on t to\tbob;", "grant insert on t tobob"};
  for (const char* text : rows) EXPECT_TRUE(parsed(text).r.complete) << text;
}

TEST_F(sql_grammar, character_literals_take_backslash_escapes) {
  const char* accepted[] = {
      // with a backslash
      "'\\n'", "'\\t'", "'\\''", "'\\\\'", "'\\\"'", "'\\x41'", "'\\u00e9'", "'\\U0001F600'",
      // as before: plain characters and the escape letters without a backslash
      "'a'", "'n'", "'\\'", "'''", "'\xc3\xa9'"};
  for (const char* c : accepted) {
    const std::string text = std::string("select ") + c + ", 'z' from t";
    parsed p(text);
    EXPECT_TRUE(p.r.complete) << text;
    EXPECT_TRUE(contains(p.r.tree, id_character)) << text;
  }
  const char* rejected[] = {"'\\q'", "'\\x4'", "'ab'", "''", "'x41'", "'u00e9'"};
  for (const char* c : rejected) {
    const std::string text = std::string("select ") + c + " from t";
    EXPECT_FALSE(parsed(text).r.complete) << text;
  }
}

// --- kept as they are: the dialect is shared with the server --------------------------

TEST_F(sql_grammar, kept_behaviours) {
  // '#' and '//' inside a block comment open line comments that run to the line's end.
  parsed hash("/* # */ still inside\n*/ select a from t");
  EXPECT_TRUE(hash.r.complete);
  parsed slashes("/* a // */\n*/ show tables");
  EXPECT_TRUE(slashes.r.complete);
  parsed closed("/* # */ show tables");  // the comment never closes
  EXPECT_FALSE(closed.r.complete);
  // A carriage return is not a blank.
  parsed crlf("show tables;\r\n");
  EXPECT_FALSE(crlf.r.complete);
  EXPECT_EQ(crlf.r.end, 12u);
  // 'true' ends a constant, so true_value is no field name.
  parsed tv("select true_value from t");
  EXPECT_FALSE(tv.r.complete);
  EXPECT_EQ(tv.r.end, 11u);
  EXPECT_TRUE(parsed("select truevalue from t").r.complete == false);
  EXPECT_TRUE(parsed("select a_true from t").r.complete);
}

// --- native recognisers ----------------------------------------------------------------

struct native_case {
  native_recogniser fn;
  u16 rule;
  std::string input;
  i64 length;    // -1: no match
  i64 farthest;  // offset parse_farthest is raised to on failure
};

TEST(sql_natives, recognisers) {
  const native_case rows[] = {
      {match_uint_bin, rule_uint_bin, "0b102", 4, 0},
      {match_uint_bin, rule_uint_bin, "0b", -1, 0},
      {match_uint_bin, rule_uint_bin, "0b2", -1, 0},
      {match_uint_hex, rule_uint_hex, "0x1fG", 4, 0},
      {match_uint_hex, rule_uint_hex, "0X1f", -1, 0},
      {match_uint_hex, rule_uint_hex, "0x", -1, 0},
      {match_uint_dec, rule_uint_dec, "0042a", 4, 0},
      {match_uint_dec, rule_uint_dec, "a", -1, 0},
      {match_uint_dec, rule_uint_dec, "", -1, 0},
      {match_raw_string, rule_raw_string, "\"(a)\"b)\"", 5, 0},
      {match_raw_string, rule_raw_string, "\"xy(a)\"b)xy\"c", 12, 0},
      {match_raw_string, rule_raw_string, "\"()\"", 4, 0},
      {match_raw_string, rule_raw_string, "x", -1, 0},
      {match_raw_string, rule_raw_string, "\"abc", -1, 1},      // no "(" after the quote
      {match_raw_string, rule_raw_string, "\"ab(c)a\"", -1, 3},  // no terminator: the "("
      {match_raw_string, rule_raw_string, "\"(", -1, 1},
      {match_fn_name, rule_fn_name, "first_k(", 7, 0},
      {match_fn_name, rule_fn_name, "first(", 5, 0},
      {match_fn_name, rule_fn_name, "sumx", 3, 0},
      {match_fn_name, rule_fn_name, "weekday_cname", 13, 0},
      {match_fn_name, rule_fn_name, "\xc3\xa9", -1, 0},
      {match_fn_name, rule_fn_name, "zz", -1, 0},
  };
  for (const native_case& r : rows) {
    grammar_node ref;
    ref.kind = static_cast<u16>(native_ref_base + r.rule);
    parse_farthest = nullptr;
    u64 n = r.input.size();
    parse_node* leaf = r.fn(&ref, r.input.data(), &n, nullptr);
    if (r.length < 0) {
      EXPECT_EQ(leaf, nullptr) << r.input;
      ASSERT_NE(parse_farthest, nullptr) << r.input;
      EXPECT_EQ(parse_farthest - r.input.data(), r.farthest) << r.input;
    } else {
      ASSERT_NE(leaf, nullptr) << r.input;
      EXPECT_EQ(test::shape(leaf, r.input.data()),
                std::to_string(r.rule + 2) + "@0+" + std::to_string(r.length)) << r.input;
    }
    grammar_free_tree(leaf);
  }
}

TEST(sql_natives, recognisers_stay_within_the_remaining_bytes) {
  // Each input would match further if the recogniser read past the limit.
  const native_case rows[] = {
      {match_uint_bin, rule_uint_bin, "0b11", 3, 0},  {match_uint_hex, rule_uint_hex, "0xff", 3, 0},
      {match_uint_dec, rule_uint_dec, "123", 2, 0},   {match_fn_name, rule_fn_name, "first_k", 5, 0},
      {match_raw_string, rule_raw_string, "\"(a)\"", -1, 1},
  };
  for (const native_case& r : rows) {
    grammar_node ref;
    ref.kind = static_cast<u16>(native_ref_base + r.rule);
    u64 n = r.input.size() - 1;
    parse_node* leaf = r.fn(&ref, r.input.data(), &n, nullptr);
    if (r.length < 0) {
      EXPECT_EQ(leaf, nullptr);
    } else {
      ASSERT_NE(leaf, nullptr);
      EXPECT_EQ(leaf->length, u64(r.length)) << r.input;
    }
    grammar_free_tree(leaf);
  }
}

TEST(sql_natives, function_names) {
  const function_name_trie& names = function_name_set();
  for (const char* name : function_names)
    EXPECT_EQ(function_name_match(&names, name, std::strlen(name)), std::strlen(name)) << name;
  function_name_trie t;
  EXPECT_TRUE(function_name_insert(&t, "ab", 2));
  EXPECT_FALSE(function_name_insert(&t, "ab", 2));
  EXPECT_TRUE(function_name_insert(&t, "a", 1));
  EXPECT_FALSE(function_name_insert(&t, "\xc3\xa9", 2));
  EXPECT_EQ(function_name_match(&t, "abc", 3), 2u);
  EXPECT_EQ(function_name_match(&t, "ac", 2), 1u);
  EXPECT_EQ(function_name_match(&t, "ab", 1), 1u);
  EXPECT_EQ(function_name_match(&t, "b", 1), 0u);
}

}  // namespace
}  // namespace kk::grammar
