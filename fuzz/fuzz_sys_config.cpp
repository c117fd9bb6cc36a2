// The configuration file "config" as load_sys_config reads it from disk, any bytes of any
// length (the input is the file). Besides memory safety:
// - the loader reports success, and neither a single allocation nor all it holds at once
//   is out of proportion to the file (a count or length field cannot make it allocate
//   what the file does not hold);
// - every field of the loaded record lies in the range the program relies on: texts end
//   within their fields, the theme indexes one of the three sets, numbers lie in what the
//   program itself can set, floats are finite, the padding is zero; every path ends at its
//   first NUL and no list holds more paths than the file has length fields for;
// - saving the record and loading the saved file gives the same record and the same bytes
//   again (the first load is the only one that changes anything).
#include <sanitizer/allocator_interface.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "ui_base/sys_config.h"

namespace {

void fail(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

std::string dir, path, saved_path;

void remove_all() {
  unlink(path.c_str());
  unlink(saved_path.c_str());
  rmdir(dir.c_str());
}

std::string slurp(const std::string& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Allocations while the loader runs: the largest single one, and the most held at once.
struct alloc_watch {
  bool on = false;
  size_t live = 0, peak = 0, largest = 0;
} watch;

void on_malloc(const volatile void*, size_t size) {
  if (!watch.on) return;
  watch.live += size;
  if (watch.live > watch.peak) watch.peak = watch.live;
  if (size > watch.largest) watch.largest = size;
}
void on_free(const volatile void* p) {
  if (!watch.on || !p) return;
  const size_t size = __sanitizer_get_allocated_size(const_cast<const void*>(p));
  watch.live = size <= watch.live ? watch.live - size : 0;
}

bool ends_within(const char* field, size_t size) { return std::memchr(field, 0, size) != nullptr; }
bool all_zero(const kk::u8* p, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (p[i]) return false;
  return true;
}
bool real_in(float v, float lo, float hi) { return std::isfinite(v) && v >= lo && v <= hi; }

void check_ranges(const sys_config_record& c) {
  if (!ends_within(c.user, sizeof c.user) || !ends_within(c.server, sizeof c.server)) fail("a login text runs past its field");
  if (c.port < 1 || c.port > 65535) fail("port out of range");
  if (!real_in(c.horizontal_factor, 0, 2) || !real_in(c.vertical_factor, 0, 6)) fail("an editor factor out of range");
  if (c.theme > 2) fail("theme indexes no format set");
  for (const auto& set : c.text_formats)
    for (const auto& t : set.formats) {
      if (!ends_within(t.family, sizeof t.family)) fail("a font family runs past its field");
      if (t.red > 255 || t.green > 255 || t.blue > 255 || t.alpha > 255) fail("a colour component out of range");
      if (t.point_size < 1 || t.point_size > 1000) fail("a point size out of range");
      if (!all_zero(t.padding, sizeof t.padding)) fail("format padding not zero");
    }
  if (c.tab_width < 1 || c.tab_width > 64) fail("tab width out of range");
  if (!real_in(c.continuous_edit_seconds, 0, 20)) fail("continuous edit time out of range");
  if (c.cursor_width > 4) fail("cursor width out of range");
  if (c.completion_least_count > 6) fail("completion count out of range");
  if (!all_zero(c.padding_2886, 2) || !all_zero(c.padding_2901, 3) || !all_zero(c.padding_2910, 2))
    fail("record padding not zero");
  for (const auto* l : {&c.open_files, &c.recent_files})
    for (auto* n = l->head; n; n = n->next)
      if (n->value.size && std::memchr(n->value.data, 0, n->value.size)) fail("a path holds a NUL");
}

bool same_list(const kk::adt::list<kk::adt::string::string>& a, const kk::adt::list<kk::adt::string::string>& b) {
  if (a.count != b.count) return false;
  auto* y = b.head;
  for (auto* x = a.head; x; x = x->next, y = y->next)
    if (!y || x->value.size != y->value.size ||
        (x->value.size && std::memcmp(x->value.data, y->value.data, x->value.size) != 0))
      return false;
  return y == nullptr;
}

bool same_record(const sys_config_record& a, const sys_config_record& b) {
  // The block has no implicit padding (its size and offsets are asserted), so its bytes
  // are its fields.
  return std::memcmp(static_cast<const sys_config_block*>(&a), static_cast<const sys_config_block*>(&b),
                     sizeof(sys_config_block)) == 0 &&
         same_list(a.open_files, b.open_files) && same_list(a.recent_files, b.recent_files);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char root[] = "/dev/shm/fuzz_sys_config.XXXXXX";
  char root_tmp[] = "/tmp/fuzz_sys_config.XXXXXX";
  const char* made = mkdtemp(root);
  if (!made) made = mkdtemp(root_tmp);
  if (!made) fail("no work folder");
  dir = made;
  path = dir + "/config";
  saved_path = dir + "/saved";
  std::atexit(remove_all);
  __sanitizer_install_malloc_and_free_hooks(on_malloc, on_free);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    if (!out) fail("the input cannot be written");
  }
  sys_config_record first;
  watch = alloc_watch{};
  watch.on = true;
  const bool loaded = load_sys_config(&first, path.c_str());
  watch.on = false;
  if (!loaded) fail("an existing file did not load");
  // Reading may take the file twice over while its buffer grows, and each path's node and
  // bytes; beyond a fixed allowance nothing may depend on a length the file only claims.
  constexpr size_t allowance = size_t(1) << 20;
  if (watch.largest > 2 * size + allowance) fail("an allocation larger than the file calls for");
  if (watch.peak > 16 * size + allowance) fail("the loader held more than the file calls for");
  check_ranges(first);
  const kk::u64 entries = first.open_files.count + first.recent_files.count;
  if (size > sys_config_block_size && entries > (size - sys_config_block_size) / 4) fail("more paths than length fields");
  if (size <= sys_config_block_size && entries != 0) fail("paths from a file that ends in the block");

  if (!save_sys_config(&first, saved_path.c_str())) fail("the record was not saved");
  const std::string bytes = slurp(saved_path);
  sys_config_record second;
  if (!load_sys_config(&second, saved_path.c_str())) fail("the saved file did not load");
  if (!same_record(first, second)) fail("a saved record loads differently");
  if (!save_sys_config(&second, saved_path.c_str())) fail("the record was not saved again");
  if (slurp(saved_path) != bytes) fail("saving the loaded record again gives other bytes");
  const kk::adt::string::string direct = sys_config_bytes(first);
  if (direct.size != bytes.size() || (bytes.size() && std::memcmp(direct.data, bytes.data(), bytes.size()) != 0))
    fail("the file saved is not the record's bytes");

  free_sys_config_lists(&first);
  free_sys_config_lists(&second);
  return 0;
}
