// The main window's database tree and its operations: refresh, the context actions per
// level, table and field operations, script-file runs, transfers and reconnect.
#include "app/main_window.h"
#include "ui_main_window.h"

// To be built (database tree, table and field operations, transfers, reconnect).
tree_actions MainWindow::tree_action_set() { return {}; }
void MainWindow::refresh(bool) {}
void MainWindow::currentItemChanged(QTreeWidgetItem*, QTreeWidgetItem*) {}
void MainWindow::show_db_actions() {}
void MainWindow::show_table_actions() {}
void MainWindow::create_table(bool) {}
void MainWindow::reconnect(bool) {}
void MainWindow::backup(bool) {}
void MainWindow::restore(bool) {}
void MainWindow::exec_sql(bool) {}
void MainWindow::load(bool) {}
void MainWindow::drop_table(bool) {}
void MainWindow::truncate_table(bool) {}
void MainWindow::new_field(bool) {}
void MainWindow::view_data(bool) {}
void MainWindow::view_cols(bool) {}
void MainWindow::import_data(bool) {}
void MainWindow::export_data(bool) {}
void MainWindow::save(bool) {}
void MainWindow::delete_col(bool) {}
void MainWindow::rename_col(bool) {}
void MainWindow::modify_col(bool) {}
void MainWindow::tab_accepted() {}
void MainWindow::tab_rejected() {}
