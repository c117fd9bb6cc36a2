#pragma once
// Builders of the transfer statements: export, import, save, load, backup and restore of
// tables and the database, in server mode (the server reads or writes the file at the path)
// or in client mode (this program reads the local file and sends it inside the statement
// as \xNN escapes, or writes the rows of the reply to the local file). Paths and
// separators go into statements as quoted texts (quote_text). Each reports by its result
// only; callers word the messages.
#include <QString>

#include "adt/string.h"
#include "adt/types.h"

class db_ctx;

// Why the last transfer builder returned false (GUI thread).
enum class transfer_fault {
  none,          // it succeeded
  refused,       // the server answered with a failure
  lost,          // the connection failed or the wait was ended: the outcome is unknown
  read_failed,   // the local file could not be read (error)
  empty_file,    // the local file holds no byte: nothing was sent
  too_big,       // the local file (size) is larger than one statement can carry (limit)
  exists,        // the local file exists and replacing was not asked for
  write_failed,  // the local file could not be written (error); an existing one is as it was
  bad_reply,     // the reply's rows are no file content
};
struct transfer_failure {
  transfer_fault fault = transfer_fault::none;
  int error = 0;         // errno of read_failed and write_failed
  kk::u64 size = 0;      // too_big: the file's size in bytes
  kk::u64 limit = 0;     // too_big: the largest file the statement can carry
  QString reason;        // lost: the system's or the protocol's words, may be empty
};
const transfer_failure& last_transfer_failure();
// The words for why the last transfer builder failed, path its local file: "" when the
// server refused it (its failed entry is in the log) or it succeeded.
QString last_transfer_failure_text(const kk::adt::string::string& path);
// A transfer's outcome text, and when it failed, a line of why (last_transfer_failure_text)
// if that is known.
QString with_transfer_failure(const QString& text, bool ok, const kk::adt::string::string& path);

// The largest local file whose escapes fit in one statement after a head of that many bytes
// (a statement's length is a 32-bit count: four escape bytes per file byte).
kk::u64 upload_limit(kk::u64 head_size);

// The n bytes at p as \xNN text (lowercase digits) into out, which has room for 4 * n bytes.
void hex_escape(char* out, const char* p, kk::u64 n) noexcept;

// query " export as csv|csvs split by " SEP, then " as raw;" or " path[+]=" PATH ";"; a query
// that ends inside a line comment gets a line break first.
// Client mode writes the reply rows' bytes back to back to the local file.
kk::adt::string::string export_statement(const kk::adt::string::string& query, const kk::adt::string::string& path,
                                         bool csv, const kk::adt::string::string& separator, bool replace, bool client);
// Runs export_statement.
bool sql_export(db_ctx* ctx, const kk::adt::string::string& query, const kk::adt::string::string& path, bool csv,
                const kk::adt::string::string& separator, bool replace, bool client);
// sql_export of "select * from " T.
bool sql_export_table(db_ctx* ctx, const kk::adt::string::string& table, const kk::adt::string::string& path,
                      bool csv, const kk::adt::string::string& separator, bool replace, bool client);
// "save " T " as bin|sql", then " as raw" or " path[+]=" PATH, then ";". Client mode
// decodes the reply rows' hexadecimal texts into the local file.
bool sql_save_table(db_ctx* ctx, const kk::adt::string::string& table, const kk::adt::string::string& path,
                    bool bin, bool replace, bool client);
// "backup as bin|sql", then as sql_save_table.
bool sql_backup(db_ctx* ctx, const kk::adt::string::string& path, bool bin, bool replace, bool client);
// "import " T " from csv|csvs split by " SEP, then " from raw " HEX ";" or " path=" PATH ";".
bool sql_import(db_ctx* ctx, const kk::adt::string::string& table, const kk::adt::string::string& path, bool csv,
                const kk::adt::string::string& separator, bool client);
// "load " T " from bin|sql", then as sql_import.
bool sql_load_table(db_ctx* ctx, const kk::adt::string::string& table, const kk::adt::string::string& path,
                    bool bin, bool client);
// "restore from bin|sql", then as sql_import.
bool sql_restore(db_ctx* ctx, const kk::adt::string::string& path, bool bin, bool client);
