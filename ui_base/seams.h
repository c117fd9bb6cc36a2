#pragma once
// The program's seams: every place where the program would block on a person or reach
// outside the process goes through one of these, so tests replace it with a scripted
// answer. The real implementations show the real Qt dialogs and call the real services.
//
// Each seam is a process-wide object on the GUI thread; set_*(nullptr) restores the real one.
#include <QDateTime>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <memory>

class QWidget;

namespace ruv {

// Message boxes and file choosers.
class prompt {
 public:
  virtual ~prompt() = default;
  // A message box with the given icon, buttons and default; the button the user pressed
  // (QMessageBox::Escape's button, or NoButton, when it was closed).
  virtual QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                              const QString& text, QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton default_button) = 0;
  // File choosers: an empty text (or list) when the user cancelled.
  virtual QString open_file_name(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
  virtual QStringList open_file_names(QWidget* parent, const QString& caption, const QString& dir,
                                      const QString& filter) = 0;
  virtual QString save_file_name(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
  virtual QString existing_directory(QWidget* parent, const QString& caption, const QString& dir) = 0;
};

prompt& prompts();
void set_prompts(prompt* p);

// The button Enter presses when a box names none: the only one, else the safe answer (Cancel,
// then No, Abort, Close), else Ok, else the first.
QMessageBox::StandardButton safe_default_button(QMessageBox::StandardButtons buttons);
// The real prompt's box, not yet run: `default_button` (or the safe one for NoButton) is the
// default button.
std::unique_ptr<QMessageBox> make_message_box(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                              const QString& text, QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton default_button);

// The QMessageBox static functions, through the prompt.
QMessageBox::StandardButton information(QWidget* parent, const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                        QMessageBox::StandardButton default_button = QMessageBox::NoButton);
QMessageBox::StandardButton question(QWidget* parent, const QString& title, const QString& text,
                                     QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::StandardButton default_button = QMessageBox::NoButton);
QMessageBox::StandardButton warning(QWidget* parent, const QString& title, const QString& text,
                                    QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                    QMessageBox::StandardButton default_button = QMessageBox::NoButton);
QMessageBox::StandardButton critical(QWidget* parent, const QString& title, const QString& text,
                                     QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                     QMessageBox::StandardButton default_button = QMessageBox::NoButton);

// The local wall clock (preset file names, log stamps).
class clock {
 public:
  virtual ~clock() = default;
  virtual QDateTime now() = 0;
};
clock& clocks();
void set_clock(clock* c);

// Opening a document or a web page with the desktop's handler; false when that failed.
class opener {
 public:
  virtual ~opener() = default;
  virtual bool open(const QString& path_or_url) = 0;
};
opener& openers();
void set_opener(opener* o);

// The restart after a language change: starting a detached process (false when it did not
// start), then ending this program's event loop.
class launcher {
 public:
  virtual ~launcher() = default;
  virtual bool start_detached(const QString& program, const QStringList& arguments) = 0;
  virtual void end_event_loop(int code) = 0;
};
launcher& launchers();
void set_launcher(launcher* l);

// The wait cursor while a blocking call runs: nests; restored when the last guard ends.
class wait_cursor {
 public:
  wait_cursor();
  ~wait_cursor();
  wait_cursor(const wait_cursor&) = delete;
  wait_cursor& operator=(const wait_cursor&) = delete;
};

}  // namespace ruv
