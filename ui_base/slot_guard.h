#pragma once
// Runs the body of a function Qt calls (a slot, an event handler, a model or delegate
// override) so that no exception crosses into Qt: an allocation failure ends the call with
// one line on standard error and leaves the window as it stood. Header-only, so every
// program library may use it without linking anything.
#include <cstdio>
#include <exception>
#include <utility>

namespace slot_guard_detail {

// The one line of a failed call.
inline void report(const char* slot) noexcept {
  try {
    throw;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", slot, e.what());
  } catch (...) {
    std::fprintf(stderr, "%s: failed\n", slot);
  }
}

}  // namespace slot_guard_detail

template <class F>
void slot_guard(const char* slot, F&& body) noexcept {
  try {
    body();
  } catch (...) {
    slot_guard_detail::report(slot);
  }
}

// The same for a function that answers Qt: the body's result, or `fallback` (the neutral
// answer: an invalid QVariant, false, a null editor) when it threw.
template <class R, class F>
R slot_guard(const char* slot, R fallback, F&& body) noexcept {
  try {
    return body();
  } catch (...) {
    slot_guard_detail::report(slot);
  }
  return fallback;
}
