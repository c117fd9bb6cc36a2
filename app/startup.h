#pragma once
// The program's life from start to exit: the steps of main, each reachable by the tests.
#include <QString>
#include <functional>

#include "adt/types.h"

struct config_save_failure;

class QApplication;
class QTranslator;
class login_dlg;

// argv[0] of the running program.
extern const char* program_path;
// The running program's own file: QCoreApplication::applicationFilePath() (argv[0] is only
// the name typed when the program was started through PATH or a desktop entry), argv[0]
// when that is empty. The language restart starts it; the update check sums it.
QString program_file();
// CRC-32 of program_file()'s bytes (0 when it cannot be read), read once: the update check
// names the running program by it.
kk::u32 program_file_crc();

// The catalogues and the C locale of one configured language; null for an unknown language.
struct language_files {
  const char* locale;      // for setlocale(LC_ALL, ...)
  const char* qt_catalogue;
  const char* program_catalogue;
};
const language_files* language_row(kk::u32 language);

// The style sheet the program applies at start.
inline constexpr const char* style_sheet_resource = ":/qss/ruv_white.qss";
// The text of a style-sheet resource; prints "open qss failed." and gives "" when it is missing.
QString read_style_sheet(const QString& resource);

// Sets the C locale of `language` and loads its catalogues into the two translators (a
// missing locale or catalogue is silent and leaves the translator empty); then installs both.
// Numbers keep the C form: LC_NUMERIC is "C" afterwards.
void install_translations(QApplication& app, QTranslator& qt, QTranslator& program, kk::u32 language);

// Puts LC_NUMERIC back to "C" after anything that set the locale.
void keep_c_numeric();

// Why the configuration could not be saved, in words for a box: the file and what was wrong
// with it.
QString config_save_reason(const config_save_failure& why);

// Called with the login dialog before it runs (tests answer or inspect it); null: nothing.
extern std::function<void(login_dlg&)> before_login;

// main: configuration, application, style sheet, translations, login, event loop, saving.
// Returns 0.
int run_program(int argc, char** argv);
