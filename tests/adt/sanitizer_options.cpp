// The tests ask for impossible sizes on purpose: let the sanitizer's allocator return
// null (as malloc does) instead of aborting, so the library's own failure path runs.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }
