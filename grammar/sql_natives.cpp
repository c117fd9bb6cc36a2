#include "grammar/sql_natives.h"

#include <cstring>

#include "grammar/matcher.h"
#include "grammar/sql_function_names.h"
#include "grammar/sql_rules.h"

namespace kk::grammar::sql {

namespace {

bool is_hex(char c) noexcept {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool is_bin(char c) noexcept { return c == '0' || c == '1'; }
bool is_dec(char c) noexcept { return c >= '0' && c <= '9'; }

parse_node* leaf(const grammar_node* ref, const char* pos, u64 length) {
  return parse_leaf_new(ref_node_id(ref->kind), pos, length);
}

parse_node* fail(const char* at) noexcept {
  parse_farthest_raise(at);
  return nullptr;
}

// "0" letter digit+: the prefixed number forms.
template <bool (*digit)(char)>
parse_node* prefixed(const grammar_node* ref, const char* pos, u64 n, char letter) {
  if (n < 3 || pos[0] != '0' || pos[1] != letter || !digit(pos[2])) return fail(pos);
  u64 k = 3;
  while (k < n && digit(pos[k])) ++k;
  return leaf(ref, pos, k);
}

}  // namespace

parse_node* match_uint_bin(const grammar_node* ref, const char* pos, u64* remaining, const rule_table*) {
  return prefixed<is_bin>(ref, pos, *remaining, 'b');
}

parse_node* match_uint_hex(const grammar_node* ref, const char* pos, u64* remaining, const rule_table*) {
  return prefixed<is_hex>(ref, pos, *remaining, 'x');
}

parse_node* match_uint_dec(const grammar_node* ref, const char* pos, u64* remaining, const rule_table*) {
  const u64 n = *remaining;
  u64 k = 0;
  while (k < n && is_dec(pos[k])) ++k;
  if (k == 0) return fail(pos);
  return leaf(ref, pos, k);
}

parse_node* match_raw_string(const grammar_node* ref, const char* pos, u64* remaining, const rule_table*) {
  const u64 n = *remaining;
  if (n == 0 || pos[0] != '"') return fail(pos);
  const char* end = pos + n;
  const char* delim = pos + 1;
  const char* open = static_cast<const char*>(std::memchr(delim, '(', u64(end - delim)));
  if (!open) return fail(pos + 1);
  const u64 dlen = u64(open - delim);
  // Terminator: ")" D '"', searched from the byte after "(".
  const char* p = open + 1;
  while (u64(end - p) >= dlen + 2) {
    const char* close = static_cast<const char*>(std::memchr(p, ')', u64(end - p) - dlen - 1));
    if (!close) break;
    if (std::memcmp(close + 1, delim, dlen) == 0 && close[1 + dlen] == '"')
      return leaf(ref, pos, u64(close + dlen + 2 - pos));
    p = close + 1;
  }
  return fail(open);
}

parse_node* match_fn_name(const grammar_node* ref, const char* pos, u64* remaining, const rule_table*) {
  const u64 k = function_name_match(&function_name_set(), pos, *remaining);
  if (k == 0) return fail(pos);
  return leaf(ref, pos, k);
}

namespace {
struct natives {
  native_rule entries[5];
  native_rule_map map;
  natives() {
    byte_set zero, digits, quote, names;
    zero.add('0');
    for (char c = '0'; c <= '9'; ++c) digits.add(static_cast<u8>(c));
    quote.add('"');
    for (const char* name : function_names) names.add(static_cast<u8>(name[0]));
    entries[0] = {rule_uint_bin, match_uint_bin, true, zero};
    entries[1] = {rule_uint_hex, match_uint_hex, true, zero};
    entries[2] = {rule_uint_dec, match_uint_dec, true, digits};
    entries[3] = {rule_raw_string, match_raw_string, true, quote};
    entries[4] = {rule_fn_name, match_fn_name, true, names};
    map = {entries, 5};
  }
};
}  // namespace

const native_rule_map* native_rules() {
  static const natives n;
  return &n.map;
}

}  // namespace kk::grammar::sql
