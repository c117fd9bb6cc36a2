#pragma once
// Compact texts of grammar and parse trees for expectations in tests.
#include <string>

#include "grammar/grammar_node.h"
#include "grammar/parse_node.h"

namespace kk::grammar::test {

// kind, and its children in parentheses: "1(19 2(3(11)))".
inline std::string shape(const grammar_node* n) {
  if (!n) return "null";
  std::string s = std::to_string(n->kind);
  if (n->children.head) {
    s += "(";
    for (auto* e = n->children.head; e; e = e->next) {
      if (e != n->children.head) s += " ";
      s += shape(e->value);
    }
    s += ")";
  }
  return s;
}

inline std::string text_of(const grammar_node* n) { return std::string(n->start, n->end); }

// id@offset+length and the children in brackets: "44@0+5[78@0+0 ...]".
inline std::string shape(const parse_node* n, const char* base) {
  if (!n) return "null";
  std::string s = std::to_string(n->id) + "@" + std::to_string(n->start - base) + "+" +
                  std::to_string(n->length);
  if (child_count(n)) {
    s += "[";
    for (u64 i = 0; i < child_count(n); ++i) {
      if (i) s += " ";
      s += shape(child_at(n, i), base);
    }
    s += "]";
  }
  return s;
}

// Only the ids: "44[78 45[...]]".
inline std::string ids(const parse_node* n) {
  if (!n) return "null";
  std::string s = std::to_string(n->id);
  if (child_count(n)) {
    s += "[";
    for (u64 i = 0; i < child_count(n); ++i) {
      if (i) s += " ";
      s += ids(child_at(n, i));
    }
    s += "]";
  }
  return s;
}

}  // namespace kk::grammar::test
