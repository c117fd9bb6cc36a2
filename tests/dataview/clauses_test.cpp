// Filter and post-processing clauses from the current cell, their merge, and the property
// that every statement they lead to parses whole with the program's SQL grammar.
#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include "cells/item_dlgt.h"
#include "dataview/clauses.h"
#include "dataview/view_query.h"
#include "query/calendar_value.h"
#include "tests/dataview/whole_parse.h"

namespace dataview {
namespace {

using test::parses_whole;

// Starts the grammar, which the literal checks use.
void lib() { parses_whole("show tables;"); }

cell_input cell(std::string field, std::string text, std::string type, QVariant value = {})
{
    return {std::move(field), std::move(text), std::move(type), std::move(value)};
}

// --- the Parts' examples, written out -------------------------------------------------------

TEST(filter_clause, examples)
{
    lib();
    const auto num7 = cell("a", "7", "i32", 7);
    EXPECT_EQ(merge_filter(filter_kind::eq, "b > 2", filter_clause(filter_kind::eq, num7).text, filter_merge::replace).text,
              "a == 7");
    EXPECT_EQ(merge_filter(filter_kind::le, "", filter_clause(filter_kind::le, cell("b", "9", "i32", 9)).text,
                           filter_merge::and_).text,
              "b <= 9");
    EXPECT_EQ(merge_filter(filter_kind::le, "a == 7", filter_clause(filter_kind::le, cell("b", "9", "i32", 9)).text,
                           filter_merge::and_).text,
              "a == 7 && b <= 9");
    EXPECT_EQ(merge_filter(filter_kind::fst, "a == 7", filter_clause(filter_kind::fst, num7).text, filter_merge::or_).text,
              "a == 7 ||  first");
    EXPECT_EQ(merge_filter(filter_kind::eq, "x", "a == 7", filter_merge::none).text, "a == 7");
    // "filter this" always replaces, "append filter" always joins with " && ".
    EXPECT_EQ(merge_filter(filter_kind::this_cell, "x", filter_clause(filter_kind::this_cell, num7).text,
                           filter_merge::or_).text,
              "a==7");
    EXPECT_EQ(merge_filter(filter_kind::append_cell, "x", filter_clause(filter_kind::append_cell, num7).text,
                           filter_merge::replace).text,
              "x && a==7");
    EXPECT_EQ(merge_filter(filter_kind::append_cell, "", "a==7", filter_merge::or_).text, "a==7");
}

TEST(filter_clause, clause_of_every_builder)
{
    lib();
    const auto n = cell("a", "7", "i32", 7);
    const auto s = cell("s", "it's", "string", QString("it's"));
    const auto d = cell("d", "2019-04-23", "date", QDate(2019, 4, 23));
    struct row {
        filter_kind kind;
        const char* number;
        const char* string;
        const char* date;
    };
    const row rows[] = {
        {filter_kind::eq, "a == 7", "s == \"it's\"", "d == \"2019-04-23\""},
        {filter_kind::nq, "a != 7", "s != \"it's\"", "d != \"2019-04-23\""},
        {filter_kind::lt, "a < 7", "s < \"it's\"", "d < \"2019-04-23\""},
        {filter_kind::le, "a <= 7", "s <= \"it's\"", "d <= \"2019-04-23\""},
        {filter_kind::gt, "a > 7", "s > \"it's\"", "d > \"2019-04-23\""},
        {filter_kind::ge, "a >= 7", "s >= \"it's\"", "d >= \"2019-04-23\""},
        {filter_kind::ltgt, "1 < a < 3", "\"1\" < s < \"3\"", "\"1\" < d < \"3\""},
        {filter_kind::legt, "1 < a <= 3", "\"1\" < s <= \"3\"", "\"1\" < d <= \"3\""},
        {filter_kind::ltge, "1 <= a < 3", "\"1\" <= s < \"3\"", "\"1\" <= d < \"3\""},
        {filter_kind::lege, "1 <= a <= 3", "\"1\" <= s <= \"3\"", "\"1\" <= d <= \"3\""},
        {filter_kind::min, "a min", "s min", "d min"},
        {filter_kind::max, "a max", "s max", "d max"},
        {filter_kind::min_k, "a min 3", "s min 3", "d min 3"},
        {filter_kind::max_k, "a max 3", "s max 3", "d max 3"},
        {filter_kind::in_set, "a in (1, 2, 3)", "s in (1, 2, 3)", "d in (1, 2, 3)"},
        {filter_kind::in_tab, "a in (select id from tab where id min 3)", "s in (select id from tab where id min 3)",
         "d in (select id from tab where id min 3)"},
        {filter_kind::fst, " first", " first", " first"},
        {filter_kind::lst, " last", " last", " last"},
        {filter_kind::fst_k, " first 3", " first 3", " first 3"},
        {filter_kind::lst_k, " last 3", " last 3", " last 3"},
        {filter_kind::nth_k, " nth 3", " nth 3", " nth 3"},
        {filter_kind::range, " range 2 5", " range 2 5", " range 2 5"},
        {filter_kind::this_cell, "a==7", "s==\"it's\"", "d==\"2019-04-23\""},
        {filter_kind::append_cell, "a==7", "s==\"it's\"", "d==\"2019-04-23\""},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(filter_clause(r.kind, n).text, r.number) << int(r.kind);
        EXPECT_EQ(filter_clause(r.kind, s).text, r.string) << int(r.kind);
        EXPECT_EQ(filter_clause(r.kind, d).text, r.date) << int(r.kind);
    }
}

TEST(value_literal, literal_of_cell_texts_the_grammar_does_not_take)
{
    lib();
    struct row {
        const char* label;
        std::string text, type;
        QVariant value;
        std::string want;
        literal_problem problem;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const row rows[] = {
        {"grouped binary u08", "0b1100 1000", "u08", 200, "200", literal_problem::none},
        {"grouped decimal u08 stays", "200", "u08", 200, "200", literal_problem::none},
        {"hex as shown", "0xc8", "u08", 200, "0xc8", literal_problem::none},
        {"signed and suffixed as shown", "+0xc8u1", "u08", 200, "+0xc8u1", literal_problem::none},
        {"binary i64 as shown", "-0b1", "i64", qlonglong(-1), "-0b1", literal_problem::none},
        {"u64 beyond i64", "1 8446744073709551615", "u64", qulonglong(18446744073709551615ull),
         "18446744073709551615", literal_problem::none},
        {"i64 minimum", "-9223372036854775808 x", "i64", qlonglong(std::numeric_limits<qlonglong>::min()),
         "-9223372036854775808", literal_problem::none},
        {"double by its value, not its 17 decimals", "1.50000000000000000", "double", 1.5, "1.5", literal_problem::none},
        {"float beyond its 9 decimals", "0.001234568", "float", QVariant(0.00123456789f), "0.0012345678f",
         literal_problem::none},
        {"tiny float", "0.000000000", "float", QVariant(1e-10f), "1e-10f", literal_problem::none},
        {"float subnormal", "0.000000000", "float", QVariant(1.4e-45f), "1e-45f", literal_problem::none},
        {"double subnormal", "0.00000000000000000", "double", 4.9e-324, "5e-324", literal_problem::none},
        {"negative zero stays a float", "-0.00000000000000000", "double", -0.0, "-0.0", literal_problem::none},
        {"whole double stays a float", "2.00000000000000000", "double", 2.0, "2.0", literal_problem::none},
        {"double max", "", "double", 1.7976931348623157e308, "1.7976931348623157e+308", literal_problem::none},
        {"zero date", "0000-00-00", "date", calendar_variant(calendar_kind::date, {0, 0, 0}), "\"0000-00-00\"",
         literal_problem::none},
        {"time finer than the grid", "23:59:59.999", "time",
         calendar_variant(calendar_kind::time, {0, 0, 0, 23, 59, 59, 999999999}), "\"23:59:59.999999999\"",
         literal_problem::none},
        {"double nan", "nan", "double", nan, "", literal_problem::not_a_number},
        {"double inf", "inf", "double", inf, "", literal_problem::infinite},
        {"double -inf", "-inf", "double", -inf, "", literal_problem::infinite},
        {"float nan", "nan", "float", QVariant(std::numeric_limits<float>::quiet_NaN()), "",
         literal_problem::not_a_number},
        {"double not shown as a constant", "1,5", "double", 1.5, "1.5", literal_problem::none},
        {"string with a quote", "a\"b", "string", QString("a\"b"), "\"\\x61\\x22\\x62\"", literal_problem::none},
        {"string beyond the grammar's characters", "\xf3\xa0\x81\xa1", "string", QString(), "\"\\xf3\\xa0\\x81\\xa1\"",
         literal_problem::none},
        {"string in the grammar's characters", "\xe4\xb8\xad", "string", QString(), "\"\xe4\xb8\xad\"",
         literal_problem::none},
        {"time by the value library's text", "18:00:00.000", "time", QTime(18, 0), "\"18:00:00\"", literal_problem::none},
        {"datetime", "2019-04-23 10:11:12.500", "datetime", QDateTime(QDate(2019, 4, 23), QTime(10, 11, 12, 500)),
         "\"2019-04-23 10:11:12.5\"", literal_problem::none},
        {"fixed operand on a date", "1", "date", QVariant(), "\"1\"", literal_problem::none},
        {"fixed operand on a number", "3", "double", QVariant(), "3", literal_problem::none},
    };
    for (const auto& r : rows) {
        const literal l = value_literal(r.text, r.type, r.value);
        EXPECT_EQ(l.text, r.want) << r.label;
        EXPECT_EQ(l.problem, r.problem) << r.label;
    }
    // A NaN cell gives no comparison, but the clauses that do not take the value stay.
    const auto c = cell("d", "nan", "double", nan);
    EXPECT_EQ(filter_clause(filter_kind::eq, c).problem, literal_problem::not_a_number);
    EXPECT_EQ(filter_clause(filter_kind::this_cell, c).text, "");
    EXPECT_EQ(filter_clause(filter_kind::max_k, c).text, "d max 3");
    EXPECT_EQ(filter_clause(filter_kind::lege, c).text, "1 <= d <= 3");
}

TEST(post_clause, clause_of_every_builder)
{
    lib();
    struct row {
        post_kind kind;
        const char* plain;
        const char* quoted;
    };
    const row rows[] = {
        {post_kind::asc, "order by price asc", "order by [a b] asc"},
        {post_kind::dsc, "order by price desc", "order by [a b] desc"},
        {post_kind::prj, "project price", "project [a b]"},
        {post_kind::epj, "project except price", "project except [a b]"},
        {post_kind::ren, "rename price newname", "rename [a b] newname"},
        {post_kind::com, "recompute price += 1", "recompute [a b] += 1"},
        {post_kind::grp, "group sum(price) by id, name", "group sum([a b]) by id, name"},
        {post_kind::fst, "first", "first"},
        {post_kind::lst, "last", "last"},
        {post_kind::fst_k, "first 3", "first 3"},
        {post_kind::lst_k, "last 3", "last 3"},
        {post_kind::nth_k, "nth 2", "nth 2"},
        {post_kind::range, "range 2 5", "range 2 5"},
        {post_kind::line_inr, "inner on price== 10", "inner on [a b]== 10"},
        {post_kind::line_adj, "adj on price > _price + 10", "adj on [a b] > [_a b] + 10"},
        {post_kind::line_int, "all_each on price== _price", "all_each on [a b]== [_a b]"},
        {post_kind::exts, "exists (select id from tab where id == nid)", "exists (select id from tab where id == nid)"},
        {post_kind::nxts, "not exists (select id from tab where id == nid)",
         "not exists (select id from tab where id == nid)"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(post_clause(r.kind, "price").text, r.plain) << int(r.kind);
        EXPECT_EQ(post_clause(r.kind, "a b").text, r.quoted) << int(r.kind);
    }
    EXPECT_EQ(post_clause(post_kind::line_adj, "1x").text, "adj on [1x] > _1x + 10");
}

TEST(post_clause, merge)
{
    EXPECT_EQ(merge_post("", "order by price asc", post_merge::append).text, "order by price asc");
    EXPECT_EQ(merge_post("order by price asc", "first 3", post_merge::append).text, "order by price asc first 3");
    EXPECT_EQ(merge_post("typed text", "first 3", post_merge::replace).text, "first 3");
    EXPECT_EQ(merge_post("typed text", "first 3", post_merge::none).text, "first 3");
}

// A clause merged onto a text that ends in a line comment starts on a line of its own: it
// stands in the statement, instead of running on inside the comment and being dropped.
TEST(merge, a_text_ending_in_a_line_comment_keeps_the_clause_out_of_it)
{
    lib();
    struct filter_case {
        std::string current;
        filter_kind kind;
        filter_merge mode;
        std::string want;
    };
    const filter_case filters[] = {
        {"a == 1 # the first", filter_kind::le, filter_merge::and_, "a == 1 # the first\n && b <= 9"},
        {"a == 1 // the first", filter_kind::le, filter_merge::or_, "a == 1 // the first\n || b <= 9"},
        {"a == 1 # the first", filter_kind::append_cell, filter_merge::replace, "a == 1 # the first\n && b==9"},
        {"a == 1 # ended\n", filter_kind::le, filter_merge::and_, "a == 1 # ended\n && b <= 9"},
        {"s == \"# no comment\"", filter_kind::le, filter_merge::and_, "s == \"# no comment\" && b <= 9"},
    };
    for (const auto& f : filters) {
        const std::string joined = merge_filter(f.kind, f.current, filter_clause(f.kind, cell("b", "9", "i32", 9)).text, f.mode).text;
        EXPECT_EQ(joined, f.want) << f.current;
        view_query q{{"a", "b"}, "t", joined, false, 1000, ""};
        EXPECT_TRUE(parses_whole(query_text(q))) << query_text(q);
    }
    EXPECT_EQ(merge_post("order by a asc # newest", "first 3", post_merge::append).text, "order by a asc # newest\nfirst 3");
    EXPECT_EQ(merge_post("order by a asc // x", "first 3", post_merge::append).text, "order by a asc // x\nfirst 3");
    EXPECT_EQ(merge_post("order by a asc /* x */", "first 3", post_merge::append).text, "order by a asc /* x */ first 3");
}

// Blanks alone are no filter: the statement leaves them out, so a clause joined to them
// with "&&" would begin the condition with it.
TEST(merge, blanks_alone_are_no_text_to_join)
{
    lib();
    for (const std::string current : {"", " ", "   "}) {
        const std::string a = merge_filter(filter_kind::le, current, "b <= 9", filter_merge::and_).text;
        const std::string o = merge_filter(filter_kind::le, current, "b <= 9", filter_merge::or_).text;
        EXPECT_EQ(a, "b <= 9");
        EXPECT_EQ(o, "b <= 9");
        EXPECT_EQ(merge_filter(filter_kind::append_cell, current, "b==9", filter_merge::replace).text, "b==9");
        for (bool limit : {true, false})
            for (const std::string& f : {a, o}) {
                const std::string q = query_text(view_query{{"a", "b"}, "t", f, limit, 1000, ""});
                EXPECT_TRUE(parses_whole(q)) << q;
            }
    }
}

// A clause is not joined to a text that leaves a string, a character, a bracketed name, a
// block comment or a parenthesis open: a quote, bracket, "*/" or ")" further on (in the post
// text, in the clause itself) would close it around the clause, which the statement then
// reads as part of a string, a name, a comment or the user's group. The same texts closed
// take the clause.
TEST(merge, a_text_left_open_takes_no_clause)
{
    lib();
    struct open_case {
        std::string current;
        open_part open;
    };
    const open_case cases[] = {
        {"s == \"abc", open_part::string},
        {"s == \"a\\\"", open_part::string},                  // the quote escaped
        {"s == \"a\" \"b", open_part::string},                // a second piece of the string
        {"s == @\"x(abc", open_part::string},                 // raw, never closed
        {"s == @\"x(a\" b(x\"", open_part::string},           // quotes inside are no terminator
        {"s == @\"x(a)y\"", open_part::string},               // another delimiter
        {"[a b", open_part::name},
        {"[a\\]", open_part::name},
        {"c == '", open_part::character},
        {"a == 1 /* b == 2", open_part::comment},
        {"a == 1 /* /* */ b == 2", open_part::comment},       // nested: the outer stays open
        {"(a == 1 || b == 2", open_part::parenthesis},
        {"a in (1, (2)", open_part::parenthesis},
        // Closed: each token within the text, the parentheses balanced.
        {"s == \"abc\"", open_part::none},
        {"s == @\"x(a\" b)y\")x\"", open_part::none},
        {"s == \"(\" && [a(] == 1 && c == '('", open_part::none},
        {"a == 1 /* /* */ */", open_part::none},
        {"(a == 1 || b == 2)", open_part::none},
        {"a == 1 # (\"[", open_part::none},                    // a line comment ends at the break
        {"a == 1)", open_part::none},
    };
    const cell_input b9 = cell("b", "9", "i32", 9);
    for (const auto& c : cases) {
        EXPECT_EQ(open_at_end(c.current), c.open) << c.current;
        for (filter_merge mode : {filter_merge::and_, filter_merge::or_}) {
            const merged m = merge_filter(filter_kind::le, c.current, filter_clause(filter_kind::le, b9).text, mode);
            EXPECT_EQ(m.open, c.open) << c.current;
            EXPECT_EQ(m.text.empty(), c.open != open_part::none) << c.current;
        }
        const merged p = merge_post(c.current, "rename [b] newname", post_merge::append);
        EXPECT_EQ(p.open, c.open) << c.current;
        // Replacing, and a merge onto nothing, take nothing of the text.
        EXPECT_EQ(merge_filter(filter_kind::le, c.current, "b <= 9", filter_merge::replace).text, "b <= 9");
        EXPECT_EQ(merge_filter(filter_kind::this_cell, c.current, "b==9", filter_merge::and_).text, "b==9");
        EXPECT_EQ(merge_post(c.current, "first 3", post_merge::replace).text, "first 3");
    }
    EXPECT_EQ(merge_filter(filter_kind::le, "", "b <= 9", filter_merge::and_).text, "b <= 9");

    // What such a merge gave: the raw string in the filter closed in the post text, around
    // the clause, and the statement parsed whole without it.
    const std::string filter = "s == @\"x(a\" b(x\"";
    const std::string post = "b)x\" order by s asc";
    const std::string old_merge = filter + " && b <= 9";
    const std::string swallowed = query_text(view_query{{"s", "b"}, "t", old_merge, true, 1000, post});
    ASSERT_TRUE(parses_whole(swallowed)) << swallowed;
    EXPECT_EQ(merge_filter(filter_kind::le, filter, "b <= 9", filter_merge::and_).open, open_part::string);
}

// --- every clause, every column type and display mode, parsed whole ---------------------------

struct typed_column {
    std::string type;
    std::unique_ptr<item_dlgt> delegate;
    std::vector<QVariant> values;
};

std::vector<typed_column> every_column_type()
{
    std::vector<typed_column> cols;
    auto int_col = [&](const char* type, void (int_item_dlgt::*set)(), std::vector<QVariant> v) {
        auto d = std::make_unique<int_item_dlgt>();
        ((*d).*set)();
        cols.push_back({type, std::move(d), std::move(v)});
    };
    int_col("u08", &int_item_dlgt::set_type_u08, {0, 1, 200, 255});
    int_col("i08", &int_item_dlgt::set_type_i08, {-128, -1, 0, 127});
    int_col("u16", &int_item_dlgt::set_type_u16, {0, 65535});
    int_col("i16", &int_item_dlgt::set_type_i16, {-32768, 32767});
    int_col("u32", &int_item_dlgt::set_type_u32, {0u, 4294967295u});
    int_col("i32", &int_item_dlgt::set_type_i32, {INT32_MIN, -7, INT32_MAX});
    int_col("u64", &int_item_dlgt::set_type_u64, {qulonglong(0), qulonglong(UINT64_MAX)});
    int_col("i64", &int_item_dlgt::set_type_i64, {qlonglong(INT64_MIN), qlonglong(INT64_MAX)});
    const float fnan = std::numeric_limits<float>::quiet_NaN(), finf = std::numeric_limits<float>::infinity();
    cols.push_back({"float", std::make_unique<float_item_dlgt>(),
                    {0.0f, -0.0f, -1.5f, 1e30f, FLT_MAX, FLT_TRUE_MIN, fnan, finf, -finf}});
    const double dnan = std::numeric_limits<double>::quiet_NaN(), dinf = std::numeric_limits<double>::infinity();
    cols.push_back({"double", std::make_unique<double_item_dlgt>(),
                    {0.0, -2.25, 1e300, DBL_MAX, -DBL_MAX, 5e-324, dnan, dinf, -dinf}});
    cols.push_back({"string", std::make_unique<string_item_dlgt>(),
                    {QString(), QString("abc"), QString("it's"), QString("a\"b"), QString("back\\slash"),
                     QString("line\nbreak"), QString("tab\there"), QString::fromUtf8("\xe4\xb8\xad\xe6\x96\x87"),
                     QString::fromUtf8("\xf0\x9f\x98\x80"), QString::fromUtf8("\xf3\xa0\x81\xa1"), QString("]"),
                     QString("x || y"), QString("/*")}});
    cols.push_back({"date", std::make_unique<date_item_dlgt>(),
                    {QDate(2019, 4, 23), QDate(1, 1, 1), QDate(), calendar_variant(calendar_kind::date, {0, 0, 0}),
                     calendar_variant(calendar_kind::date, {0, 2, 29})}});
    cols.push_back({"time", std::make_unique<time_item_dlgt>(),
                    {QTime(18, 0), QTime(23, 59, 59, 999), QTime(),
                     calendar_variant(calendar_kind::time, {0, 0, 0, 23, 59, 59, 999999999})}});
    cols.push_back({"datetime", std::make_unique<datetime_item_dlgt>(),
                    {QDateTime(QDate(2019, 4, 23), QTime(10, 11, 12)), QDateTime(),
                     calendar_variant(calendar_kind::datetime, {0, 0, 0, 0, 0, 0, 0})}});
    return cols;
}

void set_mode(item_dlgt& d, int mode)
{
    switch (mode) {
    case 0: d.set_bin_mode(); break;
    case 1: d.set_hex_mode(); break;
    case 2: d.set_dec_mode(); break;
    default: d.set_hex_mode_flags(); break;
    }
}

bool real_not_finite(const std::string& type, const QVariant& v)
{
    if (type != "float" && type != "double") return false;
    return !std::isfinite(v.toDouble());
}

TEST(clauses_property, every_filter_and_post_statement_parses_whole)
{
    lib();
    const char* fields[] = {"a", "a b", "1abc", "a]b", "\xe5\x90\x8d", "_x"};
    const char* currents[] = {"", "b == 2", "b == 2 || b == 3"};
    const filter_merge merges[] = {filter_merge::none, filter_merge::replace, filter_merge::and_, filter_merge::or_};
    auto cols = every_column_type();
    for (auto& col : cols) {
        for (int mode = 0; mode < 4; ++mode) {
            set_mode(*col.delegate, mode);
            for (const QVariant& value : col.values) {
                const std::string text = col.delegate->to_text(value).toStdString();
                for (const char* field : fields) {
                    const cell_input in = cell(field, text, col.type, value);
                    for (int k = 0; k < filter_kind_count; ++k) {
                        const auto kind = static_cast<filter_kind>(k);
                        const clause c = filter_clause(kind, in);
                        const bool takes_value = kind <= filter_kind::ge || kind >= filter_kind::this_cell;
                        if (takes_value && real_not_finite(col.type, value)) {
                            EXPECT_NE(c.problem, literal_problem::none) << col.type << " " << text;
                            EXPECT_EQ(c.text, "");
                            continue;
                        }
                        ASSERT_EQ(c.problem, literal_problem::none) << col.type << " " << text;
                        for (const char* cur : currents) {
                            for (filter_merge m : merges) {
                                const std::string filter = merge_filter(kind, cur, c.text, m).text;
                                for (bool limit : {true, false}) {
                                    const std::string q =
                                        query_text(view_query{{"a", field}, "t", filter, limit, 1000, ""});
                                    std::string at;
                                    ASSERT_TRUE(parses_whole(q, &at)) << q << "\nstops at " << at << " (" << col.type
                                                                      << ", mode " << mode << ")";
                                }
                            }
                        }
                    }
                }
            }
        }
    }
    for (const char* field : fields) {
        std::string post;
        for (int k = 0; k < post_kind_count; ++k) {
            const clause c = post_clause(static_cast<post_kind>(k), field);
            const std::string alone = query_text(view_query{{field}, "t", "", true, 1000, c.text});
            std::string at;
            EXPECT_TRUE(parses_whole(alone, &at)) << alone << "\nstops at " << at;
        }
        // Appended one after another in menu order (ordering and row clauses first).
        for (post_kind k : {post_kind::asc, post_kind::fst_k, post_kind::line_inr, post_kind::prj})
            post = merge_post(post, post_clause(k, field).text, post_merge::append).text;
        const std::string q = query_text(view_query{{field}, "t", "", true, 1000, post});
        std::string at;
        EXPECT_TRUE(parses_whole(q, &at)) << q << "\nstops at " << at;
    }
}

}  // namespace
}  // namespace dataview
