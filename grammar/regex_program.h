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
#include <string>
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
    std::vector<memo_entry> memo;
    std::vector<capture> caps;  // per position, g1 - g0 entries: set = set from here on
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
