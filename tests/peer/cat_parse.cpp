#include "tests/peer/cat_parse.h"

#include <charconv>
#include <cstring>

namespace peer::sql {

namespace {

struct token {
  enum kind_t { word, name, text, integer, real, punct, end } kind = end;
  std::string s;       // word, name (decoded), text (decoded), punct
  uint64_t u = 0;      // integer magnitude
  double d = 0;        // real
  size_t at = 0, to = 0;  // source range
};

bool is_blank(char c) { return c == ' ' || (c >= 9 && c <= 12); }
bool word_start(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool word_char(char c) { return word_start(c) || (c >= '0' && c <= '9'); }
int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void put_utf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

class lexer {
 public:
  explicit lexer(std::string_view t) : t_(t) {}

  bool run(std::vector<token>& out) {
    for (;;) {
      if (!skip_space()) return false;
      token k;
      k.at = p_;
      if (p_ >= t_.size()) {
        k.kind = token::end;
        k.to = p_;
        out.push_back(std::move(k));
        return true;
      }
      char c = t_[p_];
      bool ok = true;
      if (word_start(c)) {
        size_t b = p_;
        while (p_ < t_.size() && word_char(t_[p_])) ++p_;
        k.kind = token::word;
        k.s.assign(t_.substr(b, p_ - b));
      } else if (c == '[') {
        k.kind = token::name;
        ok = bracketed(k.s);
      } else if (c == '"' || (c == '@' && p_ + 1 < t_.size() && t_[p_ + 1] == '"')) {
        k.kind = token::text;
        ok = strings(k.s);
      } else if (c >= '0' && c <= '9') {
        ok = number(k);
      } else {
        k.kind = token::punct;
        static const char* const two[] = {"==", "!=", "<=", ">=", "&&", "||"};
        bool done = false;
        for (const char* op : two) {
          if (t_.substr(p_, 2) == op) {
            k.s = op;
            p_ += 2;
            done = true;
            break;
          }
        }
        if (!done) {
          if (!std::strchr("(),;<>=*+-!", c)) return false;
          k.s = std::string(1, c);
          ++p_;
        }
      }
      if (!ok) return false;
      k.to = p_;
      out.push_back(std::move(k));
    }
  }

 private:
  // Blanks and comments ("#" and "//" to the end of the line, nested "/* */").
  bool skip_space() {
    for (;;) {
      while (p_ < t_.size() && is_blank(t_[p_])) ++p_;
      if (p_ >= t_.size()) return true;
      if (t_[p_] == '#' || t_.substr(p_, 2) == "//") {
        size_t nl = t_.find('\n', p_);
        p_ = nl == std::string_view::npos ? t_.size() : nl + 1;
      } else if (t_.substr(p_, 2) == "/*") {
        int depth = 0;
        do {
          if (t_.substr(p_, 2) == "/*") {
            ++depth;
            p_ += 2;
          } else if (t_.substr(p_, 2) == "*/") {
            --depth;
            p_ += 2;
          } else if (p_ >= t_.size()) {
            return false;  // unterminated
          } else {
            ++p_;
          }
        } while (depth > 0);
      } else {
        return true;
      }
    }
  }

  // After a backslash: a control escape, \xHH, \uHHHH or \UHHHHHHHH.
  bool escape(std::string& out) {
    if (p_ >= t_.size()) return false;
    char c = t_[p_++];
    switch (c) {
      case '"': case '\'': case '\\': out.push_back(c); return true;
      case 'a': out.push_back('\a'); return true;
      case 'b': out.push_back('\b'); return true;
      case 'f': out.push_back('\f'); return true;
      case 'n': out.push_back('\n'); return true;
      case 'r': out.push_back('\r'); return true;
      case 't': out.push_back('\t'); return true;
      case 'v': out.push_back('\v'); return true;
      case 'x': {
        if (p_ + 2 > t_.size()) return false;
        int h = hex_digit(t_[p_]), l = hex_digit(t_[p_ + 1]);
        if (h < 0 || l < 0) return false;
        out.push_back(static_cast<char>(h * 16 + l));
        p_ += 2;
        return true;
      }
      case 'u':
      case 'U': {
        size_t n = c == 'u' ? 4 : 8;
        if (p_ + n > t_.size()) return false;
        uint32_t cp = 0;
        for (size_t i = 0; i < n; ++i) {
          int h = hex_digit(t_[p_ + i]);
          if (h < 0) return false;
          cp = cp * 16 + static_cast<uint32_t>(h);
        }
        if (cp > 0x10FFFF) return false;
        p_ += n;
        put_utf8(out, cp);
        return true;
      }
      default:
        return false;
    }
  }

  bool bracketed(std::string& out) {
    ++p_;  // '['
    while (p_ < t_.size()) {
      char c = t_[p_];
      if (c == ']') {
        ++p_;
        return true;
      }
      if (c == '\n' || c == '[') return false;
      ++p_;
      if (c == '\\') {
        if (!escape(out)) return false;
      } else {
        out.push_back(c);
      }
    }
    return false;
  }

  bool one_string(std::string& out) {
    if (t_[p_] == '@') {  // @"delim( ... )delim"
      p_ += 2;
      size_t open = t_.find('(', p_);
      if (open == std::string_view::npos) return false;
      std::string close = ")" + std::string(t_.substr(p_, open - p_)) + "\"";
      size_t end = t_.find(close, open + 1);
      if (end == std::string_view::npos) return false;
      out.append(t_.substr(open + 1, end - open - 1));
      p_ = end + close.size();
      return true;
    }
    ++p_;  // '"'
    for (;;) {
      // Plain runs are copied at once: uploads are long.
      size_t q = p_;
      while (q < t_.size() && t_[q] != '"' && t_[q] != '\\' && t_[q] != '\n') ++q;
      out.append(t_.substr(p_, q - p_));
      p_ = q;
      if (p_ >= t_.size() || t_[p_] == '\n') return false;
      if (t_[p_] == '"') {
        ++p_;
        return true;
      }
      ++p_;
      if (!escape(out)) return false;
    }
  }

  // Adjacent strings, with only blanks and comments between them, form one.
  bool strings(std::string& out) {
    if (!one_string(out)) return false;
    for (;;) {
      size_t keep = p_;
      if (!skip_space()) return false;
      if (p_ < t_.size() && (t_[p_] == '"' || (t_[p_] == '@' && p_ + 1 < t_.size() && t_[p_ + 1] == '"'))) {
        if (!one_string(out)) return false;
      } else {
        p_ = keep;
        return true;
      }
    }
  }

  bool number(token& k) {
    size_t b = p_;
    auto digits = [&](int base) {
      size_t from = p_;
      while (p_ < t_.size()) {
        int d = hex_digit(t_[p_]);
        if (d < 0 || d >= base) break;
        ++p_;
      }
      return p_ - from;
    };
    int base = 10;
    if (t_[p_] == '0' && p_ + 1 < t_.size() && (t_[p_ + 1] == 'x' || t_[p_ + 1] == 'b')) {
      base = t_[p_ + 1] == 'x' ? 16 : 2;
      p_ += 2;
      size_t from = p_;
      if (digits(base) == 0) return false;
      auto r = std::from_chars(t_.data() + from, t_.data() + p_, k.u, base);
      if (r.ec != std::errc()) return false;
      k.kind = token::integer;
    } else {
      digits(10);
      bool is_real = false;
      if (p_ < t_.size() && t_[p_] == '.') {
        ++p_;
        digits(10);
        is_real = true;
      }
      if (p_ < t_.size() && (t_[p_] == 'e' || t_[p_] == 'E')) {
        size_t save = p_;
        ++p_;
        if (p_ < t_.size() && (t_[p_] == '+' || t_[p_] == '-')) ++p_;
        if (digits(10) == 0) {
          p_ = save;
        } else {
          is_real = true;
        }
      }
      if (is_real) {
        auto r = std::from_chars(t_.data() + b, t_.data() + p_, k.d);
        if (r.ec != std::errc()) return false;
        if (p_ < t_.size() && (t_[p_] == 'f' || t_[p_] == 'd')) ++p_;
        k.kind = token::real;
      } else {
        auto r = std::from_chars(t_.data() + b, t_.data() + p_, k.u, 10);
        if (r.ec != std::errc()) return false;
        k.kind = token::integer;
      }
    }
    if (k.kind == token::integer && p_ + 1 < t_.size() && t_[p_] == 'u' && std::strchr("1248", t_[p_ + 1]) &&
        t_[p_ + 1] != '\0')
      p_ += 2;
    // A number runs into no letter or digit.
    if (p_ < t_.size() && word_char(t_[p_])) return false;
    return true;
  }

  std::string_view t_;
  size_t p_ = 0;
};

class parser {
 public:
  explicit parser(std::vector<token> toks) : k_(std::move(toks)) {}

  bool at_end() const { return k_[i_].kind == token::end; }

  std::optional<statement> one() {
    statement st;
    if (!stmt(st)) return std::nullopt;
    punct(";");
    return st;
  }

 private:
  const token& cur() const { return k_[i_]; }
  const token& ahead(size_t n) const { return k_[std::min(i_ + n, k_.size() - 1)]; }
  bool is_word(const char* w) const { return cur().kind == token::word && cur().s == w; }
  bool is_punct(const char* p) const { return cur().kind == token::punct && cur().s == p; }
  bool word(const char* w) {
    if (!is_word(w)) return false;
    ++i_;
    return true;
  }
  bool punct(const char* p) {
    if (!is_punct(p)) return false;
    ++i_;
    return true;
  }
  bool name(std::string& out) {
    if (cur().kind != token::word && cur().kind != token::name) return false;
    out = cur().s;
    ++i_;
    return true;
  }
  bool names(std::vector<std::string>& out) {
    std::string n;
    if (!name(n)) return false;
    out.push_back(std::move(n));
    while (punct(",")) {
      if (!name(n)) return false;
      out.push_back(std::move(n));
    }
    return true;
  }
  bool text(std::string& out) {
    if (cur().kind != token::text) return false;
    out = cur().s;
    ++i_;
    return true;
  }
  bool uint(uint64_t& out) {
    if (cur().kind != token::integer) return false;
    out = cur().u;
    ++i_;
    return true;
  }
  bool lit(literal& out) {
    out = literal{};
    if (cur().kind == token::text) {
      out.kind = literal::text;
      out.bytes = cur().s;
      ++i_;
      return true;
    }
    if (is_word("true") || is_word("false")) {
      out.kind = literal::boolean;
      out.flag = cur().s == "true";
      ++i_;
      return true;
    }
    bool neg = false;
    if ((is_punct("-") || is_punct("+")) && (ahead(1).kind == token::integer || ahead(1).kind == token::real) &&
        ahead(1).at == cur().to) {
      neg = cur().s == "-";
      ++i_;
    }
    if (cur().kind == token::integer) {
      out.kind = literal::integer;
      out.negative = neg && cur().u != 0;
      out.magnitude = cur().u;
    } else if (cur().kind == token::real) {
      out.kind = literal::real;
      out.number = neg ? -cur().d : cur().d;
    } else {
      return false;
    }
    ++i_;
    return true;
  }

  bool stmt(statement& st) {
    if (is_word("select")) return select(st);
    if (word("insert")) return insert(st);
    if (word("update")) return update(st);
    if (word("delete")) return remove(st);
    if (word("create")) return create(st);
    if (word("alter")) return alter(st);
    if (word("drop")) {
      drop_stmt d;
      if (!word("table") || !name(d.table)) return false;
      st.kind = statement::drop;
      st.body = std::move(d);
      return true;
    }
    if (word("truncate")) {
      truncate_stmt d;
      if (!word("table") || !name(d.table)) return false;
      st.kind = statement::truncate;
      st.body = std::move(d);
      return true;
    }
    if (word("show")) {
      if (!word("tables")) return false;
      st.kind = statement::show_tables;
      st.body = show_tables_stmt{};
      return true;
    }
    if (word("fields_of")) {
      fields_of_stmt f;
      if (!name(f.table)) return false;
      st.kind = statement::fields_of;
      st.body = std::move(f);
      return true;
    }
    if (word("atom_exec")) return atom(st);
    if (word("save")) return save(st);
    if (word("backup")) return backup(st);
    if (word("load")) return load(st);
    if (word("restore")) return restore(st);
    if (word("import")) return import(st);
    return false;
  }

  bool select(statement& st) {
    select_stmt s;
    if (!word("select")) return false;
    if (punct("*")) {
      s.star = true;
    } else if (!names(s.fields)) {
      return false;
    }
    if (!word("from") || !name(s.table)) return false;
    if (word("where")) {
      cond c;
      if (!or_cond(c)) return false;
      s.where = std::move(c);
    }
    for (;;) {
      post p;
      if (word("order")) {
        p.kind = post::order;
        if (!word("by") || !names(p.fields)) return false;
        if (word("desc")) {
          p.descending = true;
        } else if (!word("asc")) {
          return false;  // "rand" and anything else
        }
      } else if (position(p.op, p.a, p.b)) {
        p.kind = post::position;
      } else if (word("project")) {
        p.kind = post::project;
        p.except = word("except");
        if (!names(p.fields)) return false;
      } else if (word("rename")) {
        p.kind = post::rename;
        std::string a, b;
        if (!name(a) || !name(b)) return false;
        p.fields = {a, b};
      } else {
        break;
      }
      s.posts.push_back(std::move(p));
    }
    if (word("export")) {
      export_clause e;
      if (!word("as")) return false;
      if (word("csvs")) {
        e.format = "csvs";
      } else if (word("csv")) {
        e.format = "csv";
      } else {
        return false;
      }
      if (!split_by(e.separator) || !out_target(e.to)) return false;
      s.exp = std::move(e);
    }
    st.kind = statement::select;
    st.body = std::move(s);
    return true;
  }

  // first [n] | last [n] | nth n | range a b
  bool position(std::string& op, uint64_t& a, uint64_t& b) {
    if (is_word("first") || is_word("last")) {
      op = cur().s;
      ++i_;
      a = 1;
      uint(a);
      return true;
    }
    if (is_word("nth")) {
      op = "nth";
      ++i_;
      return uint(a);
    }
    if (is_word("range")) {
      op = "range";
      ++i_;
      return uint(a) && uint(b);
    }
    return false;
  }

  bool or_cond(cond& out) {
    cond first;
    if (!and_cond(first)) return false;
    if (!is_punct("||")) {
      out = std::move(first);
      return true;
    }
    out = cond{};
    out.kind = cond::any_of;
    out.kids.push_back(std::move(first));
    while (punct("||")) {
      cond next;
      if (!and_cond(next)) return false;
      out.kids.push_back(std::move(next));
    }
    return true;
  }

  bool and_cond(cond& out) {
    cond first;
    if (!pri_cond(first)) return false;
    if (!is_punct("&&")) {
      out = std::move(first);
      return true;
    }
    out = cond{};
    out.kind = cond::all_of;
    out.kids.push_back(std::move(first));
    while (punct("&&")) {
      cond next;
      if (!pri_cond(next)) return false;
      out.kids.push_back(std::move(next));
    }
    return true;
  }

  static bool rel_op(const std::string& s) {
    return s == "==" || s == "!=" || s == "<" || s == "<=" || s == ">" || s == ">=";
  }

  bool pri_cond(cond& out) {
    out = cond{};
    if (punct("(")) {
      // Nesting is bounded: a hostile text must not exhaust the server thread's stack.
      if (++depth_ > max_depth) return false;
      bool ok = or_cond(out) && punct(")");
      --depth_;
      return ok;
    }
    // constant op field op constant
    if (cur().kind == token::text || cur().kind == token::integer || cur().kind == token::real ||
        is_punct("-") || is_punct("+")) {
      out.kind = cond::between;
      literal lo, hi;
      if (!lit(lo) || cur().kind != token::punct) return false;
      out.op = cur().s;
      if (out.op != "<" && out.op != "<=" && out.op != ">" && out.op != ">=") return false;
      ++i_;
      if (!name(out.field) || cur().kind != token::punct) return false;
      out.op2 = cur().s;
      bool up = out.op[0] == '<';
      if ((up && out.op2 != "<" && out.op2 != "<=") || (!up && out.op2 != ">" && out.op2 != ">=")) return false;
      ++i_;
      if (!lit(hi)) return false;
      out.lits = {std::move(lo), std::move(hi)};
      return true;
    }
    // A position form, unless the word is a field that a comparison follows.
    if (is_word("first") || is_word("last") || is_word("nth") || is_word("range")) {
      const token& n = ahead(1);
      bool field_use = n.kind == token::punct ? rel_op(n.s)
                                               : (n.kind == token::word && (n.s == "in" || n.s == "not" ||
                                                                            n.s == "min" || n.s == "max"));
      if (!field_use) {
        out.kind = cond::position;
        return position(out.op, out.a, out.b);
      }
    }
    if (!name(out.field)) return false;
    if (cur().kind == token::punct && rel_op(cur().s)) {
      out.kind = cond::compare;
      out.op = cur().s;
      ++i_;
      literal v;
      if (!lit(v)) return false;
      out.lits.push_back(std::move(v));
      return true;
    }
    if (is_word("min") || is_word("max")) {
      out.kind = cond::extreme;
      out.op = cur().s;
      ++i_;
      out.a = 1;
      uint(out.a);
      return true;
    }
    out.negate = word("not");
    if (!word("in") || !punct("(")) return false;
    out.kind = cond::in_set;
    do {
      literal v;
      if (!lit(v)) return false;
      out.lits.push_back(std::move(v));
    } while (punct(","));
    return punct(")");
  }

  bool insert(statement& st) {
    insert_stmt s;
    if (!word("into") || !name(s.table) || !punct("(") || !names(s.fields) || !punct(")") || !word("values"))
      return false;
    do {
      punct(",");
      if (!punct("(")) return false;
      std::vector<literal> row;
      do {
        literal v;
        if (!lit(v)) return false;
        row.push_back(std::move(v));
      } while (punct(","));
      if (!punct(")")) return false;
      s.rows.push_back(std::move(row));
    } while (is_punct("(") || (is_punct(",") && ahead(1).kind == token::punct && ahead(1).s == "("));
    st.kind = statement::insert;
    st.body = std::move(s);
    return true;
  }

  bool update(statement& st) {
    update_stmt s;
    if (!name(s.table) || !word("set")) return false;
    do {
      assignment a;
      if (!name(a.field) || !punct("=") || !lit(a.value)) return false;
      s.sets.push_back(std::move(a));
    } while (punct(","));
    if (word("where")) {
      cond c;
      if (!or_cond(c)) return false;
      s.where = std::move(c);
    }
    st.kind = statement::update;
    st.body = std::move(s);
    return true;
  }

  bool remove(statement& st) {
    delete_stmt s;
    if (!word("from") || !name(s.table)) return false;
    if (word("where")) {
      cond c;
      if (!or_cond(c)) return false;
      s.where = std::move(c);
    }
    st.kind = statement::remove;
    st.body = std::move(s);
    return true;
  }

  bool field_opt(field_spec& f) {
    if (!name(f.name) || cur().kind != token::word) return false;
    f.type = cur().s;
    ++i_;
    if (!punct("(")) return false;
    for (int n = 0; n < 2 && (is_word("true") || is_word("false")); ++n) {
      if (n > 0) f.attrs += ",";
      f.attrs += cur().s;
      ++i_;
      if (n == 0 && !punct(",")) break;
    }
    return punct(")");
  }

  bool create(statement& st) {
    create_stmt s;
    if (!word("table") || !name(s.table) || !punct("(")) return false;
    do {
      field_spec f;
      if (!field_opt(f)) return false;
      s.fields.push_back(std::move(f));
    } while (punct(","));
    if (!punct(")")) return false;
    st.kind = statement::create;
    st.body = std::move(s);
    return true;
  }

  bool alter(statement& st) {
    alter_stmt s;
    if (!word("table") || !name(s.table)) return false;
    if (word("add")) {
      s.kind = alter_stmt::add;
      if (!field_opt(s.field)) return false;
    } else if (word("modify")) {
      s.kind = alter_stmt::modify;
      if (!field_opt(s.field)) return false;
    } else if (word("rename")) {
      s.kind = alter_stmt::rename;
      if (!name(s.field.name) || !name(s.new_name)) return false;
    } else if (word("drop")) {
      s.kind = alter_stmt::drop;
      if (!name(s.field.name)) return false;
    } else {
      return false;
    }
    st.kind = statement::alter;
    st.body = std::move(s);
    return true;
  }

  bool atom(statement& st) {
    atom_stmt s;
    while (!is_word("commit")) {
      statement part;
      if (!(is_word("select") || is_word("insert") || is_word("update") || is_word("delete"))) return false;
      if (!stmt(part)) return false;
      punct(";");
      s.parts.push_back(std::move(part));
    }
    ++i_;
    st.kind = statement::atom;
    st.body = std::move(s);
    return true;
  }

  bool split_by(std::string& sep) {
    sep = ",";
    if (!word("split")) return true;
    return word("by") && text(sep);
  }

  // path [+]= "..." | as raw
  bool out_target(target& t) {
    if (word("path")) {
      t.replace = punct("+");
      return punct("=") && text(t.path);
    }
    t.raw = true;
    return word("as") && word("raw");
  }
  // path = "..." | from raw "..."
  bool in_target(target& t) {
    if (word("path")) return punct("=") && text(t.path);
    t.raw = true;
    return word("from") && word("raw") && text(t.bytes);
  }
  bool format(std::string& f, const char* a, const char* b) {
    if (is_word(a) || is_word(b)) {
      f = cur().s;
      ++i_;
      return true;
    }
    return false;
  }

  bool save(statement& st) {
    save_stmt s;
    s.format = "bin";
    if (!name(s.table)) return false;
    if (is_word("as") && ahead(1).kind == token::word && ahead(1).s != "raw") {
      ++i_;
      if (!format(s.format, "bin", "sql")) return false;
    }
    if (!out_target(s.to)) return false;
    st.kind = statement::save;
    st.body = std::move(s);
    return true;
  }
  bool backup(statement& st) {
    save_stmt s;
    if (!word("as") || !format(s.format, "bin", "sql") || !out_target(s.to)) return false;
    st.kind = statement::backup;
    st.body = std::move(s);
    return true;
  }
  bool load(statement& st) {
    load_stmt s;
    s.format = "bin";
    if (!name(s.table)) return false;
    if (is_word("from") && ahead(1).kind == token::word && ahead(1).s != "raw") {
      ++i_;
      if (!format(s.format, "bin", "sql")) return false;
    }
    if (!in_target(s.from)) return false;
    st.kind = statement::load;
    st.body = std::move(s);
    return true;
  }
  bool restore(statement& st) {
    load_stmt s;
    if (!word("from") || !format(s.format, "bin", "sql") || !in_target(s.from)) return false;
    st.kind = statement::restore;
    st.body = std::move(s);
    return true;
  }
  bool import(statement& st) {
    import_stmt s;
    if (!name(s.table) || !word("from") || !format(s.format, "csvs", "csv")) return false;
    if (!split_by(s.separator) || !in_target(s.from)) return false;
    st.kind = statement::import;
    st.body = std::move(s);
    return true;
  }

  static constexpr int max_depth = 200;
  std::vector<token> k_;
  size_t i_ = 0;
  int depth_ = 0;
};

std::optional<std::vector<token>> tokens(std::string_view text) {
  std::vector<token> out;
  if (!lexer(text).run(out)) return std::nullopt;
  return out;
}

}  // namespace

std::optional<statement> parse_statement(std::string_view text) {
  auto toks = tokens(text);
  if (!toks) return std::nullopt;
  parser p(std::move(*toks));
  auto st = p.one();
  if (!st || !p.at_end()) return std::nullopt;
  return st;
}

std::optional<std::vector<statement>> parse_script(std::string_view text) {
  auto toks = tokens(text);
  if (!toks) return std::nullopt;
  parser p(std::move(*toks));
  std::vector<statement> out;
  while (!p.at_end()) {
    auto st = p.one();
    if (!st) return std::nullopt;
    out.push_back(std::move(*st));
  }
  return out;
}

}  // namespace peer::sql
