// The main window's view, language and help slots, the enabled states of the file and edit
// actions by the kind of the current tab, and the editing commands forwarded to the current
// script. The restart and the opening of documents go through recording seams.
#include <QClipboard>
#include <QMenu>
#include <QStandardItemModel>
#include <algorithm>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QTextEdit>
#include <QToolBar>
#include <QTreeWidget>

#include "editor/scroll_area.h"
#include "editor/search_dlg.h"
#include "tests/app/main_window_fixture.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_prompt.h"

using namespace mw_test;

namespace {

void open_through_chooser(MainWindow& w, ruv::test::scripted_prompt& p, const QString& path) {
  p.files.push_back({path});
  action(&w, "open_file_act")->trigger();
}

// The language entries that show a check mark.
QStringList checked_languages(MainWindow& w) {
  QStringList out;
  for (const char* name : {"zh_act", "en_act", "fr_act", "jp_act"})
    if (action(&w, name)->isChecked()) out << name;
  return out;
}

QImage icon_image(const QIcon& i) { return i.pixmap(16, 16).toImage(); }
QImage resource_icon(const char* name) { return icon_image(QIcon(QString(":/img/%1.svg").arg(name))); }

// Names of the actions among `names` whose enabled state is not `on`.
QStringList not_in_state(MainWindow& w, const QStringList& names, bool on) {
  QStringList out;
  for (const QString& n : names)
    if (action(&w, n.toLatin1().constData())->isEnabled() != on) out << n;
  return out;
}

const QStringList script_only = {"line_begin_act", "line_end_act", "word_begin_act", "word_end_act",
                                 "sel_beside_act", "sel_all_act", "sel_line_act", "sel_word_act",
                                 "save_as_act", "print_act", "close_file_act", "close_all_act",
                                 "close_except_act", "find_act", "replace_act", "exec_cur_act"};
// Off for an unmodified script without a selection, and for any other page.
const QStringList off_here = {"cut_act", "copy_act", "del_sel_act", "exec_sel_act", "format_sel_act",
                              "redo_act", "undo_act", "save_file_act", "save_all_act"};

// What overlaps or is squeezed in a script tab as laid out now: the editor's scroll area, the
// execute button and (when shown) the result tabs must each lie inside the tab, apart, at
// least as tall as they need (the area its 200 pixels).
QStringList script_tab_faults(ruv::sql_script_editor* s) {
  QStringList out;
  QWidget* button = s->findChild<QWidget*>("exec_btn");
  const QList<std::pair<const char*, QWidget*>> parts = {
      {"editor", s->area()}, {"execute", button}, {"results", s->result_tabs()}};
  QList<std::pair<const char*, QRect>> shown;
  for (const auto& [name, part] : parts) {
    if (!part->isVisibleTo(s)) continue;
    const QRect r(part->mapTo(s, QPoint(0, 0)), part->size());
    if (!s->rect().contains(r)) out << QString("%1 %2 outside the tab %3").arg(name).arg(QTest::toString(r)).arg(QTest::toString(s->rect()));
    const int need = part == s->area() ? 200 : part->minimumSizeHint().height();
    if (r.height() < need) out << QString("%1 %2 pixels high, needs %3").arg(name).arg(r.height()).arg(need);
    for (const auto& [other, o] : shown)
      if (r.intersects(o)) out << QString("%1 %2 overlaps %3 %4").arg(name, QTest::toString(r), other, QTest::toString(o));
    shown.push_back({name, r});
  }
  return out;
}

}  // namespace

class main_window_view_test : public QObject {
  Q_OBJECT

 private slots:
  void init() { reset_config(); }

  void action_states_follow_the_current_tab() {
    work_dir d;
    ruv::test::scripted_prompt p;
    write_file(d.path("a.sql"), "select 1;");
    auto w = window();
    // No tab.
    QCOMPARE(tabs(*w)->currentIndex(), -1);
    QCOMPARE(not_in_state(*w, script_only + off_here, false), QStringList());
    QVERIFY(action(w.get(), "new_file_act")->isEnabled());

    // A script.
    open_through_chooser(*w, p, d.path("a.sql"));
    QCOMPARE(not_in_state(*w, script_only, true), QStringList());
    QCOMPARE(not_in_state(*w, off_here, false), QStringList());
    QCOMPARE(tabs(*w)->tabBar()->actions().size(), 3);
    type(*w, "x");
    QCOMPARE(not_in_state(*w, {"save_file_act", "save_all_act", "undo_act"}, true), QStringList());

    // Another kind of page: the editing, file and close actions off, save all still on for
    // the modified script, no close entries on the tab bar, the correct icon.
    w->form()->tabWidget->addTab(new QWidget, "a data view");
    w->form()->tabWidget->setCurrentIndex(1);
    QCOMPARE(not_in_state(*w, script_only + off_here + QStringList{"goto_err_act"}, false),
             QStringList({"save_all_act"}));
    QVERIFY(tabs(*w)->tabBar()->actions().isEmpty());
    QCOMPARE(icon_image(w->error_button()->icon()), resource_icon("correct"));

    // Back to the script.
    w->form()->tabWidget->setCurrentIndex(0);
    QCOMPARE(not_in_state(*w, script_only, true), QStringList());
    QCOMPARE(tabs(*w)->tabBar()->actions().size(), 3);
  }

  void script_tab_parts_never_overlap_at_any_window_size() {
    work_dir d;
    ruv::test::scripted_prompt p;
    write_file(d.path("a.sql"), "select 1;\nselect 2;\n");
    auto w = window();
    open_through_chooser(*w, p, d.path("a.sql"));
    ruv::sql_script_editor* s = current(*w);
    QVERIFY(s);
    w->showNormal();
    const QList<QSize> sizes = {{1001, 615}, {0, 0}, {1001, 0}, {1920, 1080}, {640, 480}, {1001, 615}};
    for (bool results : {false, true}) {
      if (results) {
        // A run's result grid below the editor.
        s->result_tabs()->addTab(new QTableView, "select 1");
        s->result_tabs()->show();
      }
      for (const QSize& size : sizes) {
        w->resize(size);  // never below the window's minimum
        for (int i = 0; i < 3; ++i) {
          QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
          QCoreApplication::processEvents();
        }
        const QStringList faults = script_tab_faults(s);
        QVERIFY2(faults.isEmpty(), qPrintable(QString("window %1 x %2%3: %4")
                                                  .arg(w->width()).arg(w->height())
                                                  .arg(results ? ", results shown" : "")
                                                  .arg(faults.join("; "))));
      }
    }
    // The log keeps what is left, and the tab area its form minimum at least.
    QVERIFY(tabs(*w)->minimumHeight() >= 200);
  }

  void the_error_icon_follows_goto_error() {
    auto w = window();
    QAction* goto_err = action(w.get(), "goto_err_act");
    goto_err->setEnabled(true);
    QCOMPARE(icon_image(w->error_button()->icon()), resource_icon("error"));
    goto_err->setEnabled(false);
    QCOMPARE(icon_image(w->error_button()->icon()), resource_icon("correct"));
  }

  void editing_commands_act_on_the_current_script_only() {
    work_dir d;
    ruv::test::scripted_prompt p;
    write_file(d.path("a.sql"), "");
    auto w = window();
    open_through_chooser(*w, p, d.path("a.sql"));
    type(*w, "select 1;");
    ruv::editor* e = current(*w)->editor_widget();
    action(w.get(), "sel_all_act")->trigger();
    QVERIFY(action(w.get(), "del_sel_act")->isEnabled());
    action(w.get(), "del_sel_act")->trigger();
    QCOMPARE(e->text(), QByteArray());
    type(*w, "select 1;");
    action(w.get(), "sel_all_act")->trigger();
    action(w.get(), "copy_act")->trigger();
    action(w.get(), "del_sel_act")->trigger();
    action(w.get(), "paste_act")->trigger();
    action(w.get(), "paste_act")->trigger();
    QCOMPARE(e->text(), QByteArray("select 1;select 1;"));

    // On another page the slots do nothing, whatever calls them.
    w->form()->tabWidget->addTab(new QWidget, "a data view");
    w->form()->tabWidget->setCurrentIndex(1);
    w->sel_all(true);
    w->del_sel(true);
    w->cut(true);
    w->exec_cur(true);
    QCOMPARE(e->text(), QByteArray("select 1;select 1;"));
  }

  // The tester's session: a click in a result grid, then the editing keys. The keys act on
  // the grid (its cells selected and copied) or do nothing; the script never changes, and
  // closing its tab leaves its file as it was.
  void editing_keys_in_a_result_grid_never_touch_the_script() {
    work_dir d;
    ruv::test::scripted_prompt p;
    const QByteArray script("select a, b from t;\nselect 2;\n");
    write_file(d.path("a.sql"), script);
    auto w = window();
    open_through_chooser(*w, p, d.path("a.sql"));
    ruv::sql_script_editor* s = current(*w);
    ruv::editor* e = s->editor_widget();
    auto* grid = new QTableView;
    auto* model = new QStandardItemModel(2, 2, grid);
    const char* const texts[2][2] = {{"1", "x"}, {"2", "y"}};
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 2; ++c) model->setItem(r, c, new QStandardItem(texts[r][c]));
    grid->setModel(model);
    s->result_tabs()->addTab(grid, "select a, b from t;");
    s->result_tabs()->show();
    QApplication::setActiveWindow(w.get());
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QApplication::clipboard()->setText("clipboard before");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                      grid->visualRect(model->index(0, 0)).center());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(grid));

    struct key {
      const char* name;
      Qt::Key k;
      Qt::KeyboardModifiers m;
    };
    const key keys[] = {{"ctrl+a", Qt::Key_A, Qt::ControlModifier}, {"ctrl+c", Qt::Key_C, Qt::ControlModifier},
                        {"delete", Qt::Key_Delete, Qt::NoModifier},  {"ctrl+x", Qt::Key_X, Qt::ControlModifier},
                        {"ctrl+v", Qt::Key_V, Qt::ControlModifier},  {"ctrl+z", Qt::Key_Z, Qt::ControlModifier},
                        {"backspace", Qt::Key_Backspace, Qt::NoModifier}, {"f7", Qt::Key_F7, Qt::NoModifier},
                        {"ctrl+f", Qt::Key_F, Qt::ControlModifier}, {"ctrl+h", Qt::Key_H, Qt::ControlModifier}};
    for (const key& k : keys) {
      QTest::keyClick(QApplication::focusWidget(), k.k, k.m);
      QVERIFY2(e->text() == script, k.name);
      QVERIFY2(e->document().selections.empty(), k.name);
      QVERIFY2(QApplication::focusWidget() == grid, k.name);
      if (k.k == Qt::Key_A) QCOMPARE(grid->selectionModel()->selectedIndexes().size(), 4);
      if (k.k == Qt::Key_C) QCOMPARE(QApplication::clipboard()->text(), QString("1\tx\n2\ty"));
    }
    QVERIFY(!s->search_dialog()->isVisible());
    QVERIFY(p.boxes.empty());  // nothing ran

    // The edit menu's commands, whatever calls them while the grid has the focus, the same.
    using command = void (MainWindow::*)(bool);
    const std::pair<const char*, command> commands[] = {
        {"redo", &MainWindow::redo},         {"undo", &MainWindow::undo},
        {"cut", &MainWindow::cut},           {"paste", &MainWindow::paste},
        {"goto_lineb", &MainWindow::goto_lineb}, {"goto_linee", &MainWindow::goto_linee},
        {"goto_wordb", &MainWindow::goto_wordb}, {"goto_worde", &MainWindow::goto_worde},
        {"sel_beside", &MainWindow::sel_beside}, {"sel_line", &MainWindow::sel_line},
        {"sel_word", &MainWindow::sel_word}, {"del_sel", &MainWindow::del_sel},
        {"exec_sel", &MainWindow::exec_sel}, {"exec_cur", &MainWindow::exec_cur},
        {"format_sel", &MainWindow::format_sel}, {"find", &MainWindow::find},
        {"replace", &MainWindow::replace},   {"sel_all", &MainWindow::sel_all},
        {"copy", &MainWindow::copy}};
    for (const auto& [name, c] : commands) {
      (w.get()->*c)(false);
      QVERIFY2(e->text() == script, name);
      QVERIFY2(e->document().selections.empty(), name);
      QVERIFY2(QApplication::focusWidget() == grid, name);
    }
    QVERIFY(!s->search_dialog()->isVisible());
    QVERIFY(p.boxes.empty());

    // Ctrl+W closes the tab over an unchanged file.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::ControlModifier);
    QCOMPARE(tabs(*w)->count(), 0);
    QCOMPARE(file_bytes(d.path("a.sql")), script);
  }

  // The editing actions offer what the focused widget does: a result grid selects and copies
  // its cells; the editor again everything its state allows.
  void editing_actions_follow_the_focus() {
    work_dir d;
    ruv::test::scripted_prompt p;
    write_file(d.path("a.sql"), "select 1;");
    auto w = window();
    open_through_chooser(*w, p, d.path("a.sql"));
    ruv::sql_script_editor* s = current(*w);
    auto* grid = new QTableView;
    grid->setModel(new QStandardItemModel(1, 1, grid));
    s->result_tabs()->addTab(grid, "select 1;");
    s->result_tabs()->show();
    QApplication::setActiveWindow(w.get());
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    s->editor_widget()->setFocus();
    action(w.get(), "sel_all_act")->trigger();  // the script selected: cut, copy and the rest on
    const QStringList editor_only = {"cut_act", "del_sel_act", "exec_sel_act", "format_sel_act", "line_begin_act",
                                     "line_end_act", "word_begin_act", "word_end_act", "sel_beside_act",
                                     "sel_line_act", "sel_word_act", "find_act", "replace_act", "exec_cur_act"};
    QCOMPARE(not_in_state(*w, editor_only + QStringList{"sel_all_act", "copy_act"}, true), QStringList());
    grid->setFocus();
    QCOMPARE(not_in_state(*w, editor_only, false), QStringList());
    QCOMPARE(not_in_state(*w, {"sel_all_act", "copy_act", "save_as_act", "print_act"}, true), QStringList());
    s->editor_widget()->setFocus();
    QCOMPARE(not_in_state(*w, editor_only + QStringList{"sel_all_act", "copy_act"}, true), QStringList());
  }

  void icon_sizes() {
    struct row {
      const char* act;
      kk::u32 size;
    };
    auto w = window();
    Ui::MainWindow* ui = w->form();
    for (row r : {row{"big_act", 48}, row{"small_act", 24}, row{"normal_act", 32}}) {
      action(w.get(), r.act)->trigger();
      QCOMPARE(sys_config.icon_size, r.size);
      QCOMPARE(ui->toolBar->iconSize(), QSize(r.size, r.size));
      QCOMPARE(ui->treeWidget->iconSize(), QSize(r.size, r.size));
      QCOMPARE(ui->big_act->isChecked(), r.size == 48);
      QCOMPARE(ui->normal_act->isChecked(), r.size == 32);
      QCOMPARE(ui->small_act->isChecked(), r.size == 24);
    }
  }

  void start_up_view() {
    // The icon size is applied at start, a size outside the three is not; the view flags are
    // saved but every start shows everything.
    struct row {
      kk::u32 size;
      const char* checked;
    };
    for (row r : {row{48, "big_act"}, row{24, "small_act"}, row{40, "normal_act"}}) {
      reset_config();
      QMainWindow plain;
      const QSize default_size = plain.addToolBar("plain")->iconSize();
      sys_config.icon_size = r.size;
      sys_config.show_log = sys_config.show_db_tree = sys_config.show_tool_bar = sys_config.show_status_bar = 0;
      auto w = window();
      Ui::MainWindow* ui = w->form();
      for (const char* a : {"big_act", "normal_act", "small_act"})
        QVERIFY2(action(w.get(), a)->isChecked() == (QByteArray(a) == r.checked), a);
      QCOMPARE(ui->toolBar->iconSize(), r.size == 40 ? default_size : QSize(r.size, r.size));
      QCOMPARE(ui->treeWidget->iconSize(), r.size == 40 ? QSize(24, 24) : QSize(r.size, r.size));
      for (QWidget* part : {static_cast<QWidget*>(ui->textEdit), static_cast<QWidget*>(ui->treeWidget),
                            static_cast<QWidget*>(ui->toolBar), static_cast<QWidget*>(ui->statusbar)})
        QVERIFY(part->isVisible());
      for (QAction* a : {ui->log_act, ui->db_act, ui->toolbar_act, ui->statusbar_act}) QVERIFY(a->isChecked());
    }
  }

  void view_flags() {
    auto w = window();
    Ui::MainWindow* ui = w->form();
    struct row {
      QAction* act;
      QWidget* part;
      kk::u8* flag;
    };
    const row rows[] = {
        {ui->db_act, ui->treeWidget, &sys_config.show_db_tree},
        {ui->log_act, ui->textEdit, &sys_config.show_log},
        {ui->statusbar_act, ui->statusbar, &sys_config.show_status_bar},
        {ui->toolbar_act, ui->toolBar, &sys_config.show_tool_bar},
    };
    for (const row& r : rows) {
      r.act->trigger();
      QCOMPARE(*r.flag, kk::u8(0));
      QVERIFY(!r.part->isVisible());
      r.act->trigger();
      QCOMPARE(*r.flag, kk::u8(1));
      QVERIFY(r.part->isVisible());
    }
    // Hidden some other way (its own context menu): the check mark follows.
    ui->toolBar->hide();
    QVERIFY(!ui->toolbar_act->isChecked());
    ui->toolBar->show();
    QVERIFY(ui->toolbar_act->isChecked());

    ui->fullscreen_act->trigger();
    QVERIFY(w->isFullScreen());
    ui->fullscreen_act->trigger();
    QVERIFY(!w->isFullScreen());
    QVERIFY(w->isMaximized());
  }

  void about_and_preferences_run_modally_without_a_parent() {
    ruv::test::scripted_dialogs dialogs;
    QString parent_kind;
    for (int i = 0; i < 2; ++i)
      dialogs.steps.push_back([&](QDialog& d) { parent_kind += d.parentWidget() ? "parent " : "none "; });
    auto w = window();
    w->form()->about_act->trigger();
    w->form()->preference_act->trigger();
    QCOMPARE(dialogs.shown.size(), std::size_t(2));
    QCOMPARE(dialogs.shown[0].class_name, QString("about_dlg"));
    QCOMPARE(dialogs.shown[1].class_name, QString("sys_pre_dlg"));
    QCOMPARE(parent_kind, QString("none none "));
  }

  void language_switch_and_restart() {
    enum class hinder { none, no_answer, script_unsaved, config_unwritable, start_fails };
    struct row {
      const char* name;
      const char* act;
      kk::u32 code;
      hinder h;
      bool started;
    };
    const row rows[] = {
        {"restart", "zh_act", 0, hinder::none, true},
        {"answered No", "fr_act", 2, hinder::no_answer, false},
        {"a script could not be saved", "jp_act", 3, hinder::script_unsaved, false},
        {"config could not be written", "en_act", 1, hinder::config_unwritable, false},
        {"the new process did not start", "zh_act", 0, hinder::start_fails, true},
    };
    for (const row& r : rows) {
      reset_config();
      sys_config.language = r.code == 1 ? 0 : 1;
      work_dir d;
      ruv::test::scripted_prompt p;
      ruv::test::recording_launcher launcher;
      launcher.result = r.h != hinder::start_fails;
      if (r.h == hinder::config_unwritable) QDir(d.path("")).mkdir("config");
      // What the disk holds when the new process starts.
      kk::u32 language_on_disk = 99;
      QByteArray script_on_disk;
      launcher.on_start = [&] {
        sys_config_record read;
        read.language = 99;
        if (load_sys_config(&read, "config")) language_on_disk = read.language;
        script_on_disk = file_bytes(d.path("a.sql"));
      };
      auto w = window();
      write_file(d.path("a.sql"), "");
      write_file(d.path("b.sql"), "");
      open_through_chooser(*w, p, d.path("b.sql"));
      type(*w, "select 2;");
      open_through_chooser(*w, p, d.path("a.sql"));
      if (r.h == hinder::script_unsaved) {
        // A folder in the file's place: its save fails, also for root.
        QFile::remove(d.path("a.sql"));
        QDir().mkdir(d.path("a.sql"));
      }
      type(*w, "select 1;");
      p.answers.push_back(r.h == hinder::no_answer ? QMessageBox::No : QMessageBox::Yes);
      action(w.get(), r.act)->trigger();

      QVERIFY2(sys_config.language == r.code, r.name);
      // The window still speaks the language it started in.
      QVERIFY2(checked_languages(*w) == QStringList{r.code == 1 ? "zh_act" : "en_act"}, r.name);
      const auto question = std::find_if(p.boxes.begin(), p.boxes.end(),
                                         [](const ruv::test::shown_box& b) { return b.title == "language changed"; });
      QVERIFY2(question != p.boxes.end(), r.name);
      QVERIFY2(question->buttons == (QMessageBox::Yes | QMessageBox::No), r.name);
      const bool failure_shown = question + 1 != p.boxes.end() && question[1].title == "restart failed";
      QVERIFY2(failure_shown == (r.h != hinder::none && r.h != hinder::no_answer), r.name);
      QVERIFY2(launcher.started.size() == (r.started ? 1 : 0), r.name);
      if (r.started) {
        QCOMPARE(launcher.started[0], QStringList({QCoreApplication::applicationFilePath()}));
        QCOMPARE(language_on_disk, r.code);
        QCOMPARE(script_on_disk, QByteArray("select 1;"));
      }
      // Not restarted over a script that could not be saved: nothing was written at all.
      if (r.h == hinder::script_unsaved) QCOMPARE(file_bytes(d.path("b.sql")), QByteArray());
      // The program ends only when its successor runs.
      QVERIFY2(launcher.exits == (r.h == hinder::none ? QList<int>{0} : QList<int>{}), r.name);
    }
  }

  // The language menu checks the language the window speaks, and the manual and the
  // reference page are that language's: a switch answered No (or closed) changes neither.
  void the_language_menu_and_help_follow_the_window_language() {
    const char* const acts[] = {"zh_act", "en_act", "fr_act", "jp_act"};
    const char* const folders[] = {"zh", "en", "fr", "jp"};
    for (kk::u32 spoken = 0; spoken < 4; ++spoken) {
      reset_config();
      sys_config.language = spoken;
      work_dir d;
      ruv::test::scripted_prompt p;
      ruv::test::recording_opener opener;
      ruv::test::recording_launcher launcher;
      for (const char* f : folders) {
        QDir(d.path("")).mkpath(QString("doc/") + f);
        write_file(d.path(QString("doc/%1/ruv_cli.pdf").arg(f)), "%PDF");
      }
      auto w = window();
      const QString name = QString("window in %1").arg(folders[spoken]);
      QVERIFY2(checked_languages(*w) == QStringList{acts[spoken]}, qPrintable(name));
      const kk::u32 other = 3 - spoken;
      for (QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::NoButton}) {
        p.answers.push_back(answer);
        action(w.get(), acts[other])->trigger();
        QCOMPARE(sys_config.language, other);  // the next start's
        QVERIFY2(checked_languages(*w) == QStringList{acts[spoken]}, qPrintable(name));
      }
      QVERIFY(launcher.started.isEmpty());
      w->form()->local_act->trigger();
      w->form()->online_act->trigger();
      QCOMPARE(opener.opened.size(), 2);
      QCOMPARE(opener.opened[0], d.path(QString("doc/%1/ruv_cli.pdf").arg(folders[spoken])));
      QVERIFY(opener.opened[1].endsWith(QString("/%1/sql_ref_0.2.3.html").arg(folders[spoken])));
    }
  }

  void language_questions() {
    struct row {
      const char* act;
      const char* text;
    };
    const row rows[] = {
        {"zh_act", "the language change to Chinese, the application need restart, restart now?"},
        {"en_act", "the language change to English, the application need restart, restart now?"},
        {"fr_act", "the language change to Français, the application need restart, restart now?"},
        {"jp_act", "the language change to Japanese, the application need restart, restart now?"},
    };
    ruv::test::scripted_prompt p;
    ruv::test::recording_launcher launcher;
    auto w = window();
    for (const row& r : rows) {
      action(w.get(), r.act)->trigger();  // the default answer: No
      QCOMPARE(p.boxes.back().text, QString::fromUtf8(r.text));
    }
    QVERIFY(launcher.started.isEmpty());
  }

  void local_manual() {
    struct row {
      kk::u32 language;
      const char* folder;  // created under doc/ in the working directory; null: none
      bool opener_ok;
      const char* opened;  // null: nothing opened
      const char* box;     // title of the box shown, null: none
    };
    const row rows[] = {
        {2, "fr", true, "doc/fr/ruv_cli.pdf", nullptr},
        {3, "jp", true, "doc/jp/ruv_cli.pdf", nullptr},
        {1, "zh", true, nullptr, "help information"},  // only another language's manual
        {1, "en", false, "doc/en/ruv_cli.pdf", "help information"},
        {7, "en", true, nullptr, nullptr},
    };
    for (const row& r : rows) {
      reset_config();
      sys_config.language = r.language;
      work_dir d;
      ruv::test::scripted_prompt p;
      ruv::test::recording_opener opener;
      opener.result = r.opener_ok;
      QDir(d.path("")).mkpath(QString("doc/") + r.folder);
      write_file(d.path(QString("doc/%1/ruv_cli.pdf").arg(r.folder)), "%PDF");
      auto w = window();
      w->form()->local_act->trigger();
      QCOMPARE(opener.opened, r.opened ? QStringList({d.path(r.opened)}) : QStringList());
      QCOMPARE(p.boxes.size(), std::size_t(r.box ? 1 : 0));
      if (r.box) QCOMPARE(p.boxes.back().title, QString(r.box));
      if (r.box && !r.opened) {
        // Says where it looked.
        QVERIFY(p.boxes.back().text.contains(d.path("doc/en/ruv_cli.pdf")));
        QCOMPARE(p.boxes.back().text.count("/en/ruv_cli.pdf"), 2);  // and the installed one
      }
    }
  }

  void online_reference() {
    struct row {
      kk::u32 language;
      const char* page;  // null: nothing
    };
    for (row r : {row{0, "/zh/sql_ref_0.2.3.html"}, row{1, "/en/sql_ref_0.2.3.html"}, row{2, "/fr/sql_ref_0.2.3.html"},
                  row{3, "/jp/sql_ref_0.2.3.html"}, row{4, nullptr}}) {
      reset_config();
      sys_config.language = r.language;
      ruv::test::scripted_prompt p;
      ruv::test::recording_opener opener;
      auto w = window();
      w->form()->online_act->trigger();
      if (!r.page) {
        QVERIFY(opener.opened.isEmpty());
        continue;
      }
      QCOMPARE(opener.opened.size(), 1);
      QVERIFY(opener.opened[0].startsWith("https://"));
      QVERIFY(opener.opened[0].endsWith(r.page));
      QVERIFY(p.boxes.empty());
    }
    // A page that could not be opened is said so.
    reset_config();
    ruv::test::scripted_prompt p;
    ruv::test::recording_opener opener;
    opener.result = false;
    auto w = window();
    w->form()->online_act->trigger();
    QCOMPARE(p.boxes.size(), std::size_t(1));
    QVERIFY(p.boxes.back().text.contains(opener.opened.value(0)));
  }
};

QTEST_MAIN(main_window_view_test)
#include "main_window_view_test.moc"
