#include "dbops/transfers.h"

#include <QCoreApplication>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "ui_base/seams.h"
#include "dbops/file_names.h"
#include "transfer_dlg/import_csv_dlg.h"
#include "dbops/load_tab_dlg.h"
#include "dbops/save_tab_dlg.h"
#include "ui_base/utf8.h"
#include "dbops/window_texts.h"
#include "query/local_file.h"
#include "query/transfer_sql.h"

namespace {

QString side(bool client) { return client ? window_texts::tr("Client") : window_texts::tr("Server"); }

bool told(QWidget* parent, bool ok, const QString& title, const QString& text) {
  ruv::information(parent, title, text);
  return ok;
}

// Why this program would refuse to write the local file of a client-mode transfer (checked
// before anything is sent, so the box says why rather than only "failed"); "" when it may
// be written.
QString local_refusal(const kk::adt::string::string& path, bool replace) {
  const QString shown = utf8_text(path);
  struct stat st {};
  if (::stat(path.data, &st) == 0 && S_ISDIR(st.st_mode)) return window_texts::tr("'%1' is a folder").arg(shown);
  if (!replace && local_file_exists(path.data))
    return window_texts::tr("the file '%1' already exists and the replace mode is off").arg(shown);
  // A file is made beside the target and removed again: the folder takes new files.
  errno = 0;
  replacing_writer probe(path.data);
  if (!probe.ok())
    return window_texts::tr("no file can be written at '%1': %2").arg(shown, QString::fromLocal8Bit(std::strerror(errno)));
  return {};
}

// The outcome box of a transfer: the outcome, then why it failed when that is known.
bool outcome(QWidget* parent, bool ok, const QString& title, const QString& text, const kk::adt::string::string& path) {
  return told(parent, ok, title, with_transfer_failure(text, ok, path));
}

// The outcome box of a client-mode transfer refused before it was sent.
bool refused(QWidget* parent, const QString& title, const QString& failed_text, const QString& why) {
  return told(parent, false, title, failed_text + QLatin1Char('\n') + why);
}

}  // namespace

void prepare_export(import_csv_dlg& dlg, const QString& table) {
  dlg.setWindowTitle(window_texts::tr("export table: %1 to csv/csvs file").arg(table));
  dlg.set_export_mode();
  dlg.set_path(preset_table_file(table, QStringLiteral(".csv")));
}

void prepare_import(import_csv_dlg& dlg, const QString& table) {
  dlg.setWindowTitle(window_texts::tr("import data from csv/csvs file to table: %1").arg(table));
  dlg.set_path(preset_table_file(table, QStringLiteral(".csv")));
}

void prepare_save(save_tab_dlg& dlg, const QString& table) {
  dlg.setWindowTitle(window_texts::tr("save table '%1' to file").arg(table));
  dlg.set_path(preset_table_file(table, QStringLiteral(".bin")));
}

void prepare_load(load_tab_dlg& dlg) { dlg.setWindowTitle(window_texts::tr("load table from file")); }

void prepare_backup(save_tab_dlg& dlg) {
  dlg.set_db_mode();
  dlg.setWindowTitle(window_texts::tr("backup database to file"));
  dlg.set_path(preset_db_file());
}

void prepare_restore(load_tab_dlg& dlg) {
  dlg.set_db_mode();
  dlg.hide_table_name();
  dlg.setWindowTitle(window_texts::tr("restore database from file"));
  dlg.set_path(preset_db_file());
}

bool run_export(db_ctx* ctx, QWidget* parent, const QString& table, const import_csv_dlg& dlg) {
  const auto path = dlg.path();
  if (dlg.is_client()) {
    const QString why = local_refusal(path, dlg.is_replace());
    if (!why.isEmpty())
      return refused(parent, window_texts::tr("export table result"),
                     window_texts::tr("export table '%1' to file '%2' is %3!").arg(table, utf8_text(path), outcome_word(false)),
                     why);
  }
  const bool ok = sql_export_table(ctx, utf8_bytes(table), path, dlg.is_csv(), dlg.separator(), dlg.is_replace(),
                                   dlg.is_client());
  return outcome(parent, ok, window_texts::tr("export table result"),
                 window_texts::tr("export table '%1' to file '%2' is %3!").arg(table, utf8_text(path), outcome_word(ok)), path);
}

bool run_import(db_ctx* ctx, QWidget* parent, const QString& table, const import_csv_dlg& dlg) {
  const auto path = dlg.path();
  const bool ok = sql_import(ctx, utf8_bytes(table), path, dlg.is_csv(), dlg.separator(), dlg.is_client());
  return outcome(parent, ok, window_texts::tr("import table result"),
                 window_texts::tr("import file '%1' to table '%2' is %3!").arg(utf8_text(path), table, outcome_word(ok)), path);
}

bool run_save(db_ctx* ctx, QWidget* parent, const QString& table, const save_tab_dlg& dlg) {
  const auto path = dlg.path();
  if (dlg.is_client()) {
    const QString why = local_refusal(path, dlg.is_replace());
    if (!why.isEmpty())
      return refused(parent, window_texts::tr("save table result"),
                     window_texts::tr("save table '%1' to file '%2' is %3!").arg(table, utf8_text(path), outcome_word(false)),
                     why);
  }
  const bool ok = sql_save_table(ctx, utf8_bytes(table), path, dlg.is_bin_mode(), dlg.is_replace(), dlg.is_client());
  return outcome(parent, ok, window_texts::tr("save table result"),
                 window_texts::tr("save table '%1' to file '%2' is %3!").arg(table, utf8_text(path), outcome_word(ok)), path);
}

bool run_load(db_ctx* ctx, QWidget* parent, const load_tab_dlg& dlg) {
  const auto path = dlg.path();
  QString table = utf8_text(dlg.table_name());
  const bool bin = dlg.is_bin_mode();
  if (!bin && table.isEmpty()) table = QStringLiteral("ignored_table_name");
  if (path.size == 0) return false;
  const bool ok = sql_load_table(ctx, utf8_bytes(table), path, bin, dlg.is_client());
  const QString text = bin ? window_texts::tr("load file '%1' to as table '%2' is %3!").arg(utf8_text(path), table, outcome_word(ok))
                           : window_texts::tr("load file '%1' as table is %2!").arg(utf8_text(path), outcome_word(ok));
  return outcome(parent, ok, window_texts::tr("load table result"), text, path);
}

bool run_backup(db_ctx* ctx, QWidget* parent, const save_tab_dlg& dlg) {
  const auto path = dlg.path();
  const bool client = dlg.is_client();
  if (client) {
    const QString why = local_refusal(path, dlg.is_replace());
    if (!why.isEmpty())
      return refused(parent, window_texts::tr("backup result(%1)").arg(side(client)),
                     window_texts::tr("backup database to file '%1' is %2!").arg(utf8_text(path), outcome_word(false)), why);
  }
  const bool ok = sql_backup(ctx, path, dlg.is_bin_mode(), dlg.is_replace(), client);
  return outcome(parent, ok, window_texts::tr("backup result(%1)").arg(side(client)),
                 window_texts::tr("backup database to file '%1' is %2!").arg(utf8_text(path), outcome_word(ok)), path);
}

bool run_restore(db_ctx* ctx, QWidget* parent, const load_tab_dlg& dlg) {
  const auto path = dlg.path();
  if (path.size == 0) return false;
  const bool client = dlg.is_client();
  const bool ok = sql_restore(ctx, path, dlg.is_bin_mode(), client);
  return outcome(parent, ok, window_texts::tr("restore result(%1)").arg(side(client)),
                 window_texts::tr("restore database frome file '%1' is %2!").arg(utf8_text(path), outcome_word(ok)), path);
}
