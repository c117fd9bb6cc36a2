#include "editor/color_wt.h"

#include <QColorDialog>
#include <QPainter>

#include "ui_base/slot_guard.h"

namespace {
color_wt::chooser& current_chooser() {
  static color_wt::chooser c;
  return c;
}
}  // namespace

color_wt::color_wt(QWidget* parent) : QWidget(parent) {}

void color_wt::set_color(const QColor& c) {
  color_ = c;
  update();
}

void color_wt::set_chooser(chooser c) { current_chooser() = std::move(c); }

void color_wt::mousePressEvent(QMouseEvent*) {
  slot_guard("mousePressEvent", [&] {
    const QColor chosen = current_chooser() ? current_chooser()(color_) : QColorDialog::getColor(color_);
    if (!chosen.isValid()) return;
    set_color(chosen);
    emit color_changed(chosen);
  });
}

void color_wt::paintEvent(QPaintEvent*) {
  slot_guard("paintEvent", [&] {
    QPainter p(this);
    p.fillRect(rect(), color_);
    // A frame in the text colour, so that a colour like the window's still shows its edge.
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  });
}
