// Exact shapes and orders that callers can observe: which node takes an erased node's place,
// the raw balance bytes after each rotation case, the release order of a tree's nodes, the
// arrangement a string heap is left in, and the capacities of the concatenations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adt/heap.h"
#include "adt/string.h"
#include "adt/tree.h"
#include "tests/adt/test_util.h"

using namespace kk;
using namespace kk::adt;
using kk::adt::test::S;
using kk::adt::test::sv;
using str = kk::adt::string::string;

namespace {

using node = tree_node<u64, void>;

// "key:balance(left,right)" with the balance byte as stored (255 for -1), "." for no child.
std::string shape(const node* n) {
  if (!n) return ".";
  std::string s = std::to_string(n->key) + ":" + std::to_string(int(n->balance));
  if (n->left || n->right) s += "(" + shape(n->left) + "," + shape(n->right) + ")";
  return s;
}

bool links_ok(const node* n, const node* parent) {
  return !n || (n->parent == parent && links_ok(n->left, n) && links_ok(n->right, n));
}

}  // namespace

TEST(Conformance, TreeShapesAfterInsertAndErase) {
  const struct {
    std::vector<u64> inserts;
    std::vector<u64> erases;
    const char* shape;
  } rows[] = {
      // Double rotations: the rising grandchild's balance decides its two new children's.
      {{5, 2, 8, 1, 4, 3}, {}, "4:0(2:0(1:0,3:0),5:255(.,8:0))"},
      {{50, 20, 80, 10, 40, 45}, {}, "40:0(20:1(10:0,.),50:0(45:0,80:0))"},
      {{5, 8, 2, 9, 6, 7}, {}, "6:0(5:1(2:0,.),8:0(7:0,9:0))"},
      // An even root gives way to the rightmost node of its left subtree.
      {{4, 2, 6, 1, 3, 5, 7}, {4}, "3:0(2:1(1:0,.),6:0(5:0,7:0))"},
      // A right-heavy root to the leftmost node of its right subtree.
      {{2, 1, 4, 3, 5}, {2}, "3:255(1:0,4:255(.,5:0))"},
      // A left-heavy root to its left child, whose own child then moves up.
      {{2, 1, 3, 0}, {2}, "1:0(0:0,3:0)"},
      // Single rotations over an even child, which only erasing produces.
      {{2, 1, 4, 3, 5}, {1}, "4:1(2:255(.,3:0),5:0)"},
      {{4, 5, 2, 1, 3}, {5}, "2:255(1:0,4:1(3:0,.))"},
      // The neighbour that moves into place carries the erased node's balance byte.
      {{8, 4, 12, 2, 6}, {8}, "6:1(4:1(2:0,.),12:0)"},
  };
  for (auto& r : rows) {
    tree<u64> t;
    for (u64 k : r.inserts) ASSERT_TRUE(t.insert(k));
    for (u64 k : r.erases) {
      node* n = t.find(k);
      ASSERT_NE(n, nullptr);
      ASSERT_TRUE(t.erase(n));
    }
    EXPECT_EQ(shape(t.root), r.shape);
    EXPECT_EQ(t.root->parent, nullptr);
    EXPECT_TRUE(links_ok(t.root, nullptr));
  }
}

TEST(Conformance, TreeEraseMovesNodesNotKeys) {
  // Keys and values stay in their nodes: the node that held the neighbour becomes the root.
  tree<u64, u64> t;
  for (u64 k : {4, 2, 6, 1, 3, 5, 7}) t.insert(k, k * 10);
  auto* three = t.find(3);
  auto* two = t.find(2);
  ASSERT_TRUE(t.erase(t.root));
  EXPECT_EQ(t.root, three);
  EXPECT_EQ(three->value, 30u);
  EXPECT_EQ(three->left, two);
  EXPECT_EQ(two->parent, three);
  EXPECT_EQ(two->right, nullptr);
}

namespace {
std::vector<u64> released;
struct logged {
  u64 k;
  logged(u64 v) : k(v) {}
  logged(const logged& o) : k(o.k) {}
  ~logged() { released.push_back(k); }
};
struct logged_order {
  using probe = u64;
  static u64 key_of(const logged& k) noexcept { return k.k; }
  static u64 key_of(u64 k) noexcept { return k; }
  static int compare(u64 a, u64 b) noexcept { return a < b ? -1 : (a > b ? 1 : 0); }
};
}  // namespace

TEST(Conformance, TreeReleaseOrder) {
  tree<logged, void, logged_order> t;
  for (u64 k : {4, 2, 6, 1, 3, 5, 7}) t.insert(k);
  released.clear();
  // The left subtree, then the right one; each child after its own subtrees.
  tree_free_subtrees(t.root);
  EXPECT_EQ(released, (std::vector<u64>{1, 3, 2, 5, 7, 6}));
  EXPECT_EQ(t.root->left, nullptr);
  EXPECT_EQ(t.root->right, nullptr);
  for (u64 k : {2, 1, 3}) t.insert(k);
  released.clear();
  tree_destroy(t.root);  // the root last
  EXPECT_EQ(released, (std::vector<u64>{1, 3, 4, 2}));
  EXPECT_EQ(t.root, nullptr);
}

TEST(Conformance, StringHeapArrangement) {
  // Each string rises from its own position in array order; the array ends in exactly
  // this arrangement, not merely some heap.
  const struct {
    std::vector<const char*> in;
    bool min;
    std::vector<const char*> out;
  } rows[] = {
      {{"d", "c", "b", "a"}, true, {"a", "b", "c", "d"}},
      {{"a", "b", "c", "d"}, false, {"d", "c", "b", "a"}},
      {{"c", "a", "b"}, true, {"a", "c", "b"}},
      {{"b", "\x80", "ba", "a", ""}, false, {"ba", "a", "b", "\x80", ""}},
      {{"b", "\x80", "ba", "a", ""}, true, {"", "\x80", "ba", "b", "a"}},
  };
  const bool no = false;
  for (auto& r : rows) {
    const u64 n = r.in.size();
    str* a = string_array_new(n);
    for (u64 i = 0; i < n; ++i) a[i] = S(r.in[i]);
    heap<str> h;
    string_heap_build(h, a, n, r.min, no);
    EXPECT_EQ(h.count, n);
    for (u64 i = 0; i < n; ++i) EXPECT_EQ(sv(a[i]), r.out[i]) << i;
    string_array_delete(a);
  }
}

TEST(Conformance, ConcatenationCapacitiesAreExact) {
  const struct {
    str r;
    const char* text;
  } rows[] = {
      {string_cat(S("abc"), S("")), "abc"},
      {string_cat(str(), S("x")), "x"},
      {string_cat_string_cstr(S("x"), "yz"), "xyz"},
      {string_cat_string_cstr(str(), nullptr), ""},
      {string_cat_cstr_string("", str()), ""},
      {string_cat_cstr_string("hello ", S("world")), "hello world"},
  };
  for (auto& r : rows) {
    EXPECT_EQ(sv(r.r), r.text);
    EXPECT_EQ(r.r.capacity, r.r.size + 1) << r.text;
    ASSERT_NE(r.r.data, nullptr);
    EXPECT_EQ(r.r.data[r.r.size], 0);
  }
}

TEST(Conformance, TreeEraseOfNoNodeChangesNothing) {
  // A caller that erases what a failed search returned gets false, not a crash.
  tree<u64> t;
  for (u64 k : {2, 1, 3}) t.insert(k);
  EXPECT_FALSE(t.erase(t.find(9)));
  EXPECT_EQ(shape(t.root), "2:0(1:0,3:0)");
  tree<u64> empty;
  EXPECT_FALSE(empty.erase(nullptr));
}

TEST(Conformance, ViewKeyedMapsOrderLikeStringCompare) {
  // Equal means same length and bytes; otherwise signed bytes, a proper prefix first.
  const std::string text("ab\x80" "a", 4);
  const text_view keys[] = {{text.data(), 2}, {text.data() + 2, 1}, {text.data(), 1}, {text.data(), 0},
                            {text.data() + 3, 1}};
  tree<text_view, u64> t;
  for (u64 i = 0; i < std::size(keys); ++i) EXPECT_EQ(t.insert(keys[i], i), i != 4) << i;  // "a" twice
  std::vector<std::string> order;
  for (auto* n = t.first(); n; n = tree_next(n)) order.emplace_back(sv(n->key));
  EXPECT_EQ(order, (std::vector<std::string>{"", "\x80", "a", "ab"}));
  EXPECT_EQ(t.lookup(cstr_view("a"))->value, 2u);
}

TEST(Conformance, FreeingTheSubtreesOfAnEmptySetIsHarmless) {
  tree<u64> empty;
  tree_free_subtrees(empty.root);  // an empty set's root is null
  tree_free(empty.root);
  EXPECT_EQ(empty.root, nullptr);
}
