// The library object: its start-up sequence and the registry of the SQL functions.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "functions/registry.h"
#include "sqllib/library_startup.h"
#include "grammar/sql_function_names.h"
#include "grammar/sql_grammar.h"
#include "grammar/sql_grammar_text.h"
#include "sqllib/sql_library.h"
#include "sqllib/update_analysis.h"
#include "value/val.h"

namespace kk {
namespace {

sql_library& lib() {
  if (!startup_tables_ready()) library_startup();
  return *sql_library_instance();
}

TEST(sql_library_startup, builds_every_product_and_releases_the_object_first) {
  if (startup_tables_ready()) startup_tables_release();
  ASSERT_TRUE(library_startup());
  EXPECT_TRUE(startup_tables_ready());
  EXPECT_FALSE(library_startup()) << "the sequence runs once";
  sql_library* l = sql_library_instance();
  ASSERT_NE(l, nullptr);
  ASSERT_NE(l->root, nullptr);
  EXPECT_EQ(l->root, l->grammar.start);
  ASSERT_NE(l->rules, nullptr);
  EXPECT_EQ(l->rules->size, 3072u);
  EXPECT_TRUE(l->context.regex_ready);
  // reg_match reaches the engine through the object.
  EXPECT_TRUE(grammar::regex_engine_match(&l->context.regex, "a+b", 3, "aaab", 4));
  EXPECT_FALSE(grammar::regex_engine_match(&l->context.regex, "a+b", 3, "aaac", 4));
  EXPECT_EQ(l->grammar.rule_count, 119u);
  EXPECT_TRUE(grammar::can_update_text(l, "update t set a = 1", 18));

  startup_tables_release();
  // Nothing points at the released object: the analysis refuses instead of reading it.
  EXPECT_EQ(sql_library_instance(), nullptr);
  EXPECT_FALSE(grammar::can_update_text(sql_library_instance(), "update t set a = 1", 18));
  u32 n = 99;
  EXPECT_EQ(grammar::table_name_of_update(sql_library_instance(), "update t set a = 1", 18, &n), nullptr);
  EXPECT_EQ(n, 99u);
  // The function-name trie outlives the object (a late parse through another grammar still
  // finds names), and a released grammar text is rebuilt on use.
  EXPECT_EQ(grammar::sql::function_name_match(&grammar::sql::function_name_set(), "first_k(", 8), 7u);
  EXPECT_EQ(grammar::sql::grammar_string().size, grammar::sql::grammar_text_size());

  ASSERT_TRUE(library_startup()) << "a released sequence may be built again";
  EXPECT_NE(sql_library_instance(), nullptr);
  EXPECT_TRUE(grammar::can_update_text(sql_library_instance(), "update t set a = 1", 18));
}

TEST(sql_library_startup, the_plan_fills_every_slot_after_the_calendar) {
  const startup_plan p = library_startup_plan();
  for (u32 s = step_ebnf_tokens; s < startup_step_count; ++s) EXPECT_NE(p.steps[s].build, nullptr) << "step " << s;
  // Released at exit: the token strings, the grammar text copy and the object.
  EXPECT_NE(p.steps[step_ebnf_tokens].release, nullptr);
  EXPECT_NE(p.steps[step_sql_grammar_text].release, nullptr);
  EXPECT_NE(p.steps[step_sql_library].release, nullptr);
  EXPECT_EQ(p.steps[step_sql_function_names].release, nullptr);
}

TEST(sql_library, a_library_without_grammar_parses_nothing) {
  sql_library empty;
  u32 n = 5;
  EXPECT_FALSE(grammar::can_update_text(&empty, "update t set a = 1", 18));
  EXPECT_EQ(grammar::where_of_update(&empty, "update t set a = 1", 18, &n), nullptr);
  EXPECT_EQ(grammar::where_of_update(nullptr, "update t set a = 1", 18, &n), nullptr);
  EXPECT_EQ(n, 5u);
  sql_library_free(&empty);  // freeing an unbuilt object is harmless
}

TEST(sql_library, build_and_free_leave_nothing_behind) {
  // Repeated builds of a local object: the sanitizer build finds any leak or double free.
  for (int i = 0; i < 2; ++i) {
    sql_library l;
    ASSERT_TRUE(sql_library_build(&l));
    ASSERT_TRUE(sql_library_build(&l)) << "a rebuild releases the previous build first";
    EXPECT_TRUE(grammar::can_update_text(&l, "select * from t", 15));
    sql_library_free(&l);
    EXPECT_EQ(l.root, nullptr);
    EXPECT_EQ(l.functions, nullptr);
  }
}

bool entry_a(sql_library*, functions::column*, const functions::column_list*) { return true; }
bool entry_b(sql_library*, functions::column*, const functions::column_list*) { return false; }

TEST(sql_function_map, byte_trie_refuses_duplicates_and_finds_only_whole_names) {
  sql_function_map root;
  EXPECT_TRUE(function_map_insert(&root, "sum", 3, entry_a));
  EXPECT_FALSE(function_map_insert(&root, "sum", 3, entry_b)) << "a duplicate is refused";
  EXPECT_TRUE(function_map_insert(&root, "sum_k", 5, entry_b)) << "a longer name below a terminal";
  EXPECT_TRUE(function_map_insert(&root, "su", 2, entry_b)) << "a prefix of a name";
  EXPECT_TRUE(function_map_insert(&root, "\xe9t\xe9", 3, entry_a)) << "every byte has a child";
  EXPECT_EQ(function_map_find(&root, "sum", 3), entry_a);
  EXPECT_EQ(function_map_find(&root, "sum_k", 5), entry_b);
  EXPECT_EQ(function_map_find(&root, "su", 2), entry_b);
  EXPECT_EQ(function_map_find(&root, "sum_", 4), nullptr);
  EXPECT_EQ(function_map_find(&root, "s", 1), nullptr);
  EXPECT_EQ(function_map_find(&root, "summ", 4), nullptr);
  EXPECT_EQ(function_map_find(&root, "\xe9t\xe9", 3), entry_a);
  function_map_clear(&root);
  EXPECT_EQ(function_map_find(&root, "sum", 3), nullptr);
}

// The registry's contract, name by name through the library object: the entry is the
// function group's own (not a stand-in), and it keeps the calling convention's argument
// count and first-value kind checks. A name whose group is not built yet is reported as
// skipped; the check of the groups' names below makes sure none is misspelt.
enum refused : char {
  none = 'n',      // the first value is not tested, or any kind passes
  integer = 'i',   // takes texts, dates or times: an integer is refused
  text = 's',      // takes numbers: a text is refused
};
struct registry_case {
  const char* name;
  int arity;  // -1: always false; -2: two or more
  refused first;
  // null: "unsupport type in function <name>\n"; "*": some message (its group's tests
  // hold the exact text)
  const char* message = nullptr;
};

void PrintTo(const registry_case& c, std::ostream* os) { *os << c.name; }

const std::vector<registry_case>& registry_cases() {
  static const std::vector<registry_case> cases = {
      {"x2i08", 1, none}, {"x2i16", 1, none}, {"x2i32", 1, none}, {"x2i64", 1, none},
      {"x2u08", 1, none}, {"x2u16", 1, none}, {"x2u32", 1, none}, {"x2u64", 1, none},
      {"x2flt", 1, none}, {"x2dbl", 1, none}, {"x2str", 1, none},
      {"x2date", 1, integer, "unsupport type in function x2date.\n"},
      {"x2time", 1, integer, "unsupport type in function x2time.\n"},
      {"x2datetime", 1, integer, "unsupport type in function x2datetime.\n"},
      {"raw2hex", 1, none}, {"hex2raw", 1, integer},
      {"sort", 1, none}, {"count", 1, none}, {"unique", 1, none}, {"count_unique", 1, none},
      {"sum", 1, none}, {"product", 1, none}, {"min", 1, none}, {"max", 1, none},
      {"min_k", 2, none}, {"max_k", 2, none}, {"avg", 1, text}, {"all_case", 1, integer},
      {"lcase", 1, integer}, {"ucase", 1, integer}, {"concat", 2, integer}, {"length", 1, integer},
      {"first_k", 2, none}, {"last_k", 2, none}, {"nth", 2, none},
      {"row_id", -1, none}, {"id", -1, none}, {"now_id", -1, none},
      {"hash_passwd", 1, integer}, {"range", 3, none}, {"first", 1, none}, {"last", 1, none},
      {"substr", 3, none}, {"replace", 4, integer, ""}, {"starts", 2, integer},
      {"contain", 2, integer}, {"ends", 2, integer}, {"find_first", 2, integer},
      {"find_last", 2, integer}, {"find_first_of", 2, integer}, {"find_last_of", 2, integer},
      {"reg_match", 2, integer, "unsupport function reg_match\n"}, {"fuzzy_match", -2, integer},
      {"trim_l", 1, integer, ""}, {"trim_r", 1, integer, ""}, {"trim", 1, integer, ""},
      {"abs", 1, text}, {"ceil", 1, text}, {"round", 1, text}, {"exp", 1, text},
      {"floor", 1, text}, {"pow", 2, text}, {"pi", 0, none}, {"e", 0, none},
      {"seq", 1, text}, {"constants", 2, none}, {"rand", 1, text}, {"var", 1, text},
      {"stddev", 1, text, "*"}, {"sqrt", 1, text}, {"log", 1, text}, {"log2", 1, text},
      {"log10", 1, text}, {"log1p", 1, text}, {"sin", 1, text}, {"cos", 1, text},
      {"tan", 1, text}, {"asin", 1, text}, {"acos", 1, text}, {"atan", 1, text},
      {"now", 0, none}, {"date", 0, none}, {"time", 0, none}, {"is_leap", 1, integer},
      {"last_day", 1, integer}, {"add_day", 2, integer}, {"add_nanosec", 2, integer},
      {"sub_day", 2, integer}, {"sub_nanosec", 2, integer}, {"day_diff", 2, integer},
      {"nanosec_diff", 2, integer}, {"year_of", 1, integer}, {"month_of", 1, integer, "unsupport type in function mouth_of\n"},
      {"day_of", 1, integer}, {"hour_of", 1, integer}, {"minute_of", 1, integer},
      {"second_of", 1, integer}, {"nanosec_of", 1, integer}, {"date_of", 1, integer},
      {"time_of", 1, integer}, {"weekday", 1, integer}, {"weekday_name", 1, integer},
      {"weekday_cname", 1, integer},
  };
  return cases;
}

TEST(sql_function_registry, the_case_table_is_the_library_list_in_its_order) {
  const auto& cases = registry_cases();
  ASSERT_EQ(cases.size(), grammar::sql::function_name_count);
  for (u64 i = 0; i < cases.size(); ++i) EXPECT_STREQ(cases[i].name, grammar::sql::function_names[i]);
}

TEST(sql_function_registry, every_group_name_is_a_library_name_registered_once) {
  std::set<std::string> library(grammar::sql::function_names,
                                grammar::sql::function_names + grammar::sql::function_name_count);
  std::set<std::string> seen;
  for (const functions::sql_function_def& d : functions::sql_function_defs()) {
    EXPECT_TRUE(library.count(d.name)) << d.name << " is not a library function name";
    EXPECT_TRUE(seen.insert(d.name).second) << d.name << " is registered twice";
  }
}

functions::column one_value(const val& v) {
  functions::column c;
  functions::column_push(c, v, 1);
  return c;
}

val int_value(i32 x) {
  val v;
  val_from_i32(v, x);
  return v;
}

val text_value(const char* s) {
  val v;
  val_from_bytes(v, s, std::strlen(s));
  return v;
}

struct outcome {
  bool ok;
  std::string printed;
  bool untouched;
};

// Calls the entry with n argument columns of one value each (the first one `first`) on a
// result holding one old value.
outcome call(functions::sql_function f, u64 n, const val& first) {
  std::vector<functions::column> args;
  for (u64 i = 0; i < n; ++i) args.push_back(one_value(i == 0 ? first : int_value(2)));
  functions::column result = one_value(text_value("old"));
  functions::column_list list{args.empty() ? nullptr : args.data(), args.size()};
  ::testing::internal::CaptureStdout();
  const bool ok = f(&lib(), &result, &list);
  std::string printed = ::testing::internal::GetCapturedStdout();
  const bool untouched = result.values.size == 1 && result.ids.size == 1 && result.ids[0] == 1 &&
                         val_equal(result.values[0], text_value("old"));
  return {ok, printed, untouched};
}

class registry_contract : public ::testing::TestWithParam<registry_case> {};

TEST_P(registry_contract, resolves_to_the_real_entry_with_its_checks) {
  const registry_case& c = GetParam();
  const functions::sql_function real = functions::find_sql_function(c.name);
  const functions::sql_function entry = function_map_find(lib().functions, c.name, std::strlen(c.name));
  EXPECT_EQ(entry, real) << "the library registers exactly the group's entry";
  if (!real) GTEST_SKIP() << c.name << ": pending, no entry in the function groups yet";

  if (c.arity == -1) {
    for (u64 n : {0, 1, 2}) EXPECT_FALSE(call(entry, n, int_value(1)).ok) << c.name << " always fails";
    for (const char* other : {"row_id", "id", "now_id"})
      EXPECT_EQ(function_map_find(lib().functions, other, std::strlen(other)), entry) << "one shared entry";
    return;
  }
  // Argument count: one too many (for "two or more", one too few) fails silently.
  const u64 wrong = c.arity == -2 ? 1 : u64(c.arity) + 1;
  const outcome w = call(entry, wrong, int_value(1));
  EXPECT_FALSE(w.ok) << c.name << " with " << wrong << " arguments";
  EXPECT_EQ(w.printed, "") << c.name;
  EXPECT_TRUE(w.untouched) << c.name;

  if (c.first == none) return;
  const u64 n = c.arity == -2 ? 2 : u64(c.arity);
  const outcome k = call(entry, n, c.first == integer ? int_value(7) : text_value("7"));
  const std::string message = c.message ? c.message : std::string("unsupport type in function ") + c.name + "\n";
  EXPECT_FALSE(k.ok) << c.name << " with a refused first value";
  if (c.message && std::string(c.message) == "*")
    EXPECT_NE(k.printed, "") << c.name;
  else
    EXPECT_EQ(k.printed, message) << c.name;
  EXPECT_TRUE(k.untouched) << c.name;
}

INSTANTIATE_TEST_SUITE_P(all_names, registry_contract, ::testing::ValuesIn(registry_cases()),
                         [](const ::testing::TestParamInfo<registry_case>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace kk
