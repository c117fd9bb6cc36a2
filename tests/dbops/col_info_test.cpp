// The field editor against a scripted server: what each mode lets the user change, the
// exact statements Apply sends and the boxes it shows.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

#include "dbops/col_info.h"
#include "query/db_ctx.h"
#include "tests/dbops/dbops_support.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/child.h"

using namespace dbops_test;

namespace {

using ruv::test::child;

QTableWidget* grid(col_info& page) { return child<QTableWidget>(&page, "tableWidget"); }

QStringList row_texts(col_info& page, int row) {
  QStringList out;
  for (int c = 0; c < 3; ++c) out << (grid(page)->item(row, c) ? grid(page)->item(row, c)->text() : QString());
  return out;
}

bool editable(col_info& page, int row, int column) {
  return grid(page)->item(row, column)->flags() & Qt::ItemIsEditable;
}

void set_name(col_info& page, int row, const QString& name) { grid(page)->item(row, 0)->setText(name); }

void click(col_info& page, const char* button) { child<QPushButton>(&page, button)->click(); }

// Table t with fields a (i32, repeat) and b (string).
void fill(col_info& page, col_info_mode mode, const QString& field = {}) {
  page.set_table(utf8_bytes("t"), utf8_bytes(field), texts({"a", "b"}), texts({"i32", "string"}), texts({"Yes", "No"}), mode);
}

struct fixture {
  server srv;
  db_ctx ctx{kk::adt::string_from_cstr("ruv_mdb"), nullptr};
  ruv::test::scripted_prompt prompt;
  col_info page{&ctx};
  QSignalSpy accepted{&page, &col_info::accepted};
  QSignalSpy rejected{&page, &col_info::rejected};
  QString box() const { return prompt.boxes.empty() ? QString() : prompt.boxes.back().title + " | " + prompt.last_text(); }
};

}  // namespace

class col_info_test : public QObject {
  Q_OBJECT

 private slots:
  void form_and_fill();
  void modes_decide_what_is_editable();
  void create_table_scenarios_data();
  void create_table_scenarios();
  void add_fields_keeps_existing_rows_and_retries_only_what_failed();
  void add_fields_refuses_bad_names_before_sending_data();
  void add_fields_refuses_bad_names_before_sending();
  void add_without_new_rows_succeeds_silently();
  void type_chooser_writes_at_once_and_goes_with_the_cell();
  void modify_sends_the_chosen_type();
  void rename_scenarios_data();
  void rename_scenarios();
  void cancel_rejects();
};

void col_info_test::form_and_fill() {
  fixture f;
  QCOMPARE(f.page.objectName(), QStringLiteral("col_info"));
  QCOMPARE(f.page.size(), QSize(832, 490));
  QCOMPARE(grid(f.page)->horizontalHeaderItem(2)->text(), QStringLiteral("Repeat"));
  f.page.set_table(utf8_bytes("t"), {}, texts({"a", "b", "c"}), texts({"i32", "date", "u08"}), texts({"Yes", "yes", ""}),
                   col_info_mode::view_fields);
  QCOMPARE(grid(f.page)->rowCount(), 3);
  QCOMPARE(row_texts(f.page, 0), (QStringList{"a", "i32", "true"}));
  QCOMPARE(row_texts(f.page, 1), (QStringList{"b", "date", "false"}));
  QCOMPARE(row_texts(f.page, 2), (QStringList{"c", "u08", "false"}));
  QCOMPARE(child<QLineEdit>(&f.page, "table_le")->text(), QStringLiteral("t"));
}

void col_info_test::modes_decide_what_is_editable() {
  struct expect {
    col_info_mode mode;
    const char* field;
    bool table_ro, add, del, apply;
    const char* editable;  // per cell of rows a and b: 1 editable in place
  };
  const expect table[] = {
      {col_info_mode::view_fields, "", true, false, false, false, "000000"},
      {col_info_mode::add_fields, "", true, true, true, true, "000000"},
      {col_info_mode::modify_field, "b", true, false, false, true, "000000"},
      {col_info_mode::rename_field, "b", true, false, false, true, "000100"},
  };
  for (const expect& e : table) {
    fixture f;
    fill(f.page, e.mode, e.field);
    QCOMPARE(child<QLineEdit>(&f.page, "table_le")->isReadOnly(), e.table_ro);
    QCOMPARE(child<QPushButton>(&f.page, "add_btn")->isEnabled(), e.add);
    QCOMPARE(child<QPushButton>(&f.page, "delete_btn")->isEnabled(), e.del);
    QCOMPARE(child<QPushButton>(&f.page, "apply_btn")->isEnabled(), e.apply);
    QString got;
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 3; ++c) got += editable(f.page, r, c) ? '1' : '0';
    QCOMPARE(got, QString::fromLatin1(e.editable));
  }
  fixture f;
  f.page.set_table(utf8_bytes("tab1"), {}, {}, {}, {}, col_info_mode::create_table);
  QVERIFY(!child<QLineEdit>(&f.page, "table_le")->isReadOnly());
  QCOMPARE(row_texts(f.page, 0), (QStringList{"f1", "u32", "true"}));
  QVERIFY(editable(f.page, 0, 0) && !editable(f.page, 0, 1) && !editable(f.page, 0, 2));
  QCOMPARE(grid(f.page)->currentRow(), 0);
  QCOMPARE(grid(f.page)->currentColumn(), 0);
}

void col_info_test::create_table_scenarios_data() {
  QTest::addColumn<QString>("table");
  QTest::addColumn<QStringList>("names");  // typed over the added rows; "=" keeps a row's name
  QTest::addColumn<bool>("server_ok");
  QTest::addColumn<QStringList>("sent");
  QTest::addColumn<QString>("box");
  QTest::addColumn<bool>("accepted");
  const QString title = "create table result | ";
  QTest::newRow("three rows") << "tab1" << QStringList{"=", "=", "="} << true
                              << QStringList{"create table tab1 ( f1 u32( true ), f2 u32( true ), f3 u32( true ) );"}
                              << title + "create table 'tab1' is successful!" << true;
  QTest::newRow("names quoted") << "my table" << QStringList{"id", "2nd"} << true
                                << QStringList{"create table [my table] ( id u32( true ), [2nd] u32( true ) );"}
                                << title + "create table 'my table' is successful!" << true;
  QTest::newRow("server refuses") << "t" << QStringList{"="} << false
                                  << QStringList{"create table t ( f1 u32( true ) );"}
                                  << title + "create table 't' is failed!" << false;
  QTest::newRow("duplicate name") << "t" << QStringList{"x", "x"} << true << QStringList{}
                                  << title + "create table 't' is failed!" << false;
  QTest::newRow("empty name") << "t" << QStringList{"x", "", "y"} << true << QStringList{}
                              << title + "create table 't' is failed!" << false;
  QTest::newRow("empty table name") << "" << QStringList{"="} << true << QStringList{}
                                    << title + "create table '' is failed!" << false;
  QTest::newRow("percent signs stay text") << "t%2" << QStringList{"%1"} << true
                                           << QStringList{"create table [t%2] ( [%1] u32( true ) );"}
                                           << title + "create table 't%2' is successful!" << true;
}

void col_info_test::create_table_scenarios() {
  QFETCH(QString, table);
  QFETCH(QStringList, names);
  QFETCH(bool, server_ok);
  QFETCH(QStringList, sent);
  QFETCH(QString, box);
  QFETCH(bool, accepted);
  fixture f;
  QVERIFY(f.srv.connected);
  f.page.set_table(utf8_bytes("tab1"), {}, {}, {}, {}, col_info_mode::create_table);
  for (int i = 1; i < names.size(); ++i) click(f.page, "add_btn");
  QCOMPARE(grid(f.page)->rowCount(), names.size());
  child<QLineEdit>(&f.page, "table_le")->setText(table);
  for (int i = 0; i < names.size(); ++i) {
    if (names[i] != "=") set_name(f.page, i, names[i]);
  }
  server_ok ? f.srv.ok() : f.srv.fail();
  click(f.page, "apply_btn");
  QCOMPARE(f.srv.statements(), sent);
  QCOMPARE(f.box(), box);
  QCOMPARE(f.accepted.count(), accepted ? 1 : 0);
  QCOMPARE(f.rejected.count(), 0);
}

void col_info_test::add_fields_keeps_existing_rows_and_retries_only_what_failed() {
  fixture f;
  fill(f.page, col_info_mode::add_fields);
  QCOMPARE(f.page.existing_row_count(), kk::u64(2));
  grid(f.page)->setCurrentCell(0, 0);
  click(f.page, "delete_btn");  // an existing field's row stays
  QCOMPARE(grid(f.page)->rowCount(), 2);
  click(f.page, "add_btn");
  click(f.page, "add_btn");
  click(f.page, "add_btn");
  QCOMPARE(row_texts(f.page, 4), (QStringList{"f5", "u32", "true"}));
  grid(f.page)->setCurrentCell(4, 1);
  click(f.page, "delete_btn");  // a new row goes
  QCOMPARE(grid(f.page)->rowCount(), 4);
  set_name(f.page, 3, "a%2b");

  f.srv.ok();
  f.srv.fail();
  click(f.page, "apply_btn");
  QCOMPARE(f.srv.statements(), (QStringList{"alter table t add f3 u32 ( true );", "alter table t add [a%2b] u32 ( true );"}));
  QCOMPARE(f.box(), QStringLiteral("create field result | create field 'a%2b' is failed!"));
  QCOMPARE(f.accepted.count(), 0);
  QCOMPARE(f.page.existing_row_count(), kk::u64(3));
  QVERIFY(!editable(f.page, 2, 0));  // f3 exists now
  grid(f.page)->setCurrentCell(2, 0);
  click(f.page, "delete_btn");
  QCOMPARE(grid(f.page)->rowCount(), 4);

  f.srv.ok();
  click(f.page, "apply_btn");
  QCOMPARE(f.srv.statements().mid(2), (QStringList{"alter table t add [a%2b] u32 ( true );"}));
  QCOMPARE(f.box(), QStringLiteral("create field result | create all field is successful!"));
  QCOMPARE(f.accepted.count(), 1);
}

void col_info_test::add_fields_refuses_bad_names_before_sending_data() {
  QTest::addColumn<QStringList>("names");
  QTest::addColumn<QString>("named");
  QTest::newRow("same as an existing field") << QStringList{"c", "a"} << "a";
  QTest::newRow("same as another new row") << QStringList{"c", "c"} << "c";
  QTest::newRow("empty") << QStringList{"c", ""} << "";
}

void col_info_test::add_fields_refuses_bad_names_before_sending() {
  QFETCH(QStringList, names);
  QFETCH(QString, named);
  fixture f;
  fill(f.page, col_info_mode::add_fields);
  for (int i = 0; i < names.size(); ++i) {
    click(f.page, "add_btn");
    set_name(f.page, 2 + i, names[i]);
  }
  click(f.page, "apply_btn");
  QCOMPARE(f.srv.statements(), QStringList{});
  QCOMPARE(f.box(), QStringLiteral("create field result | create field '%1' is failed!").arg(named));
  QCOMPARE(f.accepted.count(), 0);
}

void col_info_test::add_without_new_rows_succeeds_silently() {
  fixture f;
  fill(f.page, col_info_mode::add_fields);
  click(f.page, "apply_btn");
  QCOMPARE(f.srv.statements(), QStringList{});
  QCOMPARE(f.box(), QStringLiteral("create field result | create all field is successful!"));
  QCOMPARE(f.accepted.count(), 1);
}

void col_info_test::type_chooser_writes_at_once_and_goes_with_the_cell() {
  fixture f;
  f.page.set_table(utf8_bytes("tab1"), {}, {}, {}, {}, col_info_mode::create_table);
  QTableWidget* g = grid(f.page);
  g->setCurrentCell(0, 1);
  emit g->cellDoubleClicked(0, 1);
  auto* combo = qobject_cast<QComboBox*>(g->cellWidget(0, 1));
  QVERIFY(combo);
  QStringList offered;
  for (int i = 0; i < combo->count(); ++i) offered << combo->itemText(i);
  QCOMPARE(offered, (QStringList{"u08", "u16", "u32", "u64", "i08", "i16", "i32", "i64", "float", "double", "string",
                                 "date", "time", "datetime"}));
  QCOMPARE(combo->currentText(), QStringLiteral("u32"));
  combo->setCurrentText("date");
  QCOMPARE(g->item(0, 1)->text(), QStringLiteral("date"));
  g->setCurrentCell(0, 2);
  QTest::qWait(0);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(!g->cellWidget(0, 1));
  QCOMPARE(g->item(0, 1)->text(), QStringLiteral("date"));
  emit g->cellDoubleClicked(0, 2);
  auto* repeat = qobject_cast<QComboBox*>(g->cellWidget(0, 2));
  QVERIFY(repeat);
  QCOMPARE(repeat->count(), 2);
  repeat->setCurrentText("false");
  QCOMPARE(g->item(0, 2)->text(), QStringLiteral("false"));
  emit g->cellDoubleClicked(0, 0);  // the name is edited in place
  QVERIFY(!g->cellWidget(0, 0));

  f.srv.ok();
  click(f.page, "apply_btn");
  QCOMPARE(f.srv.statements(), (QStringList{"create table tab1 ( f1 date( false ) );"}));
}

void col_info_test::modify_sends_the_chosen_type() {
  fixture f;
  fill(f.page, col_info_mode::modify_field, "b");
  QTableWidget* g = grid(f.page);
  g->setCurrentCell(0, 1);
  emit g->cellDoubleClicked(0, 1);  // another field: no chooser
  QVERIFY(!g->cellWidget(0, 1));
  g->setCurrentCell(1, 1);
  emit g->cellDoubleClicked(1, 1);
  auto* combo = qobject_cast<QComboBox*>(g->cellWidget(1, 1));
  QVERIFY(combo);
  QCOMPARE(combo->currentText(), QStringLiteral("string"));
  combo->setCurrentText("i64");
  f.srv.ok();
  click(f.page, "apply_btn");
  QCOMPARE(f.srv.statements(), (QStringList{"alter table t modify b i64 ( false );"}));
  QCOMPARE(f.box(), QStringLiteral("modify field result | modify field is successful!"));
  QCOMPARE(f.accepted.count(), 1);

  fixture v;
  fill(v.page, col_info_mode::view_fields);
  emit grid(v.page)->cellDoubleClicked(0, 1);
  QVERIFY(!grid(v.page)->cellWidget(0, 1));
}

void col_info_test::rename_scenarios_data() {
  QTest::addColumn<QString>("new_name");
  QTest::addColumn<bool>("server_ok");
  QTest::addColumn<QStringList>("sent");
  QTest::addColumn<QString>("box");
  QTest::addColumn<bool>("accepted");
  const QString title = "rename field result | ";
  QTest::newRow("renamed") << "c" << true << QStringList{"alter table t rename b c;"}
                           << title + "rename field 'b' to 'c' is successful!" << true;
  QTest::newRow("server refuses") << "c d" << false << QStringList{"alter table t rename b [c d];"}
                                  << title + "rename field 'b' to 'c d' is failed!" << false;
  QTest::newRow("to another field's name") << "a" << true << QStringList{}
                                           << title + "rename field 'b' to 'a' is failed!" << false;
  QTest::newRow("to nothing") << "" << true << QStringList{} << title + "rename field 'b' to '' is failed!" << false;
}

void col_info_test::rename_scenarios() {
  QFETCH(QString, new_name);
  QFETCH(bool, server_ok);
  QFETCH(QStringList, sent);
  QFETCH(QString, box);
  QFETCH(bool, accepted);
  fixture f;
  fill(f.page, col_info_mode::rename_field, "b");
  set_name(f.page, 1, new_name);
  server_ok ? f.srv.ok() : f.srv.fail();
  click(f.page, "apply_btn");
  QCOMPARE(f.srv.statements(), sent);
  QCOMPARE(f.box(), box);
  QCOMPARE(f.accepted.count(), accepted ? 1 : 0);
  QCOMPARE(row_texts(f.page, 1)[0], new_name);  // a failure leaves the grid as it was
}

void col_info_test::cancel_rejects() {
  fixture f;
  fill(f.page, col_info_mode::add_fields);
  click(f.page, "cancel_btn");
  QCOMPARE(f.rejected.count(), 1);
  QCOMPARE(f.srv.statements(), QStringList{});
  QVERIFY(f.prompt.boxes.empty());
}

QTEST_MAIN(col_info_test)
#include "col_info_test.moc"
