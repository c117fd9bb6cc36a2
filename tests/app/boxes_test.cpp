// The message boxes as the program shows them (the real prompt's box, shown without its modal
// loop), under the program's style sheets: readable over the login dialog, a framed OK, a
// default button on every box; and the licence window's layout and button.
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>
#include <cmath>
#include <map>
#include <memory>

#include "app/about_dlg.h"
#include "app/login_dlg.h"
#include "app/startup.h"
#include "ui_base/seams.h"

namespace {

double luminance(QColor c) {
  const auto lin = [](double v) {
    v /= 255.0;
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * lin(c.red()) + 0.7152 * lin(c.green()) + 0.0722 * lin(c.blue());
}

// The contrast ratio of two colours, 1 (the same) to 21 (black on white).
double contrast(QColor a, QColor b) {
  double la = luminance(a), lb = luminance(b);
  if (la < lb) std::swap(la, lb);
  return (la + 0.05) / (lb + 0.05);
}

int distance(QColor a, QColor b) {
  return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

// The most frequent colour of a region (its background) and the colour that contrasts with it
// most (its text).
std::pair<QColor, QColor> background_and_ink(const QImage& img, QRect r) {
  std::map<QRgb, int> seen;
  r &= img.rect();
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) ++seen[img.pixel(x, y) | 0xff000000u];
  QRgb bg = 0;
  int most = -1;
  for (const auto& [rgb, n] : seen)
    if (n > most) most = n, bg = rgb;
  QColor ink(bg);
  for (const auto& [rgb, n] : seen)
    if (contrast(QColor(rgb), QColor(bg)) > contrast(ink, QColor(bg))) ink = QColor(rgb);
  return {QColor(bg), ink};
}

// Whether each side of `r` shows a line that stands out from what lies just outside it.
bool framed(const QImage& img, QRect r) {
  const auto side = [&](QPoint from, QPoint along, QPoint inward, int length) {
    for (int depth = 0; depth < 3; ++depth) {
      int differ = 0, n = 0;
      for (int i = length / 5; i < length * 4 / 5; ++i, ++n) {
        const QPoint p = from + along * i + inward * depth;
        const QPoint out = from + along * i - inward * 2;
        if (img.rect().contains(p) && img.rect().contains(out) && distance(img.pixelColor(p), img.pixelColor(out)) > 60)
          ++differ;
      }
      if (n > 0 && differ * 10 >= n * 9) return true;
    }
    return false;
  };
  return side(r.topLeft(), {1, 0}, {0, 1}, r.width()) && side(r.bottomLeft(), {1, 0}, {0, -1}, r.width()) &&
         side(r.topLeft(), {0, 1}, {1, 0}, r.height()) && side(r.topRight(), {0, 1}, {-1, 0}, r.height());
}

QImage shown(QWidget& w) {
  w.show();
  QApplication::processEvents();
  return w.grab().toImage();
}

QRect rect_in(QWidget* child, QWidget* top) { return QRect(child->mapTo(top, QPoint(0, 0)), child->size()); }

}  // namespace

class boxes_test : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { qApp->setStyleSheet(QString()); }

  void box_over_the_login_dialog_is_readable_data() {
    QTest::addColumn<QString>("sheet");
    QTest::newRow("the program's style sheet") << QString::fromLatin1(style_sheet_resource);
    QTest::newRow("dark") << QStringLiteral(":/qss/ruv_black.qss");
    QTest::newRow("plain") << QStringLiteral(":/qss/ruv.qss");
    QTest::newRow("none") << QString();
  }

  void box_over_the_login_dialog_is_readable() {
    QFETCH(QString, sheet);
    qApp->setStyleSheet(sheet.isEmpty() ? QString() : read_style_sheet(sheet));
    login_dlg dlg(nullptr);
    dlg.show();
    const std::unique_ptr<QMessageBox> box =
        ruv::make_message_box(&dlg, QMessageBox::Information, QStringLiteral("info"),
                              QStringLiteral("cannot connect to 127.0.0.1:1: Connection refused"), QMessageBox::Ok,
                              QMessageBox::NoButton);
    const QImage img = shown(*box);
    auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    QVERIFY(label);
    const auto [bg, ink] = background_and_ink(img, rect_in(label, box.get()));
    QVERIFY2(contrast(bg, ink) >= 4.5, qPrintable(QStringLiteral("text %1 on %2").arg(ink.name(), bg.name())));
    QAbstractButton* ok = box->button(QMessageBox::Ok);
    QVERIFY(ok);
    QVERIFY(framed(img, rect_in(ok, box.get())));
    QCOMPARE(box->defaultButton(), static_cast<QPushButton*>(ok));
    // The login dialog itself keeps its look: white labels on its blue.
    const QImage login = dlg.grab().toImage();
    QCOMPARE(login.pixelColor(5, 5), QColor(132, 171, 204));
    auto* title = dlg.findChild<QLabel*>(QStringLiteral("title"));
    const auto [title_bg, title_ink] = background_and_ink(login, rect_in(title, &dlg));
    QCOMPARE(title_bg, QColor(132, 171, 204));
    QVERIFY(distance(title_ink, Qt::white) < 60);
  }

  void every_box_has_a_default_button_data() {
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("expected");
    using B = QMessageBox;
    QTest::newRow("information Ok") << int(B::Information) << int(B::Ok) << int(B::NoButton) << int(B::Ok);
    QTest::newRow("question Yes No") << int(B::Question) << int(B::Yes | B::No) << int(B::NoButton) << int(B::No);
    QTest::newRow("warning Yes No") << int(B::Warning) << int(B::Yes | B::No) << int(B::NoButton) << int(B::No);
    QTest::newRow("question Yes No Cancel")
        << int(B::Question) << int(B::Yes | B::No | B::Cancel) << int(B::NoButton) << int(B::Cancel);
    QTest::newRow("question Save Discard Cancel")
        << int(B::Question) << int(B::Save | B::Discard | B::Cancel) << int(B::NoButton) << int(B::Cancel);
    QTest::newRow("Ok Cancel") << int(B::Warning) << int(B::Ok | B::Cancel) << int(B::NoButton) << int(B::Cancel);
    QTest::newRow("a named default stays") << int(B::Question) << int(B::Yes | B::No) << int(B::Yes) << int(B::Yes);
    QTest::newRow("a default that is no button of the box")
        << int(B::Question) << int(B::Yes | B::No) << int(B::Ok) << int(B::No);
  }

  void every_box_has_a_default_button() {
    QFETCH(int, icon);
    QFETCH(int, buttons);
    QFETCH(int, asked);
    QFETCH(int, expected);
    for (const char* sheet : {style_sheet_resource, ":/qss/ruv_black.qss", ":/qss/ruv.qss", ""}) {
      qApp->setStyleSheet(*sheet ? read_style_sheet(QString::fromLatin1(sheet)) : QString());
      const std::unique_ptr<QMessageBox> box = ruv::make_message_box(
          nullptr, QMessageBox::Icon(icon), QStringLiteral("t"), QStringLiteral("a question?"),
          QMessageBox::StandardButtons(buttons), QMessageBox::StandardButton(asked));
      const QImage img = shown(*box);
      QAbstractButton* want = box->button(QMessageBox::StandardButton(expected));
      QVERIFY2(want && box->defaultButton() == want, sheet);
      // Enter presses it.
      QTest::keyClick(box.get(), Qt::Key_Return);
      QCOMPARE(box->clickedButton(), want);
      // It is told apart from the others on screen.
      for (QAbstractButton* other : box->buttons()) {
        if (other == want) continue;
        const QImage a = img.copy(rect_in(want, box.get()));
        const QImage b = img.copy(rect_in(other, box.get()));
        int differ = 0;
        const QSize common = a.size().boundedTo(b.size());
        for (int y = 0; y < common.height(); ++y) {
          differ += distance(a.pixelColor(0, y), b.pixelColor(0, y)) > 60;
          differ += distance(a.pixelColor(common.width() - 1, y), b.pixelColor(common.width() - 1, y)) > 60;
        }
        QVERIFY2(differ > common.height() / 2, qPrintable(QStringLiteral("%1: %2").arg(sheet, other->text())));
      }
    }
  }

  void licence_window_grows_and_closes() {
    std::unique_ptr<QDialog> w(make_license_window({}));
    auto* text = w->findChild<QTextEdit*>(QStringLiteral("license_text"));
    QVERIFY(text);
    w->show();
    QApplication::processEvents();
    QCOMPARE(w->size(), QSize(800, 600));
    for (const QSize size : {QSize(1200, 900), QSize(500, 400), QSize(800, 600)}) {
      w->resize(size);
      QApplication::processEvents();
      const QRect r = text->geometry();
      // The text takes the window's width and all of its height but the button row.
      QVERIFY2(r.width() >= size.width() - 40 && r.right() < size.width(), qPrintable(QString::number(size.width())));
      QVERIFY(r.height() >= size.height() - 100 && r.bottom() < size.height());
    }
    auto* buttons = w->findChild<QDialogButtonBox*>();
    QVERIFY(buttons);
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    QVERIFY(close && close->isVisible());
    QVERIFY(rect_in(close, w.get()).top() >= text->geometry().bottom());
    QVERIFY(w->rect().contains(rect_in(close, w.get())));
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QCOMPARE(w->result(), int(QDialog::Rejected));
  }
};

QTEST_MAIN(boxes_test)
#include "boxes_test.moc"
