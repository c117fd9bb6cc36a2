#include "functions/text_functions.h"

#include <cstring>
#include <vector>

#include "adt/text.h"
#include "functions/function_call.h"
#include "functions/library_context.h"
#include "grammar/regex_engine.h"
#include "value/convert.h"
#include "value/val_block.h"

namespace kk::functions {

namespace {

struct bytes {
  const char* p;
  u64 n;
};

// A value read as text: a non-text value is the empty text.
bytes text_of(const val& v) {
  if (v.type != val_type_text || v.len == 0 || !v.text) return {"", 0};
  return {v.text, v.len};
}

// out becomes a text of n bytes whose contents the caller writes; a block of the same
// length is reused. Null (and out null) when n exceeds what a cell holds.
char* text_cell(val& out, u64 n) {
  if (n > val_text_max) {
    val_null(out);
    return nullptr;
  }
  if (!(out.type == val_type_text && out.len == n && (n == 0 || out.text))) {
    val_from_bytes(out, nullptr, 0);
    if (n) out.text = val_block_alloc(n);
    out.len = static_cast<uint16_t>(n);
  }
  return n ? out.text : const_cast<char*>("");
}

void put_text(val& out, const char* p, u64 n) {
  if (char* d = text_cell(out, n)) std::memcpy(d, p, n);
}

void put_u08(val& out, bool b) { val_from_u08(out, b ? 1 : 0); }

// The first argument of a one-argument text function, checked up to step 3; with name
// null a wrong kind fails without a message.
const column* text_argument(const column_list* args, const char* name) {
  if (!arity_is(args, 1) || !args_nonempty(args, 1)) return nullptr;
  const column& a = arg(args, 0);
  if (name) return first_kind_is(a, kind_text, name) ? &a : nullptr;
  return kind_in(a.values[0], kind_text) ? &a : nullptr;
}

template <class Map>
bool map_case(column* result, const column_list* args, const char* name, Map map) {
  const column* a = text_argument(args, name);
  if (!a) return false;
  return map_values(*result, *a, [&](val& out, const val& in) {
    const bytes s = text_of(in);
    char* d = text_cell(out, s.n);
    for (u64 i = 0; i < s.n; ++i) d[i] = map(s.p[i]);
    return true;
  });
}

// Two text arguments per row (many-argument scalar): kernel(out, s, t).
template <class Kernel>
bool text_pair(column* result, const column_list* args, const char* name, Kernel kernel) {
  if (!arity_is(args, 2) || !args_nonempty(args, 2)) return false;
  if (!first_kind_is(arg(args, 0), kind_text, name) || !first_kind_is(arg(args, 1), kind_text, name)) return false;
  const column& a = arg(args, 0);
  const column& b = arg(args, 1);
  const val null_cell;
  return map_rows(*result, longest_arg(args, 2), [&](val& out, u64 i) {
    kernel(out, text_of(column_ref_at(a, i, null_cell)), text_of(column_ref_at(b, i, null_cell)));
    return true;
  });
}

// A per-row position or count: the value converted to "u32" (text parsing set), in 64 bits.
// Integers convert as the matrix does: narrower signed ones sign-extend (i08 -1 is
// 4294967295), wider ones keep their low 32 bits.
u64 position_of(const val& v) {
  if (v.type == val_type_int && v.sign <= val_unsigned) {
    const u32 w = val_width(v);
    u64 bits = 0;
    std::memcpy(&bits, v.data, w);
    if (v.sign == val_signed && w < 8 && (bits >> (8 * w - 1)) & 1) bits |= ~u64(0) << (8 * w);
    return u32(bits);
  }
  const val u = val_convert(kind_u32, v, true);
  return u.type == val_type_int ? val_as_u32(u) : 0;
}

bool integer_kinds(const column_list* args, std::initializer_list<u64> which) {
  for (u64 j : which)
    if (!kind_in(arg(args, j).values[0], kind_integer)) return false;
  return true;
}

void put_position(val& out, u64 at) { val_from_u64(out, at); }

template <bool left, bool right>
bool trim_spaces(column* result, const column_list* args) {
  const column* a = text_argument(args, nullptr);
  if (!a) return false;
  return map_values(*result, *a, [](val& out, const val& in) {
    bytes s = text_of(in);
    if (left)
      while (s.n && s.p[0] == ' ') ++s.p, --s.n;
    if (right)
      while (s.n && s.p[s.n - 1] == ' ') --s.n;
    put_text(out, s.p, s.n);
    return true;
  });
}

}  // namespace

// Only cells with |i - j| <= limit can hold a distance within the limit (a cell is at least
// |i - j|), so each row is computed over that band; cells outside it count as limit + 1.
u64 edit_distance_within(const char* a, u64 na, const char* b, u64 nb, u64 limit, u32* prev, u32* cur) noexcept {
  const u64 longest = na > nb ? na : nb;
  if (limit > longest) limit = longest;
  const u32 over = u32(limit + 1);
  const u64 diff = na > nb ? na - nb : nb - na;
  if (diff > limit) return limit + 1;
  for (u64 j = 0; j <= nb; ++j) prev[j] = j <= limit ? u32(j) : over;
  for (u64 i = 1; i <= na; ++i) {
    const u64 lo = i > limit ? i - limit : 1;
    const u64 hi = i + limit < nb ? i + limit : nb;
    cur[lo - 1] = lo == 1 && i <= limit ? u32(i) : over;
    u32 row_min = cur[lo - 1];
    for (u64 j = lo; j <= hi; ++j) {
      u32 d = prev[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
      if (prev[j] + 1 < d) d = prev[j] + 1;
      if (cur[j - 1] + 1 < d) d = cur[j - 1] + 1;
      if (d > over) d = over;
      cur[j] = d;
      if (d < row_min) row_min = d;
    }
    if (hi < nb) cur[hi + 1] = over;
    // Later rows never fall below this row's smallest cell.
    if (row_min > limit) return limit + 1;
    std::swap(prev, cur);
  }
  return prev[nb] > limit ? limit + 1 : prev[nb];
}

namespace sql {

bool lcase(column* r, const column_list* a) { return map_case(r, a, "lcase", [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }); }
bool ucase(column* r, const column_list* a) { return map_case(r, a, "ucase", [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }); }

bool concat(column* result, const column_list* args) {
  return text_pair(result, args, "concat", [](val& out, bytes s, bytes t) {
    char* d = text_cell(out, s.n + t.n);
    if (!d) return;
    if (s.n) std::memcpy(d, s.p, s.n);
    if (t.n) std::memcpy(d + s.n, t.p, t.n);
  });
}

bool length(column* result, const column_list* args) {
  const column* a = text_argument(args, "length");
  if (!a) return false;
  return map_values(*result, *a, [](val& out, const val& in) {
    val_from_u64(out, text_of(in).n);
    return true;
  });
}

bool substr(column* result, const column_list* args) {
  if (!arity_is(args, 3) || !args_nonempty(args, 3) || !integer_kinds(args, {1, 2})) return false;
  const val null_cell;
  return map_rows(*result, longest_arg(args, 3), [&](val& out, u64 i) {
    const bytes s = text_of(column_ref_at(arg(args, 0), i, null_cell));
    const u64 p = position_of(column_ref_at(arg(args, 1), i, null_cell));
    u64 k = position_of(column_ref_at(arg(args, 2), i, null_cell));
    if (p >= s.n) k = 0;
    else if (p + k > s.n) k = s.n - p;
    put_text(out, k ? s.p + p : "", k);
    return true;
  });
}

bool replace(column* result, const column_list* args) {
  if (!arity_is(args, 4) || !args_nonempty(args, 4)) return false;
  if (!kind_in(arg(args, 0).values[0], kind_text) || !integer_kinds(args, {1, 2}) ||
      !kind_in(arg(args, 3).values[0], kind_text))
    return false;
  const val null_cell;
  return map_rows(*result, longest_arg(args, 4), [&](val& out, u64 i) {
    const bytes s = text_of(column_ref_at(arg(args, 0), i, null_cell));
    const u64 p = position_of(column_ref_at(arg(args, 1), i, null_cell));
    const u64 k = position_of(column_ref_at(arg(args, 2), i, null_cell));
    const bytes r = text_of(column_ref_at(arg(args, 3), i, null_cell));
    if (p > s.n || p + k > s.n) return false;
    if (k == 0) {
      put_text(out, s.p, s.n);
      return true;
    }
    const u64 tail = s.n - p - k;
    char* d = text_cell(out, p + r.n + tail);
    if (!d) return true;  // too long for a cell: null
    std::memcpy(d, s.p, p);
    std::memcpy(d + p, r.p, r.n);
    std::memcpy(d + p + r.n, s.p + p + k, tail);
    return true;
  });
}

bool starts(column* result, const column_list* args) {
  return text_pair(result, args, "starts", [](val& out, bytes s, bytes t) {
    put_u08(out, s.n >= t.n && (t.n == 0 || std::memcmp(s.p, t.p, t.n) == 0));
  });
}

bool ends(column* result, const column_list* args) {
  return text_pair(result, args, "ends", [](val& out, bytes s, bytes t) {
    put_u08(out, s.n >= t.n && (t.n == 0 || std::memcmp(s.p + s.n - t.n, t.p, t.n) == 0));
  });
}

// An empty pattern is found nowhere, so every text "contains" the empty text as 0.
bool contain(column* result, const column_list* args) {
  return text_pair(result, args, "contain", [](val& out, bytes s, bytes t) {
    put_u08(out, s.n != 0 && adt::str_find(s.p, 0, s.n - 1, t.p, t.n) != adt::string::npos);
  });
}

bool find_first(column* result, const column_list* args) {
  return text_pair(result, args, "find_first", [](val& out, bytes s, bytes t) {
    put_position(out, s.n && t.n ? adt::str_find(s.p, 0, s.n - 1, t.p, t.n) : adt::string::npos);
  });
}

bool find_last(column* result, const column_list* args) {
  return text_pair(result, args, "find_last", [](val& out, bytes s, bytes t) {
    put_position(out, s.n && t.n ? adt::str_rfind(s.p, 0, s.n - 1, t.p, t.n) : adt::string::npos);
  });
}

// Only the first byte of the second text is looked for.
bool find_first_of(column* result, const column_list* args) {
  return text_pair(result, args, "find_first_of", [](val& out, bytes s, bytes t) {
    const void* at = s.n && t.n ? std::memchr(s.p, t.p[0], s.n) : nullptr;
    put_position(out, at ? u64(static_cast<const char*>(at) - s.p) : adt::string::npos);
  });
}

bool find_last_of(column* result, const column_list* args) {
  return text_pair(result, args, "find_last_of", [](val& out, bytes s, bytes t) {
    u64 at = adt::string::npos;
    if (t.n)
      for (u64 i = s.n; i-- > 0;)
        if (s.p[i] == t.p[0]) {
          at = i;
          break;
        }
    put_position(out, at);
  });
}

// A row matches when some window of a (or a itself, when shorter than p) lies within the
// threshold's edit distance of p; the scan stops at the first such window, which decides
// the same as the smallest distance would.
bool fuzzy_match(column* result, const column_list* args) {
  if (args->count < 2) return false;
  const bool threshold_given = args->count >= 3;
  if (!args_nonempty(args, threshold_given ? 3 : 2)) return false;
  if (!first_kind_is(arg(args, 0), kind_text, "fuzzy_match") || !first_kind_is(arg(args, 1), kind_text, "fuzzy_match"))
    return false;
  if (threshold_given && !first_kind_is(arg(args, 2), kind_unsigned, "fuzzy_match")) return false;
  const u64 given = threshold_given ? param_u08(arg(args, 2)) : 0;
  const column& a = arg(args, 0);
  const column& b = arg(args, 1);
  const u64 n = longest_arg(args, 2);
  const val null_cell;
  std::vector<u32> rows;
  column_resize(*result, n);
  for (u64 i = 0; i < n; ++i) {
    const bytes s = text_of(column_ref_at(a, i, null_cell));
    const bytes p = text_of(column_ref_at(b, i, null_cell));
    result->ids[i] = column_row_id_at(&a, i);
    bool hit = false;
    if (s.n && p.n) {
      const u64 t = given ? given : p.n / 2;
      rows.resize(2 * (p.n + 1));
      u32* r0 = rows.data();
      u32* r1 = r0 + p.n + 1;
      if (s.n >= p.n) {
        for (u64 w = 0; w + p.n <= s.n && !hit; ++w)
          hit = edit_distance_within(s.p + w, p.n, p.p, p.n, t, r0, r1) <= t;
      } else {
        hit = edit_distance_within(s.p, s.n, p.p, p.n, t, r0, r1) <= t;
      }
    }
    put_u08(result->values[i], hit);
  }
  return true;
}

bool trim_l(column* r, const column_list* a) { return trim_spaces<true, false>(r, a); }
bool trim_r(column* r, const column_list* a) { return trim_spaces<false, true>(r, a); }
bool trim(column* r, const column_list* a) { return trim_spaces<true, true>(r, a); }

// The engine caches the last pattern by its bytes: a column matched against one pattern
// compiles it once.
bool reg_match(grammar::regex_engine* engine, column* result, const column_list* args) {
  if (!arity_is(args, 2)) return false;
  const column& subjects = arg(args, 0);
  const column& patterns = arg(args, 1);
  const u64 n = subjects.values.size;
  if (n == 0) {
    column_resize(*result, 0);
    return true;
  }
  if (!kind_in(subjects.values[0], kind_text) || patterns.values.size == 0 ||
      !kind_in(patterns.values[0], kind_text))
    return report("unsupport function reg_match\n");
  if (!engine) return false;
  const val null_cell;
  column_resize(*result, n);
  for (u64 i = 0; i < n; ++i) {
    const bytes s = text_of(subjects.values[i]);
    const bytes q = text_of(column_ref_at(patterns, i, null_cell));
    const bool whole = grammar::regex_engine_match(engine, q.p, q.n, s.p, s.n);
    val_from_i32(result->values[i], whole ? 1 : 0);
    result->ids[i] = column_row_id_at(&subjects, i);
  }
  return true;
}

}  // namespace sql

namespace {
bool reg_match_entry(sql_library* self, column* result, const column_list* args) noexcept {
  if (!result || !args || (args->count && !args->first)) return false;
  try {
    library_context* c = self ? context_of(self) : nullptr;
    grammar::regex_engine* e = c && c->regex_ready ? &c->regex : nullptr;
    for (u64 i = 0; i < args->count; ++i) {
      if (&args->first[i] != result) continue;
      // The result is one of the arguments: read copies, so no row written changes one unread.
      std::vector<column> copies(args->first, args->first + args->count);
      const column_list list{copies.data(), copies.size()};
      return sql::reg_match(e, result, &list);
    }
    return sql::reg_match(e, result, args);
  } catch (...) {
    return false;
  }
}

const sql_function_def defs[] = {
    {"lcase", forward<sql::lcase>},
    {"ucase", forward<sql::ucase>},
    {"concat", forward<sql::concat>},
    {"length", forward<sql::length>},
    {"substr", forward<sql::substr>},
    {"replace", forward<sql::replace>},
    {"starts", forward<sql::starts>},
    {"contain", forward<sql::contain>},
    {"ends", forward<sql::ends>},
    {"find_first", forward<sql::find_first>},
    {"find_last", forward<sql::find_last>},
    {"find_first_of", forward<sql::find_first_of>},
    {"find_last_of", forward<sql::find_last_of>},
    {"reg_match", reg_match_entry},
    {"fuzzy_match", forward<sql::fuzzy_match>},
    {"trim_l", forward<sql::trim_l>},
    {"trim_r", forward<sql::trim_r>},
    {"trim", forward<sql::trim>},
};
}  // namespace

std::span<const sql_function_def> text_functions() { return defs; }

}  // namespace kk::functions
