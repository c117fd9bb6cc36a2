// The catalogue server's own reading of statements: a small tokenizer and a recursive-descent
// parser for the statement forms the client program sends. Written apart from the product's
// grammar on purpose, so that the two check each other. Anything outside these forms is not
// parsed (nullopt) and the server answers FAIL.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace peer::sql {

// A constant as written: an integer (sign and magnitude), a float, a string or a bool.
struct literal {
  enum kind_t { integer, real, text, boolean } kind = integer;
  bool negative = false;
  uint64_t magnitude = 0;
  double number = 0;
  std::string bytes;  // text: the decoded bytes
  bool flag = false;
};

// A where condition.
struct cond {
  enum kind_t {
    compare,   // field op lits[0]            (op: == != < <= > >=)
    in_set,    // field [not] in (lits...)
    between,   // lits[0] op field op2 lits[1] (op, op2: < <= or > >=)
    position,  // first [n] | last [n] | nth n | range a b, over the candidate rows
    extreme,   // field min [n] | field max [n]
    all_of,    // kids joined by &&
    any_of,    // kids joined by ||
  } kind = compare;
  std::string field;
  std::string op, op2;   // compare, between; position: "first" "last" "nth" "range"; extreme: "min" "max"
  bool negate = false;   // in_set: not in
  std::vector<literal> lits;
  uint64_t a = 1, b = 0;  // position and extreme counts
  std::vector<cond> kids;
};

// A post-processing step of a select.
struct post {
  enum kind_t { order, position, project, rename } kind = order;
  std::vector<std::string> fields;  // order, project; rename: {old, new}
  bool descending = false;           // order
  bool except = false;               // project except
  std::string op;                    // position: "first" "last" "nth" "range"
  uint64_t a = 1, b = 0;
};

// Where a transfer's bytes come from or go to.
struct target {
  bool raw = false;      // client mode: "as raw" / "from raw "...""
  bool replace = false;  // "path+="
  std::string path;      // server mode
  std::string bytes;     // an upload's decoded bytes
};

struct export_clause {
  std::string format;     // "csv" or "csvs"
  std::string separator;  // the "split by" text; "," when absent
  target to;
};

struct select_stmt {
  bool star = false;
  std::vector<std::string> fields;
  std::string table;
  std::optional<cond> where;
  std::vector<post> posts;
  std::optional<export_clause> exp;
};
struct insert_stmt {
  std::string table;
  std::vector<std::string> fields;
  std::vector<std::vector<literal>> rows;
};
struct assignment {
  std::string field;
  literal value;
};
struct update_stmt {
  std::string table;
  std::vector<assignment> sets;
  std::optional<cond> where;
};
struct delete_stmt {
  std::string table;
  std::optional<cond> where;
};
struct field_spec {
  std::string name, type, attrs;  // attrs: the bools between the parentheses, "" or "true" or "true,false"
};
struct create_stmt {
  std::string table;
  std::vector<field_spec> fields;
};
struct alter_stmt {
  enum kind_t { add, modify, rename, drop } kind = add;
  std::string table;
  field_spec field;      // add, modify; rename and drop: field.name
  std::string new_name;  // rename
};
struct drop_stmt {
  std::string table;
};
struct truncate_stmt {
  std::string table;
};
struct show_tables_stmt {};
struct fields_of_stmt {
  std::string table;
};
struct save_stmt {  // save T as F ...; backup as F ... (table empty)
  std::string table;
  std::string format;  // "bin" or "sql"
  target to;
};
struct load_stmt {  // load T from F ...; restore from F ... (table empty)
  std::string table;
  std::string format;
  target from;
};
struct import_stmt {
  std::string table;
  std::string format;     // "csv" or "csvs"
  std::string separator;  // "," when absent
  target from;
};

struct statement;
struct atom_stmt {
  std::vector<statement> parts;  // select, insert, update, delete
};

struct statement {
  enum kind_t { select, insert, update, remove, create, alter, drop, truncate, show_tables, fields_of,
                atom, save, backup, load, restore, import } kind = select;
  std::variant<select_stmt, insert_stmt, update_stmt, delete_stmt, create_stmt, alter_stmt, drop_stmt,
               truncate_stmt, show_tables_stmt, fields_of_stmt, atom_stmt, save_stmt, load_stmt, import_stmt>
      body;
};

// One whole statement (blanks, comments and one ';' around it allowed); nullopt when the text
// is not exactly one statement of the understood forms.
std::optional<statement> parse_statement(std::string_view text);
// A script of such statements, one after another; nullopt when any of them does not parse.
std::optional<std::vector<statement>> parse_script(std::string_view text);

}  // namespace peer::sql
