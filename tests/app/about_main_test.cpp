// The about dialog with its licence window, and the main window's form.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "app/about_dlg.h"
#include "app/main_window.h"
#include "ui_base/sys_config.h"
#include "ui_about_dlg.h"
#include "ui_main_window.h"

namespace fs = std::filesystem;

class about_main_test : public QObject {
  Q_OBJECT

  fs::path old_dir, dir;

  static MainWindow* window() {
    return new MainWindow(kk::adt::string_from_cstr("127.0.0.1"), 55555, kk::adt::string_from_cstr("u"),
                          kk::adt::string_from_cstr("p"), nullptr);
  }

 private slots:
  void init() {
    old_dir = fs::current_path();
    dir = fs::temp_directory_path() / ("ruv_about_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::current_path(dir);
    sys_config = sys_config_record{};
  }
  void cleanup() {
    fs::current_path(old_dir);
    fs::remove_all(dir);
  }

  void licence_file_shows_as_plain_text() {
    std::ofstream("licenses.txt") << "<b>MIT</b> &amp; \xc3\xa9t\xc3\xa9\n";
    std::unique_ptr<QDialog> w(make_license_window());
    auto* text = w->findChild<QTextEdit*>();
    QVERIFY(text);
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->toPlainText(), QString::fromUtf8("<b>MIT</b> &amp; \xc3\xa9t\xc3\xa9\n"));
    QCOMPARE(w->windowTitle(), QString("ruv mdb client license"));
    QCOMPARE(w->size(), QSize(800, 600));
  }

  void licence_text_is_found_in_the_working_folder_then_the_installed_doc_folder() {
    const QStringList places = licence_places();
    QCOMPARE(places.value(0), QDir::current().absoluteFilePath("licenses.txt"));
    // The installation the program runs from: <prefix>/share/doc/ruv_mdb beside <prefix>/bin.
    QCOMPARE(places.value(1),
             QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/doc/ruv_mdb/licenses.txt"));

    fs::create_directories("inst/share/doc/ruv_mdb");
    std::ofstream("inst/share/doc/ruv_mdb/licenses.txt") << "installed text\n";
    const QStringList from_install = {QDir::current().absoluteFilePath("licenses.txt"),
                                      QDir::current().absoluteFilePath("inst/share/doc/ruv_mdb/licenses.txt")};
    std::unique_ptr<QDialog> installed(make_license_window(from_install));
    QCOMPARE(installed->findChild<QTextEdit*>()->toPlainText(), QString("installed text\n"));
    QCOMPARE(installed->windowTitle(), QString("ruv mdb client license"));
    std::ofstream("licenses.txt") << "working folder text\n";
    std::unique_ptr<QDialog> local(make_license_window(from_install));
    QCOMPARE(local->findChild<QTextEdit*>()->toPlainText(), QString("working folder text\n"));
  }

  void shipped_licence_text_names_what_the_program_links_and_installs() {
    QFile f(QStringLiteral(RUV_SOURCE_DIR "/app/licenses.txt"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    for (const char* part : {"Qt 5", "GNU LESSER GENERAL PUBLIC LICENSE", "PCRE2", "University of Cambridge",
                             "Noto Sans Symbols 2", "SIL OPEN FONT LICENSE", "ruv mdb client"})
      QVERIFY2(text.contains(QString::fromUtf8(part), Qt::CaseInsensitive), part);
  }

  void a_licence_place_that_is_no_file_is_passed_over() {
    QVERIFY(::mkfifo("fifo", 0600) == 0);
    fs::create_directories("dir");
    std::ofstream("real.txt") << "text\n";
    std::unique_ptr<QDialog> w(make_license_window({"fifo", "dir", "real.txt"}));
    QCOMPARE(w->findChild<QTextEdit*>()->toPlainText(), QString("text\n"));
  }

  void without_licence_file_the_window_is_empty() {
    std::unique_ptr<QDialog> w(make_license_window());
    QVERIFY(w->findChild<QTextEdit*>()->toPlainText().isEmpty());
    QVERIFY(w->windowTitle().isEmpty());
  }

  void about_button_opens_the_licence_window() {
    about_dlg d;
    QCOMPARE(d.windowTitle(), QString("about ruv mdb client"));
    QCOMPARE(d.form()->label_3->text(), QString("Version: 0.2.3, Build Date: 2024-05-09"));
    bool shown = false;
    QTimer::singleShot(0, [&] {
      QWidget* w = QApplication::activeModalWidget();
      shown = w && w != &d && w->findChild<QTextEdit*>();
      if (w) w->close();
    });
    QTest::mouseClick(d.form()->lic_pb, Qt::LeftButton);
    QVERIFY(shown);
  }

  void main_window_form() {
    std::unique_ptr<MainWindow> w(window());
    Ui::MainWindow* ui = w->form();
    QCOMPARE(w->objectName(), QString("MainWindow"));
    QCOMPARE(w->windowTitle(), QString("data oparation console"));
    QVERIFY(w->isMaximized());
    QCOMPARE(ui->tabWidget->currentIndex(), -1);
    QVERIFY(ui->tabWidget->tabsClosable());
    QVERIFY(ui->tabWidget->isMovable());
    QVERIFY(ui->textEdit->isReadOnly());
    QVERIFY(ui->textEdit->toPlainText().isEmpty());
    QCOMPARE(ui->textEdit->maximumHeight(), 240);
    QVERIFY(ui->treeWidget->isHeaderHidden());
    QCOMPARE(ui->treeWidget->maximumWidth(), 260);
    QCOMPARE(ui->treeWidget->contextMenuPolicy(), Qt::ActionsContextMenu);
    QCOMPARE(ui->splitter_2->widget(0), static_cast<QWidget*>(ui->treeWidget));
    QCOMPARE(ui->splitter_2->widget(1), static_cast<QWidget*>(ui->splitter));
    QCOMPARE(ui->splitter->widget(0), static_cast<QWidget*>(ui->tabWidget));
    QCOMPARE(ui->splitter->widget(1), static_cast<QWidget*>(ui->textEdit));
    QStringList menus;
    for (QAction* a : ui->menubar->actions()) menus << a->menu()->objectName();
    QCOMPARE(menus, QStringList({"file_menu", "db_menu", "edit_menu", "view_menu", "opt_menu", "help_menu"}));
    QCOMPARE(w->toolBarArea(ui->toolBar), Qt::TopToolBarArea);
    QCOMPARE(ui->fullscreen_act->shortcut(), QKeySequence("Ctrl+Shift+F11"));
    // The status bar's two indicators.
    QCOMPARE(ui->statusbar->findChildren<QPushButton*>().size(), 2);
  }

  void configured_icon_size() {
    struct row {
      kk::u32 size;
      bool big, normal, small;
      int tree;
    };
    for (row r : {row{48, true, false, false, 48}, row{32, false, true, false, 32}, row{24, false, false, true, 24},
                  row{40, false, true, false, 24}}) {
      sys_config.icon_size = r.size;
      std::unique_ptr<MainWindow> w(window());
      QCOMPARE(w->form()->big_act->isChecked(), r.big);
      QCOMPARE(w->form()->normal_act->isChecked(), r.normal);
      QCOMPARE(w->form()->small_act->isChecked(), r.small);
      QCOMPARE(w->form()->treeWidget->iconSize(), QSize(r.tree, r.tree));
    }
  }
};

QTEST_MAIN(about_main_test)
#include "about_main_test.moc"
