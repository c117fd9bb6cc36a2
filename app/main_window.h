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
class QAction;
class QMenu;
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
  // Empties the recent-files list of the configuration and the submenu.
  void cls_recent(bool checked);
  void status(bool checked);
  void quit(bool checked);
  void about(bool checked);
  // Disables the table and field actions until the tree selects an item they apply to.
  void disable_tree_actions();

 private:
  QAction* make_action(const char* name, const char* text, const char* shortcut, const char* icon, bool enabled);
  void build_database_actions();
  void build_table_actions();
  void build_field_actions();
  void build_edit_actions();
  void build_file_actions();
  void fill_menus_and_tool_bar();
  void fill_recent_menu();
  void connect_form_actions();
  // The configured icon size checks its action and sizes the tool bar and the tree.
  void apply_icon_size();

  Ui::MainWindow* ui;
  // The window's own actions (children of the window, named after their members).
  QAction* new_file_act = nullptr;
  QAction* open_file_act = nullptr;
  QMenu* recent_menu = nullptr;
  QAction* save_file_act = nullptr;
  QAction* save_all_act = nullptr;
  QAction* save_as_act = nullptr;
  QAction* close_file_act = nullptr;
  QAction* close_all_act = nullptr;
  QAction* close_except_act = nullptr;
  QAction* print_act = nullptr;
  QAction* quit_act = nullptr;
  QAction* refresh_act = nullptr;
  QAction* create_table_act = nullptr;
  QAction* reconnect_act = nullptr;
  QAction* status_act = nullptr;
  QAction* backup_act = nullptr;
  QAction* restore_act = nullptr;
  QAction* exec_sql_act = nullptr;
  QAction* drop_act = nullptr;
  QAction* truncate_act = nullptr;
  QAction* new_field_act = nullptr;
  QAction* view_data_act = nullptr;
  QAction* view_field_act = nullptr;
  QAction* import_act = nullptr;
  QAction* export_act = nullptr;
  QAction* save_tab_act = nullptr;
  QAction* load_tab_act = nullptr;
  QAction* delete_col_act = nullptr;
  QAction* rename_col_act = nullptr;
  QAction* modify_col_act = nullptr;
  QAction* cut_act = nullptr;
  QAction* copy_act = nullptr;
  QAction* paste_act = nullptr;
  QAction* redo_act = nullptr;
  QAction* undo_act = nullptr;
  QAction* goto_err_act = nullptr;
  QAction* line_begin_act = nullptr;
  QAction* line_end_act = nullptr;
  QAction* word_begin_act = nullptr;
  QAction* word_end_act = nullptr;
  QAction* del_sel_act = nullptr;
  QAction* sel_beside_act = nullptr;
  QAction* sel_all_act = nullptr;
  QAction* sel_line_act = nullptr;
  QAction* sel_word_act = nullptr;
  QAction* find_act = nullptr;
  QAction* replace_act = nullptr;
  QAction* exec_sel_act = nullptr;
  QAction* exec_cur_act = nullptr;
  QAction* format_sel_act = nullptr;

  kk::adt::string::string host;
  kk::u16 port = 0;
  kk::adt::string::string user;
  kk::adt::string::string password;
  QPushButton* conn_btn = nullptr;  // connection state: connect.svg or disconnect.svg
  QPushButton* err_btn = nullptr;   // error state of the current script: correct.svg or error.svg
  kk::adt::vector<kk::adt::string::string> table_names;
};
