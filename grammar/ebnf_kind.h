#pragma once
// Node kinds of a compiled grammar and the two reference ranges.
//
// The numbers are fixed: the compiler writes them, the matcher dispatches on them and the
// start-up kind-name table lists them.
#include "adt/types.h"

namespace kk::grammar {

enum ebnf_kind : u16 {
  kind_syntax = 0,
  kind_rule = 1,
  kind_alternation = 2,
  kind_concatenation = 3,
  kind_meta_definition = 4,
  kind_group = 5,
  kind_option = 6,
  kind_repeat = 7,
  kind_terminal_string = 8,
  kind_except_terminal_string = 9,
  kind_sort_string = 10,
  kind_quote_string = 11,
  kind_dquote_string = 12,
  kind_range_string = 13,
  kind_any_char = 14,
  kind_digit_hex = 15,
  kind_integer_dec = 16,
  kind_integer_hex = 17,
  kind_integer = 18,
  kind_identifier = 19,
  kind_nonwhitespace = 20,
  kind_digit = 21,
  kind_alphabet = 22,
  kind_identifier_chars = 23,
  kind_nonascii_chars = 24,
  kind_ascii = 25,
  kind_all_chars = 26,
  kind_whitespace = 27,
  kind_comment = 28,
  kind_multiline_comment = 29,
  kind_unuse_string = 30,
  kind_repeat_min1 = 32,
};

// 1024 + n refers to rule n; 2048 + n means rule n is served by a native recogniser.
inline constexpr u16 rule_ref_base = 1024;
inline constexpr u16 native_ref_base = 2048;

// Parse-node id of a node made for reference kind k (rule n gets n + 2).
constexpr u16 ref_node_id(u16 kind) noexcept {
  return static_cast<u16>(kind >= native_ref_base ? kind - 2046 : kind - 1022);
}

}  // namespace kk::grammar
