#pragma once
// Token classes of the editor's highlighting, from the statement trees of a parse.
#include "adt/types.h"
#include "adt/vector.h"
#include "editor/char_style.h"
#include "editor/sql_parse.h"

namespace ruv::lang {

// The ten classes in the order of a colour scheme's records.
enum class token_class : u8 {
  default_text = 0,  // outside every statement, blanks, control characters
  function = 1,
  field_name = 2,
  table_name = 3,
  constant = 4,
  post_keyword = 5,   // the keyword of order, group, recompute, project, rename; a filter clause
  read_keyword = 6,   // the keyword opening select, save, rows_of, cols_of, fields_of, show, backup
  write_keyword = 7,  // the keyword opening insert, delete, update, create, alter, drop, load,
                      // truncate, import, restore
  default_keyword = 8,  // other keywords, operators, brackets, commas
  comment = 9,
};
inline constexpr int token_class_count = 10;

// The class of the character at `offset` of the text the trees were parsed from, the first
// that holds of: comment, function, field name, table name, constant, no printable
// terminal (default text), read, write, post keyword, default keyword. A non-null `same_to`
// receives an end (above offset) up to which every character has the same class: the end
// of the token the offset lies in, or offset + 1.
token_class token_class_at(const kk::adt::vector<parse_node*>& trees, const char* text_start,
                           u64 offset, u64* same_to = nullptr);
// The same over a parse's own text; callers pass only a parse of the current revision.
inline token_class token_class_at(const script_parse& p, u64 offset, u64* same_to = nullptr) {
  return token_class_at(p.trees(), p.text(), offset, same_to);
}

// A selected character keeps its class's font and alpha and is painted white, or black
// where it is also a mark of the last search.
inline void mark_selected(char_style& s, bool search_mark) noexcept {
  const kk::u32 c = search_mark ? 0 : 255;
  s.red = s.green = s.blue = c;
}

}  // namespace ruv::lang
