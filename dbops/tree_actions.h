#pragma once
// The database tree's context actions: which stand in the tree's action list, in which order
// and enabled, for the level of the current item (database, table or field).
#include <QVector>

class QAction;
class QObject;
class QTreeWidget;
class QTreeWidgetItem;

struct tree_actions {
  // Database level.
  QAction* refresh = nullptr;
  QAction* create_table = nullptr;
  QAction* reconnect = nullptr;
  QAction* load_table = nullptr;
  QAction* backup = nullptr;
  QAction* restore = nullptr;
  QAction* exec_sql = nullptr;
  QAction* status = nullptr;
  // Table level.
  QAction* drop = nullptr;
  QAction* truncate = nullptr;
  QAction* new_field = nullptr;
  QAction* view_data = nullptr;
  QAction* view_field = nullptr;
  QAction* import_data = nullptr;
  QAction* export_data = nullptr;
  QAction* save_table = nullptr;
  // Field level.
  QAction* delete_col = nullptr;
  QAction* rename_col = nullptr;
  QAction* modify_col = nullptr;
  // Made once by make_separators and reused: the lists never hold two at once of one kind.
  QAction* separators[3] = {nullptr, nullptr, nullptr};

  // The three separator actions, owned by `owner`.
  void make_separators(QObject* owner);
};

// Disables the table and field actions (never the database ones).
void disable_tree_actions(tree_actions& a);
// The database set: refresh, create table, reconnect, load table, -, backup, restore, -,
// execute sql, -, status.
void show_db_actions(QTreeWidget* tree, tree_actions& a);
// The table set: drop, truncate, create field, view field, view data, -, import, export, -,
// save table.
void show_table_actions(QTreeWidget* tree, tree_actions& a);
// The set for the current item: none for no item, the field set (delete, rename, modify)
// for a field.
void tree_current_changed(QTreeWidget* tree, QTreeWidgetItem* current, tree_actions& a);
