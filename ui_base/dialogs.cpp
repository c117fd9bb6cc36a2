#include "ui_base/dialogs.h"

namespace ruv {
namespace {

class exec_runner final : public dialog_runner {
 public:
  int run(QDialog& dlg) override { return dlg.exec(); }
};

exec_runner the_exec_runner;
dialog_runner* current_runner = &the_exec_runner;

}  // namespace

dialog_runner& dialog_runners() { return *current_runner; }
void set_dialog_runner(dialog_runner* r) { current_runner = r ? r : &the_exec_runner; }

}  // namespace ruv
