#pragma once
// The delimiters of the EBNF notation.
//
// The compiler compares against the constant texts; ebnf_token_strings() is the start-up
// table of the same 27 texts as byte strings, built by the start-up sequence (or on the
// first call where none ran) and released by it at exit.
#include "adt/string.h"
#include "adt/types.h"

namespace kk::grammar {

enum ebnf_token : u8 {
  tok_quote_open, tok_quote_close, tok_dquote_open, tok_dquote_close, tok_backquote_open,
  tok_backquote_close, tok_group_open, tok_group_close, tok_repeat_open, tok_repeat_close,
  tok_min1_open, tok_min1_close, tok_option_open, tok_option_close, tok_range, tok_concat,
  tok_define, tok_bar, tok_any, tok_except, tok_comment1_open, tok_comment1_close,
  tok_line_comment, tok_newline, tok_comment2_open, tok_comment2_close, tok_terminator,
  ebnf_token_count
};

struct ebnf_token_text {
  const char* text;
  u64 size;
};
extern const ebnf_token_text ebnf_token_texts[ebnf_token_count];

const adt::string::string* ebnf_token_strings();
// The start-up sequence's step for the table (release: at exit).
void ebnf_token_strings_build();
void ebnf_token_strings_release() noexcept;

}  // namespace kk::grammar
