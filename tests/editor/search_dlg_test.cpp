// The search and replace dialog over a code editor: the wrap flow and a table of replaces.
#include <QSignalSpy>
#include <QtTest>

#include "editor/doc_search.h"
#include "editor/editor.h"
#include "editor/search_dlg.h"
#include "tests/support/scripted_prompt.h"
#include "ui_search_dlg.h"

using namespace ruv;

namespace {

struct rig {
  test::scripted_prompt prompt;
  editor ed;
  search_dlg* dlg;
  explicit rig(const QByteArray& text) {
    ed.set_text(text);
    dlg = new search_dlg(&ed, &ed.document(), &ed);
  }
  void target(const char* t) { dlg->form()->target_le->setText(QString::fromUtf8(t)); }
  byte_range selection() const { return ed.document().selections.empty() ? byte_range{-1, -1} : ed.document().selections[0]; }
};

}  // namespace

class search_dlg_test : public QObject {
  Q_OBJECT

 private slots:
  void typing_marks_all_and_selects_the_first_silently() {
    rig r("xx ab ab ab");
    r.target("ab");
    QCOMPARE(r.ed.document().marks.size(), size_t(3));
    QCOMPARE(r.selection(), (byte_range{3, 5}));
    QVERIFY(r.prompt.boxes.empty());
    r.dlg->reject();  // closing clears the marks
    QVERIFY(r.ed.document().marks.empty());
  }

  void next_skips_the_match_under_the_cursor_and_wraps() {
    rig r("ab cd ab");
    r.target("ab");
    doc_set_cursor(r.ed.document(), 0);
    r.dlg->next(true);
    QCOMPARE(r.selection(), (byte_range{6, 8}));
    r.prompt.answers = {QMessageBox::Yes};
    r.dlg->next(true);  // not found, continue from the beginning: the match at 0 counts
    QCOMPARE(r.prompt.last_text(), QString("the string 'ab' not found. continue from begin?"));
    QCOMPARE(r.selection(), (byte_range{0, 2}));
    QVERIFY(r.dlg->wrapped());
    r.dlg->next(true);
    QCOMPARE(r.selection(), (byte_range{6, 8}));
    r.dlg->next(true);  // wrapped already: told, no question
    QCOMPARE(r.prompt.boxes.back().title, QString("next research result"));
    QCOMPARE(r.prompt.last_text(), QString("the string 'ab' not found."));
    QVERIFY(!r.dlg->wrapped());
    r.prompt.answers = {QMessageBox::No};
    r.dlg->next(true);  // asks again
    QCOMPARE(r.prompt.last_text(), QString("the string 'ab' not found. continue from begin?"));

    doc_cursor_to_end(r.ed.document());
    r.dlg->prev(true);
    QCOMPARE(r.selection(), (byte_range{6, 8}));
    r.dlg->prev(true);
    QCOMPARE(r.selection(), (byte_range{0, 2}));
  }

  void next_at_the_very_end_offers_the_beginning() {
    // Nothing lies after the end: that is "not found" too, never a silent button.
    struct row {
      QMessageBox::StandardButton answer;
      byte_range selection;
    } rows[] = {{QMessageBox::Yes, {0, 2}}, {QMessageBox::No, {-1, -1}}};
    for (const row& c : rows) {
      rig r("ab cd ab");
      r.target("ab");
      doc_clear_selections(r.ed.document());
      doc_cursor_to_end(r.ed.document());
      r.prompt.boxes.clear();
      r.prompt.answers = {c.answer};
      r.dlg->next(true);
      QCOMPARE(r.prompt.boxes.size(), size_t(1));
      QCOMPARE(r.prompt.boxes[0].title, QString("next search result"));
      QCOMPARE(r.prompt.last_text(), QString("the string 'ab' not found. continue from begin?"));
      QCOMPARE(r.prompt.boxes[0].parent, static_cast<QWidget*>(r.dlg));
      QCOMPARE(r.selection(), c.selection);
      QCOMPARE(r.dlg->wrapped(), c.answer == QMessageBox::Yes);
    }
    // An empty text has nothing to find and nothing to wrap to: still silent.
    rig empty("");
    empty.target("ab");
    empty.dlg->next(true);
    QVERIFY(empty.prompt.boxes.empty());
  }

  void replace_all_table() {
    struct row {
      const char* text;
      const char* what;
      const char* with;
      bool cs, mw, regex;
      const char* result;
      const char* box;
    } rows[] = {
        {"Ab ab aB", "ab", "x", false, false, false, "x x x", "the string 'ab' 3 times replaced."},
        {"Ab ab aB", "ab", "x", true, false, false, "Ab x aB", "the string 'ab' 1 times replaced."},
        {"ab abc ab", "ab", "x", true, true, false, "x abc x", "the string 'ab' 2 times replaced."},
        {"aab b ab", "a+b", "x", true, false, true, "x b x", "the string 'a+b' 2 times replaced."},
        {"a a", "a", "aa", true, false, false, "aa aa", "the string 'a' 2 times replaced."},
        {"abc", "zz", "x", true, false, false, "abc", "the string 'zz' not found."},
        {"a(b", "(", "x", true, false, true, "a(b", nullptr},
    };
    for (const row& c : rows) {
      rig r(c.text);
      r.dlg->form()->cs_cb->setChecked(c.cs);
      r.dlg->form()->mw_cb->setChecked(c.mw);
      r.dlg->form()->reg_rb->setChecked(c.regex);
      r.target(c.what);
      r.dlg->form()->rep_le->setText(c.with);
      r.prompt.boxes.clear();
      r.dlg->replace_all(true);
      QCOMPARE(r.ed.text(), QByteArray(c.result));
      QCOMPARE(r.prompt.boxes.size(), size_t(1));
      if (c.box) QCOMPARE(r.prompt.last_text(), QString(c.box));
      QVERIFY(r.ed.document().marks.empty());
      if (QByteArray(c.result) != c.text) {
        doc_undo(r.ed.document());  // one undo step
        QCOMPARE(r.ed.text(), QByteArray(c.text));
      }
    }
  }

  void replace_needs_the_selection_to_be_a_match_and_continues_after_it() {
    rig r("a a a");
    r.target("a");
    r.dlg->form()->rep_le->setText("aa");
    doc_clear_selections(r.ed.document());
    doc_set_cursor(r.ed.document(), 1);
    r.dlg->replace(true);  // no selection: nothing replaced, the next match selected
    QCOMPARE(r.ed.text(), QByteArray("a a a"));
    QCOMPARE(r.selection(), (byte_range{2, 3}));
    r.dlg->replace(true);  // the selection is a match: replaced, the next one after it
    QCOMPARE(r.ed.text(), QByteArray("a aa a"));
    QCOMPARE(r.selection(), (byte_range{5, 6}));
    r.target("b");  // a selection that is no match of the current search stays as it is
    doc_add_selection(r.ed.document(), {0, 1});
    r.prompt.answers = {QMessageBox::No};
    r.dlg->replace(true);
    QCOMPARE(r.ed.text(), QByteArray("a aa a"));
  }

  void replace_all_in_two_selections() {
    rig r("ab ab | ab ab | ab");
    doc_add_selection(r.ed.document(), {0, 5});
    doc_add_selection(r.ed.document(), {8, 13});
    r.dlg->form()->os_cb->setChecked(true);
    r.target("ab");
    r.dlg->form()->rep_le->setText("xyz");
    r.dlg->replace_all(true);
    QCOMPARE(r.ed.text(), QByteArray("xyz xyz | xyz xyz | ab"));
    QCOMPARE(r.prompt.last_text(), QString("the string 'ab' 4 times replaced."));
    doc_undo(r.ed.document());
    QCOMPARE(r.ed.text(), QByteArray("ab ab | ab ab | ab"));
  }
};

QTEST_MAIN(search_dlg_test)
#include "search_dlg_test.moc"
