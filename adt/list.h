#pragma once
// Doubly linked lists.
//
// list<T> {head, tail, count} owns its nodes {value, prev, next} and their values (deep
// copies). A list of pointers, list<T*>, is two words {head, tail} without a count; its
// nodes {pointer, prev, next} do not own what they point to. head->prev and tail->next
// are null.
#include <new>
#include <utility>

#include "adt/memory.h"
#include "adt/types.h"

namespace kk::adt {

template <class T>
struct list_node {
  T value;
  list_node* prev;
  list_node* next;
};

template <class T>
list_node<T>* list_node_new(list_node<T>* prev, list_node<T>* next, const T& value) {
  void* mem = mem_alloc(sizeof(list_node<T>));
  try {
    return ::new (mem) list_node<T>{value, prev, next};
  } catch (...) {
    mem_free(mem);
    throw;
  }
}

template <class T>
void list_node_delete(list_node<T>* n) noexcept {
  n->~list_node<T>();
  mem_free(n);
}

// Links n (prev and next null) after the tail.
template <class T>
void list_link_back(list_node<T>*& head, list_node<T>*& tail, list_node<T>* n) noexcept {
  if (!tail) {
    head = tail = n;
  } else {
    tail->next = n;
    n->prev = tail;
    tail = n;
  }
}

template <class T>
void list_free_nodes(list_node<T>*& head, list_node<T>*& tail) noexcept {
  for (list_node<T>* n = head; n;) {
    list_node<T>* next = n->next;
    list_node_delete(n);
    n = next;
  }
  head = tail = nullptr;
}

template <class T>
struct list {
  using node = list_node<T>;
  node* head = nullptr;
  node* tail = nullptr;
  u64 count = 0;

  list() noexcept = default;
  list(const list& src) { append_all(src); }
  list(list&& src) noexcept : head(src.head), tail(src.tail), count(src.count) {
    src.head = src.tail = nullptr;
    src.count = 0;
  }
  list& operator=(const list& src) {
    if (this != &src) {
      list copy(src);
      *this = std::move(copy);
    }
    return *this;
  }
  list& operator=(list&& src) noexcept {
    if (this != &src) {
      clear();
      head = src.head;
      tail = src.tail;
      count = src.count;
      src.head = src.tail = nullptr;
      src.count = 0;
    }
    return *this;
  }
  ~list() { clear(); }

  // A copy of x after the tail. On allocation failure the list is unchanged.
  void push_back(const T& x) {
    list_link_back(head, tail, list_node_new<T>(nullptr, nullptr, x));
    ++count;
  }
  // A copy of x before the head. On allocation failure the list is unchanged.
  void push_front(const T& x) {
    node* n = list_node_new<T>(nullptr, head, x);
    (head ? head->prev : tail) = n;
    head = n;
    ++count;
  }
  // Unlinks and frees n (a node of this list) with its value; the node that followed it.
  node* erase(node* n) noexcept {
    node* next = n->next;
    (n->prev ? n->prev->next : head) = next;
    (next ? next->prev : tail) = n->prev;
    list_node_delete(n);
    --count;
    return next;
  }
  // Frees every node and its value; head, tail and count become null, null, 0.
  void clear() noexcept {
    list_free_nodes(head, tail);
    count = 0;
  }

 private:
  void append_all(const list& src) {
    try {
      for (node* n = src.head; n; n = n->next) push_back(n->value);
    } catch (...) {
      clear();
      throw;
    }
  }
};

template <class T>
struct list<T*> {
  using node = list_node<T*>;
  node* head = nullptr;
  node* tail = nullptr;

  list() noexcept = default;
  list(const list& src) {
    try {
      for (node* n = src.head; n; n = n->next) push_back(n->value);
    } catch (...) {
      clear();
      throw;
    }
  }
  list(list&& src) noexcept : head(src.head), tail(src.tail) { src.head = src.tail = nullptr; }
  list& operator=(const list& src) {
    if (this != &src) {
      list copy(src);
      *this = std::move(copy);
    }
    return *this;
  }
  list& operator=(list&& src) noexcept {
    if (this != &src) {
      clear();
      head = src.head;
      tail = src.tail;
      src.head = src.tail = nullptr;
    }
    return *this;
  }
  ~list() { clear(); }

  void push_back(T* p) { list_link_back(head, tail, list_node_new<T*>(nullptr, nullptr, p)); }
  void push_front(T* p) {
    node* n = list_node_new<T*>(nullptr, head, p);
    if (head)
      head->prev = n;
    else
      tail = n;
    head = n;
  }
  // Takes the head node off and returns its pointer; null when the list is empty.
  T* pop_front() noexcept {
    node* n = head;
    if (!n) return nullptr;
    head = n->next;
    if (head)
      head->prev = nullptr;
    else
      tail = nullptr;
    T* p = n->value;
    list_node_delete(n);
    return p;
  }
  bool empty() const noexcept { return head == nullptr; }
  // Frees the nodes, not the objects they point to.
  void clear() noexcept { list_free_nodes(head, tail); }
};

template <class T>
void list_push_back(list<T>& l, const T& x) {
  l.push_back(x);
}
template <class T>
void list_clear(list<T>& l) noexcept {
  l.clear();
}
template <class T>
void list_push_front(list<T*>& l, T* p) {
  l.push_front(p);
}
template <class T>
T* list_pop_front(list<T*>& l) noexcept {
  return l.pop_front();
}

static_assert(sizeof(list<int>) == 3 * sizeof(void*));
static_assert(sizeof(list<void*>) == 2 * sizeof(void*));
static_assert(sizeof(list_node<void*>) == 3 * sizeof(void*));

}  // namespace kk::adt
