#include "editor/editor.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QGlyphRun>
#include <QStaticText>
#include <QTextLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "adt/text.h"
#include "ui_base/slot_guard.h"
#include "ui_base/sys_config.h"
#include "editor/doc_search.h"
#include "editor/sql_highlight.h"
#include "editor/sql_printer.h"
#include "editor/sql_style.h"

namespace ruv {

namespace {

constexpr i64 widget_max = QWIDGETSIZE_MAX;
constexpr u32 max_point_size = 1000;

text_format_set& current_formats() {
  const u32 t = sys_config.theme <= 2 ? sys_config.theme : 0;
  return sys_config.text_formats[t];
}

kk::adt::text_view view_of(const QByteArray& b) { return {b.constData(), static_cast<u64>(b.size())}; }
QByteArray bytes_of(const doc_string& s) { return QByteArray(s.data ? s.data : "", static_cast<int>(s.size)); }

}  // namespace

// ---- line layout ---------------------------------------------------------------------------

void line_layout::rebuild(const text_doc& d) {
  starts_.clear();
  starts_.push_back(0);
  longest_ = 0;
  revision_ = d.revision;
  const char* p = d.text.data;
  const u64 n = d.text.size;
  u64 at = 0;
  while (at < n) {
    const void* nl = std::memchr(p + at, '\n', n - at);
    const u64 end = nl ? static_cast<u64>(static_cast<const char*>(nl) - p) : n;
    longest_ = std::max(longest_, end - at);
    if (!nl) break;
    at = end + 1;
    starts_.push_back(at);
  }
}

u64 line_layout::line_of(u64 offset) const noexcept {
  const auto it = std::upper_bound(starts_.begin(), starts_.end(), offset);
  return it == starts_.begin() ? 0 : static_cast<u64>(it - starts_.begin()) - 1;
}

grid_step grid_step_at(const char* p, const char* end) noexcept {
  u32 cp;
  const int n = kk::adt::utf8_decode(p, end, cp);
  if (n <= 0) return {1, 1};
  return {n > 1 ? 2 : 1, n};
}

// ---- styles ----------------------------------------------------------------------------------

lang::char_style starting_style() {
  lang::char_style s;
  s.font = kk::adt::string_from_cstr("Source Code Pro");
  return s;
}

void apply_char_style(QPainter& p, const lang::char_style& s) {
  p.setFont(lang::char_style_font(s));
  p.setPen(lang::char_style_color(s));
}

bool same_style(const lang::char_style& a, const lang::char_style& b) noexcept {
  return a.bold == b.bold && a.italic == b.italic && a.overline == b.overline && a.underline == b.underline &&
         a.strikeout == b.strikeout && a.red == b.red && a.green == b.green && a.blue == b.blue &&
         a.alpha == b.alpha && a.point_size == b.point_size && a.font.size == b.font.size &&
         (a.font.size == 0 || std::memcmp(a.font.data, b.font.data, a.font.size) == 0);
}

bool crlf_to_lf(QByteArray& text) {
  if (!text.contains("\r\n")) return false;
  text.replace("\r\n", "\n");
  return true;
}

// ---- construction ------------------------------------------------------------------------

editor::editor(QWidget* parent)
    : QWidget(parent), scheduler_([this] { return static_cast<i64>(doc_.clock ? doc_.clock() : doc_steady_ms()); }) {
  doc_init(doc_);
  doc_.edit_interval = [] { return static_cast<double>(sys_config.continuous_edit_seconds); };
  layout_.rebuild(doc_);
  blink_timer_.setInterval(500);
  word_timer_.setSingleShot(true);
  setAttribute(Qt::WA_InputMethodEnabled, true);
  setFocusPolicy(Qt::StrongFocus);
  QFont f(QStringLiteral("Source Code Pro"));
  f.setStyleHint(QFont::Monospace, QFont::PreferAntialias);
  f.setFixedPitch(true);
  f.setKerning(true);
  f.setPointSize(point_size());
  setFont(f);
  if (objectName().isEmpty()) setObjectName(QStringLiteral("editor"));
  resize(400, 300);
  setWindowTitle(tr("Form"));
  connect(&blink_timer_, &QTimer::timeout, this, &editor::change_cursor);
  connect(&parse_timer_, &QTimer::timeout, this, &editor::auto_parse);
  connect(&word_timer_, &QTimer::timeout, this, &editor::reset_word);
  installEventFilter(this);
  setContextMenuPolicy(Qt::ActionsContextMenu);
  grid_seen_ = grid_now();
}

editor::~editor() {
  doc_clear(doc_);
  doc_free(doc_);
}

void editor::set_clock(std::function<u64()> ms) { doc_.clock = std::move(ms); }

// ---- grid quantities -----------------------------------------------------------------------

int editor::point_size() const { return static_cast<int>(std::clamp<u32>(current_formats()[0].point_size, 1, max_point_size)); }

int editor::cell_width() const {
  const double v = point_size() * static_cast<double>(sys_config.horizontal_factor);
  return v >= 1 && v < 1e6 ? static_cast<int>(v) : 1;
}

int editor::line_height() const {
  const double v = point_size() * static_cast<double>(sys_config.vertical_factor);
  return v >= 1 && v < 1e6 ? static_cast<int>(v) : 1;
}

int editor::cursor_line() const { return line_height() ? cursor_point_.y() / line_height() : 0; }

const line_layout& editor::lines() const {
  if (layout_.revision() != doc_.revision) layout_.rebuild(doc_);
  return layout_;
}

i64 editor::logical_height() const { return static_cast<i64>(lines().count()) * line_height() + 100; }
i64 editor::logical_width() const { return static_cast<i64>(lines().longest()) * cell_width() + 100; }

int editor::view_height() const { return visible_set_ ? visible_.height() : height(); }

void editor::set_visible_rect(const QRect& r) {
  visible_ = r;
  visible_set_ = true;
}

i64 editor::y_origin() const {
  if (logical_height() <= widget_max || !visible_set_) return 0;
  return std::max<i64>(0, view_top() - (widget_max - view_height()));
}

QPoint editor::logical(const QPoint& pos) const {
  return {pos.x(), static_cast<int>(std::min<i64>(pos.y() + y_origin(), INT32_MAX))};
}

// ---- layout ----------------------------------------------------------------------------------

void editor::fit_size() {
  lines();
  grid_seen_ = grid_now();
  if (auto_resize_) {
    resize(std::max(static_cast<int>(std::min(logical_width(), widget_max)), fill_.width()),
           std::max(static_cast<int>(std::min(logical_height(), widget_max)), fill_.height()));
  }
  cursor_point();
}

void editor::set_fill_size(QSize s) {
  fill_ = s;
  fit_size();
}

void editor::cursor_point() {
  lines();
  const u64 cur = static_cast<u64>(doc_.cursor);
  const u64 line = layout_.line_of(cur);
  const char* p = doc_.text.data;
  const char* end = p + doc_.text.size;
  i64 cells = 0;
  for (u64 at = layout_.starts()[line]; at < cur;) {
    const grid_step s = grid_step_at(p + at, end);
    cells += s.cells;
    at += static_cast<u64>(s.bytes);
  }
  const i64 y = static_cast<i64>(line) * line_height();
  cursor_point_ = QPoint(static_cast<int>(std::min<i64>(cells * cell_width(), INT32_MAX)), static_cast<int>(std::min<i64>(y, INT32_MAX)));
}

i32 editor::offset_at_point(int x, i64 y) const {
  if (doc_.text.size == 0 || y < 0) return 0;
  lines();
  const u64 line = std::min<u64>(static_cast<u64>(y / line_height()), layout_.count() - 1);
  const u64 begin = layout_.starts()[line];
  const bool last = line + 1 == layout_.count();
  const u64 line_end = last ? doc_.text.size : layout_.starts()[line + 1] - 1;
  if (x < 0) return static_cast<i32>(begin);
  const char* p = doc_.text.data;
  const char* end = p + doc_.text.size;
  const int cw = cell_width();
  i64 left = 0;
  for (u64 at = begin; at < line_end;) {
    const grid_step s = grid_step_at(p + at, end);
    const i64 w = static_cast<i64>(s.cells) * cw;
    if (x >= left && x <= left + w) return static_cast<i32>(x * 2 > left * 2 + w ? at + static_cast<u64>(s.bytes) : at);
    left += w;
    at += static_cast<u64>(s.bytes);
  }
  return static_cast<i32>(line_end);
}

// ---- parse -----------------------------------------------------------------------------------

void editor::reparse() { parse_ = lang::script_parse::of(doc_.text.data, doc_.text.size, doc_.revision); }

i64 editor::parse_end() const {
  if (!parse_is_current()) return doc_size(doc_);
  return std::min<i64>(static_cast<i64>(parse_.parsed_length()), doc_size(doc_));
}

void editor::start_parse() {
  slot_guard("start_parse", [&] {
    switch (scheduler_.edited(doc_.text.size)) {
      case lang::parse_scheduler::step::parse_now:
        parse_timer_.stop();
        reparse();
        break;
      case lang::parse_scheduler::step::start_timer:
        parse_timer_.start(lang::parse_scheduler::timer_ms);
        break;
      case lang::parse_scheduler::step::stop_timer:
        parse_timer_.stop();
        break;
    }
  });
}

void editor::auto_parse() {
  slot_guard("auto_parse", [&] {
    // A text just loaded or undone is settled at once; one being typed into waits for the
    // quiet time.
    const bool quiet = scheduler_.timer_fired(static_cast<double>(sys_config.continuous_edit_seconds)) ==
                       lang::parse_scheduler::step::parse_now;
    if (doc_edit_settled(doc_, 2) || quiet) {
      parse_timer_.stop();
      reparse();
      update();
    } else {
      parse_timer_.start(lang::parse_scheduler::timer_ms);
    }
  });
}

kk::adt::vector<kk::adt::string::string> editor::statement_texts() {
  if (!parse_is_current()) reparse();
  kk::adt::vector<kk::adt::string::string> out;
  const auto& trees = parse_.trees();
  for (u64 i = 0; i < trees.size; ++i) {
    kk::adt::string::string s = lang::sql_format_tree(trees.data[i], true, false);
    kk::adt::text_view v = s.view();
    u64 b = 0, e = v.size;
    while (b < e && v.data[b] == ' ') ++b;
    while (e > b && v.data[e - 1] == ' ') --e;
    out.push_back(kk::adt::string_from_bytes(v.data + b, e - b));
  }
  return out;
}

// ---- commands --------------------------------------------------------------------------------

void editor::after_edit() {
  start_parse();
  fit_size();
  emit textChanged();
  update();
  context_menu_actions();
}

void editor::after_move() {
  fit_size();
  emit lineChanged();
  update();
  context_menu_actions();
}

void editor::copy() {
  // Nothing selected: both clipboards stay as they were.
  if (!doc_.selections.empty()) {
    doc_copy_selections(doc_, 0);
    QApplication::clipboard()->setText(QString::fromUtf8(bytes_of(doc_.clipboard[0])));
  }
  context_menu_actions();
}

void editor::cut() {
  std::vector<doc_string> texts;
  doc_cut_selections(doc_, 0, texts);
  if (!texts.empty()) QApplication::clipboard()->setText(QString::fromUtf8(bytes_of(doc_.clipboard[0])));
  after_edit();
}

void editor::paste() {
  QByteArray t = QApplication::clipboard()->text().toUtf8();
  if (t.isEmpty()) return;
  crlf_to_lf(t);
  if (doc_.clipboard.empty()) doc_.clipboard.resize(1);
  doc_.clipboard[0] = kk::adt::string_from_bytes(t.constData(), static_cast<u64>(t.size()));
  doc_paste_entry(doc_, 0);
  after_edit();
}

void editor::undo() {
  doc_undo(doc_);
  after_edit();
}

void editor::redo() {
  doc_redo(doc_);
  after_edit();
}

void editor::del_sel() {
  doc_delete_selections(doc_);
  after_edit();
}

void editor::goto_err() {
  const i64 e = parse_end();
  if (e != doc_size(doc_)) doc_set_cursor(doc_, e);
  after_move();
}

void editor::goto_lineb() {
  doc_line_begin(doc_);
  after_move();
}
void editor::goto_linee() {
  doc_line_end(doc_);
  after_move();
}
void editor::goto_wordb() {
  doc_word_begin(doc_);
  after_move();
}
void editor::goto_worde() {
  doc_word_end(doc_);
  after_move();
}

void editor::sel_all() {
  doc_clear_selections(doc_);
  doc_clear_marks(doc_);
  doc_add_selection(doc_, doc_whole_range(doc_));
  after_move();
}

void editor::sel_line() {
  doc_add_selection(doc_, doc_line_range(doc_));
  after_move();
}

void editor::sel_word() {
  doc_add_selection(doc_, doc_word_range(doc_));
  after_move();
}

void editor::sel_beside() {
  doc_add_selection(doc_, doc_range_between(doc_, doc_view("("), doc_view(")"), false, false));
  after_move();
}

void editor::open_search(bool replace_mode) {
  if (search_dlg_ && search_dlg_->isVisible()) return;
  if (search_dlg_)
    search_dlg_->setWindowTitle(replace_mode ? tr("replace text in current windows") : tr("find text in current windows"));
  emit search_wanted(replace_mode, doc_.selections.empty() ? QByteArray() : bytes_of(doc_range_text(doc_, doc_.selections[0])));
  context_menu_actions();
}

void editor::find() {
  slot_guard("find", [&] { open_search(false); });
}

void editor::replace() {
  slot_guard("replace", [&] { open_search(true); });
}

void editor::set_search_dialog(QWidget* dlg) {
  if (search_dlg_) search_dlg_->removeEventFilter(this);
  search_dlg_ = dlg;
  if (dlg) dlg->installEventFilter(this);
  context_menu_actions();
}

void editor::print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setResolution(1200);
  QPrintDialog dlg(&printer, this);
  if (dlg.exec() == QDialog::Accepted) print_to(printer);
}

void editor::saved() { doc_set_saved(doc_); }
bool editor::is_modified() const { return doc_is_modified(doc_); }

void editor::set_text(const QByteArray& text) {
  QByteArray t = text;
  crlf_to_lf(t);
  if (!doc_load_text(doc_, view_of(t))) doc_load_text(doc_, {nullptr, 0});
  after_edit();
}

void editor::format_sel() {
  if (doc_.selections.empty()) return;
  std::vector<kk::adt::string::string> keep;
  std::vector<kk::adt::text_view> texts;
  keep.reserve(doc_.selections.size());
  bool changed = false;
  for (const auto& s : doc_.selections) {
    auto f = lang::format_sql_text(doc_.text.data + s.start, static_cast<u64>(s.length()));
    if (f) {
      keep.push_back(std::move(*f));
      changed = true;
    } else {
      keep.push_back(doc_range_text(doc_, s));  // does not parse: left as it is
    }
  }
  if (!changed) return;
  for (const auto& k : keep) texts.push_back(k.view());
  doc_replace_selections_each(doc_, texts);
  after_edit();
}

QByteArray editor::text() const { return QByteArray(doc_.text.data ? doc_.text.data : "", doc_size(doc_)); }
QByteArray editor::current_line_text() const { return bytes_of(doc_range_text(doc_, doc_line_range(doc_))); }
QByteArray editor::selected_text() const { return bytes_of(doc_selected_text(doc_)); }

void editor::context_menu_actions() {
  if (actions().isEmpty() && goto_err_action_) {
    QAction* order[] = {goto_err_action_, nullptr, cut_action_,  copy_action_,     paste_action_, del_sel_action_,
                        exec_sel_action_, exec_line_action_, format_sel_action_, nullptr, redo_action_, undo_action_,
                        nullptr, find_action_, replace_action_, nullptr, save_action_};
    for (QAction* a : order) {
      if (!a) {
        auto* sep = new QAction(this);
        sep->setSeparator(true);
        addAction(sep);
      } else {
        addAction(a);
      }
    }
  }
  const bool has_sel = !doc_.selections.empty();
  const auto enable = [](QAction* a, bool on) {
    if (a) a->setEnabled(on);
  };
  if (goto_err_action_) {
    const bool err = parse_end() != doc_size(doc_);
    goto_err_action_->setEnabled(err);
    if (err) {
      removeAction(goto_err_action_);
      addAction(goto_err_action_);
    }
  }
  for (QAction* a : {cut_action_.data(), copy_action_.data(), del_sel_action_.data(), exec_sel_action_.data(),
                     format_sel_action_.data()})
    enable(a, has_sel);
  enable(exec_line_action_, !doc_line_range(doc_).empty());
  enable(paste_action_, !QApplication::clipboard()->text().isEmpty());
  enable(redo_action_, doc_.position < doc_.history.size());
  enable(undo_action_, doc_.position >= 1);
  const bool search_hidden = !search_dlg_ || !search_dlg_->isVisible();
  enable(find_action_, search_hidden);
  enable(replace_action_, search_hidden);
  enable(save_action_, doc_is_modified(doc_));
  enable(print_action_, doc_.text.size != 0);
}

// ---- slots -----------------------------------------------------------------------------------

void editor::change_cursor() {
  blink_phase_ = blink_phase_ ? 0 : 1;
  update();
}
void editor::show_cursor() { blink_phase_ = 0; }
void editor::reset_word() { dbl_stage_ = 0; }

void editor::auto_sel(QString s) {
  slot_guard("auto_sel", [&] {
    doc_insert_text(doc_, view_of(s.toUtf8()));
    after_edit();
    setFocus();
  });
}

void editor::auto_not_found() {
  setFocus();
  update();
}

void editor::auto_char_add(char c) {
  slot_guard("auto_char_add", [&] {
    doc_insert_text(doc_, {&c, 1});
    after_edit();
  });
}

void editor::auto_text_add(const QString& s) {
  slot_guard("auto_text_add", [&] {
    if (s.isEmpty()) return;
    insert_typed(s.toUtf8());
    doc_clear_marks(doc_);
    after_edit();
    setFocus();
  });
}

void editor::auto_char_del() {
  slot_guard("auto_char_del", [&] {
    doc_backspace(doc_);
    after_edit();
  });
}

// ---- keys ------------------------------------------------------------------------------------

bool editor::insert_typed(const QByteArray& utf8) {
  QByteArray t = utf8;
  crlf_to_lf(t);
  doc_delete_selections(doc_);
  return doc_insert_text(doc_, view_of(t));
}

void editor::select_to_anchor() {
  doc_clear_selections(doc_);
  doc_add_selection(doc_, {std::min(anchor_, doc_.cursor), std::max(anchor_, doc_.cursor)});
}

void editor::zoom(int step) {
  text_format_set& set = current_formats();
  if (step < 0 && set[0].point_size < 6) return;
  for (std::size_t i = 0; i < text_format_set::count; ++i) {
    u32& ps = set[i].point_size;
    if (step > 0)
      ps = std::min(ps + 1, max_point_size);
    else if (ps > 1)
      ps -= 1;
  }
  QFont f = font();
  f.setPointSize(point_size());
  setFont(f);
}

bool editor::eventFilter(QObject* o, QEvent* e) {
  // The search dialog shown or hidden: find and replace are offered only while it is hidden.
  if (o == search_dlg_.data() && o && (e->type() == QEvent::Show || e->type() == QEvent::Hide)) {
    slot_guard("eventFilter", [&] { context_menu_actions(); });
    return QWidget::eventFilter(o, e);
  }
  if (o == this && e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    const auto mods = k->modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
    if (k->key() == Qt::Key_Tab && mods == Qt::NoModifier) {
      // Taken even when the insertion failed: a Tab never moves the focus out of the editor.
      slot_guard("eventFilter", [&] {
        if (sys_config.insert_as_space) {
          const u32 w = std::min<u32>(sys_config.tab_width, 64);
          doc_insert_text(doc_, view_of(QByteArray(static_cast<int>(w), ' ')));
        } else {
          doc_insert_text(doc_, doc_view("\t"));
        }
        anchor_ = doc_.cursor;
        blink_phase_ = 0;
        start_parse();
        fit_size();
        emit textChanged();
        emit lineChanged();
        update();
        context_menu_actions();
      });
      return true;
    }
  }
  return QWidget::eventFilter(o, e);
}

void editor::keyPressEvent(QKeyEvent* e) {
  slot_guard("keyPressEvent", [&] {
    if (sel_state_ == drag) {
      doc_clear_selections(doc_);
      sel_state_ = idle;
    }
    blink_phase_ = 0;
    // Keypad keys carry the keypad (and on X11 sometimes the group-switch) modifier.
    const auto mods = e->modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
    const int key = e->key();
    const QString txt = e->text();
    const bool printable = !txt.isEmpty() && txt.at(0).unicode() >= 0x20 && txt.at(0).unicode() != 0x7f;

    if (mods & Qt::ControlModifier) {
      doc_clear_marks(doc_);
      if (sel_state_ == extending) sel_state_ = idle;
      switch (key) {
        case Qt::Key_A:
          doc_add_selection(doc_, doc_whole_range(doc_));
          fit_size();
          update();
          break;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Equal:
        case Qt::Key_Minus:
          if (key == Qt::Key_Up) doc_word_left(doc_);
          if (key == Qt::Key_Down) doc_word_right(doc_);
          if (key == Qt::Key_Equal) zoom(1);
          if (key == Qt::Key_Minus) zoom(-1);
          fit_size();
          emit lineChanged();
          update();
          break;
        case Qt::Key_C:
          copy();
          fit_size();
          update();
          break;
        case Qt::Key_V:
          paste();
          break;
        case Qt::Key_X:
          cut();
          break;
        default:
          break;
      }
      context_menu_actions();
      return;
    }

    if (mods == Qt::ShiftModifier) {
      const auto begin_extend = [this] {
        if (sel_state_ == idle) {
          sel_state_ = extending;
          anchor_ = doc_.cursor;
        }
      };
      bool moved = true;
      switch (key) {
        case Qt::Key_Shift:
        case Qt::Key_unknown:
          begin_extend();
          moved = false;
          break;
        case Qt::Key_Left:
          begin_extend();
          doc_left(doc_);
          break;
        case Qt::Key_Right:
          begin_extend();
          doc_right(doc_);
          break;
        case Qt::Key_Up:
          begin_extend();
          doc_line_up(doc_, doc_column(doc_));
          break;
        case Qt::Key_Down:
          begin_extend();
          doc_line_down(doc_, doc_column(doc_));
          break;
        case Qt::Key_PageUp:
          begin_extend();
          doc_page_up(doc_, std::max(1, view_height() / line_height()));
          break;
        case Qt::Key_PageDown:
          begin_extend();
          doc_page_down(doc_, std::max(1, view_height() / line_height()));
          break;
        case Qt::Key_Home:
          begin_extend();
          doc_line_begin(doc_);
          break;
        case Qt::Key_End:
          begin_extend();
          doc_line_end(doc_);
          break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
          // A line break, as without Shift: a selection being extended is replaced.
          sel_state_ = idle;
          doc_delete_selections(doc_);
          doc_insert_text(doc_, doc_view("\n"));
          after_edit();
          emit completion_wanted();
          return;
        default:
          moved = false;
          if (printable) {
            sel_state_ = idle;
            insert_typed(txt.toUtf8());
            after_edit();
            emit completion_wanted();
            return;
          }
          break;
      }
      if (moved && sel_state_ == extending) select_to_anchor();
      fit_size();
      if (moved) emit lineChanged();
      update();
      context_menu_actions();
      return;
    }

    if (mods != Qt::NoModifier) {
      QWidget::keyPressEvent(e);
      context_menu_actions();
      return;
    }

    sel_state_ = idle;
    bool edited = false, moved = false;
    switch (key) {
      case Qt::Key_Escape:
        doc_clear_selections(doc_);
        doc_clear_marks(doc_);
        fit_size();
        update();
        context_menu_actions();
        return;
      case Qt::Key_Backspace:
        doc_backspace(doc_);
        edited = true;
        break;
      case Qt::Key_Delete:
        doc_delete_forward(doc_);
        edited = true;
        break;
      case Qt::Key_Left:
        doc_clear_selections(doc_);
        doc_left(doc_);
        moved = true;
        break;
      case Qt::Key_Right:
        doc_clear_selections(doc_);
        doc_right(doc_);
        moved = true;
        break;
      case Qt::Key_Up:
        doc_clear_selections(doc_);
        doc_line_up(doc_, doc_column(doc_));
        moved = true;
        break;
      case Qt::Key_Down:
        doc_clear_selections(doc_);
        doc_line_down(doc_, doc_column(doc_));
        moved = true;
        break;
      case Qt::Key_PageUp:
        doc_page_up(doc_, 8);
        moved = true;
        break;
      case Qt::Key_PageDown:
        doc_page_down(doc_, 8);
        moved = true;
        break;
      case Qt::Key_Home:
        doc_clear_selections(doc_);
        doc_line_begin(doc_);
        moved = true;
        break;
      case Qt::Key_End:
        doc_clear_selections(doc_);
        doc_line_end(doc_);
        moved = true;
        break;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        doc_insert_text(doc_, doc_view("\n"));
        edited = true;
        break;
      default:
        if (!printable) {
          QWidget::keyPressEvent(e);
          context_menu_actions();
          return;
        }
        insert_typed(txt.toUtf8());
        edited = true;
        break;
    }
    if (edited) {
      after_edit();
      if (key != Qt::Key_Backspace && key != Qt::Key_Delete) emit completion_wanted();
    } else if (moved) {
      after_move();
    }
  });
}

void editor::keyReleaseEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Shift && sel_state_ == extending) sel_state_ = idle;
  QWidget::keyReleaseEvent(e);
}

void editor::inputMethodEvent(QInputMethodEvent* e) {
  slot_guard("inputMethodEvent", [&] {
    const QString s = e->commitString();
    if (s.isEmpty()) return;
    insert_typed(s.toUtf8());
    doc_clear_marks(doc_);
    after_edit();
    emit completion_wanted();
  });
}

// ---- mouse -----------------------------------------------------------------------------------

void editor::mousePressEvent(QMouseEvent* e) {
  slot_guard("mousePressEvent", [&] {
    if (e->button() != Qt::RightButton) doc_clear_selections(doc_);
    const QPoint p = logical(e->pos());
    doc_set_cursor(doc_, offset_at_point(p.x(), p.y()));
    cursor_point();
    // Only the left button drags. Another button's release may never come here: on X11 the
    // context menu opens on the right press and takes its release. A left press in the drag
    // state lost its own release: it starts a new drag.
    if (e->button() == Qt::LeftButton && sel_state_ != extending) {
      anchor_ = doc_.cursor;
      sel_state_ = drag;
    } else if (sel_state_ == extending) {
      select_to_anchor();
    }
    blink_phase_ = 0;
    emit lineChanged();
    update();
    context_menu_actions();
  });
}

void editor::mouseMoveEvent(QMouseEvent* e) {
  slot_guard("mouseMoveEvent", [&] {
    // A drag whose release went elsewhere (a popup took it) ends at the first move without it.
    if (sel_state_ == drag && !(e->buttons() & Qt::LeftButton)) sel_state_ = idle;
    if (sel_state_ == drag) {
      const QPoint p = logical(e->pos());
      doc_set_cursor(doc_, offset_at_point(p.x(), p.y()));
      select_to_anchor();
      cursor_point();
      emit lineChanged();
      update();
    } else if (!rect().contains(e->pos())) {
      emit lineChanged();
      update();
    }
  });
}

void editor::mouseReleaseEvent(QMouseEvent*) {
  slot_guard("mouseReleaseEvent", [&] {
    if (sel_state_ == drag) {
      sel_state_ = idle;
      blink_phase_ = 0;
      update();
    }
    context_menu_actions();
  });
}

void editor::mouseDoubleClickEvent(QMouseEvent* e) {
  slot_guard("mouseDoubleClickEvent", [&] {
    doc_clear_marks(doc_);
    const QPoint p = logical(e->pos());
    const i32 off = offset_at_point(p.x(), p.y());
    if (off != last_dbl_offset_) dbl_stage_ = 0;
    last_dbl_offset_ = off;
    doc_set_cursor(doc_, off);
    doc_clear_selections(doc_);
    // A double click also delivers a press: the drag it started is over.
    sel_state_ = idle;
    if (dbl_stage_ <= 2) {
      const byte_range r = dbl_stage_ == 0 ? doc_word_range(doc_) : dbl_stage_ == 1 ? doc_delimited_range(doc_) : doc_line_range(doc_);
      if (doc_.text.size < lang::parse_scheduler::never_from && !r.empty()) {
        const doc_string what = doc_range_text(doc_, r);
        std::vector<byte_range> found;
        doc_find_all(doc_, what.view(), found, search_plain, 0);
      }
      doc_add_selection(doc_, r);
      ++dbl_stage_;
    } else {
      doc_add_selection(doc_, doc_whole_range(doc_));
      dbl_stage_ = 0;
    }
    word_timer_.start(2000);
    blink_phase_ = 0;
    cursor_point();
    emit lineChanged();
    update();
    context_menu_actions();
  });
}

void editor::wheelEvent(QWheelEvent* e) { QWidget::wheelEvent(e); }

void editor::focusInEvent(QFocusEvent* e) {
  blink_timer_.start();
  QWidget::focusInEvent(e);
}

void editor::focusOutEvent(QFocusEvent* e) {
  // The release of a drag goes where the focus went (a popup, another window).
  if (sel_state_ == drag) sel_state_ = idle;
  blink_timer_.stop();
  QWidget::focusOutEvent(e);
}

// ---- painting --------------------------------------------------------------------------------

bool editor::highlighting_on() const {
  const u64 n = doc_.text.size;
  if (n < lang::parse_scheduler::timer_from) return true;
  if (n >= lang::parse_scheduler::never_from) return false;
  return doc_edit_settled(doc_, 2);
}

lang::char_style& editor::char_format(lang::char_style& out, i32 offset) {
  lang::token_class c = lang::token_class::default_text;
  if (parse_is_current()) {
    const u64 at = static_cast<u64>(offset);
    // A paint asks for each character in turn: the class of a whole token is found once.
    if (painting_ && at >= class_run_.from && at < class_run_.to) {
      c = class_run_.c;
    } else {
      u64 to = 0;
      c = lang::token_class_at(parse_, at, &to);
      if (painting_) class_run_ = {at, to, c};
    }
  }
  if (painting_)
    out = class_styles_[static_cast<std::size_t>(c)];  // read from the configuration when the paint began
  else
    lang::class_style(out, sys_config, c);
  if (doc_in_selection(doc_, offset)) lang::mark_selected(out, doc_in_mark(doc_, offset));
  return out;
}

void editor::paint_text(QPainter& p) {
  const int lh = line_height();
  // Without a view from a scroll area the whole widget is the view.
  const QRect view = visible_set_ ? visible_ : QRect(0, 0, width(), height());
  const i64 top = visible_set_ ? -static_cast<i64>(view.y()) : 0;
  const int left = visible_set_ ? -view.x() : 0;
  const u64 first = static_cast<u64>(std::max<i64>(0, top) / lh);
  const u64 last = static_cast<u64>((std::max<i64>(0, top) + view.height()) / lh) + 1;  // the partly shown line too
  p.fillRect(p.window().united(rect()), Qt::white);
  paint_lines(p, first, last, static_cast<i64>(first) * lh - y_origin(), left, view.width(), highlighting_on());
}

void editor::paint_lines(QPainter& p, u64 first, u64 last, i64 y_top, int x_left, int width, bool highlight) {
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setPen(Qt::black);
  lines();
  if (first >= layout_.count()) return;
  // The lines are drawn from a y of 0 under a translation: the raster engine drops text
  // drawn at coordinates past about 8.4 million pixels, which a tall text's widget reaches.
  p.save();
  p.translate(0, static_cast<qreal>(y_top));
  struct restore_painter {
    QPainter& p;
    ~restore_painter() { p.restore(); }
  } restore{p};
  last = std::min<u64>(last, layout_.count());
  const int lh = line_height();
  const int cw = cell_width();
  const char* text = doc_.text.data;
  const char* end = text + doc_.text.size;
  const u64 from = layout_.starts()[first];
  const u64 to = last < layout_.count() ? layout_.starts()[last] : doc_.text.size;
  const bool show_space = sys_config.show_space != 0;
  for (int c = 0; c < lang::token_class_count; ++c)
    class_styles_[static_cast<std::size_t>(c)] = lang::class_style(sys_config, static_cast<lang::token_class>(c));
  painting_ = true;
  class_run_ = {};
  struct paint_end {
    bool& flag;
    ~paint_end() { flag = false; }
  } end_guard{painting_};

  const QColor mark_bg(255, 255, 0), sel_bg(0, 120, 215), both_bg(0, 255, 0);
  std::size_t si = doc_range_index_after(doc_.selections, static_cast<i32>(from));
  std::size_t mi = doc_range_index_after(doc_.marks, static_cast<i32>(from));
  const auto in_ranges = [](const std::vector<byte_range>& v, std::size_t& i, i32 at) {
    while (i < v.size() && v[i].end <= at) ++i;
    return i < v.size() && v[i].start <= at;
  };

  // The painter's settings of each style met in this paint, made once: a font, its metrics
  // and its glyph cache built at every change of style would dominate the paint.
  struct style_setting {
    lang::char_style style;
    QFont font;
    QColor color;
    int ascent;
    QStaticText* glyphs;
  };
  std::vector<style_setting> settings;
  // Other glyphs shaped once per style of this paint, with the ascent of their layout line:
  // drawText would shape the character at every call.
  struct shaped_glyph {
    QList<QGlyphRun> runs;
    qreal line_ascent;
  };
  std::unordered_map<u64, shaped_glyph> shaped;  // by style index << 32 | code point
  std::size_t applied = 0;
  bool any_applied = false;
  lang::char_style style;
  const lang::char_style plain = starting_style();
  int ascent = 0;
  QStaticText* glyphs = nullptr;
  const auto apply = [&](const lang::char_style& s) {
    if (any_applied && same_style(s, settings[applied].style)) return;
    std::size_t i = 0;
    while (i < settings.size() && !same_style(s, settings[i].style)) ++i;
    if (i == settings.size()) {
      settings.push_back({s, lang::char_style_font(s), lang::char_style_color(s), 0, nullptr});
      style_setting& n = settings.back();
      p.setFont(n.font);
      p.setPen(n.color);
      n.ascent = QFontMetrics(p.font(), p.device()).ascent();
      n.glyphs = glyph_cache_for(p.font()).data();
    } else {
      p.setFont(settings[i].font);
      p.setPen(settings[i].color);
    }
    applied = i;
    any_applied = true;
    ascent = settings[i].ascent;
    glyphs = settings[i].glyphs;
  };
  // The glyph caches are trimmed before the paint, which keeps pointers into them.
  if (glyph_cache_.size() >= 32) glyph_cache_.clear();
  apply(plain);

  u64 line = first;
  u64 next_start = line + 1 < layout_.count() ? layout_.starts()[line + 1] : ~u64(0);
  i64 cell = 0;
  for (u64 at = from; at < to;) {
    const char* c = text + at;
    u32 cp;
    const int n = kk::adt::utf8_decode(c, end, cp);
    const int bytes = n > 0 ? n : 1;
    const int cells = n > 1 ? 2 : 1;
    if (n <= 0) cp = 0xFFFD;  // a malformed byte paints as the replacement character
    // Cells are at their own x: the widget itself is moved by the horizontal scroll, and
    // [x_left, x_left + width) is only the part of it worth drawing.
    const i64 x = cell * cw;
    if (x + static_cast<i64>(cells) * cw > x_left && x < static_cast<i64>(x_left) + width) {
      const i64 y = static_cast<i64>(line - first) * lh;
      const QRect r(static_cast<int>(x), static_cast<int>(y), cells * cw, lh);
      const i32 off = static_cast<i32>(at);
      const bool sel = in_ranges(doc_.selections, si, off);
      const bool mark = in_ranges(doc_.marks, mi, off);
      if (sel || mark) p.fillRect(r, sel && mark ? both_bg : sel ? sel_bg : mark_bg);
      if (highlight)
        char_format(style, off);
      else
        style = plain;
      if (!highlight && sel) lang::mark_selected(style, mark);
      u32 glyph = cp;
      bool faint = false;
      if (cp == ' ' && show_space) {
        glyph = 0x2B1D, faint = true;
      } else if (cp == '\n') {
        glyph = 0x21B4, faint = true;
      } else if (cp < 32) {
        glyph = 0x2400 + cp;
      } else if (cp == 127) {
        glyph = 0x2421;
      }
      if (faint) style.alpha = 64;
      apply(style);
      if (glyph != ' ') {
        const char32_t g = glyph;
        if (glyph < 128) {
          // Laid-out ASCII glyphs are kept per font: laying out one character per call
          // would dominate the paint.
          QStaticText& st = glyphs[glyph];
          if (st.text().isEmpty()) {
            st.setText(QString(QChar(static_cast<ushort>(glyph))));
            st.setTextFormat(Qt::PlainText);
            st.setPerformanceHint(QStaticText::AggressiveCaching);
            st.prepare(p.transform(), p.font());
          }
          p.drawStaticText(QPointF(r.x(), r.y()), st);
        } else {
          const u64 key = (static_cast<u64>(applied) << 32) | glyph;
          auto it = shaped.find(key);
          if (it == shaped.end()) {
            QTextLayout layout(QString::fromUcs4(&g, 1), p.font(), p.device());
            layout.beginLayout();
            const QTextLine tl = layout.createLine();
            layout.endLayout();
            it = shaped.emplace(key, shaped_glyph{layout.glyphRuns(), tl.ascent()}).first;
          }
          // The baseline where drawText puts it: ascent below the cell's top.
          const QPointF origin(static_cast<double>(r.x()), static_cast<double>(r.y() + ascent) - it->second.line_ascent);
          for (const QGlyphRun& run : it->second.runs) p.drawGlyphRun(origin, run);
        }
      }
    }
    cell += cells;
    at += static_cast<u64>(bytes);
    if (at == next_start) {
      ++line;
      cell = 0;
      next_start = line + 1 < layout_.count() ? layout_.starts()[line + 1] : ~u64(0);
    }
  }
}

std::vector<QStaticText>& editor::glyph_cache_for(const QFont& f) {
  const QString key = f.key();
  for (auto& [k, v] : glyph_cache_)
    if (k == key) return v;
  glyph_cache_.emplace_back(key, std::vector<QStaticText>(128));
  return glyph_cache_.back().second;
}

editor::grid editor::grid_now() const { return {point_size(), cell_width(), line_height()}; }

void editor::paintEvent(QPaintEvent*) {
  slot_guard("paintEvent", [&] {
    if (grid_now() != grid_seen_) {
      // The font or the factors changed under the editor (the preferences): its size, its
      // cursor point and the gutter follow, after this paint.
      grid_seen_ = grid_now();
      QMetaObject::invokeMethod(
          this,
          [this] {
            slot_guard("grid_changed", [&] {
              QFont f = font();
              f.setPointSize(point_size());
              setFont(f);
              fit_size();
              emit grid_changed();
              update();
            });
          },
          Qt::QueuedConnection);
    }
    QPainter p(this);
    paint_text(p);
    if (blink_phase_ == 0) {
      QPen pen(Qt::black);
      pen.setWidth(static_cast<int>(std::clamp<u32>(sys_config.cursor_width, 1, 64)));
      p.setPen(pen);
      const i64 y = cursor_point_.y() - y_origin();
      p.drawLine(cursor_point_.x(), static_cast<int>(y), cursor_point_.x(), static_cast<int>(y + line_height()));
      pen.setWidth(1);
      p.setPen(pen);
    }
  });
}

void editor::print_to(QPrinter& printer) {
  QPainter p;
  if (!p.begin(&printer)) return;
  // Screen pixels of the grid scaled to the printer's resolution.
  const double scale = printer.resolution() / 96.0;
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  const int lh = line_height();
  const u64 per_page = std::max<u64>(1, static_cast<u64>(page.height() / scale) / static_cast<u64>(lh));
  const int width = static_cast<int>(page.width() / scale);
  p.scale(scale, scale);
  for (u64 first = 0; first < lines().count(); first += per_page) {
    if (first > 0) printer.newPage();
    paint_lines(p, first, first + per_page, 0, 0, width, highlighting_on());
  }
  p.end();
}

}  // namespace ruv
