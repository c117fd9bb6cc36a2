#pragma once
// Names and text values quoted for a generated statement, in UTF-8 std::string form: the
// quoting rules of the query layer (quote_name, quote_text), and the test whether a text is
// one literal constant of the SQL grammar.
#include <string>
#include <string_view>

namespace dataview {

std::string quoted_name(std::string_view name);
std::string quoted_text(std::string_view text);

// The text is exactly one constant (number, character, string or bool) of the program's
// SQL grammar. False before the grammar is built.
bool is_sql_constant(std::string_view text);

// The text ends inside a line comment, as the grammar reads it (sql_ends_in_line_comment).
bool ends_in_line_comment(std::string_view text);

// What a text leaves open at its end, as the grammar reads it token by token: a string (of
// either form), a character, a bracketed name or a block comment that does not close within
// the text, or parentheses opened outside those that are not closed. Whatever is joined
// after such a text may be read into it (a later quote, bracket, "*/" or ")" closes it), so
// nothing is joined to it. A line comment is not open: a line break ends it.
enum class open_part { none, string, character, name, comment, parenthesis };
open_part open_at_end(std::string_view text);

// Where the where condition at the start of a filter lies (after leading blanks and
// comments), by the program's grammar, and whether it holds a top-level "||".
struct condition_span {
    size_t start = 0, end = 0;  // byte offsets; end == start when no condition starts there
    bool top_level_or = false;  // two or more "&&" chains joined by "||" outside parentheses
};
condition_span where_condition(std::string_view filter);

// A string literal that always parses: each byte as \x and two hex digits, in double quotes.
std::string hex_text_literal(std::string_view text);

}  // namespace dataview
