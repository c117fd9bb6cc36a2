#pragma once
// The start-up table of node-kind names: kind number <-> name, both ways.
//
// Kept for the life of the process; nothing looks names up in it at run time, it documents
// the numbering and lets tools print kinds.
#include "adt/string.h"
#include "adt/types.h"
#include "adt/vector.h"

namespace kk::grammar {

struct kind_name {
  u16 kind;
  const char* name;
  u64 length;
};

struct kind_name_table {
  adt::vector<kind_name> by_kind;  // ascending kind
  adt::vector<kind_name> by_name;  // ascending name (signed bytes)
  u64 count = 0;
};

// Adds the entry to the side(s) where its kind or name is new; false when both are present.
bool kind_name_insert(kind_name_table* table, kind_name entry);
// The name of a kind, or an empty view.
adt::text_view kind_name_of(const kind_name_table* table, u16 kind) noexcept;
// The kind of a name, or -1.
int kind_of_name(const kind_name_table* table, adt::text_view name) noexcept;

// The table of the 32 named kinds, built on the first call.
const kind_name_table& ebnf_kind_names();

}  // namespace kk::grammar
