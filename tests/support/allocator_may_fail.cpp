// For the test programs that ask for impossible sizes on purpose (or cap the address space
// so that an allocation fails): under AddressSanitizer, let its allocator return null as
// malloc does instead of aborting, so the code's own failure path runs. Visible by default:
// the sanitizer runtime looks the hook up in the executable.
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options() {
  return "allocator_may_return_null=1";
}
