#include "editor/sql_style.h"

#include <cstring>

namespace ruv::lang {

char_style& class_style(char_style& out, const sys_config_block& cfg, token_class c) {
  const u32 theme = cfg.theme < 3 ? cfg.theme : 0;
  const text_format& f = cfg.text_formats[theme][std::size_t(c)];
  // The field may hold a whole font description ("family,size,..." from older files): the
  // family is the text up to the first comma.
  const u64 len = strnlen(f.family, sizeof f.family);
  const void* comma = std::memchr(f.family, ',', len);
  const u64 n = comma ? u64(static_cast<const char*>(comma) - f.family) : len;
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
  // An empty family (a zeroed field, or one that began with a comma) would give the
  // application's proportional font and break the character grid.
  QFont f(s.font.size ? QString::fromUtf8(s.font.data, int(s.font.size)) : QStringLiteral("Source Code Pro"));
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
