#pragma once
// A statement parsed whole with the program's SQL grammar (started on first use). Kept
// apart from Qt headers: the grammar's rule table has a member named like a Qt keyword.
#include <string>

namespace dataview::test {
// True when the grammar matches the whole text; where receives the stop offset.
bool parses_whole(const std::string& text, std::string* where = nullptr);
}  // namespace dataview::test
