#pragma once
// Growable array {data, size, capacity} that owns its elements.
//
// resize(n) beyond capacity grows to 2n, push_back to 2 * (size + 1). Elements past the
// size stay alive and keep their contents, also across reallocation (the whole old storage
// is carried over). Plain element types live in a zero-filled block; types with a
// constructor or destructor live in a counted array (see adt/memory.h). A growth that
// fails leaves the vector as it was.
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

#include "adt/memory.h"
#include "adt/string.h"
#include "adt/types.h"

namespace kk::adt {

template <class T>
inline constexpr bool vector_plain = std::is_trivially_copyable_v<T> &&
                                     std::is_trivially_default_constructible_v<T> &&
                                     std::is_trivially_destructible_v<T>;

template <class T>
struct vector {
  T* data = nullptr;
  u64 size = 0;
  u64 capacity = 0;

  vector() noexcept = default;
  // The copy's capacity is twice its size, like any resize from empty.
  vector(const vector& src) { copy_from(src); }
  vector(vector&& src) noexcept : data(src.data), size(src.size), capacity(src.capacity) {
    src.data = nullptr;
    src.size = 0;
    src.capacity = 0;
  }
  vector& operator=(const vector& src) {
    if (this != &src) copy_from(src);
    return *this;
  }
  vector& operator=(vector&& src) noexcept {
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
  ~vector() { free(); }

  void resize(u64 n) {
    if (n > capacity) {
      if (n > ~u64(0) / 2) throw std::bad_alloc();
      grow(2 * n);
    }
    size = n;
  }

  // x may be an element of this vector.
  void push_back(const T& x) {
    if (size + 1 > capacity) {
      T keep(x);
      grow(grown_capacity());
      data[size] = std::move(keep);
    } else {
      data[size] = x;
    }
    ++size;
  }
  void push_back(T&& x) {
    if (size + 1 > capacity) {
      T keep(std::move(x));
      grow(grown_capacity());
      data[size] = std::move(keep);
    } else {
      data[size] = std::move(x);
    }
    ++size;
  }

  // Releases the storage and every element; all three words become 0.
  void free() noexcept {
    if (data) {
      if constexpr (vector_plain<T>)
        mem_free(data);
      else
        counted_delete(data);
    }
    data = nullptr;
    size = 0;
    capacity = 0;
  }

  T& operator[](u64 i) noexcept { return data[i]; }
  const T& operator[](u64 i) const noexcept { return data[i]; }
  T* begin() noexcept { return data; }
  T* end() noexcept { return data + size; }
  const T* begin() const noexcept { return data; }
  const T* end() const noexcept { return data + size; }

 private:
  u64 grown_capacity() const {
    if (size >= ~u64(0) / 2) throw std::bad_alloc();
    return 2 * (size + 1);
  }

  // New storage of `cap` elements holding the whole old storage; the old one is released.
  void grow(u64 cap) {
    if constexpr (vector_plain<T>) {
      T* block = static_cast<T*>(mem_alloc_zeroed(mem_bytes(cap, sizeof(T))));
      if (data) {
        std::memcpy(static_cast<void*>(block), data, capacity * sizeof(T));
        mem_free(data);
      }
      data = block;
    } else {
      T* block = counted_new<T>(cap);
      try {
        for (u64 i = 0; i < capacity; ++i) {
          if constexpr (std::is_nothrow_move_assignable_v<T>)
            block[i] = std::move(data[i]);
          else
            block[i] = data[i];
        }
      } catch (...) {
        counted_delete(block);
        throw;
      }
      counted_delete(data);
      data = block;
    }
    capacity = cap;
  }

  void copy_from(const vector& src) {
    resize(src.size);
    for (u64 i = 0; i < src.size; ++i) data[i] = src.data[i];
  }
};
static_assert(sizeof(vector<u64>) == 3 * sizeof(void*));
static_assert(sizeof(vector<string::string>) == 3 * sizeof(void*));

// Element types of the library's own instances: a byte range of a text and a pair of words.
struct byte_range {
  u32 start;
  u32 end;
};
struct pair {
  u64 first = 0;
  u64 second = 0;
};

// Element i becomes a copy of t after the vector is resized to i + 1 elements (later
// elements dropped; one added when i == size). An index above the size is refused: false.
bool doc_set_string_entry(vector<string::string>& v, u64 i, text_view t);

}  // namespace kk::adt
