#include "query/local_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using kk::u64;
using kk::adt::string::string;

namespace {

// Opens without blocking (a fifo without writer would block a plain open) and keeps the
// descriptor only for a regular file.
int open_regular(const char* path, struct stat* st) {
  if (!path) return -1;
  const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  if (::fstat(fd, st) != 0 || !S_ISREG(st->st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool write_all(int fd, const char* p, u64 n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, p, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    p += w;
    n -= u64(w);
  }
  return true;
}

constexpr u64 write_chunk = 1u << 20;

}  // namespace

string read_file(const char* path) {
  struct stat st {};
  const int fd = open_regular(path, &st);
  if (fd < 0) return string();
  string out;
  u64 size = 0;
  // The size the file had is only a first guess: the bytes read count.
  u64 room = st.st_size > 0 ? u64(st.st_size) + 1 : 4096;
  out.resize(room);
  for (;;) {
    if (size == room) {
      room *= 2;
      out.resize(room);
    }
    const ssize_t r = ::read(fd, out.data + size, room - size);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) {
      ::close(fd);
      return string();
    }
    if (r == 0) break;
    size += u64(r);
  }
  ::close(fd);
  out.resize(size);
  return out;
}

kk::i64 regular_file_size(const char* path) {
  struct stat st {};
  const int fd = open_regular(path, &st);
  if (fd < 0) return -1;
  ::close(fd);
  return kk::i64(st.st_size);
}

bool local_file_exists(const char* path) {
  // Anything at the path counts, also a file this user may not read: it must not be
  // replaced unless replacing was asked for.
  struct stat st {};
  return path && ::lstat(path, &st) == 0;
}

replacing_writer::replacing_writer(const char* target) {
  if (!target || !*target) return;
  target_ = kk::adt::string_from_cstr(target);
  temp_ = kk::adt::string_cat_string_cstr(target_, ".partXXXXXX");
  fd_ = ::mkostemp(temp_.data, O_CLOEXEC);
  if (fd_ < 0) return;
  // The new file gets the mode an existing target has, else the usual one for new files.
  struct stat st {};
  mode_t mode;
  if (::stat(target, &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(fd_, mode);
  ok_ = true;
}

replacing_writer::~replacing_writer() {
  if (fd_ >= 0) ::close(fd_);
  if (temp_.size) ::unlink(temp_.data);
}

bool replacing_writer::flush() {
  if (ok_ && buffer_.size) ok_ = write_all(fd_, buffer_.data, buffer_.size);
  buffer_.resize(0);
  return ok_;
}

bool replacing_writer::write(const char* p, u64 n) {
  if (!ok_) return false;
  if (buffer_.size + n > write_chunk) {
    if (!flush()) return false;
    if (n >= write_chunk) return ok_ = write_all(fd_, p, n);
  }
  const u64 at = buffer_.size;
  buffer_.resize(at + n);
  if (n) std::memcpy(buffer_.data + at, p, n);
  return true;
}

bool replacing_writer::commit() {
  if (!flush()) return false;
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return ok_ = false;
  if (::rename(temp_.data, target_.data) != 0) return ok_ = false;
  temp_.free();
  return true;
}
