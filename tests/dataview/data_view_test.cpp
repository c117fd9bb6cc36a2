// The data view over the catalogue test server: the statements it sends, the builders over
// the current cell, edits with Apply and immediate mode, pending edits, the cell search.
#include <QApplication>
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
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cerrno>
#include <cstring>
#include <deque>
#include <limits>

#include "query/wire.h"
#include "client/ruv_sql_lib_mem.h"
#include "dataview/data_view.h"
#include "dataview/search_tab_dlg.h"
#include "sqllib/library_startup.h"
#include "query/db_ctx.h"
#include "query/tab_data_model.h"
#include "tests/peer/catalogue.h"
#include "tests/peer/fault_proxy.h"
#include "tests/support/scripted_prompt.h"
#include "ui_data_view.h"
#include "ui_search_tab_dlg.h"

namespace {

using peer::ftype;
using peer::value;

kk::adt::string::string bytes(const char* s) { return kk::adt::string_from_cstr(s); }

// Logs in to the server again when a test that went through a proxy ends, passed or not.
struct back_to_server {
    quint16 port;
    ~back_to_server() { ruv::wire_connect("127.0.0.1", port, "u", "p"); }
};

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
        QVERIFY(ruv::wire_connect("127.0.0.1", server.port(), "u", "p"));
        ctx = std::make_unique<db_ctx>(bytes("ruv_mdb"), nullptr);
    }
    void cleanupTestCase() { ruv::wire_exit(); }

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

    // The connection fails after the server committed a batch (the reply cut short): the box
    // says the server may hold the edits, and the next Apply asks before sending them again.
    void a_lost_write_back_answer_never_writes_twice_without_a_question()
    {
        const back_to_server after{server.port()};
        for (const QMessageBox::StandardButton answer : {QMessageBox::Yes, QMessageBox::Cancel, QMessageBox::No}) {
            cleanup();
            init();
            peer::fault_proxy proxy(server.port());
            proxy.add_rule(peer::on_statement(peer::fault::cut, "commit"));
            QVERIFY(ruv::wire_connect("127.0.0.1", proxy.port(), "u", "p"));
            auto v = open_t();
            v->add(false);
            QVERIFY(v->model()->setData(v->model()->index(3, 0), 4, Qt::EditRole));
            QVERIFY(v->model()->setData(v->model()->index(3, 1), QString("four"), Qt::EditRole));
            sent();
            v->form()->apply_btn->click();
            QCOMPARE(proxy.counts().cuts, size_t(1));
            QCOMPARE(db.table("t")->rows.size(), size_t(4));  // the server committed it
            QCOMPARE(prompt->boxes.size(), size_t(1));
            QVERIFY2(prompt->last_text().contains("the server may have applied them"), qPrintable(prompt->last_text()));
            QVERIFY(v->model()->outcome_unknown());
            QCOMPARE(v->model()->rowCount(), 4);  // the edits are kept, marked
            QVERIFY(v->form()->apply_btn->isEnabled());

            QVERIFY(ruv::wire_connect("127.0.0.1", server.port(), "u", "p"));  // the user reconnects
            sent();
            if (answer != QMessageBox::Yes) prompt->answers = {answer};  // Yes: Enter, the default
            v->form()->apply_btn->click();
            QCOMPARE(prompt->boxes.size(), size_t(2));
            QCOMPARE(prompt->boxes.back().default_button, QMessageBox::Yes);
            const QStringList s = sent();
            if (answer == QMessageBox::Yes) {
                // Reloaded: the row once, as the server holds it, and nothing pending.
                QCOMPARE(s, (QStringList{"select a, s, d from t where first 1000;"}));
                QCOMPARE(v->model()->rowCount(), 4);
                QCOMPARE(cell(*v, 3, 1), QString("four"));
                QVERIFY(!v->model()->outcome_unknown());
                QVERIFY(!v->form()->apply_btn->isEnabled());
                QCOMPARE(db.table("t")->rows.size(), size_t(4));
            } else if (answer == QMessageBox::Cancel) {
                QCOMPARE(s, QStringList());
                QVERIFY(v->model()->outcome_unknown());
                QVERIFY(v->form()->apply_btn->isEnabled());
                QCOMPARE(db.table("t")->rows.size(), size_t(4));
            } else {
                // The user's decision: the batch goes again.
                QVERIFY2(!s.isEmpty() && s[0].startsWith("atom_exec ") && s[0].contains("insert into t"), qPrintable(s.join(" | ")));
                QCOMPARE(db.table("t")->rows.size(), size_t(5));
                QVERIFY(!v->model()->outcome_unknown());
            }
        }
    }

    // The connection reset right after the reply to the committed batch: whether the reply
    // was read before the reset or not, a second Apply (Enter on any question) never stores
    // the row twice, and the grid ends with the row once.
    void a_reset_after_the_commit_never_writes_twice()
    {
        const back_to_server after{server.port()};
        peer::fault_proxy proxy(server.port());
        proxy.add_rule(peer::on_statement(peer::fault::reset_after, "commit"));
        QVERIFY(ruv::wire_connect("127.0.0.1", proxy.port(), "u", "p"));
        auto v = open_t();
        v->add(false);
        QVERIFY(v->model()->setData(v->model()->index(3, 1), QString("four"), Qt::EditRole));
        v->form()->apply_btn->click();
        QCOMPARE(db.table("t")->rows.size(), size_t(4));
        qInfo(v->model()->outcome_unknown() ? "the reset came before the reply was read" : "the reply was read first");
        QVERIFY(ruv::wire_connect("127.0.0.1", server.port(), "u", "p"));
        if (v->form()->apply_btn->isEnabled()) v->form()->apply_btn->click();
        QCOMPARE(db.table("t")->rows.size(), size_t(4));
        if (v->model()->rowCount() != 4 || v->form()->apply_btn->isEnabled()) v->update_tab();
        QCOMPARE(v->model()->rowCount(), 4);
        QCOMPARE(cell(*v, 3, 1), QString("four"));
    }

    // A batch the server refused is no unknown outcome: the next Apply sends it without asking.
    void a_refused_write_back_asks_nothing_on_retry()
    {
        auto v = open_t();
        QVERIFY(v->model()->setData(v->model()->index(0, 1), QString("uno"), Qt::EditRole));
        server.push_reply(peer::send(peer::fail_reply()));
        v->form()->apply_btn->click();
        QVERIFY(!v->model()->outcome_unknown());
        QVERIFY(prompt->last_text().contains("failed! the edits are kept."));
        v->form()->apply_btn->click();
        QCOMPARE(prompt->boxes.size(), size_t(1));
        QCOMPARE(db.table("t")->rows[0].values[1].s, std::string("uno"));
    }

    // Immediate mode: an update whose answer was lost says so, stays pending and marked, and a
    // later batch of it asks first.
    void a_lost_immediate_update_is_reported_and_kept()
    {
        const back_to_server after{server.port()};
        peer::fault_proxy proxy(server.port());
        proxy.add_rule(peer::on_statement(peer::fault::cut, "update"));
        QVERIFY(ruv::wire_connect("127.0.0.1", proxy.port(), "u", "p"));
        auto v = open_t();
        v->form()->im_cb->setChecked(true);
        QVERIFY(!v->model()->setData(v->model()->index(0, 1), QString("uno"), Qt::EditRole));
        QCOMPARE(proxy.counts().cuts, size_t(1));
        QCOMPARE(db.table("t")->rows[0].values[1].s, std::string("uno"));  // the server did it
        QCOMPARE(prompt->boxes.size(), size_t(1));
        QVERIFY2(prompt->last_text().contains("the server may have applied them"), qPrintable(prompt->last_text()));
        QVERIFY(v->model()->outcome_unknown());
        QCOMPARE(v->model()->data(v->model()->index(0, 1), Qt::BackgroundRole).value<QColor>(), QColor(Qt::darkGreen));
        QVERIFY(ruv::wire_connect("127.0.0.1", server.port(), "u", "p"));
        QVERIFY(!v->model()->apply_edits());  // not sent again without the user's word
        QVERIFY(v->model()->outcome_unknown());
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

    // A client-mode export the local file could not take gives the system's reason. A full
    // disk is /dev/full, written in place.
    void a_client_export_that_cannot_be_written_says_why()
    {
        const QFileInfo full("/dev/full");
        if (!full.exists() || full.isFile() || !full.isWritable()) QSKIP("no writable /dev/full here");
        auto v = open_t();
        v->set_export_chooser([&](QWidget*, const QString&, const QString&) {
            data_view::export_choice c;
            c.accepted = true;
            c.path = "/dev/full";
            c.separator = ",";
            c.replace = true;
            c.client = true;
            return c;
        });
        v->form()->export_btn->click();
        QCOMPARE(prompt->last_text(), QString("export table 't' to file '/dev/full' is failed!\nthe file '/dev/full' could "
                                              "not be written: ") + std::strerror(ENOSPC));
        QVERIFY(!QFileInfo("/dev/full").isFile());
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

    // --- unapplied edits are never dropped without the user saying so ------------------------

    void cancel_with_unapplied_edits_asks_and_keeps_them_by_default()
    {
        auto v = open_t();
        QSignalSpy rejected(v.get(), &data_view::rejected);
        v->form()->cancel_btn->click();  // nothing pending: no question
        QCOMPARE(rejected.count(), 1);
        QVERIFY(prompt->boxes.empty());

        QVERIFY(v->model()->setData(v->model()->index(0, 1), QString("uno"), Qt::EditRole));
        struct answer {
            const char* label;
            std::deque<QMessageBox::StandardButton> scripted;  // empty: the default button
            bool closes;
        };
        const answer answers[] = {{"default", {}, false}, {"no", {QMessageBox::No}, false}, {"yes", {QMessageBox::Yes}, true}};
        for (const answer& a : answers) {
            prompt->boxes.clear();
            prompt->answers = a.scripted;
            rejected.clear();
            v->form()->cancel_btn->click();
            QCOMPARE(prompt->boxes.size(), size_t(1));
            QCOMPARE(prompt->boxes[0].buttons, QMessageBox::Yes | QMessageBox::No);
            QVERIFY2(prompt->boxes[0].text.contains("not applied"), a.label);
            QCOMPARE(rejected.count(), a.closes ? 1 : 0);
            QCOMPARE(cell(*v, 0, 1), QString("uno"));
            QVERIFY(v->has_pending_edits());
        }
        QCOMPARE(db.table("t")->rows[0].values[1].s, std::string("one"));
    }

    void the_reload_question_keeps_the_edits_by_default()
    {
        auto v = open_t();
        QVERIFY(v->model()->setData(v->model()->index(0, 1), QString("uno"), Qt::EditRole));
        sent();
        v->form()->filter_cb->setCurrentText("a == 1");  // no answer scripted: the default button
        QCOMPARE(prompt->boxes.size(), size_t(1));
        QCOMPARE(sent(), QStringList());
        QCOMPARE(v->form()->filter_cb->currentText(), QString());
        QCOMPARE(cell(*v, 0, 1), QString("uno"));
        QVERIFY(v->form()->apply_btn->isEnabled());
    }

    // --- the cell search writes only where the user may edit ----------------------------------

    void replace_never_writes_into_a_read_only_result()
    {
        QVERIFY(db.create_table("r", {{"a", ftype::i32, ""}, {"s", ftype::str, ""}, {"b", ftype::str, ""}}));
        db.insert("r", {value::sint(ftype::i32, 1), value::text("one"), value::text("keep")});
        db.insert("r", {value::sint(ftype::i32, 2), value::text("two"), value::text("keep")});
        for (bool immediate : {false, true}) {
            auto v = std::make_unique<data_view>(bytes("r"), ctx.get());
            v->form()->fd_wt->list()->item(2)->setCheckState(Qt::Unchecked);
            v->form()->post_cb->setCurrentText("rename s b");
            QCOMPARE(v->model()->headerData(1, Qt::Horizontal).toString(), QString("b"));
            QVERIFY(!v->form()->add_btn->isEnabled());
            v->form()->im_cb->setChecked(immediate);
            search_tab_dlg* dlg = v->search_dialog();
            dlg->findChild<QLineEdit*>("target_le")->setText("o");
            dlg->findChild<QLineEdit*>("rep_le")->setText("X");
            prompt->boxes.clear();
            sent();
            dlg->replace_all(false);
            QCOMPARE(prompt->last_text(), QString("the string 'o' is only in cells that can not be edited here, nothing was replaced."));
            v->form()->dv->setCurrentIndex(v->model()->index(0, 1));
            dlg->replace(false);
            QCOMPARE(prompt->boxes.size(), size_t(2));
            QVERIFY(prompt->last_text().contains("can not be edited"));
            QCOMPARE(cell(*v, 0, 1), QString("one"));
            QVERIFY(!v->form()->apply_btn->isEnabled());
            QVERIFY(!v->has_pending_edits());
            v->apply(false);
            const QStringList s = sent();
            for (const QString& st : s) QVERIFY2(!st.startsWith("update") && !st.startsWith("atom_exec"), qPrintable(st));
            QCOMPARE(db.table("r")->rows[0].values[2].s, std::string("keep"));
            QCOMPARE(db.table("r")->rows[0].values[1].s, std::string("one"));
        }
    }

    // --- a user's line comment never swallows what follows it -------------------------------

    void a_trailing_line_comment_keeps_post_text_and_export()
    {
        auto v = open_t();
        sent();
        v->form()->filter_cb->setCurrentText("a >= 2 # not the first");
        v->form()->post_cb->setCurrentText("order by a desc // newest first");
        QCOMPARE(sent().last(),
                 QString("select a, s, d from t where first 1000 && a >= 2 # not the first\n order by a desc // newest first\n;"));
        QCOMPARE(v->model()->rowCount(), 2);
        QCOMPARE(cell(*v, 0, 0), QString("3"));  // the post text ran

        QTemporaryDir dir;
        const std::string local = QDir(dir.path()).filePath("view.csv").toStdString();
        for (bool client : {false, true}) {
            v->set_export_chooser([&](QWidget*, const QString&, const QString&) {
                data_view::export_choice c;
                c.accepted = true;
                c.path = client ? local : "out.csv";
                c.separator = ",";
                c.client = client;
                return c;
            });
            v->form()->export_btn->click();
            QVERIFY2(prompt->last_text().endsWith("is successful!"), qPrintable(prompt->last_text()));
            const QString st = sent().last();
            QVERIFY2(st.contains("// newest first\n export as csv split by \",\""), qPrintable(st));
            std::string out;
            if (client) {
                QFile f(QString::fromStdString(local));
                QVERIFY(f.open(QIODevice::ReadOnly));
                out = f.readAll().toStdString();
            } else {
                QVERIFY(db.file("out.csv"));
                out = *db.file("out.csv");
            }
            QVERIFY2(out.find("3,three") < out.find("2,two") && out.find("one") == std::string::npos, out.c_str());
        }
    }

    // --- a clause is never joined into a string, a comment or a name the user left open ----

    void a_clause_is_not_joined_to_a_text_left_open()
    {
        auto v = open_t();
        // Each filter leaves something open that its post text closes: the statement runs,
        // and a clause joined to the filter would be read into the string or comment.
        struct open_case {
            const char* filter;
            const char* post;
        } cases[] = {
            {"a >= 1 /* && s == \"one\"", "*/ order by a desc"},
            {"s != @\"x(two", ")x\" order by a desc"},
        };
        for (const auto& c : cases) {
            v->form()->filter_cb->setCurrentText(c.filter);
            v->form()->post_cb->setCurrentText(c.post);
            QCOMPARE(v->model()->rowCount(), 3);
            sent();
            prompt->boxes.clear();
            v->form()->dv->setCurrentIndex(v->model()->index(0, 0));
            v->app_filter(false);
            QCOMPARE(prompt->boxes.size(), size_t(1));
            QVERIFY2(prompt->last_text().contains("open at its end"), qPrintable(prompt->last_text()));
            QCOMPARE(v->form()->filter_cb->currentText(), QString(c.filter));
            QCOMPARE(sent(), QStringList());
        }
    }

    // A filter of blanks is none: the clause joined to it stands alone and runs.
    void a_clause_joined_to_blanks_stands_alone()
    {
        auto v = open_t();
        v->form()->filter_cb->setCurrentText("   ");
        QCOMPARE(v->model()->rowCount(), 3);
        sent();
        v->form()->dv->setCurrentIndex(v->model()->index(1, 0));  // a = 2
        v->app_filter(false);
        QCOMPARE(v->form()->filter_cb->currentText(), QString("a==2"));
        QCOMPARE(sent().last(), QString("select a, s, d from t where first 1000 && a==2;"));
        QCOMPARE(v->model()->rowCount(), 1);
    }

    // --- the limit binds every branch of a filter's top-level "||" ---------------------------

    void the_limit_binds_every_branch_after_any_string_form()
    {
        QVERIFY(db.create_table("o", {{"s", ftype::str, ""}, {"b", ftype::i32, ""}}));
        for (int i = 0; i < 5; ++i) db.insert("o", {value::text(i == 0 ? "(\")" : "x"), value::sint(ftype::i32, 1)});
        auto v = std::make_unique<data_view>(bytes("o"), ctx.get());
        v->form()->limit_sb->setValue(2);
        const char* filters[] = {"s == @\"(\")\" || b == 1", "s == \"(\\\")\" || b == 1", "b == 39 && s == \"'\" || b == 1",
                                 "s == @\"x(\"||\")x\" || b == 1"};
        for (const char* f : filters) {
            sent();
            v->form()->filter_cb->setCurrentText(f);
            QCOMPARE(sent().last(), QString("select s, b from o where first 2 && (%1);").arg(f));
            QCOMPARE(v->model()->rowCount(), 2);
        }
    }

    // --- long filters are taken whole, and a merge too long for a statement is refused -------

    void long_filters_are_never_cut()
    {
        auto v = open_t();
        QString filter = "a >= 1";
        while (filter.size() <= 40000) filter += " && a >= 1";
        sent();
        v->form()->filter_cb->setCurrentText(filter);
        QCOMPARE(v->form()->filter_cb->currentText().size(), filter.size());
        QCOMPARE(v->model()->rowCount(), 3);
        v->form()->dv->setCurrentIndex(v->model()->index(1, 0));  // a = 2
        v->app_filter(false);
        QCOMPARE(v->form()->filter_cb->currentText(), filter + " && a==2");
        QCOMPARE(sent().last(), QString("select a, s, d from t where first 1000 && %1 && a==2;").arg(filter));
        QCOMPARE(v->model()->rowCount(), 1);

        QString post = "order by a asc";
        while (post.size() <= 40000) post += " first 3";
        v->form()->post_cb->setCurrentText(post);
        QCOMPARE(v->form()->post_cb->currentText().size(), post.size());

        // A merged text longer than a statement can hold changes nothing, and says so.
        v->set_input_limit(size_t(filter.size()) + 5);
        v->form()->dv->setCurrentIndex(v->model()->index(0, 0));
        sent();
        prompt->boxes.clear();
        v->app_filter(false);
        QCOMPARE(prompt->boxes.size(), size_t(1));
        QVERIFY(prompt->last_text().contains("longer than"));
        QCOMPARE(v->form()->filter_cb->currentText(), filter + " && a==2");
        v->set_input_limit(size_t(post.size()) + 3);
        v->post_fst(false);
        QCOMPARE(prompt->boxes.size(), size_t(2));
        QCOMPARE(v->form()->post_cb->currentText(), post);
        QCOMPARE(sent(), QStringList());
    }

    // --- found cells show yellow; cleared marks are repainted --------------------------------

    void found_cells_are_painted_yellow_and_cleared_marks_repainted()
    {
        auto v = open_t();
        v->resize(1037, 413);
        v->show();
        QVERIFY(QTest::qWaitForWindowExposed(v.get()));
        QTableView* dv = v->form()->dv;
        // An edited cell that the search will also find: the hit's yellow wins over the green.
        QVERIFY(v->model()->setData(v->model()->index(2, 1), QString("three!"), Qt::EditRole));
        search_tab_dlg* dlg = v->search_dialog();
        dlg->findChild<QLineEdit*>("target_le")->setText("t");  // two (current), three!
        QCOMPARE(dv->currentIndex(), v->model()->index(1, 1));
        auto pixel = [&](int row, int column) {
            qApp->processEvents();
            const QRect r = dv->visualRect(v->model()->index(row, column));
            return dv->viewport()->grab().toImage().pixelColor(r.topLeft() + QPoint(3, 3));
        };
        QCOMPARE(v->model()->data(v->model()->index(2, 1), Qt::BackgroundRole), QVariant(QColor(Qt::yellow)));
        QCOMPARE(pixel(2, 1), QColor(Qt::yellow));
        const QColor plain = pixel(0, 0);
        QVERIFY(plain != QColor(Qt::yellow));
        dlg->findChild<QLineEdit*>("target_le")->setText("one");  // marks only row 0 now
        dv->setCurrentIndex(v->model()->index(2, 2));             // the current cell shows selected
        QCOMPARE(pixel(0, 1), QColor(Qt::yellow));
        QCOMPARE(pixel(2, 1), QColor(Qt::darkGreen));
        dlg->reject();  // clears every mark
        QCOMPARE(pixel(0, 1), plain);
        QCOMPARE(pixel(2, 1), QColor(Qt::darkGreen));
        dv->setCurrentIndex(v->model()->index(2, 2));
        QCOMPARE(pixel(1, 1), plain);
    }

    // --- "filter ==" on a cell finds that cell's row: every type, its extreme values --------

    void an_equality_from_any_cell_finds_its_row()
    {
        const float fmax = std::numeric_limits<float>::max(), fsub = std::numeric_limits<float>::denorm_min();
        const double dmax = std::numeric_limits<double>::max(), dsub = std::numeric_limits<double>::denorm_min();
        struct column {
            ftype type;
            std::vector<value> values;
        };
        const column columns[] = {
            {ftype::u08, {value::uint(ftype::u08, 0), value::uint(ftype::u08, 255), value::uint(ftype::u08, 1)}},
            {ftype::i08, {value::sint(ftype::i08, -128), value::sint(ftype::i08, 127), value::sint(ftype::i08, 0)}},
            {ftype::u16, {value::uint(ftype::u16, 0), value::uint(ftype::u16, 65535)}},
            {ftype::i16, {value::sint(ftype::i16, -32768), value::sint(ftype::i16, 32767)}},
            {ftype::u32, {value::uint(ftype::u32, 0), value::uint(ftype::u32, 4294967295u)}},
            {ftype::i32, {value::sint(ftype::i32, INT32_MIN), value::sint(ftype::i32, INT32_MAX)}},
            {ftype::u64, {value::uint(ftype::u64, 0), value::uint(ftype::u64, UINT64_MAX)}},
            {ftype::i64, {value::sint(ftype::i64, INT64_MIN), value::sint(ftype::i64, INT64_MAX), value::sint(ftype::i64, -1)}},
            {ftype::f32,
             {value::real(ftype::f32, 0.0), value::real(ftype::f32, -0.0), value::real(ftype::f32, fmax),
              value::real(ftype::f32, -fmax), value::real(ftype::f32, fsub), value::real(ftype::f32, 0.00123456789f),
              value::real(ftype::f32, 1e-10f), value::real(ftype::f32, 0.1f), value::real(ftype::f32, 16777216.0f)}},
            {ftype::f64,
             {value::real(ftype::f64, 0.0), value::real(ftype::f64, -0.0), value::real(ftype::f64, dmax),
              value::real(ftype::f64, -dmax), value::real(ftype::f64, dsub), value::real(ftype::f64, 0.00123456789),
              value::real(ftype::f64, 0.1), value::real(ftype::f64, 1e18), value::real(ftype::f64, 123456789012.0)}},
            {ftype::str,
             {value::text(""), value::text("it's"), value::text("a\"b"), value::text("back\\slash"), value::text("line\nbreak"),
              value::text("# x"), value::text("x || y"), value::text("\xe4\xb8\xad")}},
            {ftype::date,
             {value::date(0, 0, 0), value::date(0, 2, 29), value::date(1, 1, 1), value::date(2024, 2, 29), value::date(9999, 12, 31)}},
            {ftype::time,
             {value::time(0, 0, 0, 0), value::time(23, 59, 59, 999999999), value::time(23, 59, 59, 999000000),
              value::time(12, 0, 0, 1)}},
            {ftype::datetime,
             {value::datetime(0, 0, 0, 0, 0, 0, 0), value::datetime(2019, 4, 23, 10, 11, 12, 123456789),
              value::datetime(2019, 4, 23, 10, 11, 12, 123000000), value::datetime(9999, 12, 31, 23, 59, 59, 999999999)}},
        };
        for (const column& col : columns) {
            db.clear();
            QVERIFY(db.create_table("p", {{"v", col.type, ""}}));
            std::vector<uint64_t> ids;
            for (const value& x : col.values) ids.push_back(db.insert("p", {x}));
            auto v = std::make_unique<data_view>(bytes("p"), ctx.get());
            QCOMPARE(v->model()->rowCount(), int(col.values.size()));
            for (size_t r = 0; r < col.values.size(); ++r) {
                v->form()->filter_cb->setCurrentText(QString());
                // The grid holds the server's order: row r is the r-th value.
                v->form()->dv->setCurrentIndex(v->model()->index(int(r), 0));
                v->ftr_eq(false);
                const QString filter = v->form()->filter_cb->currentText();
                const std::string what = std::string(peer::type_name(col.type)) + " " + col.values[r].str() + ": " +
                                         filter.toStdString();
                QVERIFY2(filter.startsWith("v == "), what.c_str());
                bool own = false;
                for (int k = 0; k < v->model()->rowCount(); ++k) {
                    const uint64_t id = v->model()->row_id(k);
                    own = own || id == ids[r];
                    const size_t at = size_t(std::find(ids.begin(), ids.end(), id) - ids.begin());
                    QVERIFY2(at < ids.size() && col.values[at] == col.values[r], (what + ", also " + col.values[at].str()).c_str());
                }
                QVERIFY2(own, (what + " misses its row").c_str());
            }
        }
        // NaN compares equal to nothing: no comparison is built, and the user is told.
        db.clear();
        QVERIFY(db.create_table("p", {{"v", ftype::f32, ""}}));
        db.insert("p", {value::real(ftype::f32, std::numeric_limits<double>::quiet_NaN())});
        auto v = std::make_unique<data_view>(bytes("p"), ctx.get());
        v->form()->dv->setCurrentIndex(v->model()->index(0, 0));
        prompt->boxes.clear();
        v->ftr_eq(false);
        QCOMPARE(v->form()->filter_cb->currentText(), QString());
        QCOMPARE(prompt->boxes.size(), size_t(1));
    }

    // --- a server that reports bracketed names ---------------------------------------------

    void fields_are_named_alike_whether_the_server_brackets_them_or_not()
    {
        QVERIFY(db.create_table("n", {{"a b", ftype::i32, ""}, {"c", ftype::str, ""}}));
        db.insert("n", {value::sint(ftype::i32, 7), value::text("x")});
        db.insert("n", {value::sint(ftype::i32, 8), value::text("y")});
        QStringList first;
        for (bool bracketed : {false, true}) {
            db.set_bracketed_names(bracketed);
            auto v = std::make_unique<data_view>(bytes("n"), ctx.get());
            QCOMPARE(v->model()->headerData(0, Qt::Horizontal).toString(), QString("a b"));
            QTableView* dv = v->form()->dv;
            sent();
            dv->setCurrentIndex(v->model()->index(0, 0));
            v->ftr_eq(false);
            QCOMPARE(v->model()->rowCount(), 1);
            dv->setCurrentIndex(v->model()->index(0, 0));
            v->post_dsc(false);
            QVERIFY(v->model()->setData(v->model()->index(0, 0), 70, Qt::EditRole));
            QCOMPARE(v->form()->filter_cb->currentText(), QString("[a b] == 7"));
            QCOMPARE(v->form()->post_cb->currentText(), QString("order by [a b] desc"));
            v->apply(false);
            QCOMPARE(db.table("n")->rows[0].values[0].i, int64_t(70));
            v->form()->filter_cb->setCurrentText(QString());
            v->form()->im_cb->setChecked(true);
            QCOMPARE(cell(*v, 0, 0), QString("70"));
            QVERIFY(v->model()->setData(v->model()->index(0, 0), 7, Qt::EditRole));
            const QStringList s = sent();
            QCOMPARE(db.table("n")->rows[0].values[0].i, int64_t(7));
            for (const QString& st : s) QVERIFY2(!st.contains("\\x5b"), qPrintable(st));
            QVERIFY2(s.last().startsWith("update n set [a b] = 7 where __id == "), qPrintable(s.join(" | ")));
            QVERIFY2(s.filter("atom_exec  update n set [a b] = 70 where __id == ").size() == 1, qPrintable(s.join(" | ")));
            if (!bracketed) first = s;
            else QCOMPARE(s, first);
            v->form()->im_cb->setChecked(false);
        }
        db.set_bracketed_names(false);
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

    // The shortcuts the context menu shows are keys of the view: pressed in its grid or its
    // filter, they open the cell search for finding or replacing.
    void the_menu_shortcuts_work_in_the_view()
    {
        struct row {
            const char* name;
            bool in_grid;  // else in the filter's line edit
            Qt::Key key;
            const char* title;
        };
        const row rows[] = {
            {"ctrl+f in the grid", true, Qt::Key_F, "find text in current table"},
            {"ctrl+h in the grid", true, Qt::Key_H, "replace text in current table"},
            {"ctrl+f in the filter", false, Qt::Key_F, "find text in current table"},
        };
        for (const row& r : rows) {
            auto v = open_t();
            std::unique_ptr<QMenu> menu(v->build_context_menu());
            QStringList shown;
            for (QAction* a : menu->actions())
                if (!a->shortcut().isEmpty()) shown << a->shortcut().toString();
            QCOMPARE(shown, (QStringList{"Ctrl+F", "Ctrl+H"}));
            v->show();
            QApplication::setActiveWindow(v.get());
            QVERIFY(QTest::qWaitForWindowActive(v.get()));
            QWidget* target = r.in_grid ? static_cast<QWidget*>(v->form()->dv) : v->form()->filter_cb;
            target->setFocus();
            QVERIFY2(QApplication::focusWidget() == target, r.name);
            QTest::keyClick(target, r.key, Qt::ControlModifier);
            QCOMPARE(v->form()->filter_cb->currentText(), QString());  // no key typed into the filter
            search_tab_dlg* dlg = v->search_dialog();
            QVERIFY2(dlg->isVisible(), r.name);
            QCOMPARE(dlg->windowTitle(), QString(r.title));
            dlg->reject();
        }
    }
};

QTEST_MAIN(data_view_test)
#include "data_view_test.moc"
