#include "adt/string.h"

#include "adt/memory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <utility>

#include "tests/adt/test_util.h"

using namespace kk;
using namespace kk::adt;
using kk::adt::test::S;
using kk::adt::test::sv;
using str = kk::adt::string::string;

TEST(String, GrowthByOneByteDoublesNeededSizePlusOne) {
  // size reached -> capacity after that push_back
  const struct { u64 size, capacity; } rows[] = {
      {1, 2}, {2, 6}, {5, 6}, {6, 14}, {13, 14}, {14, 30}, {29, 30}, {30, 62}};
  str s;
  EXPECT_EQ(s.data, nullptr);
  u64 row = 0;
  for (u64 n = 1; n <= 31; ++n) {
    s.push_back(static_cast<char>('a' + n % 26));
    ASSERT_EQ(s.size, n);
    ASSERT_EQ(s.data[n], 0);
    if (row < std::size(rows) && rows[row].size == n) {
      EXPECT_EQ(s.capacity, rows[row].capacity) << "size " << n;
      ++row;
    }
  }
  EXPECT_EQ(row, std::size(rows));
}

TEST(String, ResizeKeepsBufferWhenShrinkingAndFillsWhenGrowing) {
  str e;
  e.resize(0, 'x');
  EXPECT_NE(e.data, nullptr);
  EXPECT_EQ(e.capacity, 1u);
  EXPECT_EQ(e.size, 0u);
  EXPECT_EQ(e.data[0], 0);

  str s = S("abc");
  ASSERT_EQ(s.capacity, 4u);
  char* buf = s.data;
  s.resize(2, 0);
  EXPECT_EQ(s.capacity, 4u);
  EXPECT_EQ(s.data, buf);
  EXPECT_EQ(sv(s), "ab");
  EXPECT_EQ(s.data[2], 0);
  s.resize(3, 'z');
  EXPECT_EQ(sv(s), "abz");

  str g = S("abc");
  g.resize(4, 'x');
  EXPECT_EQ(sv(g), "abcx");
  EXPECT_EQ(g.capacity, 10u);
  EXPECT_EQ(g.data[4], 0);
  for (int i = 5; i < 10; ++i) EXPECT_EQ(g.data[i], 'x') << i;
}

TEST(String, ImpossibleSizesFailAndKeepTheString) {
  str s = S("abc");
  char* buf = s.data;
  for (u64 n : {string::npos, string::npos - 1, string::npos / 2}) {
    EXPECT_THROW(s.resize(n, 'x'), std::bad_alloc) << n;
    EXPECT_EQ(s.data, buf);
    EXPECT_EQ(sv(s), "abc");
    EXPECT_EQ(s.capacity, 4u);
  }
}

TEST(String, FreeLeavesAnEmptyReusableString) {
  str s = S("hello");
  s.free();
  EXPECT_EQ(s.data, nullptr);
  EXPECT_EQ(s.size, 0u);
  EXPECT_EQ(s.capacity, 0u);
  s.push_back('x');  // would write through a dangling size if free left it
  EXPECT_EQ(sv(s), "x");
  EXPECT_EQ(s.capacity, 2u);
  string::free(s);
  string::free(s);  // twice is harmless
}

TEST(String, CopiesAreDeepAndMovesSteal) {
  str a = S("hello");
  a.resize(20, 0);
  a.resize(5, 0);
  str b(a);
  EXPECT_NE(b.data, a.data);
  EXPECT_EQ(sv(b), "hello");
  EXPECT_EQ(b.capacity, 6u);  // a fresh copy is exact
  b.data[0] = 'j';
  EXPECT_EQ(sv(a), "hello");

  // Assignment reuses the target's buffer when it is large enough.
  str big = S("0123456789");
  big.resize(30, 0);
  char* buf = big.data;
  big = a;
  EXPECT_EQ(big.data, buf);
  EXPECT_EQ(sv(big), "hello");
  auto& same = big;  // self-assignment through an alias
  big = same;
  EXPECT_EQ(sv(big), "hello");

  str m(std::move(a));
  EXPECT_EQ(a.data, nullptr);
  EXPECT_EQ(a.size, 0u);
  EXPECT_EQ(sv(m), "hello");
  str n;
  n = std::move(m);
  EXPECT_EQ(m.data, nullptr);
  EXPECT_EQ(sv(n), "hello");
  auto& same_n = n;
  n = std::move(same_n);
  EXPECT_EQ(sv(n), "hello");

  // A copy of an embedded-NUL string keeps every byte.
  str z = string_from_bytes("a\0b", 3);
  str zc = string_copy(z);
  EXPECT_EQ(sv(zc), std::string_view("a\0b", 3));
}

TEST(String, SwapKeepsEachSidesCapacity) {
  str a = S("ab");
  a.resize(10, 0);
  a.resize(2, 0);
  str b = S("wxyz");
  const u64 ca = a.capacity, cb = b.capacity;
  char *da = a.data, *db = b.data;
  string_swap(a, b);
  EXPECT_EQ(sv(a), "wxyz");
  EXPECT_EQ(sv(b), "ab");
  EXPECT_EQ(a.capacity, ca);
  EXPECT_EQ(b.capacity, cb);
  EXPECT_EQ(a.data, da);
  EXPECT_EQ(b.data, db);
  string_swap(a, a);
  EXPECT_EQ(sv(a), "wxyz");
}

TEST(String, CompareIsSignedByteThreeWay) {
  const struct { const char* a; const char* b; i64 r; } rows[] = {
      {"abc", "abd", -3}, {"abd", "abc", 3}, {"ab", "abc", -3}, {"abc", "ab", 3},
      {"abc", "abc", 0},  {"", "", 0},       {"", "a", -1},     {"a", "", 1},
      {"\x80", "a", -1},  {"a", "\x80", 1},  {"x\xff", "x\x01", -2}, {"b", "a", 1},
  };
  for (auto& r : rows) {
    str a = S(r.a), b = S(r.b);
    EXPECT_EQ(string_compare(a, b), r.r) << r.a << " vs " << r.b;
    EXPECT_EQ(string_compare_n(a, r.b, std::strlen(r.b)), r.r) << r.a << " vs " << r.b;
    EXPECT_EQ(text_compare(a.view(), b.view()), r.r);
  }
  str never;  // no buffer at all
  EXPECT_EQ(string_compare(never, S("")), 0);
  EXPECT_EQ(string_compare(never, S("a")), -1);
  EXPECT_EQ(string_compare(string_from_bytes("a\0b", 3), string_from_bytes("a\0c", 3)), -3);
}

TEST(String, ConcatenationsAreExactAndTreatNullAsEmpty) {
  str a = S("ab"), b = S("cde");
  str r = string_cat(a, b);
  EXPECT_EQ(sv(r), "abcde");
  EXPECT_EQ(r.capacity, 6u);
  EXPECT_EQ(r.data[5], 0);
  EXPECT_EQ(sv(a), "ab");
  EXPECT_EQ(sv(string_cat_string_cstr(S("x"), nullptr)), "x");
  EXPECT_EQ(sv(string_cat_cstr_string(nullptr, S("x"))), "x");
  EXPECT_EQ(sv(string_cat_string_cstr(S("x"), "yz")), "xyz");
  EXPECT_EQ(sv(string_cat_cstr_string("yz", S("x"))), "yzx");
  str empty;
  str r2 = string_cat(empty, empty);
  EXPECT_EQ(r2.size, 0u);
  EXPECT_EQ(r2.capacity, 1u);
  // Appending a string to itself reads it before the result is built.
  str self = S("ab");
  self = string_cat(self, self);
  EXPECT_EQ(sv(self), "abab");
}

TEST(String, EraseInclusiveRange) {
  const struct { u64 first, last; bool ok; const char* after; } rows[] = {
      {1, 3, true, "aef"}, {0, 5, true, ""},        {5, 5, true, "abcde"}, {0, 0, true, "bcdef"},
      {6, 6, false, "abcdef"}, {3, 2, false, "abcdef"}, {2, 6, false, "abcdef"},
      {string::npos, string::npos, false, "abcdef"},
  };
  for (auto& r : rows) {
    str s = S("abcdef");
    const u64 cap = s.capacity;
    EXPECT_EQ(s.erase(r.first, r.last), r.ok) << r.first << ".." << r.last;
    EXPECT_EQ(sv(s), r.after);
    EXPECT_EQ(s.data[s.size], 0);
    EXPECT_EQ(s.capacity, cap);
  }
}

TEST(String, TrimBlankRunsFourPassesInOrder) {
  const struct { const char* in; const char* out; } rows[] = {
      {" \tab\t ", "ab"}, {"\t ab", " ab"}, {" \t x \t ", " x "}, {"   ", ""},
      {"", ""},           {"ab", "ab"},     {"\t\t", ""},
  };
  for (auto& r : rows) {
    text_view v = cstr_view(r.in);
    str_trim_blank(v);
    EXPECT_EQ(sv(v), r.out) << '"' << r.in << '"';
    EXPECT_GE(v.data, r.in);
    EXPECT_LE(v.data + v.size, r.in + std::strlen(r.in));
  }
  const char* spaces = "   ";
  text_view v{spaces, 3};
  str_trim_blank(v);
  EXPECT_EQ(v.data, spaces + 3);
  EXPECT_EQ(v.size, 0u);
}

TEST(String, CountedArraysReleaseEveryElement) {
  str* arr = string_array_new(3);
  for (int i = 0; i < 3; ++i) arr[i] = S("element");
  EXPECT_EQ(kk::adt::counted_count(arr), 3u);
  string_array_delete(arr);  // leaks would show under the leak checker
  EXPECT_EQ(arr, nullptr);
  string_array_delete(arr);
}
