/* Preloaded into the sanitizer run of a program that loads Qt plugins: dlclose does nothing,
 * so every shared library stays mapped until the process ends.
 *
 * LeakSanitizer checks at exit, after Qt has unloaded its plugins and they their own
 * libraries (the xcb platform's GLX integration unloads Mesa's driver). A block that only an
 * unloaded library's globals still pointed to is then reported as a leak of "<unknown
 * module>", a stack that no suppression can name. With the libraries kept, such a block stays
 * reachable from their data, and a real leak has a named stack. Our own code never unloads a
 * library, so nothing it does changes. */
/* Exported in spite of the build's hidden visibility: the point is to interpose libc's. */
__attribute__((visibility("default"))) int dlclose(void *handle) {
  (void)handle;
  return 0;
}
