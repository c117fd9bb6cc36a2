// The update check against a fake update server on 127.0.0.1: the request's bytes, the
// reply's verdict through the main window's box, and every failure ending in time.
#include <dirent.h>

#include <QtTest>
#include <chrono>
#include <fstream>

#include "app/main_window.h"
#include "app/startup.h"
#include "ui_base/sys_config.h"
#include "app/update_check.h"
#include "tests/app/fake_update_server.h"
#include "tests/support/scripted_prompt.h"

namespace {

int open_descriptors() {
  int n = 0;
  if (DIR* d = ::opendir("/proc/self/fd")) {
    while (::readdir(d)) ++n;
    ::closedir(d);
  }
  return n;
}

}  // namespace

class update_test : public QObject {
  Q_OBJECT

  std::string sample_file;
  kk::u32 own_crc = 0;  // the test program's own file, which the check sums

  // Runs the main window's update against `port`; the box's text. The receive limit leaves a
  // loaded machine (or the sanitizer build) time to schedule the fake server's thread.
  QString check_through_window(kk::u16 port) {
    update_server() = {"127.0.0.1", port, 3, 1500};
    ruv::test::scripted_prompt prompt;
    MainWindow w(kk::adt::string_from_cstr("127.0.0.1"), 1, {}, {}, nullptr);
    w.update(true);
    if (prompt.boxes.size() != 1) return "boxes: " + QString::number(prompt.boxes.size());
    if (prompt.boxes[0].title != "version infomation") return "title: " + prompt.boxes[0].title;
    return prompt.boxes[0].text;
  }

 private slots:
  void initTestCase() {
    sys_config = sys_config_record{};
    sample_file = QDir::temp().filePath("ruv_update_program_" + QString::number(::getpid())).toStdString();
    std::ofstream(sample_file, std::ios::binary) << "123456789";
    // Started through PATH or a desktop entry, argv[0] is a bare name: never what is summed.
    program_path = "ruv_mdb_cli";
    QFile self(QCoreApplication::applicationFilePath());
    QVERIFY(self.open(QIODevice::ReadOnly));
    const QByteArray bytes = self.readAll();
    own_crc = crc32_of(bytes.constData(), std::size_t(bytes.size()));
    QVERIFY(own_crc != 0);
    QCOMPARE(program_file_crc(), own_crc);  // read once, here: the checks below time only the exchange
  }
  void cleanupTestCase() { std::remove(sample_file.c_str()); }

  void crc32_is_zlibs() {
    QCOMPARE(crc32_of("123456789", 9), 0xCBF43926u);
    QCOMPARE(crc32_of("", 0), 0u);
    QCOMPARE(crc32_of("The quick brown fox jumps over the lazy dog", 43), 0x414FA339u);
  }

  void verdicts() {
    struct row {
      const char* what;
      fake::answer answer;
      const char* text;
    };
    const std::vector<row> rows = {
        {"patch newer", {fake::reply(100, 0, 2, 3)}, "there is new version, please update from website!"},
        {"same version", {fake::reply(100, 0, 2, 2)}, "the current version is latest version!"},
        {"older minor, higher patch", {fake::reply(100, 0, 1, 9)}, "the current version is latest version!"},
        {"major newer", {fake::reply(100, 1, 0, 0)}, "there is new version, please update from website!"},
        {"minor newer, patch lower", {fake::reply(100, 0, 3, 0)}, "there is new version, please update from website!"},
        {"wrong code", {fake::reply(101, 9, 9, 9)}, "check version failed!"},
        {"reply in two pieces", {fake::reply(100, 0, 2, 3), {12, 8}}, "there is new version, please update from website!"},
        {"reply byte by byte", {fake::reply(100, 0, 2, 2), std::vector<std::size_t>(19, 1)}, "the current version is latest version!"},
        {"short reply then close", {fake::reply(100, 0, 2, 3).substr(0, 16)}, "check version failed!"},
        {"closed without reply", {std::string()}, "check version failed!"},
        {"silent server", {std::string(), {}, true}, "check version failed!"},
    };
    for (const row& r : rows) {
      fake::update_server server(r.answer);
      const auto start = std::chrono::steady_clock::now();
      QCOMPARE(check_through_window(server.port()), QString(r.text));
      QVERIFY2(std::chrono::steady_clock::now() - start < std::chrono::seconds(10), r.what);
      const auto requests = server.requests();
      QCOMPARE(requests.size(), size_t(1));
      QCOMPARE(requests[0], fake::le32(100) + fake::le32(0) + fake::le32(2) + fake::le32(2) + fake::le32(own_crc));
    }
  }

  void refused_and_unresolved_fail() {
    kk::u16 port;
    {
      fake::update_server gone(fake::answer(fake::reply(100, 0, 2, 2)));
      port = gone.port();
    }
    QCOMPARE(check_through_window(port), QString("check version failed!"));
    update_server() = {"no-such-host.invalid", 13556, 3, 300};
    update_request req;
    update_reply out;
    QCOMPARE(check_update(&req, &out), 0u);
  }

  void file_crc_is_zero_for_an_unreadable_file() {
    QCOMPARE(file_crc32(sample_file.c_str()), 0xCBF43926u);
    QCOMPARE(file_crc32("/nonexistent/ruv_mdb_cli"), 0u);
    QCOMPARE(file_crc32("ruv_mdb_cli"), 0u);
  }

  void no_socket_is_left_open() {
    const int before = open_descriptors();
    for (int i = 0; i < 3; ++i) {
      fake::update_server ok(fake::answer(fake::reply(100, 0, 2, 2)));
      check_through_window(ok.port());
      fake::update_server silent(fake::answer(std::string(), {}, true));
      check_through_window(silent.port());
      fake::update_server short_reply(fake::answer(std::string("abc")));
      check_through_window(short_reply.port());
    }
    QCOMPARE(open_descriptors(), before);
  }

  void check_at_start_when_configured() {
    fake::update_server server(fake::answer(fake::reply(100, 0, 2, 2)));
    update_server() = {"127.0.0.1", server.port(), 3, 1500};
    ruv::test::scripted_prompt prompt;
    sys_config.check_update_at_start = 1;
    { MainWindow w(kk::adt::string_from_cstr("127.0.0.1"), 1, {}, {}, nullptr); }
    sys_config.check_update_at_start = 0;
    { MainWindow w(kk::adt::string_from_cstr("127.0.0.1"), 1, {}, {}, nullptr); }
    QCOMPARE(prompt.boxes.size(), size_t(1));
    QCOMPARE(prompt.last_text(), QString("the current version is latest version!"));
  }
};

QTEST_MAIN(update_test)
#include "update_test.moc"
