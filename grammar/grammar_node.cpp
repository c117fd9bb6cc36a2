#include "grammar/grammar_node.h"

#include <cstring>
#include <new>

#include "adt/memory.h"

namespace kk::grammar {

grammar_node* grammar_node_new(u16 kind, const char* start, const char* end) {
  void* mem = adt::mem_alloc(sizeof(grammar_node));
  auto* n = ::new (mem) grammar_node();
  n->kind = kind;
  n->start = start;
  n->end = end;
  return n;
}

void grammar_node_free(grammar_node* node) noexcept {
  if (!node) return;
  while (grammar_node* child = node->children.pop_front()) grammar_node_free(child);
  node->~grammar_node();
  adt::mem_free(node);
}

const grammar_node* grammar_child(const grammar_node* node, u64 i) noexcept {
  if (!node) return nullptr;
  for (auto* e = node->children.head; e; e = e->next, --i)
    if (i == 0) return e->value;
  return nullptr;
}

const grammar_node* grammar_last_child(const grammar_node* node) noexcept {
  return node && node->children.tail ? node->children.tail->value : nullptr;
}

u64 grammar_child_count(const grammar_node* node) noexcept {
  u64 k = 0;
  if (node)
    for (auto* e = node->children.head; e; e = e->next) ++k;
  return k;
}

void rule_table_init(rule_table* table, u64 size) {
  table->slots = static_cast<rule_slot*>(adt::mem_alloc(adt::mem_bytes(size, sizeof(rule_slot))));
  for (u64 i = 0; i < size; ++i) ::new (&table->slots[i]) rule_slot();
  table->size = size;
}

void rule_table_free(rule_table* table) noexcept {
  if (!table) return;
  adt::mem_free(table->slots);
  table->slots = nullptr;
  table->size = 0;
}

}  // namespace kk::grammar
