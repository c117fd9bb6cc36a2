#include "ui_base/seams.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QProcess>
#include <QUrl>

namespace ruv {
namespace {

class real_prompt final : public prompt {
 public:
  QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                      const QString& text, QMessageBox::StandardButtons buttons,
                                      QMessageBox::StandardButton default_button) override {
    const std::unique_ptr<QMessageBox> box = make_message_box(parent, icon, title, text, buttons, default_button);
    return static_cast<QMessageBox::StandardButton>(box->exec());
  }
  QString open_file_name(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override {
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
  }
  QStringList open_file_names(QWidget* parent, const QString& caption, const QString& dir,
                              const QString& filter) override {
    return QFileDialog::getOpenFileNames(parent, caption, dir, filter);
  }
  QString save_file_name(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override {
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
  }
  QString existing_directory(QWidget* parent, const QString& caption, const QString& dir) override {
    return QFileDialog::getExistingDirectory(parent, caption, dir);
  }
};

class real_clock final : public clock {
 public:
  QDateTime now() override { return QDateTime::currentDateTime(); }
};

class real_opener final : public opener {
 public:
  bool open(const QString& path_or_url) override {
    QUrl url(path_or_url);
    if (url.scheme().isEmpty() || url.scheme().size() == 1) url = QUrl::fromLocalFile(path_or_url);
    return QDesktopServices::openUrl(url);
  }
};

class real_launcher final : public launcher {
 public:
  bool start_detached(const QString& program, const QStringList& arguments) override {
    return QProcess::startDetached(program, arguments);
  }
  void end_event_loop(int code) override { QCoreApplication::exit(code); }
};

real_prompt the_real_prompt;
real_clock the_real_clock;
real_opener the_real_opener;
real_launcher the_real_launcher;
prompt* current_prompt = &the_real_prompt;
clock* current_clock = &the_real_clock;
opener* current_opener = &the_real_opener;
launcher* current_launcher = &the_real_launcher;

QMessageBox::StandardButton box(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                                QMessageBox::StandardButtons buttons, QMessageBox::StandardButton def) {
  return prompts().message(parent, icon, title, text, buttons, def);
}

}  // namespace

QMessageBox::StandardButton safe_default_button(QMessageBox::StandardButtons buttons) {
  using B = QMessageBox;
  // Every standard button is one bit.
  const unsigned bits = static_cast<unsigned>(buttons);
  const auto lowest = static_cast<B::StandardButton>(bits & (~bits + 1u));
  if (bits == 0 || (bits & (bits - 1u)) == 0) return lowest;
  for (const B::StandardButton safe : {B::Cancel, B::No, B::Abort, B::Close})
    if (buttons & safe) return safe;
  return (buttons & B::Ok) ? B::Ok : lowest;
}

std::unique_ptr<QMessageBox> make_message_box(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                              const QString& text, QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton default_button) {
  auto box = std::make_unique<QMessageBox>(icon, title, text, buttons, parent);
  if (default_button == QMessageBox::NoButton || !(buttons & default_button))
    default_button = safe_default_button(buttons);
  if (default_button != QMessageBox::NoButton) box->setDefaultButton(default_button);
  return box;
}

prompt& prompts() { return *current_prompt; }
void set_prompts(prompt* p) { current_prompt = p ? p : &the_real_prompt; }
clock& clocks() { return *current_clock; }
void set_clock(clock* c) { current_clock = c ? c : &the_real_clock; }
opener& openers() { return *current_opener; }
void set_opener(opener* o) { current_opener = o ? o : &the_real_opener; }
launcher& launchers() { return *current_launcher; }
void set_launcher(launcher* l) { current_launcher = l ? l : &the_real_launcher; }

QMessageBox::StandardButton information(QWidget* parent, const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton default_button) {
  return box(parent, QMessageBox::Information, title, text, buttons, default_button);
}
QMessageBox::StandardButton question(QWidget* parent, const QString& title, const QString& text,
                                     QMessageBox::StandardButtons buttons,
                                     QMessageBox::StandardButton default_button) {
  return box(parent, QMessageBox::Question, title, text, buttons, default_button);
}
QMessageBox::StandardButton warning(QWidget* parent, const QString& title, const QString& text,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton default_button) {
  return box(parent, QMessageBox::Warning, title, text, buttons, default_button);
}
QMessageBox::StandardButton critical(QWidget* parent, const QString& title, const QString& text,
                                     QMessageBox::StandardButtons buttons,
                                     QMessageBox::StandardButton default_button) {
  return box(parent, QMessageBox::Critical, title, text, buttons, default_button);
}

wait_cursor::wait_cursor() {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()))
    QApplication::setOverrideCursor(Qt::WaitCursor);
}
wait_cursor::~wait_cursor() {
  if (qobject_cast<QApplication*>(QCoreApplication::instance())) QApplication::restoreOverrideCursor();
}

}  // namespace ruv
