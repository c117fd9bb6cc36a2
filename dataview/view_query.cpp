#include "dataview/view_query.h"

#include <algorithm>
#include <charconv>

#include "adt/string.h"
#include "dataview/sql_quote.h"

namespace dataview {

namespace {

// A user's text that ends inside a line comment ends the line before anything follows it.
void close_line_comment(std::string& text, std::string_view users)
{
    if (ends_in_line_comment(users)) text += '\n';
}

}  // namespace

bool filter_is_empty(std::string_view filter)
{
    kk::adt::text_view v{filter.data(), filter.size()};
    kk::adt::str_trim_blank(v);
    return v.size == 0;
}

size_t input_room(const view_query& q)
{
    constexpr size_t statement_max = 2147483647;          // the 32-bit length of a statement
    constexpr size_t text_max = (size_t(1) << 30) - 64;   // a QString's units
    // Room for " && ", the parentheses, a line break and the blank before a post text.
    const size_t rest = query_text(q).size() + 8;
    return std::min(text_max, rest < statement_max ? statement_max - rest : 0);
}

std::string limited_filter(std::string_view filter)
{
    const condition_span c = where_condition(filter);
    if (!c.top_level_or) return std::string(filter);
    std::string out;
    out.reserve(filter.size() + 2);
    out.append(filter.substr(0, c.start));
    out += '(';
    out.append(filter.substr(c.start, c.end - c.start));
    out += ')';
    out.append(filter.substr(c.end));
    return out;
}

std::string query_text(const view_query& q, bool semicolon)
{
    std::string text = "select ";
    for (size_t i = 0; i < q.fields.size(); ++i) {
        if (i) text += ", ";
        text += quoted_name(q.fields[i]);
    }
    text += " from ";
    text += quoted_name(q.table);
    const bool has_filter = !filter_is_empty(q.filter);
    if (q.limit_on) {
        char digits[16];
        const auto r = std::to_chars(digits, digits + sizeof digits, q.limit);
        text += " where first ";
        text.append(digits, r.ptr);
        if (has_filter) {
            text += " && ";
            text += limited_filter(q.filter);
            close_line_comment(text, q.filter);
        }
    } else if (has_filter) {
        text += " where ";
        text += q.filter;
        close_line_comment(text, q.filter);
    }
    if (!q.post.empty()) {
        text += ' ';
        text += q.post;
        close_line_comment(text, q.post);
    }
    if (semicolon) text += ';';
    return text;
}

}  // namespace dataview
