#pragma once
// Line numbers at the left of a script tab's editor: as tall as the text, it paints only the
// numbers inside the visible rectangle, the cursor's line darker than the others.
#include <QRect>
#include <QString>
#include <QWidget>

#include "adt/types.h"

namespace ruv {

// Decimal digits of n (1 for 0).
int decimal_digits(kk::u64 n) noexcept;
// The number of line i (0-based), right-aligned in `digits` characters.
QString gutter_label(kk::u64 i, int digits);
// The lines to paint for a view whose top is at y (0 or negative) and of the given height:
// [first, last] inclusive; empty (first > last) when there is no line or no line height.
struct line_span {
  kk::i64 first;
  kk::i64 last;
};
line_span gutter_span(kk::u64 line_count, int visible_y, int visible_height, int line_height) noexcept;

class linenumber_wt : public QWidget {
  Q_OBJECT

 public:
  explicit linenumber_wt(QWidget* parent = nullptr);
  ~linenumber_wt() override;

  void set_line_count(kk::u64 n);
  void set_current_line(kk::u64 i) { current_ = i; }
  // r: the view, its y minus the logical scroll offset; its height the view's.
  void set_visible(const QRect& r) { visible_ = r; }
  // Where a text is taller than a widget may be, the widget's pixel 0 shows the logical
  // row y_origin (as in the editor beside it): line i is painted at i x height - origin.
  void set_y_origin(kk::i64 origin) { y_origin_ = origin; }
  kk::i64 y_origin() const noexcept { return y_origin_; }
  kk::u64 line_count() const noexcept { return count_; }
  kk::u64 current_line() const noexcept { return current_; }
  QRect visible() const { return visible_; }
  // Point size of the default token class of the current theme times the vertical factor.
  static int line_height();
  int char_width() const;
  // Takes the point size of the current theme's default class when it changed.
  void refresh_font();

  static QColor background() { return {239, 239, 239}; }
  static QColor current_pen() { return {16, 16, 16}; }
  static QColor other_pen() { return {160, 160, 160}; }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  kk::u64 count_ = 0;
  kk::u64 current_ = 0;
  QRect visible_;
  kk::i64 y_origin_ = 0;
};

}  // namespace ruv
