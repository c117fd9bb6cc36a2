// Styles of the token classes from the configuration record. Qt comes first here on purpose:
// the editor's headers must build after Qt's keyword macros.
#include <QGuiApplication>
#include <QFont>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "editor/sql_completion.h"
#include "editor/sql_printer.h"
#include "editor/sql_style.h"

namespace ruv::lang {
namespace {

std::string str(const kk::adt::string::string& s) { return std::string(s.data ? s.data : "", s.size); }

TEST(class_style, the_current_scheme_gives_the_record_of_the_class) {
  sys_config_block cfg;
  for (u32 theme = 0; theme < 3; ++theme)
    for (int c = 0; c < token_class_count; ++c) {
      text_format& f = cfg.text_formats[theme][std::size_t(c)];
      f.red = theme * 100 + u32(c);
      f.point_size = 10 + u32(c);
      f.italic = u8(c == 9);
      std::snprintf(f.family, sizeof f.family, "font%u", theme);
    }
  // A family that fills its field without a NUL stays within it.
  std::memset(cfg.text_formats[2][1].family, 'x', sizeof cfg.text_formats[2][1].family);
  // Older files hold a whole font description: the family is the text before the first comma.
  std::snprintf(cfg.text_formats[1][3].family, sizeof cfg.text_formats[1][3].family,
                "Consolas,11,-1,5,75,0,0,0,0,0");
  std::snprintf(cfg.text_formats[1][4].family, sizeof cfg.text_formats[1][4].family, ",10");

  struct row {
    u32 theme;
    token_class c;
    u32 red;
    const char* family;
  };
  const row rows[] = {
      {0, token_class::default_text, 0, "font0"},   {0, token_class::comment, 9, "font0"},
      {1, token_class::read_keyword, 106, "font1"}, {2, token_class::constant, 204, "font2"},
      {7, token_class::field_name, 2, "font0"},     {2, token_class::function, 201, nullptr},
      {1, token_class::table_name, 103, "Consolas"}, {1, token_class::constant, 104, ""},
  };
  for (const row& r : rows) {
    cfg.theme = r.theme;
    const char_style s = class_style(cfg, r.c);
    EXPECT_EQ(s.red, r.red) << r.theme << " " << int(r.c);
    EXPECT_EQ(s.point_size, 10 + u32(r.c));
    EXPECT_EQ(s.italic, u8(r.c == token_class::comment));
    EXPECT_EQ(str(s.font), r.family ? std::string(r.family) : std::string(64, 'x'));
  }
  // Filling a style in place gives the same as a new one, also after a longer family.
  cfg.theme = 2;
  char_style reused = class_style(cfg, token_class::function);
  cfg.theme = 1;
  class_style(reused, cfg, token_class::comment);
  EXPECT_EQ(str(reused.font), "font1");
  EXPECT_EQ(reused.red, 109u);
  EXPECT_EQ(reused.italic, 1);
}

TEST(class_style, font_and_colour_stay_in_range) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "test";
  char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);

  char_style s;
  s.font = kk::adt::string::string_from_cstr("Source Code Pro");
  s.point_size = 0;
  s.bold = 1;
  s.red = 300;
  s.alpha = 128;
  const QFont f = char_style_font(s);
  EXPECT_EQ(f.pointSize(), 1) << "a size of 0 would divide by zero in the painter";
  EXPECT_EQ(f.weight(), 75);
  EXPECT_EQ(f.styleHint(), QFont::Monospace);
  EXPECT_EQ(f.family(), QStringLiteral("Source Code Pro"));
  // A field that held only attributes ("," first) leaves no family: the default one, not
  // the application's proportional font.
  char_style empty = s;
  empty.font = kk::adt::string::string();
  EXPECT_EQ(char_style_font(empty).family(), QStringLiteral("Source Code Pro"));
  const QColor c = char_style_color(s);
  EXPECT_EQ(c.red(), 255);
  EXPECT_EQ(c.alpha(), 128);

  mark_selected(s, false);
  EXPECT_EQ(char_style_color(s), QColor(255, 255, 255, 128));
  mark_selected(s, true);
  EXPECT_EQ(char_style_color(s), QColor(0, 0, 0, 128));
}

}  // namespace
}  // namespace ruv::lang
