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
  if (!path) {
    errno = EINVAL;
    return -1;
  }
  const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  const bool stated = ::fstat(fd, st) == 0;
  if (!stated || !S_ISREG(st->st_mode)) {
    const int why = !stated ? errno : S_ISDIR(st->st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    errno = why;
    return -1;
  }
  return fd;
}

// errno tells why it returned false (a write that took nothing counts as a full disk).
bool write_all(int fd, const char* p, u64 n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, p, n);
    if (w < 0 && errno == EINTR) continue;
    if (w == 0) errno = ENOSPC;
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
  if (!target || !*target) {
    error_ = ENOENT;
    return;
  }
  target_ = kk::adt::string_from_cstr(target);
  // A device or a fifo at the target is written in place: a file renamed over it would
  // replace the node itself. A fifo nobody reads is refused rather than waited for.
  struct stat at {};
  const bool exists = ::stat(target, &at) == 0;
  if (exists && !S_ISREG(at.st_mode) && !S_ISDIR(at.st_mode)) {
    fd_ = ::open(target, O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0) {
      error_ = errno;
      return;
    }
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    ok_ = true;
    return;
  }
  temp_ = kk::adt::string_cat_string_cstr(target_, ".partXXXXXX");
  fd_ = ::mkostemp(temp_.data, O_CLOEXEC);
  if (fd_ < 0) {
    error_ = errno;
    temp_.free();  // nothing was made, nothing to remove
    return;
  }
  // The new file gets the mode an existing target has, else the usual one for new files.
  mode_t mode;
  if (exists) {
    mode = at.st_mode & 07777;
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

bool replacing_writer::fail(int error) {
  if (ok_ || !error_) error_ = error ? error : EIO;
  return ok_ = false;
}

bool replacing_writer::flush() {
  if (ok_ && buffer_.size && !write_all(fd_, buffer_.data, buffer_.size)) fail(errno);
  buffer_.resize(0);
  return ok_;
}

bool replacing_writer::write(const char* p, u64 n) {
  if (!ok_) return false;
  if (buffer_.size + n > write_chunk) {
    if (!flush()) return false;
    if (n >= write_chunk) return write_all(fd_, p, n) || fail(errno);
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
  if (::close(fd) != 0) return fail(errno);
  if (temp_.size == 0) return true;  // written in place
  if (::rename(temp_.data, target_.data) != 0) return fail(errno);
  temp_.free();
  return true;
}
