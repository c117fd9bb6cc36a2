#pragma once
// The server / client group boxes and the replace box that the transfer dialogs share.
// Exactly one group box is checked; the first switch to client mode asks once (Yes clears
// the warning flag for the dialog's life), and No keeps the server box checked.
#include <QString>

class QCheckBox;
class QGroupBox;
class QWidget;

// The client box was clicked to `checked`.
void client_box_clicked(QWidget* dlg, QGroupBox* server, QGroupBox* client, bool& warning, bool checked,
                        const QString& title, const QString& text);
// The server box was clicked to `checked` (unchecking it means client mode).
void server_box_clicked(QWidget* dlg, QGroupBox* server, QGroupBox* client, bool& warning, bool checked,
                        const QString& title, const QString& text);
// The replace box changed to `state`: the first check asks once; No unchecks it again.
void replace_box_changed(QWidget* dlg, QCheckBox* replace, bool& warning, int state, const QString& title,
                         const QString& text);
