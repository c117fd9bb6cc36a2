#pragma once
// Scripted seams for widget tests: a prompt that records every box and file chooser and
// answers from a queue (never blocking), a fixed clock, an opener and a launcher that record.
#include <QDateTime>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "ui_base/seams.h"

namespace ruv::test {

struct shown_box {
  QMessageBox::Icon icon;
  QString title;
  QString text;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton default_button;  // what Enter presses (NoButton: Qt picks one)
  QWidget* parent;                             // the window the box opens over
};

struct shown_chooser {
  QString kind;  // "open", "opens", "save", "dir"
  QString caption;
  QString dir;
  QString filter;
};

class scripted_prompt final : public prompt {
 public:
  scripted_prompt() { set_prompts(this); }
  ~scripted_prompt() override { set_prompts(nullptr); }

  std::vector<shown_box> boxes;
  std::vector<shown_chooser> choosers;
  std::deque<QMessageBox::StandardButton> answers;  // next box answers; empty: the default
                                                    // button, else the first of Ok/Yes
  std::deque<QStringList> files;                     // next chooser answers; empty: cancelled

  QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                      const QString& text, QMessageBox::StandardButtons buttons,
                                      QMessageBox::StandardButton def) override {
    boxes.push_back({icon, title, text, buttons, def, parent});
    if (!answers.empty()) {
      auto a = answers.front();
      answers.pop_front();
      return a;
    }
    if (def != QMessageBox::NoButton) return def;
    if (buttons & QMessageBox::Ok) return QMessageBox::Ok;
    if (buttons & QMessageBox::Yes) return QMessageBox::Yes;
    return QMessageBox::NoButton;
  }
  QString open_file_name(QWidget*, const QString& caption, const QString& dir, const QString& filter) override {
    choosers.push_back({"open", caption, dir, filter});
    return next().value(0);
  }
  QStringList open_file_names(QWidget*, const QString& caption, const QString& dir,
                              const QString& filter) override {
    choosers.push_back({"opens", caption, dir, filter});
    return next();
  }
  QString save_file_name(QWidget*, const QString& caption, const QString& dir, const QString& filter) override {
    choosers.push_back({"save", caption, dir, filter});
    return next().value(0);
  }
  QString existing_directory(QWidget*, const QString& caption, const QString& dir) override {
    choosers.push_back({"dir", caption, dir, {}});
    return next().value(0);
  }
  QString last_text() const { return boxes.empty() ? QString() : boxes.back().text; }

 private:
  QStringList next() {
    if (files.empty()) return {};
    QStringList f = files.front();
    files.pop_front();
    return f;
  }
};

class fixed_clock final : public clock {
 public:
  explicit fixed_clock(QDateTime t) : time(std::move(t)) { set_clock(this); }
  ~fixed_clock() override { set_clock(nullptr); }
  QDateTime now() override { return time; }
  QDateTime time;
};

class recording_opener final : public opener {
 public:
  recording_opener() { set_opener(this); }
  ~recording_opener() override { set_opener(nullptr); }
  bool open(const QString& what) override {
    opened << what;
    return result;
  }
  QStringList opened;
  bool result = true;
};

class recording_launcher final : public launcher {
 public:
  recording_launcher() { set_launcher(this); }
  ~recording_launcher() override { set_launcher(nullptr); }
  bool start_detached(const QString& program, const QStringList& arguments) override {
    started << (QStringList{program} + arguments);
    if (on_start) on_start();
    return result;
  }
  void end_event_loop(int code) override { exits << code; }
  QList<QStringList> started;
  QList<int> exits;
  bool result = true;
  std::function<void()> on_start;  // runs inside start_detached (to look at the disk then)
};

}  // namespace ruv::test
