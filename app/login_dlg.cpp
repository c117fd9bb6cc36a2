#include "app/login_dlg.h"

#include <QKeyEvent>

#include "adt/string.h"
#include "app/form_fit.h"
#include "app/login_rules.h"
#include "app/main_window.h"
#include "ui_base/seams.h"
#include "ui_base/slot_guard.h"
#include "ui_base/sys_config.h"
#include "query/wire.h"
#include "ui_login_dlg.h"

login_dlg::login_dlg(QWidget* parent) : QDialog(parent), ui(new Ui::login_dlg) {
  ui->setupUi(this);
  setWindowFlags(windowFlags() | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  connect(ui->pb_login, &QPushButton::clicked, this, &login_dlg::login);
  connect(ui->pb_close, &QPushButton::clicked, this, &login_dlg::reject);
  connect(ui->le_port, &QLineEdit::textChanged, this, &login_dlg::portChanged);
  connect(ui->le_ip, &QLineEdit::textChanged, this, &login_dlg::ipChanged);
  ui->le_ip->setText(QString::fromUtf8(sys_config.server, static_cast<int>(qstrnlen(sys_config.server, sizeof sys_config.server))));
  ui->le_user->setText(QString::fromUtf8(sys_config.user, static_cast<int>(qstrnlen(sys_config.user, sizeof sys_config.user))));
  if (ui->le_user->text().isEmpty()) ui->checkBox->setChecked(false);
  ui->le_port->setText(QString::number(sys_config.port));
  ui->le_user->setFocus(Qt::TabFocusReason);
  ui->le_user->setFocusPolicy(Qt::StrongFocus);
  fit_texts(this);
}

login_dlg::~login_dlg() { delete ui; }

void login_dlg::ipChanged(const QString& text) {
  slot_guard("ipChanged", [&] {
    ui->lbl_ipinfo->clear();
    if (!ip_valid(text)) ui->lbl_ipinfo->setText(tr("invalid ip"));
    fit_text(ui->lbl_ipinfo);
  });
}

void login_dlg::portChanged(const QString& text) {
  slot_guard("portChanged", [&] {
    ui->lbl_portinfo->clear();
    if (port_value(text) == 0) ui->lbl_portinfo->setText(tr("invalid port"));
    fit_text(ui->lbl_portinfo);
  });
}

void login_dlg::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    login();
    return;
  }
  QDialog::keyPressEvent(e);
}

void login_dlg::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  shown_at = pos();
  placed = true;
}

void login_dlg::keep_place() {
  if (placed && isVisible() && pos() != shown_at) move(shown_at);
}

void login_dlg::login() { slot_guard("login", [&] { try_login(); }); }

void login_dlg::try_login() {
  ui->lbl_ipinfo->clear();
  ui->lbl_portinfo->clear();
  const kk::u16 port = port_value(ui->le_port->text());
  if (port == 0) ui->lbl_portinfo->setText(tr("invalid port"));
  fit_text(ui->lbl_portinfo);
  if (!ip_valid(ui->le_ip->text())) {
    ui->lbl_ipinfo->setText(tr("invalid ip"));
    fit_text(ui->lbl_ipinfo);
    return;
  }
  if (port == 0) return;
  // Leading zeros are decimal here, never octal: "010.0.0.1" is 10.0.0.1.
  const QByteArray ip = ip_plain(ui->le_ip->text()).toUtf8();
  const QByteArray user = ui->le_user->text().toUtf8();
  const QByteArray password = ui->le_passwd->text().toUtf8();
  bool connected = false;
  {
    ruv::wait_cursor busy;
    ruv::set_wire_parent(this);
    connected = ruv::wire_connect(ip.constData(), port, user.constData(), password.constData());
  }
  if (!connected && ruv::wire_last().result == ruv::wire_result::cancelled) {
    // The user ended the wait: the fields stay for another try.
    keep_place();
    ruv::information(this, tr("info"), ruv::wire_failure_text());
    return;
  }
  if (!connected) {
    // The wire tells a server that cannot be reached, or gave no answer, from a refused login.
    const QString reason = ruv::wire_last().reason;
    const QString text = reason.isEmpty() ? tr("invalid user or password")
                                          : tr("cannot connect to %1:%2: %3")
                                                .arg(QString::fromUtf8(ip), QString::number(port), reason);
    keep_place();
    ruv::information(this, tr("info"), text);
    return;
  }
  accept();
  if (!main_wnd) {
    main_wnd = new MainWindow(kk::adt::string_from_bytes(ip.constData(), ip.size()), port,
                              kk::adt::string_from_bytes(user.constData(), user.size()),
                              kk::adt::string_from_bytes(password.constData(), password.size()), nullptr);
  }
  store_default_login(sys_config, ui->checkBox->isChecked(), ip, user, port);
  main_wnd->show();
}
