#pragma once
// The program's one window after the login: database tree, tabs, log pane, menus, tool bar
// and status bar.
#include <QMainWindow>

#include "adt/string.h"
#include "adt/types.h"
#include "adt/vector.h"

namespace Ui {
class MainWindow;
}
class QPushButton;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // The login it was opened with: the texts are kept as copies; the password stays in memory
  // only (for a reconnect) and is never written anywhere.
  MainWindow(kk::adt::string::string host, kk::u16 port, kk::adt::string::string user,
             kk::adt::string::string password, QWidget* parent);
  ~MainWindow() override;

  Ui::MainWindow* form() const { return ui; }

  using QWidget::update;

 public slots:
  // Asks the update server whether a newer version exists and says so in a box.
  void update(bool checked);

 private:
  // The configured icon size checks its action and sizes the tool bar and the tree.
  void apply_icon_size();

  Ui::MainWindow* ui;
  kk::adt::string::string host;
  kk::u16 port = 0;
  kk::adt::string::string user;
  kk::adt::string::string password;
  QPushButton* conn_btn = nullptr;  // connection state: connect.svg or disconnect.svg
  QPushButton* err_btn = nullptr;   // error state of the current script: correct.svg or error.svg
  kk::adt::vector<kk::adt::string::string> table_names;
};
