#include "ui_base/sys_config.h"

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

// The reader's twin: each call fills the field it is given.
struct block_reader {
  const unsigned char* p;
  void bytes(std::size_t at, void* dst, std::size_t n) const { std::memcpy(dst, p + at, n); }
  void b(std::size_t at, u8& v) const { v = p[at]; }
  void w(std::size_t at, u32& v) const { v = word(at); }
  void f(std::size_t at, float& v) const { v = std::bit_cast<float>(word(at)); }
  u32 word(std::size_t at) const {
    u32 v = 0;
    for (int i = 0; i < 4; ++i) v |= u32(p[at + i]) << (8 * i);
    return v;
  }
};

constexpr std::size_t format_size = 92;
constexpr std::size_t set_size = 920;
constexpr std::size_t formats_at = 124;

// Every field of the block at its offset, once for both directions: a block_writer stores
// the fields of a const block, a block_reader fills them in.
template <class Block, class Io>
void walk_block(Block& c, const Io& io) {
  io.w(0, c.language);
  io.w(4, c.icon_size);
  io.bytes(8, c.user, 64);
  io.bytes(72, c.server, 32);
  io.w(104, c.port);
  io.b(108, c.show_db_tree);
  io.b(109, c.show_log);
  io.b(110, c.show_status_bar);
  io.b(111, c.show_tool_bar);
  io.f(112, c.horizontal_factor);
  io.f(116, c.vertical_factor);
  io.w(120, c.theme);
  for (std::size_t s = 0; s < 3; ++s) {
    for (std::size_t i = 0; i < text_format_set::count; ++i) {
      auto& t = c.text_formats[s][i];
      const std::size_t at = formats_at + s * set_size + i * format_size;
      io.bytes(at, t.family, 64);
      io.b(at + 64, t.bold);
      io.b(at + 65, t.italic);
      io.b(at + 66, t.overline);
      io.b(at + 67, t.underline);
      io.b(at + 68, t.strikeout);
      io.w(at + 72, t.red);
      io.w(at + 76, t.green);
      io.w(at + 80, t.blue);
      io.w(at + 84, t.alpha);
      io.w(at + 88, t.point_size);
    }
  }
  io.b(2884, c.show_space);
  io.b(2885, c.insert_as_space);
  io.w(2888, c.tab_width);
  io.f(2892, c.continuous_edit_seconds);
  io.w(2896, c.cursor_width);
  io.b(2900, c.completion);
  io.w(2904, c.completion_least_count);
  io.b(2908, c.completion_only_sql);
  io.b(2909, c.check_update_at_start);
}

void encode_block(const sys_config_block& c, unsigned char* out) {
  std::memset(out, 0, sys_config_block_size);
  walk_block(c, block_writer{out});
}

void decode_block(const unsigned char* in, sys_config_block& c) {
  walk_block(c, block_reader{in});
  for (auto& set : c.text_formats)
    for (auto& t : set.formats) std::memset(t.padding, 0, sizeof t.padding);
  std::memset(c.padding_2886, 0, sizeof c.padding_2886);
  std::memset(c.padding_2901, 0, sizeof c.padding_2901);
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
    v = block_reader{data + pos}.word(0);
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
