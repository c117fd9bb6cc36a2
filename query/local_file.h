#pragma once
// Local files of the client-mode transfers.
#include <cstdio>

#include "adt/string.h"
#include "adt/types.h"

// The whole content of a regular file, sized by the bytes read; empty when the path is no
// regular file (a directory or a fifo is refused without blocking) or cannot be read.
kk::adt::string::string read_file(const char* path);

// Size of a regular file in bytes, or -1 when the path is no readable regular file (errno
// then says why; EISDIR or EINVAL for a folder or anything else that is no regular file).
kk::i64 regular_file_size(const char* path);

// True when something exists at the path (readable or not, a dangling link too).
bool local_file_exists(const char* path);

// A file written in full or not at all: the bytes go to a new temporary file in the target's
// folder, every write and the close are checked, and only then is it renamed over the
// target. Until commit() an existing target is untouched; a writer destroyed without a
// successful commit removes its temporary file. A device or a fifo at the target is written
// in place (nothing may be renamed over it).
class replacing_writer {
 public:
  explicit replacing_writer(const char* target);
  ~replacing_writer();
  replacing_writer(const replacing_writer&) = delete;
  replacing_writer& operator=(const replacing_writer&) = delete;

  bool ok() const { return ok_; }
  // The errno of the first step that failed (creating, writing, closing or renaming); 0
  // while nothing failed.
  int error() const { return error_; }
  // Appends bytes (buffered); false once anything failed.
  bool write(const char* p, kk::u64 n);
  // Flushes, closes and renames over the target; false when any step failed.
  bool commit();

 private:
  bool flush();
  kk::adt::string::string target_;
  kk::adt::string::string temp_;
  kk::adt::string::string buffer_;
  bool fail(int error);
  int fd_ = -1;
  bool ok_ = false;
  int error_ = 0;
};
