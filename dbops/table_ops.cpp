#include "dbops/table_ops.h"

#include <QCoreApplication>
#include <QTabWidget>

#include "ui_base/seams.h"
#include "dbops/db_tree.h"
#include "ui_base/utf8.h"
#include "dbops/window_texts.h"
#include "query/schema_sql.h"

namespace {

// The question before a change that cannot be undone: a warning whose default (Enter) and
// Escape keep the data.
bool asked(QWidget* parent, const QString& title, const QString& text) {
  return ruv::warning(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

table_op_result told(QWidget* parent, bool ok, const QString& title, const QString& text) {
  ruv::information(parent, title, text);
  return ok ? table_op_result::done : table_op_result::failed;
}

}  // namespace

table_op_result drop_table(db_ctx* ctx, QWidget* parent, const QString& table) {
  if (!asked(parent, window_texts::tr("drop table warnning"),
             window_texts::tr("drop table will delete table from server, do your want to drop table '%1' really?").arg(table)))
    return table_op_result::declined;
  const bool ok = sql_drop_table(ctx, utf8_bytes(table));
  return told(parent, ok, window_texts::tr("drop table result"), window_texts::tr("drop table '%1' from database is %2!").arg(table, outcome_word(ok)));
}

table_op_result truncate_table(db_ctx* ctx, QWidget* parent, const QString& table) {
  if (!asked(parent, window_texts::tr("truncate table warnning"),
             window_texts::tr("truncate table will clear all table 's data, do your want to truncate table '%1' really?").arg(table)))
    return table_op_result::declined;
  const bool ok = sql_truncate_table(ctx, utf8_bytes(table));
  return told(parent, ok, window_texts::tr("truncate table result"),
              window_texts::tr("truncate table '%1' from database is %2!").arg(table, outcome_word(ok)));
}

table_op_result delete_field(db_ctx* ctx, QWidget* parent, const QString& table, const QString& field) {
  if (!asked(parent, window_texts::tr("delete field warnning"),
             window_texts::tr("delete field will delete field from table, do your want to delete field '%2' from table '%1' really?")
                 .arg(table, field)))
    return table_op_result::declined;
  const bool ok = sql_alter_drop(ctx, utf8_bytes(table), utf8_bytes(field));
  return told(parent, ok, window_texts::tr("delete field result"),
              window_texts::tr("delete field '%1' from table '%2' is %3!").arg(field, table, outcome_word(ok)));
}

QString field_editor_title(col_info_mode mode, const QString& table, const QString& field) {
  switch (mode) {
    case col_info_mode::create_table:
      return window_texts::tr("new table");
    case col_info_mode::add_fields:
      return window_texts::tr("add field to table: %1").arg(table);
    case col_info_mode::modify_field:
      return window_texts::tr("modify field '%2' of table: %1").arg(table, field);
    case col_info_mode::rename_field:
      return window_texts::tr("rename field '%2' of table: %1").arg(table, field);
    case col_info_mode::view_fields:
      break;
  }
  return window_texts::tr("view fields of table: %1").arg(table);
}

QString data_view_title(const QString& table) { return window_texts::tr("data of table: %1").arg(table); }

col_info* make_field_editor(db_ctx* ctx, col_info_mode mode, const QString& table, const QString& field) {
  auto* page = new col_info(ctx);
  col_info::text_list names, types, repeats;
  if (mode == col_info_mode::create_table) {
    page->set_table(kk::adt::string_from_cstr("tab1"), {}, names, types, repeats, mode);
    return page;
  }
  sql_fields_of(ctx, utf8_bytes(table), names, types, repeats);
  page->set_table(utf8_bytes(table), utf8_bytes(field), names, types, repeats, mode);
  set_page_table(page, table);
  return page;
}

col_info* open_field_editor(db_ctx* ctx, QTabWidget* tabs, col_info_mode mode, const QString& table,
                            const QString& field) {
  const QString title = field_editor_title(mode, table, field);
  if (mode != col_info_mode::create_table) {
    const int at = tab_with_title(tabs, title);
    if (at >= 0) {
      tabs->setCurrentIndex(at);
      return nullptr;
    }
  }
  col_info* page = make_field_editor(ctx, mode, table, field);
  add_table_page(tabs, page, title);
  return page;
}
