#pragma once
// The code editor's text document: one UTF-8 byte buffer with a byte-offset cursor, sorted
// selections, the marks of the last search, a clipboard and a time-grouped undo history.
//
// Every offset is a byte offset. Lines are not objects: a line is found each time by looking
// for the byte 10 around an offset. A malformed UTF-8 byte counts as a unit of its own for
// motion and deletion. Offsets are 32-bit, so texts over 2 GiB - 1 bytes are refused.
#include <functional>
#include <vector>

#include "adt/string.h"
#include "adt/types.h"

namespace ruv {

using kk::i32;
using kk::i64;
using kk::u16;
using kk::u32;
using kk::u64;
using kk::u8;
using doc_string = kk::adt::string::string;

// A (start, end) byte range, end exclusive.
struct byte_range {
  i32 start = 0;
  i32 end = 0;
  i32 length() const noexcept { return end - start; }
  bool empty() const noexcept { return start == end; }
  friend bool operator==(const byte_range&, const byte_range&) = default;
};

// One elementary edit of the history.
struct doc_edit_record {
  u8 kind = 0;  // 0 deletion, 1 insertion
  doc_string text;
  u64 time = 0;      // milliseconds of the document's clock when it was made
  i32 position = 0;  // offset of the edit
  u64 id = 0;        // history id; a new branch after an undo gets a new one
  u8 group_start = 0;
  u8 backspace = 0;  // a deletion made by Backspace: its undo leaves the cursor after the text
};

inline constexpr u64 doc_max_size = 0x7fffffff;

struct text_doc {
  doc_string text;
  i32 cursor = 0;
  std::vector<byte_range> selections;  // sorted, non-empty, never overlapping
  std::vector<doc_string> clipboard;   // only entry 0 is used by the editor
  std::vector<byte_range> marks;       // the last search's matches, ascending
  std::vector<doc_edit_record> history;
  u32 position = 0;  // history records currently applied
  u32 saved_position = 0;
  u64 saved_id = 0;
  // Raised by every change of the text, so a parse knows which text it was made from.
  u64 revision = 0;

  // Milliseconds of a steady clock, and the continuous-edit interval in seconds; read at
  // each use. Defaults: the steady clock since program start, and 1.0 s.
  std::function<u64()> clock;
  std::function<double()> edit_interval;
};

// Milliseconds of the steady clock since the program started.
u64 doc_steady_ms();

void doc_init(text_doc& d, kk::adt::text_view text = {nullptr, 0});
void doc_free(text_doc& d);
void doc_clear(text_doc& d);
// Whole-text replacement as the editor loads a file: cleared, text inserted, cursor 0, empty
// history, counted as not modified. False (and no change) for a text over the size limit.
bool doc_load_text(text_doc& d, kk::adt::text_view text);

i32 doc_size(const text_doc& d);
i32 doc_cursor(const text_doc& d);
void doc_set_cursor(text_doc& d, i64 offset);  // clamped to 0 .. size
void doc_cursor_to_start(text_doc& d);
void doc_cursor_to_end(text_doc& d);
i32 doc_column(const text_doc& d);

bool doc_is_word_byte(char c) noexcept;
bool doc_is_delimiter_byte(char c) noexcept;
// The byte length of the code point at offset, 1 for a malformed byte, 0 at the end.
i32 doc_unit_at(const text_doc& d, i32 offset);
// The start of the code point that ends at offset (offset - 1 for a malformed byte).
i32 doc_unit_before(const text_doc& d, i32 offset);

// Ranges (none changes the document).
byte_range doc_word_range(const text_doc& d);
byte_range doc_delimited_range(const text_doc& d);
byte_range doc_line_range(const text_doc& d);
byte_range doc_whole_range(const text_doc& d);
byte_range doc_range_between(const text_doc& d, kk::adt::text_view open, kk::adt::text_view close,
                             bool include_open, bool include_close);
doc_string doc_range_text(const text_doc& d, byte_range r);
doc_string doc_selected_text(const text_doc& d);  // document order
kk::adt::text_view doc_word_before_cursor(const text_doc& d);
bool doc_in_selection(const text_doc& d, i32 offset);
bool doc_in_mark(const text_doc& d, i32 offset);
bool doc_is_whole_word(const text_doc& d, byte_range r);
// Index of the first range whose end is past offset (binary search over sorted ranges).
std::size_t doc_range_index_after(const std::vector<byte_range>& ranges, i32 offset);

// Selections are kept sorted; a range overlapping others is merged with them.
void doc_add_selection(text_doc& d, byte_range r);
void doc_clear_selections(text_doc& d);
void doc_clear_marks(text_doc& d);
void doc_set_marks(text_doc& d, std::vector<byte_range> marks);

// Cursor motion: no history, selections untouched.
void doc_left(text_doc& d);
void doc_right(text_doc& d);
void doc_line_begin(text_doc& d);
void doc_line_end(text_doc& d);
void doc_next_line_end(text_doc& d);
void doc_prev_line_begin(text_doc& d);
void doc_line_down(text_doc& d, i32 column);
void doc_line_up(text_doc& d, i32 column);
void doc_page_down(text_doc& d, i32 n);
void doc_page_up(text_doc& d, i32 n);
void doc_word_right(text_doc& d);
void doc_word_left(text_doc& d);
void doc_word_begin(text_doc& d);
void doc_word_end(text_doc& d);

// Edits. Those that insert return false, changing nothing, when the text would pass the limit.
bool doc_insert_text(text_doc& d, kk::adt::text_view text);
void doc_backspace(text_doc& d);
void doc_delete_forward(text_doc& d);
void doc_delete_selections(text_doc& d);
void doc_copy_selections(text_doc& d, u32 i);
void doc_cut_selections(text_doc& d, u32 i, std::vector<doc_string>& out);
doc_string doc_paste_entry(text_doc& d, u32 i);
bool doc_replace_range(text_doc& d, i64 first, i64 last, kk::adt::text_view text);
// Every selection replaced by the text in one pass, as one undo step.
bool doc_replace_selections(text_doc& d, kk::adt::text_view text);
// Selection k (in document order) replaced by texts[k], in one pass, as one undo step.
bool doc_replace_selections_each(text_doc& d, const std::vector<kk::adt::text_view>& texts);
bool doc_replace_in_selection(text_doc& d, byte_range r, kk::adt::text_view text);

void doc_set_saved(text_doc& d);
bool doc_is_modified(const text_doc& d);
void doc_undo(text_doc& d);
void doc_redo(text_doc& d);
bool doc_edit_settled(const text_doc& d, double k);

inline kk::adt::text_view doc_view(const char* s) { return kk::adt::cstr_view(s); }

}  // namespace ruv
