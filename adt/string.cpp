#include "adt/string.h"

#include <cstring>
#include <new>

#include "adt/memory.h"

namespace kk::adt {

text_view cstr_view(const char* s) noexcept { return {s, s ? std::strlen(s) : 0}; }

namespace string {

string::string(const string& src) {
  resize(src.size, 0);
  if (src.size) std::memcpy(data, src.data, src.size);
}

string::string(string&& src) noexcept : data(src.data), size(src.size), capacity(src.capacity) {
  src.data = nullptr;
  src.size = 0;
  src.capacity = 0;
}

string& string::operator=(const string& src) { return assign(src); }

string& string::operator=(string&& src) noexcept {
  if (this != &src) {
    free();
    data = src.data;
    size = src.size;
    capacity = src.capacity;
    src.data = nullptr;
    src.size = 0;
    src.capacity = 0;
  }
  return *this;
}

char* string::resize(u64 n, char fill) {
  if (n < capacity) {  // n + 1 <= capacity: the buffer stays
    if (n > size) std::memset(data + size, fill, n - size);
    size = n;
    data[n] = 0;
    return data;
  }
  if (n == npos) throw std::bad_alloc();
  const u64 need = n + 1;
  // Doubling that would overflow falls back to the exact size.
  const u64 cap = (capacity == 0 || need > npos / 2) ? need : 2 * need;
  char* block = static_cast<char*>(mem_alloc(cap));  // throws with the old buffer intact
  if (data) {
    if (size) std::memcpy(block, data, size);
    mem_free(data);
  }
  data = block;
  capacity = cap;
  std::memset(data + size, fill, cap - size);
  size = n;
  data[n] = 0;
  return data;
}

void string::grow_push_back(char c) {
  resize(size + 1, 0);
  data[size - 1] = c;
}

string& string::assign(const string& src) {
  if (this == &src) return *this;
  resize(src.size, 0);
  if (src.size) std::memcpy(data, src.data, src.size);
  return *this;
}

bool string::erase(u64 first, u64 last) {
  if (!(first <= last && last < size)) return false;
  const u64 n = last - first + 1;
  std::memmove(data + first, data + last + 1, size - last - 1);
  resize(size - n, 0);
  return true;
}

void string::free() noexcept {
  if (data) mem_free(data);
  data = nullptr;
  size = 0;
  capacity = 0;
}

char* resize(string& s, u64 n, char fill) { return s.resize(n, fill); }
void push_back(string& s, char c) { s.push_back(c); }
string& assign(string& target, const string& src) { return target.assign(src); }
bool erase(string& s, u64 first, u64 last) { return s.erase(first, last); }
void free(string& s) noexcept { s.free(); }

string string_copy(const string& src) { return string(src); }

string string_from_bytes(const char* p, u64 n) {
  string s;
  s.resize(n, 0);
  if (n) std::memcpy(s.data, p, n);
  return s;
}

string string_from_std(std::string_view src) { return string_from_bytes(src.data(), src.size()); }

string string_from_cstr(const char* s) {
  text_view v = cstr_view(s);
  return string_from_bytes(v.data, v.size);
}

string* string_array_new(u64 n) { return counted_new<string>(n); }

void string_array_delete(string*& array) noexcept {
  counted_delete(array);
  array = nullptr;
}

void string_swap(string& a, string& b) {
  if (&a == &b) return;
  string t(a);
  a.assign(b);
  b.assign(t);
}

static i64 compare_bytes(const char* a, u64 m, const char* b, u64 k) noexcept {
  const u64 n = m < k ? m : k;
  for (u64 i = 0; i < n; ++i) {
    const signed char x = static_cast<signed char>(a[i]);
    const signed char y = static_cast<signed char>(b[i]);
    if (x != y) return x > y ? static_cast<i64>(i + 1) : ~static_cast<i64>(i);
  }
  if (m < k) return ~static_cast<i64>(m);
  if (m == k) return 0;
  return static_cast<i64>(k + 1);
}

i64 string_compare(const string& a, const string& b) noexcept {
  return compare_bytes(a.data, a.size, b.data, b.size);
}

i64 string_compare_n(const string& a, const char* b, u64 b_len) noexcept {
  return compare_bytes(a.data, a.size, b, b_len);
}

i64 text_compare(text_view a, text_view b) noexcept { return compare_bytes(a.data, a.size, b.data, b.size); }

static string cat_bytes(const char* a, u64 m, const char* b, u64 k) {
  if (m > npos - 1 - k) throw std::bad_alloc();
  string r;
  r.resize(m + k, 0);
  if (m) std::memcpy(r.data, a, m);
  if (k) std::memcpy(r.data + m, b, k);
  return r;
}

string string_cat(const string& a, const string& b) { return cat_bytes(a.data, a.size, b.data, b.size); }

string string_cat_string_cstr(const string& a, const char* b) {
  text_view v = cstr_view(b);
  return cat_bytes(a.data, a.size, v.data, v.size);
}

string string_cat_cstr_string(const char* a, const string& b) {
  text_view v = cstr_view(a);
  return cat_bytes(v.data, v.size, b.data, b.size);
}

}  // namespace string

void str_trim_blank(text_view& v) noexcept {
  while (v.size && v.data[0] == ' ') ++v.data, --v.size;
  while (v.size && v.data[v.size - 1] == ' ') --v.size;
  while (v.size && v.data[0] == '\t') ++v.data, --v.size;
  while (v.size && v.data[v.size - 1] == '\t') --v.size;
}

}  // namespace kk::adt
