#include "app/main_window.h"

#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <utility>

#include "app/seams/seams.h"
#include "app/startup.h"
#include "app/sys_config.h"
#include "app/update_check.h"
#include "query/local_file.h"
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

  // The tree's context menu is its action list, rebuilt per selected item.
  ui->treeWidget->setContextMenuPolicy(Qt::ActionsContextMenu);
  ui->treeWidget->setIconSize(QSize(24, 24));

  conn_btn = new QPushButton(ui->statusbar);
  conn_btn->setCheckable(false);
  conn_btn->setIcon(QIcon(QStringLiteral(":/img/connect.svg")));
  ui->statusbar->addWidget(conn_btn, 0);
  err_btn = new QPushButton(ui->statusbar);
  err_btn->setCheckable(false);
  err_btn->setIcon(QIcon(QStringLiteral(":/img/correct.svg")));
  ui->statusbar->addPermanentWidget(err_btn, 0);

  // A right click on the tab bar offers to close files.
  ui->tabWidget->tabBar()->addActions({close_file_act, close_all_act, close_except_act});
  ui->tabWidget->tabBar()->setContextMenuPolicy(Qt::ActionsContextMenu);

  ui->textEdit->clear();
  showMaximized();
  if (sys_config.check_update_at_start) update(true);
  apply_icon_size();
}

MainWindow::~MainWindow() { delete ui; }

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
  update_request req;
  {
    const kk::adt::string::string self = read_file(program_path);
    req.crc = crc32_of(self.data, self.size);
  }
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
}
