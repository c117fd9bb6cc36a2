// The regular-expression engine behind reg_match, on arbitrary patterns and subjects.
// Input: pattern, a zero byte, subject (no zero byte: the whole input is the pattern and
// the subject is empty). Besides memory safety: the cached and a freshly parsed pattern give
// the same verdicts, and a prefix match never claims more bytes than the subject has.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "grammar/regex_engine.h"

namespace {

using namespace kk::grammar;

regex_engine engine;

void fail(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (!regex_engine_init(&engine)) fail("the pattern grammar does not build");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* in = reinterpret_cast<const char*>(data);
  const char* zero = static_cast<const char*>(std::memchr(in, 0, size));
  // Exact-size copies: a read past either text's end is an overflow.
  std::string pattern(in, zero ? size_t(zero - in) : size);
  std::string subject = zero ? std::string(zero + 1, in + size) : std::string();

  const bool whole = regex_engine_match(&engine, pattern.data(), pattern.size(), subject.data(), subject.size());
  const bool valid = engine.pattern_valid;
  const kk::u64 prefix = regex_engine_match_prefix(&engine, subject.data(), subject.size());
  if (!valid && (whole || prefix != rx_no_match)) fail("an invalid pattern matched");
  if (prefix != rx_no_match && prefix > subject.size()) fail("prefix longer than the subject");

  // The cached pattern against a fresh parse of it (the cache is switched away first).
  static const char other[] = "a";
  regex_engine_set_pattern(&engine, other, 1);
  const bool again = regex_engine_match(&engine, pattern.data(), pattern.size(), subject.data(), subject.size());
  if (again != whole || engine.pattern_valid != valid) fail("cached and fresh pattern disagree");
  // Matching the same subject once more reuses the scratch state.
  if (regex_engine_match(&engine, pattern.data(), pattern.size(), subject.data(), subject.size()) != whole)
    fail("a second match of the same subject differs");
  // Every shorter cut of the subject runs too (a cheap walk over the subject's ends).
  if (valid && subject.size() <= 64) {
    for (size_t n = 0; n < subject.size(); ++n) {
      std::string cut = subject.substr(0, n);
      const kk::u64 p = regex_engine_match_prefix(&engine, cut.data(), cut.size());
      if (p != rx_no_match && p > n) fail("prefix longer than a cut subject");
    }
  }
  return 0;
}
