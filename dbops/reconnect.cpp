#include "dbops/reconnect.h"

#include <QCoreApplication>

#include "ui_base/seams.h"
#include "client/ruv_sql_lib_mem.h"

bool reconnect_server(QWidget* parent, const QString& host, quint16 port, const QString& user,
                      const QString& password) {
  exit_to_server();
  bool ok = false;
  {
    ruv::wait_cursor busy;
    ok = connect_to_server(host.toUtf8().constData(), port, user.toUtf8().constData(), password.toUtf8().constData());
  }
  const QString title = QCoreApplication::translate("MainWindow", "reconnect information");
  ruv::information(parent, title,
                   ok ? QCoreApplication::translate("MainWindow", "reconnect sussesful!")
                      : QCoreApplication::translate("MainWindow", "reconnect failed!"));
  return ok;
}
