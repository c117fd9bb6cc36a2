#include "editor/text_doc.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "adt/text.h"

namespace ruv {

using kk::adt::text_view;

namespace {

const auto program_start = std::chrono::steady_clock::now();

bool is_word_table[256];
bool is_delim_table[256];
const bool tables_ready = [] {
  for (int c = '0'; c <= '9'; ++c) is_word_table[c] = true;
  for (int c = 'A'; c <= 'Z'; ++c) is_word_table[c] = true;
  for (int c = 'a'; c <= 'z'; ++c) is_word_table[c] = true;
  is_word_table[static_cast<unsigned char>('_')] = true;
  for (int c = 0; c < 32; ++c) is_delim_table[c] = true;
  is_delim_table[127] = true;
  for (int c = 33; c <= 47; ++c) is_delim_table[c] = true;
  for (int c = 58; c <= 64; ++c) is_delim_table[c] = true;
  for (int c = 91; c <= 94; ++c) is_delim_table[c] = true;
  is_delim_table[96] = true;
  for (int c = 123; c <= 126; ++c) is_delim_table[c] = true;
  return true;
}();

u64 now_ms(const text_doc& d) { return d.clock ? d.clock() : doc_steady_ms(); }
double interval_s(const text_doc& d) { return d.edit_interval ? d.edit_interval() : 1.0; }

bool word_at(const text_doc& d, i64 i) {
  return i >= 0 && i < static_cast<i64>(d.text.size) && doc_is_word_byte(d.text.data[i]);
}

// Offset of the last '\n' before offset, or -1.
i64 newline_before(const text_doc& d, i64 offset) {
  if (offset <= 0) return -1;
  const void* p = memrchr(d.text.data, '\n', static_cast<std::size_t>(offset));
  return p ? static_cast<const char*>(p) - d.text.data : -1;
}

// Offset of the first '\n' at or after offset, or -1.
i64 newline_at_or_after(const text_doc& d, i64 offset) {
  const i64 n = static_cast<i64>(d.text.size);
  if (offset >= n) return -1;
  const void* p = std::memchr(d.text.data + offset, '\n', static_cast<std::size_t>(n - offset));
  return p ? static_cast<const char*>(p) - d.text.data : -1;
}

i32 line_begin_of(const text_doc& d, i64 offset) { return static_cast<i32>(newline_before(d, offset) + 1); }

i32 line_end_of(const text_doc& d, i64 offset) {
  const i64 nl = newline_at_or_after(d, offset);
  return static_cast<i32>(nl < 0 ? static_cast<i64>(d.text.size) : nl);
}

void raw_insert(text_doc& d, i32 pos, text_view t) {
  if (t.size == 0) return;
  ++d.revision;
  const u64 old = d.text.size;
  d.text.resize(old + t.size);
  std::memmove(d.text.data + pos + t.size, d.text.data + pos, old - static_cast<u64>(pos));
  std::memcpy(d.text.data + pos, t.data, t.size);
}

void raw_erase(text_doc& d, i32 pos, i32 n) {
  if (n <= 0) return;
  ++d.revision;
  d.text.erase(static_cast<u64>(pos), static_cast<u64>(pos) + static_cast<u64>(n) - 1);
}

bool fits(const text_doc& d, u64 added, u64 removed = 0) {
  return d.text.size - removed + added <= doc_max_size && added <= doc_max_size;
}

void append_record(text_doc& d, u8 kind, text_view text, i32 pos, bool backspace, bool force_group = false) {
  const u64 now = now_ms(d);
  const bool undone = d.position != d.history.size();
  doc_edit_record r;
  r.kind = kind;
  r.text = kk::adt::string_from_bytes(text.data, text.size);
  r.time = now;
  r.position = pos;
  r.backspace = backspace ? 1 : 0;
  if (d.history.empty()) {
    r.id = 0;
  } else {
    r.id = d.history.back().id + (undone ? 1 : 0);
  }
  if (!d.history.empty() && !undone) {
    const u64 last = d.history.back().time;
    const double limit = interval_s(d) * 1000.0;
    r.group_start = (force_group || (now > last && static_cast<double>(now - last) > limit)) ? 1 : 0;
  }
  d.history.resize(d.position);
  d.history.push_back(std::move(r));
  d.position = static_cast<u32>(d.history.size());
}

void delete_range_recorded(text_doc& d, byte_range r, bool backspace = false) {
  append_record(d, 0, {d.text.data + r.start, static_cast<u64>(r.length())}, r.start, backspace);
  raw_erase(d, r.start, r.length());
}

void insert_recorded(text_doc& d, i32 pos, text_view t) {
  append_record(d, 1, t, pos, false);
  raw_insert(d, pos, t);
}

}  // namespace

u64 doc_steady_ms() {
  return static_cast<u64>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - program_start).count());
}

bool doc_is_word_byte(char c) noexcept { return is_word_table[static_cast<unsigned char>(c)]; }
bool doc_is_delimiter_byte(char c) noexcept { return is_delim_table[static_cast<unsigned char>(c)]; }

void doc_init(text_doc& d, text_view text) {
  doc_free(d);
  if (text.size > doc_max_size) text.size = 0;
  d.text = kk::adt::string_from_bytes(text.data, text.size);
  ++d.revision;
}

void doc_free(text_doc& d) {
  d.text.free();
  d.cursor = 0;
  d.selections.clear();
  d.clipboard.clear();
  d.marks.clear();
  d.history.clear();
  d.position = d.saved_position = 0;
  d.saved_id = 0;
}

void doc_clear(text_doc& d) {
  append_record(d, 0, d.text.view(), 0, false);
  d.text.resize(0);
  ++d.revision;
  d.cursor = 0;
  d.selections.clear();
  d.clipboard.clear();
}

bool doc_load_text(text_doc& d, text_view text) {
  if (text.size > doc_max_size) return false;
  doc_clear(d);
  doc_insert_text(d, text);
  d.cursor = 0;
  d.history.clear();
  d.history.shrink_to_fit();
  d.position = 0;
  // A freshly loaded text is the saved state, also when an earlier text had been saved.
  d.saved_position = 0;
  d.saved_id = 0;
  if (d.text.capacity > d.text.size + 1) {
    doc_string exact = kk::adt::string_copy(d.text);
    d.text = std::move(exact);
  }
  return true;
}

i32 doc_size(const text_doc& d) { return static_cast<i32>(d.text.size); }
i32 doc_cursor(const text_doc& d) { return d.cursor; }

void doc_set_cursor(text_doc& d, i64 offset) {
  d.cursor = static_cast<i32>(std::clamp<i64>(offset, 0, static_cast<i64>(d.text.size)));
}
void doc_cursor_to_start(text_doc& d) { d.cursor = 0; }
void doc_cursor_to_end(text_doc& d) { d.cursor = doc_size(d); }

i32 doc_column(const text_doc& d) { return d.cursor - line_begin_of(d, d.cursor); }

i32 doc_unit_at(const text_doc& d, i32 offset) {
  if (offset < 0 || offset >= doc_size(d)) return 0;
  u32 cp;
  const int n = kk::adt::utf8_decode(d.text.data + offset, d.text.data + d.text.size, cp);
  return n > 0 ? n : 1;
}

i32 doc_unit_before(const text_doc& d, i32 offset) {
  if (offset <= 0) return 0;
  offset = std::min(offset, doc_size(d));
  const i32 one = offset - 1;
  if ((static_cast<u8>(d.text.data[one]) & 0xC0) != 0x80) return one;
  // A continuation byte: the code point ends here only when a lead byte up to three bytes
  // back decodes to a sequence that ends exactly at offset.
  for (i32 lead = one - 1; lead >= 0 && lead >= offset - 4; --lead) {
    const u8 b = static_cast<u8>(d.text.data[lead]);
    if ((b & 0xC0) == 0x80) continue;
    u32 cp;
    const int n = kk::adt::utf8_decode(d.text.data + lead, d.text.data + d.text.size, cp);
    return (n > 0 && lead + n == offset) ? lead : one;
  }
  return one;
}

byte_range doc_word_range(const text_doc& d) {
  i32 s = d.cursor, e = d.cursor;
  while (s > 0 && word_at(d, s - 1)) --s;
  while (e < doc_size(d) && word_at(d, e)) ++e;
  return {s, e};
}

byte_range doc_delimited_range(const text_doc& d) {
  i32 s = d.cursor, e = d.cursor;
  while (s > 0 && !doc_is_delimiter_byte(d.text.data[s - 1])) --s;
  while (e < doc_size(d) && !doc_is_delimiter_byte(d.text.data[e])) ++e;
  return {s, e};
}

byte_range doc_line_range(const text_doc& d) {
  const i64 nl = newline_at_or_after(d, d.cursor);
  return {line_begin_of(d, d.cursor), static_cast<i32>(nl < 0 ? static_cast<i64>(d.text.size) : nl + 1)};
}

byte_range doc_whole_range(const text_doc& d) { return {0, doc_size(d)}; }

byte_range doc_range_between(const text_doc& d, text_view open, text_view close, bool include_open,
                             bool include_close) {
  byte_range r{0, d.cursor};
  if (open.size && d.cursor > 0) {
    // The last occurrence that begins before the cursor (it may reach past the cursor).
    const u64 last_end = std::min<u64>(d.text.size - 1, static_cast<u64>(d.cursor) - 1 + open.size - 1);
    const u64 at = kk::adt::str_rfind(d.text.data, 0, last_end, open.data, open.size);
    if (at != kk::adt::string::npos && at < static_cast<u64>(d.cursor))
      r.start = static_cast<i32>(at + (include_open ? 0 : open.size));
  }
  if (close.size && d.cursor < doc_size(d)) {
    const u64 at = kk::adt::str_find(d.text.data, static_cast<u64>(d.cursor), d.text.size - 1, close.data, close.size);
    if (at != kk::adt::string::npos) r.end = static_cast<i32>(at + (include_close ? close.size : 0));
  }
  return r;
}

doc_string doc_range_text(const text_doc& d, byte_range r) {
  r.start = std::clamp(r.start, 0, doc_size(d));
  r.end = std::clamp(r.end, r.start, doc_size(d));
  return kk::adt::string_from_bytes(d.text.data + r.start, static_cast<u64>(r.length()));
}

doc_string doc_selected_text(const text_doc& d) {
  doc_string out;
  u64 total = 0;
  for (const auto& s : d.selections) total += static_cast<u64>(s.length());
  out.resize(total);
  u64 at = 0;
  for (const auto& s : d.selections) {
    std::memcpy(out.data + at, d.text.data + s.start, static_cast<u64>(s.length()));
    at += static_cast<u64>(s.length());
  }
  return out;
}

text_view doc_word_before_cursor(const text_doc& d) {
  i32 s = d.cursor;
  while (s > 0 && word_at(d, s - 1)) --s;
  return {d.text.data + s, static_cast<u64>(d.cursor - s)};
}

std::size_t doc_range_index_after(const std::vector<byte_range>& ranges, i32 offset) {
  return static_cast<std::size_t>(
      std::partition_point(ranges.begin(), ranges.end(), [&](const byte_range& r) { return r.end <= offset; }) -
      ranges.begin());
}

namespace {
bool in_sorted(const std::vector<byte_range>& ranges, i32 offset) {
  const std::size_t i = doc_range_index_after(ranges, offset);
  return i < ranges.size() && ranges[i].start <= offset;
}
}  // namespace

bool doc_in_selection(const text_doc& d, i32 offset) { return in_sorted(d.selections, offset); }
bool doc_in_mark(const text_doc& d, i32 offset) { return in_sorted(d.marks, offset); }

bool doc_is_whole_word(const text_doc& d, byte_range r) { return !word_at(d, r.start - 1) && !word_at(d, r.end); }

void doc_add_selection(text_doc& d, byte_range r) {
  if (r.start > r.end) std::swap(r.start, r.end);
  r.start = std::clamp(r.start, 0, doc_size(d));
  r.end = std::clamp(r.end, 0, doc_size(d));
  if (r.empty()) return;
  auto& v = d.selections;
  // The first range that ends at or after r's start and the first that starts past r's end.
  auto lo = std::partition_point(v.begin(), v.end(), [&](const byte_range& x) { return x.end < r.start; });
  auto hi = std::partition_point(lo, v.end(), [&](const byte_range& x) { return x.start <= r.end; });
  // Ranges in [lo, hi) touch or overlap r: one range covers them all. Touching ranges stay
  // apart only when they merely meet, so that two adjacent words remain two selections.
  auto first = lo;
  while (first != hi && (first->end == r.start)) ++first;
  auto last = hi;
  while (last != first && (last - 1)->start == r.end) --last;
  if (first != last) {
    r.start = std::min(r.start, first->start);
    r.end = std::max(r.end, (last - 1)->end);
  }
  auto at = v.erase(first, last);
  v.insert(at, r);
}

void doc_clear_selections(text_doc& d) { d.selections.clear(); }
void doc_clear_marks(text_doc& d) { d.marks.clear(); }
void doc_set_marks(text_doc& d, std::vector<byte_range> marks) { d.marks = std::move(marks); }

void doc_left(text_doc& d) { d.cursor = doc_unit_before(d, d.cursor); }

void doc_right(text_doc& d) { d.cursor += doc_unit_at(d, d.cursor); }

void doc_line_begin(text_doc& d) { d.cursor = line_begin_of(d, d.cursor); }
void doc_line_end(text_doc& d) { d.cursor = line_end_of(d, d.cursor); }

void doc_next_line_end(text_doc& d) {
  const i64 nl = newline_at_or_after(d, d.cursor);
  if (nl >= 0) d.cursor = line_end_of(d, nl + 1);
}

void doc_prev_line_begin(text_doc& d) {
  const i32 begin = line_begin_of(d, d.cursor);
  if (begin > 0) d.cursor = line_begin_of(d, begin - 1);
}

namespace {
void to_column(text_doc& d, i32 column) {
  const i32 begin = line_begin_of(d, d.cursor);
  const i32 end = line_end_of(d, begin);
  d.cursor = (column >= 0 && column <= end - begin) ? begin + column : end;
}
}  // namespace

void doc_line_down(text_doc& d, i32 column) {
  doc_next_line_end(d);
  doc_line_begin(d);
  to_column(d, column);
}

void doc_line_up(text_doc& d, i32 column) {
  doc_prev_line_begin(d);
  to_column(d, column);
}

void doc_page_down(text_doc& d, i32 n) {
  for (i32 i = 0; i < n; ++i) {
    const i32 before = d.cursor;
    doc_next_line_end(d);
    if (d.cursor == before) break;
  }
}

void doc_page_up(text_doc& d, i32 n) {
  for (i32 i = 0; i < n; ++i) {
    const i32 before = d.cursor;
    doc_prev_line_begin(d);
    if (d.cursor == before) break;
  }
}

void doc_word_right(text_doc& d) {
  for (i32 i = d.cursor + 1; i < doc_size(d); ++i)
    if (word_at(d, i) && !word_at(d, i - 1)) {
      d.cursor = i;
      return;
    }
}

void doc_word_left(text_doc& d) {
  for (i32 i = d.cursor - 1; i >= 1; --i)
    if (word_at(d, i) && !word_at(d, i - 1)) {
      d.cursor = i;
      return;
    }
  d.cursor = 0;
}

void doc_word_begin(text_doc& d) {
  const byte_range r = doc_word_range(d);
  if (!r.empty()) d.cursor = r.start;
}

void doc_word_end(text_doc& d) {
  const byte_range r = doc_word_range(d);
  if (!r.empty()) d.cursor = r.end;
}

bool doc_insert_text(text_doc& d, text_view text) {
  if (!fits(d, text.size)) return false;
  if (doc_in_selection(d, d.cursor)) doc_delete_selections(d);
  insert_recorded(d, d.cursor, text);
  d.cursor += static_cast<i32>(text.size);
  d.selections.clear();
  return true;
}

void doc_backspace(text_doc& d) {
  if (!d.selections.empty()) return doc_delete_selections(d);
  if (d.cursor == 0) return;
  const i32 start = doc_unit_before(d, d.cursor);
  delete_range_recorded(d, {start, d.cursor}, true);
  d.cursor = start;
}

void doc_delete_forward(text_doc& d) {
  if (!d.selections.empty()) return doc_delete_selections(d);
  const i32 n = doc_unit_at(d, d.cursor);
  if (n == 0) return;
  delete_range_recorded(d, {d.cursor, d.cursor + n});
}

void doc_delete_selections(text_doc& d) {
  while (!d.selections.empty()) {
    const byte_range r = d.selections.back();
    delete_range_recorded(d, r);
    d.cursor = r.start;
    d.selections.pop_back();
  }
}

void doc_copy_selections(text_doc& d, u32 i) {
  if (d.selections.empty()) return;  // nothing selected: the clipboard stays as it was
  if (d.clipboard.size() <= i) d.clipboard.resize(i + 1);
  d.clipboard[i] = doc_selected_text(d);
}

void doc_cut_selections(text_doc& d, u32 i, std::vector<doc_string>& out) {
  if (d.selections.empty()) return;
  if (d.clipboard.size() <= i) d.clipboard.resize(i + 1);
  d.clipboard[i] = doc_selected_text(d);
  for (const auto& s : d.selections) out.push_back(doc_range_text(d, s));
  while (!d.selections.empty()) {
    const byte_range r = d.selections.back();
    if (d.cursor > r.start) d.cursor = d.cursor >= r.end ? d.cursor - r.length() : r.start;
    delete_range_recorded(d, r);
    d.selections.pop_back();
  }
}

doc_string doc_paste_entry(text_doc& d, u32 i) {
  if (i >= d.clipboard.size()) return {};
  doc_string entry = d.clipboard[i];
  const text_view t = entry.view();
  if (d.selections.empty()) {
    if (!fits(d, t.size)) return entry;
    insert_recorded(d, d.cursor, t);
    d.cursor += static_cast<i32>(t.size);
    return entry;
  }
  u64 removed = 0;
  for (const auto& s : d.selections) removed += static_cast<u64>(s.length());
  if (t.size > doc_max_size || !fits(d, t.size * d.selections.size(), removed)) return entry;
  while (!d.selections.empty()) {
    const byte_range r = d.selections.back();
    delete_range_recorded(d, r);
    insert_recorded(d, r.start, t);
    d.cursor = r.start + static_cast<i32>(t.size);
    d.selections.pop_back();
  }
  return entry;
}

bool doc_replace_range(text_doc& d, i64 first, i64 last, text_view text) {
  if (first < 0 || last < first || last >= static_cast<i64>(d.text.size)) return false;
  const u64 n = static_cast<u64>(last - first + 1);
  if (!fits(d, text.size, n)) return false;
  raw_erase(d, static_cast<i32>(first), static_cast<i32>(n));
  raw_insert(d, static_cast<i32>(first), text);
  return true;
}

bool doc_replace_selections(text_doc& d, text_view text) {
  return doc_replace_selections_each(d, std::vector<text_view>(d.selections.size(), text));
}

bool doc_replace_selections_each(text_doc& d, const std::vector<text_view>& texts) {
  if (d.selections.empty()) return true;
  const auto& sel = d.selections;
  if (texts.size() != sel.size()) return false;
  u64 removed = 0, added = 0;
  for (std::size_t k = 0; k < sel.size(); ++k) {
    removed += static_cast<u64>(sel[k].length());
    if (texts[k].size > doc_max_size) return false;
    added += texts[k].size;
  }
  if (!fits(d, added, removed)) return false;
  // The span from the first selection's start to the last one's end is rebuilt once and
  // recorded as one deletion and one insertion, so a replacement of every match of a large
  // text costs one pass and one undo step.
  const byte_range span{sel.front().start, sel.back().end};
  doc_string out;
  out.resize(static_cast<u64>(span.length()) - removed + added);
  u64 at = 0;
  for (std::size_t k = 0; k < sel.size(); ++k) {
    if (k > 0) {
      const i32 gap = sel[k].start - sel[k - 1].end;
      std::memcpy(out.data + at, d.text.data + sel[k - 1].end, static_cast<u64>(gap));
      at += static_cast<u64>(gap);
    }
    if (texts[k].size) std::memcpy(out.data + at, texts[k].data, texts[k].size);
    at += texts[k].size;
  }
  append_record(d, 0, {d.text.data + span.start, static_cast<u64>(span.length())}, span.start, false, true);
  append_record(d, 1, out.view(), span.start, false);
  if (static_cast<u64>(span.length()) == out.size) {
    std::memcpy(d.text.data + span.start, out.data, out.size);
    ++d.revision;
  } else {
    raw_erase(d, span.start, span.length());
    raw_insert(d, span.start, out.view());
  }
  d.cursor = span.start;
  d.selections.clear();
  return true;
}

bool doc_replace_in_selection(text_doc& d, byte_range r, text_view text) {
  auto& sel = d.selections;
  auto it = std::find_if(sel.begin(), sel.end(), [&](const byte_range& s) { return s.start <= r.start && r.end <= s.end; });
  if (it == sel.end() || r.start > r.end) return false;
  if (!fits(d, text.size, static_cast<u64>(r.length()))) return false;
  delete_range_recorded(d, r);
  d.cursor = r.start;
  insert_recorded(d, r.start, text);
  const i32 diff = static_cast<i32>(text.size) - r.length();
  it->end += diff;
  for (auto later = it + 1; later != sel.end(); ++later) {
    later->start += diff;
    later->end += diff;
  }
  // A selection that the replacement emptied is dropped, as an empty range is never selected.
  if (it->empty()) sel.erase(it);
  return true;
}

void doc_set_saved(text_doc& d) {
  d.saved_position = d.position;
  d.saved_id = d.position ? d.history[d.position - 1].id : 0;
}

bool doc_is_modified(const text_doc& d) {
  if (d.position != d.saved_position) return true;
  if (d.position == 0) return false;
  return d.history[d.position - 1].id != d.saved_id;
}

void doc_undo(text_doc& d) {
  d.selections.clear();
  d.marks.clear();
  while (d.position >= 1) {
    --d.position;
    const doc_edit_record& r = d.history[d.position];
    const i32 len = static_cast<i32>(r.text.size);
    if (r.kind == 0) {
      raw_insert(d, r.position, r.text.view());
      d.cursor = r.backspace ? r.position + len : r.position;
    } else {
      raw_erase(d, r.position, len);
      d.cursor = r.position;
    }
    if (r.group_start) break;
  }
}

void doc_redo(text_doc& d) {
  d.selections.clear();
  d.marks.clear();
  int applied = 0;
  while (d.position < d.history.size()) {
    const doc_edit_record& r = d.history[d.position];
    if (r.group_start && applied > 0) break;
    const i32 len = static_cast<i32>(r.text.size);
    if (r.kind == 1) {
      if (r.position <= doc_size(d)) {
        raw_insert(d, r.position, r.text.view());
        d.cursor = r.position + len;
      }
    } else {
      raw_erase(d, r.position, len);
      d.cursor = r.position;
    }
    ++d.position;
    ++applied;
  }
}

bool doc_edit_settled(const text_doc& d, double k) {
  if (d.history.empty() || d.position < d.history.size()) return true;
  const u64 now = now_ms(d);
  const u64 last = d.history.back().time;
  return now > last && static_cast<double>(now - last) > interval_s(d) * 1000.0 * k;
}

}  // namespace ruv
