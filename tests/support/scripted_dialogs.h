#pragma once
// A scripted dialog runner for widget tests: each dialog that the code under test runs
// through ruv::run_dialog is recorded (class and title) and handed to the next scripted step,
// which fills it and accepts or rejects it as a person would; no modal loop ever starts. A
// dialog with no step left is rejected.
#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "ui_base/dialogs.h"

namespace ruv::test {

struct shown_dialog {
  QString class_name;
  QString title;
};

class scripted_dialogs final : public dialog_runner {
 public:
  // A step gets the dialog before it would be shown; it clicks and types, then calls the
  // dialog's accept() (OK) or reject() (Cancel), or leaves it (then it counts as rejected).
  using step = std::function<void(QDialog&)>;

  scripted_dialogs() { set_dialog_runner(this); }
  ~scripted_dialogs() override { set_dialog_runner(nullptr); }

  std::vector<shown_dialog> shown;
  std::deque<step> steps;

  int run(QDialog& dlg) override {
    shown.push_back({QString::fromLatin1(dlg.metaObject()->className()), dlg.windowTitle()});
    dlg.setResult(QDialog::Rejected);
    if (steps.empty()) return QDialog::Rejected;
    step s = std::move(steps.front());
    steps.pop_front();
    s(dlg);
    return dlg.result();
  }
};

}  // namespace ruv::test
