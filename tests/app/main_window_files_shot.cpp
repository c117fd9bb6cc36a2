// Runs the program as a person would against a server on 127.0.0.1:55555 (the demo server)
// under a display, in the working directory: logs in, opens a new script, types, runs and
// saves it, closes it, opens it again and quits; at each step a picture of the window goes to
// <out>_<step>.png, and at the end one of the whole screen (import -window root). Run it twice
// in the same folder: the second run shows the script reopened from the configuration.
//   main_window_files_shot <out prefix>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include "app/login_dlg.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "editor/editor.h"
#include "script_tab/sql_script_editor.h"
#include "sqllib/library_startup.h"
#include "tests/support/scripted_prompt.h"
#include "ui_login_dlg.h"

namespace {

QString prefix;

void shot(QWidget* w, const char* step) {
  const QString path = prefix + "_" + step + ".png";
  w->grab().save(path);
  std::printf("%s\n", qPrintable(path));
}

void screen(const char* step) {
  const QString path = prefix + "_" + step + ".png";
  QProcess::execute("import", {"-window", "root", path});
  std::printf("%s\n", qPrintable(path));
}

QAction* act(MainWindow* w, const char* name) { return w->findChild<QAction*>(name); }

// Steps run one after another from the event loop, each after the window had time to paint.
void run_steps(std::vector<std::function<void()>> steps, size_t i = 0) {
  if (i == steps.size()) return;
  QTimer::singleShot(700, [steps, i] {
    steps[i]();
    run_steps(steps, i + 1);
  });
}

}  // namespace

int main(int argc, char** argv) {
  kk::library_startup();
  if (argc < 2) return 2;
  prefix = QString::fromLocal8Bit(argv[1]);
  static ruv::test::scripted_prompt* prompt = nullptr;
  before_login = [](login_dlg& d) {
    d.form()->le_user->setText("demo");
    d.form()->le_passwd->setText("demo");
    QTimer::singleShot(500, [&d] {
      d.login();
      MainWindow* w = d.main_window();
      if (!w) {
        std::puts("login failed");
        qApp->quit();
        return;
      }
      w->resize(1200, 760);
      const QString script = QDir::current().absoluteFilePath("demo.sql");
      const bool second_run = w->open_file_count() > 0;
      if (second_run) {
        run_steps({[w] { shot(w, "reopened"); }, [] { screen("reopened_screen"); }, [w] { w->close(); }});
        return;
      }
      prompt = new ruv::test::scripted_prompt;  // answers the choosers; boxes take their default
      run_steps({
          [w] { shot(w, "start"); },
          [w, script] {
            prompt->files.push_back({script});
            act(w, "new_file_act")->trigger();
            auto* s = qobject_cast<ruv::sql_script_editor*>(w->findChild<QTabWidget*>("tabWidget")->currentWidget());
            QTest::keyClicks(s->editor_widget(), "show tables;");
          },
          [w] { shot(w, "typed"); },
          [w] {
            auto* s = qobject_cast<ruv::sql_script_editor*>(w->findChild<QTabWidget*>("tabWidget")->currentWidget());
            s->exec_sql();
            act(w, "save_file_act")->trigger();
          },
          [w] { shot(w, "run_and_saved"); },
          [w] { act(w, "close_file_act")->trigger(); },
          [w] { shot(w, "closed"); },
          [w, script] {
            prompt->files.push_back({script});
            act(w, "open_file_act")->trigger();
            auto* e = w->findChild<QTabWidget*>("tabWidget")->currentWidget()->findChild<ruv::editor*>();
            QTest::keyClick(e, Qt::Key_End);
            QTest::keyClick(e, Qt::Key_Return);
            QTest::keyClicks(e, "# edited, left unsaved; quitting writes it");
          },
          [w] { shot(w, "opened_again"); },
          [] { screen("screen"); },
          [w] { act(w, "quit_act")->trigger(); },
      });
    });
  };
  return run_program(argc, argv);
}
