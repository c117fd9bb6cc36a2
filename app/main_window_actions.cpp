// The main window's own actions, menus and tool bar.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTabBar>

#include "app/about_dlg.h"
#include "app/main_window.h"
#include "ui_base/dialogs.h"
#include "ui_base/slot_guard.h"
#include "ui_base/sys_config.h"
#include "ui_main_window.h"

// One builder action: its member, text, shortcut text, icon, whether it starts enabled, and
// its slot.
struct MainWindow::action_row {
  QAction* MainWindow::*member;
  const char* name;
  const char* text;
  const char* shortcut;
  const char* icon;
  bool enabled;
  void (MainWindow::*slot)(bool);
};

void MainWindow::make_actions(const action_row* rows, std::size_t n) {
  for (const action_row* r = rows; r != rows + n; ++r) {
    auto* a = new QAction(this);
    a->setObjectName(QString::fromLatin1(r->name));
    a->setText(tr(r->text));
    // The shortcut text passes through the catalogue too, so a translation may change it.
    if (r->shortcut) a->setShortcut(QKeySequence(tr(r->shortcut)));
    if (r->icon) a->setIcon(QIcon(QString::fromLatin1(r->icon)));
    a->setEnabled(r->enabled);
    connect(a, &QAction::triggered, this, r->slot);
    this->*r->member = a;
  }
}

#define ACT(m, text, shortcut, icon, on, slot) \
  { &MainWindow::m, #m, text, shortcut, icon, on, &MainWindow::slot }

void MainWindow::build_database_actions() {
  static const action_row rows[] = {
      ACT(refresh_act, QT_TR_NOOP("refresh(&r)"), QT_TR_NOOP("f5"), ":/img/refresh.svg", true, refresh),
      ACT(create_table_act, QT_TR_NOOP("create table(&c)"), QT_TR_NOOP("f4"), ":/img/create_table.svg", true, create_table),
      ACT(reconnect_act, QT_TR_NOOP("reconnect(&r)"), nullptr, ":/img/reconnect.svg", true, reconnect),
      ACT(status_act, QT_TR_NOOP("status(&s)"), nullptr, ":/img/status.svg", false, status),
      ACT(backup_act, QT_TR_NOOP("backup(&b)"), nullptr, ":/img/backup.svg", true, backup),
      ACT(restore_act, QT_TR_NOOP("restore(&r)"), nullptr, ":/img/restore.svg", true, restore),
      ACT(exec_sql_act, QT_TR_NOOP("execute sql(&e)"), QT_TR_NOOP("f6"), ":/img/exe_sql.svg", true, exec_sql),
  };
  make_actions(rows, std::size(rows));
}

void MainWindow::build_table_actions() {
  static const action_row rows[] = {
      ACT(drop_act, QT_TR_NOOP("drop(&d)"), nullptr, ":/img/drop.svg", true, drop_table),
      ACT(truncate_act, QT_TR_NOOP("truncate(&t)"), nullptr, ":/img/truncate_table.svg", true, truncate_table),
      ACT(new_field_act, QT_TR_NOOP("create field(&c)"), nullptr, ":/img/new_field.svg", true, new_field),
      ACT(view_data_act, QT_TR_NOOP("view data(&v)"), nullptr, ":/img/view_data.svg", true, view_data),
      ACT(view_field_act, QT_TR_NOOP("view field(&v)"), nullptr, ":/img/view_field.svg", true, view_cols),
      ACT(import_act, QT_TR_NOOP("import(&i)"), nullptr, ":/img/import.svg", true, import_data),
      ACT(export_act, QT_TR_NOOP("export(&e)"), nullptr, ":/img/export.svg", true, export_data),
      ACT(save_tab_act, QT_TR_NOOP("save table(&s)"), nullptr, ":/img/save_tab.svg", true, save),
      ACT(load_tab_act, QT_TR_NOOP("load table(&l)"), nullptr, ":/img/load_tab.svg", true, load),
  };
  make_actions(rows, std::size(rows));
}

void MainWindow::build_field_actions() {
  static const action_row rows[] = {
      ACT(delete_col_act, QT_TR_NOOP("delete(&d)"), nullptr, ":/img/delete.svg", true, delete_col),
      ACT(rename_col_act, QT_TR_NOOP("rename(&r)"), nullptr, ":/img/rename.svg", true, rename_col),
      ACT(modify_col_act, QT_TR_NOOP("modify(&m)"), nullptr, ":/img/modify.svg", true, modify_col),
  };
  make_actions(rows, std::size(rows));
}

void MainWindow::build_edit_actions() {
  static const action_row rows[] = {
      ACT(cut_act, QT_TR_NOOP("cut(&t)"), QT_TR_NOOP("ctrl+x"), ":/img/cut.svg", false, cut),
      ACT(copy_act, QT_TR_NOOP("copy(&c)"), QT_TR_NOOP("ctrl+c"), ":/img/copy.svg", false, copy),
      ACT(paste_act, QT_TR_NOOP("paste(&p)"), QT_TR_NOOP("ctrl+v"), ":/img/paste.svg", false, paste),
      ACT(redo_act, QT_TR_NOOP("redo(&r)"), QT_TR_NOOP("ctrl+y"), ":/img/redo.svg", false, redo),
      ACT(undo_act, QT_TR_NOOP("undo(&u)"), QT_TR_NOOP("ctrl+z"), ":/img/undo.svg", false, undo),
      ACT(goto_err_act, QT_TR_NOOP("goto error(&g)"), QT_TR_NOOP("ctrl+e"), ":/img/goto_err.svg", false, goto_err),
      ACT(line_begin_act, QT_TR_NOOP("line begin"), nullptr, nullptr, false, goto_lineb),
      ACT(line_end_act, QT_TR_NOOP("line end"), nullptr, nullptr, false, goto_linee),
      ACT(word_begin_act, QT_TR_NOOP("word begin"), nullptr, nullptr, false, goto_wordb),
      ACT(word_end_act, QT_TR_NOOP("word end"), nullptr, nullptr, false, goto_worde),
      ACT(del_sel_act, QT_TR_NOOP("delete selection"), nullptr, ":/img/delete_sel.svg", false, del_sel),
      ACT(sel_beside_act, QT_TR_NOOP("select beside"), nullptr, nullptr, false, sel_beside),
      ACT(sel_all_act, QT_TR_NOOP("select all"), QT_TR_NOOP("ctrl+a"), nullptr, false, sel_all),
      ACT(sel_line_act, QT_TR_NOOP("select line"), nullptr, nullptr, false, sel_line),
      ACT(sel_word_act, QT_TR_NOOP("select word"), nullptr, nullptr, false, sel_word),
      ACT(find_act, QT_TR_NOOP("find"), QT_TR_NOOP("ctrl+f"), ":/img/find.svg", false, find),
      ACT(replace_act, QT_TR_NOOP("replace"), QT_TR_NOOP("ctrl+h"), ":/img/replace.svg", false, replace),
      ACT(exec_sel_act, QT_TR_NOOP("execute selection"), nullptr, ":/img/exe_sel.svg", false, exec_sel),
      ACT(exec_cur_act, QT_TR_NOOP("execute current line"), QT_TR_NOOP("f7"), ":/img/exe_cur.svg", false, exec_cur),
      ACT(format_sel_act, QT_TR_NOOP("format selection"), nullptr, ":/img/format.svg", false, format_sel),
  };
  make_actions(rows, std::size(rows));
  // The editing commands act where the keyboard focus is: the actions follow it.
  connect(qApp, &QApplication::focusChanged, &focus_watch_,
          [this](QWidget* old, QWidget* now) { focus_moved(old, now); });
}

void MainWindow::build_file_actions() {
  static const action_row rows[] = {
      ACT(new_file_act, QT_TR_NOOP("new file(&n)"), QT_TR_NOOP("ctrl+n"), ":/img/new_file.svg", true, new_file),
      ACT(open_file_act, QT_TR_NOOP("open file(&o)"), QT_TR_NOOP("ctrl+o"), ":/img/open_file.svg", true, open_file),
      ACT(save_file_act, QT_TR_NOOP("save file(&s)"), QT_TR_NOOP("ctrl+s"), ":/img/save_file.svg", false, save_file),
      ACT(save_all_act, QT_TR_NOOP("save all files(&a)"), QT_TR_NOOP("ctrl+shift+s"), ":/img/save_all_file.svg", false, save_all_files),
      ACT(save_as_act, QT_TR_NOOP("save as (&b)"), nullptr, nullptr, false, save_file_as),
      ACT(close_file_act, QT_TR_NOOP("close file(&c)"), QT_TR_NOOP("ctrl+w"), nullptr, false, close_file),
      ACT(close_all_act, QT_TR_NOOP("close all files(&f)"), QT_TR_NOOP("ctrl+shift+w"), nullptr, false, close_all_files),
      ACT(close_except_act, QT_TR_NOOP("close except file(&e)"), nullptr, nullptr, false, close_files_except),
      ACT(print_act, QT_TR_NOOP("print file(&p)"), QT_TR_NOOP("ctrl+p"), ":/img/print_file.svg", false, print),
      ACT(quit_act, QT_TR_NOOP("quit(&q)"), QT_TR_NOOP("ctrl+q"), nullptr, true, quit),
  };
  make_actions(rows, std::size(rows));
  // Whether any script is modified follows the save action's enabled state.
  connect(save_file_act, &QAction::changed, this, &MainWindow::change_save_all);
  recent_menu = new QMenu(tr("open recent files(&r)"), this);
  recent_menu->setObjectName(QStringLiteral("recent_menu"));
}

#undef ACT

void MainWindow::fill_recent_menu() {
  for (auto* n = sys_config.recent_files.head; n; n = n->next) {
    const QString path = QString::fromUtf8(n->value.data, static_cast<int>(n->value.size));
    auto* a = new QAction(recent_menu);
    // The text shows the path as it is ("&" included); the path itself travels in data().
    a->setText(QString(path).replace(QLatin1Char('&'), QLatin1String("&&")));
    a->setData(path);
    connect(a, &QAction::triggered, this, &MainWindow::open_recent);
    recent_menu->addAction(a);
  }
  if (recent_menu->actions().isEmpty()) return;
  recent_menu->addSeparator();
  auto* clear = recent_menu->addAction(tr("clear file list"));
  clear->setObjectName(QStringLiteral("clear_recent_act"));
  connect(clear, &QAction::triggered, this, &MainWindow::cls_recent);
}

void MainWindow::fill_menus_and_tool_bar() {
  QToolBar* t = ui->toolBar;
  t->addActions({new_file_act, open_file_act, save_file_act, save_all_act});
  t->addSeparator();
  t->addActions({refresh_act, create_table_act, reconnect_act, status_act, backup_act, restore_act, exec_sql_act,
                 load_tab_act});
  t->addSeparator();
  t->addActions({save_tab_act, drop_act, new_field_act, view_data_act, truncate_act, view_field_act, import_act,
                 export_act});
  t->addSeparator();
  t->addActions({delete_col_act, rename_col_act, modify_col_act});

  QMenu* f = ui->file_menu;
  f->addActions({new_file_act, open_file_act});
  f->addMenu(recent_menu);
  fill_recent_menu();
  f->addSeparator();
  f->addActions({close_file_act, close_all_act, close_except_act});
  f->addSeparator();
  f->addActions({save_file_act, save_as_act, save_all_act});
  f->addSeparator();
  f->addAction(print_act);
  f->addSeparator();
  f->addAction(quit_act);

  QMenu* d = ui->db_menu;
  d->addActions({refresh_act, create_table_act, reconnect_act, status_act, backup_act, restore_act, exec_sql_act,
                 drop_act, truncate_act});
  d->addSeparator();
  d->addActions({new_field_act, view_data_act, view_field_act, import_act, export_act, save_tab_act, load_tab_act});
  d->addSeparator();
  d->addActions({delete_col_act, rename_col_act, modify_col_act});

  QMenu* e = ui->edit_menu;
  e->addActions({redo_act, undo_act});
  e->addSeparator();
  e->addActions({cut_act, copy_act, paste_act});
  e->addSeparator();
  e->addActions({goto_err_act, line_begin_act, line_end_act, word_begin_act, word_end_act});
  e->addSeparator();
  e->addActions({sel_beside_act, sel_all_act, sel_line_act, sel_word_act});
  e->addSeparator();
  e->addActions({del_sel_act, exec_sel_act, exec_cur_act, format_sel_act});
  e->addSeparator();
  e->addActions({find_act, replace_act});
}

void MainWindow::connect_form_actions() {
  const std::pair<QAction*, void (MainWindow::*)(bool)> form_slots[] = {
      {ui->big_act, &MainWindow::view_big},
      {ui->normal_act, &MainWindow::view_normal},
      {ui->small_act, &MainWindow::view_small},
      {ui->db_act, &MainWindow::view_db},
      {ui->log_act, &MainWindow::view_log},
      {ui->toolbar_act, &MainWindow::view_toolbar},
      {ui->statusbar_act, &MainWindow::view_statusbar},
      {ui->fullscreen_act, &MainWindow::view_fullscreen},
      {ui->about_act, &MainWindow::about},
      {ui->online_act, &MainWindow::help_online},
      {ui->local_act, &MainWindow::help_local},
      {ui->update_act, qOverload<bool>(&MainWindow::update)},
      {ui->preference_act, &MainWindow::preference},
      {ui->zh_act, &MainWindow::lang_zh},
      {ui->en_act, &MainWindow::lang_en},
      {ui->fr_act, &MainWindow::lang_fr},
      {ui->jp_act, &MainWindow::lang_jp},
  };
  for (const auto& [action, slot] : form_slots) connect(action, &QAction::triggered, this, slot);
  // The window speaks the language configured at its start; a switch applies at the next.
  window_language = sys_config.language;
  check_window_language();
}

void MainWindow::check_window_language() {
  QAction* const order[] = {ui->zh_act, ui->en_act, ui->fr_act, ui->jp_act};
  for (kk::u32 code = 0; code < std::size(order); ++code) order[code]->setChecked(code == window_language);
}

void MainWindow::disable_tree_actions() {
  for (QAction* a : {drop_act, truncate_act, new_field_act, view_data_act, view_field_act, import_act, export_act,
                     save_tab_act, delete_col_act, rename_col_act, modify_col_act})
    a->setEnabled(false);
}

void MainWindow::cls_recent(bool) {
  sys_config.recent_files.clear();
  recent_menu->clear();
}

void MainWindow::status(bool) {}

void MainWindow::quit(bool) { close(); }

void MainWindow::about(bool) {
  slot_guard("about", [&] {
    about_dlg d(nullptr);
    ruv::run_dialog(d);
  });
}
