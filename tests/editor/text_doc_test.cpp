#include "editor/text_doc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace ruv;

namespace {

std::string str(const doc_string& s) { return std::string(s.data ? s.data : "", s.size); }
kk::adt::text_view tv(const std::string& s) { return {s.data(), s.size()}; }

// A document on a scripted millisecond clock.
struct doc_fixture {
  text_doc d;
  u64 now = 1000;
  explicit doc_fixture(const std::string& text = "") {
    doc_init(d, tv(text));
    d.clock = [this] { return now; };
    d.edit_interval = [] { return 1.0; };
  }
  std::string text() const { return str(d.text); }
  void type(const std::string& s, u64 gap_ms = 10) {
    for (char c : s) {
      now += gap_ms;
      doc_insert_text(d, {&c, 1});
    }
  }
};

}  // namespace

// Undo groups follow the time between edits; a record made while records are undone joins
// the group before it, and redo re-applies up to the next group start.
TEST(text_doc, undo_groups_follow_the_clock) {
  struct step {
    char op;  // t: type text after a pause, u: undo, r: redo
    std::string arg;
    u64 pause_ms;
    std::string want;
  };
  const std::vector<std::pair<const char*, std::vector<step>>> scripts = {
      {"pause splits groups",
       {{'t', "abc", 10, "abc"}, {'t', "de", 1500, "abcde"}, {'u', "", 0, "abc"}, {'u', "", 0, ""},
        {'u', "", 0, ""}, {'r', "", 0, "abc"}, {'r', "", 0, "abcde"}, {'r', "", 0, "abcde"}}},
      {"edit after undo joins the group before",
       {{'t', "A", 10, "A"}, {'t', "B", 2000, "AB"}, {'t', "C", 2000, "ABC"}, {'u', "", 0, "AB"},
        {'t', "x", 5000, "ABx"}, {'u', "", 0, "A"}, {'r', "", 0, "ABx"}, {'u', "", 0, "A"}, {'u', "", 0, ""}}},
      {"exactly the interval is no pause",
       {{'t', "ab", 10, "ab"}, {'t', "c", 1000, "abc"}, {'u', "", 0, ""}}},
  };
  for (const auto& [name, steps] : scripts) {
    SCOPED_TRACE(name);
    doc_fixture f;
    for (std::size_t i = 0; i < steps.size(); ++i) {
      const step& s = steps[i];
      SCOPED_TRACE(i);
      if (s.op == 't') {
        f.now += s.pause_ms;
        f.type(s.arg, 0);
      } else if (s.op == 'u') {
        doc_undo(f.d);
      } else {
        doc_redo(f.d);
      }
      EXPECT_EQ(f.text(), s.want);
    }
  }
}

TEST(text_doc, undo_puts_the_cursor_where_the_edit_was) {
  struct row {
    const char* name;
    std::string text;
    i32 cursor;
    void (*edit)(text_doc&);
    std::string after;
    i32 cursor_after_undo;
  };
  const row rows[] = {
      {"backspace of a two-byte code point", "x\xC3\xA9y", 3, doc_backspace, "xy", 3},
      {"backspace of the first character", "ab", 1, doc_backspace, "b", 1},
      {"delete before a two-byte code point", "x\xC3\xA9y", 1, doc_delete_forward, "xy", 1},
      {"backspace over a malformed byte", "a\x80\x80", 3, doc_backspace, "a\x80", 3},
      {"backspace after a cut-off sequence", "a\xE2\x82", 3, doc_backspace, "a\xE2", 3},
      {"delete of a malformed lead byte", "\xE2xy", 0, doc_delete_forward, "xy", 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    doc_fixture f(r.text);
    doc_set_cursor(f.d, r.cursor);
    r.edit(f.d);
    EXPECT_EQ(f.text(), r.after);
    doc_undo(f.d);
    EXPECT_EQ(f.text(), r.text);
    EXPECT_EQ(doc_cursor(f.d), r.cursor_after_undo);
  }
}

TEST(text_doc, modified_state_follows_save_undo_and_new_edits) {
  doc_fixture f;
  EXPECT_FALSE(doc_is_modified(f.d));
  f.type("ab");
  EXPECT_TRUE(doc_is_modified(f.d));
  doc_set_saved(f.d);
  EXPECT_FALSE(doc_is_modified(f.d));
  doc_undo(f.d);
  EXPECT_TRUE(doc_is_modified(f.d));
  doc_redo(f.d);
  EXPECT_FALSE(doc_is_modified(f.d));
  // Undo, then a different edit of the same length: same position, other branch.
  f.now += 5000;
  f.type("c");
  doc_set_saved(f.d);
  doc_undo(f.d);
  f.type("d");
  EXPECT_EQ(f.text(), "abd");
  EXPECT_TRUE(doc_is_modified(f.d));

  // A loaded text counts as saved, also after an earlier save at another position.
  doc_load_text(f.d, tv("fresh"));
  EXPECT_EQ(f.text(), "fresh");
  EXPECT_EQ(doc_cursor(f.d), 0);
  EXPECT_TRUE(f.d.history.empty());
  EXPECT_FALSE(doc_is_modified(f.d));
}

TEST(text_doc, edit_settled_waits_for_k_intervals) {
  doc_fixture f;
  EXPECT_TRUE(doc_edit_settled(f.d, 2));  // no history
  f.type("a");
  f.now += 2000;
  EXPECT_FALSE(doc_edit_settled(f.d, 2));
  f.now += 1;
  EXPECT_TRUE(doc_edit_settled(f.d, 2));
  f.type("b");
  EXPECT_FALSE(doc_edit_settled(f.d, 2));
  doc_undo(f.d);  // undone records: settled
  EXPECT_TRUE(doc_edit_settled(f.d, 2));
}

// Selections stay sorted and merged, so deleting them never hits the wrong bytes.
TEST(text_doc, selections_are_normalised_before_edits) {
  struct row {
    const char* name;
    std::vector<byte_range> added;
    std::vector<byte_range> want;
    std::string after_delete;
  };
  const std::string text = "0123456789";
  const row rows[] = {
      {"select all over a selection", {{2, 4}, {0, 10}}, {{0, 10}}, ""},
      {"the same word twice", {{3, 6}, {3, 6}}, {{3, 6}}, "0126789"},
      {"added backwards and reversed", {{8, 6}, {1, 3}}, {{1, 3}, {6, 8}}, "034589"},
      {"overlapping chain", {{1, 3}, {5, 7}, {2, 6}}, {{1, 7}}, "0789"},
      {"adjacent ranges stay apart", {{1, 3}, {3, 5}}, {{1, 3}, {3, 5}}, "056789"},
      {"empty range ignored", {{4, 4}}, {}, "0123456789"},
      {"clamped to the text", {{8, 50}}, {{8, 10}}, "01234567"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    doc_fixture f(text);
    for (auto a : r.added) doc_add_selection(f.d, a);
    EXPECT_EQ(f.d.selections, r.want);
    doc_delete_selections(f.d);
    EXPECT_EQ(f.text(), r.after_delete);
    EXPECT_TRUE(f.d.selections.empty());
    doc_undo(f.d);
    EXPECT_EQ(f.text(), text);
  }
}

TEST(text_doc, cut_copy_and_paste_keep_document_order) {
  doc_fixture f("one two three");
  doc_add_selection(f.d, {8, 13});
  doc_add_selection(f.d, {0, 3});
  doc_copy_selections(f.d, 0);
  EXPECT_EQ(str(f.d.clipboard[0]), "onethree");

  doc_set_cursor(f.d, 6);
  std::vector<doc_string> out;
  doc_cut_selections(f.d, 0, out);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(str(out[0]), "one");
  EXPECT_EQ(str(out[1]), "three");
  EXPECT_EQ(str(f.d.clipboard[0]), "onethree");
  EXPECT_EQ(f.text(), " two ");
  EXPECT_EQ(doc_cursor(f.d), 3);  // was inside "two", moved back by the first cut

  // Copy with nothing selected leaves the clipboard alone.
  doc_copy_selections(f.d, 0);
  EXPECT_EQ(str(f.d.clipboard[0]), "onethree");

  // Paste over two selections replaces both, last first.
  doc_add_selection(f.d, {0, 1});
  doc_add_selection(f.d, {4, 5});
  doc_paste_entry(f.d, 0);
  EXPECT_EQ(f.text(), "onethreetwoonethree");
  EXPECT_EQ(doc_cursor(f.d), 8);
  EXPECT_EQ(str(doc_paste_entry(f.d, 7)), "");  // no such entry
}

TEST(text_doc, motion_table) {
  struct row {
    const char* name;
    std::string text;
    i32 from;
    void (*move)(text_doc&);
    i32 want;
  };
  const auto up7 = [](text_doc& d) { doc_line_up(d, 7); };
  const auto down7 = [](text_doc& d) { doc_line_down(d, 7); };
  const auto down1 = [](text_doc& d) { doc_line_down(d, 1); };
  const auto page_down2 = [](text_doc& d) { doc_page_down(d, 2); };
  const auto page_up5 = [](text_doc& d) { doc_page_up(d, 5); };
  const std::string lines = "abcdefghij\nxyz\nlong line here";
  const row rows[] = {
      {"left over ascii", "abc", 2, doc_left, 1},
      {"left at 0", "abc", 0, doc_left, 0},
      {"left over 3-byte", "a\xE2\x82\xAC", 4, doc_left, 1},
      {"left over 4-byte", "\xF0\x9F\x98\x80", 4, doc_left, 0},
      {"left over stray continuation", "a\x80", 2, doc_left, 1},
      {"left over two stray continuations", "ab\x80\x80", 4, doc_left, 3},
      {"left after cut-off sequence", "a\xE2\x82", 3, doc_left, 2},
      {"left over lead without continuation", "a\xC3", 2, doc_left, 1},
      {"right over 2-byte", "\xC3\xA9z", 0, doc_right, 2},
      {"right over malformed", "\xFFz", 0, doc_right, 1},
      {"right over cut-off", "\xE2\x82", 0, doc_right, 1},
      {"right at end", "ab", 2, doc_right, 2},
      {"line begin", lines, 13, doc_line_begin, 11},
      {"line end", lines, 12, doc_line_end, 14},
      {"line end on last line", lines, 16, doc_line_end, 29},
      {"up from column 7 onto short line", lines, 22, up7, 14},
      {"up on first line keeps column", lines, 3, up7, 7},
      {"down from short line onto long", lines, 12, down7, 22},
      {"down on last line keeps the line", lines, 16, down7, 22},
      {"down onto short line end", "ab\nc", 0, down1, 4},
      {"next line end", lines, 2, doc_next_line_end, 14},
      {"next line end on last line", lines, 20, doc_next_line_end, 20},
      {"prev line begin", lines, 20, doc_prev_line_begin, 11},
      {"prev line begin on first", lines, 4, doc_prev_line_begin, 4},
      {"page down two", lines, 0, page_down2, 29},
      {"page up stops at first", lines, 20, page_up5, 0},
      {"word right", "ab, cd", 0, doc_word_right, 4},
      {"word right none", "ab, ", 0, doc_word_right, 0},
      {"word left inside word", "ab cd", 4, doc_word_left, 3},
      {"word left to previous", "ab cd", 3, doc_word_left, 0},
      {"word left none", "  ", 2, doc_word_left, 0},
      {"word begin", "x foo_1 y", 5, doc_word_begin, 2},
      {"word end", "x foo_1 y", 5, doc_word_end, 7},
      {"word end on blank", "x  y", 2, doc_word_end, 2},
      {"multi-byte is no word byte", "a\xC3\xA9", 1, doc_word_end, 1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    doc_fixture f(r.text);
    doc_set_cursor(f.d, r.from);
    r.move(f.d);
    EXPECT_EQ(doc_cursor(f.d), r.want);
  }
}

TEST(text_doc, range_table) {
  struct row {
    const char* name;
    std::string text;
    i32 cursor;
    byte_range (*range)(const text_doc&);
    byte_range want;
  };
  const auto parens = [](const text_doc& d) { return doc_range_between(d, doc_view("("), doc_view(")"), false, false); };
  const auto parens_in = [](const text_doc& d) { return doc_range_between(d, doc_view("("), doc_view(")"), true, true); };
  const auto comment = [](const text_doc& d) { return doc_range_between(d, doc_view("/*"), doc_view("*/"), true, true); };
  const row rows[] = {
      {"word on b", "a.b c;d", 2, doc_word_range, {2, 3}},
      {"delimited on b", "a.b c;d", 2, doc_delimited_range, {2, 5}},
      {"word in empty text", "", 0, doc_word_range, {0, 0}},
      {"word at end", "ab", 2, doc_word_range, {0, 2}},
      {"word stops at multi-byte", "x\xC3\xA9y", 0, doc_word_range, {0, 1}},
      {"delimited stops at newline", "ab cd\nef", 1, doc_delimited_range, {0, 5}},
      {"line with its newline", "ab\ncd\nef", 4, doc_line_range, {3, 6}},
      {"last line", "ab\ncd", 4, doc_line_range, {3, 5}},
      {"whole", "ab\ncd", 1, doc_whole_range, {0, 5}},
      {"inside parentheses", "f(a, b)", 4, parens, {2, 6}},
      {"with parentheses", "f(a, b)", 4, parens_in, {1, 7}},
      {"no opening", "a, b)", 2, parens, {0, 4}},
      {"no closing", "(a, b", 2, parens, {1, 2}},
      {"opening straddles cursor", "x/*y*/", 2, comment, {1, 6}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    doc_fixture f(r.text);
    doc_set_cursor(f.d, r.cursor);
    EXPECT_EQ(r.range(f.d), r.want);
  }
}

TEST(text_doc, column_word_before_cursor_and_lookups) {
  doc_fixture f("\nabc def");
  doc_set_cursor(f.d, 3);
  EXPECT_EQ(doc_column(f.d), 2);  // counts from offset 1
  doc_set_cursor(f.d, 8);
  const auto w = doc_word_before_cursor(f.d);
  EXPECT_EQ(std::string(w.data, w.size), "def");
  doc_set_cursor(f.d, 99);
  EXPECT_EQ(doc_cursor(f.d), 8);

  doc_add_selection(f.d, {5, 7});
  doc_add_selection(f.d, {1, 2});
  doc_set_marks(f.d, {{0, 1}, {6, 8}});
  const bool sel[] = {false, true, false, false, false, true, true, false, false};
  const bool mark[] = {true, false, false, false, false, false, true, true, false};
  for (i32 i = 0; i <= 8; ++i) {
    EXPECT_EQ(doc_in_selection(f.d, i), sel[i]) << i;
    EXPECT_EQ(doc_in_mark(f.d, i), mark[i]) << i;
  }
  EXPECT_TRUE(doc_is_whole_word(f.d, {1, 4}));
  EXPECT_FALSE(doc_is_whole_word(f.d, {1, 3}));
}

TEST(text_doc, replace_range_and_size_limit) {
  doc_fixture f("abcdef");
  EXPECT_TRUE(doc_replace_range(f.d, 1, 3, doc_view("XY")));
  EXPECT_EQ(f.text(), "aXYef");
  EXPECT_FALSE(doc_replace_range(f.d, 3, 5, doc_view("Z")));  // last past the end
  EXPECT_FALSE(doc_replace_range(f.d, 2, 1, doc_view("Z")));
  EXPECT_TRUE(f.d.history.empty());

  // A text that would pass 2 GiB - 1 bytes is refused before its bytes are read.
  const char small[] = "x";
  EXPECT_FALSE(doc_insert_text(f.d, {small, u64(0x80000000)}));
  EXPECT_EQ(f.text(), "aXYef");
  EXPECT_TRUE(f.d.history.empty());
}

TEST(text_doc, replace_selections_is_one_undo_step) {
  doc_fixture f("a1b1c1");
  f.type("!");  // a recent edit that must not join the replacement's group
  EXPECT_EQ(f.text(), "!a1b1c1");
  for (i32 s : {2, 4, 6}) doc_add_selection(f.d, {s, s + 1});
  EXPECT_TRUE(doc_replace_selections(f.d, doc_view("22")));
  EXPECT_EQ(f.text(), "!a22b22c22");
  EXPECT_EQ(doc_cursor(f.d), 2);
  EXPECT_TRUE(f.d.selections.empty());
  doc_undo(f.d);
  EXPECT_EQ(f.text(), "!a1b1c1");
  doc_redo(f.d);
  EXPECT_EQ(f.text(), "!a22b22c22");

  // An empty replacement removes; one undo restores both.
  doc_add_selection(f.d, {1, 2});
  doc_add_selection(f.d, {8, 10});
  doc_replace_selections(f.d, doc_view(""));
  EXPECT_EQ(f.text(), "!22b22c");
  doc_undo(f.d);
  EXPECT_EQ(f.text(), "!a22b22c22");
}

TEST(text_doc, replace_in_selection_shifts_later_selections) {
  doc_fixture f("xx ab ab yy ab");
  doc_add_selection(f.d, {3, 8});
  doc_add_selection(f.d, {12, 14});
  EXPECT_TRUE(doc_replace_in_selection(f.d, {6, 8}, doc_view("ABCD")));
  EXPECT_EQ(f.text(), "xx ab ABCD yy ab");
  EXPECT_EQ(f.d.selections, (std::vector<byte_range>{{3, 10}, {14, 16}}));
  EXPECT_EQ(doc_cursor(f.d), 6);
  EXPECT_FALSE(doc_replace_in_selection(f.d, {0, 2}, doc_view("Q")));  // in no selection
  EXPECT_EQ(f.text(), "xx ab ABCD yy ab");
}

// ---- randomised property test against a reference model --------------------------------

namespace {

// A deliberately plain model: std::string, ranges as sets of offsets, and history as text
// snapshots with the cursor each undo or redo step leaves behind.
struct model {
  struct rec {
    std::string before, after;
    i32 cursor_undo, cursor_redo;
    u64 time;
    u64 id;
    bool group;
  };
  std::string text;
  i32 cursor = 0;
  std::vector<byte_range> sel;
  std::string clip;
  bool has_clip = false;
  std::vector<rec> hist;
  std::size_t pos = 0;
  u64 now = 0;

  std::vector<byte_range> selections() const { return sel; }
  bool in_sel(i32 i) const {
    for (auto r : sel)
      if (r.start <= i && i < r.end) return true;
    return false;
  }
  // Naive normalisation: merge any two overlapping ranges until none overlap, then sort.
  void add_sel(i32 a, i32 b) {
    if (a == b) return;
    sel.push_back({a, b});
    for (bool again = true; again;) {
      again = false;
      for (std::size_t i = 0; i < sel.size() && !again; ++i)
        for (std::size_t j = i + 1; j < sel.size() && !again; ++j)
          if (sel[i].start < sel[j].end && sel[j].start < sel[i].end) {
            sel[i] = {std::min(sel[i].start, sel[j].start), std::max(sel[i].end, sel[j].end)};
            sel.erase(sel.begin() + static_cast<long>(j));
            again = true;
          }
    }
    std::sort(sel.begin(), sel.end(), [](byte_range x, byte_range y) { return x.start < y.start; });
  }
  void record(const std::string& before, i32 cu, i32 cr, bool force = false) {
    const bool undone = pos != hist.size();
    rec r{before, text, cu, cr, now, hist.empty() ? 0 : hist.back().id + (undone ? 1 : 0), false};
    if (!hist.empty() && !undone) r.group = force || now > hist.back().time + 1000;
    hist.resize(pos);
    hist.push_back(r);
    pos = hist.size();
  }
  void clear_sel() { sel.clear(); }
  void erase(i32 s, i32 n, bool backspace) {
    const std::string before = text;
    text.erase(s, n);
    record(before, backspace ? s + n : s, s);
  }
  void insert(i32 at, const std::string& t) {
    const std::string before = text;
    text.insert(at, t);
    record(before, at, at + static_cast<i32>(t.size()));
  }
  void delete_selections() {
    auto rs = selections();
    for (auto it = rs.rbegin(); it != rs.rend(); ++it) {
      erase(it->start, it->length(), false);
      cursor = it->start;
    }
    clear_sel();
  }
  void undo() {
    clear_sel();
    while (pos >= 1) {
      --pos;
      text = hist[pos].before;
      cursor = hist[pos].cursor_undo;
      if (hist[pos].group) break;
    }
    clear_sel();
  }
  void redo() {
    int n = 0;
    while (pos < hist.size()) {
      if (hist[pos].group && n > 0) break;
      text = hist[pos].after;
      cursor = hist[pos].cursor_redo;
      ++pos, ++n;
    }
    clear_sel();
  }
};

std::string random_text(std::mt19937& rng, int max_len) {
  static const std::vector<std::string> units = {"a", "b", " ", "\n", "_", "\xC3\xA9", "\xE2\x82\xAC", "\x80", "\xF0\x9F\x98\x80"};
  std::string s;
  const int n = std::uniform_int_distribution<int>(0, max_len)(rng);
  for (int i = 0; i < n; ++i) s += units[rng() % units.size()];
  return s;
}

}  // namespace

TEST(text_doc, random_edits_match_the_reference_model) {
  for (u32 seed = 1; seed <= 60; ++seed) {
    std::mt19937 rng(seed);
    doc_fixture f;
    model m;
    m.now = f.now;
    for (int step = 0; step < 300; ++step) {
      const int op = static_cast<int>(rng() % 11);
      const u64 pause = (rng() % 4 == 0) ? 1500 : 20;
      f.now += pause;
      m.now = f.now;
      const i32 size = static_cast<i32>(m.text.size());
      SCOPED_TRACE(testing::Message() << "seed " << seed << " step " << step << " op " << op);
      switch (op) {
        case 0:
        case 1: {  // type a text
          const std::string t = random_text(rng, 3);
          if (m.in_sel(m.cursor)) m.delete_selections();
          m.insert(m.cursor, t);
          m.cursor += static_cast<i32>(t.size());
          m.clear_sel();
          doc_insert_text(f.d, tv(t));
          break;
        }
        case 2: {  // backspace
          if (!m.selections().empty()) {
            m.delete_selections();
          } else if (m.cursor > 0) {
            const i32 s = doc_unit_before(f.d, m.cursor);
            m.erase(s, m.cursor - s, true);
            m.cursor = s;
          }
          doc_backspace(f.d);
          break;
        }
        case 3: {  // delete forward
          if (!m.selections().empty()) {
            m.delete_selections();
          } else if (m.cursor < size) {
            m.erase(m.cursor, doc_unit_at(f.d, m.cursor), false);
          }
          doc_delete_forward(f.d);
          break;
        }
        case 4: {  // add a selection
          if (size == 0) break;
          i32 a = static_cast<i32>(rng() % (size + 1)), b = static_cast<i32>(rng() % (size + 1));
          if (a > b) std::swap(a, b);
          m.add_sel(a, b);
          doc_add_selection(f.d, {b, a});
          break;
        }
        case 5:
          m.cursor = size ? static_cast<i32>(rng() % (size + 1)) : 0;
          doc_set_cursor(f.d, m.cursor);
          break;
        case 6:
          m.undo();
          doc_undo(f.d);
          break;
        case 7:
          m.redo();
          doc_redo(f.d);
          break;
        case 8: {  // cut
          const auto rs = m.selections();
          if (rs.empty()) break;
          std::string all;
          for (auto r : rs) all += m.text.substr(r.start, r.length());
          m.clip = all, m.has_clip = true;
          i32 c = m.cursor;
          for (auto r : rs)
            if (m.cursor > r.start) c -= std::min(m.cursor, r.end) - r.start;
          m.delete_selections();
          m.cursor = c;
          std::vector<doc_string> out;
          doc_cut_selections(f.d, 0, out);
          break;
        }
        case 9: {  // paste
          if (!m.has_clip) break;
          const auto rs = m.selections();
          if (rs.empty()) {
            m.insert(m.cursor, m.clip);
            m.cursor += static_cast<i32>(m.clip.size());
          } else {
            for (auto it = rs.rbegin(); it != rs.rend(); ++it) {
              m.erase(it->start, it->length(), false);
              m.insert(it->start, m.clip);
              m.cursor = it->start + static_cast<i32>(m.clip.size());
            }
          }
          m.clear_sel();
          doc_paste_entry(f.d, 0);
          break;
        }
        case 10: {  // replace selections in one step
          const auto rs = m.selections();
          if (rs.empty()) break;
          const std::string t = random_text(rng, 2);
          const std::string before = m.text;
          std::string after = m.text;
          for (auto it = rs.rbegin(); it != rs.rend(); ++it) after.replace(it->start, it->length(), t);
          m.text = after;
          // One deletion and one insertion record over the span; undo leaves the cursor at
          // the span start, redo after the rebuilt span.
          const i32 span_new = static_cast<i32>(after.size()) - (static_cast<i32>(before.size()) - rs.back().end);
          std::string mid = before;
          mid.erase(rs.front().start, rs.back().end - rs.front().start);
          m.text = mid;
          m.record(before, rs.front().start, rs.front().start, true);
          m.text = after;
          m.record(mid, rs.front().start, span_new);
          m.cursor = rs.front().start;
          m.clear_sel();
          doc_replace_selections(f.d, tv(t));
          break;
        }
      }
      ASSERT_EQ(f.text(), m.text);
      ASSERT_EQ(doc_cursor(f.d), m.cursor);
      ASSERT_EQ(f.d.selections, m.sel);
      ASSERT_EQ(f.d.position, m.pos);
      ASSERT_EQ(f.d.history.size(), m.hist.size());
    }
  }
}

TEST(text_doc, revision_follows_every_text_change_and_nothing_else) {
  doc_fixture f("abc");
  u64 r = f.d.revision;
  const auto changed = [&] {
    const bool c = f.d.revision != r;
    r = f.d.revision;
    return c;
  };
  doc_right(f.d);
  doc_add_selection(f.d, {0, 1});
  EXPECT_FALSE(changed());
  doc_copy_selections(f.d, 0);
  EXPECT_FALSE(changed());
  doc_replace_selections(f.d, doc_view("z"));  // same length, rewritten in place
  EXPECT_TRUE(changed());
  doc_undo(f.d);
  EXPECT_TRUE(changed());
  doc_insert_text(f.d, doc_view("q"));
  EXPECT_TRUE(changed());
  doc_load_text(f.d, doc_view("new"));
  EXPECT_TRUE(changed());
}

TEST(text_doc, each_selection_gets_its_own_replacement) {
  doc_fixture f("aa bb cc");
  doc_add_selection(f.d, {6, 8});
  doc_add_selection(f.d, {0, 2});
  EXPECT_TRUE(doc_replace_selections_each(f.d, {doc_view("1"), doc_view("333")}));
  EXPECT_EQ(f.text(), "1 bb 333");
  doc_undo(f.d);
  EXPECT_EQ(f.text(), "aa bb cc");
  // A count of texts that does not match the selections changes nothing.
  doc_add_selection(f.d, {0, 2});
  doc_add_selection(f.d, {3, 5});
  EXPECT_FALSE(doc_replace_selections_each(f.d, {doc_view("x")}));
  EXPECT_EQ(f.text(), "aa bb cc");
}
