// The tests ask for impossible sizes on purpose: let the sanitizer's allocator return
// null (as malloc does) instead of aborting, so the library's own failure path runs.
// Visible by default: the sanitizer runtime looks the hook up in the executable.
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options() {
  return "allocator_may_return_null=1";
}
