// The update-statement analysis behind can_update, extract_where_from_update and
// extract_tab_name_from_update, on arbitrary statement texts through a library object.
// Besides memory safety: a text that does not parse to its end gives false and null with
// the length output untouched; one that does agrees with its own parse tree (the update
// rule over the tree, the first where and table-name nodes), and every extracted range
// lies inside the caller's text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "adt/vector.h"
#include "grammar/sql_grammar.h"
#include "sqllib/sql_library.h"
#include "grammar/sql_rules.h"
#include "sqllib/update_analysis.h"
#include "value/startup_tables.h"

namespace {

using namespace kk::grammar;

kk::sql_library lib;

void fail(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

const parse_node* first_with(const parse_node* tree, kk::u16 id) {
  kk::adt::vector<kk::u16> ids;
  ids.push_back(id);
  kk::adt::vector<parse_node*> found;
  find_nodes_by_id(&ids, &found, tree);
  return found.size ? found[0] : nullptr;
}

void check_extract(const char* got, kk::u32 got_len, const parse_node* want, const char* text, size_t size) {
  if (!want) {
    if (got || got_len != 0xDEADBEEFu) fail("an extract without its node, or the length touched");
    return;
  }
  if (got != want->start || got_len != want->length) fail("the extract is not the first node");
  if (got < text || got_len > size || got > text + (size - got_len)) fail("the extract lies outside the text");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  kk::startup_tables_init();
  if (!kk::sql_library_build(&lib)) fail("the library object does not build");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0x7fffffff) return 0;
  const char* text = reinterpret_cast<const char*>(data);
  const kk::i32 len = static_cast<kk::i32>(size);

  const bool can = can_update_text(&lib, text, len);
  kk::u32 where_len = 0xDEADBEEFu, name_len = 0xDEADBEEFu;
  const char* where = where_of_update(&lib, text, len, &where_len);
  const char* name = table_name_of_update(&lib, text, len, &name_len);

  text_parse p = parse_text(&lib.grammar, text, size);
  if (!p.complete) {
    if (can || where || name) fail("an incomplete parse was analysed");
    if (where_len != 0xDEADBEEFu || name_len != 0xDEADBEEFu) fail("length written for a refused text");
  } else {
    if (can != update_allowed(p.tree)) fail("can_update differs from the tree");
    check_extract(where, where_len, first_with(p.tree, kk::grammar::sql::id_where), text, size);
    check_extract(name, name_len, first_with(p.tree, kk::grammar::sql::id_table_name), text, size);
  }
  grammar_free_tree(p.tree);
  return 0;
}
