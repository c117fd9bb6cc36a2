// The code editor widget: input, commands, parse schedule and painting, offscreen.
// The grammar's headers come first: they use the word that Qt defines as a macro.
#include "sqllib/library_startup.h"
#include "sqllib/sql_library.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "ui_base/sys_config.h"
#include "editor/editor.h"

using namespace ruv;

namespace {

struct clock_script {
  u64 now = 100000;
};

QByteArray sel_text(const editor& e) { return e.selected_text(); }

std::vector<byte_range> sels(const editor& e) { return e.document().selections; }

void key(editor& e, int k, Qt::KeyboardModifiers m = Qt::NoModifier, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, k, m, text);
  QApplication::sendEvent(&e, &press);
  QKeyEvent release(QEvent::KeyRelease, k, m, text);
  QApplication::sendEvent(&e, &release);
}

void type(editor& e, const QString& s) {
  for (QChar c : s) key(e, c == '\n' ? Qt::Key_Return : Qt::Key_A, Qt::NoModifier, QString(c));
}

QPoint cell_center(const editor& e, int col, int line) {
  return {col * e.cell_width() + e.cell_width() / 4, line * e.line_height() + e.line_height() / 2};
}

QImage paint(editor& e, int w, int h) {
  QImage img(w, h, QImage::Format_ARGB32);
  img.fill(Qt::gray);
  QPainter p(&img);
  e.paint_text(p);
  return img;
}

}  // namespace

class editor_test : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    sys_config_defaults(sys_config);
    if (!kk::sql_library_instance()) kk::library_startup();
  }

  void shift_selection_and_plain_motion() {
    editor e;
    e.set_text("0123456789");
    doc_set_cursor(e.document(), 2);
    QKeyEvent shift(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    QApplication::sendEvent(&e, &shift);
    for (int i = 0; i < 3; ++i) {
      QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier);
      QApplication::sendEvent(&e, &right);
    }
    QCOMPARE(sels(e), (std::vector<byte_range>{{2, 5}}));
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
    QApplication::sendEvent(&e, &up);
    QCOMPARE(e.selection_state(), 2);
    QCOMPARE(sels(e), (std::vector<byte_range>{{2, 5}}));
    key(e, Qt::Key_Right);
    QVERIFY(sels(e).empty());
    QCOMPARE(doc_cursor(e.document()), 6);
    // Shift+End then Shift+Home from the middle selects back to the line start.
    key(e, Qt::Key_End, Qt::ShiftModifier);
    QCOMPARE(sels(e), (std::vector<byte_range>{{6, 10}}));
  }

  void typing_motion_and_keypad() {
    clock_script c;
    editor e;
    e.set_clock([&c] { return c.now; });
    QSignalSpy changed(&e, &editor::textChanged);
    QSignalSpy moved(&e, &editor::lineChanged);
    type(e, "ab\ncd");
    QCOMPARE(e.text(), QByteArray("ab\ncd"));
    QCOMPARE(changed.count(), 5);
    // Keypad digits and keypad Enter carry the keypad (and group-switch) modifier.
    struct row {
      int key;
      Qt::KeyboardModifiers mods;
      QString text;
      QByteArray want;
    };
    const row rows[] = {
        {Qt::Key_7, Qt::KeypadModifier, "7", "ab\ncd7"},
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", "ab\ncd7\n"},
        {Qt::Key_Plus, Qt::KeypadModifier | Qt::GroupSwitchModifier, "+", "ab\ncd7\n+"},
        {Qt::Key_Left, Qt::KeypadModifier, "", "ab\ncd7\n+"},
        {Qt::Key_Delete, Qt::KeypadModifier, "", "ab\ncd7\n"},
        {Qt::Key_Backspace, Qt::NoModifier, "", "ab\ncd7"},
    };
    for (const auto& r : rows) {
      key(e, r.key, r.mods, r.text);
      QCOMPARE(e.text(), r.want);
    }
    key(e, Qt::Key_Up);
    QCOMPARE(doc_cursor(e.document()), 2);
    QVERIFY(moved.count() >= 1);
    key(e, Qt::Key_Down, Qt::ControlModifier);  // word right: none after "cd7"
    key(e, Qt::Key_Escape);
    // Text typed over a selection replaces it.
    doc_add_selection(e.document(), {0, 2});
    c.now += 5000;
    key(e, Qt::Key_X, Qt::NoModifier, "x");
    QCOMPARE(e.text(), QByteArray("x\ncd7"));
    // Undo through the command restores it.
    e.undo();
    QCOMPARE(e.text(), QByteArray("ab\ncd7"));
  }

  void tab_modes() {
    struct row {
      u8 as_space;
      u32 width;
      QByteArray want;
    };
    for (const auto& r : {row{1, 4, "    "}, row{0, 4, "\t"}, row{1, 2, "  "}}) {
      sys_config.insert_as_space = r.as_space;
      sys_config.tab_width = r.width;
      editor e;
      key(e, Qt::Key_Tab, Qt::NoModifier, "\t");
      QCOMPARE(e.text(), r.want);
    }
  }

  void page_keys() {
    sys_config.vertical_factor = 1.0f;  // 12 px lines
    editor e;
    QByteArray t;
    for (int i = 0; i < 40; ++i) t += "line\n";
    e.set_text(t);
    e.set_visible_rect(QRect(0, 0, 400, 120));  // ten lines
    key(e, Qt::Key_PageDown);
    QCOMPARE(e.layout().line_of(u64(doc_cursor(e.document()))), u64(8));
    key(e, Qt::Key_PageDown, Qt::ShiftModifier);
    QCOMPARE(e.layout().line_of(u64(doc_cursor(e.document()))), u64(18));
    QCOMPARE(sels(e).size(), std::size_t(1));
  }

  void zoom_keeps_sizes_positive() {
    editor e;
    text_format_set& set = sys_config.text_formats[0];
    set[0].point_size = 7;
    set[3].point_size = 1;
    for (int i = 0; i < 5; ++i) key(e, Qt::Key_Minus, Qt::ControlModifier, "-");
    QCOMPARE(set[0].point_size, 5u);  // stops at 5
    QCOMPARE(set[3].point_size, 1u);  // never below 1
    key(e, Qt::Key_Equal, Qt::ControlModifier, "=");
    QCOMPARE(set[0].point_size, 6u);
    QCOMPARE(set[9].point_size, 11u);
    // A factor of 0 leaves a cell and a line of one pixel.
    sys_config.horizontal_factor = 0;
    sys_config.vertical_factor = 0;
    QCOMPARE(e.cell_width(), 1);
    QCOMPARE(e.line_height(), 1);
    set[0].point_size = 0;
    QCOMPARE(e.cell_width(), 1);
    e.set_text("a\nb");
    QCOMPARE(e.offset_at_point(0, 5), 2);
  }

  void clipboard_commands() {
    editor e;
    QApplication::clipboard()->setText("keep");
    e.set_text("one two three");
    e.copy();  // nothing selected
    key(e, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("keep"));
    doc_add_selection(e.document(), {8, 13});
    doc_add_selection(e.document(), {0, 3});
    e.cut();
    QCOMPARE(QApplication::clipboard()->text(), QString("onethree"));
    QCOMPARE(e.text(), QByteArray(" two "));
    QApplication::clipboard()->setText("a\r\nb");
    doc_set_cursor(e.document(), 0);
    e.paste();
    QCOMPARE(e.text(), QByteArray("a\nb two "));
    e.set_text("x\r\ny\r\n");
    QCOMPARE(e.text(), QByteArray("x\ny\n"));
    QVERIFY(!e.is_modified());
  }

  void mouse_drag_right_click_and_double_click_stages() {
    editor e;
    e.set_text("a.b c;d\nsecond line");
    QTest::mousePress(&e, Qt::LeftButton, Qt::NoModifier, cell_center(e, 6, 0));
    QTest::mouseMove(&e, cell_center(e, 2, 0));
    QMouseEvent move(QEvent::MouseMove, cell_center(e, 2, 0), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&e, &move);
    QTest::mouseRelease(&e, Qt::LeftButton, Qt::NoModifier, cell_center(e, 2, 0));
    QCOMPARE(sels(e), (std::vector<byte_range>{{2, 6}}));
    QCOMPARE(e.selection_state(), 2);
    // A right click moves the cursor and keeps the selection.
    QTest::mousePress(&e, Qt::RightButton, Qt::NoModifier, cell_center(e, 0, 1));
    QTest::mouseRelease(&e, Qt::RightButton, Qt::NoModifier, cell_center(e, 0, 1));
    QCOMPARE(doc_cursor(e.document()), 8);
    QCOMPARE(sels(e), (std::vector<byte_range>{{2, 6}}));

    const QByteArray want[] = {"b", "b c", "a.b c;d\n", "a.b c;d\nsecond line", "b"};
    for (const auto& w : want) {
      QTest::mouseDClick(&e, Qt::LeftButton, Qt::NoModifier, cell_center(e, 2, 0));
      QCOMPARE(sel_text(e), w);
    }
    QVERIFY(e.word_timer_active());
    QVERIFY(!e.document().marks.empty());  // the word's occurrences are marked
    e.reset_word();
    QTest::mouseDClick(&e, Qt::LeftButton, Qt::NoModifier, cell_center(e, 2, 0));
    QCOMPARE(sel_text(e), QByteArray("b"));
  }

  // The window system's own order on X11: a right press opens the context menu at once,
  // the menu takes the release (and the Escape that closes it); the editor never sees them.
  void a_right_click_with_its_menu_leaves_no_drag() {
    struct row {
      const char* name;
      // After the menu closed: true types X, false drags with the left button over "from".
      bool type_after;
      const char* text;       // expected text
      byte_range selection;   // expected selection (empty: none)
    };
    const row rows[] = {
        {"typing replaces the selection", true, "select X from t;\n", {0, 0}},
        {"a drag starts where its press is", false, "select abc from t;\n", {11, 15}},
    };
    for (const row& r : rows) {
      editor e;
      QAction err, copy;
      e.set_goto_err_action(&err);
      e.set_copy_action(&copy);
      e.set_text("select abc from t;\n");
      e.show();
      QVERIFY(QTest::qWaitForWindowExposed(&e));
      QTest::mouseDClick(&e, Qt::LeftButton, Qt::NoModifier, cell_center(e, 8, 0));
      QCOMPARE(sel_text(e), QByteArray("abc"));
      bool menu_seen = false;
      QTimer::singleShot(0, [&] {
        QWidget* menu = QApplication::activePopupWidget();
        menu_seen = menu != nullptr;
        if (!menu) return;
        QTest::mouseRelease(menu->windowHandle(), Qt::RightButton, Qt::NoModifier, QPoint(-4, -4));
        QTest::keyClick(menu, Qt::Key_Escape);
      });
      // Through the window, as the platform delivers it: the press, then the context menu.
      QTest::mousePress(e.windowHandle(), Qt::RightButton, Qt::NoModifier, cell_center(e, 0, 1));
      QVERIFY2(menu_seen, r.name);
      QVERIFY2(!QApplication::activePopupWidget(), r.name);
      if (r.type_after) {
        type(e, "X");
      } else {
        QTest::mousePress(e.windowHandle(), Qt::LeftButton, Qt::NoModifier, cell_center(e, 11, 0));
        QTest::mouseMove(e.windowHandle(), cell_center(e, 15, 0));
        QTest::mouseRelease(e.windowHandle(), Qt::LeftButton, Qt::NoModifier, cell_center(e, 15, 0));
      }
      QVERIFY2(e.text() == QByteArray(r.text), qPrintable(QString("%1: %2").arg(r.name, QString(e.text()))));
      const std::vector<byte_range> want =
          r.selection.empty() ? std::vector<byte_range>{} : std::vector<byte_range>{r.selection};
      QVERIFY2(sels(e) == want, r.name);
      QVERIFY2(e.selection_state() == 2, r.name);
    }
  }

  // A drag whose release the editor never got ends at the next sign of it: a move without
  // the left button held, the focus leaving (a popup opened), or a new left press (which
  // starts a drag of its own).
  void a_lost_release_ends_the_drag() {
    enum class then { move_without_left, focus_out, new_press };
    for (then t : {then::move_without_left, then::focus_out, then::new_press}) {
      editor e;
      e.set_text("select abc from t;");
      QTest::mousePress(&e, Qt::LeftButton, Qt::NoModifier, cell_center(e, 0, 0));
      QCOMPARE(e.selection_state(), 0);
      if (t == then::move_without_left) {
        QMouseEvent move(QEvent::MouseMove, cell_center(e, 6, 0), Qt::NoButton, Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(&e, &move);
        QCOMPARE(e.selection_state(), 2);
        QVERIFY(sels(e).empty());
      } else if (t == then::focus_out) {
        QFocusEvent out(QEvent::FocusOut, Qt::PopupFocusReason);
        QApplication::sendEvent(&e, &out);
        QCOMPARE(e.selection_state(), 2);
      } else {
        QTest::mousePress(&e, Qt::LeftButton, Qt::NoModifier, cell_center(e, 11, 0));
        QMouseEvent move(QEvent::MouseMove, cell_center(e, 15, 0), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&e, &move);
        QCOMPARE(sel_text(e), QByteArray("from"));
      }
    }
  }

  void offset_and_cursor_points() {
    editor e;
    e.set_text("ab\n\xE4\xB8\xAD\xE6\x96\x87x\nlast");
    const int cw = e.cell_width(), lh = e.line_height();
    struct row {
      int x;
      i64 y;
      i32 want;
    };
    const row rows[] = {
        {-5, lh, 3},            // left of the line: its start
        {cw - 1, lh, 3},        // first half of a two-cell character
        {cw + 1, lh, 6},        // second half
        {cw * 4 + cw / 2 + 1, lh, 10},
        {cw * 50, lh, 10},      // past the end: before the newline
        {cw * 50, lh * 9, 15},  // below the last line: last line's end
        {0, -3, 0},
    };
    for (const auto& r : rows) QCOMPARE(e.offset_at_point(r.x, r.y), r.want);
    doc_set_cursor(e.document(), 9);
    e.cursor_point();
    QCOMPARE(e.cursor_pos(), QPoint(4 * cw, lh));
    QCOMPARE(e.cursor_line(), 1);

    // An edit made straight through the document (as a search dialog's replace does) is
    // seen by the next hit test and paint without a fit first.
    doc_replace_range(e.document(), 2, 14, doc_view("\nz"));
    QCOMPARE(e.text(), QByteArray("ab\nz"));
    QCOMPARE(e.line_count(), u64(2));
    QCOMPARE(e.offset_at_point(cw * 50, lh * 5), 4);
    paint(e, 100, 100);
  }

  void parse_schedule_by_size() {
    struct row {
      int size;
      bool parsed_at_once;
      bool timer;
    };
    const row rows[] = {{131071, true, false}, {131072, false, true}, {4194303, false, true}, {4194304, false, false}};
    for (const auto& r : rows) {
      clock_script c;
      editor e;
      e.set_clock([&c] { return c.now; });
      QByteArray t(r.size - 1, ' ');
      e.document().cursor = 0;
      doc_load_text(e.document(), {t.constData(), u64(t.size())});
      key(e, Qt::Key_S, Qt::NoModifier, "s");
      QCOMPARE(e.text().size(), r.size);
      QCOMPARE(e.parse_is_current(), r.parsed_at_once);
      QCOMPARE(e.parse_timer_active(), r.timer);
      if (r.timer) {
        c.now += 1000;
        e.auto_parse();  // still typing: the timer runs on
        QVERIFY(!e.parse_is_current());
        QVERIFY(e.parse_timer_active());
        c.now += 1001;
        e.auto_parse();
        QVERIFY(e.parse_is_current());
        QVERIFY(!e.parse_timer_active());
      }
    }
  }

  void statements_errors_and_format() {
    editor e;
    e.set_text("select 1;\nselec 2;");
    QCOMPARE(e.parse_end(), i64(10));
    e.goto_err();
    QCOMPARE(doc_cursor(e.document()), 10);
    auto st = e.statement_texts();
    QCOMPARE(st.size, u64(1));
    // The statement's trailing gap prints as one line feed; only spaces are trimmed.
    QCOMPARE(QByteArray(st.data[0].data, int(st.data[0].size)), QByteArray("select 1;\n"));

    // Each selection is formatted on its own; one that does not parse stays.
    e.set_text("select  a,b   from t; xx selec  1; select   2;");
    doc_add_selection(e.document(), {0, 21});
    doc_add_selection(e.document(), {25, 34});
    doc_add_selection(e.document(), {35, 46});
    e.format_sel();
    QCOMPARE(e.text(), QByteArray("select a,b from t; xx selec  1; select 2;"));
    e.undo();
    QCOMPARE(e.text(), QByteArray("select  a,b   from t; xx selec  1; select   2;"));
  }

  void actions_follow_the_state() {
    editor e;
    QAction err, cut, undo, redo, save, print;
    e.set_goto_err_action(&err);
    e.set_cut_action(&cut);
    e.set_undo_action(&undo);
    e.set_redo_action(&redo);
    e.set_save_action(&save);
    e.set_print_action(&print);
    e.set_text("selec 1");
    QVERIFY(err.isEnabled());
    QVERIFY(!e.actions().isEmpty());
    QVERIFY(!cut.isEnabled());
    QVERIFY(!undo.isEnabled());
    QVERIFY(print.isEnabled());
    key(e, Qt::Key_X, Qt::NoModifier, "x");
    QVERIFY(undo.isEnabled());
    QVERIFY(save.isEnabled());
    e.undo();
    QVERIFY(redo.isEnabled());
    QVERIFY(!save.isEnabled());
  }

  void shift_return_breaks_the_line() {
    for (int k : {Qt::Key_Return, Qt::Key_Enter}) {
      editor e;
      e.set_text("ab");
      doc_set_cursor(e.document(), 1);
      key(e, k, Qt::ShiftModifier, "\r");
      QCOMPARE(e.text(), QByteArray("a\nb"));
      QCOMPARE(doc_cursor(e.document()), 2);
      // A selection made with Shift is replaced by the break.
      doc_set_cursor(e.document(), 0);
      key(e, Qt::Key_Right, Qt::ShiftModifier);
      key(e, k, Qt::ShiftModifier, "\r");
      QCOMPARE(e.text(), QByteArray("\n\nb"));
    }
  }

  // After every key and click the actions tell the state: nothing selected, nothing to cut.
  void actions_are_refreshed_after_every_key_and_click() {
    struct step {
      int key;  // 0: a click at the start of the text
      Qt::KeyboardModifiers mods;
    };
    struct row {
      const char* name;
      std::vector<step> steps;
      bool selection_left;
    };
    const row rows[] = {
        {"ctrl+a then escape", {{Qt::Key_A, Qt::ControlModifier}, {Qt::Key_Escape, Qt::NoModifier}}, false},
        {"ctrl+a then a click", {{Qt::Key_A, Qt::ControlModifier}, {0, Qt::NoModifier}}, false},
        {"shift+right then a click", {{Qt::Key_Right, Qt::ShiftModifier}, {0, Qt::NoModifier}}, false},
        {"ctrl+a then f5", {{Qt::Key_A, Qt::ControlModifier}, {Qt::Key_F5, Qt::NoModifier}}, true},
    };
    for (const auto& r : rows) {
      editor e;
      QAction cut, copy, del;
      e.set_cut_action(&cut);
      e.set_copy_action(&copy);
      e.set_del_sel_action(&del);
      e.set_text("select 1");
      for (const step& st : r.steps) {
        if (st.key == 0) {
          QTest::mousePress(&e, Qt::LeftButton, Qt::NoModifier, cell_center(e, 0, 0));
          QTest::mouseRelease(&e, Qt::LeftButton, Qt::NoModifier, cell_center(e, 0, 0));
        } else {
          key(e, st.key, st.mods);
        }
        const bool has_sel = !sels(e).empty();
        QVERIFY2(cut.isEnabled() == has_sel && copy.isEnabled() == has_sel && del.isEnabled() == has_sel, r.name);
      }
      QVERIFY2(!sels(e).empty() == r.selection_left, r.name);
    }
  }

  // A text just loaded or just undone is settled: the parse timer's next tick parses it,
  // while one being typed into waits for the quiet time.
  void loaded_or_undone_text_is_parsed_on_the_next_tick() {
    clock_script c;
    editor e;
    e.set_clock([&c] { return c.now; });
    const QByteArray t = "select a from t;\n" + QByteArray(140000, ' ');
    e.set_text(t);
    QVERIFY(e.parse_timer_active());
    QVERIFY(!e.parse_is_current());
    c.now += 50;
    e.auto_parse();
    QVERIFY(e.parse_is_current());
    QVERIFY(e.highlighting_on());

    key(e, Qt::Key_X, Qt::NoModifier, "x");
    c.now += 50;
    e.auto_parse();
    QVERIFY(!e.parse_is_current());  // typing: not yet
    e.undo();
    QVERIFY(e.parse_timer_active());
    c.now += 50;
    e.auto_parse();
    QVERIFY(e.parse_is_current());
    QVERIFY(!e.parse_timer_active());
    QVERIFY(e.highlighting_on());
  }

  // Scrolled sideways (the widget moved left in its view), a character is drawn where a
  // click edits it, and the cursor where the insertion goes.
  void horizontal_scroll_draws_and_hits_where_the_text_is() {
    sys_config.vertical_factor = 1.5f;
    sys_config.show_space = 0;
    QWidget host;
    host.resize(300, 60);
    auto* e = new editor(&host);
    QByteArray line(200, ' ');
    line[120] = 'W';
    line[199] = 'E';
    e->set_text(line);
    const int cw = e->cell_width(), lh = e->line_height();
    // The view's left edge at column 100, then at the line's end.
    struct row {
      int first_col;
      int col;  // the column of a known character
    };
    for (const row r : {row{100, 120}, row{180, 199}}) {
      const int off = r.first_col * cw;
      e->move(-off, 0);
      e->set_visible_rect(QRect(-off, 0, host.width(), host.height()));
      QImage img(host.size(), QImage::Format_ARGB32);
      img.fill(Qt::gray);
      host.render(&img);
      // Ink only in the known character's cell.
      int ink_left = -1, ink_right = -1;
      for (int x = 0; x < img.width(); ++x)
        for (int y = 0; y < lh; ++y)
          if (img.pixelColor(x, y).lightness() < 128) {
            if (ink_left < 0) ink_left = x;
            ink_right = x;
          }
      const int cell_left = (r.col - r.first_col) * cw;
      QVERIFY2(ink_left >= cell_left && ink_right < cell_left + cw,
               qPrintable(QString("ink %1..%2, cell at %3").arg(ink_left).arg(ink_right).arg(cell_left)));
      // A click on the drawn character's left half lands before it.
      const QPoint at = e->mapFrom(&host, QPoint(ink_left, lh / 2));
      QTest::mousePress(e, Qt::LeftButton, Qt::NoModifier, at);
      QTest::mouseRelease(e, Qt::LeftButton, Qt::NoModifier, at);
      QCOMPARE(doc_cursor(e->document()), r.col);
      // The cursor is drawn at its insertion point, one cell left of the character.
      doc_set_cursor(e->document(), r.col - 1);
      e->cursor_point();
      e->show_cursor();
      QImage cur(host.size(), QImage::Format_ARGB32);
      host.render(&cur);
      QCOMPARE(cur.pixelColor(cell_left - cw, lh / 2), QColor(Qt::black));
    }
  }

  // A million lines: the last line is painted at its place in the view.
  void million_lines_paint_the_last_line() {
    sys_config.vertical_factor = 1.6f;
    QWidget host;
    host.resize(200, 100);
    auto* e = new editor(&host);
    QByteArray t;
    t.reserve(3000000);
    for (int i = 0; i < 1000000; ++i) t += "x\n";
    t += "WWW";
    e->set_text(t);
    const int lh = e->line_height();
    const i64 last_y = 1000000LL * lh;
    const i64 top = last_y - 50;  // the last line 50 px down the view
    e->set_visible_rect(QRect(0, int(-top), host.width(), host.height()));
    e->move(0, int(-(top - e->y_origin())));
    QImage img(host.size(), QImage::Format_ARGB32);
    img.fill(Qt::gray);
    host.render(&img);
    int ink = 0;
    for (int y = 50; y < 50 + lh; ++y)
      for (int x = 0; x < 3 * e->cell_width(); ++x) ink += img.pixelColor(x, y).lightness() < 128;
    QVERIFY(ink > 10);
    // A click there lands on the last line.
    QTest::mousePress(e, Qt::LeftButton, Qt::NoModifier, e->mapFrom(&host, QPoint(1, 50 + lh / 2)));
    QCOMPARE(doc_cursor(e->document()), i32(t.size() - 3));
  }

  void blink_and_focus() {
    editor e;
    QCOMPARE(e.blink_phase(), 1);
    QVERIFY(!e.blink_timer_active());
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(&e, &in);
    QVERIFY(e.blink_timer_active());
    e.change_cursor();
    QCOMPARE(e.blink_phase(), 0);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(&e, &out);
    QVERIFY(!e.blink_timer_active());
    QCOMPARE(e.font().family().isEmpty(), false);
    QCOMPARE(e.font().styleHint(), QFont::Monospace);
    QCOMPARE(e.objectName(), QString("editor"));
  }

  void paint_backgrounds_and_cursor() {
    sys_config.vertical_factor = 1.5f;  // 18 px rows, 12 px cells
    editor e;
    e.set_text("abc abc\nxyz");
    doc_add_selection(e.document(), {0, 3});
    std::vector<byte_range> marks;
    e.document().marks = {{0, 3}, {4, 7}};
    doc_add_selection(e.document(), {9, 10});
    const int cw = e.cell_width(), lh = e.line_height();
    const QImage img = paint(e, 200, 100);
    const auto bg = [&](int col, int line) { return img.pixelColor(col * cw + 1, line * lh + 1); };
    QCOMPARE(bg(0, 0), QColor(0, 255, 0));      // selected and marked
    QCOMPARE(bg(4, 0), QColor(255, 255, 0));    // marked
    QCOMPARE(bg(1, 1), QColor(0, 120, 215));    // selected
    QCOMPARE(bg(3, 0), QColor(Qt::white));      // the space is not selected
    QCOMPARE(img.pixelColor(199, 99), QColor(Qt::white));  // the rest is background

    // The widget's own paint adds the cursor, one pixel wide by default.
    e.set_auto_resize(false);
    e.resize(200, 100);
    doc_clear_selections(e.document());
    doc_clear_marks(e.document());
    doc_set_cursor(e.document(), 2);
    e.cursor_point();
    e.show_cursor();
    QImage w(200, 100, QImage::Format_ARGB32);
    e.render(&w);
    QCOMPARE(w.pixelColor(2 * cw, lh / 2), QColor(Qt::black));
    QCOMPARE(w.pixelColor(2 * cw + 2, lh / 2 + 1).red() > 200, true);
  }

  void paint_goes_on_after_malformed_bytes_and_paints_the_partial_line() {
    sys_config.vertical_factor = 2.0f;  // 24 px rows
    editor e;
    e.set_text("\xFF\xFE" "ab\nWWWW\nWWWW");
    e.set_visible_rect(QRect(0, 0, 200, 60));  // two and a half rows
    const QImage img = paint(e, 200, 60);
    // Ink on the third row's visible half, and after the malformed bytes on the first.
    const auto ink = [&](int x0, int x1, int y0, int y1) {
      for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
          if (img.pixelColor(x, y).lightness() < 128) return true;
      return false;
    };
    QVERIFY(ink(2 * e.cell_width(), 4 * e.cell_width(), 0, 24));
    QVERIFY(ink(0, 4 * e.cell_width(), 48, 60));
  }

  void highlighting_colours_tokens() {
    editor e;
    text_format_set& set = sys_config.text_formats[0];
    set[6].red = 200;  // read keyword
    set[3].blue = 200;  // table name
    e.set_text("select a from t");
    lang::char_style s;
    e.char_format(s, 0);
    QCOMPARE(s.red, 200u);
    e.char_format(s, 14);
    QCOMPARE(s.blue, 200u);
    doc_add_selection(e.document(), {0, 3});
    e.char_format(s, 1);
    QCOMPARE(s.red, 255u);
    QCOMPARE(s.green, 255u);
  }

  void million_lines_scroll_to_the_end() {
    sys_config.vertical_factor = 1.6f;
    editor e;
    QByteArray t;
    t.reserve(3000000);
    for (int i = 0; i < 1000000; ++i) t += "x\n";
    t += "END";
    e.set_text(t);
    QVERIFY(e.height() <= QWIDGETSIZE_MAX);
    QVERIFY(e.logical_height() > QWIDGETSIZE_MAX);
    const int view_h = 200;
    const i64 top = e.logical_height() - view_h;
    e.set_visible_rect(QRect(0, int(-top), 400, view_h));
    QVERIFY(e.y_origin() > 0);
    // The last line is reachable by the mouse and is painted inside the widget.
    const i64 last_y = 1000000LL * e.line_height();
    QCOMPARE(e.offset_at_point(0, last_y + 1), i32(t.size() - 3));
    const i64 widget_y = last_y - e.y_origin();
    QVERIFY(widget_y >= 0 && widget_y < QWIDGETSIZE_MAX);
    doc_set_cursor(e.document(), t.size());
    e.cursor_point();
    QCOMPARE(i64(e.cursor_pos().y()), last_y);
  }

  void printing_paginates_the_whole_text() {
    editor e;
    QByteArray t;
    for (int i = 0; i < 300; ++i) t += "select " + QByteArray::number(i) + ";\n";
    e.set_text(t);
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setResolution(1200);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("out.pdf"));
    e.print_to(printer);
    QFile f(dir.filePath("out.pdf"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray pdf = f.readAll();
    // 300 lines of 19 px at 96 dpi do not fit on one A4 page.
    QVERIFY(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page ") >= 2 ||
            pdf.count("/Type /Page") - pdf.count("/Type /Pages") >= 2);
  }
  void stale_parse_is_never_used() {
    clock_script c;
    editor e;
    e.set_clock([&c] { return c.now; });
    text_format_set& set = sys_config.text_formats[0];
    set[6].red = 200;  // read keyword
    // A middle-sized text: the edit waits for the timer, and until then the old parse
    // (made from another revision, whose offsets no longer fit) gives no token styles.
    QByteArray t = "select a from t;\n" + QByteArray(140000, ' ');
    e.set_text(t);
    c.now += 5000;
    e.auto_parse();
    QVERIFY(e.parse_is_current());
    lang::char_style s;
    QCOMPARE(e.char_format(s, 0).red, 200u);
    doc_set_cursor(e.document(), 0);
    key(e, Qt::Key_X, Qt::NoModifier, "x");  // "xselect ...": the old tree is stale
    QVERIFY(!e.parse_is_current());
    QVERIFY(!e.highlighting_on());
    QCOMPARE(e.char_format(s, 1).red, 0u);
    QCOMPARE(e.parse_end(), i64(e.text().size()));  // no error offset from a stale parse
  }

  void glyphs_take_their_cells() {
    sys_config.vertical_factor = 1.5f;
    editor e;
    e.set_text("a b\tc\n");
    const int cw = e.cell_width(), lh = e.line_height();
    const auto ink_in_cell = [&](const QImage& img, int col) {
      for (int y = 0; y < lh; ++y)
        for (int x = col * cw; x < (col + 1) * cw; ++x)
          if (img.pixelColor(x, y) != QColor(Qt::white)) return true;
      return false;
    };
    sys_config.show_space = 0;
    QImage off = paint(e, 120, 40);
    QVERIFY(!ink_in_cell(off, 1));  // a blank space
    QVERIFY(ink_in_cell(off, 3));   // the tab's control picture, one cell
    QVERIFY(ink_in_cell(off, 4));   // c right after it
    QVERIFY(ink_in_cell(off, 5));   // the newline's faint arrow
    sys_config.show_space = 1;
    QImage on = paint(e, 120, 40);
    QVERIFY(ink_in_cell(on, 1));
  }

  void input_method_commits() {
    editor e;
    e.set_text("ab");
    doc_set_cursor(e.document(), 1);
    QInputMethodEvent preedit("x", {});
    QApplication::sendEvent(&e, &preedit);
    QCOMPARE(e.text(), QByteArray("ab"));
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("\xC3\xA9"));
    QApplication::sendEvent(&e, &commit);
    QCOMPARE(e.text(), QByteArray("a\xC3\xA9" "b"));
    QCOMPARE(doc_cursor(e.document()), 3);
  }
};

QTEST_MAIN(editor_test)
#include "editor_test.moc"
