#pragma once
// Printing statement trees back to SQL: every token keeps its bytes, only the gaps between
// tokens (blanks, line breaks, comments) are rewritten.
#include <optional>

#include "adt/string.h"
#include "adt/types.h"
#include "grammar/parse_node.h"

namespace ruv::lang {

// The statement under `tree` printed back; empty for a null tree. A gap of blanks becomes
// one line feed when it holds one and `single_line` is off, else one space. A gap holding
// a comment is printed unchanged, or becomes one space with `drop_comments`. Every other
// byte of the statement is printed as it stands. Leading and trailing gaps of the
// statement become one separator each, for the caller to trim.
kk::adt::string::string sql_format_tree(const kk::grammar::parse_node* tree, bool drop_comments,
                                        bool single_line);

// One selection's text tidied: its statements printed with both flags off and joined by
// one line feed. Empty when the text does not parse to its end (leave the text as it is).
// The editor's format command calls it for each selection on its own.
std::optional<kk::adt::string::string> format_sql_text(const char* text, kk::u64 size);

}  // namespace ruv::lang
