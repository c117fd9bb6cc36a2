#pragma once
// Rule numbers and parse-node ids of the SQL grammar, in the order of its text.
//
// The names below are the rules of the grammar text in definition order: rule_x is the
// number of rule x, id_x = rule_x + 2 the id of its parse nodes. A test checks the list
// against the compiled text, so a number is never written by hand.
#include "adt/types.h"

#define RUV_SQL_RULES(X) \
  X(syntax) \
  X(constant) \
  X(integer) \
  X(int_sfx) \
  X(uint_bin) \
  X(uint_hex) \
  X(uint_dec) \
  X(float) \
  X(string) \
  X(raw_string) \
  X(s_char) \
  X(fraction) \
  X(exponent) \
  X(end_line) \
  X(character) \
  X(c_char) \
  X(esc_char) \
  X(esc_bin) \
  X(esc_ctrl) \
  X(esc_hex) \
  X(hex_digit) \
  X(esc_uni) \
  X(digit) \
  X(bool) \
  X(expr) \
  X(pri_expr) \
  X(unary_expr) \
  X(unary_op) \
  X(mtive_expr) \
  X(ative_expr) \
  X(shift_expr) \
  X(rlt_expr) \
  X(eqt_expr) \
  X(bit_and_expr) \
  X(bit_xor_expr) \
  X(bit_or_expr) \
  X(lgc_and_expr) \
  X(lgc_or_expr) \
  X(fn_expr) \
  X(fn_name) \
  X(arg_lst) \
  X(exprs) \
  X(sql) \
  X(ddl) \
  X(dataset_post) \
  X(select_one) \
  X(into_expr) \
  X(expand_h) \
  X(expand_v) \
  X(select) \
  X(insert) \
  X(delete) \
  X(update) \
  X(dml) \
  X(create) \
  X(field_opt) \
  X(dt_int) \
  X(dt_str) \
  X(dt_date) \
  X(dt_time) \
  X(dt_datetime) \
  X(dt_flt) \
  X(data_type_opt) \
  X(alter) \
  X(drop) \
  X(dcl) \
  X(where) \
  X(field) \
  X(field_name) \
  X(table_name) \
  X(user_name) \
  X(bare_string) \
  X(bare_char) \
  X(comment) \
  X(singleline_comment) \
  X(multiline_comment) \
  X(igs) \
  X(sp) \
  X(whitespace) \
  X(where_cond) \
  X(where_pri_expr) \
  X(where_and_expr) \
  X(where_or_expr) \
  X(field_or_table_string) \
  X(w_range_expr) \
  X(w_miax_expr) \
  X(w_btw_expr) \
  X(w_rel_expr) \
  X(w_in_expr) \
  X(rows_of) \
  X(cols_of) \
  X(save) \
  X(load) \
  X(exec) \
  X(fields_of) \
  X(show_tabs) \
  X(f_char) \
  X(order) \
  X(filter) \
  X(line_inter_expr) \
  X(line_adj_expr) \
  X(line_inner_expr) \
  X(line_range_expr) \
  X(exists_expr) \
  X(group) \
  X(recompute) \
  X(project) \
  X(rename) \
  X(agn_expr) \
  X(truncate) \
  X(constant_expr) \
  X(all_expr) \
  X(export) \
  X(import) \
  X(atom_exec) \
  X(atom_ddl) \
  X(backup) \
  X(restore) \
  X(esc_2hex)

namespace kk::grammar::sql {

enum sql_rule : u16 {
#define RUV_SQL_RULE_NUMBER(name) rule_##name,
  RUV_SQL_RULES(RUV_SQL_RULE_NUMBER)
#undef RUV_SQL_RULE_NUMBER
  rule_count
};

enum sql_node_id : u16 {
#define RUV_SQL_NODE_ID(name) id_##name = rule_##name + 2,
  RUV_SQL_RULES(RUV_SQL_NODE_ID)
#undef RUV_SQL_NODE_ID
};

inline constexpr const char* rule_names[rule_count] = {
#define RUV_SQL_RULE_NAME(name) #name,
    RUV_SQL_RULES(RUV_SQL_RULE_NAME)
#undef RUV_SQL_RULE_NAME
};

static_assert(rule_count == 119);
static_assert(id_sql == 44 && id_where == 68 && id_table_name == 71 && id_igs == 78);

}  // namespace kk::grammar::sql
