// The main window's own actions, menus and tool bar.
#include <QAction>
#include <QMenu>
#include <QTabBar>

#include "app/about_dlg.h"
#include "app/main_window.h"
#include "app/sys_config.h"
#include "ui_main_window.h"

namespace {

// One builder action: its member, text, shortcut text, icon and whether it starts enabled.
struct action_row {
  QAction* MainWindow::*member;
  const char* name;
  const char* text;
  const char* shortcut;
  const char* icon;
  bool enabled;
};

}  // namespace

QAction* MainWindow::make_action(const char* name, const char* text, const char* shortcut, const char* icon,
                                 bool enabled) {
  auto* a = new QAction(this);
  a->setObjectName(QString::fromLatin1(name));
  a->setText(tr(text));
  // The shortcut text passes through the catalogue too, so a translation may change it.
  if (shortcut) a->setShortcut(QKeySequence(tr(shortcut)));
  if (icon) a->setIcon(QIcon(QString::fromLatin1(icon)));
  a->setEnabled(enabled);
  return a;
}

#define ACT(m, text, shortcut, icon, on) \
  { &MainWindow::m, #m, text, shortcut, icon, on }

void MainWindow::build_database_actions() {
  static const action_row rows[] = {
      ACT(refresh_act, QT_TR_NOOP("refresh(&r)"), QT_TR_NOOP("f5"), ":/img/refresh.svg", true),
      ACT(create_table_act, QT_TR_NOOP("create table(&c)"), QT_TR_NOOP("f4"), ":/img/create_table.svg", true),
      ACT(reconnect_act, QT_TR_NOOP("reconnect(&r)"), nullptr, ":/img/reconnect.svg", true),
      ACT(status_act, QT_TR_NOOP("status(&s)"), nullptr, ":/img/status.svg", false),
      ACT(backup_act, QT_TR_NOOP("backup(&b)"), nullptr, ":/img/backup.svg", true),
      ACT(restore_act, QT_TR_NOOP("restore(&r)"), nullptr, ":/img/restore.svg", true),
      ACT(exec_sql_act, QT_TR_NOOP("execute sql(&e)"), QT_TR_NOOP("f6"), ":/img/exe_sql.svg", true),
  };
  for (const action_row& r : rows) this->*r.member = make_action(r.name, r.text, r.shortcut, r.icon, r.enabled);
  connect(status_act, &QAction::triggered, this, &MainWindow::status);
}

void MainWindow::build_table_actions() {
  static const action_row rows[] = {
      ACT(drop_act, QT_TR_NOOP("drop(&d)"), nullptr, ":/img/drop.svg", true),
      ACT(truncate_act, QT_TR_NOOP("truncate(&t)"), nullptr, ":/img/truncate_table.svg", true),
      ACT(new_field_act, QT_TR_NOOP("create field(&c)"), nullptr, ":/img/new_field.svg", true),
      ACT(view_data_act, QT_TR_NOOP("view data(&v)"), nullptr, ":/img/view_data.svg", true),
      ACT(view_field_act, QT_TR_NOOP("view field(&v)"), nullptr, ":/img/view_field.svg", true),
      ACT(import_act, QT_TR_NOOP("import(&i)"), nullptr, ":/img/import.svg", true),
      ACT(export_act, QT_TR_NOOP("export(&e)"), nullptr, ":/img/export.svg", true),
      ACT(save_tab_act, QT_TR_NOOP("save table(&s)"), nullptr, ":/img/save_tab.svg", true),
      ACT(load_tab_act, QT_TR_NOOP("load table(&l)"), nullptr, ":/img/load_tab.svg", true),
  };
  for (const action_row& r : rows) this->*r.member = make_action(r.name, r.text, r.shortcut, r.icon, r.enabled);
}

void MainWindow::build_field_actions() {
  static const action_row rows[] = {
      ACT(delete_col_act, QT_TR_NOOP("delete(&d)"), nullptr, ":/img/delete.svg", true),
      ACT(rename_col_act, QT_TR_NOOP("rename(&r)"), nullptr, ":/img/rename.svg", true),
      ACT(modify_col_act, QT_TR_NOOP("modify(&m)"), nullptr, ":/img/modify.svg", true),
  };
  for (const action_row& r : rows) this->*r.member = make_action(r.name, r.text, r.shortcut, r.icon, r.enabled);
}

void MainWindow::build_edit_actions() {
  static const action_row rows[] = {
      ACT(cut_act, QT_TR_NOOP("cut(&t)"), QT_TR_NOOP("ctrl+x"), ":/img/cut.svg", false),
      ACT(copy_act, QT_TR_NOOP("copy(&c)"), QT_TR_NOOP("ctrl+c"), ":/img/copy.svg", false),
      ACT(paste_act, QT_TR_NOOP("paste(&p)"), QT_TR_NOOP("ctrl+v"), ":/img/paste.svg", false),
      ACT(redo_act, QT_TR_NOOP("redo(&r)"), QT_TR_NOOP("ctrl+y"), ":/img/redo.svg", false),
      ACT(undo_act, QT_TR_NOOP("undo(&u)"), QT_TR_NOOP("ctrl+z"), ":/img/undo.svg", false),
      ACT(goto_err_act, QT_TR_NOOP("goto error(&g)"), QT_TR_NOOP("ctrl+e"), ":/img/goto_err.svg", false),
      ACT(line_begin_act, QT_TR_NOOP("line begin"), nullptr, nullptr, false),
      ACT(line_end_act, QT_TR_NOOP("line end"), nullptr, nullptr, false),
      ACT(word_begin_act, QT_TR_NOOP("word begin"), nullptr, nullptr, false),
      ACT(word_end_act, QT_TR_NOOP("word end"), nullptr, nullptr, false),
      ACT(del_sel_act, QT_TR_NOOP("delete selection"), nullptr, ":/img/delete_sel.svg", false),
      ACT(sel_beside_act, QT_TR_NOOP("select beside"), nullptr, nullptr, false),
      ACT(sel_all_act, QT_TR_NOOP("select all"), QT_TR_NOOP("ctrl+a"), nullptr, false),
      ACT(sel_line_act, QT_TR_NOOP("select line"), nullptr, nullptr, false),
      ACT(sel_word_act, QT_TR_NOOP("select word"), nullptr, nullptr, false),
      ACT(find_act, QT_TR_NOOP("find"), QT_TR_NOOP("ctrl+f"), ":/img/find.svg", false),
      ACT(replace_act, QT_TR_NOOP("replace"), QT_TR_NOOP("ctrl+h"), ":/img/replace.svg", false),
      ACT(exec_sel_act, QT_TR_NOOP("execute selection"), nullptr, ":/img/exe_sel.svg", false),
      ACT(exec_cur_act, QT_TR_NOOP("execute current line"), QT_TR_NOOP("f7"), ":/img/exe_cur.svg", false),
      ACT(format_sel_act, QT_TR_NOOP("format selection"), nullptr, ":/img/format.svg", false),
  };
  for (const action_row& r : rows) this->*r.member = make_action(r.name, r.text, r.shortcut, r.icon, r.enabled);
}

void MainWindow::build_file_actions() {
  static const action_row rows[] = {
      ACT(new_file_act, QT_TR_NOOP("new file(&n)"), QT_TR_NOOP("ctrl+n"), ":/img/new_file.svg", true),
      ACT(open_file_act, QT_TR_NOOP("open file(&o)"), QT_TR_NOOP("ctrl+o"), ":/img/open_file.svg", true),
      ACT(save_file_act, QT_TR_NOOP("save file(&s)"), QT_TR_NOOP("ctrl+s"), ":/img/save_file.svg", false),
      ACT(save_all_act, QT_TR_NOOP("save all files(&a)"), QT_TR_NOOP("ctrl+shift+s"), ":/img/save_all_file.svg", false),
      ACT(save_as_act, QT_TR_NOOP("save as (&b)"), nullptr, nullptr, false),
      ACT(close_file_act, QT_TR_NOOP("close file(&c)"), QT_TR_NOOP("ctrl+w"), nullptr, false),
      ACT(close_all_act, QT_TR_NOOP("close all files(&f)"), QT_TR_NOOP("ctrl+shift+w"), nullptr, false),
      ACT(close_except_act, QT_TR_NOOP("close except file(&e)"), nullptr, nullptr, false),
      ACT(print_act, QT_TR_NOOP("print file(&p)"), QT_TR_NOOP("ctrl+p"), ":/img/print_file.svg", false),
      ACT(quit_act, QT_TR_NOOP("quit(&q)"), QT_TR_NOOP("ctrl+q"), nullptr, true),
  };
  for (const action_row& r : rows) this->*r.member = make_action(r.name, r.text, r.shortcut, r.icon, r.enabled);
  recent_menu = new QMenu(tr("open recent files(&r)"), this);
  recent_menu->setObjectName(QStringLiteral("recent_menu"));
  connect(quit_act, &QAction::triggered, this, &MainWindow::quit);
}

#undef ACT

void MainWindow::fill_recent_menu() {
  for (auto* n = sys_config.recent_files.head; n; n = n->next) {
    const QString path = QString::fromUtf8(n->value.data, static_cast<int>(n->value.size));
    auto* a = new QAction(recent_menu);
    // The text shows the path as it is ("&" included); the path itself travels in data().
    a->setText(QString(path).replace(QLatin1Char('&'), QLatin1String("&&")));
    a->setData(path);
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
  connect(ui->update_act, &QAction::triggered, this, qOverload<bool>(&MainWindow::update));
  connect(ui->about_act, &QAction::triggered, this, &MainWindow::about);
  ui->zh_act->setChecked(sys_config.language == 0);
  ui->en_act->setChecked(sys_config.language == 1);
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
  about_dlg d(nullptr);
  d.exec();
}
