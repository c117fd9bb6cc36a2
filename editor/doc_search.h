#pragma once
// Search and replace over a text_doc: plain text, plain text with backslash escapes, or a
// regular expression (ECMAScript-like, run by PCRE2 with match and depth limits); ASCII
// ignore-case and whole-word flags. Every find-all also becomes the document's marks.
#include <memory>
#include <string>
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

// A pattern prepared once (escapes resolved, folded for ignore-case, or a regular expression
// compiled with the options and limits above) and then searched over many texts. Not for
// concurrent use: the match buffers are its own.
class doc_searcher {
 public:
  doc_searcher(kk::adt::text_view what, u32 mode, u16 flags);
  ~doc_searcher();
  doc_searcher(doc_searcher&&) noexcept;
  doc_searcher& operator=(doc_searcher&&) noexcept;

  // A regular expression that did not compile; it finds nothing.
  bool invalid() const noexcept;
  // Nothing to search for (an empty pattern, or one that unescapes to nothing); finds nothing.
  bool empty() const noexcept;

  // An empty text has no match at all (not even an empty one).
  // Appends the matches in `text`, offsets from its start; whole words are judged inside it.
  search_status find_all(kk::adt::text_view text, std::vector<byte_range>& out);
  // Appends the matches inside `part` of `text`, offsets from the start of `text`; whole
  // words are judged against all of `text`.
  search_status find_in(kk::adt::text_view text, byte_range part, std::vector<byte_range>& out);

 struct regex;  // the compiled expression, opaque

 private:
  u32 mode_ = 0;
  u16 flags_ = 0;
  bool invalid_ = false;
  std::string pattern_;
  std::string folded_;  // the searched text, ASCII-folded, reused between searches
  std::unique_ptr<regex> re_;
};

// A regular expression's literal ASCII letters folded to lower case, its syntax kept
// (escape letters, property and verb names, option letters): the pattern that ignore case
// searches a folded text with.
std::string fold_regex_pattern(kk::adt::text_view pattern);

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
