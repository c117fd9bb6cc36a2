#pragma once
// Find and replace over the cells of a grid whose model is a tab_data_model. A thin form
// over cell_search: it reads the options from its controls and passes each operation on.
#include <QDialog>
#include <QPointer>
#include <QString>

#include <memory>

#include "adt/string.h"
#include "dataview/cell_search.h"

class QTableView;
namespace Ui {
class search_tab_dlg;
}

class search_tab_dlg : public QDialog {
    Q_OBJECT
public:
    explicit search_tab_dlg(QTableView* grid, QWidget* parent = nullptr);
    ~search_tab_dlg() override;

    // A non-empty text becomes the search text.
    void set_target(const kk::adt::string::string& text);
    // Checks "None"; hides the replace row for finding only.
    void set_replace_mode(bool find_only);

    // The options as the controls hold them now.
    dataview::search_options options() const;
    dataview::cell_search& search() { return *search_; }
    bool wrapped() const { return search_->wrapped; }

public slots:
    void show_top();
    void search_all(bool notinfo);
    void search_all() { search_all(false); }
    void next(bool);
    void prev(bool);
    void replace(bool);
    void replace_all(bool);
    void clear_select();
    void target_changed(QString);
    void show(bool);
    void reject() override;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    class view_grid;
    QPointer<QTableView> grid_;
    Ui::search_tab_dlg* form_;
    std::unique_ptr<view_grid> cells_;
    std::unique_ptr<dataview::cell_search> search_;
};
