#include "grammar/sql_grammar_text.h"

#include <cstring>

#include "grammar/startup_product.h"

namespace kk::grammar::sql {

namespace {
// The dialect: 119 rules whose order fixes the rule numbers (and node ids, rule + 2).
// Rules 4, 5, 6, 9 and 39 are served natively; their bodies only give them a number.
constexpr char text[] = R"~~(
// ruv sql dialect
syntax = sql;
constant = (float | integer | character | string | bool);
integer = ['+'|'-'], (uint_bin | uint_hex | uint_dec), [int_sfx];
int_sfx = 'u', `1248`;
uint_bin = '0', esc_bin;  // native
uint_hex = '0', esc_hex;  // native
uint_dec = <digit>;  // native
float = ['+'|'-'], uint_dec, (fraction, [exponent] | exponent), ['f' | 'd'];
string = ('"', {s_char|'\',esc_char}, '"' | '@', raw_string), {igs, '"', {s_char|'\',esc_char}, '"' | '@', raw_string};
raw_string = '"', {.}, '"';  // native
s_char = 0x00~0x09 | 0x0b~0x21| 0x23~0x5b | 0x5d~0x03134f;
fraction = '.', [uint_dec];
exponent = ('E'|'e'), ['+'|'-'], uint_dec;
end_line = 0x0a~0x0a;
character = "'\", esc_char, "'" | "'", (c_char|esc_char), "'";  // '\n', '\'' and '\\' are written with a backslash; the older forms without one still parse
c_char = 0x00~0x09 | 0x0b~0x26| 0x28~0x5b | 0x5d~0x03134f;
esc_char = esc_ctrl | esc_2hex | esc_uni;
esc_bin = "b", <'0'|'1'>;
esc_ctrl = `"'\abfnrtv`;
esc_hex = 'x', <hex_digit>;
hex_digit = digit | 'a'~'f' | 'A'~'F';
esc_uni = 'u', 4{hex_digit}4 | 'U', 8{hex_digit}8;
digit = '0'~'9';
bool = 'true' | 'false';
expr = lgc_or_expr, [igs, 'as', igs, field_name];
pri_expr = (fn_expr | constant | field |'(', igs, expr, igs, ')');
unary_expr = unary_op, igs, unary_expr | pri_expr;
unary_op = `!+-~`;
mtive_expr = unary_expr, {igs, ('*'|'/'|'%'), igs, unary_expr};
ative_expr = mtive_expr, {igs, ('+'|'-'), igs, mtive_expr};
shift_expr = ative_expr, {igs, ('>>'|'<<'), igs, ative_expr};
rlt_expr = shift_expr, {igs, ('>'|'<'), ['='], igs, shift_expr};
eqt_expr = rlt_expr, {igs, ('='|'!'), '=', igs, rlt_expr};
bit_and_expr = eqt_expr, {igs, '&', igs, eqt_expr};
bit_xor_expr = bit_and_expr, {igs, '^', igs, bit_and_expr};
bit_or_expr = bit_xor_expr, {igs, '|', igs, bit_xor_expr};
lgc_and_expr = bit_or_expr, {igs, '&&', igs, bit_or_expr};
lgc_or_expr = lgc_and_expr, {igs, '||', igs, lgc_and_expr};
fn_expr = fn_name, igs, '(', igs, [arg_lst], igs, ')';
fn_name = '.';  // native
arg_lst = expr, {igs, ',', igs, expr};
exprs = expr, {igs, ',', igs, expr} | all_expr;
sql = igs, (ddl | dml | dcl), igs;
ddl = (select | insert | delete | update | atom_exec | rows_of | cols_of | fields_of | show_tabs ), [igs, ';'];
dataset_post = (order|filter|group|project|recompute|rename);
select_one = 'select', igs, exprs, [igs, into_expr], [igs, 'from', igs, table_name, igs, where], {igs, dataset_post};
into_expr = 'into', igs, table_name;
expand_h = 'join', igs, '(', igs, select_one, igs, 'on', igs, field_name, igs, '==', igs, field_name, igs, ')';
expand_v = 'union', igs, '(', igs, select_one, igs, ')';
select = select_one, {igs, (expand_h|expand_v), {igs, dataset_post}}, [igs, export];
insert = 'insert', igs, 'into', igs, table_name, igs, '(', igs, field_name, {igs, ',', igs, field_name}, igs, ')', igs, (select|'values', <igs, [','], igs, '(', igs, constant_expr, {igs, ',', igs, constant_expr}, igs, ')'>);
delete = 'delete', igs, 'from', igs, table_name, igs, where;
update = 'update', igs, table_name, igs, 'set', igs, agn_expr, {igs, ',', igs, agn_expr}, igs, where;
dml = (create | alter | drop | save | load | backup | restore | exec | import | truncate ), [igs, ';'];
create = 'create', igs, 'table', igs, table_name, igs, '(', igs, field_opt, {igs, ',', igs, field_opt}, igs, ')';
field_opt = field_name, igs, data_type_opt;
dt_int = ('i'|'u'), ('08'|'16'|'32'|'64');
dt_str = 'string';
dt_date = 'date';
dt_time = 'time';
dt_datetime = 'datetime';
dt_flt = ('float'|'double');
data_type_opt = ( dt_int | dt_flt | dt_str | dt_datetime | dt_date | dt_time ), igs, '(', igs, [bool, [igs, ',', igs, bool]], igs, ')', igs;
alter = 'alter', igs, 'table', igs, table_name, igs, ('add', igs, field_opt | 'modify', igs, field_opt |'rename', igs, field_name, igs, field_name|'drop', igs, field_name);
drop = 'drop', igs, 'table', igs, table_name;
dcl = ('grant'|'deny'), igs, ('connect'|'select'|'insert'|'update'|'delete'|'execute'), igs, 'on', igs, (field_name|table_name), igs, 'to', igs, user_name, [igs, ';'];  // blanks may follow 'to'
where = ['where', igs, where_cond];
field = field_name;
field_name = field_or_table_string | bare_string;
table_name = field_or_table_string | bare_string;
user_name = string | bare_string;
bare_string = ('a'~'z' | 'A'~'Z' | '_' ), {bare_char};
bare_char = 'a'~'z' | 'A'~'Z' | '0'~'9' | '_';
comment = multiline_comment | singleline_comment;
singleline_comment = ("#"|"//"), {!0x0a~0x0a}, [0x0a~0x0a];
multiline_comment = "/*", {comment|!"*/"}, "*/";
igs = {whitespace | comment};
sp = <whitespace | comment>;
whitespace = ' ' | 0x09~0x0c;
where_cond = where_or_expr;
where_pri_expr = (w_btw_expr | field_name, igs, ( w_miax_expr | w_rel_expr | w_in_expr ) | w_range_expr | '(', igs, where_cond, igs, ')');
where_and_expr = where_pri_expr, {igs, '&&', igs, where_pri_expr};
where_or_expr = where_and_expr, {igs, '||', igs, where_and_expr};
field_or_table_string = '[', {f_char|'\',esc_char}, ']';
w_range_expr = 'first', igs, [uint_dec] |'last', igs, [uint_dec] |'nth', igs, uint_dec|'range', igs, uint_dec, igs, uint_dec;
w_miax_expr = ('max' | 'min'), igs, [uint_dec];
w_btw_expr = ('(', igs, (select | constant_expr, {igs, ',', igs, constant_expr}), igs, ')', igs, ('any'|'all')|constant_expr), igs, ((('<=' | '<'), igs, field_name, igs, ('<=' | '<'))|(('>=' | '>'), igs, field_name, igs, ('>=' | '>'))), igs, (('any'|'all'), igs, '(', igs, (select | constant_expr, {igs, ',', igs, constant_expr}), igs, ')'|constant_expr);
w_rel_expr = ('>='|'<='|'>'|'<'|'=='|'!='), igs, (('any'|'all'), igs, '(', igs, (select | constant_expr, {igs, ',', igs, constant_expr}), igs, ')'|constant_expr);
w_in_expr = ['not', igs], 'in', igs, '(', igs, (select|constant_expr, {igs, ',', igs, constant_expr}), igs, ')';
rows_of = 'rows_of', igs, table_name;
cols_of = 'cols_of', igs, table_name;
save = 'save', igs, table_name, igs, ['as', igs, ('bin'|'sql'), igs], ('path', igs, ['+'], '=', igs, string|'as', igs, 'raw');
load = 'load', igs, table_name, igs, ['from', igs, ('bin'|'sql'), igs], ('path', igs, '=', igs, string|'from', igs, 'raw', igs, string);
exec = 'exec', igs, string;
fields_of = 'fields_of', igs, table_name;
show_tabs = 'show', igs, 'tables';
f_char = 0x00~0x09 | 0x0b~0x5a | 0x5e~0x03134f;
order = 'order', igs, 'by', igs, field_name, {igs, ',', igs, field_name}, igs, ('asc'|'desc'|'rand');
filter = (line_inter_expr|line_adj_expr|line_inner_expr|line_range_expr|exists_expr);
line_inter_expr = 'all_each', igs, 'on', igs, ('distinct'|expr);
line_adj_expr = 'adj', igs, 'on', igs, expr;
line_inner_expr = 'inner', igs, 'on', igs, expr;
line_range_expr = 'first', igs, [uint_dec]|'last', igs, [uint_dec]|'nth', igs, uint_dec|'range', igs, uint_dec, igs, uint_dec;
exists_expr = ['not', igs], 'exists', igs, '(', igs, select, igs, ')';
group = 'group', igs, expr, igs, 'by', igs, field_name, {igs, ',', igs, field_name};
recompute = 'recompute', igs, agn_expr, {igs, ',', igs, agn_expr};
project = 'project', [igs, 'except'], igs, field_name, {igs, ',', igs, field_name};
rename = 'rename', igs, field_name, igs, field_name;
agn_expr = field_name, igs, [`%&*+-/^|`|'>>'|'<<'], '=', igs, expr;
truncate = 'truncate', igs, 'table', igs, table_name;
constant_expr = shift_expr;
all_expr = '*';
export = 'export', igs, 'as', igs, ('csvs' | 'csv'), igs, ['split', igs, 'by', igs, string], igs, ('path', igs, ['+'], '=', igs, string|'as', igs, 'raw');
import = 'import', igs, table_name, igs, 'from', igs, ('csvs' | 'csv'), igs, ['split', igs, 'by', igs, string], igs, ('path', igs, '=', igs, string|'from', igs, 'raw', igs, string);
atom_exec = 'atom_exec', igs, {atom_ddl}, igs, 'commit';
atom_ddl = (select | insert | delete | update), [igs, ';', igs];
backup = 'backup', igs, 'as', igs, ('sql'|'bin'), igs, ('path', igs, ['+'], '=', igs, string|'as', igs, 'raw');
restore = 'restore', igs, 'from', igs, ('sql'|'bin'), igs, ('path', igs, '=', igs, string|'from', igs, 'raw', igs, string);
esc_2hex = 'x', hex_digit, hex_digit;
)~~";
}  // namespace

const char* grammar_text() noexcept { return text; }
u64 grammar_text_size() noexcept { return sizeof text - 1; }

namespace {
struct text_string {
  adt::string::string s = adt::string_from_bytes(text, sizeof text - 1);
};
constinit startup_product<text_string> text_copy;
}  // namespace

const adt::string::string& grammar_string() { return text_copy.get().s; }
void grammar_string_build() { text_copy.build(); }
void grammar_string_release() noexcept { text_copy.release(); }

}  // namespace kk::grammar::sql
