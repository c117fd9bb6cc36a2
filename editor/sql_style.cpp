#include "editor/sql_style.h"

#include <cstring>

namespace ruv::lang {

char_style& class_style(char_style& out, const sys_config_block& cfg, token_class c) {
  const u32 theme = cfg.theme < 3 ? cfg.theme : 0;
  const text_format& f = cfg.text_formats[theme][std::size_t(c)];
  const u64 n = strnlen(f.family, sizeof f.family);
  out.font.resize(n);
  if (n) std::memcpy(out.font.data, f.family, n);
  out.bold = f.bold;
  out.italic = f.italic;
  out.overline = f.overline;
  out.underline = f.underline;
  out.strikeout = f.strikeout;
  out.red = f.red;
  out.green = f.green;
  out.blue = f.blue;
  out.alpha = f.alpha;
  out.point_size = f.point_size;
  return out;
}

char_style class_style(const sys_config_block& cfg, token_class c) {
  char_style s;
  class_style(s, cfg, c);
  return s;
}

QColor char_style_color(const char_style& s) {
  auto c = [](u32 v) { return int(v > 255 ? 255 : v); };
  return QColor(c(s.red), c(s.green), c(s.blue), c(s.alpha));
}

QFont char_style_font(const char_style& s) {
  QFont f(QString::fromUtf8(s.font.data ? s.font.data : "", int(s.font.size)));
  f.setStyleHint(QFont::Monospace);
  f.setPointSize(s.point_size < 1 ? 1 : (s.point_size > 1000 ? 1000 : int(s.point_size)));
  f.setWeight(s.bold ? 75 : 50);
  f.setItalic(s.italic != 0);
  f.setOverline(s.overline != 0);
  f.setUnderline(s.underline != 0);
  f.setStrikeOut(s.strikeout != 0);
  return f;
}

}  // namespace ruv::lang
