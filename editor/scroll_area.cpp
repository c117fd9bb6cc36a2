#include "editor/scroll_area.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace ruv {

namespace {

// a / b, 0 when b is 0 (an empty bar or an empty inner widget).
double ratio(double a, double b) noexcept { return b != 0 ? a / b : 0.0; }

}  // namespace

// ---- scrollbar -------------------------------------------------------------------------------

scrollbar::scrollbar(bool horizontal, scrollarea* parent) : QWidget(parent), horizontal_(horizontal) {}
scrollbar::~scrollbar() = default;

void scrollbar::set_length(int n) {
  n = std::max(0, n);
  if (horizontal_) resize(n, thickness);
  else resize(thickness, n);
}

void scrollbar::set_thumb(double v) { thumb_ = std::min(v, static_cast<double>(length())); }

int scrollbar::painted_thumb() const noexcept { return static_cast<int>(std::max(thumb_, 2.0)); }

void scrollbar::clamp_and_report() {
  pos_ = std::clamp(pos_, 0.0, std::max(0.0, length() - thumb_));
  emit scrolling();
  update();
}

void scrollbar::mousePressEvent(QMouseEvent* e) {
  const int p = along(e->pos());
  if (pos_ < p && p < pos_ + thumb_) {
    dragging_ = true;
    press_ = p;
    press_pos_ = static_cast<int>(pos_);
    update();
    return;
  }
  pos_ = p - thumb_ * 0.5;
  clamp_and_report();
}

void scrollbar::mouseMoveEvent(QMouseEvent* e) {
  if (!dragging_) return;
  pos_ = press_pos_ + (along(e->pos()) - press_);
  clamp_and_report();
}

void scrollbar::mouseReleaseEvent(QMouseEvent*) {
  dragging_ = false;
  update();
}

void scrollbar::wheel(QWheelEvent* e) {
  if (horizontal_ || !e) return;
  const int dy = e->angleDelta().y();
  const double move = std::abs(dy) * (thumb_ * 0.5) / 72.0;
  pos_ += dy >= 1 ? -move : move;
  clamp_and_report();
}

void scrollbar::wheelEvent(QWheelEvent* e) { wheel(e); }

void scrollbar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setBackground(Qt::white);
  p.setPen(Qt::white);
  const int len = length();
  const QColor track(239, 239, 239), thumb(192, 192, 192);
  const int at = static_cast<int>(pos_);
  if (horizontal_) {
    p.fillRect(0, 0, len, thickness, track);
    p.fillRect(at, 0, painted_thumb(), thickness, thumb);
  } else {
    p.fillRect(0, 0, thickness, len, track);
    p.fillRect(0, at, thickness, painted_thumb(), thumb);
  }
}

// ---- scrollarea ------------------------------------------------------------------------------

scrollarea::scrollarea(bool with_h, bool with_v, QWidget* parent) : QWidget(parent) {
  if (with_h) {
    h_ = new scrollbar(true, this);
    connect(h_, &scrollbar::scrolling, this, &scrollarea::scroll_h);
  }
  if (with_v) {
    v_ = new scrollbar(false, this);
    connect(v_, &scrollbar::scrolling, this, &scrollarea::scroll_v);
  }
}

scrollarea::~scrollarea() = default;

int scrollarea::view_width() const { return width() - (v_ && !v_->isHidden() ? scrollbar::thickness : 0); }
int scrollarea::view_height() const { return height() - (h_ && !h_->isHidden() ? scrollbar::thickness : 0); }

void scrollarea::set_logical_height(kk::i64 h) { logical_h_ = std::max<kk::i64>(0, h); }

kk::i64 scrollarea::inner_height() const { return widget_ ? std::max<kk::i64>(logical_h_, widget_->height()) : 0; }

kk::i64 scrollarea::y_origin() const {
  if (!widget_ || inner_height() <= widget_->height()) return 0;
  return std::max<kk::i64>(0, static_cast<kk::i64>(off_y_) - (widget_->height() - view_height()));
}

int scrollarea::inner_y() const { return -static_cast<int>(static_cast<kk::i64>(off_y_) - y_origin()); }

QRect scrollarea::view_rect() const {
  return {-static_cast<int>(off_x_), -static_cast<int>(off_y_), view_width(), view_height()};
}

void scrollarea::place_bars() {
  if (h_) h_->move(0, h_->isHidden() ? height() : height() - scrollbar::thickness);
  if (v_) v_->move(v_->isHidden() ? width() : width() - scrollbar::thickness, 0);
}

void scrollarea::set_widget(QWidget* w) {
  widget_ = w;
  if (!w) return;
  w->setParent(this);
  w->lower();
  w->move(0, 0);
  w->show();
  if (h_) {
    h_->set_length(view_width());
    h_->move(0, view_height());
    h_->set_pos(0);
    h_->set_thumb(h_->length() * ratio(h_->length(), w->width()));
    off_x_ = 0;
  }
  if (v_) {
    v_->set_length(view_height());
    v_->move(view_width(), 0);
    v_->set_pos(0);
    v_->set_thumb(v_->length() * ratio(v_->length(), static_cast<double>(inner_height())));
    off_y_ = 0;
  }
}

void scrollarea::scroll_h() {
  if (!widget_ || !h_) return;
  const QRect r = widget_->geometry();
  off_x_ = r.width() * ratio(h_->pos(), h_->length());
  place_bars();
  if (h_follower) h_follower->move(static_cast<int>(off_x_), 0);
  widget_->move(-static_cast<int>(off_x_), r.y());
  emit change_geo(widget_->geometry());
}

void scrollarea::scroll_v() {
  if (!widget_ || !v_) return;
  const QRect r = widget_->geometry();
  off_y_ = static_cast<double>(inner_height()) * ratio(v_->pos(), v_->length());
  place_bars();
  if (v_follower) v_follower->move(0, static_cast<int>(off_y_ - static_cast<double>(y_origin())));
  widget_->move(r.x(), inner_y());
  emit change_geo(widget_->geometry());
}

QRect scrollarea::update_bars(const QPoint& c) {
  if (!widget_) return {};
  if (h_) h_->setVisible(h_->length() <= widget_->width());
  if (v_) v_->setVisible(v_->length() <= inner_height());
  place_bars();
  // One axis: the bar, the inner size along it, the cursor coordinate and the offset.
  auto fit = [&](scrollbar* bar, kk::i64 inner, int c_at, double& off, bool horizontal) {
    const int view = horizontal ? view_width() : view_height();
    if (bar->length() >= inner) {
      bar->set_length(view);
      if (horizontal) bar->move(0, view_height());
      else bar->move(view_width(), 0);
      bar->set_pos(0);
      off = 0;
      bar->set_thumb(bar->length());
      bar->update();
      if (horizontal) {
        if (h_follower) h_follower->move(0, h_follower->y());
        widget_->move(0, widget_->y());
      } else {
        if (v_follower) v_follower->move(v_follower->x(), 0);
        widget_->move(widget_->x(), 0);
      }
      return;
    }
    bar->set_length(view);
    const double L = bar->length();
    if (!(off < c_at && c_at < off + L)) {
      double n = c_at > off ? c_at - L * 5.0 / 6.0 : c_at - L / 6.0;
      off = std::max(0.0, n);
    }
    // Placed at the offset also when the cursor was in view: a resize may have moved the
    // offset since (the bars keep their proportion).
    if (horizontal) {
      if (h_follower) h_follower->move(static_cast<int>(off), 0);
      widget_->move(-static_cast<int>(off), widget_->y());
    } else {
      if (v_follower) v_follower->move(0, static_cast<int>(off - static_cast<double>(y_origin())));
      widget_->move(widget_->x(), inner_y());
    }
    const double in = static_cast<double>(inner);
    bar->set_thumb(L * ratio(L, in));
    bar->set_pos(L * ratio(off, in));
    bar->update();
  };
  if (h_) fit(h_, widget_->width(), c.x(), off_x_, true);
  if (v_) fit(v_, inner_height(), c.y(), off_y_, false);
  return widget_->geometry();
}

void scrollarea::resizeEvent(QResizeEvent* e) {
  const QSize s = e->size();
  if (widget_) {
    const double iw = widget_->width(), ih = static_cast<double>(inner_height());
    if (h_) {
      const int avail = s.width() - (v_ && !v_->isHidden() ? scrollbar::thickness : 0);
      off_x_ = iw * ratio(h_->pos(), h_->length());
      h_->set_length(avail);
      h_->move(0, s.height() - scrollbar::thickness);
      h_->set_pos(ratio(off_x_, iw) * h_->length());
      h_->set_thumb(avail * ratio(avail, iw));
      h_->setVisible(h_->length() <= iw);
      h_->update();
    }
    if (v_) {
      const int avail = s.height() - (h_ && !h_->isHidden() ? scrollbar::thickness : 0);
      off_y_ = ih * ratio(v_->pos(), v_->length());
      v_->set_length(avail);
      v_->move(s.width() - scrollbar::thickness, 0);
      v_->set_pos(ratio(off_y_, ih) * v_->length());
      v_->set_thumb(avail * ratio(avail, ih));
      v_->setVisible(v_->length() <= ih);
      v_->update();
    }
  }
  QWidget::resizeEvent(e);
  if (widget_) emit change_geo(widget_->geometry());
}

}  // namespace ruv
