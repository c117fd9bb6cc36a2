#include "dataview/view_query.h"

#include <charconv>

#include "adt/string.h"
#include "dataview/sql_quote.h"

namespace dataview {

bool filter_is_empty(std::string_view filter)
{
    kk::adt::text_view v{filter.data(), filter.size()};
    kk::adt::str_trim_blank(v);
    return v.size == 0;
}

filter_shape shape_of_filter(std::string_view f)
{
    filter_shape s;
    long depth = 0;
    const size_t n = f.size();
    size_t i = 0;
    // Skips a quoted run that started at i (the opening byte) up to its closing byte; false
    // when the text ends first. Backslashes escape the next byte where the grammar has escapes.
    auto skip_quoted = [&](char close, bool escapes) {
        for (++i; i < n; ++i) {
            if (escapes && f[i] == '\\') {
                ++i;
                continue;
            }
            if (f[i] == close) return true;
        }
        return false;
    };
    while (i < n) {
        const char c = f[i];
        const char next = i + 1 < n ? f[i + 1] : '\0';
        if (c == '"' || c == '\'' || c == '[') {
            if (!skip_quoted(c == '[' ? ']' : c, true)) {
                s.balanced = false;
                return s;
            }
            ++i;
        } else if (c == '@' && next == '"') {
            ++i;
            if (!skip_quoted('"', false)) {
                s.balanced = false;
                return s;
            }
            ++i;
        } else if (c == '#' || (c == '/' && next == '/')) {
            while (i < n && f[i] != '\n') ++i;
            if (i == n) s.ends_in_line_comment = true;
        } else if (c == '/' && next == '*') {
            long nest = 1;  // block comments nest
            i += 2;
            while (i < n && nest > 0) {
                if (f[i] == '/' && i + 1 < n && f[i + 1] == '*') {
                    ++nest;
                    i += 2;
                } else if (f[i] == '*' && i + 1 < n && f[i + 1] == '/') {
                    --nest;
                    i += 2;
                } else {
                    ++i;
                }
            }
            if (nest > 0) {
                s.balanced = false;
                return s;
            }
        } else if (c == '(') {
            ++depth;
            ++i;
        } else if (c == ')') {
            if (--depth < 0) s.balanced = false;
            ++i;
        } else if (c == '|' && next == '|') {
            if (depth == 0) s.top_level_or = true;
            i += 2;
        } else {
            ++i;
        }
    }
    if (depth != 0) s.balanced = false;
    return s;
}

std::string limited_filter(std::string_view filter)
{
    const filter_shape s = shape_of_filter(filter);
    if (!s.top_level_or || !s.balanced) return std::string(filter);
    std::string out;
    out.reserve(filter.size() + 3);
    out += '(';
    out += filter;
    if (s.ends_in_line_comment) out += '\n';
    out += ')';
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
        }
    } else if (has_filter) {
        text += " where ";
        text += q.filter;
    }
    if (!q.post.empty()) {
        text += ' ';
        text += q.post;
    }
    if (semicolon) text += ';';
    return text;
}

}  // namespace dataview
