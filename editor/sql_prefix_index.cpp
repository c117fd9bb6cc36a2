#include "editor/sql_prefix_index.h"

#include <string>

namespace ruv::lang {

namespace {

std::string lowered(std::string_view s) {
  std::string l(s);
  for (char& c : l)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return l;
}

// Byte length of each character, or 0 when the word is not valid UTF-8: a lead byte below
// 0x80, 110xxxxx, 1110xxxx or 11110xxx followed by that many 10xxxxxx bytes.
u64 char_length(std::string_view w, u64 at) {
  const unsigned char c = static_cast<unsigned char>(w[at]);
  u64 n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
  if (n == 0 || at + n > w.size()) return 0;
  for (u64 i = 1; i < n; ++i)
    if ((static_cast<unsigned char>(w[at + i]) & 0xC0) != 0x80) return 0;
  return n;
}

bool valid_utf8(std::string_view w) {
  for (u64 at = 0; at < w.size();) {
    const u64 n = char_length(w, at);
    if (n == 0) return false;
    at += n;
  }
  return true;
}

std::string_view view_of(const kk::adt::string::string& s) {
  return s.data ? std::string_view(s.data, s.size) : std::string_view();
}

kk::adt::string::string bytes(std::string_view s) {
  return kk::adt::string::string_from_bytes(s.data(), s.size());
}

}  // namespace

const kk::adt::vector<u32>* prefix_index::find(std::string_view fragment) const {
  if (fragment.empty()) return nullptr;
  const std::string key = lowered(fragment);
  const auto* n = prefixes_.find(kk::adt::text_view{key.data(), key.size()});
  return n ? &n->value : nullptr;
}

bool prefix_index::insert(std::string_view word) {
  if (!valid_utf8(word)) return false;
  if (word.empty()) return true;
  const std::string key = lowered(word);
  if (const auto* same = find(key)) {
    for (u32 i : *same)
      if (words_[i].size == key.size() && lowered(view_of(words_[i])) == key) return false;
  }
  const u32 index = u32(words_.size);
  words_.push_back(bytes(word));
  for (u64 at = 0; at < key.size();) {
    at += char_length(key, at);
    const std::string_view prefix(key.data(), at);
    if (auto* n = prefixes_.find(kk::adt::text_view{prefix.data(), prefix.size()})) {
      n->value.push_back(index);
    } else {
      kk::adt::vector<u32> v;
      v.push_back(index);
      if (prefixes_.insert(bytes(prefix), std::move(v))) ++prefix_count_;
    }
  }
  return true;
}

bool prefix_index::contains(std::string_view fragment) const { return find(fragment) != nullptr; }

u64 prefix_index::append_matches(std::string_view fragment, candidate_list& out) const {
  const auto* v = find(fragment);
  if (!v) return 0;
  for (u32 i : *v) out.push_back(words_[i]);
  return v->size;
}

namespace {
void insert_list(prefix_index& index, std::string_view list) {
  while (!list.empty()) {
    const u64 bar = list.find('|');
    const std::string_view piece = list.substr(0, bar);
    if (!piece.empty()) index.insert(piece);
    if (bar == std::string_view::npos) break;
    list.remove_prefix(bar + 1);
  }
}
}  // namespace

prefix_index prefix_index::from_list(std::string_view list) {
  prefix_index index;
  insert_list(index, list);
  return index;
}

// The vocabulary

const prefix_index& function_names() {
  static const prefix_index i = prefix_index::from_list(
      "abs|ceil|exp|round|floor|pow|log|log2|log10|log1p|pi|e|sqrt|sin|cos|tan|asin|acos|atan|"
      "constants|seq|rand|substr|replace|starts|ends|contain|find_first|find_last|find_first_of|"
      "find_last_of|reg_match|fuzzy_match|trim_l|trim_r|trim|lcase|ucase|concat|length|x2i08|"
      "x2i16|x2i32|x2i64|x2u08|x2u16|x2u32|x2u64|x2flt|x2dbl|x2str|x2date|x2time|x2datetime|"
      "raw2hex|hex2raw|row_id|id|now_id|hash_passwd|var|stddev|sum|product|min|max|min_k|max_k|"
      "avg|count|sort|unique|count_unique|first|last|nth|range|first_k|last_k|is_leap|last_day|"
      "now|date|time|add_day|add_nanosec|sub_day|sub_nanosec|day_diff|nanosec_diff|year_of|"
      "month_of|day_of|hour_of|minute_of|second_of|nanosec_of|date_of|time_of|weekday|"
      "weekday_name|weekday_cname");
  return i;
}

namespace {
constexpr const char* query_list = "select|save|rows_of|cols_of|fields_of|show";
constexpr const char* modifying_list =
    "insert|delete|update|create|truncate|load|import|drop|alter|atom_exec";
}  // namespace

const prefix_index& statement_words() {
  static const prefix_index i = [] {
    prefix_index w = prefix_index::from_list(query_list);
    insert_list(w, modifying_list);
    return w;
  }();
  return i;
}

const prefix_index& type_and_clause_words() {
  static const prefix_index i = prefix_index::from_list(
      "u08|i08|u16|i16|u32|i32|u64|i64|float|double|string|true|false|date|time|datetime|from|"
      "into|values|where|table|tables|all|any|not|in|export|as|csv|csvs|split|by|all_each|adj|on|"
      "distinct|asc|desc|inner|range|first|last|except|exists|join|union|path|exec|atom_exec");
  return i;
}

const prefix_index& post_words() {
  static const prefix_index i = prefix_index::from_list(
      "adj|on|all_each|distinct|first|last|nth|range|not|exists|inner|project|group|by|order|asc|"
      "desc|recompute|rename");
  return i;
}

const prefix_index& query_words() {
  static const prefix_index i = prefix_index::from_list(query_list);
  return i;
}

const prefix_index& modifying_words() {
  static const prefix_index i = prefix_index::from_list(modifying_list);
  return i;
}

// name_indexes

void name_indexes::set_table_names(const candidate_list& names) {
  tables_ = prefix_index();
  for (const auto& n : names) tables_.insert(view_of(n));
  has_tables_ = true;
}

void name_indexes::set_field_names(const field_name_map& map) {
  fields_.destroy();
  for (auto* n = map.first(); n; n = kk::adt::tree_next(n)) {
    prefix_index fields;
    for (const auto& f : n->value) fields.insert(view_of(f));
    fields_.insert(n->key, std::move(fields));
  }
  has_fields_ = true;
}

u64 name_indexes::append_field_matches(std::string_view table, std::string_view fragment,
                                       candidate_list& out) const {
  u64 added = 0;
  if (table.empty()) {
    for (auto* n = fields_.first(); n; n = kk::adt::tree_next(n))
      added += n->value.append_matches(fragment, out);
    return added;
  }
  if (auto* n = fields_.find(kk::adt::text_view{table.data(), table.size()}))
    return n->value.append_matches(fragment, out);
  // The server's spelling may differ in case from the statement's.
  const std::string want = lowered(table);
  for (auto* n = fields_.first(); n; n = kk::adt::tree_next(n))
    if (lowered(view_of(n->key)) == want)
      added += n->value.append_matches(fragment, out);
  return added;
}

}  // namespace ruv::lang
