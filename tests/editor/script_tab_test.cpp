// The script tab against the catalogue server: whole-script runs, failures, parse failures,
// log batches, a stale parse, titles, completion wiring and saving.
#include <QHeaderView>
#include <QImage>
#include <QInputMethodEvent>
#include <QPointer>
#include <QTableView>
#include "query/wire.h"
#include "dataview/search_tab_dlg.h"
#include <QClipboard>
#include <QFile>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "client/ruv_sql_lib_mem.h"
#include "editor/auto_list.h"
#include "editor/editor.h"
#include "script_tab/sql_script_editor.h"
#include "editor/scroll_area.h"
#include "editor/linenumber_wt.h"
#include "editor/search_dlg.h"
#include "ui_base/sys_config.h"
#include "sqllib/library_startup.h"
#include "query/db_ctx.h"
#include "tests/peer/catalogue.h"
#include "tests/peer/test_peer.h"
#include "tests/support/scripted_prompt.h"

using namespace ruv;

namespace {

kk::adt::string::string str(const QByteArray& b) { return kk::adt::string_from_bytes(b.constData(), kk::u64(b.size())); }

struct fixture {
  peer::catalogue db;
  peer::test_peer server;
  test::scripted_prompt prompt;
  db_ctx ctx{kk::adt::string_from_cstr("ruv_mdb"), nullptr};
  std::vector<QByteArray> flushed;  // each batch of log entries
  bool connected = false;
  fixture() {
    db.install(server);
    db.create_table("t", {{"a", peer::ftype::i32, ""}});
    db.insert("t", {peer::value::sint(peer::ftype::i32, 5)});
    connected = ruv::wire_connect("127.0.0.1", server.port(), "u", "p");
  }
  ~fixture() { ruv::wire_exit(); }
  std::unique_ptr<sql_script_editor> tab(const QByteArray& text) {
    auto t = std::make_unique<sql_script_editor>(&ctx, str(text));
    t->set_log_sink([this](const kk::adt::string::string& s) { flushed.emplace_back(s.data, int(s.size)); });
    return t;
  }
  // The tab on screen at `size`; null when the window system did not show it.
  std::unique_ptr<sql_script_editor> shown_tab(const QByteArray& text, QSize size = {600, 400}) {
    auto t = tab(text);
    t->resize(size);
    t->show();
    return QTest::qWaitForWindowExposed(t.get()) ? std::move(t) : nullptr;
  }
  std::vector<std::string> sent() const {
    std::vector<std::string> out;
    for (const auto& h : db.log()) out.push_back(h.text);
    return out;
  }
};

int occurrences(const QByteArray& hay, const QByteArray& needle) { return hay.count(needle); }

// The tab as it is on screen.
QImage shot(QWidget& w) {
  QImage img(w.size(), QImage::Format_ARGB32);
  img.fill(Qt::gray);
  w.render(&img);
  return img;
}

// The pixels of a band [x0, x1) x [y0, y1) darker than `below` (the text's, or the grey of
// the gutter's numbers): their leftmost and rightmost x, or -1.
struct ink_span {
  int left = -1, right = -1, count = 0;
};
ink_span ink(const QImage& img, int x0, int x1, int y0, int y1, int below = 128) {
  ink_span s;
  for (int x = std::max(0, x0); x < std::min(img.width(), x1); ++x)
    for (int y = std::max(0, y0); y < std::min(img.height(), y1); ++y)
      if (img.pixelColor(x, y).lightness() < below) {
        if (s.left < 0) s.left = x;
        s.right = x;
        ++s.count;
      }
  return s;
}

void commit(QWidget* w, const QString& text) {
  QInputMethodEvent e;
  e.setCommitString(text);
  QApplication::sendEvent(w, &e);
}

// Restores the configuration a test changed.
struct config_guard {
  sys_config_block saved = sys_config;
  ~config_guard() { static_cast<sys_config_block&>(sys_config) = saved; }
};

}  // namespace

class script_tab_test : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { kk::library_startup(); }

  void empty_script_succeeds_without_tabs() {
    for (const char* text : {"", "  \n# nothing here\n/* nor /* here */ */ "}) {
      fixture f;
      QVERIFY(f.connected);
      auto t = f.tab(text);
      QSignalSpy done(t.get(), &sql_script_editor::executed);
      t->exec_sql();
      QVERIFY2(done.count() == 1, qPrintable(f.prompt.last_text()));
      QCOMPARE(done.at(0).at(0).toBool(), true);
      QCOMPARE(f.prompt.last_text(), QString("the sql execute sussesful total!"));
      QCOMPARE(t->result_tabs()->count(), 0);
      QVERIFY(t->result_tabs()->isHidden());
      QVERIFY(f.sent().empty());
    }
  }

  void failure_in_the_middle_stops_the_run() {
    fixture f;
    auto t = f.tab("select * from t;\nselect * from nosuch;\ninsert into t (a) values (9);\n");
    QSignalSpy done(t.get(), &sql_script_editor::executed);
    t->exec_sql();
    QCOMPARE(done.count(), 1);
    QCOMPARE(done.at(0).at(0).toBool(), false);
    QCOMPARE(t->result_tabs()->count(), 1);
    QVERIFY(!t->result_tabs()->isHidden());
    QCOMPARE(t->statement_of(0), QString("select * from t;"));
    QCOMPARE(f.prompt.boxes.back().title, QString("execute infomation"));
    QCOMPARE(f.prompt.last_text(), QString("the sql \"select * from nosuch;\" execute failed!"));
    const auto sent = f.sent();
    QCOMPARE(sent.size(), size_t(2));  // the third statement never reached the server
    QCOMPARE(f.db.table("t")->rows.size(), size_t(1));
    // Both entries reach the log, the refused one included.
    QCOMPARE(f.flushed.size(), size_t(1));
    QCOMPARE(occurrences(f.flushed[0], "nosuch"), 1);
    QCOMPARE(occurrences(f.flushed[0], "from t;"), 1);
  }

  void result_grids_with_rows_offer_the_cell_search() {
    fixture f;
    auto t = f.tab("select * from t;\n");
    t->exec_sql();
    QCOMPARE(t->result_tabs()->count(), 1);
    auto* rows = qobject_cast<QTableView*>(t->result_tabs()->widget(0));
    QVERIFY(rows);
    QCOMPARE(rows->horizontalHeader()->sortIndicatorSection(), -1);  // no sort claimed
    QCOMPARE(rows->actions().size(), 1);
    QCOMPARE(rows->actions().at(0)->text(), QString("find text"));
    auto* dlg = rows->findChild<search_tab_dlg*>();
    QVERIFY(dlg);
    rows->actions().at(0)->trigger();
    QVERIFY(dlg->isVisible());
    QPointer<search_tab_dlg> gone(dlg);
    t->close_all_tab(true);
    QVERIFY(gone.isNull());  // the dialog goes with its grid
  }

  // The grid's "find text" key (ctrl+shift+f) is the grid's: pressed in the editor it opens
  // nothing; pressed in the grid it opens the grid's cell search.
  void the_grid_find_key_acts_in_the_grid_only() {
    fixture f;
    auto t = f.tab("select * from t;\n");
    t->show();
    QApplication::setActiveWindow(t.get());
    QVERIFY(QTest::qWaitForWindowActive(t.get()));
    t->exec_sql();
    auto* rows = qobject_cast<QTableView*>(t->result_tabs()->widget(0));
    QVERIFY(rows);
    auto* dlg = rows->findChild<search_tab_dlg*>();
    QVERIFY(dlg);
    t->editor_widget()->setFocus();
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(t->editor_widget()));
    QTest::keyClick(t->editor_widget(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!dlg->isVisible());
    QCOMPARE(t->editor_widget()->text(), QByteArray("select * from t;\n"));
    rows->setFocus();
    QTest::keyClick(rows, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(dlg->isVisible());
    dlg->reject();
  }

  void script_that_does_not_parse_runs_nothing() {
    fixture f;
    auto t = f.tab("insert into t (a) values (1);\nselect from where ((;\n");
    QSignalSpy done(t.get(), &sql_script_editor::executed);
    t->exec_sql();
    QVERIFY(f.sent().empty());
    QVERIFY(f.prompt.last_text().startsWith("the sql parsed failed at position: "));
    QCOMPARE(f.prompt.boxes.back().title, QString("sql parse failed"));
    QCOMPARE(done.count(), 0);
  }

  void current_line_and_selection() {
    fixture f;
    auto t = f.tab("select * from t; nonsense here\n\nselect * from t where a == 5;");
    t->exec_cur(true);  // cursor on line 1: the second statement does not parse
    QCOMPARE(f.prompt.last_text(), QString("the sql parsed failed at position: 17"));
    QVERIFY(f.sent().empty());
    t->editor_widget()->goto_linee();
    auto* ed = t->editor_widget();
    doc_set_cursor(ed->document(), 31);  // the empty line
    const size_t boxes = f.prompt.boxes.size();
    t->exec_cur(true);
    QCOMPARE(f.prompt.boxes.size(), boxes);
    doc_set_cursor(ed->document(), 40);
    t->exec_cur(true);
    t->exec_cur(true);
    QCOMPARE(t->result_tabs()->count(), 2);  // results add up
    QCOMPARE(t->statement_of(1), QString("select * from t where a == 5;"));
  }

  void log_is_written_in_batches_of_8192() {
    fixture f;
    QByteArray script;
    for (int i = 0; i < 8193; ++i) script += "insert into t (a) values (1);\n";
    auto t = f.tab(script);
    t->exec_sql();
    QCOMPARE(f.prompt.last_text(), QString("the sql execute sussesful total!"));
    QCOMPARE(f.flushed.size(), size_t(2));
    QCOMPARE(occurrences(f.flushed[0], "insert into"), 8192);
    QCOMPARE(occurrences(f.flushed[1], "insert into"), 1);
    QCOMPARE(t->result_tabs()->count(), 0);  // no columns, no views
  }

  void stale_parse_runs_what_the_editor_shows() {
    fixture f;
    QByteArray script;
    while (script.size() < 200 * 1024) script += "insert into t (a) values (2);\n";
    auto t = f.tab(script);
    editor* ed = t->editor_widget();
    ed->reparse();
    QVERIFY(ed->parse_is_current());
    doc_cursor_to_end(ed->document());
    QTest::keyClicks(ed, "drop table t;");
    QVERIFY(!ed->parse_is_current());
    t->exec_sql();
    QVERIFY2(!f.sent().empty(), qPrintable(f.prompt.last_text() + QString::fromUtf8(ed->text().left(80))));
    QCOMPARE(f.sent().back(), std::string("drop table t;"));
    QVERIFY(f.db.table("t") == nullptr);
  }

  void titles_elide_and_escape_but_keep_the_statement() {
    fixture f;
    QByteArray long_stmt = "select * from t where a == 5";
    while (long_stmt.size() < 300) long_stmt += " && a == 5";
    long_stmt += ";";
    auto t = f.tab(long_stmt);
    t->exec_sql();
    QCOMPARE(t->result_tabs()->count(), 1);
    const QString title = t->result_tabs()->tabText(0);
    QVERIFY(title.size() <= 2 * sql_script_editor::title_max);
    QVERIFY(title.endsWith(QChar(0x2026)));
    QVERIFY(title.contains("&&&&"));  // shown as "&&", never a mnemonic
    QCOMPARE(t->statement_of(0), QString::fromUtf8(long_stmt));
    t->copy_tab(true);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromUtf8(long_stmt));
    t->close_tab(true);
    QVERIFY(t->result_tabs()->isHidden());
  }

  void completion_popup_inserts_the_server_spelling() {
    fixture f;
    auto t = f.tab("");
    kk::adt::vector<kk::adt::string::string> tables;
    tables.push_back(kk::adt::string_from_cstr("Orders"));
    t->set_table_names(&tables);
    t->show();
    editor* ed = t->editor_widget();
    QTest::keyClicks(ed, "select * from or");
    QVERIFY(t->popup());
    QTest::keyClick(t->popup(), Qt::Key_Return);
    QCOMPARE(ed->text(), QByteArray("select * from Orders"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!t->popup());
  }

  void a_short_text_fills_the_view_without_scroll_bars() {
    fixture f;
    auto t = f.shown_tab("select 1;", QSize(1000, 700));
    QVERIFY(t);
    QCoreApplication::processEvents();
    editor* e = t->editor_widget();
    const scrollarea* a = t->area();
    // Whatever the last key, the editor covers the view beside the gutter, and a text that
    // fits shows neither bar.
    for (Qt::Key k : {Qt::Key_End, Qt::Key_Escape, Qt::Key_Return, Qt::Key_Escape}) {
      QTest::keyClick(e, k);
      QCoreApplication::processEvents();
      QVERIFY2(e->width() >= a->view_width() - t->gutter()->width() - 3, qPrintable(QString::number(k)));
      QVERIFY2(e->height() >= a->view_height() - 1, qPrintable(QString::number(k)));
      QVERIFY(a->h_bar()->isHidden());
      QVERIFY(a->v_bar()->isHidden());
    }
    // A text wider and taller than the view brings both back.
    QTest::keyClicks(e, QString(300, QLatin1Char('x')));
    for (int i = 0; i < 80; ++i) QTest::keyClick(e, Qt::Key_Return);
    QCoreApplication::processEvents();
    QVERIFY(!a->h_bar()->isHidden());
    QVERIFY(!a->v_bar()->isHidden());
  }

  // A line longer than the view, scrolled sideways: the known character is drawn in its
  // column, a click on it lands before it, and what is typed there is where it was drawn.
  void scrolled_long_line_is_drawn_where_it_is_edited() {
    config_guard cfg;
    sys_config.show_space = 0;
    struct row {
      const char* name;
      int col;                  // the column of the only visible character
      std::vector<Qt::Key> keys;  // from the start of the line
    };
    const row rows[] = {
        {"home, then right 60 times", 60, std::vector<Qt::Key>(60, Qt::Key_Right)},
        {"end", 140, {Qt::Key_End}},
    };
    for (const auto& r : rows) {
      fixture f;
      QByteArray line(150, ' ');
      line[r.col] = 'W';
      auto t = f.shown_tab(line);
      QVERIFY(t);
      editor* ed = t->editor_widget();
      QTest::keyClick(ed, Qt::Key_Home);
      for (Qt::Key k : r.keys) QTest::keyClick(ed, k);
      QCoreApplication::processEvents();
      QVERIFY2(t->area()->offset_x() > 0, r.name);
      if (ed->blink_phase() == 0) ed->change_cursor();  // the cursor hidden: only the text inks
      const QImage img = shot(*t);
      const int cw = ed->cell_width(), lh = ed->line_height();
      const QPoint row0 = ed->mapTo(t.get(), QPoint(0, 0));
      const QPoint view = t->area()->mapTo(t.get(), QPoint(0, 0));
      const int text_left = t->gutter()->mapTo(t.get(), QPoint(t->gutter()->width(), 0)).x();
      const ink_span s = ink(img, text_left, view.x() + t->area()->view_width(), row0.y(), row0.y() + lh);
      const int cell_left = row0.x() + r.col * cw;
      QVERIFY2(s.count > 0 && s.left >= cell_left && s.right < cell_left + cw,
               qPrintable(QString("%1: ink %2..%3, cell at %4").arg(r.name).arg(s.left).arg(s.right).arg(cell_left)));
      QTest::mouseClick(ed, Qt::LeftButton, Qt::NoModifier, ed->mapFrom(t.get(), QPoint(s.left, row0.y() + lh / 2)));
      QCOMPARE(doc_cursor(ed->document()), r.col);
      QTest::keyClicks(ed, "#");
      QCOMPARE(ed->text().indexOf("#W"), r.col);
    }
  }

  // A million lines: text and numbers are painted to the last line.
  void million_lines_show_text_and_numbers_to_the_end() {
    fixture f;
    QByteArray text;
    text.reserve(2000010);
    for (int i = 0; i < 1000000; ++i) text += "x\n";
    text += "WWW";
    auto t = f.shown_tab(text);
    QVERIFY(t);
    editor* ed = t->editor_widget();
    doc_set_cursor(ed->document(), text.size());
    ed->cursor_point();
    t->change_layout();
    QCoreApplication::processEvents();
    const int lh = ed->line_height();
    // The last line's row in the view: its logical top less the area's offset.
    const kk::i64 row = 1000000LL * lh - kk::i64(t->area()->offset_y());
    QVERIFY2(row >= 0 && row + lh <= t->area()->view_height(),
             qPrintable(QString("row %1, offset %2, view %3").arg(row).arg(t->area()->offset_y()).arg(t->area()->view_height())));
    const QPoint at = t->area()->mapTo(t.get(), QPoint(0, int(row)));
    const QImage img = shot(*t);
    const QPoint ed0 = ed->mapTo(t.get(), QPoint(0, 0));
    const int gutter_left = t->gutter()->mapTo(t.get(), QPoint(0, 0)).x();
    QVERIFY(ink(img, ed0.x(), ed0.x() + 3 * ed->cell_width(), at.y(), at.y() + lh).count > 10);
    QVERIFY(ink(img, gutter_left, gutter_left + t->gutter()->width(), at.y(), at.y() + lh).count > 10);
    QVERIFY(ink(img, gutter_left, gutter_left + t->gutter()->width(), at.y() - lh, at.y(), 200).count > 10);
    // And a click on it reaches the last line.
    QTest::mouseClick(ed, Qt::LeftButton, Qt::NoModifier, ed->mapFrom(t.get(), QPoint(ed0.x() + 1, at.y() + lh / 2)));
    QCOMPARE(doc_cursor(ed->document()), kk::i32(text.size() - 3));
  }

  // A new point size (the preferences): the gutter takes the font and the spacing of the
  // editor beside it, so the last line has its number.
  void gutter_follows_the_font() {
    config_guard cfg;
    fixture f;
    auto t = f.shown_tab("a\nb\nc\nd");
    QVERIFY(t);
    editor* ed = t->editor_widget();
    const kk::u32 theme = sys_config.theme <= 2 ? sys_config.theme : 0;
    for (auto& fmt : sys_config.text_formats[theme].formats) fmt.point_size = 16;
    ed->update();
    QCoreApplication::processEvents();  // the editor paints with the new grid
    QCoreApplication::processEvents();  // and its neighbours follow
    const int lh = ed->line_height();
    QCOMPARE(lh, int(16 * sys_config.vertical_factor));
    QCOMPARE(t->gutter()->font().pointSize(), 16);
    QVERIFY(t->gutter()->height() >= 4 * lh);
    const QImage img = shot(*t);
    const QPoint g = t->gutter()->mapTo(t.get(), QPoint(0, 0));
    for (int line = 0; line < 4; ++line)
      QVERIFY2(ink(img, g.x(), g.x() + t->gutter()->width(), g.y() + line * lh, g.y() + (line + 1) * lh, 200).count > 0,
               qPrintable(QString("no number on line %1").arg(line + 1)));
  }

  // Find and replace title the dialog, keep it on top and are not offered while it is shown.
  void find_and_replace_dialog() {
    fixture f;
    auto t = f.tab("select a from t;");
    editor* ed = t->editor_widget();
    QAction find, replace;
    ed->set_find_action(&find);
    ed->set_replace_action(&replace);
    ed->context_menu_actions();
    QVERIFY(find.isEnabled() && replace.isEnabled());
    QDialog* dlg = t->search_dialog();
    ed->find();
    QVERIFY(dlg->isVisible());
    QCOMPARE(dlg->windowTitle(), QString("find text in current windows"));
    QVERIFY(dlg->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!find.isEnabled() && !replace.isEnabled());
    ed->replace();  // not while it is shown
    QCOMPARE(dlg->windowTitle(), QString("find text in current windows"));
    dlg->reject();
    QVERIFY(!dlg->isVisible());
    QVERIFY(find.isEnabled() && replace.isEnabled());
    ed->replace();
    QCOMPARE(dlg->windowTitle(), QString("replace text in current windows"));
    QVERIFY(!find.isEnabled());
    dlg->close();
    QVERIFY(find.isEnabled());
  }

  // The popup: 16 pixels a byte of its longest word (at least 80) by 20 a row, 10 right of
  // and 30 below the cursor's cell; text it does not use reaches the editor and closes it.
  void completion_popup_place_and_text_it_passes_on() {
    fixture f;
    auto t = f.shown_tab("");
    QVERIFY(t);
    editor* ed = t->editor_widget();
    QTest::keyClicks(ed, "s");
    QPointer<auto_list> p = t->popup();
    QVERIFY(p);
    QCOMPARE(p->count(), 3);  // select, save, show
    const QPoint cell = ed->mapTo(t.get(), QPoint(ed->cell_width(), 0));
    QCOMPARE(p->geometry(), QRect(cell + QPoint(10, 30), QSize(96, 60)));

    commit(p, QString::fromUtf8("\xE4\xB8\xAD"));  // an input method's commit
    QCOMPARE(ed->text(), QByteArray("s\xE4\xB8\xAD"));
    QVERIFY(!p || p->closed());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!t->popup());

    ed->set_text("");
    QTest::keyClicks(ed, "select na");
    p = t->popup();
    QVERIFY(p);
    QKeyEvent e_acute(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QString::fromUtf8("\xC3\xA9"));
    QApplication::sendEvent(p, &e_acute);
    QCOMPARE(ed->text(), QByteArray("select na\xC3\xA9"));
    QVERIFY(!p || p->closed());
  }

  // The popup is as tall as its rows, 20 pixels each, also after typing narrowed them: no
  // blank box below the last row over the editor and the result grid.
  void completion_popup_keeps_to_its_rows() {
    fixture f;
    auto t = f.shown_tab("");
    QVERIFY(t);
    editor* ed = t->editor_widget();
    QTest::keyClicks(ed, "s");
    QPointer<auto_list> p = t->popup();
    QVERIFY(p);
    const QPoint top_left = p->geometry().topLeft();
    struct step {
      const char* typed;
      int rows;
    };
    for (const step& s : {step{"", 3}, step{"e", 1}, step{"l", 1}}) {
      if (*s.typed) QTest::keyClicks(p, s.typed);
      QVERIFY2(p && !p->closed(), s.typed);
      QCOMPARE(p->count(), s.rows);
      QCOMPARE(p->geometry(), QRect(top_left, QSize(96, 20 * s.rows)));
      // The rows fill the box: the last one ends at its bottom edge.
      QCOMPARE(p->visualItemRect(p->item(s.rows - 1)).bottom() + 1, p->viewport()->height());
      for (int i = 0; i < s.rows; ++i) QCOMPARE(p->visualItemRect(p->item(i)).height(), 20);
    }
    QCOMPARE(p->item(0)->text(), QString("select"));
  }

  void save_keeps_bytes_and_reports_failure() {
    fixture f;
    const QByteArray bytes("select \xff\xfe from t; -- \xc3\x28\n");
    auto t = f.tab(bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath("s.sql");
    QTest::keyClick(t->editor_widget(), Qt::Key_End);
    QTest::keyClicks(t->editor_widget(), "x");
    QTest::keyClick(t->editor_widget(), Qt::Key_Backspace);
    QVERIFY(t->save_to(path));
    QFile in(path);
    QVERIFY(in.open(QIODevice::ReadOnly));
    QCOMPARE(in.readAll(), bytes);
    QVERIFY(!t->editor_widget()->is_modified());
    QTest::keyClicks(t->editor_widget(), "y");
    QString why;
    QVERIFY(!t->save_to(dir.filePath("missing/dir/s.sql"), &why));
    QVERIFY(!why.isEmpty());
    QVERIFY(t->editor_widget()->is_modified());
  }
};

QTEST_MAIN(script_tab_test)
#include "script_tab_test.moc"
