// Prefix indexes and completion candidates.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/sql_completion.h"
#include "editor/sql_highlight.h"
#include "editor/sql_printer.h"
#include "tests/editor/lang_support.h"

namespace ruv::lang {
namespace {

std::vector<std::string> words(const candidate_list& l) {
  std::vector<std::string> w;
  for (const auto& s : l) w.emplace_back(s.data ? s.data : "", s.size);
  return w;
}

std::vector<std::string> matches(const prefix_index& i, std::string_view fragment) {
  candidate_list out;
  i.append_matches(fragment, out);
  return words(out);
}

using list = std::vector<std::string>;

TEST(prefix_index, every_prefix_finds_its_words_in_insertion_order_ignoring_ascii_case) {
  prefix_index i;
  EXPECT_TRUE(i.insert("select"));
  EXPECT_TRUE(i.insert("save"));
  EXPECT_EQ(matches(i, "S"), (list{"select", "save"}));
  EXPECT_EQ(matches(i, "se"), (list{"select"}));
  EXPECT_EQ(matches(i, "SELECT"), (list{"select"}));
  EXPECT_EQ(matches(i, "x"), list{});
  EXPECT_EQ(matches(i, "selects"), list{});
  EXPECT_FALSE(i.contains("")) << "an empty fragment matches nothing";

  EXPECT_FALSE(i.insert("Select")) << "a word is present whatever its case";
  EXPECT_EQ(matches(i, "sel"), (list{"select"}));
  EXPECT_EQ(i.word_count(), 2u);
  EXPECT_TRUE(i.insert(""));
  EXPECT_EQ(i.word_count(), 2u);
}

TEST(prefix_index, names_keep_their_spelling_and_invalid_utf8_is_refused_whole) {
  prefix_index i;
  EXPECT_TRUE(i.insert("Orders"));
  EXPECT_EQ(matches(i, "ord"), (list{"Orders"}));
  EXPECT_EQ(matches(i, "ORD"), (list{"Orders"}));

  EXPECT_TRUE(i.insert("ab\xc3\xa9"));  // ab and e-acute: prefixes a, ab, the whole name
  EXPECT_EQ(matches(i, "ab"), (list{"ab\xc3\xa9"}));
  EXPECT_EQ(matches(i, "ab\xc3\xa9"), (list{"ab\xc3\xa9"}));
  EXPECT_FALSE(i.contains("ab\xc3")) << "no key ends inside a character";

  const u64 prefixes = i.prefix_count();
  for (const char* bad : {"zz\xff", "zq\xc3", "zr\xe2\x82", "zs\x80z", "zt\xc3z"}) {
    EXPECT_FALSE(i.insert(bad)) << bad;
    EXPECT_FALSE(i.contains("z")) << "nothing of a refused word stays: " << bad;
  }
  EXPECT_EQ(i.prefix_count(), prefixes);
}

TEST(prefix_index, the_vocabulary) {
  EXPECT_EQ(matches(function_names(), "e"), (list{"exp", "e", "ends"}));
  EXPECT_EQ(function_names().word_count(), 102u);
  EXPECT_EQ(statement_words().word_count(), 16u);
  EXPECT_EQ(type_and_clause_words().word_count(), 49u);
  EXPECT_EQ(post_words().word_count(), 19u);
  EXPECT_EQ(matches(statement_words(), "s"), (list{"select", "save", "show"}));
  EXPECT_EQ(matches(statement_words(), "a"), (list{"alter", "atom_exec"}));
}

TEST(name_indexes, field_names_by_table_ignoring_the_case_of_the_table_name) {
  field_name_map map;
  auto names = [](std::initializer_list<const char*> l) {
    candidate_list v;
    for (const char* s : l) v.push_back(kk::adt::string::string_from_cstr(s));
    return v;
  };
  map.insert(kk::adt::string::string_from_cstr("Orders"), names({"OrderId", "amount"}));
  map.insert(kk::adt::string::string_from_cstr("users"), names({"name", "ord"}));
  name_indexes n;
  EXPECT_EQ(n.tables(), nullptr);
  n.set_field_names(map);
  n.set_table_names(names({"Orders", "users", "order_items"}));
  map.destroy();  // the indexes own their words

  candidate_list out;
  n.append_field_matches("orders", "ord", out);
  EXPECT_EQ(words(out), (list{"OrderId"}));
  out.free();
  n.append_field_matches("", "ord", out);
  EXPECT_EQ(words(out), (list{"OrderId", "ord"}));
  out.free();
  n.append_field_matches("missing", "ord", out);
  EXPECT_EQ(words(out), list{});
  ASSERT_NE(n.tables(), nullptr);
  EXPECT_EQ(matches(*n.tables(), "OR"), (list{"Orders", "order_items"}));
}

TEST(completion, candidates_by_context_id) {
  field_name_map map;
  candidate_list f;
  for (const char* s : {"total", "trace_id", "Tr_kind"}) f.push_back(kk::adt::string::string_from_cstr(s));
  map.insert(kk::adt::string::string_from_cstr("t"), std::move(f));
  name_indexes names;
  names.set_field_names(map);
  candidate_list tables;
  for (const char* s : {"Trades", "tr_log", "users"}) tables.push_back(kk::adt::string::string_from_cstr(s));
  names.set_table_names(tables);

  struct row {
    u16 id;
    const char* fragment;
    bool with_names;
    const char* table;
    list want;
  };
  const row rows[] = {
      // Statement words first; with seven words the clause words are not reached.
      {node_id::terminal, "d", false, "", {"date", "datetime", "delete", "desc", "distinct", "double", "drop"}},
      {node_id::terminal, "sel", false, "", {"select"}},
      {node_id::terminal, "ord", false, "", {"order"}},
      {node_id::fn_name, "tr", false, "", {"trim", "trim_l", "trim_r", "true"}},
      {node_id::fn_name, "tr", true, "", {"Tr_kind", "trace_id", "trim", "trim_l", "trim_r", "true"}},
      {node_id::table_name, "tr", true, "", {"Tr_kind", "Trades", "tr_log", "trace_id", "trim", "trim_l",
                                             "trim_r", "true"}},
      {node_id::table_name, "tr", false, "", {"trim", "trim_l", "trim_r", "true"}},
      {node_id::field_name, "tr", true, "T", {"Tr_kind", "trace_id", "trim", "trim_l", "trim_r", "true"}},
      {node_id::field_name, "to", true, "t", {"total"}},
      {node_id::field_name, "to", true, "other", {}},
      {node_id::select_one, "as", false, "", {"as", "asc", "asin"}},
      {node_id::comment, "s", true, "", {}},
      {node_id::constant, "s", true, "", {}},
      {node_id::terminal, "", true, "", {}},
  };
  for (const row& r : rows) {
    candidate_list out;
    context_candidates(out, r.id, r.fragment, r.with_names ? &names : nullptr, r.table);
    EXPECT_EQ(words(out), r.want) << "id " << r.id << " fragment " << r.fragment;
  }
}

class completion_test : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::need_library(); }
};

completion complete(const std::string& text, u64 cursor, const script_parse* p = nullptr,
                    u64 revision = 0, const name_indexes* names = nullptr) {
  completion_input in;
  in.text = text.data();
  in.size = text.size();
  in.cursor = cursor;
  in.parse = p;
  in.revision = revision;
  in.names = names;
  return complete_at(in);
}

TEST_F(completion_test, the_statement_at_the_cursor_chooses_the_words) {
  name_indexes names;
  candidate_list tables;
  for (const char* s : {"Orders", "users"}) tables.push_back(kk::adt::string::string_from_cstr(s));
  names.set_table_names(tables);

  struct row {
    std::string text;
    list want;
    u16 context;
  };
  const row rows[] = {
      {"s", {"select", "save", "show"}, node_id::terminal},
      {"select a from t; sel", {"select"}, node_id::terminal},
      {"select a from or", {"Orders"}, node_id::table_name},
      {"select a from t // s", {}, node_id::comment},
      {"select a from t where a == 12", {}, node_id::constant},
      {"select a, sin(b) from t where b == 1 && c == tr", {"trim", "trim_l", "trim_r", "true"}, node_id::field_name},
      {"select a, sin(b) from t where b == 1 && c == ", {}, node_id::terminal},
      {"select a fr", {"from"}, node_id::terminal},
      {"select x2", {"x2date", "x2datetime", "x2dbl", "x2flt", "x2i08", "x2i16", "x2i32", "x2i64", "x2str",
                     "x2time", "x2u08", "x2u16", "x2u32", "x2u64"}, node_id::field_name},
  };
  for (const row& r : rows) {
    completion c = complete(r.text, r.text.size(), nullptr, 0, &names);
    EXPECT_EQ(words(c.candidates), r.want) << r.text;
    EXPECT_EQ(c.context_id, r.context) << r.text;
    EXPECT_LE(c.statement_start, r.text.size()) << r.text;
  }
  completion none = complete("", 0);
  EXPECT_EQ(none.candidates.size, 0u);
}

TEST_F(completion_test, a_stale_parse_is_not_used_to_find_the_statement) {
  // A long statement after a short one: no ";" in the 64 bytes before the cursor, which is
  // far beyond 256; only a parse of this very text shows where the statement begins.
  std::string text = "select 1;\nselect a from t where a == 1";
  while (text.size() < 400) text += " && a == 1";
  text += " && a == s";
  script_parse current = script_parse::of(text.data(), text.size(), 5);
  ASSERT_GE(current.tree_count(), 1u);

  completion c = complete(text, text.size(), &current, 5);
  EXPECT_EQ(c.statement_start, 10u);
  EXPECT_FALSE(words(c.candidates).empty());
  EXPECT_EQ(c.fragment_length, 1u);

  completion stale = complete(text, text.size(), &current, 6);
  EXPECT_EQ(stale.candidates.size, 0u) << "a parse of another revision is ignored";

  // The stale parse's text was longer: its trees end past the cursor of the new text.
  const std::string old_text = text + " && b == 2; select 2;";
  script_parse old = script_parse::of(old_text.data(), old_text.size(), 4);
  const std::string now = "select 1;\nsel";
  completion after_delete = complete(now, now.size(), &old, 5);
  EXPECT_LE(after_delete.statement_start, now.size());
  EXPECT_EQ(words(after_delete.candidates), (list{"select"}));
}

}  // namespace
}  // namespace ruv::lang

namespace ruv::lang {
namespace {

// Random mixtures of SQL pieces and stray bytes: every offset gets a class, every cursor a
// completion whose start is never past it, with a current, a stale and no parse.
TEST_F(completion_test, any_text_and_any_cursor) {
  const std::string pieces[] = {"select ", "a", ", ", "from ", "t", " where ", "==", "1", ";",
                                "\n", "/* c", "*/", "// x\n", "\"s", "\\", "(", ")", "[b",
                                "]", "\xc3\xa9", "\xff", std::string(1, '\0'), "sin(",
                                "insert into ", "values ", "order by ", "first ", "\t", "'"};
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    std::string text;
    const int n = int(rng() % 40);
    for (int i = 0; i < n; ++i) {
      const u64 k = rng() % (sizeof pieces / sizeof pieces[0]);
      text += pieces[k];
    }
    script_parse now = script_parse::of(text.data(), text.size(), 2);
    const std::string older = text + " select a from t;";
    script_parse stale = script_parse::of(older.data(), older.size(), 1);
    for (u64 off = 0; off <= text.size(); ++off) {
      const int c = int(token_class_at(now, off));
      ASSERT_TRUE(c >= 0 && c < token_class_count);
      const script_parse* const parses[] = {&now, &stale, nullptr};
      for (const script_parse* p : parses) {
        completion r = complete(text, off, p, 2);
        ASSERT_LE(r.statement_start, off) << text;
        ASSERT_LE(r.fragment_length, off);
      }
    }
    auto f = format_sql_text(text.data(), text.size());
    EXPECT_EQ(f.has_value(), now.complete()) << text;
  }
}

}  // namespace
}  // namespace ruv::lang
