#include "dbops/reconnect.h"

#include <QCoreApplication>

#include "ui_base/seams.h"
#include "query/wire.h"

bool reconnect_server(QWidget* parent, const QString& host, quint16 port, const QString& user,
                      const QString& password) {
  ruv::wire_exit();
  bool ok = false;
  {
    ruv::wait_cursor busy;
    ok = ruv::wire_connect(host.toUtf8().constData(), port, user.toUtf8().constData(), password.toUtf8().constData());
  }
  const QString title = QCoreApplication::translate("MainWindow", "reconnect information");
  QString text = ok ? QCoreApplication::translate("MainWindow", "reconnect sussesful!")
                    : QCoreApplication::translate("MainWindow", "reconnect failed!");
  // A wait the user ended says so after the outcome.
  if (!ok && ruv::wire_last().result == ruv::wire_result::cancelled)
    text += QLatin1Char('\n') + ruv::wire_failure_text();
  else if (!ok && !ruv::wire_last().reason.isEmpty())
    text += QLatin1Char('\n') + ruv::wire_last().reason;
  ruv::information(parent, title, text);
  return ok;
}
