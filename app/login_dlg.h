#pragma once
// The first window: asks for the login, connects through the library and opens the main window.
#include <QDialog>

namespace Ui {
class login_dlg;
}
class MainWindow;
class QKeyEvent;
class QShowEvent;

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
  void showEvent(QShowEvent* e) override;

 private:
  void try_login();

  // Puts the dialog back where it was shown before a box is placed over it. Some window
  // managers report a frameless, always-on-top window at the screen's corner once it is
  // active (Qt then centres a box over that corner); without a frame it is not dragged, so it
  // is where it was shown.
  void keep_place();

  Ui::login_dlg* ui;
  MainWindow* main_wnd = nullptr;
  QPoint shown_at;
  bool placed = false;
};
