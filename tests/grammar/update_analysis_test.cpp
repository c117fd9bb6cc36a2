// Update-statement analysis: which statements may be written back, and the exact places of
// their where clause and table name.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "sqllib/library_startup.h"
#include "grammar/matcher.h"
#include "grammar/sql_grammar.h"
#include "sqllib/sql_library.h"
#include "grammar/sql_rules.h"
#include "sqllib/update_analysis.h"

namespace kk::grammar {
namespace {

const sql_library* lib() {
  if (!startup_tables_ready()) library_startup();
  return sql_library_instance();
}

constexpr int absent = -1;

struct statement_case {
  std::string text;
  bool updatable;
  int where_at, where_len;  // absent: null
  int table_at, table_len;
};

void PrintTo(const statement_case& c, std::ostream* os) { *os << '"' << c.text << '"'; }

const std::vector<statement_case>& statement_cases() {
  static const std::vector<statement_case> cases = {
      {"update t set a = 1 where b == 2", true, 19, 12, 7, 1},
      {"update [my table] set a = 1, b += 2 where x > 0 && y < 3", true, 36, 20, 7, 10},
      // No where clause: the clause is present, empty, where it would start.
      {"update t set a = 1", true, 18, 0, 7, 1},
      {"update t set a = 1   ", true, 21, 0, 7, 1},
      {"  update t set a = 1 where b == 2 ;  ", true, 21, 12, 9, 1},
      {"/* c */ update t set a = 1", true, 26, 0, 15, 1},
      // Other statements are reported on as they stand.
      {"select * from t", true, 15, 0, 14, 1},
      {"select a, b from items where a == 1", true, 23, 12, 17, 5},
      {"select * from t where a == 1 order by a asc", true, 16, 12, 14, 1},
      {"select * into u from t", true, 22, 0, 14, 1},  // the first table name in pre-order
      {"delete from t where a == 1", true, 14, 12, 12, 1},
      {"show tables", true, absent, 0, absent, 0},
      // Post-operations make the result read-only, wherever they sit.
      {"select * from t group count(a) by b", false, 16, 0, 14, 1},
      {"select * from t project a, b", false, 16, 0, 14, 1},
      {"select * from t recompute a = a + 1", false, 16, 0, 14, 1},
      {"select * from t rename a b", false, 16, 0, 14, 1},
      {"select * from t first 3", false, 16, 0, 14, 1},
      {"select * from t where a == 1 inner on a > 2", false, 16, 12, 14, 1},
      {"select * from t order by a asc project a", false, 16, 0, 14, 1},
      // Not accepted as a whole: nothing is reported.
      {"update t set a = 1 where b == 2 junk", false, absent, 0, absent, 0},
      {"update t set a = 1 where", false, absent, 0, absent, 0},
      {"update t a = 1", false, absent, 0, absent, 0},
      {"", false, absent, 0, absent, 0},
      {"   ", false, absent, 0, absent, 0},
  };
  return cases;
}

class statement_analysis : public ::testing::TestWithParam<statement_case> {};

TEST_P(statement_analysis, updatable_where_and_table) {
  const statement_case& c = GetParam();
  const char* text = c.text.data();
  const i32 len = static_cast<i32>(c.text.size());
  EXPECT_EQ(can_update_text(lib(), text, len), c.updatable);

  u32 n = 777;
  const char* w = where_of_update(lib(), text, len, &n);
  if (c.where_at == absent) {
    EXPECT_EQ(w, nullptr);
    EXPECT_EQ(n, 777u) << "len_out untouched";
  } else {
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w - text, c.where_at);
    EXPECT_EQ(n, u32(c.where_len));
  }
  n = 777;
  const char* t = table_name_of_update(lib(), text, len, &n);
  if (c.table_at == absent) {
    EXPECT_EQ(t, nullptr);
    EXPECT_EQ(n, 777u);
  } else {
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t - text, c.table_at);
    EXPECT_EQ(n, u32(c.table_len));
  }
}

INSTANTIATE_TEST_SUITE_P(cases, statement_analysis, ::testing::ValuesIn(statement_cases()));

// A length must not let the parse read past the caller's bytes: negative lengths (which
// widen to a huge count) are refused, and a short length stops the parse at that length.
TEST(statement_analysis_lengths, refused_and_bounded) {
  const std::string full = "update t set a = 1 where b == 2";
  const char* text = full.data();
  u32 n = 5;
  for (i32 bad : {-1, -2, INT32_MIN}) {
    EXPECT_FALSE(can_update_text(lib(), text, bad)) << bad;
    EXPECT_EQ(where_of_update(lib(), text, bad, &n), nullptr) << bad;
    EXPECT_EQ(table_name_of_update(lib(), text, bad, &n), nullptr) << bad;
  }
  EXPECT_EQ(n, 5u);
  EXPECT_FALSE(can_update_text(lib(), nullptr, 4));
  EXPECT_EQ(where_of_update(lib(), nullptr, 0, &n), nullptr);

  // The text sits at the very end of a heap block: any read past len is a fault under the
  // sanitizers. "update t set a = 1" (18 bytes) parses whole within its length.
  const std::string s = "update t set a = 1";
  std::vector<char> exact(s.begin(), s.end());
  EXPECT_TRUE(can_update_text(lib(), exact.data(), i32(exact.size())));
  ASSERT_NE(where_of_update(lib(), exact.data(), i32(exact.size()), &n), nullptr);
  EXPECT_EQ(n, 0u);
  // The same bytes cut short: "update t set a" is no statement.
  EXPECT_FALSE(can_update_text(lib(), exact.data(), 14));

  // A length that would run past the end of the address space is refused before any read.
  const char* near_end = reinterpret_cast<const char*>(UINTPTR_MAX - 3);
  EXPECT_FALSE(can_update_text(lib(), near_end, 8));
  EXPECT_EQ(table_name_of_update(lib(), near_end, 8, &n), nullptr);
}

// Every prefix of every statement, each in a block of exactly its length: the analysis
// reads nothing past len (a fault under the sanitizers), and whatever it returns lies inside.
TEST(statement_analysis_lengths, every_prefix_stays_within_its_bytes) {
  for (const statement_case& c : statement_cases()) {
    for (u64 k = 0; k <= c.text.size(); ++k) {
      std::unique_ptr<char[]> block(new char[k ? k : 1]);
      std::memcpy(block.get(), c.text.data(), k);
      const char* text = block.get();
      can_update_text(lib(), text, i32(k));
      for (auto f : {where_of_update, table_name_of_update}) {
        u32 n = 0;
        const char* r = f(lib(), text, i32(k), &n);
        if (!r) continue;
        EXPECT_GE(r, text) << c.text << " cut at " << k;
        EXPECT_LE(r + n, text + k) << c.text << " cut at " << k;
      }
    }
  }
}

// The results point into the caller's text and stay valid after the tree is gone: they are
// read after the call, while only the caller's buffer is alive.
TEST(statement_analysis_lengths, results_point_into_the_callers_text) {
  std::vector<char> buf;
  const std::string s = "update orders set qty = 0 where id == 7";
  buf.assign(s.begin(), s.end());
  u32 tn = 0, wn = 0;
  const char* t = table_name_of_update(lib(), buf.data(), i32(buf.size()), &tn);
  const char* w = where_of_update(lib(), buf.data(), i32(buf.size()), &wn);
  ASSERT_NE(t, nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_GE(t, buf.data());
  EXPECT_LE(t + tn, buf.data() + buf.size());
  EXPECT_EQ(std::string(t, tn), "orders");
  EXPECT_EQ(std::string(w, wn), "where id == 7");
}

parse_node* parse(const char* text) {
  text_parse p = parse_text(&lib()->grammar, text, std::strlen(text));
  EXPECT_TRUE(p.complete) << text;
  return p.tree;
}

TEST(find_nodes_by_id, topmost_nodes_in_pre_order) {
  const char* text = "select * from a where x in (select * from b) union (select * from c)";
  parse_node* tree = parse(text);
  ASSERT_NE(tree, nullptr);
  adt::vector<u16> ids;
  ids.push_back(sql::id_table_name);
  adt::vector<parse_node*> out;
  find_nodes_by_id(&ids, &out, tree);
  ASSERT_EQ(out.size, 3u);
  EXPECT_EQ(out[0]->start - text, 14);
  EXPECT_EQ(out[1]->start - text, 42);
  EXPECT_EQ(out[2]->start - text, 66);

  // A listed id twice changes nothing; the set finds the select nodes, which hold the
  // table names below them: the nested one is not descended into.
  ids.push_back(sql::id_table_name);
  ids.push_back(sql::id_select_one);
  adt::vector<parse_node*> top;
  find_nodes_by_id(&ids, &top, tree);
  ASSERT_EQ(top.size, 2u) << "the outer select and the union's select";
  EXPECT_EQ(top[0]->start, text);
  EXPECT_EQ(top[1]->id, sql::id_select_one);
  EXPECT_EQ(top[1]->start - text, 52);

  // The root itself matching is appended alone.
  ids.push_back(sql::id_sql);
  adt::vector<parse_node*> root;
  find_nodes_by_id(&ids, &root, tree);
  ASSERT_EQ(root.size, 1u);
  EXPECT_EQ(root[0], tree);

  adt::vector<parse_node*> none;
  find_nodes_by_id(&ids, &none, nullptr);
  EXPECT_EQ(none.size, 0u);
  grammar_free_tree(tree);
}

TEST(update_allowed, tests_the_children_not_the_root) {
  parse_node* tree = parse("select * from t group count(a) by b");
  ASSERT_NE(tree, nullptr);
  EXPECT_FALSE(update_allowed(tree));
  // A group node as the root itself, without children below: nothing to find.
  parse_node* leaf = parse_leaf_new(sql::id_group, "x", 1);
  EXPECT_TRUE(update_allowed(leaf));
  EXPECT_TRUE(update_allowed(nullptr));
  grammar_free_tree(leaf);
  grammar_free_tree(tree);
}

}  // namespace
}  // namespace kk::grammar
