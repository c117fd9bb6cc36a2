#pragma once
// Compact texts of grammar and parse trees for expectations in tests.
#include <string>

#include "grammar/grammar_node.h"
#include "grammar/parse_node.h"

namespace kk::grammar::test {

// Each text is written into one string as the tree is walked: building it from the
// children's own strings copied each level's text into its parent, quadratic in the depth.

// kind, and its children in parentheses: "1(19 2(3(11)))".
inline void shape_into(std::string& s, const grammar_node* n) {
  if (!n) {
    s += "null";
    return;
  }
  s += std::to_string(n->kind);
  if (n->children.head) {
    s += "(";
    for (auto* e = n->children.head; e; e = e->next) {
      if (e != n->children.head) s += " ";
      shape_into(s, e->value);
    }
    s += ")";
  }
}
inline std::string shape(const grammar_node* n) {
  std::string s;
  shape_into(s, n);
  return s;
}

inline std::string text_of(const grammar_node* n) { return std::string(n->start, n->end); }

// id@offset+length and the children in brackets: "44@0+5[78@0+0 ...]".
inline void shape_into(std::string& s, const parse_node* n, const char* base) {
  if (!n) {
    s += "null";
    return;
  }
  s += std::to_string(n->id);
  s += "@";
  s += std::to_string(n->start - base);
  s += "+";
  s += std::to_string(n->length);
  if (child_count(n)) {
    s += "[";
    for (u64 i = 0; i < child_count(n); ++i) {
      if (i) s += " ";
      shape_into(s, child_at(n, i), base);
    }
    s += "]";
  }
}
inline std::string shape(const parse_node* n, const char* base) {
  std::string s;
  shape_into(s, n, base);
  return s;
}

// Only the ids: "44[78 45[...]]".
inline void ids_into(std::string& s, const parse_node* n) {
  if (!n) {
    s += "null";
    return;
  }
  s += std::to_string(n->id);
  if (child_count(n)) {
    s += "[";
    for (u64 i = 0; i < child_count(n); ++i) {
      if (i) s += " ";
      ids_into(s, child_at(n, i));
    }
    s += "]";
  }
}
inline std::string ids(const parse_node* n) {
  std::string s;
  ids_into(s, n);
  return s;
}

}  // namespace kk::grammar::test
