#include "grammar/regex_engine.h"

#include <cstring>

#include "grammar/matcher.h"
#include "grammar/regex_compile.h"
#include "grammar/regex_grammar.h"

namespace kk::grammar {

namespace {

constexpr u64 regex_rule_slots = 2112;

bool same_bytes(const adt::string::string& s, const char* p, u64 n) {
  return s.size == n && (n == 0 || std::memcmp(s.data, p, n) == 0);
}

}  // namespace

bool regex_engine_init(regex_engine* e) {
  e->mode = 0;
  e->pattern.free();
  e->pattern_valid = false;
  e->program = rx_program{};
  e->root = nullptr;
  e->subject_start = nullptr;
  e->subject_length = 0;
  native_rule_map none;
  if (!grammar_build(&e->grammar, regex_grammar_text(), regex_grammar_text_length(),
                     regex_rule_slots, &none))
    return false;
  e->root = e->grammar.start;
  return true;
}

void regex_engine_free(regex_engine* e) noexcept {
  grammar_release(&e->grammar);
  e->root = nullptr;
  e->pattern.free();
  e->pattern_valid = false;
  e->program = rx_program{};
  e->scratch = rx_scratch{};
}

bool regex_engine_set_pattern(regex_engine* e, const char* pattern, u64 length) {
  if (same_bytes(e->pattern, pattern, length)) return e->pattern_valid;
  // Parse the engine's own copy: the program and the tree never point at the caller's text.
  e->pattern.resize(0);
  if (length) {
    e->pattern.resize(length);
    std::memcpy(e->pattern.data, pattern, length);
  }
  e->pattern_valid = false;
  e->program = rx_program{};
  if (!e->root || length == 0) return false;
  const char* p = e->pattern.data;
  u64 remaining = length;
  parse_node* tree = grammar_match(e->root, p, &remaining, &e->grammar.rules);
  // A pattern is valid only when the grammar consumed all of it.
  bool whole = tree && tree->start == p && tree->length == length;
  e->pattern_valid = whole && rx_compile(tree, &e->program);
  grammar_free_tree(tree);
  return e->pattern_valid;
}

u64 regex_engine_match_prefix(regex_engine* e, const char* subject, u64 subject_length) {
  if (!e->pattern_valid) return rx_no_match;
  e->subject_start = subject;
  e->subject_length = subject_length;
  u64 r = rx_run(e->program, e->scratch, subject, subject_length);
  e->subject_start = nullptr;
  e->subject_length = 0;
  return r;
}

bool regex_engine_match(regex_engine* e, const char* pattern, u64 pattern_length,
                        const char* subject, u64 subject_length) {
  if (!regex_engine_set_pattern(e, pattern, pattern_length)) return false;
  return regex_engine_match_prefix(e, subject, subject_length) == subject_length;
}

}  // namespace kk::grammar
