// The main window's view, language and help slots and the editing commands forwarded to the
// current script.
#include "app/main_window.h"
#include "editor/sql_script_editor.h"
#include "ui_main_window.h"

// To be built (view, language, help and editing commands).
void MainWindow::view_big(bool) {}
void MainWindow::view_normal(bool) {}
void MainWindow::view_small(bool) {}
void MainWindow::view_db(bool) {}
void MainWindow::view_log(bool) {}
void MainWindow::view_statusbar(bool) {}
void MainWindow::view_toolbar(bool) {}
void MainWindow::view_fullscreen(bool) {}
void MainWindow::visibility_changed(bool) {}
void MainWindow::lang_zh(bool) {}
void MainWindow::lang_en(bool) {}
void MainWindow::lang_fr(bool) {}
void MainWindow::lang_jp(bool) {}
void MainWindow::help_local(bool) {}
void MainWindow::help_online(bool) {}
void MainWindow::preference(bool) {}
void MainWindow::currentChanged(int) {}
void MainWindow::change_es() {}
void MainWindow::change_save_all() {}
void MainWindow::cut(bool) {}
void MainWindow::copy(bool) {}
void MainWindow::paste(bool) {}
void MainWindow::redo(bool) {}
void MainWindow::undo(bool) {}
void MainWindow::del_sel(bool) {}
void MainWindow::goto_err(bool) {}
void MainWindow::goto_lineb(bool) {}
void MainWindow::goto_linee(bool) {}
void MainWindow::goto_wordb(bool) {}
void MainWindow::goto_worde(bool) {}
void MainWindow::sel_all(bool) {}
void MainWindow::sel_beside(bool) {}
void MainWindow::sel_line(bool) {}
void MainWindow::sel_word(bool) {}
void MainWindow::find(bool) {}
void MainWindow::replace(bool) {}
void MainWindow::format_sel(bool) {}
void MainWindow::exec_cur(bool) {}
void MainWindow::exec_sel(bool) {}
