#pragma once
// Runs a slot's body so that no exception crosses into Qt: an allocation failure ends the
// slot with one line on standard error and leaves the window as it stood.
#include <cstdio>
#include <exception>

template <class F>
void slot_guard(const char* slot, F&& body) noexcept {
  try {
    body();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", slot, e.what());
  } catch (...) {
    std::fprintf(stderr, "%s: failed\n", slot);
  }
}
