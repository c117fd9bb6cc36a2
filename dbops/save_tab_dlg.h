#pragma once
// The modal dialog of a table save or a database backup: server or local path, the format
// ("bin" or "sql") and whether an existing file may be replaced.
#include <QDialog>

#include "adt/string.h"

namespace Ui {
class save_tab_dlg;
}

class save_tab_dlg : public QDialog {
  Q_OBJECT

 public:
  explicit save_tab_dlg(QWidget* parent = nullptr);
  ~save_tab_dlg() override;

  // The server path when the server group is chosen, else the local path (UTF-8).
  kk::adt::string::string path() const;
  bool is_bin_mode() const;
  bool is_replace() const;

 public slots:
  void change_replace_mode(int state);
  void s_clicked(bool checked);
  void c_clicked(bool checked);
  bool is_client() const;
  void set_path(const QString& path);
  void change_path(bool);
  void set_db_mode();
  void accept() override;

 private:
  QString chosen_path() const;

  Ui::save_tab_dlg* ui;
  bool replace_warning = true;
  bool client_warning = true;
  bool db_mode = false;
};
