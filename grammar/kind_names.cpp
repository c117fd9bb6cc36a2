#include "grammar/kind_names.h"

#include <cstring>

namespace kk::grammar {

namespace {

// Position of the first element not below the key.
template <class Less>
u64 lower_bound(const adt::vector<kind_name>& v, Less less) {
  u64 lo = 0, hi = v.size;
  while (lo < hi) {
    const u64 mid = lo + (hi - lo) / 2;
    if (less(v[mid]))
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

void insert_at(adt::vector<kind_name>& v, u64 i, kind_name e) {
  v.push_back(e);
  for (u64 j = v.size - 1; j > i; --j) v[j] = v[j - 1];
  v[i] = e;
}

adt::text_view view_of(const kind_name& e) noexcept { return {e.name, e.length}; }

}  // namespace

bool kind_name_insert(kind_name_table* table, kind_name entry) {
  const u64 ik = lower_bound(table->by_kind, [&](const kind_name& x) { return x.kind < entry.kind; });
  const bool has_kind = ik < table->by_kind.size && table->by_kind[ik].kind == entry.kind;
  const adt::text_view name = view_of(entry);
  const u64 in = lower_bound(table->by_name,
                             [&](const kind_name& x) { return adt::text_compare(view_of(x), name) < 0; });
  const bool has_name =
      in < table->by_name.size && adt::text_compare(view_of(table->by_name[in]), name) == 0;
  if (has_kind && has_name) return false;
  if (!has_kind) insert_at(table->by_kind, ik, entry);
  if (!has_name) insert_at(table->by_name, in, entry);
  ++table->count;
  return true;
}

adt::text_view kind_name_of(const kind_name_table* table, u16 kind) noexcept {
  const u64 i = lower_bound(table->by_kind, [&](const kind_name& x) { return x.kind < kind; });
  if (i < table->by_kind.size && table->by_kind[i].kind == kind) return view_of(table->by_kind[i]);
  return {nullptr, 0};
}

int kind_of_name(const kind_name_table* table, adt::text_view name) noexcept {
  const u64 i = lower_bound(table->by_name,
                            [&](const kind_name& x) { return adt::text_compare(view_of(x), name) < 0; });
  if (i < table->by_name.size && adt::text_compare(view_of(table->by_name[i]), name) == 0)
    return table->by_name[i].kind;
  return -1;
}

namespace {
struct built_table : kind_name_table {
  built_table() {
    static const char* const names[] = {
        "syntax", "rule", "alternation", "concatenation", "meta_definition", "group", "option",
        "repeat", "terminal_string", "except_terminal_string", "sort_string", "quote_string",
        "dquote_string", "range_string", "any_char", "digit_hex", "integer_dec", "integer_hex",
        "integer", "identifier", "nonwhitespace", "digit", "alphabet", "identifier_chars",
        "nonascii_chars", "ascii", "all_chars", "whitespace", "comment", "multiline_comment",
        "unuse_string"};
    u16 k = 0;
    for (const char* n : names) kind_name_insert(this, {k++, n, std::strlen(n)});
    kind_name_insert(this, {32, "repeat >= 1", 11});
  }
};
}  // namespace

const kind_name_table& ebnf_kind_names() {
  static const built_table table;
  return table;
}

}  // namespace kk::grammar
