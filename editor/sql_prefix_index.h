#pragma once
// Prefix indexes for completion: every prefix of every word maps to the words that begin
// with it, so one lookup of the typed fragment yields all candidates.
//
// Matching ignores ASCII case; a word is offered in the spelling it was inserted with (the
// vocabulary is lower case, server names keep the server's spelling). An index owns copies
// of its words.
#include <string_view>

#include "adt/string.h"
#include "adt/tree.h"
#include "adt/types.h"
#include "adt/vector.h"

namespace ruv::lang {

using kk::u32;
using kk::u64;
using candidate_list = kk::adt::vector<kk::adt::string::string>;

class prefix_index {
 public:
  prefix_index() = default;
  prefix_index(prefix_index&&) noexcept = default;
  prefix_index& operator=(prefix_index&&) noexcept = default;
  prefix_index(const prefix_index&) = delete;
  prefix_index& operator=(const prefix_index&) = delete;

  // Adds a word. False, and the index unchanged, for a word already present (ASCII case
  // ignored) and for a word that is not valid UTF-8. An empty word adds nothing (true).
  bool insert(std::string_view word);
  // Whether any word begins with the fragment (ASCII case ignored; an empty fragment
  // matches nothing).
  bool contains(std::string_view fragment) const;
  // Appends a copy of every word beginning with the fragment, in insertion order; returns
  // how many.
  u64 append_matches(std::string_view fragment, candidate_list& out) const;

  // Distinct words, and prefix keys.
  u64 word_count() const noexcept { return words_.size; }
  u64 prefix_count() const noexcept { return prefix_count_; }

  // An index of the pieces of `list` cut at each "|", empty pieces skipped, in order.
  static prefix_index from_list(std::string_view list);

 private:
  // Lowered prefix -> indexes into words_, in insertion order.
  using prefix_tree = kk::adt::tree<kk::adt::string::string, kk::adt::vector<u32>>;
  const kk::adt::vector<u32>* find(std::string_view fragment) const;

  candidate_list words_;  // spellings as inserted
  prefix_tree prefixes_;
  u64 prefix_count_ = 0;
};

// The dialect's vocabulary, built on first use and never changed.
const prefix_index& function_names();         // 102 function names
const prefix_index& statement_words();        // words that open a statement
const prefix_index& type_and_clause_words();  // column types and clause words
const prefix_index& post_words();             // words of post clauses
const prefix_index& query_words();            // statement words that read
const prefix_index& modifying_words();        // statement words that write

// Table name -> field names, as the main window hands them over.
using field_name_map = kk::adt::tree<kk::adt::string::string, candidate_list>;

// An editor's completion indexes of the server's names: rebuilt whole at each hand-over.
class name_indexes {
 public:
  // The table names, in the server's spelling.
  void set_table_names(const candidate_list& names);
  void set_field_names(const field_name_map& map);

  // Null until names were handed over.
  const prefix_index* tables() const noexcept { return has_tables_ ? &tables_ : nullptr; }
  bool has_field_names() const noexcept { return has_fields_; }
  // Appends the matching field names of the table (ASCII case ignored), or of every table
  // in name order when `table` is empty. Returns how many.
  u64 append_field_matches(std::string_view table, std::string_view fragment,
                           candidate_list& out) const;

 private:
  using field_tree = kk::adt::tree<kk::adt::string::string, prefix_index>;
  prefix_index tables_;
  field_tree fields_;
  bool has_tables_ = false;
  bool has_fields_ = false;
};

}  // namespace ruv::lang
