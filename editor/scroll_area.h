#pragma once
// A scroll area with painted bars of its own: one large inner widget seen through a smaller
// view, moved by the bars, with followers (the line numbers) kept at the view's edge.
// Positions are pixels held as doubles. Every division by a bar length or an inner size
// of 0 is guarded (the result is then 0, or the full bar).
#include <QRect>
#include <QWidget>

#include "adt/types.h"

class QWheelEvent;

namespace ruv {

class scrollarea;

class scrollbar : public QWidget {
  Q_OBJECT

 public:
  static constexpr int thickness = 20;
  scrollbar(bool horizontal, scrollarea* parent);
  ~scrollbar() override;

  void set_length(int n);
  void set_pos(double v) { pos_ = v; }
  void set_thumb(double v);
  double pos() const noexcept { return pos_; }
  double thumb() const noexcept { return thumb_; }
  int length() const { return horizontal_ ? width() : height(); }
  bool horizontal() const noexcept { return horizontal_; }
  bool dragging() const noexcept { return dragging_; }
  // Painted thumb: the larger of thumb and 2, truncated.
  int painted_thumb() const noexcept;

 Q_SIGNALS:
  void scrolling();

 public Q_SLOTS:
  void wheel(QWheelEvent* e);

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  int along(const QPoint& p) const { return horizontal_ ? p.x() : p.y(); }
  void clamp_and_report();

  double pos_ = 0;
  double thumb_ = 100.0;
  bool horizontal_ = false;
  bool dragging_ = false;
  int press_ = 0;
  int press_pos_ = 0;
};

class scrollarea : public QWidget {
  Q_OBJECT

 public:
  scrollarea(bool with_h, bool with_v, QWidget* parent = nullptr);
  ~scrollarea() override;

  void set_widget(QWidget* w);
  QWidget* widget() const { return widget_; }
  // Re-fits bars and offsets to the inner widget and scrolls so that c (inner coordinates)
  // is visible; returns the inner widget's geometry.
  QRect update_bars(const QPoint& c);
  int view_width() const;
  int view_height() const;
  // The inner widget's height in logical pixels, when its content is taller than a widget
  // may be (0: the widget's own height). The offsets are logical then; the widget stays at
  // y = -(offset y - y_origin()), as the editor inside it paints (see editor::y_origin).
  void set_logical_height(kk::i64 h);
  kk::i64 inner_height() const;
  kk::i64 y_origin() const;
  // The view over the inner widget in logical pixels: minus the offsets, the view's size.
  QRect view_rect() const;
  double offset_x() const noexcept { return off_x_; }
  double offset_y() const noexcept { return off_y_; }
  scrollbar* h_bar() const { return h_; }
  scrollbar* v_bar() const { return v_; }

  QWidget* h_follower = nullptr;
  QWidget* v_follower = nullptr;

 Q_SIGNALS:
  void change_geo(const QRect& r);

 public Q_SLOTS:
  void scroll_h();
  void scroll_v();

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  void place_bars();
  int inner_y() const;

  QWidget* widget_ = nullptr;
  double off_x_ = 0;
  double off_y_ = 0;
  kk::i64 logical_h_ = 0;
  scrollbar* h_ = nullptr;
  scrollbar* v_ = nullptr;
};

}  // namespace ruv
