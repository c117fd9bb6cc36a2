// The regular-expression engine: one table over every construct of the pattern grammar,
// the class escapes and maps, the pattern cache, bounded reads and input-driven limits.
#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/resource.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "grammar/ebnf_compiler.h"
#include "grammar/regex_classes.h"
#include "grammar/regex_engine.h"
#include "grammar/regex_grammar.h"

using namespace kk;
using namespace kk::grammar;

namespace {

struct engine_fixture : ::testing::Test {
  regex_engine e;
  void SetUp() override { ASSERT_TRUE(regex_engine_init(&e)); }
  void TearDown() override { regex_engine_free(&e); }

  // The subject is copied into a block of exactly its length: nothing may read past it.
  bool match(const std::string& pattern, const std::string& subject) {
    std::unique_ptr<char[]> s(new char[subject.size() + 1]);
    std::memcpy(s.get(), subject.data(), subject.size());
    return regex_engine_match(&e, pattern.data(), pattern.size(),
                              subject.empty() ? nullptr : s.get(), subject.size());
  }
};

struct row {
  const char* pattern;
  std::string subject;
  bool expected;
};

std::string nul(const char* before, const char* after) {
  return std::string(before) + std::string(1, '\0') + after;
}

// (pattern, subject, whole-subject verdict), grouped by construct.
const std::vector<row>& table() {
  static const std::vector<row> rows = {
      // literals and sequences; the whole subject must match
      {"abc", "abc", true},
      {"abc", "abd", false},
      {"abc", "abcd", false},
      {"abc", "ab", false},
      {"é日", "é日", true},
      {"é", "e", false},
      {"a/b", "a/b", true},
      // alternation: the first alternative that matches wins
      {"a|ab", "ab", false},
      {"ab|a", "ab", true},
      {"a|b|c", "c", true},
      {"x(a|ab)", "xab", false},
      {"(ab|a)c", "ac", true},
      // greedy quantifiers, possessive
      {"a*", "", true},
      {"a*", "aaa", true},
      {"a*a", "aaa", false},
      {"a+", "", false},
      {"a+", "aa", true},
      {"a?", "", true},
      {"a?", "a", true},
      {"a?", "aa", false},
      {"a?a", "a", false},
      {"a{2}", "aa", true},
      {"a{2}", "a", false},
      {"a{2}", "aaa", false},
      {"a{2,}", "aaaa", true},
      {"a{2,}", "a", false},
      {"a{1,2}", "aa", true},
      {"a{1,2}", "aaa", false},
      {"a{1,2}a", "aaa", true},
      {"a{0}", "", true},
      {"a{0,0}b", "b", true},
      {"é+", "ééé", true},
      // lazy quantifiers stop at their minimum
      {"a*?", "", true},
      {"a*?", "a", false},
      {"a*?b", "b", true},
      {"a*?b", "ab", false},
      {"a+?", "a", true},
      {"a+?", "aa", false},
      {"a+?a", "aa", true},
      {"a??", "", true},
      {"a??a", "a", true},
      {"a{2,4}?", "aa", true},
      {"a{2,4}?", "aaa", false},
      {"a{2,}?", "a", false},
      // groups
      {"(ab)+", "abab", true},
      {"(?:ab)+", "abab", true},
      {"(?:ab)+", "aba", false},
      {"(a|b)*c", "abbac", true},
      {"((a)(b))", "ab", true},
      {"(?:a(?:b(?:c)))", "abc", true},
      // an atom that can match empty is tried at the end too
      {"x(a*)+", "x", true},
      {"x(a*)*", "x", true},
      {"(a*)+", "", true},
      {"(a*){3}", "aa", true},
      {"x(a?){2}", "x", true},
      {"xa+", "x", false},
      // assertions
      {"^abc$", "abc", true},
      {"a^b", "ab", false},
      {"a$b", "ab", false},
      {"a$", "a", true},
      {"\\bfoo\\b", "foo", true},
      {"a\\bb", "ab", false},
      {"a\\Bb", "ab", true},
      {"a\\b-", "a-", true},
      {"a\\B-", "a-", false},
      {"\\b", "", false},
      {"\\B", "", true},
      // look-aheads match empty
      {"(?=a)a", "a", true},
      {"(?=b)a", "a", false},
      {"(?!b)a", "a", true},
      {"(?!a)a", "a", false},
      {"(?=ab)abc", "abc", true},
      {"(?=a*b)a+b", "aab", true},
      {"(?=a*)a*", "aa", true},
      // the dot: one code point, no line terminator
      {".", "a", true},
      {".", "\n", false},
      {".", "\r", false},
      {".", "\xe2\x80\xa8", false},
      {".", "\xe2\x80\xa9", false},
      {".", "é", true},
      {"..", "é", false},
      {".", "\xf0\x9f\x98\x80", true},
      {".", "\xff", false},
      {".", "\xc3", false},
      {".", "", false},
      // Quantified ".": the same code points, one after another, never a line terminator.
      {".*", "ab\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80z", true},
      {".*", "", true},
      {".*", "ab\ncd", false},
      {"a.*", "a\r", false},
      {".*", "ab\xe2\x80\xa8", false},
      {".+x", "ab\xe2\x80\xa9x", false},
      {".*x", "abc\xc3x", false},
      {".+", "\xff", false},
      {".{2}", "\xc3\xa9", false},
      {".{2}", "\xc3\xa9" "a", true},
      {".{1,2}\n", "ab\n", true},
      {".*?c", "abc", false},
      {".*?", "", true},
      {"(?:.)*b", "aab", false},
      {"(?:.|\n)*", "a\nb", true},
      // class escapes
      {"\\d", "7", true},
      {"\\d", "a", false},
      {"\\D", "a", true},
      {"\\D", "é", true},
      {"\\D", "7", false},
      {"\\s", " ", true},
      {"\\s", "\t", true},
      {"\\s", "\v", true},
      {"\\s", "\r\n", true},
      {"\\s\\s", "\r\n", false},
      {"\\s", "\xc2\xa0", true},
      {"\\s", "\xef\xbb\xbf", true},
      {"\\s", "\xe2\x80\xa8", true},
      {"\\s", "a", false},
      {"\\S+", "abc", true},
      {"\\S+", "a c", false},
      {"\\S", "é", true},
      {"\\w+", "a_Z9", true},
      {"\\w", "é", false},
      {"\\W", "é", true},
      {"\\W", " ", true},
      {"\\W", "a", false},
      {"\\W", "_", false},
      {"\\W", "\xff", false},
      {"\\h+", "日本語", true},
      {"\\h", "〇", true},
      {"\\h", "\xf0\xa0\x80\x80", true},
      {"\\h", "a", false},
      {"\\H", "a", true},
      {"\\H", "日", false},
      // classes compare decoded code points
      {"[abc]", "b", true},
      {"[abc]", "d", false},
      {"[a-z]+", "hello", true},
      {"[a-z]+", "Hello", false},
      {"[a-cx-z]", "y", true},
      {"[a-cx-z]", "m", false},
      {"[a-cmx-z]", "m", true},
      {"[ab-dz]", "c", true},
      {"[ab-dz]", "z", true},
      {"[é]", "é", true},
      {"[é]", "Ã", false},
      {"[à-ÿ]", "é", true},
      {"[à-ÿ]", "Ā", false},
      {"[日本]+", "本日", true},
      {"[-a]", "-", true},
      {"[a-]", "-", true},
      {"[a-c-e]", "-", true},
      {"[a-c-e]", "d", false},
      {"[^0-9]", "7", false},
      {"[^0-9]", "x", true},
      {"[^a]", "é", true},
      {"[^a]", "\xff", false},
      {"[^a]", "", false},
      {"[\\n\\t]", "\t", true},
      {"[\\x41-\\x43]", "B", true},
      {"[\\u00e9]", "é", true},
      {"[\\u00e0-\\u00ff]", "é", true},
      {"[\\cJ]", "\n", true},
      {"[\\]]", "]", true},
      {"[\\[\\]\\\\^$.|?*+(){}/]+", "[]\\^$.|?*+(){}/", true},
      {"[z-a]", "m", false},
      // character escapes
      {"\\n", "\n", true},
      {"\\t\\r\\f\\v", "\t\r\f\v", true},
      {"\\x41", "A", true},
      {"\\xe9", "\xe9", true},
      {"\\xe9", "é", false},
      {"\\u00e9", "é", true},
      {"\\u0041", "A", true},
      {"\\u0001F600", "\xf0\x9f\x98\x80", true},
      {"\\cJ", "\n", true},
      {"\\ca", "\x01", true},
      {"\\0", nul("", ""), true},
      {"a\\0b", nul("a", "b"), true},
      // identity escapes of the syntax characters
      {"a\\.b", "a.b", true},
      {"a\\.b", "axb", false},
      {"\\^\\$\\\\\\.\\*\\+\\?\\(\\)\\[\\]\\{\\}\\|\\/", "^$\\.*+?()[]{}|/", true},
      {"\\(a\\)+", "(a))", true},
      {"(\\))+", "))", true},
      // back-references: groups numbered by their opening parenthesis, last capture
      {"(a)\\1", "aa", true},
      {"(a)\\1", "ab", false},
      {"(a)\\1b", "aab", true},
      {"(a+)-\\1", "aa-aa", true},
      {"(a+)-\\1", "aa-a", false},
      {"((a)b)\\2", "aba", true},
      {"((a)b)\\1", "abab", true},
      {"(a|b)+-\\1", "ab-b", true},
      {"(a|b)+-\\1", "ab-a", false},
      {"\\1(a)", "a", true},
      {"(a\\1)", "a", true},
      {"(a)?b\\1", "b", true},
      {"(a*)\\1", "", true},
      {"(a)\\2", "aa", false},
      {"(a)\\10", "aa", false},
      // captures of failed alternatives and iterations are rolled back
      {"(?:(a)x|ab)\\1", "ab", true},
      {"(?:(a)x)*ab\\1", "ab", true},
      {"(?:(a)x|(a)b)\\2", "aba", true},
      {"(?:(a))\\1", "aa", true},
      {"(?=(a))a\\1", "a", true},
      {"(?!(a)x)a\\1", "a", true},
      // invalid patterns never match, and are not cut to a prefix
      {"", "", false},
      {"a)", "a", false},
      {"a]", "a", false},
      {"a}", "a", false},
      {"a{", "a", false},
      {"(a", "a", false},
      {"a|", "a", false},
      {"|a", "a", false},
      {"*a", "a", false},
      {"a**", "a", false},
      {"()", "", false},
      {"[]", "", false},
      {"[a", "a", false},
      {"\\", "", false},
      {"\\c1", "1", false},
      {"\\x4", "x4", false},
      {"\\u123", "u123", false},
      {"\\q", "q", false},
      {"[\\d]", "1", false},
      {"(?=a)*a", "a", false},
      {"a{3,2}", "aa", false},
      {"a{3,2}|b", "b", false},
      {"a{4294967297}|b", "b", false},
      {"a{0,4294967297}b", "b", false},
      {"a{0,4294967296}b", "b", true},
      {"a{99999999999999999999}|b", "b", false},
      {"a{01}", "a", false},
  };
  return rows;
}

TEST_F(engine_fixture, table_of_patterns) {
  for (const row& r : table()) {
    EXPECT_EQ(match(r.pattern, r.subject), r.expected)
        << "pattern \"" << r.pattern << "\" subject \"" << r.subject << "\"";
  }
}

// The same table, each row on a fresh engine: no verdict may depend on the cache.
TEST(regex_engine_cache, verdicts_do_not_depend_on_the_previous_pattern) {
  regex_engine a;
  ASSERT_TRUE(regex_engine_init(&a));
  for (const row& r : table()) {
    regex_engine fresh;
    ASSERT_TRUE(regex_engine_init(&fresh));
    bool want = regex_engine_match(&fresh, r.pattern, std::strlen(r.pattern), r.subject.data(),
                                   r.subject.size());
    regex_engine_free(&fresh);
    EXPECT_EQ(regex_engine_match(&a, r.pattern, std::strlen(r.pattern), r.subject.data(),
                                 r.subject.size()),
              want)
        << r.pattern;
    EXPECT_EQ(regex_engine_match(&a, r.pattern, std::strlen(r.pattern), r.subject.data(),
                                 r.subject.size()),
              want)
        << r.pattern << " (cached)";
  }
  regex_engine_free(&a);
}

TEST_F(engine_fixture, cache_keeps_its_own_copy_of_the_pattern) {
  // The caller's pattern buffer dies and another with the same bytes comes: the cached
  // program must not point into the first one (AddressSanitizer sees any such read).
  {
    std::unique_ptr<char[]> p(new char[4]);
    std::memcpy(p.get(), "ab+c", 4);
    EXPECT_TRUE(regex_engine_match(&e, p.get(), 4, "abbc", 4));
  }
  std::string again = "ab+c";
  EXPECT_TRUE(regex_engine_match(&e, again.data(), again.size(), "abc", 3));
  EXPECT_EQ(std::string(e.pattern.data, e.pattern.size), "ab+c");

  // The same buffer changed in place is another pattern, compared by bytes.
  char buf[] = "a+";
  EXPECT_TRUE(regex_engine_match(&e, buf, 2, "aa", 2));
  buf[0] = 'b';
  EXPECT_TRUE(regex_engine_match(&e, buf, 2, "bb", 2));
  EXPECT_FALSE(regex_engine_match(&e, buf, 2, "aa", 2));
}

TEST_F(engine_fixture, cache_holds_invalid_patterns_and_replaces_them) {
  EXPECT_FALSE(regex_engine_set_pattern(&e, "a(", 2));
  EXPECT_FALSE(e.pattern_valid);
  EXPECT_EQ(std::string(e.pattern.data, e.pattern.size), "a(");
  EXPECT_FALSE(regex_engine_match(&e, "a(", 2, "a(", 2));
  EXPECT_TRUE(regex_engine_match(&e, "a\\(", 3, "a(", 2));
  EXPECT_TRUE(e.pattern_valid);
  // The empty pattern parses to nothing, also after a valid one.
  EXPECT_FALSE(regex_engine_match(&e, "", 0, "", 0));
  EXPECT_FALSE(e.pattern_valid);
  EXPECT_TRUE(regex_engine_match(&e, "x*", 2, "", 0));
}

TEST_F(engine_fixture, prefix_length_is_what_the_pattern_consumed) {
  ASSERT_TRUE(regex_engine_set_pattern(&e, "a+", 2));
  EXPECT_EQ(regex_engine_match_prefix(&e, "aab", 3), 2u);
  EXPECT_EQ(regex_engine_match_prefix(&e, "baa", 3), rx_no_match);
  ASSERT_TRUE(regex_engine_set_pattern(&e, "\\s", 2));
  EXPECT_EQ(regex_engine_match_prefix(&e, "\r\nx", 3), 2u);
}

// Subjects are value texts without a terminator: a code point cut by the end is
// malformed, and no matcher reads past the length.
TEST_F(engine_fixture, subjects_are_read_only_within_their_length) {
  const std::vector<std::pair<const char*, std::string>> cut = {
      {".", "\xe6\x97"},         {"\\h", "\xe6\x97"},   {"\\H", "\xf0\x9f\x98"},
      {"[^a]", "\xc3"},          {"\\S", "\xe2\x80"},   {"\\u00e9", "\xc3"},
      {"[é]", "\xc3"},           {"\\W", "\xc3"},       {"\\D", "\xe2"},
      {"abc", "ab"},             {"(a)\\1", "a"},
  };
  for (const auto& [pattern, subject] : cut) EXPECT_FALSE(match(pattern, subject)) << pattern;
  EXPECT_TRUE(match("\\s", "\r"));
}

TEST_F(engine_fixture, nesting_is_limited_not_a_stack_overflow) {
  auto nested = [](int depth, const char* open) {
    std::string p;
    for (int i = 0; i < depth; ++i) p += open;
    p += "a";
    for (int i = 0; i < depth; ++i) p += ")";
    return p;
  };
  EXPECT_TRUE(match(nested(100, "("), "a"));
  EXPECT_TRUE(match(nested(100, "(?:"), "a"));
  EXPECT_FALSE(match(nested(100000, "("), "a"));
  EXPECT_FALSE(match(nested(100000, "(?="), "a"));
  // Long flat chains are not nesting.
  std::string alts = "b";
  for (int i = 0; i < 300; ++i) alts += "|b";
  alts += "|a";
  EXPECT_TRUE(match(alts, "a"));
  std::string cls = "[";
  for (int i = 0; i < 300; ++i) cls += (i % 2) ? "x" : "y-z";
  cls += "a]+";
  EXPECT_TRUE(match(cls, "ayzx"));
}

// Loops that re-scan the same text (a failing alternative, a look-ahead inside a star)
// stay linear. Quadratic work on these subjects would take minutes, not milliseconds.
TEST_F(engine_fixture, rescanning_loops_stay_linear) {
  std::string as(200000, 'a');
  EXPECT_TRUE(match("(a*b|a*c|a)*", as));
  EXPECT_FALSE(match("(a*b|a*c|a)*d", as));
  EXPECT_TRUE(match("((?=a*)a)*", as));
  EXPECT_TRUE(match("(?:(?!a*b)a)+", as));
  EXPECT_TRUE(match("(?:a+b|a)+", as));
  EXPECT_TRUE(match("(?:[ab]*c|.)*", as + "x"));
  // With back-references elsewhere, a loop without groups inside is still memoised.
  EXPECT_TRUE(match("(x)(?:a*b|a*c|a)*\\1", "x" + as + "x"));
  EXPECT_FALSE(match("(x)(?:a*b|a*c|a)*\\1", "x" + as + "y"));
  // A loop with groups replays their last captures from its memo.
  EXPECT_TRUE(match("(?:(a*b)|(a*c)|(a))*-\\3\\1", "aab" + as + "-aaab"));
  EXPECT_FALSE(match("(?:(a*b)|(a*c)|(a))*-\\3\\1", "aab" + as + "-aab"));
  EXPECT_TRUE(match("(?:(a*b)|(a*c)|(a))*-\\2", as + "-"));
}

long thread_minor_faults() {
  rusage u{};
  getrusage(RUSAGE_THREAD, &u);
  return u.ru_minflt;
}

// A long subject matched again by the same engine maps no new memory: the memo of each
// re-scanning loop (16 bytes per subject byte) is kept, not mapped and faulted in once per
// match. The first match maps
// its memos and the stack of iteration starts once each, not through growth by doubling.
TEST(regex_engine_memory, long_subject_maps_its_memos_once) {
  // Blocks above 1 MiB are mapped on every request (as blocks above 32 MiB always are), so
  // memory taken anew shows up in the fault count.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  const std::string p = "(?:a*b|a*c|a)*";
  const std::string s(1u << 19, 'a');  // each memo 8 MiB
  regex_engine fresh;
  ASSERT_TRUE(regex_engine_init(&fresh));
  auto run = [&] { return regex_engine_match(&fresh, p.data(), p.size(), s.data(), s.size()); };
  long before = thread_minor_faults();
  ASSERT_TRUE(run());
  const long first = thread_minor_faults() - before;
  before = thread_minor_faults();
  ASSERT_TRUE(run());
  const long second = thread_minor_faults() - before;
  regex_engine_free(&fresh);
  // Two memos of 16 bytes and one stack of 8 bytes per subject byte: 40 bytes mapped per byte.
  EXPECT_LT(first, long(s.size()) * 52 / 4096) << "pages mapped by the first match";
  EXPECT_LT(second, long(s.size()) / 4096) << "pages mapped again by the second match";
}

// One engine over subjects of changing lengths (the memo it keeps is longer or shorter than
// the next subject) gives the verdicts of a fresh engine: no entry of an earlier subject is read.
TEST_F(engine_fixture, kept_memo_never_answers_for_another_subject) {
  const std::string as(3000, 'a');
  const std::vector<std::string> subjects = {
      as,        as + "d",          "aab" + as + "-aaab", as.substr(0, 10) + "b",
      as + "c",  as.substr(0, 5),   "aab" + as + "-aab",  as + "-",
      as + "ad", as.substr(0, 2000) + "c" + as.substr(0, 700) + "d"};
  const char* patterns[] = {"(?:a*b|a*c|a)*", "(?:a*b|a*c|a)*d", "(?:(a*b)|(a*c)|(a))*-\\3\\1",
                            "(?:(a*b)|(a*c)|(a))*-\\2", "(?:a*b|a*c|a)*(?:d|-)"};
  for (const char* pat : patterns) {
    for (const std::string& subject : subjects) {
      regex_engine fresh;
      ASSERT_TRUE(regex_engine_init(&fresh));
      const bool want = regex_engine_match(&fresh, pat, std::strlen(pat), subject.data(), subject.size());
      regex_engine_free(&fresh);
      EXPECT_EQ(match(pat, subject), want) << pat << " on " << subject.size() << " bytes";
    }
  }
}

// Random byte soup over the syntax characters: every pattern either compiles or not, never
// crashes, reads out of bounds or hangs, and a cached verdict equals a fresh one.
TEST_F(engine_fixture, random_patterns_are_handled_safely) {
  const char alphabet[] = "ab()[]{}|*+?^$.\\-,0123dDsSwWhHbBxuc:=!\xc3\xa9";
  std::mt19937 rng(1234);
  auto pick = [&rng](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
  regex_engine other;
  ASSERT_TRUE(regex_engine_init(&other));
  int valid = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string p, s;
    for (size_t k = 0, n = 1 + pick(12); k < n; ++k) p += alphabet[pick(sizeof alphabet - 1)];
    for (size_t k = 0, n = pick(8); k < n; ++k) s += "ab-1 \xc3\xa9"[pick(7)];
    bool v = regex_engine_set_pattern(&e, p.data(), p.size());
    valid += v;
    bool first = match(p, s);
    regex_engine_set_pattern(&other, "", 0);  // forces a fresh parse below
    EXPECT_EQ(regex_engine_match(&other, p.data(), p.size(), s.data(), s.size()), first) << p;
    if (!v) {
      EXPECT_FALSE(first) << p;
    }
  }
  regex_engine_free(&other);
  EXPECT_GT(valid, 0);
}

TEST(regex_classes, matchers_return_lengths) {
  struct c {
    class_matcher m;
    std::string in;
    u64 want;
  };
  const u64 no = rx_no_match;
  const std::vector<c> cases = {
      {cls_digit, "0", 1},          {cls_digit, "9x", 1},        {cls_digit, "a", no},
      {cls_digit, "", no},          {cls_not_digit, "é", 2},     {cls_not_digit, "\x80", no},
      {cls_space, "\r\n", 2},       {cls_space, "\r", 1},        {cls_space, "\xc2\xa0", 2},
      {cls_space, "\xef\xbb\xbf", 3}, {cls_space, "\xe2\x80\xa9", 3}, {cls_space, "\xef\xbb", no},
      {cls_space, "\x0d", 1},       {cls_space, "\x0e", no},     {cls_space, "\x08", no},
      {cls_not_space, " ", no},     {cls_not_space, "日", 3},   {cls_word, "_", 1},
      {cls_word, "-", no},          {cls_not_word, "-", 1},      {cls_not_word, "日", 3},
      {cls_not_word, "z", no},      {cls_han, "日", 3},          {cls_han, "a", no},
      {cls_not_han, "a", 1},        {cls_not_han, "\xff", no},   {cls_not_han, "", no},
  };
  for (const c& k : cases) {
    std::unique_ptr<char[]> buf(new char[k.in.size() + 1]);
    std::memcpy(buf.get(), k.in.data(), k.in.size());
    EXPECT_EQ(k.m(buf.get(), k.in.size()), k.want) << k.in;
  }
}

TEST(regex_classes, escape_table_has_eight_slots) {
  const class_escape_table& t = regex_class_escape_table();
  EXPECT_EQ(t.size, 256u);
  int filled = 0;
  for (class_matcher m : t.slots) filled += m != nullptr;
  EXPECT_EQ(filled, 8);
  EXPECT_EQ(class_escape_matcher('W'), cls_not_word);
  EXPECT_EQ(class_escape_matcher('h'), cls_han);
  EXPECT_EQ(class_escape_matcher('x'), nullptr);
  EXPECT_EQ(class_escape_matcher('\xe9'), nullptr);
}

TEST(regex_classes, han_ranges_and_their_edges) {
  const std::vector<std::pair<u32, bool>> cps = {
      {0x4E00, true},   {0x9FFF, true},   {0x4DFF, false},  {0x3400, true},   {0x33FF, false},
      {0x20000, true},  {0x2A6DF, true},  {0x2A6E0, false}, {0x2A700, true},  {0x2EBEF, true},
      {0x2EBF0, false}, {0x30000, true},  {0x3134F, true},  {0x31350, false}, {0xF900, true},
      {0xFAFF, true},   {0x2E80, true},   {0x2FD5, true},   {0x2FD6, false},  {0x31C0, true},
      {0x2F800, true},  {0x2FA1F, true},  {0x2FF0, true},   {0x2FFB, true},   {0x2FFC, false},
      {0x3100, true},   {0x31A0, true},   {0xE815, true},   {0xE814, false},  {0xE400, true},
      {0xE5E8, true},   {0xE5E9, false},  {0xE600, true},   {0xE6CF, true},   {0x3007, true},
      {0x3006, false},  {0x3008, false},  {'a', false},
  };
  for (const auto& [cp, want] : cps) EXPECT_EQ(is_han(cp), want) << std::hex << cp;
}

TEST(regex_classes, escape_letter_maps) {
  const char_map& ce = regex_control_escape_map();
  EXPECT_EQ(char_map_lookup(ce, 'f'), 12);
  EXPECT_EQ(char_map_lookup(ce, 'n'), 10);
  EXPECT_EQ(char_map_lookup(ce, 'r'), 13);
  EXPECT_EQ(char_map_lookup(ce, 't'), 9);
  EXPECT_EQ(char_map_lookup(ce, 'v'), 11);
  EXPECT_EQ(char_map_lookup(ce, 'e'), -1);
  EXPECT_EQ(char_map_lookup(ce, 'a'), -1);
  EXPECT_EQ(char_map_lookup(ce, 'x'), -1);
  const char_map& cl = regex_control_letter_map();
  EXPECT_EQ(char_map_lookup(cl, 'A'), 1);
  EXPECT_EQ(char_map_lookup(cl, 'J'), 10);
  EXPECT_EQ(char_map_lookup(cl, 'z'), 26);
  EXPECT_EQ(char_map_lookup(cl, '['), -1);
  EXPECT_EQ(char_map_lookup(cl, '`'), -1);
  EXPECT_EQ(char_map_lookup(cl, '@'), -1);
  EXPECT_EQ(char_map_lookup(cl, '\xc3'), -1);
}

TEST(regex_classes, decode_is_bounded) {
  u32 cp;
  EXPECT_EQ(rx_decode("\xc3\xa9", 2, &cp), 2);
  EXPECT_EQ(cp, 0xE9u);
  EXPECT_EQ(rx_decode("\xc3\xa9", 1, &cp), -1);
  EXPECT_EQ(rx_decode("\xf0\x9f\x98\x80", 3, &cp), -1);
  EXPECT_EQ(rx_decode("\xf0\x9f\x98\x80", 4, &cp), 4);
  EXPECT_EQ(cp, 0x1F600u);
  EXPECT_EQ(rx_decode("a", 0, &cp), -1);
  EXPECT_EQ(rx_decode("\xc3\x41", 2, &cp), -1);
  EXPECT_EQ(rx_decode("\xf8\x80\x80\x80", 4, &cp), -1);
}

// Rule numbers are parse-node ids - 2; appending rules must never move them.
TEST(regex_grammar, rules_keep_their_numbers) {
  const char* names[] = {"pattern", "disjunction", "alternative", "term", "assertion",
                         "quantifier", "quantifier_prefix", "atom", "pattern_character",
                         "atom_escape", "character_escape", "control_escape", "control_letter",
                         "decimal_escape", "decimal_integer", "nonzero_digit", "decimal_digit",
                         "character_class_escape", "character_class", "class_ranges",
                         "nonempty_class_ranges", "nonempty_class_ranges_nodash", "class_atom",
                         "class_atom_nodash", "class_escape", "hex_escape_sequence", "hex_digit",
                         "unicode_escape_sequence", "identity_escape"};
  static_assert(sizeof names / sizeof *names == regex_rule_count);
  regex_engine e;
  ASSERT_TRUE(regex_engine_init(&e));
  EXPECT_EQ(e.grammar.rules.size, 2112u);
  EXPECT_EQ(e.grammar.rule_count, regex_rule_count);
  for (u64 n = 0; n < regex_rule_count; ++n) {
    adt::text_view name = grammar_rule_name(&e.grammar, n);
    EXPECT_EQ(std::string(name.data, name.size), names[n]) << n;
  }
  EXPECT_EQ(e.root, e.grammar.rules.slots[rule_ref_base].rule);
  EXPECT_EQ(rx_id_identity_escape, regex_rule_count + 1);
  regex_engine_free(&e);
}

}  // namespace
