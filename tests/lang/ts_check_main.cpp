// ruv_ts_check <scan.ts> <root> <catalogue.ts>...
// Checks each catalogue against a fresh lupdate scan of the sources (locations in the scan
// are shown relative to <root>, the tree that was scanned). A catalogue whose language is
// English is the source language's: it may leave texts out. Prints one line per fault and
// exits 1 when there is any.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "tests/lang/ts_check.h"

namespace {

void say(std::FILE* to, const QString& text) { std::fprintf(to, "%s\n", text.toUtf8().constData()); }

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 4) {
    std::fprintf(stderr, "usage: ruv_ts_check <scan.ts> <root> <catalogue.ts>...\n");
    return 2;
  }
  QString error;
  ts_file scan;
  if (!read_ts(args[1], &scan, &error)) {
    say(stderr, error);
    return 2;
  }
  // lupdate writes locations relative to the .ts file.
  const QDir scan_dir = QFileInfo(args[1]).absoluteDir();
  const QDir root(args[2]);
  for (ts_message& m : scan.messages)
    if (!m.location.isEmpty())
      m.location = root.relativeFilePath(QDir::cleanPath(scan_dir.absoluteFilePath(m.location)));
  if (scan.messages.empty()) {
    say(stderr, args[1] + QLatin1String(": the scan found no source text"));
    return 2;
  }

  int faults = 0;
  for (int i = 3; i < args.size(); ++i) {
    ts_file catalogue;
    if (!read_ts(args[i], &catalogue, &error)) {
      say(stderr, error);
      return 2;
    }
    const bool source_language = catalogue.language.startsWith(QLatin1String("en"));
    const QString name = QFileInfo(args[i]).fileName();
    for (const QString& f : catalogue_faults(scan, catalogue, source_language)) {
      say(stdout, name + QLatin1String(": ") + f);
      ++faults;
    }
  }
  if (faults) {
    std::printf("%d fault(s); refresh the catalogues with scripts/update_translations.sh, then translate\n", faults);
    return 1;
  }
  std::printf("%zu source texts, every catalogue complete\n", scan.messages.size());
  return 0;
}
