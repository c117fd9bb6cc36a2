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
#include "query/wire.h"
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

void tab_data_model::note_write(bool answered_ok) {
  // Refused, or never sent: the server holds nothing of it. Lost or cancelled after it was
  // sent: nobody here knows. An unknown outcome stays unknown until a load shows the server's
  // rows, or a batch of every pending edit is answered.
  last_write_unknown_ = !answered_ok && ruv::wire_last().outcome_unknown();
  if (last_write_unknown_) outcome_unknown_ = true;
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
    if (!in_range(row, column)) return false;
    const std::size_t col = std::size_t(column);
    const u32 slot = rows_[std::size_t(row)];

    if (role != Qt::EditRole) {
      ensure_item(col, slot).roles.insert(role, value);
      cell& c = marks_for(col, slot);
      if (role == Qt::FontRole) c.marks &= kk::u8(~0x07);
      if (role == Qt::BackgroundRole) c.marks &= kk::u8(~0x38);
      Q_EMIT dataChanged(index, index, {role});
      return true;
    }
    if (non_finite(value, type_names_[std::size_t(column)])) {
      refuse(QCoreApplication::translate("tab_data_model", "the value '%1' of field '%2' can not be written!")
                 .arg(value.toString(), headers_[std::size_t(column)].shown));
      return false;
    }
    if (!named_or_refuse(column)) return false;

    cell_item& item = ensure_item(col, slot);
    item.value = value;
    const u64 id = marks_of(col, slot).item;
    bool written = true;
    const bool on_server = row_ids_[slot] != new_row_id && !new_items_.find(id);
    if (immediate && on_server && is_modified(col, slot)) {
      if (update_cell(row, column)) {
        item.stored = item.value;
        // Written: the cell shows as unchanged again.
        if (marks_of(col, slot).found)
          paint_marks(col, slot);
        else
          marks_for(col, slot).marks = 0;
        if (changed_items_.erase_key(id)) --changed_count_;
        notify_changed();
        Q_EMIT dataChanged(index, index, {Qt::EditRole, Qt::FontRole, Qt::BackgroundRole});
        return true;
      }
      // Not written: the edit stays pending, marked, for the next apply.
      written = false;
      if (last_write_unknown_) Q_EMIT update_unknown();
    }
    paint_marks(col, slot);
    if (is_modified(col, slot)) {
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
      // A new slot at the end of every column; its values live in side records.
      const u32 slot = u32(columns_[0].size());
      for (std::size_t col = 0; col < columns_.size(); ++col) {
        columns_[col].append_zero();
        if (!marks_[col].empty()) marks_[col].emplace_back();
        cell_item& item = ensure_item(col, slot);
        item.value = type_value_variant(type_names_[col].view());
        item.stored = item.value;
        item.roles.insert(Qt::DisplayRole, delegates_[col]->to_text(item.value));
        cell& fresh = marks_for(col, slot);
        fresh.marks = 1 | 2;  // font, bold
        if (new_items_.insert(u64(fresh.item))) ++new_count_;
        notify_changed();
      }
      row_ids_.resize(row_ids_.size + 1);
      row_ids_[slot] = new_row_id;
      rows_.insert(rows_.begin() + std::min<std::size_t>(std::size_t(row), rows_.size()), slot);
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
      const u32 slot = rows_[std::size_t(row)];
      for (std::size_t col = 0; col < columns_.size(); ++col) {
        const u32 item = marks_of(col, slot).item;
        if (item) {
          if (changed_items_.erase_key(u64(item))) --changed_count_;
          if (new_items_.erase_key(u64(item))) {
            --new_count_;
            inserted = true;
          }
        }
        release_item(col, slot);
      }
      // A row that came from the server is deleted there by the next apply. Its slot stays
      // unused until the next load.
      const u64 id = row_ids_[slot];
      if (!inserted && id != new_row_id && deleted_ids_.insert(id)) ++deleted_count_;
      rows_.erase(rows_.begin() + row);
      notify_changed();
    }
    endRemoveRows();
    return true;
  });
}

bool tab_data_model::update_cell(int row, int column) {
  last_write_unknown_ = false;
  if (!in_range(row, column) || table_name_.size == 0) return false;
  const u32 slot = rows_[std::size_t(row)];
  if (row_ids_[slot] == new_row_id) return false;
  string value;
  if (!named_or_refuse(column) || !literal_or_refuse(value_of(std::size_t(column), slot), column, value)) return false;
  string sql;
  append(sql, "update ");
  append(sql, quote_name(table_name_.view()));
  append(sql, " set ");
  append(sql, quote_name(names_[std::size_t(column)].view()));
  append(sql, " = ");
  append(sql, value);
  append(sql, " where __id == ");
  append_id(sql, row_ids_[slot]);
  string entry;
  const bool ok = exec_statement(ctx_, sql, entry, false);
  note_write(ok);
  return ok;
}

bool tab_data_model::apply_edits(bool despite_unknown) {
  last_write_unknown_ = false;
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
    const u32 slot = rows_[std::size_t(r)];
    const cell& first = marks_of(0, slot);
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
        if (!literal_or_refuse(value_of(std::size_t(k), slot), k, value)) return false;
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
      if (!is_modified(std::size_t(k), slot)) continue;
      if (!named_or_refuse(k) || !literal_or_refuse(value_of(std::size_t(k), slot), k, value)) return false;
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
      append_id(s, row_ids_[slot]);
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
  // The server may hold an earlier batch already: sending it again could apply it twice.
  if (outcome_unknown_ && !despite_unknown) return false;
  static constexpr std::string_view head = "atom_exec ", tail = " commit;";
  u64 total = head.size() + tail.size();
  for (const string& p : pieces) total += p.size;
  string sql = query_detail::reserved(total);
  append(sql, head);
  for (const string& p : pieces) append(sql, p);
  append(sql, tail);
  string entry;
  const bool ok = exec_statement(ctx_, sql, entry, false);
  // Answered: the server holds the batch of every pending edit, whatever went before.
  if (ok) outcome_unknown_ = false;
  note_write(ok);
  return ok;
}
