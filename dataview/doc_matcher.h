#pragma once
// The cell search's matcher: the text document's search (plain, with escapes, regular
// expression; ignore case, whole words), prepared once per operation.
#include <memory>

#include "dataview/cell_search.h"

namespace dataview {

std::unique_ptr<text_matcher> make_doc_matcher(const search_options& o);

}  // namespace dataview
