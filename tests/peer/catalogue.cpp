#include "tests/peer/catalogue.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "tests/peer/cat_parse.h"

namespace peer {

namespace {

using sql::cond;
using sql::literal;

constexpr const char* id_field = "__id";

// A result under construction: typed columns and rows that keep their row ids.
struct work_set {
  std::vector<std::string> names;
  std::vector<ftype> types;
  std::vector<row_data> rows;
};

int column_of(const work_set& w, const std::string& name) {
  for (size_t i = 0; i < w.names.size(); ++i)
    if (w.names[i] == name) return static_cast<int>(i);
  return -1;
}

int field_of(const table_data& t, const std::string& name) {
  for (size_t i = 0; i < t.fields.size(); ++i)
    if (t.fields[i].name == name) return static_cast<int>(i);
  return -1;
}

result to_result(const work_set& w) {
  result r;
  for (size_t c = 0; c < w.names.size(); ++c) r.cols.push_back({w.names[c], type_desc(w.types[c])});
  r.rows.reserve(w.rows.size());
  for (const row_data& row : w.rows) {
    peer::row out{row.id, {}};
    out.cells.reserve(row.values.size());
    for (const value& v : row.values) out.cells.push_back(v.to_cell());
    r.rows.push_back(std::move(out));
  }
  return r;
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

// Positions of rows of t; evaluation picks a subset of the candidates, in table order.
class where_eval {
 public:
  explicit where_eval(const table_data& t) : t_(t) {}

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
        uint64_t n = cand.size();
        uint64_t from = 0, to = 0;  // [from, to)
        if (c.op == "first") {
          to = std::min(c.a, n);
        } else if (c.op == "last") {
          from = n - std::min(c.a, n);
          to = n;
        } else if (c.op == "nth") {
          from = std::min(c.a, n);
          to = c.a < n ? c.a + 1 : n;
        } else {  // range a b
          from = std::min(c.a, n);
          to = c.b < c.a ? from : (c.b < n ? c.b + 1 : n);
        }
        out.assign(cand.begin() + static_cast<ptrdiff_t>(from), cand.begin() + static_cast<ptrdiff_t>(to));
        return true;
      }
      case cond::extreme: {
        int f = field(c.field);
        if (f == -2) return false;
        std::vector<size_t> order = cand;
        std::stable_sort(order.begin(), order.end(), [&](size_t x, size_t y) {
          int k = f < 0 ? (t_.rows[x].id < t_.rows[y].id ? -1 : (t_.rows[x].id > t_.rows[y].id))
                        : compare(t_.rows[x].values[f], t_.rows[y].values[f]);
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
    if (f == -1) return compare_literal(value::uint(ftype::u64, t_.rows[r].id), l);
    return compare_literal(t_.rows[r].values[f], l);
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

  const table_data& t_;
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
std::string table_script(const table_data& t) {
  std::string out = "create table " + name_text(t.name) + " ( ";
  std::string cols;
  for (size_t i = 0; i < t.fields.size(); ++i) {
    const field_def& f = t.fields[i];
    out += (i ? ", " : "") + name_text(f.name) + " " + type_name(f.type) + "( " + f.attrs + " )";
    cols += (i ? ", " : "") + name_text(f.name);
  }
  out += " );\n";
  for (const row_data& r : t.rows) {
    out += "insert into " + name_text(t.name) + " ( " + cols + " ) values ( ";
    for (size_t i = 0; i < r.values.size(); ++i) out += (i ? ", " : "") + value_text(r.values[i]);
    out += " );\n";
  }
  return out;
}

std::string csv_text(const work_set& w, bool header, const std::string& sep) {
  std::string out;
  if (header) {
    for (size_t c = 0; c < w.names.size(); ++c) out += (c ? sep : "") + w.names[c];
    out += "\n";
  }
  for (const row_data& r : w.rows) {
    for (size_t c = 0; c < r.values.size(); ++c) out += (c ? sep : "") + r.values[c].str();
    out += "\n";
  }
  return out;
}

}  // namespace

// Runs statements against a catalogue's state; the caller holds the lock.
struct catalogue_engine {
  catalogue& cat;
  catalogue::state& db;

  using outcome = catalogue::outcome;
  static outcome fail() { return {}; }
  static outcome done() { return {true, false, {}}; }
  static outcome table_reply(const work_set& w) { return {true, true, to_result(w)}; }

  table_data* find(const std::string& name) {
    for (table_data& t : db.tables)
      if (t.name == name) return &t;
    return nullptr;
  }

  // A table changed: documents kept by load and restore no longer describe it.
  void touch(const std::string& name) {
    db.docs.erase("table:" + name);
    db.docs.erase("database");
  }

  outcome run(const sql::statement& st) {
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
        auto it = std::find_if(db.tables.begin(), db.tables.end(), [&](const table_data& t) { return t.name == s.table; });
        if (it == db.tables.end()) return fail();
        db.tables.erase(it);
        touch(s.table);
        return done();
      }
      case S::truncate: {
        table_data* t = find(std::get<sql::truncate_stmt>(st.body).table);
        if (!t) return fail();
        t->rows.clear();
        touch(t->name);
        return done();
      }
      case S::show_tables: {
        work_set w{{"name"}, {ftype::str}, {}};
        uint64_t n = 0;
        for (const table_data& t : db.tables) w.rows.push_back({++n, {value::text(t.name)}});
        return table_reply(w);
      }
      case S::fields_of: {
        table_data* t = find(std::get<sql::fields_of_stmt>(st.body).table);
        if (!t) return fail();
        work_set w{{"name", "type", "repeat"}, {ftype::str, ftype::str, ftype::str}, {}};
        uint64_t n = 0;
        for (const field_def& f : t->fields) {
          bool repeat = f.attrs.rfind("true", 0) == 0;
          w.rows.push_back({++n, {value::text(f.name), value::text(type_name(f.type)), value::text(repeat ? "Yes" : "No")}});
        }
        return table_reply(w);
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

  bool rows_where(const table_data& t, const std::optional<cond>& where, std::vector<size_t>& out) {
    std::vector<size_t> all(t.rows.size());
    for (size_t i = 0; i < all.size(); ++i) all[i] = i;
    if (!where) {
      out = std::move(all);
      return true;
    }
    return where_eval(t).eval(*where, all, out);
  }

  outcome select(const sql::select_stmt& s) {
    table_data* t = find(s.table);
    if (!t) return fail();
    std::vector<size_t> picked;
    if (!rows_where(*t, s.where, picked)) return fail();
    work_set w;
    std::vector<int> src;  // field index per column, -1 for the row id
    if (s.star) {
      for (size_t i = 0; i < t->fields.size(); ++i) src.push_back(static_cast<int>(i));
    } else {
      for (const std::string& n : s.fields) {
        int f = n == id_field ? -1 : field_of(*t, n);
        if (f == -1 && n != id_field) return fail();
        src.push_back(f);
      }
    }
    for (int f : src) {
      w.names.push_back(f < 0 ? std::string(id_field) : t->fields[f].name);
      w.types.push_back(f < 0 ? ftype::u64 : t->fields[f].type);
    }
    w.rows.reserve(picked.size());
    for (size_t r : picked) {
      row_data out{t->rows[r].id, {}};
      out.values.reserve(src.size());
      for (int f : src) out.values.push_back(f < 0 ? value::uint(ftype::u64, t->rows[r].id) : t->rows[r].values[f]);
      w.rows.push_back(std::move(out));
    }
    for (const sql::post& p : s.posts)
      if (!post(p, w)) return fail();
    if (!s.exp) {
      // Some servers report a select's column names in square brackets.
      if (cat.bracketed_names_)
        for (std::string& n : w.names) n = "[" + n + "]";
      return table_reply(w);
    }
    std::string csv = csv_text(w, s.exp->format == "csvs", s.exp->separator);
    return put_out(s.exp->to, csv, false);
  }

  bool post(const sql::post& p, work_set& w) {
    switch (p.kind) {
      case sql::post::order: {
        std::vector<int> cols;
        for (const std::string& n : p.fields) {
          int c = column_of(w, n);
          if (c < 0) return false;
          cols.push_back(c);
        }
        std::stable_sort(w.rows.begin(), w.rows.end(), [&](const row_data& a, const row_data& b) {
          for (int c : cols) {
            int k = compare(a.values[c], b.values[c]);
            if (k != 0) return p.descending ? k > 0 : k < 0;
          }
          return false;
        });
        return true;
      }
      case sql::post::position: {
        table_data scratch;  // positions only: the rows' values are not looked at
        scratch.rows.resize(w.rows.size());
        std::vector<size_t> all(w.rows.size()), keep;
        for (size_t i = 0; i < all.size(); ++i) all[i] = i;
        cond c;
        c.kind = cond::position;
        c.op = p.op;
        c.a = p.a;
        c.b = p.b;
        where_eval(scratch).eval(c, all, keep);
        std::vector<row_data> rows;
        for (size_t i : keep) rows.push_back(std::move(w.rows[i]));
        w.rows = std::move(rows);
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
        work_set out;
        for (int c : cols) {
          out.names.push_back(w.names[c]);
          out.types.push_back(w.types[c]);
        }
        for (row_data& r : w.rows) {
          row_data n{r.id, {}};
          for (int c : cols) n.values.push_back(std::move(r.values[c]));
          out.rows.push_back(std::move(n));
        }
        w = std::move(out);
        return true;
      }
      case sql::post::rename: {
        int c = column_of(w, p.fields[0]);
        if (c < 0 || p.fields[1].empty() || column_of(w, p.fields[1]) >= 0) return false;
        w.names[c] = p.fields[1];
        return true;
      }
    }
    return false;
  }

  outcome insert(const sql::insert_stmt& s) {
    table_data* t = find(s.table);
    if (!t) return fail();
    std::vector<int> cols;
    for (const std::string& n : s.fields) {
      int f = field_of(*t, n);
      if (f < 0 || std::find(cols.begin(), cols.end(), f) != cols.end()) return fail();
      cols.push_back(f);
    }
    std::vector<row_data> rows;
    for (const auto& lits : s.rows) {
      if (lits.size() != cols.size()) return fail();
      row_data r{0, {}};
      for (const field_def& f : t->fields) r.values.push_back(value::zero(f.type));
      for (size_t i = 0; i < cols.size(); ++i) {
        auto v = literal_value(lits[i], t->fields[cols[i]].type);
        if (!v) return fail();
        r.values[cols[i]] = std::move(*v);
      }
      rows.push_back(std::move(r));
    }
    for (row_data& r : rows) {
      r.id = db.next_id++;
      t->rows.push_back(std::move(r));
    }
    touch(t->name);
    return done();
  }

  outcome update(const sql::update_stmt& s) {
    table_data* t = find(s.table);
    if (!t) return fail();
    std::vector<std::pair<int, value>> sets;
    for (const sql::assignment& a : s.sets) {
      int f = field_of(*t, a.field);
      if (f < 0) return fail();
      auto v = literal_value(a.value, t->fields[f].type);
      if (!v) return fail();
      sets.emplace_back(f, std::move(*v));
    }
    std::vector<size_t> picked;
    if (!rows_where(*t, s.where, picked)) return fail();
    for (size_t r : picked)
      for (const auto& [f, v] : sets) t->rows[r].values[f] = v;
    touch(t->name);
    return done();
  }

  outcome remove(const sql::delete_stmt& s) {
    table_data* t = find(s.table);
    if (!t) return fail();
    std::vector<size_t> picked;
    if (!rows_where(*t, s.where, picked)) return fail();
    std::vector<bool> gone(t->rows.size(), false);
    for (size_t r : picked) gone[r] = true;
    std::vector<row_data> keep;
    for (size_t r = 0; r < t->rows.size(); ++r)
      if (!gone[r]) keep.push_back(std::move(t->rows[r]));
    t->rows = std::move(keep);
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

  bool add_table(std::string name, std::vector<field_def> fields) {
    if (!name_ok(name) || fields.empty() || find(name)) return false;
    for (size_t i = 0; i < fields.size(); ++i) {
      if (!name_ok(fields[i].name)) return false;
      for (size_t j = 0; j < i; ++j)
        if (fields[j].name == fields[i].name) return false;
    }
    touch(name);
    db.tables.push_back({std::move(name), std::move(fields), {}});
    return true;
  }

  outcome create(const sql::create_stmt& s) {
    std::vector<field_def> fields;
    for (const sql::field_spec& f : s.fields) {
      auto d = field_from(f);
      if (!d) return fail();
      fields.push_back(std::move(*d));
    }
    return add_table(s.table, std::move(fields)) ? done() : fail();
  }

  outcome alter(const sql::alter_stmt& s) {
    table_data* t = find(s.table);
    if (!t) return fail();
    int f = field_of(*t, s.field.name);
    switch (s.kind) {
      case sql::alter_stmt::add: {
        auto d = field_from(s.field);
        if (!d || f >= 0) return fail();
        t->fields.push_back(*d);
        for (row_data& r : t->rows) r.values.push_back(value::zero(d->type));
        break;
      }
      case sql::alter_stmt::modify: {
        auto d = field_from(s.field);
        if (!d || f < 0) return fail();
        for (row_data& r : t->rows) {
          value& v = r.values[f];
          auto conv = v.type == d->type ? std::optional<value>(v) : value_from_text(d->type, v.str());
          v = conv ? *conv : value::zero(d->type);
        }
        t->fields[f] = *d;
        break;
      }
      case sql::alter_stmt::rename:
        if (f < 0 || !name_ok(s.new_name) || field_of(*t, s.new_name) >= 0) return fail();
        t->fields[f].name = s.new_name;
        break;
      case sql::alter_stmt::drop:
        if (f < 0 || t->fields.size() == 1) return fail();
        t->fields.erase(t->fields.begin() + f);
        for (row_data& r : t->rows) r.values.erase(r.values.begin() + f);
        break;
    }
    touch(t->name);
    return done();
  }

  // Bytes leaving the server: into the file store, or as the rows of an "as raw" reply.
  outcome put_out(const sql::target& to, const std::string& bytes, bool as_hex) {
    if (!to.raw) {
      if (cat.files_.count(to.path) && !to.replace) return fail();
      cat.files_[to.path] = bytes;
      return done();
    }
    static const char digits[] = "0123456789abcdef";
    work_set w{{"raw"}, {ftype::str}, {}};
    uint64_t n = 0;
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
      w.rows.push_back({++n, {value::text(std::move(cellv))}});
    }
    return table_reply(w);
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

  outcome save(const sql::save_stmt& s, bool whole) {
    std::string bytes;
    if (whole) {
      if (auto it = db.docs.find("database"); it != db.docs.end()) {
        bytes = it->second;
      } else {
        for (const table_data& t : db.tables) bytes += table_script(t);
      }
    } else if (auto it = db.docs.find("table:" + s.table); it != db.docs.end()) {
      bytes = it->second;
    } else if (table_data* t = find(s.table)) {
      bytes = table_script(*t);
    } else {
      return fail();
    }
    return put_out(s.to, bytes, true);
  }

  // Tables rebuilt from a text of create and insert statements; nothing when the bytes are
  // not such a text.
  std::optional<std::vector<table_data>> rebuild(const std::string& bytes) {
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

  outcome load(const sql::load_stmt& s, bool whole) {
    auto bytes = take_in(s.from, {whole ? "restore" : "load", s.table, s.format, "", false, "", ""});
    if (!bytes) return fail();
    auto tables = rebuild(*bytes);
    if (whole) {
      if (tables) db.tables = std::move(*tables);
      db.docs.clear();
      db.docs["database"] = *bytes;
      return done();
    }
    std::string key = s.table;
    if (tables) {
      if (tables->size() != 1) return fail();
      table_data t = std::move(tables->front());
      if (s.format == "bin") t.name = s.table;
      if (t.name.empty()) return fail();
      key = t.name;
      touch(t.name);
      if (table_data* old = find(t.name)) {
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

  outcome import(const sql::import_stmt& s) {
    auto bytes = take_in(s.from, {"import", s.table, s.format, s.separator, false, "", ""});
    table_data* t = find(s.table);
    if (!bytes || !t || s.separator.empty()) return fail();
    std::vector<row_data> rows;
    std::string_view rest(*bytes);
    bool header = s.format == "csvs";
    while (!rest.empty()) {
      size_t nl = rest.find('\n');
      std::string_view line = rest.substr(0, nl);
      rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (header) {
        header = false;
        continue;
      }
      if (line.empty()) continue;
      row_data r{0, {}};
      for (size_t f = 0; f < t->fields.size(); ++f) {
        size_t end = f + 1 < t->fields.size() ? line.find(s.separator) : line.size();
        if (end == std::string_view::npos) return fail();
        auto v = value_from_text(t->fields[f].type, line.substr(0, end));
        if (!v) return fail();
        r.values.push_back(std::move(*v));
        line = end < line.size() ? line.substr(end + s.separator.size()) : std::string_view();
      }
      rows.push_back(std::move(r));
    }
    for (row_data& r : rows) {
      r.id = db.next_id++;
      t->rows.push_back(std::move(r));
    }
    touch(t->name);
    return done();
  }
};

void catalogue::install(test_peer& p) {
  p.set_handler([this](std::string_view s) { return handle(s); });
}

reply_plan catalogue::handle(std::string_view statement) {
  outcome o = run(statement);
  if (!o.ok) return send(fail_reply());
  if (!o.has_table) return send(reply_frame(status_ok, {}));
  return send(ok_reply(o.r));
}

catalogue::outcome catalogue::run(std::string_view statement) {
  std::lock_guard<std::mutex> g(mu_);
  snapshots_.clear();
  outcome o;
  try {
    o = execute(statement);
  } catch (const std::exception&) {
    o = {};  // never across the peer's thread: a statement that throws is refused
  }
  log_.push_back({std::string(statement), o.ok});
  return o;
}

catalogue::outcome catalogue::execute(std::string_view text) {
  auto st = sql::parse_statement(text);
  if (!st) return {};
  catalogue_engine e{*this, db_};
  return e.run(*st);
}

bool catalogue::create_table(std::string name, std::vector<field_def> fields) {
  std::lock_guard<std::mutex> g(mu_);
  snapshots_.clear();
  catalogue_engine e{*this, db_};
  return e.add_table(std::move(name), std::move(fields));
}

uint64_t catalogue::insert(std::string_view table, std::vector<value> values) {
  std::lock_guard<std::mutex> g(mu_);
  snapshots_.clear();
  catalogue_engine e{*this, db_};
  table_data* t = e.find(std::string(table));
  if (!t || values.size() != t->fields.size()) return 0;
  for (size_t i = 0; i < values.size(); ++i)
    if (values[i].type != t->fields[i].type) return 0;
  uint64_t id = db_.next_id++;
  t->rows.push_back({id, std::move(values)});
  e.touch(t->name);
  return id;
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
  for (const table_data& t : db_.tables) out.push_back(t.name);
  return out;
}

std::shared_ptr<const table_data> catalogue::table(std::string_view name) const {
  std::lock_guard<std::mutex> g(mu_);
  if (auto it = snapshots_.find(name); it != snapshots_.end()) return it->second;
  for (const table_data& t : db_.tables) {
    if (t.name == name) {
      auto snap = std::make_shared<const table_data>(t);
      snapshots_.emplace(std::string(name), snap);
      return snap;
    }
  }
  return nullptr;
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
