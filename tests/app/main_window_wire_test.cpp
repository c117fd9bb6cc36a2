// The main window over the wire: the status bar's connection button follows the
// connection, a lost connection is told once and offers a reconnect, and a wait cancelled
// in its dialog closes the connection but keeps the scripts and the grid edits.
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "app/main_window.h"
#include "dataview/data_view.h"
#include "dataview/search_tab_dlg.h"
#include "editor/editor.h"
#include "query/tab_data_model.h"
#include "query/wire.h"
#include "script_tab/sql_script_editor.h"
#include "sqllib/library_startup.h"
#include "tests/dbops/dbops_support.h"
#include "tests/peer/catalogue.h"
#include "tests/support/child.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/wait_dialog.h"
#include "tests/support/waits.h"
#include "ui_base/sys_config.h"
#include "ui_main_window.h"

namespace {

using peer::ftype;

bool same_icon(const QIcon& a, const char* resource) {
  return a.pixmap(16, 16).toImage() == QIcon(QString::fromLatin1(resource)).pixmap(16, 16).toImage();
}

using ruv::test::hold;
using ruv::test::wait_dialog;

struct fixture {
  QTemporaryDir dir;
  QString old_dir = QDir::currentPath();
  peer::catalogue db;  // outlives the peer inside srv
  dbops_test::server srv;
  ruv::test::scripted_prompt prompt;
  ruv::test::scripted_dialogs dialogs;
  std::unique_ptr<MainWindow> w;
  hold held;

  fixture() {
    QDir::setCurrent(dir.path());
    sys_config.completion = 0;
    db.install(srv.peer);
    ruv::set_wire_dialog_delay_ms(50);
  }
  ~fixture() {
    held.release();
    w.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QDir::setCurrent(old_dir);
  }
  void open() {
    w = std::make_unique<MainWindow>(kk::adt::string_from_cstr("127.0.0.1"), srv.peer.port(),
                                     kk::adt::string_from_cstr("u"), kk::adt::string_from_cstr("p"), nullptr);
    prompt.boxes.clear();
  }
  QStringList boxes() const {
    QStringList out;
    for (const auto& b : prompt.boxes) out << b.title + " | " + b.text;
    return out;
  }
  void trigger(const char* action) { ruv::test::child<QAction>(w.get(), action)->trigger(); }
  QPushButton* button() const { return w->connection_button(); }
  // The next statement's reply is held until held.release().
  void stall_next() {
    peer::reply_plan p;
    p.produce = [this](char*, size_t) -> size_t {
      held.wait();
      return 0;
    };
    srv.peer.push_reply(p);
  }
};

}  // namespace

class main_window_wire_test : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() { kk::library_startup(); }  // the program does this before main
  void a_lost_connection_is_told_once_and_offers_a_reconnect_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("no") << false;
    QTest::newRow("yes") << true;
  }
  void a_lost_connection_is_told_once_and_offers_a_reconnect() {
    QFETCH(bool, yes);
    fixture f;
    QVERIFY(f.srv.connected);
    QVERIFY(f.db.create_table("t", {{"id", ftype::i32, "false"}}));
    f.open();
    QVERIFY(same_icon(f.button()->icon(), ":/img/connect.svg"));

    f.srv.peer.push_reply(peer::send_and_close({}));
    if (yes) f.prompt.answers.push_back(QMessageBox::Yes);
    f.trigger("refresh_act");
    QVERIFY(same_icon(f.button()->icon(), ":/img/disconnect.svg"));
    // Told once the refresh has ended, not inside it.
    QVERIFY(f.boxes().isEmpty());
    const QString lost = QStringLiteral("the connection to 127.0.0.1:%1 was lost: the server closed the connection")
                             .arg(f.srv.peer.port());
    QTRY_VERIFY(!f.boxes().isEmpty());
    QCOMPARE(f.boxes()[0], "connection information | " + lost + "\nreconnect now?");
    QCOMPARE(f.prompt.boxes[0].icon, QMessageBox::Question);
    QCOMPARE(f.prompt.boxes[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(f.prompt.boxes[0].default_button, QMessageBox::No);
    QCOMPARE(f.prompt.boxes[0].parent, static_cast<QWidget*>(f.w.get()));

    const QStringList after = f.boxes().mid(1);
    f.prompt.boxes.clear();
    if (!yes) {
      QVERIFY(after.isEmpty());
      // A later statement finds no connection: nothing is sent, nothing more is told.
      f.trigger("refresh_act");
      QTest::qWait(300);
      QCOMPARE(f.srv.peer.connections(), size_t(1));
      QVERIFY(f.boxes().isEmpty());
      QVERIFY(same_icon(f.button()->icon(), ":/img/disconnect.svg"));
      return;
    }
    QCOMPARE(f.srv.peer.connections(), size_t(2));
    QCOMPARE(after, QStringList{"reconnect information | reconnect sussesful!"});
    QVERIFY(same_icon(f.button()->icon(), ":/img/connect.svg"));
    QVERIFY(ruv::wire_connected());
  }

  void a_cancelled_wait_keeps_scripts_and_edits() {
    fixture f;
    QVERIFY(f.srv.connected);
    QVERIFY(f.db.create_table("t", {{"id", ftype::i32, "false"}, {"s", ftype::str, "false"}}));
    QVERIFY(f.db.insert("t", {peer::value::sint(ftype::i32, 1), peer::value::text("one")}));
    f.open();
    // A data tab with an edit not applied, and a script.
    f.w->form()->treeWidget->setCurrentItem(dbops_test::find_item(f.w->form()->treeWidget, {"t"}));
    f.trigger("view_data_act");
    auto* view = qobject_cast<data_view*>(f.w->form()->tabWidget->currentWidget());
    QVERIFY(view);
    QCOMPARE(view->model()->rowCount(), 1);
    QVERIFY(view->model()->setData(view->model()->index(0, 1), QString("uno"), Qt::EditRole));
    f.prompt.files.push_back({QDir(f.dir.path()).filePath("a.sql")});
    f.trigger("new_file_act");
    auto* script = qobject_cast<ruv::sql_script_editor*>(f.w->form()->tabWidget->currentWidget());
    QVERIFY(script);
    QTest::keyClicks(script->editor_widget(), QStringLiteral("select * from t;"));
    const QString text = script->text();
    QCOMPARE(text, QStringLiteral("select * from t;"));
    f.prompt.boxes.clear();

    // The script's statement waits for a server that says nothing; the wait is cancelled in
    // its dialog.
    f.stall_next();
    QString label;
    auto* poll = new QTimer(f.w.get());
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [&] {
      QProgressDialog* d = wait_dialog();
      if (!d) return;
      poll->stop();
      label = d->findChild<QLabel*>()->text();
      QTest::mouseClick(d->findChild<QPushButton*>(), Qt::LeftButton);
    });
    poll->start();
    script->exec_sql();
    poll->stop();
    QVERIFY2(label.contains(QLatin1String("select * from t;")), qPrintable(label));
    QVERIFY(!ruv::wire_connected());  // (the refresh after the run found no connection)
    QVERIFY(same_icon(f.button()->icon(), ":/img/disconnect.svg"));
    // The run's own box first, then, once it is closed, the cancel.
    QTRY_COMPARE(f.boxes().size(), 2);
    QCOMPARE(f.boxes()[1],
             QStringLiteral("connection information | the wait for the server was cancelled, the connection is closed."));
    QVERIFY(f.w->form()->textEdit->toPlainText().contains(
        QLatin1String("the wait for the server was cancelled, the connection is closed.")));
    // Everything the user had stays.
    QCOMPARE(script->text(), text);
    QVERIFY(view->has_pending_edits());
    QCOMPARE(view->model()->data(view->model()->index(0, 1), Qt::DisplayRole).toString(), QStringLiteral("uno"));
    QCOMPARE(f.w->form()->tabWidget->count(), 2);

    // A reconnect brings the connection back; the edits are still there to apply.
    f.held.release();
    f.prompt.boxes.clear();
    f.trigger("reconnect_act");
    QCOMPARE(f.boxes(), QStringList{"reconnect information | reconnect sussesful!"});
    QVERIFY(same_icon(f.button()->icon(), ":/img/connect.svg"));
    QVERIFY(view->has_pending_edits());
  }
};

QTEST_MAIN(main_window_wire_test)
#include "main_window_wire_test.moc"
