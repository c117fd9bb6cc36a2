// The editor's parse: when it runs, what it keeps, and the node queries over it.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "editor/sql_parse.h"
#include "tests/editor/lang_support.h"

namespace ruv::lang {
namespace {

using step = parse_scheduler::step;

struct fake_clock {
  i64 now = 1000;
  std::function<i64()> fn() {
    return [this] { return now; };
  }
};

TEST(parse_scheduler, the_size_decides_between_parsing_now_the_timer_and_never) {
  struct row {
    u64 size;
    step on_edit;
  };
  const row rows[] = {
      {0, step::parse_now},
      {131071, step::parse_now},
      {131072, step::start_timer},
      {4194303, step::start_timer},
      {4194304, step::stop_timer},
      {50000000, step::stop_timer},
  };
  for (const row& r : rows) {
    fake_clock clock;
    parse_scheduler s(clock.fn());
    EXPECT_EQ(s.edited(r.size), r.on_edit) << r.size;
    EXPECT_EQ(s.timer_running(), r.on_edit == step::start_timer) << r.size;
  }
}

TEST(parse_scheduler, a_timed_text_is_parsed_once_input_has_been_quiet_for_twice_the_interval) {
  for (u64 size : {u64(131072), u64(4194303)}) {
    fake_clock clock;
    parse_scheduler s(clock.fn());
    // Typing without pause: one key every 100 ms for 5 s, the timer firing every 50 ms.
    i64 last_key = 0;
    for (int ms = 0; ms <= 5000; ms += 50) {
      clock.now = 1000 + ms;
      if (ms % 100 == 0) {
        ASSERT_EQ(s.edited(size), step::start_timer);
        last_key = clock.now;
      } else {
        ASSERT_EQ(s.timer_fired(1.0), step::start_timer) << "parsed while typing, at " << ms;
      }
    }
    // Quiet from here: not at exactly 2000 ms, at the first tick after it.
    clock.now = last_key + 2000;
    EXPECT_EQ(s.timer_fired(1.0), step::start_timer) << size;
    clock.now = last_key + 2050;
    EXPECT_EQ(s.timer_fired(1.0), step::parse_now) << size;
    EXPECT_FALSE(s.timer_running());
  }
}

TEST(parse_scheduler, the_interval_is_the_configured_one_and_unusable_values_fall_back) {
  struct row {
    double seconds;
    i64 waits_ms;  // still waiting at this quiet time, parsed 1 ms later
  };
  const row rows[] = {{0.5, 1000}, {1.0, 2000}, {3.0, 6000}, {-1.0, 2000},
                      {std::numeric_limits<double>::quiet_NaN(), 2000}, {0.0, 0}, {1e300, 7200000}};
  for (const row& r : rows) {
    fake_clock clock;
    parse_scheduler s(clock.fn());
    s.edited(200000);
    clock.now += r.waits_ms;
    EXPECT_EQ(s.timer_fired(r.seconds), step::start_timer) << r.seconds;
    clock.now += 1;
    EXPECT_EQ(s.timer_fired(r.seconds), step::parse_now) << r.seconds;
  }
}

class parse_test : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::need_library(); }
};

TEST_F(parse_test, the_trees_live_on_their_own_copy_of_the_text) {
  std::string doc = "select a from t;\nselect b from u;";
  script_parse p = script_parse::of(doc.data(), doc.size(), 7);
  // The document moves on: its buffer is overwritten and released.
  std::memset(doc.data(), 'x', doc.size());
  doc = std::string(100000, 'y');
  doc.shrink_to_fit();

  ASSERT_EQ(p.tree_count(), 2u);
  EXPECT_TRUE(p.complete());
  EXPECT_EQ(std::string(p.trees()[1]->start, p.trees()[1]->length), "select b from u;") << "the first statement took the line end";
  EXPECT_TRUE(p.is_of(7));
  EXPECT_FALSE(p.is_of(8));
  EXPECT_FALSE(script_parse().is_of(0)) << "no parse is of any revision";

  script_parse moved = std::move(p);
  EXPECT_TRUE(moved.is_of(7));
  EXPECT_FALSE(p.is_of(7));
  EXPECT_EQ(moved.tree_end(1), 33u);
}

TEST_F(parse_test, a_text_that_stops_parsing_keeps_the_statements_before_it) {
  const std::string text = "select 1; selec 2";
  script_parse p = script_parse::of(text.data(), text.size(), 1);
  ASSERT_EQ(p.tree_count(), 1u);
  EXPECT_EQ(p.parsed_length(), std::strlen("select 1; "));
  EXPECT_FALSE(p.complete());

  script_parse empty = script_parse::of("", 0, 2);
  EXPECT_EQ(empty.tree_count(), 0u);
  EXPECT_EQ(empty.parsed_length(), 0u);
  EXPECT_TRUE(empty.is_of(2));
}

TEST_F(parse_test, path_queries_over_a_parsed_text) {
  const std::string text = "select a from t; select b from u; sel";
  script_parse p = script_parse::of(text.data(), text.size(), 1);
  ASSERT_EQ(p.tree_count(), 2u);
  const auto& trees = p.trees();
  const i64 last = i64(trees.size) - 1;

  EXPECT_EQ(last_tree_before(trees, 0, last, p.text(), 3), -1);
  EXPECT_EQ(last_tree_before(trees, 0, last, p.text(), p.tree_end(1)), 0) << "end not before";
  EXPECT_EQ(last_tree_before(trees, 0, last, p.text(), p.tree_end(1) + 1), 1);
  EXPECT_EQ(last_tree_before(trees, 0, last, p.text(), text.size()), 1);
  EXPECT_EQ(last_tree_before(trees, 1, 0, p.text(), 30), -1);

  node_path path;
  EXPECT_EQ(token_path_at(trees, p.text(), text.size() - 1, path), node_id::none) << "unparsed tail";
  EXPECT_TRUE(path.empty());

  EXPECT_EQ(token_path_at(trees, p.text(), text.find(" t;") + 1, path), node_id::terminal);
  EXPECT_TRUE(path_has_table_name(path));
  EXPECT_FALSE(path_has_field_name(path));
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), trees[0]);

  // "select" of the first statement is a read keyword, nothing else of it is.
  const u64 end0 = p.tree_end(0);
  for (u64 off = 0; off < end0; ++off) {
    token_path_at(trees, p.text(), off, path);
    EXPECT_EQ(at_read_keyword(path, p.text(), off), off < 6) << off;
    EXPECT_FALSE(at_write_keyword(path, p.text(), off)) << off;
  }
}

TEST_F(parse_test, statement_entry_points) {
  const std::string text = "delete from orders where id == 3";
  parse_node* tree = nullptr;
  EXPECT_EQ(parse_statement(text.data(), text.size(), &tree), text.size());
  ASSERT_NE(tree, nullptr);
  const parse_node* t = first_table_name_node(tree);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(std::string(t->start, t->length), "orders");
  kk::grammar::grammar_free_tree(tree);

  const std::string bad = "insert t (a) values (1)";
  EXPECT_EQ(parse_statement(bad.data(), bad.size(), &tree), 7u) << "stops where matching stopped";
  EXPECT_EQ(tree, nullptr);
}

}  // namespace
}  // namespace ruv::lang
