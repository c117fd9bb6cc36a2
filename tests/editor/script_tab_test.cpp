// The script tab against the catalogue server: whole-script runs, failures, parse failures,
// log batches, a stale parse, titles, completion wiring and saving.
#include <QHeaderView>
#include <QPointer>
#include <QTableView>
#include "dataview/search_tab_dlg.h"
#include <QClipboard>
#include <QFile>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "client/ruv_sql_lib_mem.h"
#include "editor/auto_list.h"
#include "editor/editor.h"
#include "editor/sql_script_editor.h"
#include "editor/scroll_area.h"
#include "editor/linenumber_wt.h"
#include "grammar/library_startup.h"
#include "query/db_ctx.h"
#include "tests/peer/catalogue.h"
#include "tests/peer/test_peer.h"
#include "tests/support/scripted_prompt.h"

using namespace ruv;

namespace {

kk::adt::string::string str(const QByteArray& b) { return kk::adt::string_from_bytes(b.constData(), kk::u64(b.size())); }

struct fixture {
  peer::catalogue db;
  peer::test_peer server;
  test::scripted_prompt prompt;
  db_ctx ctx{kk::adt::string_from_cstr("ruv_mdb"), nullptr};
  std::vector<QByteArray> flushed;  // each batch of log entries
  bool connected = false;
  fixture() {
    db.install(server);
    db.create_table("t", {{"a", peer::ftype::i32, ""}});
    db.insert("t", {peer::value::sint(peer::ftype::i32, 5)});
    connected = connect_to_server("127.0.0.1", server.port(), "u", "p");
  }
  ~fixture() { exit_to_server(); }
  std::unique_ptr<sql_script_editor> tab(const QByteArray& text) {
    auto t = std::make_unique<sql_script_editor>(&ctx, str(text));
    t->set_log_sink([this](const kk::adt::string::string& s) { flushed.emplace_back(s.data, int(s.size)); });
    return t;
  }
  std::vector<std::string> sent() const {
    std::vector<std::string> out;
    for (const auto& h : db.log()) out.push_back(h.text);
    return out;
  }
};

int occurrences(const QByteArray& hay, const QByteArray& needle) { return hay.count(needle); }

}  // namespace

class script_tab_test : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { kk::library_startup(); }

  void empty_script_succeeds_without_tabs() {
    for (const char* text : {"", "  \n# nothing here\n/* nor /* here */ */ "}) {
      fixture f;
      QVERIFY(f.connected);
      auto t = f.tab(text);
      QSignalSpy done(t.get(), &sql_script_editor::executed);
      t->exec_sql();
      QVERIFY2(done.count() == 1, qPrintable(f.prompt.last_text()));
      QCOMPARE(done.at(0).at(0).toBool(), true);
      QCOMPARE(f.prompt.last_text(), QString("the sql execute sussesful total!"));
      QCOMPARE(t->result_tabs()->count(), 0);
      QVERIFY(t->result_tabs()->isHidden());
      QVERIFY(f.sent().empty());
    }
  }

  void failure_in_the_middle_stops_the_run() {
    fixture f;
    auto t = f.tab("select * from t;\nselect * from nosuch;\ninsert into t (a) values (9);\n");
    QSignalSpy done(t.get(), &sql_script_editor::executed);
    t->exec_sql();
    QCOMPARE(done.count(), 1);
    QCOMPARE(done.at(0).at(0).toBool(), false);
    QCOMPARE(t->result_tabs()->count(), 1);
    QVERIFY(!t->result_tabs()->isHidden());
    QCOMPARE(t->statement_of(0), QString("select * from t;"));
    QCOMPARE(f.prompt.boxes.back().title, QString("execute infomation"));
    QCOMPARE(f.prompt.last_text(), QString("the sql \"select * from nosuch;\" execute failed!"));
    const auto sent = f.sent();
    QCOMPARE(sent.size(), size_t(2));  // the third statement never reached the server
    QCOMPARE(f.db.table("t")->rows.size(), size_t(1));
    // Both entries reach the log, the refused one included.
    QCOMPARE(f.flushed.size(), size_t(1));
    QCOMPARE(occurrences(f.flushed[0], "nosuch"), 1);
    QCOMPARE(occurrences(f.flushed[0], "from t;"), 1);
  }

  void result_grids_with_rows_offer_the_cell_search() {
    fixture f;
    auto t = f.tab("select * from t;\n");
    t->exec_sql();
    QCOMPARE(t->result_tabs()->count(), 1);
    auto* rows = qobject_cast<QTableView*>(t->result_tabs()->widget(0));
    QVERIFY(rows);
    QCOMPARE(rows->horizontalHeader()->sortIndicatorSection(), -1);  // no sort claimed
    QCOMPARE(rows->actions().size(), 1);
    QCOMPARE(rows->actions().at(0)->text(), QString("find text"));
    auto* dlg = rows->findChild<search_tab_dlg*>();
    QVERIFY(dlg);
    rows->actions().at(0)->trigger();
    QVERIFY(dlg->isVisible());
    QPointer<search_tab_dlg> gone(dlg);
    t->close_all_tab(true);
    QVERIFY(gone.isNull());  // the dialog goes with its grid
  }

  void script_that_does_not_parse_runs_nothing() {
    fixture f;
    auto t = f.tab("insert into t (a) values (1);\nselect from where ((;\n");
    QSignalSpy done(t.get(), &sql_script_editor::executed);
    t->exec_sql();
    QVERIFY(f.sent().empty());
    QVERIFY(f.prompt.last_text().startsWith("the sql parsed failed at position: "));
    QCOMPARE(f.prompt.boxes.back().title, QString("sql parse failed"));
    QCOMPARE(done.count(), 0);
  }

  void current_line_and_selection() {
    fixture f;
    auto t = f.tab("select * from t; nonsense here\n\nselect * from t where a == 5;");
    t->exec_cur(true);  // cursor on line 1: the second statement does not parse
    QCOMPARE(f.prompt.last_text(), QString("the sql parsed failed at position: 17"));
    QVERIFY(f.sent().empty());
    t->editor_widget()->goto_linee();
    auto* ed = t->editor_widget();
    doc_set_cursor(ed->document(), 31);  // the empty line
    const size_t boxes = f.prompt.boxes.size();
    t->exec_cur(true);
    QCOMPARE(f.prompt.boxes.size(), boxes);
    doc_set_cursor(ed->document(), 40);
    t->exec_cur(true);
    t->exec_cur(true);
    QCOMPARE(t->result_tabs()->count(), 2);  // results add up
    QCOMPARE(t->statement_of(1), QString("select * from t where a == 5;"));
  }

  void log_is_written_in_batches_of_8192() {
    fixture f;
    QByteArray script;
    for (int i = 0; i < 8193; ++i) script += "insert into t (a) values (1);\n";
    auto t = f.tab(script);
    t->exec_sql();
    QCOMPARE(f.prompt.last_text(), QString("the sql execute sussesful total!"));
    QCOMPARE(f.flushed.size(), size_t(2));
    QCOMPARE(occurrences(f.flushed[0], "insert into"), 8192);
    QCOMPARE(occurrences(f.flushed[1], "insert into"), 1);
    QCOMPARE(t->result_tabs()->count(), 0);  // no columns, no views
  }

  void stale_parse_runs_what_the_editor_shows() {
    fixture f;
    QByteArray script;
    while (script.size() < 200 * 1024) script += "insert into t (a) values (2);\n";
    auto t = f.tab(script);
    editor* ed = t->editor_widget();
    ed->reparse();
    QVERIFY(ed->parse_is_current());
    doc_cursor_to_end(ed->document());
    QTest::keyClicks(ed, "drop table t;");
    QVERIFY(!ed->parse_is_current());
    t->exec_sql();
    QVERIFY2(!f.sent().empty(), qPrintable(f.prompt.last_text() + QString::fromUtf8(ed->text().left(80))));
    QCOMPARE(f.sent().back(), std::string("drop table t;"));
    QVERIFY(f.db.table("t") == nullptr);
  }

  void titles_elide_and_escape_but_keep_the_statement() {
    fixture f;
    QByteArray long_stmt = "select * from t where a == 5";
    while (long_stmt.size() < 300) long_stmt += " && a == 5";
    long_stmt += ";";
    auto t = f.tab(long_stmt);
    t->exec_sql();
    QCOMPARE(t->result_tabs()->count(), 1);
    const QString title = t->result_tabs()->tabText(0);
    QVERIFY(title.size() <= 2 * sql_script_editor::title_max);
    QVERIFY(title.endsWith(QChar(0x2026)));
    QVERIFY(title.contains("&&&&"));  // shown as "&&", never a mnemonic
    QCOMPARE(t->statement_of(0), QString::fromUtf8(long_stmt));
    t->copy_tab(true);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromUtf8(long_stmt));
    t->close_tab(true);
    QVERIFY(t->result_tabs()->isHidden());
  }

  void completion_popup_inserts_the_server_spelling() {
    fixture f;
    auto t = f.tab("");
    kk::adt::vector<kk::adt::string::string> tables;
    tables.push_back(kk::adt::string_from_cstr("Orders"));
    t->set_table_names(&tables);
    t->show();
    editor* ed = t->editor_widget();
    QTest::keyClicks(ed, "select * from or");
    QVERIFY(t->popup());
    QTest::keyClick(t->popup(), Qt::Key_Return);
    QCOMPARE(ed->text(), QByteArray("select * from Orders"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!t->popup());
  }

  void a_short_text_fills_the_view_without_scroll_bars() {
    fixture f;
    auto t = f.tab("select 1;");
    t->resize(1000, 700);
    t->show();
    QVERIFY(QTest::qWaitForWindowExposed(t.get()));
    QCoreApplication::processEvents();
    editor* e = t->editor_widget();
    const scrollarea* a = t->area();
    // Whatever the last key, the editor covers the view beside the gutter, and a text that
    // fits shows neither bar.
    for (Qt::Key k : {Qt::Key_End, Qt::Key_Escape, Qt::Key_Return, Qt::Key_Escape}) {
      QTest::keyClick(e, k);
      QCoreApplication::processEvents();
      QVERIFY2(e->width() >= a->view_width() - t->gutter()->width() - 3, qPrintable(QString::number(k)));
      QVERIFY2(e->height() >= a->view_height() - 1, qPrintable(QString::number(k)));
      QVERIFY(a->h_bar()->isHidden());
      QVERIFY(a->v_bar()->isHidden());
    }
    // A text wider and taller than the view brings both back.
    QTest::keyClicks(e, QString(300, QLatin1Char('x')));
    for (int i = 0; i < 80; ++i) QTest::keyClick(e, Qt::Key_Return);
    QCoreApplication::processEvents();
    QVERIFY(!a->h_bar()->isHidden());
    QVERIFY(!a->v_bar()->isHidden());
  }

  void save_keeps_bytes_and_reports_failure() {
    fixture f;
    const QByteArray bytes("select \xff\xfe from t; -- \xc3\x28\n", 29);
    auto t = f.tab(bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath("s.sql");
    QTest::keyClick(t->editor_widget(), Qt::Key_End);
    QTest::keyClicks(t->editor_widget(), "x");
    QTest::keyClick(t->editor_widget(), Qt::Key_Backspace);
    QVERIFY(t->save_to(path));
    QFile in(path);
    QVERIFY(in.open(QIODevice::ReadOnly));
    QCOMPARE(in.readAll(), bytes);
    QVERIFY(!t->editor_widget()->is_modified());
    QTest::keyClicks(t->editor_widget(), "y");
    QString why;
    QVERIFY(!t->save_to(dir.filePath("missing/dir/s.sql"), &why));
    QVERIFY(!why.isEmpty());
    QVERIFY(t->editor_widget()->is_modified());
  }
};

QTEST_MAIN(script_tab_test)
#include "script_tab_test.moc"
