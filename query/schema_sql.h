#pragma once
// Builders of the schema statements: each quotes the names it is given, assembles its
// statement, runs it through exec_logged (logged at once) and reports by its result only.
//
// Nothing is sent, and false returned, when an input cannot make the statement meant: an
// empty table or field name, a type that is none of the fourteen column type names, an
// attribute text other than "true", "false" or empty, lists of unequal lengths.
#include "adt/string.h"
#include "adt/vector.h"
#include "query/variant_rows.h"

class db_ctx;

// The fourteen column type names, "u08" .. "datetime".
bool is_type_name(kk::adt::text_view t);

// create table T ( n1 t1( a1 ), n2 t2( a2 ) ); false without a field.
bool sql_create_table(db_ctx* ctx, const kk::adt::string::string& table, const text_list& names,
                      const text_list& types, const text_list& attrs);
// alter table T add F type ( attrs );
bool sql_alter_add(db_ctx* ctx, const kk::adt::string::string& table, const kk::adt::string::string& field,
                   const kk::adt::string::string& type, const kk::adt::string::string& attrs);
// alter table T modify F type ( attrs );
bool sql_alter_modify(db_ctx* ctx, const kk::adt::string::string& table, const kk::adt::string::string& field,
                      const kk::adt::string::string& type, const kk::adt::string::string& attrs);
// alter table T rename OLD NEW;
bool sql_alter_rename(db_ctx* ctx, const kk::adt::string::string& table, const kk::adt::string::string& old_name,
                      const kk::adt::string::string& new_name);
// alter table T drop F;
bool sql_alter_drop(db_ctx* ctx, const kk::adt::string::string& table, const kk::adt::string::string& field);
bool sql_drop_table(db_ctx* ctx, const kk::adt::string::string& table);
bool sql_truncate_table(db_ctx* ctx, const kk::adt::string::string& table);

// fields_of T; per field its name, type name and attribute text (the reply's first three
// columns) appended to the lists; true when names is not empty afterwards. A reply with
// fewer than three columns is refused unread.
bool sql_fields_of(db_ctx* ctx, const kk::adt::string::string& table, text_list& names, text_list& types,
                   text_list& attrs);
// fields_of T; the field names appended; true when the vector is not empty afterwards.
bool sql_field_names(db_ctx* ctx, const kk::adt::string::string& table,
                     kk::adt::vector<kk::adt::string::string>& names);
// show tables; the table names appended; true when the vector is not empty afterwards.
bool sql_show_tables(db_ctx* ctx, kk::adt::vector<kk::adt::string::string>& names);
