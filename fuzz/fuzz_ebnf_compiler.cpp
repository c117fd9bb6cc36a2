// The EBNF compiler on arbitrary grammar texts, then the matcher with what was compiled.
// Input: option byte, grammar text, a zero byte, subject. Option bit 0 serves the rules with
// the SQL dialect's native recognisers in a 3072-slot table (else none, 2112 slots).
// The compiled grammar is matched with and without its matcher hints: the two must give
// the same tree and the same failure position. A step limit keeps ambiguous grammars (whose
// matching may take exponential time by design) from stalling the run; outcomes cut short
// by the step or depth guard are not compared.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/plain_grammar.h"
#include "grammar/sql_natives.h"

namespace {

using namespace kk::grammar;

void fail(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

void check_nodes(const grammar_node* n, const char* lo, const char* hi) {
  if (n->start < lo || n->end > hi || n->start > n->end) fail("grammar node outside the text");
  for (auto* e = n->children.head; e; e = e->next) check_nodes(e->value, lo, hi);
}

constexpr kk::u64 step_limit = 200000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const bool sql_natives = data[0] & 1;
  // Copies of exact size, so that any read past either end is seen.
  const char* rest = reinterpret_cast<const char*>(data) + 1;
  const size_t rest_size = size - 1;
  const char* zero = static_cast<const char*>(std::memchr(rest, 0, rest_size));
  const size_t grammar_size = zero ? size_t(zero - rest) : rest_size;
  std::string grammar_text(rest, grammar_size);
  std::string subject = zero ? std::string(zero + 1, rest + rest_size) : std::string();

  const native_rule_map none{};
  const native_rule_map* natives = sql_natives ? kk::grammar::sql::native_rules() : &none;
  const kk::u64 slots = sql_natives ? 3072 : 2112;

  compiled_grammar hinted;
  const bool built = grammar_build(&hinted, grammar_text.data(), grammar_text.size(), slots, natives);
  compiled_grammar plain;
  const bool plain_built = fuzz::plain_build(&plain, grammar_text.data(), grammar_text.size(), slots, natives);
  if (built != plain_built) fail("the build with hints and the one without disagree");
  if (!built) return 0;
  check_nodes(hinted.syntax, grammar_text.data(), grammar_text.data() + grammar_text.size());
  if (grammar_child_count(hinted.syntax) != hinted.rule_count) fail("rule count");

  match_step_limit = step_limit;
  match_steps = 0;
  fuzz::match_outcome a = fuzz::match_once(hinted, subject.data(), subject.size());
  match_steps = 0;
  fuzz::match_outcome b = fuzz::match_once(plain, subject.data(), subject.size());
  match_step_limit = ~kk::u64(0);
  match_steps = 0;
  if (a.abort == parse_abort::none && b.abort == parse_abort::none &&
      (a.shape != b.shape || a.farthest != b.farthest)) {
    std::fprintf(stderr, "hinted: %s far=%td\nplain:  %s far=%td\n", a.shape.c_str(),
                 a.farthest ? a.farthest - subject.data() : -1, b.shape.c_str(),
                 b.farthest ? b.farthest - subject.data() : -1);
    fail("matcher hints changed the outcome");
  }
  grammar_release(&hinted);
  grammar_release(&plain);
  return 0;
}
