#pragma once
// The pattern grammar of the regular-expression engine (EBNF of the grammar engine),
// modelled on the ECMA-262 pattern syntax, and the parse-node ids of its rules.
#include "adt/types.h"

namespace kk::grammar {

// NUL-terminated; its length is regex_grammar_text_length().
const char* regex_grammar_text();
u64 regex_grammar_text_length();

inline constexpr u64 regex_rule_count = 29;

// Parse-node id of each rule: rule number + 2. Rules 0..27 are the ECMA-262 productions;
// rule 28 (identity escapes of the syntax characters) was appended so the others keep
// their numbers.
enum regex_node_id : u16 {
  rx_id_group = 0,
  rx_id_text = 1,
  rx_id_pattern = 2,
  rx_id_disjunction = 3,
  rx_id_alternative = 4,
  rx_id_term = 5,
  rx_id_assertion = 6,
  rx_id_quantifier = 7,
  rx_id_quantifier_prefix = 8,
  rx_id_atom = 9,
  rx_id_pattern_character = 10,
  rx_id_atom_escape = 11,
  rx_id_character_escape = 12,
  rx_id_control_escape = 13,
  rx_id_control_letter = 14,
  rx_id_decimal_escape = 15,
  rx_id_decimal_integer = 16,
  rx_id_nonzero_digit = 17,
  rx_id_decimal_digit = 18,
  rx_id_character_class_escape = 19,
  rx_id_character_class = 20,
  rx_id_class_ranges = 21,
  rx_id_nonempty_class_ranges = 22,
  rx_id_nonempty_class_ranges_nodash = 23,
  rx_id_class_atom = 24,
  rx_id_class_atom_nodash = 25,
  rx_id_class_escape = 26,
  rx_id_hex_escape_sequence = 27,
  rx_id_hex_digit = 28,
  rx_id_unicode_escape_sequence = 29,
  rx_id_identity_escape = 30,
};

}  // namespace kk::grammar
