#pragma once
// What the program is, its version, and its licences.
#include <QDialog>

namespace Ui {
class about_dlg;
}

class about_dlg : public QDialog {
  Q_OBJECT

 public:
  explicit about_dlg(QWidget* parent = nullptr);
  ~about_dlg() override;

  Ui::about_dlg* form() const { return ui; }

 public slots:
  // Shows "licenses.txt" of the working directory as plain text in a modal window.
  void lic();

 private:
  Ui::about_dlg* ui;
};

// The licence window of lic(), not yet run: the file's text (empty when it cannot be read).
QDialog* make_license_window();
