#pragma once
// Styles of the token classes from the configuration's current colour scheme, and their
// Qt font and colour.
#include <QColor>
#include <QFont>

#include "ui_base/sys_config.h"
#include "editor/char_style.h"
#include "editor/sql_highlight.h"

namespace ruv::lang {

// The style of a class in the scheme chosen by cfg.theme (0, 1 or 2; any other value uses
// the first scheme). Read at each call, so a change of theme or scheme shows at once.
char_style class_style(const sys_config_block& cfg, token_class c);
// The same into `out`, reusing its font buffer: no allocation per painted character once the
// buffer holds the longest family name.
char_style& class_style(char_style& out, const sys_config_block& cfg, token_class c);

// The colour; components above 255 count as 255.
QColor char_style_color(const char_style& s);

// The font: family ("Source Code Pro" when empty; a monospace font where it is missing),
// point size (at least 1), bold (weight 75) or normal (50), italic, overline, underline,
// strike-out.
QFont char_style_font(const char_style& s);

}  // namespace ruv::lang
