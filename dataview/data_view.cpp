#include "dataview/data_view.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QFile>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QSignalBlocker>
#include <QLineEdit>
#include <algorithm>
#include <initializer_list>
#include <limits>
#include <set>

#include "ui_base/seams.h"
#include "ui_base/slot_guard.h"
#include "cells/item_dlgt.h"
#include "dataview/search_tab_dlg.h"
#include "transfer_dlg/import_csv_dlg.h"
#include "ui_base/utf8.h"
#include "query/db_ctx.h"
#include "query/schema_sql.h"
#include "query/tab_data_model.h"
#include "query/wire.h"
#include "query/transfer_sql.h"
#include "ui_data_view.h"

namespace {

using dataview::filter_kind;
using dataview::post_kind;

std::string std_of(const kk::adt::string::string& s) { return std::string(s.data ? s.data : "", s.size); }

// The program's icon of that resource path; none where the resources are not built in.
QIcon icon(const char* path) { return QFile::exists(path) ? QIcon(path) : QIcon(); }

// The import/export dialog, switched to export, run modally.
data_view::export_choice ask_export(QWidget*, const QString& title, const QString& path)
{
    import_csv_dlg d(nullptr);
    d.set_export_mode();
    d.setWindowTitle(title);
    d.set_path(path);
    if (d.exec() != QDialog::Accepted) return {};
    return {true, std_of(d.path()), d.is_csv(), std_of(d.separator()), d.is_replace(), d.is_client()};
}

}  // namespace

data_view::data_view(const kk::adt::string::string& table, db_ctx* ctx, QWidget* parent)
    : QWidget(parent), form_(new Ui::data_view), ctx_(ctx), choose_export_(&ask_export)
{
    form_->setupUi(this);
    model_ = new tab_data_model(table, ctx_, this);
    QTableView* dv = form_->dv;
    dv->setModel(model_);
    dv->horizontalHeader()->setSectionsMovable(true);
    dv->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                        QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    dv->setSelectionMode(QAbstractItemView::SingleSelection);

    connect(form_->add_btn, &QPushButton::clicked, this, &data_view::add);
    connect(form_->delete_btn, &QPushButton::clicked, this, &data_view::del);
    connect(form_->apply_btn, &QPushButton::clicked, this, &data_view::apply);
    connect(form_->cancel_btn, &QPushButton::clicked, this, &data_view::cancel);
    connect(form_->export_btn, &QPushButton::clicked, this, &data_view::export_data);
    connect(form_->filter_cb, &QComboBox::currentTextChanged, this, &data_view::filter_changed);
    connect(form_->post_cb, &QComboBox::currentTextChanged, this, &data_view::post_changed);
    connect(model_, &tab_data_model::changed, this, &data_view::enable_apply);
    // An edit the model refuses before sending (a value without literal) is said, not dropped silently.
    connect(model_, &tab_data_model::refused, this, [this](const QString& why) {
        refusal_said_ = true;
        slot_guard("refused", [&] { ruv::warning(this, tr("edit refused"), why); });
    });
    // An immediate update sent before the connection failed: the server may hold it.
    connect(model_, &tab_data_model::update_unknown, this, [this] {
        slot_guard("update_unknown", [&] { ruv::warning(this, tr("apply result"), unknown_outcome_text()); });
    });
    connect(form_->limit_cb, &QCheckBox::stateChanged, this, &data_view::check_limit);
    connect(form_->limit_sb, qOverload<int>(&QSpinBox::valueChanged), this, &data_view::change_limit);

    form_->table_le->setText(utf8_text(table));

    filter_this_ = new QAction(icon(":/img/filter.svg"), tr("filter this"), this);
    append_filter_ = new QAction(icon(":/img/app_filter.svg"), tr("append filter"), this);
    find_text_ = new QAction(icon(":/img/find.svg"), tr("find text"), this);
    find_text_->setShortcut(QKeySequence(tr("ctrl+f")));
    replace_text_ = new QAction(icon(":/img/replace.svg"), tr("replace text"), this);
    replace_text_->setShortcut(QKeySequence(tr("ctrl+h")));
    setContextMenuPolicy(Qt::DefaultContextMenu);
    connect(find_text_, &QAction::triggered, this, &data_view::find_txt);
    connect(replace_text_, &QAction::triggered, this, &data_view::rep_txt);
    // The shortcuts the context menu shows work wherever the focus is in the view.
    for (QAction* a : {find_text_, replace_text_}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
    }
    connect(filter_this_, &QAction::triggered, this, &data_view::add_filter);
    connect(append_filter_, &QAction::triggered, this, &data_view::app_filter);

    using slot = void (data_view::*)(bool);
    auto make = [this](QAction** out, const char* const* texts, const slot* targets, int n) {
        for (int i = 0; i < n; ++i) {
            out[i] = new QAction(tr(texts[i]), this);
            if (targets) connect(out[i], &QAction::triggered, this, targets[i]);
        }
    };
    static const char* const filter_texts[22] = {
        QT_TR_NOOP("=="),       QT_TR_NOOP("!="),    QT_TR_NOOP("<"),     QT_TR_NOOP("<="),      QT_TR_NOOP(">"),
        QT_TR_NOOP(">="),       QT_TR_NOOP("(1,3)"), QT_TR_NOOP("(1,3]"), QT_TR_NOOP("[1,3)"),   QT_TR_NOOP("[1,3]"),
        QT_TR_NOOP("min"),      QT_TR_NOOP("max"),   QT_TR_NOOP("min 3"), QT_TR_NOOP("max 3"),   QT_TR_NOOP("(1,2,3)"),
        QT_TR_NOOP("in table"), QT_TR_NOOP("first"), QT_TR_NOOP("last"),  QT_TR_NOOP("first 3"), QT_TR_NOOP("last 3"),
        QT_TR_NOOP("nth 3"),    QT_TR_NOOP("2~5")};
    static const slot filter_slots[22] = {
        &data_view::ftr_eq,    &data_view::ftr_nq,    &data_view::ftr_lt,     &data_view::ftr_le,
        &data_view::ftr_gt,    &data_view::ftr_ge,    &data_view::ftr_ltgt,   &data_view::ftr_legt,
        &data_view::ftr_ltge,  &data_view::ftr_lege,  &data_view::ftr_min,    &data_view::ftr_max,
        &data_view::ftr_min_k, &data_view::ftr_max_k, &data_view::ftr_in_set, &data_view::ftr_in_tab,
        &data_view::ftr_fst,   &data_view::ftr_lst,   &data_view::ftr_fst_k,  &data_view::ftr_lst_k,
        &data_view::ftr_nth_k, &data_view::ftr_range};
    make(filter_actions_, filter_texts, filter_slots, 22);
    static const char* const post_texts[18] = {QT_TR_NOOP("ascending"),
                                               QT_TR_NOOP("descending"),
                                               QT_TR_NOOP("project"),
                                               QT_TR_NOOP("except"),
                                               QT_TR_NOOP("rename"),
                                               QT_TR_NOOP("compute"),
                                               QT_TR_NOOP("group"),
                                               QT_TR_NOOP("first"),
                                               QT_TR_NOOP("last"),
                                               QT_TR_NOOP("first 3"),
                                               QT_TR_NOOP("last 3"),
                                               QT_TR_NOOP("nth 3"),
                                               QT_TR_NOOP("2~5"),
                                               QT_TR_NOOP("inner condition"),
                                               QT_TR_NOOP("adjacent condition"),
                                               QT_TR_NOOP("between condition"),
                                               QT_TR_NOOP("exists condition"),
                                               QT_TR_NOOP("not exists condition")};
    static const slot post_slots[18] = {&data_view::post_asc,      &data_view::post_dsc,      &data_view::post_prj,
                                        &data_view::post_epj,      &data_view::post_ren,      &data_view::post_com,
                                        &data_view::post_grp,      &data_view::post_fst,      &data_view::post_lst,
                                        &data_view::post_fst_k,    &data_view::post_lst_k,    &data_view::post_nth_k,
                                        &data_view::post_range,    &data_view::post_line_inr, &data_view::post_line_adj,
                                        &data_view::post_line_int, &data_view::post_exts,     &data_view::post_nxts};
    make(post_actions_, post_texts, post_slots, 18);
    static const char* const analysis_texts[10] = {QT_TR_NOOP("linear regression"),
                                                   QT_TR_NOOP("logic regression"),
                                                   QT_TR_NOOP("decision tree"),
                                                   QT_TR_NOOP("bayes"),
                                                   QT_TR_NOOP("svm"),
                                                   QT_TR_NOOP("cluster"),
                                                   QT_TR_NOOP("pca"),
                                                   QT_TR_NOOP("random forest"),
                                                   QT_TR_NOOP("deep learning"),
                                                   QT_TR_NOOP("modeling")};
    static const slot analysis_slots[10] = {
        &data_view::ans_lnr, &data_view::ans_lgr, &data_view::ans_dct, &data_view::ans_bys, &data_view::ans_svm,
        &data_view::ans_clt, &data_view::ans_pca, &data_view::ans_rmf, &data_view::ans_dln, &data_view::ans_mdl};
    make(analysis_actions_, analysis_texts, analysis_slots, 10);
    static const char* const visual_texts[9] = {QT_TR_NOOP("scatter"), QT_TR_NOOP("line"),  QT_TR_NOOP("bar"),
                                                QT_TR_NOOP("area"),    QT_TR_NOOP("pie"),   QT_TR_NOOP("funnel"),
                                                QT_TR_NOOP("adt"),     QT_TR_NOOP("radar"), QT_TR_NOOP("instrument")};
    static const slot visual_slots[9] = {&data_view::vsl_ruv, &data_view::vsl_lin, &data_view::vsl_bar,
                                         &data_view::vsl_ara, &data_view::vsl_pie, &data_view::vsl_fnl,
                                         &data_view::vsl_adt, &data_view::vsl_rdr, &data_view::vsl_itm};
    make(visual_actions_, visual_texts, visual_slots, 9);
    static const char* const filter_mode_texts[3] = {QT_TR_NOOP("replace"), QT_TR_NOOP("&&&&"), QT_TR_NOOP(" || ")};
    make(filter_modes_, filter_mode_texts, nullptr, 3);
    static const char* const post_mode_texts[2] = {QT_TR_NOOP("replace"), QT_TR_NOOP("append")};
    make(post_modes_, post_mode_texts, nullptr, 2);
    filter_modes_[0]->setCheckable(true);
    filter_modes_[0]->setChecked(true);
    post_modes_[1]->setCheckable(true);
    post_modes_[1]->setChecked(true);

    for (QComboBox* cb : {form_->filter_cb, form_->post_cb}) {
        const QSignalBlocker block(cb);
        cb->setInsertPolicy(QComboBox::InsertAtTop);
        cb->setCurrentText(QString());
        // A filter or post text is as long as a statement may be: never cut at the line
        // edit's default limit.
        cb->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    }

    // The dialog belongs to this view and is deleted with it (it searches this view's grid).
    search_ = new search_tab_dlg(form_->dv, nullptr);
    form_->apply_btn->setEnabled(false);
    form_->delete_btn->setEnabled(false);
    form_->fd_wt->raise();  // its expanded list covers the widgets below

    text_list names, types, attrs;
    sql_fields_of(ctx_, table, names, types, attrs);
    for (auto* n = names.head; n; n = n->next)
        form_->fd_wt->add_fields(utf8_text(n->value), true);

    connect(form_->fd_wt, &fld_wt::field_changed, this, &data_view::field_changed);
    connect(form_->im_cb, &QCheckBox::stateChanged, this, &data_view::im_changed);
    connect(form_->hex_rb, &QRadioButton::toggled, this, &data_view::mode_toggled);
    connect(form_->bin_rb, &QRadioButton::toggled, this, &data_view::mode_toggled);
    connect(form_->dec_rb, &QRadioButton::toggled, this, &data_view::mode_toggled);
    connect(dv->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &data_view::row_changed);
    connect(dv->selectionModel(), &QItemSelectionModel::currentChanged, this, &data_view::current_changed);

    update_tab();
}

data_view::~data_view()
{
    delete search_.data();  // never left holding this view's grid
    delete form_;
}

dataview::view_query data_view::current_query() const
{
    dataview::view_query q;
    QListWidget* l = form_->fd_wt->list();
    for (int i = 0; i < l->count(); ++i)
        if (l->item(i)->checkState() == Qt::Checked) q.fields.push_back(l->item(i)->text().toStdString());
    q.table = form_->table_le->text().toStdString();
    q.filter = form_->filter_cb->currentText().toStdString();
    q.limit_on = form_->limit_cb->checkState() == Qt::Checked;
    q.limit = form_->limit_sb->value();
    q.post = form_->post_cb->currentText().toStdString();
    return q;
}

bool data_view::may_reload()
{
    if (!pending_ || !loaded_) return true;
    // Enter and Escape keep the edits.
    if (ruv::question(
            this, tr("reload table"),
            tr("the edits of table '%1' are not applied yet. reload and drop them?").arg(form_->table_le->text()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes)
        return true;
    restore_inputs(loaded_query_, loaded_immediate_);
    return false;
}

void data_view::restore_inputs(const dataview::view_query& q, bool immediate)
{
    const QSignalBlocker b1(form_->filter_cb), b2(form_->post_cb), b3(form_->limit_cb), b4(form_->limit_sb),
        b5(form_->fd_wt->list()), b6(form_->im_cb);
    form_->filter_cb->setCurrentText(QString::fromStdString(q.filter));
    form_->post_cb->setCurrentText(QString::fromStdString(q.post));
    form_->limit_cb->setChecked(q.limit_on);
    form_->limit_sb->setEnabled(q.limit_on);
    form_->limit_sb->setValue(q.limit);
    form_->im_cb->setChecked(immediate);
    const std::set<std::string> chosen(q.fields.begin(), q.fields.end());
    QListWidget* l = form_->fd_wt->list();
    for (int i = 0; i < l->count(); ++i)
        l->item(i)->setCheckState(chosen.count(l->item(i)->text().toStdString()) ? Qt::Checked : Qt::Unchecked);
}

void data_view::load(const dataview::view_query& q)
{
    bool editable = false;
    model_->load(kk::adt::string_from_std(dataview::query_text(q)), false, &editable, nullptr);
    const bool immediate = form_->im_cb->isChecked();
    form_->add_btn->setEnabled(editable && !immediate);
    form_->delete_btn->setEnabled(editable && !immediate);
    for (int c = 0; c < model_->columnCount(); ++c) form_->dv->setItemDelegateForColumn(c, model_->column_delegate(c));
    // The rows come in the server's order: no sort indicator until the user sorts again.
    form_->dv->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    form_->dv->horizontalHeader()->viewport()->update();
    form_->dv->viewport()->update();
    loaded_ = true;
    loaded_query_ = q;
    loaded_immediate_ = immediate;
    pending_ = false;  // a load empties the model's edit state
    form_->apply_btn->setEnabled(false);
}

void data_view::update_tab()
{
    slot_guard("update_tab", [&] {
        if (may_reload()) load(current_query());
    });
}

void data_view::add(bool)
{
    QTableView* dv = form_->dv;
    if (!dv->currentIndex().isValid()) dv->setCurrentIndex(model_->index(0, 0));
    const int column = std::max(dv->currentIndex().column(), 0);
    model_->insertRows(model_->rowCount(), 1);
    dv->setCurrentIndex(model_->index(model_->rowCount() - 1, column));
    dv->viewport()->update();
}

void data_view::del(bool)
{
    const QModelIndex i = form_->dv->currentIndex();
    if (i.isValid()) model_->removeRows(i.row(), 1);
    form_->dv->viewport()->update();
}

void data_view::apply(bool)
{
    slot_guard("apply", [&] {
        refusal_said_ = false;
        const QString table = form_->table_le->text();
        bool despite_unknown = false;
        if (model_->outcome_unknown()) {
            // The server may hold the edits already: sending them again could store an
            // inserted row twice. Enter reloads; Escape does nothing.
            const auto answer = ruv::question(
                this, tr("apply edits"),
                tr("the connection was lost after the edits of table '%1' were sent: the server may hold them "
                   "already.\nreload the table to see what the server holds (the edits not applied are dropped)? "
                   "No applies the edits again anyway.")
                    .arg(table),
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
            if (answer == QMessageBox::Cancel) return;
            if (answer == QMessageBox::Yes) {
                // A load without a connection would show nothing and drop the edits.
                if (!ruv::wire_connected()) {
                    ruv::information(this, tr("apply edits"),
                                     tr("there is no connection to the server: reconnect first, the edits are kept."));
                    return;
                }
                pending_ = false;
                load(current_query());
                return;
            }
            despite_unknown = true;
        }
        if (!model_->apply_edits(despite_unknown)) {
            // The model keeps every edit: nothing is reloaded, so the user can retry.
            if (refusal_said_) return;  // the model said why nothing was sent
            if (model_->last_write_unknown())
                ruv::warning(this, tr("apply result"), unknown_outcome_text());
            else
                ruv::warning(this, tr("apply result"),
                             tr("apply the edits of table '%1' failed! the edits are kept.").arg(table));
            return;
        }
        pending_ = false;
        update_tab();
        form_->apply_btn->setEnabled(false);
    });
}

QString data_view::unknown_outcome_text() const
{
    return tr("the connection to the server was lost after the edits of table '%1' were sent: the server may have "
              "applied them. the edits are kept; the next apply asks first.")
        .arg(form_->table_le->text());
}

void data_view::cancel(bool)
{
    slot_guard("cancel", [&] {
        // Edits not applied yet go only when the user says so; Enter and Escape keep them.
        if (pending_ && ruv::question(this, tr("cancel edits"),
                                      tr("the edits of table '%1' are not applied yet. close and drop them?")
                                          .arg(form_->table_le->text()),
                                      QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
            return;
        emit rejected();
    });
}
void data_view::post_changed(const QString&) { update_tab(); }
void data_view::filter_changed(const QString&) { update_tab(); }
void data_view::field_changed() { update_tab(); }
void data_view::change_limit(int) { update_tab(); }

void data_view::check_limit(int state)
{
    if (state != Qt::Checked && state != Qt::Unchecked) return;
    form_->limit_sb->setEnabled(state == Qt::Checked);
    update_tab();
}

void data_view::export_data(bool)
{
    slot_guard("export_data", [&] {
        if (!choose_export_) return;
        const QString table = form_->table_le->text();
        const export_choice c = choose_export_(this, tr("export view data"), table + ".csv");
        if (!c.accepted) return;
        const std::string text = dataview::query_text(current_query(), false);
        using kk::adt::string_from_std;
        const kk::adt::string::string path = string_from_std(c.path);
        bool ok;
        {
            ruv::wait_cursor busy;
            ok = sql_export(ctx_, string_from_std(text), path, c.csv, string_from_std(c.separator), c.replace, c.client);
        }
        // Why it failed, when this program knows (the local file, the connection).
        const QString said =
            tr("export table '%1' to file '%2' is %3!").arg(table, QString::fromStdString(c.path), ok ? tr("successful") : tr("failed"));
        ruv::information(this, tr("export table result"), with_transfer_failure(said, ok, path));
    });
}

void data_view::find_txt(bool)
{
    slot_guard("find_txt", [&] {
        if (!search_) return;
        search_->show_top();
        search_->clear_select();
        if (search_->isVisible()) return;
        search_->setWindowTitle(tr("find text in current table"));
        search_->set_target(kk::adt::string::string());
        search_->set_replace_mode(true);
        search_->QDialog::show();
    });
}

void data_view::rep_txt(bool)
{
    slot_guard("rep_txt", [&] {
        if (!search_) return;
        search_->clear_select();
        if (search_->isVisible()) return;
        search_->setWindowTitle(tr("replace text in current table"));
        search_->set_target(kk::adt::string::string());
        search_->set_replace_mode(false);
        search_->QDialog::show();
    });
}

void data_view::row_changed(const QModelIndex& current, const QModelIndex&)
{
    if (form_->im_cb->isChecked()) {
        form_->delete_btn->setEnabled(false);
        form_->add_btn->setEnabled(false);
        return;
    }
    const bool writable = !model_->is_column_flag(current.column());
    form_->delete_btn->setEnabled(writable);
    form_->add_btn->setEnabled(writable);
}

void data_view::current_changed(const QModelIndex&, const QModelIndex&) {}

void data_view::im_changed(int state)
{
    slot_guard("im_changed", [&] {
        if (state != Qt::Checked && state != Qt::Unchecked) return;
        if (!may_reload()) return;
        if (state == Qt::Checked) {
            load(current_query());
            model_->immediate = true;
            form_->add_btn->setEnabled(false);
            form_->delete_btn->setEnabled(false);
            form_->apply_btn->setEnabled(false);
        } else {
            form_->add_btn->setEnabled(true);
            form_->delete_btn->setEnabled(true);
            load(current_query());
            model_->immediate = false;
        }
    });
}

void data_view::enable_apply(const bool& f)
{
    pending_ = f;
    form_->apply_btn->setEnabled(f);
}

void data_view::mode_toggled(bool)
{
    if (form_->bin_rb->isChecked())
        model_->set_display_bin();
    else if (form_->dec_rb->isChecked())
        model_->set_display_dec();
    else if (form_->nor_rb->isChecked())
        model_->set_display_normal();
    else
        model_->set_display_hex();
    form_->dv->viewport()->update();
}

// --- context menu -----------------------------------------------------------------------------

QMenu* data_view::build_context_menu()
{
    if (model_->rowCount() == 0) return nullptr;
    auto* menu = new QMenu(this);
    menu->addAction(find_text_);
    menu->addAction(replace_text_);
    menu->addSeparator();

    auto add_group = [](QMenu* m, QAction* const* actions, int n) {
        auto* group = new QActionGroup(m);
        group->setExclusive(true);
        for (int i = 0; i < n; ++i) {
            actions[i]->setCheckable(true);
            group->addAction(actions[i]);
            m->addAction(actions[i]);
        }
        m->addSeparator();
    };
    auto add_run = [](QMenu* m, QAction* const* actions, int from, int to) {
        for (int i = from; i < to; ++i) m->addAction(actions[i]);
    };
    // Runs of actions split by separators: bounds {0, a, b, n} adds [0,a) | [a,b) | [b,n).
    auto add_sections = [&add_run](QMenu* m, QAction* const* actions,
                                   std::initializer_list<int> bounds) {
        const int* b = bounds.begin();
        for (std::size_t i = 1; i < bounds.size(); ++i) {
            if (i > 1) m->addSeparator();
            add_run(m, actions, b[i - 1], b[i]);
        }
    };

    QMenu* filter = menu->addMenu(tr("filter"));
    add_group(filter, filter_modes_, 3);
    add_sections(filter, filter_actions_, {0, 10, 14, 16, 22});

    QMenu* post = menu->addMenu(tr("post processing"));
    add_group(post, post_modes_, 2);
    add_sections(post, post_actions_, {0, 7, 13, 18});

    QMenu* analysis = menu->addMenu(tr("analysis"));
    add_sections(analysis, analysis_actions_, {0, 9, 10});
    analysis->setEnabled(false);

    QMenu* visual = menu->addMenu(tr("visualization"));
    add_run(visual, visual_actions_, 0, 9);
    visual->setEnabled(false);
    return menu;
}

void data_view::contextMenuEvent(QContextMenuEvent* e)
{
    slot_guard("contextMenuEvent", [&] {
        QMenu* menu = build_context_menu();
        if (!menu) return;
        menu->exec(e->globalPos());
        delete menu;
    });
}

// --- clause builders --------------------------------------------------------------------------

bool data_view::current_cell(dataview::cell_input& out) const
{
    const QModelIndex i = form_->dv->currentIndex();
    if (!i.isValid() || i.row() >= model_->rowCount() || i.column() >= model_->columnCount()) return false;
    // The name as the server reported it, quoted once by the builders.
    out.field = std_of(model_->column_name(i.column()));
    out.cell_text = std_of(model_->cell_text(i));
    out.type_name = std_of(model_->column_at(i.column()));
    out.value = model_->cell_data(i.row(), i.column(), Qt::EditRole);
    return true;
}

void data_view::build_filter(filter_kind kind)
{
    slot_guard("build_filter", [&] {
        dataview::cell_input cell;
        if (!current_cell(cell)) return;
        const dataview::clause c = dataview::filter_clause(kind, cell);
        if (c.problem != dataview::literal_problem::none) {
            ruv::information(this, tr("filter"),
                             c.problem == dataview::literal_problem::not_a_number
                                 ? tr("the value of this cell is not a number: no comparison can be built from it.")
                                 : tr("the value of this cell is infinite: no comparison can be built from it."));
            return;
        }
        dataview::filter_merge mode = dataview::filter_merge::none;
        if (filter_modes_[0]->isChecked())
            mode = dataview::filter_merge::replace;
        else if (filter_modes_[1]->isChecked())
            mode = dataview::filter_merge::and_;
        else if (filter_modes_[2]->isChecked())
            mode = dataview::filter_merge::or_;
        const dataview::merged m = dataview::merge_filter(kind, form_->filter_cb->currentText().toStdString(), c.text, mode);
        if (!merges(m, false)) return;
        const std::string& text = m.text;
        if (!fits(text, false)) return;
        form_->filter_cb->setCurrentText(QString::fromStdString(text));
    });
}

bool data_view::fits(const std::string& text, bool post)
{
    dataview::view_query q = current_query();
    (post ? q.post : q.filter).clear();
    const size_t room = std::min(dataview::input_room(q), input_limit_);
    if (text.size() <= room) return true;
    ruv::information(this, post ? tr("post operate") : tr("filter"),
                     tr("the text would be %1 bytes long, longer than the %2 bytes a statement can hold. it is left as it is.")
                         .arg(qulonglong(text.size()))
                         .arg(qulonglong(room)));
    return false;
}

bool data_view::merges(const dataview::merged& m, bool post)
{
    if (m.open == dataview::open_part::none) return true;
    ruv::information(this, post ? tr("post operate") : tr("filter"),
                     tr("the text leaves a string or character, a name in brackets, a block comment or a parenthesis open at its end: "
                        "a clause joined to it could be read into it. it is left as it is."));
    return false;
}

void data_view::build_post(post_kind kind)
{
    slot_guard("build_post", [&] {
        const QModelIndex i = form_->dv->currentIndex();
        if (!i.isValid() || i.column() >= model_->columnCount()) return;
        const std::string field = std_of(model_->column_name(i.column()));
        const dataview::clause c = dataview::post_clause(kind, field);
        dataview::post_merge mode = dataview::post_merge::none;
        if (post_modes_[0]->isChecked())
            mode = dataview::post_merge::replace;
        else if (post_modes_[1]->isChecked())
            mode = dataview::post_merge::append;
        const dataview::merged m = dataview::merge_post(form_->post_cb->currentText().toStdString(), c.text, mode);
        if (!merges(m, true)) return;
        const std::string& text = m.text;
        if (!fits(text, true)) return;
        form_->post_cb->setCurrentText(QString::fromStdString(text));
    });
}

void data_view::add_filter(bool) { build_filter(filter_kind::this_cell); }
void data_view::app_filter(bool) { build_filter(filter_kind::append_cell); }
void data_view::ftr_eq(bool) { build_filter(filter_kind::eq); }
void data_view::ftr_nq(bool) { build_filter(filter_kind::nq); }
void data_view::ftr_lt(bool) { build_filter(filter_kind::lt); }
void data_view::ftr_le(bool) { build_filter(filter_kind::le); }
void data_view::ftr_gt(bool) { build_filter(filter_kind::gt); }
void data_view::ftr_ge(bool) { build_filter(filter_kind::ge); }
void data_view::ftr_ltgt(bool) { build_filter(filter_kind::ltgt); }
void data_view::ftr_legt(bool) { build_filter(filter_kind::legt); }
void data_view::ftr_ltge(bool) { build_filter(filter_kind::ltge); }
void data_view::ftr_lege(bool) { build_filter(filter_kind::lege); }
void data_view::ftr_min(bool) { build_filter(filter_kind::min); }
void data_view::ftr_max(bool) { build_filter(filter_kind::max); }
void data_view::ftr_min_k(bool) { build_filter(filter_kind::min_k); }
void data_view::ftr_max_k(bool) { build_filter(filter_kind::max_k); }
void data_view::ftr_in_set(bool) { build_filter(filter_kind::in_set); }
void data_view::ftr_in_tab(bool) { build_filter(filter_kind::in_tab); }
void data_view::ftr_fst(bool) { build_filter(filter_kind::fst); }
void data_view::ftr_lst(bool) { build_filter(filter_kind::lst); }
void data_view::ftr_fst_k(bool) { build_filter(filter_kind::fst_k); }
void data_view::ftr_lst_k(bool) { build_filter(filter_kind::lst_k); }
void data_view::ftr_nth_k(bool) { build_filter(filter_kind::nth_k); }
void data_view::ftr_range(bool) { build_filter(filter_kind::range); }

void data_view::post_asc(bool) { build_post(post_kind::asc); }
void data_view::post_dsc(bool) { build_post(post_kind::dsc); }
void data_view::post_prj(bool) { build_post(post_kind::prj); }
void data_view::post_epj(bool) { build_post(post_kind::epj); }
void data_view::post_ren(bool) { build_post(post_kind::ren); }
void data_view::post_com(bool) { build_post(post_kind::com); }
void data_view::post_grp(bool) { build_post(post_kind::grp); }
void data_view::post_fst(bool) { build_post(post_kind::fst); }
void data_view::post_lst(bool) { build_post(post_kind::lst); }
void data_view::post_fst_k(bool) { build_post(post_kind::fst_k); }
void data_view::post_lst_k(bool) { build_post(post_kind::lst_k); }
void data_view::post_nth_k(bool) { build_post(post_kind::nth_k); }
void data_view::post_range(bool) { build_post(post_kind::range); }
void data_view::post_line_inr(bool) { build_post(post_kind::line_inr); }
void data_view::post_line_adj(bool) { build_post(post_kind::line_adj); }
void data_view::post_line_int(bool) { build_post(post_kind::line_int); }
void data_view::post_exts(bool) { build_post(post_kind::exts); }
void data_view::post_nxts(bool) { build_post(post_kind::nxts); }

// Analysis and visualization: offered in disabled submenus, nothing behind them yet.
void data_view::ans_lnr(bool) {}
void data_view::ans_lgr(bool) {}
void data_view::ans_dct(bool) {}
void data_view::ans_bys(bool) {}
void data_view::ans_svm(bool) {}
void data_view::ans_clt(bool) {}
void data_view::ans_pca(bool) {}
void data_view::ans_rmf(bool) {}
void data_view::ans_dln(bool) {}
void data_view::ans_mdl(bool) {}
void data_view::vsl_ruv(bool) {}
void data_view::vsl_lin(bool) {}
void data_view::vsl_bar(bool) {}
void data_view::vsl_ara(bool) {}
void data_view::vsl_pie(bool) {}
void data_view::vsl_fnl(bool) {}
void data_view::vsl_adt(bool) {}
void data_view::vsl_rdr(bool) {}
void data_view::vsl_itm(bool) {}
