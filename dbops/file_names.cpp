#include "dbops/file_names.h"

#include <QLocale>

#include "ui_base/seams.h"

QString transfer_stamp() { return QLocale::c().toString(ruv::clocks().now(), QStringLiteral("yy-MM-dd_HH_mm_ss")); }

QString file_name_safe(const QString& text) {
  static const QString refused = QStringLiteral("/\\:*?\"<>|");
  QString out = text;
  for (QChar& c : out) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7f || refused.contains(c)) c = QLatin1Char('_');
  }
  return out;
}

QString preset_table_file(const QString& table, const QString& ext) {
  return file_name_safe(table) + QLatin1Char('_') + transfer_stamp() + ext;
}

QString preset_db_file() { return QStringLiteral("ruv_mdb_") + transfer_stamp() + QStringLiteral(".rbk"); }
