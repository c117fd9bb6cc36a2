#include "editor/auto_list.h"

#include <QEvent>
#include <QFont>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include <algorithm>

#include "ui_base/slot_guard.h"

namespace ruv {

namespace {

char fold(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool is_word_key(int key) noexcept {
  return (key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z) || key == Qt::Key_Underscore;
}

QString qstr(kk::adt::text_view v) { return QString::fromUtf8(v.data ? v.data : "", static_cast<int>(v.size)); }

}  // namespace

bool auto_list::continues(kk::adt::text_view candidate, kk::u64 start, kk::adt::text_view typed) noexcept {
  if (candidate.size < start || candidate.size - start < typed.size) return false;
  for (kk::u64 i = 0; i < typed.size; ++i)
    if (fold(candidate.data[start + i]) != fold(typed.data[i])) return false;
  return true;
}

auto_list::auto_list(kk::adt::vector<kk::adt::string::string> candidates, kk::u64 start, QWidget* parent)
    : QListWidget(parent), candidates_(std::move(candidates)), start_(start) {
  QFont f("Source Code Pro");
  f.setKerning(true);
  f.setStyleStrategy(QFont::PreferAntialias);
  f.setPointSize(10);
  setFont(f);
  for (kk::u64 i = 0; i < candidates_.size; ++i) add_row(candidates_.data[i].view());
  setFocus();
  if (count() > 0) setCurrentRow(0);
  installEventFilter(this);
}

auto_list::~auto_list() = default;

void auto_list::add_row(kk::adt::text_view candidate) {
  auto* item = new QListWidgetItem(qstr(candidate), this);
  item->setSizeHint(QSize(fontMetrics().horizontalAdvance(item->text()) + 8, row_height));
}

void auto_list::set_height_limit(int pixels) {
  height_limit_ = std::max(row_height, pixels);
  fit_rows();
}

void auto_list::fit_rows() {
  const int frame = 2 * frameWidth();
  const int h = std::min(row_height * count() + frame, std::max(height_limit_, row_height + frame));
  if (h != height()) resize(width(), h);
}

void auto_list::refill() {
  clear();
  for (kk::u64 i = 0; i < candidates_.size; ++i)
    if (continues(candidates_.data[i].view(), start_, typed_.view())) add_row(candidates_.data[i].view());
  if (count() > 0) setCurrentRow(0);
  // A narrowed list leaves no blank box below its last row.
  fit_rows();
}

void auto_list::close_popup(bool report_not_found) {
  if (closed_) return;
  closed_ = true;
  setParent(nullptr);
  hide();
  if (report_not_found) Q_EMIT not_found();
  close();
  deleteLater();  // never inside our own handler
}

void auto_list::accept_current() {
  if (closed_) return;
  const QByteArray text = currentItem() ? currentItem()->text().toUtf8() : QByteArray();
  const kk::u64 from = start_ + typed_.size;
  const QString rest =
      static_cast<kk::u64>(text.size()) > from ? QString::fromUtf8(text.constData() + from, text.size() - static_cast<int>(from)) : QString();
  closed_ = true;
  setParent(nullptr);
  hide();
  Q_EMIT sel_word(QString::fromUtf8(text), static_cast<quint64>(from));
  Q_EMIT sel(rest);
  close();
  deleteLater();
}

void auto_list::step(int delta) {
  const int n = count();
  if (n == 0) return;
  int r = currentRow() + delta;
  if (r >= n) r = 0;
  if (r < 0) r = n - 1;
  setCurrentRow(r);
}

void auto_list::type_word_byte(char c) {
  typed_.push_back(c);
  Q_EMIT char_add(c);
  if (closed_) return;
  refill();
  if (count() == 0) close_popup(true);
}

void auto_list::keyPressEvent(QKeyEvent* e) {
  slot_guard("keyPressEvent", [&] {
    if (closed_) return;
    const int key = e->key();
    const Qt::KeyboardModifiers mods = e->modifiers();
    const QByteArray text = e->text().toUtf8();
    if (mods & Qt::ControlModifier) {
      if (key == Qt::Key_J || key == Qt::Key_Down) step(1);
      else if (key == Qt::Key_K || key == Qt::Key_Up) step(-1);
      return;
    }
    const bool printable = !text.isEmpty() && text[0] >= 32 && text[0] <= 126;
    // Text beyond ASCII (an accented letter): not the popup's, so it goes to the editor whole.
    const QString whole = e->text();
    const bool other_text = !whole.isEmpty() && whole.at(0).unicode() > 126;
    if (mods & Qt::ShiftModifier) {
      if (is_word_key(key) && !other_text) {
        if (!text.isEmpty()) type_word_byte(text[0]);
        return;
      }
      // Shifted punctuation such as "(" ends completion and still reaches the editor.
      if (other_text) {
        Q_EMIT text_add(whole);
      } else if (printable && key != Qt::Key_Space) {
        typed_.push_back(text[0]);
        Q_EMIT char_add(text[0]);
      }
      close_popup(true);
      return;
    }
    switch (key) {
      case Qt::Key_Escape:
        close_popup(true);
        return;
      case Qt::Key_Backspace:
        if (typed_.size > 0) {
          typed_.resize(typed_.size - 1);
          Q_EMIT char_del();
          if (closed_) return;
        }
        refill();
        if (typed_.size == 0) close_popup(true);
        return;
      case Qt::Key_Up:
        step(-1);
        return;
      case Qt::Key_Down:
        step(1);
        return;
      case Qt::Key_Home:
        if (count() > 0) setCurrentRow(0);
        return;
      case Qt::Key_End:
        if (count() > 0) setCurrentRow(count() - 1);
        return;
      case Qt::Key_Space:
        if (!text.isEmpty()) Q_EMIT char_add(text[0]);
        close_popup(true);
        return;
      case Qt::Key_Return:
      case Qt::Key_Tab:
        accept_current();
        return;
      default:
        break;
    }
    if (is_word_key(key) && !other_text) {
      if (!text.isEmpty()) type_word_byte(text[0]);
      return;
    }
    if (other_text) {
      Q_EMIT text_add(whole);
    } else if (printable) {
      typed_.push_back(text[0]);
      Q_EMIT char_add(text[0]);
    }
    close_popup(true);
  });
}

void auto_list::inputMethodEvent(QInputMethodEvent* e) {
  // A commit is text for the editor, never the list's keyboard search; composing shows
  // nothing here.
  slot_guard("inputMethodEvent", [&] {
    if (closed_ || e->commitString().isEmpty()) return;
    Q_EMIT text_add(e->commitString());
    close_popup(true);
  });
  e->accept();
}

bool auto_list::eventFilter(QObject* o, QEvent* e) {
  if (o == this && e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Tab) {
    slot_guard("eventFilter", [&] { accept_current(); });
    return true;
  }
  return QListWidget::eventFilter(o, e);
}

void auto_list::mouseDoubleClickEvent(QMouseEvent*) {
  slot_guard("mouseDoubleClickEvent", [&] {
    if (count() > 0) accept_current();
  });
}

void auto_list::focusOutEvent(QFocusEvent*) { close_popup(false); }

}  // namespace ruv
