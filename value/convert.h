// The conversion matrix: the one place where a value changes type.
#pragma once

#include <cstdint>

#include "value/val.h"

namespace kk {

// Builds the converted value into out from src. parse_text: whether a text source is read
// as a number (false: text to number gives null; the date/time/string rows ignore it).
using val_convert_fn = void (*)(val& out, const val& src, bool parse_text);

// [target kind][source kind], both in val_kind_index order.
extern const val_convert_fn val_convert_table[kind_count][kind_count];

// Null for a null or malformed source and for a target outside the fourteen kinds.
// Text to "float"/"double" may raise std::invalid_argument or std::out_of_range (see
// text_to_float); out is then untouched.
void val_convert(val& out, uint8_t target, const val& src, bool parse_text);
val val_convert(uint8_t target, const val& src, bool parse_text);

}  // namespace kk
