// The editing half of tab_data_model: setData, inserted and removed rows, the pending-state
// signal and the statements that write the edits back.
#include <QCoreApplication>

#include <cmath>

#include "ui_base/slot_guard.h"
#include "cells/item_dlgt.h"
#include "query/db_ctx.h"
#include "query/sql_build.h"
#include "query/sql_parse.h"
#include "query/tab_data_model.h"
#include "value/number_text.h"

using kk::u32;
using kk::u64;
using kk::adt::text_view;
using kk::adt::string::string;
using query_detail::append;

namespace {

bool non_finite(const QVariant& v, const string& type) {
  const text_view t = type.view();
  const bool real = (t.size == 5 && std::memcmp(t.data, "float", 5) == 0) ||
                    (t.size == 6 && std::memcmp(t.data, "double", 6) == 0);
  return real && v.isValid() && !std::isfinite(v.toDouble());
}

void append_id(string& s, u64 id) {
  char digits[kk::int_text_max];
  append(s, digits, kk::int_to_chars(digits, id));
}

}  // namespace

void tab_data_model::notify_changed() {
  const bool now = changed_count_ + new_count_ + deleted_count_ > 0;
  if (now == pending_) return;
  pending_ = now;
  Q_EMIT changed(now);
}

void tab_data_model::refuse(const QString& text) {
  last_refusal_ = text;
  Q_EMIT refused(last_refusal_);
}

bool tab_data_model::literal_or_refuse(const QVariant& v, int column, string& out) {
  if (sql_value_literal(v, type_names_[std::size_t(column)].view(), out)) return true;
  refuse(QCoreApplication::translate("tab_data_model", "the value '%1' of field '%2' can not be written!")
             .arg(v.toString(), headers_[std::size_t(column)].shown));
  return false;
}

bool tab_data_model::named_or_refuse(int column) {
  if (names_[std::size_t(column)].size > 0) return true;
  refuse(QCoreApplication::translate("tab_data_model", "the field of column %1 has no name, its cells can not be written!")
             .arg(column + 1));
  return false;
}

bool tab_data_model::setData(const QModelIndex& index, const QVariant& value, int role) {
  return slot_guard<bool>("setData", false, [&]() -> bool {
    // An empty text is a value; only the absence of any value is refused.
    if (!index.isValid() || !value.isValid()) return false;
    const int row = index.row(), column = index.column();
    cell* c = cell_ptr(row, column);
    if (!c) return false;

    if (role != Qt::EditRole) {
      ensure_item(*c).roles.insert(role, value);
      if (role == Qt::FontRole) c->marks &= kk::u8(~0x07);
      if (role == Qt::BackgroundRole) c->marks &= kk::u8(~0x38);
      Q_EMIT dataChanged(index, index, {role});
      return true;
    }
    if (non_finite(value, type_names_[std::size_t(column)])) {
      refuse(QCoreApplication::translate("tab_data_model", "the value '%1' of field '%2' can not be written!")
                 .arg(value.toString(), headers_[std::size_t(column)].shown));
      return false;
    }
    if (!named_or_refuse(column)) return false;

    cell_item& item = ensure_item(*c);
    c->value = value;
    const u64 id = c->item;
    bool written = true;
    const bool on_server = row_ids_[u64(row)] != new_row_id && !new_items_.find(id);
    if (immediate && on_server && is_modified(*c)) {
      if (update_cell(row, column)) {
        item.stored = c->value;
        // Written: the cell shows as unchanged again.
        if (c->found)
          paint_marks(*c);
        else
          c->marks = 0;
        if (changed_items_.erase_key(id)) --changed_count_;
        notify_changed();
        Q_EMIT dataChanged(index, index, {Qt::EditRole, Qt::FontRole, Qt::BackgroundRole});
        return true;
      }
      // Not written: the edit stays pending, marked, for the next apply.
      written = false;
    }
    paint_marks(*c);
    if (is_modified(*c)) {
      if (changed_items_.insert(id)) ++changed_count_;
    } else if (changed_items_.erase_key(id)) {
      --changed_count_;
    }
    notify_changed();
    Q_EMIT dataChanged(index, index, {Qt::EditRole, Qt::FontRole, Qt::BackgroundRole});
    return written;
  });
}

bool tab_data_model::insertRows(int row, int count, const QModelIndex& parent) {
  return slot_guard<bool>("insertRows", false, [&]() -> bool {
    if (parent.isValid() || row < 0 || row > rowCount()) return false;
    if (count < 1 || columns_.empty()) return true;
    beginInsertRows(QModelIndex(), row, row + count - 1);
    for (int k = 0; k < count; ++k) {
      for (std::size_t col = 0; col < columns_.size(); ++col) {
        cell fresh;
        fresh.value = type_value_variant(type_names_[col].view());
        cell_item& item = ensure_item(fresh);
        item.roles.insert(Qt::DisplayRole, delegates_[col]->to_text(fresh.value));
        fresh.marks = 1 | 2;  // font, bold
        if (new_items_.insert(u64(fresh.item))) ++new_count_;
        notify_changed();
        std::vector<cell>& column = columns_[col];
        column.insert(column.begin() + std::min<std::size_t>(std::size_t(row), column.size()), std::move(fresh));
      }
      // The row id goes to the same place.
      const u64 at = std::min<u64>(u64(row), row_ids_.size);
      row_ids_.resize(row_ids_.size + 1);
      std::memmove(row_ids_.data + at + 1, row_ids_.data + at, (row_ids_.size - 1 - at) * sizeof(u64));
      row_ids_[at] = new_row_id;
    }
    endInsertRows();
    return true;
  });
}

bool tab_data_model::removeRows(int row, int count, const QModelIndex& parent) {
  return slot_guard<bool>("removeRows", false, [&]() -> bool {
    if (parent.isValid() || row < 0 || count > rowCount() - row) return false;
    if (count < 1) return true;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    for (int k = 0; k < count; ++k) {
      bool inserted = false;
      for (std::size_t col = 0; col < columns_.size(); ++col) {
        cell& c = columns_[col][std::size_t(row)];
        if (c.item) {
          if (changed_items_.erase_key(u64(c.item))) --changed_count_;
          if (new_items_.erase_key(u64(c.item))) {
            --new_count_;
            inserted = true;
          }
        }
        release_item(c);
        columns_[col].erase(columns_[col].begin() + row);
      }
      // A row that came from the server is deleted there by the next apply.
      const u64 id = row_ids_[u64(row)];
      if (!inserted && id != new_row_id && deleted_ids_.insert(id)) ++deleted_count_;
      std::memmove(row_ids_.data + row, row_ids_.data + row + 1, (row_ids_.size - u64(row) - 1) * sizeof(u64));
      row_ids_.resize(row_ids_.size - 1);
      notify_changed();
    }
    endRemoveRows();
    return true;
  });
}

bool tab_data_model::update_cell(int row, int column) {
  const cell* c = cell_ptr(row, column);
  if (!c || table_name_.size == 0 || row_ids_[u64(row)] == new_row_id) return false;
  string value;
  if (!named_or_refuse(column) || !literal_or_refuse(c->value, column, value)) return false;
  string sql;
  append(sql, "update ");
  append(sql, quote_name(table_name_.view()));
  append(sql, " set ");
  append(sql, quote_name(names_[std::size_t(column)].view()));
  append(sql, " = ");
  append(sql, value);
  append(sql, " where __id == ");
  append_id(sql, row_ids_[u64(row)]);
  text_list names, types;
  variant_rows rows;
  string entry;
  return exec_query(ctx_, sql, names, rows, types, entry, false, nullptr);
}

bool tab_data_model::apply_edits() {
  // A result without a table (a script's) has nowhere to write to.
  if (table_name_.size == 0) return changed_count_ + new_count_ + deleted_count_ == 0;
  // Every piece first, then one buffer of the total size.
  std::vector<string> pieces;
  bool any = false;
  const string table = quote_name(table_name_.view());
  std::vector<string> cols;
  for (const string& n : names_) cols.push_back(quote_name(n.view()));
  const int rows = rowCount(), ncols = columnCount();
  string value;
  for (int r = 0; r < rows && ncols > 0; ++r) {
    const cell& first = columns_[0][std::size_t(r)];
    if (first.item && new_items_.find(u64(first.item))) {
      string s;
      append(s, " insert into ");
      append(s, table);
      append(s, " ( ");
      for (int k = 0; k < ncols; ++k) {
        if (k) append(s, ", ");
        append(s, cols[std::size_t(k)]);
      }
      append(s, " ) values ( ");
      for (int k = 0; k < ncols; ++k)
        if (!named_or_refuse(k)) return false;
      for (int k = 0; k < ncols; ++k) {
        if (!literal_or_refuse(columns_[std::size_t(k)][std::size_t(r)].value, k, value)) return false;
        if (k) append(s, ", ");
        append(s, value);
      }
      append(s, " );");
      pieces.push_back(std::move(s));
      any = true;
      continue;
    }
    string s;
    for (int k = 0; k < ncols; ++k) {
      const cell& c = columns_[std::size_t(k)][std::size_t(r)];
      if (!is_modified(c)) continue;
      if (!named_or_refuse(k) || !literal_or_refuse(c.value, k, value)) return false;
      if (s.size == 0) {
        append(s, " update ");
        append(s, table);
        append(s, " set ");
      } else {
        append(s, ", ");
      }
      append(s, cols[std::size_t(k)]);
      append(s, " = ");
      append(s, value);
    }
    if (s.size) {
      append(s, " where __id == ");
      append_id(s, row_ids_[u64(r)]);
      append(s, ";");
      pieces.push_back(std::move(s));
      any = true;
    }
  }
  for (auto* n = deleted_ids_.first(); n; n = kk::adt::tree_next(n)) {
    string s;
    append(s, "delete from ");
    append(s, table);
    append(s, " where __id == ");
    append_id(s, n->key);
    append(s, ";");
    pieces.push_back(std::move(s));
    any = true;
  }
  if (!any) return true;
  static constexpr std::string_view head = "atom_exec ", tail = " commit;";
  u64 total = head.size() + tail.size();
  for (const string& p : pieces) total += p.size;
  string sql = query_detail::reserved(total);
  append(sql, head);
  for (const string& p : pieces) append(sql, p);
  append(sql, tail);
  text_list names, types;
  variant_rows result;
  string entry;
  return exec_query(ctx_, sql, names, result, types, entry, false, nullptr);
}
