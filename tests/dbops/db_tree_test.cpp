// The database tree's catalogue, its rebuild keeping the current item, and the closing of
// table pages whose table is gone.
#include <QAction>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTreeWidget>
#include <QtTest>

#include "dbops/db_tree.h"
#include "dbops/tree_actions.h"
#include "query/db_ctx.h"
#include "tests/dbops/dbops_support.h"
#include "tests/peer/catalogue.h"

using namespace dbops_test;

// Stands for the script editor tab (same full class name): pages of this class are never
// table pages. A class of the same short name outside the namespace is an ordinary page.
namespace ruv {
class sql_script_editor : public QWidget {
  Q_OBJECT
};
}  // namespace ruv
class sql_script_editor : public QWidget {
  Q_OBJECT
};

namespace {

QStringList names_of(const name_vector& v) {
  QStringList out;
  for (const auto& s : v) out << QString::fromUtf8(s.data, int(s.size));
  return out;
}

QStringList fields_of(const db_catalogue& cat, const char* table) {
  auto* n = cat.field_cache.find(kk::adt::cstr_view(table));
  return n ? names_of(n->value) : QStringList{"<none>"};
}

db_catalogue catalogue(const std::vector<std::pair<QString, QStringList>>& tables) {
  db_catalogue cat;
  for (const auto& [t, fields] : tables) {
    cat.table_names.push_back(utf8_bytes(t));
    name_vector f;
    for (const QString& s : fields) f.push_back(utf8_bytes(s));
    if (cat.field_cache.insert(utf8_bytes(t), std::move(f))) ++cat.field_cache_count;
  }
  return cat;
}

// The tree as text: one line per item, indented by level, "*" after the current item and
// "+" after an expanded one.
QString shape(QTreeWidget* tree) {
  QString out;
  std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* it, int depth) {
    out += QString(depth * 2, ' ') + it->text(0) + (it == tree->currentItem() ? "*" : "") +
           (it->isExpanded() ? "+" : "") + "\n";
    for (int i = 0; i < it->childCount(); ++i) walk(it->child(i), depth + 1);
  };
  for (int i = 0; i < tree->topLevelItemCount(); ++i) walk(tree->topLevelItem(i), 0);
  return out;
}


}  // namespace

class db_tree_test : public QObject {
  Q_OBJECT

 private slots:
  void catalogue_read_with_quiet_statements_logged_once();
  void failed_show_tables_keeps_tree_and_tabs();
  void current_item_survives_refresh_data();
  void current_item_survives_refresh();
  void pages_of_vanished_tables();
  void refresh_against_the_catalogue_server();
  void context_actions_follow_the_level();
  void pages_open_once_and_close_by_sender();
};

void db_tree_test::catalogue_read_with_quiet_statements_logged_once() {
  server srv;
  QVERIFY(srv.connected);
  QTextEdit log;
  db_ctx ctx(kk::adt::string_from_cstr("ruv_mdb"), &log);
  srv.rows({{"t1"}, {"my t"}, {"t1"}}, {"name"});
  srv.rows({{"a", "i32", "No"}, {"b", "u08", "Yes"}}, {"name", "type", "repeat"});
  srv.fail();
  srv.rows({{"x", "i32", "No"}}, {"name", "type", "repeat"});
  int changes = 0;
  connect(&log, &QTextEdit::textChanged, [&] { ++changes; });
  db_catalogue cat;
  QVERIFY(read_catalogue(&ctx, cat));
  QCOMPARE(srv.statements(), (QStringList{"show tables;", "fields_of t1;", "fields_of [my t];", "fields_of t1;"}));
  QCOMPARE(names_of(cat.table_names), (QStringList{"t1", "my t", "t1"}));
  QCOMPARE(cat.field_cache_count, kk::u64(2));
  QCOMPARE(fields_of(cat, "t1"), (QStringList{"a", "b"}));
  QCOMPARE(fields_of(cat, "my t"), QStringList{});
  const QString text = log.toPlainText();
  QCOMPARE(text.count("execute sql:"), 4);
  QVERIFY(text.indexOf("show tables;") < text.indexOf("fields_of [my t];"));
  QCOMPARE(text.count("failed"), 1);
  QVERIFY(changes <= 2);  // one update of the pane (a clear and a set at most), not one per statement
}

void db_tree_test::failed_show_tables_keeps_tree_and_tabs() {
  server srv;
  db_ctx ctx(kk::adt::string_from_cstr("ruv_mdb"), nullptr);
  db_catalogue cat = catalogue({{"t", {"a"}}});
  QTreeWidget tree;
  fill_db_tree(&tree, "ruv_mdb", cat);
  tree.setCurrentItem(find_item(&tree, {"t", "a"}));
  QTabWidget tabs;
  auto* page = new QWidget;
  tabs.addTab(page, "data of table: t");
  const QString before = shape(&tree);
  srv.fail();
  QVERIFY(!refresh_db_tree(&ctx, &tree, &tabs, "ruv_mdb", cat));
  QCOMPARE(shape(&tree), before);
  QCOMPARE(tabs.count(), 1);
  QCOMPARE(names_of(cat.table_names), QStringList{"t"});
  QCOMPARE(fields_of(cat, "t"), QStringList{"a"});

  srv.rows({}, {"name"});  // an empty database is no failure
  QVERIFY(refresh_db_tree(&ctx, &tree, &tabs, "ruv_mdb", cat));
  QCOMPARE(shape(&tree), QStringLiteral("ruv_mdb+\n"));
  QCOMPARE(tabs.count(), 0);
  QCOMPARE(cat.field_cache_count, kk::u64(0));
}

void db_tree_test::current_item_survives_refresh_data() {
  QTest::addColumn<QStringList>("current");  // path below the root; "-" for none
  QTest::addColumn<bool>("expanded");
  QTest::addColumn<QString>("after");
  QTest::newRow("root") << QStringList{} << false << "db*+\n  t1\n    a\n    b\n  t3\n    c\n";
  QTest::newRow("collapsed table") << QStringList{"t3"} << false << "db+\n  t1\n    a\n    b\n  t3*\n    c\n";
  QTest::newRow("expanded table") << QStringList{"t1"} << true << "db+\n  t1*+\n    a\n    b\n  t3\n    c\n";
  QTest::newRow("field") << QStringList{"t1", "b"} << false << "db+\n  t1+\n    a\n    b*\n  t3\n    c\n";
  QTest::newRow("field of a dropped table") << QStringList{"t2", "a"} << false
                                            << "db+\n  t1\n    a\n    b\n  t3\n    c\n";
  QTest::newRow("none") << QStringList{"-"} << false << "db+\n  t1\n    a\n    b\n  t3\n    c\n";
}

void db_tree_test::current_item_survives_refresh() {
  QFETCH(QStringList, current);
  QFETCH(bool, expanded);
  QFETCH(QString, after);
  QTreeWidget tree;
  fill_db_tree(&tree, "db", catalogue({{"t1", {"a", "b"}}, {"t2", {"a"}}, {"t3", {"c"}}}));
  if (current != QStringList{"-"}) {
    QTreeWidgetItem* it = find_item(&tree, current);
    QVERIFY(it);
    tree.setCurrentItem(it);
    it->setExpanded(expanded);
  } else {
    tree.setCurrentItem(nullptr);
  }
  fill_db_tree(&tree, "db", catalogue({{"t1", {"a", "b"}}, {"t3", {"c"}}}));
  QCOMPARE(shape(&tree), after);
}

void db_tree_test::pages_of_vanished_tables() {
  const db_catalogue cat = catalogue({{"t", {"a"}}, {"x: y", {"b"}}});
  QTabWidget tabs;
  auto add = [&](QWidget* page, const QString& title, const char* table = nullptr) {
    if (table) set_page_table(page, table);
    tabs.addTab(page, title);
    return page;
  };
  add(new ruv::sql_script_editor, "gone: script.sql");
  QWidget* not_a_script = add(new sql_script_editor, "gone: other");
  add(new QWidget, "new table");
  QWidget* kept_colon = add(new QWidget, "modify field 'a: b' of table: x: y", "x: y");
  QWidget* gone_marked = add(new QWidget, "view fields of table: g", "g");
  QWidget* gone_title = add(new QWidget, "data of table: g");
  add(new QWidget, "data of table: t");
  add(new QWidget, "rename field 'q: r' of table: t", "t");
  QCOMPARE(page_table(&tabs, tabs.indexOf(kept_colon)), QStringLiteral("x: y"));
  QCOMPARE(vanished_table_pages(&tabs, cat), (QVector<QWidget*>{not_a_script, gone_marked, gone_title}));
}

void db_tree_test::refresh_against_the_catalogue_server() {
  peer::catalogue db;
  server srv;
  db.install(srv.peer);
  QVERIFY(srv.connected);
  QVERIFY(db.create_table("users", {{"id", peer::ftype::u64, "true"}, {"name", peer::ftype::str, "false"}}));
  QVERIFY(db.create_table("my log", {{"at", peer::ftype::datetime, ""}}));
  QVERIFY(db.create_table("empty", {{"x", peer::ftype::i08, ""}}));
  db_ctx ctx(kk::adt::string_from_cstr("ruv_mdb"), nullptr);
  db_catalogue cat;
  QTreeWidget tree;
  QTabWidget tabs;
  QVERIFY(refresh_db_tree(&ctx, &tree, &tabs, "ruv_mdb", cat));
  QCOMPARE(shape(&tree), QStringLiteral("ruv_mdb+\n  users\n    id\n    name\n  my log\n    at\n  empty\n    x\n"));
  QCOMPARE(names_of(cat.table_names), (QStringList{"users", "my log", "empty"}));
  QCOMPARE(fields_of(cat, "my log"), QStringList{"at"});

  tree.setCurrentItem(find_item(&tree, {"users", "name"}));
  auto* users_page = new QWidget;
  set_page_table(users_page, "users");
  tabs.addTab(users_page, "modify field 'name' of table: users");
  auto* log_page = new QWidget;
  set_page_table(log_page, "my log");
  tabs.addTab(log_page, "data of table: my log");
  QVERIFY(db.run("drop table [my log];").ok);
  QVERIFY(db.run("alter table users add mail string( false );").ok);
  QPointer<QWidget> gone(log_page);
  QVERIFY(refresh_db_tree(&ctx, &tree, &tabs, "ruv_mdb", cat));
  QCOMPARE(shape(&tree), QStringLiteral("ruv_mdb+\n  users+\n    id\n    name*\n    mail\n  empty\n    x\n"));
  QCOMPARE(tabs.count(), 1);
  QCOMPARE(tabs.widget(0), users_page);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(gone.isNull());
}

void db_tree_test::context_actions_follow_the_level() {
  QObject owner;
  tree_actions a;
  const char* texts[] = {"refresh(&r)", "create table(&c)", "reconnect(&r)", "load table(&l)", "backup(&b)",
                         "restore(&r)", "execute sql(&e)", "status(&s)", "drop(&d)", "truncate(&t)",
                         "create field(&c)", "view data(&v)", "view field(&v)", "import(&i)", "export(&e)",
                         "save table(&s)", "delete(&d)", "rename(&r)", "modify(&m)"};
  QAction** slots_[] = {&a.refresh, &a.create_table, &a.reconnect, &a.load_table, &a.backup, &a.restore,
                        &a.exec_sql, &a.status, &a.drop, &a.truncate, &a.new_field, &a.view_data,
                        &a.view_field, &a.import_data, &a.export_data, &a.save_table, &a.delete_col,
                        &a.rename_col, &a.modify_col};
  for (size_t i = 0; i < std::size(texts); ++i) *slots_[i] = new QAction(texts[i], &owner);
  a.status->setEnabled(false);
  a.make_separators(&owner);
  QAction* first_separator = a.separators[0];
  a.make_separators(&owner);
  QCOMPARE(a.separators[0], first_separator);

  QTreeWidget tree;
  fill_db_tree(&tree, "db", catalogue({{"t", {"f"}}}));
  // The list as text, "-" for a separator, "!" before a disabled action.
  auto listed = [&] {
    QStringList out;
    for (QAction* x : tree.actions()) out << (x->isSeparator() ? "-" : QString(x->isEnabled() ? "" : "!") + x->text());
    return out;
  };
  auto enabled_count = [&] {
    int n = 0;
    for (QAction** s : slots_) n += (*s)->isEnabled();
    return n;
  };
  const QStringList db = {"refresh(&r)", "create table(&c)", "reconnect(&r)", "load table(&l)", "-", "backup(&b)",
                          "restore(&r)", "-", "execute sql(&e)", "-", "!status(&s)"};
  const QStringList table = {"drop(&d)", "truncate(&t)", "create field(&c)", "view field(&v)", "view data(&v)", "-",
                             "import(&i)", "export(&e)", "-", "save table(&s)"};
  const QStringList field = {"delete(&d)", "rename(&r)", "modify(&m)"};
  struct step {
    QStringList path;
    QStringList listed;
    int enabled;  // database actions always count their 7
  };
  const step steps[] = {{{}, db, 7}, {{"t"}, table, 15}, {{"t", "f"}, field, 10}, {{}, db, 7}, {{"t", "f"}, field, 10}};
  for (const step& s : steps) {
    QTreeWidgetItem* it = find_item(&tree, s.path);
    tree_current_changed(&tree, it, a);
    QCOMPARE(listed(), s.listed);
    QCOMPARE(enabled_count(), s.enabled);
  }
  tree_current_changed(&tree, nullptr, a);
  QCOMPARE(listed(), QStringList{});
}

void db_tree_test::pages_open_once_and_close_by_sender() {
  QTabWidget tabs;
  add_table_page(&tabs, new QWidget, "script.sql");
  auto* first = new QWidget;
  auto* second = new QWidget;
  QCOMPARE(add_table_page(&tabs, first, "modify field 'a' of table: t"), 1);
  QCOMPARE(add_table_page(&tabs, second, "view fields of table: t"), 2);
  QCOMPARE(tabs.currentIndex(), 2);
  QCOMPARE(tabs.tabBar()->tabTextColor(2), QColor(Qt::black));
  QCOMPARE(tab_with_title(&tabs, "modify field 'a' of table: t"), 1);
  QCOMPARE(tab_with_title(&tabs, "modify field 'b' of table: t"), -1);
  // The first page asks to be closed while the second is current: the first goes.
  QPointer<QWidget> gone(first);
  close_table_page(&tabs, first);
  QCOMPARE(tabs.count(), 2);
  QCOMPARE(tabs.widget(1), second);
  QVERIFY(!gone.isNull());  // deleted later, not inside its own signal
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(gone.isNull());
  close_table_page(&tabs, gone);  // a second request for the same page does nothing
  QCOMPARE(tabs.count(), 2);
}

QTEST_MAIN(db_tree_test)
#include "db_tree_test.moc"
