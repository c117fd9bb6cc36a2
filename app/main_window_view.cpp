// The main window's view, language and help slots and the editing commands forwarded to the
// current script.
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QMenuBar>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>

#include "app/main_window.h"
#include "ui_base/dialogs.h"
#include "ui_base/seams.h"
#include "ui_base/slot_guard.h"
#include "app/startup.h"
#include "ui_base/sys_config.h"
#include "editor/editor.h"
#include "script_tab/sql_script_editor.h"
#include "editor/sys_pre_dlg.h"
#include "ui_main_window.h"

#ifndef RUV_WEB_HOST
#define RUV_WEB_HOST "www.ruv-mdb.invalid"
#endif
#ifndef RUV_DOC_DIR
#define RUV_DOC_DIR "../share/doc/ruv_mdb"
#endif

namespace {

// The folder of each language's manual and reference page, by language code.
const char* const help_folders[] = {"zh", "en", "fr", "jp"};

const char* help_folder(kk::u32 language) {
  return language < std::size(help_folders) ? help_folders[language] : nullptr;
}

// Where the local manual is looked for, in this order: doc/ under the working directory,
// then the installed documentation folder (a relative one from the program's folder).
QStringList manual_candidates(const char* folder) {
  const QString tail = QString::fromLatin1(folder) + QStringLiteral("/ruv_cli.pdf");
  const QString docs = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QString::fromUtf8(RUV_DOC_DIR));
  return {QDir::current().absoluteFilePath(QStringLiteral("doc/") + tail),
          QDir::cleanPath(docs + QLatin1Char('/') + tail)};
}

// Runs an editor command on the current script's editor; "focus": the editor then takes the
// keyboard focus.
void with_editor(ruv::editor* e, void (ruv::editor::*op)(), bool focus) {
  if (!e) return;
  slot_guard("editor command", [&] { (e->*op)(); });
  if (focus) e->setFocus(Qt::OtherFocusReason);
}

}  // namespace

void MainWindow::view_big(bool) {
  sys_config.icon_size = 48;
  apply_icon_size();
}

void MainWindow::view_normal(bool) {
  sys_config.icon_size = 32;
  apply_icon_size();
}

void MainWindow::view_small(bool) {
  sys_config.icon_size = 24;
  apply_icon_size();
}

void MainWindow::view_db(bool checked) {
  sys_config.show_db_tree = checked ? 1 : 0;
  ui->treeWidget->setVisible(checked);
}

void MainWindow::view_log(bool checked) {
  sys_config.show_log = checked ? 1 : 0;
  ui->textEdit->setVisible(checked);
}

void MainWindow::view_statusbar(bool checked) {
  sys_config.show_status_bar = checked ? 1 : 0;
  ui->statusbar->setVisible(checked);
}

void MainWindow::view_toolbar(bool checked) {
  sys_config.show_tool_bar = checked ? 1 : 0;
  ui->toolBar->setVisible(checked);
}

void MainWindow::view_fullscreen(bool) {
  // Leaving full screen goes back to the state before it (maximized, as the window starts).
  setWindowState(windowState() ^ Qt::WindowFullScreen);
}

void MainWindow::visibility_changed(bool visible) { ui->toolbar_act->setChecked(visible); }

void MainWindow::switch_language(kk::u32 code, const QString& question) {
  sys_config.language = code;
  // Until the restart the window speaks its language: the check stays there (a triggered
  // entry checked itself), also after No or a restart that failed.
  check_window_language();
  if (ruv::information(this, tr("language changed"), question, QMessageBox::Yes | QMessageBox::No,
                       QMessageBox::No) == QMessageBox::Yes)
    restart();
}

void MainWindow::restart() {
  // A restart closes this window: the same questions as closing it, all before anything is
  // written. The new instance reopens the scripts from their files and reads the language
  // from the configuration: both are written first, and this one ends only when the new one
  // started.
  if (!give_up_unapplied()) return;
  QStringList failures = unwritable_scripts();
  if (failures.isEmpty()) failures = save_modified_scripts();
  if (!failures.isEmpty()) {
    ruv::warning(this, tr("restart failed"),
                 tr("the application is not restarted, these script files could not be saved:\n%1")
                     .arg(failures.join(QLatin1Char('\n'))));
    return;
  }
  config_save_failure why;
  if (!save_sys_config(&sys_config, "config", &why)) {
    ruv::warning(this, tr("restart failed"),
                 tr("the application is not restarted, the configuration could not be saved:\n%1")
                     .arg(config_save_reason(why)));
    return;
  }
  if (!ruv::launchers().start_detached(program_file(), {})) {
    ruv::warning(this, tr("restart failed"),
                 tr("the application could not be started again, the new language applies at the next start!"));
    return;
  }
  ruv::launchers().end_event_loop(0);
}

void MainWindow::lang_zh(bool) {
  slot_guard("lang_zh", [&] {
    switch_language(0, tr("the language change to Chinese, the application need restart, restart now?"));
  });
}

void MainWindow::lang_en(bool) {
  slot_guard("lang_en", [&] {
    switch_language(1, tr("the language change to English, the application need restart, restart now?"));
  });
}

void MainWindow::lang_fr(bool) {
  slot_guard("lang_fr", [&] {
    switch_language(2, tr("the language change to Français, the application need restart, restart now?"));
  });
}

void MainWindow::lang_jp(bool) {
  slot_guard("lang_jp", [&] {
    switch_language(3, tr("the language change to Japanese, the application need restart, restart now?"));
  });
}

void MainWindow::help_local(bool) {
  slot_guard("help_local", [&] {
    // The manual of the language the window speaks (a switch not yet restarted is not it).
    const char* folder = help_folder(window_language);
    if (!folder) return;
    const QStringList candidates = manual_candidates(folder);
    for (const QString& path : candidates) {
      if (!QFileInfo(path).isFile()) continue;
      if (!ruv::openers().open(path))
        ruv::warning(this, tr("help information"), tr("the manual \"%1\" could not be opened!").arg(path));
      return;
    }
    ruv::information(this, tr("help information"),
                     tr("the manual is not installed, it was looked for at:\n%1").arg(candidates.join(QLatin1Char('\n'))));
  });
}

void MainWindow::help_online(bool) {
  slot_guard("help_online", [&] {
    const char* folder = help_folder(window_language);
    if (!folder) return;
    const QString url = QStringLiteral("https://%1/%2/sql_ref_0.2.3.html")
                            .arg(QString::fromLatin1(RUV_WEB_HOST), QString::fromLatin1(folder));
    if (!ruv::openers().open(url))
      ruv::warning(this, tr("help information"), tr("the page \"%1\" could not be opened!").arg(url));
  });
}

void MainWindow::preference(bool) {
  slot_guard("preference", [&] {
    sys_pre_dlg d(nullptr);
    ruv::run_dialog(d);
  });
}

void MainWindow::currentChanged(int index) {
  slot_guard("currentChanged", [&] {
    auto* s = qobject_cast<ruv::sql_script_editor*>(ui->tabWidget->widget(index));
    QTabBar* bar = ui->tabWidget->tabBar();
    const QList<QAction*> close_actions{close_file_act, close_all_act, close_except_act};
    for (QAction* a : close_actions) bar->removeAction(a);
    if (!s) {
      for (QAction* a : {cut_act, copy_act, paste_act, redo_act, undo_act, del_sel_act, find_act, replace_act,
                         goto_err_act, line_begin_act, line_end_act, word_begin_act, word_end_act, sel_beside_act,
                         sel_all_act, sel_line_act, sel_word_act, format_sel_act, exec_cur_act, exec_sel_act,
                         save_file_act, save_as_act, print_act, close_file_act, close_all_act, close_except_act})
        a->setEnabled(false);
      return;
    }
    bar->addActions(close_actions);
    hand_actions(s);
    for (QAction* a : {goto_err_act, line_begin_act, line_end_act, word_begin_act, word_end_act, sel_beside_act,
                       sel_all_act, sel_line_act, sel_word_act})
      a->setEnabled(true);
    s->setFocus(Qt::OtherFocusReason);
    for (QAction* a : {save_as_act, print_act, close_file_act, close_all_act, close_except_act}) a->setEnabled(true);
    // From here the editor keeps the actions it holds in step with its state.
    s->editor_widget()->context_menu_actions();
  });
}

void MainWindow::change_es() {
  slot_guard("change_es", [&] {
    err_btn->setIcon(QIcon(goto_err_act->isEnabled() ? QStringLiteral(":/img/error.svg")
                                                     : QStringLiteral(":/img/correct.svg")));
  });
}

void MainWindow::change_save_all() {
  bool any = false;
  for (auto* n = open_file_map.first(); n && !any; n = kk::adt::tree_next(n))
    any = n->value->editor_widget()->is_modified();
  save_all_act->setEnabled(any);
}

namespace {

void select_cells(QAbstractItemView& grid) { grid.selectAll(); }

void copy_cells(QAbstractItemView& grid) {
  const QString text = ruv::grid_selection_text(grid);
  if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

}  // namespace

QWidget* MainWindow::edit_focus() const {
  QWidget* f = focusWidget();
  return qobject_cast<QMenuBar*>(f) ? edit_focus_.data() : f;
}

ruv::edit_target MainWindow::edit_target_now(QAbstractItemView** grid) const {
  return ruv::edit_target_of(edit_focus(), current_script(), grid);
}

void MainWindow::route_edit(const char* name, void (ruv::editor::*op)(), bool focus,
                            void (*on_grid)(QAbstractItemView&)) {
  slot_guard(name, [&] {
    QAbstractItemView* grid = nullptr;
    switch (edit_target_now(&grid)) {
      case ruv::edit_target::editor:
        with_editor(current_editor(), op, focus);
        break;
      case ruv::edit_target::grid:
        if (on_grid) on_grid(*grid);
        break;
      case ruv::edit_target::none:
        break;
    }
  });
}

void MainWindow::focus_moved(QWidget*, QWidget* now) {
  slot_guard("focus_moved", [&] {
    // Dialogs, menus and other windows keep the window's state; so does the menu bar, which
    // holds the keyboard only while its menus are walked.
    if (!now || now->window() != this || qobject_cast<QMenuBar*>(now)) return;
    edit_focus_ = now;
    show_edit_target();
  });
}

void MainWindow::show_edit_target() {
  ruv::sql_script_editor* s = current_script();
  if (!s) return;  // currentChanged has turned the editing actions off
  QAbstractItemView* grid = nullptr;
  const ruv::edit_target t = edit_target_now(&grid);
  if (t == ruv::edit_target::editor) {
    for (QAction* a : {line_begin_act, line_end_act, word_begin_act, word_end_act, sel_beside_act, sel_all_act,
                       sel_line_act, sel_word_act})
      a->setEnabled(true);
    s->editor_widget()->context_menu_actions();
    return;
  }
  for (QAction* a : {cut_act, copy_act, paste_act, redo_act, undo_act, del_sel_act, line_begin_act, line_end_act,
                     word_begin_act, word_end_act, sel_beside_act, sel_all_act, sel_line_act, sel_word_act, find_act,
                     replace_act, format_sel_act, exec_cur_act, exec_sel_act})
    a->setEnabled(false);
  if (t != ruv::edit_target::grid) return;
  // A result grid selects and copies its own cells.
  const QAbstractItemModel* m = grid->model();
  const bool cells = m && m->rowCount() > 0 && m->columnCount() > 0;
  sel_all_act->setEnabled(cells);
  copy_act->setEnabled(cells);
}

void MainWindow::cut(bool) { route_edit("cut", &ruv::editor::cut, true, nullptr); }
void MainWindow::copy(bool) { route_edit("copy", &ruv::editor::copy, true, copy_cells); }
void MainWindow::paste(bool) { route_edit("paste", &ruv::editor::paste, true, nullptr); }
void MainWindow::redo(bool) { route_edit("redo", &ruv::editor::redo, true, nullptr); }
void MainWindow::undo(bool) { route_edit("undo", &ruv::editor::undo, true, nullptr); }
void MainWindow::del_sel(bool) { route_edit("del_sel", &ruv::editor::del_sel, true, nullptr); }
// Going to the error changes no text and takes the user to it: from wherever the focus is.
void MainWindow::goto_err(bool) { with_editor(current_editor(), &ruv::editor::goto_err, true); }
void MainWindow::goto_lineb(bool) { route_edit("goto_lineb", &ruv::editor::goto_lineb, true, nullptr); }
void MainWindow::goto_linee(bool) { route_edit("goto_linee", &ruv::editor::goto_linee, true, nullptr); }
void MainWindow::goto_wordb(bool) { route_edit("goto_wordb", &ruv::editor::goto_wordb, true, nullptr); }
void MainWindow::goto_worde(bool) { route_edit("goto_worde", &ruv::editor::goto_worde, true, nullptr); }
void MainWindow::sel_all(bool) { route_edit("sel_all", &ruv::editor::sel_all, true, select_cells); }
void MainWindow::sel_beside(bool) { route_edit("sel_beside", &ruv::editor::sel_beside, true, nullptr); }
void MainWindow::sel_line(bool) { route_edit("sel_line", &ruv::editor::sel_line, true, nullptr); }
void MainWindow::sel_word(bool) { route_edit("sel_word", &ruv::editor::sel_word, true, nullptr); }
void MainWindow::find(bool) { route_edit("find", &ruv::editor::find, false, nullptr); }
void MainWindow::replace(bool) { route_edit("replace", &ruv::editor::replace, false, nullptr); }
void MainWindow::format_sel(bool) { route_edit("format_sel", &ruv::editor::format_sel, false, nullptr); }

// A statement runs only from the text the user is looking at.
void MainWindow::exec_cur(bool) {
  slot_guard("exec_cur", [&] {
    if (edit_target_now() != ruv::edit_target::editor) return;
    if (ruv::sql_script_editor* s = current_script()) s->exec_cur(true);
  });
}

void MainWindow::exec_sel(bool) {
  slot_guard("exec_sel", [&] {
    if (edit_target_now() != ruv::edit_target::editor) return;
    if (ruv::sql_script_editor* s = current_script()) s->exec_sel(true);
  });
}
