#include "query/sql_parse.h"

#include <cstring>
#include <string_view>

#include "adt/text.h"
#include "grammar/ebnf_kind.h"
#include "grammar/grammar_node.h"
#include "grammar/matcher.h"
#include "sqllib/sql_library.h"
#include "grammar/sql_rules.h"
#include "query/sql_build.h"

using kk::u64;
using kk::adt::text_view;
using kk::adt::string::string;
using kk::grammar::parse_node;

u64 sql_parse_statement(const kk::sql_library* lib, const char* text, const u64* len, parse_node** tree) {
  *tree = nullptr;
  if (!lib || !lib->root || !text) return 0;
  kk::grammar::parse_farthest = nullptr;
  u64 left = *len;
  parse_node* t = kk::grammar::grammar_match(lib->root, text, &left, lib->rules);
  *tree = t;
  if (t) return u64(kk::grammar::node_end(t) - text);
  const char* far = kk::grammar::parse_farthest;
  return far && far >= text ? u64(far - text) : 0;
}

u64 sql_split_script(const kk::sql_library* lib, const char* text, const u64* len,
                     kk::adt::vector<parse_node*>* out) {
  if (*len == 0 || !lib || !lib->root || !text) return 0;
  u64 consumed = 0;
  while (consumed != *len) {
    kk::grammar::parse_farthest = nullptr;
    u64 left = *len - consumed;
    parse_node* t = kk::grammar::grammar_match(lib->root, text + consumed, &left, lib->rules);
    if (!t) break;
    const u64 used = u64(kk::grammar::node_end(t) - (text + consumed));
    out->push_back(t);
    // Every statement starts with a keyword; an empty match would never advance.
    if (used == 0) break;
    consumed += used;
  }
  return consumed;
}

parse_node* first_table_name_node(const parse_node* tree) {
  if (!tree) return nullptr;
  for (u64 i = 0; i < kk::grammar::child_count(tree); ++i) {
    parse_node* c = kk::grammar::child_at(tree, i);
    if (c->id == kk::grammar::sql::id_table_name) return c;
    if (parse_node* below = first_table_name_node(c)) return below;
  }
  return nullptr;
}

namespace {

// The end of one match of a rule of the SQL grammar at p (at most end - p bytes), or null.
const char* rule_match_end(const kk::sql_library* lib, kk::u16 rule, const char* p, const char* end) {
  const kk::grammar::grammar_node* node = lib->rules->slots[kk::grammar::rule_ref_base + rule].rule;
  if (!node) return nullptr;
  kk::grammar::parse_farthest = nullptr;
  u64 left = u64(end - p);
  parse_node* t = kk::grammar::grammar_match(node, p, &left, lib->rules);
  const char* e = t ? kk::grammar::node_end(t) : nullptr;
  kk::grammar::grammar_free_tree(t);
  return e;
}

}  // namespace

bool sql_ends_in_line_comment(text_view text) {
  namespace sql = kk::grammar::sql;
  const kk::sql_library* lib = kk::sql_library_instance();
  if (!lib || !lib->rules || !text.data) return false;
  const char* p = text.data;
  const char* const end = p + text.size;
  // Walks the text token by token where a token could hold "#" or "//" without starting
  // a comment (a string, a character, a bracketed name), byte by byte elsewhere.
  while (p < end) {
    const char c = *p;
    const char next = p + 1 < end ? p[1] : '\0';
    kk::u16 rule = sql::rule_count;
    if (c == '#' || (c == '/' && (next == '/' || next == '*')))
      rule = sql::rule_comment;
    else if (c == '"' || c == '@')
      rule = sql::rule_string;
    else if (c == '\'')
      rule = sql::rule_character;
    else if (c == '[')
      rule = sql::rule_field_or_table_string;
    const char* e = rule == sql::rule_count ? nullptr : rule_match_end(lib, rule, p, end);
    if (!e || e == p) {
      ++p;
      continue;
    }
    // A line comment runs to its line break, or to the end of the text.
    const bool line_comment = rule == sql::rule_comment && (c == '#' || next == '/');
    if (line_comment && e == end && end[-1] != '\n') return true;
    p = e;
  }
  return false;
}

void sql_close_line_comment(string& text) {
  if (sql_ends_in_line_comment(text.view())) query_detail::append(text, "\n");
}

namespace {

bool is_identifier_char(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

// True when every byte belongs to a well-formed character that the grammar's bracket and
// string bodies take (code points up to U+3134F). An overlong form (C0 8A for a line break)
// or a surrogate is no character: the grammar does not read it, so such bytes are escaped.
bool readable_characters(text_view t) {
  const char* p = t.data;
  const char* end = t.data + t.size;
  while (p < end) {
    kk::u32 cp = 0;
    const kk::i8 n = kk::adt::utf8_decode(p, end, cp);
    if (n < 0 || cp > 0x3134F) return false;
    const bool overlong = (n == 2 && cp < 0x80) || (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000);
    if (overlong || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    p += n;
  }
  return true;
}

bool holds_any(text_view t, const char* set) {
  for (u64 i = 0; i < t.size; ++i)
    if (std::strchr(set, t.data[i]) && t.data[i] != 0) return true;
  return false;
}

// open + \xNN of every byte + close, in one buffer of its final size.
string escaped(text_view t, char open, char close) {
  string out;
  out.resize(t.size * 4 + 2);
  out.data[0] = open;
  char* w = out.data + 1;
  for (u64 i = 0; i < t.size; ++i) {
    const auto& hex = kk::adt::hex_byte_text[static_cast<unsigned char>(t.data[i])];
    *w++ = '\\';
    *w++ = 'x';
    *w++ = hex[0];
    *w++ = hex[1];
  }
  *w = close;
  return out;
}

string wrapped(text_view t, char open, char close) {
  string out;
  out.resize(t.size + 2);
  out.data[0] = open;
  if (t.size) std::memcpy(out.data + 1, t.data, t.size);
  out.data[t.size + 1] = close;
  return out;
}

}  // namespace

string quote_name(text_view name) {
  if (name.size == 0) return string();
  if (holds_any(name, "\n[]\\") || !readable_characters(name)) return escaped(name, '[', ']');
  for (u64 i = 0; i < name.size; ++i)
    if (!is_identifier_char(static_cast<unsigned char>(name.data[i]))) return wrapped(name, '[', ']');
  if (name.data[0] >= '0' && name.data[0] <= '9') return wrapped(name, '[', ']');
  // Where an expression may stand (a select list, a group or line condition), the grammar
  // reads a bare word that begins with true or false as the boolean constant.
  auto begins = [&](std::string_view w) { return name.size >= w.size() && std::memcmp(name.data, w.data(), w.size()) == 0; };
  if (begins("true") || begins("false")) return wrapped(name, '[', ']');
  return kk::adt::string_from_bytes(name.data, name.size);
}

void quote_name(string& out, const string& name) { out = quote_name(name.view()); }

string quote_text(text_view text) {
  if (holds_any(text, "\n\"\\") || !readable_characters(text)) return escaped(text, '"', '"');
  return wrapped(text, '"', '"');
}

void quote_text(string& out, const string& text) { out = quote_text(text.view()); }
