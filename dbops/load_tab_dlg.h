#pragma once
// The modal dialog of a table load or a database restore: server or local path, the format
// ("bin" or "sql") and, for a table load in "bin" format, the table's name.
#include <QDialog>

#include "adt/string.h"

namespace Ui {
class load_tab_dlg;
}

class load_tab_dlg : public QDialog {
  Q_OBJECT

 public:
  explicit load_tab_dlg(QWidget* parent = nullptr);
  ~load_tab_dlg() override;

  // The server path when the server group is chosen, else the local path (UTF-8).
  kk::adt::string::string path() const;
  kk::adt::string::string table_name() const;

 public slots:
  void accept() override;
  void s_clicked(bool checked);
  void c_clicked(bool checked);
  void sql_clicked(bool checked);
  void bin_clicked(bool checked);
  void set_path(const QString& path);
  bool is_bin_mode() const;
  bool is_client() const;
  void change_path(bool);
  void hide_table_name();
  void set_db_mode();

 private:
  QString chosen_path() const;
  void show_table_name(bool shown);

  Ui::load_tab_dlg* ui;
  bool client_warning = true;
  bool db_mode = false;
  bool table_name_off = false;  // a restore: no format choice brings the table name back
};
