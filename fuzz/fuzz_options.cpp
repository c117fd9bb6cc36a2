// Sanitizer defaults for every fuzz target: an allocation the library asks for and cannot
// get must come back null (as malloc does), so its own out-of-memory path is what runs.
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options() {
  return "allocator_may_return_null=1:detect_leaks=1";
}
extern "C" __attribute__((visibility("default"))) const char* __ubsan_default_options() {
  return "print_stacktrace=1:halt_on_error=1";
}
