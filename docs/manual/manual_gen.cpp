#include "docs/manual/manual_gen.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <set>

#include "functions/registry.h"
#include "grammar/ebnf_kind.h"
#include "grammar/grammar_node.h"
#include "grammar/parse_node.h"
#include "grammar/sql_grammar.h"
#include "grammar/sql_natives.h"

namespace ruv::manual {

using kk::grammar::grammar_node;

const std::vector<std::string> label_keys = {"contents", "example", "type-of"};

namespace {

std::vector<std::string_view> split_lines(std::string_view text) {
  std::vector<std::string_view> out;
  while (!text.empty()) {
    const std::size_t nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    out.push_back(line);
    if (nl == std::string_view::npos) break;
    text.remove_prefix(nl + 1);
  }
  return out;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool starts_with(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

bool is_word_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// "name rest" -> {name, rest}
std::pair<std::string, std::string> first_word(std::string_view s) {
  s = trim(s);
  const std::size_t sp = s.find(' ');
  if (sp == std::string_view::npos) return {std::string(s), {}};
  return {std::string(s.substr(0, sp)), std::string(trim(s.substr(sp + 1)))};
}

}  // namespace

std::string html_escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// ---------------------------------------------------------------------------------------
// Reference

const function_ref* reference::function(std::string_view name) const {
  for (const function_ref& f : functions)
    if (f.name == name) return &f;
  return nullptr;
}

reference read_reference(std::string_view text) {
  reference ref;
  const std::vector<std::string_view> lines = split_lines(text);
  // The examples of the current entry go here; null before the first entry.
  std::vector<std::string>* target = nullptr;
  std::string* single = nullptr;  // a named example holds one text
  std::string owner;
  bool in_example = false;  // the last line was part of an example
  int n = 0;
  for (std::string_view line : lines) {
    ++n;
    if (starts_with(line, "    ")) {
      const std::string_view body = line.substr(4);
      if (!target && !single) {
        ref.errors.push_back("line " + std::to_string(n) + ": an example outside an entry");
        continue;
      }
      if (in_example) {
        std::string& t = single ? *single : target->back();
        t += '\n';
        t += body;
        ref.all.back().text = t;
      } else if (single && !single->empty()) {
        ref.errors.push_back("line " + std::to_string(n) + ": the example " + owner + " has more than one text");
      } else {
        if (single)
          *single = std::string(body);
        else
          target->emplace_back(body);
        ref.all.push_back({owner, std::string(body), n});
      }
      in_example = true;
      continue;
    }
    in_example = false;
    const std::string_view t = trim(line);
    if (t.empty() || t.front() == '#') continue;
    target = nullptr;
    single = nullptr;
    if (starts_with(t, "function ")) {
      const std::string_view def = trim(t.substr(9));
      const std::size_t open = def.find('('), close = def.rfind(')'), arrow = def.find("->");
      if (open == std::string_view::npos || close == std::string_view::npos || arrow == std::string_view::npos ||
          close < open || arrow < close) {
        ref.errors.push_back("line " + std::to_string(n) + ": not \"function name(args) -> result\": " +
                             std::string(t));
        continue;
      }
      function_ref f;
      f.name = std::string(trim(def.substr(0, open)));
      f.args = std::string(trim(def.substr(open + 1, close - open - 1)));
      f.result = std::string(trim(def.substr(arrow + 2)));
      f.line = n;
      if (ref.function(f.name)) ref.errors.push_back("line " + std::to_string(n) + ": function " + f.name + " twice");
      ref.functions.push_back(std::move(f));
      target = &ref.functions.back().examples;
      owner = "function " + ref.functions.back().name;
    } else if (starts_with(t, "rule ")) {
      const std::string name(trim(t.substr(5)));
      target = &ref.rules[name];
      owner = "rule " + name;
    } else if (starts_with(t, "example ")) {
      const std::string name(trim(t.substr(8)));
      if (ref.named.count(name)) ref.errors.push_back("line " + std::to_string(n) + ": example " + name + " twice");
      single = &ref.named[name];
      single->clear();
      owner = "example " + name;
    } else {
      ref.errors.push_back("line " + std::to_string(n) + ": not an entry: " + std::string(t));
    }
  }
  // The function vector may have moved while it grew: the pointers above were only used
  // while it held its last element, and the texts live in the entries themselves.
  return ref;
}

// ---------------------------------------------------------------------------------------
// Dialect

namespace {

enum class tok_kind { keyword, literal, rule, meta };
struct tok {
  tok_kind kind;
  std::string text;
};
struct piece {
  std::vector<tok> toks;
  bool alternatives = false;  // several alternatives at its top level
};

bool is_keyword(std::string_view s) {
  if (s.empty() || !((s[0] >= 'a' && s[0] <= 'z') || (s[0] >= 'A' && s[0] <= 'Z'))) return false;
  return std::all_of(s.begin(), s.end(), is_word_char);
}

}  // namespace

struct dialect::impl {
  std::string text;  // a grammar text of its own, which the compiled nodes point into
  kk::grammar::compiled_grammar g;
  bool ok = false;
  std::vector<std::string> names;
  std::map<std::string, int, std::less<>> numbers;

  const grammar_node* body(int rule) const {
    // The rule's second child, as written (also for the rules served natively).
    return rule < 0 ? nullptr : kk::grammar::grammar_child(kk::grammar::grammar_child(g.syntax, kk::u64(rule)), 1);
  }
  static int ref_rule(const grammar_node* n) {
    if (n->kind >= kk::grammar::native_ref_base) return n->kind - kk::grammar::native_ref_base;
    if (n->kind >= kk::grammar::rule_ref_base) return n->kind - kk::grammar::rule_ref_base;
    return -1;
  }
  // Blanks and comments between items: left out of every syntax shown.
  bool is_gap(const grammar_node* n) const {
    const int r = ref_rule(n);
    return r >= 0 && (names[r] == "igs" || names[r] == "sp");
  }
  static std::string raw(const grammar_node* n) { return std::string(n->start, n->end); }

  piece render(const grammar_node* n) const {
    using namespace kk::grammar;
    piece p;
    if (ref_rule(n) >= 0) {
      if (!is_gap(n)) p.toks.push_back({tok_kind::rule, names[ref_rule(n)]});
      return p;
    }
    switch (n->kind) {
      case kind_alternation: {
        int count = 0;
        for (auto* e = n->children.head; e; e = e->next) {
          piece c = render(e->value);
          if (c.toks.empty()) continue;
          if (count++) p.toks.push_back({tok_kind::meta, "|"});
          p.toks.insert(p.toks.end(), c.toks.begin(), c.toks.end());
          if (count == 1) p.alternatives = c.alternatives;
        }
        if (count > 1) p.alternatives = true;
        return p;
      }
      case kind_concatenation: {
        std::vector<piece> parts;
        for (auto* e = n->children.head; e; e = e->next) {
          piece c = render(e->value);
          if (!c.toks.empty()) parts.push_back(std::move(c));
        }
        if (parts.size() == 1) return parts[0];
        for (piece& c : parts) {
          if (c.alternatives) p.toks.push_back({tok_kind::meta, "("});
          p.toks.insert(p.toks.end(), c.toks.begin(), c.toks.end());
          if (c.alternatives) p.toks.push_back({tok_kind::meta, ")"});
        }
        return p;
      }
      case kind_group: {
        const grammar_node* inner = grammar_child(n, 0);
        return inner ? render(inner) : p;
      }
      case kind_option:
      case kind_repeat:
      case kind_repeat_min1: {
        const grammar_node* inner = nullptr;
        std::string lo, hi;
        for (auto* e = n->children.head; e; e = e->next) {
          if (e->value->kind == kind_alternation)
            inner = e->value;
          else if (!inner)
            lo = raw(e->value);
          else
            hi = raw(e->value);
        }
        if (!inner) return p;
        piece c = render(inner);
        if (c.toks.empty()) return p;
        const bool option = n->kind == kind_option;
        p.toks.push_back({tok_kind::meta, lo + (option ? "[" : "{")});
        p.toks.insert(p.toks.end(), c.toks.begin(), c.toks.end());
        p.toks.push_back({tok_kind::meta, (option ? "]" : "}") + hi + (n->kind == kind_repeat_min1 ? "+" : "")});
        return p;
      }
      case kind_quote_string:
      case kind_dquote_string: {
        std::string t = raw(n);
        if (t.size() >= 2) t = t.substr(1, t.size() - 2);
        p.toks.push_back({is_keyword(t) ? tok_kind::keyword : tok_kind::literal, t});
        return p;
      }
      case kind_sort_string: {
        std::string t = raw(n);
        if (t.size() >= 2) t = t.substr(1, t.size() - 2);
        for (std::size_t i = 0; i < t.size(); ++i) {
          if (i) p.toks.push_back({tok_kind::meta, "|"});
          p.toks.push_back({tok_kind::literal, std::string(1, t[i])});
        }
        p.alternatives = t.size() > 1;
        return p;
      }
      default:
        p.toks.push_back({tok_kind::literal, raw(n)});
        return p;
    }
  }

  // The rules a rule only chooses among: "(a | b | c)", beside blanks and optional parts
  // such as a closing ";"; empty when the rule does more.
  std::vector<int> choices(int rule) const {
    using namespace kk::grammar;
    const grammar_node* b = body(rule);
    if (!b || b->kind != kind_alternation) return {};
    const grammar_node* alt = b;
    if (grammar_child_count(b) == 1) {
      const grammar_node* cat = grammar_child(b, 0);
      const grammar_node* only = nullptr;
      for (auto* e = cat->children.head; e; e = e->next) {
        const grammar_node* t = e->value;
        if (is_gap(t) || t->kind == kind_option) continue;
        if (only) return {};
        only = t;
      }
      if (!only || only->kind != kind_group) return {};
      alt = grammar_child(only, 0);
      if (!alt || alt->kind != kind_alternation) return {};
    }
    std::vector<int> out;
    for (auto* e = alt->children.head; e; e = e->next) {
      const grammar_node* cat = e->value;
      if (cat->kind != kind_concatenation || grammar_child_count(cat) != 1) return {};
      const int r = ref_rule(grammar_child(cat, 0));
      if (r < 0) return {};
      out.push_back(r);
    }
    return out.size() > 1 ? out : std::vector<int>{};
  }

  void leaves(int rule, std::vector<int>& out, std::set<int>& seen) const {
    if (!seen.insert(rule).second) return;
    const std::vector<int> c = choices(rule);
    if (c.empty()) {
      out.push_back(rule);
      return;
    }
    for (int r : c) leaves(r, out, seen);
  }

  // Does every way through n begin with a keyword?
  bool begins_with_keyword(const grammar_node* n) const {
    using namespace kk::grammar;
    switch (n->kind) {
      case kind_alternation: {
        if (!n->children.head) return false;
        for (auto* e = n->children.head; e; e = e->next)
          if (!begins_with_keyword(e->value)) return false;
        return true;
      }
      case kind_concatenation:
        for (auto* e = n->children.head; e; e = e->next)
          if (!is_gap(e->value)) return begins_with_keyword(e->value);
        return false;
      case kind_group:
      case kind_option:
      case kind_repeat:
      case kind_repeat_min1:
        for (auto* e = n->children.head; e; e = e->next)
          if (e->value->kind == kind_alternation) return begins_with_keyword(e->value);
        return false;
      case kind_quote_string:
      case kind_dquote_string: {
        const std::string t = raw(n);
        return t.size() >= 2 && is_keyword(t.substr(1, t.size() - 2));
      }
      default:
        return false;
    }
  }

  void refs(const grammar_node* n, std::vector<int>& out) const {
    if (ref_rule(n) >= 0) {
      if (!is_gap(n)) out.push_back(ref_rule(n));
      return;
    }
    for (auto* e = n->children.head; e; e = e->next) refs(e->value, out);
  }
};

dialect::dialect() : dialect(std::string()) {}

dialect::dialect(std::string grammar_text) : d_(std::make_unique<impl>()) {
  d_->text = std::move(grammar_text);
  if (d_->text.empty())
    d_->ok = kk::grammar::sql::grammar_compile(&d_->g);
  else
    d_->ok = kk::grammar::grammar_build(&d_->g, d_->text.data(), d_->text.size(), kk::grammar::sql::rule_table_size,
                                        kk::grammar::sql::native_rules());
  if (!d_->ok) return;
  for (kk::u64 n = 0; n < d_->g.rule_count; ++n) {
    const kk::adt::text_view v = kk::grammar::grammar_rule_name(&d_->g, n);
    d_->names.emplace_back(v.data, v.size);
    d_->numbers.emplace(d_->names.back(), static_cast<int>(n));
  }
  for (const kk::functions::sql_function_def& f : kk::functions::sql_function_defs()) functions_.push_back(f.name);

  std::vector<int> stmts;
  std::set<int> seen;
  if (rule_number("sql") >= 0) d_->leaves(rule_number("sql"), stmts, seen);
  std::sort(stmts.begin(), stmts.end());
  for (int r : stmts) statements_.push_back(d_->names[r]);

  // Clauses: from the statements outwards, each new clause searched in turn.
  std::set<int> stmt_set(stmts.begin(), stmts.end()), clause_set;
  std::vector<int> work = stmts;
  for (std::size_t i = 0; i < work.size(); ++i) {
    std::vector<int> r;
    d_->refs(d_->body(work[i]), r);
    for (int x : r) {
      std::vector<int> l;
      std::set<int> s;
      d_->leaves(x, l, s);
      for (int leaf : l) {
        if (stmt_set.count(leaf) || clause_set.count(leaf) || is_native(d_->names[leaf])) continue;
        if (!d_->begins_with_keyword(d_->body(leaf))) continue;
        clause_set.insert(leaf);
        work.push_back(leaf);
      }
    }
  }
  for (int r : clause_set) clauses_.push_back(d_->names[r]);
}

dialect::~dialect() {
  if (d_->ok) kk::grammar::grammar_release(&d_->g);
}

bool dialect::ok() const { return d_->ok; }
const std::vector<std::string>& dialect::rule_names() const { return d_->names; }

int dialect::rule_number(std::string_view name) const {
  auto it = d_->numbers.find(name);
  return it == d_->numbers.end() ? -1 : it->second;
}

bool dialect::is_native(std::string_view rule) const {
  const int r = rule_number(rule);
  return r >= 0 && d_->g.rules.slots[kk::grammar::native_ref_base + r].native != nullptr;
}

namespace {
bool opens(const tok& t) { return t.kind == tok_kind::meta && (t.text.back() == '(' || t.text.back() == '[' || t.text.back() == '{'); }
bool closes(const tok& t) { return t.kind == tok_kind::meta && (t.text[0] == ')' || t.text[0] == ']' || t.text[0] == '}'); }
}  // namespace

std::string dialect::syntax_text(std::string_view rule) const {
  const int r = rule_number(rule);
  if (r < 0) return {};
  const grammar_node* b = d_->body(r);
  if (!b) return {};
  const piece p = d_->render(b);
  std::string out;
  for (std::size_t i = 0; i < p.toks.size(); ++i) {
    if (i && !opens(p.toks[i - 1]) && !closes(p.toks[i])) out += ' ';
    out += p.toks[i].text;
  }
  return out;
}

std::string dialect::syntax_html(std::string_view rule, std::string_view link_prefix) const {
  const int r = rule_number(rule);
  if (r < 0) return {};
  const grammar_node* b = d_->body(r);
  if (!b) return {};
  const piece p = d_->render(b);
  std::string out;
  for (std::size_t i = 0; i < p.toks.size(); ++i) {
    const tok& t = p.toks[i];
    if (i && !opens(p.toks[i - 1]) && !closes(t)) out += ' ';
    switch (t.kind) {
      case tok_kind::keyword:
      case tok_kind::literal:
        out += "<b>" + html_escape(t.text) + "</b>";
        break;
      case tok_kind::rule:
        if (link_prefix.empty())
          out += "<i>" + html_escape(t.text) + "</i>";
        else
          out += "<a href=\"#" + std::string(link_prefix) + t.text + "\"><i>" + html_escape(t.text) + "</i></a>";
        break;
      case tok_kind::meta:
        out += "<span class=\"meta\">" + html_escape(t.text) + "</span>";
        break;
    }
  }
  return out;
}

dialect::parse_outcome dialect::parse(std::string_view statement) const {
  parse_outcome out;
  if (!d_->ok) return out;
  kk::grammar::text_parse r = kk::grammar::parse_text(&d_->g, statement.data(), statement.size());
  out.complete = r.complete;
  out.end = r.end;
  const int fn = rule_number("fn_name");
  std::set<std::string> rules;
  std::function<void(const kk::grammar::parse_node*)> walk = [&](const kk::grammar::parse_node* n) {
    if (n->id >= 2 && std::size_t(n->id - 2) < d_->names.size()) {
      rules.insert(d_->names[n->id - 2]);
      if (n->id - 2 == fn) out.functions.emplace_back(n->start, n->length);
    }
    for (kk::u64 i = 0; i < kk::grammar::child_count(n); ++i) walk(kk::grammar::child_at(n, i));
  };
  if (r.tree) walk(r.tree);
  kk::grammar::grammar_free_tree(r.tree);
  out.rules.assign(rules.begin(), rules.end());
  return out;
}

// ---------------------------------------------------------------------------------------
// Source

namespace {

// `code`, **bold**, *italic*; everything else escaped.
std::string inline_html(std::string_view s) {
  std::string out;
  std::size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (c == '`') {
      const std::size_t end = s.find('`', i + 1);
      if (end != std::string_view::npos) {
        out += "<span class=\"code\">" + html_escape(s.substr(i + 1, end - i - 1)) + "</span>";
        i = end + 1;
        continue;
      }
    } else if (c == '*' && i + 1 < s.size() && s[i + 1] == '*') {
      const std::size_t end = s.find("**", i + 2);
      if (end != std::string_view::npos && end > i + 2) {
        out += "<b>" + inline_html(s.substr(i + 2, end - i - 2)) + "</b>";
        i = end + 2;
        continue;
      }
    } else if (c == '*' && i + 1 < s.size() && s[i + 1] != ' ') {
      const std::size_t end = s.find('*', i + 1);
      if (end != std::string_view::npos && s[end - 1] != ' ') {
        out += "<i>" + inline_html(s.substr(i + 1, end - i - 1)) + "</i>";
        i = end + 1;
        continue;
      }
    }
    out += html_escape(s.substr(i, 1));
    ++i;
  }
  return out;
}

std::vector<std::string> table_cells(std::string_view row) {
  row = trim(row);
  if (!row.empty() && row.front() == '|') row.remove_prefix(1);
  if (!row.empty() && row.back() == '|') row.remove_suffix(1);
  std::vector<std::string> cells;
  std::size_t start = 0;
  bool code = false;
  for (std::size_t i = 0; i <= row.size(); ++i) {
    if (i < row.size() && row[i] == '`') code = !code;
    if (i == row.size() || (row[i] == '|' && !code)) {
      cells.emplace_back(trim(row.substr(start, i - start)));
      start = i + 1;
    }
  }
  return cells;
}

bool is_rule_row(std::string_view row) {
  row = trim(row);
  return !row.empty() && row.find_first_not_of("|-: ") == std::string_view::npos;
}

std::string code_block(std::string_view text) { return "<pre class=\"example\">" + html_escape(text) + "</pre>\n"; }

std::string result_html(const std::string& result, const std::map<std::string, std::string>& labels) {
  std::string out;
  std::size_t start = 0;
  while (start <= result.size()) {
    std::size_t bar = result.find('|', start);
    if (bar == std::string::npos) bar = result.size();
    const std::string part(trim(std::string_view(result).substr(start, bar - start)));
    if (!out.empty()) out += " | ";
    if (!part.empty() && part[0] == '@') {
      auto it = labels.find("type-of");
      std::string label = it == labels.end() ? "%1" : it->second;
      const std::size_t at = label.find("%1");
      const std::string arg = "<i>" + html_escape(part.substr(1)) + "</i>";
      out += at == std::string::npos ? html_escape(label) + " " + arg
                                     : html_escape(label.substr(0, at)) + arg + html_escape(label.substr(at + 2));
    } else {
      out += html_escape(part);
    }
    start = bar + 1;
  }
  return out;
}

}  // namespace

document render(std::string_view source, const reference& ref, const dialect& d) {
  document doc;
  const std::vector<std::string_view> lines = split_lines(source);
  std::string& html = doc.body_html;

  // Pass one: labels, which entries may use before they are defined.
  for (std::string_view line : lines)
    if (starts_with(line, "@label ")) {
      auto [key, text] = first_word(line.substr(7));
      if (doc.labels.count(key)) doc.problems.push_back("label " + key + " twice");
      doc.labels[key] = text;
    }
  auto label = [&](const char* key) {
    auto it = doc.labels.find(key);
    return it == doc.labels.end() ? std::string(key) : it->second;
  };

  std::string para;                 // paragraph text gathered so far
  std::string list_kind;            // "ul", "ol" or empty
  std::vector<std::string> items;   // items of the open list
  std::vector<std::vector<std::string>> rows;  // rows of the open table
  struct entry_state {
    std::string kind, name, heading, text;
    int line = 0;
  };
  std::optional<entry_state> entry;
  int heading_count = 0;

  auto flush_para = [&] {
    if (!para.empty()) html += "<p>" + inline_html(para) + "</p>\n";
    para.clear();
  };
  auto flush_list = [&] {
    if (items.empty()) return;
    html += "<" + list_kind + ">\n";
    for (const std::string& it : items) html += "<li>" + inline_html(it) + "</li>\n";
    html += "</" + list_kind + ">\n";
    items.clear();
    list_kind.clear();
  };
  auto flush_table = [&] {
    if (rows.empty()) return;
    html += "<table class=\"grid\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\">\n";
    for (std::size_t r = 0; r < rows.size(); ++r) {
      html += "<tr>";
      for (const std::string& c : rows[r]) html += (r == 0 ? "<th>" : "<td>") + inline_html(c) + (r == 0 ? "</th>" : "</td>");
      html += "</tr>\n";
    }
    html += "</table>\n";
    rows.clear();
  };
  auto examples_html = [&](const std::vector<std::string>& examples) {
    if (examples.empty()) return;
    html += "<p class=\"caption\">" + html_escape(label("example")) + "</p>\n";
    for (const std::string& e : examples) html += code_block(e);
  };
  auto flush_entry = [&] {
    if (!entry) return;
    const entry_state e = *entry;
    entry.reset();
    doc.entries.push_back({e.kind, e.name, !trim(e.text).empty(), e.line});
    if (e.kind == "function") {
      const function_ref* f = ref.function(e.name);
      html += "<p class=\"sig\"><a name=\"fn-" + html_escape(e.name) + "\"></a><b>" + html_escape(e.name) + "</b>";
      if (f) html += "(" + html_escape(f->args) + ") &#8594; " + result_html(f->result, doc.labels);
      html += "</p>\n";
      html += "<p class=\"desc\">" + inline_html(e.text) + "</p>\n";
      if (f) examples_html(f->examples);
      return;
    }
    html += "<h4><a name=\"rule-" + html_escape(e.name) + "\"></a>" +
            html_escape(e.heading.empty() ? e.name : e.heading) + "</h4>\n";
    html += "<p class=\"syntax\">" + d.syntax_html(e.name, "g-") + "</p>\n";
    html += "<p class=\"desc\">" + inline_html(e.text) + "</p>\n";
    auto it = ref.rules.find(e.name);
    if (it != ref.rules.end()) examples_html(it->second);
  };
  auto flush_all = [&] {
    flush_para();
    flush_list();
    flush_table();
    flush_entry();
  };

  int n = 0;
  for (std::string_view line : lines) {
    ++n;
    const std::string where = "line " + std::to_string(n) + ": ";
    if (trim(line).empty()) {
      // An entry's description may stand one blank line below its directive.
      if (entry && entry->text.empty()) continue;
      flush_all();
      continue;
    }
    if (entry && line[0] != '@' && line[0] != '#' && line[0] != '|' && !starts_with(line, "- ")) {
      if (!entry->text.empty()) entry->text += ' ';
      entry->text += trim(line);
      continue;
    }
    if (starts_with(line, "    ") || starts_with(line, "\t") || starts_with(trim(line), "```")) {
      // Continuation of a list item, or else a code block the source may not hold.
      if (!items.empty() && !starts_with(trim(line), "```")) {
        items.back() += ' ';
        items.back() += trim(line);
        continue;
      }
      doc.problems.push_back(where + "a code block in the source (examples come from the reference)");
      flush_all();
      continue;
    }
    if (starts_with(line, "  ") && !items.empty()) {
      items.back() += ' ';
      items.back() += trim(line);
      continue;
    }
    if (line[0] == '#') {
      flush_all();
      int level = 0;
      while (std::size_t(level) < line.size() && line[level] == '#') ++level;
      const std::string text(trim(line.substr(level)));
      if (level == 1) {
        if (!doc.title.empty()) doc.problems.push_back(where + "a second title");
        doc.title = text;
      } else if (level <= 4) {
        const std::string anchor = "s" + std::to_string(++heading_count);
        if (level <= 3) doc.headings.push_back({level, text, anchor});
        html += "<h" + std::to_string(level) + "><a name=\"" + anchor + "\"></a>" + inline_html(text) + "</h" +
                std::to_string(level) + ">\n";
      } else {
        doc.problems.push_back(where + "a heading deeper than ####");
      }
      continue;
    }
    if (line[0] == '@') {
      flush_all();
      auto [directive, rest] = first_word(line.substr(1));
      if (directive == "label") continue;
      if (directive == "statement" || directive == "clause" || directive == "function") {
        auto [name, heading] = first_word(rest);
        entry = entry_state{directive, name, heading, {}, n};
        if (name.empty()) doc.problems.push_back(where + "@" + directive + " without a name");
      } else if (directive == "example") {
        auto it = ref.named.find(rest);
        doc.examples_used.push_back(rest);
        if (it == ref.named.end())
          doc.problems.push_back(where + "no example " + rest + " in the reference");
        else
          html += code_block(it->second);
      } else if (directive == "grammar") {
        html += "<table class=\"grammar\" cellspacing=\"0\" cellpadding=\"2\">\n";
        for (const std::string& r : d.rule_names()) {
          if (d.is_native(r)) continue;
          html += "<tr><td class=\"lhs\"><a name=\"g-" + html_escape(r) + "\"></a><i>" + html_escape(r) +
                  "</i></td><td class=\"rhs\">" + d.syntax_html(r, "g-") + "</td></tr>\n";
        }
        html += "</table>\n";
      } else {
        doc.problems.push_back(where + "unknown directive @" + directive);
      }
      continue;
    }
    if (line[0] == '|') {
      flush_para();
      flush_list();
      if (is_rule_row(line)) continue;
      rows.push_back(table_cells(line));
      continue;
    }
    if (starts_with(line, "- ")) {
      flush_para();
      flush_table();
      if (list_kind != "ul") flush_list();
      list_kind = "ul";
      items.emplace_back(trim(line.substr(2)));
      continue;
    }
    {
      std::size_t digits = 0;
      while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
      if (digits && starts_with(line.substr(digits), ". ")) {
        flush_para();
        flush_table();
        if (list_kind != "ol") flush_list();
        list_kind = "ol";
        items.emplace_back(trim(line.substr(digits + 2)));
        continue;
      }
    }
    flush_list();
    flush_table();
    if (!para.empty()) para += ' ';
    para += trim(line);
  }
  flush_all();
  if (doc.title.empty()) doc.problems.push_back("no title (a first line \"# ...\")");
  return doc;
}

// ---------------------------------------------------------------------------------------
// Checks

std::vector<std::string> reference_problems(const reference& ref, const dialect& d) {
  std::vector<std::string> out = ref.errors;
  if (!d.ok()) {
    out.push_back("the grammar does not compile");
    return out;
  }
  for (const std::string& f : d.functions()) {
    const function_ref* r = ref.function(f);
    if (!r)
      out.push_back("function " + f + " has no call form and example in the reference");
    else if (r->examples.empty())
      out.push_back("function " + f + " has no example in the reference");
  }
  for (const function_ref& r : ref.functions)
    if (std::find(d.functions().begin(), d.functions().end(), r.name) == d.functions().end())
      out.push_back("the reference has function " + r.name + ", which the library does not register");
  auto documented = [&](const std::string& r) {
    return std::find(d.statements().begin(), d.statements().end(), r) != d.statements().end() ||
           std::find(d.clauses().begin(), d.clauses().end(), r) != d.clauses().end();
  };
  for (const std::vector<std::string>* list : {&d.statements(), &d.clauses()})
    for (const std::string& r : *list) {
      auto it = ref.rules.find(r);
      if (it == ref.rules.end() || it->second.empty()) out.push_back("rule " + r + " has no example in the reference");
    }
  for (const auto& [name, examples] : ref.rules)
    if (!documented(name)) out.push_back("the reference has rule " + name + ", which is no statement or clause");
  for (const example_ref& e : ref.all) {
    const dialect::parse_outcome p = d.parse(e.text);
    const std::string where = "line " + std::to_string(e.line) + " (" + e.owner + "): ";
    if (!p.complete) {
      out.push_back(where + "the example does not parse whole (stops at offset " + std::to_string(p.end) + "): " +
                    e.text);
      continue;
    }
    if (starts_with(e.owner, "function ")) {
      const std::string f = e.owner.substr(9);
      if (std::find(p.functions.begin(), p.functions.end(), f) == p.functions.end())
        out.push_back(where + "the example does not call " + f + ": " + e.text);
    } else if (starts_with(e.owner, "rule ")) {
      const std::string r = e.owner.substr(5);
      if (std::find(p.rules.begin(), p.rules.end(), r) == p.rules.end())
        out.push_back(where + "the example holds no " + r + ": " + e.text);
    }
  }
  return out;
}

std::vector<std::string> source_problems(const document& doc, const reference& ref, const dialect& d) {
  std::vector<std::string> out = doc.problems;
  for (const std::string& key : label_keys)
    if (!doc.labels.count(key)) out.push_back("no @label " + key);
  struct kind {
    const char* name;
    const std::vector<std::string>* wanted;
  };
  for (const kind k : {kind{"statement", &d.statements()}, kind{"clause", &d.clauses()},
                       kind{"function", &d.functions()}}) {
    std::map<std::string, int> count;
    for (const document::entry& e : doc.entries) {
      if (e.kind != k.name) continue;
      ++count[e.name];
      if (!e.described)
        out.push_back("line " + std::to_string(e.line) + ": " + k.name + " " + e.name + " has no description");
    }
    for (const std::string& w : *k.wanted) {
      auto it = count.find(w);
      if (it == count.end())
        out.push_back(std::string(k.name) + " " + w + " has no entry in the manual");
      else if (it->second > 1)
        out.push_back(std::string(k.name) + " " + w + " has " + std::to_string(it->second) + " entries");
    }
    for (const auto& [name, c] : count)
      if (std::find(k.wanted->begin(), k.wanted->end(), name) == k.wanted->end())
        out.push_back(std::string("@") + k.name + " " + name + ": the program has no such " + k.name);
  }
  for (const auto& [name, text] : ref.named)
    if (std::find(doc.examples_used.begin(), doc.examples_used.end(), name) == doc.examples_used.end())
      out.push_back("the example " + name + " of the reference is not shown");
  return out;
}

}  // namespace ruv::manual
