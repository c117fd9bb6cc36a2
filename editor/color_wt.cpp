#include "editor/color_wt.h"

#include <QColorDialog>

#include "app/seams/slot_guard.h"

namespace {
color_wt::chooser& current_chooser() {
  static color_wt::chooser c;
  return c;
}
}  // namespace

color_wt::color_wt(QWidget* parent) : QWidget(parent) { setAutoFillBackground(true); }

void color_wt::set_color(const QColor& c) {
  QPalette p = palette();
  p.setBrush(QPalette::All, QPalette::Window, QBrush(c));
  setPalette(p);
}

QColor color_wt::color() const { return palette().brush(QPalette::Window).color(); }

void color_wt::set_chooser(chooser c) { current_chooser() = std::move(c); }

void color_wt::mousePressEvent(QMouseEvent*) {
  slot_guard("mousePressEvent", [&] {
    const QColor chosen = current_chooser() ? current_chooser()() : QColorDialog::getColor();
    if (!chosen.isValid()) return;
    set_color(chosen);
    emit color_changed(chosen);
  });
}
