#pragma once
// AVL trees with parent links, used as sets (key only) and maps (key and value).
//
// A tree is one word, its root. Nodes are {parent, left, right, key, [value,] balance}
// where balance = height(left) - height(right) stored as a byte: 1, 0 or 255 (-1); 2 and
// 254 only between an update and its rebalancing. Keys are unique (tree::insert_multi puts
// an equal key to the right of its equals, in insertion order). String and view keys order
// by the sign of string_compare (signed bytes, a proper prefix first); u64 keys unsigned.
// A custom order is a struct with `probe` (the type searched with), `key_of(const K&)` and
// `compare(probe, probe)` returning <0, 0 or >0.
#include <new>
#include <type_traits>
#include <utility>

#include "adt/memory.h"
#include "adt/string.h"
#include "adt/types.h"

namespace kk::adt {

template <class K>
struct tree_order;

template <>
struct tree_order<u64> {
  using probe = u64;
  static u64 key_of(u64 k) noexcept { return k; }
  static int compare(u64 a, u64 b) noexcept { return a < b ? -1 : (a > b ? 1 : 0); }
};

struct tree_text_order {
  using probe = text_view;
  static int compare(text_view a, text_view b) noexcept {
    const i64 c = text_compare(a, b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
};

template <>
struct tree_order<string::string> : tree_text_order {
  static text_view key_of(const string::string& k) noexcept { return k.view(); }
};

template <>
struct tree_order<text_view> : tree_text_order {
  static text_view key_of(text_view k) noexcept { return k; }
};

template <class K, class V>
struct tree_node {
  tree_node* parent;
  tree_node* left;
  tree_node* right;
  K key;
  V value;
  u8 balance;
};

template <class K>
struct tree_node<K, void> {
  tree_node* parent;
  tree_node* left;
  tree_node* right;
  K key;
  u8 balance;
};

template <class N>
inline i8 tree_balance(const N* n) noexcept {
  return static_cast<i8>(n->balance);
}
template <class N>
inline void tree_set_balance(N* n, int b) noexcept {
  n->balance = static_cast<u8>(static_cast<i8>(b));
}

// n is the right child of p: n rises into p's place, p becomes n's left child. Balance
// bytes and the root pointer are not touched.
template <class N>
void tree_rotate_left(N* n) noexcept {
  N* p = n->parent;
  N* g = p->parent;
  p->right = n->left;
  if (n->left) n->left->parent = p;
  n->left = p;
  if (g) (g->left == p ? g->left : g->right) = n;
  n->parent = g;
  p->parent = n;
}

template <class N>
void tree_rotate_right(N* n) noexcept {
  N* p = n->parent;
  N* g = p->parent;
  p->left = n->right;
  if (n->right) n->right->parent = p;
  n->right = p;
  if (g) (g->left == p ? g->left : g->right) = n;
  n->parent = g;
  p->parent = n;
}

// x's balance is 2 or -2: rotates and returns the root of the rebalanced subtree.
template <class N>
N* tree_rebalance(N* x) noexcept {
  const i8 b = tree_balance(x);
  if (b == 2) {
    N* l = x->left;
    const i8 lb = tree_balance(l);
    if (lb == 1 || lb == 0) {
      tree_rotate_right(l);
      tree_set_balance(l, lb == 1 ? 0 : -1);
      tree_set_balance(x, lb == 1 ? 0 : 1);
      return l;
    }
    N* g = l->right;
    const i8 gb = tree_balance(g);
    tree_rotate_left(g);
    tree_rotate_right(g);
    tree_set_balance(l, gb == -1 ? 1 : 0);
    tree_set_balance(x, gb == 1 ? -1 : 0);
    tree_set_balance(g, 0);
    return g;
  }
  if (b == -2) {
    N* r = x->right;
    const i8 rb = tree_balance(r);
    if (rb == -1 || rb == 0) {
      tree_rotate_left(r);
      tree_set_balance(r, rb == -1 ? 0 : 1);
      tree_set_balance(x, rb == -1 ? 0 : -1);
      return r;
    }
    N* g = r->left;
    const i8 gb = tree_balance(g);
    tree_rotate_right(g);
    tree_rotate_left(g);
    tree_set_balance(r, gb == 1 ? -1 : 0);
    tree_set_balance(x, gb == -1 ? 1 : 0);
    tree_set_balance(g, 0);
    return g;
  }
  return x;
}

template <class N>
N* tree_root_of(N* n) noexcept {
  while (n->parent) n = n->parent;
  return n;
}

// Retraces the balance bytes upwards from a freshly attached leaf n and stores the
// (possibly new) root.
template <class N>
void tree_retrace_insert(N*& root, N* n) noexcept {
  N* c = n;
  for (N* p = c->parent; p; c = p, p = p->parent) {
    const int d = c == p->left ? 1 : -1;
    const i8 b = tree_balance(p);
    if (b == 0) {
      tree_set_balance(p, d);
      continue;
    }
    if (b == d) {
      tree_set_balance(p, 2 * d);
      tree_rebalance(p);
    } else {
      tree_set_balance(p, 0);
    }
    break;
  }
  root = tree_root_of(root ? root : n);
}

// Exchanges the positions of a and b (every link, also when one is the other's child)
// and their balance bytes; keys and values stay in their nodes.
template <class N>
void tree_swap_nodes(N* a, N* b) noexcept {
  if (a == b) return;
  if (a->parent == b) std::swap(a, b);
  N* ap = a->parent;
  const bool a_left = ap && ap->left == a;
  if (b->parent == a) {  // adjacent: b is a's child
    N *al = a->left, *ar = a->right, *bl = b->left, *br = b->right;
    if (ap) (a_left ? ap->left : ap->right) = b;
    b->parent = ap;
    if (al == b) {
      b->left = a;
      b->right = ar;
      if (ar) ar->parent = b;
    } else {
      b->right = a;
      b->left = al;
      if (al) al->parent = b;
    }
    a->parent = b;
    a->left = bl;
    a->right = br;
    if (bl) bl->parent = a;
    if (br) br->parent = a;
  } else {
    N *al = a->left, *ar = a->right, *bp = b->parent, *bl = b->left, *br = b->right;
    const bool b_left = bp && bp->left == b;
    if (ap) (a_left ? ap->left : ap->right) = b;
    if (bp) (b_left ? bp->left : bp->right) = a;
    a->parent = bp;
    a->left = bl;
    a->right = br;
    b->parent = ap;
    b->left = al;
    b->right = ar;
    if (al) al->parent = b;
    if (ar) ar->parent = b;
    if (bl) bl->parent = a;
    if (br) br->parent = a;
  }
  std::swap(a->balance, b->balance);
}

template <class N>
N* tree_first(N* n) noexcept {
  if (n)
    while (n->left) n = n->left;
  return n;
}

template <class N>
N* tree_last(N* n) noexcept {
  if (n)
    while (n->right) n = n->right;
  return n;
}

// In-order successor, null after the last node.
template <class N>
N* tree_next(N* n) noexcept {
  if (n->right) return tree_first(n->right);
  N* p = n->parent;
  while (p && n == p->right) n = p, p = p->parent;
  return p;
}

template <class N>
N* tree_prev(N* n) noexcept {
  if (n->left) return tree_last(n->left);
  N* p = n->parent;
  while (p && n == p->left) n = p, p = p->parent;
  return p;
}

template <class N>
void tree_node_release(N* n) noexcept {
  n->~N();
  mem_free(n);
}

// Releases both subtrees of n (each child after its own subtrees) and nulls its links;
// n itself stays for the caller. A null n (an empty tree's root) is left alone.
template <class N>
void tree_free(N* n) noexcept {
  if (!n) return;
  // Iterative post-order walk: no recursion depth to worry about.
  for (N* c = n;;) {
    if (c->left) {
      c = c->left;
    } else if (c->right) {
      c = c->right;
    } else {
      if (c == n) break;
      N* p = c->parent;
      (p->left == c ? p->left : p->right) = nullptr;
      tree_node_release(c);
      c = p;
    }
  }
}

template <class N>
void tree_free_subtrees(N* n) noexcept {
  tree_free(n);
}

// Releases every node; the root becomes null.
template <class N>
void tree_destroy(N*& root) noexcept {
  if (!root) return;
  tree_free(root);
  tree_node_release(root);
  root = nullptr;
}

// Unlinks node x from the tree, rebalances and releases it; false for an empty tree and
// for a null x (what a failed search returns), the tree then unchanged.
template <class N>
bool tree_erase(N*& root, N* x) noexcept {
  if (!root || !x) return false;
  if (x->left || x->right) {
    // The in-order neighbour on the higher (or, when even, the left) side takes its place.
    N* m;
    if (tree_balance(x) >= 0) {
      m = x->left;
      while (m->right) m = m->right;
    } else {
      m = x->right;
      while (m->left) m = m->left;
    }
    tree_swap_nodes(x, m);
  }
  N* r;
  if (!x->left && !x->right) {
    N* p = x->parent;
    if (!p) {
      tree_node_release(x);
      root = nullptr;
      return true;
    }
    if (root == x) root = p;
    if (p->right == x) {
      p->right = nullptr;
      tree_set_balance(p, p->left ? tree_balance(p) + 1 : 0);
    } else {
      p->left = nullptr;
      tree_set_balance(p, p->right ? tree_balance(p) - 1 : 0);
    }
    tree_node_release(x);
    r = p;
  } else {
    N* c = x->left ? x->left : x->right;  // a leaf
    tree_set_balance(x, 0);
    tree_swap_nodes(x, c);
    if (root == x) root = c;
    (c->left == x ? c->left : c->right) = nullptr;
    tree_node_release(x);
    N* q = c->parent;
    if (!q) {
      root = c;
      return true;
    }
    tree_set_balance(q, c == q->left ? tree_balance(q) - 1 : tree_balance(q) + 1);
    r = q;
  }
  for (;;) {
    const i8 b = tree_balance(r);
    if (b == 1 || b == -1) break;
    if (b == 2 || b == -2) {
      r = tree_rebalance(r);
      if (tree_balance(r) != 0) break;
    }
    N* q = r->parent;
    if (!q) break;
    const bool left = q->left == r;
    const i8 qb = tree_balance(q);
    if (qb == 0) {
      tree_set_balance(q, left ? -1 : 1);
      break;
    }
    if ((left && qb == -1) || (!left && qb == 1)) {
      tree_set_balance(q, left ? -2 : 2);
      r = tree_rebalance(q);
      if (tree_balance(r) != 0) break;
    } else {
      tree_set_balance(q, 0);
      r = q;
    }
  }
  root = tree_root_of(root);
  return true;
}

template <class K, class V = void, class Order = tree_order<K>>
struct tree {
  using node = tree_node<K, V>;
  using probe = typename Order::probe;
  node* root = nullptr;

  tree() noexcept = default;
  tree(const tree& src) {
    if (src.root) root = clone(src.root, nullptr);
  }
  tree(tree&& src) noexcept : root(src.root) { src.root = nullptr; }
  tree& operator=(const tree& src) {
    if (this != &src) {
      tree copy(src);
      *this = std::move(copy);
    }
    return *this;
  }
  tree& operator=(tree&& src) noexcept {
    if (this != &src) {
      destroy();
      root = src.root;
      src.root = nullptr;
    }
    return *this;
  }
  ~tree() { destroy(); }

  // Builds a detached node (links null, balance 0) holding copies or moves of key and value.
  template <class KK, class... A>
  static node* node_init(KK&& key, A&&... value) {
    static_assert(sizeof...(A) == (std::is_void_v<V> ? 0 : 1), "a set node has a key, a map node a key and a value");
    void* mem = mem_alloc(sizeof(node));
    try {
      if constexpr (std::is_void_v<V>)
        return ::new (mem) node{nullptr, nullptr, nullptr, K(std::forward<KK>(key)), 0};
      else
        return ::new (mem) node{nullptr, nullptr, nullptr, K(std::forward<KK>(key)), V(std::forward<A>(value)...), 0};
    } catch (...) {
      mem_free(mem);
      throw;
    }
  }

  // Descends from `at` and attaches a new leaf; null when the key is present.
  template <class KK, class... A>
  static node* insert_leaf(node* at, KK&& key, A&&... value) {
    const probe p = Order::key_of(key);
    for (;;) {
      const int c = Order::compare(p, Order::key_of(at->key));
      if (c == 0) return nullptr;
      node*& link = c > 0 ? at->right : at->left;
      if (!link) {
        node* n = node_init(std::forward<KK>(key), std::forward<A>(value)...);
        n->parent = at;
        link = n;
        return n;
      }
      at = link;
    }
  }

  // Inserts when the key is absent: true; false and no change when present.
  template <class KK, class... A>
  bool insert(KK&& key, A&&... value) {
    if (!root) {
      root = node_init(std::forward<KK>(key), std::forward<A>(value)...);
      return true;
    }
    node* n = insert_leaf(root, std::forward<KK>(key), std::forward<A>(value)...);
    if (!n) return false;
    tree_retrace_insert(root, n);
    return true;
  }
  template <class KK, class... A>
  bool insert_2(KK&& key, A&&... value) {
    return insert(std::forward<KK>(key), std::forward<A>(value)...);
  }

  // Always inserts: a key less than a node goes left, any other key right, so equal keys
  // keep their insertion order in an in-order walk. Returns the new node.
  template <class KK, class... A>
  node* insert_multi(KK&& key, A&&... value) {
    node* n = node_init(std::forward<KK>(key), std::forward<A>(value)...);
    if (!root) {
      root = n;
      return n;
    }
    const probe p = Order::key_of(n->key);
    node* at = root;
    for (;;) {
      node*& link = Order::compare(p, Order::key_of(at->key)) < 0 ? at->left : at->right;
      if (!link) {
        n->parent = at;
        link = n;
        break;
      }
      at = link;
    }
    tree_retrace_insert(root, n);
    return n;
  }

  // The node whose key equals k, or null.
  static node* find_from(node* at, const probe& k) noexcept {
    while (at) {
      const int c = Order::compare(k, Order::key_of(at->key));
      if (c == 0) return at;
      at = c < 0 ? at->left : at->right;
    }
    return nullptr;
  }
  node* find(const probe& k) const noexcept { return find_from(root, k); }
  node* lookup(const probe& k) const noexcept { return find_from(root, k); }
  template <class KK = K>
    requires(!std::is_same_v<KK, probe>)
  node* find(const K& k) const noexcept {
    return find_from(root, Order::key_of(k));
  }

  bool erase(node* n) noexcept { return tree_erase(root, n); }
  // Erases the node with key k; false when absent.
  bool erase_key(const probe& k) noexcept {
    node* n = find(k);
    return n && tree_erase(root, n);
  }
  void destroy() noexcept { tree_destroy(root); }
  bool empty() const noexcept { return root == nullptr; }

  node* first() const noexcept { return tree_first(root); }
  node* last() const noexcept { return tree_last(root); }

 private:
  static node* clone(const node* s, node* parent) {
    node* n = [&] {
      if constexpr (std::is_void_v<V>)
        return node_init(s->key);
      else
        return node_init(s->key, s->value);
    }();
    n->parent = parent;
    n->balance = s->balance;
    try {
      if (s->left) n->left = clone(s->left, n);
      if (s->right) n->right = clone(s->right, n);
    } catch (...) {
      tree_destroy(n);
      throw;
    }
    return n;
  }
};

// Free-function forms.
template <class K, class V, class O, class KK, class... A>
bool tree_insert(tree<K, V, O>& t, KK&& key, A&&... value) {
  return t.insert(std::forward<KK>(key), std::forward<A>(value)...);
}
template <class K, class V, class O>
tree_node<K, V>* tree_lookup(const tree<K, V, O>& t, const typename O::probe& k) noexcept {
  return t.lookup(k);
}

static_assert(sizeof(tree_node<u64, void>) == 40);
static_assert(sizeof(tree_node<string::string, u64>) == 64);
static_assert(sizeof(tree<u64>) == sizeof(void*));

}  // namespace kk::adt
