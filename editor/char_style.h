#pragma once
// The style of one painted character: font, flags, colour and point size of its token
// class, as the configuration's colour scheme holds them. Plain data: sql_style.h turns it
// into a QFont and a QColor.
#include "adt/string.h"
#include "adt/types.h"

namespace ruv::lang {

struct char_style {
  kk::adt::string::string font;  // font family
  kk::u8 bold = 0;
  kk::u8 italic = 0;
  kk::u8 overline = 0;
  kk::u8 underline = 0;
  kk::u8 strikeout = 0;
  kk::u32 red = 0;
  kk::u32 green = 0;
  kk::u32 blue = 0;
  kk::u32 alpha = 255;
  kk::u32 point_size = 12;
};

}  // namespace ruv::lang
