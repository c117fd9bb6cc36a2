// The regular-expression engine, construct by construct: for every action of the pattern
// tree (literals, alternation, each quantifier form, assertions, groups, escapes, classes,
// class escapes and back-references) the whole-subject verdicts its wording implies,
// including the cases where it differs from a backtracking engine.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "grammar/matcher.h"
#include "grammar/regex_classes.h"
#include "grammar/regex_engine.h"
#include "grammar/regex_grammar.h"

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

// A direct walk of the pattern tree, one rule per node id, as the matching rules read:
// the reference the compiled program must agree with.
struct tree_walk {
  const parse_node* root = nullptr;
  const char* s = nullptr;
  u64 n = 0;
  std::vector<const parse_node*> groups;  // by number - 1, in order of the opening parenthesis
  struct cap {
    u64 start = 0, length = 0;
    bool set = false;
  };
  std::vector<cap> caps;
  bool valid = true;

  static constexpr u64 no = rx_no_match;

  static std::string text(const parse_node* x) { return std::string(x->start, x->length); }
  static const parse_node* kid(const parse_node* x, u64 i) {
    return i < child_count(x) ? child_at(x, i) : nullptr;
  }
  static const parse_node* kid_id(const parse_node* x, u16 id) {
    for (u64 i = 0; i < child_count(x); ++i)
      if (child_at(x, i)->id == id) return child_at(x, i);
    return nullptr;
  }

  void number_groups(const parse_node* x) {
    if (x->id == rx_id_atom && x->length > 1 && x->start[0] == '(' && x->start[1] != '?')
      groups.push_back(x);
    for (u64 i = 0; i < child_count(x); ++i) number_groups(child_at(x, i));
  }
  u32 group_of(const parse_node* x) const {
    for (u32 i = 0; i < groups.size(); ++i)
      if (groups[i] == x) return i + 1;
    return 0;
  }
  void check(const parse_node* x) {
    if (x->id == rx_id_decimal_escape) {
      u64 k = std::strtoull(text(x).c_str(), nullptr, 10);
      if (text(x).size() > 10 || k > groups.size()) valid = false;
    }
    if (x->id == rx_id_quantifier_prefix && x->start[0] == '{') {
      std::string t = text(x);
      u64 lo = 0, hi = 0;
      size_t comma = t.find(',');
      std::string a = t.substr(1, (comma == std::string::npos ? t.size() - 1 : comma) - 1);
      if (a.size() > 10 || (lo = std::strtoull(a.c_str(), nullptr, 10)) > (u64{1} << 32)) valid = false;
      if (comma != std::string::npos && comma + 2 < t.size()) {
        std::string b = t.substr(comma + 1, t.size() - comma - 2);
        if (b.size() > 10 || (hi = std::strtoull(b.c_str(), nullptr, 10)) > (u64{1} << 32) || lo > hi)
          valid = false;
      }
    }
    for (u64 i = 0; i < child_count(x); ++i) check(child_at(x, i));
  }

  u64 run(const char* subject, u64 length) {
    s = subject, n = length;
    caps.assign(groups.size() + 1, cap{});
    return disjunction(root, 0);
  }

  u64 disjunction(const parse_node* d, u64 pos) {
    for (u64 i = 0; i < child_count(d); ++i) {
      const parse_node* k = child_at(d, i);
      if (k->id != rx_id_alternative && k->id != rx_id_disjunction) continue;
      std::vector<cap> saved = caps;
      u64 r = k->id == rx_id_alternative ? alternative(k, pos) : disjunction(k, pos);
      if (r != no) return r;
      caps = saved;
    }
    return no;
  }
  u64 alternative(const parse_node* a, u64 pos) {
    u64 cur = pos;
    for (u64 i = 0; i < child_count(a); ++i) {
      u64 r = term(child_at(a, i), cur);
      if (r == no) return no;
      cur += r;
    }
    return cur - pos;
  }
  u64 term(const parse_node* t, u64 pos) {
    const parse_node* first = kid(t, 0);
    if (first->id == rx_id_assertion) return assertion(first, pos);
    const parse_node* q = kid_id(t, rx_id_quantifier);
    if (!q) return atom(first, pos);
    std::string pre = text(kid(q, 0));
    bool lazy = child_count(q) > 1;
    u64 min, max = ~u64{0};
    if (pre == "*") min = 0;
    else if (pre == "+") min = 1;
    else if (pre == "?") min = 0, max = 1;
    else {
      size_t comma = pre.find(',');
      min = std::strtoull(pre.c_str() + 1, nullptr, 10);
      if (comma == std::string::npos) max = min;
      else if (comma + 2 < pre.size()) max = std::strtoull(pre.c_str() + comma + 1, nullptr, 10);
    }
    u64 count = 0, cur = pos;
    for (;;) {
      if (max != ~u64{0} && count >= max) return cur - pos;
      if (lazy && count == min) return cur - pos;
      std::vector<cap> saved = caps;
      u64 r = atom(first, cur);
      if (r == no) {
        caps = saved;
        break;
      }
      if (r == 0) return cur - pos;
      cur += r;
      ++count;
    }
    return count >= min ? cur - pos : no;
  }
  bool word(u64 i) const { return rx_is_word_byte(s[i]); }
  u64 assertion(const parse_node* a, u64 pos) {
    switch (a->start[0]) {
      case '^': return pos == 0 ? 0 : no;
      case '$': return pos == n ? 0 : no;
      case '\\': {
        bool edge = (pos > 0 && word(pos - 1)) != (pos < n && word(pos));
        return edge == (a->start[1] == 'b') ? 0 : no;
      }
      default: {
        std::vector<cap> saved = caps;
        u64 r = disjunction(kid_id(a, rx_id_disjunction), pos);
        caps = saved;
        bool ok = a->start[2] == '=' ? r != no : r == no;
        return ok ? 0 : no;
      }
    }
  }
  int decode(u64 pos, u32* cp) const { return rx_decode(s + pos, n - pos, cp); }
  static bool line_end(const char* p, u64 rem) {
    return p[0] == '\n' || p[0] == '\r' ||
           (rem >= 3 && std::memcmp(p, "\xe2\x80", 2) == 0 && (u8(p[2]) == 0xa8 || u8(p[2]) == 0xa9));
  }
  u64 atom(const parse_node* at, u64 pos) {
    switch (at->start[0]) {
      case '(': {
        u64 r = disjunction(kid_id(at, rx_id_disjunction), pos);
        if (r != no && at->start[1] != '?') caps[group_of(at)] = {pos, r, true};
        return r;
      }
      case '.': {
        u32 cp;
        if (pos == n || line_end(s + pos, n - pos)) return no;
        int len = decode(pos, &cp);
        return len < 0 ? no : u64(len);
      }
      case '[': return char_class(kid_id(at, rx_id_character_class), pos);
      case '\\': {
        const parse_node* e = kid(kid_id(at, rx_id_atom_escape), 0);
        if (e->id == rx_id_decimal_escape) {
          u64 k = std::strtoull(text(e).c_str(), nullptr, 10);
          if (k == 0) return pos < n && s[pos] == 0 ? 1 : no;
          const cap& c = caps[k];
          if (!c.set) return 0;
          if (c.length > n - pos || std::memcmp(s + pos, s + c.start, c.length) != 0) return no;
          return c.length;
        }
        if (e->id == rx_id_character_class_escape)
          return class_escape_matcher(e->start[0])(s + pos, n - pos);
        return character_escape(e, pos);
      }
      default: {
        u32 cp, pcp;
        const parse_node* pc = kid_id(at, rx_id_pattern_character);
        int len = decode(pos, &cp);
        int plen = rx_decode(pc->start, pc->length, &pcp);
        if (len < 0 || plen < 0 || u64(len) != pc->length ||
            std::memcmp(s + pos, pc->start, pc->length) != 0)
          return no;
        return u64(len);
      }
    }
  }
  // A character escape's value; raw: one byte, else one code point.
  static u32 escape_value(const parse_node* e, bool* raw) {
    const parse_node* c = kid(e, 0);
    *raw = true;
    auto hex = [](const std::string& t) { return u32(std::strtoul(t.c_str() + 1, nullptr, 16)); };
    switch (c->id) {
      case rx_id_control_escape: return u32(char_map_lookup(regex_control_escape_map(), c->start[0]));
      case rx_id_text:
        return u32(char_map_lookup(regex_control_letter_map(), kid_id(e, rx_id_control_letter)->start[0]));
      case rx_id_hex_escape_sequence: return hex(text(c));
      case rx_id_unicode_escape_sequence: *raw = false; return hex(text(c));
      default: return u8(c->start[0]);  // identity escape
    }
  }
  u64 character_escape(const parse_node* e, u64 pos) {
    bool raw;
    u32 v = escape_value(e, &raw);
    if (raw) return pos < n && u8(s[pos]) == v ? 1 : no;
    u32 cp;
    int len = decode(pos, &cp);
    return len > 0 && cp == v ? u64(len) : no;
  }
  // Value of a class atom as a range end: "-" 45, a literal its code point (a malformed
  // byte its own value), an escape its value.
  static u32 atom_value(const parse_node* a) {
    if (a->id == rx_id_class_atom && !kid_id(a, rx_id_class_atom_nodash)) return '-';
    if (a->id == rx_id_class_atom) a = kid_id(a, rx_id_class_atom_nodash);
    if (const parse_node* ce = kid_id(a, rx_id_class_escape)) {
      bool raw;
      return escape_value(kid(ce, 0), &raw);
    }
    u32 cp;
    return rx_decode(a->start, a->length, &cp) > 0 ? cp : u8(a->start[0]);
  }
  u64 single(const parse_node* a, u64 pos) {
    if (a->id == rx_id_class_atom && !kid_id(a, rx_id_class_atom_nodash)) return s[pos] == '-' ? 1 : no;
    if (a->id == rx_id_class_atom) a = kid_id(a, rx_id_class_atom_nodash);
    if (const parse_node* ce = kid_id(a, rx_id_class_escape)) return character_escape(kid(ce, 0), pos);
    u32 cp;
    int len = decode(pos, &cp);
    return len > 0 && cp == atom_value(a) ? u64(len) : no;
  }
  u64 range(const parse_node* lo, const parse_node* hi, u64 pos) {
    u32 cp;
    int len = decode(pos, &cp);
    return len > 0 && cp >= atom_value(lo) && cp <= atom_value(hi) ? u64(len) : no;
  }
  // Class items of a nonempty_class_ranges or _nodash node, in order; the first that hits.
  u64 items(const parse_node* x, u64 pos) {
    const parse_node* a0 = kid(x, 0);
    const parse_node* k1 = kid(x, 1);
    if (!k1) return single(a0, pos);
    if (k1->id == rx_id_text) {
      u64 r = range(a0, kid(x, 2), pos);
      if (r != no) return r;
      const parse_node* more = kid_id(x, rx_id_class_ranges);
      return more ? items(kid(more, 0), pos) : no;
    }
    u64 r = single(a0, pos);
    return r != no ? r : items(k1, pos);
  }
  u64 char_class(const parse_node* c, u64 pos) {
    if (pos == n) return no;
    u64 r = items(kid(kid_id(c, rx_id_class_ranges), 0), pos);
    if (c->start[1] != '^') return r;
    if (r != no) return no;
    u32 cp;
    int len = decode(pos, &cp);
    return len < 0 ? no : u64(len);
  }
};

struct pattern_maker {
  std::mt19937& rng;
  int pick(int k) { return std::uniform_int_distribution<int>(0, k - 1)(rng); }
  std::string disjunction(int depth) {
    std::string d = alternative(depth);
    while (pick(4) == 0) d += "|" + alternative(depth);
    return d;
  }
  std::string alternative(int depth) {
    std::string a;
    for (int i = 0, k = 1 + pick(3); i < k; ++i) a += term(depth);
    return a;
  }
  std::string term(int depth) {
    static const char* asserts[] = {"^", "$", "\\b", "\\B"};
    static const char* quants[] = {"*", "+", "?", "{0}", "{1}", "{2}", "{1,}", "{0,2}", "{2,1}"};
    if (pick(8) == 0) {
      if (depth < 3 && pick(2)) return std::string(pick(2) ? "(?=" : "(?!") + disjunction(depth + 1) + ")";
      return asserts[pick(4)];
    }
    std::string t = atom(depth);
    if (pick(2)) t += std::string(quants[pick(9)]) + (pick(4) == 0 ? "?" : "");
    return t;
  }
  std::string atom(int depth) {
    static const char* atoms[] = {
        "a", "b", "\xc3\xa9", "-", "\xe6\x97\xa5", ".", "\\d", "\\D", "\\s", "\\S", "\\w",
        "\\W", "\\h", "\\H", "\\n", "\\x61", "\\u00e9", "\\cA", "\\.", "\\0", "\\1", "\\2",
        "[ab]", "[^a]", "[a-c]", "[^-\xc3\xa9]", "[\xc3\xa9-]", "[\\]a]", "[a-c\xc3\xa9]",
        "[^\\x61-\\x62]", "[\\u00e9-\\u65e5]", "[z-a]", "[-a-]", "[\\xff]", "[^\\n-\\r]"};
    if (depth < 3 && pick(4) == 0) return std::string(pick(2) ? "(" : "(?:") + disjunction(depth + 1) + ")";
    return atoms[pick(sizeof atoms / sizeof *atoms)];
  }
};

TEST(regex_conformance, compiled_program_agrees_with_a_walk_of_the_tree) {
  regex_engine e;
  ASSERT_TRUE(regex_engine_init(&e));
  std::mt19937 rng(20240611);
  pattern_maker make{rng};
  static const char* pieces[] = {"a", "a", "b", "c", "\xc3\xa9", "\xe6\x97\xa5", "-", " ",
                                 "1", "\n", "\r\n", "\x01", "\xff", "\xc1\xa1"};
  int compared = 0;
  for (int i = 0; i < 4000; ++i) {
    std::string p = make.disjunction(0);
    u64 rem = p.size();
    parse_node* tree = grammar_match(e.root, p.data(), &rem, &e.grammar.rules);
    bool whole = tree && tree->length == p.size();
    tree_walk w;
    w.root = tree;
    if (whole) {
      w.number_groups(tree);
      w.check(tree);
    }
    bool valid = regex_engine_set_pattern(&e, p.data(), p.size());
    EXPECT_EQ(valid, whole && w.valid) << p;
    if (valid && whole && w.valid) {
      for (int k = 0; k < 8; ++k) {
        std::string s;
        for (int j = 0, len = make.pick(7); j < len; ++j) s += pieces[make.pick(14)];
        std::unique_ptr<char[]> buf(new char[s.size() + 1]);
        std::memcpy(buf.get(), s.data(), s.size());
        u64 want = w.run(buf.get(), s.size());
        EXPECT_EQ(regex_engine_match_prefix(&e, buf.get(), s.size()), want)
            << "pattern \"" << p << "\" subject \"" << s << "\"";
        ++compared;
      }
    }
    grammar_free_tree(tree);
  }
  EXPECT_GT(compared, 0);
  regex_engine_free(&e);
}

}  // namespace
