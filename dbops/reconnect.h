#pragma once
// Logging in again with the login kept from the start: the old connection is closed first;
// the outcome is shown in a box. Nothing else changes: open pages and their edits stay.
#include <QString>

class QWidget;

bool reconnect_server(QWidget* parent, const QString& host, quint16 port, const QString& user,
                      const QString& password);
