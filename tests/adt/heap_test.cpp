#include "adt/heap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tests/adt/test_util.h"

using namespace kk;
using namespace kk::adt;
using kk::adt::test::S;
using kk::adt::test::sv;
using str = kk::adt::string::string;

namespace {
std::vector<signed char> bytes(const std::string& s) { return {s.begin(), s.end()}; }
}  // namespace

TEST(Heap, ByteSortIsSignedAscending) {
  const struct { std::string in, out; } rows[] = {
      {std::string("\x03\xff\x02\x80\x00", 5), std::string("\x80\xff\x00\x02\x03", 5)},
      {"\x05\x05\x01", "\x01\x05\x05"},
      {"aa", "aa"},
      {"z", "z"},
      {"", ""},
  };
  for (auto& r : rows) {
    std::string s = r.in;
    heap_sort_bytes(s.data(), s.size());
    EXPECT_EQ(bytes(s), bytes(r.out));
  }
  std::mt19937 rng(11);
  for (int round = 0; round < 200; ++round) {
    std::string s(rng() % 64, '\0');
    for (char& c : s) c = static_cast<char>(rng());
    std::vector<signed char> want = bytes(s);
    std::sort(want.begin(), want.end());
    heap_sort_bytes(s.data(), s.size());
    ASSERT_EQ(bytes(s), want);
  }
}

TEST(Heap, PopAllOfAMinHeapDescendsAndAnEmptyHeapIsLeftAlone) {
  char a[] = {1, 3, 2, 7, 5};  // a valid min-heap
  heap<char> h{a, 5, 5, 1};
  byte_heap_pop_all(h);
  EXPECT_EQ(std::string(a, 5), std::string("\x07\x05\x03\x02\x01", 5));
  EXPECT_EQ(h.count, 1u);

  char b[] = {9};
  heap<char> empty{b, 1, 0, 0};
  byte_heap_pop_all(empty);  // n - 1 rounds must not wrap around
  EXPECT_EQ(empty.count, 0u);
  EXPECT_EQ(b[0], 9);
}

TEST(Heap, StringHeapBuild) {
  const bool yes = true, no = false;
  auto make = [] {
    str* a = string_array_new(3);
    a[0] = S("c"), a[1] = S("a"), a[2] = S("b");
    return a;
  };
  heap<str> h;
  str* a = make();
  string_heap_build(h, a, 3, yes, no);
  EXPECT_EQ(sv(a[0]), "a");
  EXPECT_EQ(h.count, 3u);
  EXPECT_EQ(h.min, 1);
  string_array_delete(a);

  a = make();
  string_heap_build(h, a, 3, no, no);
  EXPECT_EQ(sv(a[0]), "c");
  string_array_delete(a);

  a = make();
  string_heap_build(h, a, 3, no, yes);
  EXPECT_EQ(h.count, 0u);
  EXPECT_EQ(h.elements, a);
  EXPECT_EQ(sv(a[0]), "c");
  EXPECT_EQ(sv(a[1]), "a");
  string_array_delete(a);

  // The heap property holds for every parent over random keys (signed bytes included).
  std::mt19937 rng(5);
  for (bool min : {false, true}) {
    std::vector<str> v;
    for (int i = 0; i < 300; ++i) {
      std::string k;
      for (u32 n = rng() % 4; n > 0; --n) k += "a\x80z"[rng() % 3];
      v.push_back(S(k));
    }
    heap<str> hh;
    string_heap_build(hh, v.data(), v.size(), min, no);
    for (u64 i = 1; i < v.size(); ++i) {
      const i64 c = string_compare(v[(i - 1) / 2], v[i]);
      ASSERT_TRUE(min ? c <= 0 : c >= 0) << i;
    }
  }
}

TEST(Heap, RotateBlock) {
  const struct { i64 k; std::vector<int> out; } rows[] = {
      {2, {4, 5, 1, 2, 3}},  {-2, {3, 4, 5, 1, 2}}, {5, {1, 2, 3, 4, 5}},  {0, {1, 2, 3, 4, 5}},
      {-5, {1, 2, 3, 4, 5}}, {7, {4, 5, 1, 2, 3}},  {-7, {3, 4, 5, 1, 2}}, {12, {4, 5, 1, 2, 3}},
      {INT64_MIN, {4, 5, 1, 2, 3}},  // -2^63 is 2 modulo 5
  };
  for (auto& r : rows) {
    std::vector<int> v{1, 2, 3, 4, 5};
    rotate_block(v.data(), v.size(), r.k);
    EXPECT_EQ(v, r.out) << "k " << r.k;
  }
  int* none = nullptr;
  rotate_block(none, 3, 1);
  u64 one[] = {7};
  rotate_block(one, 1, 1);
  EXPECT_EQ(one[0], 7u);

  std::mt19937 rng(9);
  for (int round = 0; round < 200; ++round) {
    const u64 n = 1 + rng() % 20;
    const i64 k = static_cast<i64>(rng() % 61) - 30;
    std::vector<u64> v(n), want;
    for (u64 i = 0; i < n; ++i) v[i] = i;
    want = v;
    const i64 m = ((k % i64(n)) + i64(n)) % i64(n);
    std::rotate(want.begin(), want.end() - m, want.end());
    rotate_block(v.data(), n, k);
    ASSERT_EQ(v, want) << n << " " << k;
  }
}

TEST(Heap, BsearchLastNotAbove) {
  const u64 a[] = {10, 20, 30};
  const struct { u64 key; i64 at; } rows[] = {{5, -1}, {10, 0}, {25, 1}, {30, 2}, {99, 2}};
  for (auto& r : rows) EXPECT_EQ(bsearch_last_le(a, 0, 2, r.key), r.at) << r.key;
  const u64 d[] = {10, 10, 20};
  EXPECT_EQ(bsearch_last_le(d, 0, 2, 10), 1);
  EXPECT_EQ(bsearch_last_le(d, 1, 0, 10), -1);
  EXPECT_EQ(bsearch_last_le(d, 2, 2, 15), -1);

  std::mt19937_64 rng(4);
  std::vector<u64> v(100);
  for (auto& x : v) x = rng() % 300;
  std::sort(v.begin(), v.end());
  for (u64 key = 0; key < 310; ++key) {
    const i64 want = std::upper_bound(v.begin(), v.end(), key) - v.begin() - 1;
    ASSERT_EQ(bsearch_last_le(v.data(), 0, 99, key), want) << key;
  }
}
