// The main window's actions, menus, tool bar, recent-files submenu and language marks.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTranslator>
#include <QtTest>
#include <memory>

#include "app/main_window.h"
#include "ui_base/sys_config.h"
#include "ui_main_window.h"

namespace {

std::unique_ptr<MainWindow> window() {
  return std::make_unique<MainWindow>(kk::adt::string_from_cstr("127.0.0.1"), 55555, kk::adt::string::string{},
                                      kk::adt::string::string{}, nullptr);
}

QAction* action(QWidget* w, const char* name) {
  QAction* a = w->findChild<QAction*>(name);
  if (!a) qFatal("no action %s", name);
  return a;
}

// Entries of a menu or tool bar: object names of actions and submenus, "-" for separators.
QStringList entries(const QList<QAction*>& actions) {
  QStringList out;
  for (QAction* a : actions)
    out << (a->isSeparator() ? QString("-") : a->menu() ? a->menu()->objectName() : a->objectName());
  return out;
}

// Changes one shortcut text, as a catalogue may.
class shortcut_translator final : public QTranslator {
 public:
  QString translate(const char* context, const char* source, const char*, int) const override {
    if (QByteArray(context) == "MainWindow" && QByteArray(source) == "ctrl+n") return "ctrl+m";
    return {};
  }
  bool isEmpty() const override { return false; }
};

}  // namespace

class main_window_actions_test : public QObject {
  Q_OBJECT

 private slots:
  void init() { sys_config = sys_config_record{}; }

  void action_table() {
    struct row {
      const char* name;
      const char* text;
      const char* shortcut;  // portable text; "" none
      const char* icon;      // "" none
      bool enabled;
    };
    const row rows[] = {
        {"new_file_act", "new file(&n)", "Ctrl+N", "new_file", true},
        {"open_file_act", "open file(&o)", "Ctrl+O", "open_file", true},
        {"save_file_act", "save file(&s)", "Ctrl+S", "save_file", false},
        {"save_all_act", "save all files(&a)", "Ctrl+Shift+S", "save_all_file", false},
        {"save_as_act", "save as (&b)", "", "", false},
        {"close_file_act", "close file(&c)", "Ctrl+W", "", false},
        {"close_all_act", "close all files(&f)", "Ctrl+Shift+W", "", false},
        {"close_except_act", "close except file(&e)", "", "", false},
        {"print_act", "print file(&p)", "Ctrl+P", "print_file", false},
        {"quit_act", "quit(&q)", "Ctrl+Q", "", true},
        {"refresh_act", "refresh(&r)", "F5", "refresh", true},
        {"create_table_act", "create table(&c)", "F4", "create_table", true},
        {"reconnect_act", "reconnect(&r)", "", "reconnect", true},
        {"status_act", "status(&s)", "", "status", false},
        {"backup_act", "backup(&b)", "", "backup", true},
        {"restore_act", "restore(&r)", "", "restore", true},
        {"exec_sql_act", "execute sql(&e)", "F6", "exe_sql", true},
        {"drop_act", "drop(&d)", "", "drop", false},
        {"truncate_act", "truncate(&t)", "", "truncate_table", false},
        {"new_field_act", "create field(&c)", "", "new_field", false},
        {"view_data_act", "view data(&v)", "", "view_data", false},
        {"view_field_act", "view field(&v)", "", "view_field", false},
        {"import_act", "import(&i)", "", "import", false},
        {"export_act", "export(&e)", "", "export", false},
        {"save_tab_act", "save table(&s)", "", "save_tab", false},
        {"load_tab_act", "load table(&l)", "", "load_tab", true},
        {"delete_col_act", "delete(&d)", "", "delete", false},
        {"rename_col_act", "rename(&r)", "", "rename", false},
        {"modify_col_act", "modify(&m)", "", "modify", false},
        {"cut_act", "cut(&t)", "Ctrl+X", "cut", false},
        {"copy_act", "copy(&c)", "Ctrl+C", "copy", false},
        {"paste_act", "paste(&p)", "Ctrl+V", "paste", false},
        {"redo_act", "redo(&r)", "Ctrl+Y", "redo", false},
        {"undo_act", "undo(&u)", "Ctrl+Z", "undo", false},
        {"goto_err_act", "goto error(&g)", "Ctrl+E", "goto_err", false},
        {"line_begin_act", "line begin", "", "", false},
        {"line_end_act", "line end", "", "", false},
        {"word_begin_act", "word begin", "", "", false},
        {"word_end_act", "word end", "", "", false},
        {"del_sel_act", "delete selection", "", "delete_sel", false},
        {"sel_beside_act", "select beside", "", "", false},
        {"sel_all_act", "select all", "Ctrl+A", "", false},
        {"sel_line_act", "select line", "", "", false},
        {"sel_word_act", "select word", "", "", false},
        {"find_act", "find", "Ctrl+F", "find", false},
        {"replace_act", "replace", "Ctrl+H", "replace", false},
        {"exec_sel_act", "execute selection", "", "exe_sel", false},
        {"exec_cur_act", "execute current line", "F7", "exe_cur", false},
        {"format_sel_act", "format selection", "", "format", false},
    };
    auto w = window();
    for (const row& r : rows) {
      QAction* a = action(w.get(), r.name);
      QCOMPARE(a->parent(), static_cast<QObject*>(w.get()));
      QCOMPARE(a->text(), QString(r.text));
      QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), QString(r.shortcut));
      QVERIFY2(a->icon().isNull() == !*r.icon, r.name);
      if (*r.icon) {
        const QImage want = QIcon(QString(":/img/%1.svg").arg(r.icon)).pixmap(16, 16).toImage();
        QVERIFY2(a->icon().pixmap(16, 16).toImage() == want, r.name);
      }
      QVERIFY2(a->isEnabled() == r.enabled, r.name);
    }
  }

  void menus_and_tool_bar() {
    auto w = window();
    Ui::MainWindow* ui = w->form();
    QCOMPARE(entries(ui->file_menu->actions()),
             QStringList({"new_file_act", "open_file_act", "recent_menu", "-", "close_file_act", "close_all_act",
                          "close_except_act", "-", "save_file_act", "save_as_act", "save_all_act", "-", "print_act",
                          "-", "quit_act"}));
    QCOMPARE(w->findChild<QMenu*>("recent_menu")->title(), QString("open recent files(&r)"));
    QCOMPARE(entries(ui->db_menu->actions()),
             QStringList({"refresh_act", "create_table_act", "reconnect_act", "status_act", "backup_act",
                          "restore_act", "exec_sql_act", "drop_act", "truncate_act", "-", "new_field_act",
                          "view_data_act", "view_field_act", "import_act", "export_act", "save_tab_act",
                          "load_tab_act", "-", "delete_col_act", "rename_col_act", "modify_col_act"}));
    QCOMPARE(entries(ui->edit_menu->actions()),
             QStringList({"redo_act", "undo_act", "-", "cut_act", "copy_act", "paste_act", "-", "goto_err_act",
                          "line_begin_act", "line_end_act", "word_begin_act", "word_end_act", "-", "sel_beside_act",
                          "sel_all_act", "sel_line_act", "sel_word_act", "-", "del_sel_act", "exec_sel_act",
                          "exec_cur_act", "format_sel_act", "-", "find_act", "replace_act"}));
    QCOMPARE(entries(ui->view_menu->actions()),
             QStringList({"icon_menu", "-", "window_menu", "toolbar_act", "statusbar_act", "-", "fullscreen_act"}));
    QCOMPARE(entries(ui->opt_menu->actions()), QStringList({"lang_menu", "-", "preference_act"}));
    QCOMPARE(entries(ui->help_menu->actions()), QStringList({"doc_menu", "-", "update_act", "-", "about_act"}));
    QCOMPARE(entries(ui->toolBar->actions()),
             QStringList({"new_file_act", "open_file_act", "save_file_act", "save_all_act", "-", "refresh_act",
                          "create_table_act", "reconnect_act", "status_act", "backup_act", "restore_act",
                          "exec_sql_act", "load_tab_act", "-", "save_tab_act", "drop_act", "new_field_act",
                          "view_data_act", "truncate_act", "view_field_act", "import_act", "export_act", "-",
                          "delete_col_act", "rename_col_act", "modify_col_act"}));
    QCOMPARE(entries(ui->tabWidget->tabBar()->actions()),
             QStringList({"close_file_act", "close_all_act", "close_except_act"}));
    QCOMPARE(ui->tabWidget->tabBar()->contextMenuPolicy(), Qt::ActionsContextMenu);
  }

  void recent_files_submenu() {
    auto empty = window();
    QVERIFY(empty->findChild<QMenu*>("recent_menu")->actions().isEmpty());

    sys_config.recent_files.push_back(kk::adt::string_from_cstr("/tmp/new.sql"));
    sys_config.recent_files.push_back(kk::adt::string_from_cstr("/tmp/R&D/old.sql"));
    auto w = window();
    QMenu* recent = w->findChild<QMenu*>("recent_menu");
    const QList<QAction*> acts = recent->actions();
    QCOMPARE(acts.size(), 4);
    QCOMPARE(acts[0]->data().toString(), QString("/tmp/new.sql"));
    QCOMPARE(acts[1]->data().toString(), QString("/tmp/R&D/old.sql"));
    QCOMPARE(acts[1]->text(), QString("/tmp/R&&D/old.sql"));  // shown with its "&", no mnemonic
    QVERIFY(acts[2]->isSeparator());
    QCOMPARE(acts[3]->text(), QString("clear file list"));
    acts[3]->trigger();
    QVERIFY(recent->actions().isEmpty());
    QCOMPARE(sys_config.recent_files.count, kk::u64(0));
  }

  // The language the window speaks is checked, whichever of the four it is, and only it.
  void language_marks() {
    struct row {
      kk::u32 language;
      const char* checked;  // null: none
    };
    for (row r : {row{0, "zh_act"}, row{1, "en_act"}, row{2, "fr_act"}, row{3, "jp_act"}, row{7, nullptr}}) {
      sys_config.language = r.language;
      auto w = window();
      QStringList checked;
      for (QAction* a : {w->form()->zh_act, w->form()->en_act, w->form()->fr_act, w->form()->jp_act}) {
        QVERIFY(a->isCheckable());
        if (a->isChecked()) checked << a->objectName();
      }
      QCOMPARE(checked, r.checked ? QStringList{r.checked} : QStringList{});
    }
  }

  void shortcut_texts_pass_through_the_catalogue() {
    shortcut_translator t;
    qApp->installTranslator(&t);
    auto w = window();
    qApp->removeTranslator(&t);
    QCOMPARE(action(w.get(), "new_file_act")->shortcut(), QKeySequence("Ctrl+M"));
    QCOMPARE(action(w.get(), "open_file_act")->shortcut(), QKeySequence("Ctrl+O"));
  }

  void quit_closes_the_window() {
    auto w = window();
    QVERIFY(w->isVisible());
    action(w.get(), "quit_act")->trigger();
    QVERIFY(!w->isVisible());
  }
};

QTEST_MAIN(main_window_actions_test)
#include "main_window_actions_test.moc"
