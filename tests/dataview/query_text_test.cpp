// The data view's statement: fields, table, limit, filter and post text.
#include <gtest/gtest.h>

#include "dataview/view_query.h"
#include "query/transfer_sql.h"
#include "sqllib/library_startup.h"
#include "grammar/sql_grammar.h"
#include "sqllib/sql_library.h"
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
    if (!kk::sql_library_instance()) kk::library_startup();  // the program starts it before any view
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
        {"or before a line comment: the comment stays after the condition", ab("a == 1 || b == 2 # both"),
         "select a, b from t where first 1000 && (a == 1 || b == 2) # both\n;"},
        {"or after a line comment line", ab("a == 1 // x\n|| b == 2"),
         "select a, b from t where first 1000 && (a == 1 // x\n|| b == 2);"},
        {"or after a raw string holding a quote and a parenthesis", ab("s == @\"(\")\" || b == 1", true, 2),
         "select a, b from t where first 2 && (s == @\"(\")\" || b == 1);"},
        {"or after a character quote", ab("c == '\\'' || b == 1", true, 2),
         "select a, b from t where first 2 && (c == '\\'' || b == 1);"},
        {"or after the older character quote", ab("c == ''' || b == 1", true, 2),
         "select a, b from t where first 2 && (c == ''' || b == 1);"},
        {"or inside parentheses of a raw string kept", ab("s == @\"(||)\" && b == 1"),
         "select a, b from t where first 1000 && s == @\"(||)\" && b == 1;"},
        {"a filter's line comment ends before the post text", ab("a == 1 # just the first", true, 1000, "order by a desc"),
         "select a, b from t where first 1000 && a == 1 # just the first\n order by a desc;"},
        {"the same without the limit", ab("a == 1 // x", false, 1000, "order by a desc"),
         "select a, b from t where a == 1 // x\n order by a desc;"},
        {"a post text's line comment ends before the semicolon", ab("", true, 1000, "order by a desc // newest first"),
         "select a, b from t where first 1000 order by a desc // newest first\n;"},
        {"a comment already ended stays", ab("a == 1 # x\n", false), "select a, b from t where a == 1 # x\n;"},
        {"a block comment at the end stays", ab("a == 1 /* x */", false), "select a, b from t where a == 1 /* x */;"},
        {"a # in a string is no comment", ab("s == \"a # b\"", false), "select a, b from t where s == \"a # b\";"},
        {"a // in a name is no comment", ab("[a // b] == 1", false), "select a, b from t where [a // b] == 1;"},
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

// True when the tree holds a node of the id.
bool holds(const kk::grammar::parse_node* root, kk::u16 id) { return kk::grammar::tree_contains_id(&id, root); }

TEST(view_query, every_assembled_statement_parses_whole_with_its_post_text_and_export_clause)
{
    if (!kk::sql_library_instance()) kk::library_startup();
    const kk::sql_library* lib = kk::sql_library_instance();
    const char* filters[] = {"", "a == 1", "a == 1 # just the first", "a == 1 // x", "a == 1 || b == 2 # both",
                             "a == 1 #", "a == 1 /* c */", "a == 1 # c\n", "s == \"#\" // c"};
    const char* posts[] = {"", "order by a desc", "order by a desc // newest first", "order by a desc # x",
                           "first 3 /* x */", "order by a desc #"};
    for (const char* f : filters) {
        for (const char* p : posts) {
            for (bool limit : {true, false}) {
                const view_query q = ab(f, limit, 10, p);
                // The grid's own select: the post text is really a post step of the statement.
                const std::string text = query_text(q);
                kk::grammar::text_parse parsed = kk::grammar::parse_text(&lib->grammar, text.data(), text.size());
                EXPECT_TRUE(parsed.complete) << text << " stops at " << parsed.error;
                if (parsed.tree && *p) {
                    EXPECT_TRUE(holds(parsed.tree, kk::grammar::sql::id_dataset_post)) << text;
                }
                if (parsed.tree && !filter_is_empty(f)) {
                    EXPECT_TRUE(holds(parsed.tree, kk::grammar::sql::id_where_cond)) << text;
                }
                kk::grammar::grammar_free_tree(parsed.tree);
                // The export of the same view: its clause is a clause, not part of a comment.
                for (bool client : {false, true}) {
                    const kk::adt::string::string e =
                        export_statement(kk::adt::string_from_std(query_text(q, false)), kk::adt::string_from_cstr("o.csv"),
                                         true, kk::adt::string_from_cstr(","), false, client);
                    const std::string exp(e.data, e.size);
                    kk::grammar::text_parse pe = kk::grammar::parse_text(&lib->grammar, exp.data(), exp.size());
                    EXPECT_TRUE(pe.complete) << exp << " stops at " << pe.error;
                    if (pe.tree) {
                        EXPECT_TRUE(holds(pe.tree, kk::grammar::sql::id_export)) << exp;
                    }
                    kk::grammar::grammar_free_tree(pe.tree);
                }
            }
        }
    }
}

TEST(view_query, every_limited_statement_parses_and_the_limit_binds_the_whole_filter)
{
    if (!kk::sql_library_instance()) kk::library_startup();
    const kk::sql_library* lib = kk::sql_library_instance();
    ASSERT_NE(lib, nullptr);
    const char* filters[] = {
        "a == 1", "a == 1 || b == 2", "a == 1 && b == 2 || a == 3", "(a == 1 || b == 2)",
        "a == 1 || b == 2 # c", "a == 1 ||  first", " first || a max 3", "s == \"x||y\" || a < 2",
        "a == 1 // c\n|| b == 2 /* || */", "s == @\"(\")\" || b == 1", "c == '\\'' || b == 1", "c == ''' || b == 1",
        "s == @\"x(\"||\")x\" || b == 1", "/* lead */ a == 1 || b == 2", "(a == 1) || (b == 2) # end",
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
