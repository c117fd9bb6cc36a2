#include "tests/peer/catalogue.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <stdexcept>

#include "tests/peer/cat_parse.h"

namespace peer {

namespace {

using sql::cond;
using sql::literal;

constexpr const char* id_field = "__id";

// A result under construction: columns that read a table's fields (or its row ids) at the
// rows picked, in result order. Nothing is copied until the reply is written.
struct work_set {
  const table_store* t = nullptr;
  std::shared_ptr<const table_store> own;  // the table of an answer that no stored table holds
  std::vector<std::string> names;
  std::vector<ftype> types;
  std::vector<int> src;      // per column: the field read, -1 for the row id
  std::vector<size_t> rows;  // positions in t, in result order

  value at(size_t pos, size_t c) const {
    return src[c] < 0 ? value::uint(ftype::u64, t->ids[pos]) : t->cols[static_cast<size_t>(src[c])].get(pos);
  }
  int compare(size_t c, size_t x, size_t y) const {
    if (src[c] >= 0) return t->cols[static_cast<size_t>(src[c])].compare(x, y);
    return t->ids[x] < t->ids[y] ? -1 : (t->ids[x] > t->ids[y] ? 1 : 0);
  }
};

// A work set over a table of its own: every field, every row.
work_set whole(table_store t) {
  work_set w;
  auto own = std::make_shared<const table_store>(std::move(t));
  for (size_t f = 0; f < own->fields.size(); ++f) {
    w.names.push_back(own->fields[f].name);
    w.types.push_back(own->fields[f].type);
    w.src.push_back(static_cast<int>(f));
  }
  w.rows.resize(own->rows());
  for (size_t i = 0; i < w.rows.size(); ++i) w.rows[i] = i;
  w.t = own.get();
  w.own = std::move(own);
  return w;
}

// A table of string fields for an answer, rows added by add_text_row with ids 1, 2, ...
table_store text_table(const std::vector<std::string>& names) {
  table_store t;
  for (const std::string& n : names) {
    t.fields.push_back({n, ftype::str, ""});
    t.cols.emplace_back(ftype::str);
  }
  return t;
}

void add_text_row(table_store& t, const std::vector<std::string>& cells) {
  t.ids.push_back(t.ids.size() + 1);
  for (size_t c = 0; c < cells.size(); ++c) t.cols[c].push(value::text(cells[c]));
}

int column_of(const work_set& w, const std::string& name) {
  for (size_t i = 0; i < w.names.size(); ++i)
    if (w.names[i] == name) return static_cast<int>(i);
  return -1;
}

int field_of(const table_store& t, const std::string& name) {
  for (size_t i = 0; i < t.fields.size(); ++i)
    if (t.fields[i].name == name) return static_cast<int>(i);
  return -1;
}

result to_result(const work_set& w) {
  result r;
  for (size_t c = 0; c < w.names.size(); ++c) r.cols.push_back({w.names[c], type_desc(w.types[c])});
  r.rows.reserve(w.rows.size());
  for (size_t pos : w.rows) {
    peer::row out{w.t->ids[pos], {}};
    out.cells.reserve(w.src.size());
    for (int f : w.src)
      out.cells.push_back(f < 0 ? u64(w.t->ids[pos]) : cell{std::string(w.t->cols[static_cast<size_t>(f)].cell(pos))});
    r.rows.push_back(std::move(out));
  }
  return r;
}

void put64(char*& p, uint64_t v) {
  for (int i = 0; i < 8; ++i) *p++ = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The OK reply frame of a result, as ok_reply(to_result(w)) writes it: sized first, then its
// head (length, status, names, row count, descriptors) at once and its rows in one pass, as
// many cells at a time as the caller's buffer takes, each copied from its column's wire bytes.
class reply_writer {
 public:
  // Buffers passed to rows() hold at least this many bytes: any one cell fits.
  static constexpr size_t least_buffer = 8 + 2 + 0xFFFF;

  explicit reply_writer(work_set w) : w_(std::move(w)), cols_(w_.src.size(), nullptr) {
    const size_t n = w_.rows.size(), k = w_.src.size();
    body_ = 1 + 8 + 8 + (n ? 3 * k : 0) + n * 8;
    for (size_t c = 0; c < k; ++c) {
      body_ += 8 + w_.names[c].size();
      if (w_.src[c] < 0) {
        body_ += n * 8;
        continue;
      }
      cols_[c] = &w_.t->cols[static_cast<size_t>(w_.src[c])];
      if (const int width = fixed_width(cols_[c]->type())) {
        body_ += n * static_cast<size_t>(width);
      } else {
        for (size_t pos : w_.rows) body_ += cols_[c]->cell(pos).size();
      }
    }
    if (body_ > 0xFFFFFFFFu) throw std::length_error("a reply frame holds at most 2^32 - 1 bytes");
  }

  size_t size() const { return 4 + body_; }

  std::string head() const {
    size_t bytes = 4 + 1 + 8 + 8 + (w_.rows.empty() ? 0 : 3 * w_.src.size());
    for (const std::string& name : w_.names) bytes += 8 + name.size();
    std::string out(bytes, '\0');
    char* p = out.data();
    for (int i = 0; i < 4; ++i) *p++ = static_cast<char>((body_ >> (8 * i)) & 0xFF);
    *p++ = static_cast<char>(status_ok);
    put64(p, w_.src.size());
    for (const std::string& name : w_.names) {
      put64(p, name.size());
      p = std::copy(name.begin(), name.end(), p);
    }
    put64(p, w_.rows.size());
    if (!w_.rows.empty()) {
      for (ftype t : w_.types) {
        const desc d = type_desc(t);
        *p++ = static_cast<char>(d.size);
        *p++ = static_cast<char>(d.sign);
        *p++ = static_cast<char>(d.type);
      }
    }
    return out;
  }

  // The next cells into [p, p + cap), cap at least least_buffer; the bytes written, 0 at the end.
  size_t rows(char* p, size_t cap) {
    char* const begin = p;
    char* const end = p + cap;
    const uint64_t* ids = w_.t->ids.data();
    const size_t k = cols_.size();
    for (; row_ < w_.rows.size(); ++row_, cell_ = 0) {
      const size_t pos = w_.rows[row_];
      if (cell_ == 0) {
        if (end - p < 8) return static_cast<size_t>(p - begin);
        put64(p, ids[pos]);
        cell_ = 1;
      }
      for (; cell_ <= k; ++cell_) {
        const field_column* c = cols_[cell_ - 1];
        const size_t room = static_cast<size_t>(end - p);
        if (room < least_buffer && room < (c ? c->cell(pos).size() : 8)) return static_cast<size_t>(p - begin);
        if (c) p = c->copy_cell(pos, p);
        else put64(p, ids[pos]);
      }
    }
    return static_cast<size_t>(p - begin);
  }

 private:
  work_set w_;
  std::vector<const field_column*> cols_;  // per column, null for the row id
  size_t body_ = 0;
  size_t row_ = 0;   // the row being written
  size_t cell_ = 0;  // its next cell: 0 the row id, c + 1 column c
};

// The whole frame in one string.
std::string reply_of(reply_writer& out) {
  std::string bytes = out.head();
  const size_t at = bytes.size();
  bytes.resize(out.size());
  for (size_t done = at, n; (n = out.rows(bytes.data() + done, bytes.size() - done)) > 0;) done += n;
  return bytes;
}

// A literal as a value of type t; nothing when it is of another kind or does not fit.
std::optional<value> literal_value(const literal& l, ftype t) {
  switch (t) {
    case ftype::str:
    case ftype::date:
    case ftype::time:
    case ftype::datetime:
      if (l.kind != literal::text) return std::nullopt;
      return value_from_text(t, l.bytes);
    case ftype::f32:
    case ftype::f64:
      if (l.kind != literal::integer && l.kind != literal::real) return std::nullopt;
      {
        double m = static_cast<double>(l.magnitude);
        value v = value::real(t, l.kind == literal::real ? l.number : (l.negative ? -m : m));
        if (!std::isfinite(v.f)) return std::nullopt;  // too large for a float column
        return v;
      }
    default:
      if (l.kind == literal::integer) {
        std::string digits = (l.negative ? "-" : "") + std::to_string(l.magnitude);
        return value_from_text(t, digits);
      }
      if (l.kind == literal::real && std::isfinite(l.number) && std::trunc(l.number) == l.number &&
          std::fabs(l.number) < 9.2e18)
        return value_from_text(t, std::to_string(static_cast<int64_t>(l.number)));
      return std::nullopt;
  }
}

// -1, 0, 1 between a value and a literal; nothing when they cannot be compared.
std::optional<int> compare_literal(const value& v, const literal& l) {
  auto sign = [](auto d) { return d < 0 ? -1 : (d > 0 ? 1 : 0); };
  if (is_integer(v.type)) {
    __int128 a = is_signed_integer(v.type) ? static_cast<__int128>(v.i) : static_cast<__int128>(v.u);
    if (l.kind == literal::integer) {
      __int128 b = static_cast<__int128>(l.magnitude);
      if (l.negative) b = -b;
      return a < b ? -1 : (a > b ? 1 : 0);
    }
    if (l.kind == literal::real) return sign(static_cast<long double>(a) - static_cast<long double>(l.number));
    return std::nullopt;
  }
  if (v.type == ftype::f32 || v.type == ftype::f64) {
    auto lv = literal_value(l, v.type);
    if (!lv) return std::nullopt;
    return compare(v, *lv);
  }
  auto lv = literal_value(l, v.type);
  if (!lv) return std::nullopt;
  return compare(v, *lv);
}

bool holds(int c, const std::string& op) {
  if (op == "==") return c == 0;
  if (op == "!=") return c != 0;
  if (op == "<") return c < 0;
  if (op == "<=") return c <= 0;
  if (op == ">") return c > 0;
  return c >= 0;  // ">="
}

std::string mirror(const std::string& op) {
  if (op == "<") return ">";
  if (op == "<=") return ">=";
  if (op == ">") return "<";
  return "<=";
}

// The rows [from, to) of n that a position form keeps (first, last, nth, range).
void position_range(const std::string& op, uint64_t a, uint64_t b, uint64_t n, uint64_t& from, uint64_t& to) {
  from = 0;
  to = 0;
  if (op == "first") {
    to = std::min(a, n);
  } else if (op == "last") {
    from = n - std::min(a, n);
    to = n;
  } else if (op == "nth") {
    from = std::min(a, n);
    to = a < n ? a + 1 : n;
  } else {  // range a b
    from = std::min(a, n);
    to = b < a ? from : (b < n ? b + 1 : n);
  }
}

// Positions of rows of t; evaluation picks a subset of the candidates, in table order.
class where_eval {
 public:
  explicit where_eval(const table_store& t) : t_(t) {}

  bool eval(const cond& c, const std::vector<size_t>& cand, std::vector<size_t>& out) {
    out.clear();
    switch (c.kind) {
      case cond::compare:
      case cond::in_set:
      case cond::between: {
        for (size_t r : cand) {
          auto ok = test(c, r);
          if (!ok) return false;
          if (*ok) out.push_back(r);
        }
        return true;
      }
      case cond::position: {
        uint64_t from, to;
        position_range(c.op, c.a, c.b, cand.size(), from, to);
        out.assign(cand.begin() + static_cast<ptrdiff_t>(from), cand.begin() + static_cast<ptrdiff_t>(to));
        return true;
      }
      case cond::extreme: {
        int f = field(c.field);
        if (f == -2) return false;
        std::vector<size_t> order = cand;
        std::stable_sort(order.begin(), order.end(), [&](size_t x, size_t y) {
          int k = f < 0 ? (t_.ids[x] < t_.ids[y] ? -1 : (t_.ids[x] > t_.ids[y]))
                        : t_.cols[static_cast<size_t>(f)].compare(x, y);
          return c.op == "min" ? k < 0 : k > 0;
        });
        order.resize(std::min<uint64_t>(c.a, order.size()));
        std::sort(order.begin(), order.end());
        out = std::move(order);
        return true;
      }
      case cond::all_of: {
        std::vector<size_t> now = cand, next;
        for (int pass = 0; pass < 2; ++pass) {
          for (const cond& k : c.kids) {
            bool picks = k.kind == cond::position || k.kind == cond::extreme;
            if (picks != (pass == 1)) continue;
            if (!eval(k, now, next)) return false;
            now.swap(next);
          }
        }
        out = std::move(now);
        return true;
      }
      case cond::any_of: {
        std::vector<size_t> part;
        for (const cond& k : c.kids) {
          if (!eval(k, cand, part)) return false;
          out.insert(out.end(), part.begin(), part.end());
        }
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
        return true;
      }
    }
    return false;
  }

 private:
  // The field's index, -1 for the row id, -2 when unknown.
  int field(const std::string& name) const {
    if (name == id_field) return -1;
    int f = field_of(t_, name);
    return f < 0 ? -2 : f;
  }

  std::optional<int> against(int f, size_t r, const literal& l) const {
    if (f == -1) return compare_literal(value::uint(ftype::u64, t_.ids[r]), l);
    return compare_literal(t_.cols[static_cast<size_t>(f)].get(r), l);
  }

  std::optional<bool> test(const cond& c, size_t r) const {
    int f = field(c.field);
    if (f == -2) return std::nullopt;
    if (c.kind == cond::compare) {
      auto k = against(f, r, c.lits[0]);
      if (!k) return std::nullopt;
      return holds(*k, c.op);
    }
    if (c.kind == cond::in_set) {
      bool found = false;
      for (const literal& l : c.lits) {
        auto k = against(f, r, l);
        if (!k) return std::nullopt;
        found = found || *k == 0;
      }
      return found != c.negate;
    }
    auto lo = against(f, r, c.lits[0]);
    auto hi = against(f, r, c.lits[1]);
    if (!lo || !hi) return std::nullopt;
    return holds(*lo, mirror(c.op)) && holds(*hi, c.op2);
  }

  const table_store& t_;
};

// Names and strings written so that the catalogue's own reader takes them back.
std::string name_text(const std::string& n) {
  bool bare = !n.empty() && !(n[0] >= '0' && n[0] <= '9');
  for (char c : n)
    bare = bare && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_');
  if (bare) return n;
  static const char digits[] = "0123456789abcdef";
  std::string out = "[";
  for (unsigned char c : n) {
    out += "\\x";
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out + "]";
}

std::string string_text(const std::string& s) {
  static const char digits[] = "0123456789abcdef";
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
      out.push_back(static_cast<char>(c));
    } else {
      out += "\\x";
      out += digits[c >> 4];
      out += digits[c & 15];
    }
  }
  return out + "\"";
}

std::string value_text(const value& v) {
  if (v.type == ftype::str || v.type == ftype::date || v.type == ftype::time || v.type == ftype::datetime)
    return string_text(v.str());
  return v.str();
}

// The create and insert statements that rebuild a table.
std::string table_script(const table_store& t) {
  std::string out = "create table " + name_text(t.name) + " ( ";
  std::string cols;
  for (size_t i = 0; i < t.fields.size(); ++i) {
    const field_def& f = t.fields[i];
    out += (i ? ", " : "") + name_text(f.name) + " " + type_name(f.type) + "( " + f.attrs + " )";
    cols += (i ? ", " : "") + name_text(f.name);
  }
  out += " );\n";
  for (size_t r = 0; r < t.rows(); ++r) {
    out += "insert into " + name_text(t.name) + " ( " + cols + " ) values ( ";
    for (size_t i = 0; i < t.cols.size(); ++i) out += (i ? ", " : "") + value_text(t.cols[i].get(r));
    out += " );\n";
  }
  return out;
}

std::string csv_text(const work_set& w, bool header, const std::string& sep) {
  std::string out;
  if (header) {
    for (size_t c = 0; c < w.names.size(); ++c) out += (c ? sep : "") + csv_field(w.names[c], sep);
    out += "\n";
  }
  for (size_t pos : w.rows) {
    for (size_t c = 0; c < w.src.size(); ++c) out += (c ? sep : "") + csv_field(w.at(pos, c).str(), sep);
    out += "\n";
  }
  return out;
}

}  // namespace

// What a statement answers: FAIL, OK without a table, or OK with a result.
struct catalogue::answer {
  bool ok = false;
  bool has_table = false;
  work_set w;
};

// Runs statements against a catalogue's state; the caller holds the lock.
struct catalogue_engine {
  catalogue& cat;
  catalogue::state& db;

  using answer = catalogue::answer;
  static answer fail() { return {}; }
  static answer done() { return {true, false, {}}; }
  static answer table_reply(work_set w) { return {true, true, std::move(w)}; }

  table_store* find(const std::string& name) {
    for (table_store& t : db.tables)
      if (t.name == name) return &t;
    return nullptr;
  }

  // A table changed: documents kept by load and restore no longer describe it.
  void touch(const std::string& name) {
    db.docs.erase("table:" + name);
    db.docs.erase("database");
  }

  answer run(const sql::statement& st) {
    using S = sql::statement;
    switch (st.kind) {
      case S::select: return select(std::get<sql::select_stmt>(st.body));
      case S::insert: return insert(std::get<sql::insert_stmt>(st.body));
      case S::update: return update(std::get<sql::update_stmt>(st.body));
      case S::remove: return remove(std::get<sql::delete_stmt>(st.body));
      case S::create: return create(std::get<sql::create_stmt>(st.body));
      case S::alter: return alter(std::get<sql::alter_stmt>(st.body));
      case S::drop: {
        const auto& s = std::get<sql::drop_stmt>(st.body);
        auto it = std::find_if(db.tables.begin(), db.tables.end(), [&](const table_store& t) { return t.name == s.table; });
        if (it == db.tables.end()) return fail();
        db.tables.erase(it);
        touch(s.table);
        return done();
      }
      case S::truncate: {
        table_store* t = find(std::get<sql::truncate_stmt>(st.body).table);
        if (!t) return fail();
        for (field_column& c : t->cols) c.keep({});
        t->ids.clear();
        touch(t->name);
        return done();
      }
      case S::show_tables: {
        table_store out = text_table({"name"});
        for (const table_store& t : db.tables) add_text_row(out, {t.name});
        return table_reply(whole(std::move(out)));
      }
      case S::fields_of: {
        table_store* t = find(std::get<sql::fields_of_stmt>(st.body).table);
        if (!t) return fail();
        table_store out = text_table({"name", "type", "repeat"});
        for (const field_def& f : t->fields) {
          bool repeat = f.attrs.rfind("true", 0) == 0;
          add_text_row(out, {f.name, type_name(f.type), repeat ? "Yes" : "No"});
        }
        return table_reply(whole(std::move(out)));
      }
      case S::atom: {
        // All or nothing: run on the live state, put the copy back at the first failure.
        catalogue::state keep = db;
        for (const sql::statement& part : std::get<sql::atom_stmt>(st.body).parts) {
          if (!run(part).ok) {
            db = std::move(keep);
            return fail();
          }
        }
        return done();
      }
      case S::save: return save(std::get<sql::save_stmt>(st.body), false);
      case S::backup: return save(std::get<sql::save_stmt>(st.body), true);
      case S::load: return load(std::get<sql::load_stmt>(st.body), false);
      case S::restore: return load(std::get<sql::load_stmt>(st.body), true);
      case S::import: return import(std::get<sql::import_stmt>(st.body));
    }
    return fail();
  }

  bool rows_where(const table_store& t, const std::optional<cond>& where, std::vector<size_t>& out) {
    std::vector<size_t> all(t.rows());
    for (size_t i = 0; i < all.size(); ++i) all[i] = i;
    if (!where) {
      out = std::move(all);
      return true;
    }
    return where_eval(t).eval(*where, all, out);
  }

  answer select(const sql::select_stmt& s) {
    table_store* t = find(s.table);
    if (!t) return fail();
    work_set w;
    w.t = t;
    if (!rows_where(*t, s.where, w.rows)) return fail();
    if (s.star) {
      for (size_t i = 0; i < t->fields.size(); ++i) w.src.push_back(static_cast<int>(i));
    } else {
      for (const std::string& n : s.fields) {
        int f = n == id_field ? -1 : field_of(*t, n);
        if (f == -1 && n != id_field) return fail();
        w.src.push_back(f);
      }
    }
    for (int f : w.src) {
      w.names.push_back(f < 0 ? std::string(id_field) : t->fields[static_cast<size_t>(f)].name);
      w.types.push_back(f < 0 ? ftype::u64 : t->fields[static_cast<size_t>(f)].type);
    }
    for (const sql::post& p : s.posts)
      if (!post(p, w)) return fail();
    if (!s.exp) {
      // Some servers report a select's column names in square brackets.
      if (cat.bracketed_names_)
        for (std::string& n : w.names) n = "[" + n + "]";
      return table_reply(std::move(w));
    }
    std::string csv = csv_text(w, s.exp->format == "csvs", s.exp->separator);
    return put_out(s.exp->to, csv, false);
  }

  bool post(const sql::post& p, work_set& w) {
    switch (p.kind) {
      case sql::post::order: {
        std::vector<size_t> cols;
        for (const std::string& n : p.fields) {
          int c = column_of(w, n);
          if (c < 0) return false;
          cols.push_back(static_cast<size_t>(c));
        }
        std::stable_sort(w.rows.begin(), w.rows.end(), [&](size_t a, size_t b) {
          for (size_t c : cols) {
            int k = w.compare(c, a, b);
            if (k != 0) return p.descending ? k > 0 : k < 0;
          }
          return false;
        });
        return true;
      }
      case sql::post::position: {
        uint64_t from, to;
        position_range(p.op, p.a, p.b, w.rows.size(), from, to);
        w.rows.erase(w.rows.begin() + static_cast<ptrdiff_t>(to), w.rows.end());
        w.rows.erase(w.rows.begin(), w.rows.begin() + static_cast<ptrdiff_t>(from));
        return true;
      }
      case sql::post::project: {
        std::vector<int> cols;
        for (const std::string& n : p.fields) {
          int c = column_of(w, n);
          if (c < 0) return false;
          cols.push_back(c);
        }
        if (p.except) {
          std::vector<int> rest;
          for (int c = 0; c < static_cast<int>(w.names.size()); ++c)
            if (std::find(cols.begin(), cols.end(), c) == cols.end()) rest.push_back(c);
          cols = std::move(rest);
        }
        std::vector<std::string> names;
        std::vector<ftype> types;
        std::vector<int> src;
        for (int c : cols) {
          names.push_back(w.names[static_cast<size_t>(c)]);
          types.push_back(w.types[static_cast<size_t>(c)]);
          src.push_back(w.src[static_cast<size_t>(c)]);
        }
        w.names = std::move(names);
        w.types = std::move(types);
        w.src = std::move(src);
        return true;
      }
      case sql::post::rename: {
        int c = column_of(w, p.fields[0]);
        if (c < 0 || p.fields[1].empty() || column_of(w, p.fields[1]) >= 0) return false;
        w.names[static_cast<size_t>(c)] = p.fields[1];
        return true;
      }
    }
    return false;
  }

  // Appends a row of values (one per field, of the fields' types) with the next row id.
  uint64_t append(table_store& t, const std::vector<value>& values) {
    for (size_t f = 0; f < values.size(); ++f) t.cols[f].push(values[f]);
    t.ids.push_back(db.next_id++);
    return t.ids.back();
  }

  answer insert(const sql::insert_stmt& s) {
    table_store* t = find(s.table);
    if (!t) return fail();
    std::vector<int> cols;
    for (const std::string& n : s.fields) {
      int f = field_of(*t, n);
      if (f < 0 || std::find(cols.begin(), cols.end(), f) != cols.end()) return fail();
      cols.push_back(f);
    }
    std::vector<std::vector<value>> rows;
    for (const auto& lits : s.rows) {
      if (lits.size() != cols.size()) return fail();
      std::vector<value> r;
      for (const field_def& f : t->fields) r.push_back(value::zero(f.type));
      for (size_t i = 0; i < cols.size(); ++i) {
        auto v = literal_value(lits[i], t->fields[static_cast<size_t>(cols[i])].type);
        if (!v) return fail();
        r[static_cast<size_t>(cols[i])] = std::move(*v);
      }
      rows.push_back(std::move(r));
    }
    for (const std::vector<value>& r : rows) append(*t, r);
    touch(t->name);
    return done();
  }

  answer update(const sql::update_stmt& s) {
    table_store* t = find(s.table);
    if (!t) return fail();
    std::vector<std::pair<size_t, value>> sets;
    for (const sql::assignment& a : s.sets) {
      int f = field_of(*t, a.field);
      if (f < 0) return fail();
      auto v = literal_value(a.value, t->fields[static_cast<size_t>(f)].type);
      if (!v) return fail();
      sets.emplace_back(static_cast<size_t>(f), std::move(*v));
    }
    std::vector<size_t> picked;
    if (!rows_where(*t, s.where, picked)) return fail();
    for (size_t r : picked)
      for (const auto& [f, v] : sets) t->cols[f].set(r, v);
    touch(t->name);
    return done();
  }

  answer remove(const sql::delete_stmt& s) {
    table_store* t = find(s.table);
    if (!t) return fail();
    std::vector<size_t> picked;
    if (!rows_where(*t, s.where, picked)) return fail();
    std::vector<bool> gone(t->rows(), false);
    for (size_t r : picked) gone[r] = true;
    std::vector<size_t> keep;
    std::vector<uint64_t> ids;
    for (size_t r = 0; r < t->rows(); ++r) {
      if (gone[r]) continue;
      keep.push_back(r);
      ids.push_back(t->ids[r]);
    }
    for (field_column& c : t->cols) c.keep(keep);
    t->ids = std::move(ids);
    touch(t->name);
    return done();
  }

  static std::optional<field_def> field_from(const sql::field_spec& f) {
    auto type = type_from_name(f.type);
    if (!type || !name_ok(f.name)) return std::nullopt;
    return field_def{f.name, *type, f.attrs};
  }

  // Names travel as text cells of show tables and fields_of, which hold at most 65535 bytes.
  static bool name_ok(const std::string& n) { return !n.empty() && n.size() <= 0xFFFF; }

  table_store* add_table(std::string name, std::vector<field_def> fields) {
    if (!name_ok(name) || fields.empty() || find(name)) return nullptr;
    for (size_t i = 0; i < fields.size(); ++i) {
      if (!name_ok(fields[i].name)) return nullptr;
      for (size_t j = 0; j < i; ++j)
        if (fields[j].name == fields[i].name) return nullptr;
    }
    touch(name);
    table_store t;
    t.name = std::move(name);
    for (const field_def& f : fields) t.cols.emplace_back(f.type);
    t.fields = std::move(fields);
    db.tables.push_back(std::move(t));
    return &db.tables.back();
  }

  answer create(const sql::create_stmt& s) {
    std::vector<field_def> fields;
    for (const sql::field_spec& f : s.fields) {
      auto d = field_from(f);
      if (!d) return fail();
      fields.push_back(std::move(*d));
    }
    return add_table(s.table, std::move(fields)) ? done() : fail();
  }

  answer alter(const sql::alter_stmt& s) {
    table_store* t = find(s.table);
    if (!t) return fail();
    int f = field_of(*t, s.field.name);
    const size_t at = static_cast<size_t>(f);
    switch (s.kind) {
      case sql::alter_stmt::add: {
        auto d = field_from(s.field);
        if (!d || f >= 0) return fail();
        field_column c(d->type);
        const value zero = value::zero(d->type);
        for (size_t r = 0; r < t->rows(); ++r) c.push(zero);
        t->fields.push_back(*d);
        t->cols.push_back(std::move(c));
        break;
      }
      case sql::alter_stmt::modify: {
        auto d = field_from(s.field);
        if (!d || f < 0) return fail();
        field_column c(d->type);
        for (size_t r = 0; r < t->rows(); ++r) {
          const value v = t->cols[at].get(r);
          auto conv = v.type == d->type ? std::optional<value>(v) : value_from_text(d->type, v.str());
          c.push(conv ? *conv : value::zero(d->type));
        }
        t->cols[at] = std::move(c);
        t->fields[at] = *d;
        break;
      }
      case sql::alter_stmt::rename:
        if (f < 0 || !name_ok(s.new_name) || field_of(*t, s.new_name) >= 0) return fail();
        t->fields[at].name = s.new_name;
        break;
      case sql::alter_stmt::drop:
        if (f < 0 || t->fields.size() == 1) return fail();
        t->fields.erase(t->fields.begin() + f);
        t->cols.erase(t->cols.begin() + f);
        break;
    }
    touch(t->name);
    return done();
  }

  // Bytes leaving the server: into the file store, or as the rows of an "as raw" reply.
  answer put_out(const sql::target& to, const std::string& bytes, bool as_hex) {
    if (!to.raw) {
      if (cat.files_.count(to.path) && !to.replace) return fail();
      cat.files_[to.path] = bytes;
      return done();
    }
    static const char digits[] = "0123456789abcdef";
    table_store out = text_table({"raw"});
    for (size_t at = 0; at < bytes.size(); at += cat.row_bytes_) {
      std::string_view part = std::string_view(bytes).substr(at, cat.row_bytes_);
      std::string cellv;
      if (as_hex) {
        cellv.reserve(part.size() * 2);
        for (unsigned char c : part) {
          cellv.push_back(digits[c >> 4]);
          cellv.push_back(digits[c & 15]);
        }
      } else {
        cellv.assign(part);
      }
      add_text_row(out, {cellv});
    }
    return table_reply(whole(std::move(out)));
  }

  // Bytes arriving: from the statement or from the file store; recorded either way.
  std::optional<std::string> take_in(const sql::target& from, upload u) {
    u.client = from.raw;
    u.path = from.path;
    std::optional<std::string> bytes;
    if (from.raw) {
      bytes = from.bytes;
    } else if (auto it = cat.files_.find(from.path); it != cat.files_.end()) {
      bytes = it->second;
    }
    if (bytes) u.bytes = *bytes;
    cat.uploads_.push_back(std::move(u));
    return bytes;
  }

  answer save(const sql::save_stmt& s, bool whole_db) {
    std::string bytes;
    if (whole_db) {
      if (auto it = db.docs.find("database"); it != db.docs.end()) {
        bytes = it->second;
      } else {
        for (const table_store& t : db.tables) bytes += table_script(t);
      }
    } else if (auto it = db.docs.find("table:" + s.table); it != db.docs.end()) {
      bytes = it->second;
    } else if (table_store* t = find(s.table)) {
      bytes = table_script(*t);
    } else {
      return fail();
    }
    return put_out(s.to, bytes, true);
  }

  // Tables rebuilt from a text of create and insert statements; nothing when the bytes are
  // not such a text.
  std::optional<std::vector<table_store>> rebuild(const std::string& bytes) {
    auto script = sql::parse_script(bytes);
    if (!script || script->empty()) return std::nullopt;
    catalogue::state scratch;
    scratch.next_id = db.next_id;
    catalogue_engine e{cat, scratch};
    for (const sql::statement& st : *script) {
      if (st.kind != sql::statement::create && st.kind != sql::statement::insert) return std::nullopt;
      if (!e.run(st).ok) return std::nullopt;
    }
    db.next_id = scratch.next_id;
    return std::move(scratch.tables);
  }

  answer load(const sql::load_stmt& s, bool whole_db) {
    auto bytes = take_in(s.from, {whole_db ? "restore" : "load", s.table, s.format, "", false, "", ""});
    if (!bytes) return fail();
    auto tables = rebuild(*bytes);
    if (whole_db) {
      if (tables) db.tables = std::move(*tables);
      db.docs.clear();
      db.docs["database"] = *bytes;
      return done();
    }
    std::string key = s.table;
    if (tables) {
      if (tables->size() != 1) return fail();
      table_store t = std::move(tables->front());
      if (s.format == "bin") t.name = s.table;
      if (t.name.empty()) return fail();
      key = t.name;
      touch(t.name);
      if (table_store* old = find(t.name)) {
        *old = std::move(t);
      } else {
        db.tables.push_back(std::move(t));
      }
    } else if (s.table.empty()) {
      return fail();
    }
    db.docs.erase("database");
    db.docs["table:" + key] = *bytes;
    return done();
  }

  answer import(const sql::import_stmt& s) {
    auto bytes = take_in(s.from, {"import", s.table, s.format, s.separator, false, "", ""});
    table_store* t = find(s.table);
    if (!bytes || !t || s.separator.empty()) return fail();
    std::vector<std::vector<value>> rows;
    std::string_view rest(*bytes);
    if (s.format == "csvs" && !csv_skip_record(rest)) return fail();
    std::vector<std::string> fields;
    while (!rest.empty()) {
      if (rest.starts_with('\n') || rest.starts_with("\r\n")) {  // an empty line
        rest.remove_prefix(rest.front() == '\n' ? 1 : 2);
        continue;
      }
      if (!csv_read_record(rest, s.separator, t->fields.size(), fields)) return fail();
      std::vector<value> r;
      for (size_t f = 0; f < t->fields.size(); ++f) {
        auto v = value_from_text(t->fields[f].type, fields[f]);
        if (!v) return fail();
        r.push_back(std::move(*v));
      }
      rows.push_back(std::move(r));
    }
    for (const std::vector<value>& r : rows) append(*t, r);
    touch(t->name);
    return done();
  }
};

void catalogue::install(test_peer& p) {
  p.set_handler([this](std::string_view s) { return stream(s); });
}

reply_plan catalogue::handle(std::string_view statement, bool* ok) { return reply(statement, ok, false); }

reply_plan catalogue::stream(std::string_view statement, bool* ok) { return reply(statement, ok, true); }

reply_plan catalogue::reply(std::string_view statement, bool* ok, bool may_stream) {
  // Replies above this size are written while they are sent.
  constexpr size_t streamed_above = 1u << 20;
  auto lock = std::make_shared<std::unique_lock<std::mutex>>(mu_);
  snapshots_.clear();
  reply_plan plan;
  bool good = false;
  try {
    answer a = execute(statement);
    good = a.ok;
    if (!a.ok) {
      plan.bytes = fail_reply();
    } else if (!a.has_table) {
      plan.bytes = reply_frame(status_ok, {});
    } else if (auto out = std::make_shared<reply_writer>(std::move(a.w)); !may_stream || out->size() <= streamed_above) {
      plan.bytes = reply_of(*out);
    } else {
      // The rows read the tables: the catalogue stays locked until the reply has gone.
      plan.bytes = out->head();
      plan.produce = [out, lock](char* p, size_t n) { return out->rows(p, n); };
    }
  } catch (const std::exception&) {
    plan = send(fail_reply());  // never across the peer's thread: a statement that throws is refused
    good = false;
  }
  log_.push_back({std::string(statement), good});
  if (ok) *ok = good;
  return plan;
}

catalogue::outcome catalogue::run(std::string_view statement) {
  std::lock_guard<std::mutex> g(mu_);
  snapshots_.clear();
  outcome o;
  try {
    const answer a = execute(statement);
    o = {a.ok, a.has_table, a.has_table ? to_result(a.w) : result{}};
  } catch (const std::exception&) {
    o = {};  // never across the peer's thread: a statement that throws is refused
  }
  log_.push_back({std::string(statement), o.ok});
  return o;
}

catalogue::answer catalogue::execute(std::string_view text) {
  auto st = sql::parse_statement(text);
  if (!st) return {};
  catalogue_engine e{*this, db_};
  return e.run(*st);
}

bool catalogue::create_table(std::string name, std::vector<field_def> fields) {
  std::lock_guard<std::mutex> g(mu_);
  snapshots_.clear();
  catalogue_engine e{*this, db_};
  return e.add_table(std::move(name), std::move(fields)) != nullptr;
}

uint64_t catalogue::insert(std::string_view table, std::vector<value> values) {
  std::lock_guard<std::mutex> g(mu_);
  snapshots_.clear();
  catalogue_engine e{*this, db_};
  table_store* t = e.find(std::string(table));
  if (!t || values.size() != t->fields.size()) return 0;
  for (size_t i = 0; i < values.size(); ++i)
    if (values[i].type != t->fields[i].type) return 0;
  e.touch(t->name);
  return e.append(*t, values);
}

void catalogue::put_file(std::string path, std::string bytes) {
  std::lock_guard<std::mutex> g(mu_);
  files_[std::move(path)] = std::move(bytes);
}

void catalogue::set_download_row_bytes(size_t n) {
  std::lock_guard<std::mutex> g(mu_);
  row_bytes_ = std::clamp<size_t>(n, 1, 32767);
}

void catalogue::set_bracketed_names(bool on) {
  std::lock_guard<std::mutex> g(mu_);
  bracketed_names_ = on;
}

size_t catalogue::download_row_bytes() const {
  std::lock_guard<std::mutex> g(mu_);
  return row_bytes_;
}

void catalogue::clear() {
  std::lock_guard<std::mutex> g(mu_);
  snapshots_.clear();
  db_ = state{};
  files_.clear();
  uploads_.clear();
  log_.clear();
}

std::vector<std::string> catalogue::table_names() const {
  std::lock_guard<std::mutex> g(mu_);
  std::vector<std::string> out;
  for (const table_store& t : db_.tables) out.push_back(t.name);
  return out;
}

std::shared_ptr<const table_data> catalogue::table(std::string_view name) const {
  std::lock_guard<std::mutex> g(mu_);
  if (auto it = snapshots_.find(name); it != snapshots_.end()) return it->second;
  for (const table_store& t : db_.tables) {
    if (t.name != name) continue;
    auto snap = std::make_shared<table_data>();
    snap->name = t.name;
    snap->fields = t.fields;
    snap->rows.resize(t.rows());
    for (size_t r = 0; r < t.rows(); ++r) {
      snap->rows[r].id = t.ids[r];
      snap->rows[r].values.reserve(t.cols.size());
      for (const field_column& c : t.cols) snap->rows[r].values.push_back(c.get(r));
    }
    snapshots_.emplace(std::string(name), snap);
    return snap;
  }
  return nullptr;
}

bool catalogue::each_row(std::string_view name, std::vector<field_def>& fields,
                         const std::function<void(const row_data&)>& row) const {
  std::lock_guard<std::mutex> g(mu_);
  for (const table_store& t : db_.tables) {
    if (t.name != name) continue;
    fields = t.fields;
    row_data r;
    for (size_t i = 0; i < t.rows(); ++i) {
      r.id = t.ids[i];
      r.values.clear();
      for (const field_column& c : t.cols) r.values.push_back(c.get(i));
      row(r);
    }
    return true;
  }
  return false;
}

std::vector<upload> catalogue::uploads() const {
  std::lock_guard<std::mutex> g(mu_);
  return uploads_;
}

std::optional<std::string> catalogue::file(std::string_view path) const {
  std::lock_guard<std::mutex> g(mu_);
  auto it = files_.find(std::string(path));
  if (it == files_.end()) return std::nullopt;
  return it->second;
}

std::map<std::string, std::string> catalogue::files() const {
  std::lock_guard<std::mutex> g(mu_);
  return files_;
}

std::vector<handled> catalogue::log() const {
  std::lock_guard<std::mutex> g(mu_);
  return log_;
}

}  // namespace peer
