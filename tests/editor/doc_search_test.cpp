#include "editor/doc_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ruv;

namespace {

std::string str(const doc_string& s) { return std::string(s.data ? s.data : "", s.size); }
kk::adt::text_view tv(const std::string& s) { return {s.data(), s.size()}; }

struct doc_fixture {
  text_doc d;
  u64 now = 1000;
  explicit doc_fixture(const std::string& text) {
    doc_init(d, tv(text));
    d.clock = [this] { return now; };
  }
  std::string text() const { return str(d.text); }
};

using ranges = std::vector<byte_range>;

}  // namespace

TEST(doc_search, find_all_table) {
  struct row {
    const char* name;
    std::string text, what;
    u32 mode;
    u16 flags;
    ranges want;
  };
  const row rows[] = {
      {"plain non-overlapping", "aaaa", "aa", search_plain, 0, {{0, 2}, {2, 4}}},
      {"plain case-sensitive", "Ab ab AB", "ab", search_plain, 0, {{3, 5}}},
      {"plain ignore case", "Ab ab AB", "aB", search_plain, search_ignore_case, {{0, 2}, {3, 5}, {6, 8}}},
      {"ignore case keeps non-ASCII bytes", "\xC3\x89 \xC3\xA9", "\xC3\xA9", search_plain, search_ignore_case, {{3, 5}}},
      {"whole words", "id, rid, id_x", "id", search_plain, search_whole_word, {{0, 2}}},
      {"escaped tab", "a\tb atb", "a\\tb", search_escaped, 0, {{0, 3}}},
      {"escaped \\x is one digit", "\x04" "1 A", "\\x41", search_escaped, 0, {{0, 2}}},
      {"escaped \\u", "caf\xC3\xA9!", "\\u00e9", search_escaped, 0, {{3, 5}}},
      {"escaped \\U four bytes", "x\xF0\x9F\x98\x80", "\\U0001F600", search_escaped, 0, {{1, 5}}},
      {"mode outside 0..2 is plain", "a.c abc", "a.c", 7, 0, {{0, 3}}},
      {"regex class", "a1 b22 c", "[0-9]+", search_regex, 0, {{1, 2}, {4, 6}}},
      {"regex ^ once per text", "ab\nab", "^ab", search_regex, 0, {{0, 2}}},
      {"regex $ only at the end", "ab\n", "b$", search_regex, 0, {}},
      {"regex empty matches once each", "ab", "x*", search_regex, 0, {{0, 0}, {1, 1}, {2, 2}}},
      {"regex empty after a match", "aab", "a*", search_regex, 0, {{0, 2}, {2, 2}, {3, 3}}},
      {"regex empty steps by code point", "\xC3\xA9", "(?:)", search_regex, 0, {{0, 0}, {2, 2}}},
      {"regex lookahead empty", "\xC3\xA9z", "(?=z)|(?=\xC3\xA9)", search_regex, 0, {{0, 0}, {2, 2}}},
      {"regex ignore case keeps \\W", "a-B", "\\W", search_regex, search_ignore_case, {{1, 2}}},
      {"regex ignore case", "SELECT select", "select", search_regex, search_ignore_case, {{0, 6}, {7, 13}}},
      {"regex \\u escape", "caf\xC3\xA9", "\\u00e9", search_regex, 0, {{3, 5}}},
      {"regex unset back reference matches empty", "ab", "(x)?\\1b", search_regex, 0, {{1, 2}}},
      {"regex over malformed bytes", "a\xFF" "b\x80" "b", "b", search_regex, 0, {{2, 3}, {4, 5}}},
      {"regex whole word", "id rid id", "i.", search_regex, search_whole_word, {{0, 2}, {7, 9}}},
      {"empty search text", "abc", "", search_plain, 0, {}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    doc_fixture f(r.text);
    ranges out{{99, 99}};
    EXPECT_EQ(doc_find_all(f.d, tv(r.what), out, r.mode, r.flags), search_status::ok);
    EXPECT_EQ(out, r.want);
    EXPECT_EQ(f.d.marks, r.want);
  }
}

// Ignore case folds ASCII letters only, in regular expressions as in plain search: both find
// the same matches, and the expression's own syntax keeps its case.
TEST(doc_search, regex_ignore_case_folds_ascii_letters_like_plain_search) {
  struct pair_row {
    const char* name;
    std::string text, what;
  };
  const pair_row same[] = {
      {"accented letters keep their case", "\xC3\x89 \xC3\xA9 E e", "\xC3\xA9"},
      {"the Kelvin sign is no k", "K \xE2\x84\xAA k", "k"},
      {"the long s is no s", "\xC5\xBF s S", "S"},
      {"ASCII letters fold", "Select SELECT select", "sElEcT"},
  };
  for (const auto& r : same) {
    SCOPED_TRACE(r.name);
    doc_fixture f(r.text);
    ranges plain, regex;
    doc_find_all(f.d, tv(r.what), plain, search_plain, search_ignore_case);
    EXPECT_EQ(doc_find_all(f.d, tv(r.what), regex, search_regex, search_ignore_case), search_status::ok);
    EXPECT_FALSE(plain.empty());
    EXPECT_EQ(regex, plain);
  }
  struct row {
    const char* name;
    std::string text, what;
    ranges want;
  };
  const row rows[] = {
      {"option letters", "AAA", "(?U)a+", {{0, 1}, {1, 2}, {2, 3}}},
      {"a property", "\xC3\x89" "aB", "\\p{Lu}", {{0, 2}}},
      {"a class range", "X x 1", "[A-Z]", {{0, 1}, {2, 3}}},
      {"a named group and its use", "ABab", "(?<Two>aB)\\k<Two>", {{0, 4}}},
      {"a verb", "a", "(*UTF)A", {{0, 1}}},
      {"quoted text", "A.B", "\\QA.b\\E", {{0, 3}}},
      {"the letter of an escape", "a b", "\\S", {{0, 1}, {2, 3}}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    doc_fixture f(r.text);
    ranges out;
    EXPECT_EQ(doc_find_all(f.d, tv(r.what), out, search_regex, search_ignore_case), search_status::ok);
    EXPECT_EQ(out, r.want);
  }
}

// Any pattern, however cut short (a trailing backslash, an open brace or group): the fold
// reads only inside it and changes nothing but ASCII capitals, byte for byte.
TEST(doc_search, regex_pattern_fold_keeps_length_and_touches_only_capitals) {
  const std::string alphabet = "\\(){}?*<>:-^QEpPNkUiAZaz0 \xC3\x89";
  unsigned seed = 12345;
  for (int n = 0; n < 20000; ++n) {
    std::string pat;
    const int len = n % 12;
    for (int i = 0; i < len; ++i) {
      seed = seed * 1103515245u + 12345u;
      pat.push_back(alphabet[(seed >> 16) % alphabet.size()]);
    }
    const std::string out = fold_regex_pattern(tv(pat));
    ASSERT_EQ(out.size(), pat.size()) << pat;
    for (std::size_t i = 0; i < pat.size(); ++i)
      ASSERT_TRUE(out[i] == pat[i] || (pat[i] >= 'A' && pat[i] <= 'Z' && out[i] == pat[i] - 'A' + 'a')) << pat;
  }
}

TEST(doc_search, unescape_table) {
  struct row {
    std::string in, want;
  };
  const row rows[] = {
      {"a\\tb", "a\tb"},
      {"\\\"\\'\\\\", "\"'\\"},
      {"\\a\\b\\f\\n\\r\\v", "\a\b\f\n\r\v"},
      {"\\x0z", "z"},         // \x0 appends nothing
      {"\\xg!", "!"},         // a non-hex digit counts as 0
      {"\\q\\~x", "x"},       // no escape: nothing appended
      {"\\U00110000abc", ""}, // above U+10FFFF ends the conversion
      {"ab\\", "ab"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.in);
    EXPECT_EQ(str(search_unescape(tv(r.in))), r.want);
  }
}

TEST(doc_search, unescape_reads_digits_within_the_text_only) {
  // "\u41" then the end: the missing digits are zeros, not bytes past the text.
  const std::string s = "\\u41";
  EXPECT_EQ(str(search_unescape(tv(s))), std::string("\xE4\x84\x80"));
}

TEST(doc_search, invalid_pattern_keeps_marks_and_empty_document_finds_nothing) {
  doc_fixture f("abc abc");
  ranges out;
  doc_find_all(f.d, tv("b"), out, search_plain, 0);
  const ranges before = f.d.marks;
  EXPECT_EQ(doc_find_all(f.d, tv("(b"), out, search_regex, 0), search_status::invalid_pattern);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(f.d.marks, before);

  doc_fixture empty("");
  empty.d.marks = {{0, 0}};
  EXPECT_EQ(doc_find_all(empty.d, tv("a"), out, search_plain, 0), search_status::ok);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(empty.d.marks, (ranges{{0, 0}}));
}

TEST(doc_search, runaway_patterns_end_with_the_limit_reported) {
  {
    // .* over a 1 MB line: no stack overflow, one match.
    doc_fixture f(std::string(1 << 20, 'x') + "\n");
    ranges out;
    EXPECT_EQ(doc_find_all(f.d, tv(".*"), out, search_regex, 0), search_status::ok);
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out[0], (byte_range{0, 1 << 20}));
  }
  {
    // (a+)+b over 30 a's finishes (the engine sees that no b follows).
    doc_fixture f(std::string(30, 'a'));
    ranges out;
    EXPECT_EQ(doc_find_all(f.d, tv("(a+)+b"), out, search_regex, 0), search_status::ok);
    EXPECT_TRUE(out.empty());
  }
  {
    // Nested quantifiers the engine cannot rule out early: the match limit ends the search
    // and says so; what was found before stays, also as marks.
    doc_fixture f("ab " + std::string(30, 'a'));
    ranges out;
    EXPECT_EQ(doc_find_all(f.d, tv("(a+)+[bc]"), out, search_regex, 0), search_status::limit_reached);
    EXPECT_EQ(out, (ranges{{0, 2}}));
    EXPECT_EQ(f.d.marks, out);
  }
}

TEST(doc_search, next_and_previous) {
  doc_fixture f("ab xx ab yy ab");
  byte_range r;
  struct row {
    bool next;
    i64 from;
    bool found;
    byte_range want;
  };
  const row rows[] = {
      {true, 0, true, {0, 2}},    {true, 1, true, {6, 8}},    {true, 13, false, {}},
      {false, 14, true, {12, 14}},  // a match that ends exactly at the end
      {false, 12, true, {6, 8}},  {false, 7, true, {0, 2}},   {false, 1, false, {}},
  };
  for (const auto& x : rows) {
    SCOPED_TRACE(testing::Message() << x.next << " " << x.from);
    const bool got = x.next ? doc_find_next(f.d, x.from, tv("ab"), r, search_plain, 0)
                            : doc_find_prev(f.d, x.from, tv("ab"), r, search_plain, 0);
    EXPECT_EQ(got, x.found);
    if (got) {
      EXPECT_EQ(r, x.want);
    }
  }
  // Adjacent matches: previous from the start of the second finds the first.
  doc_fixture a("aaaa");
  ASSERT_TRUE(doc_find_prev(a.d, 2, tv("aa"), r, search_plain, 0));
  EXPECT_EQ(r, (byte_range{0, 2}));
  // An empty match at the offset itself is not found again (no endless Previous).
  doc_fixture e("ab");
  ASSERT_TRUE(doc_find_prev(e.d, 1, tv("x*"), r, search_regex, 0));
  EXPECT_EQ(r, (byte_range{0, 0}));
}

TEST(doc_search, in_selections_use_document_offsets) {
  doc_fixture f("ab ab ab ab");
  doc_add_selection(f.d, {9, 11});
  doc_add_selection(f.d, {3, 6});
  ranges out;
  doc_find_all_in_selections(f.d, tv("ab"), out, search_plain, 0);
  EXPECT_EQ(out, (ranges{{3, 5}, {9, 11}}));
  byte_range r;
  ASSERT_TRUE(doc_find_prev_in_selections(f.d, 9, tv("ab"), r, search_plain, 0));
  EXPECT_EQ(r, (byte_range{3, 5}));
  // ^ inside a selection anchors at the selection start.
  doc_find_all_in_selections(f.d, tv("^a"), out, search_regex, 0);
  EXPECT_EQ(out, (ranges{{3, 4}, {9, 10}}));
}

TEST(doc_search, replace_all_in_one_step) {
  doc_fixture f("x foo y Foo z foo");
  f.now += 10;
  search_status st;
  EXPECT_EQ(doc_replace_all(f.d, tv("foo"), tv("bar!"), search_plain, search_ignore_case | search_whole_word, &st), 3u);
  EXPECT_EQ(st, search_status::ok);
  EXPECT_EQ(f.text(), "x bar! y bar! z bar!");
  EXPECT_TRUE(f.d.marks.empty());
  doc_undo(f.d);
  EXPECT_EQ(f.text(), "x foo y Foo z foo");
  EXPECT_EQ(doc_replace_all(f.d, tv("nothing"), tv("q"), search_plain, 0), 0u);
  EXPECT_EQ(f.text(), "x foo y Foo z foo");
}

// One prepared searcher over many texts finds what a fresh document search finds in each.
TEST(doc_search, searcher_prepared_once_matches_each_text_as_the_document_search) {
  struct row {
    std::string what;
    u32 mode;
    u16 flags;
  };
  const row rows[] = {
      {"ab", search_plain, search_ignore_case},
      {"ab", search_plain, search_whole_word},
      {"a\\tb", search_escaped, 0},
      {"^a|b$", search_regex, 0},
      {"x*", search_regex, 0},
      {"A.", search_regex, search_ignore_case | search_whole_word},
  };
  const std::string texts[] = {"ab AB xab", "a\tb", "", "bab", "zzz", "ab_ ab"};
  for (const row& r : rows) {
    doc_searcher s(tv(r.what), r.mode, r.flags);
    ASSERT_FALSE(s.invalid()) << r.what;
    for (const std::string& t : texts) {
      doc_fixture f(t);
      ranges want, got;
      doc_find_all(f.d, tv(r.what), want, r.mode, r.flags);
      EXPECT_EQ(s.find_all(tv(t), got), search_status::ok);
      EXPECT_EQ(got, want) << r.what << " in " << t;
    }
  }
}

TEST(doc_search, searcher_part_keeps_text_offsets_and_word_context) {
  const std::string t = "xab ab abx";
  doc_searcher s(tv("ab"), search_plain, search_whole_word);
  ranges got;
  s.find_in(tv(t), {1, 9}, got);  // "ab ab ab": only the middle one is a whole word in the text
  EXPECT_EQ(got, (ranges{{4, 6}}));
  got.clear();
  s.find_in(tv(t), {-5, 100}, got);  // a part outside the text is cut to it
  EXPECT_EQ(got, (ranges{{4, 6}}));

  doc_searcher bad(tv("(a"), search_regex, 0);
  EXPECT_TRUE(bad.invalid());
  doc_searcher none(tv(""), search_escaped, 0);
  EXPECT_TRUE(none.empty());
  got.clear();
  EXPECT_EQ(bad.find_all(tv(t), got), search_status::ok);
  none.find_all(tv(t), got);
  EXPECT_TRUE(got.empty());
}
