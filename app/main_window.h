#pragma once
// The program's one window after the login: database tree, tabs, log pane, menus, tool bar
// and status bar.
//
// The implementation is split by role: main_window.cpp (construction, closing, the tab
// strip's double click, the update check), main_window_actions.cpp (actions, menus, tool
// bar), main_window_files.cpp (script files), main_window_view.cpp (view, language, help and
// the editing commands), main_window_db.cpp (the database tree and its operations).
#include <QMainWindow>
#include <QString>
#include <QPointer>

#include "adt/string.h"
#include "adt/tree.h"
#include "adt/types.h"
#include "adt/vector.h"
#include "app/edit_route.h"
#include "dbops/db_tree.h"
#include "dbops/tree_actions.h"

namespace Ui {
class MainWindow;
}
namespace ruv {
class sql_script_editor;
class editor;
}  // namespace ruv
class db_ctx;
enum class col_info_mode : kk::u32;
class QAbstractItemView;
class QAction;
class QMenu;
class QPushButton;
class QStringList;
class QTreeWidgetItem;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  using name_vector = kk::adt::vector<kk::adt::string::string>;
  // Table name -> its field names (the last refresh's), handed to every script tab.
  using field_cache_map = kk::adt::tree<kk::adt::string::string, name_vector>;
  // Path of a script file (UTF-8, as the file chooser gave it) -> its tab's editor.
  using open_file_tree = kk::adt::tree<kk::adt::string::string, ruv::sql_script_editor*>;

  // The login it was opened with: the texts are kept as copies; the password stays in memory
  // only (for a reconnect) and is never written anywhere.
  MainWindow(kk::adt::string::string host, kk::u16 port, kk::adt::string::string user,
             kk::adt::string::string password, QWidget* parent);
  ~MainWindow() override;

  Ui::MainWindow* form() const { return ui; }
  db_ctx* context() const { return ctx; }
  const name_vector& tables() const { return catalogue.table_names; }
  const field_cache_map& fields() const { return catalogue.field_cache; }
  kk::u64 open_file_count() const { return open_count; }
  // The script tab of a path, or null.
  ruv::sql_script_editor* find_open_file(const QString& path) const;
  // The path of a script tab ("" when it is none of ours).
  kk::adt::string::string path_of(const ruv::sql_script_editor* e) const;
  QPushButton* connection_button() const { return conn_btn; }
  QPushButton* error_button() const { return err_btn; }

  using QWidget::update;

 public slots:
  // Update check: asks the update server whether a newer version exists and says so.
  void update(bool checked);

  // Script files.
  void new_file(bool checked);
  void open_file(bool checked);
  void open_recent(bool checked);
  void save_file(bool checked);
  void save_all_files(bool checked);
  void save_file_as(bool checked);
  void close_file(bool checked);
  void close_all_files(bool checked);
  void close_files_except(bool checked);
  void close_tab(int index);
  void tabBarClicked(int index);
  void tabBarDoubleClicked(int index);
  // Empties the recent-files list of the configuration and the submenu.
  void cls_recent(bool checked);
  void print(bool checked);
  void quit(bool checked);

  // View, language, help, dialogs.
  void view_big(bool checked);
  void view_normal(bool checked);
  void view_small(bool checked);
  void view_db(bool checked);
  void view_log(bool checked);
  void view_statusbar(bool checked);
  void view_toolbar(bool checked);
  void view_fullscreen(bool checked);
  void visibility_changed(bool visible);
  void lang_zh(bool checked);
  void lang_en(bool checked);
  void lang_fr(bool checked);
  void lang_jp(bool checked);
  void help_local(bool checked);
  void help_online(bool checked);
  void about(bool checked);
  void preference(bool checked);
  void currentChanged(int index);
  void change_es();
  void change_save_all();

  // Editing commands, forwarded to the current script's editor.
  void cut(bool checked);
  void copy(bool checked);
  void paste(bool checked);
  void redo(bool checked);
  void undo(bool checked);
  void del_sel(bool checked);
  void goto_err(bool checked);
  void goto_lineb(bool checked);
  void goto_linee(bool checked);
  void goto_wordb(bool checked);
  void goto_worde(bool checked);
  void sel_all(bool checked);
  void sel_beside(bool checked);
  void sel_line(bool checked);
  void sel_word(bool checked);
  void find(bool checked);
  void replace(bool checked);
  void format_sel(bool checked);
  void exec_cur(bool checked);
  void exec_sel(bool checked);

  // The database tree and its operations.
  void refresh(bool checked);
  void currentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
  // Disables the table and field actions until the tree selects an item they apply to.
  void disable_tree_actions();
  void show_db_actions();
  void show_table_actions();
  void status(bool checked);
  void create_table(bool checked);
  void reconnect(bool checked);
  void backup(bool checked);
  void restore(bool checked);
  void exec_sql(bool checked);
  void load(bool checked);
  void drop_table(bool checked);
  void truncate_table(bool checked);
  void new_field(bool checked);
  void view_data(bool checked);
  void view_cols(bool checked);
  void import_data(bool checked);
  void export_data(bool checked);
  void save(bool checked);
  void delete_col(bool checked);
  void rename_col(bool checked);
  void modify_col(bool checked);
  void tab_accepted();
  void tab_rejected();
  // The status bar's connection button follows the connection; a connection lost (or a wait
  // the user cancelled) is said once, and a lost one offers a reconnect.
  void connection_changed(bool connected);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Tells the connection's loss (and offers a reconnect) once no wait and no nested event
  // loop (a box) is under way.
  void tell_loss_when_idle();
  // Builders of the window's own actions and menus (main_window_actions.cpp).
  struct action_row;
  // Each row's action made into its member (named, text and shortcut text translated, icon,
  // enabled state) and connected to its slot.
  void make_actions(const action_row* rows, std::size_t n);
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

  // The current page as a script tab, or null.
  ruv::sql_script_editor* current_script() const;
  // The current script's editor, or null.
  ruv::editor* current_editor() const;
  // The widget the editing commands go to: the window's focus widget (the one before the
  // menu bar while the menu bar has the keyboard).
  QWidget* edit_focus() const;
  // Where the editing commands go now, on the current script page.
  ruv::edit_target edit_target_now(QAbstractItemView** grid = nullptr) const;
  // An editing command on its target: the editor's operation (the editor then takes the
  // focus when `focus`), or on a grid `on_grid` (null: nothing), or nothing.
  void route_edit(const char* name, void (ruv::editor::*op)(), bool focus, void (*on_grid)(QAbstractItemView&));
  // The focus moved within the window: the editing actions offer what its new target does.
  void focus_moved(QWidget* old, QWidget* now);
  void show_edit_target();
  // Opens a script tab for path with text and makes it current (main_window_files.cpp).
  ruv::sql_script_editor* open_script_tab(const QString& path, kk::adt::string::string text);
  // Hands a script's editor the window's actions.
  void hand_actions(ruv::sql_script_editor* s);
  // Opens the configuration's open files that exist, each once, in list order.
  void reopen_open_files();
  // The proposal for a new file's name: "scriptfile" and the first number no script tab has.
  QString script_file_name() const;
  // The tab of an open path made current; false when the path is not open.
  bool show_if_open(const QString& path);
  // The file's bytes, or a box saying it cannot be read.
  bool read_or_say(const QString& path, kk::adt::string::string& text);
  // A path put first in the recent files and last in the open files, and its tab opened.
  void open_listed(const QString& path, kk::adt::string::string text);
  // Writes a script tab to its file; on failure "path: reason" joins `failures` and the tab
  // stays modified.
  bool write_script(ruv::sql_script_editor* s, QStringList* failures);
  // Writes every modified script but those in `skip`; the failures.
  QStringList save_modified_scripts(const QList<ruv::sql_script_editor*>& skip = {});
  // The modified scripts whose files cannot be written now, as "path: reason", found without
  // writing anything (the tabs join `which`).
  QStringList unwritable_scripts(QList<ruv::sql_script_editor*>* which = nullptr) const;
  // The questions before the window goes: true when there is nothing to lose or the user
  // gives it up (Cancel, the default, keeps the window).
  bool give_up_unapplied();
  bool give_up_scripts(const QStringList& failures);
  void report_save_failures(const QStringList& failures);
  // Removes the script tab at index with its map and open-files entries, deletes it.
  void close_script_at(int index);
  // The titles of the data tabs holding edits not applied to the server.
  QStringList unapplied_tabs() const;
  // Height of the tab strip, also when no tab is open (the bar then has no height).
  int tab_strip_height() const;
  // The tab area's minimum height: the form's 200, or more where a page needs more (the
  // splitter with the log reads only this minimum, and would squeeze a page below its own).
  void fit_tab_minimum();
  // The language slots: store, mark, ask, restart (main_window_view.cpp).
  void switch_language(kk::u32 code, const QString& question);
  // The language menu checks the language the window speaks, and only it.
  void check_window_language();
  void restart();
  // The tree's action sets by level, as the dbops helpers see them.
  tree_actions tree_action_set();
  // A refresh found the page's table gone: true when the page stays (a data view holding
  // edits not applied yet; the user is told once).
  bool keeps_vanished(QWidget* page);
  // Opens (or brings to the front) the field editor tab of a table for mode.
  void open_field_page(col_info_mode mode, const QString& table, const QString& field);
  // Makes the root (parent_table null) or that table current, then refreshes.
  void refresh_from(const QString& parent_table);
  // The tab page that emitted accepted() or rejected() (the current one when called directly).
  QWidget* closing_page() const;

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

  db_ctx* ctx = nullptr;
  kk::adt::string::string host;
  kk::u16 port = 0;
  kk::adt::string::string user;
  kk::adt::string::string password;
  QPushButton* conn_btn = nullptr;  // connection state: connect.svg or disconnect.svg
  QPushButton* err_btn = nullptr;   // error state of the current script: correct.svg or error.svg
  QString untold_loss;              // how the connection ended, still to be told
  bool untold_offers_reconnect = false;
  // table_names and field_cache (with its count) of the last refresh, handed to every
  // script tab for completion.
  db_catalogue catalogue;
  open_file_tree open_file_map;
  kk::u64 open_count = 0;
  QAction* tree_separators[3] = {nullptr, nullptr, nullptr};  // made once, reused by every action set
  QPointer<QWidget> edit_focus_;  // the last focus widget of this window but the menu bar
  // Holds the connection to the application's focus changes: a member, so it goes before
  // the base class deletes the children (whose focus changes would reach a window half gone).
  QObject focus_watch_;
  // The language the window speaks: the configured one at its start (a switch applies at
  // the next start); the language menu checks it and help opens its documents.
  kk::u32 window_language = 0;
};
