#include "app/script_paths.h"

#include <cstring>

namespace {

using node = path_list::node;

bool same(const kk::adt::string::string& s, kk::adt::text_view v) {
  return s.size == v.size && (v.size == 0 || std::memcmp(s.data, v.data, v.size) == 0);
}

// Unlinks and frees n; gives the node after it.
node* unlink(path_list& l, node* n) noexcept {
  node* next = n->next;
  (n->prev ? n->prev->next : l.head) = next;
  (next ? next->prev : l.tail) = n->prev;
  kk::adt::list_node_delete(n);
  --l.count;
  return next;
}

}  // namespace

bool path_list_erase_first(path_list& l, kk::adt::text_view path) {
  for (node* n = l.head; n; n = n->next)
    if (same(n->value, path)) {
      unlink(l, n);
      return true;
    }
  return false;
}

void path_list_dedupe(path_list& l) {
  for (node* a = l.head; a; a = a->next)
    for (node* b = a->next; b;) b = same(b->value, a->value.view()) ? unlink(l, b) : b->next;
}

void open_files_add(path_list& l, kk::adt::text_view path) {
  path_list_erase_first(l, path);
  l.push_back(kk::adt::string_from_bytes(path.data, path.size));
}

void recent_files_add(path_list& l, kk::adt::text_view path) {
  for (node* n = l.head; n;) n = same(n->value, path) ? unlink(l, n) : n->next;
  // Room for the new entry: one entry goes (a longer list read from a file shrinks by one).
  if (l.count >= recent_files_max) unlink(l, l.tail);
  node* n = kk::adt::list_node_new<kk::adt::string::string>(nullptr, l.head,
                                                             kk::adt::string_from_bytes(path.data, path.size));
  (l.head ? l.head->prev : l.tail) = n;
  l.head = n;
  ++l.count;
}
