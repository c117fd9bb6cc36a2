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

void text_format_set_init(text_format_set& set, unsigned theme) {
  if (theme <= 2) set = text_format_preset_set(theme);
}

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
  for (std::size_t s = 0; s < 3; ++s) {
    for (std::size_t i = 0; i < text_format_set::count; ++i) {
      text_format& t = c.text_formats[s][i];
      const text_format& p = d.text_formats[s][i];
      t.family[sizeof t.family - 1] = 0;
      keep_in(t.red, 0, 255, p.red);
      keep_in(t.green, 0, 255, p.green);
      keep_in(t.blue, 0, 255, p.blue);
      keep_in(t.alpha, 0, 255, p.alpha);
      keep_in(t.point_size, 1, 400, p.point_size);
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
  if (size > 0) std::memcpy(block, data, std::min(size, sys_config_block_size));
  decode_block(block, cfg);
  sanitize_block(cfg);
  if (size <= sys_config_block_size) return;
  std::size_t pos = sys_config_block_size;
  if (take_list(data, size, pos, cfg.open_files)) take_list(data, size, pos, cfg.recent_files);
}

namespace {

// Reads all of fd (at most max_file_bytes); false on a read error.
bool read_all(int fd, std::vector<unsigned char>& bytes) {
  unsigned char chunk[65536];
  while (bytes.size() < max_file_bytes) {
    const std::size_t want = std::min(sizeof chunk, max_file_bytes - bytes.size());
    const ssize_t got = ::read(fd, chunk, want);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  return true;
}

bool write_all(int fd, const char* p, kk::u64 left) {
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    p += n;
    left -= static_cast<kk::u64>(n);
  }
  return true;
}

bool close_checked(int fd) { return ::close(fd) == 0 || errno == EINTR; }

std::string folder_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The file a path names: a symbolic link followed to its target (one that does not exist yet
// too), else the path itself. False with errno set when a link cannot be read or the links
// loop.
bool follow_links(std::string& path) {
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT;
    if (!S_ISLNK(st.st_mode)) return true;
    std::string target(std::size_t(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    for (;;) {
      const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
      if (n < 0) return false;
      if (std::size_t(n) < target.size()) {
        target.resize(std::size_t(n));
        break;
      }
      target.resize(target.size() * 2);  // grew since the lstat
    }
    path = !target.empty() && target[0] == '/' ? target : folder_of(path) + "/" + target;
  }
  errno = ELOOP;
  return false;
}

// The new bytes through a temporary file beside the target, given the target's mode and
// owner, renamed over it. 1 written; 0 failed (the target untouched, errno set); -1 no
// temporary file could be made or given the owner (nothing changed: write in place).
int replace_through_temporary(const std::string& target, const struct stat* old, const char* p, kk::u64 n) {
  std::string tmp = target + ".XXXXXX";
  const int fd = ::mkstemp(tmp.data());
  if (fd < 0) return -1;
  bool ok = true;
  if (old) {
    ok = ::fchmod(fd, old->st_mode & 07777) == 0;
    if (ok) {
      struct stat mine;
      ok = ::fstat(fd, &mine) == 0;
      if (ok && (mine.st_uid != old->st_uid || mine.st_gid != old->st_gid))
        ok = ::fchown(fd, old->st_uid, old->st_gid) == 0;
    }
    if (!ok) {
      ::close(fd);
      ::unlink(tmp.c_str());
      return -1;
    }
  } else {
    // The mode an ordinary creation would give the file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  ok = write_all(fd, p, n) && ::fsync(fd) == 0;
  int err = errno;
  if (!close_checked(fd) && ok) {
    ok = false;
    err = errno;
  }
  if (ok && ::rename(tmp.c_str(), target.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    ::unlink(tmp.c_str());
    errno = err;
  }
  return ok ? 1 : 0;
}

// The new bytes written over the file itself from its start, then cut to their length.
bool write_in_place(const std::string& target, const char* p, kk::u64 n) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) return false;
  bool ok = write_all(fd, p, n) && ::ftruncate(fd, static_cast<off_t>(n)) == 0 && ::fsync(fd) == 0;
  const int err = errno;
  if (!close_checked(fd) && ok) return false;
  errno = err;
  return ok;
}

}  // namespace

bool load_sys_config(sys_config_record* cfg, const char* path) {
  // Non-blocking: opening a fifo must not wait for a writer.
  const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    std::printf("load system config failed, use initial config\n");
    std::fflush(stdout);
    return false;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    std::printf("load system config failed, %s is not a regular file, use initial config\n", path);
    std::fflush(stdout);
    return false;
  }
  std::vector<unsigned char> bytes;
  read_all(fd, bytes);  // a read error keeps what was read, as a short file does
  ::close(fd);
  sys_config_from_bytes(*cfg, bytes.data(), bytes.size());
  return true;
}

bool save_sys_config(const sys_config_record* cfg, const char* path, config_save_failure* why) {
  std::string target = path ? path : "";
  auto failed = [&](config_save_failure::kind_t kind, int err) {
    if (why) *why = {kind, target, err};
    return false;
  };
  kk::adt::string::string bytes;
  try {
    bytes = sys_config_bytes(*cfg);
  } catch (...) {
    return failed(config_save_failure::cannot_write, ENOMEM);
  }
  if (!follow_links(target)) return failed(config_save_failure::cannot_write, errno);
  struct stat st;
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) return failed(config_save_failure::cannot_write, errno);
  if (exists && !S_ISREG(st.st_mode)) return failed(config_save_failure::not_regular, 0);
  const int replaced = replace_through_temporary(target, exists ? &st : nullptr, bytes.data, bytes.size);
  if (replaced == 1) return true;
  if (replaced == 0) return failed(config_save_failure::cannot_write, errno);
  if (!write_in_place(target, bytes.data, bytes.size)) return failed(config_save_failure::cannot_write, errno);
  return true;
}
