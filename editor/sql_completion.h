#pragma once
// Completion candidates for the word before the cursor.
//
// The statement at the cursor is found from the editor's parse when that parse is of the
// current text, else by looking back for ";"; the text from the statement's start to the
// cursor is parsed on its own, and the kind of its last node chooses the vocabularies and
// the server names that are offered.
#include <string_view>

#include "adt/types.h"
#include "editor/sql_parse.h"
#include "editor/sql_prefix_index.h"

namespace ruv::lang {

struct completion_input {
  const char* text = nullptr;  // the document's text
  u64 size = 0;
  u64 cursor = 0;  // byte offset; beyond size counts as size
  // The editor's last parse (may be null); used only when it is of `revision`.
  const script_parse* parse = nullptr;
  u64 revision = 0;
  const name_indexes* names = nullptr;  // the server's names (may be null)
};

struct completion {
  candidate_list candidates;  // none: no popup
  u64 fragment_length = 0;    // bytes before the cursor that a chosen word replaces
  u64 statement_start = 0;    // where the fragment parse began (never past the cursor)
  u16 context_id = node_id::terminal;  // id of the last node of that parse; 1 when it failed
};

// Word characters of a fragment: ASCII letters, digits and "_".
bool is_word_byte(char c) noexcept;

// The candidates at the cursor. No candidates where the statement start cannot be found
// near the cursor (no current parse, no ";" in the 64 bytes before it and the cursor at
// 256 or beyond), at the end of the text, and in comments and constants.
completion complete_at(const completion_input& in);

// Statement words beginning with the fragment, in vocabulary order: the first word of a text.
candidate_list& statement_candidates(candidate_list& out, std::string_view fragment);

// The words for a context id, sorted by byte and without duplicates: terminal text gets the
// statement and clause vocabularies, fn_name the function names, table_name the table
// names, field_name the field names (of `table`, or of every table when it is empty),
// comment and constant nothing; where that gives fewer than 6 words, field names, function
// names and type and clause words are added.
candidate_list& context_candidates(candidate_list& out, u16 context_id, std::string_view fragment,
                                   const name_indexes* names, std::string_view table);

}  // namespace ruv::lang
