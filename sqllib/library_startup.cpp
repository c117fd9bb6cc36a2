#include "sqllib/library_startup.h"

#include "grammar/ebnf_tokens.h"
#include "grammar/kind_names.h"
#include "grammar/regex_classes.h"
#include "grammar/regex_grammar.h"
#include "grammar/sql_function_names.h"
#include "grammar/sql_grammar_text.h"
#include "sqllib/sql_library.h"

namespace kk {

namespace {
// Products that are constants or fill a fixed table in place have nothing to release.
void build_kind_names() { grammar::ebnf_kind_names(); }
void build_regex_text() { grammar::regex_grammar_text(); }
void build_escape_maps() {
  grammar::regex_control_escape_map();
  grammar::regex_control_letter_map();
}
void build_class_escapes() { grammar::regex_class_escape_table(); }
}  // namespace

startup_plan library_startup_plan() {
  startup_plan p = startup_plan_base();
  p.steps[step_ebnf_tokens] = {grammar::ebnf_token_strings_build, grammar::ebnf_token_strings_release};
  p.steps[step_ebnf_kind_names] = {build_kind_names, nullptr};
  p.steps[step_regex_grammar_text] = {build_regex_text, nullptr};
  p.steps[step_regex_escape_maps] = {build_escape_maps, nullptr};
  p.steps[step_regex_class_escapes] = {build_class_escapes, nullptr};
  p.steps[step_sql_grammar_text] = {grammar::sql::grammar_string_build, grammar::sql::grammar_string_release};
  p.steps[step_sql_function_names] = {grammar::sql::function_name_set_build, nullptr};
  p.steps[step_sql_library] = {sql_library_instance_build, sql_library_instance_release};
  return p;
}

bool library_startup() { return startup_tables_init(library_startup_plan()); }

}  // namespace kk
