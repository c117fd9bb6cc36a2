#pragma once
// Find and replace over one code editor's document: plain, with escapes, or a regular
// expression; case and whole-word options; the whole text or only inside the selections.
// Steps forward and backward with an offer to wrap around, marks all matches, replaces one
// match or all of them.
#include <QDialog>

#include "editor/text_doc.h"

namespace Ui {
class search_dlg;
}

namespace ruv {

class editor;

class search_dlg : public QDialog {
  Q_OBJECT

 public:
  search_dlg(ruv::editor* ed, text_doc* doc, QWidget* parent = nullptr);
  ~search_dlg() override;

  void set_replace_mode(bool find_only);
  void set_target(const QString& text);
  Ui::search_dlg* form() const { return form_; }
  bool wrapped() const noexcept { return wrapped_; }
  byte_range last_match() const noexcept { return last_; }

 public Q_SLOTS:
  void search_all(bool notinfo);
  void next(bool);
  void prev(bool);
  void replace(bool);
  void replace_all(bool);
  void target_changed(const QString& text);
  void show_top();
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  struct params {
    QByteArray what;
    QByteArray with;
    u32 mode;
    u16 flags;
    bool in_selection;
  };
  params read() const;
  // One step from `from` (no character skipped); false when nothing was found.
  bool step_from(const params& p, i64 from, bool forward);
  void found(i32 at, bool show);
  void after_edit();
  bool report_status(int status, const QByteArray& what);

  ruv::editor* editor_;
  text_doc* doc_;
  Ui::search_dlg* form_;
  bool wrapped_ = false;
  byte_range last_{0, 0};
};

}  // namespace ruv
