#pragma once
// Byte string {data, size, capacity} and the non-owning byte view text_view.
//
// The string owns its buffer, is NUL-terminated once it has one (data null and capacity 0
// before) and copies deeply. capacity counts the NUL. Growth beyond capacity allocates
// 2 * (needed size + 1) bytes, the very first buffer exactly needed size + 1; shrinking
// keeps the buffer. Comparison is by bytes taken as signed chars.
#include <string_view>

#include "adt/types.h"

namespace kk::adt {

// Pointer and length of bytes the view does not own.
struct text_view {
  const char* data;
  u64 size;
};
static_assert(sizeof(text_view) == 2 * sizeof(void*));

// The view of a NUL-terminated text (a null pointer gives an empty view).
text_view cstr_view(const char* s) noexcept;

namespace string {

// End of a range and the result of a failed search.
inline constexpr u64 npos = ~u64(0);

struct string {
  char* data = nullptr;
  u64 size = 0;
  u64 capacity = 0;

  static constexpr u64 npos = ~u64(0);

  string() noexcept = default;
  string(const string& src);  // a fresh copy has capacity src.size + 1
  string(string&& src) noexcept;
  string& operator=(const string& src);  // assign: reuses the buffer when large enough
  string& operator=(string&& src) noexcept;
  ~string() { free(); }

  // size becomes n; new bytes in [old size, n) are `fill`; returns the buffer.
  char* resize(u64 n, char fill = 0);
  void push_back(char c) {
    if (size + 1 < capacity) {  // fits: the common case stays inline
      data[size] = c;
      data[++size] = 0;
    } else {
      grow_push_back(c);
    }
  }
  string& assign(const string& src);
  // Removes bytes [first, last], both inclusive; false and no change unless first <= last < size.
  bool erase(u64 first, u64 last);
  // Releases the buffer and leaves an empty string (all three words 0).
  void free() noexcept;

  text_view view() const noexcept { return {data, size}; }

 private:
  void grow_push_back(char c);
};
static_assert(sizeof(string) == 3 * sizeof(void*));

// The same operations as free functions.
char* resize(string& s, u64 n, char fill = 0);
void push_back(string& s, char c);
string& assign(string& target, const string& src);
bool erase(string& s, u64 first, u64 last);
void free(string& s) noexcept;

string string_copy(const string& src);
string string_from_std(std::string_view src);
string string_from_bytes(const char* p, u64 n);
string string_from_cstr(const char* s);  // null counts as empty

// Arrays of strings with an element count before the first element.
string* string_array_new(u64 n);
void string_array_delete(string*& array) noexcept;  // releases last to first, nulls the pointer

// Exchanges the contents; each side keeps its buffer (and capacity) when the other fits.
void string_swap(string& a, string& b);

// Three-way comparison over signed bytes: at the first difference i, i + 1 when a's byte is
// greater, ~i when smaller; on an equal prefix ~m when a (length m) is shorter, k + 1 when b
// (length k) is shorter, 0 when equal.
i64 string_compare(const string& a, const string& b) noexcept;
i64 string_compare_n(const string& a, const char* b, u64 b_len) noexcept;
i64 text_compare(text_view a, text_view b) noexcept;

// Concatenations: a fresh string with capacity exactly size + 1; a null C text is empty.
string string_cat(const string& a, const string& b);
string string_cat_string_cstr(const string& a, const char* b);
string string_cat_cstr_string(const char* a, const string& b);

}  // namespace string

using string::string_array_delete;
using string::string_array_new;
using string::string_cat;
using string::string_cat_cstr_string;
using string::string_cat_string_cstr;
using string::string_compare;
using string::string_compare_n;
using string::string_copy;
using string::string_from_bytes;
using string::string_from_cstr;
using string::string_from_std;
using string::string_swap;
using string::text_compare;

// Narrows the view in place: leading spaces, trailing spaces, leading tabs, trailing tabs,
// in this order (so a tab between spaces at an end stays).
void str_trim_blank(text_view& v) noexcept;

}  // namespace kk::adt
