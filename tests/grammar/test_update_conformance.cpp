// Which statements may be written back, and the exact bytes of their where clause and table
// name, written from the dialect's rules: each statement marks the expected where clause
// with "{" "}" and the expected table name with "$" "$" (markers removed before parsing;
// no marker: null). Node ids are written as numbers on purpose: they are an interface.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "functions/registry.h"
#include "sqllib/library_startup.h"
#include "grammar/matcher.h"
#include "grammar/sql_function_names.h"
#include "sqllib/sql_library.h"
#include "grammar/sql_natives.h"
#include "sqllib/update_analysis.h"

namespace kk::grammar {
namespace {

const sql_library* lib() {
  if (!startup_tables_ready()) library_startup();
  return sql_library_instance();
}

struct marked {
  std::string text;
  int where_at = -1, where_len = 0;  // -1: no where clause found
  int table_at = -1, table_len = 0;  // -1: no table name found
};

marked unmark(const char* src) {
  marked m;
  int table_open = -1;
  for (const char* p = src; *p; ++p) {
    const int at = int(m.text.size());
    if (*p == '{') {
      m.where_at = at;
    } else if (*p == '}') {
      m.where_len = at - m.where_at;
    } else if (*p == '$') {
      if (table_open < 0) {
        table_open = m.table_at = at;
      } else {
        m.table_len = at - m.table_at;
      }
    } else {
      m.text += *p;
    }
  }
  return m;
}

struct update_case {
  const char* marked_text;
  bool updatable;
};

void PrintTo(const update_case& c, std::ostream* os) { *os << '"' << c.marked_text << '"'; }

// Runs the three computations on the bytes of m in a block of exactly their length.
void check(const marked& m, bool updatable, const std::string& label) {
  std::unique_ptr<char[]> block(new char[m.text.size() + 1]);
  std::memcpy(block.get(), m.text.data(), m.text.size());
  const char* text = block.get();
  const i32 len = i32(m.text.size());
  EXPECT_EQ(can_update_text(lib(), text, len), updatable) << label;

  u32 n = 0xdeadbeef;
  const char* w = where_of_update(lib(), text, len, &n);
  if (m.where_at < 0) {
    EXPECT_EQ(w, nullptr) << label;
    EXPECT_EQ(n, 0xdeadbeefu) << label << ": len_out untouched";
  } else if (!w) {
    ADD_FAILURE() << label << ": no where clause";
  } else {
    EXPECT_EQ(w - text, m.where_at) << label;
    EXPECT_EQ(n, u32(m.where_len)) << label << ": \"" << std::string(w, n) << '"';
  }
  n = 0xdeadbeef;
  const char* t = table_name_of_update(lib(), text, len, &n);
  if (m.table_at < 0) {
    EXPECT_EQ(t, nullptr) << label;
    EXPECT_EQ(n, 0xdeadbeefu) << label << ": len_out untouched";
  } else if (!t) {
    ADD_FAILURE() << label << ": no table name";
  } else {
    EXPECT_EQ(t - text, m.table_at) << label;
    EXPECT_EQ(n, u32(m.table_len)) << label << ": \"" << std::string(t, n) << '"';
  }
}

class update_conformance : public ::testing::TestWithParam<update_case> {};

TEST_P(update_conformance, updatable_where_clause_and_table_name) {
  const update_case& c = GetParam();
  check(unmark(c.marked_text), c.updatable, c.marked_text);
}

// Update statements. The blanks and comments before the clause belong to the statement,
// those after it to the statement's end; a missing clause is an empty one where it would
// start.
const update_case updates[] = {
    {"update $t$ set a = 1 {where b == 2}", true},
    {"update $orders$ set qty = 0, price *= 2 {where id == 7 && (qty > 1 || price <= 3.5)}", true},
    {"update $t$ set a = 1{}", true},
    {"update $t$ set a = 1   {}", true},
    {"update $t$ set a = 1 /* no filter */ {}", true},
    {"update $t$ set a = 1 // to the end\n{}", true},
    {"update $t$ set a = 1 # to the end{}", true},
    {"update $t$ set a = 1{where b == 2}", true},
    {"update $t$ set a = 1 {where b == 2} # trailing", true},
    {"update $t$ set a = 1 {where /* inside */ b == 2} /* after */", true},
    {"update $t$ set a = 1 /* a /* nested */ comment */ {where b == 2}", true},
    {"update $t$ set a = 1 {where b == 2};", true},
    {"update $t$ set a = 1{};", true},
    {" \t\n update $t$ set a = 1 {where b == 2} ; \n", true},
    {"/* lead */ update $t$ set a = 1{}", true},
    {"# lead\nupdate $t$ set a = 1 {where b != 2}", true},
    // Bracketed names: the brackets are part of the name's bytes.
    {"update $[my table]$ set a = 1 {where b == 2}", true},
    {"update $[a\\\\b]$ set [c d] = 1 {where [e] == \"x\"}", true},
    {"update $t$ set a = \"where b == 1\" {where b == 2}", true},
    // Names spelled like post-operations are just names.
    {"update $project$ set group = 1 {where rename == 2}", true},
    // The first where clause and table name in pre-order are the outer statement's.
    {"update $t$ set a = 1 {where b in (select c from u where d == 1)}", true},
    {"update $t$ set a = 1 {where b in (select c from u order by c asc)}", true},
    // A post-operation at any depth, even in a sub-select of the clause, forbids it.
    {"update $t$ set a = 1 {where b in (select c from u group count(c) by c)}", false},
    {"update $t$ set a = 1 {where b in (select c from u first 3)}", false},
    // A range condition of the where clause is no filter.
    {"update $t$ set a = concat(a, \"x\") {where first 3}", true},
    {"update $t$ set a = 1 {where b max 2}", true},
    // Each form of condition ends the clause at its own last byte.
    {"update $t$ set a = 1 {where (b == 2)} ", true},
    {"update $t$ set a = 1 {where b == 2 || c == 3 && d >= 4} ;", true},
    {"update $t$ set a = 1 {where 1 < b <= 3}\n", true},
    {"update $t$ set a = 1 {where (1, 2) any < b < 5}", true},
    {"update $t$ set a = 1 {where b not in (1, 2)} // in or not", true},
    {"update $t$ set a = 1 {where b == any (select c from u)}", true},
    {"update $t$ set a = 1 {where range 1 5}", true},
    // min, max, first and last end with blanks and an optional count: blanks after them
    // belong to the clause when no count follows.
    {"update $t$ set a = 1 {where b min }", true},
    {"update $t$ set a = 1 {where last  }", true},
    {"update $t$ set a = 1 {where first /* c */ }", true},
};
INSTANTIATE_TEST_SUITE_P(updates, update_conformance, ::testing::ValuesIn(updates));

// Texts the grammar does not accept as a whole: false, null, len_out untouched.
const update_case refused[] = {
    {"update t set a = 1 where b == 2 junk", false},
    {"update t set a = 1; update u set b = 2", false},
    {"update t set a = 1 where b == 2;;", false},
    {"update t set a = 1 where", false},
    {"update t set a = 1 where b", false},
    {"update t set", false},
    {"update t a = 1", false},
    {"UPDATE t set a = 1", false},
    {"update t SET a = 1", false},
    {"update t set a = 1\r", false},  // carriage return is no blank
    {"update t set a = 1 /* unterminated", false},
    {"update [t set a = 1", false},
    {"", false},
    {" \t ", false},
    {"/* only a comment */", false},
    {"# only a comment\n", false},
};
INSTANTIATE_TEST_SUITE_P(refused, update_conformance, ::testing::ValuesIn(refused));

// Other statements are reported on as they stand: the analysis does not check for update.
const update_case others[] = {
    {"select * from $t${}", true},
    {"select a, b from $items$ {where a == 1}", true},
    {"select * from $t$ {}order by a desc", true},
    {"select * from $t$ {where first 3}", true},
    {"select * from $t$ {}group count(a) by b", false},
    {"select * from $t$ {}project except a, b", false},
    {"select * from $t$ {}recompute a = a + 1, b = 2", false},
    {"select * from $t$ {}rename a b", false},
    {"select * from $t$ {}order by a asc project a", false},
    {"select * from $t$ {}join (select * from u on a == b)", true},
    {"select * from $t$ {}join (select * from u on a == b) group count(a) by b", false},
    {"select * from $t$ {}union (select * from u where c == 1)", true},
    {"select * into $u$ from t{}", true},
    {"select 1", true},
    {"select count(a), first_k(b, 2) from $t${}", true},
    // A function name is the longest name at the place, without falling back to a shorter
    // one: "log1" is read as "log" followed by "1", which is no call.
    {"select log10(a), sumx, e from $t${}", true},
    {"select log1(a) from t", false},
    {"insert into $t$ (a, b) values (1, 2), (3, 4)", true},
    {"insert into $t$ (a) select b from u {where c == 1}", true},
    {"insert into $t$ (a) select b from u {}group count(b) by b", false},
    {"delete from $t$ {where a == 1}", true},
    {"delete from $t${}", true},
    {"show tables", true},
    {"show tables;", true},
    {"truncate table $t$", true},
    {"rows_of $t$;", true},
    {"create table $t$ (a i32(), b string(true, false))", true},
    {"atom_exec update $t$ set a = 1 {where b == 2}; delete from u where c == 3; commit", true},
    {"atom_exec select * from $t$ {}first 3 commit", false},
    {"exec \"script.sql\"", true},
};
INSTANTIATE_TEST_SUITE_P(others, update_conformance, ::testing::ValuesIn(others));

// Every form of filter is a post-operation.
TEST(update_conformance_filters, every_filter_form_forbids_the_update) {
  for (const char* f : {"first", "first 3", "last", "last 2", "nth 2", "range 1 5", "all_each on distinct",
                        "all_each on a + 1", "adj on a", "inner on a > 2", "exists (select * from u)",
                        "not exists (select * from u)"}) {
    const std::string s = std::string("select * from $t$ {}") + f;
    check(unmark(s.c_str()), false, s);
  }
}

// len bounds the text; every failure leaves len_out as it was.
TEST(update_conformance_lengths, len_bounds_the_text_and_failures_leave_len_out) {
  const std::string s = "update t set a = 1 where b == 2";
  const char* text = s.data();
  u32 n = 0;
  // The first 18 bytes are a whole update without a clause.
  EXPECT_TRUE(can_update_text(lib(), text, 18));
  EXPECT_EQ(where_of_update(lib(), text, 18, &n), text + 18);
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(table_name_of_update(lib(), text, 18, &n), text + 7);
  EXPECT_EQ(n, 1u);

  sql_library unbuilt;
  struct failure {
    const char* what;
    const sql_library* l;
    const char* text;
    i32 len;
  } failures[] = {
      {"cut inside the clause", lib(), text, 24},
      {"empty", lib(), text, 0},
      {"negative", lib(), text, -1},
      {"most negative", lib(), text, INT32_MIN},
      {"null text", lib(), nullptr, 18},
      {"no library", nullptr, text, i32(s.size())},
      {"library without grammar", &unbuilt, text, i32(s.size())},
  };
  for (const failure& f : failures) {
    EXPECT_FALSE(can_update_text(f.l, f.text, f.len)) << f.what;
    n = 4321;
    EXPECT_EQ(where_of_update(f.l, f.text, f.len, &n), nullptr) << f.what;
    EXPECT_EQ(table_name_of_update(f.l, f.text, f.len, &n), nullptr) << f.what;
    EXPECT_EQ(n, 4321u) << f.what;
  }
  // A whole statement without the node looked for: null, len_out untouched.
  n = 4321;
  EXPECT_EQ(where_of_update(lib(), "drop table t", 12, &n), nullptr);
  EXPECT_EQ(table_name_of_update(lib(), "show tables", 11, &n), nullptr);
  EXPECT_EQ(n, 4321u);
  // Without len_out the place is still given.
  EXPECT_EQ(table_name_of_update(lib(), text, i32(s.size()), nullptr), text + 7);
}

// update_allowed on trees built by hand: only the children of the root are searched, each
// one itself and at any depth, for the ids 106, 108, 107, 109 and 100.
struct tree_fixture {
  std::vector<std::unique_ptr<parse_node>> nodes;
  std::vector<std::unique_ptr<adt::vector<parse_node*>>> lists;
  parse_node* node(u16 id, std::vector<parse_node*> children = {}) {
    nodes.push_back(std::make_unique<parse_node>(parse_node{id, "x", 1, nullptr}));
    parse_node* n = nodes.back().get();
    if (!children.empty()) {
      lists.push_back(std::make_unique<adt::vector<parse_node*>>());
      for (parse_node* c : children) lists.back()->push_back(c);
      n->children = lists.back().get();
    }
    return n;
  }
};

TEST(update_conformance_tree, update_allowed_searches_the_subtrees_below_the_root) {
  for (u16 id = 0; id < 130; ++id) {
    const bool post = id == 100 || id == 106 || id == 107 || id == 108 || id == 109;
    tree_fixture f;
    // The id as a direct child, and three levels down behind another child.
    EXPECT_EQ(update_allowed(f.node(44, {f.node(id)})), !post) << id;
    EXPECT_EQ(update_allowed(f.node(44, {f.node(78), f.node(45, {f.node(51, {f.node(id)})})})), !post) << id;
    // The root's own id is not tested.
    EXPECT_TRUE(update_allowed(f.node(id))) << id;
    EXPECT_TRUE(update_allowed(f.node(id, {f.node(44)}))) << id;
  }
}

TEST(update_conformance_tree, find_nodes_by_id_gives_the_topmost_matches_in_pre_order) {
  tree_fixture f;
  parse_node* inner71 = f.node(71);
  parse_node* a = f.node(71, {inner71});
  parse_node* b = f.node(68);
  parse_node* c = f.node(71);
  parse_node* root = f.node(44, {f.node(54, {a, f.node(3, {b})}), c});
  adt::vector<u16> ids;
  ids.push_back(68);
  ids.push_back(71);
  ids.push_back(71);
  adt::vector<parse_node*> out;
  find_nodes_by_id(&ids, &out, root);
  ASSERT_EQ(out.size, 3u);
  EXPECT_EQ(out[0], a);
  EXPECT_EQ(out[1], b);
  EXPECT_EQ(out[2], c);
  // A matching root is appended alone; nothing is cleared from out first.
  ids.push_back(44);
  find_nodes_by_id(&ids, &out, root);
  ASSERT_EQ(out.size, 4u);
  EXPECT_EQ(out[3], root);
}

// The longest function name at a position, against a direct search of the name list.
u64 longest_name(const char* pos, u64 remaining) {
  u64 best = 0;
  for (const char* name : sql::function_names) {
    const u64 k = std::strlen(name);
    if (k <= remaining && k > best && std::memcmp(pos, name, k) == 0) best = k;
  }
  return best;
}

TEST(update_conformance_names, the_name_trie_finds_the_longest_name_within_the_remaining_bytes) {
  const sql::function_name_trie& trie = sql::function_name_set();
  std::vector<std::string> texts = {"", "e", "ex", "exp(", "log1p", "log10x", "log", "lo", "sum", "sumx",
                                    "first_k(", "first_", "count_uniquex", "x2datetimes",
                                    "\x80sum", "su\x80m", "weekday_cnam", "Sum"};
  for (const char* name : sql::function_names) {
    texts.push_back(name);
    texts.push_back(std::string(name) + "_");
    texts.push_back(std::string(name) + "(");
  }
  for (const std::string& s : texts) {
    for (u64 k = 0; k <= s.size(); ++k) {
      // Exactly k bytes: a read past them is a fault under the sanitizers.
      std::unique_ptr<char[]> block(new char[k ? k : 1]);
      std::memcpy(block.get(), s.data(), k);
      EXPECT_EQ(sql::function_name_match(&trie, block.get(), k), longest_name(block.get(), k))
          << '"' << s << "\" within " << k;
    }
  }
  // Through the grammar's recogniser: a leaf of rule fn_name (id 41) at the position.
  grammar_node ref;
  ref.kind = native_ref_base + 39;
  const char* text = "first_k(a, 2)";
  u64 left = std::strlen(text);
  parse_farthest = nullptr;
  parse_node* leaf = sql::match_fn_name(&ref, text, &left, nullptr);
  ASSERT_NE(leaf, nullptr);
  EXPECT_EQ(leaf->id, 41);
  EXPECT_EQ(leaf->start, text);
  EXPECT_EQ(leaf->length, 7u);
  grammar_free_tree(leaf);
  const char* accented = "\xc3\xa9te";
  left = 4;
  EXPECT_EQ(sql::match_fn_name(&ref, accented, &left, nullptr), nullptr);
  EXPECT_EQ(parse_farthest, accented) << "fails at its own position";
}

TEST(update_conformance_library, layout_slots_and_registry) {
  const sql_library* l = lib();
  ASSERT_NE(l, nullptr);
  // The program reads the root and the rule table as the object's first two words.
  static_assert(offsetof(sql_library, root) == 0);
  static_assert(offsetof(sql_library, rules) == sizeof(void*));
  ASSERT_NE(l->rules, nullptr);
  ASSERT_EQ(l->rules->size, 3072u);
  const std::set<u64> natives = {4, 5, 6, 9, 39};
  for (u64 n = 0; n < 1024; ++n) {
    // A native rule's own name is served by its recogniser too: its 1024 + n slot stays empty.
    EXPECT_EQ(l->rules->slots[1024 + n].rule != nullptr, n < 119 && !natives.count(n)) << "rule " << n;
    EXPECT_EQ(l->rules->slots[2048 + n].native != nullptr, natives.count(n) == 1) << "native " << n;
  }
  EXPECT_EQ(l->rules->slots[2048 + 4].native, &sql::match_uint_bin);
  EXPECT_EQ(l->rules->slots[2048 + 5].native, &sql::match_uint_hex);
  EXPECT_EQ(l->rules->slots[2048 + 6].native, &sql::match_uint_dec);
  EXPECT_EQ(l->rules->slots[2048 + 9].native, &sql::match_raw_string);
  EXPECT_EQ(l->rules->slots[2048 + 39].native, &sql::match_fn_name);

  // Every one of the names is registered with its group's entry; nothing else is.
  for (const char* name : sql::function_names) {
    const functions::sql_function e = function_map_find(l->functions, name, std::strlen(name));
    EXPECT_NE(e, nullptr) << name;
    EXPECT_EQ(e, functions::find_sql_function(name)) << name;
  }
  for (const char* other : {"", "firs", "first_k_", "Sum", "x2i8"})
    EXPECT_EQ(function_map_find(l->functions, other, std::strlen(other)), nullptr) << other;
}

}  // namespace
}  // namespace kk::grammar
