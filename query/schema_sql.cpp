#include "query/schema_sql.h"

#include <cstdlib>
#include <cstring>

#include "query/db_ctx.h"
#include "query/sql_build.h"
#include "query/sql_parse.h"

using kk::u64;
using kk::adt::text_view;
using kk::adt::string::string;
using query_detail::append;

namespace {

bool same(text_view t, const char* s) { return t.size == std::strlen(s) && std::memcmp(t.data, s, t.size) == 0; }

bool is_attr(text_view t) { return t.size == 0 || same(t, "true") || same(t, "false"); }

// Runs a statement that returns nothing to read.
bool run(db_ctx* ctx, const string& sql) {
  string entry;
  datas* reply = exec_logged(ctx, sql, entry, false);
  const bool ok = reply != nullptr;
  del_datas(reply);
  return ok;
}

// The text of a reply cell (empty for a cell without text).
string cell_text(const datas* d, u64 row, u64 col) {
  char* bytes = nullptr;
  uint64_t n = 0;
  as_str(&bytes, &n, at(row, col, d));
  string s = bytes && n ? kk::adt::string_from_bytes(bytes, n) : string();
  std::free(bytes);
  return s;
}

// Runs a reading statement; null when it failed or its reply has fewer than `columns`
// columns (nothing of such a reply is read).
datas* run_reading(db_ctx* ctx, const string& sql, u64 columns) {
  string entry;
  datas* reply = exec_logged(ctx, sql, entry, false);
  if (reply && rows_of(reply) > 0 && cols_of(reply) < columns) {
    del_datas(reply);
    return nullptr;
  }
  return reply;
}

// " " name " " type <open> attrs " )" for one field.
void append_field(string& s, const string& name, const string& type, const string& attrs, const char* open) {
  append(s, quote_name(name.view()));
  append(s, " ");
  append(s, type);
  append(s, open);
  append(s, attrs);
  append(s, " )");
}

bool field_ok(const string& name, const string& type, const string& attrs) {
  return name.size > 0 && is_type_name(type.view()) && is_attr(attrs.view());
}

bool alter_field(db_ctx* ctx, const string& table, const char* verb, const string& field, const string& type,
                 const string& attrs) {
  if (table.size == 0 || !field_ok(field, type, attrs)) return false;
  string sql;
  append(sql, "alter table ");
  append(sql, quote_name(table.view()));
  append(sql, verb);
  append_field(sql, field, type, attrs, " ( ");
  append(sql, ";");
  return run(ctx, sql);
}

bool table_statement(db_ctx* ctx, const char* head, const string& table, const char* tail) {
  if (table.size == 0) return false;
  string sql;
  append(sql, head);
  append(sql, quote_name(table.view()));
  append(sql, tail);
  return run(ctx, sql);
}

string fields_of_text(const string& table) {
  string sql;
  append(sql, "fields_of ");
  append(sql, quote_name(table.view()));
  append(sql, ";");
  return sql;
}

}  // namespace

bool is_type_name(text_view t) {
  static const char* const names[] = {"u08", "i08", "u16", "i16", "u32", "i32", "u64", "i64",
                                      "float", "double", "string", "date", "time", "datetime"};
  for (const char* n : names)
    if (same(t, n)) return true;
  return false;
}

bool sql_create_table(db_ctx* ctx, const string& table, const text_list& names, const text_list& types,
                      const text_list& attrs) {
  if (table.size == 0 || names.count == 0 || types.count != names.count || attrs.count != names.count) return false;
  for (auto *n = names.head, *t = types.head, *a = attrs.head; n; n = n->next, t = t->next, a = a->next)
    if (!field_ok(n->value, t->value, a->value)) return false;
  string sql;
  append(sql, "create table ");
  append(sql, quote_name(table.view()));
  append(sql, " ( ");
  for (auto *n = names.head, *t = types.head, *a = attrs.head; n; n = n->next, t = t->next, a = a->next) {
    if (n != names.head) append(sql, ", ");
    append_field(sql, n->value, t->value, a->value, "( ");
  }
  append(sql, " );");
  return run(ctx, sql);
}

bool sql_alter_add(db_ctx* ctx, const string& table, const string& field, const string& type, const string& attrs) {
  return alter_field(ctx, table, " add ", field, type, attrs);
}

bool sql_alter_modify(db_ctx* ctx, const string& table, const string& field, const string& type,
                      const string& attrs) {
  return alter_field(ctx, table, " modify ", field, type, attrs);
}

bool sql_alter_rename(db_ctx* ctx, const string& table, const string& old_name, const string& new_name) {
  if (table.size == 0 || old_name.size == 0 || new_name.size == 0) return false;
  string sql;
  append(sql, "alter table ");
  append(sql, quote_name(table.view()));
  append(sql, " rename ");
  append(sql, quote_name(old_name.view()));
  append(sql, " ");
  append(sql, quote_name(new_name.view()));
  append(sql, ";");
  return run(ctx, sql);
}

bool sql_alter_drop(db_ctx* ctx, const string& table, const string& field) {
  if (table.size == 0 || field.size == 0) return false;
  string sql;
  append(sql, "alter table ");
  append(sql, quote_name(table.view()));
  append(sql, " drop ");
  append(sql, quote_name(field.view()));
  append(sql, ";");
  return run(ctx, sql);
}

bool sql_drop_table(db_ctx* ctx, const string& table) { return table_statement(ctx, "drop table ", table, ";"); }

bool sql_truncate_table(db_ctx* ctx, const string& table) {
  return table_statement(ctx, "truncate table ", table, ";");
}

bool sql_fields_of(db_ctx* ctx, const string& table, text_list& names, text_list& types, text_list& attrs) {
  if (table.size == 0) return false;
  datas* reply = run_reading(ctx, fields_of_text(table), 3);
  if (!reply) return false;
  for (u64 j = 0; j < rows_of(reply); ++j) {
    names.push_back(cell_text(reply, j, 0));
    types.push_back(cell_text(reply, j, 1));
    attrs.push_back(cell_text(reply, j, 2));
  }
  del_datas(reply);
  return names.count > 0;
}

namespace {
bool read_first_column(db_ctx* ctx, const string& sql, kk::adt::vector<string>& out) {
  datas* reply = run_reading(ctx, sql, 1);
  if (!reply) return false;
  for (u64 j = 0; j < rows_of(reply); ++j) out.push_back(cell_text(reply, j, 0));
  del_datas(reply);
  return out.size > 0;
}
}  // namespace

bool sql_field_names(db_ctx* ctx, const string& table, kk::adt::vector<string>& names) {
  if (table.size == 0) return false;
  return read_first_column(ctx, fields_of_text(table), names);
}

bool sql_show_tables(db_ctx* ctx, kk::adt::vector<string>& names) {
  return read_first_column(ctx, kk::adt::string_from_cstr("show tables;"), names);
}
