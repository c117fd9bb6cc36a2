#include "app/main_window.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "ui_base/seams.h"
#include "ui_base/slot_guard.h"
#include "app/startup.h"
#include "ui_base/sys_config.h"
#include "app/update_check.h"
#include "editor/editor.h"
#include "script_tab/sql_script_editor.h"
#include "query/db_ctx.h"
#include "query/local_file.h"
#include "query/wire.h"
#include "ui_main_window.h"

MainWindow::MainWindow(kk::adt::string::string host_, kk::u16 port_, kk::adt::string::string user_,
                       kk::adt::string::string password_, QWidget* parent)
    : QMainWindow(parent),
      ui(new Ui::MainWindow),
      host(std::move(host_)),
      port(port_),
      user(std::move(user_)),
      password(std::move(password_)) {
  ui->setupUi(this);
  build_database_actions();
  build_table_actions();
  build_field_actions();
  build_edit_actions();
  build_file_actions();
  fill_menus_and_tool_bar();
  connect_form_actions();
  disable_tree_actions();

  // The log pane starts 150 pixels high.
  QRect g = ui->textEdit->geometry();
  g.setHeight(150);
  ui->textEdit->setGeometry(g);

  ctx = new db_ctx(ui->textEdit, kk::adt::string_from_cstr("ruv_mdb"));
  refresh(true);

  // The tree's context menu is its action list, rebuilt per selected item.
  ui->treeWidget->setContextMenuPolicy(Qt::ActionsContextMenu);
  ui->treeWidget->setIconSize(QSize(24, 24));

  conn_btn = new QPushButton(ui->statusbar);
  conn_btn->setObjectName(QStringLiteral("conn_btn"));
  conn_btn->setCheckable(false);
  conn_btn->setIcon(QIcon(ruv::wire_connected() ? QStringLiteral(":/img/connect.svg")
                                                 : QStringLiteral(":/img/disconnect.svg")));
  ui->statusbar->addWidget(conn_btn, 0);
  err_btn = new QPushButton(ui->statusbar);
  err_btn->setObjectName(QStringLiteral("err_btn"));
  err_btn->setCheckable(false);
  err_btn->setIcon(QIcon(QStringLiteral(":/img/correct.svg")));
  ui->statusbar->addPermanentWidget(err_btn, 0);

  ruv::set_wire_parent(this);
  connect(ruv::wire_signals(), &ruv::wire_events::connection_changed, this, &MainWindow::connection_changed);
  connect(goto_err_act, &QAction::changed, this, &MainWindow::change_es);
  connect(ui->treeWidget, &QTreeWidget::currentItemChanged, this, &MainWindow::currentItemChanged);
  connect(ui->tabWidget, &QTabWidget::tabCloseRequested, this, &MainWindow::close_tab);
  connect(ui->tabWidget, &QTabWidget::currentChanged, this, &MainWindow::currentChanged);
  connect(ui->tabWidget, &QTabWidget::tabBarClicked, this, &MainWindow::tabBarClicked);
  connect(ui->toolBar, &QToolBar::visibilityChanged, this, &MainWindow::visibility_changed);

  // A right click on the tab bar offers to close files.
  ui->tabWidget->tabBar()->addActions({close_file_act, close_all_act, close_except_act});
  ui->tabWidget->tabBar()->setContextMenuPolicy(Qt::ActionsContextMenu);

  // The scripts open at the last exit, the last of them current.
  reopen_open_files();

  ui->tabWidget->installEventFilter(this);
  fit_tab_minimum();
  ui->textEdit->clear();
  showMaximized();
  if (sys_config.check_update_at_start) update(true);
  apply_icon_size();
}

MainWindow::~MainWindow() {
  disconnect(ruv::wire_signals(), nullptr, this, nullptr);
  if (ctx) {
    db_ctx_close(ctx);
    delete ctx;
  }
  delete ui;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Every question comes before anything is written: a window that stays open has written
  // nothing. Only modified scripts are written; the window stays open over one that could
  // not be, unless the user gives its changes up.
  bool close = true;
  slot_guard("closeEvent", [&] {
    close = give_up_unapplied();
    if (!close) return;
    QList<ruv::sql_script_editor*> given_up;
    const QStringList blocked = unwritable_scripts(&given_up);
    if (!blocked.isEmpty()) close = give_up_scripts(blocked);
    if (!close) return;
    // A write can still fail (a full disk): then the user is asked again.
    const QStringList failures = save_modified_scripts(given_up);
    if (!failures.isEmpty()) close = give_up_scripts(failures);
  });
  if (!close) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

void MainWindow::connection_changed(bool connected) {
  slot_guard("connection_changed", [&] {
    conn_btn->setIcon(QIcon(connected ? QStringLiteral(":/img/connect.svg") : QStringLiteral(":/img/disconnect.svg")));
    const ruv::wire_result why = ruv::wire_last().result;
    if (connected || (why != ruv::wire_result::lost && why != ruv::wire_result::cancelled)) return;
    // Told once the operation that met it has ended (its own box, its timing): a box here
    // would stand inside that operation.
    untold_loss = ruv::wire_failure_text();
    untold_offers_reconnect = why == ruv::wire_result::lost;
    QTimer::singleShot(0, this, [this] { slot_guard("tell_loss", [&] { tell_loss_when_idle(); }); });
  });
}

void MainWindow::tell_loss_when_idle() {
  if (untold_loss.isEmpty()) return;
  if (ruv::wire_waiting() || QThread::currentThread()->loopLevel() > 1) {
    QTimer::singleShot(100, this, [this] { slot_guard("tell_loss", [&] { tell_loss_when_idle(); }); });
    return;
  }
  const QString text = std::exchange(untold_loss, QString());
  if (ruv::wire_connected()) return;  // connected again meanwhile: nothing left to tell
  if (!untold_offers_reconnect) {
    ruv::information(this, tr("connection information"), text);
    return;
  }
  // No is the default: a reconnect runs statements on the server again.
  if (ruv::question(this, tr("connection information"), text + QLatin1Char('\n') + tr("reconnect now?"),
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes)
    reconnect(true);
}

bool MainWindow::give_up_unapplied() {
  // Edits of a data tab live only in the tab until they are applied.
  const QStringList unapplied = unapplied_tabs();
  if (unapplied.isEmpty()) return true;
  return ruv::warning(this, tr("edits not applied"),
                      tr("these tabs have edits not applied to the server:\n%1\nclose anyway and lose them?")
                          .arg(unapplied.join(QLatin1Char('\n'))),
                      QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Cancel) == QMessageBox::Discard;
}

bool MainWindow::give_up_scripts(const QStringList& failures) {
  return ruv::warning(this, tr("save failed"),
                      tr("these script files could not be saved:\n%1\nclose anyway and lose their changes?")
                          .arg(failures.join(QLatin1Char('\n'))),
                      QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Cancel) == QMessageBox::Discard;
}

int MainWindow::tab_strip_height() const {
  QTabBar* bar = ui->tabWidget->tabBar();
  if (ui->tabWidget->count() > 0) return bar->height();
  // No tab: the bar has no height; take the one a single tab would give it.
  QTabBar probe;
  probe.setFont(bar->font());
  probe.setTabsClosable(bar->tabsClosable());
  probe.addTab(QStringLiteral("x"));
  return probe.sizeHint().height();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui->tabWidget && event->type() == QEvent::MouseButtonDblClick) {
    const auto* m = static_cast<QMouseEvent*>(event);
    // On the strip beside the tabs (or where they would be): a new file.
    slot_guard("eventFilter", [&] {
      if (m->pos().y() < tab_strip_height()) new_file(true);
    });
    return true;
  }
  // A page came, went or changed what it needs.
  if (watched == ui->tabWidget && event->type() == QEvent::LayoutRequest)
    slot_guard("eventFilter", [&] { fit_tab_minimum(); });
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::fit_tab_minimum() {
  constexpr int form_minimum = 200;
  const int h = std::max(form_minimum, ui->tabWidget->minimumSizeHint().height());
  if (ui->tabWidget->minimumHeight() != h) ui->tabWidget->setMinimumHeight(h);
}

ruv::sql_script_editor* MainWindow::current_script() const {
  return qobject_cast<ruv::sql_script_editor*>(ui->tabWidget->currentWidget());
}

ruv::editor* MainWindow::current_editor() const {
  ruv::sql_script_editor* s = current_script();
  return s ? s->editor_widget() : nullptr;
}

void MainWindow::apply_icon_size() {
  const kk::u32 size = sys_config.icon_size;
  if (size != 48 && size != 32 && size != 24) return;
  ui->big_act->setChecked(size == 48);
  ui->normal_act->setChecked(size == 32);
  ui->small_act->setChecked(size == 24);
  const QSize s(static_cast<int>(size), static_cast<int>(size));
  ui->toolBar->setIconSize(s);
  ui->treeWidget->setIconSize(s);
}

void MainWindow::update(bool) {
  slot_guard("update", [&] {
    update_request req;
    req.crc = program_file_crc();
    update_reply reply;
    kk::u32 checked = 0;
    {
      ruv::wait_cursor busy;
      checked = check_update(&req, &reply);
    }
    QString text;
    switch (judge_update(checked, reply, req)) {
      case update_verdict::newer:
        text = tr("there is new version, please update from website!");
        break;
      case update_verdict::latest:
        text = tr("the current version is latest version!");
        break;
      case update_verdict::failed:
        text = tr("check version failed!");
        break;
    }
    ruv::information(this, tr("version infomation"), text);
  });
}
