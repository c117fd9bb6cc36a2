// The statements the program builds from cells, names and the user's clause texts: the data
// view's filter and post-processing clauses and the query that carries them, and the
// write-back of the table model (immediate updates, the atomic batch of updates, inserts and
// deletes). A scripted server sends a result of one to four columns of any type and any name
// (raw bit patterns for numbers, calendar fields at their boundaries, any bytes for texts)
// into a tab_data_model, whose cells are then turned into clauses and edited. Besides memory
// safety:
// - a value's literal (the filter's comparison and the write-back's) reads back, by the
//   grammar's constant rule and the value library's calendar texts, as exactly the cell's
//   value; a value that has none (NaN, an infinity) is refused, never written;
// - the view's statement parses whole with the program's grammar whenever the user's filter
//   and post texts are well-formed on their own (each in a plain select); its table and
//   field names read back as the names; with the limit on, the limit binds the whole
//   filter (the where condition has one "&&" chain at its top); a clause is joined to a
//   user's text only when that text leaves nothing open (a string, character, bracketed
//   name, block comment or parenthesis), and then, when the post text is well-formed on its
//   own, stands as a condition or step of its own;
// - every write-back statement sent parses whole; its names and values read back as the
//   table, the fields and the edited values, its row ids as the rows'; a write-back that
//   sends nothing has nothing pending or says why.
//
// Input: a header (columns, display mode, builder kinds and merge modes, limit, write-back
// choices), the two row ids, then segments (u16 length, bytes): table name, filter text,
// post text, then per column its type byte, name segment and two value segments (the row
// to look at, the edit).
#include <QApplication>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "client/connection.h"
#include "dataview/clauses.h"
#include "dataview/view_query.h"
#include "fuzz/fake_socket.h"
#include "sqllib/library_startup.h"
#include "grammar/matcher.h"
#include "sqllib/sql_library.h"
#include "grammar/sql_rules.h"
#include "query/calendar_value.h"
#include "query/db_ctx.h"
#include "query/sql_parse.h"
#include "query/tab_data_model.h"
#include "tests/peer/peer_wire.h"
#include "value/calendar.h"

namespace {

using kk::adt::string::string;
using kk::grammar::parse_node;
namespace sql = kk::grammar::sql;

void fail(const char* what, std::string_view detail = {}) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  // The statement, its control and other bytes as \xNN.
  std::string shown;
  for (unsigned char c : detail.substr(0, 4000)) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02x", c);
    if (c >= 0x20 && c < 0x7f) shown += char(c);
    else shown += hex;
  }
  if (!detail.empty()) std::fprintf(stderr, "  %s\n", shown.c_str());
  std::abort();
}

std::string std_of(const string& s) { return std::string(s.data ? s.data : "", s.size); }
string str(std::string_view s) { return kk::adt::string_from_std(s); }

// ---- input

struct input {
  const uint8_t* p;
  size_t n;
  uint8_t byte() {
    if (!n) return 0;
    --n;
    return *p++;
  }
  uint64_t word(int bytes) {
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= uint64_t(byte()) << (8 * i);
    return v;
  }
  std::string seg() {
    size_t len = n >= 2 ? size_t(p[0]) | size_t(p[1]) << 8 : 0;
    const size_t head = std::min<size_t>(n, 2);
    p += head;
    n -= head;
    len = std::min(len, n);
    std::string s(reinterpret_cast<const char*>(p), len);
    p += len;
    n -= len;
    return s;
  }
};

// ---- the grammar

const kk::grammar::grammar_node* rule(kk::u16 r) {
  return kk::sql_library_instance()->rules->slots[kk::grammar::rule_ref_base + r].rule;
}

// The end of a match of rule r at p, or null.
const char* match_end(kk::u16 r, const char* p, const char* end) {
  kk::grammar::parse_farthest = nullptr;
  kk::u64 left = kk::u64(end - p);
  parse_node* t = kk::grammar::grammar_match(rule(r), p, &left, kk::sql_library_instance()->rules);
  const char* e = t ? kk::grammar::node_end(t) : nullptr;
  kk::grammar::grammar_free_tree(t);
  return e;
}

// The statement's tree when the grammar takes it whole, else null.
parse_node* parse_whole(const std::string& text) {
  parse_node* tree = nullptr;
  const kk::u64 len = text.size();
  const kk::u64 used = sql_parse_statement(kk::sql_library_instance(), text.data(), &len, &tree);
  if (tree && used == len) return tree;
  kk::grammar::grammar_free_tree(tree);
  return nullptr;
}
bool parses_whole(const std::string& text) {
  parse_node* t = parse_whole(text);
  kk::grammar::grammar_free_tree(t);
  return t != nullptr;
}

std::vector<const parse_node*> nodes(const parse_node* tree, kk::u16 id) {
  std::vector<const parse_node*> out;
  kk::grammar::collect_nodes_if(tree, [&](kk::u16 i) { return i == id; }, out);
  return out;
}
std::string_view text_of(const parse_node* n) { return {n->start, n->length}; }

// Every node with the id, nested ones too.
std::vector<const parse_node*> nodes_all(const parse_node* tree, kk::u16 id) {
  std::vector<const parse_node*> out, stack{tree};
  while (!stack.empty()) {
    const parse_node* n = stack.back();
    stack.pop_back();
    if (!n) continue;
    if (n->id == id) out.push_back(n);
    for (kk::u64 i = 0; i < kk::grammar::child_count(n); ++i) stack.push_back(kk::grammar::child_at(n, i));
  }
  return out;
}

// ---- reading literals and names back, as the grammar defines them

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void put_utf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | cp >> 6);
    out += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += char(0xE0 | cp >> 12);
    out += char(0x80 | (cp >> 6 & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xF0 | cp >> 18);
    out += char(0x80 | (cp >> 12 & 0x3F));
    out += char(0x80 | (cp >> 6 & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

// The body of a quoted string or bracketed name: plain bytes and the escapes of esc_char.
bool unescape(std::string_view t, std::string& out) {
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] != '\\') {
      out += t[i];
      continue;
    }
    if (++i >= t.size()) return false;
    const char c = t[i];
    switch (c) {
      case '"': case '\'': case '\\': out += c; break;
      case 'a': out += '\a'; break;
      case 'b': out += '\b'; break;
      case 'f': out += '\f'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 'v': out += '\v'; break;
      case 'x': {
        if (t.size() - i < 3 || hex_value(t[i + 1]) < 0 || hex_value(t[i + 2]) < 0) return false;
        out += char(hex_value(t[i + 1]) * 16 + hex_value(t[i + 2]));
        i += 2;
        break;
      }
      case 'u': case 'U': {
        const size_t k = c == 'u' ? 4 : 8;
        if (t.size() - i <= k) return false;
        uint32_t cp = 0;
        for (size_t j = 1; j <= k; ++j) {
          if (hex_value(t[i + j]) < 0) return false;
          cp = cp * 16 + uint32_t(hex_value(t[i + j]));
        }
        put_utf8(out, cp);
        i += k;
        break;
      }
      default: return false;
    }
  }
  return true;
}

// A string constant's bytes: its quoted and raw pieces, joined.
bool read_string(std::string_view t, std::string& out) {
  size_t i = 0;
  while (i < t.size()) {
    if (t[i] == ' ' || (t[i] >= 0x09 && t[i] <= 0x0c)) {
      ++i;
    } else if (t[i] == '"') {
      size_t j = i + 1;
      while (j < t.size() && t[j] != '"') j += t[j] == '\\' ? 2 : 1;
      if (j >= t.size() || !unescape(t.substr(i + 1, j - i - 1), out)) return false;
      i = j + 1;
    } else if (t[i] == '@') {
      // @"D(...)D"
      const size_t open = t.find('(', i);
      if (open == std::string_view::npos || i + 1 >= t.size() || t[i + 1] != '"') return false;
      const std::string close = ")" + std::string(t.substr(i + 2, open - i - 2)) + "\"";
      const size_t end = t.find(close, open + 1);
      if (end == std::string_view::npos) return false;
      out.append(t.substr(open + 1, end - open - 1));
      i = end + close.size();
    } else {
      return false;
    }
  }
  return true;
}

// A table or field name as the grammar reads it: bare, or bracketed with escapes.
bool read_name(std::string_view t, std::string& out) {
  if (t.empty() || t.front() != '[') {
    out.assign(t);
    return true;
  }
  return t.size() >= 2 && t.back() == ']' && unescape(t.substr(1, t.size() - 2), out);
}

// ---- the values of the cells

enum class kind { s_int, u_int, f32, f64, text, date, time, datetime };

struct column_type {
  const char* name;
  kind k;
  peer::desc d;
  int bytes;  // integer width
};
constexpr column_type types[] = {
    {"i08", kind::s_int, peer::d_i08, 1}, {"u08", kind::u_int, peer::d_u08, 1},
    {"i16", kind::s_int, peer::d_i16, 2}, {"u16", kind::u_int, peer::d_u16, 2},
    {"i32", kind::s_int, peer::d_i32, 4}, {"u32", kind::u_int, peer::d_u32, 4},
    {"i64", kind::s_int, peer::d_i64, 8}, {"u64", kind::u_int, peer::d_u64, 8},
    {"float", kind::f32, peer::d_float, 4}, {"double", kind::f64, peer::d_double, 8},
    {"string", kind::text, peer::d_string, 0}, {"date", kind::date, peer::d_date, 0},
    {"time", kind::time, peer::d_time, 0}, {"datetime", kind::datetime, peer::d_datetime, 0},
};

// One cell's value as the server sends it, kept to compare what reads back.
struct value {
  const column_type* t = nullptr;
  int64_t s = 0;
  uint64_t u = 0;
  uint64_t bits = 0;
  std::string bytes;  // a text as the grid holds it (Qt's reading of the UTF-8)
  kk::datetime_fields f{};
  bool valid_calendar = true;  // the value library reads its own text of the fields back
  peer::cell wire;
};

// Calendar fields at their boundaries, or raw.
template <class T, size_t N>
T pick(input& in, const T (&edges)[N], int raw_bytes) {
  const uint8_t sel = in.byte();
  if (sel < 0xC0) return edges[sel % N];
  return T(in.word(raw_bytes));
}

value read_value(input& in, const column_type& t) {
  value v;
  v.t = &t;
  const std::string raw = in.seg();
  input r{reinterpret_cast<const uint8_t*>(raw.data()), raw.size()};
  switch (t.k) {
    case kind::s_int: {
      const uint64_t w = r.word(t.bytes);
      const int shift = 64 - 8 * t.bytes;
      v.s = int64_t(w << shift) >> shift;
      v.wire = t.bytes == 1 ? peer::i08(int8_t(v.s)) : t.bytes == 2 ? peer::i16(int16_t(v.s))
             : t.bytes == 4 ? peer::i32(int32_t(v.s)) : peer::i64(v.s);
      break;
    }
    case kind::u_int: {
      v.u = r.word(t.bytes);
      v.wire = t.bytes == 1 ? peer::u08(uint8_t(v.u)) : t.bytes == 2 ? peer::u16(uint16_t(v.u))
             : t.bytes == 4 ? peer::u32(uint32_t(v.u)) : peer::u64(v.u);
      break;
    }
    case kind::f32:
      v.bits = r.word(4);
      v.wire = peer::f32(std::bit_cast<float>(uint32_t(v.bits)));
      break;
    case kind::f64:
      v.bits = r.word(8);
      v.wire = peer::f64(std::bit_cast<double>(v.bits));
      break;
    case kind::text: {
      v.wire = peer::text(raw);
      v.bytes = QString::fromUtf8(raw.data(), int(raw.size())).toUtf8().toStdString();
      break;
    }
    case kind::date:
    case kind::time:
    case kind::datetime: {
      static const uint16_t years[] = {0, 1, 4, 100, 399, 400, 1582, 1899, 1900, 1970, 1999, 2000, 2024, 2038, 9999, 10000, 65535};
      static const uint8_t months[] = {1, 2, 3, 6, 9, 11, 12, 0, 13};
      static const uint8_t days[] = {1, 28, 29, 30, 31, 0, 32};
      static const uint8_t hours[] = {0, 1, 11, 12, 23, 24};
      static const uint8_t sixty[] = {0, 1, 30, 59, 60};
      static const uint32_t nanos[] = {0, 1, 999, 1000, 999999, 1000000, 1000001, 123456789, 500000000, 999000000, 999999999, 1000000000};
      if (t.k != kind::time) {
        v.f.year = pick(r, years, 2);
        v.f.month = pick(r, months, 1);
        v.f.day = pick(r, days, 1);
      }
      if (t.k != kind::date) {
        v.f.hour = pick(r, hours, 1);
        v.f.minute = pick(r, sixty, 1);
        v.f.second = pick(r, sixty, 1);
        v.f.nanosecond = pick(r, nanos, 4);
      }
      const auto& f = v.f;
      v.wire = t.k == kind::date ? peer::date(f.year, f.month, f.day)
             : t.k == kind::time ? peer::time(f.hour, f.minute, f.second, f.nanosecond)
                                 : peer::datetime(f.year, f.month, f.day, f.hour, f.minute, f.second, f.nanosecond);
      // Fields that the value library's own text does not give back are no value a
      // server holds; they are sent, but nothing is claimed of their literal.
      char buf[kk::calendar_text_max];
      kk::datetime_fields back{};
      if (t.k == kind::date) v.valid_calendar = kk::date_parse(back, buf, kk::date_to_chars(buf, f)) && back.year == f.year && back.month == f.month && back.day == f.day;
      else if (t.k == kind::time) v.valid_calendar = kk::time_parse(back, buf, kk::time_to_chars(buf, f)) && back.hour == f.hour && back.minute == f.minute && back.second == f.second && back.nanosecond == f.nanosecond;
      else v.valid_calendar = kk::datetime_parse(back, buf, kk::datetime_to_chars(buf, f)) && std::memcmp(&back, &f, sizeof f) == 0;
      break;
    }
  }
  return v;
}

bool finite(const value& v) {
  return v.t->k == kind::f32 ? std::isfinite(std::bit_cast<float>(uint32_t(v.bits)))
       : v.t->k == kind::f64 ? std::isfinite(std::bit_cast<double>(v.bits)) : true;
}

// Whether a literal is one constant that reads back as exactly the value.
bool reads_back(const std::string& literal, const value& v) {
  const char* b = literal.data();
  const char* e = b + literal.size();
  if (literal.empty() || match_end(sql::rule_constant, b, e) != e) return false;
  switch (v.t->k) {
    case kind::s_int:
    case kind::u_int: {
      if (match_end(sql::rule_integer, b, e) != e) return false;
      // ['+'|'-'], 0b.. | 0x.. | decimal, [u1|u2|u4|u8]
      std::string_view t(literal);
      const bool neg = t.front() == '-';
      if (t.front() == '-' || t.front() == '+') t.remove_prefix(1);
      if (t.size() >= 2 && t[t.size() - 2] == 'u') t.remove_suffix(2);
      int base = 10;
      if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'b')) {
        base = t[1] == 'x' ? 16 : 2;
        t.remove_prefix(2);
      }
      unsigned __int128 m = 0;
      for (char c : t) {
        const int d = hex_value(c);
        if (d < 0 || d >= base) return false;
        m = m * unsigned(base) + unsigned(d);
        if (m > (unsigned __int128)UINT64_MAX + 1) return false;
      }
      if (v.t->k == kind::u_int) return !neg && m == v.u;
      const __int128 x = neg ? -(__int128)m : (__int128)m;
      return x == v.s;
    }
    case kind::f32:
    case kind::f64: {
      if (match_end(sql::rule_float, b, e) != e) return false;
      std::string digits = literal;
      const char last = digits.back();
      if (last == 'f' || last == 'd') digits.pop_back();
      const double d = std::strtod(digits.c_str(), nullptr);
      if (v.t->k == kind::f64) return last != 'f' && std::bit_cast<uint64_t>(d) == v.bits;
      const float f = last == 'f' ? std::strtof(digits.c_str(), nullptr) : float(d);
      return std::bit_cast<uint32_t>(f) == uint32_t(v.bits);
    }
    case kind::text: {
      std::string s;
      return match_end(sql::rule_string, b, e) == e && read_string(literal, s) && s == v.bytes;
    }
    case kind::date:
    case kind::time:
    case kind::datetime: {
      std::string s;
      if (match_end(sql::rule_string, b, e) != e || !read_string(literal, s)) return false;
      kk::datetime_fields f{};
      const auto& w = v.f;
      switch (v.t->k) {
        case kind::date:
          return kk::date_parse(f, s.data(), s.size()) && s.size() == 10 && f.year == w.year && f.month == w.month && f.day == w.day;
        case kind::time:
          return kk::time_parse(f, s.data(), s.size()) && f.hour == w.hour && f.minute == w.minute && f.second == w.second &&
                 f.nanosecond == w.nanosecond;
        default:
          return kk::datetime_parse(f, s.data(), s.size()) && std::memcmp(&f, &w, sizeof f) == 0;
      }
    }
  }
  return false;
}

// ---- the scripted server and the model

void script(std::string reply) {
  if (!kk::client::has_socket()) {
    fake_socket::script({peer::reply_frame(peer::status_ok, {})}, 0);
    if (!kk::client::connect_to_server("127.0.0.1", 4000, "u", "p")) fail("the scripted login failed");
  }
  fake_socket::rescript({std::move(reply)}, 0);
}

std::vector<std::string> sent() {
  std::vector<std::string> out;
  for (const std::string& f : fake_socket::sent())
    if (f.size() >= 4 && f.compare(0, 4, "\xff\xff\xff\xff") != 0) out.push_back(f.substr(4));
  return out;
}

// A user's text is well-formed on its own: the filter as the where part, the post text
// after the table, each in a plain select that ends its last line.
bool filter_alone_ok(const std::string& filter) {
  return dataview::filter_is_empty(filter) || parses_whole("select a from t where " + filter + "\n;");
}
// Where the view writes a where part (a filter, or the limit alone), the post text must also
// stand after one: a post text that is itself a where part is the user's second condition
// part, which no select takes.
bool post_alone_ok(const std::string& post, bool after_where) {
  if (post.empty()) return true;
  return parses_whole("select a from t " + post + "\n;") &&
         (!after_where || parses_whole("select a from t where a == 1\n" + post + "\n;"));
}
bool writes_where(const dataview::view_query& q) { return q.limit_on || !dataview::filter_is_empty(q.filter); }

// The "&&" chains at the top of a where condition (outside parentheses).
size_t top_chains(const parse_node* where) {
  const auto ors = nodes(where, sql::id_where_or_expr);
  if (ors.empty()) return 0;
  size_t n = 0;
  for (kk::u64 i = 0; i < kk::grammar::child_count(ors.front()); ++i)
    n += nodes(kk::grammar::child_at(ors.front(), i), sql::id_where_and_expr).size();
  return n;
}

struct setup {
  int ncols = 1;
  int display = 0;
  bool immediate = false, insert = false, remove = false, limit_on = true;
  bool build_filter = true, build_post = true;
  dataview::filter_kind fkind{};
  dataview::filter_merge fmerge{};
  dataview::post_kind pkind{};
  dataview::post_merge pmerge{};
  int limit = 1000;
  int column = 0;  // the current cell's column
  uint64_t sid[2] = {0, 0};
  std::string table, filter, post;
  std::vector<std::string> names;
  std::vector<value> shown, edits;
};

void check_view_statement(const setup& s, tab_data_model& model) {
  const int c = s.column;
  const QModelIndex at = model.index(0, c);
  dataview::cell_input cell;
  cell.field = std_of(model.column_name(c));
  cell.cell_text = std_of(model.cell_text(at));
  cell.type_name = std_of(model.column_at(c));
  cell.value = model.cell_data(0, c, Qt::EditRole);

  const value& v = s.shown[size_t(c)];
  const dataview::literal lit = dataview::value_literal(cell.cell_text, cell.type_name, cell.value);
  if (!finite(v)) {
    if (lit.problem == dataview::literal_problem::none) fail("a comparison literal for a value without one", lit.text);
  } else if (lit.problem != dataview::literal_problem::none) {
    fail("a finite value refused a literal");
  } else if (v.valid_calendar && !reads_back(lit.text, v)) {
    fail("a comparison literal does not read back as the cell's value", lit.text + "  (cell text " + cell.cell_text + ")");
  }

  const dataview::clause cl = dataview::filter_clause(s.fkind, cell);
  if (s.build_filter && cl.problem != dataview::literal_problem::none) return;  // the view says why, builds nothing
  dataview::view_query q;
  for (int k = 0; k < model.columnCount(); ++k) q.fields.push_back(std_of(model.column_name(k)));
  q.table = std_of(model.table_name());
  // A view names its table and every field in its own query: it never shows a result
  // with a name missing.
  if (q.table.empty()) return;
  for (const std::string& f : q.fields)
    if (f.empty()) return;
  // A merge onto a text left open (a string, character, name, block comment or parenthesis
  // that something after it could close around the clause) is refused: the view says so
  // and keeps the text. It is refused only then.
  auto taken = [](const dataview::merged& m, const std::string& current) {
    if (m.open != dataview::open_part::none) {
      if (!m.text.empty() || dataview::open_at_end(current) != m.open) fail("a merge refused otherwise than for an open text", current);
      return false;
    }
    return true;
  };
  q.filter = s.filter;
  if (s.build_filter) {
    const dataview::merged m = dataview::merge_filter(s.fkind, s.filter, cl.text, s.fmerge);
    if (!taken(m, s.filter)) return;
    q.filter = m.text;
  }
  q.limit_on = s.limit_on;
  q.limit = s.limit;
  q.post = s.post;
  if (s.build_post) {
    const dataview::merged m = dataview::merge_post(s.post, dataview::post_clause(s.pkind, cell.field).text, s.pmerge);
    if (!taken(m, s.post)) return;
    q.post = m.text;
  }
  const std::string text = dataview::query_text(q);
  // Whether the post text is well-formed, parsed once for every claim below.
  const bool post_ok = post_alone_ok(s.post, writes_where(q));
  parse_node* tree = parse_whole(text);
  if (!tree) {
    if (filter_alone_ok(s.filter) && post_ok) fail("a view statement of well-formed inputs does not parse whole", text);
    return;
  }
  std::string name;
  const auto tables = nodes(tree, sql::id_table_name);
  if (tables.empty() || !read_name(text_of(tables.front()), name) || name != q.table) fail("the table name does not read back", text);
  // The select list comes first: one field per checked name.
  const auto fields = nodes(tree, sql::id_field_name);
  if (fields.size() < q.fields.size()) fail("a field of the select list is missing", text);
  for (size_t k = 0; k < q.fields.size(); ++k) {
    name.clear();
    if (!read_name(text_of(fields[k]), name) || name != q.fields[k]) fail("a field name does not read back", text);
  }
  // (A filter that is no condition of its own may be completed by the post text: then
  // nothing is claimed of where the limit stands.)
  if (q.limit_on && post_ok && filter_alone_ok(s.filter)) {
    const auto wheres = nodes(tree, sql::id_where);
    if (wheres.empty() || top_chains(wheres.front()) != 1) fail("the limit does not bind the whole filter", text);
  }
  // The clauses built stand in the statement as a condition and a post-processing step of
  // their own (not inside a comment, not cut by what follows).
  auto trimmed = [](std::string_view t) {
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    return t;
  };
  // (A node may end in the blanks and comments after its last word.)
  auto stands = [&](kk::u16 id, std::string_view clause) {
    for (const parse_node* n : nodes_all(tree, id)) {
      const std::string_view t = text_of(n);
      if (t.substr(0, clause.size()) != clause) continue;
      const char* rest = t.data() + clause.size();
      const char* end = t.data() + t.size();
      if (rest == end || match_end(sql::rule_igs, rest, end) == end) return true;
    }
    return false;
  };
  // A filter that is no condition of its own may take the post text's first word (a
  // comparison without its operand reads "last" as a field), and a post text that is no
  // step of its own may go on with the filter's last condition (a number after "x min",
  // "+ 1" after a comparison, "|| ...") or take the first word of the step built after it
  // ("project" before "first"): the user wrote that continuation, and nothing is claimed of
  // the other text then. Whatever the filter text, a clause joined to it stands when the
  // post text is well-formed (a merge onto a text left open is refused above).
  const bool filter_ok = filter_alone_ok(q.filter);
  // Nothing of the filter and the post text is lost on the way (inside a comment, say): the
  // statement holds every condition and step that each holds in a plain select of its own.
  if (filter_ok) {
    for (kk::u16 id : {sql::id_where_pri_expr, sql::id_dataset_post}) {
      size_t alone = 0;
      for (const std::string& ref : {"select a from t where " + q.filter + "\n;", "select a from t " + q.post + "\n;"}) {
        parse_node* r = parse_whole(ref);
        alone += nodes_all(r, id).size();
        kk::grammar::grammar_free_tree(r);
      }
      if (nodes_all(tree, id).size() < alone) fail("a condition or step of the filter or post text is lost", text);
    }
  }
  if (!post_ok) {
    kk::grammar::grammar_free_tree(tree);
    return;
  }
  if (s.build_filter && !stands(sql::id_where_pri_expr, trimmed(cl.text)))
    fail("the filter clause is not a condition of the statement", text);
  if (s.build_post && filter_ok) {
    const std::string pc = dataview::post_clause(s.pkind, cell.field).text;
    if (!stands(sql::id_dataset_post, pc)) fail("the post clause is not a step of the statement", text);
  }
  kk::grammar::grammar_free_tree(tree);
}

// The k-th assignment of an update reads back as the column's name and value.
void check_assignment(const parse_node* agn, const std::string& text, const std::string& col, const value& v) {
  const auto names = nodes(agn, sql::id_field_name);
  const auto exprs = nodes(agn, sql::id_expr);
  std::string name;
  if (names.empty() || !read_name(text_of(names.front()), name) || name != col) fail("an assigned field does not read back", text);
  if (exprs.empty()) fail("an assignment without a value", text);
  if (v.valid_calendar && !reads_back(std::string(text_of(exprs.front())), v)) fail("a written value does not read back", text);
}

void check_row_id(const std::string& text, uint64_t id) {
  const std::string tail = " where __id == " + std::to_string(id);
  if (text.find(tail) == std::string::npos) fail("a statement does not name its row", text);
}

int refusals = 0;

// Whether the write-back has a literal for the cell's value in its column.
bool has_literal(tab_data_model& model, int row, int c) {
  kk::adt::string::string lit;
  return sql_value_literal(model.cell_data(row, c, Qt::EditRole), model.column_at(c).view(), lit);
}

void check_write_back(const setup& s, tab_data_model& model) {
  const int ncols = model.columnCount();
  model.immediate = s.immediate;
  if (s.table.empty()) {
    // A result without a table (a script's) has nowhere to write to.
    script(peer::ok_reply({}));
    for (int c = 0; c < ncols; ++c) model.setData(model.index(0, c), model.cell_data(1, c, Qt::EditRole), Qt::EditRole);
    if (s.insert) model.insertRows(0, 1);
    if (s.remove) model.removeRows(model.rowCount() - 1, 1);
    model.apply_edits();
    if (!sent().empty()) fail("a result without a table wrote");
    return;
  }
  std::vector<int> modified;
  bool refused = false;  // a pending change the write-back cannot carry
  for (int c = 0; c < ncols; ++c) {
    const value& e = s.edits[size_t(c)];
    const QVariant edit = model.cell_data(1, c, Qt::EditRole);
    const QVariant before = model.cell_data(0, c, Qt::EditRole);
    const bool named = model.column_name(c).size > 0;
    const bool literal = has_literal(model, 1, c);
    if (literal != finite(e) && e.valid_calendar) fail("a write-back literal for a value without one, or none for a value");
    const int refusals_before = refusals;
    script(peer::ok_reply({}));
    const bool set = model.setData(model.index(0, c), edit, Qt::EditRole);
    const auto out = sent();
    if (!finite(e) || !named) {
      if (set || !out.empty()) fail("a value without literal, or a field without name, was taken");
      if (refusals == refusals_before) fail("a refused edit does not say why");
      continue;
    }
    const bool changed = !same_cell_value(edit, before);
    if (changed) modified.push_back(c);
    if (!s.immediate || !changed) {
      if (!set || !out.empty()) fail("an edit that waits for the batch was refused or sent");
      if (changed && !literal) refused = true;
      continue;
    }
    if (!literal) {
      if (set || !out.empty() || refusals == refusals_before) fail("an edit without literal was sent or refused silently");
      refused = true;  // it stays pending
      continue;
    }
    if (!set || out.size() != 1) {
      std::fprintf(stderr, "set %d, %zu statements\n", int(set), out.size());
      fail("an immediate edit was not written in one statement");
    }
    modified.pop_back();  // written: no longer pending
    parse_node* tree = parse_whole(out[0]);
    if (!tree) fail("an immediate update does not parse whole", out[0]);
    std::string name;
    const auto tables = nodes(tree, sql::id_table_name);
    if (tables.empty() || !read_name(text_of(tables.front()), name) || name != s.table) fail("the updated table does not read back", out[0]);
    const auto agns = nodes(tree, sql::id_agn_expr);
    if (agns.size() != 1) fail("an immediate update of other than one field", out[0]);
    check_assignment(agns[0], out[0], std_of(model.column_name(c)), e);
    check_row_id(out[0], s.sid[0]);
    kk::grammar::grammar_free_tree(tree);
  }
  if (s.insert) {
    model.insertRows(0, 1);
    for (int c = 0; c < ncols; ++c)
      if (model.column_name(c).size == 0) refused = true;
  }
  if (s.remove) model.removeRows(model.rowCount() - 1, 1);  // the edit row, from the server
  const int refusals_before = refusals;
  script(peer::ok_reply({}));
  const bool applied = model.apply_edits();
  const auto out = sent();
  const bool pending = !modified.empty() || s.insert || s.remove;
  if (!pending || refused) {
    if (!out.empty()) fail(pending ? "a batch with a change it cannot carry was sent" : "a batch sent with nothing pending", out[0]);
    if (applied == pending || (refused && refusals == refusals_before)) fail("a refused batch does not say why");
    return;
  }
  if (out.size() != 1 || !applied) fail("pending edits were not sent in one batch");
  const std::string& text = out[0];
  parse_node* tree = parse_whole(text);
  if (!tree) fail("a batch does not parse whole", text);
  std::string name;
  for (const parse_node* t : nodes(tree, sql::id_table_name)) {
    name.clear();
    if (!read_name(text_of(t), name) || name != s.table) fail("a batch's table does not read back", text);
  }
  // The loaded row's assignments, in column order.
  const auto agns = nodes(tree, sql::id_agn_expr);
  if (agns.size() != modified.size()) fail("a batch's assignments are not the edited fields", text);
  for (size_t k = 0; k < modified.size(); ++k)
    check_assignment(agns[k], text, std_of(model.column_name(modified[k])), s.edits[size_t(modified[k])]);
  if (!modified.empty()) check_row_id(text, s.sid[0]);
  if (s.remove) {
    if (text.find("delete from ") == std::string::npos) fail("a removed row is not deleted", text);
    check_row_id(text, s.sid[1]);
  }
  if (s.insert) {
    const auto inserts = nodes(tree, sql::id_insert);
    if (inserts.size() != 1) fail("an inserted row is not inserted once", text);
    const auto fields = nodes(inserts[0], sql::id_field_name);
    if (fields.size() != size_t(ncols)) fail("an insert names other than every field", text);
    for (int c = 0; c < ncols; ++c) {
      name.clear();
      if (!read_name(text_of(fields[size_t(c)]), name) || name != std_of(model.column_name(c)))
        fail("an inserted field does not read back", text);
    }
  }
  kk::grammar::grammar_free_tree(tree);
}

}  // namespace

// fontconfig, which Qt's fonts start, keeps its caches to the end of the process.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_options() {
  return "print_suppressions=0";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // The grid's type icons are resources this program does not carry: Qt's notes stay out.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  // Kept to the end of the process: Qt's platform objects are not all released at its exit.
  static QApplication* app = new QApplication(*argc, *argv);
  (void)app;
  kk::library_startup();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  input in{data, size};
  setup s;
  const uint8_t head = in.byte();
  s.ncols = 1 + (head & 3);
  s.display = (head >> 2) & 3;
  s.immediate = head & 0x10;
  s.insert = head & 0x20;
  s.remove = head & 0x40;
  s.limit_on = !(head & 0x80);
  // A kind byte of 0x80 and above: the user's text as typed, no clause built into it.
  const uint8_t fk = in.byte();
  s.build_filter = fk < 0x80;
  s.fkind = dataview::filter_kind(fk % dataview::filter_kind_count);
  s.fmerge = dataview::filter_merge(in.byte() % 4);
  const uint8_t pk = in.byte();
  s.build_post = pk < 0x80;
  s.pkind = dataview::post_kind(pk % dataview::post_kind_count);
  s.pmerge = dataview::post_merge(in.byte() % 3);
  s.limit = int(in.word(2));
  s.column = in.byte() % s.ncols;
  s.sid[0] = in.word(8);
  s.sid[1] = in.word(8);
  if (s.sid[1] == s.sid[0]) ++s.sid[1];
  if (s.sid[0] == tab_data_model::new_row_id || s.sid[1] == tab_data_model::new_row_id) return 0;
  s.table = in.seg();
  // The combo boxes hold Qt texts: what the user types is UTF-8 by the time it is merged.
  const std::string filter = in.seg(), post = in.seg();
  s.filter = QString::fromUtf8(filter.data(), int(filter.size())).toStdString();
  s.post = QString::fromUtf8(post.data(), int(post.size())).toStdString();
  peer::result r;
  peer::row rows[2] = {{s.sid[0], {}}, {s.sid[1], {}}};
  for (int c = 0; c < s.ncols; ++c) {
    const column_type& t = types[in.byte() % std::size(types)];
    std::string name = in.seg();
    r.cols.push_back({name, t.d});
    s.shown.push_back(read_value(in, t));
    s.edits.push_back(read_value(in, t));
    rows[0].cells.push_back(s.shown.back().wire);
    rows[1].cells.push_back(s.edits.back().wire);
  }
  r.rows = {rows[0], rows[1]};

  db_ctx ctx(str("db"), nullptr);
  tab_data_model model(str(s.table), &ctx);
  QObject::connect(&model, &tab_data_model::refused, [](const QString&) { ++refusals; });
  script(peer::ok_reply(r));
  bool editable = false;
  if (!model.load(str("select * from t;"), true, &editable, nullptr)) fail("a result did not load");
  if (model.columnCount() != s.ncols || model.rowCount() != 2 || !editable) fail("the result loaded otherwise");
  switch (s.display) {
    case 0: model.set_display_bin(); break;
    case 1: model.set_display_hex(); break;
    case 2: model.set_display_dec(); break;
    default: model.set_display_normal(); break;
  }
  // The field's name: as the server reported it, without square brackets around it.
  for (int c = 0; c < s.ncols; ++c) {
    const std::string& reported = r.cols[size_t(c)].name;
    const std::string name = std_of(model.column_name(c));
    const bool bracketed = reported.size() >= 3 && reported.front() == '[' && reported.back() == ']';
    if (name != (bracketed ? reported.substr(1, reported.size() - 2) : reported)) fail("a field's name is not the reported one");
  }
  for (int c = 0; c < s.ncols; ++c) {
    const value& v = s.shown[size_t(c)];
    kk::adt::string::string lit;
    const bool has = sql_value_literal(model.cell_data(0, c, Qt::EditRole), model.column_at(c).view(), lit);
    if (has != finite(v) && v.valid_calendar) fail("a write-back literal for a value without one, or none for a value");
    if (has && v.valid_calendar && !reads_back(std_of(lit), v)) fail("a write-back literal does not read back as the value", std_of(lit));
  }
  check_view_statement(s, model);
  check_write_back(s, model);
  return 0;
}
