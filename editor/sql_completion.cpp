#include "editor/sql_completion.h"

#include <algorithm>
#include <utility>

#include "adt/string.h"

namespace ruv::lang {

namespace {

// Below this many words from the context, the general vocabularies are added.
constexpr u64 enough = 6;
// The look-back for ";" without a current parse, and the cursor limit beyond which the text
// is not parsed from its start.
constexpr u64 semicolon_look_back = 64;
constexpr u64 parse_from_start_below = 256;

void add(const prefix_index& index, std::string_view fragment, candidate_list& out) {
  index.append_matches(fragment, out);
}

void add_fields(const name_indexes* names, std::string_view table, std::string_view fragment,
                candidate_list& out) {
  if (names && names->has_field_names()) names->append_field_matches(table, fragment, out);
}

void sort_unique(candidate_list& out) {
  auto less = [](const kk::adt::string::string& a, const kk::adt::string::string& b) {
    return kk::adt::string::string_compare(a, b) < 0;
  };
  std::sort(out.begin(), out.end(), less);
  u64 kept = 0;
  for (u64 i = 0; i < out.size; ++i) {
    if (kept > 0 && kk::adt::string::string_compare(out[kept - 1], out[i]) == 0) continue;
    if (kept != i) out[kept] = std::move(out[i]);
    ++kept;
  }
  out.resize(kept);
}

// The start of the statement holding the cursor, or npos when it cannot be found cheaply.
u64 statement_start(const completion_input& in, u64 cursor) {
  const script_parse* p = in.parse;
  if (p && p->is_of(in.revision) && p->size() == in.size && p->tree_count() > 0) {
    const i64 t = last_tree_before(p->trees(), 0, i64(p->tree_count()) - 1, p->text(), cursor);
    if (t >= 0) return p->tree_end(u64(t));
  }
  for (u64 back = 1; back <= semicolon_look_back && back <= cursor; ++back)
    if (in.text[cursor - back] == ';') return cursor - back + 1;
  return cursor >= parse_from_start_below ? kk::adt::string::npos : 0;
}

// The kind of the text just before the cursor: follow the last non-empty child down from
// the root (a statement's trees end in empty gaps, which say nothing about what was typed);
// the innermost comment, constant, function, table or field name on that chain decides,
// else the node the chain ends in.
u16 context_id_of(const parse_node* root) {
  u16 id = node_id::none;
  const parse_node* n = root;
  for (;;) {
    if (is_comment_id(n->id) || is_constant_id(n->id) || is_fn_name_id(n->id) ||
        is_table_name_id(n->id) || is_field_name_id(n->id))
      id = n->id;
    const parse_node* next = nullptr;
    for (u64 i = kk::grammar::child_count(n); i > 0; --i) {
      const parse_node* c = kk::grammar::child_at(n, i - 1);
      if (c->length > 0) {
        next = c;
        break;
      }
    }
    if (!next) break;
    n = next;
  }
  return id != node_id::none ? id : n->id;
}

}  // namespace

bool is_word_byte(char c) noexcept {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

candidate_list& statement_candidates(candidate_list& out, std::string_view fragment) {
  add(statement_words(), fragment, out);
  return out;
}

candidate_list& context_candidates(candidate_list& out, u16 id, std::string_view fragment,
                                   const name_indexes* names, std::string_view table) {
  if (is_comment_id(id)) return out;
  if (is_terminal_id(id)) {
    add(query_words(), fragment, out);
    if (out.size < enough) add(modifying_words(), fragment, out);
    if (out.size < enough) add(type_and_clause_words(), fragment, out);
    if (out.size < enough) add(post_words(), fragment, out);
  } else if (is_fn_name_id(id)) {
    add(function_names(), fragment, out);
  } else if (is_table_name_id(id)) {
    if (names && names->tables()) add(*names->tables(), fragment, out);
  } else if (is_field_name_id(id)) {
    add_fields(names, table, fragment, out);
  }
  if (!is_constant_id(id) && out.size < enough) {
    if (!is_field_name_id(id)) add_fields(names, table, fragment, out);
    if (!is_fn_name_id(id)) add(function_names(), fragment, out);
    add(type_and_clause_words(), fragment, out);
  }
  sort_unique(out);
  return out;
}

completion complete_at(const completion_input& in) {
  completion c;
  if (!in.text) return c;
  const u64 cursor = std::min(in.cursor, in.size);
  u64 frag = 0;
  while (frag < cursor && is_word_byte(in.text[cursor - 1 - frag])) ++frag;
  c.fragment_length = frag;
  const std::string_view fragment(in.text + cursor - frag, frag);

  const u64 start = statement_start(in, cursor);
  if (start == kk::adt::string::npos || start > cursor || start >= in.size) return c;
  c.statement_start = start;

  parse_node* tree = nullptr;
  parse_statement(in.text + start, cursor - start, &tree);
  std::string_view table;
  if (tree) {
    if (const parse_node* t = first_table_name_node(tree)) table = std::string_view(t->start, t->length);
    c.context_id = context_id_of(tree);
  }
  if (cursor - frag == 0)
    statement_candidates(c.candidates, fragment);
  else
    context_candidates(c.candidates, c.context_id, fragment, in.names, table);
  kk::grammar::grammar_free_tree(tree);
  return c;
}

}  // namespace ruv::lang
