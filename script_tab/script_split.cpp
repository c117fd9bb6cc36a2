#include "script_tab/script_split.h"

#include "editor/sql_printer.h"
#include "grammar/parse_node.h"
#include "sqllib/sql_library.h"
#include "query/sql_parse.h"

namespace ruv {

kk::u64 split_printed(const char* text, kk::u64 size, kk::adt::vector<kk::adt::string::string>& out) {
  kk::adt::vector<kk::grammar::parse_node*> trees;
  const kk::u64 used = sql_split_script(kk::sql_library_instance(), text, &size, &trees);
  if (used >= size) {
    for (kk::u64 i = 0; i < trees.size; ++i) {
      kk::adt::string::string s = lang::sql_format_tree(trees.data[i], true, true);
      kk::u64 b = 0, e = s.size;
      while (b < e && s.data[b] == ' ') ++b;
      while (e > b && s.data[e - 1] == ' ') --e;
      out.push_back(kk::adt::string_from_bytes(s.data + b, e - b));
    }
  }
  for (kk::u64 i = 0; i < trees.size; ++i) kk::grammar::grammar_free_tree(trees.data[i]);
  return used;
}

}  // namespace ruv
