// Conformance of the SQL dialect as other subsystems rely on it: every rule's name, number
// and body text exactly, the node ids the editor and the update analysis test, and how the
// operators and keywords split into terminals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "bench/grammar/script_gen.h"

#include "grammar/matcher.h"
#include "grammar/sql_grammar.h"
#include "grammar/sql_grammar_text.h"
#include "grammar/sql_rules.h"
#include "random_grammar.h"
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

// --- an independent matcher, written from the matching rules alone ----------------------
//
// No hints, no pool, no shortcuts: each kind does exactly what its rule says, so a
// difference from grammar_match is a fault of one of the two. It reads the same compiled
// grammar (the compiler is tested on its own).

struct onode {
  u16 id;
  u64 start, length;
  std::vector<onode> kids;
};

struct too_deep {};

struct oracle {
  const rule_table* rules;
  const char* base;
  i64 far = -1;
  u32 depth = 0;

  void raise(const char* p) { far = std::max(far, i64(p - base)); }
  onode leaf(u16 id, const char* p, u64 len) const { return {id, u64(p - base), len, {}}; }

  static bool grouping(u16 k) {
    return k == kind_concatenation || k == kind_group || k == kind_option || k == kind_repeat ||
           k == kind_repeat_min1;
  }
  static bool bound(const grammar_node* n) {
    return n && (n->kind == kind_integer_dec || n->kind == kind_integer_hex);
  }
  static u64 value(const grammar_node* n) {
    const std::string t(n->start, n->end);
    return std::stoull(t, nullptr, n->kind == kind_integer_hex ? 16 : 10);
  }
  // utf8_decode, malformed also when the sequence passes the remaining bytes.
  static u32 decode(const char* p, u64 rem, u32* cp) {
    const u8 b = u8(p[0]);
    u32 n = b < 0x80 ? 1 : b >= 0xC0 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF7 ? 4 : 0;
    if (n == 0 || n > rem) return 0;
    u32 v = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
    for (u32 i = 1; i < n; ++i) {
      if ((u8(p[i]) & 0xC0) != 0x80) return 0;
      v = (v << 6) | (u8(p[i]) & 0x3F);
    }
    *cp = v;
    return n;
  }
  static void take(std::vector<onode>& into, onode&& r) {
    if (r.id != 0)
      into.push_back(std::move(r));
    else
      for (onode& k : r.kids) into.push_back(std::move(k));
  }

  std::optional<onode> match(const grammar_node* n, const char* pos, u64 rem) {
    if (++depth > 1000) throw too_deep{};
    std::optional<onode> r = dispatch(n, pos, rem);
    --depth;
    return r;
  }

  std::optional<onode> dispatch(const grammar_node* n, const char* pos, u64 rem) {
    const u16 k = n->kind;
    if (k >= rule_ref_base) {
      if (k >= rules->size) return {};
      const rule_slot& slot = rules->slots[k];
      if (k >= native_ref_base) {
        if (!slot.native) return {};
        u64 left = rem;
        const char* before = parse_farthest;
        parse_farthest = nullptr;
        parse_node* l = slot.native(n, pos, &left, rules);
        if (parse_farthest) raise(parse_farthest);
        parse_farthest = before;
        if (!l) return {};
        onode out = leaf(l->id, l->start, l->length);
        grammar_free_tree(l);
        return out;
      }
      if (!slot.rule) return {};
      std::optional<onode> r = match(grammar_child(slot.rule, 1), pos, rem);
      if (!r) return {};
      const u16 id = u16(k - 1022);
      if (r->id == 0) {
        r->id = id;
        return r;
      }
      const u64 end = r->start + r->length;
      onode w{id, u64(pos - base), end - u64(pos - base), {}};
      w.kids.push_back(std::move(*r));
      return w;
    }
    switch (k) {
      case kind_rule:
        return match(grammar_child(n, 1), pos, rem);
      case kind_meta_definition:
      case kind_group:
        return match(grammar_child(n, 0), pos, rem);
      case kind_alternation:
        for (auto* e = n->children.head; e; e = e->next)
          if (std::optional<onode> r = match(e->value, pos, rem)) return r;
        return {};
      case kind_option:
        for (auto* e = n->children.head; e; e = e->next)
          if (std::optional<onode> r = match(e->value, pos, rem)) return r;
        return leaf(0, pos, 0);
      case kind_concatenation: {
        if (!n->children.head) return {};
        std::vector<onode> got;
        const char* cur = pos;
        for (auto* e = n->children.head; e; e = e->next) {
          std::optional<onode> r = match(e->value, cur, rem - u64(cur - pos));
          if (!r) return {};
          if (grouping(e->value->kind)) {
            if (r->length == 0) continue;
            cur = base + r->start + r->length;
            take(got, std::move(*r));
          } else {
            cur = base + r->start + r->length;
            got.push_back(std::move(*r));
          }
        }
        if (got.empty()) return leaf(0, pos, 0);
        if (got.size() == 1) return std::move(got[0]);
        return onode{0, u64(pos - base), u64(cur - pos), std::move(got)};
      }
      case kind_repeat:
      case kind_repeat_min1: {
        const grammar_node* first = grammar_child(n, 0);
        const grammar_node* body = first;
        u64 lower = k == kind_repeat_min1 ? 1 : 0, upper = 0;
        if (k == kind_repeat && bound(first)) {
          lower = value(first);
          body = grammar_child(n, 1);
        }
        const grammar_node* last = grammar_last_child(n);
        const bool has_upper = k == kind_repeat && bound(last) && last != body && last != first;
        if (has_upper) upper = value(last);
        std::vector<onode> got;
        const char* cur = pos;
        u64 count = 0;
        for (;;) {
          std::optional<onode> r = match(body, cur, rem - u64(cur - pos));
          if (!r) break;
          const char* was = cur;
          cur = base + r->start + r->length;
          take(got, std::move(*r));
          ++count;
          if (cur == pos + rem || (has_upper && count >= upper)) break;
          if (cur == was) {  // every further pass matches the same empty text
            if (has_upper) count = upper;
            break;
          }
        }
        if (count < lower) return {};
        if (got.empty()) return leaf(0, pos, 0);
        if (got.size() == 1) return std::move(got[0]);
        return onode{0, u64(pos - base), u64(cur - pos), std::move(got)};
      }
      case kind_quote_string:
      case kind_dquote_string: {
        const u64 len = u64(n->end - n->start) - 2;
        if (len <= rem && std::memcmp(pos, n->start + 1, len) == 0) return leaf(1, pos, len);
        raise(pos);
        return {};
      }
      case kind_sort_string: {
        const i64 len = i64(n->end - n->start) - 2;
        if (len > 0 && rem > 0) {
          i64 lo = 0, hi = len - 1;
          while (lo <= hi) {
            const i64 mid = (lo + hi) / 2;
            const signed char m = static_cast<signed char>(n->start[1 + mid]);
            const signed char b = static_cast<signed char>(*pos);
            if (m == b) return leaf(1, pos, 1);
            if (m < b) lo = mid + 1; else hi = mid - 1;
          }
        }
        raise(pos);
        return {};
      }
      case kind_range_string: {
        if (rem == 0) return {};
        const grammar_node* lo = grammar_child(n, 0);
        const grammar_node* hi = grammar_last_child(n);
        if (lo->kind == kind_quote_string || lo->kind == kind_dquote_string) {
          const signed char b = static_cast<signed char>(*pos);
          if (lo->end - lo->start > 2 && hi->end - hi->start > 2 &&
              b >= static_cast<signed char>(lo->start[1]) && b <= static_cast<signed char>(hi->start[1]))
            return leaf(1, pos, 1);
          raise(pos);
          return {};
        }
        u32 cp = 0;
        const u32 len = decode(pos, rem, &cp);
        if (len && cp >= value(lo) && cp <= value(hi)) return leaf(1, pos, len);
        raise(pos);
        return {};
      }
      case kind_except_terminal_string: {
        if (rem == 0) {
          raise(pos);
          return {};
        }
        if (match(grammar_child(n, 0), pos, rem)) {
          raise(pos);
          return {};
        }
        u32 cp = 0;
        const u32 len = decode(pos, rem, &cp);
        return leaf(1, pos, len ? len : 1);
      }
      case kind_any_char: {
        if (rem == 0) return {};
        u32 cp = 0;
        const u32 len = decode(pos, rem, &cp);
        return leaf(1, pos, len ? len : 1);
      }
      default:
        return {};
    }
  }
};

std::string oshape(const onode& n) {
  std::string s = std::to_string(n.id) + "@" + std::to_string(n.start) + "+" + std::to_string(n.length);
  if (!n.kids.empty()) {
    s += "[";
    for (u64 i = 0; i < n.kids.size(); ++i) s += (i ? " " : "") + oshape(n.kids[i]);
    s += "]";
  }
  return s;
}

// Both matchers on one input: "" when either gave up on depth, else the two outcomes.
struct both {
  std::string engine, reference;
  bool compared = false;
};
both compare(const compiled_grammar& g, const std::string& in) {
  both b;
  oracle o{&g.rules, in.data()};
  std::string reference;
  try {
    std::optional<onode> r = o.match(g.start, in.data(), in.size());
    reference = (r ? oshape(*r) : "null") + " far=" + (o.far < 0 ? "none" : std::to_string(o.far));
  } catch (too_deep&) {
    return b;
  }
  b.engine = test::match_outcome(g, in);
  if (last_parse_abort() != parse_abort::none) return b;
  b.reference = reference;
  b.compared = true;
  return b;
}

// Atoms of every kind of term, edge forms of each, and references to the rules r0 to r2.
constexpr const char* rule_atoms[] = {
    "'a'", "'ab'", "''", "\"b\"", "`ab`", "``", ".", "'a'~'c'", "0x61~0x7a", "0x80~0x10ffff",
    "!'a'", "!!'b'", "r0", "r1", "r2", "2{'a'}", "{'b'}1", "<'a'>", "2{['a']}3", "{r1}2", "[r2]",
    "{'a'}0", "`\xe9" "a`", "'\xe9'~'a'", "'a'~'\xff'", "97~0X7A", "0xc0~0x7ff", "!0x61~0x62",
    "!.", "\"\"", "!''", "3{'a'|''}2"};

std::string random_rule_body(std::mt19937& rng) { return test::random_rule_body(rng, 0, rule_atoms); }

TEST(matcher_conformance, random_grammars_match_as_the_rules_say) {
  std::mt19937 rng(21);
  const std::string alphabet = "aabbcz\xc3\xa9\xff\xe9\xdf\xbf\xf0\x90";
  u64 compared = 0;
  for (int round = 0; round < 300; ++round) {
    std::string text;
    for (int r = 0; r < 3; ++r) text += "r" + std::to_string(r) + " = " + random_rule_body(rng) + ";\n";
    compiled_grammar g;
    ASSERT_TRUE(grammar_build(&g, text.data(), text.size(), 2112, nullptr)) << text;
    for (int k = 0; k < 20; ++k) {
      std::string in(rng() % 12, 'a');
      for (char& ch : in) ch = alphabet[rng() % alphabet.size()];
      const both b = compare(g, in);
      if (!b.compared) continue;
      ASSERT_EQ(b.engine, b.reference) << text << "on '" << in << "'";
      ++compared;
    }
    grammar_release(&g);
  }
  EXPECT_GT(compared, 3000u);  // most inputs end on their own
}

TEST(matcher_conformance, sql_statements_match_as_the_rules_say) {
  compiled_grammar g;
  ASSERT_TRUE(grammar_compile(&g));
  const std::string script = ruv_bench::script_gen(5).script(20000);
  std::mt19937 rng(8);
  const std::string noise = " ()*;'\"/#\n\\@[]=<>-+.0xaz\xc3\xa9";
  for (u64 i = 0, j; i < script.size(); i = j + 1) {
    j = script.find(";\n", i);
    if (j == std::string::npos) break;
    std::string st = script.substr(i, j + 1 - i);
    std::string damaged = st;
    for (int k = 0; k < 2; ++k) damaged[rng() % damaged.size()] = noise[rng() % noise.size()];
    for (const std::string& v : {st, damaged, st.substr(0, st.size() / 3)}) {
      const both b = compare(g, v);
      ASSERT_TRUE(b.compared) << v;
      ASSERT_EQ(b.engine, b.reference) << v;
    }
  }
  for (const char* v : {"grant select on t to bob", "select '\\n', '\\'', 'a' from t",
                        "/* a /* b */ c */ show tables", "select \"\\u12345\" @\"x(y)x\" from t"}) {
    const both b = compare(g, v);
    ASSERT_TRUE(b.compared) << v;
    EXPECT_EQ(b.engine, b.reference) << v;
  }
  grammar_release(&g);
}

// --- an independent compiler, written from the notation's productions -------------------

struct cnode {
  u16 kind;
  const char* start;
  const char* end;
  std::vector<cnode> kids;
};
using cres = std::optional<cnode>;

struct compiler_oracle {
  const char* end;

  bool at(const char* p, const char* t) const {
    const u64 n = std::strlen(t);
    return u64(end - p) >= n && std::memcmp(p, t, n) == 0;
  }
  const char* find(const char* p, const char* t) const {
    for (; p < end; ++p)
      if (at(p, t)) return p;
    return nullptr;
  }
  static bool blank(char c) { return c == ' ' || (c >= 9 && c <= 13); }
  static bool name_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
  const char* comment(const char* p) const {
    const char* q;
    if (at(p, "(*")) return (q = find(p + 2, "*)")) ? q + 2 : nullptr;
    if (at(p, "/*")) return (q = find(p + 2, "*/")) ? q + 2 : nullptr;
    if (at(p, "//")) return (q = find(p + 2, "\n")) ? q + 1 : nullptr;
    return nullptr;
  }
  const char* skip(const char* p) const {
    for (;;) {
      if (const char* c = comment(p))
        p = c;
      else if (p < end && blank(*p))
        ++p;
      else
        return p;
    }
  }
  cres quoted(const char* p, const char* q, u16 kind) const {
    if (!at(p, q)) return {};
    const char* c = find(p + 1, q);
    if (!c) return {};
    return cnode{kind, p, c + 1, {}};
  }
  cres integer(const char* p) const {
    auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    if ((at(p, "0x") || at(p, "0X")) && p + 2 < end && hex(p[2])) {
      const char* q = p + 2;
      while (q < end && hex(*q)) ++q;
      return cnode{kind_integer_hex, p, q, {}};
    }
    const char* q = p;
    while (q < end && *q >= '0' && *q <= '9') ++q;
    if (q == p) return {};
    return cnode{kind_integer_dec, p, q, {}};
  }
  cres range(const char* p) const {
    for (int form = 0; form < 3; ++form) {
      auto bound = [&](const char* x) {
        return form == 0 ? quoted(x, "'", kind_quote_string)
                         : form == 1 ? quoted(x, "\"", kind_dquote_string) : integer(x);
      };
      cres lo = bound(p);
      if (!lo || !at(lo->end, "~") || end - lo->end < 2) continue;
      cres hi = bound(lo->end + 1);
      if (!hi) continue;
      return cnode{kind_range_string, p, hi->end, {*lo, *hi}};
    }
    return {};
  }
  cres terminal(const char* p) const {
    if (p >= end) return {};
    if (at(p, ".")) return cnode{kind_any_char, p, p + 1, {}};
    if (cres r = range(p)) return r;
    if (cres r = quoted(p, "\"", kind_dquote_string)) return r;
    if (cres r = quoted(p, "'", kind_quote_string)) return r;
    if (cres r = quoted(p, "`", kind_sort_string)) return r;
    if (at(p, "!"))
      if (cres t = terminal(p + 1)) return cnode{kind_except_terminal_string, p, t->end, {*t}};
    return {};
  }
  cres identifier(const char* p) const {
    if (p >= end || !name_char(*p)) return {};
    const char* last = p + 1;
    for (const char* q = p + 1; q < end && (name_char(*q) || blank(*q)); ++q)
      if (name_char(*q)) last = q + 1;
    return cnode{kind_identifier, p, last, {}};
  }
  // open, alternation, [bar, alternation ...], skip, close
  cres bracketed(const char* p, const char* open, const char* close, u16 kind, bool branches) const {
    p = skip(p);
    if (!at(p, open)) return {};
    cres a = alternation(p + 1);
    if (!a) return {};
    cnode n{kind, p, nullptr, {*a}};
    const char* q = a->end;
    while (branches && at(skip(q), "|")) {
      cres b = alternation(skip(q) + 1);
      if (!b) return {};
      n.kids.push_back(*b);
      q = b->end;
    }
    q = skip(q);
    if (!at(q, close)) return {};
    n.end = q + 1;
    return n;
  }
  cres repetition(const char* p) const {
    p = skip(p);
    std::optional<cnode> lower = integer(p);
    const char* open = lower ? skip(lower->end) : p;
    if (!lower && at(p, "<")) return bracketed(p, "<", ">", kind_repeat_min1, false);
    cres braces = bracketed(open, "{", "}", kind_repeat, false);
    if (!braces) return {};
    cnode n{kind_repeat, p, braces->end, {}};
    if (lower) n.kids.push_back(*lower);
    n.kids.push_back(braces->kids[0]);
    if (cres upper = integer(skip(braces->end))) {
      n.kids.push_back(*upper);
      n.end = upper->end;
    }
    return n;
  }
  cres term(const char* p) const {
    p = skip(p);
    if (cres r = terminal(p)) return r;
    if (cres r = bracketed(p, "(", ")", kind_group, false)) return r;
    if (cres r = bracketed(p, "[", "]", kind_option, true)) return r;
    if (cres r = repetition(p)) return r;
    return identifier(p);
  }
  cres sequence(const char* p, u16 kind, const char* sep, bool alternation_level) const {
    cres first = alternation_level ? sequence(p, kind_concatenation, ",", false) : term(p);
    if (!first) return {};
    cnode n{kind, first->start, first->end, {*first}};
    while (at(skip(n.end), sep)) {
      cres next = alternation_level ? sequence(skip(n.end) + 1, kind_concatenation, ",", false)
                                    : term(skip(n.end) + 1);
      if (!next) return {};
      n.kids.push_back(*next);
      n.end = next->end;
    }
    return n;
  }
  cres alternation(const char* p) const { return sequence(p, kind_alternation, "|", true); }
  cres rule(const char* p) const {
    p = skip(p);
    cres name = identifier(p);
    if (!name) return {};
    const char* q = skip(name->end);
    if (!at(q, "=")) return {};
    cres body = alternation(q + 1);
    if (!body) return {};
    q = skip(body->end);
    if (!at(q, ";")) return {};
    return cnode{kind_rule, p, q + 1, {*name, *body}};
  }
};

// kind, the text of terminals, bounds and names, where rules end, and the children.
std::string cshape(u16 kind, const char* start, const char* end, const char* base,
                   const std::vector<std::string>& kids) {
  std::string s = std::to_string(kind);
  if ((kind >= kind_except_terminal_string && kind <= kind_any_char) || kind == kind_integer_dec ||
      kind == kind_integer_hex || kind == kind_identifier)
    s += "'" + std::string(start, end) + "'";
  if (kind == kind_rule || kind == kind_syntax) s += "@" + std::to_string(end - base);
  if (!kids.empty()) {
    s += "(";
    for (u64 i = 0; i < kids.size(); ++i) s += (i ? " " : "") + kids[i];
    s += ")";
  }
  return s;
}
std::string cshape(const cnode& n, const char* base) {
  std::vector<std::string> kids;
  for (const cnode& k : n.kids) kids.push_back(cshape(k, base));
  return cshape(n.kind, n.start, n.end, base, kids);
}
std::string cshape(const grammar_node* n, const char* base) {
  std::vector<std::string> kids;
  for (auto* e = n->children.head; e; e = e->next) kids.push_back(cshape(e->value, base));
  return cshape(n->kind, n->start, n->end, base, kids);
}

std::string compiled_by_oracle(const std::string& text) {
  compiler_oracle c{text.data() + text.size()};
  cnode root{kind_syntax, text.data(), nullptr, {}};
  const char* p = text.data();
  while (cres r = c.rule(p)) {
    root.kids.push_back(*r);
    p = r->end;
  }
  if (root.kids.empty()) return "null";
  root.end = c.skip(p);
  return cshape(root, text.data());
}
std::string compiled_by_engine(const std::string& text) {
  u64 n = text.size();
  grammar_node* root = grammar_parse_rules(text.data(), &n);
  const std::string s = root ? cshape(root, text.data()) : "null";
  grammar_node_free(root);
  return s;
}

TEST(compiler_conformance, grammar_texts_compile_as_the_notation_says) {
  std::mt19937 rng(33);
  // Well-formed texts, then the same with damage, then bytes of the notation at random.
  const std::string noise = "r0 =;'\"`()[]{}<>~,|.!*/\n\t0x9a_Xz\xc3";
  for (int round = 0; round < 1500; ++round) {
    std::string text;
    for (int r = 0; r < 3; ++r)
      text += (rng() % 4 ? "r" : "(* c *) r") + std::to_string(r) + " = " + test::random_rule_body(rng, 0, rule_atoms) +
              (rng() % 5 ? ";\n" : "; // n\n");
    std::string damaged = text;
    for (int k = 0; k < 2; ++k) damaged[rng() % damaged.size()] = noise[rng() % noise.size()];
    std::string random(rng() % 60, ' ');
    for (char& ch : random) ch = noise[rng() % noise.size()];
    if (round % 2) random = "r0 = " + random;
    for (const std::string& t : {text, damaged, random})
      ASSERT_EQ(compiled_by_engine(t), compiled_by_oracle(t)) << t;
  }
  // The dialect itself.
  const std::string sql(sql::grammar_text(), sql::grammar_text_size());
  EXPECT_EQ(compiled_by_engine(sql), compiled_by_oracle(sql));
}

}  // namespace
}  // namespace kk::grammar
