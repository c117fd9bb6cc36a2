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

// The statement, with the final ";" or without it (the export appends its own clause). A
// filter or post text that ends inside a line comment gets a line break after it, so that
// nothing assembled after it is taken into the comment.
std::string query_text(const view_query& q, bool semicolon = true);

// The most bytes the empty filter or post text of q may take so that the statement still
// fits: the library sends a statement with a 32-bit length, and the combo boxes hold a
// text of at most 2^30 - 64 UTF-16 units.
size_t input_room(const view_query& q);

// Nothing is left after cutting leading and trailing blanks, then tabs.
bool filter_is_empty(std::string_view filter);

// The filter as it follows " where first k && ": when the where condition it begins with
// holds a top-level "||" (read by the program's grammar), the condition goes in parentheses,
// else the limit would bind only its first branch; anything after the condition (a
// comment, text the grammar does not take) stays as typed. A filter that is no condition
// stays as typed.
std::string limited_filter(std::string_view filter);

}  // namespace dataview
