// hash_passwd: the library's own deterministic password hash, 32 uppercase hex characters.
// Every constant below is part of the hash's definition: stored hashes can only be checked
// again with exactly these values, so they never change.
#pragma once

#include <cstddef>
#include <span>

#include "adt/string.h"
#include "functions/column.h"
#include "functions/registry.h"

namespace kk::functions {

using bytes = adt::string::string;

// The letters that wrap the password before the first digest. Fixed forever.
inline constexpr char hash_passwd_prefix = 'k';
inline constexpr char hash_passwd_suffix = 'q';
// The two constant texts joined into the hash. Fixed forever.
inline constexpr char hash_passwd_k1[] = "Kw5e_#7tRq;M+z%!";
inline constexpr char hash_passwd_k2[] = "to mqv";

// The whole hash of the bytes [p, p + n): always 32 characters 0-9, A-F.
bytes hash_passwd_text(const char* p, std::size_t n);
// The digest: 32 uppercase hex characters, or the empty text for empty input.
bytes hash_passwd_digest(const char* p, std::size_t n);
// The input lengthened by drawn bytes to a multiple of 64 bytes.
bytes hash_passwd_pad(const char* p, std::size_t n);
// Standard Base64 with '=' padding and no line breaks.
bytes base64_encode(const char* p, std::size_t n);

namespace sql {
// One "string" hash per text of its one argument; a later non-text value hashes as "".
bool hash_passwd(column* result, const column_list* args);
}  // namespace sql

// hash_passwd with its entry.
std::span<const sql_function_def> password_hash_functions();

}  // namespace kk::functions
