#pragma once
// The seam of modal dialogs: every place that runs a dialog of its own (the transfer dialogs,
// the preferences) calls run_dialog instead of exec, so tests fill the dialog and accept or
// reject it without a modal event loop. The real runner is exec().
#include <QDialog>

namespace ruv {

class dialog_runner {
 public:
  virtual ~dialog_runner() = default;
  // Runs the dialog to its end; the result as exec() gives it (QDialog::Accepted or Rejected).
  virtual int run(QDialog& dlg) = 0;
};

dialog_runner& dialog_runners();
// A process-wide runner on the GUI thread; nullptr restores exec().
void set_dialog_runner(dialog_runner* r);

inline int run_dialog(QDialog& dlg) { return dialog_runners().run(dlg); }

}  // namespace ruv
