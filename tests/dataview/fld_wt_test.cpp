// The field picker: summary line, expand and collapse, the change signal.
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

#include "dataview/fld_wt.h"

namespace {

void enter(fld_wt& w)
{
    QEvent e(QEvent::Enter);
    QApplication::sendEvent(&w, &e);
}

void leave(fld_wt& w)
{
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(&w, &e);
}

QStringList item_texts(fld_wt& w)
{
    QStringList out;
    for (int i = 0; i < w.list()->count(); ++i)
        out << w.list()->item(i)->text() + (w.list()->item(i)->checkState() == Qt::Checked ? "+" : "-");
    return out;
}

}  // namespace

class fld_wt_test : public QObject {
    Q_OBJECT
private slots:
    void summary_names_the_checked_fields_in_order()
    {
        fld_wt w;
        w.add_fields("a", true);
        w.add_fields("b", true);
        w.add_fields("c", false);
        QCOMPARE(w.summary_line()->text(), QString("a|b"));
        QCOMPARE(w.summary_line()->cursorPosition(), 0);
        QCOMPARE(item_texts(w), (QStringList{"a+", "b+", "c-"}));
        QVERIFY(w.summary_line()->isReadOnly());
    }

    void a_check_signals_at_once_and_the_summary_follows_on_leave()
    {
        fld_wt w;
        w.resize(500, 30);
        w.show();
        w.add_fields("a", true);
        w.add_fields("b", true);
        QSignalSpy spy(&w, &fld_wt::field_changed);
        enter(w);
        QVERIFY(w.expanded());
        w.list()->item(0)->setCheckState(Qt::Unchecked);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(w.summary_line()->text(), QString("a|b"));  // not before the leave
        leave(w);
        QVERIFY(!w.expanded());
        QCOMPARE(w.summary_line()->text(), QString("b"));
        QCOMPARE(w.size(), QSize(500, 30));

        enter(w);
        w.list()->item(1)->setCheckState(Qt::Unchecked);
        leave(w);
        QCOMPARE(w.summary_line()->text(), QString());
    }

    void adding_items_signals_before_the_view_connects()
    {
        fld_wt w;
        QSignalSpy spy(&w, &fld_wt::field_changed);
        w.add_fields("a", true);
        QVERIFY(spy.count() >= 1);
    }

    void clearing_keeps_the_summary_until_the_next_leave()
    {
        fld_wt w;
        w.show();
        w.add_fields("a", true);
        w.cls_fields();
        QCOMPARE(w.list()->count(), 0);
        QCOMPARE(w.summary_line()->text(), QString("a"));
        enter(w);
        leave(w);
        QCOMPARE(w.summary_line()->text(), QString());
    }

    void a_disabled_picker_stays_collapsed()
    {
        fld_wt w;
        w.show();
        w.add_fields("a", true);
        w.setEnabled(false);
        enter(w);
        QVERIFY(!w.expanded());
        QCOMPARE(w.size(), QSize(500, 30));
    }

    // The expanded list shows every item without scrolling while they fit under the cap,
    // and never grows past the cap.
    void the_expanded_list_fits_its_items_up_to_a_cap()
    {
        for (int n : {1, 3, 8, 60}) {
            fld_wt w;
            w.show();
            for (int i = 0; i < n; ++i) w.add_fields(QString("field_%1").arg(i), true);
            enter(w);
            QApplication::processEvents();
            QListWidget* l = w.list();
            QVERIFY2(l->height() <= fld_wt::list_height_cap, qPrintable(QString::number(n)));
            QCOMPARE(w.height(), l->height());
            QCOMPARE(l->width(), 480);
            if (n <= 8) {
                for (int i = 0; i < n; ++i) {
                    const QRect r = l->visualItemRect(l->item(i));
                    QVERIFY2(l->viewport()->rect().contains(r),
                             qPrintable(QString("%1 items: item %2 at %3,%4 %5x%6 outside %7x%8")
                                            .arg(n).arg(i).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())
                                            .arg(l->viewport()->width()).arg(l->viewport()->height())));
                }
            } else {
                QCOMPARE(l->height(), fld_wt::list_height_cap);
            }
            leave(w);
        }
    }
};

QTEST_MAIN(fld_wt_test)
#include "fld_wt_test.moc"
