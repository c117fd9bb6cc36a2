#include "app/form_fit.h"

#include <QAbstractButton>
#include <QLabel>
#include <QWidget>
#include <algorithm>

namespace {

// True when a visible sibling of w stands where w's rectangle r would reach.
bool collides(const QWidget* w, const QRect& r) {
  const QWidget* parent = w->parentWidget();
  if (!parent) return false;
  for (const QObject* o : parent->children()) {
    const auto* other = qobject_cast<const QWidget*>(o);
    if (!other || other == w || other->isWindow() || other->isHidden()) continue;
    if (other->geometry().intersects(r) && !other->geometry().intersects(w->geometry())) return true;
  }
  return false;
}

}  // namespace

void fit_text(QWidget* w) {
  auto* button = qobject_cast<QAbstractButton*>(w);
  auto* label = qobject_cast<QLabel*>(w);
  if ((!button && !label) || w->isWindow()) return;
  if ((button ? button->text() : label->text()).isEmpty()) return;
  w->ensurePolished();
  QSize need = w->sizeHint();
  if (label && label->wordWrap()) need = QSize(w->width(), label->heightForWidth(w->width()));
  const int dw = std::max(0, need.width() - w->width());
  const int dh = std::max(0, need.height() - w->height());
  if (dw == 0 && dh == 0) return;
  QRect g = w->geometry();
  g.adjust(0, -(dh / 2), 0, dh - dh / 2);
  if (button) {
    g.adjust(-(dw / 2), 0, dw - dw / 2, 0);
  } else {
    const QRect right = g.adjusted(0, 0, dw, 0);
    const bool to_left = (label->alignment() & Qt::AlignRight) || collides(w, right);
    g = to_left ? g.adjusted(-dw, 0, 0, 0) : right;
  }
  // Inside the parent: shifted back over an edge; the parent grows when it is too small.
  if (QWidget* parent = w->parentWidget()) {
    if (g.left() < 0) g.moveLeft(0);
    if (g.top() < 0) g.moveTop(0);
    const QSize room(std::max(parent->width(), g.width()), std::max(parent->height(), g.height()));
    if (room != parent->size()) parent->resize(room);
    if (g.right() >= parent->width()) g.moveRight(parent->width() - 1);
    if (g.bottom() >= parent->height()) g.moveBottom(parent->height() - 1);
  }
  w->setGeometry(g);
}

void fit_texts(QWidget* form) {
  for (QWidget* w : form->findChildren<QWidget*>()) fit_text(w);
}
