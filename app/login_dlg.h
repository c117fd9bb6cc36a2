#pragma once
// The first window: asks for the login, connects through the library and opens the main window.
#include <QDialog>

namespace Ui {
class login_dlg;
}
class MainWindow;
class QKeyEvent;

class login_dlg : public QDialog {
  Q_OBJECT

 public:
  explicit login_dlg(QWidget* parent = nullptr);
  ~login_dlg() override;

  Ui::login_dlg* form() const { return ui; }
  // The main window of the accepted login (null before); the dialog never deletes it.
  MainWindow* main_window() const { return main_wnd; }

 public slots:
  void login();
  void portChanged(const QString& text);
  void ipChanged(const QString& text);

 protected:
  // Enter in any field logs in; it never closes the dialog.
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void try_login();

  Ui::login_dlg* ui;
  MainWindow* main_wnd = nullptr;
};
