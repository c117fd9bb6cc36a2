// help -> local(&l) as scripts/run.sh has it: the window works in the run folder, where the
// build put the manuals, and the opener is given the manual of the configured language: the
// file the build rendered for that language, a PDF whose first page holds its title and
// contents.
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <memory>
#include <string>

#include "docs/manual/manual_gen.h"
#include "tests/app/main_window_fixture.h"
#include "tests/support/scripted_prompt.h"

using namespace mw_test;

namespace {

QByteArray bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString source_title(const char* lang) {
  const QByteArray text = bytes(QStringLiteral(RUV_MANUAL_SOURCE_DIR "/%1.md").arg(QLatin1String(lang)));
  static const ruv::manual::dialect d;
  const ruv::manual::reference ref;
  const ruv::manual::document doc = ruv::manual::render(std::string(text.constData(), size_t(text.size())), ref, d);
  return QString::fromStdString(doc.title);
}

// What a PDF reader finds in the file: its page count and the text of its first page.
struct pdf_facts {
  int pages = 0;
  QString first_page;
};

pdf_facts read_pdf(const QString& path) {
  pdf_facts f;
  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {path});
  info.waitForFinished(30000);
  for (const QString& line : QString::fromUtf8(info.readAllStandardOutput()).split(QLatin1Char('\n')))
    if (line.startsWith(QLatin1String("Pages:"))) f.pages = line.mid(6).trimmed().toInt();
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                           QStringLiteral("1"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path,
                                           QStringLiteral("-")});
  text.waitForFinished(30000);
  f.first_page = QString::fromUtf8(text.readAllStandardOutput());
  return f;
}

}  // namespace

class manual_help_test : public QObject {
  Q_OBJECT

 private slots:
  void local_opens_the_built_manual_of_the_language() {
    struct row {
      kk::u32 language;
      const char* folder;
      const char* source;
    };
    const row rows[] = {{1, "en", "en"}, {0, "zh", "zh"}, {2, "fr", "fr"}, {3, "jp", "ja"}};
    const QString run = QStringLiteral(RUV_RUN_DIR);
    const QString old = QDir::currentPath();
    for (const row& r : rows) {
      reset_config();
      sys_config.language = r.language;
      QVERIFY(QDir::setCurrent(run));
      ruv::test::scripted_prompt p;
      ruv::test::recording_opener opener;
      auto w = window();
      w->form()->local_act->trigger();
      QDir::setCurrent(old);

      const QString wanted = QDir(run).absoluteFilePath(QStringLiteral("doc/%1/ruv_cli.pdf").arg(r.folder));
      QCOMPARE(opener.opened, QStringList{wanted});
      QVERIFY2(p.boxes.empty(), qPrintable(p.boxes.empty() ? QString() : p.boxes.back().text));
      // The build's own rendering of that language, not a stale copy.
      const QByteArray opened = bytes(wanted);
      QVERIFY(opened.startsWith("%PDF-"));
      QCOMPARE(opened, bytes(QStringLiteral(RUV_MANUAL_BUILD_DIR "/%1/ruv_cli.pdf").arg(r.folder)));
      const pdf_facts facts = read_pdf(wanted);
      QVERIFY2(facts.pages >= 20, qPrintable(QString::number(facts.pages)));  // the tour, the dialect, the functions
      const QString title = source_title(r.source);
      QVERIFY(!title.isEmpty());
      QVERIFY2(facts.first_page.contains(title), qPrintable(facts.first_page.left(400)));
    }
  }

  // Installed, the manuals stand in the documentation folder that RUV_DOC_DIR names from the
  // program's folder (the install test checks that cmake --install puts them there): a
  // program started from any other folder finds them there.
  void local_opens_the_manual_beside_the_program() {
    const QString docs = QStringLiteral(RUV_DOC_DIR);
    if (QDir::isAbsolutePath(docs)) QSKIP("RUV_DOC_DIR is an absolute folder of this build, not one beside the program");
    const QString folder = QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') + docs);
    // The outermost folder this test makes, to take away again.
    QString made;
    for (QString f = folder; !QDir(f).exists(); f = QFileInfo(f).path()) made = f;
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/fr")));
    const QString pdf = folder + QStringLiteral("/fr/ruv_cli.pdf");
    QFile::remove(pdf);
    QVERIFY(QFile::copy(QStringLiteral(RUV_MANUAL_BUILD_DIR "/fr/ruv_cli.pdf"), pdf));

    reset_config();
    sys_config.language = 2;
    {
      work_dir d;  // no doc/ here
      ruv::test::scripted_prompt p;
      ruv::test::recording_opener opener;
      auto w = window();
      w->form()->local_act->trigger();
      QCOMPARE(opener.opened, QStringList{pdf});
      QVERIFY(p.boxes.empty());
    }
    QFile::remove(pdf);
    if (!made.isEmpty()) QDir(made).removeRecursively();
  }
};

QTEST_MAIN(manual_help_test)
#include "manual_help_test.moc"
