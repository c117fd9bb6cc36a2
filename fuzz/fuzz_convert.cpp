// The conversion matrix from text to every column type, then from each result to every
// type again. Input: option byte (bit 0: parse_text), then the text. Besides memory safety:
// a text converted to text is the same text; a number wanted without parse_text is null;
// every integer, date, time and datetime made from a text prints to a text that converts
// back to the same value; a value outside the fourteen kinds never comes out.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "value/convert.h"
#include "value/startup_tables.h"
#include "value/val.h"

namespace {

using namespace kk;

void fail(const char* what, uint8_t kind) {
  std::fprintf(stderr, "invariant broken: %s (kind %u)\n", what, unsigned(kind));
  std::abort();
}

bool same_cell(const val& a, const val& b) {
  if (a.type != b.type || a.sign != b.sign || a.size != b.size || a.len != b.len) return false;
  if (std::memcmp(a.data, b.data, sizeof a.data) != 0) return false;
  return a.len == 0 || std::memcmp(a.text, b.text, a.len) == 0;
}

// Conversion that swallows the two exceptions a text-to-float cell may raise.
bool convert(val& out, uint8_t kind, const val& src, bool parse_text) {
  try {
    val_convert(out, kind, src, parse_text);
    return true;
  } catch (const std::invalid_argument&) {
  } catch (const std::out_of_range&) {
  }
  if (src.type != val_type_text) fail("a non-text source raised", kind);
  return false;
}

bool is_integer(uint8_t k) { return k <= kind_u64; }
bool is_calendar(uint8_t k) { return k == kind_date || k == kind_time || k == kind_datetime; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  startup_tables_init();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size - 1 > val_text_max) return 0;
  const bool parse_text = data[0] & 1;
  val src;
  if (!val_from_bytes(src, reinterpret_cast<const char*>(data) + 1, size - 1)) fail("text refused", kind_string);

  for (uint8_t k = 0; k < kind_count; ++k) {
    val out;
    if (!convert(out, k, src, parse_text)) continue;
    const uint8_t got = val_kind_index(out);
    if (got != k && !val_is_null(out)) fail("result of another kind", k);
    if (k == kind_string && !same_cell(out, src)) fail("text to text changed the text", k);
    if ((is_integer(k) || k == kind_float || k == kind_double) && !parse_text && !val_is_null(out))
      fail("a number without parse_text", k);
    if (val_is_null(out)) continue;

    if (is_integer(k) || is_calendar(k)) {
      val text, back;
      convert(text, kind_string, out, false);
      if (val_kind_index(text) != kind_string) fail("no text for a value", k);
      if (!convert(back, k, text, true) || !same_cell(back, out)) fail("printed value reads back differently", k);
    }
    // The result onwards to every kind.
    for (uint8_t t = 0; t < kind_count; ++t) {
      val next;
      if (!convert(next, t, out, parse_text)) continue;
      const uint8_t n = val_kind_index(next);
      if (n != t && !val_is_null(next)) fail("onward result of another kind", t);
      if (next.len > val_text_max) fail("text too long", t);
    }
  }
  return 0;
}
