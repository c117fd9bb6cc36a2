// Running a script file against a scripted server: what is sent, what the log shows and when,
// and the boxes.
#include <QFile>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include "dbops/script_run.h"
#include "sqllib/library_startup.h"
#include "query/db_ctx.h"
#include "tests/dbops/dbops_support.h"
#include "tests/support/scripted_prompt.h"

using namespace dbops_test;

namespace {

struct fixture {
  server srv;
  QTextEdit log;
  db_ctx ctx{kk::adt::string_from_cstr("ruv_mdb"), &log};
  ruv::test::scripted_prompt prompt;
  QTemporaryDir dir;
  int log_updates = 0;
  fixture() { QObject::connect(&log, &QTextEdit::textChanged, [this] { ++log_updates; }); }
  QString file(const QByteArray& text) {
    const QString path = dir.filePath("s.sql");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return path;
  }
  script_run_result run(const QByteArray& text) {
    prompt.files.push_back({file(text)});
    return run_script_file(&ctx, nullptr);
  }
  QString box() const { return prompt.boxes.empty() ? QString() : prompt.boxes.back().title + " | " + prompt.last_text(); }
  int shown_entries() const { return log.toPlainText().count("execute sql:"); }
};

}  // namespace

class script_run_test : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { kk::library_startup(); }
  void chooser_and_empty_file();
  void statements_printed_without_comments();
  void crlf_line_ends_read_as_the_editor_reads_them();
  void parse_failure_runs_nothing();
  void failure_in_the_middle_shows_every_entry();
  void log_updated_every_8192_statements();
};

void script_run_test::chooser_and_empty_file() {
  fixture f;
  QCOMPARE(run_script_file(&f.ctx, nullptr), script_run_result::not_run);  // cancelled
  QCOMPARE(f.prompt.choosers.size(), size_t(1));
  QCOMPARE(f.prompt.choosers[0].caption, QStringLiteral("open sql file to execute"));
  QCOMPARE(f.prompt.choosers[0].dir, QStringLiteral("."));
  QCOMPARE(f.prompt.choosers[0].filter, QStringLiteral("sql files (*.sql);;all files (*.*)"));
  QCOMPARE(f.run(""), script_run_result::not_run);
  QVERIFY(f.prompt.boxes.empty());
  QCOMPARE(f.srv.statements(), QStringList{});
}

void script_run_test::statements_printed_without_comments() {
  fixture f;
  f.srv.peer.set_handler([](std::string_view) { return peer::send(peer::ok_reply({})); });
  QCOMPARE(f.run("show tables;\n\n   // why\ndrop table /* old */ t;  \n"), script_run_result::completed);
  QCOMPARE(f.srv.statements(), (QStringList{"show tables;", "drop table t;"}));
  QCOMPARE(f.box(), QStringLiteral("execute infomation | the sql execute sussesful total!"));
  QCOMPARE(f.shown_entries(), 2);
}

void script_run_test::crlf_line_ends_read_as_the_editor_reads_them() {
  // A file saved on Windows: CR LF everywhere, after a comment and inside a statement too.
  // It runs as the same file with LF does.
  const QByteArray lf = "show tables;\n// note\ndrop table\n  t;\n\ntruncate table u;\n";
  QByteArray crlf = lf;
  crlf.replace("\n", "\r\n");
  QStringList sent[2];
  for (int i = 0; i < 2; ++i) {
    fixture f;
    f.srv.peer.set_handler([](std::string_view) { return peer::send(peer::ok_reply({})); });
    QCOMPARE(f.run(i ? crlf : lf), script_run_result::completed);
    QCOMPARE(f.box(), QStringLiteral("execute infomation | the sql execute sussesful total!"));
    sent[i] = f.srv.statements();
  }
  QCOMPARE(sent[1], sent[0]);
  QCOMPARE(sent[1].size(), 3);
  QVERIFY(!sent[1].join("").contains('\r'));
}

void script_run_test::parse_failure_runs_nothing() {
  fixture f;
  const QByteArray text = "show tables;\ndrop table t;\nthis is no statement;\n";
  QCOMPARE(f.run(text), script_run_result::not_run);
  QCOMPARE(f.srv.statements(), QStringList{});
  QCOMPARE(f.box(), QStringLiteral("sql parse failed | the sql parsed failed at position: %1")
                        .arg(text.indexOf("this")));
  QCOMPARE(f.log_updates, 0);
}

void script_run_test::failure_in_the_middle_shows_every_entry() {
  fixture f;
  f.srv.ok();
  f.srv.fail();
  QCOMPARE(f.run("show tables;\ndrop table [a<b>];\ntruncate table t;\n"), script_run_result::failed);
  QCOMPARE(f.srv.statements(), (QStringList{"show tables;", "drop table [a<b>];"}));
  QCOMPARE(f.box(), QStringLiteral("execute infomation | the sql \"drop table [a<b>];\" execute failed!"));
  const QString shown = f.log.toPlainText();
  QCOMPARE(f.shown_entries(), 2);
  QVERIFY(shown.contains("drop table [a<b>];"));
  QVERIFY(shown.contains("failed"));
}

void script_run_test::log_updated_every_8192_statements() {
  for (int extra = 0; extra < 2; ++extra) {
    fixture f;
    f.srv.peer.set_handler([](std::string_view) { return peer::send(peer::ok_reply({})); });
    QByteArray text;
    for (int i = 0; i < 8192 + extra; ++i) text += "truncate table t" + QByteArray::number(i) + ";\n";
    QCOMPARE(f.run(text), script_run_result::completed);
    QCOMPARE(f.srv.statements().size(), 8192 + extra);
    // The newest block stands on top, its entries oldest first: 8192 statements are one
    // block; the 8193rd is a block of its own.
    const QString shown = f.log.toPlainText();
    QCOMPARE(shown.indexOf("truncate table t"), shown.indexOf(extra ? "truncate table t8192;" : "truncate table t0;"));
    if (extra == 0) QCOMPARE(f.shown_entries(), 8192);  // each once
  }
}

QTEST_MAIN(script_run_test)
#include "script_run_test.moc"
