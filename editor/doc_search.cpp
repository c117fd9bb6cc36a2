#include "editor/doc_search.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "adt/text.h"

namespace ruv {

using kk::adt::text_view;

namespace {

// Limits that end a runaway pattern such as (a+)+b in a fraction of a second.
constexpr uint32_t match_limit = 5'000'000;
constexpr uint32_t depth_limit = 10'000;

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;  // a non-hexadecimal character counts as 0
}

// n digits from position i, never past the end of the text.
u32 hex_digits(text_view t, u64 i, int n) {
  u32 v = 0;
  for (int k = 0; k < n; ++k) v = v * 16 + static_cast<u32>(i + k < t.size ? hex_value(t.data[i + k]) : 0);
  return v;
}

void append_utf8(doc_string& out, u32 cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string folded(text_view t) {
  std::string s(t.data ? t.data : "", t.size);
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

char lower(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool is_ascii_letter(char c) noexcept { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

// A pattern's letters as ignore case searches them, over a text whose ASCII letters are
// folded to lower case: literal letters (classes and ranges too) are folded; what names
// syntax keeps its case: the letter of an escape (\W stays "not a word character"), the
// property in \p{..} and \P{..}, a name in \N{..}, option letters such as (?U), the
// first letter after "(?" (P, C, R) and a verb after "(*". Group names are folded where
// they are made and where they are used alike.
std::string fold_regex_pattern(text_view t) {
  std::string out;
  out.reserve(t.size);
  const char* p = t.data ? t.data : "";
  const u64 n = t.size;
  u64 i = 0;
  const auto copy_braced = [&] {  // "{...}" as it stands, when it follows
    if (i < n && p[i] == '{') {
      while (i < n && p[i] != '}') out.push_back(p[i++]);
      if (i < n) out.push_back(p[i++]);
    }
  };
  while (i < n) {
    const char c = p[i];
    if (c == '\\' && i + 1 < n) {
      const char e = p[i + 1];
      out.push_back(c);
      out.push_back(e);
      i += 2;
      if (e == 'Q') {  // \Q...\E: literal text
        while (i < n && !(p[i] == '\\' && i + 1 < n && p[i + 1] == 'E')) out.push_back(lower(p[i++]));
      } else if (e == 'p' || e == 'P') {
        if (i < n && p[i] == '{') copy_braced();
        else if (i < n) out.push_back(p[i++]);
      } else if (e == 'N') {
        copy_braced();
      }
      continue;
    }
    if (c == '(' && i + 1 < n && (p[i + 1] == '?' || p[i + 1] == '*')) {
      out.push_back(c);
      out.push_back(p[i + 1]);
      i += 2;
      if (p[i - 1] == '*') {
        while (i < n && (is_ascii_letter(p[i]) || p[i] == '_')) out.push_back(p[i++]);
        continue;
      }
      u64 j = i;  // option letters: (?iU) or (?x-i:...)
      while (j < n && (is_ascii_letter(p[j]) || p[j] == '-' || p[j] == '^')) ++j;
      if (j > i && j < n && (p[j] == ')' || p[j] == ':')) {
        out.append(p + i, j - i);
        i = j;
      } else if (i < n) {
        out.push_back(p[i++]);
      }
      continue;
    }
    out.push_back(lower(c));
    ++i;
  }
  return out;
}

namespace {

// Plain search: non-overlapping occurrences from offset 0, each continuing after the last.
void find_plain(text_view hay, text_view pat, i32 base, std::vector<byte_range>& out) {
  if (pat.size == 0 || hay.size < pat.size) return;
  const char* p = hay.data;
  const char* end = hay.data + hay.size;
  while (static_cast<u64>(end - p) >= pat.size) {
    const void* hit = memmem(p, static_cast<std::size_t>(end - p), pat.data, pat.size);
    if (!hit) break;
    const char* h = static_cast<const char*>(hit);
    const i32 s = base + static_cast<i32>(h - hay.data);
    out.push_back({s, s + static_cast<i32>(pat.size)});
    p = h + pat.size;
  }
}

struct code_free {
  void operator()(pcre2_code* c) const { pcre2_code_free(c); }
};
struct data_free {
  void operator()(pcre2_match_data* m) const { pcre2_match_data_free(m); }
};
struct context_free {
  void operator()(pcre2_match_context* m) const { pcre2_match_context_free(m); }
};
struct stack_free {
  void operator()(pcre2_jit_stack* s) const { pcre2_jit_stack_free(s); }
};

}  // namespace

struct doc_searcher::regex {
  std::unique_ptr<pcre2_code, code_free> code;
  std::unique_ptr<pcre2_match_data, data_free> data;
  std::unique_ptr<pcre2_match_context, context_free> context;
  std::unique_ptr<pcre2_jit_stack, stack_free> stack;
};

namespace {

using regex = doc_searcher::regex;

bool compile(regex& re, text_view pattern, bool ignore_case) {
  // (Ignore case reaches here folded, see fold_regex_pattern: PCRE2's own caseless
  // matching would fold letters beyond ASCII too.)
  // UTF with invalid sequences allowed in the subject; \u and unset back references as in
  // ECMAScript; $ only at the very end.
  uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_ALT_BSUX | PCRE2_MATCH_UNSET_BACKREF |
                     PCRE2_DOLLAR_ENDONLY;
  if (ignore_case) options |= PCRE2_CASELESS;
  int err = 0;
  PCRE2_SIZE at = 0;
  re.code.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data ? pattern.data : ""), pattern.size,
                              options, &err, &at, nullptr));
  if (!re.code) return false;
  re.data.reset(pcre2_match_data_create_from_pattern(re.code.get(), nullptr));
  re.context.reset(pcre2_match_context_create(nullptr));
  if (!re.data || !re.context) return false;
  pcre2_set_match_limit(re.context.get(), match_limit);
  pcre2_set_depth_limit(re.context.get(), depth_limit);
  if (pcre2_jit_compile(re.code.get(), PCRE2_JIT_COMPLETE) == 0) {
    re.stack.reset(pcre2_jit_stack_create(32 * 1024, 4 * 1024 * 1024, nullptr));
    if (re.stack) pcre2_jit_stack_assign(re.context.get(), nullptr, re.stack.get());
  }
  return true;
}

i32 unit_length(text_view t, u64 at) {
  u32 cp;
  const int n = kk::adt::utf8_decode(t.data + at, t.data + t.size, cp);
  return n > 0 ? n : 1;
}

// Regular-expression search over the whole text: each search starts at an offset of the
// same subject, so ^ matches only at its start; an empty match is recorded once and the
// search then steps on by a code point.
search_status find_regex(const regex& re, text_view hay, i32 base, std::vector<byte_range>& out) {
  const auto* subject = reinterpret_cast<PCRE2_SPTR>(hay.data ? hay.data : "");
  PCRE2_SIZE offset = 0;
  bool after_empty = false;
  while (offset <= hay.size) {
    const uint32_t opts = after_empty ? (PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED) : 0;
    const int rc = pcre2_match(re.code.get(), subject, hay.size, offset, opts, re.data.get(), re.context.get());
    if (rc == PCRE2_ERROR_NOMATCH) {
      if (!after_empty) break;
      // No non-empty match at the empty match's place: step on by one code point.
      after_empty = false;
      if (offset >= hay.size) break;
      offset += static_cast<PCRE2_SIZE>(unit_length(hay, offset));
      continue;
    }
    if (rc < 0) {
      if (rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT || rc == PCRE2_ERROR_HEAPLIMIT ||
          rc == PCRE2_ERROR_JIT_STACKLIMIT || rc == PCRE2_ERROR_NOMEMORY)
        return search_status::limit_reached;
      return search_status::invalid_pattern;
    }
    const PCRE2_SIZE* v = pcre2_get_ovector_pointer(re.data.get());
    const PCRE2_SIZE s = v[0], e = v[1];
    if (e < s) return search_status::invalid_pattern;  // \K tricks: refuse rather than loop
    out.push_back({base + static_cast<i32>(s), base + static_cast<i32>(e)});
    after_empty = s == e;
    offset = e;
  }
  return search_status::ok;
}

search_status find(text_doc& d, text_view what, std::vector<byte_range>& out, u32 mode, u16 flags,
                   bool in_selections) {
  out.clear();
  if (d.text.size == 0) return search_status::ok;
  doc_searcher searcher(what, mode, flags);
  if (searcher.empty()) {
    d.marks.clear();
    return search_status::ok;
  }
  if (searcher.invalid()) return search_status::invalid_pattern;

  search_status st = search_status::ok;
  if (!in_selections) {
    st = searcher.find_all(d.text.view(), out);
  } else {
    for (const auto& s : d.selections) {
      st = searcher.find_in(d.text.view(), s, out);
      if (st != search_status::ok) break;
    }
  }
  if (st == search_status::invalid_pattern) {
    out.clear();
    return st;
  }
  d.marks = out;
  return st;
}

bool pick_next(const std::vector<byte_range>& all, i64 from, byte_range& out) {
  for (const auto& r : all)
    if (r.start >= from) {
      out = r;
      return true;
    }
  return false;
}

bool pick_prev(const std::vector<byte_range>& all, i64 from, byte_range& out) {
  for (auto it = all.rbegin(); it != all.rend(); ++it)
    if (it->end <= from && it->start < from) {
      out = *it;
      return true;
    }
  return false;
}

}  // namespace

doc_searcher::doc_searcher(text_view what, u32 mode, u16 flags) : mode_(mode), flags_(flags) {
  // The pattern in its searchable form: escapes resolved, ASCII-folded for plain modes.
  if (mode_ == search_escaped) {
    const doc_string u = search_unescape(what);
    pattern_.assign(u.data ? u.data : "", u.size);
  } else {
    if (mode_ != search_regex) mode_ = search_plain;
    pattern_.assign(what.data ? what.data : "", what.size);
  }
  if (pattern_.empty()) return;
  if (mode_ != search_regex) {
    if (flags_ & search_ignore_case) pattern_ = folded({pattern_.data(), pattern_.size()});
    return;
  }
  // Ignore case folds ASCII letters only, as plain search does: the pattern's letters and
  // the searched text are folded, and the expression itself matches case as it stands.
  if (flags_ & search_ignore_case) pattern_ = fold_regex_pattern({pattern_.data(), pattern_.size()});
  re_ = std::make_unique<regex>();
  if (!compile(*re_, {pattern_.data(), pattern_.size()}, false)) {
    re_.reset();
    invalid_ = true;
  }
}

doc_searcher::~doc_searcher() = default;
doc_searcher::doc_searcher(doc_searcher&&) noexcept = default;
doc_searcher& doc_searcher::operator=(doc_searcher&&) noexcept = default;

bool doc_searcher::invalid() const noexcept { return invalid_; }
bool doc_searcher::empty() const noexcept { return pattern_.empty(); }

search_status doc_searcher::find_all(text_view text, std::vector<byte_range>& out) {
  return find_in(text, {0, static_cast<i32>(std::min<u64>(text.size, INT32_MAX))}, out);
}

search_status doc_searcher::find_in(text_view text, byte_range part, std::vector<byte_range>& out) {
  if (pattern_.empty() || invalid_) return search_status::ok;
  // Offsets are 32-bit: a part outside the text, or past that reach, is cut to fit.
  const i64 limit = static_cast<i64>(std::min<u64>(text.size, INT32_MAX));
  const i64 s = std::clamp<i64>(part.start, 0, limit), e = std::clamp<i64>(part.end, s, limit);
  if (e == s) return search_status::ok;  // an empty text holds no match, not even an empty one
  const text_view hay{text.data + s, static_cast<u64>(e - s)};
  const i32 base = static_cast<i32>(s);
  const std::size_t first = out.size();
  search_status st = search_status::ok;
  const text_view pat{pattern_.data(), pattern_.size()};
  text_view searched = hay;
  if (flags_ & search_ignore_case) {
    folded_.assign(hay.data ? hay.data : "", hay.size);
    for (char& c : folded_) c = lower(c);
    searched = {folded_.data(), folded_.size()};
  }
  if (mode_ == search_regex)
    st = find_regex(*re_, searched, base, out);
  else
    find_plain(searched, pat, base, out);
  if (flags_ & search_whole_word) {
    const auto word_at = [&](i64 i) { return i >= 0 && i < limit && doc_is_word_byte(text.data[i]); };
    std::size_t keep = first;
    for (std::size_t k = first; k < out.size(); ++k)
      if (!word_at(out[k].start - 1) && !word_at(out[k].end)) out[keep++] = out[k];
    out.resize(keep);
  }
  return st;
}

doc_string search_unescape(text_view t) {
  static const kk::adt::escape_map escapes = kk::adt::escape_table_build();
  doc_string out;
  u64 i = 0;
  while (i < t.size) {
    const char c = t.data[i];
    if (c != '\\') {
      out.push_back(c);
      ++i;
      continue;
    }
    if (i + 1 >= t.size) break;  // a lone backslash at the end appends nothing
    const char k = t.data[i + 1];
    if (k == 'u') {
      append_utf8(out, hex_digits(t, i + 2, 4));
      i += 6;
    } else if (k == 'U') {
      const u32 cp = hex_digits(t, i + 2, 8);
      if (cp > 0x10FFFF) break;
      append_utf8(out, cp);
      i += 10;
    } else if (k == 'x') {
      const u32 v = hex_digits(t, i + 2, 1);
      if (v) out.push_back(static_cast<char>(v));
      i += 3;
    } else {
      if (escapes.is_escape(k)) out.push_back(escapes.lookup(k));
      i += 2;
    }
  }
  return out;
}

search_status doc_find_all(text_doc& d, text_view what, std::vector<byte_range>& out, u32 mode, u16 flags) {
  return find(d, what, out, mode, flags, false);
}

search_status doc_find_all_in_selections(text_doc& d, text_view what, std::vector<byte_range>& out, u32 mode,
                                         u16 flags) {
  return find(d, what, out, mode, flags, true);
}

bool doc_find_next(text_doc& d, i64 from, text_view what, byte_range& out, u32 mode, u16 flags) {
  std::vector<byte_range> all;
  doc_find_all(d, what, all, mode, flags);
  return pick_next(all, from, out);
}

bool doc_find_prev(text_doc& d, i64 from, text_view what, byte_range& out, u32 mode, u16 flags) {
  std::vector<byte_range> all;
  doc_find_all(d, what, all, mode, flags);
  return pick_prev(all, from, out);
}

bool doc_find_next_in_selections(text_doc& d, i64 from, text_view what, byte_range& out, u32 mode, u16 flags) {
  std::vector<byte_range> all;
  doc_find_all_in_selections(d, what, all, mode, flags);
  return pick_next(all, from, out);
}

bool doc_find_prev_in_selections(text_doc& d, i64 from, text_view what, byte_range& out, u32 mode, u16 flags) {
  std::vector<byte_range> all;
  doc_find_all_in_selections(d, what, all, mode, flags);
  return pick_prev(all, from, out);
}

std::size_t doc_replace_all(text_doc& d, text_view what, text_view with, u32 mode, u16 flags, search_status* status) {
  std::vector<byte_range> all;
  const search_status st = doc_find_all(d, what, all, mode, flags);
  if (status) *status = st;
  d.selections.clear();
  for (const auto& r : all)
    if (!r.empty()) d.selections.push_back(r);  // ascending and disjoint already
  const std::size_t n = d.selections.size();
  if (n) doc_replace_selections(d, with);
  d.marks.clear();
  return n;
}

}  // namespace ruv
