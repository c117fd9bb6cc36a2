#include "editor/sql_printer.h"

#include "editor/sql_parse.h"

namespace ruv::lang {

namespace {

using kk::grammar::child_at;
using kk::grammar::child_count;

bool gap_blank(char c) noexcept { return c == ' ' || (c >= 9 && c <= 12); }

const kk::grammar::parse_id_set& printer_set() {
  static const kk::grammar::parse_id_set s = [] {
    kk::grammar::parse_id_set ids;
    for (u16 id : {node_id::field_name, node_id::table_name, node_id::fn_name, node_id::constant,
                   node_id::uint_dec, node_id::igs, node_id::terminal})
      ids.add(id);
    return ids;
  }();
  return s;
}

void append(kk::adt::string::string& out, const char* p, u64 n) {
  if (n == 0) return;
  const u64 at = out.size;
  out.resize(at + n);
  for (u64 i = 0; i < n; ++i) out.data[at + i] = p[i];
}

void print_gap(kk::adt::string::string& out, const parse_node* gap, bool drop_comments,
               bool single_line) {
  bool blank = true, line_feed = false;
  for (u64 i = 0; i < gap->length; ++i) {
    const char c = gap->start[i];
    if (!gap_blank(c)) {
      blank = false;
      break;
    }
    if (c == '\n') line_feed = true;
  }
  if (blank)
    out.push_back(!single_line && line_feed ? '\n' : ' ');
  else if (drop_comments)
    out.push_back(' ');
  else
    append(out, gap->start, gap->length);
}

// Prints the topmost nodes of the printer set in document order. A leaf outside the set,
// and any byte of an inner node that none of its children covers, is printed as it stands:
// no byte of a statement is lost.
void print_node(kk::adt::string::string& out, const parse_node* n, bool drop_comments,
                bool single_line) {
  if (printer_set().has(n->id) || child_count(n) == 0) {
    if (n->id == node_id::igs && n->length > 0)
      print_gap(out, n, drop_comments, single_line);
    else
      append(out, n->start, n->length);
    return;
  }
  const char* at = n->start;
  for (u64 i = 0; i < child_count(n); ++i) {
    const parse_node* c = child_at(n, i);
    if (c->start > at) append(out, at, u64(c->start - at));
    print_node(out, c, drop_comments, single_line);
    if (kk::grammar::node_end(c) > at) at = kk::grammar::node_end(c);
  }
  const char* end = kk::grammar::node_end(n);
  if (end > at) append(out, at, u64(end - at));
}

}  // namespace

kk::adt::string::string sql_format_tree(const parse_node* tree, bool drop_comments,
                                        bool single_line) {
  kk::adt::string::string out;
  if (tree) print_node(out, tree, drop_comments, single_line);
  return out;
}

std::optional<kk::adt::string::string> format_sql_text(const char* text, u64 size) {
  kk::adt::vector<parse_node*> trees;
  const u64 consumed = split_script(text, size, trees);
  std::optional<kk::adt::string::string> result;
  if (consumed == size) {
    result.emplace();
    for (u64 i = 0; i < trees.size; ++i) {
      if (i > 0) result->push_back('\n');
      kk::adt::string::string s = sql_format_tree(trees[i], false, false);
      append(*result, s.data, s.size);
    }
  }
  for (parse_node* t : trees) kk::grammar::grammar_free_tree(t);
  return result;
}

}  // namespace ruv::lang
