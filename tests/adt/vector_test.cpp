#include "adt/vector.h"

#include <gtest/gtest.h>

#include <new>
#include <utility>

#include "tests/adt/test_util.h"

using namespace kk;
using namespace kk::adt;
using kk::adt::test::S;
using kk::adt::test::sv;
using kk::adt::test::tracked;
using str = kk::adt::string::string;

namespace {
// Like the table model's cell: a default that is not all zero.
struct cell {
  u8 flag = 0;
  u64 value = 0;
  u32 code = 35;
};
}  // namespace

// Plain elements live in a zero-filled block, the others in a counted array.
static_assert(vector_plain<u64> && vector_plain<byte_range> && vector_plain<void*>);
static_assert(!vector_plain<str> && !vector_plain<pair> && !vector_plain<cell>);

TEST(Vector, PushBackCapacities) {
  vector<u64> v;
  const struct { u64 size, capacity; } rows[] = {{1, 2}, {2, 2}, {3, 6}, {6, 6}, {7, 14}, {15, 30}, {31, 62}};
  u64 row = 0;
  for (u64 i = 1; i <= 31; ++i) {
    v.push_back(i * 10);
    if (row < std::size(rows) && rows[row].size == i) {
      EXPECT_EQ(v.capacity, rows[row].capacity) << "size " << i;
      ++row;
    }
  }
  for (u64 i = 0; i < 31; ++i) ASSERT_EQ(v[i], (i + 1) * 10);
  vector<str> s;
  for (u64 cap : {2u, 2u, 6u, 6u, 6u, 6u, 14u}) {
    s.push_back(S("x"));
    EXPECT_EQ(s.capacity, cap);
  }
}

TEST(Vector, ResizeDoublesAndKeepsElementsPastTheSize) {
  vector<u64> e;
  e.resize(0);
  EXPECT_EQ(e.data, nullptr);
  e.resize(3);
  EXPECT_EQ(e.capacity, 6u);
  for (u64 i = 0; i < 3; ++i) EXPECT_EQ(e[i], 0u);

  vector<u64> v;
  v.resize(3);
  for (u64 i = 1; i <= 6; ++i) v.resize(i), v[i - 1] = i;
  ASSERT_EQ(v.capacity, 6u);
  v.resize(2);
  v.resize(5);
  for (u64 i = 0; i < 5; ++i) EXPECT_EQ(v[i], i + 1);
  v.resize(7);
  EXPECT_EQ(v.capacity, 14u);
  for (u64 i = 0; i < 6; ++i) EXPECT_EQ(v[i], i + 1);
  EXPECT_EQ(v[6], 0u);

  // The same holds for counted elements: the strings past the size survive a move.
  vector<str> s;
  s.resize(3);
  s[0] = S("a"), s[1] = S("b"), s[2] = S("c");
  s.resize(1);
  s.resize(40);
  EXPECT_EQ(sv(s[1]), "b");
  EXPECT_EQ(sv(s[2]), "c");
  EXPECT_EQ(s[3].data, nullptr);

  vector<cell> c;
  c.resize(2);
  c[0].code = 1;
  c.resize(9);
  EXPECT_EQ(c[0].code, 1u);
  for (u64 i = 1; i < 9; ++i) EXPECT_TRUE(c[i].flag == 0 && c[i].value == 0 && c[i].code == 35) << i;
}

TEST(Vector, ImpossibleSizesFailAndKeepTheVector) {
  vector<u64> v;
  v.push_back(1);
  v.push_back(2);
  u64* buf = v.data;
  for (u64 n : {~u64(0), ~u64(0) / 2 + 1, ~u64(0) / 2, u64(1) << 61}) {
    EXPECT_THROW(v.resize(n), std::bad_alloc) << n;
    EXPECT_EQ(v.data, buf);
    EXPECT_EQ(v.size, 2u);
    EXPECT_EQ(v.capacity, 2u);
  }
  vector<str> s;
  s.push_back(S("keep"));
  EXPECT_THROW(s.resize(u64(1) << 60), std::bad_alloc);
  EXPECT_EQ(s.size, 1u);
  EXPECT_EQ(sv(s[0]), "keep");
}

TEST(Vector, FailedElementConstructionKeepsOldStorage) {
  tracked::live = 0;
  {
    vector<tracked> v;
    v.resize(2);  // capacity 4
    v[0].v = 1, v[1].v = 2;
    tracked* old = v.data;
    ASSERT_EQ(tracked::live, 4);
    tracked::fail_after = 5;  // the growth to 10 elements fails half way
    EXPECT_THROW(v.resize(5), std::bad_alloc);
    tracked::fail_after = -1;
    EXPECT_EQ(tracked::live, 4);  // the half-built array was destroyed
    EXPECT_EQ(v.data, old);
    EXPECT_EQ(v.size, 2u);
    EXPECT_EQ(v.capacity, 4u);
    EXPECT_EQ(v[1].v, 2);
    v.resize(5);
    EXPECT_EQ(tracked::live, 10);
    EXPECT_EQ(v[0].v, 1);
    EXPECT_EQ(v[4].v, 7);
  }
  EXPECT_EQ(tracked::live, 0);
}

TEST(Vector, PushBackOfOwnElementAcrossGrowth) {
  vector<str> s;
  s.push_back(S("first"));
  s.push_back(S("second"));
  ASSERT_EQ(s.size, s.capacity);
  s.push_back(s[0]);  // the source lives in the storage that the growth releases
  EXPECT_EQ(sv(s[2]), "first");
  EXPECT_EQ(sv(s[0]), "first");

  vector<u64> v;
  v.push_back(41);
  v.push_back(42);
  v.push_back(v[1]);
  EXPECT_EQ(v[2], 42u);
  v.push_back(std::move(v[0]));
  EXPECT_EQ(v[3], 41u);
}

TEST(Vector, CopiesAreDeepAndMovesSteal) {
  vector<str> a;
  a.push_back(S("x"));
  a.push_back(S("yy"));
  a.push_back(S("zzz"));
  vector<str> b(a);
  EXPECT_EQ(b.size, 3u);
  EXPECT_EQ(b.capacity, 6u);
  for (u64 i = 0; i < 3; ++i) {
    EXPECT_NE(b[i].data, a[i].data);
    EXPECT_EQ(sv(b[i]), sv(a[i]));
  }
  b[0].data[0] = 'q';
  EXPECT_EQ(sv(a[0]), "x");

  vector<str> c;
  c = a;
  auto& same_c = c;  // self-assignment through an alias
  c = same_c;
  EXPECT_EQ(sv(c[2]), "zzz");
  vector<str> m(std::move(c));
  EXPECT_EQ(c.data, nullptr);
  EXPECT_EQ(c.size, 0u);
  EXPECT_EQ(sv(m[1]), "yy");
  a = std::move(m);
  EXPECT_EQ(m.data, nullptr);
  EXPECT_EQ(sv(a[1]), "yy");

  vector<str> empty;
  vector<str> ec(empty);
  EXPECT_EQ(ec.data, nullptr);
  EXPECT_EQ(ec.capacity, 0u);

  tracked::live = 0;
  {
    vector<tracked> t;
    t.resize(3);
    vector<tracked> u(t);
    u = t;
    vector<tracked> w(std::move(u));
  }
  EXPECT_EQ(tracked::live, 0);
}

TEST(Vector, SetStringEntry) {
  vector<str> v;
  v.push_back(S("a"));
  v.push_back(S("b"));
  v.push_back(S("c"));
  EXPECT_TRUE(doc_set_string_entry(v, 0, cstr_view("new")));
  EXPECT_EQ(v.size, 1u);
  EXPECT_EQ(sv(v[0]), "new");
  EXPECT_TRUE(doc_set_string_entry(v, 1, cstr_view("two")));
  EXPECT_EQ(v.size, 2u);
  EXPECT_FALSE(doc_set_string_entry(v, 5, cstr_view("far")));
  EXPECT_EQ(v.size, 2u);
  // A view of the element being replaced.
  EXPECT_TRUE(doc_set_string_entry(v, 0, v[0].view()));
  EXPECT_EQ(sv(v[0]), "new");

  vector<str> e;
  EXPECT_TRUE(doc_set_string_entry(e, 0, cstr_view("t")));
  EXPECT_EQ(e.size, 1u);
  EXPECT_EQ(sv(e[0]), "t");
}
