// The destructive table and field operations (question, statement, outcome box) and the
// field editor pages the tree opens, against a scripted server.
#include <cerrno>
#include <cstring>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

#include "query/wire.h"
#include "dbops/db_tree.h"
#include "dbops/reconnect.h"
#include "dbops/table_ops.h"
#include "query/db_ctx.h"
#include "tests/dbops/dbops_support.h"
#include "tests/support/scripted_prompt.h"

using namespace dbops_test;

Q_DECLARE_METATYPE(table_op_result)

class table_ops_test : public QObject {
  Q_OBJECT

 private slots:
  void destructive_operations_data();
  void destructive_operations();
  void titles();
  void field_editor_pages();
  void reconnect_accepted_then_refused();
  void field_editor_tabs_open_once();
};

void table_ops_test::destructive_operations_data() {
  QTest::addColumn<int>("op");  // 0 drop, 1 truncate, 2 delete field
  QTest::addColumn<int>("answer");  // -1: none scripted, the box's default button (Enter) answers
  QTest::addColumn<bool>("server_ok");
  QTest::addColumn<QStringList>("sent");
  QTest::addColumn<QStringList>("boxes");  // title | text
  QTest::addColumn<table_op_result>("result");
  const QString drop_q =
      "drop table warnning | drop table will delete table from server, do your want to drop table 'my t' really?";
  const QString trunc_q = "truncate table warnning | truncate table will clear all table 's data, do your want to "
                          "truncate table 'my t' really?";
  const QString del_q = "delete field warnning | delete field will delete field from table, do your want to delete "
                        "field '%1x' from table 'my t' really?";
  QTest::newRow("drop yes ok") << 0 << int(QMessageBox::Yes) << true << QStringList{"drop table [my t];"}
                               << QStringList{drop_q, "drop table result | drop table 'my t' from database is successful!"}
                               << table_op_result::done;
  QTest::newRow("drop yes fail") << 0 << int(QMessageBox::Yes) << false << QStringList{"drop table [my t];"}
                                 << QStringList{drop_q, "drop table result | drop table 'my t' from database is failed!"}
                                 << table_op_result::failed;
  QTest::newRow("drop no") << 0 << int(QMessageBox::No) << true << QStringList{} << QStringList{drop_q}
                           << table_op_result::declined;
  QTest::newRow("drop closed") << 0 << int(QMessageBox::NoButton) << true << QStringList{} << QStringList{drop_q}
                               << table_op_result::declined;
  QTest::newRow("drop enter") << 0 << -1 << true << QStringList{} << QStringList{drop_q} << table_op_result::declined;
  QTest::newRow("truncate enter") << 1 << -1 << true << QStringList{} << QStringList{trunc_q}
                                  << table_op_result::declined;
  QTest::newRow("delete enter") << 2 << -1 << true << QStringList{} << QStringList{del_q}
                                << table_op_result::declined;
  QTest::newRow("truncate yes ok")
      << 1 << int(QMessageBox::Yes) << true << QStringList{"truncate table [my t];"}
      << QStringList{trunc_q, "truncate table result | truncate table 'my t' from database is successful!"}
      << table_op_result::done;
  QTest::newRow("truncate yes fail")
      << 1 << int(QMessageBox::Yes) << false << QStringList{"truncate table [my t];"}
      << QStringList{trunc_q, "truncate table result | truncate table 'my t' from database is failed!"}
      << table_op_result::failed;
  QTest::newRow("truncate no") << 1 << int(QMessageBox::No) << true << QStringList{} << QStringList{trunc_q}
                                   << table_op_result::declined;
  QTest::newRow("delete yes ok") << 2 << int(QMessageBox::Yes) << true << QStringList{"alter table [my t] drop [%1x];"}
                                 << QStringList{del_q, "delete field result | delete field '%1x' from table 'my t' is successful!"}
                                 << table_op_result::done;
  QTest::newRow("delete yes fail") << 2 << int(QMessageBox::Yes) << false << QStringList{"alter table [my t] drop [%1x];"}
                                   << QStringList{del_q, "delete field result | delete field '%1x' from table 'my t' is failed!"}
                                   << table_op_result::failed;
  QTest::newRow("delete no") << 2 << int(QMessageBox::No) << true << QStringList{} << QStringList{del_q}
                             << table_op_result::declined;
}

void table_ops_test::destructive_operations() {
  QFETCH(int, op);
  QFETCH(int, answer);
  QFETCH(bool, server_ok);
  QFETCH(QStringList, sent);
  QFETCH(QStringList, boxes);
  QFETCH(table_op_result, result);
  server srv;
  QVERIFY(srv.connected);
  db_ctx ctx(kk::adt::string_from_cstr("ruv_mdb"), nullptr);
  ruv::test::scripted_prompt prompt;
  if (answer >= 0) prompt.answers = {QMessageBox::StandardButton(answer)};
  server_ok ? srv.ok() : srv.fail();
  QWidget parent;
  table_op_result got = op == 0   ? drop_table(&ctx, &parent, "my t")
                        : op == 1 ? truncate_table(&ctx, &parent, "my t")
                                  : delete_field(&ctx, &parent, "my t", "%1x");
  QCOMPARE(got, result);
  QCOMPARE(srv.statements(), sent);
  QStringList shown;
  for (const auto& b : prompt.boxes) shown << b.title + " | " + b.text;
  QCOMPARE(shown, boxes);
  QCOMPARE(prompt.boxes[0].buttons, QMessageBox::Yes | QMessageBox::No);
  // Enter and Escape keep the data; the box warns.
  QCOMPARE(prompt.boxes[0].default_button, QMessageBox::No);
  QCOMPARE(prompt.boxes[0].icon, QMessageBox::Warning);
  if (prompt.boxes.size() > 1) QCOMPARE(prompt.boxes[1].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void table_ops_test::titles() {
  QCOMPARE(field_editor_title(col_info_mode::create_table, "t", ""), QStringLiteral("new table"));
  QCOMPARE(field_editor_title(col_info_mode::add_fields, "t", ""), QStringLiteral("add field to table: t"));
  QCOMPARE(field_editor_title(col_info_mode::modify_field, "t%2", "%1"),
           QStringLiteral("modify field '%1' of table: t%2"));
  QCOMPARE(field_editor_title(col_info_mode::rename_field, "t", "a"), QStringLiteral("rename field 'a' of table: t"));
  QCOMPARE(field_editor_title(col_info_mode::view_fields, "t", ""), QStringLiteral("view fields of table: t"));
  QCOMPARE(data_view_title("t"), QStringLiteral("data of table: t"));
}

void table_ops_test::field_editor_pages() {
  server srv;
  db_ctx ctx(kk::adt::string_from_cstr("ruv_mdb"), nullptr);
  srv.rows({{"a", "i32", "Yes"}, {"b", "string", "No"}}, {"name", "type", "repeat"});
  std::unique_ptr<col_info> modify(make_field_editor(&ctx, col_info_mode::modify_field, "t", "b"));
  QCOMPARE(srv.statements(), (QStringList{"fields_of t;"}));
  auto* grid = modify->findChild<QTableWidget*>("tableWidget");
  QCOMPARE(grid->rowCount(), 2);
  QCOMPARE(grid->item(0, 2)->text(), QStringLiteral("true"));
  QCOMPARE(modify->current_mode(), col_info_mode::modify_field);
  QCOMPARE(modify->property("ruv_table").toString(), QStringLiteral("t"));

  srv.fail();
  std::unique_ptr<col_info> add(make_field_editor(&ctx, col_info_mode::add_fields, "gone", ""));
  QCOMPARE(add->findChild<QTableWidget*>("tableWidget")->rowCount(), 0);
  QCOMPARE(add->existing_row_count(), kk::u64(0));

  std::unique_ptr<col_info> create(make_field_editor(&ctx, col_info_mode::create_table, "", ""));
  QCOMPARE(srv.statements().size(), 2);
  QCOMPARE(create->findChild<QTableWidget*>("tableWidget")->rowCount(), 1);
  QVERIFY(!create->property("ruv_table").isValid());
}

void table_ops_test::reconnect_accepted_then_refused() {
  server srv;
  QVERIFY(srv.connected);
  ruv::test::scripted_prompt prompt;
  QVERIFY(reconnect_server(nullptr, "127.0.0.1", srv.peer.port(), "u", "p"));
  QCOMPARE(prompt.boxes.back().title, QStringLiteral("reconnect information"));
  QCOMPARE(prompt.last_text(), QStringLiteral("reconnect sussesful!"));
  QCOMPARE(srv.peer.connections(), size_t(2));
  srv.ok();
  datas* d = ruv::wire_exec("show tables;", 12);
  QVERIFY(d);
  del_datas(d);

  ruv::wire_exit();  // the server drops the connection, then refuses new ones
  srv.peer.refuse_connections();
  QVERIFY(!reconnect_server(nullptr, "127.0.0.1", srv.peer.port(), "u", "p"));
  // The box says why: the server could not be reached (a refused login would add nothing).
  QCOMPARE(prompt.last_text(),
           QStringLiteral("reconnect failed!\n") + QString::fromLocal8Bit(std::strerror(ECONNREFUSED)));
  QVERIFY(!ruv::wire_exec("show tables;", 12));  // no connection until a reconnect succeeds
}

void table_ops_test::field_editor_tabs_open_once() {
  server srv;
  srv.peer.set_handler([](std::string_view) {
    peer::result r;
    r.cols = {{"name", peer::d_string}, {"type", peer::d_string}, {"repeat", peer::d_string}};
    r.rows = {{1, {peer::text("a"), peer::text("i32"), peer::text("No")}},
              {2, {peer::text("b"), peer::text("u08"), peer::text("No")}}};
    return peer::send(peer::ok_reply(r));
  });
  db_ctx ctx(kk::adt::string_from_cstr("ruv_mdb"), nullptr);
  QTabWidget tabs;
  QVERIFY(open_field_editor(&ctx, &tabs, col_info_mode::modify_field, "t", "a"));
  QVERIFY(open_field_editor(&ctx, &tabs, col_info_mode::view_fields, "t", ""));
  QVERIFY(!open_field_editor(&ctx, &tabs, col_info_mode::modify_field, "t", "a"));  // brought to the front
  QCOMPARE(tabs.currentIndex(), 0);
  QVERIFY(open_field_editor(&ctx, &tabs, col_info_mode::modify_field, "t", "b"));
  QVERIFY(open_field_editor(&ctx, &tabs, col_info_mode::create_table, "", ""));
  QVERIFY(open_field_editor(&ctx, &tabs, col_info_mode::create_table, "", ""));
  QStringList titles;
  for (int i = 0; i < tabs.count(); ++i) titles << tabs.tabText(i);
  QCOMPARE(titles, (QStringList{"modify field 'a' of table: t", "view fields of table: t", "modify field 'b' of table: t",
                                "new table", "new table"}));
  QCOMPARE(tabs.currentIndex(), 4);
  QCOMPARE(srv.statements(), (QStringList{"fields_of t;", "fields_of t;", "fields_of t;"}));
  auto* last = tabs.widget(4)->findChild<QLineEdit*>("table_le");
  QCOMPARE(last->text(), QStringLiteral("tab1"));
}

QTEST_MAIN(table_ops_test)
#include "table_ops_test.moc"
