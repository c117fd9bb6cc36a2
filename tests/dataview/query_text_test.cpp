// The data view's statement: fields, table, limit, filter and post text.
#include <gtest/gtest.h>

#include "dataview/view_query.h"
#include "grammar/library_startup.h"
#include "grammar/sql_grammar.h"
#include "grammar/sql_library.h"
#include "grammar/sql_rules.h"
#include "tests/dataview/whole_parse.h"

namespace dataview {
namespace {

struct query_case {
    const char* label;
    view_query q;
    const char* want;
};

view_query ab(std::string filter, bool limit_on = true, int limit = 1000, std::string post = {})
{
    return view_query{{"a", "b"}, "t", std::move(filter), limit_on, limit, std::move(post)};
}

TEST(view_query, statement_table)
{
    const query_case cases[] = {
        {"limit, nothing else", ab(""), "select a, b from t where first 1000;"},
        {"filter without limit", ab("a == 1", false), "select a, b from t where a == 1;"},
        {"limit, filter and post", ab("a == 1", true, 1000, "order by a asc"),
         "select a, b from t where first 1000 && a == 1 order by a asc;"},
        {"no field checked", view_query{{}, "t", "", true, 1000, ""}, "select  from t where first 1000;"},
        {"blank then tab is empty", ab(" \t", false), "select a, b from t;"},
        {"tab blank tab is not empty", ab("\t \t", false), "select a, b from t where \t \t;"},
        {"filter kept untrimmed", ab("  a == 1 ", true, 5), "select a, b from t where first 5 &&   a == 1 ;"},
        {"post of blanks is appended", ab("", true, 1000, "   "), "select a, b from t where first 1000    ;"},
        {"limit off, no filter", ab("", false), "select a, b from t;"},
        {"limit 5", ab("", true, 5), "select a, b from t where first 5;"},
        {"largest limit", ab("", true, 999999999), "select a, b from t where first 999999999;"},
        {"names quoted", view_query{{"a b", "1abc", "a]b", "x"}, "my table", "", true, 1000, ""},
         "select [a b], [1abc], [\\x61\\x5d\\x62], x from [my table] where first 1000;"},
        // A top-level "||" is wrapped so the limit binds every branch.
        {"or wrapped under the limit", ab("a == 1 || b == 2"),
         "select a, b from t where first 1000 && (a == 1 || b == 2);"},
        {"or kept without the limit", ab("a == 1 || b == 2", false), "select a, b from t where a == 1 || b == 2;"},
        {"or in parentheses kept", ab("(a == 1 || b == 2) && a == 3"),
         "select a, b from t where first 1000 && (a == 1 || b == 2) && a == 3;"},
        {"or in a string kept", ab("s == \"x||y\""), "select a, b from t where first 1000 && s == \"x||y\";"},
        {"or in an escaped string kept", ab("s == \"x\\\"||\""), "select a, b from t where first 1000 && s == \"x\\\"||\";"},
        {"or in a name kept", ab("[a||b] == 1"), "select a, b from t where first 1000 && [a||b] == 1;"},
        {"or in a character kept", ab("c == '|' && c == '|'"),
         "select a, b from t where first 1000 && c == '|' && c == '|';"},
        {"or in a block comment kept", ab("a == 1 /* || b == 2 */"),
         "select a, b from t where first 1000 && a == 1 /* || b == 2 */;"},
        {"or before a line comment: closing on a new line", ab("a == 1 || b == 2 # both"),
         "select a, b from t where first 1000 && (a == 1 || b == 2 # both\n);"},
        {"or after a line comment line", ab("a == 1 // x\n|| b == 2"),
         "select a, b from t where first 1000 && (a == 1 // x\n|| b == 2);"},
        {"unbalanced filter left to fail", ab("a == 1) || (b == 2"),
         "select a, b from t where first 1000 && a == 1) || (b == 2;"},
        {"a range clause or-merged", ab("a == 7 ||  first"), "select a, b from t where first 1000 && (a == 7 ||  first);"},
    };
    for (const auto& c : cases) EXPECT_EQ(query_text(c.q), c.want) << c.label;
    EXPECT_EQ(query_text(ab("a == 1"), false), "select a, b from t where first 1000 && a == 1") << "export form";
}

// Counts the and-branches of the statement's top-level where condition: 1 means the
// limit binds the whole filter.
kk::u64 top_level_branches(const kk::grammar::parse_node* root)
{
    using namespace kk::grammar;
    parse_id_set where_ids;
    where_ids.add(sql::id_where_or_expr);
    kk::adt::vector<parse_node*> ors{};
    collect_nodes_by_id(root, &ors, &where_ids);
    if (ors.size == 0) return 0;
    parse_id_set and_ids;
    and_ids.add(sql::id_where_and_expr);
    kk::adt::vector<parse_node*> ands{};
    collect_nodes_by_id(ors.data[0], &ands, &and_ids);
    const kk::u64 n = ands.size;
    return n;
}

TEST(view_query, every_limited_statement_parses_and_the_limit_binds_the_whole_filter)
{
    if (!kk::sql_library_instance()) kk::library_startup();
    const kk::sql_library* lib = kk::sql_library_instance();
    ASSERT_NE(lib, nullptr);
    const char* filters[] = {
        "a == 1", "a == 1 || b == 2", "a == 1 && b == 2 || a == 3", "(a == 1 || b == 2)",
        "a == 1 || b == 2 # c", "a == 1 ||  first", " first || a max 3", "s == \"x||y\" || a < 2",
        "a == 1 // c\n|| b == 2 /* || */",
    };
    for (const char* f : filters) {
        const std::string text = query_text(ab(f, true, 10, "order by a asc"));
        kk::grammar::text_parse p = kk::grammar::parse_text(&lib->grammar, text.data(), text.size());
        EXPECT_TRUE(p.complete) << text << " stops at " << p.error;
        if (p.tree) {
            EXPECT_EQ(top_level_branches(p.tree), 1u) << text;
        }
        kk::grammar::grammar_free_tree(p.tree);
    }
}

}  // namespace

bool test::parses_whole(const std::string& text, std::string* where)
{
    if (!kk::sql_library_instance()) kk::library_startup();
    const kk::sql_library* lib = kk::sql_library_instance();
    kk::grammar::text_parse p = kk::grammar::parse_text(&lib->grammar, text.data(), text.size());
    kk::grammar::grammar_free_tree(p.tree);
    if (where) *where = std::to_string(p.error);
    return p.complete;
}

}  // namespace dataview
