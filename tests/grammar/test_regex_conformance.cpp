// The regular-expression engine, construct by construct: for every action of the pattern
// tree (literals, alternation, each quantifier form, assertions, groups, escapes, classes,
// class escapes and back-references) the whole-subject verdicts its wording implies,
// including the cases where it differs from a backtracking engine.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "grammar/regex_engine.h"

using namespace kk;
using namespace kk::grammar;

namespace {

struct rx_case {
  std::string pattern;
  std::string subject;
  bool expected;
};

std::string bytes(const char* s, size_t n) { return std::string(s, n); }

// The subject lives in a block of exactly its length: nothing may read past it.
bool whole_match(regex_engine& e, const std::string& pattern, const std::string& subject) {
  std::unique_ptr<char[]> s(new char[subject.size() + 1]);
  std::memcpy(s.get(), subject.data(), subject.size());
  return regex_engine_match(&e, pattern.data(), pattern.size(), subject.empty() ? nullptr : s.get(),
                            subject.size());
}

const std::vector<rx_case>& conformance_cases() {
  static const std::vector<rx_case> cases = {
      // terminal text and pattern characters: the code point's bytes, same length
      {"日本", "日本", true},
      {"日", "日本", false},
      {"-,/:=!<>#&'\"~ ", "-,/:=!<>#&'\"~ ", true},
      {bytes("a\0b", 3), bytes("a\0b", 3), true},
      {bytes("a\0b", 3), "ab", false},
      {"\xc3", "\xc3", false},          // a malformed pattern byte never matches
      {"\xc3", "\xc3\x83", false},
      {"a\xc3", "a\xc3", false},
      // disjunction: the first alternative that matches wins, nothing is retried
      {"a|ab", "ab", false},
      {"ab|a", "a", true},
      {"a|b|c", "b", true},
      {"(?:a|ab)c", "abc", false},
      {"(?:ab|a)c", "ac", true},
      {"(?:x|y|ab)", "ab", true},
      // quantifiers: bounds of each form, possessive runs
      {"a*", "aaaa", true},
      {"a*a", "aaaa", false},
      {"a+a", "aa", false},
      {"a?a", "a", false},
      {"a{3}", "aaa", true},
      {"a{3}", "aaaa", false},
      {"a{3,}", "aaaaa", true},
      {"a{3,}", "aa", false},
      {"a{1,3}a", "aaa", false},
      {"a{1,3}a", "aaaa", true},
      {"a{0}", "a", false},
      {"a{0}a", "a", true},
      {"a{10}", std::string(10, 'a'), true},
      {"(?:ab){2}c", "ababc", true},
      // lazy: stop at the minimum
      {"a*?a", "a", true},
      {"a+?a", "aa", true},
      {"a+?", "aa", false},
      {"a??a", "a", true},
      {"a{2}?", "aa", true},
      {"a{1,3}?a", "aa", true},
      {"a{1,3}?a", "aaa", false},
      {"a{2,}?a", "aaa", true},
      {"(?:ab)*?ab", "ab", true},
      // an iteration of length 0 ends the loop as matched, whatever the count
      {"(?:a*){5}b", "aab", true},
      {"(?:a|(?=b))+b", "aab", true},
      {"(?:a*){2,}", "", true},
      {"(?:(?!a))+", "", true},
      // assertions never take a quantifier
      {"^*", "", false},
      {"\\b+", "", false},
      {"(?=a)?a", "a", false},
      // quantifier syntax
      {"a{00}", "", false},
      {"a{1 }", "a", false},
      {"a{,3}", "a", false},
      {"a{2,1}", "a", false},
      {"a{4294967296}|b", "b", true},
      {"a{4294967297}|b", "b", false},
      // ^ and $: subject start and end only (no multi-line mode)
      {"^", "", true},
      {"$", "", true},
      {"^a$", "a", true},
      {"a$\n", "a\n", false},
      {"a\n^b", "a\nb", false},
      {"a(?:$|b)", "a", true},
      {"a(?:b|$)", "ab", true},
      // \b and \B over ASCII word bytes
      {"\\ba", "a", true},
      {"a\\b", "a", true},
      {"\\b", "a", false},
      {"_\\b", "_", true},
      {"a\\b\xc3\xa9", "a\xc3\xa9", true},
      {"\\b\xc3\xa9", "\xc3\xa9", false},
      {"\\B\xc3\xa9", "\xc3\xa9", true},
      {"-\\B-", "--", true},
      {"1\\Ba", "1a", true},
      // look-aheads: length 0, any of their alternatives
      {"(?=a|b)b", "b", true},
      {"(?!a|b)c", "c", true},
      {"(?!a|b)b", "b", false},
      {"(?=a)", "", false},
      {"(?!a)", "", true},
      {"(?=ab)a", "a", false},
      {"(?=a)ab", "ab", true},
      // the dot: one code point except CR, LF, U+2028, U+2029
      {".", "\t", true},
      {".", bytes("\0", 1), true},
      {".", "\xc2\x85", true},
      {".", "\xe2\x80\xaa", true},
      {".", "\r", false},
      {".", "\xe2\x80\xa8", false},
      {".", "\xe2\x80\xa9", false},
      {".", "\xe2\x80", false},
      {".", "\x80", false},
      {".+", "a\xf0\x9f\x98\x80z", true},
      // control escapes and control letters
      {"\\f\\n\\r\\t\\v", "\f\n\r\t\v", true},
      {"\\cA", "\x01", true},
      {"\\cz", "\x1a", true},
      {"\\cM", "\r", true},
      {"\\c[", "\x1b", false},
      {"\\c_", "\x1f", false},
      {"\\e", "\x1b", false},
      {"\\a", "\x07", false},
      // hex escapes compare one raw byte
      {"\\x41", "A", true},
      {"\\x4a\\x4A", "JJ", true},
      {"\\xff", "\xff", true},
      {"\\xc3\\xa9", "\xc3\xa9", true},
      {"\\xe9", "\xc3\xa9", false},
      {"\\x4g", "x4g", false},
      // unicode escapes: four or eight digits, one code point
      {"\\u00E9", "\xc3\xa9", true},
      {"\\u65e5", "日", true},
      {"\\u0001F600", "\xf0\x9f\x98\x80", true},
      {"\\u00e9A", "\xc3\xa9" "A", true},
      {"\\u00410042", "AB", false},
      {"\\u00410042", "A0042", false},
      {"\\u00e9", "\xe9", false},
      // identity escapes (only the syntax characters)
      {"\\/", "/", true},
      {"\\-", "-", false},
      {"\\]", "]", true},
      {"\\}", "}", true},
      // class escapes: only D H S W d h s w
      {"\\d+", "0123456789", true},
      {"\\d", "\xd9\xa3", false},
      {"\\D", "", false},
      {"\\D", "\xe2\x80", false},
      {"\\s", "\x0b", true},
      {"\\s", "\x0c", true},
      {"\\s", "\x1c", false},
      {"\\s", "\xc2\x85", false},
      {"\\s", "\xe3\x80\x80", false},
      {"\\s", "\xe2\x80\xa0", false},
      {"\\s", "\xe2\x80\xa9", true},
      {"\\s\\n", "\r\n", false},
      {"\\s+", "\r\n\r\n \t", true},
      {"\\s", "\r", true},
      {"\\s\\s", "\r\r", true},
      {"\\S", "\r", false},
      {"\\S", "\n", false},
      {"\\S", "\xc2\xa0", false},
      {"\\S", "\xef\xbb\xbf", false},
      {"\\S", "\xef\xbb", false},
      {"\\S", "\xc2", false},
      {"\\w", "_", true},
      {"\\w", "-", false},
      {"\\W\\W", "-\xe6\x97\xa5", true},
      {"\\W", "", false},
      {"\\h", "\xe3\x80\x87", true},   // U+3007
      {"\\h", "\xe3\x80\x86", false},  // U+3006
      {"\\h", "\xee\xa0\x95", true},   // U+E815
      {"\\h", "\xe2\xbf\x95", true},   // U+2FD5
      {"\\h", "\xe2\xbf\x96", false},  // U+2FD6
      {"\\h", "\xf0\xb1\x8d\x8f", true},   // U+3134F
      {"\\h", "\xf0\xb1\x8d\x90", false},  // U+31350
      {"\\H", "\xe6\x97", false},
      {"\\H\\h", "a日", true},
      {"\\X", "X", false},
      // classes: "-", literal atoms by code point, escapes, ranges of values
      {"[-]", "-", true},
      {"[^-]", "-", false},
      {"[--/]", ".", true},
      {"[--/]", ",", false},
      {"[^^]", "^", false},
      {"[^^]", "a", true},
      {"[^]", "^", false},
      {"[\\^]", "^", true},
      {"[\\.]", ".", true},
      {"[\\.]", "a", false},
      {"[\\]a]", "a", true},
      {"[\\.-\\/]", "/", true},
      {"[\xc3\xa9]", "\xc3\x83", false},
      {"[^\xc3\xa9]", "\xc3\x83", true},
      {"[^\xc3\xa9]", "\xc3\xa9", false},
      {"[\\u0041]", "A", true},
      {"[\\x41]", "A", true},
      {"[\\xe9]", "\xe9", true},
      {"[\\xe9]", "\xc3\xa9", false},
      {"[\\xc3]\\xa9", "\xc3\xa9", true},
      {"[^\\xc3]", "\xc3\xa9", false},
      {"[\\x80-\\xff]", "\xc3\xa9", true},
      {"[\\x80-\\xff]", "\xe9", false},
      {"[\\n-\\r]", "\x0b", true},
      {"[\\cA-\\cC]", "\x02", true},
      {"[\\cA-\\cC]", "\x04", false},
      {"[a-\\u00ff]", "\xc3\xa9", true},
      {"[\\u0100-\\u017f]", "\xc4\x81", true},
      {"[a-c-e]", "e", true},
      {"[a-c-e]", "-", true},
      {"[a-c-e]", "d", false},
      {"[^a-cx-z]", "m", true},
      {"[^a-cx-z]", "y", false},
      {"[^\\xe9]", "\xe9", false},
      {"[^\\xe9]", "\xc3\xa9", true},
      {"[\\\\]", "\\", true},
      {"[ab]*?b", "b", true},
      {"[a-z]*?", "a", false},
      {"\\d+?\\d", "12", true},
      {"[a-z]{2}", "abc", false},
      {"\\d{1,2}\\d", "123", true},
      // a range whose ends are out of order holds no code point; the pattern stays valid
      {"[z-a]", "m", false},
      {"[^z-a]", "m", true},
      {"[z-ab]", "b", true},
      {"[z-a]|b", "b", true},
      {"[z-a]?b", "b", true},
      // ranges and code-point atoms take the decoded value of a longer (overlong) form too;
      // "-" and hex or control escapes compare one byte
      {"[a-z]", "\xc1\xa1", true},
      {"[a]", "\xc1\xa1", true},
      {"[^a-z]", "\xc1\xa1", false},
      {"[\\u0041]", "\xc1\x81", true},
      {"[\\x41]", "\xc1\x81", false},
      {"[^\\x41]", "\xc1\x81", true},
      {"[\\n]", "\xc0\x8a", false},
      {"[-]", "\xc0\xad", false},
      {"[\\x00-\\x7f]+", "\xc0\x80\xc1\xbf", true},
      {"[]", "]", false},
      {"[a", "a", false},
      {"[\\d]", "1", false},
      {"[\\b]", "\b", false},
      {"[\\0]", bytes("\0", 1), false},
      // back-references: numbered by the opening parenthesis, at the current position
      {"(a)(b)\\2\\1", "abba", true},
      {"(a(b))\\2\\1", "abbab", true},
      {"(a)|b\\1", "b", true},
      {"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)\\10", "abcdefghijj", true},
      {"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)\\10", "abcdefghija0", false},
      {"(a){0}\\1", "", true},
      {"\\01", bytes("\0" "1", 2), true},
      {"(?=(a)\\1)aa", "aa", true},
      // reg_match's own examples: the whole text must match
      {"ab.", "abc", true},
      {"ab.", "abd", true},
      {"ab", "abc", false},
  };
  return cases;
}

TEST(regex_conformance, verdict_of_every_construct) {
  regex_engine e;
  ASSERT_TRUE(regex_engine_init(&e));
  for (const rx_case& c : conformance_cases()) {
    EXPECT_EQ(whole_match(e, c.pattern, c.subject), c.expected)
        << "pattern \"" << c.pattern << "\" subject \"" << c.subject << "\"";
  }
  regex_engine_free(&e);
}

}  // namespace
