// The reading of a script file, apart from the run: the editor's header uses Qt's keywords,
// which the run's grammar headers keep off.
#include <QByteArray>
#include <QFile>
#include <limits>

#include "dbops/script_run.h"
#include "editor/editor.h"
#include "query/local_file.h"

kk::adt::string::string read_script_file(const QString& path) {
  kk::adt::string::string bytes = read_file(QFile::encodeName(path).constData());
  // A text beyond what a QByteArray holds is left as read (the editor cannot open it either).
  if (bytes.size == 0 || bytes.size > static_cast<kk::u64>(std::numeric_limits<int>::max())) return bytes;
  QByteArray text = QByteArray::fromRawData(bytes.data, static_cast<int>(bytes.size));
  // Only a file with CR LF is copied; the others are returned as read.
  if (!ruv::crlf_to_lf(text)) return bytes;
  return kk::adt::string_from_bytes(text.constData(), static_cast<kk::u64>(text.size()));
}
