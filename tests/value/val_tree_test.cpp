#include "value/val_tree.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace kk;

namespace {
val dbl(double x) { val v; val_from_double(v, x); return v; }
val txt(const std::string& s) { val v; val_from_bytes(v, s.data(), s.size()); return v; }

// The distinct values of a column in order of first occurrence, as `unique` keeps them.
std::vector<uint64_t> distinct_ids(const std::vector<val>& column) {
  val_tree set;
  std::vector<uint64_t> kept;
  for (uint64_t id = 0; id < column.size(); ++id) {
    if (!val_tree_find(set.root, column[id])) kept.push_back(id);
    set.insert(column[id], id);
  }
  val_tree_destroy(set.root);
  EXPECT_EQ(set.root, nullptr);
  return kept;
}
}  // namespace

TEST(val_tree, nan_and_null_each_count_once) {
  const double nan = std::nan("");
  // NaN compares false both ways under val_less/val_greater; a lookup by them would
  // never find a stored NaN, and the set would keep every NaN as a new value.
  std::vector<val> doubles;
  for (double x : {1.0, nan, 2.0, nan, -0.0, 0.0, 1.0, -nan, 3.0}) doubles.push_back(dbl(x));
  EXPECT_EQ(distinct_ids(doubles), (std::vector<uint64_t>{0, 1, 2, 4, 8}));

  std::vector<val> with_nulls;
  with_nulls.push_back(txt("b"));
  with_nulls.emplace_back();  // null
  with_nulls.push_back(txt("a"));
  with_nulls.emplace_back();
  with_nulls.push_back(txt("b"));
  EXPECT_EQ(distinct_ids(with_nulls), (std::vector<uint64_t>{0, 1, 2}));
}

TEST(val_tree, many_texts_stay_findable_and_are_released) {
  val_tree set;
  for (int i = 0; i < 2000; ++i) set.insert(txt("k" + std::to_string(i * 7919 % 2000)), uint64_t(i));
  for (int i = 0; i < 2000; ++i) {
    val_tree_node* n = val_tree_find(set.root, txt("k" + std::to_string(i)));
    ASSERT_NE(n, nullptr) << i;
    EXPECT_EQ(std::string(n->key.text, n->key.len), "k" + std::to_string(i));
  }
  EXPECT_EQ(val_tree_find(set.root, txt("missing")), nullptr);
  EXPECT_EQ(val_tree_find(nullptr, txt("k1")), nullptr);
  val_tree_destroy(set.root);  // the leak checker sees every text block go
}
