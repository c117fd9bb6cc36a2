#include "grammar/ebnf_compiler.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "grammar/ebnf_tokens.h"

namespace kk::grammar {

namespace {

// Nesting of groups, options and repetitions the compiler follows before it gives up on a
// text (shipped grammars nest a few levels).
constexpr u32 max_nesting = 256;

struct reader {
  const char* end;
  u32 depth = 0;
};

bool at(const reader& r, const char* p, ebnf_token t) noexcept {
  const ebnf_token_text& k = ebnf_token_texts[t];
  return u64(r.end - p) >= k.size && std::memcmp(p, k.text, k.size) == 0;
}

bool is_blank(char c) noexcept { return c == ' ' || (c >= 9 && c <= 13); }
bool is_name_char(char c) noexcept {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool is_dec(char c) noexcept { return c >= '0' && c <= '9'; }
bool is_hex(char c) noexcept {
  return is_dec(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Text of `needle` at or after p, or null.
const char* find(const reader& r, const char* p, ebnf_token t) noexcept {
  const ebnf_token_text& k = ebnf_token_texts[t];
  for (; u64(r.end - p) >= k.size; ++p)
    if (std::memcmp(p, k.text, k.size) == 0) return p;
  return nullptr;
}

// End of a comment at p, or null.
const char* comment_end(const reader& r, const char* p) noexcept {
  const char* q;
  if (at(r, p, tok_comment1_open)) {
    if ((q = find(r, p + 2, tok_comment1_close))) return q + 2;
  } else if (at(r, p, tok_comment2_open)) {
    if ((q = find(r, p + 2, tok_comment2_close))) return q + 2;
  } else if (at(r, p, tok_line_comment)) {
    if ((q = find(r, p + 2, tok_newline))) return q + 1;
  }
  return nullptr;
}

const char* skip(const reader& r, const char* p) noexcept {
  while (p < r.end) {
    if (const char* e = comment_end(r, p))
      p = e;
    else if (is_blank(*p))
      ++p;
    else
      break;
  }
  return p;
}

void add_child(grammar_node* parent, grammar_node* child) { parent->children.push_back(child); }

// Frees node on every exit unless released.
struct owner {
  grammar_node* n;
  explicit owner(grammar_node* x) : n(x) {}
  ~owner() { grammar_node_free(n); }
  grammar_node* release() {
    grammar_node* x = n;
    n = nullptr;
    return x;
  }
  grammar_node* operator->() const { return n; }
};

grammar_node* parse_alternation(reader& r, const char* p);

grammar_node* parse_quoted(reader& r, const char* p, ebnf_token open, ebnf_token close, u16 kind) {
  if (!at(r, p, open)) return nullptr;
  const char* q = find(r, p + 1, close);
  if (!q) return nullptr;
  return grammar_node_new(kind, p, q + 1);
}

grammar_node* parse_quote(reader& r, const char* p) {
  return parse_quoted(r, p, tok_quote_open, tok_quote_close, kind_quote_string);
}
grammar_node* parse_dquote(reader& r, const char* p) {
  return parse_quoted(r, p, tok_dquote_open, tok_dquote_close, kind_dquote_string);
}
grammar_node* parse_sort(reader& r, const char* p) {
  return parse_quoted(r, p, tok_backquote_open, tok_backquote_close, kind_sort_string);
}

grammar_node* parse_integer(reader& r, const char* p) {
  if (r.end - p >= 3 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && is_hex(p[2])) {
    const char* q = p + 2;
    while (q < r.end && is_hex(*q)) ++q;
    return grammar_node_new(kind_integer_hex, p, q);
  }
  const char* q = p;
  while (q < r.end && is_dec(*q)) ++q;
  if (q == p) return nullptr;
  return grammar_node_new(kind_integer_dec, p, q);
}

grammar_node* parse_range(reader& r, const char* p) {
  using bound_parser = grammar_node* (*)(reader&, const char*);
  const bound_parser kinds[] = {parse_quote, parse_dquote, parse_integer};
  for (bound_parser bound : kinds) {
    grammar_node* low = bound(r, p);
    if (!low) continue;
    owner lo(low);
    const char* t = low->end;
    // "~" directly after the low bound, and at least one byte after it.
    if (!at(r, t, tok_range) || r.end - t < 2) return nullptr;
    grammar_node* high = bound(r, t + 1);
    if (!high) return nullptr;
    owner hi(high);
    owner n(grammar_node_new(kind_range_string, low->start, high->end));
    add_child(n.n, lo.release());
    add_child(n.n, hi.release());
    return n.release();
  }
  return nullptr;
}

grammar_node* parse_terminal(reader& r, const char* p) {
  if (p >= r.end) return nullptr;
  if (at(r, p, tok_any)) return grammar_node_new(kind_any_char, p, p + 1);
  if (grammar_node* n = parse_range(r, p)) return n;
  if (grammar_node* n = parse_dquote(r, p)) return n;
  if (grammar_node* n = parse_quote(r, p)) return n;
  if (grammar_node* n = parse_sort(r, p)) return n;
  if (at(r, p, tok_except)) {
    if (r.depth >= max_nesting) return nullptr;
    ++r.depth;
    grammar_node* k = parse_terminal(r, p + 1);
    --r.depth;
    if (!k) return nullptr;
    owner kid(k);
    owner n(grammar_node_new(kind_except_terminal_string, p, k->end));
    add_child(n.n, kid.release());
    return n.release();
  }
  return nullptr;
}

// open, alternation, skip, close: a node of `kind` spanning the brackets.
grammar_node* parse_bracketed(reader& r, const char* p, ebnf_token open, ebnf_token close,
                              u16 kind, bool more_branches) {
  p = skip(r, p);
  if (!at(r, p, open) || r.depth >= max_nesting) return nullptr;
  ++r.depth;
  grammar_node* a = parse_alternation(r, p + 1);
  --r.depth;
  if (!a) return nullptr;
  owner n(grammar_node_new(kind, p, nullptr));
  add_child(n.n, a);
  const char* q = a->end;
  for (;;) {
    const char* s = skip(r, q);
    if (!more_branches || !at(r, s, tok_bar)) break;
    ++r.depth;
    grammar_node* b = parse_alternation(r, s + 1);
    --r.depth;
    if (!b) return nullptr;
    add_child(n.n, b);
    q = b->end;
  }
  q = skip(r, q);
  if (!at(r, q, close)) return nullptr;
  n->end = q + 1;
  return n.release();
}

grammar_node* parse_group(reader& r, const char* p) {
  return parse_bracketed(r, p, tok_group_open, tok_group_close, kind_group, false);
}
grammar_node* parse_option(reader& r, const char* p) {
  return parse_bracketed(r, p, tok_option_open, tok_option_close, kind_option, true);
}

grammar_node* parse_repeat(reader& r, const char* p) {
  p = skip(r, p);
  grammar_node* lower = nullptr;
  const char* q = p;
  if ((lower = parse_integer(r, p))) {
    q = skip(r, lower->end);
    if (!at(r, q, tok_repeat_open)) {
      grammar_node_free(lower);
      return nullptr;
    }
  }
  owner low(lower);
  if (!lower && at(r, q, tok_min1_open)) {
    grammar_node* n = parse_bracketed(r, q, tok_min1_open, tok_min1_close, kind_repeat_min1, false);
    return n;
  }
  if (!at(r, q, tok_repeat_open) || r.depth >= max_nesting) return nullptr;
  ++r.depth;
  grammar_node* a = parse_alternation(r, q + 1);
  --r.depth;
  if (!a) return nullptr;
  owner body(a);
  const char* c = skip(r, a->end);
  if (!at(r, c, tok_repeat_close)) return nullptr;
  owner n(grammar_node_new(kind_repeat, p, c + 1));
  if (low.n) add_child(n.n, low.release());
  add_child(n.n, body.release());
  const char* u = skip(r, c + 1);
  if (grammar_node* upper = parse_integer(r, u)) {
    add_child(n.n, upper);
    n->end = upper->end;
  }
  return n.release();
}

grammar_node* parse_identifier(reader& r, const char* p) {
  if (p >= r.end || !is_name_char(*p)) return nullptr;
  const char* q = p + 1;
  const char* last = q;  // one past the last name byte
  for (; q < r.end && (is_name_char(*q) || is_blank(*q)); ++q)
    if (is_name_char(*q)) last = q + 1;
  return grammar_node_new(kind_identifier, p, last);
}

grammar_node* parse_term(reader& r, const char* p) {
  p = skip(r, p);
  if (grammar_node* n = parse_terminal(r, p)) return n;
  if (grammar_node* n = parse_group(r, p)) return n;
  if (grammar_node* n = parse_option(r, p)) return n;
  if (grammar_node* n = parse_repeat(r, p)) return n;
  return parse_identifier(r, p);
}

grammar_node* parse_concatenation(reader& r, const char* p) {
  grammar_node* t = parse_term(r, p);
  if (!t) return nullptr;
  owner n(grammar_node_new(kind_concatenation, t->start, t->end));
  add_child(n.n, t);
  for (;;) {
    const char* s = skip(r, n->end);
    if (!at(r, s, tok_concat)) break;
    grammar_node* k = parse_term(r, s + 1);
    if (!k) return nullptr;
    add_child(n.n, k);
    n->end = k->end;
  }
  return n.release();
}

grammar_node* parse_alternation(reader& r, const char* p) {
  grammar_node* c = parse_concatenation(r, p);
  if (!c) return nullptr;
  owner n(grammar_node_new(kind_alternation, c->start, c->end));
  add_child(n.n, c);
  for (;;) {
    const char* s = skip(r, n->end);
    if (!at(r, s, tok_bar)) break;
    grammar_node* k = parse_concatenation(r, s + 1);
    if (!k) return nullptr;
    add_child(n.n, k);
    n->end = k->end;
  }
  return n.release();
}

grammar_node* parse_rule(reader& r, const char* p) {
  p = skip(r, p);
  grammar_node* id = parse_identifier(r, p);
  if (!id) return nullptr;
  owner name(id);
  const char* q = skip(r, id->end);
  if (!at(r, q, tok_define)) return nullptr;
  grammar_node* body = parse_alternation(r, q + 1);
  if (!body) return nullptr;
  owner b(body);
  q = skip(r, body->end);
  if (!at(r, q, tok_terminator)) return nullptr;
  owner n(grammar_node_new(kind_rule, p, q + 1));
  add_child(n.n, name.release());
  add_child(n.n, b.release());
  return n.release();
}

grammar_node* parse_comment(reader& r, const char* p) {
  const char* e = comment_end(r, p);
  return e ? grammar_node_new(kind_comment, p, e) : nullptr;
}

grammar_node* parse_skip(reader& r, const char* p) {
  const char* e = p;
  owner n(grammar_node_new(kind_unuse_string, p, p));
  while (e < r.end) {
    if (const char* c = comment_end(r, e)) {
      add_child(n.n, grammar_node_new(kind_comment, e, c));
      e = c;
    } else if (is_blank(*e)) {
      add_child(n.n, grammar_node_new(kind_whitespace, e, e + 1));
      ++e;
    } else {
      break;
    }
  }
  if (e == p) return nullptr;
  n->end = e;
  return n.release();
}

using sub_parser = grammar_node* (*)(reader&, const char*);
grammar_node* run(sub_parser f, const char* pos, const u64* remaining) {
  if (!pos || !remaining) return nullptr;
  reader r{pos + *remaining};
  return f(r, pos);
}

}  // namespace

grammar_node* ebnf_skip(const char* pos, const u64* remaining) { return run(parse_skip, pos, remaining); }
grammar_node* ebnf_parse_rule(const char* pos, const u64* remaining) { return run(parse_rule, pos, remaining); }
grammar_node* ebnf_parse_alternation(const char* pos, const u64* remaining) { return run(parse_alternation, pos, remaining); }
grammar_node* ebnf_parse_concatenation(const char* pos, const u64* remaining) { return run(parse_concatenation, pos, remaining); }
grammar_node* ebnf_parse_term(const char* pos, const u64* remaining) { return run(parse_term, pos, remaining); }
grammar_node* ebnf_parse_terminal(const char* pos, const u64* remaining) { return run(parse_terminal, pos, remaining); }
grammar_node* ebnf_parse_range(const char* pos, const u64* remaining) { return run(parse_range, pos, remaining); }
grammar_node* ebnf_parse_quote(const char* pos, const u64* remaining) { return run(parse_quote, pos, remaining); }
grammar_node* ebnf_parse_dquote(const char* pos, const u64* remaining) { return run(parse_dquote, pos, remaining); }
grammar_node* ebnf_parse_integer(const char* pos, const u64* remaining) { return run(parse_integer, pos, remaining); }
grammar_node* ebnf_parse_group(const char* pos, const u64* remaining) { return run(parse_group, pos, remaining); }
grammar_node* ebnf_parse_option(const char* pos, const u64* remaining) { return run(parse_option, pos, remaining); }
grammar_node* ebnf_parse_repeat(const char* pos, const u64* remaining) { return run(parse_repeat, pos, remaining); }
grammar_node* ebnf_parse_identifier(const char* pos, const u64* remaining) { return run(parse_identifier, pos, remaining); }
grammar_node* ebnf_parse_comment(const char* pos, const u64* remaining) { return run(parse_comment, pos, remaining); }

grammar_node* grammar_parse_rules(const char* text, const u64* length) {
  if (!text || !length) return nullptr;
  reader r{text + *length};
  owner root(grammar_node_new(kind_syntax, text, text));
  const char* p = text;
  bool any = false;
  while (grammar_node* rule = parse_rule(r, p)) {
    add_child(root.n, rule);
    p = rule->end;
    any = true;
  }
  if (!any) return nullptr;
  root->end = skip(r, p);
  return root.release();
}

void rule_name_map_build(rule_name_map* map, const grammar_node* syntax) {
  map->entries.free();
  u16 number = 0;
  for (auto* e = syntax ? syntax->children.head : nullptr; e; e = e->next, ++number) {
    const grammar_node* name = grammar_child(e->value, 0);
    map->entries.push_back({{name->start, u64(name->end - name->start)}, number, e->value});
  }
  // Equal names keep definition order, so the last of a run is the later rule.
  std::stable_sort(map->entries.begin(), map->entries.end(),
                   [](const rule_name_entry& a, const rule_name_entry& b) {
                     return adt::text_compare(a.name, b.name) < 0;
                   });
}

const rule_name_entry* rule_name_map_find(const rule_name_map* map, adt::text_view name) noexcept {
  const rule_name_entry* b = map->entries.begin();
  const rule_name_entry* e = map->entries.end();
  // Last entry whose name is not above `name`.
  const rule_name_entry* it = std::upper_bound(
      b, e, name, [](adt::text_view n, const rule_name_entry& x) { return adt::text_compare(n, x.name) < 0; });
  if (it == b) return nullptr;
  --it;
  return adt::text_compare(it->name, name) == 0 ? it : nullptr;
}

const native_rule* native_rule_find(const native_rule_map* map, u16 rule) noexcept {
  if (!map) return nullptr;
  for (u64 i = 0; i < map->count; ++i)
    if (map->entries[i].rule == rule) return &map->entries[i];
  return nullptr;
}

namespace {
bool resolve(grammar_node* n, const rule_name_map* names, rule_table* table,
             const native_rule_map* natives) {
  if (n->kind == kind_identifier) {
    const adt::text_view name{n->start, u64(n->end - n->start)};
    const rule_name_entry* hit = rule_name_map_find(names, name);
    if (!hit) {
      std::printf("unkown identifier %.*s\n", int(name.size), name.data);
      return false;
    }
    const u16 number = hit->number;
    if (const native_rule* nat = native_rule_find(natives, number)) {
      n->kind = static_cast<u16>(native_ref_base + number);
      if (n->kind < table->size) table->slots[n->kind].native = nat->fn;
    } else {
      n->kind = static_cast<u16>(rule_ref_base + number);
      if (n->kind < table->size) {
        table->slots[n->kind].rule = hit->rule;
        table->slots[n->kind].body = grammar_child(hit->rule, 1);
      }
    }
  }
  for (auto* e = n->children.head; e; e = e->next)
    if (!resolve(e->value, names, table, natives)) return false;
  return true;
}
}  // namespace

bool grammar_resolve_identifiers(grammar_node* rule, const rule_name_map* names,
                                 rule_table* table, const native_rule_map* natives) {
  return rule && names && table && resolve(rule, names, table, natives);
}

bool grammar_build(compiled_grammar* out, const char* text, u64 length, u64 table_size,
                   const native_rule_map* natives) {
  *out = compiled_grammar{};
  grammar_node* syntax = grammar_parse_rules(text, &length);
  if (!syntax) return false;
  const u64 count = grammar_child_count(syntax);
  // Rule numbers must fit the reference kinds: 1024 + n stays below 2048.
  if (count > native_ref_base - rule_ref_base) {
    grammar_node_free(syntax);
    return false;
  }
  rule_name_map names;
  rule_name_map_build(&names, syntax);
  rule_table_init(&out->rules, table_size);
  for (auto* e = syntax->children.head; e; e = e->next) {
    if (!grammar_resolve_identifiers(e->value, &names, &out->rules, natives)) {
      grammar_node_free(syntax);
      rule_table_free(&out->rules);
      *out = compiled_grammar{};
      return false;
    }
  }
  grammar_analyse(syntax, &out->rules, natives);
  out->syntax = syntax;
  out->start = syntax->children.head->value;
  out->rule_count = count;
  return true;
}

void grammar_release(compiled_grammar* g) noexcept {
  if (!g) return;
  grammar_node_free(g->syntax);
  rule_table_free(&g->rules);
  *g = compiled_grammar{};
}

adt::text_view grammar_rule_name(const compiled_grammar* g, u64 n) noexcept {
  const grammar_node* rule = grammar_child(g ? g->syntax : nullptr, n);
  const grammar_node* name = grammar_child(rule, 0);
  if (!name) return {nullptr, 0};
  return {name->start, u64(name->end - name->start)};
}

}  // namespace kk::grammar
