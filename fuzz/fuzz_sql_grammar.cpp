// The SQL dialect on arbitrary script texts: the check of a whole text (one statement to its
// end) and the split of a script into consecutive statements. Each tree must lie inside the
// text with its children in order inside their parent, every split statement must advance,
// a second parse of the same text must give the same result (the matcher's per-parse memo
// may not leak between parses), the grammar built without matcher hints must give the
// same tree and failure position, and the split into one forest must give the same trees
// and stopping point as the split into trees of their own.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "fuzz/plain_grammar.h"
#include "grammar/matcher.h"
#include "grammar/sql_grammar.h"
#include "grammar/sql_grammar_text.h"
#include "grammar/sql_natives.h"

namespace {

using namespace kk::grammar;

compiled_grammar g;
compiled_grammar plain;

void fail(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

// Checks the node's span and its children; returns the node count.
uint64_t check_tree(const parse_node* n, const char* lo, const char* hi) {
  if (n->start < lo || n->length > uint64_t(hi - n->start)) fail("node outside its parent");
  uint64_t count = 1;
  const char* at = n->start;
  for (uint64_t i = 0; i < child_count(n); ++i) {
    const parse_node* c = child_at(n, i);
    if (!c) fail("null child");
    if (c->start < at) fail("children out of order");
    count += check_tree(c, n->start, node_end(n));
    at = node_end(c);
  }
  return count;
}

struct split_result {
  std::vector<parse_node*> trees;
  uint64_t consumed = 0;
  ~split_result() {
    for (parse_node* t : trees) grammar_free_tree(t);
  }
};

// Consecutive statements from the start; stops at the first that does not parse. With a
// forest the trees are built in it.
void split_script(const char* text, uint64_t length, split_result& out,
                  parse_forest* forest = nullptr) {
  while (out.consumed < length) {
    parse_farthest = nullptr;
    const char* at = text + out.consumed;
    uint64_t left = length - out.consumed;
    parse_node* t = forest ? grammar_match_in(*forest, g.start, at, &left, &g.rules)
                           : grammar_match(g.start, at, &left, &g.rules);
    if (!t) return;
    out.trees.push_back(t);
    uint64_t n = uint64_t(node_end(t) - at);
    if (n == 0) fail("a statement matched no bytes");
    if (n > length - out.consumed) fail("a statement ends past the text");
    out.consumed += n;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (!kk::grammar::sql::grammar_compile(&g)) fail("the SQL grammar does not compile");
  if (!fuzz::plain_build(&plain, sql::grammar_text(), sql::grammar_text_size(), sql::rule_table_size,
                         sql::native_rules()))
    fail("the SQL grammar does not compile without hints");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  const char* end = text + size;

  text_parse a = parse_text(&g, text, size);
  uint64_t nodes_a = 0;
  if (a.tree) {
    nodes_a = check_tree(a.tree, text, end);
    if (a.end != uint64_t(node_end(a.tree) - text)) fail("parse end differs from the tree");
  }
  if (a.complete != (a.tree && a.end == size)) fail("complete flag wrong");
  if (!a.complete && a.error > size) fail("error offset past the text");

  text_parse b = parse_text(&g, text, size);
  uint64_t nodes_b = b.tree ? check_tree(b.tree, text, end) : 0;
  if ((a.tree == nullptr) != (b.tree == nullptr) || a.end != b.end || a.complete != b.complete ||
      a.error != b.error || nodes_a != nodes_b)
    fail("a second parse of the same text differs");
  grammar_free_tree(a.tree);
  grammar_free_tree(b.tree);

  fuzz::match_outcome h = fuzz::match_once(g, text, size);
  fuzz::match_outcome p = fuzz::match_once(plain, text, size);
  if (h.abort == parse_abort::none && p.abort == parse_abort::none &&
      (h.shape != p.shape || h.farthest != p.farthest)) {
    std::fprintf(stderr, "hinted: %s\nplain:  %s\n", h.shape.c_str(), p.shape.c_str());
    fail("matcher hints changed the outcome");
  }

  split_result s;
  split_script(text, size, s);
  const char* at = text;
  for (parse_node* t : s.trees) {
    check_tree(t, at, end);
    at = node_end(t);
  }
  if (!s.trees.empty() && uint64_t(node_end(s.trees[0]) - text) != a.end)
    fail("the first statement of the split differs from the check");

  parse_forest forest;
  split_result f;
  split_script(text, size, f, &forest);
  if (f.trees.size() != s.trees.size() || f.consumed != s.consumed)
    fail("the split into a forest stops elsewhere");
  for (size_t i = 0; i < f.trees.size(); ++i)
    if (test::shape(f.trees[i], text) != test::shape(s.trees[i], text))
      fail("a tree of the forest differs");
  return 0;
}
