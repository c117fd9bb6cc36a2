#pragma once
// The configuration's two lists of script paths: the files open now (reopened at the next
// start) and the recently used files (the recent-files submenu). Entries are UTF-8 paths;
// two entries are equal when they hold the same bytes.
#include "adt/list.h"
#include "adt/string.h"
#include "adt/types.h"

using path_list = kk::adt::list<kk::adt::string::string>;

// Most entries `recent_files` keeps.
inline constexpr kk::u64 recent_files_max = 21;

// Removes the first entry equal to path; false when there is none.
bool path_list_erase_first(path_list& l, kk::adt::text_view path);
// Removes every entry equal to an earlier one (a hand-edited or old configuration may hold
// a path twice); the first of each stays where it is.
void path_list_dedupe(path_list& l);
// The path becomes the last entry, once.
void open_files_add(path_list& l, kk::adt::text_view path);
// The path becomes the first entry, once; the list keeps at most recent_files_max entries.
void recent_files_add(path_list& l, kk::adt::text_view path);
