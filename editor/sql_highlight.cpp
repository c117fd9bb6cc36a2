#include "editor/sql_highlight.h"

#include <algorithm>

namespace ruv::lang {

token_class token_class_at(const kk::adt::vector<parse_node*>& trees, const char* text_start,
                           u64 offset, u64* same_to) {
  // The painter asks once per character: one path buffer per thread, no allocation per call.
  thread_local node_path path;
  token_path_at(trees, text_start, offset, path);
  token_class c;
  if (path_has_comment(path))
    c = token_class::comment;
  else if (path_has_fn_name(path))
    c = token_class::function;
  else if (path_has_field_name(path))
    c = token_class::field_name;
  else if (path_has_table_name(path))
    c = token_class::table_name;
  else if (path_has_constant(path))
    c = token_class::constant;
  else if (!path_has_printable_terminal(path))
    c = token_class::default_text;
  else if (at_read_keyword(path, text_start, offset))
    c = token_class::read_keyword;
  else if (at_write_keyword(path, text_start, offset))
    c = token_class::write_keyword;
  else if (at_post_keyword(path, text_start, offset))
    c = token_class::post_keyword;
  else
    c = token_class::default_keyword;
  if (same_to) {
    // Every offset of the innermost node, when it is a leaf, has this path, so this class.
    u64 to = offset + 1;
    if (!path.empty() && kk::grammar::child_count(path.back()) == 0)
      to = std::max(to, u64(kk::grammar::node_end(path.back()) - text_start));
    *same_to = to;
  }
  path.clear();
  return c;
}

}  // namespace ruv::lang
