// The manual's sources against the program: every statement, clause and function of the
// grammar and the registry has an entry in every language and an example in the reference,
// and every example parses whole with the program's grammar and shows what it documents.
// The generator's own checks are tried on sources and grammars that lack something.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "docs/manual/manual_gen.h"
#include "grammar/sql_grammar_text.h"

namespace {

using namespace ruv::manual;

std::string read(const std::string& name) {
  std::ifstream f(std::string(RUV_MANUAL_SOURCE_DIR) + "/" + name, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

const char* const languages[] = {"en", "zh", "fr", "ja"};

std::string joined(const std::vector<std::string>& v) {
  std::string out;
  for (const std::string& s : v) out += "\n  " + s;
  return out;
}

bool mentions(const std::vector<std::string>& problems, const std::string& part) {
  for (const std::string& p : problems)
    if (p.find(part) != std::string::npos) return true;
  return false;
}

class manual_source : public testing::Test {
 protected:
  static dialect* d;
  static reference* ref;
  static void SetUpTestSuite() {
    d = new dialect;
    ref = new reference(read_reference(read("examples.txt")));
  }
  static void TearDownTestSuite() {
    delete ref;
    delete d;
  }
};
dialect* manual_source::d = nullptr;
reference* manual_source::ref = nullptr;

TEST_F(manual_source, the_reference_covers_the_program_and_its_examples_parse) {
  ASSERT_TRUE(d->ok());
  ASSERT_FALSE(ref->all.empty());
  const std::vector<std::string> p = reference_problems(*ref, *d);
  EXPECT_TRUE(p.empty()) << joined(p);
}

TEST_F(manual_source, every_language_documents_every_statement_clause_and_function) {
  for (const char* lang : languages) {
    const std::string text = read(std::string(lang) + ".md");
    ASSERT_FALSE(text.empty()) << lang;
    const document doc = render(text, *ref, *d);
    const std::vector<std::string> p = source_problems(doc, *ref, *d);
    EXPECT_TRUE(p.empty()) << lang << ".md:" << joined(p);
    EXPECT_FALSE(doc.title.empty()) << lang;
  }
}

// The translations keep the English source's outline: the same number of chapters and
// sections, and every entry in the same order (a reader can follow one beside the other).
TEST_F(manual_source, translations_follow_the_english_outline) {
  const document en = render(read("en.md"), *ref, *d);
  for (const char* lang : {"zh", "fr", "ja"}) {
    const document t = render(read(std::string(lang) + ".md"), *ref, *d);
    ASSERT_EQ(t.headings.size(), en.headings.size()) << lang;
    for (std::size_t i = 0; i < en.headings.size(); ++i)
      EXPECT_EQ(t.headings[i].level, en.headings[i].level) << lang << ": " << t.headings[i].text;
    ASSERT_EQ(t.entries.size(), en.entries.size()) << lang;
    for (std::size_t i = 0; i < en.entries.size(); ++i)
      EXPECT_EQ(t.entries[i].kind + " " + t.entries[i].name, en.entries[i].kind + " " + en.entries[i].name) << lang;
    EXPECT_EQ(t.examples_used, en.examples_used) << lang;
  }
}

// The statements are what the start rule chooses among; the clauses are the keyword rules a
// statement reaches. Both lists follow the grammar: a grown grammar grows them.
TEST_F(manual_source, statements_and_clauses_come_from_the_grammar) {
  auto has = [](const std::vector<std::string>& v, const char* s) {
    return std::find(v.begin(), v.end(), s) != v.end();
  };
  for (const char* s : {"select", "insert", "create", "dcl", "show_tabs", "atom_exec", "backup", "import"})
    EXPECT_TRUE(has(d->statements(), s)) << s;
  for (const char* s : {"where", "order", "export", "expand_h", "line_range_expr", "group", "into_expr"})
    EXPECT_TRUE(has(d->clauses(), s)) << s;
  // Choosing rules and operands are neither.
  for (const char* s : {"sql", "ddl", "dml", "dataset_post", "filter", "exprs", "table_name", "agn_expr", "bool"}) {
    EXPECT_FALSE(has(d->statements(), s)) << s;
    EXPECT_FALSE(has(d->clauses(), s)) << s;
  }
  EXPECT_EQ(d->functions().size(), 103u);

  // A statement and a post-processing clause added to the grammar: both become entries that
  // every manual must have.
  std::string text = kk::grammar::sql::grammar_text();
  const auto put = [&](const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  };
  put("fields_of | show_tabs )", "fields_of | show_tabs | vacuum )");
  put("(order|filter|group|project|recompute|rename)", "(order|filter|group|project|recompute|rename|sample)");
  text += "vacuum = 'vacuum', igs, table_name;\nsample = 'sample', igs, uint_dec;\n";
  const dialect grown(text);
  ASSERT_TRUE(grown.ok());
  EXPECT_TRUE(has(grown.statements(), "vacuum"));
  EXPECT_TRUE(has(grown.clauses(), "sample"));
  const document en = render(read("en.md"), *ref, grown);
  const std::vector<std::string> p = source_problems(en, *ref, grown);
  EXPECT_TRUE(mentions(p, "statement vacuum has no entry")) << joined(p);
  EXPECT_TRUE(mentions(p, "clause sample has no entry")) << joined(p);
  const std::vector<std::string> r = reference_problems(*ref, grown);
  EXPECT_TRUE(mentions(r, "rule vacuum has no example")) << joined(r);
  EXPECT_EQ(grown.syntax_text("vacuum"), "vacuum table_name");
}

// The syntax shown: blanks and comments left out, keywords and signs as written, other
// rules by name, [optional], {repeated}, {at least once}+, alternatives in parentheses
// where they stand among other items.
TEST_F(manual_source, syntax_is_the_grammar_without_its_blanks) {
  struct row {
    const char* rule;
    const char* syntax;
  };
  const row rows[] = {
      {"select", "select_one {(expand_h | expand_v) {dataset_post}} [export]"},
      {"delete", "delete from table_name where"},
      {"where", "[where where_cond]"},
      {"order", "order by field_name {, field_name} (asc | desc | rand)"},
      {"insert",
       "insert into table_name ( field_name {, field_name} ) (select | values {[,] ( constant_expr {, constant_expr} )}+)"},
      {"agn_expr", "field_name [% | & | * | + | - | / | ^ | | | >> | <<] = expr"},
      {"esc_uni", "u 4{hex_digit}4 | U 8{hex_digit}8"},
      {"sql", "ddl | dml | dcl"},
      {"no_such_rule", ""},
  };
  for (const row& r : rows) EXPECT_EQ(d->syntax_text(r.rule), r.syntax) << r.rule;
  // Rule names link into the grammar summary; signs are escaped.
  const std::string h = d->syntax_html("expand_h", "g-");
  EXPECT_NE(h.find("<a href=\"#g-select_one\"><i>select_one</i></a>"), std::string::npos) << h;
  EXPECT_NE(h.find("<b>==</b>"), std::string::npos) << h;
  EXPECT_NE(d->syntax_html("rlt_expr", "").find("<b>&gt;</b>"), std::string::npos);
}

// What the checks catch, each on a small source or reference that lacks one thing.
TEST_F(manual_source, the_checks_name_what_is_missing_or_wrong) {
  const std::string en = read("en.md");
  struct row {
    const char* what;
    std::string source;     // en.md changed
    std::string reference;  // examples.txt changed
    const char* problem;    // a part of the problem reported
  };
  auto without = [](std::string s, const std::string& part) {
    const std::size_t at = s.find(part);
    if (at != std::string::npos) s.erase(at, part.size());
    return s;
  };
  const std::string ex = read("examples.txt");
  const row rows[] = {
      {"a function without an entry", without(en, "@function trim_l\n"), ex, "function trim_l has no entry"},
      {"a statement without an entry", without(en, "@statement truncate truncate table\n"), ex,
       "statement truncate has no entry"},
      {"an entry written twice", en + "\n@function pi\nAgain.\n", ex, "function pi has 2 entries"},
      {"an entry without a description", without(en, "The constant π, 3.141592653589793.\n"), ex,
       "function pi has no description"},
      {"an entry the program lacks", en + "\n@function no_such_fn\nText.\n", ex,
       "@function no_such_fn: the program has no such function"},
      {"an unknown example", en + "\n@example no_such_example\n", ex, "no example no_such_example"},
      {"a code block of its own", en + "\n    select 1;\n", ex, "a code block in the source"},
      {"a label missing", without(en, "@label type-of type of %1\n"), ex, "no @label type-of"},
      {"an example not shown", en, ex + "\nexample unused\n    select 1;\n", "example unused of the reference is not shown"},
  };
  for (const row& r : rows) {
    const reference rf = read_reference(r.reference);
    const std::vector<std::string> p = source_problems(render(r.source, rf, *d), rf, *d);
    EXPECT_TRUE(mentions(p, r.problem)) << r.what << ":" << joined(p);
  }

  struct ref_row {
    const char* what;
    std::string reference;
    const char* problem;
  };
  const ref_row ref_rows[] = {
      {"an example that does not parse", ex + "\nrule select\n    SELECT name FROM customers;\n",
       "does not parse whole"},
      {"a function example that calls another", ex + "\nfunction sin(x) -> double\n    select cos(1);\n",
       "does not call sin"},
      {"a rule example without that rule", ex + "\nrule order\n    select name from customers;\n", "holds no order"},
      {"a function the library lacks", ex + "\nfunction no_such_fn(x) -> u08\n    select 1;\n",
       "function no_such_fn, which the library does not register"},
      {"a function without a call form", without(ex, "function seq(n) -> u64\n    select seq(5);\n"),
       "function seq has no call form"},
      {"a malformed call form", ex + "\nfunction broken -> u08\n", "not \"function name(args) -> result\""},
      {"a rule that is no statement", ex + "\nrule igs\n    select 1;\n", "rule igs, which is no statement or clause"},
  };
  for (const ref_row& r : ref_rows) {
    const std::vector<std::string> p = reference_problems(read_reference(r.reference), *d);
    EXPECT_TRUE(mentions(p, r.problem)) << r.what << ":" << joined(p);
  }
}

// The README's primer: each of its example lines is one statement the grammar reads whole.
TEST_F(manual_source, the_readme_primer_parses) {
  std::ifstream f(RUV_README, std::ios::binary);
  std::string line;
  bool in_primer = false;
  int statements = 0;
  while (std::getline(f, line)) {
    if (line.rfind("## ", 0) == 0) in_primer = line == "## The SQL dialect in brief";
    if (!in_primer || line.rfind("    ", 0) != 0) continue;
    const std::string text = line.substr(4);
    const dialect::parse_outcome p = d->parse(text);
    EXPECT_TRUE(p.complete) << "stops at " << p.end << ": " << text;
    ++statements;
  }
  EXPECT_GT(statements, 0) << "no primer in the README";
}

// The reference's layout: four blanks start an example, more blanks continue it, an empty
// line separates two.
TEST(manual_reference, examples_are_runs_of_indented_lines) {
  const reference r = read_reference(
      "# comment\n"
      "function f(a, b) -> @a | double\n"
      "    select f(1,\n"
      "        2);\n"
      "\n"
      "    select f(3, 4);\n"
      "rule select\n"
      "    select 1;\n"
      "example x\n"
      "    select 2;\n");
  EXPECT_TRUE(r.errors.empty()) << joined(r.errors);
  ASSERT_EQ(r.functions.size(), 1u);
  EXPECT_EQ(r.functions[0].args, "a, b");
  EXPECT_EQ(r.functions[0].result, "@a | double");
  ASSERT_EQ(r.functions[0].examples.size(), 2u);
  EXPECT_EQ(r.functions[0].examples[0], "select f(1,\n    2);");
  EXPECT_EQ(r.rules.at("select"), std::vector<std::string>{"select 1;"});
  EXPECT_EQ(r.named.at("x"), "select 2;");
  EXPECT_EQ(r.all.size(), 4u);
}

}  // namespace
