#include "query/wire.h"

// First form: the calls run on the calling thread. The wire thread, the wait dialog and the
// connection's state replace it.

namespace ruv {

namespace {
wire_status last;
bool connected = false;
QString address;
}  // namespace

wire_events* wire_signals() {
  static wire_events events;
  return &events;
}

bool wire_connect(const char* host, uint16_t port, const char* user, const char* password, const QString&) {
  address = QString::fromUtf8(host) + QLatin1Char(':') + QString::number(port);
  const bool ok = connect_to_server(host, port, user, password);
  last = wire_status{ok ? wire_result::ok : wire_result::lost, true, QString()};
  if (ok != connected) {
    connected = ok;
    Q_EMIT wire_signals()->connection_changed(ok);
  }
  return ok;
}

datas* wire_exec(const char* text, int32_t len, const QString&) {
  datas* d = exec(text, len);
  last = wire_status{d ? wire_result::ok : wire_result::refused, true, QString()};
  return d;
}

void wire_exit() {
  exit_to_server();
  if (connected) {
    connected = false;
    Q_EMIT wire_signals()->connection_changed(false);
  }
}

bool wire_connected() { return connected; }
const wire_status& wire_last() { return last; }
QString wire_address() { return address; }
void set_wire_parent(QWidget*) {}

}  // namespace ruv
