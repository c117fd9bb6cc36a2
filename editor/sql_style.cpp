#include "editor/sql_style.h"

#include <cstring>

namespace ruv::lang {

char_style class_style(const sys_config_block& cfg, token_class c) {
  const u32 theme = cfg.theme < 3 ? cfg.theme : 0;
  const text_format& f = cfg.text_formats[theme][std::size_t(c)];
  char_style s;
  s.font = kk::adt::string::string_from_bytes(f.family, strnlen(f.family, sizeof f.family));
  s.bold = f.bold;
  s.italic = f.italic;
  s.overline = f.overline;
  s.underline = f.underline;
  s.strikeout = f.strikeout;
  s.red = f.red;
  s.green = f.green;
  s.blue = f.blue;
  s.alpha = f.alpha;
  s.point_size = f.point_size;
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
