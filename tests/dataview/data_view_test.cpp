// The data view over the catalogue test server: the statements it sends, the builders over
// the current cell, edits with Apply and immediate mode, pending edits, the cell search.
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QRadioButton>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

#include <cmath>
#include <limits>

#include "client/ruv_sql_lib_mem.h"
#include "dataview/data_view.h"
#include "dataview/search_tab_dlg.h"
#include "grammar/library_startup.h"
#include "query/db_ctx.h"
#include "query/tab_data_model.h"
#include "tests/peer/catalogue.h"
#include "tests/support/scripted_prompt.h"
#include "ui_data_view.h"
#include "ui_search_tab_dlg.h"

namespace {

using peer::ftype;
using peer::value;

kk::adt::string::string bytes(const char* s) { return kk::adt::string_from_cstr(s); }

}  // namespace

class data_view_test : public QObject {
    Q_OBJECT

    peer::catalogue db;
    peer::test_peer server;
    std::unique_ptr<db_ctx> ctx;
    ruv::test::scripted_prompt* prompt = nullptr;

    // The statements the server answered since the last call.
    QStringList sent()
    {
        QStringList out;
        const auto log = db.log();
        for (size_t i = seen_; i < log.size(); ++i) out << QString::fromStdString(log[i].text);
        seen_ = log.size();
        return out;
    }
    size_t seen_ = 0;

    std::unique_ptr<data_view> open_t()
    {
        auto v = std::make_unique<data_view>(bytes("t"), ctx.get());
        return v;
    }
    QString cell(data_view& v, int row, int column)
    {
        return v.model()->data(v.model()->index(row, column), Qt::DisplayRole).toString();
    }

private slots:
    void initTestCase()
    {
        kk::library_startup();  // the program does this before main
        db.install(server);
        QVERIFY(connect_to_server("127.0.0.1", server.port(), "u", "p"));
        ctx = std::make_unique<db_ctx>(bytes("ruv_mdb"), nullptr);
    }
    void cleanupTestCase() { exit_to_server(); }

    void init()
    {
        db.clear();
        QVERIFY(db.create_table("t", {{"a", ftype::i32, ""}, {"s", ftype::str, ""}, {"d", ftype::f64, ""}}));
        db.insert("t", {value::sint(ftype::i32, 1), value::text("one"), value::real(ftype::f64, 1.5)});
        db.insert("t", {value::sint(ftype::i32, 2), value::text("two"), value::real(ftype::f64, 2.5)});
        db.insert("t", {value::sint(ftype::i32, 3), value::text("three"), value::real(ftype::f64, 3.5)});
        seen_ = 0;
        prompt = new ruv::test::scripted_prompt;
    }
    void cleanup()
    {
        delete prompt;
        prompt = nullptr;
    }

    void the_statement_follows_the_inputs()
    {
        auto v = open_t();
        QCOMPARE(sent(), (QStringList{"fields_of t;", "select a, s, d from t where first 1000;"}));
        QCOMPARE(v->model()->rowCount(), 3);
        QVERIFY(v->form()->add_btn->isEnabled());

        v->form()->filter_cb->setCurrentText("a == 2");
        QCOMPARE(sent(), (QStringList{"select a, s, d from t where first 1000 && a == 2;"}));
        QCOMPARE(v->model()->rowCount(), 1);

        // The limit binds both branches of a filter with "||".
        v->form()->limit_sb->setValue(1);
        sent();
        v->form()->filter_cb->setCurrentText("a == 1 || a == 3");
        QCOMPARE(sent(), (QStringList{"select a, s, d from t where first 1 && (a == 1 || a == 3);"}));
        QCOMPARE(v->model()->rowCount(), 1);

        v->form()->limit_cb->setChecked(false);
        QCOMPARE(sent(), (QStringList{"select a, s, d from t where a == 1 || a == 3;"}));
        QCOMPARE(v->model()->rowCount(), 2);
        QVERIFY(!v->form()->limit_sb->isEnabled());

        v->form()->post_cb->setCurrentText("order by a desc");
        v->form()->fd_wt->list()->item(1)->setCheckState(Qt::Unchecked);
        QCOMPARE(sent(), (QStringList{"select a, s, d from t where a == 1 || a == 3 order by a desc;",
                                      "select a, d from t where a == 1 || a == 3 order by a desc;"}));
        QCOMPARE(cell(*v, 0, 0), QString("3"));
    }

    void the_header_claims_no_sort_the_rows_do_not_have()
    {
        auto v = open_t();
        QHeaderView* h = v->form()->dv->horizontalHeader();
        QCOMPARE(h->sortIndicatorSection(), -1);
        // The user sorts by the text column descending: "two", "three", "one".
        v->form()->dv->sortByColumn(1, Qt::DescendingOrder);
        QCOMPARE(cell(*v, 0, 1), QString("two"));
        QCOMPARE(h->sortIndicatorSection(), 1);
        // A reload brings the server's order back, and the indicator goes with the old order.
        v->form()->filter_cb->setCurrentText("a >= 1");
        QCOMPARE(cell(*v, 0, 1), QString("one"));
        QCOMPARE(h->sortIndicatorSection(), -1);
    }

    void builders_take_the_current_cell()
    {
        auto v = open_t();
        QTableView* dv = v->form()->dv;
        dv->setCurrentIndex(v->model()->index(1, 0));  // a = 2
        v->ftr_ge(false);
        QCOMPARE(v->form()->filter_cb->currentText(), QString("a >= 2"));
        QCOMPARE(v->model()->rowCount(), 2);
        dv->setCurrentIndex(v->model()->index(0, 1));  // s = "two"
        v->filter_merge_action(1)->setCheckable(true);
        v->filter_merge_action(1)->setChecked(true);
        v->filter_merge_action(0)->setChecked(false);
        v->ftr_nq(false);
        QCOMPARE(v->form()->filter_cb->currentText(), QString("a >= 2 && s != \"two\""));
        QCOMPARE(v->model()->rowCount(), 1);
        dv->setCurrentIndex(v->model()->index(0, 0));
        v->post_dsc(false);
        QCOMPARE(v->form()->post_cb->currentText(), QString("order by a desc"));
        dv->setCurrentIndex(v->model()->index(0, 0));  // the reload left no current cell
        v->add_filter(false);  // always replaces
        QCOMPARE(v->form()->filter_cb->currentText(), QString("a==3"));
        QCOMPARE(sent().last(), QString("select a, s, d from t where first 1000 && a==3 order by a desc;"));
    }

    // The comparison takes the cell as the grid shows it in the display mode; the server
    // reads that text back as the same number.
    void comparisons_follow_the_display_mode()
    {
        auto v = open_t();
        v->form()->hex_rb->setChecked(true);
        QCOMPARE(cell(*v, 1, 0), QString("0x00000002"));
        v->form()->dv->setCurrentIndex(v->model()->index(1, 0));
        v->ftr_eq(false);
        QCOMPARE(v->form()->filter_cb->currentText(), QString("a == 0x00000002"));
        QCOMPARE(v->model()->rowCount(), 1);
        v->form()->bin_rb->setChecked(true);
        v->form()->dv->setCurrentIndex(v->model()->index(0, 0));
        v->ftr_eq(false);
        QCOMPARE(v->form()->filter_cb->currentText(), QString("a == 0b00000000000000000000000000000010"));
        QCOMPARE(v->model()->rowCount(), 1);
        v->form()->dec_rb->setChecked(true);
        QCOMPARE(cell(*v, 0, 0), QString("2"));
    }

    void a_nan_cell_builds_no_comparison()
    {
        db.insert("t", {value::sint(ftype::i32, 4), value::text("nan"),
                        value::real(ftype::f64, std::numeric_limits<double>::quiet_NaN())});
        auto v = open_t();
        v->form()->dv->setCurrentIndex(v->model()->index(3, 2));
        v->ftr_eq(false);
        QCOMPARE(v->form()->filter_cb->currentText(), QString());
        QCOMPARE(prompt->boxes.size(), size_t(1));
        QVERIFY(prompt->last_text().contains("not a number"));
        v->ftr_max(false);  // a clause without the value still comes
        QCOMPARE(v->form()->filter_cb->currentText(), QString("d max"));
    }

    void edit_apply_and_reload_show_the_change()
    {
        auto v = open_t();
        QVERIFY(!v->form()->apply_btn->isEnabled());
        QVERIFY(v->model()->setData(v->model()->index(0, 1), QString("uno"), Qt::EditRole));
        QVERIFY(v->form()->apply_btn->isEnabled());
        sent();
        v->form()->apply_btn->click();
        const QStringList s = sent();
        QVERIFY2(!s.isEmpty() && s[0].startsWith("atom_exec ") && s[0].contains("update t set s = \"uno\""),
                 qPrintable(s.join(" | ")));
        QCOMPARE(s.last(), QString("select a, s, d from t where first 1000;"));
        QCOMPARE(cell(*v, 0, 1), QString("uno"));
        QVERIFY(!v->form()->apply_btn->isEnabled());
        QCOMPARE(db.table("t")->rows[0].values[1].s, std::string("uno"));
    }

    void a_failed_apply_keeps_the_edits_and_says_so()
    {
        auto v = open_t();
        QVERIFY(v->model()->setData(v->model()->index(0, 1), QString("uno"), Qt::EditRole));
        server.push_reply(peer::send(peer::fail_reply()));
        sent();
        v->form()->apply_btn->click();
        QCOMPARE(sent().size(), 0);  // the failed batch (answered from the queue); no reload
        QCOMPARE(prompt->boxes.size(), size_t(1));
        QVERIFY(prompt->last_text().contains("failed"));
        QCOMPARE(cell(*v, 0, 1), QString("uno"));
        QVERIFY(v->form()->apply_btn->isEnabled());
        v->form()->apply_btn->click();  // a retry goes through
        QCOMPARE(db.table("t")->rows[0].values[1].s, std::string("uno"));
    }

    void a_reload_over_pending_edits_asks_first()
    {
        auto v = open_t();
        QVERIFY(v->model()->setData(v->model()->index(0, 1), QString("uno"), Qt::EditRole));
        sent();
        prompt->answers = {QMessageBox::No};
        v->form()->filter_cb->setCurrentText("a == 1");
        QCOMPARE(prompt->boxes.size(), size_t(1));
        QCOMPARE(sent(), QStringList());
        QCOMPARE(v->form()->filter_cb->currentText(), QString());  // the input goes back
        QCOMPARE(cell(*v, 0, 1), QString("uno"));
        QVERIFY(v->form()->apply_btn->isEnabled());

        prompt->answers = {QMessageBox::No};
        v->form()->limit_sb->setValue(5);
        QCOMPARE(v->form()->limit_sb->value(), 1000);
        prompt->answers = {QMessageBox::No};
        v->form()->fd_wt->list()->item(2)->setCheckState(Qt::Unchecked);
        QCOMPARE(v->form()->fd_wt->list()->item(2)->checkState(), Qt::Checked);
        prompt->answers = {QMessageBox::No};
        v->form()->im_cb->setChecked(true);
        QVERIFY(!v->form()->im_cb->isChecked());
        QVERIFY(!v->model()->immediate);
        QCOMPARE(sent(), QStringList());

        prompt->answers = {QMessageBox::Yes};
        v->form()->filter_cb->setCurrentText("a == 1");
        QCOMPARE(sent(), (QStringList{"select a, s, d from t where first 1000 && a == 1;"}));
        QCOMPARE(cell(*v, 0, 1), QString("one"));
    }

    void immediate_mode_sends_one_update_per_changed_cell()
    {
        auto v = open_t();
        v->form()->im_cb->setChecked(true);
        QVERIFY(v->model()->immediate);
        QVERIFY(!v->form()->add_btn->isEnabled());
        sent();
        QVERIFY(v->model()->setData(v->model()->index(0, 1), QString("uno"), Qt::EditRole));
        QVERIFY(v->model()->setData(v->model()->index(1, 0), 20, Qt::EditRole));
        v->model()->setData(v->model()->index(2, 1), QString("three"), Qt::EditRole);  // unchanged
        const QStringList s = sent();
        QCOMPARE(s.size(), 2);
        QVERIFY(s[0].startsWith("update t set s = \"uno\" where __id == "));
        QVERIFY(s[1].startsWith("update t set a = 20 where __id == "));
        QVERIFY(!v->form()->apply_btn->isEnabled());
        QCOMPARE(db.table("t")->rows[1].values[0].i, int64_t(20));
    }

    void context_menu_only_over_rows()
    {
        auto v = open_t();
        std::unique_ptr<QMenu> menu(v->build_context_menu());
        QVERIFY(menu);
        QStringList titles;
        for (QAction* a : menu->actions()) {
            if (!a->menu()) continue;
            titles << a->text();
            QCOMPARE(a->menu()->isEnabled(), a->text() == "filter" || a->text() == "post processing");
        }
        QCOMPARE(titles, (QStringList{"filter", "post processing", "analysis", "visualization"}));
        v->form()->filter_cb->setCurrentText("a == 99");
        QCOMPARE(v->model()->rowCount(), 0);
        QVERIFY(!v->build_context_menu());
    }

    void the_cell_search_marks_hits_and_dies_with_the_view()
    {
        auto v = open_t();
        QPointer<search_tab_dlg> dlg = v->search_dialog();
        QVERIFY(dlg);
        QSignalSpy changes(v->model(), &QAbstractItemModel::dataChanged);
        dlg->findChild<QLineEdit*>("target_le")->setText("t");  // two, three
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes[0][2].value<QVector<int>>(), QVector<int>{Qt::BackgroundRole});
        QCOMPARE(v->model()->cell_at(1, 1)->found, kk::u8(1));
        QCOMPARE(v->model()->cell_at(2, 1)->found, kk::u8(1));
        QCOMPARE(v->model()->cell_at(0, 1)->found, kk::u8(0));
        QCOMPARE(v->form()->dv->currentIndex(), v->model()->index(1, 1));
        QVERIFY2(!v->form()->apply_btn->isEnabled(), "marks are no edits");
        v.reset();
        QVERIFY(dlg.isNull());
    }

    void replace_all_over_the_grid_in_immediate_mode()
    {
        auto v = open_t();
        v->form()->im_cb->setChecked(true);
        search_tab_dlg* dlg = v->search_dialog();
        dlg->findChild<QLineEdit*>("target_le")->setText("o");
        dlg->findChild<QLineEdit*>("rep_le")->setText("0");
        sent();
        dlg->replace_all(false);
        // "one" and "two" in s; the numbers hold no "o".
        QCOMPARE(prompt->last_text(), QString("the string 'o' 2 times replaced."));
        const QStringList s = sent();
        QCOMPARE(s.size(), 2);
        QCOMPARE(db.table("t")->rows[0].values[1].s, std::string("0ne"));
        QCOMPARE(db.table("t")->rows[1].values[1].s, std::string("tw0"));
    }

    void export_writes_what_the_view_shows()
    {
        auto v = open_t();
        v->form()->filter_cb->setCurrentText("a == 2");
        QString asked_title, asked_path;
        bool accept = false;
        v->set_export_chooser([&](QWidget*, const QString& title, const QString& path) {
            asked_title = title;
            asked_path = path;
            data_view::export_choice c;
            c.accepted = accept;
            c.path = "out.csv";
            c.separator = ",";
            return c;
        });
        sent();
        v->form()->export_btn->click();  // cancelled: nothing sent, nothing said
        QCOMPARE(sent(), QStringList());
        QVERIFY(prompt->boxes.empty());
        accept = true;
        v->form()->export_btn->click();
        QCOMPARE(asked_title, QString("export view data"));
        QCOMPARE(asked_path, QString("t.csv"));
        QCOMPARE(sent(), (QStringList{
                             "select a, s, d from t where first 1000 && a == 2 export as csv split by \",\" path=\"out.csv\";"}));
        QCOMPARE(prompt->last_text(), QString("export table 't' to file 'out.csv' is successful!"));
        QCOMPARE(prompt->boxes.back().title, QString("export table result"));
        QVERIFY(db.file("out.csv") && db.file("out.csv")->find("two") != std::string::npos);
        QVERIFY(db.file("out.csv")->find("one") == std::string::npos);
    }

    void the_search_dialog_reads_its_options()
    {
        auto v = open_t();
        search_tab_dlg* dlg = v->search_dialog();
        auto& f = *dlg->findChild<QCheckBox*>("cs_cb");
        auto& w = *dlg->findChild<QCheckBox*>("mw_cb");
        struct row {
            const char* target;
            bool case_sensitive, whole_word;
            const char* mode;   // radio button of the mode
            const char* scope;  // radio button of the constraint
            int want;
        };
        // Cells: a 1 2 3 | s one two three | d 1.5 2.5 3.5 (17 decimals); current cell (1, 1).
        const row rows[] = {
            {"T", false, false, "normal_rb", "none_rb", 2},  {"T", true, false, "normal_rb", "none_rb", 0},
            {"two", false, true, "normal_rb", "none_rb", 1}, {"t", false, true, "normal_rb", "none_rb", 0},
            {"^t.o$", false, false, "reg_rb", "none_rb", 1}, {"\\u0074wo", false, false, "sup_rb", "none_rb", 1},
            {"e", false, false, "normal_rb", "row_rb", 0},   {"e", false, false, "normal_rb", "none_rb", 2},
            {"5", false, false, "normal_rb", "col_rb", 0},   {"5", false, false, "normal_rb", "none_rb", 3},
        };
        for (const row& r : rows) {
            v->form()->dv->setCurrentIndex(v->model()->index(1, 1));
            f.setChecked(r.case_sensitive);
            w.setChecked(r.whole_word);
            dlg->findChild<QRadioButton*>(r.mode)->setChecked(true);
            dlg->findChild<QRadioButton*>(r.scope)->setChecked(true);
            const QSignalBlocker quiet(dlg->findChild<QLineEdit*>("target_le"));
            dlg->findChild<QLineEdit*>("target_le")->setText(r.target);
            QCOMPARE(dlg->search().search_all(dlg->options(), true), r.want);
        }
    }

    void find_and_replace_actions_show_the_dialog()
    {
        auto v = open_t();
        search_tab_dlg* dlg = v->search_dialog();
        v->find_txt(false);
        QVERIFY(dlg->isVisible());
        QCOMPARE(dlg->windowTitle(), QString("find text in current table"));
        QVERIFY(dlg->findChild<QLineEdit*>("rep_le")->isHidden());
        dlg->reject();
        v->rep_txt(false);
        QCOMPARE(dlg->windowTitle(), QString("replace text in current table"));
        QVERIFY(!dlg->findChild<QLineEdit*>("rep_le")->isHidden());
        dlg->reject();
        QVERIFY(!dlg->isVisible());
    }
};

QTEST_MAIN(data_view_test)
#include "data_view_test.moc"
