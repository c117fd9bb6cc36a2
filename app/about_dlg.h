#pragma once
// What the program is, its version, and its licences.
#include <QDialog>
#include <QStringList>

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
  // Shows the licences text as plain text in a modal window.
  void lic();

 private:
  Ui::about_dlg* ui;
};

// Where the licences text "licenses.txt" is looked for, in this order: the working
// directory, the installed documentation folder (as the local manual: <prefix>/share/doc/
// ruv_mdb, found from the program's own folder, unless the build names another).
QStringList licence_places();

// The licence window of lic(), not yet run: the text of the first of `places` that can be
// read (empty and untitled when none can).
QDialog* make_license_window(const QStringList& places = licence_places());
