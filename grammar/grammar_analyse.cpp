// Matcher hints: for every node, the bytes a match can start with and whether it can match
// the empty text; and the numeric bounds of ranges and repetitions.
//
// A node that cannot match the empty text and whose first-byte set excludes the byte at
// the current position fails there without trying anything: every terminal it would try
// fails at that very position, so parse_farthest is raised exactly as a full attempt
// would raise it. Nodes whose behaviour is not fully known (unknown kinds, references
// without a slot, recognisers without a declared set) are never skipped, nor anything
// that contains them.
#include <cstring>

#include "adt/memory.h"
#include "adt/vector.h"
#include "grammar/ebnf_compiler.h"

namespace kk::grammar {

namespace {

struct info {
  bool known = true;
  bool nullable = false;
  byte_set first;
};

bool same(const info& a, const info& b) noexcept {
  return a.known == b.known && a.nullable == b.nullable &&
         std::memcmp(a.first.w, b.first.w, sizeof a.first.w) == 0;
}

void unite(byte_set& a, const byte_set& b) noexcept {
  for (int i = 0; i < 4; ++i) a.w[i] |= b.w[i];
}

info unknown() {
  info i;
  i.known = false;
  i.nullable = true;
  for (u64& w : i.first.w) w = ~u64(0);
  return i;
}

info all_bytes() {
  info i;
  for (u64& w : i.first.w) w = ~u64(0);
  return i;
}

u64 bound_of(const grammar_node* b) noexcept {
  const char* p = b->start;
  u64 base = 10;
  if (b->kind == kind_integer_hex) {
    base = 16;
    p += 2;
  }
  u64 v = 0;
  for (; p < b->end; ++p) {
    const char c = *p;
    const u64 d = c <= '9' ? u64(c - '0') : c <= 'F' ? u64(c - 'A' + 10) : u64(c - 'a' + 10);
    if (v > (~u64(0) - d) / base) return ~u64(0);
    v = v * base + d;
  }
  return v;
}

bool is_bound(const grammar_node* n) noexcept {
  return n && (n->kind == kind_integer_dec || n->kind == kind_integer_hex);
}

struct analyser {
  const rule_table* table;
  const native_rule_map* natives;
  adt::vector<info> rules;       // per rule number
  adt::vector<const grammar_node*> bodies;

  info rule_info(u16 kind) const {
    if (kind >= native_ref_base) {
      const native_rule* nat = native_rule_find(natives, u16(kind - native_ref_base));
      if (kind >= table->size || !table->slots[kind].native || !nat || !nat->first_known)
        return unknown();
      info i;
      i.first = nat->first;
      return i;
    }
    const u64 n = kind - rule_ref_base;
    if (kind >= table->size || !table->slots[kind].rule || n >= rules.size) return unknown();
    return rules[n];
  }

  info of(const grammar_node* n) const {
    if (!n) return unknown();
    const u16 k = n->kind;
    if (k >= rule_ref_base) return rule_info(k);
    switch (k) {
      case kind_rule:
        return of(grammar_child(n, 1));
      case kind_meta_definition:
      case kind_group:
        return of(grammar_child(n, 0));
      case kind_alternation:
      case kind_option: {
        if (!n->children.head) return k == kind_option ? info{true, true, {}} : unknown();
        info out;
        out.nullable = k == kind_option;
        for (auto* e = n->children.head; e; e = e->next) {
          const info c = of(e->value);
          out.known = out.known && c.known;
          out.nullable = out.nullable || c.nullable;
          unite(out.first, c.first);
        }
        return out;
      }
      case kind_concatenation: {
        if (!n->children.head) return unknown();
        info out;
        out.nullable = true;
        for (auto* e = n->children.head; e; e = e->next) {
          const info c = of(e->value);
          out.known = out.known && c.known;
          unite(out.first, c.first);
          if (!c.nullable) {
            out.nullable = false;
            break;
          }
        }
        return out;
      }
      case kind_repeat:
      case kind_repeat_min1: {
        const grammar_node* first = grammar_child(n, 0);
        u64 lower = k == kind_repeat_min1 ? 1 : 0;
        const grammar_node* body = first;
        if (k == kind_repeat && is_bound(first)) {
          lower = bound_of(first);
          body = grammar_child(n, 1);
        }
        info b = of(body);
        // A body that matches the empty text ends the loop after one pass.
        if (b.nullable && lower >= 2) return unknown();
        b.nullable = b.nullable || lower == 0;
        return b;
      }
      case kind_quote_string:
      case kind_dquote_string: {
        info i;
        if (n->end - n->start <= 2)
          i.nullable = true;
        else
          i.first.add(static_cast<u8>(n->start[1]));
        return i;
      }
      case kind_sort_string: {
        info i;
        for (const char* p = n->start + 1; p < n->end - 1; ++p) i.first.add(static_cast<u8>(*p));
        return i;
      }
      case kind_range_string: {
        const grammar_node* lo = grammar_child(n, 0);
        const grammar_node* hi = grammar_last_child(n);
        info i;
        if (!lo || !hi) return unknown();
        if (lo->kind == kind_quote_string || lo->kind == kind_dquote_string) {
          if (lo->end - lo->start <= 2 || hi->end - hi->start <= 2) return i;  // never matches
          const int a = static_cast<signed char>(lo->start[1]);
          const int b = static_cast<signed char>(hi->start[1]);
          for (int c = a; c <= b; ++c) i.first.add(static_cast<u8>(c));
          return i;
        }
        if (!is_bound(lo) || !is_bound(hi)) return unknown();
        const u64 a = bound_of(lo), b = bound_of(hi);
        for (u64 c = a; c <= b && c < 0x80; ++c) i.first.add(static_cast<u8>(c));
        // Lead bytes of the longer forms whose values (overlong ones included) meet [a, b].
        const struct { u64 max; u32 lo, hi; } forms[] = {
            {0x7FF, 0xC0, 0xDF}, {0xFFFF, 0xE0, 0xEF}, {0x1FFFFF, 0xF0, 0xF7}};
        for (const auto& f : forms)
          if (a <= f.max && a <= b)
            for (u32 c = f.lo; c <= f.hi; ++c) i.first.add(static_cast<u8>(c));
        return i;
      }
      case kind_any_char:
      case kind_except_terminal_string:
        return all_bytes();
      default:
        return unknown();
    }
  }

  static bool is_grouping(u16 k) {
    return k == kind_concatenation || k == kind_group || k == kind_option || k == kind_repeat ||
           k == kind_repeat_min1;
  }

  // Follows the descents that change nothing in a match: a group or meta definition to its
  // child, an alternation of one branch to it, a sequence of one term that is no grouping
  // kind to that term.
  static const grammar_node* look_through(const grammar_node* n) {
    for (u32 guard = 0; guard < 1000; ++guard) {
      const auto* e = n->children.head;
      if ((n->kind == kind_group || n->kind == kind_meta_definition) && e) {
        n = e->value;
      } else if (n->kind == kind_alternation && e && !e->next) {
        n = e->value;
      } else if (n->kind == kind_concatenation && e && !e->next && !is_grouping(e->value->kind)) {
        n = e->value;
      } else {
        break;
      }
    }
    return n;
  }

  void hint(grammar_node* n) {
    n->direct = look_through(n);
    if (n->kind == kind_range_string) {
      const grammar_node* lo = grammar_child(n, 0);
      const grammar_node* hi = grammar_last_child(n);
      if (is_bound(lo) && is_bound(hi)) {
        n->lo = bound_of(lo);
        n->hi = bound_of(hi);
        n->flags |= node_bounds_cached;
      }
    } else if (n->kind == kind_repeat) {
      const grammar_node* first = grammar_child(n, 0);
      const grammar_node* last = grammar_last_child(n);
      const grammar_node* body = first;
      u8 f = node_bounds_cached;
      if (is_bound(first)) {
        n->lo = bound_of(first);
        body = grammar_child(n, 1);
        f |= node_has_lower;
      }
      if (is_bound(last) && last != body && last != first) {
        n->hi = bound_of(last);
        f |= node_has_upper;
      }
      n->flags |= f;
      n->body = body;
    }
    if (n->kind == kind_concatenation) {
      u64 k = 0;
      bool prefix_known = true;
      for (auto* e = n->children.head; e; e = e->next, ++k) {
        const info c = of(e->value);
        if (!c.nullable) {
          bool all = true;
          for (u64 w : c.first.w) all = all && w == ~u64(0);
          if (k > 0 && prefix_known && c.known && !all) {
            n->lo = k;
            n->flags |= node_prefix_check;
          }
          break;
        }
        prefix_known = prefix_known && c.known;
      }
    }
    const info i = of(n);
    bool every = true;
    for (u64 w : i.first.w) every = every && w == ~u64(0);
    n->flags &= u8(~node_has_first);
    if (i.known && !i.nullable && !every) {
      std::memcpy(n->first, i.first.w, sizeof n->first);
      n->flags |= node_has_first;
    }
    for (auto* e = n->children.head; e; e = e->next) hint(e->value);
  }
};

}  // namespace

void grammar_analyse(grammar_node* syntax, const rule_table* table,
                     const native_rule_map* natives) {
  if (!syntax || !table) return;
  analyser a{table, natives, {}, {}};
  const u64 count = grammar_child_count(syntax);
  a.rules.resize(count);
  for (u64 i = 0; i < count; ++i) a.rules[i] = info{};
  // Least fixed point over the rules: sets only grow, nullable and unknown only turn on.
  for (bool changed = true; changed;) {
    changed = false;
    u64 i = 0;
    for (auto* e = syntax->children.head; e; e = e->next, ++i) {
      const info next = a.of(e->value);
      if (!same(next, a.rules[i])) {
        a.rules[i] = next;
        changed = true;
      }
    }
  }
  for (auto* e = syntax->children.head; e; e = e->next) a.hint(e->value);
}

}  // namespace kk::grammar
