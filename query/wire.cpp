#include "query/wire.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/socket.h"
#include "platform/socket_probe.h"
#include "ui_base/slot_guard.h"

namespace ruv {

namespace {

namespace plat = kk::platform;

// A fast reply is waited for without any event processing.
constexpr auto spin_time = std::chrono::milliseconds(4);
// How often the wait dialog's figures are brought up to date.
constexpr int tick_ms = 100;
// How often an abandoned login's socket is looked for once its connect has completed.
constexpr int chase_ms = 50;
int dialog_delay_ms = 500;


enum class job_kind { connect, exec, exit };
// Why a connection ended by itself.
enum class loss { none, peer_closed, system, protocol, no_answer };
// The library's own bound on the login's connect and on its wait for the answer.
constexpr auto library_login_bound = std::chrono::seconds(10);
// How long a failed login's second connection may take to tell an unreachable server.
constexpr int probe_timeout_ms = 3000;

struct job {
  job_kind kind = job_kind::exec;
  std::string host, user, password;
  uint16_t port = 0;
  uint32_t address_be = 0;
  std::string text;  // a copy: an abandoned job may run after the caller's text is gone
  // Written by the wire thread under the mutex (the results before done).
  bool started = false;
  bool done = false;
  bool ok = false;
  datas* result = nullptr;
  loss why = loss::none;
  int error = 0;
  // Written by the GUI thread under the mutex.
  bool abandoned = false;  // the GUI gave up on it; the wire thread cleans up after it
  bool gui_waiting = false;
  uint64_t serial = 0;
};

// What the two threads share, under mu. Made by the first wire_connect and never freed: the
// wire thread may still be blocked in the library when the process ends.
struct shared_state {
  std::mutex mu;
  std::condition_variable jobs_cv;
  std::condition_variable done_cv;
  std::deque<std::shared_ptr<job>> queue;
  std::shared_ptr<job> running;
  bool stop = false;
  // The library's socket as found after the login: its descriptor and inode, and a
  // descriptor of our own on it (shut down by the GUI to end a wait, read for its figures).
  int lib_fd = -1;
  uint64_t inode = 0;
  int handle = -1;
  uint32_t address_be = 0;
  uint16_t port = 0;
  bool lib_connected = false;  // the wire thread's library state holds a connection
  std::thread thread;
};

shared_state* shared = nullptr;

void close_handle_locked() {
  plat::close_descriptor(shared->handle);
  shared->handle = -1;
  shared->lib_fd = -1;
  shared->inode = 0;
}

// Shuts down the socket of the connection to address:port that the running job uses: our own
// descriptor when there is one, else the one found by its peer. False when none is found yet
// (a login still connecting).
bool shut_down_locked(uint32_t address_be, uint16_t port) {
  if (shared->handle >= 0) {
    plat::shutdown_socket(shared->handle);
    return true;
  }
  const plat::socket_identity id = plat::find_peer_socket(address_be, port);
  const int fd = plat::duplicate_socket(id.fd);
  if (fd < 0) return false;
  const bool same = plat::socket_inode(fd) == id.inode;
  if (same) plat::shutdown_socket(fd);
  plat::close_descriptor(fd);
  return same;
}

// Wire thread: the library's connection ends (a logout sent while it holds its socket) and
// the descriptor held on it is let go.
void end_library_connection() {
  exit_to_server();
  std::lock_guard lk(shared->mu);
  close_handle_locked();
  shared->lib_connected = false;
}

// A connection error the library's failed read may have left in errno.
bool connection_errno(int e) {
  return e == ECONNRESET || e == ETIMEDOUT || e == EPIPE || e == ECONNABORTED || e == EHOSTUNREACH ||
         e == ENETUNREACH || e == ENETDOWN || e == ENETRESET;
}

void perform(job& j) {
  switch (j.kind) {
    case job_kind::connect: {
      if (shared->lib_connected) end_library_connection();
      const auto t0 = std::chrono::steady_clock::now();
      j.ok = connect_to_server(j.host.c_str(), j.port, j.user.c_str(), j.password.c_str());
      if (!j.ok) {
        // The library says only that the login failed. A second connection tells a server
        // that cannot be reached (its error) from one that took the connection and then gave
        // no answer within the library's bound, or refused the login (no reason).
        const bool slow = std::chrono::steady_clock::now() - t0 >= library_login_bound - std::chrono::milliseconds(250);
        {
          std::lock_guard lk(shared->mu);
          if (j.abandoned) return;  // the user ended the wait: nobody asks why any more
        }
        j.error = j.address_be == 0xFFFFFFFFu && j.host != "255.255.255.255"
                      ? EINVAL
                      : plat::probe_connect(j.address_be, j.port, probe_timeout_ms);
        j.why = j.error ? loss::system : slow ? loss::no_answer : loss::none;
        return;
      }
      shared->lib_connected = true;
      // The library's socket, found by its peer: a descriptor of our own keeps the socket
      // itself identifiable (its inode) after the library closes its descriptor.
      const plat::socket_identity id = plat::find_peer_socket(j.address_be, j.port);
      const int fd = plat::duplicate_socket(id.fd);
      std::lock_guard lk(shared->mu);
      shared->address_be = j.address_be;
      shared->port = j.port;
      if (fd >= 0 && plat::socket_inode(fd) == id.inode) {
        shared->handle = fd;
        shared->lib_fd = id.fd;
        shared->inode = id.inode;
      } else {
        plat::close_descriptor(fd);
      }
      return;
    }
    case job_kind::exec: {
      errno = 0;
      j.result = exec(j.text.data(), int32_t(j.text.size()));
      const int err = errno;
      j.ok = j.result != nullptr;
      if (j.ok) return;
      std::lock_guard lk(shared->mu);
      // The library keeps its socket after a refusal and drops it when the connection failed.
      if (shared->handle < 0 || plat::socket_inode(shared->lib_fd) == shared->inode) return;
      if (const int so = plat::socket_error(shared->handle)) {
        j.why = loss::system;
        j.error = so;
      } else if (connection_errno(err)) {
        j.why = loss::system;
        j.error = err;
      } else {
        j.why = plat::peer_closed(shared->handle) ? loss::peer_closed : loss::protocol;
      }
      close_handle_locked();
      shared->lib_connected = false;
      return;
    }
    case job_kind::exit:
      end_library_connection();
      j.ok = true;
      return;
  }
}

QObject* waker = nullptr;  // lives on the GUI thread; the wire thread posts its wake-ups to it
void on_wake(uint64_t serial);

void run_wire() {
  for (;;) {
    std::shared_ptr<job> j;
    {
      std::unique_lock lk(shared->mu);
      shared->jobs_cv.wait(lk, [] { return shared->stop || !shared->queue.empty(); });
      if (shared->queue.empty()) return;
      j = shared->queue.front();
      shared->queue.pop_front();
      if (j->abandoned) {
        j->done = true;
        continue;
      }
      j->started = true;
      shared->running = j;
    }
    perform(*j);
    bool clean_up = false;
    {
      std::lock_guard lk(shared->mu);
      shared->running.reset();
      j->done = true;
      clean_up = j->abandoned;
      if (j->gui_waiting) {
        const uint64_t serial = j->serial;
        QMetaObject::invokeMethod(waker, [serial] { on_wake(serial); }, Qt::QueuedConnection);
      }
    }
    shared->done_cv.notify_all();
    if (clean_up) {
      // The GUI gave up on this job and shows the connection closed: whatever came back is
      // released and the library's connection ended.
      if (j->result) del_datas(j->result);
      j->result = nullptr;
      if (j->kind != job_kind::exit) end_library_connection();
    }
  }
}

// At exit: an idle wire thread ends (its connection with it, no logout sent, as the process
// would end it); one still blocked in the library is left to the end of the process.
void stop_at_exit() {
  std::unique_lock lk(shared->mu);
  shared->stop = true;
  if (shared->running) {
    lk.unlock();
    shared->thread.detach();
    return;
  }
  shared->queue.clear();
  lk.unlock();
  shared->jobs_cv.notify_all();
  shared->thread.join();
}

// The GUI thread's side.
struct gui_state {
  bool started = false;  // a wire_connect was made: calls run on the wire thread
  bool connected = false;
  wire_status last;
  QString host;
  uint16_t port = 0;
  QPointer<QWidget> parent;
  std::shared_ptr<job> waiting;  // the job a wait is for
  QEventLoop* loop = nullptr;
  bool cancelled = false;
  QPointer<QProgressDialog> dialog;
  std::shared_ptr<job> chased;  // an abandoned login whose socket is still to be shut down
  QTimer* chaser = nullptr;
  uint64_t serial = 0;
};

gui_state& gui() {
  static gui_state* g = new gui_state;  // outlives every window (and the wire thread's posts)
  return *g;
}

void on_wake(uint64_t serial) {
  gui_state& g = gui();
  if (g.loop && g.waiting && g.waiting->serial == serial) g.loop->quit();
}

void start_wire() {
  if (shared) return;
  shared = new shared_state;
  waker = new QObject;
  shared->thread = std::thread(run_wire);
  std::atexit(stop_at_exit);
  gui().started = true;
}

void submit(const std::shared_ptr<job>& j) {
  {
    std::lock_guard lk(shared->mu);
    j->serial = ++gui().serial;
    shared->queue.push_back(j);
  }
  shared->jobs_cv.notify_one();
}

bool in_dialog(QObject* o) {
  QProgressDialog* d = gui().dialog;
  if (!d) return false;
  if (auto* win = qobject_cast<QWindow*>(o)) return win == d->windowHandle();
  // A widget of the dialog, or an object of one (its Escape shortcut).
  for (QObject* p = o; p; p = p->parent())
    if (p == d) return true;
  return false;
}

// While a call waits: user input goes nowhere but to the wait dialog; moves, hover and
// painting go on.
class input_gate final : public QObject {
 public:
  bool eventFilter(QObject* o, QEvent* e) override {
    switch (e->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::NonClientAreaMouseButtonPress:
      case QEvent::NonClientAreaMouseButtonRelease:
      case QEvent::NonClientAreaMouseButtonDblClick:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::Wheel:
      case QEvent::Shortcut:
      case QEvent::Close:
      case QEvent::ContextMenu:
      case QEvent::TouchBegin:
      case QEvent::TouchUpdate:
      case QEvent::TouchEnd:
      case QEvent::TabletPress:
      case QEvent::TabletRelease:
      case QEvent::InputMethod:
      case QEvent::Drop:
        if (in_dialog(o)) return false;
        e->ignore();  // a window asked to close stays open
        return true;
      default:
        return false;
    }
  }
};

void chase() {
  gui_state& g = gui();
  std::lock_guard lk(shared->mu);
  if (!g.chased || g.chased->done || shared->running != g.chased ||
      shut_down_locked(g.chased->address_be, g.chased->port)) {
    g.chased.reset();
    g.chaser->stop();
  }
}

void cancel_wait() {
  gui_state& g = gui();
  if (!g.waiting || g.cancelled || !g.loop) return;
  const std::shared_ptr<job> j = g.waiting;
  {
    std::lock_guard lk(shared->mu);
    if (!j->done) {
      j->abandoned = true;
      g.cancelled = true;
      // A blocked read ends when its socket is shut down; a login still connecting has no
      // peer yet: its socket is looked for until its connect has completed.
      if (j->started && j->kind != job_kind::exit && !shut_down_locked(j->address_be, j->port)) {
        g.chased = j;
        if (!g.chaser) {
          g.chaser = new QTimer(waker);
          g.chaser->setInterval(chase_ms);
          QObject::connect(g.chaser, &QTimer::timeout, waker, [] { slot_guard("wire chase", chase); });
        }
        g.chaser->start();
      }
    }
  }
  g.loop->quit();
}

QString wait_label(const QString& what, const QElapsedTimer& elapsed, uint64_t bytes) {
  return QCoreApplication::translate("wire_wait_dlg", "waiting for the server: %1").arg(what) + QLatin1Char('\n') +
         QCoreApplication::translate("wire_wait_dlg", "%1 s, %2 bytes received")
             .arg(QString::number(double(elapsed.elapsed()) / 1000.0, 'f', 1), QString::number(bytes));
}

uint64_t received_now() {
  std::lock_guard lk(shared->mu);
  return plat::bytes_received(shared->handle);
}

QProgressDialog* make_dialog(const QString& what, const QElapsedTimer& elapsed, uint64_t bytes) {
  QWidget* parent = gui().parent ? gui().parent.data() : QApplication::activeWindow();
  auto* d = new QProgressDialog(parent);
  d->setObjectName(QStringLiteral("wire_wait_dlg"));
  d->setWindowTitle(QCoreApplication::translate("wire_wait_dlg", "waiting for the server"));
  d->setCancelButtonText(QCoreApplication::translate("wire_wait_dlg", "cancel"));
  d->setAutoClose(false);
  d->setAutoReset(false);
  d->setRange(0, 0);  // busy: the length of the wait is unknown
  d->setMinimumDuration(INT_MAX);
  d->setWindowModality(Qt::ApplicationModal);
  d->setLabelText(wait_label(what, elapsed, bytes));
  d->setMinimumWidth(d->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 48);  // the title shows whole
  QObject::connect(d, &QProgressDialog::canceled, d, [] { slot_guard("wire cancel", cancel_wait); });
  QObject::connect(d, &QDialog::rejected, d, [] { slot_guard("wire cancel", cancel_wait); });
  d->show();
  // Some window managers report a frameless parent (the login dialog) at the screen's
  // corner: such a parent was shown centred, so the dialog goes to the screen's centre.
  if (parent && (parent->windowFlags() & Qt::FramelessWindowHint) && parent->screen()) {
    QRect r = d->frameGeometry();
    r.moveCenter(parent->screen()->availableGeometry().center());
    d->move(r.topLeft());
  }
  return d;
}

// Waits for the job; false when the user cancelled it first (it is abandoned then).
// bytes_at_start: what the connection had received before the request went out.
bool wait_for(const std::shared_ptr<job>& j, const QString& what, uint64_t bytes_at_start) {
  {
    std::unique_lock lk(shared->mu);
    if (shared->done_cv.wait_for(lk, spin_time, [&] { return j->done; })) return true;
    if (!QCoreApplication::instance()) {
      shared->done_cv.wait(lk, [&] { return j->done; });
      return true;
    }
    j->gui_waiting = true;
  }
  gui_state& g = gui();
  g.waiting = j;
  g.cancelled = false;
  const bool widgets = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
  input_gate gate;
  QCoreApplication::instance()->installEventFilter(&gate);
  // However the wait ends (an allocation failure too), input flows again and no later call
  // finds itself busy; a job left by an exception is given up as a cancel gives it up.
  struct wait_scope {
    gui_state& g;
    const std::shared_ptr<job>& j;
    input_gate& gate;
    int exceptions = std::uncaught_exceptions();
    ~wait_scope() {
      g.loop = nullptr;
      g.waiting.reset();
      QCoreApplication::instance()->removeEventFilter(&gate);
      delete g.dialog.data();
      const bool thrown = std::uncaught_exceptions() > exceptions;
      std::lock_guard lk(shared->mu);
      j->gui_waiting = false;
      if (thrown && !j->done) {
        j->abandoned = true;
        if (j->started) shut_down_locked(j->address_be, j->port);
        g.connected = false;
        QMetaObject::invokeMethod(wire_signals(), [] { Q_EMIT wire_signals()->connection_changed(false); },
                                  Qt::QueuedConnection);
      }
    }
  } scope{g, j, gate};
  QElapsedTimer elapsed;
  elapsed.start();
  // Only a statement's reply is counted (a login has no socket of ours before it is done).
  const bool counted = j->kind == job_kind::exec;
  const auto received = [&]() -> uint64_t {
    const uint64_t now = counted ? received_now() : 0;
    return now > bytes_at_start ? now - bytes_at_start : 0;
  };
  QEventLoop loop;
  g.loop = &loop;
  QTimer tick;
  tick.setInterval(tick_ms);
  QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
    slot_guard("wire wait", [&] {
      const uint64_t bytes = received();
      if (g.dialog)
        g.dialog->setLabelText(wait_label(what, elapsed, bytes));
      else if (widgets && elapsed.elapsed() >= dialog_delay_ms)
        g.dialog = make_dialog(what, elapsed, bytes);
    });
  });
  tick.start();
  QTimer show_dialog;
  show_dialog.setSingleShot(true);
  if (widgets) {
    QObject::connect(&show_dialog, &QTimer::timeout, &loop, [&] {
      slot_guard("wire wait", [&] {
        if (!g.dialog && !g.cancelled) g.dialog = make_dialog(what, elapsed, received());
      });
    });
    show_dialog.start(dialog_delay_ms);
  }
  for (;;) {
    {
      std::lock_guard lk(shared->mu);
      if (j->done || g.cancelled) break;
    }
    loop.exec();
  }
  tick.stop();
  show_dialog.stop();
  const bool cancelled = g.cancelled;
  g.cancelled = false;
  return !cancelled;
}

void set_connected(bool now) {
  gui_state& g = gui();
  if (g.connected == now) return;
  g.connected = now;
  Q_EMIT wire_signals()->connection_changed(now);
}

// What the wait dialog names for a statement: its first line, cut short.
QString first_line(const char* text, int32_t len) {
  constexpr int max_bytes = 240;
  constexpr int max_chars = 60;
  if (!text || len <= 0) return QString();
  int n = len < max_bytes ? int(len) : max_bytes;
  for (int i = 0; i < n; ++i)
    if (text[i] == '\n' || text[i] == '\r') n = i;
  while (n > 0 && n < len && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  QString line = QString::fromUtf8(text, n).trimmed();
  if (line.size() > max_chars || n < len) line = line.left(max_chars) + QStringLiteral("...");
  return line;
}

QString loss_reason(loss why, int error) {
  switch (why) {
    case loss::peer_closed:
      return QCoreApplication::translate("wire_events", "the server closed the connection");
    case loss::system:
      return QString::fromLocal8Bit(plat::error_text(error));
    case loss::no_answer:
      return QCoreApplication::translate("wire_events", "the server gave no answer to the login");
    case loss::protocol:
    case loss::none:
      break;
  }
  return QCoreApplication::translate("wire_events", "the server's reply could not be read");
}

}  // namespace

wire_events* wire_signals() {
  static wire_events events;
  return &events;
}

bool wire_connect(const char* host, uint16_t port, const char* user, const char* password, const QString& what) {
  gui_state& g = gui();
  if (g.waiting) {
    g.last = wire_status{wire_result::busy, false, QString()};
    return false;
  }
  start_wire();
  g.host = QString::fromUtf8(host ? host : "");
  g.port = port;
  auto j = std::make_shared<job>();
  j->kind = job_kind::connect;
  j->host = host ? host : "";
  j->user = user ? user : "";
  j->password = password ? password : "";
  j->port = port;
  j->address_be = plat::ipv4_address(j->host.c_str());
  submit(j);
  // The connection held so far ends with the new login.
  g.last = wire_status{wire_result::closed, false, QString()};
  set_connected(false);
  const QString shown = what.isEmpty() ? QCoreApplication::translate("wire_wait_dlg", "logging in to %1:%2").arg(g.host).arg(port) : what;
  if (!wait_for(j, shown, 0)) {
    g.last = wire_status{wire_result::cancelled, true, QString()};
    return false;
  }
  bool ok = false;
  loss why = loss::none;
  int error = 0;
  {
    std::lock_guard lk(shared->mu);
    ok = j->ok;
    why = j->why;
    error = j->error;
  }
  // A refused login has no reason; one that never reached the server or got no answer has.
  g.last = wire_status{ok ? wire_result::ok : wire_result::lost, true,
                       why == loss::none ? QString() : loss_reason(why, error)};
  set_connected(ok);
  return ok;
}

datas* wire_exec(const char* text, int32_t len, const QString& what) {
  gui_state& g = gui();
  if (!g.started) {
    datas* d = exec(text, len);
    g.last = wire_status{d ? wire_result::ok : wire_result::refused, true, QString()};
    return d;
  }
  if (g.waiting) {
    g.last = wire_status{wire_result::busy, false, QString()};
    return nullptr;
  }
  if (!g.connected) {
    g.last = wire_status{wire_result::closed, false, QString()};
    return nullptr;
  }
  if (len < 0) {  // refused by the library before anything is sent
    g.last = wire_status{wire_result::refused, false, QString()};
    return nullptr;
  }
  auto j = std::make_shared<job>();
  j->kind = job_kind::exec;
  if (text) j->text.assign(text, size_t(len));
  {
    std::lock_guard lk(shared->mu);
    j->address_be = shared->address_be;
    j->port = shared->port;
  }
  const uint64_t before = received_now();
  submit(j);
  if (!wait_for(j, what.isEmpty() ? first_line(text, len) : what, before)) {
    bool started = true;
    {
      std::lock_guard lk(shared->mu);
      started = j->started;
    }
    g.last = wire_status{wire_result::cancelled, started, QString()};
    set_connected(false);
    return nullptr;
  }
  datas* result = nullptr;
  loss why = loss::none;
  int error = 0;
  {
    std::lock_guard lk(shared->mu);
    result = j->result;
    j->result = nullptr;
    why = j->why;
    error = j->error;
  }
  if (result) {
    g.last = wire_status{wire_result::ok, true, QString()};
  } else if (why != loss::none) {
    g.last = wire_status{wire_result::lost, true, loss_reason(why, error)};
    set_connected(false);
  } else {
    g.last = wire_status{wire_result::refused, true, QString()};
  }
  return result;
}

void wire_exit() {
  gui_state& g = gui();
  if (!g.started) {
    exit_to_server();
    return;
  }
  if (g.waiting) {
    g.last = wire_status{wire_result::busy, false, QString()};
    return;
  }
  auto j = std::make_shared<job>();
  j->kind = job_kind::exit;
  submit(j);
  g.last = wire_status{wire_result::closed, false, QString()};
  set_connected(false);
  wait_for(j, QCoreApplication::translate("wire_wait_dlg", "logging out"), 0);  // a logout counts no bytes
}

bool wire_connected() { return gui().connected; }
const wire_status& wire_last() { return gui().last; }
QString wire_address() { return gui().host + QLatin1Char(':') + QString::number(gui().port); }

QString wire_failure_text() {
  const gui_state& g = gui();
  switch (g.last.result) {
    case wire_result::lost:
      return QCoreApplication::translate("wire_events", "the connection to %1:%2 was lost: %3").arg(g.host, QString::number(g.port), g.last.reason);
    case wire_result::cancelled:
      return QCoreApplication::translate("wire_events", "the wait for the server was cancelled, the connection is closed.");
    case wire_result::closed:
      return QCoreApplication::translate("wire_events", "there is no connection to the server.");
    case wire_result::busy:
      return QCoreApplication::translate("wire_events", "another exchange with the server is under way.");
    case wire_result::ok:
    case wire_result::refused:
      break;
  }
  return QString();
}

void set_wire_parent(QWidget* parent) { gui().parent = parent; }
bool wire_waiting() { return gui().waiting != nullptr; }
void wire_cancel() { cancel_wait(); }
void set_wire_dialog_delay_ms(int ms) { dialog_delay_ms = ms < 0 ? 0 : ms; }

}  // namespace ruv
