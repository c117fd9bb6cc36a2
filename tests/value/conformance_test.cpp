// Conformance cases found in review: each one failed before its fix.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "value/number_text.h"
#include "raised.h"

using namespace kk;

// A text below the smallest normal number underflows even when it rounds up to that
// number; one at or above it does not.
TEST(text_to_real_conformance, underflow_that_rounds_to_the_smallest_normal_still_raises) {
  struct { const char* text; const char* d_err; const char* f_err; } cases[] = {
      {"1.1754943e-38", "none", "range: stof argument out of range"},     // just below FLT_MIN
      {"-1.1754943e-38", "none", "range: stof argument out of range"},
      {"1.17549435e-38", "none", "none"},                                 // FLT_MIN itself
      {"1.1754944e-38", "none", "none"},
      {"2.2250738585072012e-308", "range: stod argument out of range", "range: stof argument out of range"},
      {"2.2250738585072014e-308", "none", "range: stof argument out of range"},  // DBL_MIN
  };
  for (auto& c : cases) {
    const uint64_t n = std::char_traits<char>::length(c.text);
    EXPECT_EQ(raised([&] { text_to_double(c.text, n); }), c.d_err) << c.text;
    EXPECT_EQ(raised([&] { text_to_float(c.text, n); }), c.f_err) << c.text;
  }
}
