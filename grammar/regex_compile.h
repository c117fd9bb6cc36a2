#pragma once
// Turns the parse tree of a pattern (pattern grammar, regex_grammar.h) into a program.
//
// The tree must cover the whole pattern text; the compile also rejects what the grammar
// lets through but cannot mean anything: a back-reference above the group count, a
// quantifier {n,m} with n > m or a bound above 2^32, and nesting deeper than rx_max_depth.
// A class range whose ends are out of order is valid and holds no code point.
#include "grammar/parse_node.h"
#include "grammar/regex_program.h"

namespace kk::grammar {

inline constexpr u32 rx_max_depth = 200;

// The tree of `root` (a disjunction node) is read, not kept: the program holds its own
// copies of every literal byte. False leaves `out` empty.
bool rx_compile(const parse_node* root, rx_program* out);

}  // namespace kk::grammar
