// The transfer dialogs driven as a user would: keys and clicks on their widgets, boxes and
// file choosers answered by the scripted prompt.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

#include "dbops/file_names.h"
#include "transfer_dlg/import_csv_dlg.h"
#include "dbops/load_tab_dlg.h"
#include "dbops/save_tab_dlg.h"
#include "ui_base/utf8.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/child.h"

namespace {

using ruv::test::child;

// A checkable group box toggled from the keyboard: the box flips, then clicked(bool).
void toggle(QGroupBox* gb) { QTest::keyClick(gb, Qt::Key_Space); }

QString text(const kk::adt::string::string& s) { return utf8_text(s); }

// Client mode chosen and its warning answered Yes: the browse button is enabled only then.
void go_client(QWidget* dlg, ruv::test::scripted_prompt& prompt) {
  prompt.answers.push_back(QMessageBox::Yes);
  toggle(child<QGroupBox>(dlg, "c_gb"));
}

const QString client_title = QStringLiteral("client mode information");

}  // namespace

class transfer_dialogs_test : public QObject {
  Q_OBJECT

 private slots:
  void preset_names_data();
  void preset_names();
  void stamp_digits_ignore_locale();
  void import_path_follows_group_and_empty_path_is_refused();
  void client_warning_no_keeps_server_yes_asks_once();
  void separator_data();
  void separator();
  void import_mode_never_replaces();
  void export_browse_saves_import_browse_opens();
  void load_accept_checks_name_then_path_before_shown();
  void load_sql_format_and_restore_ask_for_a_path_only();
  void load_warning_refused_from_server_group_disables_client_edit();
  void load_db_mode_browse_offers_backups();
  void save_replace_warning_once();
  void save_client_group_empty_path_refused();
  void save_db_mode_browse_offers_backups();
};

void transfer_dialogs_test::preset_names_data() {
  QTest::addColumn<QString>("table");
  QTest::addColumn<QString>("ext");
  QTest::addColumn<QString>("expected");
  QTest::newRow("plain") << "t" << ".csv" << "t_24-05-09_14_03_07.csv";
  QTest::newRow("separators") << "a/b\\c" << ".bin" << "a_b_c_24-05-09_14_03_07.bin";
  QTest::newRow("windows refused") << "x:*?\"<>|y" << ".csv" << "x_______y_24-05-09_14_03_07.csv";
  QTest::newRow("control") << QString("l\nm\tn") << ".csv" << "l_m_n_24-05-09_14_03_07.csv";
  QTest::newRow("letters kept") << QString::fromUtf8("名 字.x") << ".bin"
                                << QString::fromUtf8("名 字.x_24-05-09_14_03_07.bin");
}

void transfer_dialogs_test::preset_names() {
  QFETCH(QString, table);
  QFETCH(QString, ext);
  QFETCH(QString, expected);
  ruv::test::fixed_clock clock(QDateTime(QDate(2024, 5, 9), QTime(14, 3, 7, 999)));
  QCOMPARE(preset_table_file(table, ext), expected);
  QCOMPARE(preset_db_file(), QStringLiteral("ruv_mdb_24-05-09_14_03_07.rbk"));
}

void transfer_dialogs_test::stamp_digits_ignore_locale() {
  ruv::test::fixed_clock clock(QDateTime(QDate(2031, 12, 1), QTime(9, 8, 7)));
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
  const QString stamp = transfer_stamp();
  QLocale::setDefault(before);
  QCOMPARE(stamp, QStringLiteral("31-12-01_09_08_07"));
}

void transfer_dialogs_test::import_path_follows_group_and_empty_path_is_refused() {
  ruv::test::scripted_prompt prompt;
  prompt.answers = {QMessageBox::Yes};
  import_csv_dlg dlg;
  dlg.set_path("t_1.csv");
  QCOMPARE(text(dlg.path()), QStringLiteral("t_1.csv"));
  QVERIFY(!dlg.is_client());

  child<QLineEdit>(&dlg, "s_path_le")->clear();
  dlg.accept();
  QCOMPARE(dlg.result(), int(QDialog::Rejected));
  QCOMPARE(prompt.boxes.size(), size_t(1));
  QCOMPARE(prompt.boxes[0].title, QStringLiteral("import path information"));
  QCOMPARE(prompt.boxes[0].text, QStringLiteral("the input path is empty."));

  prompt.answers = {QMessageBox::Yes};
  toggle(child<QGroupBox>(&dlg, "c_gb"));
  QVERIFY(dlg.is_client());
  QVERIFY(!child<QGroupBox>(&dlg, "s_gb")->isChecked());
  QCOMPARE(text(dlg.path()), QStringLiteral("t_1.csv"));
  dlg.accept();
  QCOMPARE(dlg.result(), int(QDialog::Accepted));

  import_csv_dlg exp;
  exp.set_export_mode();
  child<QLineEdit>(&exp, "s_path_le")->clear();
  exp.accept();
  QCOMPARE(prompt.boxes.back().title, QStringLiteral("export path information"));
  QCOMPARE(exp.result(), int(QDialog::Rejected));
}

void transfer_dialogs_test::client_warning_no_keeps_server_yes_asks_once() {
  ruv::test::scripted_prompt prompt;
  import_csv_dlg dlg;
  auto* s = child<QGroupBox>(&dlg, "s_gb");
  auto* c = child<QGroupBox>(&dlg, "c_gb");

  prompt.answers = {QMessageBox::No};
  toggle(c);
  QVERIFY(s->isChecked());
  QVERIFY(!c->isChecked());
  prompt.answers = {QMessageBox::No};
  toggle(s);  // unchecking the server group asks too
  QVERIFY(s->isChecked());
  QVERIFY(!c->isChecked());
  QCOMPARE(prompt.boxes.size(), size_t(2));
  QCOMPARE(prompt.boxes[1].title, client_title);
  QCOMPARE(prompt.boxes[1].icon, QMessageBox::Warning);
  QCOMPARE(prompt.boxes[1].buttons, QMessageBox::Yes | QMessageBox::No);
  QCOMPARE(prompt.boxes[1].default_button, QMessageBox::No);

  prompt.answers = {QMessageBox::Yes};
  toggle(c);
  QVERIFY(c->isChecked() && !s->isChecked());
  toggle(s);
  QVERIFY(s->isChecked() && !c->isChecked());
  toggle(c);
  QVERIFY(c->isChecked() && !s->isChecked());
  QCOMPARE(prompt.boxes.size(), size_t(3));
}

void transfer_dialogs_test::separator_data() {
  QTest::addColumn<int>("index");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<bool>("enter");
  QTest::addColumn<QString>("expected");
  QTest::newRow("comma") << 0 << QString() << false << ",";
  QTest::newRow("space item") << 2 << QString() << false << " ";
  QTest::newRow("tab item is a real tab") << 5 << QString() << false << "\t";
  QTest::newRow("typed, not entered") << 1 << "|" << false << "|";
  QTest::newRow("typed and entered") << 0 << "||" << true << "||";
  QTest::newRow("typed quote") << 0 << "\"" << false << "\"";
  QTest::newRow("typed the shown text of another item") << 4 << "space" << false << " ";
}

void transfer_dialogs_test::separator() {
  QFETCH(int, index);
  QFETCH(QString, typed);
  QFETCH(bool, enter);
  QFETCH(QString, expected);
  import_csv_dlg dlg;
  auto* cmb = child<QComboBox>(&dlg, "sp_cmb");
  QCOMPARE(cmb->count(), 6);
  QCOMPARE(cmb->itemText(5), QStringLiteral("\\t"));
  cmb->setCurrentIndex(index);
  if (!typed.isEmpty()) {
    cmb->lineEdit()->selectAll();
    QTest::keyClicks(cmb->lineEdit(), typed);
    if (enter) QTest::keyClick(cmb->lineEdit(), Qt::Key_Return);
  }
  QCOMPARE(text(dlg.separator()), expected);
}

void transfer_dialogs_test::import_mode_never_replaces() {
  ruv::test::scripted_prompt prompt;
  import_csv_dlg dlg;
  auto* rep = child<QCheckBox>(&dlg, "rep_cb");
  QVERIFY(rep->isHidden());
  QVERIFY(!dlg.is_replace());
  dlg.set_export_mode();
  QVERIFY(!rep->isHidden());
  prompt.answers = {QMessageBox::No};
  rep->click();
  QVERIFY(!dlg.is_replace());
  prompt.answers = {QMessageBox::Yes};
  rep->click();
  QVERIFY(dlg.is_replace());
  rep->click();
  rep->click();
  QVERIFY(dlg.is_replace());
  QCOMPARE(prompt.boxes.size(), size_t(2));
  QCOMPARE(prompt.boxes[0].title, QStringLiteral("replace mode information"));
}

void transfer_dialogs_test::export_browse_saves_import_browse_opens() {
  ruv::test::scripted_prompt prompt;
  import_csv_dlg imp;
  imp.set_path("start.csv");
  go_client(&imp, prompt);
  prompt.files = {{"/home/u/in.csv"}};
  child<QToolButton>(&imp, "path_tb")->click();
  QCOMPARE(prompt.choosers.back().kind, QStringLiteral("open"));
  QCOMPARE(prompt.choosers.back().caption, QStringLiteral("select import csv/csvs file"));
  QCOMPARE(prompt.choosers.back().dir, QStringLiteral("start.csv"));
  QCOMPARE(prompt.choosers.back().filter, QStringLiteral("csv files (*.csv);;csvs files (*.csvs);;all files (*.*)"));
  QCOMPARE(child<QLineEdit>(&imp, "c_path_le")->text(), QStringLiteral("/home/u/in.csv"));
  QCOMPARE(child<QLineEdit>(&imp, "s_path_le")->text(), QStringLiteral("start.csv"));

  import_csv_dlg exp;
  exp.set_export_mode();
  exp.set_path("keep.csv");
  go_client(&exp, prompt);
  child<QToolButton>(&exp, "path_tb")->click();  // cancelled
  QCOMPARE(prompt.choosers.back().kind, QStringLiteral("save"));
  QCOMPARE(prompt.choosers.back().caption, QStringLiteral("set export csv/csvs file"));
  QCOMPARE(child<QLineEdit>(&exp, "c_path_le")->text(), QStringLiteral("keep.csv"));
}

void transfer_dialogs_test::load_accept_checks_name_then_path_before_shown() {
  ruv::test::scripted_prompt prompt;
  load_tab_dlg dlg;  // never shown: every child reports isVisible() false
  dlg.accept();
  QCOMPARE(dlg.result(), int(QDialog::Rejected));
  QCOMPARE(prompt.boxes.size(), size_t(1));
  QCOMPARE(prompt.boxes[0].title, QStringLiteral("table name information"));
  QCOMPARE(prompt.boxes[0].text, QStringLiteral("the input table's name is empty."));

  child<QLineEdit>(&dlg, "tab_le")->setText("t");
  dlg.accept();
  QCOMPARE(dlg.result(), int(QDialog::Rejected));
  QCOMPARE(prompt.boxes.back().title, QStringLiteral("table path information"));
  QCOMPARE(prompt.boxes.back().text, QStringLiteral("the input table's path is empty."));

  dlg.set_path("t.bin");
  dlg.accept();
  QCOMPARE(dlg.result(), int(QDialog::Accepted));
  QCOMPARE(prompt.boxes.size(), size_t(2));
  QCOMPARE(text(dlg.table_name()), QStringLiteral("t"));
  QVERIFY(dlg.is_bin_mode());
}

void transfer_dialogs_test::load_sql_format_and_restore_ask_for_a_path_only() {
  ruv::test::scripted_prompt prompt;
  load_tab_dlg dlg;
  child<QRadioButton>(&dlg, "sql_rb")->click();
  QVERIFY(child<QLineEdit>(&dlg, "tab_le")->isHidden());
  QVERIFY(child<QWidget>(&dlg, "tab_lbl")->isHidden());
  QVERIFY(!dlg.is_bin_mode());
  // No table name is asked for, but a file is: an empty path keeps the dialog open and says so.
  dlg.accept();
  QCOMPARE(dlg.result(), int(QDialog::Rejected));
  QCOMPARE(prompt.boxes.size(), size_t(1));
  QCOMPARE(prompt.boxes[0].title, QStringLiteral("table path information"));
  QCOMPARE(prompt.boxes[0].text, QStringLiteral("the input table's path is empty."));
  QCOMPARE(prompt.boxes[0].parent, static_cast<QWidget*>(&dlg));
  dlg.set_path("t.sql");
  dlg.accept();
  QCOMPARE(dlg.result(), int(QDialog::Accepted));
  QCOMPARE(prompt.boxes.size(), size_t(1));
  prompt.boxes.clear();

  child<QRadioButton>(&dlg, "bin_rb")->click();
  QVERIFY(!child<QLineEdit>(&dlg, "tab_le")->isHidden());

  load_tab_dlg restore;
  restore.set_db_mode();
  restore.hide_table_name();
  // Choosing a format in a restore never asks for a table name.
  for (const char* format : {"sql_rb", "bin_rb"}) {
    child<QRadioButton>(&restore, format)->click();
    QVERIFY(child<QLineEdit>(&restore, "tab_le")->isHidden());
    QVERIFY(child<QWidget>(&restore, "tab_lbl")->isHidden());
  }
  QVERIFY(restore.is_bin_mode());
  restore.accept();
  QCOMPARE(restore.result(), int(QDialog::Rejected));
  QCOMPARE(prompt.boxes.size(), size_t(1));
  QCOMPARE(prompt.boxes[0].title, QStringLiteral("path information"));
  QCOMPARE(prompt.boxes[0].text, QStringLiteral("the input database file's path is empty."));
  restore.set_path("db.rbk");
  restore.accept();
  QCOMPARE(restore.result(), int(QDialog::Accepted));
  QCOMPARE(prompt.boxes.size(), size_t(1));
}

void transfer_dialogs_test::load_warning_refused_from_server_group_disables_client_edit() {
  ruv::test::scripted_prompt prompt;
  load_tab_dlg dlg;
  prompt.answers = {QMessageBox::No};
  toggle(child<QGroupBox>(&dlg, "s_gb"));
  QVERIFY(child<QGroupBox>(&dlg, "s_gb")->isChecked());
  QVERIFY(!dlg.is_client());
  auto* c_path = child<QLineEdit>(&dlg, "c_path_le");
  QVERIFY(!c_path->isEnabled());

  prompt.answers = {QMessageBox::Yes};
  toggle(child<QGroupBox>(&dlg, "c_gb"));
  QVERIFY(dlg.is_client());
  QVERIFY(!c_path->isEnabled());  // stays disabled; the browse button still fills it
  prompt.files = {{"/data/t.bin"}};
  child<QToolButton>(&dlg, "path_tb")->click();
  QCOMPARE(text(dlg.path()), QStringLiteral("/data/t.bin"));
}

void transfer_dialogs_test::load_db_mode_browse_offers_backups() {
  ruv::test::scripted_prompt prompt;
  load_tab_dlg tab;
  go_client(&tab, prompt);
  child<QToolButton>(&tab, "path_tb")->click();
  load_tab_dlg db;
  db.set_db_mode();
  go_client(&db, prompt);
  child<QToolButton>(&db, "path_tb")->click();
  QCOMPARE(prompt.choosers.size(), size_t(2));
  QCOMPARE(prompt.choosers[0].kind, QStringLiteral("open"));
  QCOMPARE(prompt.choosers[0].caption, QStringLiteral("select table file's path"));
  QCOMPARE(prompt.choosers[0].filter, QStringLiteral("bin files (*.bin);;sql files (*.sql);;all files (*.*)"));
  QCOMPARE(prompt.choosers[1].kind, QStringLiteral("open"));
  QCOMPARE(prompt.choosers[1].caption, QStringLiteral("select database file's path"));
  QCOMPARE(prompt.choosers[1].filter, QStringLiteral("backup files (*.rbk);;all files (*.*)"));
}

void transfer_dialogs_test::save_replace_warning_once() {
  ruv::test::scripted_prompt prompt;
  save_tab_dlg dlg;
  auto* rep = child<QCheckBox>(&dlg, "rep_cb");
  rep->click();  // Enter on the warning: its default keeps the file
  QVERIFY(!dlg.is_replace());
  QCOMPARE(prompt.boxes.back().default_button, QMessageBox::No);
  QCOMPARE(prompt.boxes.back().icon, QMessageBox::Warning);
  prompt.boxes.clear();
  prompt.answers = {QMessageBox::No};
  rep->click();
  QVERIFY(!dlg.is_replace());
  prompt.answers = {QMessageBox::Yes};
  rep->click();
  QVERIFY(dlg.is_replace());
  rep->click();
  QVERIFY(!dlg.is_replace());
  rep->click();
  QVERIFY(dlg.is_replace());
  QCOMPARE(prompt.boxes.size(), size_t(2));
  QCOMPARE(prompt.boxes[1].text,
           QStringLiteral("note: the replace mode will <span style='color:orange'>replace exists file</span>, continue?"));
}

void transfer_dialogs_test::save_client_group_empty_path_refused() {
  ruv::test::scripted_prompt prompt;
  save_tab_dlg dlg;
  child<QLineEdit>(&dlg, "s_path_le")->setText("/srv/t.bin");
  prompt.answers = {QMessageBox::Yes};
  toggle(child<QGroupBox>(&dlg, "c_gb"));
  QVERIFY(dlg.is_client());
  dlg.accept();
  QCOMPARE(dlg.result(), int(QDialog::Rejected));
  QCOMPARE(prompt.boxes.back().title, QStringLiteral("path information"));
  QCOMPARE(prompt.boxes.back().text, QStringLiteral("the input path is empty."));
  child<QRadioButton>(&dlg, "sql_rb")->click();
  QVERIFY(!dlg.is_bin_mode());
}

void transfer_dialogs_test::save_db_mode_browse_offers_backups() {
  ruv::test::scripted_prompt prompt;
  save_tab_dlg dlg;
  dlg.set_db_mode();
  dlg.set_path("ruv_mdb_x.rbk");
  go_client(&dlg, prompt);
  prompt.files = {{"/b/x.rbk"}};
  child<QToolButton>(&dlg, "path_tb")->click();
  QCOMPARE(prompt.choosers.back().kind, QStringLiteral("save"));
  QCOMPARE(prompt.choosers.back().caption, QStringLiteral("set database file's path"));
  QCOMPARE(prompt.choosers.back().dir, QStringLiteral("ruv_mdb_x.rbk"));
  QCOMPARE(prompt.choosers.back().filter, QStringLiteral("backup files (*.rbk);;all files (*.*)"));
  QCOMPARE(child<QLineEdit>(&dlg, "c_path_le")->text(), QStringLiteral("/b/x.rbk"));
  QCOMPARE(child<QLineEdit>(&dlg, "s_path_le")->text(), QStringLiteral("ruv_mdb_x.rbk"));
}

QTEST_MAIN(transfer_dialogs_test)
#include "transfer_dialogs_test.moc"
