#include "editor/linenumber_wt.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "ui_base/slot_guard.h"
#include "ui_base/sys_config.h"

namespace ruv {

namespace {

kk::u32 default_point_size() {
  const kk::u32 t = sys_config.theme <= 2 ? sys_config.theme : 0;
  return std::clamp<kk::u32>(sys_config.text_formats[t][0].point_size, 1, 1000);
}

}  // namespace

int decimal_digits(kk::u64 n) noexcept {
  int d = 1;
  while (n >= 10) {
    n /= 10;
    ++d;
  }
  return d;
}

QString gutter_label(kk::u64 i, int digits) {
  return QString::number(static_cast<qulonglong>(i) + 1).rightJustified(digits, QLatin1Char(' '));
}

line_span gutter_span(kk::u64 line_count, int visible_y, int visible_height, int line_height) noexcept {
  if (line_count == 0 || line_height <= 0) return {0, -1};
  const kk::i64 y = std::min(0, visible_y);
  const kk::i64 first = -(y / line_height);
  const kk::i64 by_view = (static_cast<kk::i64>(std::max(0, visible_height)) - y) / line_height + 1;
  const kk::i64 last = std::min<kk::i64>(static_cast<kk::i64>(line_count - 1), by_view);
  return {first, last};
}

linenumber_wt::linenumber_wt(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_InputMethodEnabled);
  setFocusPolicy(Qt::StrongFocus);
  QFont f("Source Code Pro");
  f.setStyleHint(QFont::Monospace);  // a fixed-width fallback where the family is missing
  f.setKerning(true);
  f.setStyleStrategy(QFont::PreferAntialias);
  f.setPointSize(static_cast<int>(default_point_size()));
  setFont(f);
  resize(0, 0);
}

void linenumber_wt::refresh_font() {
  // The size follows the configuration, as the editor's grid does.
  const int ps = static_cast<int>(default_point_size());
  if (font().pointSize() == ps) return;
  QFont f = font();
  f.setPointSize(ps);
  setFont(f);
}

linenumber_wt::~linenumber_wt() = default;

int linenumber_wt::line_height() {
  const double v = default_point_size() * static_cast<double>(sys_config.vertical_factor);
  return v >= 1 && v < 1e6 ? static_cast<int>(v) : 1;
}

int linenumber_wt::char_width() const {
  return QFontMetrics(font()).boundingRect(QRect(0, 0, 10, 10), 0, QStringLiteral(" ")).width();
}

void linenumber_wt::set_line_count(kk::u64 n) {
  refresh_font();
  count_ = n;
  if (n == 0) {  // nothing to number: no gutter at all
    resize(0, 0);
    return;
  }
  const kk::i64 h = static_cast<kk::i64>(line_height()) * static_cast<kk::i64>(n);
  resize(char_width() * (decimal_digits(n) + 1), static_cast<int>(std::min<kk::i64>(h, QWIDGETSIZE_MAX)));
}

void linenumber_wt::paintEvent(QPaintEvent*) {
  slot_guard("paintEvent", [&] {
    if (count_ == 0) {
      resize(0, 0);
      return;
    }
    refresh_font();
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setBackground(Qt::white);
    p.setPen(Qt::white);
    p.fillRect(rect(), background());
    const int digits = decimal_digits(count_);
    const int tw = char_width() * digits;
    const int h = line_height();
    const line_span s = gutter_span(count_, visible_.y(), visible_.height(), h);
    if (s.first > s.last) return;
    // Drawn from a y of 0 under a translation to the first line's top: the raster engine
    // drops text drawn past about 8.4 million pixels. Line i is at i x h - y origin.
    p.translate(0, static_cast<qreal>(s.first * h - y_origin_));
    for (kk::i64 i = s.first; i <= s.last; ++i) {
      p.setPen(static_cast<kk::u64>(i) == current_ ? current_pen() : other_pen());
      p.drawText(QRect(0, static_cast<int>((i - s.first) * h), tw, h), 0, gutter_label(static_cast<kk::u64>(i), digits));
    }
  });
}

}  // namespace ruv
