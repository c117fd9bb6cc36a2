// The main window's script files: opening, saving and closing script tabs, the open and
// recent path lists.
#include "app/main_window.h"
#include "editor/sql_script_editor.h"
#include "ui_main_window.h"

// To be built (script-file management).
ruv::sql_script_editor* MainWindow::find_open_file(const QString&) const { return nullptr; }
kk::adt::string::string MainWindow::path_of(const ruv::sql_script_editor*) const { return {}; }
ruv::sql_script_editor* MainWindow::open_script_tab(const QString&, kk::adt::string::string) { return nullptr; }
void MainWindow::hand_actions(ruv::sql_script_editor*) {}
void MainWindow::new_file(bool) {}
void MainWindow::open_file(bool) {}
void MainWindow::open_recent(bool) {}
void MainWindow::save_file(bool) {}
void MainWindow::save_all_files(bool) {}
void MainWindow::save_file_as(bool) {}
void MainWindow::close_file(bool) {}
void MainWindow::close_all_files(bool) {}
void MainWindow::close_files_except(bool) {}
void MainWindow::close_tab(int) {}
void MainWindow::tabBarClicked(int) {}
void MainWindow::tabBarDoubleClicked(int) {}
void MainWindow::print(bool) {}
