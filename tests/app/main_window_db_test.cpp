// The main window's database tree and its operations against the catalogue test server:
// the tree and its caches, the context actions, the pages of one table and when a refresh
// closes them, the destructive operations, the field editor pages, the script file run, the
// transfers through their dialogs, and the reconnect. Every box, chooser and dialog goes
// through the seams; no modal loop runs.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <deque>
#include <functional>
#include <memory>

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/main_window.h"
#include "ui_base/sys_config.h"
#include "dataview/data_view.h"
#include "dataview/search_tab_dlg.h"
#include "dbops/col_info.h"
#include "editor/editor.h"
#include "script_tab/sql_script_editor.h"
#include "sqllib/library_startup.h"
#include "query/tab_data_model.h"
#include "tests/dbops/dbops_support.h"
#include "tests/peer/catalogue.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_prompt.h"
#include "ui_main_window.h"
#include "tests/support/child.h"

namespace {

using peer::ftype;

using ruv::test::child;

const QString stamp = QStringLiteral("24-05-09_14_03_07");

bool same_icon(const QIcon& a, const char* resource) {
  return a.pixmap(16, 16).toImage() == QIcon(QString::fromLatin1(resource)).pixmap(16, 16).toImage();
}

QStringList names_of(const MainWindow::name_vector& v) {
  QStringList out;
  for (const auto& s : v) out << QString::fromUtf8(s.data, int(s.size));
  return out;
}

struct fixture {
  peer::catalogue db;  // outlives the peer inside srv
  dbops_test::server srv;
  ruv::test::scripted_prompt prompt;
  ruv::test::scripted_dialogs dialogs;
  ruv::test::fixed_clock clock{QDateTime(QDate(2024, 5, 9), QTime(14, 3, 7))};
  std::unique_ptr<MainWindow> w;
  int mark = 0;  // statements before it are no longer looked at

  fixture() { db.install(srv.peer); }
  ~fixture() {
    w.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  void open() {
    w = std::make_unique<MainWindow>(kk::adt::string_from_cstr("127.0.0.1"), srv.peer.port(),
                                     kk::adt::string_from_cstr("u"), kk::adt::string_from_cstr("p"), nullptr);
    since_now();
  }
  Ui::MainWindow* ui() const { return w->form(); }
  QTreeWidget* tree() const { return ui()->treeWidget; }
  QTabWidget* tabs() const { return ui()->tabWidget; }
  void since_now() {
    mark = int(srv.statements().size());
    prompt.boxes.clear();
    prompt.choosers.clear();
    dialogs.shown.clear();
  }
  // Statements since the mark, the tree's own refresh statements left out.
  QStringList sent() const {
    QStringList out;
    for (const QString& s : srv.statements().mid(mark))
      if (s != "show tables;" && !s.startsWith("fields_of ")) out << s;
    return out;
  }
  int refreshes() const { return int(srv.statements().mid(mark).count("show tables;")); }
  QStringList boxes() const {
    QStringList out;
    for (const auto& b : prompt.boxes) out << b.title + " | " + b.text;
    return out;
  }
  QStringList titles() const {
    QStringList out;
    for (int i = 0; i < tabs()->count(); ++i) out << tabs()->tabText(i);
    return out;
  }
  void trigger(const char* action) { child<QAction>(w.get(), action)->trigger(); }
  QTreeWidgetItem* item(const QStringList& path) const { return dbops_test::find_item(tree(), path); }
  void select(const QStringList& path) {
    QTreeWidgetItem* it = item(path);
    if (!it) qFatal("no tree item %s", qPrintable(path.join('/')));
    tree()->setCurrentItem(it);
  }
  // The tree as text: one line per item, indented by level, "*" after the current item and
  // "+" after an expanded one.
  QString shape() const {
    QString out;
    std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* it, int depth) {
      out += QString(depth * 2, ' ') + it->text(0) + (it == tree()->currentItem() ? "*" : "") +
             (it->isExpanded() ? "+" : "") + "\n";
      for (int i = 0; i < it->childCount(); ++i) walk(it->child(i), depth + 1);
    };
    for (int i = 0; i < tree()->topLevelItemCount(); ++i) walk(tree()->topLevelItem(i), 0);
    return out;
  }
  // The tree's context menu: action texts, "-" for a separator, "!" before a disabled one.
  QStringList menu() const {
    QStringList out;
    for (QAction* x : tree()->actions())
      out << (x->isSeparator() ? QString("-") : QString(x->isEnabled() ? "" : "!") + x->text());
    return out;
  }
  void deferred_deletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  // Dialog steps.
  void go_client(QDialog& dlg, const QString& local) {
    prompt.answers.push_back(QMessageBox::Yes);
    QTest::keyClick(child<QGroupBox>(&dlg, "c_gb"), Qt::Key_Space);
    prompt.files.push_back({local});
    child<QToolButton>(&dlg, "path_tb")->click();
  }
  void replace(QDialog& dlg) {
    prompt.answers.push_back(QMessageBox::Yes);
    child<QCheckBox>(&dlg, "rep_cb")->click();
  }
};

std::vector<peer::field_def> fields(std::initializer_list<const char*> names) {
  std::vector<peer::field_def> out;
  for (const char* n : names) out.push_back({n, ftype::i32, "false"});
  return out;
}

QByteArray read_local(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void write_local(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
  f.write(bytes);
}

}  // namespace

class main_window_db_test : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { kk::library_startup(); }
  void init() { sys_config = sys_config_record{}; }

  void tree_caches_icons_and_quiet_log();
  void current_item_and_actions_follow_the_tree();
  void first_refresh_failing_leaves_the_root();
  void refresh_closes_pages_of_vanished_tables_data();
  void refresh_closes_pages_of_vanished_tables();
  void data_view_with_unapplied_edits_outlives_its_table();
  void closing_over_unapplied_edits_asks_first();
  void unapplied_edits_are_asked_about_before_anything_is_written_data();
  void unapplied_edits_are_asked_about_before_anything_is_written();
  void destructive_operations_data();
  void destructive_operations();
  void field_editor_pages_open_once_and_close_by_sender();
  void add_fields_retries_only_what_failed();
  void modify_rename_and_new_table();
  void script_file_runs();
  void a_script_file_larger_than_memory_runs_nothing();
  void transfers_data();
  void transfers();
  void reconnect_keeps_tabs_and_edits();
};

void main_window_db_test::tree_caches_icons_and_quiet_log() {
  fixture f;
  QVERIFY(f.srv.connected);
  QVERIFY(f.db.create_table("users", {{"id", ftype::u64, "true"}, {"name", ftype::str, "false"}}));
  QVERIFY(f.db.create_table("a: b", fields({"x"})));
  QVERIFY(f.db.create_table("z/y", fields({"q", "r", "s"})));
  f.open();
  QCOMPARE(f.shape(), QStringLiteral("ruv_mdb+\n  users\n    id\n    name\n  a: b\n    x\n  z/y\n    q\n    r\n    s\n"));
  QVERIFY(same_icon(f.item({})->icon(0), ":/img/db.svg"));
  QVERIFY(same_icon(f.item({"a: b"})->icon(0), ":/img/tab.svg"));
  QVERIFY(same_icon(f.item({"z/y", "r"})->icon(0), ":/img/col.svg"));
  QCOMPARE(names_of(f.w->tables()), (QStringList{"users", "a: b", "z/y"}));
  const auto* users = f.w->fields().find(kk::adt::cstr_view("users"));
  QVERIFY(users);
  QCOMPARE(names_of(users->value), (QStringList{"id", "name"}));
  QCOMPARE(names_of(f.w->fields().find(kk::adt::cstr_view("a: b"))->value), QStringList{"x"});
  QVERIFY(f.ui()->textEdit->toPlainText().isEmpty());  // the first refresh leaves no entry

  // A refresh puts its 1 + N entries into the log as one block.
  int updates = 0;
  connect(f.ui()->textEdit, &QTextEdit::textChanged, [&] { ++updates; });
  QVERIFY(f.db.create_table("late", fields({"l"})));
  f.trigger("refresh_act");
  QCOMPARE(f.srv.statements().mid(f.mark),
           (QStringList{"show tables;", "fields_of users;", "fields_of [a: b];", "fields_of [z/y];", "fields_of late;"}));
  QCOMPARE(f.ui()->textEdit->toPlainText().count("execute sql:"), 5);
  QVERIFY(updates <= 2);
  QCOMPARE(names_of(f.w->tables()).last(), QStringLiteral("late"));
  QVERIFY(f.w->fields().find(kk::adt::cstr_view("late")));
}

void main_window_db_test::current_item_and_actions_follow_the_tree() {
  fixture f;
  QVERIFY(f.db.create_table("t", fields({"a", "b"})));
  QVERIFY(f.db.create_table("u", fields({"c"})));
  f.open();
  QCOMPARE(f.menu(), QStringList{});  // nothing current yet
  const QStringList db = {"refresh(&r)", "create table(&c)", "reconnect(&r)", "load table(&l)", "-", "backup(&b)",
                          "restore(&r)", "-", "execute sql(&e)", "-", "!status(&s)"};
  const QStringList table = {"drop(&d)", "truncate(&t)", "create field(&c)", "view field(&v)", "view data(&v)", "-",
                             "import(&i)", "export(&e)", "-", "save table(&s)"};
  const QStringList field = {"delete(&d)", "rename(&r)", "modify(&m)"};
  f.select({});
  QCOMPARE(f.menu(), db);
  QList<QAction*> separators;
  for (QAction* x : f.tree()->actions())
    if (x->isSeparator()) separators << x;
  f.select({"t"});
  QCOMPARE(f.menu(), table);
  QVERIFY(f.ui()->db_menu->actions().contains(child<QAction>(f.w.get(), "drop_act")));
  QVERIFY(child<QAction>(f.w.get(), "drop_act")->isEnabled());
  QVERIFY(!child<QAction>(f.w.get(), "modify_col_act")->isEnabled());
  f.select({"t", "b"});
  QCOMPARE(f.menu(), field);
  QVERIFY(!child<QAction>(f.w.get(), "drop_act")->isEnabled());
  QVERIFY(child<QAction>(f.w.get(), "modify_col_act")->isEnabled());

  // F5 rebuilds the tree; the field stays current, its table and the root expanded, and the
  // field's actions stand in the menu.
  QVERIFY(f.db.create_table("v", fields({"d"})));
  f.trigger("refresh_act");
  QCOMPARE(f.shape(), QStringLiteral("ruv_mdb+\n  t+\n    a\n    b*\n  u\n    c\n  v\n    d\n"));
  QCOMPARE(f.menu(), field);
  f.select({"u"});
  f.item({"u"})->setExpanded(false);
  f.trigger("refresh_act");
  QCOMPARE(f.shape(), QStringLiteral("ruv_mdb+\n  t\n    a\n    b\n  u*\n    c\n  v\n    d\n"));
  QCOMPARE(f.menu(), table);
  f.select({});
  f.trigger("refresh_act");
  QCOMPARE(f.menu(), db);
  QList<QAction*> again;
  for (QAction* x : f.tree()->actions())
    if (x->isSeparator()) again << x;
  QCOMPARE(again, separators);  // made once, reused
  int window_separators = 0;
  for (QAction* x : f.w->findChildren<QAction*>()) window_separators += x->isSeparator() && f.tree()->actions().contains(x);
  QCOMPARE(window_separators, 3);

  // An action whose level is not current does nothing (reached by the menu before a click).
  f.since_now();
  child<QAction>(f.w.get(), "drop_act")->setEnabled(true);
  f.trigger("drop_act");
  QCOMPARE(f.boxes(), QStringList{});
}

void main_window_db_test::first_refresh_failing_leaves_the_root() {
  fixture f;
  QVERIFY(f.db.create_table("t", fields({"a"})));
  f.srv.peer.push_reply(peer::send(peer::fail_reply()));
  f.open();
  QCOMPARE(f.shape(), QStringLiteral("ruv_mdb+\n"));
  QCOMPARE(names_of(f.w->tables()), QStringList{});
  f.select({});
  QCOMPARE(f.menu().mid(0, 3), (QStringList{"refresh(&r)", "create table(&c)", "reconnect(&r)"}));
  f.trigger("refresh_act");
  QCOMPARE(f.shape(), QStringLiteral("ruv_mdb*+\n  t\n    a\n"));
}

void main_window_db_test::refresh_closes_pages_of_vanished_tables_data() {
  QTest::addColumn<QString>("change");  // what happens on the server before the refresh
  QTest::addColumn<QStringList>("kept");
  const QStringList all = {"view fields of table: t",
                           "modify field 'a' of table: t",
                           "data of table: x: y",
                           "view fields of table: y",
                           "modify field 'p: q' of table: y",
                           "new table",
                           "gone: s.sql"};
  QTest::newRow("nothing") << QStringLiteral("") << all;
  QTest::newRow("t dropped") << QStringLiteral("drop t") << QStringList(all.mid(2));
  QTest::newRow("t renamed to t2") << QStringLiteral("rename t") << QStringList(all.mid(2));
  QTest::newRow("x: y dropped") << QStringLiteral("drop x: y")
                                << QStringList{all[0], all[1], all[3], all[4], all[5], all[6]};
  QTest::newRow("y dropped") << QStringLiteral("drop y") << QStringList{all[0], all[1], all[2], all[5], all[6]};
  QTest::newRow("show tables failed") << QStringLiteral("fail") << all;
  QTest::newRow("connection dropped") << QStringLiteral("close") << all;
}

void main_window_db_test::refresh_closes_pages_of_vanished_tables() {
  QFETCH(QString, change);
  QFETCH(QStringList, kept);
  fixture f;
  QVERIFY(f.db.create_table("t", fields({"a"})));
  QVERIFY(f.db.create_table("x: y", fields({"c"})));
  QVERIFY(f.db.create_table("y", fields({"d", "p: q"})));
  f.open();
  f.select({"t"});
  f.trigger("view_field_act");
  f.select({"t", "a"});
  f.trigger("modify_col_act");
  f.select({"x: y"});
  f.trigger("view_data_act");
  f.select({"y"});
  f.trigger("view_field_act");
  f.select({"y", "p: q"});
  f.trigger("modify_col_act");
  f.trigger("create_table_act");
  // A real script tab whose title holds ": " (its file name).
  auto* script = new ruv::sql_script_editor(f.w->context(), kk::adt::string_from_cstr("show tables;"));
  f.tabs()->addTab(script, "gone: s.sql");
  QCOMPARE(f.titles(), (QStringList{"view fields of table: t", "modify field 'a' of table: t", "data of table: x: y",
                                    "view fields of table: y", "modify field 'p: q' of table: y", "new table",
                                    "gone: s.sql"}));
  QList<QPointer<QWidget>> pages;
  for (int i = 0; i < f.tabs()->count(); ++i) pages << f.tabs()->widget(i);

  if (change == "drop t") QVERIFY(f.db.run("drop table t;").ok);
  if (change == "rename t") {
    QVERIFY(f.db.run("drop table t;").ok);
    QVERIFY(f.db.create_table("t2", fields({"a"})));
  }
  if (change == "drop x: y") QVERIFY(f.db.run("drop table [x: y];").ok);
  if (change == "drop y") QVERIFY(f.db.run("drop table y;").ok);
  if (change == "fail" || change == "close") {
    QVERIFY(f.db.run("drop table t;").ok);  // would close pages, had the list been read
    f.srv.peer.push_reply(change == "fail" ? peer::send(peer::fail_reply()) : peer::send_and_close({}));
  }
  const QString before = f.shape();
  f.since_now();
  f.trigger("refresh_act");
  QCOMPARE(f.titles(), kept);
  QCOMPARE(f.boxes(), QStringList{});  // a refresh says nothing for pages without edits
  if (change == "fail" || change == "close") {
    QCOMPARE(f.shape(), before);
    QCOMPARE(names_of(f.w->tables()), (QStringList{"t", "x: y", "y"}));
  }
  f.deferred_deletes();
  for (const QPointer<QWidget>& p : pages) {
    const bool shown = p && f.tabs()->indexOf(p) >= 0;
    QCOMPARE(bool(p), shown);  // a removed page is gone once the deferred deletes ran
  }
}

void main_window_db_test::data_view_with_unapplied_edits_outlives_its_table() {
  fixture f;
  QVERIFY(f.db.create_table("t", {{"id", ftype::i32, "false"}, {"s", ftype::str, "false"}}));
  QVERIFY(f.db.insert("t", {peer::value::sint(ftype::i32, 1), peer::value::text("one")}));
  QVERIFY(f.db.create_table("u", fields({"c"})));
  f.open();
  f.select({"t"});
  f.trigger("view_data_act");
  f.select({"u"});
  f.trigger("view_data_act");
  QCOMPARE(f.titles(), (QStringList{"data of table: t", "data of table: u"}));
  auto* view = qobject_cast<data_view*>(f.tabs()->widget(0));
  QVERIFY(view);
  QCOMPARE(view->model()->rowCount(), 1);
  QVERIFY(view->model()->setData(view->model()->index(0, 1), QString("uno"), Qt::EditRole));
  QVERIFY(view->has_pending_edits());

  QVERIFY(f.db.run("drop table t;").ok);
  QVERIFY(f.db.run("drop table u;").ok);
  f.since_now();
  f.trigger("refresh_act");
  QCOMPARE(f.titles(), QStringList{"data of table: t"});  // u's view had nothing to lose
  QCOMPARE(f.boxes(), QStringList{"refresh information | the table 't' is no longer in the database, the tab 'data "
                                  "of table: t' stays open with its edits not applied yet."});
  f.trigger("refresh_act");
  QCOMPARE(f.prompt.boxes.size(), size_t(1));  // said once
  QCOMPARE(f.titles(), QStringList{"data of table: t"});
  QCOMPARE(view->model()->data(view->model()->index(0, 1), Qt::DisplayRole).toString(), QStringLiteral("uno"));
  QVERIFY(view->has_pending_edits());
}

void main_window_db_test::closing_over_unapplied_edits_asks_first() {
  fixture f;
  QVERIFY(f.db.create_table("t", {{"id", ftype::i32, "false"}, {"s", ftype::str, "false"}}));
  QVERIFY(f.db.insert("t", {peer::value::sint(ftype::i32, 1), peer::value::text("one")}));
  f.open();
  f.select({"t"});
  f.trigger("view_data_act");
  auto* view = qobject_cast<data_view*>(f.tabs()->widget(0));
  QVERIFY(view);
  QVERIFY(view->model()->setData(view->model()->index(0, 1), QString("uno"), Qt::EditRole));
  f.since_now();

  // The tab's close button: No (and Escape) keep the tab and its edits.
  for (QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Escape}) {
    f.prompt.answers = {answer};
    emit f.tabs()->tabCloseRequested(0);
    QCOMPARE(f.titles(), QStringList{"data of table: t"});
  }
  QCOMPARE(f.prompt.boxes.back().title, QString("edits not applied"));
  QCOMPARE(f.prompt.boxes.back().text,
           QString("the tab 'data of table: t' has edits not applied to the server, close it and lose them?"));
  QCOMPARE(f.prompt.boxes.back().default_button, QMessageBox::No);
  QCOMPARE(f.prompt.boxes.back().icon, QMessageBox::Warning);
  f.prompt.answers.clear();
  emit f.tabs()->tabCloseRequested(0);  // Enter
  QCOMPARE(f.titles(), QStringList{"data of table: t"});

  // Closing the window: Cancel keeps it open; Discard lets it close.
  f.w->show();
  f.prompt.answers = {QMessageBox::Cancel};
  QVERIFY(!f.w->close());
  QVERIFY(f.w->isVisible());
  QCOMPARE(f.prompt.boxes.back().text,
           QString("these tabs have edits not applied to the server:\ndata of table: t\nclose anyway and lose them?"));
  f.prompt.answers = {QMessageBox::Discard};
  QVERIFY(f.w->close());

  // Applied edits ask nothing.
  f.prompt.boxes.clear();
  child<QPushButton>(view, "apply_btn")->click();
  QVERIFY(!view->has_pending_edits());
  emit f.tabs()->tabCloseRequested(0);
  QVERIFY(f.titles().isEmpty());
  QCOMPARE(f.sent(), (QStringList{"atom_exec  update t set s = \"uno\" where __id == 1; commit;",
                                   "select id, s from t where first 1000;"}));
}

void main_window_db_test::unapplied_edits_are_asked_about_before_anything_is_written_data() {
  QTest::addColumn<QString>("how");  // how the window goes: "quit" or a language restart
  QTest::newRow("quit") << QStringLiteral("quit_act");
  QTest::newRow("language restart") << QStringLiteral("fr_act");
}

void main_window_db_test::unapplied_edits_are_asked_about_before_anything_is_written() {
  QFETCH(QString, how);
  const bool restart = how != "quit_act";
  QTemporaryDir dir;
  const QString old_dir = QDir::currentPath();
  QDir::setCurrent(dir.path());
  fixture f;
  ruv::test::recording_launcher launcher;
  QVERIFY(f.db.create_table("t", {{"id", ftype::i32, "false"}, {"s", ftype::str, "false"}}));
  QVERIFY(f.db.insert("t", {peer::value::sint(ftype::i32, 1), peer::value::text("one")}));
  f.open();
  f.w->show();
  const QString script = dir.filePath("a.sql");
  write_local(script, "old");
  f.prompt.files.push_back({script});
  f.trigger("open_file_act");
  QTest::keyClicks(qobject_cast<ruv::sql_script_editor*>(f.tabs()->currentWidget())->editor_widget(), "new ");
  f.select({"t"});
  f.trigger("view_data_act");
  auto* view = qobject_cast<data_view*>(f.tabs()->currentWidget());
  QVERIFY(view);
  QVERIFY(view->model()->setData(view->model()->index(0, 1), QString("uno"), Qt::EditRole));
  f.since_now();

  // Kept (Enter: Cancel is the default): the window stays, nothing is written or started.
  if (restart) f.prompt.answers = {QMessageBox::Yes};  // "restart now?"
  f.trigger(how.toLatin1().constData());
  const ruv::test::shown_box asked = f.prompt.boxes.back();
  QCOMPARE(asked.title, QString("edits not applied"));
  QCOMPARE(asked.text,
           QString("these tabs have edits not applied to the server:\ndata of table: t\nclose anyway and lose them?"));
  QCOMPARE(asked.buttons, QMessageBox::Discard | QMessageBox::Cancel);
  QCOMPARE(asked.default_button, QMessageBox::Cancel);
  QCOMPARE(asked.icon, QMessageBox::Warning);
  QVERIFY(f.w->isVisible());
  QCOMPARE(read_local(script), QByteArray("old"));
  QVERIFY(!QFile::exists(dir.filePath("config")));
  QVERIFY(launcher.started.isEmpty());
  QVERIFY(launcher.exits.isEmpty());
  QVERIFY(view->has_pending_edits());

  // Given up: the script is written and the window goes.
  f.prompt.answers = restart ? std::deque{QMessageBox::Yes, QMessageBox::Discard} : std::deque{QMessageBox::Discard};
  f.trigger(how.toLatin1().constData());
  QCOMPARE(read_local(script), QByteArray("new old"));
  if (restart) {
    QCOMPARE(launcher.started.size(), 1);
    QCOMPARE(launcher.exits, QList<int>{0});
    QVERIFY(QFile::exists(dir.filePath("config")));
  } else {
    QVERIFY(!f.w->isVisible());
  }
  f.w.reset();
  QDir::setCurrent(old_dir);
}

void main_window_db_test::destructive_operations_data() {
  QTest::addColumn<QString>("action");
  QTest::addColumn<QStringList>("current");
  QTest::addColumn<int>("answer");
  QTest::addColumn<bool>("server_ok");
  QTest::addColumn<QStringList>("sent");
  QTest::addColumn<QStringList>("boxes");
  QTest::addColumn<int>("refreshes");
  QTest::addColumn<QString>("shape");
  const QString drop_q = "drop table warnning | drop table will delete table from server, do your want to drop "
                         "table 'my t' really?";
  const QString trunc_q = "truncate table warnning | truncate table will clear all table 's data, do your want to "
                          "truncate table 'my t' really?";
  const QString del_q = "delete field warnning | delete field will delete field from table, do your want to delete "
                        "field 'b' from table 'my t' really?";
  const QStringList t = {"my t"}, tb = {"my t", "b"};
  const int yes = QMessageBox::Yes, no = QMessageBox::No, closed = QMessageBox::NoButton;
  QTest::newRow("drop, yes, ok") << QString("drop_act") << t << yes << true << QStringList{"drop table [my t];"}
                                 << QStringList{drop_q, "drop table result | drop table 'my t' from database is successful!"}
                                 << 1 << QString("ruv_mdb*+\n  u\n    c\n");
  QTest::newRow("drop, yes, refused") << QString("drop_act") << t << yes << false << QStringList{"drop table [my t];"}
                                      << QStringList{drop_q, "drop table result | drop table 'my t' from database is failed!"}
                                      << 1 << QString("ruv_mdb*+\n  my t\n    a\n    b\n  u\n    c\n");
  QTest::newRow("drop, no") << QString("drop_act") << t << no << true << QStringList{} << QStringList{drop_q} << 0
                            << QString("ruv_mdb+\n  my t*\n    a\n    b\n  u\n    c\n");
  QTest::newRow("drop, escape") << QString("drop_act") << t << closed << true << QStringList{} << QStringList{drop_q} << 0
                                << QString("ruv_mdb+\n  my t*\n    a\n    b\n  u\n    c\n");
  QTest::newRow("truncate, yes, ok")
      << QString("truncate_act") << t << yes << true << QStringList{"truncate table [my t];"}
      << QStringList{trunc_q, "truncate table result | truncate table 'my t' from database is successful!"} << 1
      << QString("ruv_mdb*+\n  my t\n    a\n    b\n  u\n    c\n");
  QTest::newRow("truncate, yes, refused")
      << QString("truncate_act") << t << yes << false << QStringList{"truncate table [my t];"}
      << QStringList{trunc_q, "truncate table result | truncate table 'my t' from database is failed!"} << 1
      << QString("ruv_mdb*+\n  my t\n    a\n    b\n  u\n    c\n");
  QTest::newRow("truncate, no") << QString("truncate_act") << t << no << true << QStringList{} << QStringList{trunc_q} << 0
                                << QString("ruv_mdb+\n  my t*\n    a\n    b\n  u\n    c\n");
  QTest::newRow("truncate, escape") << QString("truncate_act") << t << closed << true << QStringList{} << QStringList{trunc_q}
                                    << 0 << QString("ruv_mdb+\n  my t*\n    a\n    b\n  u\n    c\n");
  QTest::newRow("delete field, yes, ok")
      << QString("delete_col_act") << tb << yes << true << QStringList{"alter table [my t] drop b;"}
      << QStringList{del_q, "delete field result | delete field 'b' from table 'my t' is successful!"} << 1
      << QString("ruv_mdb+\n  my t*+\n    a\n  u\n    c\n");
  QTest::newRow("delete field, yes, refused")
      << QString("delete_col_act") << tb << yes << false << QStringList{"alter table [my t] drop b;"}
      << QStringList{del_q, "delete field result | delete field 'b' from table 'my t' is failed!"} << 1
      << QString("ruv_mdb+\n  my t*+\n    a\n    b\n  u\n    c\n");
  QTest::newRow("delete field, no") << QString("delete_col_act") << tb << no << true << QStringList{} << QStringList{del_q} << 0
                                    << QString("ruv_mdb+\n  my t+\n    a\n    b*\n  u\n    c\n");
  QTest::newRow("delete field, escape") << QString("delete_col_act") << tb << closed << true << QStringList{}
                                        << QStringList{del_q} << 0 << QString("ruv_mdb+\n  my t+\n    a\n    b*\n  u\n    c\n");
}

void main_window_db_test::destructive_operations() {
  QFETCH(QString, action);
  QFETCH(QStringList, current);
  QFETCH(int, answer);
  QFETCH(bool, server_ok);
  QFETCH(QStringList, sent);
  QFETCH(QStringList, boxes);
  QFETCH(int, refreshes);
  QFETCH(QString, shape);
  fixture f;
  QVERIFY(f.db.create_table("my t", fields({"a", "b"})));
  QVERIFY(f.db.insert("my t", {peer::value::sint(ftype::i32, 1), peer::value::sint(ftype::i32, 2)}));
  QVERIFY(f.db.create_table("u", fields({"c"})));
  f.open();
  f.select(current);
  f.since_now();
  f.prompt.answers = {QMessageBox::StandardButton(answer)};
  if (!server_ok) f.srv.peer.push_reply(peer::send(peer::fail_reply()));
  f.trigger(action.toLatin1().constData());
  QCOMPARE(f.sent(), sent);
  QCOMPARE(f.boxes(), boxes);
  QCOMPARE(f.prompt.boxes[0].buttons, QMessageBox::Yes | QMessageBox::No);
  if (boxes.size() > 1) QCOMPARE(f.prompt.boxes[1].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  QCOMPARE(f.refreshes(), refreshes);
  QCOMPARE(f.shape(), shape);
  const auto table = f.db.table("my t");
  if (action == "truncate_act") QCOMPARE(table->rows.size(), size_t(answer == int(QMessageBox::Yes) && server_ok ? 0 : 1));
}

void main_window_db_test::field_editor_pages_open_once_and_close_by_sender() {
  fixture f;
  QVERIFY(f.db.create_table("t", fields({"a", "b"})));
  QVERIFY(f.db.create_table("u", fields({"c"})));
  f.open();
  f.select({"t", "a"});
  f.trigger("modify_col_act");
  f.select({"t"});
  f.trigger("view_field_act");
  f.select({"t", "a"});
  f.since_now();
  f.trigger("modify_col_act");  // open already: brought to the front, not reloaded
  QCOMPARE(f.srv.statements().size(), f.mark);
  QCOMPARE(f.tabs()->currentIndex(), 0);
  f.select({"t", "b"});
  f.trigger("modify_col_act");
  f.trigger("create_table_act");
  f.trigger("create_table_act");
  QCOMPARE(f.titles(), (QStringList{"modify field 'a' of table: t", "view fields of table: t",
                                    "modify field 'b' of table: t", "new table", "new table"}));
  QCOMPARE(f.tabs()->currentIndex(), 4);
  QCOMPARE(f.tabs()->tabBar()->tabTextColor(4), QColor(Qt::black));
  for (int i : {3, 4}) QCOMPARE(child<QLineEdit>(f.tabs()->widget(i), "table_le")->text(), QStringLiteral("tab1"));
  auto* view_page = f.tabs()->widget(1);
  QVERIFY(!child<QPushButton>(view_page, "apply_btn")->isEnabled());

  // Cancel on a page that is not current closes that page, not the current one, and does not
  // refresh.
  f.since_now();
  QPointer<QWidget> gone(view_page);
  child<QPushButton>(view_page, "cancel_btn")->click();
  QCOMPARE(f.titles(), (QStringList{"modify field 'a' of table: t", "modify field 'b' of table: t", "new table",
                                    "new table"}));
  QCOMPARE(f.tabs()->currentIndex(), 3);
  QCOMPARE(f.refreshes(), 0);
  QVERIFY(gone);  // deleted later, not inside its own signal
  f.deferred_deletes();
  QVERIFY(!gone);

  // A successful apply on a page that is not current closes that page and refreshes.
  QWidget* modify_b = f.tabs()->widget(1);
  QTableWidget* grid = child<QTableWidget>(modify_b, "tableWidget");
  grid->setCurrentCell(1, 1);
  emit grid->cellDoubleClicked(1, 1);
  qobject_cast<QComboBox*>(grid->cellWidget(1, 1))->setCurrentText("i64");
  child<QPushButton>(modify_b, "apply_btn")->click();
  QCOMPARE(f.sent(), QStringList{"alter table t modify b i64 ( false );"});
  QCOMPARE(f.boxes(), QStringList{"modify field result | modify field is successful!"});
  QCOMPARE(f.titles(), (QStringList{"modify field 'a' of table: t", "new table", "new table"}));
  QCOMPARE(f.refreshes(), 1);
  QCOMPARE(f.db.table("t")->fields[1].type, ftype::i64);
}

void main_window_db_test::add_fields_retries_only_what_failed() {
  fixture f;
  QVERIFY(f.db.create_table("t", {{"a", ftype::i32, "true"}, {"b", ftype::str, "false"}}));
  f.open();
  f.select({"t"});
  f.trigger("new_field_act");
  QCOMPARE(f.titles(), QStringList{"add field to table: t"});
  auto* page = qobject_cast<col_info*>(f.tabs()->widget(0));
  QVERIFY(page);
  QTableWidget* grid = child<QTableWidget>(page, "tableWidget");
  QCOMPARE(grid->rowCount(), 2);
  QCOMPARE(grid->item(0, 2)->text(), QStringLiteral("true"));
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 3; ++c) QVERIFY(!(grid->item(r, c)->flags() & Qt::ItemIsEditable));
  grid->setCurrentCell(0, 0);
  child<QPushButton>(page, "delete_btn")->click();  // an existing field's row stays
  QCOMPARE(grid->rowCount(), 2);
  child<QPushButton>(page, "add_btn")->click();
  child<QPushButton>(page, "add_btn")->click();
  QCOMPARE(grid->item(3, 0)->text(), QStringLiteral("f4"));

  // A name already in the grid is refused before anything is sent.
  grid->item(3, 0)->setText("a");
  f.since_now();
  child<QPushButton>(page, "apply_btn")->click();
  QCOMPARE(f.sent(), QStringList{});
  QCOMPARE(f.boxes(), QStringList{"create field result | create field 'a' is failed!"});

  // Another client adds f4 meanwhile: f3 is created, f4 refused by the server.
  grid->item(3, 0)->setText("f4");
  QVERIFY(f.db.run("alter table t add f4 i32( false );").ok);
  f.since_now();
  child<QPushButton>(page, "apply_btn")->click();
  QCOMPARE(f.sent(), (QStringList{"alter table t add f3 u32 ( true );", "alter table t add f4 u32 ( true );"}));
  QCOMPARE(f.boxes(), QStringList{"create field result | create field 'f4' is failed!"});
  QCOMPARE(f.titles(), QStringList{"add field to table: t"});
  QCOMPARE(page->existing_row_count(), kk::u64(3));
  QVERIFY(!(grid->item(2, 0)->flags() & Qt::ItemIsEditable));

  grid->item(3, 0)->setText("f5");
  f.since_now();
  child<QPushButton>(page, "apply_btn")->click();
  QCOMPARE(f.sent(), QStringList{"alter table t add f5 u32 ( true );"});
  QCOMPARE(f.boxes(), QStringList{"create field result | create all field is successful!"});
  QCOMPARE(f.titles(), QStringList{});
  QCOMPARE(f.refreshes(), 1);
  QCOMPARE(f.shape(), QStringLiteral("ruv_mdb+\n  t*\n    a\n    b\n    f4\n    f3\n    f5\n"));
}

void main_window_db_test::modify_rename_and_new_table() {
  fixture f;
  QVERIFY(f.db.create_table("t", fields({"a", "b"})));
  f.open();
  f.select({"t", "b"});
  f.trigger("rename_col_act");
  QWidget* page = f.tabs()->widget(0);
  QTableWidget* grid = child<QTableWidget>(page, "tableWidget");
  QVERIFY(!(grid->item(0, 0)->flags() & Qt::ItemIsEditable));
  grid->item(1, 0)->setText("a");
  f.since_now();
  child<QPushButton>(page, "apply_btn")->click();  // to another field's name: refused here
  QCOMPARE(f.sent(), QStringList{});
  QCOMPARE(f.boxes(), QStringList{"rename field result | rename field 'b' to 'a' is failed!"});
  grid->item(1, 0)->setText("c d");
  f.since_now();
  child<QPushButton>(page, "apply_btn")->click();
  QCOMPARE(f.sent(), QStringList{"alter table t rename b [c d];"});
  QCOMPARE(f.boxes(), QStringList{"rename field result | rename field 'b' to 'c d' is successful!"});
  QCOMPARE(f.titles(), QStringList{});
  QCOMPARE(f.shape(), QStringLiteral("ruv_mdb+\n  t\n    a\n    c d\n"));  // the renamed field is new to the tree

  f.trigger("create_table_act");
  page = f.tabs()->widget(0);
  child<QLineEdit>(page, "table_le")->setText("n/1");
  child<QPushButton>(page, "add_btn")->click();
  f.since_now();
  child<QPushButton>(page, "apply_btn")->click();
  QCOMPARE(f.sent(), QStringList{"create table [n/1] ( f1 u32( true ), f2 u32( true ) );"});
  QCOMPARE(f.boxes(), QStringList{"create table result | create table 'n/1' is successful!"});
  QCOMPARE(f.titles(), QStringList{});
  QCOMPARE(names_of(f.w->tables()), (QStringList{"t", "n/1"}));
}

void main_window_db_test::script_file_runs() {
  fixture f;
  QVERIFY(f.db.create_table("t", fields({"a"})));
  f.open();
  QTemporaryDir dir;
  auto run = [&](const QByteArray& text) {
    const QString path = dir.filePath("s.sql");
    write_local(path, text);
    f.since_now();
    f.prompt.files.push_back({path});
    f.trigger("exec_sql_act");
  };
  run("create table s ( a i32( false ) );\n// a comment\ninsert into s ( a ) values ( 7 );\n");
  QCOMPARE(f.prompt.choosers.at(0).caption, QStringLiteral("open sql file to execute"));
  QCOMPARE(f.sent().size(), 2);
  QVERIFY(f.sent()[1].startsWith("insert into s"));
  QCOMPARE(f.boxes(), QStringList{"execute infomation | the sql execute sussesful total!"});
  QCOMPARE(f.refreshes(), 1);
  QCOMPARE(f.shape(), QStringLiteral("ruv_mdb+\n  t\n    a\n  s\n    a\n"));

  // A failure in the middle: the statements before it stay, its own entry is in the log, the
  // rest is not run, and the tree is not refreshed.
  run("truncate table s;\ndrop table nope;\ntruncate table t;\n");
  QCOMPARE(f.sent(), (QStringList{"truncate table s;", "drop table nope;"}));
  QCOMPARE(f.boxes(), QStringList{"execute infomation | the sql \"drop table nope;\" execute failed!"});
  QCOMPARE(f.refreshes(), 0);
  const QString log = f.ui()->textEdit->toPlainText();
  // The run's block stands on top (newest first), its entries oldest first.
  QVERIFY(log.indexOf("truncate table s;") < log.indexOf("drop table nope;"));
  QVERIFY(log.indexOf("drop table nope;") < log.indexOf("create table s"));
  QVERIFY(log.contains("failed"));
  QVERIFY(f.db.table("s")->rows.empty());

  // A text that does not parse runs nothing.
  const QByteArray bad = "truncate table s;\nthis is no statement;\n";
  run(bad);
  QCOMPARE(f.sent(), QStringList{});
  QCOMPARE(f.boxes(), QStringList{QStringLiteral("sql parse failed | the sql parsed failed at position: %1")
                                      .arg(bad.indexOf("this"))});
  QCOMPARE(f.refreshes(), 0);

  // No file chosen: nothing at all.
  f.since_now();
  f.trigger("exec_sql_act");
  QCOMPARE(f.boxes(), QStringList{});
  QCOMPARE(f.srv.statements().size(), f.mark);
}

namespace {

// Caps the process's address space at its present size plus `headroom` bytes while it lives:
// an allocation beyond that fails as it would on a machine without the memory.
class address_space_cap {
 public:
  explicit address_space_cap(kk::u64 headroom) {
    ok_ = getrlimit(RLIMIT_AS, &old_) == 0;
    unsigned long pages = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
      if (std::fscanf(f, "%lu", &pages) != 1) pages = 0;
      std::fclose(f);
    }
    rlimit cap = old_;
    cap.rlim_cur = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + headroom;
    ok_ = ok_ && pages > 0 && (old_.rlim_max == RLIM_INFINITY || cap.rlim_cur <= old_.rlim_max) &&
          setrlimit(RLIMIT_AS, &cap) == 0;
  }
  ~address_space_cap() {
    if (ok_) setrlimit(RLIMIT_AS, &old_);
  }
  bool ok() const { return ok_; }

 private:
  rlimit old_{};
  bool ok_ = false;
};

}  // namespace

// A script file bigger than the memory left: reading it fails, the command ends without
// running anything, and the window goes on as it stood.
void main_window_db_test::a_script_file_larger_than_memory_runs_nothing() {
  fixture f;
  QVERIFY(f.db.create_table("t", fields({"a"})));
  f.open();
  QTemporaryDir dir;
  const QString huge = dir.filePath("huge.sql");
  write_local(huge, "truncate table t;\n");
  // Sparse: 64 GiB of size that takes no room on the disk.
  if (!QFile::resize(huge, qint64(1) << 36)) QSKIP("the file system has no sparse files of 64 GiB");
  f.since_now();
  f.prompt.files.push_back({huge});
  {
    const address_space_cap cap(kk::u64(8) << 30);
    if (!cap.ok()) QSKIP("the address space cannot be capped");
    f.trigger("exec_sql_act");
  }
  QCOMPARE(f.prompt.choosers.size(), std::size_t(1));
  QCOMPARE(f.sent(), QStringList{});
  QCOMPARE(f.boxes(), QStringList{});
  QCOMPARE(f.refreshes(), 0);

  // The next run works as ever.
  const QString small = dir.filePath("s.sql");
  write_local(small, "truncate table t;\n");
  f.since_now();
  f.prompt.files.push_back({small});
  f.trigger("exec_sql_act");
  QCOMPARE(f.sent(), QStringList{"truncate table t;"});
  QCOMPARE(f.boxes(), QStringList{"execute infomation | the sql execute sussesful total!"});
}

namespace {

// One transfer through the window: the current item, the action, how the user fills the
// dialog, and what must follow.
struct transfer_case {
  const char* name;
  QStringList current;
  const char* action;
  std::function<void(fixture&, QDialog&, const QString& local)> fill;  // then OK
  std::function<void(fixture&, const QString& local)> before;          // server and local files
  QString dialog;                                                      // class | title | preset path
  QStringList sent;  // "%L" stands for the local path
  QStringList boxes;
  int refreshes;
  std::function<void(fixture&, const QString& local)> after;
};

QString local_path(const QString& s, const QString& local) {
  QString out = s;
  return out.replace("%L", local);
}

const std::vector<transfer_case>& transfer_cases() {
  static const std::vector<transfer_case> cases = {
      {"export, server, slash in the table name",
       {"a/b"},
       "export_act",
       [](fixture&, QDialog&, const QString&) {},
       {},
       "import_csv_dlg | export table: a/b to csv/csvs file | a_b_" + stamp + ".csv",
       {"select * from [a/b] export as csv split by \",\" path=\"a_b_" + stamp + ".csv\";"},
       {"export table result | export table 'a/b' to file 'a_b_" + stamp + ".csv' is successful!"},
       0,
       [](fixture& f, const QString&) { QCOMPARE(f.db.file(("a_b_" + stamp + ".csv").toStdString()).value(), std::string("1\n")); }},
      {"export, server, file exists",
       {"a/b"},
       "export_act",
       [](fixture&, QDialog&, const QString&) {},
       [](fixture& f, const QString&) { f.db.put_file(("a_b_" + stamp + ".csv").toStdString(), "old"); },
       "import_csv_dlg | export table: a/b to csv/csvs file | a_b_" + stamp + ".csv",
       {"select * from [a/b] export as csv split by \",\" path=\"a_b_" + stamp + ".csv\";"},
       {"export table result | export table 'a/b' to file 'a_b_" + stamp + ".csv' is failed!"},
       0,
       [](fixture& f, const QString&) { QCOMPARE(f.db.file(("a_b_" + stamp + ".csv").toStdString()).value(), std::string("old")); }},
      {"export, server, file replaced, typed separator",
       {"a/b"},
       "export_act",
       [](fixture& f, QDialog& d, const QString&) {
         f.replace(d);
         child<QComboBox>(&d, "sp_cmb")->setEditText("\"|");
       },
       [](fixture& f, const QString&) { f.db.put_file(("a_b_" + stamp + ".csv").toStdString(), "old"); },
       "import_csv_dlg | export table: a/b to csv/csvs file | a_b_" + stamp + ".csv",
       {"select * from [a/b] export as csv split by \"\\x22\\x7c\" path+=\"a_b_" + stamp + ".csv\";"},
       {"export table result | export table 'a/b' to file 'a_b_" + stamp + ".csv' is successful!"},
       0,
       [](fixture& f, const QString&) { QCOMPARE(f.db.file(("a_b_" + stamp + ".csv").toStdString()).value(), std::string("1\n")); }},
      {"export, client, new file",
       {"a/b"},
       "export_act",
       [](fixture& f, QDialog& d, const QString& local) { f.go_client(d, local); },
       {},
       "import_csv_dlg | export table: a/b to csv/csvs file | a_b_" + stamp + ".csv",
       {"select * from [a/b] export as csv split by \",\" as raw;"},
       {"export table result | export table 'a/b' to file '%L' is successful!"},
       0,
       [](fixture&, const QString& local) { QCOMPARE(read_local(local), QByteArray("1\n")); }},
      {"export, client, file exists",
       {"a/b"},
       "export_act",
       [](fixture& f, QDialog& d, const QString& local) { f.go_client(d, local); },
       [](fixture&, const QString& local) { write_local(local, "old"); },
       "import_csv_dlg | export table: a/b to csv/csvs file | a_b_" + stamp + ".csv",
       {},  // refused here, before anything is sent, and the box says why
       {"export table result | export table 'a/b' to file '%L' is failed!\nthe file '%L' already exists and the "
        "replace mode is off"},
       0,
       [](fixture&, const QString& local) { QCOMPARE(read_local(local), QByteArray("old")); }},
      {"export, client, file replaced",
       {"a/b"},
       "export_act",
       [](fixture& f, QDialog& d, const QString& local) {
         f.go_client(d, local);
         f.replace(d);
       },
       [](fixture&, const QString& local) { write_local(local, "old"); },
       "import_csv_dlg | export table: a/b to csv/csvs file | a_b_" + stamp + ".csv",
       {"select * from [a/b] export as csv split by \",\" as raw;"},
       {"export table result | export table 'a/b' to file '%L' is successful!"},
       0,
       [](fixture&, const QString& local) { QCOMPARE(read_local(local), QByteArray("1\n")); }},
      {"export, cancelled",
       {"a/b"},
       "export_act",
       nullptr,
       {},
       "import_csv_dlg | export table: a/b to csv/csvs file | a_b_" + stamp + ".csv",
       {},
       {},
       0,
       {}},
      {"import, server, csvs, tab separator",
       {"a/b"},
       "import_act",
       [](fixture&, QDialog& d, const QString&) {
         child<QRadioButton>(&d, "csvs_rb")->click();
         child<QComboBox>(&d, "sp_cmb")->setCurrentIndex(5);
       },
       [](fixture& f, const QString&) { f.db.put_file(("a_b_" + stamp + ".csv").toStdString(), "x\n2\n3\n"); },
       "import_csv_dlg | import data from csv/csvs file to table: a/b | a_b_" + stamp + ".csv",
       {"import [a/b] from csvs split by \"\t\" path=\"a_b_" + stamp + ".csv\";"},
       {"import table result | import file 'a_b_" + stamp + ".csv' to table 'a/b' is successful!"},
       0,
       [](fixture& f, const QString&) { QCOMPARE(f.db.table("a/b")->rows.size(), size_t(3)); }},
      {"import, client",
       {"a/b"},
       "import_act",
       [](fixture& f, QDialog& d, const QString& local) { f.go_client(d, local); },
       [](fixture&, const QString& local) { write_local(local, "5\n"); },
       "import_csv_dlg | import data from csv/csvs file to table: a/b | a_b_" + stamp + ".csv",
       {"import [a/b] from csv split by \",\" from raw \"\\x35\\x0a\";"},
       {"import table result | import file '%L' to table 'a/b' is successful!"},
       0,
       [](fixture& f, const QString&) { QCOMPARE(f.db.table("a/b")->rows.size(), size_t(2)); }},
      {"save, server, sql format",
       {"a/b"},
       "save_tab_act",
       [](fixture&, QDialog& d, const QString&) { child<QRadioButton>(&d, "sql_rb")->click(); },
       {},
       "save_tab_dlg | save table 'a/b' to file | a_b_" + stamp + ".bin",
       {"save [a/b] as sql path=\"a_b_" + stamp + ".bin\";"},
       {"save table result | save table 'a/b' to file 'a_b_" + stamp + ".bin' is successful!"},
       1,
       [](fixture& f, const QString&) { QVERIFY(f.db.file(("a_b_" + stamp + ".bin").toStdString())); }},
      {"save, client, file exists",
       {"a/b"},
       "save_tab_act",
       [](fixture& f, QDialog& d, const QString& local) { f.go_client(d, local); },
       [](fixture&, const QString& local) { write_local(local, "old"); },
       "save_tab_dlg | save table 'a/b' to file | a_b_" + stamp + ".bin",
       {},
       {"save table result | save table 'a/b' to file '%L' is failed!\nthe file '%L' already exists and the replace "
        "mode is off"},
       1,
       [](fixture&, const QString& local) { QCOMPARE(read_local(local), QByteArray("old")); }},
      {"load, bin, server",
       {},
       "load_tab_act",
       [](fixture&, QDialog& d, const QString&) {
         child<QLineEdit>(&d, "tab_le")->setText("t2");
         child<QLineEdit>(&d, "s_path_le")->setText("/srv/p.bin");
       },
       [](fixture& f, const QString&) { f.db.put_file("/srv/p.bin", "bytes"); },
       "load_tab_dlg | load table from file | ",
       {"load t2 from bin path=\"/srv/p.bin\";"},
       {"load table result | load file '/srv/p.bin' to as table 't2' is successful!"},
       1,
       {}},
      {"load, bin, no table name: refused by the dialog before it is shown",
       {},
       "load_tab_act",
       [](fixture&, QDialog& d, const QString&) { child<QLineEdit>(&d, "s_path_le")->setText("/srv/p.bin"); },
       {},
       "load_tab_dlg | load table from file | ",
       {},
       {"table name information | the input table's name is empty."},
       0,
       {}},
      {"load, sql, no table name",
       {},
       "load_tab_act",
       [](fixture&, QDialog& d, const QString&) {
         child<QRadioButton>(&d, "sql_rb")->click();
         child<QLineEdit>(&d, "s_path_le")->setText("/srv/x.sql");
       },
       [](fixture& f, const QString&) { f.db.put_file("/srv/x.sql", "whatever"); },
       "load_tab_dlg | load table from file | ",
       {"load ignored_table_name from sql path=\"/srv/x.sql\";"},
       {"load table result | load file '/srv/x.sql' as table is successful!"},
       1,
       {}},
      {"load, sql, no path: refused by the dialog, nothing sent",
       {},
       "load_tab_act",
       [](fixture&, QDialog& d, const QString&) { child<QRadioButton>(&d, "sql_rb")->click(); },
       {},
       "load_tab_dlg | load table from file | ",
       {},
       {"table path information | the input table's path is empty."},
       0,
       {}},
      {"backup, client",
       {},
       "backup_act",
       [](fixture& f, QDialog& d, const QString& local) { f.go_client(d, local); },
       {},
       "save_tab_dlg | backup database to file | ruv_mdb_" + stamp + ".rbk",
       {"backup as bin as raw;"},
       {"backup result(Client) | backup database to file '%L' is successful!"},
       1,
       [](fixture&, const QString& local) { QVERIFY(read_local(local).contains("create table")); }},
      {"backup, server, replace",
       {},
       "backup_act",
       [](fixture& f, QDialog& d, const QString&) { f.replace(d); },
       {},
       "save_tab_dlg | backup database to file | ruv_mdb_" + stamp + ".rbk",
       {"backup as bin path+=\"ruv_mdb_" + stamp + ".rbk\";"},
       {"backup result(Server) | backup database to file 'ruv_mdb_" + stamp + ".rbk' is successful!"},
       1,
       {}},
      {"restore, server",
       {},
       "restore_act",
       [](fixture&, QDialog&, const QString&) {},
       [](fixture& f, const QString&) { f.db.put_file(("ruv_mdb_" + stamp + ".rbk").toStdString(), "db"); },
       "load_tab_dlg | restore database from file | ruv_mdb_" + stamp + ".rbk",
       {"restore from bin path=\"ruv_mdb_" + stamp + ".rbk\";"},
       {"restore result(Server) | restore database frome file 'ruv_mdb_" + stamp + ".rbk' is successful!"},
       1,
       {}},
      {"restore, client",
       {},
       "restore_act",
       [](fixture& f, QDialog& d, const QString& local) { f.go_client(d, local); },
       [](fixture&, const QString& local) { write_local(local, "ab"); },
       "load_tab_dlg | restore database from file | ruv_mdb_" + stamp + ".rbk",
       {"restore from bin from raw \"\\x61\\x62\";"},
       {"restore result(Client) | restore database frome file '%L' is successful!"},
       1,
       {}},
  };
  return cases;
}

}  // namespace

void main_window_db_test::transfers_data() {
  QTest::addColumn<int>("i");
  for (size_t i = 0; i < transfer_cases().size(); ++i) QTest::newRow(transfer_cases()[i].name) << int(i);
}

void main_window_db_test::transfers() {
  QFETCH(int, i);
  const transfer_case& c = transfer_cases()[size_t(i)];
  fixture f;
  QVERIFY(f.db.create_table("a/b", fields({"x"})));
  QVERIFY(f.db.insert("a/b", {peer::value::sint(ftype::i32, 1)}));
  f.open();
  QTemporaryDir dir;
  const QString local = dir.filePath("local.file");
  if (c.before) c.before(f, local);
  f.select(c.current);
  f.since_now();
  QString shown;
  if (c.fill) {
    f.dialogs.steps.push_back([&](QDialog& d) {
      // The preset path as the dialog shows it before the user changes anything.
      shown = child<QLineEdit>(&d, "s_path_le")->text();
      c.fill(f, d, local);
      d.accept();
    });
  }
  f.trigger(c.action);
  QCOMPARE(f.dialogs.shown.size(), size_t(1));
  if (!c.fill) shown = c.dialog.section(" | ", 2);
  QCOMPARE(f.dialogs.shown[0].class_name + " | " + f.dialogs.shown[0].title + " | " + shown, c.dialog);
  QStringList sent, boxes;
  for (const QString& s : c.sent) sent << local_path(s, local);
  for (const QString& b : c.boxes) boxes << local_path(b, local);
  QCOMPARE(f.sent(), sent);
  QStringList outcome;
  for (const QString& b : f.boxes())
    if (!b.startsWith("client mode information") && !b.startsWith("replace mode information")) outcome << b;
  QCOMPARE(outcome, boxes);
  QCOMPARE(f.refreshes(), c.refreshes);
  if (c.after) c.after(f, local);
}

void main_window_db_test::reconnect_keeps_tabs_and_edits() {
  fixture f;
  QVERIFY(f.db.create_table("t", {{"id", ftype::i32, "false"}, {"s", ftype::str, "false"}}));
  QVERIFY(f.db.insert("t", {peer::value::sint(ftype::i32, 1), peer::value::text("one")}));
  f.open();
  QPushButton* button = f.w->connection_button();
  QVERIFY(same_icon(button->icon(), ":/img/connect.svg"));
  f.select({"t"});
  f.trigger("view_data_act");
  f.select({"t", "s"});
  f.trigger("modify_col_act");
  auto* view = qobject_cast<data_view*>(f.tabs()->widget(0));
  QVERIFY(view->model()->setData(view->model()->index(0, 1), QString("uno"), Qt::EditRole));
  const QStringList titles = f.titles();
  const QString tree = f.shape();

  // The server drops the connection during a refresh: everything stays.
  f.srv.peer.push_reply(peer::send_and_close({}));
  f.since_now();
  f.trigger("refresh_act");
  QCOMPARE(f.titles(), titles);
  QCOMPARE(f.shape(), tree);
  QVERIFY(view->has_pending_edits());

  // A reconnect logs in again, says so, refreshes and shows the connected icon.
  QVERIFY(f.db.create_table("u", fields({"c"})));
  f.since_now();
  f.trigger("reconnect_act");
  QCOMPARE(f.boxes(), QStringList{"reconnect information | reconnect sussesful!"});
  QCOMPARE(f.srv.peer.connections(), size_t(2));
  QCOMPARE(f.refreshes(), 1);
  QCOMPARE(names_of(f.w->tables()), (QStringList{"t", "u"}));
  QVERIFY(same_icon(button->icon(), ":/img/connect.svg"));
  QCOMPARE(f.titles(), titles);
  QVERIFY(view->has_pending_edits());
  QCOMPARE(view->model()->data(view->model()->index(0, 1), Qt::DisplayRole).toString(), QStringLiteral("uno"));

  // The server refuses the next login: the failure is said, the icon stays disconnected, the
  // tabs and edits stay.
  f.srv.peer.refuse_connections();
  f.since_now();
  f.trigger("reconnect_act");
  QCOMPARE(f.boxes(), QStringList{"reconnect information | reconnect failed!\n" +
                                   QString::fromLocal8Bit(std::strerror(ECONNREFUSED))});
  QVERIFY(same_icon(button->icon(), ":/img/disconnect.svg"));
  QCOMPARE(f.titles(), titles);
  QVERIFY(view->has_pending_edits());
  f.trigger("refresh_act");  // no connection: the tree stays too
  QCOMPARE(names_of(f.w->tables()), (QStringList{"t", "u"}));
  QCOMPARE(f.titles(), titles);
}

QTEST_MAIN(main_window_db_test)
#include "main_window_db_test.moc"
