#pragma once
// Entry points into the program's SQL grammar (the library object of sqllib/sql_library.h)
// and the two quoting rules that make any name or text value safe in a generated statement.
// Parsing uses the grammar engine's per-thread farthest position: GUI thread only.
#include "adt/string.h"
#include "adt/types.h"
#include "adt/vector.h"
#include "grammar/parse_node.h"

namespace kk {
struct sql_library;
}

// Matches one statement at the start of text (*len bytes). On success *tree is the root and
// the result the matched length; on failure *tree is null and the result the offset where
// the text stopped matching. The tree belongs to the caller (grammar_free_tree).
kk::u64 sql_parse_statement(const kk::sql_library* lib, const char* text, const kk::u64* len,
                            kk::grammar::parse_node** tree);

// Parses consecutive statements into trees appended to out (the caller's) and returns the
// bytes consumed; parsing stops at the first statement that does not match.
kk::u64 sql_split_script(const kk::sql_library* lib, const char* text, const kk::u64* len,
                         kk::adt::vector<kk::grammar::parse_node*>* out);

// The text ends inside a line comment ("#" or "//" up to the end, with no line break after
// it), as the grammar reads its comments, strings, characters and bracketed names: text
// appended to it would be part of the comment. False before the grammar is built.
bool sql_ends_in_line_comment(kk::adt::text_view text);
// Ends the text with a line break when it ends inside a line comment, so that what a
// statement builder appends after a user's text stays outside the comment.
void sql_close_line_comment(kk::adt::string::string& text);

// The first table_name node below tree (depth first, children in order), or null.
kk::grammar::parse_node* first_table_name_node(const kk::grammar::parse_node* tree);

// A table or field name as the grammar reads it back: unchanged when it is an identifier
// (letters, digits, '_', not starting with a digit, not beginning with "true" or "false");
// in square brackets when it holds other characters or begins so; as "[" + \xNN per byte + "]" when it holds a newline, '[', ']' or '\',
// or bytes that are no well-formed character the grammar reads. Empty stays empty.
kk::adt::string::string quote_name(kk::adt::text_view name);
void quote_name(kk::adt::string::string& out, const kk::adt::string::string& name);

// A text value as a string constant: between double quotes, or as \xNN per byte between
// double quotes when it holds a newline, '"' or '\', or bytes that are no well-formed
// character the grammar reads.
kk::adt::string::string quote_text(kk::adt::text_view text);
void quote_text(kk::adt::string::string& out, const kk::adt::string::string& text);
