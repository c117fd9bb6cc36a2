// The transfers as the tree's actions run them: dialog titles and preset names from a fixed
// clock, the exact statements, the outcome boxes, and local files in client mode.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <cerrno>
#include <cstring>

#include "transfer_dlg/import_csv_dlg.h"
#include "dbops/load_tab_dlg.h"
#include "dbops/save_tab_dlg.h"
#include "dbops/transfers.h"
#include "query/db_ctx.h"
#include "query/transfer_sql.h"
#include "tests/dbops/dbops_support.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/child.h"
#include "tests/peer/fault_proxy.h"
#include "query/wire.h"

using namespace dbops_test;

namespace {

using ruv::test::child;

const QString stamp = QStringLiteral("24-05-09_14_03_07");

struct fixture {
  server srv;
  db_ctx ctx{kk::adt::string_from_cstr("ruv_mdb"), nullptr};
  ruv::test::scripted_prompt prompt;
  ruv::test::fixed_clock clock{QDateTime(QDate(2024, 5, 9), QTime(14, 3, 7))};
  QWidget parent;
  QString box() const { return prompt.boxes.empty() ? QString() : prompt.boxes.back().title + " | " + prompt.last_text(); }
  // Client mode with its warning answered Yes, the local path chosen through the browse button.
  void go_client(QWidget* dlg, const QString& path) {
    prompt.answers.push_back(QMessageBox::Yes);
    QTest::keyClick(child<QGroupBox>(dlg, "c_gb"), Qt::Key_Space);
    prompt.files.push_back({path});
    child<QToolButton>(dlg, "path_tb")->click();
  }
  void replace(QWidget* dlg) {
    prompt.answers.push_back(QMessageBox::Yes);
    child<QCheckBox>(dlg, "rep_cb")->click();
  }
};

QByteArray read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

}  // namespace

class transfers_test : public QObject {
  Q_OBJECT

 private slots:
  void export_server_with_replace();
  void import_typed_separator_refused_by_server();
  void save_and_load_server();
  void load_sql_format_without_name_and_empty_path();
  void backup_client_into_existing_file_data();
  void backup_client_into_existing_file();
  void client_refusals_say_why_data();
  void client_refusals_say_why();
  void restore_client_sends_the_file();
  void client_writes_that_fail_say_why_data();
  void client_writes_that_fail_say_why();
  void client_uploads_refused_say_why_data();
  void client_uploads_refused_say_why();
  void a_transfer_whose_answer_was_lost_says_so();
};

void transfers_test::export_server_with_replace() {
  fixture f;
  import_csv_dlg dlg;
  prepare_export(dlg, "a/b");
  QCOMPARE(dlg.windowTitle(), QStringLiteral("export table: a/b to csv/csvs file"));
  QCOMPARE(child<QLineEdit>(&dlg, "s_path_le")->text(), "a_b_" + stamp + ".csv");
  QVERIFY(!child<QCheckBox>(&dlg, "rep_cb")->isHidden());
  f.replace(&dlg);
  child<QComboBox>(&dlg, "sp_cmb")->setCurrentIndex(1);
  f.srv.ok();
  QVERIFY(run_export(&f.ctx, &f.parent, "a/b", dlg));
  QCOMPARE(f.srv.statements(),
           QStringList{"select * from [a/b] export as csv split by \";\" path+=\"a_b_" + stamp + ".csv\";"});
  QCOMPARE(f.box(), "export table result | export table 'a/b' to file 'a_b_" + stamp + ".csv' is successful!");
}

void transfers_test::import_typed_separator_refused_by_server() {
  fixture f;
  import_csv_dlg dlg;
  prepare_import(dlg, "t");
  QCOMPARE(dlg.windowTitle(), QStringLiteral("import data from csv/csvs file to table: t"));
  QVERIFY(child<QCheckBox>(&dlg, "rep_cb")->isHidden());
  child<QRadioButton>(&dlg, "csvs_rb")->click();
  child<QComboBox>(&dlg, "sp_cmb")->setEditText("\"|");
  f.srv.fail();
  QVERIFY(!run_import(&f.ctx, &f.parent, "t", dlg));
  QCOMPARE(f.srv.statements(),
           QStringList{"import t from csvs split by \"\\x22\\x7c\" path=\"t_" + stamp + ".csv\";"});
  QCOMPARE(f.box(), "import table result | import file 't_" + stamp + ".csv' to table 't' is failed!");
}

void transfers_test::save_and_load_server() {
  fixture f;
  save_tab_dlg save;
  prepare_save(save, "t");
  QCOMPARE(save.windowTitle(), QStringLiteral("save table 't' to file"));
  child<QRadioButton>(&save, "sql_rb")->click();
  f.srv.ok();
  QVERIFY(run_save(&f.ctx, &f.parent, "t", save));
  QCOMPARE(f.box(), "save table result | save table 't' to file 't_" + stamp + ".bin' is successful!");

  load_tab_dlg load;
  prepare_load(load);
  QCOMPARE(load.windowTitle(), QStringLiteral("load table from file"));
  QCOMPARE(child<QLineEdit>(&load, "s_path_le")->text(), QString());
  child<QLineEdit>(&load, "tab_le")->setText("t2");
  load.set_path("p.bin");
  f.srv.fail();
  QVERIFY(!run_load(&f.ctx, &f.parent, load));
  QCOMPARE(f.srv.statements(), (QStringList{"save t as sql path=\"t_" + stamp + ".bin\";", "load t2 from bin path=\"p.bin\";"}));
  QCOMPARE(f.box(), QStringLiteral("load table result | load file 'p.bin' to as table 't2' is failed!"));
}

void transfers_test::load_sql_format_without_name_and_empty_path() {
  fixture f;
  load_tab_dlg dlg;
  prepare_load(dlg);
  child<QRadioButton>(&dlg, "sql_rb")->click();
  QVERIFY(!run_load(&f.ctx, &f.parent, dlg));  // no path: nothing sent, nothing shown
  QVERIFY(f.prompt.boxes.empty());
  dlg.set_path("/srv/x.sql");
  f.srv.ok();
  QVERIFY(run_load(&f.ctx, &f.parent, dlg));
  QCOMPARE(f.srv.statements(), QStringList{"load ignored_table_name from sql path=\"/srv/x.sql\";"});
  QCOMPARE(f.box(), QStringLiteral("load table result | load file '/srv/x.sql' as table is successful!"));

  load_tab_dlg restore;
  prepare_restore(restore);
  QVERIFY(child<QLineEdit>(&restore, "tab_le")->isHidden());
  QCOMPARE(restore.windowTitle(), QStringLiteral("restore database from file"));
  child<QLineEdit>(&restore, "s_path_le")->clear();
  QVERIFY(!run_restore(&f.ctx, &f.parent, restore));
  QCOMPARE(f.srv.statements().size(), 1);
  QCOMPARE(f.prompt.boxes.size(), size_t(1));
}

void transfers_test::backup_client_into_existing_file_data() {
  QTest::addColumn<bool>("exists");
  QTest::addColumn<bool>("replace");
  QTest::addColumn<QByteArray>("file");
  QTest::addColumn<QString>("outcome");
  QTest::addColumn<bool>("sent");  // refused here: nothing goes to the server
  QTest::newRow("new file") << false << false << QByteArray("ABC") << "successful" << true;
  QTest::newRow("existing, kept") << true << false << QByteArray("old") << "failed" << false;
  QTest::newRow("existing, replaced") << true << true << QByteArray("ABC") << "successful" << true;
}

void transfers_test::backup_client_into_existing_file() {
  QFETCH(bool, exists);
  QFETCH(bool, replace);
  QFETCH(QByteArray, file);
  QFETCH(QString, outcome);
  QFETCH(bool, sent);
  fixture f;
  QTemporaryDir dir;
  const QString path = dir.filePath("db.rbk");
  if (exists) write(path, "old");
  save_tab_dlg dlg;
  prepare_backup(dlg);
  QCOMPARE(dlg.windowTitle(), QStringLiteral("backup database to file"));
  QCOMPARE(child<QLineEdit>(&dlg, "s_path_le")->text(), "ruv_mdb_" + stamp + ".rbk");
  f.go_client(&dlg, path);
  QCOMPARE(f.prompt.choosers.back().caption, QStringLiteral("set database file's path"));
  if (replace) f.replace(&dlg);
  f.srv.rows({{"4142"}, {"43"}}, {"raw"});
  QCOMPARE(run_backup(&f.ctx, &f.parent, dlg), outcome == "successful");
  QCOMPARE(f.srv.statements(), sent ? QStringList{"backup as bin as raw;"} : QStringList{});
  QString box = "backup result(Client) | backup database to file '" + path + "' is " + outcome + "!";
  if (!sent) box += "\nthe file '" + path + "' already exists and the replace mode is off";
  QCOMPARE(f.box(), box);
  QCOMPARE(read(path), file);
}

void transfers_test::client_refusals_say_why_data() {
  QTest::addColumn<int>("op");  // 0 export, 1 save table, 2 backup
  QTest::addColumn<QString>("target");  // under the temporary folder
  QTest::addColumn<QString>("why");     // %1 the path
  for (int op : {0, 1, 2}) {
    const QByteArray name = QByteArray::number(op);
    QTest::newRow(name + " existing, replace off")
        << op << "old.csv" << "the file '%1' already exists and the replace mode is off";
    QTest::newRow(name + " a folder") << op << "sub" << "'%1' is a folder";
    QTest::newRow(name + " no such folder")
        << op << "none/x.csv" << QString("no file can be written at '%1': ") + std::strerror(ENOENT);
  }
}

void transfers_test::client_refusals_say_why() {
  QFETCH(int, op);
  QFETCH(QString, target);
  QFETCH(QString, why);
  fixture f;
  QTemporaryDir dir;
  write(dir.filePath("old.csv"), "old");
  QDir(dir.path()).mkdir("sub");
  const QString path = dir.filePath(target);
  bool ok = true;
  if (op == 0) {
    import_csv_dlg dlg;
    prepare_export(dlg, "t");
    f.go_client(&dlg, path);
    ok = run_export(&f.ctx, &f.parent, "t", dlg);
  } else {
    save_tab_dlg dlg;
    op == 1 ? prepare_save(dlg, "t") : prepare_backup(dlg);
    f.go_client(&dlg, path);
    ok = op == 1 ? run_save(&f.ctx, &f.parent, "t", dlg) : run_backup(&f.ctx, &f.parent, dlg);
  }
  QVERIFY(!ok);
  QCOMPARE(f.srv.statements(), QStringList{});  // refused before anything was sent
  const QStringList lines = f.prompt.last_text().split('\n');
  QCOMPARE(lines.size(), 2);
  QVERIFY2(lines[0].endsWith(" is failed!"), qPrintable(lines[0]));
  QCOMPARE(lines[1], why.arg(path));
  QCOMPARE(read(dir.filePath("old.csv")), QByteArray("old"));
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.csv"});  // no probe left behind
}

void transfers_test::restore_client_sends_the_file() {
  fixture f;
  QTemporaryDir dir;
  const QString path = dir.filePath("db.rbk");
  write(path, "ab\n");
  load_tab_dlg dlg;
  prepare_restore(dlg);
  f.go_client(&dlg, path);
  f.srv.ok();
  QVERIFY(run_restore(&f.ctx, &f.parent, dlg));
  QCOMPARE(f.srv.statements(), QStringList{"restore from bin from raw \"\\x61\\x62\\x0a\";"});
  QCOMPARE(f.box(), "restore result(Client) | restore database frome file '" + path + "' is successful!");

  load_tab_dlg server_side;
  prepare_restore(server_side);
  server_side.set_path("/srv/db.rbk");
  f.srv.ok();
  QVERIFY(run_restore(&f.ctx, &f.parent, server_side));
  QCOMPARE(f.srv.statements().last(), QStringLiteral("restore from bin path=\"/srv/db.rbk\";"));
  QCOMPARE(f.prompt.boxes.back().title, QStringLiteral("restore result(Server)"));
}

void transfers_test::client_writes_that_fail_say_why_data() {
  QTest::addColumn<int>("op");  // 0 export, 1 save table, 2 backup
  for (int op : {0, 1, 2}) QTest::newRow(QByteArray::number(op)) << op;
}

// The reply came, the local file could not take it: the box gives the system's reason. A full
// disk is /dev/full (written in place: nothing may be renamed over a device).
void transfers_test::client_writes_that_fail_say_why() {
  QFETCH(int, op);
  QFileInfo full("/dev/full");
  if (!full.exists() || !full.isWritable()) QSKIP("no writable /dev/full here");
  fixture f;
  f.srv.rows({{"4142"}, {"43"}}, {"raw"});
  const QString path = QStringLiteral("/dev/full");
  bool ok = true;
  if (op == 0) {
    import_csv_dlg dlg;
    prepare_export(dlg, "t");
    f.go_client(&dlg, path);
    f.replace(&dlg);
    ok = run_export(&f.ctx, &f.parent, "t", dlg);
  } else {
    save_tab_dlg dlg;
    op == 1 ? prepare_save(dlg, "t") : prepare_backup(dlg);
    f.go_client(&dlg, path);
    f.replace(&dlg);
    ok = op == 1 ? run_save(&f.ctx, &f.parent, "t", dlg) : run_backup(&f.ctx, &f.parent, dlg);
  }
  QVERIFY(!ok);
  QCOMPARE(f.srv.statements().size(), 1);
  const QStringList lines = f.prompt.last_text().split('\n');
  QCOMPARE(lines.size(), 2);
  QVERIFY2(lines[0].endsWith(" is failed!"), qPrintable(lines[0]));
  QCOMPARE(lines[1], QString("the file '/dev/full' could not be written: ") + std::strerror(ENOSPC));
  QVERIFY(QFileInfo("/dev/full").exists() && !QFileInfo("/dev/full").isFile());  // still the device
}

void transfers_test::client_uploads_refused_say_why_data() {
  QTest::addColumn<int>("op");  // 0 import, 1 load table, 2 restore
  QTest::addColumn<QString>("file");
  QTest::addColumn<qint64>("size");  // -1: none
  QTest::addColumn<QString>("why");  // %1 the path
  for (int op : {0, 1, 2}) {
    const QByteArray name = QByteArray::number(op);
    // 600 MiB make 2.4 GiB of escapes: more than a statement's 32-bit length (sparse, nothing written).
    QTest::newRow(name + " too big") << op << "big.bin" << (qint64(600) << 20)
                                     << "the file '%1' has 629145600 bytes, more than the %2 bytes one statement can carry";
    QTest::newRow(name + " empty") << op << "empty.bin" << qint64(0) << "the file '%1' is empty, nothing was sent";
    QTest::newRow(name + " missing") << op << "missing.bin" << qint64(-1)
                                     << QString("the file '%1' could not be read: ") + std::strerror(ENOENT);
    QTest::newRow(name + " a folder") << op << "sub" << qint64(-1)
                                      << QString("the file '%1' could not be read: ") + std::strerror(EISDIR);
  }
}

void transfers_test::client_uploads_refused_say_why() {
  QFETCH(int, op);
  QFETCH(QString, file);
  QFETCH(qint64, size);
  QFETCH(QString, why);
  fixture f;
  QTemporaryDir dir;
  QDir(dir.path()).mkdir("sub");
  const QString path = dir.filePath(file);
  if (size >= 0) {
    write(path, "");
    QVERIFY(QFile::resize(path, size));
  }
  bool ok = true;
  QString head;
  if (op == 0) {
    import_csv_dlg dlg;
    prepare_import(dlg, "t");
    f.go_client(&dlg, path);
    ok = run_import(&f.ctx, &f.parent, "t", dlg);
    head = "import t from csv split by \",\"";
  } else {
    load_tab_dlg dlg;
    if (op == 1) {
      prepare_load(dlg);
      child<QLineEdit>(&dlg, "tab_le")->setText("t");
      head = "load t from bin";
    } else {
      prepare_restore(dlg);
      head = "restore from bin";
    }
    f.go_client(&dlg, path);
    ok = op == 1 ? run_load(&f.ctx, &f.parent, dlg) : run_restore(&f.ctx, &f.parent, dlg);
  }
  QVERIFY(!ok);
  QCOMPARE(f.srv.statements(), QStringList{});
  const QStringList lines = f.prompt.last_text().split('\n');
  QCOMPARE(lines.size(), 2);
  QVERIFY2(lines[0].endsWith(" is failed!"), qPrintable(lines[0]));
  const QString limit = QString::number((qint64(INT32_MAX) - head.size() - 13) / 4);
  QCOMPARE(lines[1], why.contains("%2") ? why.arg(path, limit) : why.arg(path));
}

// The statement went out and the connection failed before its answer: not "refused", and the
// server may have done it.
void transfers_test::a_transfer_whose_answer_was_lost_says_so() {
  fixture f;
  peer::fault_proxy proxy(f.srv.peer.port());
  proxy.add_rule(peer::on_statement(peer::fault::cut, "import"));
  QVERIFY(ruv::wire_connect("127.0.0.1", proxy.port(), "u", "p"));
  QTemporaryDir dir;
  const QString path = dir.filePath("in.csv");
  write(path, "1,a\n");
  import_csv_dlg dlg;
  prepare_import(dlg, "t");
  f.go_client(&dlg, path);
  f.srv.ok();
  QVERIFY(!run_import(&f.ctx, &f.parent, "t", dlg));
  QCOMPARE(proxy.counts().cuts, size_t(1));
  const QStringList lines = f.prompt.last_text().split('\n');
  QCOMPARE(lines.size(), 2);
  QVERIFY2(lines[0].endsWith(" is failed!"), qPrintable(lines[0]));
  QVERIFY2(lines[1].startsWith("the connection to the server was lost (") &&
               lines[1].endsWith("); the server may have carried the transfer out"),
           qPrintable(lines[1]));
  QCOMPARE(last_transfer_failure().fault, transfer_fault::lost);
}

QTEST_MAIN(transfers_test)
#include "transfers_test.moc"
