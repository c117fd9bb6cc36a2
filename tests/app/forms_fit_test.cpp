// Every button and label of the program's forms shows its whole text: under each of the
// program's style sheets (and none), in each of the four languages, on every page of every
// tab and stacked widget. A text is clipped when the room its widget's style leaves it (a
// button less its border and padding, a check box beside its indicator) is smaller than the
// text in the widget's font, or when the widget reaches past its parent's edge.
#include <QAbstractButton>
#include <QCheckBox>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextDocument>
#include <cmath>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTranslator>
#include <QtTest>
#include <functional>
#include <memory>
#include <vector>

#include "app/about_dlg.h"
#include "app/login_dlg.h"
#include "ui_base/sys_config.h"
#include "dataview/data_view.h"
#include "dataview/search_tab_dlg.h"
#include "dbops/col_info.h"
#include "transfer_dlg/import_csv_dlg.h"
#include "dbops/load_tab_dlg.h"
#include "dbops/save_tab_dlg.h"
#include "editor/sys_pre_dlg.h"
#include "sqllib/library_startup.h"
#include "query/db_ctx.h"
#include "tests/support/scripted_prompt.h"

namespace {

// The room a widget leaves its text, by its style (a style sheet's border and padding
// included): a button's contents, a check box's or radio button's beside the indicator, a
// label's contents rectangle less its margin.
QRect text_room(QWidget* w) {
  if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    opt.icon = b->icon();
    opt.iconSize = b->iconSize();
    QStyle::SubElement e = QStyle::SE_PushButtonContents;
    if (qobject_cast<QCheckBox*>(w)) e = QStyle::SE_CheckBoxContents;
    if (qobject_cast<QRadioButton*>(w)) e = QStyle::SE_RadioButtonContents;
    if (!qobject_cast<QPushButton*>(w) && !qobject_cast<QCheckBox*>(w) && !qobject_cast<QRadioButton*>(w))
      return w->contentsRect();
    return w->style()->subElementRect(e, &opt, w);
  }
  auto* l = static_cast<QLabel*>(w);
  const int m = l->margin();
  return l->contentsRect().adjusted(m, m, -m, -m);
}

// The size the text takes in the widget's font (rich text as the label lays it out; a
// word-wrapped label at the width it has).
QSize text_size(QWidget* w, const QString& text, int width) {
  auto* l = qobject_cast<QLabel*>(w);
  const bool wrap = l && l->wordWrap();
  if (l && Qt::mightBeRichText(text) && l->textFormat() != Qt::PlainText) {
    QTextDocument doc;
    doc.setDefaultFont(l->font());
    doc.setDocumentMargin(0);
    doc.setHtml(text);
    if (wrap) doc.setTextWidth(width);
    const QSizeF s = doc.size();
    return QSize(int(std::ceil(wrap ? doc.idealWidth() : s.width())), int(std::ceil(s.height())));
  }
  const int flags = Qt::TextShowMnemonic | (wrap ? Qt::TextWordWrap : 0);
  return QFontMetrics(w->font()).boundingRect(QRect(0, 0, wrap ? width : 1 << 20, 1 << 20), flags, text).size();
}

// The texts of `root` that do not fit, as "object: text (room WxH, text WxH)".
QStringList clipped_here(QWidget* root) {
  QStringList out;
  QList<QWidget*> widgets = root->findChildren<QWidget*>();
  for (QWidget* w : widgets) {
    auto* button = qobject_cast<QAbstractButton*>(w);
    auto* label = qobject_cast<QLabel*>(w);
    if (!button && !label) continue;
    const QString text = button ? button->text() : label->text();
    if (text.isEmpty() || !w->isVisibleTo(root)) continue;
    w->ensurePolished();
    const QRect room = text_room(w);
    const QSize need = text_size(w, text, room.width());
    const bool inside = w->parentWidget()->rect().contains(w->geometry());
    if (room.width() >= need.width() && room.height() >= need.height() && inside) continue;
    out << QStringLiteral("%1: \"%2\" (room %3x%4, text %5x%6%7)")
               .arg(w->objectName(), text)
               .arg(room.width())
               .arg(room.height())
               .arg(need.width())
               .arg(need.height())
               .arg(inside ? QString() : QStringLiteral(", reaches past its parent"));
  }
  return out;
}

// The clipped texts of a shown form, on each page of each of its stacks in turn.
QStringList clipped_texts(QWidget* form) {
  form->show();
  QCoreApplication::processEvents();
  QStringList out = clipped_here(form);
  for (QStackedWidget* stack : form->findChildren<QStackedWidget*>()) {
    for (int i = 0; i < stack->count(); ++i) {
      // Every stack above the page shows the way down to it.
      QWidget* page = stack->widget(i);
      for (QWidget* w = page; w && w != form; w = w->parentWidget())
        if (auto* s = qobject_cast<QStackedWidget*>(w->parentWidget())) {
          if (auto* tabs = qobject_cast<QTabWidget*>(s->parentWidget()))
            tabs->setCurrentWidget(w);
          else
            s->setCurrentWidget(w);
        }
      QCoreApplication::processEvents();
      for (const QString& c : clipped_here(page))
        if (!out.contains(c)) out << c;
    }
  }
  form->hide();
  return out;
}

QString resource_text(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

struct form_maker {
  const char* name;
  std::function<QWidget*(db_ctx*)> make;
};

std::vector<form_maker> forms() {
  return {
      {"about_dlg", [](db_ctx*) { return new about_dlg; }},
      {"login_dlg",
       [](db_ctx*) {
         auto* d = new login_dlg;
         // The checks' texts shown, as after a wrong address and port.
         d->findChild<QLineEdit*>("le_ip")->setText("x");
         d->findChild<QLineEdit*>("le_port")->setText("0");
         return d;
       }},
      {"import_csv_dlg (import)", [](db_ctx*) { return new import_csv_dlg; }},
      {"import_csv_dlg (export)",
       [](db_ctx*) {
         auto* d = new import_csv_dlg;
         d->set_export_mode();
         return d;
       }},
      {"load_tab_dlg", [](db_ctx*) { return new load_tab_dlg; }},
      {"save_tab_dlg", [](db_ctx*) { return new save_tab_dlg; }},
      {"col_info",
       [](db_ctx* ctx) {
         auto* c = new col_info(ctx);
         col_info::text_list none;
         c->set_table(kk::adt::string_from_cstr("tab1"), {}, none, none, none, col_info_mode::create_table);
         c->resize(800, 500);
         return c;
       }},
      {"sys_pre_dlg", [](db_ctx*) { return new sys_pre_dlg; }},
      {"data_view",
       [](db_ctx* ctx) {
         auto* v = new data_view(kk::adt::string_from_cstr("t"), ctx);
         v->resize(1000, 600);
         return v;
       }},
      {"search_tab_dlg", [](db_ctx*) {
         static QTableView grid;
         return new search_tab_dlg(&grid);
       }},
  };
}

}  // namespace

class forms_fit_test : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { kk::library_startup(); }

  void every_text_fits_data() {
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QString>("language");  // the program's catalogue, "" for English
    const char* const sheets[] = {":/qss/ruv_white.qss", ":/qss/ruv_black.qss", ":/qss/ruv.qss", ""};
    const char* const languages[] = {"", "zh", "fr", "ja"};
    for (const char* sheet : sheets)
      for (const char* lang : languages)
        QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(*sheet ? sheet : "no sheet", *lang ? lang : "en")))
            << QString::fromLatin1(sheet) << QString::fromLatin1(lang);
  }

  void every_text_fits() {
    QFETCH(QString, sheet);
    QFETCH(QString, language);
    sys_config = sys_config_record{};
    ruv::test::scripted_prompt prompt;
    QTranslator program;
    if (!language.isEmpty()) {
      QVERIFY(program.load(QStringLiteral(":/lang/ruv_mdb_cli_%1.qm").arg(language)));
      QCoreApplication::installTranslator(&program);
    }
    if (!sheet.isEmpty()) {
      const QString text = resource_text(sheet);
      QVERIFY(!text.isEmpty());
      qApp->setStyleSheet(text);
    }
    db_ctx ctx(kk::adt::string_from_cstr("ruv_mdb"), nullptr);
    QStringList clipped;
    for (const form_maker& f : forms()) {
      std::unique_ptr<QWidget> w(f.make(&ctx));
      for (const QString& c : clipped_texts(w.get())) clipped << QStringLiteral("%1: %2").arg(f.name, c);
    }
    qApp->setStyleSheet(QString());
    QCoreApplication::removeTranslator(&program);
    QVERIFY2(clipped.isEmpty(), qPrintable("\n" + clipped.join('\n')));
  }

  // The finder itself: a button too narrow for its text under a sheet's padding is found.
  void a_narrow_button_is_found() {
    QWidget form;
    form.resize(300, 100);
    auto* b = new QPushButton(QStringLiteral("Licenses(&L)"), &form);
    b->setObjectName("b");
    b->setGeometry(10, 10, 93, 31);
    form.setStyleSheet(QStringLiteral("QPushButton { padding: 4px 14px; font-size: 18px; font-weight: bold; }"));
    QCOMPARE(clipped_texts(&form).size(), 1);
    b->setGeometry(QRect(QPoint(10, 10), b->sizeHint()));
    QCOMPARE(clipped_texts(&form), QStringList());
    b->move(250, 10);  // past the form's right edge
    QCOMPARE(clipped_texts(&form).size(), 1);
  }
};

QTEST_MAIN(forms_fit_test)
#include "forms_fit_test.moc"
