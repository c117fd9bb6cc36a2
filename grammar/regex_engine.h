#pragma once
// The regular-expression engine behind reg_match: the compiled pattern grammar, a cache of
// the last pattern, and whole-subject matching.
//
// A pattern is parsed with the pattern grammar (regex_grammar.h) and must be consumed to
// its end; its tree is compiled into a program (regex_compile.h) that is matched against
// the subject from its first byte. The engine keeps its own copy of the last pattern and
// what it compiled to (also when that was invalid), so a column matched against one
// pattern is parsed once. One engine serves one thread at a time.
#include "adt/string.h"
#include "adt/types.h"
#include "grammar/ebnf_compiler.h"
#include "grammar/regex_program.h"

namespace kk::grammar {

struct regex_engine {
  u64 mode = 0;                    // no matching modes (case folding, multi-line)
  adt::string::string pattern;     // the cached pattern's own copy
  bool pattern_valid = false;      // whether `pattern` compiled
  compiled_grammar grammar;        // the pattern grammar, 2112 rule slots
  const grammar_node* root = nullptr;  // its rule 0, `pattern`
  rx_program program;  // compiled form of `pattern` when valid
  rx_scratch scratch;
  const char* subject_start = nullptr;
  u64 subject_length = 0;

  regex_engine() = default;
  regex_engine(const regex_engine&) = delete;  // owns a compiled grammar
  regex_engine& operator=(const regex_engine&) = delete;
};

// Builds the pattern grammar on a new or freed engine; false when it does not build (then
// every match fails).
bool regex_engine_init(regex_engine* e);
void regex_engine_free(regex_engine* e) noexcept;

// Makes `pattern` the cached one unless it already is (byte for byte; two empty texts are
// equal); returns whether it is a valid pattern. The empty pattern is not.
bool regex_engine_set_pattern(regex_engine* e, const char* pattern, u64 length);

// reg_match for one row: true when the pattern (through the cache) matches the whole
// subject. Neither text needs a terminator; the subject is read only within its length.
bool regex_engine_match(regex_engine* e, const char* pattern, u64 pattern_length,
                        const char* subject, u64 subject_length);

// Bytes the cached, valid pattern matches at the subject's start, or rx_no_match.
u64 regex_engine_match_prefix(regex_engine* e, const char* subject, u64 subject_length);

}  // namespace kk::grammar
