#include "adt/list.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "adt/string.h"
#include "tests/adt/test_util.h"

using namespace kk;
using namespace kk::adt;
using kk::adt::test::S;
using kk::adt::test::sv;
using str = kk::adt::string::string;

static_assert(sizeof(list<str>) == 24);
static_assert(sizeof(list_node<str>) == 40);

namespace {
std::string forward(const list<str>& l) {
  std::string out;
  const list_node<str>* prev = nullptr;
  for (auto* n = l.head; n; prev = n, n = n->next) {
    EXPECT_EQ(n->prev, prev);
    out += sv(n->value);
  }
  EXPECT_EQ(prev, l.tail);
  return out;
}
std::string backward(const list<str>& l) {
  std::string out;
  for (auto* n = l.tail; n; n = n->prev) out += sv(n->value);
  return out;
}
}  // namespace

TEST(List, PushBackLinksBothWaysAndCopies) {
  list<str> l;
  str src = S("a");
  list_push_back(l, src);
  src.data[0] = 'z';  // the list holds its own copy
  list_push_back(l, S("b"));
  list_push_back(l, S("c"));
  EXPECT_EQ(forward(l), "abc");
  EXPECT_EQ(backward(l), "cba");
  EXPECT_EQ(l.count, 3u);
  EXPECT_EQ(l.head->prev, nullptr);
  EXPECT_EQ(l.tail->next, nullptr);

  list_clear(l);
  EXPECT_EQ(l.head, nullptr);
  EXPECT_EQ(l.tail, nullptr);
  EXPECT_EQ(l.count, 0u);
  list_clear(l);
  list_push_back(l, S("d"));
  EXPECT_EQ(forward(l), "d");
  EXPECT_EQ(l.count, 1u);
}

TEST(List, PushFrontAndEraseKeepLinksAndCount) {
  list<string::string> l;
  for (const char* t : {"b", "c", "d"}) l.push_back(string_from_cstr(t));
  l.push_front(string_from_cstr("a"));
  auto texts = [&] {
    std::string out;
    for (auto* n = l.head; n; n = n->next) out += n->value.data;
    for (auto* n = l.tail; n; n = n->prev) out += n->value.data;  // the back links too
    return out + std::to_string(l.count);
  };
  EXPECT_EQ(texts(), "abcddcba4");
  EXPECT_EQ(l.erase(l.head->next)->value.data, std::string("c"));  // a middle node
  EXPECT_EQ(texts(), "acddca3");
  EXPECT_EQ(l.erase(l.tail), nullptr);  // the tail
  EXPECT_EQ(texts(), "acca2");
  l.erase(l.head);  // the head
  EXPECT_EQ(texts(), "cc1");
  l.erase(l.head);  // the last one
  EXPECT_EQ(l.head, nullptr);
  EXPECT_EQ(l.tail, nullptr);
  EXPECT_EQ(l.count, 0u);
  l.push_front(string_from_cstr("z"));  // into an empty list
  EXPECT_EQ(texts(), "zz1");
}

TEST(List, CopiesAreDeepAndMovesSteal) {
  list<str> a;
  for (const char* t : {"x", "y", "z"}) list_push_back(a, S(t));
  list<str> b(a);
  EXPECT_EQ(forward(b), "xyz");
  EXPECT_EQ(b.count, 3u);
  b.head->value.data[0] = 'q';
  EXPECT_EQ(forward(a), "xyz");
  b = a;
  auto& same_b = b;  // self-assignment through an alias
  b = same_b;
  EXPECT_EQ(forward(b), "xyz");
  list<str> m(std::move(b));
  EXPECT_EQ(b.head, nullptr);
  EXPECT_EQ(b.count, 0u);
  EXPECT_EQ(forward(m), "xyz");
  a = std::move(m);
  EXPECT_EQ(forward(a), "xyz");
  EXPECT_EQ(m.count, 0u);
}

TEST(List, PointerListsWorkAtTheHeadAndOwnNoPointee) {
  static_assert(sizeof(list<int*>) == 16);
  int x = 1, y = 2, z = 3;
  list<int*> l;
  EXPECT_EQ(list_pop_front(l), nullptr);
  list_push_front(l, &y);
  list_push_front(l, &x);
  l.push_back(&z);
  EXPECT_EQ(l.head->value, &x);
  EXPECT_EQ(l.tail->value, &z);
  EXPECT_EQ(l.head->next->prev, l.head);
  list<int*> copy(l);
  EXPECT_EQ(list_pop_front(l), &x);
  EXPECT_EQ(l.head->prev, nullptr);
  EXPECT_EQ(list_pop_front(l), &y);
  EXPECT_EQ(list_pop_front(l), &z);
  EXPECT_EQ(l.head, nullptr);
  EXPECT_EQ(l.tail, nullptr);
  list_push_front(l, &y);
  EXPECT_EQ(l.tail->value, &y);

  // Freeing the nodes leaves the pointed-to objects alive.
  int* owned = new int(5);
  copy.push_back(owned);
  copy.clear();
  EXPECT_EQ(copy.head, nullptr);
  EXPECT_EQ(*owned, 5);
  delete owned;
}
