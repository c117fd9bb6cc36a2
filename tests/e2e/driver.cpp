// The user of the end-to-end session: loaded into the real program with LD_PRELOAD, it starts
// with the program's QApplication and plays one phase of the session on the real windows,
// with keys and clicks sent through QTest, as a person at the screen would. It knows the
// program only by what a person sees and by the object names of its widgets and actions.
//
// Environment: E2E_PHASE (1: first start, 2: start again), E2E_OUT (the folder for the
// verdict, the step log and the pictures), E2E_PORT (the server's port), E2E_WORK (the
// program's working folder, holding the scripts), E2E_SERVER_LOG (the server's statement
// log, "ok: ..." or "FAIL: ..." a line, written before each reply: a step checks what the
// server received since a mark it set before acting).
//
// Steps run one after another from a polling timer: each waits until what it needs is on the
// screen (within its time limit), then acts. An act that opens a modal window does not return
// until that window closes; the timer goes on inside the window's event loop, so the next
// steps answer it. The first failed check or timed-out wait ends the program at once with
// "FAIL ..." in E2E_OUT/verdict_<phase>; a phase played to its end writes "PASS" there.
#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

// --- the session's facts ----------------------------------------------------------------------

const QString user_name = QStringLiteral("demo");
const QString password = QStringLiteral("e2e-Secret-7");
const QString table = QStringLiteral("e2e_stock");
// The text typed into the new script, left unsaved until the window closes.
const QString notes_text = QStringLiteral("# stock after the edits\nselect * from e2e_stock;\n");

// (Doubles show in the grids with 17 decimals: 0.1 as 0.10000000000000001.)

struct failure {
  QString what;
};

[[noreturn]] void fail(const QString& what) { throw failure{what}; }

void expect(bool ok, const QString& what) {
  if (!ok) fail(what);
}

void expect_eq(const QString& got, const QString& want, const QString& what) {
  if (got != want) fail(QStringLiteral("%1: got \"%2\", want \"%3\"").arg(what, got, want));
}

void expect_eq(const QStringList& got, const QStringList& want, const QString& what) {
  if (got != want)
    fail(QStringLiteral("%1: got [%2], want [%3]").arg(what, got.join(QStringLiteral(" | ")),
                                                        want.join(QStringLiteral(" | "))));
}

void expect_eq(long long got, long long want, const QString& what) {
  if (got != want) fail(QStringLiteral("%1: got %2, want %3").arg(what).arg(got).arg(want));
}

// --- finding what is on the screen ----------------------------------------------------------

template <class T>
T* top_level(const char* name) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* t = qobject_cast<T*>(w); t && t->isVisible() && t->objectName() == QLatin1String(name)) return t;
  return nullptr;
}

template <class T>
T* child(QObject* in, const char* name) {
  if (!in) fail(QStringLiteral("no window to look for \"%1\" in").arg(QLatin1String(name)));
  T* c = in->findChild<T*>(QLatin1String(name));
  if (!c) fail(QStringLiteral("no \"%1\" in %2").arg(QLatin1String(name), in->objectName()));
  return c;
}

template <class T>
T* modal() {
  return qobject_cast<T*>(QApplication::activeModalWidget());
}

// The message box on top; null when there is none (or another modal window is on top).
QMessageBox* box() {
  auto* b = modal<QMessageBox>();
  return b && b->isVisible() ? b : nullptr;
}

QMenu* popup_menu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

QString cell(const QTableView* v, int row, int column) {
  const QAbstractItemModel* m = v->model();
  return m->data(m->index(row, column), Qt::DisplayRole).toString();
}

QStringList row_texts(const QTableView* v, int row) {
  QStringList out;
  for (int c = 0; c < v->model()->columnCount(); ++c) out << cell(v, row, c);
  return out;
}

QStringList column_texts(const QTableView* v, int column) {
  QStringList out;
  for (int r = 0; r < v->model()->rowCount(); ++r) out << cell(v, r, column);
  return out;
}

QStringList header_texts(const QTableView* v) {
  QStringList out;
  for (int c = 0; c < v->model()->columnCount(); ++c)
    out << v->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
  return out;
}

QStringList tab_texts(const QTabWidget* t) {
  QStringList out;
  for (int i = 0; i < t->count(); ++i) out << t->tabText(i);
  return out;
}

QStringList child_texts(const QTreeWidgetItem* it) {
  QStringList out;
  for (int i = 0; it && i < it->childCount(); ++i) out << it->child(i)->text(0);
  return out;
}

// --- acting as the user ----------------------------------------------------------------------

void click(QWidget* w, QPoint at = QPoint()) {
  expect(w->isVisible() && w->isEnabled(), QStringLiteral("\"%1\" is not there to click").arg(w->objectName()));
  QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at.isNull() ? w->rect().center() : at);
}

// Keys go where the keyboard is: to an open popup (a completion list holds the keyboard
// while it shows, and hands on what it does not take), else to the widget.
QWidget* key_target(QWidget* w) {
  QWidget* popup = QApplication::activePopupWidget();
  return popup ? popup : w;
}

void type(QWidget* w, const QString& text) {
  for (QChar c : text) QTest::keyClick(key_target(w), c.toLatin1());
}

void key(QWidget* w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(key_target(w), k, m); }

// A click on the box's button of that role; the box goes.
void answer(QMessageBox* b, QMessageBox::StandardButton which) {
  QAbstractButton* button = b->button(which);
  expect(button != nullptr, QStringLiteral("the box \"%1\" has no such button").arg(b->text()));
  click(button);
}

// A right click on a widget: the press selects, the window system then sends the context menu
// event (posted: the menu runs its own event loop).
void right_click(QWidget* w, QPoint at) {
  QTest::mouseClick(w, Qt::RightButton, Qt::NoModifier, at);
  QCoreApplication::postEvent(w, new QContextMenuEvent(QContextMenuEvent::Mouse, at, w->mapToGlobal(at)));
}

void click_menu_action(QMenu* menu, const char* action_name) {
  for (QAction* a : menu->actions()) {
    if (a->objectName() != QLatin1String(action_name)) continue;
    expect(a->isVisible() && a->isEnabled(), QStringLiteral("menu entry \"%1\" is not enabled").arg(a->text()));
    const QPoint at = menu->actionGeometry(a).center();
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, at);
    return;
  }
  QStringList names;
  for (QAction* a : menu->actions()) names << a->objectName();
  fail(QStringLiteral("the menu has no \"%1\" (it has %2)").arg(QLatin1String(action_name), names.join(QLatin1Char(' '))));
}

// A click on the round or square mark of a radio button or check box (the widget may be wider
// than its mark and text, and a click beside them is no click on the button).
void click_mark(QAbstractButton* b) {
  QStyleOptionButton o;
  o.initFrom(b);
  o.text = b->text();
  o.icon = b->icon();
  o.iconSize = b->iconSize();
  const bool radio = qobject_cast<QRadioButton*>(b) != nullptr;
  const QRect r = b->style()->subElementRect(radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &o, b);
  expect(r.isValid(), QStringLiteral("\"%1\" shows no mark").arg(b->text()));
  click(b, r.center());
}

// A click on the check box in the title of a checkable group box.
void click_group_check(QGroupBox* g) {
  QStyleOptionGroupBox o;
  o.initFrom(g);
  o.text = g->title();
  o.lineWidth = 1;
  o.midLineWidth = 0;
  o.textAlignment = Qt::Alignment(g->alignment());
  o.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxCheckBox;
  if (!g->title().isEmpty()) o.subControls |= QStyle::SC_GroupBoxLabel;
  o.state |= g->isChecked() ? QStyle::State_On : QStyle::State_Off;
  const QRect r = g->style()->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxCheckBox, g);
  expect(r.isValid(), QStringLiteral("group box \"%1\" shows no check box").arg(g->title()));
  click(g, r.center());
}

// The editor of a grid cell: a click on the cell (unless it is current already: a second
// click would start editing on its own), F2, all selected, the text typed, Return.
void edit_cell(QTableView* v, int row, int column, const QString& text) {
  const QModelIndex i = v->model()->index(row, column);
  expect(i.isValid(), QStringLiteral("no cell %1,%2 in the grid").arg(row).arg(column));
  v->scrollTo(i);
  if (v->currentIndex() != i) click(v->viewport(), v->visualRect(i).center());
  expect(v->currentIndex() == i, QStringLiteral("the click did not make cell %1,%2 current").arg(row).arg(column));
  key(v, Qt::Key_F2);
  QLineEdit* editor = nullptr;
  for (QLineEdit* e : v->viewport()->findChildren<QLineEdit*>())
    if (e->isVisible()) editor = e;
  expect(editor != nullptr, QStringLiteral("F2 opened no editor on cell %1,%2").arg(row).arg(column));
  key(editor, Qt::Key_A, Qt::ControlModifier);
  type(editor, text);
  key(editor, Qt::Key_Return);  // the delegate commits from a queued call
}

bool editing(const QTableView* v) {
  for (QLineEdit* e : v->viewport()->findChildren<QLineEdit*>())
    if (e->isVisible()) return true;
  return false;
}

// --- the window manager's part ---------------------------------------------------------------

// The display has no window manager: this does the little of its work the session needs. A
// window asking to be maximized gets the screen, and the keyboard goes to the window on top
// (the modal one, else the last shown) whenever a window comes or goes, as a window manager
// gives it to a new window and back to its parent when a dialog closes.
class window_manager : public QObject {
 public:
  explicit window_manager(QObject* parent) : QObject(parent) { qApp->installEventFilter(this); }

  bool eventFilter(QObject* o, QEvent* e) override {
    if ((e->type() == QEvent::Show || e->type() == QEvent::Hide) && o->isWidgetType()) {
      auto* w = static_cast<QWidget*>(o);
      const Qt::WindowType kind = w->windowType();
      if (w->isWindow() && kind != Qt::Popup && kind != Qt::ToolTip && kind != Qt::SplashScreen) {
        shown_.removeAll(w);
        if (e->type() == QEvent::Show) shown_.append(w);
        QTimer::singleShot(0, this, [this] { settle(); });
      }
    }
    return false;
  }

 private:
  void settle() {
    shown_.removeAll(nullptr);
    QWidget* top = QApplication::activeModalWidget();
    for (int i = shown_.size() - 1; !top && i >= 0; --i)
      if (shown_[i]->isVisible()) top = shown_[i];
    if (!top) return;
    if (top->windowState() & Qt::WindowMaximized) {
      const QRect screen = top->screen()->availableGeometry();
      if (top->geometry() != screen) top->setGeometry(screen);
    }
    if (!top->isActiveWindow()) {
      top->raise();
      top->activateWindow();
    }
  }

  QList<QPointer<QWidget>> shown_;
};

// --- the step engine ---------------------------------------------------------------------------

struct step {
  QString name;
  std::function<bool()> ready;  // polled until true
  std::function<void()> act;
  int limit_ms = 10000;
};

class session : public QObject {
 public:
  session(int phase, QString out, QString work, QString server_log, int port)
      : QObject(qApp),
        phase_(phase),
        out_(std::move(out)),
        work_(std::move(work)),
        server_log_(std::move(server_log)),
        port_(port) {
    QDir().mkpath(out_ + QStringLiteral("/shots"));
    log_.setFileName(QStringLiteral("%1/driver_%2.log").arg(out_).arg(phase_));
    (void)log_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
    QFile::remove(verdict_path());
    mark_server();  // phase 2 starts after what the first start sent
    if (phase_ == 1) first_start();
    else second_start();
    clock_.start();
    since_.start();
    connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
    timer_.start(40);
  }

 private:
  QString verdict_path() const { return QStringLiteral("%1/verdict_%2").arg(out_).arg(phase_); }

  void note(const QString& text) {
    log_.write(QStringLiteral("%1 ms  %2\n").arg(clock_.elapsed(), 6).arg(text).toUtf8());
    log_.flush();
  }

  void add(QString name, std::function<bool()> ready, std::function<void()> act, int limit_ms = 10000) {
    steps_.push_back({std::move(name), std::move(ready), std::move(act), limit_ms});
  }

  // The whole screen as the user sees it.
  void shot(const QString& name) {
    const QString path = QStringLiteral("%1/shots/%2_%3.png").arg(out_).arg(phase_).arg(name);
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s || !s->grabWindow(0).save(path)) note(QStringLiteral("picture %1 not written").arg(path));
  }

  // Called by the polling timer. A step's act runs from a queued call of its own, not inside
  // the timer's handler (Qt does not fire a timer again while its handler runs), so the timer
  // goes on polling while an act waits in the event loop of a modal window it opened.
  void tick() {
    if (done_ || act_queued_ || next_ >= steps_.size()) return;
    const size_t at = next_;
    try {
      if (!steps_[at].ready()) {
        if (since_.elapsed() > steps_[at].limit_ms) fail(QStringLiteral("waited %1 ms in vain").arg(steps_[at].limit_ms));
        return;
      }
    } catch (const failure& f) {
      finish_failed(steps_[at].name, f.what);
    }
    ++next_;
    act_queued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this, at] {
          act_queued_ = false;
          note(QStringLiteral("step %1: %2").arg(at + 1).arg(steps_[at].name));
          since_.restart();
          try {
            steps_[at].act();
          } catch (const failure& f) {
            finish_failed(steps_[at].name, f.what);
          }
        },
        Qt::QueuedConnection);
  }

  void finish_failed(const QString& step_name, const QString& what) {
    if (done_) return;
    done_ = true;
    const QString text = QStringLiteral("FAIL phase %1, step \"%2\": %3").arg(phase_).arg(step_name, what);
    note(text);
    shot(QStringLiteral("failed"));
    write_verdict(text);
    std::fprintf(stderr, "%s\n", qPrintable(text));
    std::fflush(nullptr);
    std::_Exit(3);
  }

  void write_verdict(const QString& text) {
    QFile v(verdict_path());
    if (v.open(QIODevice::WriteOnly | QIODevice::Truncate)) v.write(text.toUtf8() + '\n');
  }

  // The last step of a phase: the verdict, then the window is closed as the user does.
  void passed() {
    note(QStringLiteral("PASS"));
    write_verdict(QStringLiteral("PASS"));
  }

  // --- what the server received -------------------------------------------------------------

  QStringList server_lines() const {
    QFile f(server_log_);
    if (!f.open(QIODevice::ReadOnly)) fail(QStringLiteral("the server's log %1 cannot be read").arg(server_log_));
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
  }

  // What a step checks later starts after the statements received so far.
  void mark_server() { server_mark_ = server_lines().size(); }

  // The statements received since the mark, in order, each matching its pattern whole; with
  // `exactly`, nothing else was received.
  void expect_server(const QStringList& patterns, const QString& what, bool exactly) {
    const QStringList got = server_lines().mid(server_mark_);
    int at = 0;
    for (const QString& p : patterns) {
      const QRegularExpression re(QRegularExpression::anchoredPattern(p));
      while (at < got.size() && !re.match(got[at]).hasMatch()) {
        if (exactly) break;
        ++at;
      }
      if (at == got.size() || !re.match(got[at]).hasMatch())
        fail(QStringLiteral("%1: the server did not receive /%2/ in its place; it received:\n  %3")
                 .arg(what, p, got.join(QStringLiteral("\n  "))));
      ++at;
    }
    if (exactly && at != got.size())
      fail(QStringLiteral("%1: the server received more: %2").arg(what, got.mid(at).join(QStringLiteral("\n  "))));
  }

  // --- what both phases share --------------------------------------------------------------

  QDialog* login() const { return top_level<QDialog>("login_dlg"); }
  QMainWindow* window() const { return top_level<QMainWindow>("MainWindow"); }
  QTreeWidget* tree() const { return child<QTreeWidget>(window(), "treeWidget"); }
  QTabWidget* tabs() const { return child<QTabWidget>(window(), "tabWidget"); }
  QTextEdit* log_pane() const { return child<QTextEdit>(window(), "textEdit"); }
  QWidget* current_page() const { return tabs()->currentWidget(); }
  // The window's shortcuts reach it: it is the active window and no modal window is open.
  bool keyboard_ready() const {
    return window() && window()->isActiveWindow() && !QApplication::activeModalWidget() && !popup_menu();
  }
  bool page_is(const char* class_name) const {
    QWidget* p = window() ? tabs()->currentWidget() : nullptr;
    return p && p->inherits(class_name);
  }
  QWidget* script_editor() const { return child<QWidget>(current_page(), "sql script editor"); }
  QTabWidget* result_tabs() const { return child<QTabWidget>(current_page(), "tabWidget"); }

  // The editor's text as the user gets it: select all, copy, read the clipboard, Escape.
  QString editor_text() {
    QWidget* e = script_editor();
    QApplication::clipboard()->clear();
    key(e, Qt::Key_A, Qt::ControlModifier);
    key(e, Qt::Key_C, Qt::ControlModifier);
    key(e, Qt::Key_Escape);  // the selection goes
    return QApplication::clipboard()->text();
  }

  // The program's own file dialog, open, with the keyboard in its name field (the user types
  // once the dialog has the keyboard: typed before, the dialog's own completion of the name
  // can still overwrite it).
  bool file_dialog_ready() const {
    auto* d = modal<QFileDialog>();
    if (!d || !d->isVisible() || !d->isActiveWindow()) return false;
    auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    return name && name->hasFocus();
  }

  // A file chosen there: the dialog opens in the working folder, the name is typed, Return.
  void choose_file(const QString& title, const QString& file_name) {
    auto* d = modal<QFileDialog>();
    expect(d != nullptr, QStringLiteral("no file dialog"));
    expect_eq(d->windowTitle(), title, "file dialog title");
    expect_eq(d->directory().absolutePath(), work_, "the folder the file dialog shows");
    QLineEdit* name = child<QLineEdit>(d, "fileNameEdit");
    key(name, Qt::Key_A, Qt::ControlModifier);
    type(name, file_name);
    expect_eq(name->text(), file_name, "typed file name");
    key(name, Qt::Key_Return);
  }

  QTreeWidgetItem* tree_root() const { return tree()->topLevelItem(0); }
  QTreeWidgetItem* table_item(const QString& name) const {
    QTreeWidgetItem* root = tree_root();
    for (int i = 0; root && i < root->childCount(); ++i)
      if (root->child(i)->text(0) == name) return root->child(i);
    return nullptr;
  }

  // --- phase 1: the first start -------------------------------------------------------------

  void first_start() {
    const QString script = work_ + QStringLiteral("/session.sql");
    const QString export_path = work_ + QStringLiteral("/stock_export.csv");

    add("the login dialog shows the defaults of a start without configuration", [this] { return login() != nullptr; },
        [this] {
          QDialog* d = login();
          expect_eq(child<QLineEdit>(d, "le_ip")->text(), "127.0.0.1", "address");
          expect_eq(child<QLineEdit>(d, "le_port")->text(), "55555", "port");
          expect_eq(child<QLineEdit>(d, "le_user")->text(), "", "user");
          expect_eq(child<QLineEdit>(d, "le_passwd")->text(), "", "password");
          expect(child<QLineEdit>(d, "le_passwd")->echoMode() == QLineEdit::Password, "the password is shown");
          expect(!child<QCheckBox>(d, "checkBox")->isChecked(), "\"set as default\" is checked without a user");
          shot("01_login_defaults");
        });
    add("type the login and keep it as the default", [this] { return login()->isActiveWindow(); }, [this] {
      QDialog* d = login();
      auto* user = child<QLineEdit>(d, "le_user");
      click(user);
      type(user, user_name);
      auto* pw = child<QLineEdit>(d, "le_passwd");
      click(pw);
      type(pw, password);
      auto* port = child<QLineEdit>(d, "le_port");
      click(port);
      key(port, Qt::Key_A, Qt::ControlModifier);
      type(port, QString::number(port_));
      expect_eq(port->text(), QString::number(port_), "port typed");
      expect_eq(child<QLabel>(d, "lbl_portinfo")->text(), "", "port warning");
      auto* keep = child<QCheckBox>(d, "checkBox");
      click_mark(keep);
      expect(keep->isChecked(), "the click did not check \"set as default\"");
      expect_eq(pw->text(), password, "password typed");
      shot("02_login_typed");
    });
    add("log in", [] { return true; }, [this] { click(child<QPushButton>(login(), "pb_login")); });
    add("the main window shows the database tree", [this] { return window() && !login(); }, [this] {
      QTreeWidgetItem* root = tree_root();
      expect(root != nullptr, "the tree is empty");
      expect_eq(tree()->topLevelItemCount(), 1, "databases in the tree");
      expect_eq(root->text(0), "ruv_mdb", "database");
      expect(root->isExpanded(), "the database is not expanded");
      expect_eq(child_texts(root), {"all_types", "customers", "orders", "big"}, "tables");
      expect_eq(child_texts(table_item("orders")),
                {"order_id", "customer", "qty", "price", "placed", "pickup", "note"}, "fields of orders");
      expect_eq(tabs()->count(), 0, "tabs");
      expect_server({"ok: show tables;", "ok: fields_of all_types;", "ok: fields_of customers;", "ok: fields_of orders;",
                     "ok: fields_of big;"},
                    "the tree's reading", true);
    });
    add("the window has the keyboard", [this] { return keyboard_ready(); }, [this] { shot("03_main_window"); });

    add("open the script with ctrl+o", [] { return true; }, [this] { key(tree(), Qt::Key_O, Qt::ControlModifier); });
    add("choose it in the file dialog", [this] { return file_dialog_ready(); },
        [this] { choose_file("open sql file to script editor", "session.sql"); });
    add("the script is open in its tab", [this] { return page_is("ruv::sql_script_editor"); }, [this, script] {
      expect_eq(tab_texts(tabs()), {"session.sql"}, "tabs");
      QFile f(script);
      expect(f.open(QIODevice::ReadOnly), "the script file cannot be read");
      expect_eq(editor_text(), QString::fromUtf8(f.readAll()), "script text in the editor");
      shot("04_script_open");
    });
    add("run it with ctrl+return", [this] { return keyboard_ready(); },
        [this] {
          mark_server();
          key(script_editor(), Qt::Key_Return, Qt::ControlModifier);
        });
    add("the run stops at the failing statement and says which", [] { return box() != nullptr; }, [this] {
      expect_server({R"(ok: create table e2e_stock \( id u32\( false \), name string\( false \), qty i16\( false \), )"
                     R"(price double\( false \), day date\( false \) \);)",
                     R"(ok: insert into e2e_stock \( id, name, qty, price, day \) values \( 1, "bolt", 10, 0\.25, )"
                     R"("2024-01-05" \), .*\( 4, "screw", 40, 0\.5, "2024-04-20" \);)",
                     R"(ok: select \* from e2e_stock where qty >= 7;)",
                     R"(FAIL: insert into e2e_missing \( id, name \) values \( 1, "x" \);)"},
                    "the script's run up to the box", true);
      expect_eq(box()->text(),
                "the sql \"insert into e2e_missing ( id, name ) values ( 1, \"x\" );\" execute failed!",
                "failure box");
      shot("05_script_failed");
      answer(box(), QMessageBox::Ok);
    });
    add("the results before the failure and the new table are shown", [] { return !box(); }, [this] {
      QTabWidget* results = result_tabs();
      expect(results->isVisible(), "the result tabs are hidden");
      expect_eq(tab_texts(results), {"select * from e2e_stock where qty >= 7;"}, "result tabs");
      auto* grid = qobject_cast<QTableView*>(results->widget(0));
      expect(grid != nullptr, "the result tab holds no grid");
      expect_eq(header_texts(grid), {"id", "name", "qty", "price", "day"}, "result columns");
      expect_eq(column_texts(grid, 1), {"bolt", "nut", "washer", "screw"}, "result names");
      expect_eq(row_texts(grid, 0), {"1", "bolt", "10", "0.25000000000000000", "2024-01-05"}, "first result row");
      const QString log = log_pane()->toPlainText();
      expect(log.contains("e2e_missing"), "the log does not show the failed statement");
      expect(!log.contains("never"), "the log shows a statement after the failure");
      QTreeWidgetItem* t = table_item(table);
      expect(t != nullptr, "the tree does not show the new table");
      expect_eq(child_texts(tree_root()).last(), table, "last table");
      shot("06_script_results");
    });

    add("right click the table in the tree", [] { return true; }, [this] {
      mark_server();
      QTreeWidgetItem* t = table_item(table);
      tree()->scrollToItem(t);
      right_click(tree()->viewport(), tree()->visualItemRect(t).center());
    });
    add("choose \"view data\" in its menu", [] { return popup_menu() != nullptr; }, [this] {
      expect_eq(tree()->currentItem() ? tree()->currentItem()->text(0) : QString(), table, "current tree item");
      shot("07_tree_menu");
      click_menu_action(popup_menu(), "view_data_act");
    });
    add("the table's data opens in a tab", [this] { return page_is("data_view"); }, [this] {
      expect_eq(tabs()->count(), 2, "tabs");
      expect(tabs()->tabText(1).contains(table), QStringLiteral("data tab title \"%1\"").arg(tabs()->tabText(1)));
      expect_eq(child<QLineEdit>(current_page(), "table_le")->text(), table, "table name");
      QTableView* grid = data_grid();
      expect_eq(header_texts(grid), {"id", "name", "qty", "price", "day"}, "columns");
      expect_eq(column_texts(grid, 1), {"bolt", "nut", "washer", "screw"}, "names");
      expect_eq(row_texts(grid, 3), {"4", "screw", "40", "0.50000000000000000", "2024-04-20"}, "last row");
      expect(!child<QPushButton>(current_page(), "apply_btn")->isEnabled(), "apply is enabled before any edit");
      expect_server({"ok: fields_of e2e_stock;", "ok: select id, name, qty, price, day from e2e_stock where first 1000;"},
                    "the data view's load", true);
      shot("08_data_view");
    });
    add("type a filter", [] { return true; }, [this] {
      QLineEdit* f = child<QComboBox>(current_page(), "filter_cb")->lineEdit();
      mark_server();
      click(f);
      type(f, QStringLiteral("qty > 8"));
    });
    add("the grid shows the rows that pass", [this] { return data_grid()->model()->rowCount() == 3; }, [this] {
      expect_eq(column_texts(data_grid(), 1), {"bolt", "nut", "screw"}, "filtered names");
      expect_server({"ok: select id, name, qty, price, day from e2e_stock where first 1000 && qty > 8;"}, "the filter",
                    false);
      mark_server();  // the edits send nothing until they are applied
      shot("09_filtered");
    });
    add_cell_edit("edit a cell", 1, 2, "30");
    add("the edit waits to be applied", [] { return true; }, [this] {
      expect(child<QPushButton>(current_page(), "apply_btn")->isEnabled(), "apply is not enabled after an edit");
    });
    add("insert a row", [] { return true; }, [this] {
      QTableView* grid = data_grid();
      click(child<QPushButton>(current_page(), "add_btn"));
      expect_eq(grid->model()->rowCount(), 4, "rows after +");
      expect_eq(grid->currentIndex().row(), 3, "current row after +");
      expect_eq(row_texts(grid, 3), {"0", "abc", "0", "0.00000000000000000", "2019-04-23"}, "new row before typing");
    });
    add_cell_edit("type the new row's id", 3, 0, "5");
    add_cell_edit("type its name", 3, 1, "rivet");
    add_cell_edit("type its quantity", 3, 2, "12");
    add_cell_edit("type its price", 3, 3, "0.75", "0.75000000000000000");
    add("the new row holds what was typed", [] { return true; }, [this] {
      expect_eq(row_texts(data_grid(), 3), {"5", "rivet", "12", "0.75000000000000000", "2019-04-23"}, "new row");
    });
    add("delete a row", [] { return true; }, [this] {
      QTableView* grid = data_grid();
      const QModelIndex screw = grid->model()->index(2, 1);
      expect_eq(cell(grid, 2, 1), "screw", "row to delete");
      click(grid->viewport(), grid->visualRect(screw).center());
      click(child<QPushButton>(current_page(), "delete_btn"));
      expect_eq(column_texts(grid, 1), {"bolt", "nut", "rivet"}, "names after -");
      shot("10_edited");
    });
    add("apply", [] { return true; }, [this] { click(child<QPushButton>(current_page(), "apply_btn")); });
    add("the grid shows the server's rows after the apply",
        [this] { return !box() && !child<QPushButton>(current_page(), "apply_btn")->isEnabled(); }, [this] {
          QTableView* grid = data_grid();
          expect_eq(grid->model()->rowCount(), 3, "rows after apply");
          expect_eq(row_texts(grid, 0), {"1", "bolt", "10", "0.25000000000000000", "2024-01-05"}, "row 1 after apply");
          expect_eq(row_texts(grid, 1), {"2", "nut", "30", "0.10000000000000001", "2024-02-10"}, "row 2 after apply");
          expect_eq(row_texts(grid, 2), {"5", "rivet", "12", "0.75000000000000000", "2019-04-23"}, "row 3 after apply");
          expect_server({R"(ok: atom_exec +update e2e_stock set qty = 30 where __id == \d+; *)"
                         R"(insert into e2e_stock \( id, name, qty, price, day \) values \( 5, "rivet", 12, 0\.75, )"
                         R"("2019-04-23" \); *delete from e2e_stock where __id == \d+; *commit;)",
                         "ok: select id, name, qty, price, day from e2e_stock where first 1000 && qty > 8;"},
                        "the edits since the filter: one batch at the apply, then the reload", true);
          shot("11_applied");
        });

    add("export the view", [] { return true; }, [this] { click(child<QPushButton>(current_page(), "export_btn")); });
    add("the export dialog asks where", [] { return modal<QDialog>() && modal<QDialog>()->objectName() == "import_csv_dlg"; },
        [this] {
          QDialog* d = modal<QDialog>();
          expect_eq(d->windowTitle(), "export view data", "export dialog title");
          expect(child<QGroupBox>(d, "s_gb")->isChecked(), "server mode is not the first choice");
          expect(!child<QGroupBox>(d, "c_gb")->isChecked(), "client mode is chosen already");
          expect(child<QRadioButton>(d, "csv_rb")->isChecked(), "csv is not the first format");
          click_group_check(child<QGroupBox>(d, "c_gb"));
        });
    add("client mode warns about memory", [] { return box() != nullptr; }, [this] {
      expect(box()->text().contains("big memory"), QStringLiteral("client mode box: %1").arg(box()->text()));
      answer(box(), QMessageBox::Yes);
    });
    add("choose the local file", [] { return modal<QDialog>() && modal<QDialog>()->objectName() == "import_csv_dlg"; },
        [this] {
          QDialog* d = modal<QDialog>();
          expect(child<QGroupBox>(d, "c_gb")->isChecked(), "client mode is not chosen after Yes");
          expect(!child<QGroupBox>(d, "s_gb")->isChecked(), "server mode is still chosen");
          click(child<QToolButton>(d, "path_tb"));
        });
    add("type the file name", [this] { return file_dialog_ready(); },
        [this] { choose_file("set export csv/csvs file", "stock_export.csv"); });
    add("accept the export", [] { return modal<QDialog>() && modal<QDialog>()->objectName() == "import_csv_dlg"; },
        [this, export_path] {
          QDialog* d = modal<QDialog>();
          expect_eq(child<QLineEdit>(d, "c_path_le")->text(), export_path, "client path");
          shot("12_export_dialog");
          mark_server();
          click(child<QDialogButtonBox>(d, "buttonBox")->button(QDialogButtonBox::Ok));
        });
    add("the export says it succeeded", [] { return box() != nullptr; }, [this, export_path] {
      expect_eq(box()->text(), QStringLiteral("export table '%1' to file '%2' is successful!").arg(table, export_path),
                "export box");
      expect_server({R"(ok: select id, name, qty, price, day from e2e_stock where first 1000 && qty > 8 )"
                     R"(export as csv split by "," as raw;)"},
                    "the export", true);
      answer(box(), QMessageBox::Ok);
    });

    // The whole table from the tree's menu: csvs (a header line) split by ";", client mode.
    add("right click the table in the tree again", [this] { return keyboard_ready(); }, [this] {
      QTreeWidgetItem* t = table_item(table);
      tree()->scrollToItem(t);
      right_click(tree()->viewport(), tree()->visualItemRect(t).center());
    });
    add("choose \"export\" in its menu", [] { return popup_menu() != nullptr; },
        [this] { click_menu_action(popup_menu(), "export_act"); });
    add("the table's export dialog", [] { return modal<QDialog>() && modal<QDialog>()->objectName() == "import_csv_dlg"; },
        [this] {
          QDialog* d = modal<QDialog>();
          expect_eq(d->windowTitle(), QStringLiteral("export table: %1 to csv/csvs file").arg(table), "export dialog title");
          const QString preset = child<QLineEdit>(d, "c_path_le")->text();
          expect(QRegularExpression(QStringLiteral("^e2e_stock_\\d\\d-\\d\\d-\\d\\d_\\d\\d_\\d\\d_\\d\\d\\.csv$"))
                     .match(preset)
                     .hasMatch(),
                 QStringLiteral("preset file name \"%1\"").arg(preset));
          click_group_check(child<QGroupBox>(d, "c_gb"));
        });
    add("client mode warns again", [] { return box() != nullptr; }, [this] {
      expect(box()->text().contains("big memory"), QStringLiteral("client mode box: %1").arg(box()->text()));
      answer(box(), QMessageBox::Yes);
    });
    add("choose csvs split by \";\" and the local file",
        [] { return modal<QDialog>() && modal<QDialog>()->objectName() == "import_csv_dlg"; }, [this] {
          QDialog* d = modal<QDialog>();
          click_mark(child<QRadioButton>(d, "csvs_rb"));
          expect(child<QRadioButton>(d, "csvs_rb")->isChecked(), "csvs is not chosen after the click");
          auto* sep = child<QComboBox>(d, "sp_cmb");
          key(sep, Qt::Key_Down);
          expect_eq(sep->currentText(), ";", "separator after one step down");
          click(child<QToolButton>(d, "path_tb"));
        });
    add("type the file name for the table", [this] { return file_dialog_ready(); },
        [this] { choose_file("set export csv/csvs file", "stock_all.csvs"); });
    add("accept the table's export",
        [] { return modal<QDialog>() && modal<QDialog>()->objectName() == "import_csv_dlg"; }, [this] {
          QDialog* d = modal<QDialog>();
          expect_eq(child<QLineEdit>(d, "c_path_le")->text(), work_ + "/stock_all.csvs", "client path");
          shot("13_table_export_dialog");
          mark_server();
          click(child<QDialogButtonBox>(d, "buttonBox")->button(QDialogButtonBox::Ok));
        });
    add("the table's export says it succeeded", [] { return box() != nullptr; }, [this] {
      expect_eq(box()->text(),
                QStringLiteral("export table '%1' to file '%2' is successful!").arg(table, work_ + "/stock_all.csvs"),
                "export box");
      expect_server({R"(ok: select \* from e2e_stock export as csvs split by ";" as raw;)"}, "the table's export", true);
      answer(box(), QMessageBox::Ok);
    });

    add("a new script with ctrl+n", [this] { return keyboard_ready(); },
        [this] { key(tabs(), Qt::Key_N, Qt::ControlModifier); });
    add("name it in the file dialog", [this] { return file_dialog_ready(); },
        [this] { choose_file("set sql file's location", "notes.sql"); });
    add("type into the new script", [this] { return page_is("ruv::sql_script_editor") && tabs()->count() == 3; },
        [this] {
          expect_eq(tab_texts(tabs()).last(), "notes.sql", "new tab");
          QWidget* e = script_editor();
          for (const QString& line : notes_text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            type(e, line);
            key(e, Qt::Key_Escape);  // closes a completion list, if one opened
            key(e, Qt::Key_Return);
          }
          expect_eq(editor_text(), notes_text, "typed script");
          shot("14_before_quit");
        });
    add("quit with ctrl+q, the new script unsaved", [this] { return keyboard_ready(); }, [this] {
      passed();
      key(tabs(), Qt::Key_Q, Qt::ControlModifier);
    });
  }

  QTableView* data_grid() const { return child<QTableView>(current_page(), "dv"); }

  // A cell of the data view edited, then waited for until the grid shows `shown`.
  void add_cell_edit(const QString& name, int row, int column, const QString& text, const QString& shown = {}) {
    add(name, [] { return true; }, [this, row, column, text] { edit_cell(data_grid(), row, column, text); });
    add(name + QStringLiteral(": the grid shows it"), [this] { return !editing(data_grid()); },
        [this, row, column, want = shown.isEmpty() ? text : shown] {
          expect_eq(cell(data_grid(), row, column), want, QStringLiteral("cell %1,%2").arg(row).arg(column));
        });
  }

  // --- phase 2: the start again --------------------------------------------------------------

  void second_start() {
    const QString script = work_ + QStringLiteral("/session.sql");
    add("the login dialog remembers the login but not the password", [this] { return login() != nullptr; }, [this] {
      QDialog* d = login();
      expect_eq(child<QLineEdit>(d, "le_ip")->text(), "127.0.0.1", "address");
      expect_eq(child<QLineEdit>(d, "le_port")->text(), QString::number(port_), "port");
      expect_eq(child<QLineEdit>(d, "le_user")->text(), user_name, "user");
      expect_eq(child<QLineEdit>(d, "le_passwd")->text(), "", "password");
      expect(child<QCheckBox>(d, "checkBox")->isChecked(), "\"set as default\" is not checked");
      shot("01_login_remembered");
    });
    add("type the password and press return", [this] { return login()->isActiveWindow(); }, [this] {
      auto* pw = child<QLineEdit>(login(), "le_passwd");
      click(pw);
      type(pw, password);
      key(pw, Qt::Key_Return);
    });
    add("the scripts of the last session are open again", [this] { return window() && !login(); }, [this] {
      expect_eq(tab_texts(tabs()), {"session.sql", "notes.sql"}, "tabs");
      expect_eq(tabs()->currentIndex(), 1, "current tab");
      expect(table_item(table) != nullptr, "the tree does not show the table of the last session");
      expect_server({"ok: show tables;", "ok: fields_of all_types;", "ok: fields_of customers;", "ok: fields_of orders;",
                     "ok: fields_of big;", "ok: fields_of e2e_stock;"},
                    "the tree's reading", true);
    });
    add("the reopened scripts hold their texts", [this] { return keyboard_ready(); }, [this, script] {
      expect_eq(editor_text(), notes_text, "the new script's text, written when the window closed");
      click(tabs()->tabBar(), tabs()->tabBar()->tabRect(0).center());
      expect_eq(tabs()->currentIndex(), 0, "current tab after the click");
      QFile f(script);
      expect(f.open(QIODevice::ReadOnly), "the script file cannot be read");
      expect_eq(editor_text(), QString::fromUtf8(f.readAll()), "the first script's text");
      click(tabs()->tabBar(), tabs()->tabBar()->tabRect(1).center());
      expect_eq(tabs()->currentIndex(), 1, "current tab after the click");
      QStringList recent;
      for (QAction* a : child<QMenu>(window(), "recent_menu")->actions())
        if (!a->isSeparator() && a->objectName() != QLatin1String("clear_recent_act")) recent << a->data().toString();
      expect_eq(recent, {work_ + "/notes.sql", work_ + "/session.sql"}, "recent files, the newest first");
      shot("02_reopened");
    });
    add("run a script file with f6", [this] { return keyboard_ready(); }, [this] {
      mark_server();
      key(tree(), Qt::Key_F6);
    });
    add("choose the file to run", [this] { return file_dialog_ready(); },
        [this] { choose_file("open sql file to execute", "more.sql"); });
    add("the file runs to its end", [] { return box() != nullptr; }, [this] {
      expect_eq(box()->text(), "the sql execute sussesful total!", "run box");
      expect_server({R"(ok: create table e2e_more \( tag string\( false \), n i32\( false \) \);?)",
                     R"(ok: insert into e2e_more \( tag, n \) values \( "a", 1 \), \( "b", 2 \);?)"},
                    "the file's statements", true);
      answer(box(), QMessageBox::Ok);
    });
    add("the tree shows the file's table", [this] { return keyboard_ready(); }, [this] {
      expect_eq(child_texts(tree_root()), {"all_types", "customers", "orders", "big", "e2e_stock", "e2e_more"}, "tables");
      expect_eq(child_texts(table_item("e2e_more")), {"tag", "n"}, "fields of the file's table");
      expect_eq(tab_texts(tabs()), {"session.sql", "notes.sql"}, "tabs after the file's run");
    });
    add("run the new script", [this] { return keyboard_ready(); }, [this] {
      mark_server();
      key(script_editor(), Qt::Key_Return, Qt::ControlModifier);
    });
    add("it runs to its end", [] { return box() != nullptr; }, [this] {
      expect_server({R"(ok: select \* from e2e_stock;)"}, "the run", true);
      expect_eq(box()->text(), "the sql execute sussesful total!", "run box");
      answer(box(), QMessageBox::Ok);
    });
    add("its result shows the table as the first session left it", [] { return !box(); }, [this] {
      QTabWidget* results = result_tabs();
      expect_eq(tab_texts(results), {"select * from e2e_stock;"}, "result tabs");
      auto* grid = qobject_cast<QTableView*>(results->widget(0));
      expect(grid != nullptr, "the result tab holds no grid");
      expect_eq(column_texts(grid, 1), {"bolt", "nut", "washer", "rivet"}, "names");
      expect_eq(column_texts(grid, 2), {"10", "30", "7", "12"}, "quantities");
      expect(log_pane()->toPlainText().contains("select * from e2e_stock;"), "the log does not show the run");
      // The picture of the main window: tree, a script with its result, the log.
      if (QTreeWidgetItem* t = table_item(table)) t->setExpanded(true);
      window()->grab().save(out_ + QStringLiteral("/main_window.png"));
      shot("03_script_run");
    });
    add("quit with ctrl+q", [this] { return keyboard_ready(); }, [this] {
      passed();
      key(tabs(), Qt::Key_Q, Qt::ControlModifier);
    });
  }

  int phase_;
  QString out_, work_, server_log_;
  int server_mark_ = 0;
  int port_;
  QFile log_;
  std::vector<step> steps_;
  size_t next_ = 0;
  bool done_ = false;
  bool act_queued_ = false;
  QTimer timer_;
  QElapsedTimer clock_, since_;
};

void start_session() {
  const int phase = qEnvironmentVariableIntValue("E2E_PHASE");
  if (phase != 1 && phase != 2) return;
  const QString out = qEnvironmentVariable("E2E_OUT");
  const QString work = qEnvironmentVariable("E2E_WORK");
  const QString server_log = qEnvironmentVariable("E2E_SERVER_LOG");
  const int port = qEnvironmentVariableIntValue("E2E_PORT");
  // The widgets are made after this start-up routine: the session begins in the event loop.
  QTimer::singleShot(0, qApp, [=] {
    new window_manager(qApp);
    new session(phase, out, work, server_log, port);
  });
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(start_session)
