#pragma once
// Native recognisers of the SQL grammar's rules uint_bin, uint_hex, uint_dec, raw_string
// and fn_name: each returns a leaf of its rule at pos, or null after raising
// parse_farthest to its failure position; none reads beyond the remaining bytes.
#include "adt/types.h"
#include "grammar/ebnf_compiler.h"
#include "grammar/parse_node.h"

namespace kk::grammar::sql {

// "0b" and at least one binary digit, then every following binary digit.
parse_node* match_uint_bin(const grammar_node* ref, const char* pos, u64* remaining, const rule_table* rules);
// "0x" (lower-case x) and at least one hexadecimal digit, then every following one.
parse_node* match_uint_hex(const grammar_node* ref, const char* pos, u64* remaining, const rule_table* rules);
// One or more decimal digits.
parse_node* match_uint_dec(const grammar_node* ref, const char* pos, u64* remaining, const rule_table* rules);
// '"', a delimiter D without "(", "(", any text, then the first ")" D '"'. Fails at pos
// without an opening quote, after the quote without "(", at the "(" without terminator.
parse_node* match_raw_string(const grammar_node* ref, const char* pos, u64* remaining, const rule_table* rules);
// The longest SQL function name at pos.
parse_node* match_fn_name(const grammar_node* ref, const char* pos, u64* remaining, const rule_table* rules);

// Rule number -> recogniser, with the bytes each can start with.
const native_rule_map* native_rules();

}  // namespace kk::grammar::sql
