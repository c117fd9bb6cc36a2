#pragma once
// The SQL code editor widget: a QWidget over one text_doc that draws its text itself on a
// character grid, turns keys, mouse actions, input-method commits and the main window's edit
// commands into document operations, and keeps the background parse of its text.
//
// Coordinates: the text is laid out on a grid of cells (cell_width() x line_height()); a
// code point of one byte takes one cell, any longer one (and nothing else) two. A text can
// be taller than a widget may be (QWIDGETSIZE_MAX); the widget then stays at that height and
// its pixel 0 shows the logical row y_origin() (see set_visible_rect).
#include <QAction>
#include <QPointer>
#include <QRect>
#include <QStaticText>
#include <QTimer>
#include <QWidget>

#include <array>
#include <vector>

#include "adt/string.h"
#include "adt/vector.h"
#include "editor/char_style.h"
#include "editor/sql_highlight.h"
#include "editor/sql_parse.h"
#include "editor/text_doc.h"

class QPainter;
class QPrinter;

namespace ruv {

// Line-start table and grid arithmetic over a text: plain, so tests reach it directly.
class line_layout {
 public:
  // Rebuilds the table: 0 and one past every "\n".
  void rebuild(const text_doc& d);
  const std::vector<u64>& starts() const noexcept { return starts_; }
  u64 count() const noexcept { return starts_.size(); }
  // The line holding offset (the last line start <= offset).
  u64 line_of(u64 offset) const noexcept;
  // Bytes of the longest line, its newline not counted.
  u64 longest() const noexcept { return longest_; }
  // The document revision the table was built from.
  u64 revision() const noexcept { return revision_; }

 private:
  u64 revision_ = ~u64(0);
  std::vector<u64> starts_{0};
  u64 longest_ = 0;
};

// Cells the code point at p takes (1 for a single or malformed byte, 2 for a longer one)
// and its byte length.
struct grid_step {
  int cells;
  int bytes;
};
grid_step grid_step_at(const char* p, const char* end) noexcept;

// The painter's starting style: "Source Code Pro", black, 12 points, no flags.
lang::char_style starting_style();
// The painter's font and pen from a style (weight 75 bold, 50 normal; size at least 1;
// a monospace fallback where the family is missing).
void apply_char_style(QPainter& p, const lang::char_style& s);
bool same_style(const lang::char_style& a, const lang::char_style& b) noexcept;

// "\r\n" becomes "\n"; true when there was any.
bool crlf_to_lf(QByteArray& text);

class editor : public QWidget {
  Q_OBJECT

 public:
  explicit editor(QWidget* parent = nullptr);
  ~editor() override;

  text_doc& document() noexcept { return doc_; }
  const text_doc& document() const noexcept { return doc_; }

  // Commands of the main window.
  void copy();
  void cut();
  void paste();
  void undo();
  void redo();
  void del_sel();
  void goto_err();
  void goto_lineb();
  void goto_linee();
  void goto_wordb();
  void goto_worde();
  void sel_all();
  void sel_line();
  void sel_word();
  void sel_beside();
  // Only while the search dialog is hidden: its title, on top, then search_wanted.
  void find();
  void replace();
  // The search dialog the script tab shows for find and replace (the editor titles it and
  // keeps the find and replace actions disabled while it is shown).
  void set_search_dialog(QWidget* dlg);
  void print();
  void saved();
  bool is_modified() const;
  // The whole text replaced (CR LF read as LF), not modified, empty history.
  void set_text(const QByteArray& text);
  // Reformats each selection on its own where it parses to its end.
  void format_sel();

  void set_goto_err_action(QAction* a) { goto_err_action_ = a; }
  void set_cut_action(QAction* a) { cut_action_ = a; }
  void set_copy_action(QAction* a) { copy_action_ = a; }
  void set_paste_action(QAction* a) { paste_action_ = a; }
  void set_redo_action(QAction* a) { redo_action_ = a; }
  void set_undo_action(QAction* a) { undo_action_ = a; }
  void set_del_sel_action(QAction* a) { del_sel_action_ = a; }
  void set_find_action(QAction* a) { find_action_ = a; }
  void set_replace_action(QAction* a) { replace_action_ = a; }
  void set_save_action(QAction* a) { save_action_ = a; }
  void set_exec_sel_action(QAction* a) { exec_sel_action_ = a; }
  void set_exec_line_action(QAction* a) { exec_line_action_ = a; }
  void set_format_sel_action(QAction* a) { format_sel_action_ = a; }
  void set_print_action(QAction* a) { print_action_ = a; }

  // Text getters.
  QByteArray text() const;
  QByteArray current_line_text() const;
  QByteArray selected_text() const;
  // Each statement of a parse of the current text, printed without comments, trimmed.
  kk::adt::vector<kk::adt::string::string> statement_texts();
  u64 line_count() const { return lines().count(); }
  int cursor_line() const;
  int line_height() const;
  int cell_width() const;
  int point_size() const;

  // Layout.
  void fit_size();
  void cursor_point();
  QPoint cursor_pos() const { return cursor_point_; }
  i32 offset_at_point(int x, i64 y) const;  // y in logical pixels
  const line_layout& layout() const { return lines(); }
  // Content size in logical pixels (may exceed what a widget can be).
  i64 logical_height() const;
  i64 logical_width() const;
  // The scroll area's view of the editor: negated x and y are the logical scroll offsets.
  // Where the text is taller than a widget may be, the scroll area keeps the widget at
  // y = -(top - y_origin()) and the editor paints and hit-tests shifted by y_origin().
  void set_visible_rect(const QRect& r);
  QRect visible_rect() const { return visible_; }
  i64 y_origin() const;
  void set_auto_resize(bool on) { auto_resize_ = on; }
  // The least size the editor takes when it sizes itself to its text: the view it is shown
  // through, so that a click anywhere in the view lands in the editor. Resizes at once.
  void set_fill_size(QSize s);
  QSize fill_size() const { return fill_; }

  // Painting of the visible part into any painter (the widget, an image, a printer page).
  void paint_text(QPainter& p);
  // Lines [first, last) painted with the line `first` at y_top; each cell at its own x, and
  // only the cells that reach into [x_left, x_left + width) (the part of the widget in view).
  void paint_lines(QPainter& p, u64 first, u64 last, i64 y_top, int x_left, int width, bool highlight);
  // The whole text on as many pages as it needs, at the printer's resolution.
  void print_to(QPrinter& printer);
  // Whether painting asks for token styles now (by size and edit quiet).
  bool highlighting_on() const;
  // The style of the character at offset: its token class, white when selected, black
  // when selected and also a search mark.
  virtual lang::char_style& char_format(lang::char_style& out, i32 offset);

  // Parse state.
  const lang::script_parse& parse() const { return parse_; }
  bool parse_is_current() const { return parse_.is_of(doc_.revision); }
  // Where the last parse of the current text stopped (the text size when all parsed).
  i64 parse_end() const;
  bool parse_timer_active() const { return parse_timer_.isActive(); }
  void reparse();
  // The clock of the document and the parse schedule, in milliseconds (tests script it).
  void set_clock(std::function<u64()> ms);

  // State seen by tests.
  int selection_state() const { return sel_state_; }
  int double_click_stage() const { return dbl_stage_; }
  int blink_phase() const { return blink_phase_; }
  bool blink_timer_active() const { return blink_timer_.isActive(); }
  bool word_timer_active() const { return word_timer_.isActive(); }

  // Rebuilds the context menu and the actions' enabled states.
  void context_menu_actions();

 signals:
  void textChanged();
  void lineChanged();
  // Hooks for the completion popup and the search dialog: the editor asks for them here.
  void completion_wanted();
  // The grid (point size, cell width or line height) changed since the editor last sized
  // itself; the editor has refitted, and its neighbours (the gutter) re-read theirs.
  void grid_changed();
  void search_wanted(bool replace_mode, const QByteArray& target);

 public slots:
  void change_cursor();
  void show_cursor();
  void reset_word();
  void auto_sel(QString s);
  void auto_not_found();
  void auto_char_add(char c);
  void auto_char_del();
  // Text that the completion popup passed on (it closes): inserted as if typed.
  void auto_text_add(const QString& s);
  void auto_parse();
  void start_parse();

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;

 private:
  enum : int { drag = 0, extending = 1, idle = 2 };

  bool insert_typed(const QByteArray& utf8);
  void open_search(bool replace_mode);
  struct grid {
    int point_size, cell_width, line_height;
    bool operator!=(const grid& o) const noexcept {
      return point_size != o.point_size || cell_width != o.cell_width || line_height != o.line_height;
    }
  };
  grid grid_now() const;
  grid grid_seen_{0, 0, 0};
  void after_edit();
  void after_move();
  void select_to_anchor();
  void zoom(int step);
  i64 view_top() const { return -static_cast<i64>(visible_.y()); }
  int view_height() const;
  QPoint logical(const QPoint& widget_pos) const;

  // Laid-out ASCII glyphs of a font; at most 32 fonts are kept (checked as a paint begins).
  std::vector<QStaticText>& glyph_cache_for(const QFont& f);
  std::array<lang::char_style, 10> class_styles_;
  bool painting_ = false;
  // During a paint: the offsets [from, to) of the token last classed, and its class.
  struct class_run {
    u64 from = 0;
    u64 to = 0;
    lang::token_class c = lang::token_class::default_text;
  } class_run_;

  text_doc doc_;
  std::vector<std::pair<QString, std::vector<QStaticText>>> glyph_cache_;
  QTimer blink_timer_;
  QTimer word_timer_;
  QTimer parse_timer_;
  int blink_phase_ = 1;
  bool auto_resize_ = true;
  QSize fill_;
  int dbl_stage_ = 0;
  int sel_state_ = idle;
  i32 anchor_ = 0;
  i32 last_dbl_offset_ = -1;
  lang::script_parse parse_;
  lang::parse_scheduler scheduler_;
  // The line-start table of the current text: rebuilt on use after any change of the text,
  // also one made straight through the document (a search dialog's replace).
  const line_layout& lines() const;
  mutable line_layout layout_;
  QRect visible_;
  bool visible_set_ = false;
  QPoint cursor_point_;

  QPointer<QAction> goto_err_action_, cut_action_, copy_action_, paste_action_, redo_action_, undo_action_,
      del_sel_action_, find_action_, replace_action_, save_action_, exec_sel_action_, exec_line_action_,
      format_sel_action_, print_action_;
  QPointer<QWidget> search_dlg_;
};

}  // namespace ruv
