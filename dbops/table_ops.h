#pragma once
// The table and field operations of the database tree, without the main window: the three
// destructive operations ask first, run their statement and show the outcome; the field
// editor pages are made filled for their table and field.
#include <QString>

#include "dbops/col_info.h"

class db_ctx;
class QTabWidget;
class QWidget;

enum class table_op_result {
  declined,  // the question was answered with anything but Yes: nothing was sent
  failed,    // the statement failed; the failure box was shown
  done,      // the statement succeeded; the success box was shown
};

table_op_result drop_table(db_ctx* ctx, QWidget* parent, const QString& table);
table_op_result truncate_table(db_ctx* ctx, QWidget* parent, const QString& table);
table_op_result delete_field(db_ctx* ctx, QWidget* parent, const QString& table, const QString& field);

// The tab title of a table page: "new table", "add field to table: T",
// "modify field 'F' of table: T", "rename field 'F' of table: T", "view fields of table: T".
QString field_editor_title(col_info_mode mode, const QString& table, const QString& field);
// "data of table: T".
QString data_view_title(const QString& table);

// A field editor page without a parent, filled for its mode: create_table starts with the
// table name "tab1" and one row; the others read the table's fields from the server (no
// rows when that fails). Every page but a new table's carries its table (set_page_table).
col_info* make_field_editor(db_ctx* ctx, col_info_mode mode, const QString& table, const QString& field);

// The tree's field editor actions: a tab with the same title is brought to the front (never
// for a new table, whose tabs are all "new table"); else a page is made, filled and added as
// the current last tab. The new page, for the caller to connect its accepted() and
// rejected(); null when an existing tab was shown.
col_info* open_field_editor(db_ctx* ctx, QTabWidget* tabs, col_info_mode mode, const QString& table,
                            const QString& field);
