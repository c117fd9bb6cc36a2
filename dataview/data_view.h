#pragma once
// The tab in which the user views and edits one table: a grid over its own table model,
// filled by one statement built from the checked fields, the filter, the row limit and the
// post-processing text (view_query.h); the filter and post builders over the current cell
// (clauses.h); number display modes, immediate mode, the export and the cell search.
#include <QAction>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>

#include "adt/string.h"
#include "dataview/clauses.h"
#include "dataview/view_query.h"

class QContextMenuEvent;
class QModelIndex;
class db_ctx;
class search_tab_dlg;
class tab_data_model;
namespace Ui {
class data_view;
}

class data_view : public QWidget {
    Q_OBJECT
public:
    data_view(const kk::adt::string::string& table, db_ctx* ctx, QWidget* parent = nullptr);
    ~data_view() override;

    // What the export dialog returns; accepted false when the user cancelled.
    struct export_choice {
        bool accepted = false;
        std::string path;
        bool csv = true;
        std::string separator;
        bool replace = false;
        bool client = false;
    };
    // Asks where and how to export (the import/export dialog by default; tests script it).
    using export_chooser = std::function<export_choice(QWidget* parent, const QString& title, const QString& path)>;
    void set_export_chooser(export_chooser c) { choose_export_ = std::move(c); }

    // The statement's inputs as the controls hold them now.
    dataview::view_query current_query() const;
    tab_data_model* model() const { return model_; }
    // The grid holds edits that were not applied yet.
    bool has_pending_edits() const { return pending_; }
    search_tab_dlg* search_dialog() const { return search_; }
    Ui::data_view* form() const { return form_; }
    QAction* filter_merge_action(int i) const { return filter_modes_[i]; }  // replace, &&, ||
    QAction* post_merge_action(int i) const { return post_modes_[i]; }      // replace, append
    QAction* filter_action(int i) const { return filter_actions_[i]; }      // the 22 in menu order
    QAction* post_action(int i) const { return post_actions_[i]; }          // the 18 in menu order
    QAction* filter_this_action() const { return filter_this_; }
    QAction* append_filter_action() const { return append_filter_; }
    // The context menu as contextMenuEvent builds it; null when the model has no rows.
    QMenu* build_context_menu();
    // A lower bound for the bytes a built filter or post text may have (tests; by default
    // only what a statement can hold bounds it).
    void set_input_limit(size_t bytes) { input_limit_ = bytes; }

signals:
    void accepted();
    void rejected();

public slots:
    void add(bool);
    void del(bool);
    void apply(bool);
    void cancel(bool);
    void post_changed(const QString&);
    void filter_changed(const QString&);
    void field_changed();
    void change_limit(int);
    void check_limit(int state);
    void export_data(bool);
    void find_txt(bool);
    void rep_txt(bool);
    void row_changed(const QModelIndex& current, const QModelIndex& previous);
    void current_changed(const QModelIndex& current, const QModelIndex& previous);
    void im_changed(int state);
    void enable_apply(const bool& f);
    void update_tab();
    void mode_toggled(bool);

    void add_filter(bool);
    void app_filter(bool);
    void ftr_eq(bool);
    void ftr_nq(bool);
    void ftr_lt(bool);
    void ftr_le(bool);
    void ftr_gt(bool);
    void ftr_ge(bool);
    void ftr_ltgt(bool);
    void ftr_legt(bool);
    void ftr_ltge(bool);
    void ftr_lege(bool);
    void ftr_min(bool);
    void ftr_max(bool);
    void ftr_min_k(bool);
    void ftr_max_k(bool);
    void ftr_in_set(bool);
    void ftr_in_tab(bool);
    void ftr_fst(bool);
    void ftr_lst(bool);
    void ftr_fst_k(bool);
    void ftr_lst_k(bool);
    void ftr_nth_k(bool);
    void ftr_range(bool);

    void post_asc(bool);
    void post_dsc(bool);
    void post_prj(bool);
    void post_epj(bool);
    void post_ren(bool);
    void post_com(bool);
    void post_grp(bool);
    void post_fst(bool);
    void post_lst(bool);
    void post_fst_k(bool);
    void post_lst_k(bool);
    void post_nth_k(bool);
    void post_range(bool);
    void post_line_inr(bool);
    void post_line_adj(bool);
    void post_line_int(bool);
    void post_exts(bool);
    void post_nxts(bool);

    void ans_lnr(bool);
    void ans_lgr(bool);
    void ans_dct(bool);
    void ans_bys(bool);
    void ans_svm(bool);
    void ans_clt(bool);
    void ans_pca(bool);
    void ans_rmf(bool);
    void ans_dln(bool);
    void ans_mdl(bool);
    void vsl_ruv(bool);
    void vsl_lin(bool);
    void vsl_bar(bool);
    void vsl_ara(bool);
    void vsl_pie(bool);
    void vsl_fnl(bool);
    void vsl_adt(bool);
    void vsl_rdr(bool);
    void vsl_itm(bool);

protected:
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    void build_filter(dataview::filter_kind kind);
    void build_post(dataview::post_kind kind);
    // A built filter (post) text fits in a statement; else the user is told, and false.
    bool fits(const std::string& text, bool post);
    // A merge that joins nothing to a text left open is said, and false.
    bool merges(const dataview::merged& m, bool post);
    // Reads the current cell; false when there is none.
    bool current_cell(dataview::cell_input& out) const;
    // With edits pending, asks before a reload drops them; on No the inputs go back to
    // those of the last load. True when the reload may go on.
    bool may_reload();
    // The warning after a write-back whose answer was lost with the connection.
    QString unknown_outcome_text() const;
    void restore_inputs(const dataview::view_query& q, bool immediate);
    void load(const dataview::view_query& q);

    Ui::data_view* form_;
    QAction* filter_this_ = nullptr;
    QAction* append_filter_ = nullptr;
    QAction* find_text_ = nullptr;
    QAction* replace_text_ = nullptr;
    QPointer<search_tab_dlg> search_;
    QAction* filter_actions_[22] = {};
    QAction* post_actions_[18] = {};
    QAction* analysis_actions_[10] = {};
    QAction* visual_actions_[9] = {};
    QAction* filter_modes_[3] = {};
    QAction* post_modes_[2] = {};
    db_ctx* ctx_;
    tab_data_model* model_ = nullptr;

    export_chooser choose_export_;
    size_t input_limit_ = static_cast<size_t>(-1);
    bool pending_ = false;          // the model reports edits not yet applied
    bool refusal_said_ = false;     // the model refused an edit and the user was told
    bool loaded_ = false;           // a statement was loaded (loaded_query_ holds its inputs)
    dataview::view_query loaded_query_;
    bool loaded_immediate_ = false;
};
