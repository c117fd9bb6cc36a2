#pragma once
// A whole file's bytes.
#include "adt/string.h"

// The bytes of the file at `path`; an empty string when it cannot be opened or read.
kk::adt::string::string read_file(const char* path);
