// The wire: statements and logins run on the wire thread while the calling thread waits with
// the window alive; the wait dialog cancels; a lost connection is told from a refusal.
// Against the scripted server, whose handler holds a reply back until the test lets it go.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>

#include "query/wire.h"
#include "tests/peer/test_peer.h"
#include "tests/support/wait_dialog.h"
#include "tests/support/waits.h"

namespace {

using ruv::test::hold;
using ruv::test::wait_dialog;
using ruv::test::watchdog;

// Runs f once (on the GUI thread, from the wait's event loop) as soon as pred holds.
void once(std::function<bool()> pred, std::function<void()> f) {
  auto* t = new QTimer;
  t->setInterval(5);
  QObject::connect(t, &QTimer::timeout, [t, pred, f] {
    if (!pred()) return;
    t->stop();
    t->deleteLater();
    f();
  });
  t->start();
}

std::string ok_text_reply(const std::string& text) {
  peer::result r;
  r.cols = {{"s", peer::d_string}};
  r.rows = {{1, {peer::text(text)}}};
  return peer::ok_reply(r);
}

// A scripted server whose handler holds a statement starting "stall;" back.
struct server {
  peer::test_peer peer;
  hold held;
  server() {
    peer.set_handler([this](std::string_view s) {
      if (s.substr(0, 6) == "stall;") held.wait();
      return peer::send(ok_text_reply(std::string(s)));
    });
  }
  ~server() {
    held.release();
    ruv::wire_exit();
  }
  size_t statements() const {
    size_t n = 0;
    for (const auto& f : peer.frames()) n += f.size() >= 4 && f.compare(0, 4, "\xff\xff\xff\xff") != 0;
    return n == 0 ? 0 : n - 1;  // the login frame left out
  }
};

std::string first_cell(datas* d) {
  if (!d || rows_of(d) != 1 || cols_of(d) != 1) return "<no row>";
  char* s = nullptr;
  uint64_t n = 0;
  as_str(&s, &n, at(0, 0, d));
  std::string out = s ? std::string(s, n) : std::string();
  std::free(s);
  return out;
}

}  // namespace

class wire_test : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init() {
    ruv::set_wire_parent(nullptr);
    ruv::set_wire_dialog_delay_ms(50);
  }

  void statements_run_and_the_connection_shows() {
    watchdog dog("statements_run_and_the_connection_shows");
    server srv;
    QSignalSpy changed(ruv::wire_signals(), &ruv::wire_events::connection_changed);
    QVERIFY(ruv::wire_connect("127.0.0.1", srv.peer.port(), "u", "p"));
    QVERIFY(ruv::wire_connected());
    QCOMPARE(ruv::wire_address(), QStringLiteral("127.0.0.1:%1").arg(srv.peer.port()));
    for (const char* s : {"show tables;", "select 1;", "select 2;"}) {
      datas* d = ruv::wire_exec(s, int32_t(std::strlen(s)));
      QCOMPARE(first_cell(d), std::string(s));
      del_datas(d);
      QCOMPARE(ruv::wire_last().result, ruv::wire_result::ok);
    }
    ruv::wire_exit();
    QVERIFY(!ruv::wire_connected());
    QCOMPARE(changed.size(), 2);
    QCOMPARE(changed[0][0].toBool(), true);
    QCOMPARE(changed[1][0].toBool(), false);
    QVERIFY(srv.peer.wait_frames(5));
    QCOMPARE(srv.peer.frames().back(), peer::logout_frame());
  }

  void cancel_ends_a_stalled_statement_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("cancel button") << false;
    QTest::newRow("escape") << true;
  }
  void cancel_ends_a_stalled_statement() {
    QFETCH(bool, escape);
    watchdog dog("cancel_ends_a_stalled_statement");
    server srv;
    QVERIFY(ruv::wire_connect("127.0.0.1", srv.peer.port(), "u", "p"));
    QSignalSpy changed(ruv::wire_signals(), &ruv::wire_events::connection_changed);
    QString label;
    once([] { return wait_dialog() != nullptr; }, [&] {
      QProgressDialog* d = wait_dialog();
      label = d->findChild<QLabel*>()->text();
      if (escape)
        QTest::keyClick(d, Qt::Key_Escape);
      else
        QTest::mouseClick(d->findChild<QPushButton*>(), Qt::LeftButton);
    });
    const std::string stall = "stall;\nsecond line of the statement";
    datas* d = ruv::wire_exec(stall.data(), int32_t(stall.size()));
    QVERIFY(d == nullptr);
    QVERIFY(srv.held.was_entered());
    QCOMPARE(ruv::wire_last().result, ruv::wire_result::cancelled);
    QVERIFY(ruv::wire_last().sent);
    QVERIFY(!ruv::wire_connected());
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed[0][0].toBool(), false);
    QVERIFY(wait_dialog() == nullptr);
    QVERIFY2(label.contains(QLatin1String("stall;...")) && !label.contains(QLatin1String("second")), qPrintable(label));
    QVERIFY2(label.contains(QLatin1String("bytes received")), qPrintable(label));
    QCOMPARE(ruv::wire_failure_text(), QStringLiteral("the wait for the server was cancelled, the connection is closed."));

    // Closed: nothing more is sent until a new login.
    const size_t sent = srv.statements();
    QVERIFY(!ruv::wire_exec("show tables;", 12));
    QCOMPARE(ruv::wire_last().result, ruv::wire_result::closed);
    QVERIFY(!ruv::wire_last().sent);
    QCOMPARE(srv.statements(), sent);

    // The held reply, let go after the cancel, is read by no one; a new login starts clean.
    srv.held.release();
    QVERIFY(ruv::wire_connect("127.0.0.1", srv.peer.port(), "u", "p"));
    d = ruv::wire_exec("select 3;", 9);
    QCOMPARE(first_cell(d), std::string("select 3;"));
    del_datas(d);
    QCOMPARE(srv.peer.connections(), size_t(2));
  }

  void input_is_swallowed_while_painting_goes_on() {
    watchdog dog("input_is_swallowed_while_painting_goes_on");
    ruv::set_wire_dialog_delay_ms(600000);  // no dialog: the gate alone keeps input out
    server srv;
    QVERIFY(ruv::wire_connect("127.0.0.1", srv.peer.port(), "u", "p"));

    struct painted : QWidget {
      int paints = 0;
      int moves = 0;
      void paintEvent(QPaintEvent*) override { ++paints; }
      void mouseMoveEvent(QMouseEvent*) override { ++moves; }
    };
    QWidget window;
    window.resize(300, 200);
    auto* canvas = new painted;
    canvas->setMouseTracking(true);
    auto* button = new QPushButton(QStringLiteral("b"));
    auto* edit = new QLineEdit;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(canvas);
    layout->addWidget(button);
    layout->addWidget(edit);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    int clicks = 0;
    connect(button, &QPushButton::clicked, [&] { ++clicks; });

    int paints_at_start = -1;
    // Once the statement waits: try input everywhere, ask for repaints and move the mouse;
    // the server goes on when the window has painted and seen the move while waiting.
    auto* tick = new QTimer(&window);
    tick->setInterval(10);
    connect(tick, &QTimer::timeout, [&] {
      if (!ruv::wire_waiting()) return;
      if (paints_at_start < 0) {
        paints_at_start = canvas->paints;
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::keyClicks(edit, QStringLiteral("typed"));
        QTest::keyClick(edit, Qt::Key_Q, Qt::ControlModifier);
        window.close();
        QTest::mouseMove(canvas, QPoint(10, 10));
        QTest::mouseMove(canvas, QPoint(20, 20));
      }
      canvas->update();
      if (canvas->paints >= paints_at_start + 3 && canvas->moves > 0) srv.held.release();
    });
    tick->start();
    datas* d = ruv::wire_exec("stall;", 6);
    tick->stop();
    QCOMPARE(first_cell(d), std::string("stall;"));
    del_datas(d);
    QVERIFY(paints_at_start >= 0);
    QVERIFY(canvas->paints >= paints_at_start + 3);
    QVERIFY(canvas->moves > 0);
    QCOMPARE(clicks, 0);
    QCOMPARE(edit->text(), QString());
    QVERIFY(window.isVisible());
    // After the wait input goes through again.
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicks, 1);
  }

  void a_lost_connection_is_lost_not_refused_data() {
    QTest::addColumn<int>("how");  // 0 closed at once, 1 closed in the middle of the reply, 2 reset
    QTest::addColumn<QString>("reason");
    QTest::newRow("closed") << 0 << QStringLiteral("the server closed the connection");
    QTest::newRow("cut short") << 1 << QStringLiteral("the server closed the connection");
    QTest::newRow("reset") << 2 << QString::fromLocal8Bit(std::strerror(ECONNRESET));
  }
  void a_lost_connection_is_lost_not_refused() {
    QFETCH(int, how);
    QFETCH(QString, reason);
    watchdog dog("a_lost_connection_is_lost_not_refused");
    server srv;
    QVERIFY(ruv::wire_connect("127.0.0.1", srv.peer.port(), "u", "p"));
    QSignalSpy changed(ruv::wire_signals(), &ruv::wire_events::connection_changed);
    const std::string whole = ok_text_reply("x");
    srv.peer.push_reply(how == 0   ? peer::send_and_close("")
                        : how == 1 ? peer::send_and_close(whole.substr(0, whole.size() / 2))
                                   : peer::send_and_reset(""));
    QVERIFY(!ruv::wire_exec("select 1;", 9));
    QCOMPARE(ruv::wire_last().result, ruv::wire_result::lost);
    QCOMPARE(ruv::wire_last().reason, reason);
    QVERIFY(!ruv::wire_connected());
    QCOMPARE(changed.size(), 1);
    QCOMPARE(ruv::wire_failure_text(),
             QStringLiteral("the connection to 127.0.0.1:%1 was lost: %2").arg(srv.peer.port()).arg(reason));
    const size_t sent = srv.statements();
    QVERIFY(!ruv::wire_exec("select 2;", 9));
    QCOMPARE(ruv::wire_last().result, ruv::wire_result::closed);
    QCOMPARE(srv.statements(), sent);
  }

  void a_refused_statement_keeps_the_connection() {
    watchdog dog("a_refused_statement_keeps_the_connection");
    server srv;
    QVERIFY(ruv::wire_connect("127.0.0.1", srv.peer.port(), "u", "p"));
    QSignalSpy changed(ruv::wire_signals(), &ruv::wire_events::connection_changed);
    srv.peer.push_reply(peer::send(peer::fail_reply()));
    QVERIFY(!ruv::wire_exec("drop table t;", 13));
    QCOMPARE(ruv::wire_last().result, ruv::wire_result::refused);
    QVERIFY(ruv::wire_last().sent);
    QCOMPARE(ruv::wire_failure_text(), QString());
    QVERIFY(ruv::wire_connected());
    QCOMPARE(changed.size(), 0);
    datas* d = ruv::wire_exec("select 1;", 9);
    QCOMPARE(first_cell(d), std::string("select 1;"));
    del_datas(d);
  }

  void a_call_during_a_wait_is_busy() {
    watchdog dog("a_call_during_a_wait_is_busy");
    server srv;
    QVERIFY(ruv::wire_connect("127.0.0.1", srv.peer.port(), "u", "p"));
    struct nested {
      bool exec_null = false, connect_false = false;
      ruv::wire_result exec_result = ruv::wire_result::ok, connect_result = ruv::wire_result::ok,
                       exit_result = ruv::wire_result::ok;
      bool still_connected = false;
    } n;
    once([&] { return ruv::wire_waiting() && srv.held.was_entered(); }, [&] {
      n.exec_null = ruv::wire_exec("select 9;", 9) == nullptr;
      n.exec_result = ruv::wire_last().result;
      n.connect_false = !ruv::wire_connect("127.0.0.1", srv.peer.port(), "u", "p");
      n.connect_result = ruv::wire_last().result;
      ruv::wire_exit();
      n.exit_result = ruv::wire_last().result;
      n.still_connected = ruv::wire_connected();
      srv.held.release();
    });
    datas* d = ruv::wire_exec("stall;", 6);
    QCOMPARE(first_cell(d), std::string("stall;"));
    del_datas(d);
    QVERIFY(n.exec_null);
    QCOMPARE(n.exec_result, ruv::wire_result::busy);
    QVERIFY(n.connect_false);
    QCOMPARE(n.connect_result, ruv::wire_result::busy);
    QCOMPARE(n.exit_result, ruv::wire_result::busy);
    QVERIFY(n.still_connected);
    QCOMPARE(ruv::wire_last().result, ruv::wire_result::ok);
    QVERIFY(ruv::wire_connected());
    QCOMPARE(srv.statements(), size_t(1));
    QCOMPARE(srv.peer.connections(), size_t(1));
  }

  void a_stalled_login_is_cancelled() {
    watchdog dog("a_stalled_login_is_cancelled");
    server srv;
    std::atomic<int> logins{0};
    srv.peer.set_login_handler([&](std::string_view, std::string_view) {
      if (logins++ == 0) srv.held.wait();
      return peer::send(peer::login_ok());
    });
    once([&] { return wait_dialog() != nullptr && srv.held.was_entered(); },
         [] { QTest::mouseClick(wait_dialog()->findChild<QPushButton*>(), Qt::LeftButton); });
    QVERIFY(!ruv::wire_connect("127.0.0.1", srv.peer.port(), "u", "p"));
    QCOMPARE(ruv::wire_last().result, ruv::wire_result::cancelled);
    QVERIFY(!ruv::wire_connected());
    QVERIFY(!ruv::wire_exec("select 1;", 9));
    QCOMPARE(ruv::wire_last().result, ruv::wire_result::closed);
    // The next login waits for the abandoned one to end and then succeeds.
    srv.held.release();
    QVERIFY(ruv::wire_connect("127.0.0.1", srv.peer.port(), "u", "p"));
    datas* d = ruv::wire_exec("select 1;", 9);
    QCOMPARE(first_cell(d), std::string("select 1;"));
    del_datas(d);
    QCOMPARE(srv.peer.connections(), size_t(2));
  }

  void the_wait_dialog_counts_the_bytes_received() {
    watchdog dog("the_wait_dialog_counts_the_bytes_received");
    server srv;
    QVERIFY(ruv::wire_connect("127.0.0.1", srv.peer.port(), "u", "p"));
    // Ten rows of 30000 bytes each.
    peer::result r;
    r.cols = {{"s", peer::d_string}};
    for (uint64_t i = 0; i < 10; ++i) r.rows.push_back({i + 1, {peer::text(std::string(30000, char('a' + i)))}});
    const std::string whole = peer::ok_reply(r);
    const size_t first = 100000;
    peer::reply_plan plan = peer::send(whole.substr(0, first));
    size_t offset = first;
    bool waited = false;
    plan.produce = [&](char* p, size_t n) -> size_t {
      if (!waited) {
        waited = true;
        srv.held.wait();
      }
      const size_t k = std::min(n, whole.size() - offset);
      std::memcpy(p, whole.data() + offset, k);
      offset += k;
      return k;
    };
    srv.peer.push_reply(plan);
    QString label;
    once([&] {
      QProgressDialog* d = wait_dialog();
      return d && d->findChild<QLabel*>()->text().contains(QStringLiteral(" %1 bytes received").arg(first));
    }, [&] {
      label = wait_dialog()->findChild<QLabel*>()->text();
      srv.held.release();
    });
    datas* d = ruv::wire_exec("select big;", 11);
    QVERIFY(d != nullptr);
    QCOMPARE(rows_of(d), uint64_t(10));
    del_datas(d);
    QVERIFY2(label.contains(QLatin1String("waiting for the server: select big;\n")), qPrintable(label));
  }
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  wire_test t;
  return QTest::qExec(&t, argc, argv);
}

#include "wire_test.moc"
