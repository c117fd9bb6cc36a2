// The program's start-up and exit, run in-process with the login dialog answered by the test:
// configuration message, defaults shown, style sheet, catalogues by language, the numeric
// locale, and the configuration written at exit.
#include "query/wire.h"
#include "app/startup.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <fstream>
#include <new>
#include <string>

#include "app/login_dlg.h"
#include "ui_base/sys_config.h"
#include "client/ruv_sql_lib_mem.h"
#include "tests/peer/test_peer.h"
#include "tests/support/scripted_prompt.h"
#include "ui_login_dlg.h"

namespace {

namespace fs = std::filesystem;

struct seen {
  QString ip, port, login_text, style_sheet;
  std::string number;
  bool sigpipe_ignored = false;
};

class startup : public ::testing::Test {
 protected:
  fs::path dir, old_dir;
  void SetUp() override {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    old_dir = fs::current_path();
    dir = fs::temp_directory_path() / ("ruv_start_" + std::to_string(::getpid()) + "_" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::current_path(dir);
    sys_config = sys_config_record{};
  }
  void TearDown() override {
    before_login = nullptr;
    fs::current_path(old_dir);
    fs::remove_all(dir);
    sys_config = sys_config_record{};
  }
  // Runs main with a cancelled login; what the dialog showed.
  seen run(int* rc = nullptr) {
    seen s;
    before_login = [&s](login_dlg& d) {
      s.ip = d.form()->le_ip->text();
      s.port = d.form()->le_port->text();
      s.login_text = d.form()->pb_login->text();
      s.style_sheet = qApp->styleSheet();
      char buf[32];
      std::snprintf(buf, sizeof buf, "%.1f", 1.5);
      s.number = buf;
      struct sigaction sa {};
      sigaction(SIGPIPE, nullptr, &sa);
      s.sigpipe_ignored = sa.sa_handler == SIG_IGN;
      QTimer::singleShot(0, &d, &QDialog::reject);
    };
    char name[] = "ruv_mdb_cli";
    char* argv[] = {name, nullptr};
    const int r = run_program(1, argv);
    if (rc) *rc = r;
    return s;
  }
  void write_config(const sys_config_record& r) { ASSERT_TRUE(save_sys_config(&r, "config")); }
};

TEST_F(startup, first_start_without_config) {
  ::testing::internal::CaptureStdout();
  int rc = -1;
  seen s = run(&rc);
  const std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(rc, 0);
  EXPECT_NE(out.find("load system config failed, use initial config\n"), std::string::npos);
  EXPECT_EQ(out.find("open qss failed."), std::string::npos);
  EXPECT_EQ(s.ip, "127.0.0.1");
  EXPECT_EQ(s.port, "55555");
  EXPECT_TRUE(s.style_sheet.contains("#fafaff"));
  EXPECT_TRUE(s.sigpipe_ignored);
  // The cancelled login still writes the configuration: the defaults.
  ASSERT_TRUE(fs::exists("config"));
  EXPECT_EQ(fs::file_size("config"), 2920u);
  sys_config_record back;
  ASSERT_TRUE(load_sys_config(&back, "config"));
  const auto a = sys_config_bytes(back), b = sys_config_bytes(sys_config_record{});
  EXPECT_EQ(std::string(a.data, a.size), std::string(b.data, b.size));
}

TEST_F(startup, settings_that_cannot_be_saved_are_told_at_exit) {
  // A fifo named config is neither read (the start would wait for a writer) nor written.
  for (const char* kind : {"fifo", "folder"}) {
    SCOPED_TRACE(kind);
    fs::remove_all("config");
    if (std::string(kind) == "fifo")
      ASSERT_EQ(::mkfifo("config", 0600), 0);
    else
      fs::create_directories("config");
    ruv::test::scripted_prompt prompt;
    ::testing::internal::CaptureStdout();
    int rc = -1;
    run(&rc);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(rc, 0);
    EXPECT_NE(out.find("load system config failed, config is not a regular file, use initial config\n"),
              std::string::npos);
    ASSERT_EQ(prompt.boxes.size(), 1u);
    EXPECT_EQ(prompt.boxes[0].icon, QMessageBox::Warning);
    EXPECT_EQ(prompt.boxes[0].title.toStdString(), "settings not saved");
    EXPECT_EQ(prompt.boxes[0].text.toStdString(),
              "the settings of this session could not be saved:\n\"config\" is not a regular file");
  }
  // Saved: nothing to tell.
  fs::remove_all("config");
  ruv::test::scripted_prompt prompt;
  run();
  EXPECT_TRUE(prompt.boxes.empty());
  EXPECT_TRUE(fs::is_regular_file("config"));
}

TEST_F(startup, configured_login_and_lists_survive_a_cancelled_start) {
  sys_config_record r;
  std::strcpy(r.server, "10.9.8.7");
  r.port = 1234;
  r.open_files.push_back(kk::adt::string_from_cstr("a.sql"));
  write_config(r);
  seen s = run();
  EXPECT_EQ(s.ip, "10.9.8.7");
  EXPECT_EQ(s.port, "1234");
  sys_config_record back;
  ASSERT_TRUE(load_sys_config(&back, "config"));
  EXPECT_EQ(back.port, 1234u);
  ASSERT_EQ(back.open_files.count, 1u);
  EXPECT_EQ(std::string(back.open_files.head->value.data), "a.sql");
}

TEST_F(startup, language_picks_the_catalogues) {
  struct row {
    kk::u32 language;
    const char* login;
  };
  for (row r : {row{2, "Connexion"}, row{0, "\xe7\x99\xbb\xe5\xbd\x95"}, row{3, "\xe3\x83\xad\xe3\x82\xb0\xe3\x82\xa4\xe3\x83\xb3"},
                row{1, "Login"}, row{7, "Login"}}) {
    SCOPED_TRACE(r.language);
    sys_config_record c;
    c.language = r.language;
    write_config(c);
    sys_config = sys_config_record{};
    seen s = run();
    EXPECT_EQ(s.login_text.toStdString(), r.login);
    EXPECT_EQ(s.number, "1.5");
  }
}

TEST_F(startup, numbers_keep_the_c_form_under_a_comma_locale) {
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale";
  // The application takes the environment's locale (or finds it set already); the numeric
  // part must be "C" whatever the language does.
  ::setenv("LC_ALL", "de_DE.UTF-8", 1);
  for (kk::u32 language : {1u, 7u}) {
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    sys_config_record c;
    c.language = language;
    write_config(c);
    seen s = run();
    EXPECT_EQ(s.number, "1.5") << language;
  }
  ::setenv("LC_ALL", "C.UTF-8", 1);
  std::setlocale(LC_ALL, "C");
}

TEST_F(startup, login_opens_the_window_and_its_closing_ends_the_program) {
  peer::test_peer server;
  bool window_seen = false;
  before_login = [&](login_dlg& d) {
    d.form()->le_port->setText(QString::number(server.port()));
    d.form()->le_user->setText("dora");
    d.form()->checkBox->setChecked(true);
    QObject::connect(&d, &QDialog::accepted, [&] {
      // The window is built after the acceptance, its first refresh waiting on the wire
      // (which runs timers but swallows closes): the windows are closed once it shows.
      auto* poll = new QTimer(QCoreApplication::instance());
      QObject::connect(poll, &QTimer::timeout, [&, poll] {
        if (ruv::wire_waiting()) return;
        for (QWidget* w : QApplication::topLevelWidgets())
          if (w->inherits("MainWindow") && w->isVisible()) window_seen = true;
        if (!window_seen) return;
        poll->stop();
        QApplication::closeAllWindows();
      });
      poll->start(5);
    });
    QTimer::singleShot(0, d.form()->pb_login, &QPushButton::click);
  };
  char name[] = "ruv_mdb_cli";
  char* argv[] = {name, nullptr};
  EXPECT_EQ(run_program(1, argv), 0);
  EXPECT_TRUE(window_seen);
  ASSERT_TRUE(server.wait_frames(1));
  EXPECT_EQ(server.frames()[0], peer::login_frame("dora", ""));
  sys_config_record back;
  ASSERT_TRUE(load_sys_config(&back, "config"));
  EXPECT_STREQ(back.user, "dora");
  EXPECT_EQ(back.port, server.port());
  ruv::wire_exit();
}

// An object whose event handler fails as an allocation would.
class failing_handler : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw std::bad_alloc();
    return QObject::event(e);
  }
};

TEST_F(startup, an_exception_out_of_an_event_handler_ends_only_that_event) {
  failing_handler target;
  bool delivered = true;
  before_login = [&](login_dlg& d) {
    QTimer::singleShot(0, &d, [&] {
      QEvent e(QEvent::User);
      delivered = QCoreApplication::sendEvent(&target, &e);
      d.reject();  // the program goes on after the failed event
    });
  };
  ::testing::internal::CaptureStderr();
  char name[] = "ruv_mdb_cli";
  char* argv[] = {name, nullptr};
  const int rc = run_program(1, argv);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(rc, 0);
  EXPECT_FALSE(delivered);
  EXPECT_NE(err.find("event handler: std::bad_alloc\n"), std::string::npos) << err;
  // The end of the program still ran: the configuration was written.
  EXPECT_TRUE(fs::exists("config"));
}

TEST(style_sheet, a_missing_sheet_says_so_and_is_empty) {
  ::testing::internal::CaptureStdout();
  EXPECT_TRUE(read_style_sheet(":/qss/ruv_white-.qss").isEmpty());
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "open qss failed.");
}

}  // namespace
