#include "transfer_dlg/transfer_modes.h"

#include <QCheckBox>
#include <QGroupBox>

#include "ui_base/seams.h"

namespace {
// The mode warnings default to No: Enter and Escape keep the mode that was chosen.
bool yes_to(QWidget* dlg, const QString& title, const QString& text) {
  return ruv::warning(dlg, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

// True when client mode may be entered: no warning left, or the user said Yes.
bool client_allowed(QWidget* dlg, bool& warning, const QString& title, const QString& text) {
  if (!warning) return true;
  if (!yes_to(dlg, title, text)) return false;
  warning = false;
  return true;
}
}  // namespace

void client_box_clicked(QWidget* dlg, QGroupBox* server, QGroupBox* client, bool& warning, bool checked,
                        const QString& title, const QString& text) {
  if (checked && !client_allowed(dlg, warning, title, text)) {
    client->setChecked(false);
    return;
  }
  server->setChecked(!checked);
}

void server_box_clicked(QWidget* dlg, QGroupBox* server, QGroupBox* client, bool& warning, bool checked,
                        const QString& title, const QString& text) {
  if (!checked && !client_allowed(dlg, warning, title, text)) {
    server->setChecked(true);
    return;
  }
  client->setChecked(!checked);
}

void replace_box_changed(QWidget* dlg, QCheckBox* replace, bool& warning, int state, const QString& title,
                         const QString& text) {
  if (!warning || state != Qt::Checked) return;
  if (yes_to(dlg, title, text))
    warning = false;
  else
    replace->setCheckState(Qt::Unchecked);
}
