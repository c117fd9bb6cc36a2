#include "query/db_ctx.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>
#include <QTextEdit>

#include <chrono>
#include <cstring>
#include <utility>

#include "query/wire.h"
#include "ui_base/seams.h"
#include "value/number_text.h"

using kk::adt::string::string;

db_ctx::db_ctx(string name, QTextEdit* log) : name_(std::move(name)), log_(log) {}
db_ctx::db_ctx(QTextEdit* log, string name) : name_(std::move(name)), log_(log) {}

void db_ctx_close(db_ctx* ctx) {
  ruv::wire_exit();
  if (ctx) ctx->name_.free();
}

namespace {

void append(string& s, const char* p, kk::u64 n) {
  if (n == 0) return;
  const kk::u64 at = s.size;
  s.resize(at + n);
  std::memcpy(s.data + at, p, n);
}
void append(string& s, const QByteArray& b) { append(s, b.constData(), kk::u64(b.size())); }

// Microseconds of a nanosecond count as C's "%f" prints ns / 1000.0: the division is exact
// to three decimals, so the text is built from integers and never sees a locale.
void append_micros(string& s, kk::i64 ns) {
  kk::u64 mag = ns < 0 ? kk::u64(0) - kk::u64(ns) : kk::u64(ns);
  if (ns < 0) s.push_back('-');
  char digits[kk::int_text_max];
  append(s, digits, kk::int_to_chars(digits, mag / 1000));
  const unsigned frac = unsigned(mag % 1000);
  const char tail[] = {'.', char('0' + frac / 100), char('0' + frac / 10 % 10), char('0' + frac % 10), '0', '0', '0'};
  append(s, tail, sizeof tail);
}

// The statement's bytes as the entry shows them: whole up to log_statement_max bytes, else
// the bytes before the last character that starts within the limit.
QString shown_statement(kk::adt::text_view sql) {
  if (sql.size <= log_statement_max) return QString::fromUtf8(sql.data, int(sql.size));
  kk::u64 cut = log_statement_max;
  while (cut > 0 && (static_cast<unsigned char>(sql.data[cut]) & 0xC0) == 0x80) --cut;
  return QString::fromUtf8(sql.data, int(cut));
}

}  // namespace

namespace {

// A length as the log shows it: bytes up to 10 KiB, then KiB, MiB or GiB with one decimal
// (rounded down, so a length never shows larger than it is). No locale takes part.
QString length_text(kk::u64 n) {
  static const char* const units[] = {QT_TRANSLATE_NOOP("db_ctx", "%1 KiB"), QT_TRANSLATE_NOOP("db_ctx", "%1 MiB"),
                                      QT_TRANSLATE_NOOP("db_ctx", "%1 GiB")};
  char digits[kk::int_text_max];
  if (n < (kk::u64(10) << 10)) {
    return QCoreApplication::translate("db_ctx", "%1 bytes")
        .arg(QString::fromLatin1(digits, int(kk::int_to_chars(digits, n))));
  }
  int unit = 0;
  kk::u64 scale = kk::u64(1) << 10;
  while (unit < 2 && n >= (scale << 10)) {
    scale <<= 10;
    ++unit;
  }
  const kk::u64 whole = n / scale, tenth = (n % scale) * 10 / scale;
  QString figure = QString::fromLatin1(digits, int(kk::int_to_chars(digits, whole)));
  figure += QLatin1Char('.');
  figure += QLatin1Char(char('0' + tenth));
  return QCoreApplication::translate("db_ctx", units[unit]).arg(figure);
}

// The statement as the entry shows it, escaped, with its whole length when it was cut.
QByteArray statement_html(kk::adt::text_view sql) {
  QByteArray html = shown_statement(sql).toHtmlEscaped().toUtf8();
  if (sql.size > log_statement_max)
    html += QCoreApplication::translate("db_ctx", "... (%1 in all)").arg(length_text(sql.size)).toHtmlEscaped().toUtf8();
  return html;
}

// The entry's words come from the catalogue; the markup around them stays as it is.
QByteArray word(const char* text) { return QCoreApplication::translate("db_ctx", text).toUtf8(); }

string assemble_entry(const QDateTime& start, const QByteArray& statement, bool ok, kk::i64 elapsed_ns) {
  string e;
  append(e, QLocale::c().toString(start, QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")).toUtf8());
  append(e, " " + word(QT_TRANSLATE_NOOP("db_ctx", "execute sql:")) + "<div style='color:#52a6c4'>    ");
  append(e, statement);
  append(e, "</div><br>    " + word(QT_TRANSLATE_NOOP("db_ctx", "result:")) + " ");
  append(e, ok ? "<span style='color:green'>" + word(QT_TRANSLATE_NOOP("db_ctx", "successful")) + "</span>"
               : "<span style='color:red'>" + word(QT_TRANSLATE_NOOP("db_ctx", "failed")) + "    </span>");
  append(e, " , " + word(QT_TRANSLATE_NOOP("db_ctx", "use time:")) + " <b>");
  append_micros(e, elapsed_ns);
  append(e, "</b> " + word(QT_TRANSLATE_NOOP("db_ctx", "us.")) + "<br>");
  return e;
}

}  // namespace

string log_entry(const QDateTime& start, kk::adt::text_view sql, bool ok, kk::i64 elapsed_ns) {
  return assemble_entry(start, statement_html(sql), ok, elapsed_ns);
}

datas* exec_logged(db_ctx* ctx, const string& sql, string& entry_out, bool quiet) {
  const QDateTime start = ruv::clocks().now();
  const auto t0 = std::chrono::steady_clock::now();
  datas* result = nullptr;
  const bool sent = sql.size <= kk::u64(INT32_MAX);
  {
    ruv::wait_cursor busy;
    // exec takes a 32-bit length: a longer text is refused here, not cut short.
    if (sent) result = ruv::wire_exec(sql.data ? sql.data : "", int32_t(sql.size));
  }
  // The span covers the escaping of the statement too.
  const QByteArray statement = statement_html(sql.view());
  const kk::i64 ns = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - t0).count();
  entry_out = assemble_entry(start, statement, result != nullptr, ns);
  // When the connection itself failed (lost, cancelled, none), the entry says so on a line of
  // its own after the outcome.
  if (!result && sent) {
    const QString why = ruv::wire_failure_text();
    if (!why.isEmpty()) append(entry_out, "<span style='color:red'>" + why.toHtmlEscaped().toUtf8() + "</span><br>");
  }
  if (!quiet) log_prepend(ctx, entry_out);
  return result;
}

void log_prepend(db_ctx* ctx, const string& entry) {
  if (!ctx || !ctx->log()) return;
  QTextEdit* pane = ctx->log();
  QString html = pane->toHtml();
  if (html.size() > log_limit) {
    html.truncate(html.size() / 8);
    pane->clear();
    pane->setHtml(html);
    html = pane->toHtml();
  }
  pane->setHtml(QString::fromUtf8(entry.data, int(entry.size)) + html);
}

query_outcome exec_query_outcome(db_ctx* ctx, const string& sql, text_list& names, variant_rows& rows,
                                 text_list& types, string& entry_out, bool quiet, kk::adt::vector<kk::u64>* row_ids) {
  datas* result = exec_logged(ctx, sql, entry_out, quiet);
  if (!result) return query_outcome::failed;
  const bool converted = result_to_variants(result, names, rows, types, row_ids);
  del_datas(result);
  return converted ? query_outcome::ok : query_outcome::not_converted;
}

bool exec_query(db_ctx* ctx, const string& sql, text_list& names, variant_rows& rows, text_list& types,
                string& entry_out, bool quiet, kk::adt::vector<kk::u64>* row_ids) {
  return exec_query_outcome(ctx, sql, names, rows, types, entry_out, quiet, row_ids) == query_outcome::ok;
}

bool exec_statement(db_ctx* ctx, const string& sql, string& entry_out, bool quiet) {
  datas* result = exec_logged(ctx, sql, entry_out, quiet);
  if (!result) return false;
  const bool typed = result_is_typed(result);
  del_datas(result);
  return typed;
}
