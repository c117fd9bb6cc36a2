// A stateful in-memory database for the test peer: tables of typed fields, rows with server
// row ids, and a small file store, answering the statements the client program sends.
// Tables are held as one column of wire-form values per field (cat_store.h); a reply is
// written from them in one pass, without a copy of the rows picked.
//
// Use:
//   peer::catalogue db;                        // declare before the peer: it must outlive it
//   peer::test_peer server;
//   db.install(server);                        // every statement not answered from the
//                                              // peer's reply queue is answered by db
//   db.create_table("t", {{"a", peer::ftype::i32}, {"b", peer::ftype::str}});
//   uint64_t id = db.insert("t", {peer::value::sint(peer::ftype::i32, 7), peer::value::text("x")});
//   ... run the client against server.port() ...
//   db.table("t")->rows, db.uploads(), db.file("p"), db.log()   // inspect
// Without a network, db.run(text) gives the outcome of one statement (ok, result).
// Every public member locks: tests may inspect while the peer's thread serves.
//
// Statements understood (keywords lower case as the dialect writes them; names bare or in
// square brackets with backslash escapes; strings "..." with escapes, adjacent strings joined,
// @"d(...)d" raw strings; comments # // /* */; an optional ';' at the end):
//   show tables                       -> one string column "name", a row per table, in
//                                        creation order (no rows for an empty database)
//   fields_of T                       -> string columns "name", "type", "repeat": a row per
//                                        field; repeat "Yes" when the first attribute is true,
//                                        else "No"
//   select * | f, ... from T [where C] {P} [export ...]
//                                     -> the columns typed as their fields, each row with its
//                                        row id; __id may be named as a u64 column
//   insert into T ( f, ... ) values ( v, ... ) [[,] ( v, ... )]...
//                                        unnamed fields get zero (0, "", 1970-01-01, 00:00:00)
//   update T set f = v, ... [where C]    delete from T [where C]
//   create table T ( f type( [bool [, bool]] ), ... )
//   alter table T add f type( ... ) | modify f type( ... ) | rename f g | drop f
//                                        modify converts each value through its text form,
//                                        zero where that fails
//   drop table T                      truncate table T
//   atom_exec {select|insert|update|delete [;]} commit
//                                     -> all or nothing: one failing part fails the batch and
//                                        leaves the database as it was
//   save T [as bin|sql] (path[+]="p" | as raw)      backup as bin|sql (path[+]="p" | as raw)
//   load T [from bin|sql] (path="p" | from raw "…") restore from bin|sql (path="p" | from raw "…")
//   import T from csv|csvs [split by "s"] (path="p" | from raw "…")
//   select ... export as csv|csvs [split by "s"] (path[+]="p" | as raw)
// Values v: integers (sign, decimal, 0x.., 0b.., suffix u1/u2/u4/u8), floats, strings; a
// date, time or datetime is a string "yyyy-mm-dd", "hh:mm:ss[.fraction]",
// "yyyy-mm-dd hh:mm:ss[.fraction]" (also with 'T'). A value must fit its field's type.
// Where clauses C: f op v (op == != < <= > >=), f [not] in (v, ...), v1 < f < v2 (and <=, >,
// >= forms), f min [n], f max [n], first [n], last [n], nth n, range a b, joined by && and
// || with parentheses. __id is the row id. In an && chain the value tests filter first and
// the position forms (first, last, nth, range, min, max) then pick among the rows that pass,
// so "first 1000 && a == 1" is at most 1000 rows with a == 1. nth and range count from 0
// (range a b: positions a to b inclusive).
// Post steps P, in order, over the result: order by f, ... asc|desc (stable), first [n],
// last [n], nth n, range a b, project [except] f, ..., rename f g.
// Transfers: uploads (load, restore, import, from raw or from a file of the store) are all
// recorded in uploads(), whatever their outcome. load and restore keep the bytes as the
// table's (the database's) document; save and backup answer with that document while the
// table (the database) is unchanged since, else with a generated text (the create and insert
// statements of the table, or of every table); load and restore of such a text rebuild the
// table (database) from it (a bin load names the table as the statement does, an sql load
// as the text does), other bytes are only kept. import reads CSV rows into an existing
// table (fields in order, values in their text forms, quoted fields read as export writes
// them; "csvs" skips a first header record) and fails on a row that does not read. export
// writes the result as CSV: values in their text forms joined by the separator, a line feed
// after each row, a value holding the separator, a quote, CR or LF in quotes with its quotes
// doubled; "csvs" puts a header line of field names first. "as raw" replies carry one string column "raw": save and backup rows
// hold hexadecimal text, export rows the bytes themselves, each row for at most
// download_row_bytes() bytes (so a character may be cut between rows). path targets use the
// file store (files()); without '+' an existing file is refused.
//
// FAIL (the statement is still logged) for anything else, including: unknown tables or
// fields, values that do not fit, select without from or with expressions, any/all, sub
// selects, group, recompute, inner/adj/all_each/exists, order by ... rand, rows_of, cols_of,
// exec, grant/deny, insert ... select, update with op= or expressions, parentheses nested
// deeper than 200, table or field names longer than 65535 bytes.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/peer/cat_store.h"
#include "tests/peer/cat_value.h"
#include "tests/peer/peer_wire.h"
#include "tests/peer/test_peer.h"

namespace peer {

struct row_data {
  uint64_t id = 0;
  std::vector<value> values;  // one per field, in field order
};

// A table as rows of values: the form table() hands out.
struct table_data {
  std::string name;
  std::vector<field_def> fields;
  std::vector<row_data> rows;  // in insertion order
};

// One upload as the server received it.
struct upload {
  std::string kind;       // "load", "restore" or "import"
  std::string table;      // empty for restore
  std::string format;     // "bin", "sql", "csv", "csvs"
  std::string separator;  // import only
  bool client = false;    // from raw "..." (else path)
  std::string path;
  std::string bytes;
};

// One statement the catalogue answered.
struct handled {
  std::string text;
  bool ok = false;
};

class catalogue {
 public:
  struct outcome {
    bool ok = false;
    bool has_table = false;  // false: an OK reply without a result table (empty body)
    result r;
  };

  catalogue() = default;
  catalogue(const catalogue&) = delete;
  catalogue& operator=(const catalogue&) = delete;

  // Makes p answer from this catalogue (the peer's queued replies still come first).
  void install(test_peer& p);
  // The reply to one statement, written straight from the tables' columns; *ok (when given)
  // tells whether the statement succeeded.
  reply_plan handle(std::string_view statement, bool* ok = nullptr);
  // The same for the peer's thread (install uses it): a reply above 1 MiB is written while it
  // is sent, a few cells at a time, never whole in memory; the catalogue stays locked until
  // the reply has gone (or the reply_plan is dropped).
  reply_plan stream(std::string_view statement, bool* ok = nullptr);
  // The same statement's outcome with its result as rows of cells (for tests to read).
  outcome run(std::string_view statement);

  // Set-up. create_table: false for an empty or taken name, no fields, an empty or repeated
  // field name. insert: the new row's id, 0 when the table is missing or the values do not
  // match the fields' types.
  bool create_table(std::string name, std::vector<field_def> fields);
  uint64_t insert(std::string_view table, std::vector<value> values);
  void put_file(std::string path, std::string bytes);
  // Bytes per row of an "as raw" reply (1 to 32767; default 4096).
  void set_download_row_bytes(size_t n);
  size_t download_row_bytes() const;
  // Reports the column names of a select's result in square brackets ("[a b]" for the
  // field a b, "[a]" for a), as some servers do; off by default.
  void set_bracketed_names(bool on);
  void clear();  // no tables, files, uploads or log; row ids start again at 1

  // Inspection (copies). table(): a snapshot, null when there is no such table; the same
  // object is handed out until the catalogue next runs a statement or is changed, so even
  // "for (auto& r : db.table("t")->rows)" stays valid while nothing runs.
  std::vector<std::string> table_names() const;
  std::shared_ptr<const table_data> table(std::string_view name) const;
  // The table's fields, then each row in order through one reused row_data (no snapshot of
  // the whole table); false when there is no such table. Holds the lock throughout.
  bool each_row(std::string_view name, std::vector<field_def>& fields,
                const std::function<void(const row_data&)>& row) const;
  std::vector<upload> uploads() const;
  std::optional<std::string> file(std::string_view path) const;
  std::map<std::string, std::string> files() const;
  std::vector<handled> log() const;

 private:
  struct state {
    std::vector<table_store> tables;
    uint64_t next_id = 1;
    std::map<std::string, std::string> docs;  // "table:<name>" or "database" -> bytes kept by load/restore
  };
  struct answer;
  answer execute(std::string_view text);
  reply_plan reply(std::string_view statement, bool* ok, bool may_stream);

  mutable std::mutex mu_;
  state db_;
  mutable std::map<std::string, std::shared_ptr<const table_data>, std::less<>> snapshots_;
  std::map<std::string, std::string> files_;
  std::vector<upload> uploads_;
  std::vector<handled> log_;
  size_t row_bytes_ = 4096;
  bool bracketed_names_ = false;

  friend struct catalogue_engine;
  friend bool fill_wide(catalogue& db, std::string name, uint64_t rows, uint64_t seed);
};

// The sample database of the standalone program's demo mode: a few tables covering the
// fourteen column types, a few hundred rows, and "big" with 100000 rows.
void fill_demo(catalogue& db);

// A wide table for load and transfer benchmarks: `rows` rows of 20 fields, id u64 (1, 2,
// ...), i1..i6 i64, r1..r5 double, s1..s6 strings of 4 to 20 ASCII letters and digits,
// d1, d2 dates (1970 to 2037); the same rows for the same seed. A full select of it answers
// about 196 bytes a row (196 MB for 10^6 rows). False when the name is taken.
bool fill_wide(catalogue& db, std::string name, uint64_t rows, uint64_t seed = 1);

}  // namespace peer
