#include "query/transfer_sql.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstring>
#include <cstdint>
#include <cstdlib>

#include "adt/text.h"
#include "query/db_ctx.h"
#include "query/local_file.h"
#include "query/sql_build.h"
#include "query/sql_parse.h"
#include "query/wire.h"

using kk::u64;
using kk::adt::string::string;
using query_detail::append;

void hex_escape(char* out, const char* p, u64 n) noexcept {
  for (u64 i = 0; i < n; ++i) {
    const auto& hex = kk::adt::hex_byte_text[static_cast<unsigned char>(p[i])];
    out[0] = '\\';
    out[1] = 'x';
    out[2] = hex[0];
    out[3] = hex[1];
    out += 4;
  }
}

namespace {

transfer_failure last_failure;

// The wrapping of a client-mode upload's escapes: head " from raw \"" hex "\";".
constexpr std::string_view raw_open = " from raw \"", raw_close = "\";";

bool failed(transfer_fault fault, int error = 0) {
  last_failure = transfer_failure{};
  last_failure.fault = fault;
  last_failure.error = error;
  return false;
}

bool too_big(u64 size, u64 limit) {
  failed(transfer_fault::too_big);
  last_failure.size = size;
  last_failure.limit = limit;
  return false;
}

// The server gave no result: refused, unless the connection failed after the statement went
// out (then nobody here knows what the server did).
bool exchange_failed() {
  const ruv::wire_status& w = ruv::wire_last();
  const bool lost = w.outcome_unknown();
  failed(lost ? transfer_fault::lost : transfer_fault::refused);
  if (lost) last_failure.reason = w.reason;
  return false;
}

string head_text(std::initializer_list<std::string_view> pieces) {
  string s;
  for (auto p : pieces) append(s, p);
  return s;
}

// " path" ["+"] "=" PATH
void append_path(string& s, const string& path, bool replace) {
  append(s, replace ? " path+=" : " path=");
  append(s, quote_text(path.view()));
}

bool run(db_ctx* ctx, const string& sql) {
  string entry;
  datas* reply = exec_logged(ctx, sql, entry, false);
  if (!reply) return exchange_failed();
  del_datas(reply);
  last_failure = transfer_failure{};
  return true;
}

// Client-mode upload: head " from raw \"" hex "\";" with the local file's bytes, built in
// one buffer of its final size. Refused before the file is read whole when the statement
// could not be sent (exec takes a 32-bit length), and for an empty or unreadable file.
bool upload(db_ctx* ctx, string head, const string& path) {
  const u64 limit = upload_limit(head.size);
  errno = 0;
  const kk::i64 size = regular_file_size(path.data);
  if (size < 0) return failed(transfer_fault::read_failed, errno);
  if (size == 0) return failed(transfer_fault::empty_file);
  if (u64(size) > limit) return too_big(u64(size), limit);
  errno = 0;
  const string bytes = read_file(path.data);
  if (bytes.size == 0) return failed(errno ? transfer_fault::read_failed : transfer_fault::empty_file, errno);
  if (bytes.size > limit) return too_big(bytes.size, limit);  // it grew while it was read
  string sql = std::move(head);
  const u64 at = sql.size;
  sql.resize(at + raw_open.size() + 4 * bytes.size + raw_close.size());
  char* w = sql.data + at;
  std::memcpy(w, raw_open.data(), raw_open.size());
  w += raw_open.size();
  hex_escape(w, bytes.data, bytes.size);
  std::memcpy(w + 4 * bytes.size, raw_close.data(), raw_close.size());
  return run(ctx, sql);
}

// Client-mode download: the reply's first column, row by row, into the local file: the
// bytes as they came (export) or decoded from hexadecimal (save, backup). Failure leaves
// an existing file as it was.
bool download(db_ctx* ctx, const string& sql, const string& path, bool replace, bool hex) {
  string entry;
  datas* reply = exec_logged(ctx, sql, entry, false);
  if (!reply) return exchange_failed();
  last_failure = transfer_failure{};
  bool ok = true;
  if (!replace && local_file_exists(path.data)) {
    ok = failed(transfer_fault::exists);
  } else if (rows_of(reply) != 0 && cols_of(reply) < 1) {
    ok = failed(transfer_fault::bad_reply);
  } else {
    replacing_writer out(path.data);
    if (!out.ok()) ok = failed(transfer_fault::write_failed, out.error());
    string decoded;
    for (u64 j = 0; ok && j < rows_of(reply); ++j) {
      const val* cell = at(j, 0, reply);
      if (val_type(cell) != 2) {
        ok = failed(transfer_fault::bad_reply);
        break;
      }
      char* bytes = nullptr;
      uint64_t n = 0;
      as_str(&bytes, &n, cell);
      if (!hex) {
        ok = out.write(bytes, n);
      } else {
        decoded.resize(n / 2);
        if (!kk::adt::hex_text_to_raw(decoded.data, {bytes, n}))
          ok = failed(transfer_fault::bad_reply);
        else
          ok = out.write(decoded.data, decoded.size);
      }
      std::free(bytes);
      if (!ok && last_failure.fault == transfer_fault::none) failed(transfer_fault::write_failed, out.error());
    }
    if (ok && !out.commit()) ok = failed(transfer_fault::write_failed, out.error());
  }
  del_datas(reply);
  return ok;
}

}  // namespace

const transfer_failure& last_transfer_failure() { return last_failure; }

namespace {
struct transfer_texts {
  Q_DECLARE_TR_FUNCTIONS(transfer_texts)
};
}  // namespace

QString last_transfer_failure_text(const string& path) {
  const transfer_failure& f = last_transfer_failure();
  const QString shown = QString::fromUtf8(path.data ? path.data : "", int(path.size));
  const auto system = [&] { return QString::fromLocal8Bit(std::strerror(f.error ? f.error : EIO)); };
  switch (f.fault) {
    case transfer_fault::none:
    case transfer_fault::refused:
      return {};
    case transfer_fault::lost:
      return f.reason.isEmpty()
                 ? transfer_texts::tr("the connection to the server was lost; the server may have carried the transfer out")
                 : transfer_texts::tr("the connection to the server was lost (%1); the server may have carried the transfer out")
                       .arg(f.reason);
    case transfer_fault::read_failed:
      return transfer_texts::tr("the file '%1' could not be read: %2").arg(shown, system());
    case transfer_fault::empty_file:
      return transfer_texts::tr("the file '%1' is empty, nothing was sent").arg(shown);
    case transfer_fault::too_big:
      return transfer_texts::tr("the file '%1' has %2 bytes, more than the %3 bytes one statement can carry")
          .arg(shown, QString::number(f.size), QString::number(f.limit));
    case transfer_fault::exists:
      return transfer_texts::tr("the file '%1' already exists and the replace mode is off").arg(shown);
    case transfer_fault::write_failed:
      return transfer_texts::tr("the file '%1' could not be written: %2").arg(shown, system());
    case transfer_fault::bad_reply:
      return transfer_texts::tr("the server's reply holds no file content");
  }
  return {};
}

QString with_transfer_failure(const QString& text, bool ok, const string& path) {
  const QString why = ok ? QString() : last_transfer_failure_text(path);
  return why.isEmpty() ? text : text + QLatin1Char('\n') + why;
}

u64 upload_limit(u64 head_size) {
  const u64 fixed = head_size + raw_open.size() + raw_close.size();
  return fixed >= u64(INT32_MAX) ? 0 : (u64(INT32_MAX) - fixed) / 4;
}

string export_statement(const string& query, const string& path, bool csv, const string& separator, bool replace,
                        bool client) {
  string sql = query;
  // A query that ends in a line comment would take the export clause into the comment.
  sql_close_line_comment(sql);
  append(sql, csv ? " export as csv split by " : " export as csvs split by ");
  append(sql, quote_text(separator.view()));
  if (client) {
    append(sql, " as raw;");
  } else {
    append_path(sql, path, replace);
    append(sql, ";");
  }
  return sql;
}

bool sql_export(db_ctx* ctx, const string& query, const string& path, bool csv, const string& separator,
                bool replace, bool client) {
  const string sql = export_statement(query, path, csv, separator, replace, client);
  return client ? download(ctx, sql, path, replace, false) : run(ctx, sql);
}

bool sql_export_table(db_ctx* ctx, const string& table, const string& path, bool csv, const string& separator,
                      bool replace, bool client) {
  if (table.size == 0) return failed(transfer_fault::none);
  string query;
  append(query, "select * from ");
  append(query, quote_name(table.view()));
  return sql_export(ctx, query, path, csv, separator, replace, client);
}

namespace {
// head " as raw;" or head " path[+]=" PATH ";"
bool save_like(db_ctx* ctx, string sql, const string& path, bool replace, bool client) {
  if (client) {
    append(sql, " as raw;");
    return download(ctx, sql, path, replace, true);
  }
  append_path(sql, path, replace);
  append(sql, ";");
  return run(ctx, sql);
}

// head " from raw " HEX ";" or head " path=" PATH ";"
bool load_like(db_ctx* ctx, string sql, const string& path, bool client) {
  if (client) return upload(ctx, std::move(sql), path);
  append_path(sql, path, false);
  append(sql, ";");
  return run(ctx, sql);
}
}  // namespace

bool sql_save_table(db_ctx* ctx, const string& table, const string& path, bool bin, bool replace, bool client) {
  if (table.size == 0) return failed(transfer_fault::none);
  string sql = head_text({"save "});
  append(sql, quote_name(table.view()));
  append(sql, bin ? " as bin" : " as sql");
  return save_like(ctx, std::move(sql), path, replace, client);
}

bool sql_backup(db_ctx* ctx, const string& path, bool bin, bool replace, bool client) {
  return save_like(ctx, head_text({bin ? "backup as bin" : "backup as sql"}), path, replace, client);
}

bool sql_import(db_ctx* ctx, const string& table, const string& path, bool csv, const string& separator,
                bool client) {
  if (table.size == 0) return failed(transfer_fault::none);
  string sql = head_text({"import "});
  append(sql, quote_name(table.view()));
  append(sql, csv ? " from csv split by " : " from csvs split by ");
  append(sql, quote_text(separator.view()));
  return load_like(ctx, std::move(sql), path, client);
}

bool sql_load_table(db_ctx* ctx, const string& table, const string& path, bool bin, bool client) {
  if (table.size == 0) return failed(transfer_fault::none);
  string sql = head_text({"load "});
  append(sql, quote_name(table.view()));
  append(sql, bin ? " from bin" : " from sql");
  return load_like(ctx, std::move(sql), path, client);
}

bool sql_restore(db_ctx* ctx, const string& path, bool bin, bool client) {
  return load_like(ctx, head_text({bin ? "restore from bin" : "restore from sql"}), path, client);
}
