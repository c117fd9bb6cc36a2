// The completion popup's keys: what it tells the editor, in order, and whether it stays.
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>
#include <vector>

#include "editor/auto_list.h"

using ruv::auto_list;

namespace {

struct key {
  int code;
  Qt::KeyboardModifiers mods;
  const char* text;
};

kk::adt::vector<kk::adt::string::string> words(std::initializer_list<const char*> list) {
  kk::adt::vector<kk::adt::string::string> out;
  for (const char* w : list) out.push_back(kk::adt::string_from_cstr(w));
  return out;
}

struct popup_run {
  QWidget host;
  QPointer<auto_list> list;
  QStringList log;
  popup_run(std::initializer_list<const char*> cands, kk::u64 start) {
    list = new auto_list(words(cands), start, &host);
    QObject::connect(list, &auto_list::sel, [this](const QString& r) { log << "sel:" + r; });
    QObject::connect(list, &auto_list::not_found, [this] { log << "nf"; });
    QObject::connect(list, &auto_list::char_add, [this](const char& c) { log << QString("add:") + QChar(c); });
    QObject::connect(list, &auto_list::char_del, [this] { log << "del"; });
    QObject::connect(list, &auto_list::text_add, [this](const QString& t) { log << "text:" + t; });
  }
  void press(const key& k) {
    QKeyEvent e(QEvent::KeyPress, k.code, k.mods, QString::fromUtf8(k.text));
    QApplication::sendEvent(list, &e);
  }
  QStringList rows() const {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
  }
};

const Qt::KeyboardModifiers none = Qt::NoModifier;
const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;

}  // namespace

Q_DECLARE_METATYPE(std::vector<key>)

class popup_test : public QObject {
  Q_OBJECT

 private slots:
  void keys_data() {
    QTest::addColumn<std::vector<key>>("keys");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<bool>("open");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("row");
    const QStringList all{"select", "selected", "set"};
    const QStringList sel2{"select", "selected"};
    QTest::newRow("letter narrows") << std::vector<key>{{Qt::Key_L, none, "l"}} << QStringList{"add:l"} << true << sel2 << 0;
    QTest::newRow("return completes") << std::vector<key>{{Qt::Key_L, none, "l"}, {Qt::Key_Return, none, "\r"}}
                                      << QStringList{"add:l", "sel:ect"} << false << sel2 << 0;
    QTest::newRow("tab completes the current row")
        << std::vector<key>{{Qt::Key_Down, none, ""}, {Qt::Key_Tab, none, "\t"}} << QStringList{"sel:lected"} << false << all << 1;
    QTest::newRow("no continuation") << std::vector<key>{{Qt::Key_X, none, "x"}} << QStringList{"add:x", "nf"} << false
                                     << QStringList{} << -1;
    QTest::newRow("backspace keeps one typed")
        << std::vector<key>{{Qt::Key_L, none, "l"}, {Qt::Key_E, none, "e"}, {Qt::Key_Backspace, none, "\b"}}
        << QStringList{"add:l", "add:e", "del"} << true << sel2 << 0;
    QTest::newRow("backspace of the last typed")
        << std::vector<key>{{Qt::Key_L, none, "l"}, {Qt::Key_Backspace, none, "\b"}} << QStringList{"add:l", "del", "nf"} << false
        << all << 0;
    QTest::newRow("backspace with nothing typed") << std::vector<key>{{Qt::Key_Backspace, none, "\b"}} << QStringList{"nf"}
                                                  << false << all << 0;
    QTest::newRow("up wraps to the last row") << std::vector<key>{{Qt::Key_Up, none, ""}} << QStringList{} << true << all << 2;
    QTest::newRow("ctrl j wraps to row 0") << std::vector<key>{{Qt::Key_End, none, ""}, {Qt::Key_J, ctrl, "\n"}} << QStringList{}
                                           << true << all << 0;
    QTest::newRow("ctrl k up, other ctrl keys ignored")
        << std::vector<key>{{Qt::Key_K, ctrl, "\v"}, {Qt::Key_X, ctrl, "\x18"}} << QStringList{} << true << all << 2;
    QTest::newRow("point is typed and ends") << std::vector<key>{{Qt::Key_Period, none, "."}} << QStringList{"add:.", "nf"}
                                             << false << all << 0;
    QTest::newRow("space is typed and ends") << std::vector<key>{{Qt::Key_Space, none, " "}} << QStringList{"add: ", "nf"}
                                             << false << all << 0;
    QTest::newRow("shifted letter narrows, case folded")
        << std::vector<key>{{Qt::Key_L, shift, "L"}, {Qt::Key_E, shift, "E"}} << QStringList{"add:L", "add:E"} << true << sel2 << 0;
    QTest::newRow("caps lock letter narrows") << std::vector<key>{{Qt::Key_T, none, "T"}} << QStringList{"add:T"} << true
                                              << QStringList{"set"} << 0;
    QTest::newRow("shifted punctuation reaches the editor")
        << std::vector<key>{{Qt::Key_ParenLeft, shift, "("}} << QStringList{"add:(", "nf"} << false << all << 0;
    QTest::newRow("shifted escape types nothing") << std::vector<key>{{Qt::Key_Escape, shift, "\x1b"}} << QStringList{"nf"}
                                                  << false << all << 0;
    QTest::newRow("shifted arrow types nothing") << std::vector<key>{{Qt::Key_Up, shift, ""}} << QStringList{"nf"} << false
                                                 << all << 0;
    QTest::newRow("keypad enter is no return")
        << std::vector<key>{{Qt::Key_Enter, Qt::KeypadModifier, "\r"}} << QStringList{"nf"} << false << all << 0;
    QTest::newRow("a letter beyond ASCII reaches the editor and ends")
        << std::vector<key>{{Qt::Key_Eacute, none, "\xC3\xA9"}} << QStringList{QString::fromUtf8("text:\xC3\xA9"), "nf"} << false
        << all << 0;
    QTest::newRow("after narrowing too") << std::vector<key>{{Qt::Key_L, none, "l"}, {Qt::Key_Eacute, none, "\xC3\xA9"}}
                                         << QStringList{"add:l", QString::fromUtf8("text:\xC3\xA9"), "nf"} << false << sel2 << 0;
    QTest::newRow("shifted, beyond ASCII") << std::vector<key>{{Qt::Key_Eacute, shift, "\xC3\x89"}}
                                           << QStringList{QString::fromUtf8("text:\xC3\x89"), "nf"} << false << all << 0;
    QTest::newRow("escape") << std::vector<key>{{Qt::Key_Escape, none, "\x1b"}} << QStringList{"nf"} << false << all << 0;
  }

  void keys() {
    QFETCH(std::vector<key>, keys);
    QFETCH(QStringList, log);
    QFETCH(bool, open);
    QFETCH(QStringList, rows);
    QFETCH(int, row);
    popup_run r({"select", "selected", "set"}, 2);
    QSignalSpy nf(r.list.data(), &auto_list::not_found);
    for (const key& k : keys) r.press(k);
    QCOMPARE(r.log, log);
    QCOMPARE(!r.list->closed(), open);
    QCOMPARE(nf.count(), log.count("nf"));
    if (!rows.isEmpty()) QCOMPARE(r.rows(), rows);
    if (open) QCOMPARE(r.list->currentRow(), row);
    if (!open) {
      QVERIFY(!r.list->isVisible());
      QVERIFY(r.list->parent() == nullptr);
      // Deleted later, never inside its own handler.
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      QVERIFY(r.list.isNull());
    }
  }

  // An input-method commit is text for the editor, never the list's keyboard search.
  void input_method_commit_reaches_the_editor_and_closes() {
    popup_run r({"select", "selected", "set"}, 2);
    QInputMethodEvent preedit(QString::fromUtf8("\xE4\xB8\xAD"), {});
    QApplication::sendEvent(r.list, &preedit);
    QCOMPARE(r.log, QStringList{});
    QVERIFY(!r.list->closed());
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("\xE4\xB8\xAD"));
    QApplication::sendEvent(r.list, &commit);
    QCOMPARE(r.log, (QStringList{QString::fromUtf8("text:\xE4\xB8\xAD"), "nf"}));
    QVERIFY(r.list->closed());
  }

  void keys_after_closing_change_nothing() {
    popup_run r({"select"}, 0);
    r.press({Qt::Key_Escape, none, "\x1b"});
    r.press({Qt::Key_S, none, "s"});
    r.press({Qt::Key_Return, none, "\r"});
    QCOMPARE(r.log, QStringList{"nf"});
  }

  void double_click_accepts_and_focus_out_closes_silently() {
    popup_run r({"from", "fields_of"}, 1);
    r.list->setCurrentRow(1);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(2, 2), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(r.list->viewport(), &dbl);
    QCOMPARE(r.log, QStringList{"sel:ields_of"});

    popup_run q({"from"}, 1);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(q.list, &out);
    QVERIFY(q.list->closed());
    QCOMPARE(q.log, QStringList{});
  }

  void candidate_shorter_than_typed_never_matches() {
    const char* c = "se";
    QVERIFY(!auto_list::continues({c, 2}, 2, {"l", 1}));
    QVERIFY(auto_list::continues({"SELECT", 6}, 2, {"lE", 2}));
    QVERIFY(!auto_list::continues({c, 2}, 3, {"", 0}));
  }
};

QTEST_MAIN(popup_test)
#include "popup_test.moc"
