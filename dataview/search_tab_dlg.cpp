#include "dataview/search_tab_dlg.h"

#include <QCloseEvent>
#include <QTableView>

#include "ui_base/slot_guard.h"
#include "dataview/doc_matcher.h"
#include "ui_base/utf8.h"
#include "query/tab_data_model.h"
#include "ui_search_tab_dlg.h"

// The grid and its model as the cell search sees them. Every call checks that the grid
// and its model are still there: the dialog may outlive a result tab's grid.
class search_tab_dlg::view_grid final : public dataview::search_grid {
public:
    explicit view_grid(QTableView* grid) : grid_(grid) {}

    tab_data_model* model() const { return grid_ ? qobject_cast<tab_data_model*>(grid_->model()) : nullptr; }

    int rows() const override { return model() ? model()->rowCount() : 0; }
    int columns() const override { return model() ? model()->columnCount() : 0; }
    bool column_hidden(int column) const override { return grid_ && grid_->isColumnHidden(column); }
    std::string cell_text(int row, int column) const override
    {
        return model()->cell_data(row, column, Qt::DisplayRole).toString().toStdString();
    }
    bool current(int& row, int& column) const override
    {
        if (!grid_ || !model()) return false;
        const QModelIndex i = grid_->currentIndex();
        if (!i.isValid()) return false;
        row = i.row();
        column = i.column();
        return true;
    }
    void set_current(int row, int column) override
    {
        if (grid_ && model()) grid_->setCurrentIndex(model()->index(row, column));
    }
    void set_found(int row, int column, bool on) override
    {
        if (tab_data_model* m = model()) m->set_found(row, column, on);
    }
    bool found(int row, int column) const override
    {
        const tab_data_model* m = model();
        return m && m->found(row, column);
    }
    void refresh_found() override
    {
        tab_data_model* m = model();
        if (!m || m->rowCount() == 0 || m->columnCount() == 0) return;
        // Only the backgrounds change: one ranged refresh, never the edit path.
        emit m->dataChanged(m->index(0, 0), m->index(m->rowCount() - 1, m->columnCount() - 1), {Qt::BackgroundRole});
    }
    bool read_only(int column) const override
    {
        tab_data_model* m = model();
        return !m || m->is_column_flag(column);
    }
    bool store_text(int row, int column, std::string_view text) override
    {
        tab_data_model* m = model();
        if (!m || m->is_column_flag(column)) return false;
        const QVariant v = m->value_from_text(kk::adt::text_view{text.data(), text.size()}, column);
        if (!v.isValid()) return false;
        return m->set_cell_data(row, column, v, Qt::EditRole);
    }

private:
    QPointer<QTableView> grid_;
};

search_tab_dlg::search_tab_dlg(QTableView* grid, QWidget* parent)
    : QDialog(parent), grid_(grid), form_(new Ui::search_tab_dlg),
      cells_(std::make_unique<view_grid>(grid)),
      search_(std::make_unique<dataview::cell_search>(*cells_, &dataview::make_doc_matcher, this))
{
    form_->setupUi(this);
    connect(form_->fall_pb, &QPushButton::clicked, this, qOverload<bool>(&search_tab_dlg::search_all));
    connect(form_->next_pb, &QPushButton::clicked, this, &search_tab_dlg::next);
    connect(form_->prev_pb, &QPushButton::clicked, this, &search_tab_dlg::prev);
    connect(form_->rep_pb, &QPushButton::clicked, this, &search_tab_dlg::replace);
    connect(form_->rep_all_pb, &QPushButton::clicked, this, &search_tab_dlg::replace_all);
    connect(form_->col_rb, &QRadioButton::clicked, this, qOverload<bool>(&search_tab_dlg::search_all));
    connect(form_->row_rb, &QRadioButton::clicked, this, qOverload<bool>(&search_tab_dlg::search_all));
    connect(form_->none_rb, &QRadioButton::clicked, this, qOverload<bool>(&search_tab_dlg::search_all));
    connect(form_->target_le, &QLineEdit::textChanged, this, &search_tab_dlg::target_changed);
    setWindowModality(Qt::WindowModal);
    form_->target_le->setFocus();
}

search_tab_dlg::~search_tab_dlg() { delete form_; }

dataview::search_options search_tab_dlg::options() const
{
    dataview::search_options o;
    o.target = form_->target_le->text().toStdString();
    o.mode = form_->normal_rb->isChecked() ? 0 : form_->sup_rb->isChecked() ? 1 : 2;
    o.flags = (form_->mw_cb->isChecked() ? 16u : 0u) | (form_->cs_cb->isChecked() ? 0u : 1u);
    o.scope = form_->row_rb->isChecked()   ? dataview::search_scope::row
              : form_->col_rb->isChecked() ? dataview::search_scope::column
                                           : dataview::search_scope::none;
    o.replacement = form_->rep_le->text().toStdString();
    return o;
}

void search_tab_dlg::set_target(const kk::adt::string::string& text)
{
    if (text.size == 0) return;
    form_->target_le->setText(utf8_text(text));
}

void search_tab_dlg::set_replace_mode(bool find_only)
{
    form_->none_rb->setChecked(true);
    form_->rep_lbl->setVisible(!find_only);
    form_->rep_le->setVisible(!find_only);
    form_->rep_pb->setVisible(!find_only);
    form_->rep_all_pb->setVisible(!find_only);
    resize(500, find_only ? 80 : 100);
}

void search_tab_dlg::show_top()
{
    if (windowFlags() & Qt::WindowStaysOnTopHint) return;
    const bool was_visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, true);  // hides a shown window
    if (was_visible) QDialog::show();
}

void search_tab_dlg::search_all(bool notinfo)
{
    slot_guard("search_all", [&] { search_->search_all(options(), notinfo); });
}
void search_tab_dlg::next(bool) { slot_guard("next", [&] { search_->next(options()); }); }
void search_tab_dlg::prev(bool) { slot_guard("prev", [&] { search_->prev(options()); }); }
void search_tab_dlg::replace(bool) { slot_guard("replace", [&] { search_->replace(options()); }); }
void search_tab_dlg::replace_all(bool) { slot_guard("replace_all", [&] { search_->replace_all(options()); }); }
void search_tab_dlg::clear_select() { slot_guard("clear_select", [&] { search_->clear_marks(); }); }
void search_tab_dlg::target_changed(QString)
{
    slot_guard("target_changed", [&] { search_->target_changed(options()); });
}

void search_tab_dlg::show(bool)
{
    slot_guard("show", [&] {
        show_top();
        clear_select();
        if (isVisible()) return;
        setWindowTitle(tr("find text in current table"));
        set_replace_mode(true);
        showNormal();
    });
}

void search_tab_dlg::reject()
{
    clear_select();
    QDialog::reject();
}

void search_tab_dlg::closeEvent(QCloseEvent* e)
{
    clear_select();
    QDialog::closeEvent(e);
}
