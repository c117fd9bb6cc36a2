#pragma once
// The program's one road to the server's connection. The library keeps its connection per
// thread, so every call that talks to the server (login, statements, logout) runs on one
// wire thread; the calling (GUI) thread waits for it without blocking the window, and a
// wait that lasts shows a wait dialog whose Cancel shuts the connection down.
//
// GUI thread only. Calls do not nest: a call made while another one waits fails as busy.
//
// The wait: a few milliseconds of plain waiting first (a fast reply costs no event
// processing), then a local event loop, so the window keeps painting and hover still shows;
// user input (clicks, keys, wheel, shortcuts, closing a window) is swallowed everywhere but
// in the wait dialog, which appears after about half a second with what is waited for, the
// time and the bytes received so far. Its Cancel (or Escape) ends the call at once with
// wire_result::cancelled and the connection closed; what the user has open stays.
//
// Until the first wire_connect of a process, wire_exec runs exec on the calling thread
// directly: benchmarks and fuzz targets log in through the library on their own thread and
// then run statements through db_ctx.
#include <QObject>
#include <QString>
#include <cstdint>

#include "client/ruv_sql_lib_mem.h"

class QWidget;

namespace ruv {

// How the last exchange ended.
enum class wire_result {
  ok,         // the server answered
  refused,    // the server answered with a failure; the connection stays
  lost,       // the connection failed (reset, closed, out of step, bad reply); it is closed
  cancelled,  // the user ended the wait; the connection is closed
  busy,       // another exchange was waiting; nothing was sent
  closed,     // there was no connection; nothing was sent
};

struct wire_status {
  wire_result result = wire_result::closed;
  bool sent = false;  // the request reached the socket (its outcome may be unknown)
  QString reason;     // the system's or the protocol's words for a lost connection
  // The request went out and the connection failed before its answer: nobody here knows
  // what the server did with it.
  bool outcome_unknown() const { return sent && (result == wire_result::lost || result == wire_result::cancelled); }
};

// Emits connection_changed whenever the connection opens or closes (the status bar). When
// it closes, wire_last() tells why (lost and cancelled are the unasked ends).
class wire_events : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
 Q_SIGNALS:
  void connection_changed(bool connected);
};
wire_events* wire_signals();

// Logs in (closing the connection held before). what names the wait in its dialog. After a
// failed login wire_last() is lost: its reason empty when the server refused the login, else
// why the server could not be reached (the system's words) or that it gave no answer.
bool wire_connect(const char* host, uint16_t port, const char* user, const char* password,
                  const QString& what = QString());
// One statement; the caller owns the result (del_datas). Null unless the server answered OK.
// what names the wait in its dialog; empty: the statement's first line, cut short.
datas* wire_exec(const char* text, int32_t len, const QString& what = QString());
// Logs out and closes the connection.
void wire_exit();

bool wire_connected();
const wire_status& wire_last();
// "host:port" of the connection last opened.
QString wire_address();
// Words for how the last call failed when the connection itself was the cause (lost,
// cancelled, no connection, busy); empty for ok and refused.
QString wire_failure_text();

// The dialog's parent while waiting (the main window once it exists); may be null.
void set_wire_parent(QWidget* parent);

// True while a call waits for the wire thread.
bool wire_waiting();
// Ends the current wait as the wait dialog's Cancel does; nothing when none waits.
void wire_cancel();
// How long a wait lasts before its dialog shows (default 500 ms); for tests.
void set_wire_dialog_delay_ms(int ms);

}  // namespace ruv
