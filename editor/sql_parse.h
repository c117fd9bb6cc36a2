#pragma once
// The editor's parse of its text and the queries over it.
//
// A `script_parse` holds its own copy of the text it parsed, the document revision that
// text had, and one tree per statement (all in one forest, freed together). The trees point
// into that copy only, so they stay valid whatever the document does afterwards; callers
// that need the trees to describe the current text (painting, completion, runs) check
// `is_of(revision)` and treat any other parse as absent.
//
// `parse_scheduler` decides after each input whether the widget parses now, arms its 50 ms
// timer, or leaves the text unparsed, by the text's size; its clock is injected.
//
// Offsets are byte offsets into the parsed text.
#include <functional>
#include <vector>

#include "adt/string.h"
#include "adt/types.h"
#include "adt/vector.h"
#include "grammar/parse_node.h"
#include "grammar/sql_rules.h"

namespace ruv::lang {

using kk::i64;
using kk::u16;
using kk::u32;
using kk::u64;
using kk::u8;
using kk::grammar::parse_node;

// Node ids of the SQL grammar the editor relies on (rule number + 2).
namespace node_id {
namespace g = kk::grammar::sql;
inline constexpr u16 terminal = 1;
inline constexpr u16 constant = g::id_constant;
inline constexpr u16 uint_dec = g::id_uint_dec;
inline constexpr u16 fn_name = g::id_fn_name;
inline constexpr u16 select_one = g::id_select_one;
inline constexpr u16 insert = g::id_insert;
inline constexpr u16 delete_ = g::id_delete;
inline constexpr u16 update = g::id_update;
inline constexpr u16 create = g::id_create;
inline constexpr u16 alter = g::id_alter;
inline constexpr u16 drop = g::id_drop;
inline constexpr u16 field_name = g::id_field_name;
inline constexpr u16 table_name = g::id_table_name;
inline constexpr u16 comment = g::id_comment;
inline constexpr u16 igs = g::id_igs;
inline constexpr u16 sp = g::id_sp;
inline constexpr u16 rows_of = g::id_rows_of;
inline constexpr u16 cols_of = g::id_cols_of;
inline constexpr u16 save = g::id_save;
inline constexpr u16 load = g::id_load;
inline constexpr u16 fields_of = g::id_fields_of;
inline constexpr u16 show_tabs = g::id_show_tabs;
inline constexpr u16 order = g::id_order;
inline constexpr u16 filter = g::id_filter;
inline constexpr u16 group = g::id_group;
inline constexpr u16 recompute = g::id_recompute;
inline constexpr u16 project = g::id_project;
inline constexpr u16 rename = g::id_rename;
inline constexpr u16 truncate = g::id_truncate;
inline constexpr u16 import = g::id_import;
inline constexpr u16 backup = g::id_backup;
inline constexpr u16 restore = g::id_restore;
// No id of the path set found.
inline constexpr u16 none = 65535;
}  // namespace node_id

// Matches one statement at text[0, length) with the program's SQL library object. On
// success *tree is the root (the caller frees it with grammar_free_tree) and the result is
// the matched length; on failure *tree is null and the result is the offset where matching
// stopped. No library object: null tree and 0.
u64 parse_statement(const char* text, u64 length, parse_node** tree);

// Splits text[0, length) into consecutive statement trees appended to `trees` (owned by the
// caller); returns the bytes consumed, below `length` where a statement does not parse.
u64 split_script(const char* text, u64 length, kk::adt::vector<parse_node*>& trees);
// The same with the trees built in `forest`, which owns them.
u64 split_script(const char* text, u64 length, kk::adt::vector<parse_node*>& trees,
                 kk::grammar::parse_forest& forest);

// The first node below `tree` (depth first, children in order) with the table_name id.
const parse_node* first_table_name_node(const parse_node* tree) noexcept;

// One parse of a whole text, owning a copy of that text and its trees. Move only.
class script_parse {
 public:
  script_parse() = default;
  script_parse(script_parse&& o) noexcept;
  script_parse& operator=(script_parse&& o) noexcept;
  script_parse(const script_parse&) = delete;
  script_parse& operator=(const script_parse&) = delete;
  ~script_parse();

  // Parses a copy of text[0, size) taken at document revision `revision`. An empty text has
  // no trees and a parsed length of 0.
  static script_parse of(const char* text, u64 size, u64 revision);

  u64 revision() const noexcept { return revision_; }
  // True when this parse was made from the document at `revision`.
  bool is_of(u64 revision) const noexcept { return valid_ && revision_ == revision; }
  // False for a default-constructed (never parsed) object.
  bool valid() const noexcept { return valid_; }

  // The parsed copy of the text: the trees' start pointers point into it.
  const char* text() const noexcept { return text_.data ? text_.data : ""; }
  u64 size() const noexcept { return text_.size; }
  // Bytes the statements consumed; below size() where the text stopped parsing.
  u64 parsed_length() const noexcept { return parsed_; }
  bool complete() const noexcept { return parsed_ == text_.size; }

  const kk::adt::vector<parse_node*>& trees() const noexcept { return trees_; }
  u64 tree_count() const noexcept { return trees_.size; }
  // Offsets of tree i in the text.
  u64 tree_begin(u64 i) const noexcept { return u64(trees_[i]->start - text()); }
  u64 tree_end(u64 i) const noexcept { return tree_begin(i) + trees_[i]->length; }

 private:
  void release() noexcept;

  kk::adt::string::string text_;
  kk::grammar::parse_forest forest_;  // owns the trees
  kk::adt::vector<parse_node*> trees_;
  u64 parsed_ = 0;
  u64 revision_ = 0;
  bool valid_ = false;
};

// When the editor parses, by the text's size.
class parse_scheduler {
 public:
  // Below this size every input is parsed at once.
  static constexpr u64 timer_from = 131072;
  // From this size on the text is never parsed.
  static constexpr u64 never_from = 4194304;
  // Interval of the widget's parse timer.
  static constexpr int timer_ms = 50;

  // What the widget does next.
  enum class step : u8 {
    parse_now,    // parse the whole text now and stop the timer
    start_timer,  // (re)start the parse timer with timer_ms
    stop_timer,   // stop the timer; the last parse stays
  };

  // `now_ms` is a monotonic clock in milliseconds; a null one uses the steady clock.
  explicit parse_scheduler(std::function<i64()> now_ms = {});

  // After an input changed the text (the widget's start_parse).
  step edited(u64 text_size);
  // The timer fired (the widget's auto_parse): parse_now once no input came for twice the
  // continuous-edit interval, else start_timer. A negative or non-finite interval counts
  // as the default of 1 s; an interval over an hour as one hour.
  step timer_fired(double continuous_edit_seconds);
  // Whether the scheduler last asked for the timer to run.
  bool timer_running() const noexcept { return timer_running_; }

 private:
  std::function<i64()> now_ms_;
  i64 last_edit_ms_ = 0;
  bool edited_ = false;
  bool timer_running_ = false;
};

// Nodes covering an offset, the statement root first and the innermost node last.
using node_path = std::vector<const parse_node*>;

// Index of the tree in trees[low, high] covering the offset, or -1 (binary search).
i64 node_index_at(const kk::adt::vector<parse_node*>& nodes, i64 low, i64 high,
                  const char* text_start, u64 offset) noexcept;

// Fills `path` (cleared first) with the chain of nodes covering `offset` and returns the
// innermost id on it of the path set {comment, field_name, table_name, fn_name, constant,
// uint_dec, sp, terminal}, or node_id::none. No tree covers the offset: empty path, none.
u16 token_path_at(const kk::adt::vector<parse_node*>& trees, const char* text_start,
                  u64 offset, node_path& path);

// Tests on a filled path.
bool path_has_comment(const node_path& path) noexcept;
bool path_has_fn_name(const node_path& path) noexcept;
bool path_has_field_name(const node_path& path) noexcept;
bool path_has_table_name(const node_path& path) noexcept;
bool path_has_constant(const node_path& path) noexcept;
// A terminal on the path whose text is non-empty and all bytes 32 to 126.
bool path_has_printable_terminal(const node_path& path) noexcept;
// A node on the path opens a read statement (select, save, rows_of, cols_of, fields_of,
// show, backup), a write statement (insert, delete, update, create, truncate, load,
// import, drop, alter, restore) or a post clause (order, filter, group, recompute,
// project, rename), and the offset lies in that node's first child: its keyword (for a
// filter, the whole filter form).
bool at_read_keyword(const node_path& path, const char* text_start, u64 offset) noexcept;
bool at_write_keyword(const node_path& path, const char* text_start, u64 offset) noexcept;
bool at_post_keyword(const node_path& path, const char* text_start, u64 offset) noexcept;

// Id tests of the completion.
inline bool is_comment_id(u16 id) noexcept { return id == node_id::comment; }
inline bool is_constant_id(u16 id) noexcept { return id == node_id::constant; }
inline bool is_field_name_id(u16 id) noexcept { return id == node_id::field_name; }
inline bool is_fn_name_id(u16 id) noexcept { return id == node_id::fn_name; }
inline bool is_terminal_id(u16 id) noexcept { return id == node_id::terminal; }
inline bool is_table_name_id(u16 id) noexcept { return id == node_id::table_name; }

// Index of the last tree in trees[low, high] whose end lies strictly before `offset`, or -1.
i64 last_tree_before(const kk::adt::vector<parse_node*>& trees, i64 low, i64 high,
                     const char* text_start, u64 offset) noexcept;

}  // namespace ruv::lang
