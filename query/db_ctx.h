#pragma once
// The execution context: the one road of every statement to the server. exec_logged runs a
// statement through the library, times it and writes one HTML entry for it at the top of
// the log pane (newest first); exec_query adds the conversion of the result into rows.
//
// GUI thread only: every statement goes through the wire (query/wire.h) and is waited for
// under the wait cursor, the window painting on.
#include <QDateTime>

#include "adt/string.h"
#include "adt/types.h"
#include "adt/vector.h"
#include "client/ruv_sql_lib_mem.h"
#include "query/variant_rows.h"

class QTextEdit;

class db_ctx {
 public:
  // Takes the name (the database tree's root label) and the log pane (not owned; may be
  // null, then nothing is logged to a pane).
  db_ctx(kk::adt::string::string name, QTextEdit* log);
  db_ctx(QTextEdit* log, kk::adt::string::string name);
  db_ctx(const db_ctx&) = delete;
  db_ctx& operator=(const db_ctx&) = delete;

  kk::adt::string::string name() const { return name_; }
  QTextEdit* log() const { return log_; }

 private:
  friend void db_ctx_close(db_ctx* ctx);
  kk::adt::string::string name_;
  QTextEdit* log_;
};

// Teardown: logs out of the server and frees the name; the object itself stays.
void db_ctx_close(db_ctx* ctx);

// The log pane's HTML is cut to its newest eighth when it grows past this many characters.
inline constexpr int log_limit = 262144;
// A statement longer than this is shown in its entry by its first bytes (cut at a UTF-8
// boundary) and its whole length ("... (48.0 MiB in all)"); the statement sent is whole.
inline constexpr kk::u64 log_statement_max = 4096;

// The HTML entry of one statement: start stamp, the statement (escaped), the outcome and
// the elapsed time in microseconds with six decimals. No locale takes part.
kk::adt::string::string log_entry(const QDateTime& start, kk::adt::text_view sql, bool ok, kk::i64 elapsed_ns);

// Runs sql (its bytes and size) through exec; entry_out always receives the entry, which
// also goes to the top of the log unless quiet. The caller owns and releases the result
// (del_datas); null when the statement failed.
datas* exec_logged(db_ctx* ctx, const kk::adt::string::string& sql, kk::adt::string::string& entry_out, bool quiet);

// Puts entries (one or many, back to back) on top of the log pane; the pane is first cut
// to its newest eighth when its HTML passed log_limit characters.
void log_prepend(db_ctx* ctx, const kk::adt::string::string& entry);

enum class query_outcome { failed, not_converted, ok };

// exec_logged, then the result converted into names, rows, types (and row ids when given).
// failed: exec failed, the containers are untouched; not_converted: a cell of the result
// has no column type (see result_to_variants); ok otherwise.
query_outcome exec_query_outcome(db_ctx* ctx, const kk::adt::string::string& sql, text_list& names,
                                 variant_rows& rows, text_list& types, kk::adt::string::string& entry_out,
                                 bool quiet, kk::adt::vector<kk::u64>* row_ids);
// True only for ok: a result that could not be converted is no success.
bool exec_query(db_ctx* ctx, const kk::adt::string::string& sql, text_list& names, variant_rows& rows,
                text_list& types, kk::adt::string::string& entry_out, bool quiet, kk::adt::vector<kk::u64>* row_ids);
// For a statement whose result is not kept: exec_logged, then every cell checked for a
// column type, as exec_query would convert it, without converting anything; the result is
// released at once. True only for ok.
bool exec_statement(db_ctx* ctx, const kk::adt::string::string& sql, kk::adt::string::string& entry_out, bool quiet);
