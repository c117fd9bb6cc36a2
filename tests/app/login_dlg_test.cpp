// The login dialog against the scripted server, with the prompt seam recording every box.
#include <QLabel>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <cerrno>
#include <cstring>
#include <memory>

#include "query/wire.h"
#include "app/login_dlg.h"
#include "app/main_window.h"
#include "ui_base/sys_config.h"
#include "client/ruv_sql_lib_mem.h"
#include "tests/peer/fault_proxy.h"
#include "tests/peer/test_peer.h"
#include "tests/support/scripted_prompt.h"
#include "ui_login_dlg.h"

class login_dlg_test : public QObject {
  Q_OBJECT

  // A dialog over a record whose server and port point at `port` on loopback.
  std::unique_ptr<login_dlg> dialog(kk::u16 port, const char* user = "") {
    sys_config = sys_config_record{};
    std::strcpy(sys_config.user, user);
    sys_config.port = port;
    return std::make_unique<login_dlg>(nullptr);
  }
  static void type(QLineEdit* e, const QString& text) {
    e->clear();
    QTest::keyClicks(e, text);
  }
  // Ends the accepted login: the window is not the dialog's to delete.
  static void close_window(login_dlg& d) {
    delete d.main_window();
    ruv::wire_exit();
  }

 private slots:
  void shows_the_configured_login() {
    auto d = dialog(4321, "bob");
    QCOMPARE(d->form()->le_ip->text(), QString("127.0.0.1"));
    QCOMPARE(d->form()->le_port->text(), QString("4321"));
    QCOMPARE(d->form()->le_user->text(), QString("bob"));
    QVERIFY(d->form()->checkBox->isChecked());
    QCOMPARE(d->form()->le_passwd->echoMode(), QLineEdit::Password);
    QVERIFY(d->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(d->windowFlags() & Qt::WindowStaysOnTopHint);
    auto empty = dialog(55555, "");
    QVERIFY(!empty->form()->checkBox->isChecked());
  }

  void address_and_port_are_checked_as_typed() {
    auto d = dialog(55555);
    struct row {
      const char* ip;
      bool bad;
    };
    for (row r : {row{"192.168.1.30", false}, row{"192.168.1.300", true}, row{"010.0.0.1", false},
                  row{"1.2.3", true}}) {
      type(d->form()->le_ip, r.ip);
      QCOMPARE(d->form()->lbl_ipinfo->text(), r.bad ? QString("invalid ip") : QString());
    }
    for (const char* p : {"0", "65536", "abc"}) {
      type(d->form()->le_port, p);
      QCOMPARE(d->form()->lbl_portinfo->text(), QString("invalid port"));
    }
    type(d->form()->le_port, "65535");
    QCOMPARE(d->form()->lbl_portinfo->text(), QString());
  }

  void accepted_login_opens_the_window_and_stores_the_default() {
    for (bool as_default : {true, false}) {
      peer::test_peer server;
      ruv::test::scripted_prompt prompt;
      auto d = dialog(server.port());
      type(d->form()->le_user, "alice");
      type(d->form()->le_passwd, "secret");
      type(d->form()->le_ip, "127.000.000.001");
      d->form()->checkBox->setChecked(as_default);
      d->show();
      QTest::mouseClick(d->form()->pb_login, Qt::LeftButton);
      QCOMPARE(d->result(), int(QDialog::Accepted));
      QVERIFY(prompt.boxes.empty());
      QVERIFY(d->main_window() != nullptr);
      QVERIFY(d->main_window()->isVisible());
      QVERIFY(server.wait_frames(1));
      QCOMPARE(server.frames().at(0), peer::login_frame("alice", "secret"));
      if (as_default) {
        QCOMPARE(QString(sys_config.server), QString("127.0.0.1"));  // stored in plain decimal
        QCOMPARE(QString(sys_config.user), QString("alice"));
        QCOMPARE(sys_config.port, kk::u32(server.port()));
      } else {
        QCOMPARE(QString(sys_config.server), QString("127.0.0.1"));
        QCOMPARE(QString(sys_config.user), QString());
        QCOMPARE(sys_config.port, kk::u32(55555));
      }
      // The password is nowhere in the configuration.
      const auto bytes = sys_config_bytes(sys_config);
      QVERIFY(!QByteArray(bytes.data, int(bytes.size)).contains("secret"));
      close_window(*d);
    }
  }

  void refused_login_says_so_and_keeps_the_fields() {
    peer::test_peer server;
    server.set_login_reply(peer::send(peer::fail_reply()));
    ruv::test::scripted_prompt prompt;
    auto d = dialog(server.port(), "carol");
    type(d->form()->le_passwd, "wrong");
    d->show();
    QTest::mouseClick(d->form()->pb_login, Qt::LeftButton);
    QCOMPARE(prompt.boxes.size(), size_t(1));
    QCOMPARE(prompt.boxes[0].title, QString("info"));
    QCOMPARE(prompt.boxes[0].text, QString("invalid user or password"));
    QCOMPARE(prompt.boxes[0].icon, QMessageBox::Information);
    QCOMPARE(prompt.boxes[0].parent, static_cast<QWidget*>(d.get()));  // over the dialog
    QVERIFY(d->isVisible());
    QCOMPARE(d->result(), 0);
    QVERIFY(d->main_window() == nullptr);
    QCOMPARE(d->form()->le_passwd->text(), QString("wrong"));
    QCOMPARE(QString(sys_config.user), QString("carol"));  // nothing stored
  }

  void no_server_says_it_cannot_connect() {
    // Nothing listens on the port: the connection itself fails, which is no refused login.
    kk::u16 port;
    {
      peer::test_peer gone;
      port = gone.port();
    }
    ruv::test::scripted_prompt prompt;
    auto d = dialog(port);
    d->show();
    const QPoint shown_at = d->pos();
    QVERIFY(shown_at != QPoint(0, 0));
    // Some window managers report the frameless, always-on-top dialog at the screen's corner
    // once it is active: the box is placed over the dialog where it stands.
    d->move(0, 0);
    QTest::mouseClick(d->form()->pb_login, Qt::LeftButton);
    QCOMPARE(d->pos(), shown_at);
    QCOMPARE(prompt.boxes.size(), size_t(1));
    QCOMPARE(prompt.last_text(), QString("cannot connect to 127.0.0.1:%1: %2")
                                     .arg(port)
                                     .arg(QString::fromLocal8Bit(std::strerror(ECONNREFUSED))));
    QCOMPARE(prompt.boxes[0].parent, static_cast<QWidget*>(d.get()));
    QVERIFY(d->isVisible());
    QVERIFY(d->main_window() == nullptr);
  }

  void silent_server_says_it_gave_no_answer() {
    // The server takes the connection and never answers the login: once the library's wait
    // for the answer ends, the box says so; it is neither a refused login nor a refused
    // connection. (The wait lasts the library's bound of 10 s.)
    peer::test_peer server;
    peer::fault_proxy proxy(server.port());
    proxy.add_rule(peer::at_frame(peer::fault::stall, 0));
    ruv::test::scripted_prompt prompt;
    auto d = dialog(proxy.port());
    d->show();
    QTest::mouseClick(d->form()->pb_login, Qt::LeftButton);
    QCOMPARE(prompt.boxes.size(), size_t(1));
    QCOMPARE(prompt.last_text(),
             QString("cannot connect to 127.0.0.1:%1: the server gave no answer to the login").arg(proxy.port()));
    QVERIFY(d->isVisible());
    QVERIFY(d->main_window() == nullptr);
  }

  void bad_address_or_port_never_connects() {
    peer::test_peer server;
    ruv::test::scripted_prompt prompt;
    auto d = dialog(server.port());
    type(d->form()->le_ip, "127.0.0.300");
    QTest::mouseClick(d->form()->pb_login, Qt::LeftButton);
    QCOMPARE(d->form()->lbl_ipinfo->text(), QString("invalid ip"));
    type(d->form()->le_ip, "127.0.0.1");
    type(d->form()->le_port, "0");
    QTest::mouseClick(d->form()->pb_login, Qt::LeftButton);
    QCOMPARE(d->form()->lbl_portinfo->text(), QString("invalid port"));
    QCOMPARE(d->form()->lbl_ipinfo->text(), QString());
    // Both wrong: both say so.
    type(d->form()->le_ip, "x");
    QTest::mouseClick(d->form()->pb_login, Qt::LeftButton);
    QCOMPARE(d->form()->lbl_ipinfo->text(), QString("invalid ip"));
    QCOMPARE(d->form()->lbl_portinfo->text(), QString("invalid port"));
    QCOMPARE(server.connections(), size_t(0));
    QVERIFY(prompt.boxes.empty());
  }

  void enter_in_any_field_logs_in_and_never_closes() {
    peer::test_peer server;
    server.set_login_reply(peer::send(peer::fail_reply()));
    ruv::test::scripted_prompt prompt;
    auto d = dialog(server.port());
    d->show();
    QWidget* fields[] = {d->form()->le_user, d->form()->le_passwd, d->form()->le_ip, d->form()->le_port,
                         d->form()->checkBox, d->form()->pb_login};
    size_t boxes = 0;
    for (QWidget* w : fields) {
      w->setFocus();
      for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(w, Qt::Key(key));
        QCOMPARE(prompt.boxes.size(), ++boxes);
        QVERIFY2(d->isVisible(), qPrintable(w->objectName()));
      }
    }
    QCOMPARE(d->result(), 0);
    QTest::keyClick(d->form()->le_user, Qt::Key_Escape);
    QVERIFY(!d->isVisible());
    QCOMPARE(d->result(), int(QDialog::Rejected));
  }

  void close_button_rejects() {
    auto d = dialog(55555);
    d->show();
    QTest::mouseClick(d->form()->pb_close, Qt::LeftButton);
    QCOMPARE(d->result(), int(QDialog::Rejected));
  }
};

QTEST_MAIN(login_dlg_test)
#include "login_dlg_test.moc"
