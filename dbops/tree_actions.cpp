#include "dbops/tree_actions.h"

#include <QAction>
#include <QTreeWidget>

#include "dbops/db_tree.h"

void tree_actions::make_separators(QObject* owner) {
  for (QAction*& s : separators) {
    if (s) continue;
    s = new QAction(owner);
    s->setSeparator(true);
  }
}

void disable_tree_actions(tree_actions& a) {
  for (QAction* x : {a.drop, a.truncate, a.new_field, a.view_data, a.view_field, a.import_data, a.export_data,
                     a.save_table, a.delete_col, a.rename_col, a.modify_col})
    if (x) x->setEnabled(false);
}

static void clear_actions(QTreeWidget* tree) {
  for (QAction* x : tree->actions()) tree->removeAction(x);
}

static void add(QTreeWidget* tree, std::initializer_list<QAction*> list) {
  for (QAction* x : list)
    if (x) tree->addAction(x);
}

static void enable(std::initializer_list<QAction*> list) {
  for (QAction* x : list)
    if (x) x->setEnabled(true);
}

void show_db_actions(QTreeWidget* tree, tree_actions& a) {
  disable_tree_actions(a);
  enable({a.refresh, a.create_table, a.reconnect, a.exec_sql, a.backup, a.restore});
  add(tree, {a.refresh, a.create_table, a.reconnect, a.load_table, a.separators[0], a.backup, a.restore,
             a.separators[1], a.exec_sql, a.separators[2], a.status});
}

void show_table_actions(QTreeWidget* tree, tree_actions& a) {
  disable_tree_actions(a);
  enable({a.drop, a.truncate, a.new_field, a.view_field, a.view_data, a.import_data, a.export_data, a.save_table});
  add(tree, {a.drop, a.truncate, a.new_field, a.view_field, a.view_data, a.separators[0], a.import_data,
             a.export_data, a.separators[1], a.save_table});
}

void tree_current_changed(QTreeWidget* tree, QTreeWidgetItem* current, tree_actions& a) {
  clear_actions(tree);
  disable_tree_actions(a);
  switch (tree_level(current)) {
    case 0:
      show_db_actions(tree, a);
      break;
    case 1:
      show_table_actions(tree, a);
      break;
    case 2:
      enable({a.delete_col, a.rename_col, a.modify_col});
      add(tree, {a.delete_col, a.rename_col, a.modify_col});
      break;
    default:
      break;
  }
}
