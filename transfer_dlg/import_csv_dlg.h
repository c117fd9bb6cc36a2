#pragma once
// The modal dialog of a CSV import or export: server or local path, separator, format and,
// for an export, whether an existing file may be replaced.
#include <QDialog>

#include "adt/string.h"

namespace Ui {
class import_csv_dlg;
}

class import_csv_dlg : public QDialog {
  Q_OBJECT

 public:
  explicit import_csv_dlg(QWidget* parent = nullptr);
  ~import_csv_dlg() override;

  void set_export_mode();
  void set_path(const QString& path);
  // The server path when the server group is chosen, else the local path (UTF-8).
  kk::adt::string::string path() const;
  bool is_client() const;
  bool is_csv() const;
  bool is_replace() const;
  // The separator of the item whose text the combo box shows, else the text typed into it
  // (UTF-8).
  kk::adt::string::string separator() const;

 public slots:
  void accept() override;
  void clicked(bool);
  void change_replace_mode(int state);
  void s_clicked(bool checked);
  void c_clicked(bool checked);

 private:
  QString chosen_path() const;

  Ui::import_csv_dlg* ui;
  bool export_mode = false;
  bool replace_warning = true;
  bool client_warning = true;
};
