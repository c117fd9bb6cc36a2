#include "dbops/script_run.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstring>

#include "ui_base/seams.h"
#include "ui_base/utf8.h"
#include "dbops/window_texts.h"
#include "editor/sql_printer.h"
#include "grammar/parse_node.h"
#include "sqllib/sql_library.h"
#include "query/db_ctx.h"
#include "query/sql_parse.h"

namespace {

constexpr int flush_every = 8192;

void append(kk::adt::string::string& to, const kk::adt::string::string& what) {
  const kk::u64 at = to.size;
  kk::adt::string::resize(to, at + what.size);
  if (what.size) std::memcpy(to.data + at, what.data, what.size);
}

void flush(db_ctx* ctx, kk::adt::string::string& pending) {
  if (pending.size == 0) return;
  log_prepend(ctx, pending);
  pending.resize(0);
}

}  // namespace

bool split_script_statements(const kk::adt::string::string& text, QStringList& statements, kk::u64& consumed) {
  kk::adt::vector<kk::grammar::parse_node*> trees;
  const kk::u64 len = text.size;
  consumed = sql_split_script(kk::sql_library_instance(), text.data ? text.data : "", &len, &trees);
  const bool whole = consumed == len;
  for (kk::grammar::parse_node* t : trees) {
    if (whole) {
      // The printer leaves one separator (a blank or a line feed) at each end.
      statements << utf8_text(ruv::lang::sql_format_tree(t, true, false)).trimmed();
    }
    kk::grammar::grammar_free_tree(t);
  }
  return whole;
}

script_run_result run_statements(db_ctx* ctx, QWidget* parent, const QStringList& statements) {
  kk::adt::string::string pending;
  for (int i = 0; i < statements.size(); ++i) {
    kk::adt::string::string entry;
    const bool ok = exec_statement(ctx, utf8_bytes(statements[i]), entry, true);
    if (!ok) {
      // The failing statement's entry belongs to the user's record too.
      append(pending, entry);
      flush(ctx, pending);
      ruv::information(parent, window_texts::tr("execute infomation"), window_texts::tr("the sql \"%1\" execute failed!").arg(statements[i]));
      return script_run_result::failed;
    }
    if (i % flush_every == 0) flush(ctx, pending);
    append(pending, entry);
  }
  flush(ctx, pending);
  ruv::information(parent, window_texts::tr("execute infomation"), window_texts::tr("the sql execute sussesful total!"));
  return script_run_result::completed;
}

script_run_result run_script_file(db_ctx* ctx, QWidget* parent) {
  const QString file = ruv::prompts().open_file_name(parent, window_texts::tr("open sql file to execute"), QStringLiteral("."),
                                                     window_texts::tr("sql files (*.sql);;all files (*.*)"));
  if (file.isEmpty()) return script_run_result::not_run;
  const kk::adt::string::string text = read_script_file(file);
  if (text.size == 0) return script_run_result::not_run;
  QStringList statements;
  kk::u64 consumed = 0;
  if (!split_script_statements(text, statements, consumed)) {
    ruv::information(parent, window_texts::tr("sql parse failed"), window_texts::tr("the sql parsed failed at position: %1").arg(consumed));
    return script_run_result::not_run;
  }
  return run_statements(ctx, parent, statements);
}
