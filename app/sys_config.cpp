#include "app/sys_config.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using kk::u32;
using kk::u8;

sys_config_record sys_config;

void text_format_set_init(text_format_set& set) { set = text_format_set{}; }

void sys_config_defaults(sys_config_block& cfg) { cfg = sys_config_block{}; }

void free_sys_config_lists(sys_config_record* cfg) {
  cfg->open_files.clear();
  cfg->recent_files.clear();
}

namespace {

// At most this much of a file is read: beyond it the file counts as damaged.
constexpr std::size_t max_file_bytes = std::size_t(64) << 20;

// Little-endian writer over the block's bytes at fixed offsets.
struct block_writer {
  unsigned char* p;
  void bytes(std::size_t at, const void* src, std::size_t n) const { std::memcpy(p + at, src, n); }
  void b(std::size_t at, u8 v) const { p[at] = v; }
  void w(std::size_t at, u32 v) const {
    for (int i = 0; i < 4; ++i) p[at + i] = static_cast<unsigned char>(v >> (8 * i));
  }
  void f(std::size_t at, float v) const { w(at, std::bit_cast<u32>(v)); }
};

struct block_reader {
  const unsigned char* p;
  void bytes(std::size_t at, void* dst, std::size_t n) const { std::memcpy(dst, p + at, n); }
  u8 b(std::size_t at) const { return p[at]; }
  u32 w(std::size_t at) const {
    u32 v = 0;
    for (int i = 0; i < 4; ++i) v |= u32(p[at + i]) << (8 * i);
    return v;
  }
  float f(std::size_t at) const { return std::bit_cast<float>(w(at)); }
};

constexpr std::size_t format_size = 92;
constexpr std::size_t set_size = 920;
constexpr std::size_t formats_at = 124;

void encode_block(const sys_config_block& c, unsigned char* out) {
  std::memset(out, 0, sys_config_block_size);
  block_writer o{out};
  o.w(0, c.language);
  o.w(4, c.icon_size);
  o.bytes(8, c.user, 64);
  o.bytes(72, c.server, 32);
  o.w(104, c.port);
  o.b(108, c.show_db_tree);
  o.b(109, c.show_log);
  o.b(110, c.show_status_bar);
  o.b(111, c.show_tool_bar);
  o.f(112, c.horizontal_factor);
  o.f(116, c.vertical_factor);
  o.w(120, c.theme);
  for (std::size_t s = 0; s < 3; ++s) {
    for (std::size_t i = 0; i < text_format_set::count; ++i) {
      const text_format& t = c.text_formats[s][i];
      const std::size_t at = formats_at + s * set_size + i * format_size;
      o.bytes(at, t.family, 64);
      o.b(at + 64, t.bold);
      o.b(at + 65, t.italic);
      o.b(at + 66, t.overline);
      o.b(at + 67, t.underline);
      o.b(at + 68, t.strikeout);
      o.w(at + 72, t.red);
      o.w(at + 76, t.green);
      o.w(at + 80, t.blue);
      o.w(at + 84, t.alpha);
      o.w(at + 88, t.point_size);
    }
  }
  o.b(2884, c.show_space);
  o.b(2885, c.insert_as_space);
  o.w(2888, c.tab_width);
  o.f(2892, c.continuous_edit_seconds);
  o.w(2896, c.cursor_width);
  o.b(2900, c.completion);
  o.w(2904, c.completion_least_count);
  o.b(2908, c.completion_only_sql);
  o.b(2909, c.check_update_at_start);
}

void decode_block(const unsigned char* in, sys_config_block& c) {
  block_reader r{in};
  c.language = r.w(0);
  c.icon_size = r.w(4);
  r.bytes(8, c.user, 64);
  r.bytes(72, c.server, 32);
  c.port = r.w(104);
  c.show_db_tree = r.b(108);
  c.show_log = r.b(109);
  c.show_status_bar = r.b(110);
  c.show_tool_bar = r.b(111);
  c.horizontal_factor = r.f(112);
  c.vertical_factor = r.f(116);
  c.theme = r.w(120);
  for (std::size_t s = 0; s < 3; ++s) {
    for (std::size_t i = 0; i < text_format_set::count; ++i) {
      text_format& t = c.text_formats[s][i];
      const std::size_t at = formats_at + s * set_size + i * format_size;
      r.bytes(at, t.family, 64);
      t.bold = r.b(at + 64);
      t.italic = r.b(at + 65);
      t.overline = r.b(at + 66);
      t.underline = r.b(at + 67);
      t.strikeout = r.b(at + 68);
      std::memset(t.padding, 0, sizeof t.padding);
      t.red = r.w(at + 72);
      t.green = r.w(at + 76);
      t.blue = r.w(at + 80);
      t.alpha = r.w(at + 84);
      t.point_size = r.w(at + 88);
    }
  }
  c.show_space = r.b(2884);
  c.insert_as_space = r.b(2885);
  std::memset(c.padding_2886, 0, sizeof c.padding_2886);
  c.tab_width = r.w(2888);
  c.continuous_edit_seconds = r.f(2892);
  c.cursor_width = r.w(2896);
  c.completion = r.b(2900);
  std::memset(c.padding_2901, 0, sizeof c.padding_2901);
  c.completion_least_count = r.w(2904);
  c.completion_only_sql = r.b(2908);
  c.check_update_at_start = r.b(2909);
  std::memset(c.padding_2910, 0, sizeof c.padding_2910);
}

void keep_in(u32& v, u32 lo, u32 hi, u32 def) {
  if (v < lo || v > hi) v = def;
}
void keep_in(float& v, float lo, float hi, float def) {
  if (!std::isfinite(v) || v < lo || v > hi) v = def;
}

// Texts end within their field; numbers outside what the program can produce take their
// defaults. Language and icon size keep any value: the program ignores unknown ones.
void sanitize_block(sys_config_block& c) {
  const sys_config_block d;
  c.user[sizeof c.user - 1] = 0;
  c.server[sizeof c.server - 1] = 0;
  keep_in(c.port, 1, 65535, d.port);
  keep_in(c.horizontal_factor, 0.0f, 2.0f, d.horizontal_factor);
  keep_in(c.vertical_factor, 0.0f, 6.0f, d.vertical_factor);
  keep_in(c.theme, 0, 2, d.theme);
  for (auto& set : c.text_formats) {
    for (auto& t : set.formats) {
      t.family[sizeof t.family - 1] = 0;
      keep_in(t.red, 0, 255, 0);
      keep_in(t.green, 0, 255, 0);
      keep_in(t.blue, 0, 255, 0);
      keep_in(t.alpha, 0, 255, 255);
      keep_in(t.point_size, 1, 400, 12);
    }
  }
  keep_in(c.tab_width, 1, 64, d.tab_width);
  keep_in(c.continuous_edit_seconds, 0.0f, 20.0f, d.continuous_edit_seconds);
  keep_in(c.cursor_width, 0, 4, d.cursor_width);
  keep_in(c.completion_least_count, 0, 6, d.completion_least_count);
}

void put_u32(kk::adt::string::string& s, u32 v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>(v >> (8 * i)));
}

void put_list(kk::adt::string::string& s, const kk::adt::list<kk::adt::string::string>& l) {
  put_u32(s, static_cast<u32>(l.count));
  for (auto* n = l.head; n; n = n->next) {
    put_u32(s, static_cast<u32>(n->value.size));
    for (kk::u64 i = 0; i < n->value.size; ++i) s.push_back(n->value.data[i]);
  }
}

// Reads one list at `pos`; false when it ran past the end (what was read stays appended).
bool take_list(const unsigned char* data, std::size_t size, std::size_t& pos,
               kk::adt::list<kk::adt::string::string>& out) {
  auto word = [&](u32& v) {
    if (size - pos < 4) return false;
    v = block_reader{data + pos}.w(0);
    pos += 4;
    return true;
  };
  u32 count = 0;
  if (!word(count)) return false;
  if (static_cast<kk::i32>(count) <= 0) return true;
  for (u32 i = 0; i < count; ++i) {
    u32 len = 0;
    if (!word(len)) return false;
    if (len > size - pos) return false;
    const char* p = reinterpret_cast<const char*>(data + pos);
    // A path ends at its first NUL, as a C path would.
    out.push_back(kk::adt::string_from_bytes(p, ::strnlen(p, len)));
    pos += len;
  }
  return true;
}

}  // namespace

kk::adt::string::string sys_config_bytes(const sys_config_record& cfg) {
  kk::adt::string::string s;
  s.resize(sys_config_block_size);
  encode_block(cfg, reinterpret_cast<unsigned char*>(s.data));
  put_list(s, cfg.open_files);
  put_list(s, cfg.recent_files);
  return s;
}

void sys_config_from_bytes(sys_config_record& cfg, const unsigned char* data, std::size_t size) {
  // Bytes the file does not hold keep the record's values.
  unsigned char block[sys_config_block_size];
  encode_block(cfg, block);
  std::memcpy(block, data, std::min(size, sys_config_block_size));
  decode_block(block, cfg);
  sanitize_block(cfg);
  if (size <= sys_config_block_size) return;
  std::size_t pos = sys_config_block_size;
  if (take_list(data, size, pos, cfg.open_files)) take_list(data, size, pos, cfg.recent_files);
}

bool load_sys_config(sys_config_record* cfg, const char* path) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) {
    std::printf("load system config failed, use initial config\n");
    std::fflush(stdout);
    return false;
  }
  std::vector<unsigned char> bytes;
  unsigned char chunk[65536];
  while (bytes.size() < max_file_bytes) {
    const std::size_t want = std::min(sizeof chunk, max_file_bytes - bytes.size());
    const std::size_t got = std::fread(chunk, 1, want, f);
    bytes.insert(bytes.end(), chunk, chunk + got);
    if (got < want) break;
  }
  std::fclose(f);
  sys_config_from_bytes(*cfg, bytes.data(), bytes.size());
  return true;
}

bool save_sys_config(const sys_config_record* cfg, const char* path) {
  kk::adt::string::string bytes;
  try {
    bytes = sys_config_bytes(*cfg);
  } catch (...) {
    return false;
  }
  std::string tmp = std::string(path) + ".XXXXXX";
  const int fd = ::mkstemp(tmp.data());
  if (fd < 0) return false;
  // The file keeps the permissions an ordinary creation would give it.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  bool ok = true;
  const char* p = bytes.data;
  kk::u64 left = bytes.size;
  while (ok && left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    p += n;
    left -= static_cast<kk::u64>(n);
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && std::rename(tmp.c_str(), path) != 0) ok = false;
  if (!ok) std::remove(tmp.c_str());
  return ok;
}
