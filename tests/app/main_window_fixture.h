#pragma once
// A main window in a temporary working directory, with the helpers the window tests share.
// No server is needed: without a connection the first tree refresh fails quietly.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/main_window.h"
#include "ui_base/sys_config.h"
#include "editor/editor.h"
#include "script_tab/sql_script_editor.h"
#include "ui_main_window.h"

namespace mw_test {

inline std::unique_ptr<MainWindow> window() {
  return std::make_unique<MainWindow>(kk::adt::string_from_cstr("127.0.0.1"), 55555, kk::adt::string::string{},
                                      kk::adt::string::string{}, nullptr);
}

// The configuration as a fresh start has it; completion off, so typed text never opens a popup.
inline void reset_config() {
  sys_config = sys_config_record{};
  sys_config.completion = 0;
}

// A temporary folder that is the working directory while it lives.
struct work_dir {
  QTemporaryDir dir;
  QString old = QDir::currentPath();
  work_dir() { QDir::setCurrent(dir.path()); }
  ~work_dir() { QDir::setCurrent(old); }
  QString path(const QString& name) const { return dir.filePath(name); }
};

inline QAction* action(QWidget* w, const char* name) {
  QAction* a = w->findChild<QAction*>(name);
  if (!a) qFatal("no action %s", name);
  return a;
}

inline QStringList entries(const kk::adt::list<kk::adt::string::string>& l) {
  QStringList out;
  for (auto* n = l.head; n; n = n->next) out << QString::fromUtf8(n->value.data, static_cast<int>(n->value.size));
  return out;
}

inline void set_entries(kk::adt::list<kk::adt::string::string>& l, const QStringList& paths) {
  l.clear();
  for (const QString& p : paths) {
    const QByteArray b = p.toUtf8();
    l.push_back(kk::adt::string_from_bytes(b.constData(), static_cast<kk::u64>(b.size())));
  }
}

inline QByteArray file_bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline void write_file(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) qFatal("cannot write");
}

inline QTabWidget* tabs(MainWindow& w) { return w.form()->tabWidget; }

inline ruv::sql_script_editor* script_at(MainWindow& w, int i) {
  return qobject_cast<ruv::sql_script_editor*>(tabs(w)->widget(i));
}

inline ruv::sql_script_editor* current(MainWindow& w) {
  return qobject_cast<ruv::sql_script_editor*>(tabs(w)->currentWidget());
}

// Types into the current script's editor.
inline void type(MainWindow& w, const char* text) {
  ruv::sql_script_editor* s = current(w);
  if (!s) qFatal("no current script");
  QTest::keyClicks(s->editor_widget(), QString::fromUtf8(text));
}

inline QStringList tab_texts(MainWindow& w) {
  QStringList out;
  for (int i = 0; i < tabs(w)->count(); ++i) out << tabs(w)->tabText(i);
  return out;
}

}  // namespace mw_test
