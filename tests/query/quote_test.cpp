// Parsing entry points and the two quoting rules, each output read back by the grammar.
#include "grammar/sql_rules.h"
#include "query/sql_parse.h"
#include "tests/query/query_support.h"

using namespace query_test;
using kk::grammar::parse_node;

namespace {

// The bytes a bracketed name or a quoted text stands for: the body without its delimiters,
// each \xNN one byte. (Only the two forms the quoting writes.)
std::string unquote(std::string_view q, char open, char close) {
  if (q.size() < 2 || q.front() != open || q.back() != close) return std::string(q);
  std::string out;
  for (size_t i = 1; i + 1 < q.size(); ++i) {
    if (q[i] == '\\' && q[i + 1] == 'x') {
      out.push_back(char(std::stoi(std::string(q.substr(i + 2, 2)), nullptr, 16)));
      i += 3;
    } else {
      out.push_back(q[i]);
    }
  }
  return out;
}

// The text of the first node with the given id in the parse of the whole statement.
std::string node_text(const std::string& statement, kk::u16 id) {
  parse_node* tree = nullptr;
  const kk::u64 len = statement.size();
  const kk::u64 used = sql_parse_statement(kk::sql_library_instance(), statement.data(), &len, &tree);
  EXPECT_EQ(used, len) << statement;
  std::string found = "<none>";
  std::vector<const parse_node*> stack{tree};
  while (!stack.empty() && tree) {
    const parse_node* n = stack.back();
    stack.pop_back();
    if (n->id == id) {
      found.assign(n->start, n->length);
      break;
    }
    for (kk::u64 i = kk::grammar::child_count(n); i-- > 0;) stack.push_back(kk::grammar::child_at(n, i));
  }
  kk::grammar::grammar_free_tree(tree);
  return found;
}

struct quote_case {
  std::string in;
  std::string out;
};

TEST(quote_name, rules_in_order_and_read_back_by_the_grammar) {
  const quote_case cases[] = {
      {"abc", "abc"},
      {"_A9", "_A9"},
      {"select", "select"},
      {"a b", "[a b]"},
      {"1abc", "[1abc]"},
      {"2024", "[2024]"},
      {"a]b", "[\\x61\\x5d\\x62]"},
      {"[x", "[\\x5b\\x78]"},
      {"a\\b", "[\\x61\\x5c\\x62]"},
      {"l1\nl2", "[\\x6c\\x31\\x0a\\x6c\\x32]"},
      {"\xC3\xA9t\xC3\xA9", "[\xC3\xA9t\xC3\xA9]"},
      {"my table", "[my table]"},
      {"a\"b", "[a\"b]"},
      {"a-b.c", "[a-b.c]"},
      {"\xff", "[\\xff]"},  // no character: escaped, not bracketed
      {"\xF3\xB0\x80\x80", "[\\xf3\\xb0\\x80\\x80]"},  // U+F0000 lies beyond what a bracket body holds
      // Overlong forms (a line break, a closing bracket) and a surrogate are no characters.
      {"\xC0\x8A", "[\\xc0\\x8a]"},
      {"a\xC1\x9D", "[\\x61\\xc1\\x9d]"},
      {"\xE0\x81\x81", "[\\xe0\\x81\\x81]"},
      {"\xED\xA0\x80", "[\\xed\\xa0\\x80]"},
      // Where an expression may stand, a bare word that begins with true or false is read
      // as the boolean constant (and one that goes on after it stops the parse).
      {"true", "[true]"},
      {"false", "[false]"},
      {"trueval", "[trueval]"},
      {"false_2", "[false_2]"},
      {"True", "True"},
      {"untrue", "untrue"},
  };
  for (const auto& c : cases) {
    const std::string q = std_of(quote_name({c.in.data(), c.in.size()}));
    EXPECT_EQ(q, c.out) << c.in;
    EXPECT_EQ(unquote(node_text("drop table " + q + ";", kk::grammar::sql::id_table_name), '[', ']'), c.in);
    EXPECT_EQ(unquote(node_text("alter table t drop " + q + ";", kk::grammar::sql::id_field_name), '[', ']'), c.in);
    EXPECT_EQ(unquote(node_text("select " + q + ", x from t;", kk::grammar::sql::id_field_name), '[', ']'), c.in);
  }
  EXPECT_EQ(quote_name({"", 0}).size, 0u);
  kk::adt::string::string out = str("stale");
  quote_name(out, str("a b"));
  EXPECT_EQ(std_of(out), "[a b]");
}

TEST(quote_text, plain_or_escaped_and_read_back_by_the_grammar) {
  const quote_case cases[] = {
      {"it's", "\"it's\""},
      {"", "\"\""},
      {"a\"b", "\"\\x61\\x22\\x62\""},
      {"a\\b", "\"\\x61\\x5c\\x62\""},
      {"x\ny", "\"\\x78\\x0a\\x79\""},
      {"tab\there", "\"tab\there\""},
      {"\xE4\xB8\xAD\xE6\x96\x87", "\"\xE4\xB8\xAD\xE6\x96\x87\""},
      {"C:/data/a b.csv", "\"C:/data/a b.csv\""},
      {"\xC3", "\"\\xc3\""},
      {"\xC0\xA2", "\"\\xc0\\xa2\""},
      {"\xF0\x80\x80\x8A", "\"\\xf0\\x80\\x80\\x8a\""},
      {";", "\";\""},
  };
  for (const auto& c : cases) {
    const std::string q = std_of(quote_text({c.in.data(), c.in.size()}));
    EXPECT_EQ(q, c.out) << c.in;
    EXPECT_EQ(unquote(node_text("select " + q + ";", kk::grammar::sql::id_string), '"', '"'), c.in) << c.in;
  }
}

TEST(sql_parse_statement, reports_the_matched_length_or_where_it_stopped) {
  const std::string whole = "select * from t;";
  parse_node* tree = nullptr;
  kk::u64 len = whole.size();
  EXPECT_EQ(sql_parse_statement(kk::sql_library_instance(), whole.data(), &len, &tree), whole.size());
  ASSERT_NE(tree, nullptr);
  const parse_node* name = first_table_name_node(tree);
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(std::string(name->start, name->length), "t");
  kk::grammar::grammar_free_tree(tree);

  const std::string partial = "select * from t; select 2;";
  len = partial.size();
  EXPECT_LT(sql_parse_statement(kk::sql_library_instance(), partial.data(), &len, &tree), partial.size());
  kk::grammar::grammar_free_tree(tree);

  const std::string broken = "selec * from t;";
  len = broken.size();
  EXPECT_EQ(sql_parse_statement(kk::sql_library_instance(), broken.data(), &len, &tree), 0u);
  EXPECT_EQ(tree, nullptr);
  const std::string late = "select * from t where;";
  len = late.size();
  // The optional where clause does not match: the statement ends before it.
  EXPECT_EQ(sql_parse_statement(kk::sql_library_instance(), late.data(), &len, &tree), 16u);
  EXPECT_NE(tree, nullptr);
  kk::grammar::grammar_free_tree(tree);
}

TEST(sql_split_script, stops_at_the_first_statement_that_does_not_parse) {
  const std::string script = "show tables;\nselect * from a;\nselec * from b;\nshow tables;";
  kk::adt::vector<parse_node*> trees;
  const kk::u64 len = script.size();
  const kk::u64 used = sql_split_script(kk::sql_library_instance(), script.data(), &len, &trees);
  EXPECT_EQ(trees.size, 2u);
  EXPECT_EQ(used, script.find("selec *"));
  for (auto* t : trees) kk::grammar::grammar_free_tree(t);

  const kk::u64 zero = 0;
  EXPECT_EQ(sql_split_script(kk::sql_library_instance(), script.data(), &zero, &trees), 0u);
  const std::string all = "show tables;show tables;";
  const kk::u64 all_len = all.size();
  kk::adt::vector<parse_node*> two;
  EXPECT_EQ(sql_split_script(kk::sql_library_instance(), all.data(), &all_len, &two), all.size());
  EXPECT_EQ(two.size, 2u);
  for (auto* t : two) kk::grammar::grammar_free_tree(t);
}

}  // namespace
