#pragma once
// The one statement a table data view runs: its checked fields, the table, the row limit,
// the filter and the post-processing text, assembled into
//   select <fields> from <table> [where first k [&& filter] | where filter] [ post];
// Plain object: the widget only copies its inputs in.
#include <string>
#include <string_view>
#include <vector>

namespace dataview {

struct view_query {
    std::vector<std::string> fields;  // checked field names as the server names them (UTF-8)
    std::string table;
    std::string filter;  // as typed: untrimmed
    bool limit_on = true;
    int limit = 1000;
    std::string post;  // as typed: not trimmed
};

// The statement, with the final ";" or without it (the export appends its own clause).
std::string query_text(const view_query& q, bool semicolon = true);

// Nothing is left after cutting leading and trailing blanks, then tabs.
bool filter_is_empty(std::string_view filter);

// How a filter stands in the where part after " where first k && ".
struct filter_shape {
    bool top_level_or = false;       // a "||" outside parentheses, literals, names and comments
    bool balanced = true;            // parentheses, literals, names and block comments all closed
    bool ends_in_line_comment = false;
};
filter_shape shape_of_filter(std::string_view filter);

// The filter as it follows " && ": in parentheses when it holds a top-level "||" (else the
// limit would bind only its first branch); a filter ending in a line comment gets its closing
// parenthesis on a new line. Any other filter, and one that is not balanced, stays as typed.
std::string limited_filter(std::string_view filter);

}  // namespace dataview
