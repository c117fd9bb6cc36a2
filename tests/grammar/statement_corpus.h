#pragma once
// Statements for differential tests of the matcher: a generated script cut into its
// statements, and statements damaged at random places.
#include <random>
#include <string>
#include <vector>

#include "adt/types.h"

namespace kk::grammar::test {

// The statements of a script, each up to and with its ";" (before a line feed).
inline std::vector<std::string> statements_of(const std::string& script) {
  std::vector<std::string> out;
  for (u64 i = 0, j; i < script.size(); i = j + 1) {
    j = script.find(";\n", i);
    if (j == std::string::npos) break;
    out.push_back(script.substr(i, j + 1 - i));
  }
  return out;
}

// The statement with three places changed: a byte replaced by one of the dialect's own
// characters or dropped.
inline std::string damaged(std::string st, std::mt19937& rng) {
  static const std::string noise = " ()*;'\"/#\n\\@[]=<>-+.0xaz\xc3\xa9";
  for (int k = 0; k < 3 && !st.empty(); ++k) {
    const u64 at = rng() % st.size();
    if (rng() % 2)
      st[at] = noise[rng() % noise.size()];
    else
      st.erase(at, 1);
  }
  return st;
}

}  // namespace kk::grammar::test
