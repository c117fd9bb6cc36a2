#pragma once
// One script tab: the code editor with its line numbers inside a painted scroll area, an
// execute button, and below a splitter one read-only result grid per statement that
// returned columns. Runs the whole script (Ctrl+Return), the cursor's line (F7) or the
// selection through the execution context, and reports through `executed(bool)`.
#include <QPointer>
#include <QWidget>
#include <functional>

#include "adt/string.h"
#include "adt/vector.h"
#include "editor/sql_prefix_index.h"

class db_ctx;
class tab_data_model;
class QAction;
class QTabWidget;
class QTableView;
namespace Ui {
class sql_script_editor;
}

namespace ruv {

class editor;
class linenumber_wt;
class scrollarea;
class auto_list;
class search_dlg;

using statement_list = kk::adt::vector<kk::adt::string::string>;

class sql_script_editor : public QWidget {
  Q_OBJECT

 public:
  sql_script_editor(db_ctx* ctx, kk::adt::string::string text, QWidget* parent = nullptr);
  ~sql_script_editor() override;

  QString text() const;
  void set_table_names(const lang::candidate_list* names);
  void set_field_names(const lang::field_name_map* names);

  // Writes the document's bytes in full or not at all (a file is replaced through a temporary
  // one renamed over it; a device or fifo is written in place) and marks the editor saved. A
  // link is followed to the file it finally names, which gets the text; the links stay. False,
  // with the system's words for the step that failed (no space left, permission denied ...),
  // and the editor still modified when that failed.
  bool save_to(const QString& path, QString* error = nullptr);

  // Where gathered log entries go (the log pane by default; tests record them).
  void set_log_sink(std::function<void(const kk::adt::string::string&)> sink) { log_sink_ = std::move(sink); }

  QTabWidget* result_tabs() const;
  scrollarea* area() const { return area_; }
  linenumber_wt* gutter() const { return gutter_; }
  auto_list* popup() const;
  search_dlg* search_dialog() const { return search_; }
  // The full statement text of result tab i (its title may be elided).
  QString statement_of(int i) const;
  // Statements in a title and in the failure box are cut to this many characters.
  static constexpr int title_max = 120;

 Q_SIGNALS:
  void executed(bool ok);

 public Q_SLOTS:
  void update_ed_geo(const QRect& r);
  void exec_sel(bool = true);
  void exec_cur(bool = true);
  void exec_sql();
  bool exec(const statement_list& statements);
  void textChanged() {}
  ruv::editor* editor_widget() const { return editor_; }
  void change_layout();
  void close_tab(int index);
  void copy_tab(bool);
  void close_tab(bool);
  void close_all_tab(bool);
  void export_data(bool);
  // Opens the completion popup at the cursor when the language services offer candidates.
  void complete();
  void show_search(bool replace_mode, const QByteArray& target);

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;

 private:
  void run_piece(const QByteArray& source);
  void add_result(::tab_data_model* model, const kk::adt::string::string& statement);
  void forward_mouse(QMouseEvent* e);
  void flush(kk::adt::string::string& gathered);
  // The area's view handed to the gutter and the editor.
  void show_view();
  // The editor's least size: the view beside the gutter.
  QSize view_fill() const;

  Ui::sql_script_editor* form_ = nullptr;
  ruv::editor* editor_ = nullptr;
  linenumber_wt* gutter_ = nullptr;
  db_ctx* ctx_ = nullptr;
  scrollarea* area_ = nullptr;
  QAction* copy_act_ = nullptr;
  QAction* close_all_act_ = nullptr;
  QAction* close_act_ = nullptr;
  QAction* export_act_ = nullptr;
  QWidget* inner_ = nullptr;
  QPointer<auto_list> popup_;
  search_dlg* search_ = nullptr;
  lang::name_indexes names_;
  std::function<void(const kk::adt::string::string&)> log_sink_;
};

// A statement for a tab title or a message: cut to `max` characters with an ellipsis.
QString elide_statement(const QString& s, int max);

}  // namespace ruv
