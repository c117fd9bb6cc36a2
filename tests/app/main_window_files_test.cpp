// The main window's script files: new, open, recent, save, save as, close, the open and
// recent path lists, closing the window and reopening at the next start, and the tab strip's
// double click. Every box and chooser is scripted; files live in a temporary folder.
#include <QFileInfo>
#include <QMouseEvent>
#include <QPointer>
#include <QTabBar>

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "app/script_paths.h"
#include "tests/app/main_window_fixture.h"
#include "tests/support/scripted_prompt.h"

using namespace mw_test;

namespace {

// Opens path through "open file(&o)".
void open_through_chooser(MainWindow& w, ruv::test::scripted_prompt& p, const QString& path) {
  p.files.push_back({path});
  action(&w, "open_file_act")->trigger();
}

// A path whose parent is a regular file: no write there succeeds, also for root.
QString unwritable(const work_dir& d, const char* name) {
  write_file(d.path("plain"), "not a folder");
  return d.path("plain/") + name;
}

// Opens path (made empty) through "open file(&o)", then puts a folder in the file's place:
// the tab's saves fail from then on, also for root.
void open_then_block(MainWindow& w, ruv::test::scripted_prompt& p, const QString& path) {
  write_file(path, "");
  open_through_chooser(w, p, path);
  QFile::remove(path);
  QDir().mkdir(path);
}

}  // namespace

class main_window_files_test : public QObject {
  Q_OBJECT

 private slots:
  void init() { reset_config(); }

  void new_file_proposes_a_free_name_and_creates_the_file() {
    work_dir d;
    ruv::test::scripted_prompt p;
    auto w = window();
    p.files.push_back({d.path("scriptfile1.sql")});
    action(w.get(), "new_file_act")->trigger();
    QCOMPARE(p.choosers.back().caption, QString("set sql file's location"));
    QCOMPARE(p.choosers.back().dir, QString("scriptfile1.sql"));
    QCOMPARE(p.choosers.back().filter, QString("sql files (*.sql);;all files (*.*)"));
    QCOMPARE(file_bytes(d.path("scriptfile1.sql")), QByteArray());
    QCOMPARE(tab_texts(*w), QStringList({"scriptfile1.sql"}));
    QCOMPARE(tabs(*w)->tabBar()->tabTextColor(0), QColor(Qt::darkCyan));
    QCOMPARE(entries(sys_config.open_files), QStringList({d.path("scriptfile1.sql")}));
    QCOMPARE(entries(sys_config.recent_files), QStringList({d.path("scriptfile1.sql")}));

    p.files.push_back({d.path("scriptfile2.sql")});
    action(w.get(), "new_file_act")->trigger();
    QCOMPARE(p.choosers.back().dir, QString("scriptfile2.sql"));
    // A page of another kind with the next name does not count.
    tabs(*w)->addTab(new QWidget, "scriptfile3.sql");
    action(w.get(), "new_file_act")->trigger();  // cancelled
    QCOMPARE(p.choosers.back().dir, QString("scriptfile3.sql"));
    QCOMPARE(tabs(*w)->count(), 3);

    // Choosing an open file only switches to its tab.
    p.files.push_back({d.path("scriptfile1.sql")});
    action(w.get(), "new_file_act")->trigger();
    QCOMPARE(tabs(*w)->currentIndex(), 0);
    QCOMPARE(tabs(*w)->count(), 3);
    QCOMPARE(entries(sys_config.open_files), QStringList({d.path("scriptfile1.sql"), d.path("scriptfile2.sql")}));

    // An existing file keeps its bytes until its empty tab is saved.
    write_file(d.path("old.sql"), "select 1;");
    p.files.push_back({d.path("old.sql")});
    action(w.get(), "new_file_act")->trigger();
    QCOMPARE(current(*w)->text(), QString());
    QCOMPARE(file_bytes(d.path("old.sql")), QByteArray("select 1;"));
  }

  void open_file_reads_the_bytes_and_an_open_file_only_switches() {
    work_dir d;
    ruv::test::scripted_prompt p;
    const QByteArray odd("-- \xff\xfe not utf-8\nselect 1;\n");
    write_file(d.path("a.sql"), odd);
    write_file(d.path("b.sql"), "select 2;");
    auto w = window();
    open_through_chooser(*w, p, d.path("a.sql"));
    QCOMPARE(p.choosers.back().caption, QString("open sql file to script editor"));
    QCOMPARE(p.choosers.back().dir, QString("."));
    open_through_chooser(*w, p, d.path("b.sql"));
    QCOMPARE(current(*w)->editor_widget()->text(), QByteArray("select 2;"));
    open_through_chooser(*w, p, d.path("a.sql"));
    QCOMPARE(tabs(*w)->currentIndex(), 0);
    QCOMPARE(tabs(*w)->count(), 2);
    QCOMPARE(entries(sys_config.open_files), QStringList({d.path("a.sql"), d.path("b.sql")}));
    QCOMPARE(entries(sys_config.recent_files), QStringList({d.path("b.sql"), d.path("a.sql")}));

    // Saved byte for byte, bytes that are no UTF-8 included.
    type(*w, "x");
    action(w.get(), "save_file_act")->trigger();
    QCOMPARE(file_bytes(d.path("a.sql")), "x" + odd);
    QVERIFY(!current(*w)->editor_widget()->is_modified());

    // Something that cannot be read is not opened as an empty script (a save would wipe it).
    QDir(d.path("")).mkdir("folder.sql");
    open_through_chooser(*w, p, d.path("folder.sql"));
    QCOMPARE(tabs(*w)->count(), 2);
    QCOMPARE(p.boxes.back().text, QString("the file \"%1\" cannot be read!").arg(d.path("folder.sql")));
    QVERIFY(!entries(sys_config.recent_files).contains(d.path("folder.sql")));

    // Nor one larger than the editor holds (a sparse file: no disk taken); it stays as it was.
    {
      QFile big(d.path("big.sql"));
      QVERIFY(big.open(QIODevice::WriteOnly));
      if (!big.resize(qint64(0x7fffffff) + 1)) QSKIP("no sparse files here");
    }
    open_through_chooser(*w, p, d.path("big.sql"));
    QCOMPARE(tabs(*w)->count(), 2);
    QCOMPARE(p.boxes.back().text,
             QString("the file \"%1\" is larger than the editor holds (2 GiB)!").arg(d.path("big.sql")));
    QVERIFY(!entries(sys_config.open_files).contains(d.path("big.sql")));
    QCOMPARE(QFileInfo(d.path("big.sql")).size(), qint64(0x7fffffff) + 1);
  }

  void recent_list_rules() {
    struct row {
      const char* name;
      QStringList before;  // "p<i>" names
      const char* opened;
      QStringList after;
    };
    QStringList twenty_one;
    for (int i = 0; i < 21; ++i) twenty_one << QString("p%1").arg(i);
    QStringList full_new = QStringList{"new"} + twenty_one.mid(0, 20);
    QStringList moved = twenty_one;
    moved.move(10, 0);
    const row rows[] = {
        {"21 entries and a new path: the last goes", twenty_one, "new", full_new},
        {"a listed path moves to the front, nothing dropped", twenty_one, "p10", moved},
        {"every copy of a listed path goes", {"p1", "p2", "p1", "p3", "p1"}, "p1", {"p1", "p2", "p3"}},
        {"empty list", {}, "p1", {"p1"}},
    };
    for (const row& r : rows) {
      reset_config();
      work_dir d;
      ruv::test::scripted_prompt p;
      const auto full = [&](const QStringList& names) {
        QStringList out;
        for (const QString& n : names) out << d.path(n + ".sql");
        return out;
      };
      set_entries(sys_config.recent_files, full(r.before));
      write_file(d.path(QString(r.opened) + ".sql"), "");
      auto w = window();
      open_through_chooser(*w, p, d.path(QString(r.opened) + ".sql"));
      QVERIFY2(entries(sys_config.recent_files) == full(r.after), r.name);
    }
  }

  void open_list_rules_at_start() {
    work_dir d;
    ruv::test::scripted_prompt p;
    write_file(d.path("a.sql"), "select 1;");
    write_file(d.path("b.sql"), "select 2;");
    // Listed twice: one tab; missing: passed over and kept.
    set_entries(sys_config.open_files, {d.path("a.sql"), d.path("gone.sql"), d.path("b.sql"), d.path("a.sql")});
    {
      auto w = window();
      QCOMPARE(tab_texts(*w), QStringList({"a.sql", "b.sql"}));
      QCOMPARE(tabs(*w)->currentIndex(), 1);
      QCOMPARE(w->open_file_count(), kk::u64(2));
      QCOMPARE(entries(sys_config.open_files), QStringList({d.path("a.sql"), d.path("gone.sql"), d.path("b.sql")}));
      // The missing one, opened now, moves to the end; closing a tab takes its path off.
      write_file(d.path("gone.sql"), "");
      open_through_chooser(*w, p, d.path("gone.sql"));
      QCOMPARE(entries(sys_config.open_files), QStringList({d.path("a.sql"), d.path("b.sql"), d.path("gone.sql")}));
      tabs(*w)->setCurrentIndex(0);
      action(w.get(), "close_file_act")->trigger();
      QCOMPARE(entries(sys_config.open_files), QStringList({d.path("b.sql"), d.path("gone.sql")}));
      QVERIFY(!w->find_open_file(d.path("a.sql")));
    }
  }

  void recent_submenu_opens_paths_with_ampersands_and_offers_creation() {
    work_dir d;
    ruv::test::scripted_prompt p;
    write_file(d.path("R&D.sql"), "select 3;");
    set_entries(sys_config.recent_files, {d.path("R&D.sql"), d.path("missing.sql")});
    auto w = window();
    const QList<QAction*> recent = w->findChild<QMenu*>("recent_menu")->actions();
    recent[0]->trigger();
    QCOMPARE(tab_texts(*w), QStringList({"R&&D.sql"}));  // "&&" shows one "&"
    QCOMPARE(current(*w)->text(), QString("select 3;"));

    // Missing: No leaves everything; Yes opens an empty tab, the file comes with the save.
    p.answers.push_back(QMessageBox::No);
    recent[1]->trigger();
    QCOMPARE(p.boxes.back().title, QString("file not exists"));
    QCOMPARE(p.boxes.back().text, QString("the file is not exists do your want to create new file?"));
    QCOMPARE(tabs(*w)->count(), 1);
    QCOMPARE(entries(sys_config.recent_files), QStringList({d.path("R&D.sql"), d.path("missing.sql")}));
    p.answers.push_back(QMessageBox::Yes);
    recent[1]->trigger();
    QCOMPARE(tab_texts(*w), QStringList({"R&&D.sql", "missing.sql"}));
    // Created at once, empty: left untouched, the tab reopens at the next start.
    QCOMPARE(file_bytes(d.path("missing.sql")), QByteArray());
    QCOMPARE(entries(sys_config.recent_files), QStringList({d.path("missing.sql"), d.path("R&D.sql")}));
    type(*w, "select 4;");
    action(w.get(), "save_file_act")->trigger();
    QCOMPARE(file_bytes(d.path("missing.sql")), QByteArray("select 4;"));
  }

  void a_created_file_that_cannot_be_made_is_reported() {
    // Through the recent files and through "new file(&n)": no tab, no list entry, a box why.
    work_dir d;
    ruv::test::scripted_prompt p;
    const QString bad = unwritable(d, "x.sql");
    set_entries(sys_config.recent_files, {bad});
    auto w = window();
    p.answers.push_back(QMessageBox::Yes);
    w->findChild<QMenu*>("recent_menu")->actions().at(0)->trigger();
    p.files.push_back({bad});
    action(w.get(), "new_file_act")->trigger();
    QCOMPARE(tabs(*w)->count(), 0);
    QCOMPARE(entries(sys_config.open_files), QStringList());
    QCOMPARE(entries(sys_config.recent_files), QStringList({bad}));
    QCOMPARE(p.boxes.size(), std::size_t(3));
    for (std::size_t i : {std::size_t(1), std::size_t(2)}) {
      QCOMPARE(p.boxes[i].title, QString("open failed"));
      QVERIFY2(p.boxes[i].text.startsWith(QString("the file \"%1\" could not be created: ").arg(bad)),
               qPrintable(p.boxes[i].text));
      QCOMPARE(p.boxes[i].icon, QMessageBox::Warning);
    }
  }

  void a_created_file_reopens_at_the_next_start() {
    work_dir d;
    ruv::test::scripted_prompt p;
    set_entries(sys_config.recent_files, {d.path("new.sql")});
    {
      auto w = window();
      p.answers.push_back(QMessageBox::Yes);
      w->findChild<QMenu*>("recent_menu")->actions().at(0)->trigger();
      w->close();  // untouched
    }
    auto w = window();
    QCOMPARE(tab_texts(*w), QStringList({"new.sql"}));
  }

  void a_failed_save_keeps_the_tab_and_its_changes() {
    work_dir d;
    ruv::test::scripted_prompt p;
    auto w = window();
    const QString bad = d.path("a.sql");
    open_then_block(*w, p, bad);
    type(*w, "select 1;");
    QVERIFY(action(w.get(), "save_file_act")->isEnabled());
    QVERIFY(action(w.get(), "save_all_act")->isEnabled());

    const std::size_t before = p.boxes.size();
    action(w.get(), "save_file_act")->trigger();
    QCOMPARE(p.boxes.size(), before + 1);
    QCOMPARE(p.boxes.back().title, QString("save failed"));
    QVERIFY(p.boxes.back().text.contains(bad));
    QVERIFY(current(*w)->editor_widget()->is_modified());
    QVERIFY(action(w.get(), "save_file_act")->isEnabled());

    // Neither closing the tab, nor save all, nor closing all loses it.
    for (const char* name : {"close_file_act", "save_all_act", "close_all_act"}) {
      action(w.get(), name)->trigger();
      QVERIFY2(tabs(*w)->count() == 1, name);
      QVERIFY2(p.boxes.back().title == "save failed", name);
      QVERIFY2(current(*w)->text() == "select 1;", name);
    }
    QVERIFY(action(w.get(), "save_all_act")->isEnabled());
    QCOMPARE(entries(sys_config.open_files), QStringList({bad}));

    // The window stays open unless the changes are given up.
    w->close();
    QVERIFY(w->isVisible());
    QCOMPARE(p.boxes.back().buttons, QMessageBox::Discard | QMessageBox::Cancel);
    QVERIFY(p.boxes.back().text.contains(bad));
    p.answers.push_back(QMessageBox::Discard);
    w->close();
    QVERIFY(!w->isVisible());
  }

  void closing_asks_before_it_writes() {
    work_dir d;
    ruv::test::scripted_prompt p;
    write_file(d.path("a.sql"), "old a");
    auto w = window();
    open_through_chooser(*w, p, d.path("a.sql"));
    type(*w, "select 1;");
    open_then_block(*w, p, d.path("b.sql"));
    type(*w, "select 2;");
    w->show();
    // Enter on the question keeps the window, and then nothing was written.
    QVERIFY(!w->close());
    QVERIFY(w->isVisible());
    QCOMPARE(p.boxes.back().title, QString("save failed"));
    QCOMPARE(p.boxes.back().default_button, QMessageBox::Cancel);
    QCOMPARE(p.boxes.back().icon, QMessageBox::Warning);
    QCOMPARE(file_bytes(d.path("a.sql")), QByteArray("old a"));
    QVERIFY(script_at(*w, 0)->editor_widget()->is_modified());
    QCOMPARE(QDir(d.path("")).entryList(QDir::Files | QDir::Hidden), QStringList({"a.sql"}));  // no temporary file left
    // Given up: the others are written, and the window closes.
    p.answers.push_back(QMessageBox::Discard);
    QVERIFY(w->close());
    QCOMPARE(file_bytes(d.path("a.sql")), QByteArray("select 1;old a"));
  }

  void save_and_save_all_follow_the_modified_state() {
    work_dir d;
    ruv::test::scripted_prompt p;
    write_file(d.path("a.sql"), "");
    write_file(d.path("b.sql"), "");
    auto w = window();
    open_through_chooser(*w, p, d.path("a.sql"));
    open_through_chooser(*w, p, d.path("b.sql"));
    QVERIFY(!action(w.get(), "save_all_act")->isEnabled());
    tabs(*w)->setCurrentIndex(0);
    type(*w, "select 1;");
    QVERIFY(action(w.get(), "save_all_act")->isEnabled());
    tabs(*w)->setCurrentIndex(1);  // the other script is modified still
    QVERIFY(!action(w.get(), "save_file_act")->isEnabled());
    QVERIFY(action(w.get(), "save_all_act")->isEnabled());
    type(*w, "select 2;");
    action(w.get(), "save_all_act")->trigger();
    QCOMPARE(file_bytes(d.path("a.sql")), QByteArray("select 1;"));
    QCOMPARE(file_bytes(d.path("b.sql")), QByteArray("select 2;"));
    QVERIFY(!action(w.get(), "save_all_act")->isEnabled());
    QVERIFY(!action(w.get(), "save_file_act")->isEnabled());
    QVERIFY(!script_at(*w, 0)->editor_widget()->is_modified());
  }

  void save_as() {
    enum class outcome { refused, nothing, moved, failed };
    struct row {
      const char* name;
      const char* target;  // "" cancelled; "a.sql" its own; "b.sql" open in another tab
      outcome result;
      const char* box;
    };
    const row rows[] = {
        {"own path", "a.sql", outcome::refused, "the selected path is same as original!"},
        {"cancelled", "", outcome::nothing, nullptr},
        {"open in another tab", "b.sql", outcome::refused, "is already open in another tab!"},
        {"unwritable", "plain/c.sql", outcome::failed, "could not be saved"},
        {"new path", "c.sql", outcome::moved, nullptr},
    };
    for (const row& r : rows) {
      reset_config();
      work_dir d;
      ruv::test::scripted_prompt p;
      write_file(d.path("a.sql"), "old a");
      write_file(d.path("b.sql"), "old b");
      write_file(d.path("plain"), "a file");
      auto w = window();
      open_through_chooser(*w, p, d.path("b.sql"));
      open_through_chooser(*w, p, d.path("a.sql"));
      type(*w, "new ");
      const std::size_t boxes = p.boxes.size();
      p.files.push_back({*r.target ? d.path(r.target) : QString()});
      action(w.get(), "save_as_act")->trigger();
      QVERIFY2(p.choosers.back().caption == "save as sql file to location", r.name);
      QVERIFY2(p.choosers.back().dir == d.path("a.sql"), r.name);
      QVERIFY2(file_bytes(d.path("a.sql")) == "old a", r.name);
      QVERIFY2(file_bytes(d.path("b.sql")) == "old b", r.name);
      if (r.box)
        QVERIFY2(p.boxes.size() == boxes + 1 && p.boxes.back().text.contains(r.box), r.name);
      else
        QVERIFY2(p.boxes.size() == boxes, r.name);
      if (r.result != outcome::moved) {
        QVERIFY2(tab_texts(*w) == QStringList({"b.sql", "a.sql"}), r.name);
        QVERIFY2(current(*w)->editor_widget()->is_modified(), r.name);
        QVERIFY2(w->find_open_file(d.path("a.sql")) == current(*w), r.name);
        QVERIFY2(entries(sys_config.open_files) == QStringList({d.path("b.sql"), d.path("a.sql")}), r.name);
        continue;
      }
      QCOMPARE(file_bytes(d.path("c.sql")), QByteArray("new old a"));
      QCOMPARE(tab_texts(*w), QStringList({"b.sql", "c.sql"}));
      QVERIFY(!current(*w)->editor_widget()->is_modified());
      QVERIFY(!w->find_open_file(d.path("a.sql")));
      QCOMPARE(w->find_open_file(d.path("c.sql")), current(*w));
      QCOMPARE(w->open_file_count(), kk::u64(2));
      QCOMPARE(entries(sys_config.open_files), QStringList({d.path("b.sql"), d.path("c.sql")}));
      QCOMPARE(entries(sys_config.recent_files).value(0), d.path("c.sql"));
    }
  }

  // The box of a failed save gives the system's words for what went wrong, not a generic text.
  void a_failed_save_gives_the_system_reason() {
    struct row {
      const char* name;
      QString target;  // "" skipped here
      int error;
    };
    work_dir d;
    write_file(d.path("plain"), "a file");
    QDir().mkdir(d.path("locked"));
    QFile::setPermissions(d.path("locked"), QFile::ReadOwner | QFile::ExeOwner);
    const QFileInfo full("/dev/full");
    const row rows[] = {
        // A full disk: /dev/full is written in place (a file renamed over it would replace the device).
        {"full disk", full.exists() && !full.isFile() && full.isWritable() ? QStringLiteral("/dev/full") : QString(), ENOSPC},
        // root may write into any folder: the permission row is for other users only.
        {"read-only folder", geteuid() == 0 ? QString() : d.path("locked/c.sql"), EACCES},
        {"under a file", d.path("plain/c.sql"), ENOTDIR},
    };
    for (const row& r : rows) {
      if (r.target.isEmpty()) {
        qInfo("%s: not tried here", r.name);
        continue;
      }
      reset_config();
      ruv::test::scripted_prompt p;
      write_file(d.path("a.sql"), "old a");
      auto w = window();
      open_through_chooser(*w, p, d.path("a.sql"));
      type(*w, "new ");
      p.files.push_back({r.target});
      action(w.get(), "save_as_act")->trigger();
      QVERIFY2(!p.boxes.empty() && p.boxes.back().title == "save failed", r.name);
      const QString expected = r.target + ": " + QString::fromLocal8Bit(std::strerror(r.error));
      QVERIFY2(p.boxes.back().text.contains(expected), qPrintable(p.boxes.back().text));
      QVERIFY2(current(*w)->editor_widget()->is_modified(), r.name);
      QVERIFY2(file_bytes(d.path("a.sql")) == "old a", r.name);
    }
    QVERIFY(!full.exists() || !QFileInfo("/dev/full").isFile());
    QFile::setPermissions(d.path("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }

  // A script opened through a link is saved into the file the link names; the link stays.
  void saving_through_a_link_keeps_the_link() {
    // A link to the file, and a link to a link to it: the text lands in the file itself.
    for (const bool chain : {false, true}) {
      work_dir d;
      ruv::test::scripted_prompt p;
      QDir().mkdir(d.path("real"));
      write_file(d.path("real/a.sql"), "old");
      if (chain) {
        QVERIFY(QFile::link(d.path("real/a.sql"), d.path("real/b.sql")));
        QVERIFY(QFile::link(d.path("real/b.sql"), d.path("a.sql")));
      } else {
        QVERIFY(QFile::link(d.path("real/a.sql"), d.path("a.sql")));
      }
      auto w = window();
      open_through_chooser(*w, p, d.path("a.sql"));
      type(*w, "new ");
      action(w.get(), "save_file_act")->trigger();
      QVERIFY(!current(*w)->editor_widget()->is_modified());
      QVERIFY(QFileInfo(d.path("a.sql")).isSymLink());
      if (chain) QVERIFY(QFileInfo(d.path("real/b.sql")).isSymLink());
      QCOMPARE(file_bytes(d.path("real/a.sql")), QByteArray("new old"));
    }
  }

  void closing_tabs() {
    work_dir d;
    ruv::test::scripted_prompt p;
    for (const char* n : {"a.sql", "b.sql", "c.sql"}) write_file(d.path(n), "");
    auto w = window();
    open_through_chooser(*w, p, d.path("a.sql"));
    QPointer<QWidget> view = new QWidget;
    tabs(*w)->addTab(view, "a data view");
    open_through_chooser(*w, p, d.path("b.sql"));
    open_through_chooser(*w, p, d.path("c.sql"));
    for (int i : {0, 2, 3}) {
      tabs(*w)->setCurrentIndex(i);
      type(*w, "select 1;");
    }
    tabs(*w)->setCurrentIndex(2);

    // All but this: the other scripts are written and closed, the data view stays.
    action(w.get(), "close_except_act")->trigger();
    QCOMPARE(tab_texts(*w), QStringList({"a data view", "b.sql"}));
    QCOMPARE(file_bytes(d.path("a.sql")), QByteArray("select 1;"));
    QCOMPARE(file_bytes(d.path("c.sql")), QByteArray("select 1;"));
    QCOMPARE(file_bytes(d.path("b.sql")), QByteArray());
    QCOMPARE(entries(sys_config.open_files), QStringList({d.path("b.sql")}));

    // Closing the tab at the end makes the one before it current.
    open_through_chooser(*w, p, d.path("c.sql"));
    action(w.get(), "close_file_act")->trigger();
    QCOMPARE(tabs(*w)->currentIndex(), 1);

    // Close all: every script written and closed, the data view left.
    action(w.get(), "close_all_act")->trigger();
    QCOMPARE(tab_texts(*w), QStringList({"a data view"}));
    QCOMPARE(file_bytes(d.path("b.sql")), QByteArray("select 1;"));
    QCOMPARE(w->open_file_count(), kk::u64(0));
    QVERIFY(entries(sys_config.open_files).isEmpty());

    // The tab's close button closes any page; the last one leaves no current tab.
    emit tabs(*w)->tabCloseRequested(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!view);
    QCOMPARE(tabs(*w)->currentIndex(), -1);
    QVERIFY(!action(w.get(), "close_file_act")->isEnabled());
  }

  void closing_writes_the_modified_scripts_and_the_next_start_reopens_them() {
    work_dir d;
    ruv::test::scripted_prompt p;
    write_file(d.path("a.sql"), "");
    write_file(d.path("b.sql"), "");
    write_file(d.path("c.sql"), "select 3;");
    {
      auto w = window();
      for (const char* n : {"a.sql", "b.sql", "c.sql"}) open_through_chooser(*w, p, d.path(n));
      tabs(*w)->setCurrentIndex(0);
      type(*w, "select 1;");
      tabs(*w)->setCurrentIndex(1);
      type(*w, "select 2;");
      // Changed on disk meanwhile; its tab is unmodified, so closing leaves the file alone.
      write_file(d.path("c.sql"), "changed elsewhere");
      action(w.get(), "quit_act")->trigger();
      QVERIFY(!w->isVisible());
    }
    QCOMPARE(file_bytes(d.path("a.sql")), QByteArray("select 1;"));
    QCOMPARE(file_bytes(d.path("b.sql")), QByteArray("select 2;"));
    QCOMPARE(file_bytes(d.path("c.sql")), QByteArray("changed elsewhere"));

    // The next start, through the configuration file.
    QVERIFY(save_sys_config(&sys_config, "config"));
    reset_config();
    QVERIFY(load_sys_config(&sys_config, "config"));
    auto w = window();
    QCOMPARE(tab_texts(*w), QStringList({"a.sql", "b.sql", "c.sql"}));
    QCOMPARE(tabs(*w)->currentIndex(), 2);
    QCOMPARE(script_at(*w, 0)->text(), QString("select 1;"));
    QCOMPARE(script_at(*w, 2)->text(), QString("changed elsewhere"));
    QVERIFY(action(w.get(), "close_file_act")->isEnabled());
    QVERIFY(action(w.get(), "sel_all_act")->isEnabled());
  }

  void double_click_on_the_tab_strip() {
    struct row {
      const char* name;
      bool with_tab;
      bool on_strip;
      bool chooser;
    };
    const row rows[] = {
        {"no tab, strip", false, true, true},
        {"no tab, below the strip", false, false, false},
        {"beside a tab", true, true, true},
    };
    for (const row& r : rows) {
      reset_config();
      work_dir d;
      ruv::test::scripted_prompt p;
      write_file(d.path("a.sql"), "");
      auto w = window();
      if (r.with_tab) open_through_chooser(*w, p, d.path("a.sql"));
      const std::size_t before = p.choosers.size();
      QTabWidget* t = tabs(*w);
      const QPoint at(t->width() - 10, r.on_strip ? 5 : t->height() - 10);
      QMouseEvent dbl(QEvent::MouseButtonDblClick, at, t->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
      QApplication::sendEvent(t, &dbl);
      QVERIFY2((p.choosers.size() == before + 1) == r.chooser, r.name);
      if (r.chooser) QVERIFY2(p.choosers.back().caption == "set sql file's location", r.name);
    }
  }
};

QTEST_MAIN(main_window_files_test)
#include "main_window_files_test.moc"
