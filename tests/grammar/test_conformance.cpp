// Conformance of the SQL dialect as other subsystems rely on it: every rule's name, number
// and body text exactly, the node ids the editor and the update analysis test, and how the
// operators and keywords split into terminals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grammar/matcher.h"
#include "grammar/sql_grammar.h"
#include "grammar/sql_grammar_text.h"
#include "grammar/sql_rules.h"
#include "tree_text.h"

namespace kk::grammar {
namespace {

using namespace sql;

struct rule_text {
  const char* name;
  const char* body;  // as written between "=" and ";"
};

// The dialect rule by rule, in definition order (rule n gives node id n + 2). Two rules
// differ from the dialect as first shipped, each only accepting more: `character` also takes
// a backslash escape ('\n'), and `dcl` takes blanks after 'to'.
const rule_text dialect[] = {
    {"syntax", R"~(sql)~"},
    {"constant", R"~((float | integer | character | string | bool))~"},
    {"integer", R"~(['+'|'-'], (uint_bin | uint_hex | uint_dec), [int_sfx])~"},
    {"int_sfx", R"~('u', `1248`)~"},
    {"uint_bin", R"~('0', esc_bin)~"},
    {"uint_hex", R"~('0', esc_hex)~"},
    {"uint_dec", R"~(<digit>)~"},
    {"float", R"~(['+'|'-'], uint_dec, (fraction, [exponent] | exponent), ['f' | 'd'])~"},
    {"string", R"~(('"', {s_char|'\',esc_char}, '"' | '@', raw_string), {igs, '"', {s_char|'\',esc_char}, '"' | '@', raw_string})~"},
    {"raw_string", R"~('"', {.}, '"')~"},
    {"s_char", R"~(0x00~0x09 | 0x0b~0x21| 0x23~0x5b | 0x5d~0x03134f)~"},
    {"fraction", R"~('.', [uint_dec])~"},
    {"exponent", R"~(('E'|'e'), ['+'|'-'], uint_dec)~"},
    {"end_line", R"~(0x0a~0x0a)~"},
    {"character", R"~("'\", esc_char, "'" | "'", (c_char|esc_char), "'")~"},
    {"c_char", R"~(0x00~0x09 | 0x0b~0x26| 0x28~0x5b | 0x5d~0x03134f)~"},
    {"esc_char", R"~(esc_ctrl | esc_2hex | esc_uni)~"},
    {"esc_bin", R"~("b", <'0'|'1'>)~"},
    {"esc_ctrl", R"~(`"'\abfnrtv`)~"},
    {"esc_hex", R"~('x', <hex_digit>)~"},
    {"hex_digit", R"~(digit | 'a'~'f' | 'A'~'F')~"},
    {"esc_uni", R"~('u', 4{hex_digit}4 | 'U', 8{hex_digit}8)~"},
    {"digit", R"~('0'~'9')~"},
    {"bool", R"~('true' | 'false')~"},
    {"expr", R"~(lgc_or_expr, [igs, 'as', igs, field_name])~"},
    {"pri_expr", R"~((fn_expr | constant | field |'(', igs, expr, igs, ')'))~"},
    {"unary_expr", R"~(unary_op, igs, unary_expr | pri_expr)~"},
    {"unary_op", R"~(`!+-~`)~"},
    {"mtive_expr", R"~(unary_expr, {igs, ('*'|'/'|'%'), igs, unary_expr})~"},
    {"ative_expr", R"~(mtive_expr, {igs, ('+'|'-'), igs, mtive_expr})~"},
    {"shift_expr", R"~(ative_expr, {igs, ('>>'|'<<'), igs, ative_expr})~"},
    {"rlt_expr", R"~(shift_expr, {igs, ('>'|'<'), ['='], igs, shift_expr})~"},
    {"eqt_expr", R"~(rlt_expr, {igs, ('='|'!'), '=', igs, rlt_expr})~"},
    {"bit_and_expr", R"~(eqt_expr, {igs, '&', igs, eqt_expr})~"},
    {"bit_xor_expr", R"~(bit_and_expr, {igs, '^', igs, bit_and_expr})~"},
    {"bit_or_expr", R"~(bit_xor_expr, {igs, '|', igs, bit_xor_expr})~"},
    {"lgc_and_expr", R"~(bit_or_expr, {igs, '&&', igs, bit_or_expr})~"},
    {"lgc_or_expr", R"~(lgc_and_expr, {igs, '||', igs, lgc_and_expr})~"},
    {"fn_expr", R"~(fn_name, igs, '(', igs, [arg_lst], igs, ')')~"},
    {"fn_name", R"~('.')~"},
    {"arg_lst", R"~(expr, {igs, ',', igs, expr})~"},
    {"exprs", R"~(expr, {igs, ',', igs, expr} | all_expr)~"},
    {"sql", R"~(igs, (ddl | dml | dcl), igs)~"},
    {"ddl", R"~((select | insert | delete | update | atom_exec | rows_of | cols_of | fields_of | show_tabs ), [igs, ';'])~"},
    {"dataset_post", R"~((order|filter|group|project|recompute|rename))~"},
    {"select_one", R"~('select', igs, exprs, [igs, into_expr], [igs, 'from', igs, table_name, igs, where], {igs, dataset_post})~"},
    {"into_expr", R"~('into', igs, table_name)~"},
    {"expand_h", R"~('join', igs, '(', igs, select_one, igs, 'on', igs, field_name, igs, '==', igs, field_name, igs, ')')~"},
    {"expand_v", R"~('union', igs, '(', igs, select_one, igs, ')')~"},
    {"select", R"~(select_one, {igs, (expand_h|expand_v), {igs, dataset_post}}, [igs, export])~"},
    {"insert", R"~('insert', igs, 'into', igs, table_name, igs, '(', igs, field_name, {igs, ',', igs, field_name}, igs, ')', igs, (select|'values', <igs, [','], igs, '(', igs, constant_expr, {igs, ',', igs, constant_expr}, igs, ')'>))~"},
    {"delete", R"~('delete', igs, 'from', igs, table_name, igs, where)~"},
    {"update", R"~('update', igs, table_name, igs, 'set', igs, agn_expr, {igs, ',', igs, agn_expr}, igs, where)~"},
    {"dml", R"~((create | alter | drop | save | load | backup | restore | exec | import | truncate ), [igs, ';'])~"},
    {"create", R"~('create', igs, 'table', igs, table_name, igs, '(', igs, field_opt, {igs, ',', igs, field_opt}, igs, ')')~"},
    {"field_opt", R"~(field_name, igs, data_type_opt)~"},
    {"dt_int", R"~(('i'|'u'), ('08'|'16'|'32'|'64'))~"},
    {"dt_str", R"~('string')~"},
    {"dt_date", R"~('date')~"},
    {"dt_time", R"~('time')~"},
    {"dt_datetime", R"~('datetime')~"},
    {"dt_flt", R"~(('float'|'double'))~"},
    {"data_type_opt", R"~(( dt_int | dt_flt | dt_str | dt_datetime | dt_date | dt_time ), igs, '(', igs, [bool, [igs, ',', igs, bool]], igs, ')', igs)~"},
    {"alter", R"~('alter', igs, 'table', igs, table_name, igs, ('add', igs, field_opt | 'modify', igs, field_opt |'rename', igs, field_name, igs, field_name|'drop', igs, field_name))~"},
    {"drop", R"~('drop', igs, 'table', igs, table_name)~"},
    {"dcl", R"~(('grant'|'deny'), igs, ('connect'|'select'|'insert'|'update'|'delete'|'execute'), igs, 'on', igs, (field_name|table_name), igs, 'to', igs, user_name, [igs, ';'])~"},
    {"where", R"~(['where', igs, where_cond])~"},
    {"field", R"~(field_name)~"},
    {"field_name", R"~(field_or_table_string | bare_string)~"},
    {"table_name", R"~(field_or_table_string | bare_string)~"},
    {"user_name", R"~(string | bare_string)~"},
    {"bare_string", R"~(('a'~'z' | 'A'~'Z' | '_' ), {bare_char})~"},
    {"bare_char", R"~('a'~'z' | 'A'~'Z' | '0'~'9' | '_')~"},
    {"comment", R"~(multiline_comment | singleline_comment)~"},
    {"singleline_comment", R"~(("#"|"//"), {!0x0a~0x0a}, [0x0a~0x0a])~"},
    {"multiline_comment", R"~("/*", {comment|!"*/"}, "*/")~"},
    {"igs", R"~({whitespace | comment})~"},
    {"sp", R"~(<whitespace | comment>)~"},
    {"whitespace", R"~(' ' | 0x09~0x0c)~"},
    {"where_cond", R"~(where_or_expr)~"},
    {"where_pri_expr", R"~((w_btw_expr | field_name, igs, ( w_miax_expr | w_rel_expr | w_in_expr ) | w_range_expr | '(', igs, where_cond, igs, ')'))~"},
    {"where_and_expr", R"~(where_pri_expr, {igs, '&&', igs, where_pri_expr})~"},
    {"where_or_expr", R"~(where_and_expr, {igs, '||', igs, where_and_expr})~"},
    {"field_or_table_string", R"~('[', {f_char|'\',esc_char}, ']')~"},
    {"w_range_expr", R"~('first', igs, [uint_dec] |'last', igs, [uint_dec] |'nth', igs, uint_dec|'range', igs, uint_dec, igs, uint_dec)~"},
    {"w_miax_expr", R"~(('max' | 'min'), igs, [uint_dec])~"},
    {"w_btw_expr", R"~(('(', igs, (select | constant_expr, {igs, ',', igs, constant_expr}), igs, ')', igs, ('any'|'all')|constant_expr), igs, ((('<=' | '<'), igs, field_name, igs, ('<=' | '<'))|(('>=' | '>'), igs, field_name, igs, ('>=' | '>'))), igs, (('any'|'all'), igs, '(', igs, (select | constant_expr, {igs, ',', igs, constant_expr}), igs, ')'|constant_expr))~"},
    {"w_rel_expr", R"~(('>='|'<='|'>'|'<'|'=='|'!='), igs, (('any'|'all'), igs, '(', igs, (select | constant_expr, {igs, ',', igs, constant_expr}), igs, ')'|constant_expr))~"},
    {"w_in_expr", R"~(['not', igs], 'in', igs, '(', igs, (select|constant_expr, {igs, ',', igs, constant_expr}), igs, ')')~"},
    {"rows_of", R"~('rows_of', igs, table_name)~"},
    {"cols_of", R"~('cols_of', igs, table_name)~"},
    {"save", R"~('save', igs, table_name, igs, ['as', igs, ('bin'|'sql'), igs], ('path', igs, ['+'], '=', igs, string|'as', igs, 'raw'))~"},
    {"load", R"~('load', igs, table_name, igs, ['from', igs, ('bin'|'sql'), igs], ('path', igs, '=', igs, string|'from', igs, 'raw', igs, string))~"},
    {"exec", R"~('exec', igs, string)~"},
    {"fields_of", R"~('fields_of', igs, table_name)~"},
    {"show_tabs", R"~('show', igs, 'tables')~"},
    {"f_char", R"~(0x00~0x09 | 0x0b~0x5a | 0x5e~0x03134f)~"},
    {"order", R"~('order', igs, 'by', igs, field_name, {igs, ',', igs, field_name}, igs, ('asc'|'desc'|'rand'))~"},
    {"filter", R"~((line_inter_expr|line_adj_expr|line_inner_expr|line_range_expr|exists_expr))~"},
    {"line_inter_expr", R"~('all_each', igs, 'on', igs, ('distinct'|expr))~"},
    {"line_adj_expr", R"~('adj', igs, 'on', igs, expr)~"},
    {"line_inner_expr", R"~('inner', igs, 'on', igs, expr)~"},
    {"line_range_expr", R"~('first', igs, [uint_dec]|'last', igs, [uint_dec]|'nth', igs, uint_dec|'range', igs, uint_dec, igs, uint_dec)~"},
    {"exists_expr", R"~(['not', igs], 'exists', igs, '(', igs, select, igs, ')')~"},
    {"group", R"~('group', igs, expr, igs, 'by', igs, field_name, {igs, ',', igs, field_name})~"},
    {"recompute", R"~('recompute', igs, agn_expr, {igs, ',', igs, agn_expr})~"},
    {"project", R"~('project', [igs, 'except'], igs, field_name, {igs, ',', igs, field_name})~"},
    {"rename", R"~('rename', igs, field_name, igs, field_name)~"},
    {"agn_expr", R"~(field_name, igs, [`%&*+-/^|`|'>>'|'<<'], '=', igs, expr)~"},
    {"truncate", R"~('truncate', igs, 'table', igs, table_name)~"},
    {"constant_expr", R"~(shift_expr)~"},
    {"all_expr", R"~('*')~"},
    {"export", R"~('export', igs, 'as', igs, ('csvs' | 'csv'), igs, ['split', igs, 'by', igs, string], igs, ('path', igs, ['+'], '=', igs, string|'as', igs, 'raw'))~"},
    {"import", R"~('import', igs, table_name, igs, 'from', igs, ('csvs' | 'csv'), igs, ['split', igs, 'by', igs, string], igs, ('path', igs, '=', igs, string|'from', igs, 'raw', igs, string))~"},
    {"atom_exec", R"~('atom_exec', igs, {atom_ddl}, igs, 'commit')~"},
    {"atom_ddl", R"~((select | insert | delete | update), [igs, ';', igs])~"},
    {"backup", R"~('backup', igs, 'as', igs, ('sql'|'bin'), igs, ('path', igs, ['+'], '=', igs, string|'as', igs, 'raw'))~"},
    {"restore", R"~('restore', igs, 'from', igs, ('sql'|'bin'), igs, ('path', igs, '=', igs, string|'from', igs, 'raw', igs, string))~"},
    {"esc_2hex", R"~('x', hex_digit, hex_digit)~"},
};

std::string span(const grammar_node* n) { return std::string(n->start, n->end); }

TEST(sql_dialect, every_rule_has_its_number_name_and_body) {
  compiled_grammar g;
  ASSERT_TRUE(grammar_compile(&g));
  ASSERT_EQ(std::size(dialect), 119u);
  ASSERT_EQ(g.rule_count, std::size(dialect));
  for (u64 n = 0; n < std::size(dialect); ++n) {
    const grammar_node* rule = grammar_child(g.syntax, n);
    EXPECT_EQ(span(grammar_child(rule, 0)), dialect[n].name) << "rule " << n;
    EXPECT_EQ(span(grammar_child(rule, 1)), dialect[n].body) << "rule " << n << " " << dialect[n].name;
    EXPECT_STREQ(rule_names[n], dialect[n].name) << "rule " << n;
  }
  // Nothing after the last rule is lost to a stop of the compiler, and the text opens with
  // one comment line.
  EXPECT_EQ(g.syntax->end, grammar_text() + grammar_text_size());
  const std::string text(grammar_text(), grammar_text_size());
  EXPECT_EQ(text.substr(0, 3), "\n//");
  EXPECT_EQ(text.find('\n', 1) + 1, u64(grammar_child(g.syntax, 0)->start - grammar_text()));
  grammar_release(&g);
}

TEST(sql_dialect, node_ids_that_other_subsystems_test) {
  // Node id and rule name as the editor's highlighting, completion and printer, and the
  // update analysis, look them up.
  struct row {
    u16 id;
    const char* rule;
  };
  const row rows[] = {
      {3, "constant"},     {5, "int_sfx"},      {8, "uint_dec"},       {41, "fn_name"},
      {43, "exprs"},       {44, "sql"},         {47, "select_one"},    {52, "insert"},
      {53, "delete"},      {54, "update"},      {56, "create"},        {65, "alter"},
      {66, "drop"},        {68, "where"},       {70, "field_name"},    {71, "table_name"},
      {72, "user_name"},   {73, "bare_string"}, {75, "comment"},       {77, "multiline_comment"},
      {78, "igs"},         {79, "sp"},          {91, "rows_of"},       {92, "cols_of"},
      {93, "save"},        {94, "load"},        {96, "fields_of"},     {97, "show_tabs"},
      {99, "order"},       {100, "filter"},     {106, "group"},        {107, "recompute"},
      {108, "project"},    {109, "rename"},     {111, "truncate"},     {115, "import"},
      {118, "backup"},     {119, "restore"},
  };
  compiled_grammar g;
  ASSERT_TRUE(grammar_compile(&g));
  for (const row& r : rows) {
    const adt::text_view name = grammar_rule_name(&g, r.id - 2);
    EXPECT_EQ(std::string(name.data, name.size), r.rule) << r.id;
    EXPECT_STREQ(rule_names[r.id - 2], r.rule) << r.id;
  }
  grammar_release(&g);
}

// Texts of the terminal leaves among the direct children of the first node (pre-order) of
// `id` that has any, joined by blanks.
std::string first_leaves(const parse_node* n, u16 id) {
  if (n->id == id) {
    std::string s;
    for (u64 i = 0; i < child_count(n); ++i) {
      const parse_node* c = child_at(n, i);
      if (c->id != 1) continue;
      if (!s.empty()) s += " ";
      s += std::string(c->start, c->length);
    }
    if (!s.empty()) return s;
  }
  for (u64 i = 0; i < child_count(n); ++i) {
    std::string s = first_leaves(child_at(n, i), id);
    if (!s.empty()) return s;
  }
  return "";
}

TEST(sql_dialect, operators_split_into_terminals_as_the_rules_write_them) {
  compiled_grammar g;
  ASSERT_TRUE(grammar_compile(&g));
  struct row {
    const char* text;
    u16 id;
    const char* leaves;
  };
  const row rows[] = {
      // In expressions ">=" is '>' then the optional '='; "==" and "!=" are '=' or '!' then '='.
      {"select a >= b from t", id_rlt_expr, "> ="},
      {"select a <= b from t", id_rlt_expr, "< ="},
      {"select a == b from t", id_eqt_expr, "= ="},
      {"select a != b from t", id_eqt_expr, "! ="},
      {"select a << 1 from t", id_shift_expr, "<<"},
      // In conditions the two-byte operators are single terminals, longest listed first.
      {"select a from t where a >= 1", id_w_rel_expr, ">="},
      {"select a from t where a != 1", id_w_rel_expr, "!="},
      {"select a from t where 1 <= a < 5", id_w_btw_expr, "<= <"},
      {"update t set a >>= 1", id_agn_expr, ">> ="},
      {"update t set a += 1", id_agn_expr, "+ ="},
  };
  for (const row& r : rows) {
    const std::string text = r.text;
    text_parse p = parse_text(&g, text.data(), text.size());
    ASSERT_TRUE(p.complete) << r.text;
    EXPECT_EQ(first_leaves(p.tree, r.id), r.leaves) << r.text;
    grammar_free_tree(p.tree);
  }
  grammar_release(&g);
}

// --- the matcher on small grammars ------------------------------------------------------

// One match of a small grammar's start rule: the tree's shape and parse_farthest.
std::string match_small(const char* grammar, const std::string& input) {
  compiled_grammar g;
  const std::string text = grammar;
  if (!grammar_build(&g, text.data(), text.size(), 2112, nullptr)) return "no grammar";
  parse_farthest = nullptr;
  u64 n = input.size();
  parse_node* t = grammar_match(g.start, input.data(), &n, &g.rules);
  std::string s = test::shape(t, input.data()) + " far=" +
                  (parse_farthest ? std::to_string(parse_farthest - input.data()) : "none");
  grammar_free_tree(t);
  grammar_release(&g);
  return s;
}

TEST(matcher_conformance, a_bounded_repetition_counts_every_pass_up_to_its_bound) {
  // With an upper bound the loop runs until the count reaches it, also when a pass matched
  // the empty text: each further pass would match the same, so the lower bound is met when
  // the upper one allows it.
  struct row {
    const char* grammar;
    const char* input;
    const char* outcome;
  };
  const row rows[] = {
      {"r = 2{['a']}3;", "b", "0@0+0 far=0"},
      {"r = 2{['a']}2, 'b';", "b", "1@0+1 far=0"},
      {"r = 2{['a']}2, 'b';", "ab", "0@0+2[1@0+1 1@1+1] far=1"},
      {"r = 3{['a']}2, 'b';", "b", "null far=0"},  // the bound stops it below the lower one
      {"r = 2{['a']}0xffffffffffff;", "b", "0@0+0 far=0"},
      // Without an upper bound the loop ends after the empty pass, as before.
      {"r = 2{['a']};", "b", "null far=0"},
      {"r = {['a']}, 'b';", "aab", "0@0+3[1@0+1 1@1+1 1@2+1] far=2"},
  };
  for (const row& r : rows)
    EXPECT_EQ(match_small(r.grammar, r.input), r.outcome) << r.grammar << " on '" << r.input << "'";
}

}  // namespace
}  // namespace kk::grammar
