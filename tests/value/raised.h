#pragma once
// What a call raised, as a comparable text: "none", "invalid: <what>" or "range: <what>".
#include <stdexcept>
#include <string>

template <class F>
std::string raised(F f) {
  try {
    f();
  } catch (const std::invalid_argument& e) {
    return std::string("invalid: ") + e.what();
  } catch (const std::out_of_range& e) {
    return std::string("range: ") + e.what();
  }
  return "none";
}
