#include "app/script_paths.h"

namespace {

using node = path_list::node;

bool same(const kk::adt::string::string& s, kk::adt::text_view v) { return kk::adt::text_compare(s.view(), v) == 0; }

}  // namespace

bool path_list_erase_first(path_list& l, kk::adt::text_view path) {
  for (node* n = l.head; n; n = n->next)
    if (same(n->value, path)) {
      l.erase(n);
      return true;
    }
  return false;
}

void path_list_dedupe(path_list& l) {
  for (node* a = l.head; a; a = a->next)
    for (node* b = a->next; b;) b = same(b->value, a->value.view()) ? l.erase(b) : b->next;
}

void open_files_add(path_list& l, kk::adt::text_view path) {
  path_list_erase_first(l, path);
  l.push_back(kk::adt::string_from_bytes(path.data, path.size));
}

void recent_files_add(path_list& l, kk::adt::text_view path) {
  for (node* n = l.head; n;) n = same(n->value, path) ? l.erase(n) : n->next;
  // Room for the new entry: one entry goes (a longer list read from a file shrinks by one).
  if (l.count >= recent_files_max) l.erase(l.tail);
  l.push_front(kk::adt::string_from_bytes(path.data, path.size));
}
