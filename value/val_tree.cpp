#include "value/val_tree.h"

namespace kk {

val_tree_node* val_tree_find(val_tree_node* root, const val& key) noexcept {
  return val_tree::find_from(root, &key);
}

void val_tree_destroy(val_tree_node*& root) noexcept { adt::tree_destroy(root); }

}  // namespace kk
