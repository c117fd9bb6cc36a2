#include "query/tab_data_model.h"

#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QFont>
#include <QTime>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <malloc.h>
#include <numeric>
#include <string_view>
#include <type_traits>

#include "ui_base/slot_guard.h"
#include "cells/item_dlgt.h"
#include "sqllib/sql_library.h"
#include "query/calendar_value.h"
#include "query/db_ctx.h"
#include "query/schema_sql.h"
#include "query/sql_build.h"
#include "query/sql_parse.h"
#include "sqllib/update_analysis.h"
#include "value/calendar.h"
#include "value/number_text.h"

using kk::u32;
using kk::u64;
using kk::adt::text_view;
using kk::adt::string::string;
using query_detail::append;

namespace {

bool same(text_view t, const char* s) { return t.size == std::strlen(s) && std::memcmp(t.data, s, t.size) == 0; }

// Marks painted by an edit. The search hit's yellow is no mark of its own: it is read
// from the cell's found byte whenever the background is asked for, so setting or clearing
// the found mark shows at the next repaint.
enum : kk::u8 {
  mark_font = 1,
  mark_bold = 2,
  mark_italic = 4,
  mark_background = 8,
  mark_green = 16,
};

QFont font_of(kk::u8 marks) {
  QFont f;
  if (marks & mark_bold) f.setWeight(QFont::Bold);
  f.setStyle(marks & mark_italic ? QFont::StyleItalic : QFont::StyleNormal);
  return f;
}

// The background of a cell: a search hit yellow (over an edit's green), an edited cell
// dark green, one repainted by an edit white; invalid when nothing paints it.
QVariant background_of(const cell& c) {
  if (c.found) return QColor(Qt::yellow);
  if (!(c.marks & mark_background)) return QVariant();
  return c.marks & mark_green ? QColor(Qt::darkGreen) : QColor(Qt::white);
}

// How a column type orders and writes its values.
enum class kind { s_int, u_int, real, text, date, time, datetime, other };

kind kind_of(text_view t) {
  if (same(t, "i08") || same(t, "i16") || same(t, "i32") || same(t, "i64") || same(t, "u08") || same(t, "u16"))
    return kind::s_int;
  if (same(t, "u32") || same(t, "u64")) return kind::u_int;
  if (same(t, "float") || same(t, "double")) return kind::real;
  if (same(t, "string")) return kind::text;
  if (same(t, "date")) return kind::date;
  if (same(t, "time")) return kind::time;
  if (same(t, "datetime")) return kind::datetime;
  return kind::other;
}

void append_chars(string& s, const char* p, std::size_t n) { append(s, p, n); }

calendar_kind calendar_kind_of(kind k) {
  return k == kind::date ? calendar_kind::date : k == kind::time ? calendar_kind::time : calendar_kind::datetime;
}

// Shortest text that reads back as the same number, always a floating-point constant: ".0"
// where it has neither a fraction nor an exponent (-0.0 stays -0.0, never the integer 0);
// one with more than 18 digits takes the exponent form instead. A float gets the grammar's
// suffix "f", so that the server compares it at float width.
template <class F>
void append_real(string& s, F x) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, x);
  std::string_view t(buf, std::size_t(r.ptr - buf));
  if (t.find_first_of(".e") == std::string_view::npos) {
    if (t.size() > 18) {
      r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific);
    } else {
      *r.ptr++ = '.';
      *r.ptr++ = '0';
    }
  }
  if constexpr (std::is_same_v<F, float>) *r.ptr++ = 'f';
  append_chars(s, buf, std::size_t(r.ptr - buf));
}

}  // namespace

QIcon type_icon(kk::adt::text_view type_name) {
  static const char* const names[] = {"string", "date", "time", "datetime", "i08", "u08", "i16",
                                      "u16",    "i32",  "u32",  "i64",      "u64", "float", "double"};
  for (const char* n : names)
    if (same(type_name, n)) return QIcon(QStringLiteral(":/img/type_%1.svg").arg(QLatin1String(n)));
  return QIcon();
}

QIcon type_icon(const QString& type_name) {
  const QByteArray b = type_name.toUtf8();
  return type_icon(text_view{b.constData(), u64(b.size())});
}

QVariant type_value_variant(kk::adt::text_view t) {
  if (same(t, "string")) return QVariant(QStringLiteral("abc"));
  if (same(t, "date")) return QVariant(QDate(2019, 4, 23));
  if (same(t, "time")) return QVariant(QTime(18, 0, 0, 0));
  if (same(t, "datetime")) return QVariant(QDateTime(QDate(2019, 4, 23), QTime(10, 11, 12, 0), Qt::LocalTime));
  if (same(t, "i08") || same(t, "u08") || same(t, "i16") || same(t, "u16") || same(t, "i32")) return QVariant(int(0));
  if (same(t, "u32")) return QVariant(uint(0));
  if (same(t, "i64")) return QVariant(qlonglong(0));
  if (same(t, "u64")) return QVariant(qulonglong(0));
  if (same(t, "float")) return QVariant(float(0));
  if (same(t, "double")) return QVariant(double(0));
  return QVariant();
}

string sql_value_text(text_view text, text_view type_name) {
  if (same(type_name, "string")) return quote_text(text);
  string s;
  if (same(type_name, "date") || same(type_name, "time") || same(type_name, "datetime")) {
    append(s, "\"");
    append(s, text);
    append(s, "\"");
    return s;
  }
  append(s, text);
  return s;
}

bool sql_value_literal(const QVariant& v, text_view type_name, string& out) {
  out.resize(0);
  if (!v.isValid()) return false;
  char buf[kk::calendar_text_max + 2];
  switch (kind_of(type_name)) {
    case kind::s_int: {
      bool ok = false;
      const qlonglong x = v.toLongLong(&ok);
      if (!ok) return false;
      append_chars(out, buf, kk::int_to_chars(buf, int64_t(x)));
      return true;
    }
    case kind::u_int: {
      bool ok = false;
      const qulonglong x = v.toULongLong(&ok);
      if (!ok) return false;
      append_chars(out, buf, kk::int_to_chars(buf, uint64_t(x)));
      return true;
    }
    case kind::real: {
      if (same(type_name, "float")) {
        const float x = v.toFloat();
        if (!std::isfinite(x)) return false;
        append_real(out, x);
      } else {
        const double x = v.toDouble();
        if (!std::isfinite(x)) return false;
        append_real(out, x);
      }
      return true;
    }
    case kind::text: {
      const QByteArray b = v.toString().toUtf8();
      out = quote_text({b.constData(), u64(b.size())});
      return true;
    }
    case kind::date:
    case kind::time:
    case kind::datetime: {
      kk::datetime_fields f;
      const calendar_kind ck = calendar_kind_of(kind_of(type_name));
      if (!calendar_fields(v, ck, f)) return false;
      const QByteArray text = calendar_text(ck, f).toLatin1();
      append(out, "\"");
      append_chars(out, text.constData(), std::size_t(text.size()));
      append(out, "\"");
      return true;
    }
    case kind::other: return false;
  }
  return false;
}

int tab_data_model::type_order::compare(text_view a, text_view b) noexcept {
  const kk::i64 c = kk::adt::text_compare(a, b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

tab_data_model::tab_data_model(const string& table_name, db_ctx* ctx, QObject* parent)
    : QAbstractItemModel(parent), ctx_(ctx), table_name_(table_name) {
  auto add_int = [this](const char* name, void (int_item_dlgt::*set_type)()) {
    auto* d = new int_item_dlgt(nullptr);
    (d->*set_type)();
    if (!delegate_map_.insert(kk::adt::string_from_cstr(name), d)) delete d;
  };
  add_int("u08", &int_item_dlgt::set_type_u08);
  add_int("i08", &int_item_dlgt::set_type_i08);
  add_int("u16", &int_item_dlgt::set_type_u16);
  add_int("i16", &int_item_dlgt::set_type_i16);
  add_int("u32", &int_item_dlgt::set_type_u32);
  add_int("i32", &int_item_dlgt::set_type_i32);
  add_int("u64", &int_item_dlgt::set_type_u64);
  add_int("i64", &int_item_dlgt::set_type_i64);
  auto add = [this](const char* name, item_dlgt* d) {
    if (!delegate_map_.insert(kk::adt::string_from_cstr(name), d)) delete d;
  };
  add("float", new float_item_dlgt(nullptr));
  add("double", new double_item_dlgt(nullptr));
  add("string", new string_item_dlgt(nullptr));
  add("date", new date_item_dlgt(nullptr));
  add("time", new time_item_dlgt(nullptr));
  add("datetime", new datetime_item_dlgt(nullptr));
  fallback_ = new string_item_dlgt(nullptr);
  fallback_->set_read_only(true);
}

tab_data_model::~tab_data_model() {
  const u64 held = held_bytes();
  clear_content();
  give_back_memory(held);
  for (auto* n = delegate_map_.first(); n; n = kk::adt::tree_next(n)) delete n->value;
  delete fallback_;
}

// ---- cells and their side records

namespace {
const cell blank_cell{};
}  // namespace

bool tab_data_model::in_range(int row, int column) const {
  return row >= 0 && column >= 0 && column < int(columns_.size()) && row < rowCount();
}

const cell& tab_data_model::marks_of(std::size_t column, u32 slot) const {
  const std::vector<cell>& m = marks_[column];
  return slot < m.size() ? m[slot] : blank_cell;
}

cell& tab_data_model::marks_for(std::size_t column, u32 slot) {
  std::vector<cell>& m = marks_[column];
  if (m.size() <= slot) m.resize(columns_[column].size());
  return m[slot];
}

QVariant tab_data_model::value_of(std::size_t column, u32 slot) const {
  const cell& c = marks_of(column, slot);
  if (c.item) return items_[c.item - 1]->value;
  return columns_[column].value(slot);
}

cell_item* tab_data_model::item_of(const cell& c) const { return c.item ? items_[c.item - 1].get() : nullptr; }

cell_item& tab_data_model::ensure_item(std::size_t column, u32 slot) {
  cell& c = marks_for(column, slot);
  if (c.item) return *items_[c.item - 1];
  auto it = std::make_unique<cell_item>();
  it->value = columns_[column].value(slot);
  it->stored = it->value;
  if (!free_items_.empty()) {
    c.item = free_items_.back();
    free_items_.pop_back();
    items_[c.item - 1] = std::move(it);
  } else {
    items_.push_back(std::move(it));
    c.item = u32(items_.size());
  }
  return *items_[c.item - 1];
}

void tab_data_model::release_item(std::size_t column, u32 slot) {
  if (!marks_of(column, slot).item) return;
  cell& c = marks_for(column, slot);
  items_[c.item - 1].reset();
  free_items_.push_back(c.item);
  c.item = 0;
}

bool tab_data_model::is_modified(std::size_t column, u32 slot) const {
  const cell_item* it = item_of(marks_of(column, slot));
  return it && !same_cell_value(it->stored, it->value);
}

void tab_data_model::paint_marks(std::size_t column, u32 slot) {
  cell& c = marks_for(column, slot);
  kk::u8 m = mark_font | mark_background;
  if (c.item && new_items_.find(u64(c.item))) m |= mark_bold;
  if (is_modified(column, slot)) m |= mark_italic | mark_green;
  c.marks = m;
  if (cell_item* it = item_of(c)) {
    // Painted marks replace font and background values stored through setData.
    it->roles.remove(Qt::FontRole);
    it->roles.remove(Qt::BackgroundRole);
  }
}

u64 tab_data_model::held_bytes() const noexcept {
  u64 n = u64(rows_.capacity()) * sizeof(u32) + row_ids_.capacity * sizeof(u64);
  for (const result_column& c : columns_) n += c.bytes_held();
  for (const auto& m : marks_) n += u64(m.capacity()) * sizeof(cell);
  return n;
}

void tab_data_model::give_back_memory(u64 held_before) const {
  // The program keeps freed heap for its next use (app/startup.cpp's thresholds): the blocks
  // of a big result stay resident after it is gone, and serve the next big load. Once the
  // model holds less than half of a big result it held, they go back to the system. A big
  // result loaded over a big one keeps them.
  if (held_before >= give_back_above && held_bytes() < held_before / 2) malloc_trim(0);
}

void tab_data_model::clear_content() {
  // A few blocks per column, whatever the row count; side records only for edited cells.
  std::vector<result_column>().swap(columns_);
  std::vector<std::vector<cell>>().swap(marks_);
  std::vector<u32>().swap(rows_);
  delegates_.clear();
  headers_.clear();
  row_ids_.free();
  type_names_.clear();
  names_.clear();
  std::vector<std::unique_ptr<cell_item>>().swap(items_);
  free_items_.clear();
  changed_items_.destroy();
  new_items_.destroy();
  deleted_ids_.destroy();
  changed_count_ = new_count_ = deleted_count_ = 0;
  pending_ = false;
  outcome_unknown_ = false;
}

// ---- loading

bool tab_data_model::load(const string& text, bool quiet, bool* editable_out, string* entry_out) {
  if (editable_out) *editable_out = false;
  beginResetModel();
  struct give_back {
    const tab_data_model& model;
    u64 held = model.held_bytes();
    ~give_back() { model.give_back_memory(held); }
  } after_load{*this};
  clear_content();

  kk::grammar::parse_node* tree = nullptr;
  const u64 len = text.size;
  const u64 used = sql_parse_statement(kk::sql_library_instance(), text.data, &len, &tree);
  if (!tree || used < len) {
    kk::grammar::grammar_free_tree(tree);
    endResetModel();
    return false;
  }

  // The result goes straight into the columns and is released at once.
  result_table table;
  string local_entry;
  string& entry = entry_out ? *entry_out : local_entry;
  bool ran = false, converted = true;
  if (datas* result = exec_logged(ctx_, text, entry, quiet)) {
    ran = true;
    converted = read_result(result, table);
    del_datas(result);
  }
  auto give_up = [&](bool outcome) {
    kk::grammar::grammar_free_tree(tree);
    clear_content();
    endResetModel();
    return outcome;
  };
  // A result that could not be converted is shown as nothing, and reported as a failure.
  if (!converted) return give_up(false);

  std::vector<string> column_types;
  if (table.types.empty()) {
    // No rows came back: the table's own field list gives the types, matched by name.
    // Script results have no table to ask.
    text_list field_names, field_types, field_attrs;
    if (table_name_.size > 0) sql_fields_of(ctx_, table_name_, field_names, field_types, field_attrs);
    for (const string& n : table.names) {
      auto* f = field_names.head;
      auto* t = field_types.head;
      for (; f && t; f = f->next, t = t->next)
        if (kk::adt::text_compare(f->value.view(), n.view()) == 0) break;
      if (!f || !t) return give_up(ran);
      column_types.push_back(t->value);
    }
  } else {
    if (table.types.size() != table.names.size()) return give_up(ran);
    column_types = std::move(table.types);
  }

  // A failed statement, or one without columns, leaves nothing to show or edit.
  if (!ran || table.names.empty()) return give_up(ran);

  const bool editable = kk::grammar::update_allowed(tree);
  kk::grammar::grammar_free_tree(tree);
  tree = nullptr;
  if (editable_out) *editable_out = editable;

  const bool blocked = blockSignals(true);
  const std::size_t ncols = table.names.size();
  const u64 nrows = table.rows();
  headers_.reserve(ncols);
  names_.reserve(ncols);
  for (std::size_t c = 0; c < ncols; ++c) {
    header_cell h;
    const string& name = table.names[c];
    h.name = QString::fromUtf8(name.data, int(name.size));
    // A server may report a name in square brackets: the field is named without them.
    const bool bracketed = name.size >= 3 && name.data[0] == '[' && name.data[name.size - 1] == ']';
    const string field = bracketed ? kk::adt::string_from_bytes(name.data + 1, name.size - 2) : name;
    h.shown = QString::fromUtf8(field.data, int(field.size));
    h.icon = type_icon(column_types[c].view());
    headers_.push_back(std::move(h));
    names_.push_back(field);
  }
  type_names_ = std::move(column_types);
  for (const string& t : type_names_) {
    item_dlgt* d = delegate_for_type(t.view());
    if (d) {
      d->set_read_only(!editable);
    } else {
      d = fallback_;  // an unknown type: shown as text, never edited
    }
    delegates_.push_back(d);
  }
  if (table.columns.empty()) {
    for (const string& t : type_names_) table.columns.emplace_back(column_kind_of(t.view()));
  }
  columns_ = std::move(table.columns);
  marks_.resize(ncols);
  rows_.resize(nrows);
  std::iota(rows_.begin(), rows_.end(), u32(0));
  row_ids_ = std::move(table.row_ids);
  if (row_ids_.size != nrows) row_ids_.resize(nrows);
  // A cell whose type is not its column's keeps its own value in a side record.
  for (const result_table::odd_cell& odd : table.odd_cells) {
    cell_item& it = ensure_item(std::size_t(odd.column), u32(odd.row));
    it.value = odd.value;
    it.stored = odd.value;
  }
  blockSignals(blocked);
  endResetModel();
  return ran;
}

// ---- reading

QModelIndex tab_data_model::index(int row, int column, const QModelIndex& parent) const {
  if (parent.isValid() || row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return QModelIndex();
  return createIndex(row, column);
}

QModelIndex tab_data_model::parent(const QModelIndex&) const { return QModelIndex(); }

int tab_data_model::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || columns_.empty()) return 0;
  return int(rows_.size());
}

int tab_data_model::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(columns_.size());
}

QVariant tab_data_model::data(const QModelIndex& index, int role) const {
  return slot_guard<QVariant>("data", QVariant(), [&]() -> QVariant {
    if (!index.isValid() || !in_range(index.row(), index.column())) return QVariant();
    const std::size_t column = std::size_t(index.column());
    const u32 slot = rows_[std::size_t(index.row())];
    const cell& c = marks_of(column, slot);
    switch (role) {
      case Qt::DisplayRole: return QVariant(display_text(index.column(), value_of(column, slot)));
      case Qt::TextAlignmentRole: return QVariant(int(Qt::AlignCenter));
      case Qt::EditRole: return value_of(column, slot);
      case Qt::FontRole:
        if (c.marks & mark_font) return QVariant(font_of(c.marks));
        break;
      case Qt::BackgroundRole:
        if (c.found || (c.marks & mark_background)) return background_of(c);
        break;
      default: break;
    }
    if (const cell_item* it = item_of(c)) return it->roles.value(role);
    return QVariant();
  });
}

QVariant tab_data_model::headerData(int section, Qt::Orientation orientation, int role) const {
  return slot_guard<QVariant>("headerData", QVariant(), [&]() -> QVariant {
    if (orientation == Qt::Vertical) {
      if (section >= 0 && section < rowCount() && role == Qt::DisplayRole) return QString::number(section + 1, 10);
      return QVariant();
    }
    if (section < 0 || section >= columnCount()) return QVariant();
    const header_cell& h = headers_[std::size_t(section)];
    switch (role) {
      case Qt::DisplayRole: return h.shown;
      case Qt::EditRole: return h.name;
      case Qt::DecorationRole: return h.icon;
      default: return QVariant();
    }
  });
}

QMap<int, QVariant> tab_data_model::itemData(const QModelIndex& index) const {
  return slot_guard<QMap<int, QVariant>>("itemData", QMap<int, QVariant>(), [&]() -> QMap<int, QVariant> {
    QMap<int, QVariant> roles;
    if (!index.isValid() || !in_range(index.row(), index.column())) return roles;
    const std::size_t column = std::size_t(index.column());
    const u32 slot = rows_[std::size_t(index.row())];
    const cell& c = marks_of(column, slot);
    if (const cell_item* it = item_of(c)) roles = it->roles;
    roles.insert(Qt::EditRole, value_of(column, slot));
    if (c.marks & mark_font) roles.insert(Qt::FontRole, font_of(c.marks));
    if (c.found || (c.marks & mark_background)) roles.insert(Qt::BackgroundRole, background_of(c));
    return roles;
  });
}

Qt::ItemFlags tab_data_model::flags(const QModelIndex& index) const {
  // Every cell is selectable, editable and enabled; the column's delegate decides whether
  // an editor opens.
  return index.isValid() && in_range(index.row(), index.column())
             ? Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled
             : Qt::NoItemFlags;
}

string tab_data_model::cell_text(const QModelIndex& index) const {
  if (!index.isValid() || !in_range(index.row(), index.column())) return string();
  const QVariant v = value_of(std::size_t(index.column()), rows_[std::size_t(index.row())]);
  const QByteArray b = display_text(index.column(), v).toUtf8();
  return kk::adt::string_from_bytes(b.constData(), u64(b.size()));
}

QString tab_data_model::display_text(int column, const QVariant& value) const {
  // A date or time Qt's types cannot hold (the zero date, year 0) has a text of its own.
  if (value.userType() >= QMetaType::User && value.userType() == calendar_value_type())
    return calendar_display_text(*static_cast<const calendar_value*>(value.constData()));
  return delegates_[std::size_t(column)]->to_text(value);
}

QVariant tab_data_model::cell_data(int row, int column, int role) const {
  return data(createIndex(row, column), role);
}

bool tab_data_model::set_cell_data(int row, int column, const QVariant& value, int role) {
  return setData(createIndex(row, column), value, role);
}

cell* tab_data_model::cell_at(int row, int column) {
  return in_range(row, column) ? &marks_for(std::size_t(column), rows_[std::size_t(row)]) : nullptr;
}

bool tab_data_model::found(int row, int column) const {
  return in_range(row, column) && marks_of(std::size_t(column), rows_[std::size_t(row)]).found;
}

void tab_data_model::set_found(int row, int column, bool on) {
  if (!in_range(row, column)) return;
  const u32 slot = rows_[std::size_t(row)];
  // Clearing a mark never makes a column's records.
  if (!on && !marks_of(std::size_t(column), slot).found) return;
  marks_for(std::size_t(column), slot).found = on ? 1 : 0;
}

QVariant tab_data_model::value_from_text(text_view text, int column) const {
  item_dlgt* d = column_delegate(column);
  return d ? d->from_text(text) : QVariant();
}

const string& tab_data_model::column_at(int column) const { return type_names_[std::size_t(column)]; }
const string& tab_data_model::column_name(int column) const { return names_[std::size_t(column)]; }

bool tab_data_model::is_column_flag(int column) const {
  if (column < 0 || column >= int(delegates_.size())) return false;
  return delegates_[std::size_t(column)]->read_only;
}

void tab_data_model::set_read_only(bool flag) {
  for (item_dlgt* d : delegates_)
    if (d != fallback_) d->set_read_only(flag);
}

item_dlgt* tab_data_model::column_delegate(int column) const {
  return column >= 0 && column < int(delegates_.size()) ? delegates_[std::size_t(column)] : nullptr;
}

item_dlgt* tab_data_model::delegate_for_type(text_view type_name) const {
  auto* n = delegate_map_.find(type_name);
  return n ? n->value : nullptr;
}

kk::u64 tab_data_model::row_id(int row) const {
  return row >= 0 && std::size_t(row) < rows_.size() && rows_[std::size_t(row)] < row_ids_.size
             ? row_ids_[rows_[std::size_t(row)]]
             : new_row_id;
}

void tab_data_model::apply_to_delegates(void (item_dlgt::*op)()) {
  for (auto* n = delegate_map_.first(); n; n = kk::adt::tree_next(n)) (n->value->*op)();
  if (rowCount() > 0 && columnCount() > 0)
    Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

void tab_data_model::set_display_bin() { apply_to_delegates(&item_dlgt::set_bin_mode); }
void tab_data_model::set_display_dec() { apply_to_delegates(&item_dlgt::set_dec_mode); }
void tab_data_model::set_display_hex() { apply_to_delegates(&item_dlgt::set_hex_mode); }
void tab_data_model::set_display_normal() { apply_to_delegates(&item_dlgt::set_hex_mode_flags); }

// ---- sorting

namespace {

// One row's sort key: a rank (0 null, 1 a value, 2 NaN) and the value, with the row.
template <class K>
struct sort_entry {
  K key;
  kk::u8 rank;
  u32 row;
};

// The ascending order of the rows: equal keys keep their current order.
template <class K, class Less>
std::vector<u32> stable_order(std::vector<sort_entry<K>>& entries, Less less) {
  std::stable_sort(entries.begin(), entries.end(), [&](const sort_entry<K>& a, const sort_entry<K>& b) {
    if (a.rank != b.rank) return a.rank < b.rank;
    return a.rank == 1 && less(a.key, b.key);
  });
  std::vector<u32> order;
  order.reserve(entries.size());
  for (const auto& e : entries) order.push_back(e.row);
  return order;
}

using calendar_key = std::pair<kk::i64, kk::i64>;

calendar_key key_of_fields(const kk::datetime_fields& f) {
  return {(kk::i64(f.year) * 100 + f.month) * 100 + f.day,
          ((kk::i64(f.hour) * 60 + f.minute) * 60 + f.second) * kk::i64(kk::ns_per_second) + f.nanosecond};
}

// The first code unit of a code point in UTF-16.
uint32_t first_unit(uint32_t cp) { return cp < 0x10000 ? cp : 0xd800 + ((cp - 0x10000) >> 10); }

uint32_t code_point_at(const unsigned char* p, std::size_t n) {
  const unsigned char c = p[0];
  if (c < 0x80 || n < 2) return c;
  if (c < 0xe0) return (uint32_t(c & 0x1f) << 6) | (p[1] & 0x3f);
  if (c < 0xf0 || n < 4) return (uint32_t(c & 0x0f) << 12) | (uint32_t(p[1] & 0x3f) << 6) | (p[2] & 0x3f);
  return (uint32_t(c & 0x07) << 18) | (uint32_t(p[1] & 0x3f) << 12) | (uint32_t(p[2] & 0x3f) << 6) | (p[3] & 0x3f);
}

// UTF-16 code unit order of two well-formed UTF-8 texts, as QString compares them: the
// bytes order as the code points, except that a code point above U+FFFF (a surrogate pair,
// D800-DFFF) sorts before U+E000-U+FFFF.
bool utf16_less(std::string_view a, std::string_view b) {
  const auto [pa, pb] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  if (pb == b.end()) return false;
  if (pa == a.end()) return true;
  std::size_t i = std::size_t(pa - a.begin());
  while (i > 0 && (static_cast<unsigned char>(a[i]) & 0xc0) == 0x80) --i;
  const uint32_t ca = code_point_at(reinterpret_cast<const unsigned char*>(a.data()) + i, a.size() - i);
  const uint32_t cb = code_point_at(reinterpret_cast<const unsigned char*>(b.data()) + i, b.size() - i);
  const uint32_t ua = first_unit(ca), ub = first_unit(cb);
  return ua != ub ? ua < ub : ca < cb;
}

}  // namespace

std::vector<u32> tab_data_model::ascending_order(int column) const {
  const std::size_t col = std::size_t(column);
  const result_column& values = columns_[col];
  const std::size_t n = rows_.size();
  // The key of each row: from the typed slot, or from the side record's value where the
  // cell has one.
  auto build = [&](auto key_of_slot, auto key_of_value, auto& entries) {
    entries.reserve(n);
    for (std::size_t r = 0; r < n; ++r) {
      const u32 slot = rows_[r];
      typename std::decay_t<decltype(entries)>::value_type e{{}, 0, u32(r)};
      const cell& c = marks_of(col, slot);
      if (c.item) {
        const QVariant& v = items_[c.item - 1]->value;
        if (v.isValid()) e.rank = key_of_value(v, e.key);
      } else {
        e.rank = key_of_slot(slot, e.key);
      }
      entries.push_back(e);
    }
  };
  const kind k = kind_of(type_names_[col].view());
  switch (k) {
    case kind::s_int: {
      std::vector<sort_entry<kk::i64>> e;
      build([&](u32 s, kk::i64& key) { key = values.int_at(s); return kk::u8(1); },
            [](const QVariant& v, kk::i64& key) { key = v.toLongLong(); return kk::u8(1); }, e);
      return stable_order(e, std::less<kk::i64>());
    }
    case kind::u_int: {
      std::vector<sort_entry<u64>> e;
      build([&](u32 s, u64& key) { key = values.uint_at(s); return kk::u8(1); },
            [](const QVariant& v, u64& key) { key = v.toULongLong(); return kk::u8(1); }, e);
      return stable_order(e, std::less<u64>());
    }
    case kind::real: {
      std::vector<sort_entry<double>> e;
      build([&](u32 s, double& key) { key = values.real_at(s); return kk::u8(std::isnan(key) ? 2 : 1); },
            [](const QVariant& v, double& key) {
              key = v.toDouble();
              return kk::u8(std::isnan(key) ? 2 : 1);
            },
            e);
      return stable_order(e, std::less<double>());
    }
    case kind::date:
    case kind::time:
    case kind::datetime: {
      // By the calendar fields: every digit of the value, no time zone arithmetic.
      const calendar_kind ck = calendar_kind_of(k);
      std::vector<sort_entry<calendar_key>> e;
      build([&](u32 s, calendar_key& key) { key = key_of_fields(values.fields_at(s)); return kk::u8(1); },
            [ck](const QVariant& v, calendar_key& key) {
              kk::datetime_fields f;
              if (!calendar_fields(v, ck, f)) return kk::u8(0);
              key = key_of_fields(f);
              return kk::u8(1);
            },
            e);
      return stable_order(e, std::less<calendar_key>());
    }
    case kind::text:
    case kind::other: break;
  }
  // Texts in UTF-16 code unit order. Over the column's own bytes while every cell is as
  // loaded and well-formed; else over the cells' QStrings.
  bool plain = k == kind::text && values.kind() == kk::kind_string && values.texts_are_utf8();
  for (std::size_t r = 0; plain && r < n; ++r) plain = !marks_of(col, rows_[r]).item;
  if (plain) {
    std::vector<sort_entry<std::string_view>> e;
    e.reserve(n);
    for (std::size_t r = 0; r < n; ++r) {
      const text_view t = values.text_at(rows_[r]);
      std::string_view key(t.data, std::size_t(t.size));
      // The grid shows a text without its leading byte order mark (QString::fromUtf8).
      if (key.substr(0, 3) == "\xEF\xBB\xBF") key.remove_prefix(3);
      e.push_back({key, 1, u32(r)});
    }
    return stable_order(e, utf16_less);
  }
  std::vector<QString> texts;
  std::vector<kk::u8> valid;
  texts.reserve(n);
  valid.reserve(n);
  for (std::size_t r = 0; r < n; ++r) {
    const QVariant v = value_of(col, rows_[r]);
    valid.push_back(v.isValid() ? 1 : 0);
    texts.push_back(v.userType() == QMetaType::QString ? *static_cast<const QString*>(v.constData()) : v.toString());
  }
  std::vector<sort_entry<std::u16string_view>> e;
  e.reserve(n);
  for (std::size_t r = 0; r < n; ++r)
    e.push_back({std::u16string_view(reinterpret_cast<const char16_t*>(texts[r].utf16()), std::size_t(texts[r].size())),
                 valid[r], u32(r)});
  return stable_order(e, std::less<std::u16string_view>());
}

void tab_data_model::sort(int column, Qt::SortOrder order) {
  slot_guard("sort", [&] { sort_rows(column, order == Qt::AscendingOrder); });
}

void tab_data_model::sort_rows(int column, bool ascending) {
  const int n = rowCount();
  if (n < 1 || column < 0 || column >= columnCount()) return;
  std::vector<u32> order = ascending_order(column);
  if (!ascending) std::reverse(order.begin(), order.end());

  Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  // Only the map from rows to slots moves; values, marks and row ids stay in their slots.
  std::vector<u32> new_row_of(static_cast<std::size_t>(n));
  std::vector<u32> sorted(static_cast<std::size_t>(n));
  for (std::size_t to = 0; to < order.size(); ++to) {
    new_row_of[order[to]] = u32(to);
    sorted[to] = rows_[order[to]];
  }
  rows_ = std::move(sorted);
  const QModelIndexList from = persistentIndexList();
  QModelIndexList to;
  to.reserve(from.size());
  for (const QModelIndex& i : from)
    to.append(i.isValid() && i.row() < n ? createIndex(int(new_row_of[std::size_t(i.row())]), i.column()) : QModelIndex());
  changePersistentIndexList(from, to);
  Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
