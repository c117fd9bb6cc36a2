#include "grammar/regex_grammar.h"

namespace kk::grammar {

namespace {

// Rule order fixes the parse-node ids (rule number + 2); append new rules at the end.
constexpr char text[] = R"EBNF(
// Patterns after ECMA-262: quantifiers take the longest run and never give back (possessive), a decimal escape is always a back-reference, classes offer no \b, back-references or class escapes, a unicode escape has four or eight hex digits.
pattern = disjunction;
disjunction = alternative, { '|', disjunction };
alternative = <term>;
term = assertion | atom, [ quantifier ];
assertion = '^' | '$' | '\', ('b'|'B') | "(?=", disjunction, ")" | "(?!", disjunction, ")";
quantifier = quantifier_prefix, ['?'];
quantifier_prefix = '*' | '+' | '?' | '{', decimal_integer, [',', [decimal_integer]], '}';
atom = pattern_character | '.' | '\', atom_escape | character_class | '(', disjunction, ')' | "(?:", disjunction, ")";
pattern_character = !`$()*+.?[\]^{|}`;
atom_escape = decimal_escape | character_escape | character_class_escape;
character_escape = control_escape | 'c', control_letter | hex_escape_sequence | unicode_escape_sequence | identity_escape;
control_escape = `fnrtv`;
control_letter = 'a'~'z' | 'A'~'Z';
decimal_escape = decimal_integer;
decimal_integer = nonzero_digit, {decimal_digit} | '0';
nonzero_digit = '1'~'9';
decimal_digit = '0'~'9';
character_class_escape = `DHSWdhsw`;
character_class = '[', ['^'], class_ranges, ']';
class_ranges = nonempty_class_ranges;
nonempty_class_ranges = class_atom, [ '-', class_atom, [class_ranges] | nonempty_class_ranges_nodash ];
nonempty_class_ranges_nodash = class_atom_nodash, '-', class_atom, [class_ranges] | class_atom_nodash, nonempty_class_ranges_nodash | class_atom;
class_atom = '-' | class_atom_nodash;
class_atom_nodash = !`-\]` | '\', class_escape;
class_escape = character_escape;
hex_escape_sequence = 'x', hex_digit, hex_digit;
hex_digit = '0'~'9' | 'a'~'f' | 'A'~'F';
unicode_escape_sequence = 'u', hex_digit, hex_digit, hex_digit, hex_digit, [ hex_digit, hex_digit, hex_digit, hex_digit ];
// The syntax characters, escaped to stand for themselves (inside and outside classes).
identity_escape = `$()*+./?[\]^{|}`;
)EBNF";

}  // namespace

const char* regex_grammar_text() { return text; }
u64 regex_grammar_text_length() { return sizeof text - 1; }

}  // namespace kk::grammar
