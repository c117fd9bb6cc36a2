#include "grammar/regex_program.h"

#include <cstring>

namespace kk::grammar {

namespace {

constexpr u64 empty_exit = u64{1} << 63;
// Largest memo of one loop, in entries (16 bytes, plus 24 per group inside the loop).
constexpr u64 memo_limit = u64{1} << 23;
// Scratch bytes an engine keeps between matches; a match that needed more gives its memos
// and stacks back afterwards. Kept memory is not mapped and faulted in again, so long
// subjects matched one after another pay for their pages once.
constexpr u64 scratch_keep_bytes = u64{1} << 28;

inline bool is_line_end(const char* p, u64 remaining) {
  u8 a = static_cast<u8>(p[0]);
  if (a == '\n' || a == '\r') return true;
  return remaining >= 3 && a == 0xE2 && static_cast<u8>(p[1]) == 0x80 &&
         (static_cast<u8>(p[2]) == 0xA8 || static_cast<u8>(p[2]) == 0xA9);
}

struct runner {
  const rx_program& p;
  rx_scratch& sc;
  const char* s;
  u64 n;
  bool track;  // record captures (only back-references read them)

  u64 mark() const { return sc.trail.size(); }

  void undo_to(u64 m) {
    while (sc.trail.size() > m) {
      const rx_scratch::undo& u = sc.trail.back();
      sc.captures[u.group] = u.old;
      sc.trail.pop_back();
    }
  }

  void set_capture(u32 group, u64 start, u64 length) {
    sc.trail.push_back({group, sc.captures[group]});
    sc.captures[group] = {start, length, true};
  }

  u64 class_match(const rx_node& nd, u64 pos) const {
    u8 first = static_cast<u8>(s[pos]);
    if (first < 128) {  // the common case: one ASCII byte, looked up in the bitmap
      bool in = (nd.ascii[first >> 6] >> (first & 63)) & 1;
      return in != (nd.flag != 0) ? 1 : rx_no_match;
    }
    u64 rem = n - pos;
    u32 cp;
    int len = rx_decode(s + pos, rem, &cp);
    bool hit = false;
    u64 hit_len = 0;
    if (len > 0 && cp < 128) {  // a longer (overlong) form of an ASCII code point
      hit = (nd.ascii_cp[cp >> 6] >> (cp & 63)) & 1;
      hit_len = static_cast<u64>(len);
    }
    if (!hit) {
      u8 b0 = static_cast<u8>(s[pos]);
      for (u32 i = 0; i < nd.n && !hit; ++i) {
        const rx_item& it = p.items[nd.a + i];
        if (it.raw) {
          if (b0 == it.lo) hit = true, hit_len = 1;
        } else if (len > 0 && cp >= it.lo && cp <= it.hi) {
          hit = true, hit_len = static_cast<u64>(len);
        }
      }
    }
    if (!nd.flag) return hit ? hit_len : rx_no_match;
    if (hit || len < 0) return rx_no_match;
    return static_cast<u64>(len);
  }

  // "." at pos < n: one code point that is no line terminator.
  u64 any_match(u64 pos) const {
    u8 first = static_cast<u8>(s[pos]);
    if (first < 128) return first == '\n' || first == '\r' ? rx_no_match : 1;
    u64 rem = n - pos;
    if (is_line_end(s + pos, rem)) return rx_no_match;
    u32 cp;
    int len = rx_decode(s + pos, rem, &cp);
    return len > 0 ? static_cast<u64>(len) : rx_no_match;
  }

  u64 repeat(const rx_node& nd, u64 pos) {
    bool memo_ok = !nd.reads && !nd.flag && nd.max == rx_unbounded;
    rx_scratch::loop_state* ls = memo_ok ? &sc.loops[nd.slot] : nullptr;
    u64 groups = track ? nd.g1 - nd.g0 : 0;
    if (ls && !ls->active && pos < ls->hi && (n + 1) * (groups + 1) <= memo_limit &&
        ls->memo.reserve(n + 1) && ls->caps.reserve((n + 1) * groups)) {
      // Entered again over text an earlier run scanned: remember results from here on.
      // The memo is cleared; the captures kept with it are written before they are read.
      // (Without memory for a memo the loop runs unmemoised: slower, same verdicts.)
      std::memset(static_cast<void*>(ls->memo.data()), 0, (n + 1) * sizeof(rx_scratch::memo_entry));
      ls->active = true;
      // A memoising run pushes at most one iteration start per position: room for them at
      // once, rather than growth by doubling that maps and copies each stack several times.
      const u64 room = sc.visited.size() + n + 1;
      if (sc.visited.capacity() < room) sc.visited.reserve(room);
      if (track && sc.marks.capacity() < room) sc.marks.reserve(room);
    }
    bool memo = ls && ls->active;
    u64 base = sc.visited.size();
    u64 count = 0, cur = pos;
    bool empty = false;
    const rx_node& atom = p.nodes[nd.a];
    if (!memo && (atom.op == rx_op::cls || atom.op == rx_op::escape || atom.op == rx_op::any)) {
      // One class, class escape or "." per iteration: never empty, never a capture.
      u64 top = nd.flag ? nd.min : nd.max;
      while (count < top && cur < n) {
        u64 r = atom.op == rx_op::cls      ? class_match(atom, cur)
                : atom.op == rx_op::escape ? atom.fn(s + cur, n - cur)
                                           : any_match(cur);
        if (r == rx_no_match) break;
        cur += r;
        ++count;
      }
      if (ls && cur > ls->hi) ls->hi = cur;
      return count >= nd.min ? cur - pos : rx_no_match;
    }
    for (;;) {
      if (nd.max != rx_unbounded && count >= nd.max) break;
      if (nd.flag && count == nd.min) break;
      if (memo) {
        const rx_scratch::memo_entry& e = ls->memo[cur];
        if (e.end_plus1) {
          for (u64 g = 0; g < groups; ++g) {
            const rx_scratch::capture& c = ls->caps[cur * groups + g];
            if (c.set) set_capture(static_cast<u32>(nd.g0 + g), c.start, c.length);
          }
          empty = (e.iters & empty_exit) != 0;
          count += e.iters & ~empty_exit;
          cur = e.end_plus1 - 1;
          break;
        }
        sc.visited.push_back(cur);
        if (track) sc.marks.push_back(mark());  // without captures the trail stays empty
      }
      u64 m = mark();
      u64 r = eval(nd.a, cur);
      if (r == rx_no_match) {
        undo_to(m);
        break;
      }
      if (r == 0) {  // an empty iteration ends the loop as matched
        empty = true;
        break;
      }
      cur += r;
      ++count;
    }
    if (memo) record(nd, *ls, base, groups, cur, count, empty);
    if (ls && cur > ls->hi) ls->hi = cur;
    if (empty || count >= nd.min) return cur - pos;
    return rx_no_match;
  }

  // Memo entries for the iteration starts this run visited: where the loop ends from each,
  // after how many iterations, and the last capture of every group set from there on.
  void record(const rx_node& nd, rx_scratch::loop_state& ls, u64 base, u64 groups, u64 end,
              u64 count, bool empty) {
    u64 k = sc.visited.size() - base;
    sc.seen.assign(groups, 0);
    u64 seg_end = sc.trail.size();
    for (u64 i = k; i-- > 0;) {
      u64 q = sc.visited[base + i];
      if (track) {
        // The trail above this iteration's mark holds what iterations i.. recorded.
        for (u64 t = sc.marks[base + i]; t < seg_end; ++t) {
          u32 g = sc.trail[t].group;
          if (g >= nd.g0 && g < nd.g1) sc.seen[g - nd.g0] = 1;
        }
        seg_end = sc.marks[base + i];
      }
      rx_scratch::memo_entry& e = ls.memo[q];
      e.end_plus1 = end + 1;
      e.iters = (count - i) | (empty ? empty_exit : 0);
      for (u64 g = 0; g < groups; ++g) {
        rx_scratch::capture c = sc.captures[nd.g0 + g];
        c.set = sc.seen[g] != 0;
        ls.caps[q * groups + g] = c;
      }
    }
    sc.visited.resize(base);
    if (track) sc.marks.resize(base);
  }

  u64 eval(u32 idx, u64 pos) {
    const rx_node& nd = p.nodes[idx];
    u64 rem = n - pos;
    switch (nd.op) {
      case rx_op::seq: {
        u64 cur = pos;
        for (u32 i = 0; i < nd.n; ++i) {
          u64 r = eval(p.kids[nd.a + i], cur);
          if (r == rx_no_match) return rx_no_match;
          cur += r;
        }
        return cur - pos;
      }
      case rx_op::alt: {
        for (u32 i = 0; i < nd.n; ++i) {
          u64 m = mark();
          u64 r = eval(p.kids[nd.a + i], pos);
          if (r != rx_no_match) return r;
          undo_to(m);
        }
        return rx_no_match;
      }
      case rx_op::repeat:
        return repeat(nd, pos);
      case rx_op::group: {
        u64 r = eval(nd.a, pos);
        if (r != rx_no_match && track) set_capture(nd.value, pos, r);
        return r;
      }
      case rx_op::look: {
        u64 m = mark();
        u64 r = eval(nd.a, pos);
        undo_to(m);  // a look-ahead leaves the captures as they were
        bool ok = nd.flag ? r == rx_no_match : r != rx_no_match;
        return ok ? 0 : rx_no_match;
      }
      case rx_op::bol:
        return pos == 0 ? 0 : rx_no_match;
      case rx_op::eol:
        return pos == n ? 0 : rx_no_match;
      case rx_op::word_b: {
        bool before = pos > 0 && rx_is_word_byte(s[pos - 1]);
        bool after = pos < n && rx_is_word_byte(s[pos]);
        bool boundary = before != after;
        return boundary != (nd.flag != 0) ? 0 : rx_no_match;
      }
      case rx_op::literal:
        if (nd.n > rem || std::memcmp(s + pos, p.bytes.data() + nd.a, nd.n) != 0)
          return rx_no_match;
        return nd.n;
      case rx_op::byte:
        return (rem > 0 && static_cast<u8>(s[pos]) == nd.value) ? 1 : rx_no_match;
      case rx_op::code_point: {
        u32 cp;
        int len = rx_decode(s + pos, rem, &cp);
        return (len > 0 && cp == nd.value) ? static_cast<u64>(len) : rx_no_match;
      }
      case rx_op::any:
        return rem == 0 ? rx_no_match : any_match(pos);
      case rx_op::escape:
        return nd.fn(s + pos, rem);
      case rx_op::cls:
        return rem == 0 ? rx_no_match : class_match(nd, pos);
      case rx_op::backref: {
        const rx_scratch::capture& c = sc.captures[nd.value];
        if (!c.set || c.length == 0) return 0;  // a group that took no part matches empty
        if (c.length > rem || std::memcmp(s + pos, s + c.start, c.length) != 0) return rx_no_match;
        return c.length;
      }
      case rx_op::none:
        return rx_no_match;
    }
    return rx_no_match;
  }
};

}  // namespace

u64 rx_run(const rx_program& p, rx_scratch& sc, const char* subject, u64 n) {
  if (p.nodes.empty()) return rx_no_match;
  sc.captures.assign(p.groups + 1, rx_scratch::capture{});
  sc.trail.clear();
  sc.visited.clear();
  sc.marks.clear();
  if (sc.loops.size() < p.repeats) sc.loops.resize(p.repeats);
  for (u32 i = 0; i < p.repeats; ++i) {
    sc.loops[i].hi = 0;
    sc.loops[i].active = false;
  }
  runner r{p, sc, subject, n, p.has_backrefs};
  u64 len = r.eval(p.root, 0);
  // Keep the scratch for the next match unless it grew past the bound.
  u64 kept = (sc.visited.capacity() + sc.marks.capacity()) * sizeof(u64) +
             sc.trail.capacity() * sizeof(rx_scratch::undo);
  for (const rx_scratch::loop_state& ls : sc.loops) kept += ls.memo.bytes() + ls.caps.bytes();
  if (kept > scratch_keep_bytes) {
    for (rx_scratch::loop_state& ls : sc.loops) {
      ls.memo.release();
      ls.caps.release();
    }
    // (Assigning {} would keep the capacity: an empty initializer list is assigned.)
    std::vector<u64>().swap(sc.visited);
    std::vector<u64>().swap(sc.marks);
    std::vector<rx_scratch::undo>().swap(sc.trail);
  }
  return len;
}

}  // namespace kk::grammar
