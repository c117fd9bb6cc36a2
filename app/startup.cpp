#include "app/startup.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QTextCodec>
#include <QTranslator>
#include <clocale>
#include <malloc.h>

#include <csignal>
#include <cstring>
#include <cstdio>

#include "app/login_dlg.h"
#include "app/update_check.h"
#include "ui_base/seams.h"
#include "ui_base/slot_guard.h"
#include "ui_base/sys_config.h"

const char* program_path = nullptr;
std::function<void(login_dlg&)> before_login;

namespace {

// The texts about the configuration file.
struct config_texts {
  Q_DECLARE_TR_FUNCTIONS(sys_config)
};

constexpr language_files languages[] = {
    {"zh_CN.UTF-8", ":/lang/qt_zh_CN.qm", ":/lang/ruv_mdb_cli_zh.qm"},
    {"en_US.UTF-8", ":/lang/qt_en.qm", ":/lang/ruv_mdb_cli_en.qm"},
    {"fr_FR.UTF-8", ":/lang/qt_fr.qm", ":/lang/ruv_mdb_cli_fr.qm"},
    {"ja_JP.UTF-8", ":/lang/qt_ja.qm", ":/lang/ruv_mdb_cli_ja.qm"},
};

// The last net under the guarded slots: an exception that an event handler still lets
// through ends that one event (one line on standard error), not the program.
class guarded_application : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    return slot_guard<bool>("event handler", false, [&] { return QApplication::notify(receiver, event); });
  }
};

}  // namespace

QString program_file() {
  QString path = QCoreApplication::applicationFilePath();
  if (path.isEmpty() && program_path) path = QString::fromLocal8Bit(program_path);
  return path;
}

kk::u32 program_file_crc() {
  static const kk::u32 crc = file_crc32(QFile::encodeName(program_file()).constData());
  return crc;
}

const language_files* language_row(kk::u32 language) {
  return language < std::size(languages) ? &languages[language] : nullptr;
}

QString config_save_reason(const config_save_failure& why) {
  const QString file = QString::fromLocal8Bit(why.file.c_str());
  if (why.kind == config_save_failure::not_regular) return config_texts::tr("\"%1\" is not a regular file").arg(file);
  return config_texts::tr("\"%1\" cannot be written: %2").arg(file, QString::fromLocal8Bit(std::strerror(why.error)));
}

void keep_c_numeric() { std::setlocale(LC_NUMERIC, "C"); }

QString read_style_sheet(const QString& resource) {
  QFile f(resource);
  if (!f.open(QIODevice::ReadOnly)) {
    std::printf("open qss failed.");
    std::fflush(stdout);
    return {};
  }
  return QString::fromUtf8(f.readAll());
}

void install_translations(QApplication& app, QTranslator& qt, QTranslator& program, kk::u32 language) {
  if (const language_files* row = language_row(language)) {
    std::setlocale(LC_ALL, row->locale);
    keep_c_numeric();
    (void)qt.load(QString::fromLatin1(row->qt_catalogue));
    (void)program.load(QString::fromLatin1(row->program_catalogue));
  }
  app.installTranslator(&qt);
  app.installTranslator(&program);
}

int run_program(int argc, char** argv) {
  // A server that closes the connection must not end the program on the next send.
  std::signal(SIGPIPE, SIG_IGN);
  // Parse trees of a large script and result sets run to many megabytes that are freed and
  // made again on every background parse and query: keep that memory in the process instead
  // of returning it to the system and faulting it in afresh each time.
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  program_path = argc > 0 ? argv[0] : nullptr;
  load_sys_config(&sys_config, "config");
  // Both translators outlive the application, which may still translate while it ends.
  QTranslator qt;
  QTranslator program;
  {
    guarded_application app(argc, argv);
    keep_c_numeric();  // QApplication takes the environment's locale for every category
    app.setWindowIcon(QIcon(QStringLiteral(":/img/logo.png")));
    app.setStyleSheet(read_style_sheet(QString::fromLatin1(style_sheet_resource)));
    install_translations(app, qt, program, sys_config.language);
    QTextCodec::setCodecForLocale(QTextCodec::codecForLocale());
    {
      login_dlg dlg(nullptr);
      if (before_login) before_login(dlg);
      if (dlg.exec() == QDialog::Accepted) app.exec();
      // Every setting of this run is lost unless it is saved now: say so when it cannot be.
      config_save_failure why;
      if (!save_sys_config(&sys_config, "config", &why))
        ruv::warning(nullptr, config_texts::tr("settings not saved"),
                     config_texts::tr("the settings of this session could not be saved:\n%1")
                         .arg(config_save_reason(why)));
    }
  }
  return 0;
}
