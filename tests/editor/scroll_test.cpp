// Painted scroll bars and the scroll area's arithmetic, and the line-number gutter.
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest>
#include <cmath>

#include "ui_base/sys_config.h"
#include "editor/linenumber_wt.h"
#include "editor/scroll_area.h"

using namespace ruv;

namespace {

void press(QWidget* w, QPoint p) {
  QMouseEvent e(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

void wheel(QWidget* w, int dy) {
  QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, dy), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &e);
}

// The darkest grey value in rows [top, top + h) of the image.
int darkest(const QImage& img, int top, int h) {
  int best = 255;
  for (int y = std::max(0, top); y < std::min(img.height(), top + h); ++y)
    for (int x = 0; x < img.width(); ++x) best = std::min(best, qGray(img.pixel(x, y)));
  return best;
}

}  // namespace

class scroll_test : public QObject {
  Q_OBJECT

 private slots:
  void bar_press_jumps_or_drags() {
    scrollarea area(false, true);
    scrollbar* bar = area.v_bar();
    bar->set_length(200);
    bar->set_thumb(40);
    QSignalSpy moved(bar, &scrollbar::scrolling);
    press(bar, {5, 100});  // the track below the thumb: centred on the click
    QCOMPARE(bar->pos(), 80.0);
    QVERIFY(!bar->dragging());
    QCOMPARE(moved.count(), 1);
    press(bar, {5, 90});  // inside the thumb: a drag starts, nothing moves
    QVERIFY(bar->dragging());
    QCOMPARE(bar->pos(), 80.0);
    QCOMPARE(moved.count(), 1);
    QMouseEvent move(QEvent::MouseMove, QPoint(5, 400), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    QCOMPARE(bar->pos(), 160.0);  // clamped to length - thumb
    QMouseEvent release(QEvent::MouseButtonRelease, QPoint(5, 400), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &release);
    QVERIFY(!bar->dragging());
    press(bar, {5, 0});  // the track above: the thumb centred on 0, clamped
    QCOMPARE(bar->pos(), 0.0);
  }

  void bar_wheel_and_clamps() {
    scrollarea area(true, true);
    scrollbar* v = area.v_bar();
    v->set_length(200);
    v->set_thumb(72);
    wheel(v, 120);  // away from the user at pos 0
    QCOMPARE(v->pos(), 0.0);
    wheel(v, -120);  // one notch toward the end: 120 / 72 x half a thumb
    QCOMPARE(v->pos(), 60.0);
    scrollbar* h = area.h_bar();
    h->set_length(200);
    h->set_thumb(50);
    wheel(h, -120);
    QCOMPARE(h->pos(), 0.0);  // horizontal bars ignore the wheel
    v->set_thumb(0.5);
    QCOMPARE(v->painted_thumb(), 2);
    v->set_thumb(1000);
    QCOMPARE(v->thumb(), 200.0);
  }

  void narrow_inner_widget_fills_the_bar() {
    scrollarea area(true, true);
    area.resize(300, 200);
    QWidget inner;
    inner.resize(200, 100);
    area.set_widget(&inner);
    area.update_bars({10, 10});
    QCOMPARE(area.offset_x(), 0.0);
    QCOMPARE(area.h_bar()->thumb(), double(area.h_bar()->length()));
    QCOMPARE(inner.pos(), QPoint(0, 0));
    inner.setParent(nullptr);
  }

  void cursor_outside_the_view_lands_at_a_sixth() {
    scrollarea area(true, true);
    area.resize(300, 200);
    auto* inner = new QWidget;
    inner->resize(1000, 2000);
    auto* follower = new QWidget(inner);
    area.set_widget(inner);
    area.h_follower = follower;
    area.show();
    area.update_bars({0, 1500});  // below: five sixths down the view
    const double L = area.view_height();
    QCOMPARE(L, 180.0);
    QCOMPARE(area.offset_y(), 1500 - L * 5 / 6);
    QCOMPARE(inner->y(), -1350);
    QCOMPARE(area.v_bar()->pos(), L * 1350 / 2000);
    area.update_bars({0, 1400});  // visible: no scroll
    QCOMPARE(area.offset_y(), 1350.0);
    area.update_bars({0, 100});  // above: one sixth down
    QCOMPARE(area.offset_y(), 70.0);
    area.update_bars({900, 100});  // to the right: the follower stays at the view's left edge
    QVERIFY(area.offset_x() > 0);
    QCOMPARE(follower->x(), int(area.offset_x()));
    QCOMPARE(inner->x(), -int(area.offset_x()));
    // A drag of the horizontal bar moves follower and widget alike.
    area.h_bar()->set_pos(50);
    area.scroll_h();
    QCOMPARE(follower->x(), -inner->x());
  }

  // Content taller than its widget: the offsets are logical, and the widget is placed so
  // that its pixel 0 shows the logical row y_origin (its bottom reaches the view's at the end).
  void logical_height_beyond_the_widget() {
    scrollarea area(false, true);
    area.resize(300, 200);
    auto* inner = new QWidget;
    inner->resize(280, 1000);
    area.set_widget(inner);
    area.set_logical_height(5000);
    area.show();
    QCOMPARE(area.inner_height(), kk::i64(5000));
    area.update_bars({0, 4900});  // below: five sixths down the view
    const double L = area.view_height();
    QCOMPARE(area.offset_y(), 4900 - L * 5 / 6);
    const kk::i64 origin = kk::i64(area.offset_y()) - (1000 - area.view_height());
    QCOMPARE(area.y_origin(), origin);
    QCOMPARE(inner->y(), -int(kk::i64(area.offset_y()) - origin));
    QCOMPARE(area.view_rect().y(), -int(area.offset_y()));
    QCOMPARE(area.v_bar()->pos(), L * area.offset_y() / 5000);
    // A drag to the bar's end: the last logical row at the view's bottom, the widget's too.
    area.v_bar()->set_pos(area.v_bar()->length() - area.v_bar()->thumb());
    area.scroll_v();
    QCOMPARE(area.offset_y() + area.view_height(), 5000.0);
    QCOMPARE(inner->y() + inner->height(), area.view_height());
    // Back near the top: no origin, the widget at minus the offset.
    area.update_bars({0, 10});
    QCOMPARE(area.y_origin(), kk::i64(0));
    QCOMPARE(inner->y(), -int(area.offset_y()));
  }

  void zero_sizes_stay_finite() {
    scrollarea area(true, true);
    area.resize(0, 0);
    auto* inner = new QWidget;
    inner->resize(0, 0);
    area.set_widget(inner);
    area.show();
    area.update_bars({0, 0});
    area.h_bar()->set_pos(3);
    area.scroll_h();
    area.v_bar()->set_pos(3);
    area.scroll_v();
    area.resize(0, 0);
    area.resize(50, 10);
    area.update_bars({5, 5});
    for (double v : {area.offset_x(), area.offset_y(), area.h_bar()->pos(), area.v_bar()->pos(), area.h_bar()->thumb(),
                     area.v_bar()->thumb()})
      QVERIFY(std::isfinite(v));
    QCOMPARE(inner->pos(), QPoint(0, 0));
  }

  void gutter_width_follows_the_digits() {
    linenumber_wt g;
    const int cw = g.char_width();
    QVERIFY(cw > 0);
    const struct {
      kk::u64 lines;
      int chars;
    } cases[] = {{1, 2}, {9, 2}, {10, 3}, {99, 3}, {100, 4}, {18446744073709551615ull, 21}};
    for (const auto& c : cases) {
      g.set_line_count(c.lines);
      QCOMPARE(g.width(), cw * c.chars);
    }
    g.set_line_count(9);
    QCOMPARE(g.height(), linenumber_wt::line_height() * 9);
    QCOMPARE(gutter_label(0, 1), QString("1"));
    QCOMPARE(gutter_label(0, 2), QString(" 1"));
    QCOMPARE(gutter_label(9, 2), QString("10"));
    g.set_line_count(0);
    QCOMPARE(g.size(), QSize(0, 0));
  }

  void gutter_paints_only_visible_lines() {
    const int h = 19;
    QCOMPARE(gutter_span(100, -2 * h, 100, h).first, 2);  // scrolled by two lines: number 3 first
    QCOMPARE(gutter_span(100, 0, 100, h).last, 100 / h + 1);
    QCOMPARE(gutter_span(3, 0, 1000, h).last, 2);
    QVERIFY(gutter_span(0, 0, 100, h).first > gutter_span(0, 0, 100, h).last);
    QVERIFY(gutter_span(5, 0, 100, 0).first > gutter_span(5, 0, 100, 0).last);
  }

  void gutter_colours() {
    sys_config.vertical_factor = 1.6f;
    linenumber_wt g;
    g.set_line_count(3);
    g.set_current_line(0);
    g.set_visible(QRect(0, 0, 100, 200));
    QImage img(g.size(), QImage::Format_RGB32);
    g.render(&img);
    const int h = linenumber_wt::line_height();
    QCOMPARE(QColor(img.pixel(0, 0)), linenumber_wt::background());
    QVERIFY2(darkest(img, 0, h) <= 60, "the cursor's line is dark");
    QVERIFY2(darkest(img, h, 2 * h) >= 150, "other lines are light grey");
    QVERIFY2(darkest(img, h, 2 * h) <= 200, "other lines are painted");
  }
};

QTEST_MAIN(scroll_test)
#include "scroll_test.moc"
