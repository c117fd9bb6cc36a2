#pragma once
// The compiled form of one pattern and its matcher.
//
// A pattern's parse tree is turned once into this flat program (regex_compile.h); matching
// walks it recursively and returns the bytes matched at the subject's start. The semantics
// are deterministic and possessive: an alternation takes its first alternative that
// matches, a greedy quantifier takes the longest run and never gives it back, a lazy one
// stops at its minimum, and nothing is retried after it returned.
//
// Without back-references the verdict does not depend on captures, so none are recorded.
// A greedy unbounded loop without back-references inside memoises its result per position
// (with the last captures of the groups inside it, when captures are recorded) once it is
// entered again over text it already scanned: such loops stay linear in the subject times
// the pattern size. Bounded and lazy loops run at most their bound per entry.
#include <cstdlib>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "adt/types.h"
#include "grammar/regex_classes.h"

namespace kk::grammar {

enum class rx_op : u8 {
  seq,         // kids in order, lengths summed
  alt,         // first kid that matches
  repeat,      // kid `a` between min and max times; flag: lazy
  group,       // capturing group `value` around kid `a`
  look,        // look-ahead around kid `a`; flag: negative
  bol,         // ^
  eol,         // $
  word_b,      // \b; flag: \B
  literal,     // `n` bytes at offset `a` of bytes (well-formed code points)
  byte,        // one raw byte equal to `value`
  code_point,  // one code point equal to `value`
  any,         // . (no line terminators)
  escape,      // class escape `fn`
  cls,         // class of items [a, a + n); flag: negated
  backref,     // text of group `value`
  none,        // matches nothing (a malformed byte in the pattern)
};

inline constexpr u64 rx_unbounded = ~u64{0};

struct rx_node {
  rx_op op = rx_op::none;
  u8 flag = 0;
  bool reads = false;  // the subtree holds a back-reference
  u32 g0 = 0, g1 = 0;  // groups g0 .. g1 - 1 lie in the subtree (numbered contiguously)
  u32 a = 0;      // child node, first kid / item / byte offset
  u32 n = 0;      // kid / item / byte count
  u32 value = 0;  // byte, code point or group number
  u32 slot = 0;   // repeat: memo slot
  u64 min = 0, max = 0;
  class_matcher fn = nullptr;
  // cls: the bytes below 128 it matches as a first byte, and the code points below 128 it
  // matches in any encoded form (raw-byte items such as \x41 only the former)
  u64 ascii[2] = {0, 0};
  u64 ascii_cp[2] = {0, 0};
};

// A class item: code points lo..hi, or (raw) one byte equal to lo.
struct rx_item {
  u32 lo = 0, hi = 0;
  bool raw = false;
};

struct rx_program {
  std::vector<rx_node> nodes;
  std::vector<u32> kids;
  std::vector<rx_item> items;
  std::string bytes;
  u32 root = 0;
  u32 groups = 0;  // capturing groups, numbered 1.. by their opening parenthesis
  u32 repeats = 0;
  bool has_backrefs = false;
};

// Trivially copyable items whose memory is kept from one match to the next. Growing does
// not initialise the items (the matcher clears the part it reads before it reads it), so
// each page of a large memo is touched once per match and mapped once per engine.
template <class T>
class rx_block {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

 public:
  rx_block() = default;
  rx_block(rx_block&& o) noexcept : data_(std::exchange(o.data_, nullptr)), cap_(std::exchange(o.cap_, 0)) {}
  rx_block& operator=(rx_block&& o) noexcept {
    if (this != &o) {
      release();
      data_ = std::exchange(o.data_, nullptr);
      cap_ = std::exchange(o.cap_, 0);
    }
    return *this;
  }
  ~rx_block() { std::free(data_); }

  T* data() noexcept { return data_; }
  T& operator[](u64 i) noexcept { return data_[i]; }
  u64 capacity() const noexcept { return cap_; }
  u64 bytes() const noexcept { return cap_ * sizeof(T); }
  // Room for n items, the old ones not kept; false (and nothing held) when memory runs out.
  bool reserve(u64 n) noexcept {
    if (n <= cap_) return true;
    release();
    if (n > ~u64{0} / sizeof(T)) return false;
    data_ = static_cast<T*>(std::malloc(n * sizeof(T)));
    if (!data_) return false;
    cap_ = n;
    return true;
  }
  void release() noexcept {
    std::free(data_);
    data_ = nullptr;
    cap_ = 0;
  }

 private:
  T* data_ = nullptr;
  u64 cap_ = 0;
};

// Per-match scratch (captures, undo trail, loop memo); reused between matches.
struct rx_scratch {
  struct capture {
    u64 start = 0, length = 0;
    bool set = false;
  };
  struct undo {
    u32 group;
    capture old;
  };
  struct memo_entry {
    u64 end_plus1;  // 0: not known
    u64 iters;      // iterations from here; top bit: ended by an empty iteration
  };
  struct loop_state {
    u64 hi = 0;  // farthest end of a finished run of this loop in the current match
    bool active = false;
    rx_block<memo_entry> memo;
    rx_block<capture> caps;  // per position, g1 - g0 entries: set = set from here on
  };
  std::vector<capture> captures;
  std::vector<undo> trail;
  std::vector<loop_state> loops;
  std::vector<u64> visited;  // iteration starts of memoising loops in progress
  std::vector<u64> marks;    // the trail size at each of them
  std::vector<u8> seen;
};

// Length matched by `p` at the start of subject[0, n), or rx_no_match.
u64 rx_run(const rx_program& p, rx_scratch& scratch, const char* subject, u64 n);

}  // namespace kk::grammar
