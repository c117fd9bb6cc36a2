#include "adt/text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/adt/test_util.h"

using namespace kk;
using namespace kk::adt;
using kk::adt::test::S;
using kk::adt::test::sv;
using str = kk::adt::string::string;
constexpr u64 npos = kk::adt::string::npos;

TEST(Text, Utf8DecodeIsBoundedByTheTextsEnd) {
  const struct { std::string in; int len; u32 cp; } rows[] = {
      {"A", 1, 65},
      {"\xC3\xA9", 2, 0xE9},
      {"\xE2\x82\xAC", 3, 0x20AC},
      {"\xF0\x9F\x98\x80", 4, 0x1F600},
      {"\x80", -1, 0},
      {"\xC3\x41", -1, 0},
      {"\xF8\x80\x80\x80", -1, 0},
      {std::string("\xC0\x80", 2), 2, 0},  // overlong forms pass
      {"\xED\xA0\x80", 3, 0xD800},          // so do surrogates
      {"\xE2\x82", -1, 0},                  // cut off by the end, not by a terminator
      {"\xF0\x9F\x98", -1, 0},
      {"\xC3", -1, 0},
      {"", -1, 0},
  };
  for (auto& r : rows) {
    // A copy with no terminator after it, so a read past the end shows under ASan.
    std::vector<char> bytes(r.in.begin(), r.in.end());
    u32 cp = 12345;
    const char* p = bytes.empty() ? nullptr : bytes.data();
    EXPECT_EQ(utf8_decode(p, p + bytes.size(), cp), r.len) << testing::PrintToString(r.in);
    EXPECT_EQ(cp, r.cp);
  }
  // Bytes beyond end are never looked at, even when they would complete the sequence.
  const char euro[] = "\xE2\x82\xAC";
  u32 cp;
  EXPECT_EQ(utf8_decode(euro, euro + 2, cp), -1);
  EXPECT_EQ(utf8_decode(euro, euro + 3, cp), 3);
}

TEST(Text, CharacterClassesAndCaseAreAsciiOnly) {
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    const bool upper = b >= 'A' && b <= 'Z', lower = b >= 'a' && b <= 'z', digit = b >= '0' && b <= '9';
    EXPECT_EQ(char_is_alpha(c), upper || lower) << b;
    EXPECT_EQ(char_is_digit(&c), digit) << b;
    EXPECT_EQ(char_is_hex(c), digit || (b >= 'a' && b <= 'f') || (b >= 'A' && b <= 'F')) << b;
    EXPECT_EQ(char_is_print(c), b >= 32 && b <= 126) << b;
    EXPECT_EQ(char_to_lower(c), upper ? static_cast<char>(b + 32) : c) << b;
    EXPECT_EQ(char_to_upper(c), lower ? static_cast<char>(b - 32) : c) << b;
    char d = c;
    char_to_upper_in_place(&d);
    char_to_lower_in_place(&d);
    EXPECT_EQ(d, upper || lower ? char_to_lower(c) : c);
  }
}

TEST(Text, HexAndBinaryTexts) {
  const struct { const char* in; const char* out; } bins[] = {
      {"1f", "00011111"}, {"A", "1010"}, {"1g", ""}, {"", ""}, {"fF0", "111111110000"}};
  for (auto& r : bins) {
    str b = hex_to_bin_text(S(r.in));
    EXPECT_EQ(sv(b), r.out) << r.in;
    EXPECT_EQ(b.capacity, b.size + 1);
  }

  const char raw[] = {0x01, static_cast<char>(0xAB), 0x41, 0x0a};
  EXPECT_EQ(sv(raw_to_hex_text(raw, 2, cstr_view(" "))), " 01 ab");
  EXPECT_EQ(sv(raw_to_hex_text(raw, 2, cstr_view(""))), "01ab");
  EXPECT_EQ(sv(raw_to_hex_text(raw + 2, 2, cstr_view("\\x"))), "\\x41\\x0a");
  str out;
  raw_to_hex_text(out, raw, 0, cstr_view("-"));
  EXPECT_EQ(out.size, 0u);
  // count * (separator + 2) no longer fits 32 bits: the size is computed in 64 bits.
  const std::string sep(1u << 20, ',');
  EXPECT_THROW(raw_to_hex_text(nullptr, ~u32(0), text_view{sep.data(), sep.size()}), std::bad_alloc);

  const struct { const char* in; bool ok; std::string bytes; } raws[] = {
      {"0aFf", true, "\x0a\xff"}, {"0aF", true, "\x0a"}, {"zz", false, ""}, {"", true, ""},
      {"7", true, ""},            {"41zz42", false, "A"},
  };
  for (auto& r : raws) {
    char buf[8] = {};
    EXPECT_EQ(hex_text_to_raw(buf, cstr_view(r.in)), r.ok) << r.in;
    EXPECT_EQ(std::string(buf, r.bytes.size()), r.bytes) << r.in;
  }
}

TEST(Text, InsertEveryGroupsFromTheStart) {
  const struct { const char* in; u64 n; const char* sep; const char* out; } rows[] = {
      {"12345678", 4, " ", "1234 5678"}, {"123456789", 4, " ", "1234 5678 9"}, {"123", 4, " ", "123"},
      {"1234567", 3, ",", "123,456,7"},  {"abcd", 1, "--", "a--b--c--d"},     {"abc", 0, " ", "abc"},
      {"", 2, " ", ""},
  };
  for (auto& r : rows) EXPECT_EQ(sv(str_insert_every(S(r.in), r.n, cstr_view(r.sep))), r.out) << r.in << " " << r.n;
}

TEST(Text, FindAndRfindWindows) {
  const char* t = "hello world";
  const struct { u64 start, end; const char* pat; u64 first, last; } rows[] = {
      {0, 10, "lo", 3, 3},       {4, 10, "lo", npos, npos}, {0, 10, "o", 4, 7},  {0, 10, "", npos, npos},
      {0, 10, "hello world", 0, 0}, {0, 9, "world", npos, npos}, {6, 10, "world", 6, 6},
      {5, 4, "o", npos, npos},   // empty window
      {5, 2, "o", npos, npos},   // end before start
      {0, npos, "o", npos, npos},  // start - 1 with start 0
      {3, 3, "l", 3, 3},
  };
  for (auto& r : rows) {
    const u64 m = std::strlen(r.pat);
    EXPECT_EQ(str_find(t, r.start, r.end, r.pat, m), r.first) << r.pat << " " << r.start << ".." << r.end;
    EXPECT_EQ(str_rfind(t, r.start, r.end, r.pat, m), r.last) << r.pat << " " << r.start << ".." << r.end;
  }
  EXPECT_EQ(str_find(nullptr, 0, 3, "a", 1), npos);
  EXPECT_EQ(str_rfind(t, 0, 10, nullptr, 1), npos);

  // A long pattern (quick search) standing twice in a text, and at the window's start.
  std::string pat(300, 'p');
  pat[0] = 'Q';  // a byte found nowhere else in the pattern
  const std::string text = pat + "xx" + pat + "y";
  EXPECT_EQ(str_find(text.data(), 0, text.size() - 1, pat.data(), pat.size()), 0u);
  EXPECT_EQ(str_rfind(text.data(), 0, text.size() - 1, pat.data(), pat.size()), 302u);
  EXPECT_EQ(str_find(text.data(), 1, text.size() - 1, pat.data(), pat.size()), 302u);
  EXPECT_EQ(str_rfind(text.data(), 0, text.size() - 2, pat.data(), pat.size()), 302u);
  EXPECT_EQ(str_rfind(text.data(), 0, 600, pat.data(), pat.size()), 0u);
}

// Every search against std::string's find and rfind over random windows of random texts,
// for short (plain scan) and long (quick search) patterns.
TEST(Text, SearchesMatchStdStringOnRandomTexts) {
  std::mt19937 rng(2024);
  for (int round = 0; round < 3000; ++round) {
    const bool long_pat = round % 3 == 0;
    const char* alphabet = round % 2 ? "ab" : "abc\x80";
    const u64 k = std::strlen(alphabet);
    std::string unit;
    for (u32 n = long_pat ? 257 + rng() % 40 : 1 + rng() % 5; n > 0; --n) unit += alphabet[rng() % k];
    // Texts built from slightly mutated copies of the pattern, so matches are frequent.
    std::string text;
    for (u32 parts = rng() % 6; parts > 0; --parts) {
      std::string piece = unit;
      if (rng() % 2) piece[rng() % piece.size()] = alphabet[rng() % k];
      for (u32 g = rng() % 4; g > 0; --g) text += alphabet[rng() % k];
      text += piece;
    }
    if (text.empty()) text = "a";
    const u64 start = rng() % text.size();
    const u64 end = start + rng() % (text.size() - start);
    const std::string window = text.substr(start, end - start + 1);
    const u64 want_first = window.find(unit);
    const u64 want_last = window.rfind(unit);
    const u64 got_first = str_find(text.data(), start, end, unit.data(), unit.size());
    const u64 got_last = str_rfind(text.data(), start, end, unit.data(), unit.size());
    ASSERT_EQ(got_first, want_first == std::string::npos ? npos : start + want_first) << "round " << round;
    ASSERT_EQ(got_last, want_last == std::string::npos ? npos : start + want_last) << "round " << round;
  }
}

TEST(Text, FindAllGivesAddressesOrOffsets) {
  str s = S("aaaa");
  vector<u64> addr, off;
  str_find_all(s, "aa", 2, addr);
  str_find_all_offsets(s, "aa", 2, off);
  ASSERT_EQ(addr.size, 2u);
  EXPECT_EQ(addr[0], reinterpret_cast<u64>(s.data));
  EXPECT_EQ(addr[1], reinterpret_cast<u64>(s.data + 2));
  ASSERT_EQ(off.size, 2u);
  EXPECT_EQ(off[0], 0u);
  EXPECT_EQ(off[1], 2u);
  vector<u64> none;
  str_find_all(s, "", 0, none);
  str_find_all(str(), "a", 1, none);
  EXPECT_EQ(none.size, 0u);
  str_find_all_offsets(S("abcabcab"), "abc", 3, none);
  ASSERT_EQ(none.size, 2u);
  EXPECT_EQ(none[1], 3u);

  const char t[] = "a,b,,c";
  vector<u64> commas, caddr;
  str_find_all_char_offsets(t, 6, ',', commas);
  str_find_all_char(t, 6, ',', caddr);
  ASSERT_EQ(commas.size, 3u);
  EXPECT_EQ(commas[0], 1u);
  EXPECT_EQ(commas[2], 4u);
  EXPECT_EQ(caddr[1], reinterpret_cast<u64>(t + 3));
  str_find_all_char(nullptr, 6, ',', none);
  str_find_all_char(t, 0, 'a', none);
  EXPECT_EQ(none.size, 2u);
}

TEST(Text, TrimRight) {
  const struct { const char* in; char c; const char* out; } rows[] = {
      {"abc00", '0', "abc"}, {"000", '0', ""}, {"abc", '0', "abc"}, {"", '0', ""}};
  for (auto& r : rows) {
    str s = S(r.in);
    const u64 cap = s.capacity;
    str_trim_right_char(s, r.c);
    EXPECT_EQ(sv(s), r.out);
    EXPECT_EQ(s.capacity, cap);
  }
  str s = S("ab \t");
  str_trim_right_set(s, cstr_view(" \t"));
  EXPECT_EQ(sv(s), "ab");
  str k = S("ab ");
  str_trim_right_set(k, cstr_view(""));
  str_trim_right_set(k, text_view{nullptr, 3});
  EXPECT_EQ(sv(k), "ab ");
}

TEST(Text, EscapeMap) {
  escape_map m = escape_table_build();
  EXPECT_EQ(m.lookup('n'), 10);
  EXPECT_EQ(m.lookup('b'), 8);
  EXPECT_EQ(m.lookup('"'), '"');
  EXPECT_EQ(m.lookup('\\'), '\\');
  EXPECT_EQ(m.lookup('w'), '!');
  EXPECT_EQ(m.lookup('q'), '!');
  EXPECT_FALSE(m.is_escape('q'));
  EXPECT_TRUE(m.is_escape('v'));
  // Outside ' ' .. 'w' there is no entry to read: the default comes back.
  for (char c : {'x', '~', '\x1f', '\0', '\x80', '\xff'}) EXPECT_EQ(m.lookup(c), '!') << int(c);
  escape_map copy(m);
  EXPECT_NE(copy.table, m.table);
  EXPECT_EQ(copy.lookup('t'), 9);
  escape_map moved(std::move(copy));
  EXPECT_EQ(copy.table, nullptr);
  EXPECT_EQ(copy.lookup('t'), copy.def);
  EXPECT_EQ(moved.lookup('r'), 13);
}
