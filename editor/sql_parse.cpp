#include "editor/sql_parse.h"

#include <chrono>
#include <cmath>
#include <utility>

#include "grammar/matcher.h"
#include "sqllib/sql_library.h"

namespace ruv::lang {

// The editor's colours, completion and printer are keyed to these ids; a change of the
// grammar's rule order must show here first.
static_assert(node_id::constant == 3 && node_id::uint_dec == 8 && node_id::fn_name == 41);
static_assert(node_id::select_one == 47 && node_id::insert == 52 && node_id::delete_ == 53 &&
              node_id::update == 54 && node_id::create == 56 && node_id::alter == 65 &&
              node_id::drop == 66);
static_assert(node_id::field_name == 70 && node_id::table_name == 71 && node_id::comment == 75 &&
              node_id::igs == 78 && node_id::sp == 79);
static_assert(node_id::rows_of == 91 && node_id::cols_of == 92 && node_id::save == 93 &&
              node_id::load == 94 && node_id::fields_of == 96 && node_id::show_tabs == 97);
static_assert(node_id::order == 99 && node_id::filter == 100 && node_id::group == 106 &&
              node_id::recompute == 107 && node_id::project == 108 && node_id::rename == 109);
static_assert(node_id::truncate == 111 && node_id::import == 115 && node_id::backup == 118 &&
              node_id::restore == 119);

using kk::grammar::child_at;
using kk::grammar::child_count;
using kk::grammar::parse_id_set;

u64 parse_statement(const char* text, u64 length, parse_node** tree) {
  *tree = nullptr;
  const kk::sql_library* lib = kk::sql_library_instance();
  if (!lib || !lib->root) return 0;
  kk::grammar::parse_farthest = nullptr;
  u64 remaining = length;
  parse_node* t = kk::grammar::grammar_match(lib->root, text, &remaining, lib->rules);
  if (!t) {
    const char* far = kk::grammar::parse_farthest;
    return far && far >= text ? u64(far - text) : 0;
  }
  *tree = t;
  return u64(kk::grammar::node_end(t) - text);
}

namespace {

// Statement trees from `match` (text, remaining) appended to trees; `drop` releases a tree
// that is not kept.
template <class Match, class Drop>
u64 split_with(const char* text, u64 length, kk::adt::vector<parse_node*>& trees, Match match,
               Drop drop) {
  const kk::sql_library* lib = kk::sql_library_instance();
  if (length == 0 || !lib || !lib->root) return 0;
  u64 consumed = 0;
  while (consumed < length) {
    kk::grammar::parse_farthest = nullptr;
    u64 remaining = length - consumed;
    parse_node* t = match(lib, text + consumed, &remaining);
    if (!t) break;
    const u64 end = u64(kk::grammar::node_end(t) - text);
    if (end <= consumed) {  // an empty match would never advance
      drop(t);
      break;
    }
    trees.push_back(t);
    consumed = end;
  }
  return consumed;
}

}  // namespace

u64 split_script(const char* text, u64 length, kk::adt::vector<parse_node*>& trees) {
  return split_with(
      text, length, trees,
      [](const kk::sql_library* lib, const char* at, u64* remaining) {
        return kk::grammar::grammar_match(lib->root, at, remaining, lib->rules);
      },
      [](parse_node* t) { kk::grammar::grammar_free_tree(t); });
}

u64 split_script(const char* text, u64 length, kk::adt::vector<parse_node*>& trees,
                 kk::grammar::parse_forest& forest) {
  return split_with(
      text, length, trees,
      [&forest](const kk::sql_library* lib, const char* at, u64* remaining) {
        return kk::grammar::grammar_match_in(forest, lib->root, at, remaining, lib->rules);
      },
      [](parse_node*) {});  // stays in the forest until it is cleared
}

const parse_node* first_table_name_node(const parse_node* tree) noexcept {
  if (!tree) return nullptr;
  for (u64 i = 0; i < child_count(tree); ++i) {
    const parse_node* c = child_at(tree, i);
    if (c->id == node_id::table_name) return c;
    if (const parse_node* f = first_table_name_node(c)) return f;
  }
  return nullptr;
}

// script_parse

script_parse::script_parse(script_parse&& o) noexcept
    : text_(std::move(o.text_)),
      forest_(std::move(o.forest_)),
      trees_(std::move(o.trees_)),
      parsed_(o.parsed_),
      revision_(o.revision_),
      valid_(o.valid_) {
  o.parsed_ = 0;
  o.valid_ = false;
}

script_parse& script_parse::operator=(script_parse&& o) noexcept {
  if (this != &o) {
    release();
    text_ = std::move(o.text_);
    forest_ = std::move(o.forest_);
    trees_ = std::move(o.trees_);
    parsed_ = o.parsed_;
    revision_ = o.revision_;
    valid_ = o.valid_;
    o.parsed_ = 0;
    o.valid_ = false;
  }
  return *this;
}

script_parse::~script_parse() { release(); }

void script_parse::release() noexcept {
  trees_.free();
  forest_.clear();
  text_.free();
  parsed_ = 0;
  valid_ = false;
}

script_parse script_parse::of(const char* text, u64 size, u64 revision) {
  script_parse p;
  p.revision_ = revision;
  p.valid_ = true;
  if (size == 0) return p;
  p.text_ = kk::adt::string::string_from_bytes(text, size);
  p.parsed_ = split_script(p.text_.data, size, p.trees_, p.forest_);
  return p;
}

// parse_scheduler

parse_scheduler::parse_scheduler(std::function<i64()> now_ms) : now_ms_(std::move(now_ms)) {
  if (!now_ms_)
    now_ms_ = [] {
      using namespace std::chrono;
      return i64(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    };
}

parse_scheduler::step parse_scheduler::edited(u64 text_size) {
  last_edit_ms_ = now_ms_();
  edited_ = true;
  if (text_size < timer_from) {
    timer_running_ = false;
    return step::parse_now;
  }
  if (text_size >= never_from) {
    timer_running_ = false;
    return step::stop_timer;
  }
  timer_running_ = true;
  return step::start_timer;
}

parse_scheduler::step parse_scheduler::timer_fired(double continuous_edit_seconds) {
  double s = continuous_edit_seconds;
  if (!std::isfinite(s) || s < 0) s = 1.0;
  if (s > 3600) s = 3600;
  const i64 quiet_ms = i64(std::llround(2 * s * 1000));
  if (edited_ && now_ms_() - last_edit_ms_ <= quiet_ms) {
    timer_running_ = true;
    return step::start_timer;
  }
  timer_running_ = false;
  return step::parse_now;
}

// Node paths

namespace {

u64 pos_of(const parse_node* n, const char* text_start) noexcept { return u64(n->start - text_start); }

bool covers(const parse_node* n, const char* text_start, u64 offset) noexcept {
  const u64 p = pos_of(n, text_start);
  return p <= offset && offset - p < n->length;
}

// Index of the child of n covering the offset, or -1.
i64 child_index_at(const parse_node* n, const char* text_start, u64 offset) noexcept {
  i64 low = 0, high = i64(child_count(n)) - 1;
  while (low <= high) {
    const i64 mid = low + (high - low) / 2;
    const parse_node* c = child_at(n, u64(mid));
    const u64 p = pos_of(c, text_start);
    if (p <= offset) {
      if (offset - p < c->length) return mid;
      low = mid + 1;
    } else {
      high = mid - 1;
    }
  }
  return -1;
}

parse_id_set make_set(std::initializer_list<u16> ids) {
  parse_id_set s;
  for (u16 id : ids) s.add(id);
  return s;
}

const parse_id_set& path_set() {
  static const parse_id_set s =
      make_set({node_id::comment, node_id::field_name, node_id::table_name, node_id::fn_name,
                node_id::constant, node_id::uint_dec, node_id::sp, node_id::terminal});
  return s;
}
const parse_id_set& read_set() {
  static const parse_id_set s =
      make_set({node_id::select_one, node_id::save, node_id::backup, node_id::rows_of,
                node_id::cols_of, node_id::fields_of, node_id::show_tabs});
  return s;
}
const parse_id_set& write_set() {
  static const parse_id_set s =
      make_set({node_id::insert, node_id::delete_, node_id::update, node_id::create,
                node_id::truncate, node_id::load, node_id::import, node_id::drop, node_id::alter,
                node_id::restore});
  return s;
}
const parse_id_set& post_set() {
  static const parse_id_set s = make_set({node_id::group, node_id::project, node_id::recompute,
                                          node_id::rename, node_id::order, node_id::filter});
  return s;
}

bool path_has(const node_path& path, u16 id) noexcept {
  for (const parse_node* n : path)
    if (n->id == id) return true;
  return false;
}

bool at_keyword_of(const node_path& path, const parse_id_set& set, const char* text_start,
                   u64 offset) noexcept {
  for (const parse_node* n : path) {
    if (!set.has(n->id) || child_count(n) == 0) continue;
    if (covers(child_at(n, 0), text_start, offset)) return true;
  }
  return false;
}

}  // namespace

i64 node_index_at(const kk::adt::vector<parse_node*>& nodes, i64 low, i64 high,
                  const char* text_start, u64 offset) noexcept {
  while (low <= high) {
    const i64 mid = low + (high - low) / 2;
    const parse_node* n = nodes[u64(mid)];
    const u64 p = pos_of(n, text_start);
    if (p <= offset) {
      if (offset - p < n->length) return mid;
      low = mid + 1;
    } else {
      high = mid - 1;
    }
  }
  return -1;
}

u16 token_path_at(const kk::adt::vector<parse_node*>& trees, const char* text_start, u64 offset,
                  node_path& path) {
  path.clear();
  if (trees.size == 0) return node_id::none;
  const i64 t = node_index_at(trees, 0, i64(trees.size) - 1, text_start, offset);
  if (t < 0) return node_id::none;
  const parse_node* n = trees[u64(t)];
  for (;;) {
    path.push_back(n);
    const i64 c = child_index_at(n, text_start, offset);
    if (c < 0) break;
    n = child_at(n, u64(c));
  }
  const parse_id_set& set = path_set();
  for (auto it = path.rbegin(); it != path.rend(); ++it)
    if (set.has((*it)->id)) return (*it)->id;
  return node_id::none;
}

bool path_has_comment(const node_path& path) noexcept { return path_has(path, node_id::comment); }
bool path_has_fn_name(const node_path& path) noexcept { return path_has(path, node_id::fn_name); }
bool path_has_field_name(const node_path& path) noexcept { return path_has(path, node_id::field_name); }
bool path_has_table_name(const node_path& path) noexcept { return path_has(path, node_id::table_name); }
bool path_has_constant(const node_path& path) noexcept { return path_has(path, node_id::constant); }

bool path_has_printable_terminal(const node_path& path) noexcept {
  for (const parse_node* n : path) {
    if (n->id != node_id::terminal || n->length == 0) continue;
    bool printable = true;
    for (u64 i = 0; i < n->length && printable; ++i) {
      const unsigned char c = static_cast<unsigned char>(n->start[i]);
      printable = c >= 32 && c <= 126;
    }
    if (printable) return true;
  }
  return false;
}

bool at_read_keyword(const node_path& path, const char* text_start, u64 offset) noexcept {
  return at_keyword_of(path, read_set(), text_start, offset);
}
bool at_write_keyword(const node_path& path, const char* text_start, u64 offset) noexcept {
  return at_keyword_of(path, write_set(), text_start, offset);
}
bool at_post_keyword(const node_path& path, const char* text_start, u64 offset) noexcept {
  return at_keyword_of(path, post_set(), text_start, offset);
}

i64 last_tree_before(const kk::adt::vector<parse_node*>& trees, i64 low, i64 high,
                     const char* text_start, u64 offset) noexcept {
  // Tree ends rise with the index: find the last one below the offset.
  i64 found = -1;
  while (low <= high) {
    const i64 mid = low + (high - low) / 2;
    const parse_node* t = trees[u64(mid)];
    if (pos_of(t, text_start) + t->length < offset) {
      found = mid;
      low = mid + 1;
    } else {
      high = mid - 1;
    }
  }
  return found;
}

}  // namespace ruv::lang
