#include "adt/tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "adt/vector.h"
#include "tests/adt/test_util.h"

using namespace kk;
using namespace kk::adt;
using kk::adt::test::S;
using kk::adt::test::sv;
using str = kk::adt::string::string;

static_assert(sizeof(tree_node<str, vector<str>>) == 80);
static_assert(sizeof(tree_node<text_view, vector<u64>>) == 72);

namespace {

// Checks links, stored balance bytes against real heights; returns the height.
template <class N>
int check_subtree(const N* n, const N* parent, ::testing::AssertionResult& ok) {
  if (!n) return 0;
  if (n->parent != parent) ok = ::testing::AssertionFailure() << "bad parent link";
  const int hl = check_subtree<N>(n->left, n, ok);
  const int hr = check_subtree<N>(n->right, n, ok);
  const int b = static_cast<i8>(n->balance);
  if (b != hl - hr || b < -1 || b > 1)
    ok = ::testing::AssertionFailure() << "balance byte " << int(n->balance) << " for heights " << hl << "/" << hr;
  return 1 + std::max(hl, hr);
}

template <class T>
::testing::AssertionResult valid(const T& t) {
  ::testing::AssertionResult ok = ::testing::AssertionSuccess();
  if (t.root && t.root->parent) return ::testing::AssertionFailure() << "root has a parent";
  check_subtree(t.root, static_cast<decltype(t.root)>(nullptr), ok);
  return ok;
}

std::vector<u64> keys(const tree<u64>& t) {
  std::vector<u64> out;
  for (auto* n = t.first(); n; n = tree_next(n)) out.push_back(n->key);
  return out;
}

}  // namespace

TEST(Tree, SmallInsertionsRotateToTheMiddle) {
  for (auto order : {std::vector<u64>{1, 2, 3}, {3, 1, 2}, {3, 2, 1}, {1, 3, 2}}) {
    tree<u64> t;
    for (u64 k : order) EXPECT_TRUE(t.insert(k));
    ASSERT_TRUE(valid(t));
    EXPECT_EQ(t.root->key, 2u);
    EXPECT_EQ(t.root->left->key, 1u);
    EXPECT_EQ(t.root->right->key, 3u);
    for (auto* n : {t.root, t.root->left, t.root->right}) EXPECT_EQ(n->balance, 0);
    EXPECT_FALSE(t.insert(u64(2)));
    EXPECT_EQ(keys(t), (std::vector<u64>{1, 2, 3}));
  }
}

TEST(Tree, EraseEdgeCases) {
  tree<u64> empty;
  EXPECT_FALSE(tree_erase(empty.root, static_cast<tree_node<u64, void>*>(nullptr)));

  tree<u64> one;
  one.insert(u64(7));
  EXPECT_TRUE(one.erase(one.root));
  EXPECT_EQ(one.root, nullptr);

  tree<u64> three;
  for (u64 k : {1, 2, 3}) three.insert(k);
  auto* l = three.root->left;
  auto* r = three.root->right;
  EXPECT_TRUE(three.erase(three.root));
  EXPECT_TRUE(three.root == l || three.root == r);
  EXPECT_TRUE(valid(three));
  EXPECT_EQ(keys(three), (std::vector<u64>{1, 3}));

  tree<u64> big;
  for (u64 k = 1; k <= 1000; ++k) big.insert(k);
  for (u64 k = 2; k <= 1000; k += 2) EXPECT_TRUE(big.erase_key(k));
  ASSERT_TRUE(valid(big));
  std::vector<u64> odd;
  for (u64 k = 1; k <= 1000; k += 2) odd.push_back(k);
  EXPECT_EQ(keys(big), odd);
  EXPECT_FALSE(big.erase_key(2));
  EXPECT_EQ(big.lookup(2), nullptr);
  EXPECT_EQ(big.lookup(999)->key, 999u);
}

// Random inserts and erases against std::set, checking every balance byte, parent link and
// the in-order sequence.
TEST(Tree, RandomOperationsMatchStdSet) {
  for (u32 seed = 1; seed <= 60; ++seed) {
    std::mt19937_64 rng(seed);
    const u64 range = 16u << (seed % 8);  // dense and sparse key spaces
    tree<u64> t;
    std::set<u64> ref;
    for (int op = 0; op < 3000; ++op) {
      const u64 k = rng() % range;
      if (rng() % 3 != 0) {
        ASSERT_EQ(t.insert(k), ref.insert(k).second) << "seed " << seed;
      } else {
        auto* n = t.find(k);
        ASSERT_EQ(n != nullptr, ref.count(k) == 1) << "seed " << seed;
        if (n) {
          ASSERT_TRUE(t.erase(n));
          ref.erase(k);
        }
      }
      if (ref.size() < 64 || op % 64 == 0) {
        ASSERT_TRUE(valid(t)) << "seed " << seed << " op " << op;
        ASSERT_EQ(keys(t), std::vector<u64>(ref.begin(), ref.end())) << "seed " << seed << " op " << op;
      }
    }
    ASSERT_TRUE(valid(t));
    ASSERT_EQ(keys(t), std::vector<u64>(ref.begin(), ref.end()));
    // Erasing everything through the root exercises swaps at the top.
    while (t.root) {
      ref.erase(t.root->key);
      ASSERT_TRUE(t.erase(t.root));
      ASSERT_TRUE(valid(t)) << "seed " << seed;
    }
    EXPECT_TRUE(ref.empty());
  }
}

TEST(Tree, StringKeysOrderBySignedBytes) {
  struct signed_less {
    bool operator()(const std::string& a, const std::string& b) const {
      return text_compare({a.data(), a.size()}, {b.data(), b.size()}) < 0;
    }
  };
  tree<str, u64> t;
  std::set<std::string, signed_less> ref;
  std::mt19937 rng(7);
  for (int i = 0; i < 2000; ++i) {
    std::string k;
    for (u32 n = rng() % 4; n > 0; --n) k += "ab\x80\0"[rng() % 4];
    ASSERT_EQ(t.insert(S(k), u64(i)), ref.insert(k).second);
    if (i % 5 == 0) {
      auto* n = t.find(text_view{k.data(), k.size()});
      ASSERT_NE(n, nullptr);
      ASSERT_TRUE(t.erase(n));
      ref.erase(k);
    }
  }
  ASSERT_TRUE(valid(t));
  std::vector<std::string> got;
  for (auto* n = t.first(); n; n = tree_next(n)) got.emplace_back(sv(n->key));
  EXPECT_EQ(got, std::vector<std::string>(ref.begin(), ref.end()));

  tree<str, u64> small;
  for (const char* k : {"b", "a", "ab", "", "\x80"}) small.insert(S(k), u64(0));
  got.clear();
  for (auto* n = small.first(); n; n = tree_next(n)) got.emplace_back(sv(n->key));
  EXPECT_EQ(got, (std::vector<std::string>{"", "\x80", "a", "ab", "b"}));
  EXPECT_EQ(small.find(S(""))->key.size, 0u);
  EXPECT_EQ(small.find(S("c")), nullptr);
  tree<str, u64> none;
  EXPECT_EQ(tree_lookup(none, cstr_view("a")), nullptr);
}

TEST(Tree, MapsCopyDeeplyAndReleaseOwnedValues) {
  tree<str, vector<str>> fields;
  vector<str> cols;
  cols.push_back(S("id"));
  cols.push_back(S("name"));
  EXPECT_TRUE(fields.insert(S("users"), cols));
  EXPECT_FALSE(fields.insert(S("users"), vector<str>()));
  tree<str, u64> numbers;
  EXPECT_TRUE(numbers.insert(S("one"), 1));  // an int literal converts to the u64 value
  EXPECT_EQ(numbers.find(cstr_view("one"))->value, 1u);
  cols[0].data[0] = 'X';  // the map holds its own copy
  auto* n = fields.find(cstr_view("users"));
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(sv(n->value[0]), "id");

  tree<str, vector<str>> copy(fields);
  auto* c = copy.find(cstr_view("users"));
  EXPECT_NE(c, n);
  EXPECT_NE(c->value[0].data, n->value[0].data);
  EXPECT_TRUE(valid(copy));
  copy = fields;
  tree<str, vector<str>> moved(std::move(copy));
  EXPECT_EQ(copy.root, nullptr);
  EXPECT_NE(moved.find(cstr_view("users")), nullptr);

  // A view-keyed map does not own its key bytes.
  const std::string text = "select from where";
  tree<text_view, vector<u64>> words;
  vector<u64> pos;
  pos.push_back(0);
  EXPECT_TRUE(words.insert(text_view{text.data(), 6}, pos));
  EXPECT_TRUE(words.insert(text_view{text.data() + 7, 4}, pos));
  EXPECT_FALSE(words.insert(cstr_view("from"), pos));
  EXPECT_EQ(words.lookup(cstr_view("select"))->key.data, text.data());
  words.destroy();
  EXPECT_EQ(words.root, nullptr);
}

TEST(Tree, MultimapKeepsEqualKeysInInsertionOrder) {
  tree<u64, u64> t;
  std::mt19937 rng(3);
  std::vector<std::pair<u64, u64>> ref;
  for (u64 i = 0; i < 500; ++i) {
    const u64 k = rng() % 10;
    t.insert_multi(k, i);
    ref.emplace_back(k, i);
  }
  std::stable_sort(ref.begin(), ref.end(), [](auto& a, auto& b) { return a.first < b.first; });
  ASSERT_TRUE(valid(t));
  std::vector<std::pair<u64, u64>> got;
  for (auto* n = t.first(); n; n = tree_next(n)) got.emplace_back(n->key, n->value);
  EXPECT_EQ(got, ref);

  // A key type with its own order, as the table model's sort tree has: texts by length, so
  // texts of one length are equal keys and must stay in insertion order.
  struct by_length {
    using probe = std::string;
    static const std::string& key_of(const std::string& k) { return k; }
    static int compare(const std::string& a, const std::string& b) {
      return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
    }
  };
  tree<std::string, u64, by_length> sorted;
  const char* words[] = {"ccc", "a", "bb", "dd", "e", "fff", "g"};
  for (u64 i = 0; i < std::size(words); ++i) sorted.insert_multi(std::string(words[i]), i);
  ASSERT_TRUE(valid(sorted));
  std::string order;
  for (auto* n = sorted.first(); n; n = tree_next(n)) order += n->key + " ";
  EXPECT_EQ(order, "a e g bb dd ccc fff ");
  EXPECT_FALSE(sorted.insert(std::string("zz"), u64(9)));  // unique insert sees an equal key
  tree<std::string, u64, by_length> copy(sorted);
  EXPECT_TRUE(valid(copy));
}

TEST(Tree, FreeSubtreesKeepsTheGivenNode) {
  tree<u64> t;
  for (u64 k = 0; k < 100; ++k) t.insert(k);
  auto* root = t.root;
  tree_free_subtrees(root);
  EXPECT_EQ(root->left, nullptr);
  EXPECT_EQ(root->right, nullptr);
  EXPECT_EQ(t.root, root);
  t.destroy();  // the leak checker sees every node released once
  EXPECT_EQ(t.root, nullptr);
}
