#pragma once
// Search and replace over a text_doc: plain text, plain text with backslash escapes, or a
// regular expression (ECMAScript-like, run by PCRE2 with match and depth limits); ASCII
// ignore-case and whole-word flags. Every find-all also becomes the document's marks.
#include <vector>

#include "editor/text_doc.h"

namespace ruv {

enum : u32 { search_plain = 0, search_escaped = 1, search_regex = 2 };
enum : u16 { search_ignore_case = 1, search_whole_word = 16 };

enum class search_status {
  ok,
  invalid_pattern,  // nothing found, the marks were left as they were
  limit_reached,    // the engine's match or depth limit ended the search: what was found is kept
};

// The mode-1 conversion: \uXXXX, \UXXXXXXXX, \xX and the C escape letters.
doc_string search_unescape(kk::adt::text_view text);

search_status doc_find_all(text_doc& d, kk::adt::text_view what, std::vector<byte_range>& out, u32 mode, u16 flags);
search_status doc_find_all_in_selections(text_doc& d, kk::adt::text_view what, std::vector<byte_range>& out,
                                         u32 mode, u16 flags);
// The first match that starts at or after `from`.
bool doc_find_next(text_doc& d, i64 from, kk::adt::text_view what, byte_range& out, u32 mode, u16 flags);
// The last match that ends at or before `from` (and starts before it).
bool doc_find_prev(text_doc& d, i64 from, kk::adt::text_view what, byte_range& out, u32 mode, u16 flags);
bool doc_find_next_in_selections(text_doc& d, i64 from, kk::adt::text_view what, byte_range& out, u32 mode,
                                 u16 flags);
bool doc_find_prev_in_selections(text_doc& d, i64 from, kk::adt::text_view what, byte_range& out, u32 mode,
                                 u16 flags);

// Every match of the whole text selected and replaced in one pass (one undo step); the
// number of matches replaced.
std::size_t doc_replace_all(text_doc& d, kk::adt::text_view what, kk::adt::text_view with, u32 mode, u16 flags,
                            search_status* status = nullptr);

}  // namespace ruv
