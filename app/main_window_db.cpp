// The main window's database tree and its operations: refresh, the context actions per
// level, table and field operations, script-file runs, transfers and reconnect.
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <utility>

#include "app/main_window.h"
#include "ui_base/dialogs.h"
#include "ui_base/seams.h"
#include "ui_base/slot_guard.h"
#include "dataview/data_view.h"
#include "dataview/search_tab_dlg.h"  // data_view.h holds a QPointer to it
#include "dbops/col_info.h"
#include "dbops/db_tree.h"
#include "transfer_dlg/import_csv_dlg.h"
#include "dbops/load_tab_dlg.h"
#include "dbops/reconnect.h"
#include "dbops/save_tab_dlg.h"
#include "dbops/script_run.h"
#include "dbops/table_ops.h"
#include "dbops/transfers.h"
#include "ui_base/utf8.h"
#include "query/db_ctx.h"
#include "ui_main_window.h"

namespace {

// Set on a page whose vanished table the user was told about (so a later refresh says it
// only once).
constexpr const char* vanished_told = "ruv_vanished_told";

}  // namespace

tree_actions MainWindow::tree_action_set() {
  tree_actions a;
  a.refresh = refresh_act;
  a.create_table = create_table_act;
  a.reconnect = reconnect_act;
  a.load_table = load_tab_act;
  a.backup = backup_act;
  a.restore = restore_act;
  a.exec_sql = exec_sql_act;
  a.status = status_act;
  a.drop = drop_act;
  a.truncate = truncate_act;
  a.new_field = new_field_act;
  a.view_data = view_data_act;
  a.view_field = view_field_act;
  a.import_data = import_act;
  a.export_data = export_act;
  a.save_table = save_tab_act;
  a.delete_col = delete_col_act;
  a.rename_col = rename_col_act;
  a.modify_col = modify_col_act;
  // The separators are made once, on first use, and reused by every action set.
  for (int i = 0; i < 3; ++i) a.separators[i] = tree_separators[i];
  a.make_separators(this);
  for (int i = 0; i < 3; ++i) tree_separators[i] = a.separators[i];
  return a;
}

void MainWindow::refresh(bool) {
  slot_guard("refresh", [&] {
    const QString root = utf8_text(ctx->name());
    // A failed "show tables;" (a dropped connection) keeps the last tree, the caches and every
    // tab: closing pages on it would throw away a data view's unapplied edits.
    if (!refresh_db_tree(ctx, ui->treeWidget, ui->tabWidget, root, catalogue,
                         [this](QWidget* page) { return keeps_vanished(page); })) {
      // A tree not built yet still gets its root, whose menu offers refresh and reconnect.
      if (ui->treeWidget->topLevelItemCount() == 0) fill_db_tree(ui->treeWidget, root, catalogue);
    }
  });
}

bool MainWindow::keeps_vanished(QWidget* page) {
  // A data view with edits not applied yet stays: its table may come back (a restore, a
  // reconnect to the right server), and the user decides what to do with the edits.
  auto* view = qobject_cast<data_view*>(page);
  if (!view || !view->has_pending_edits()) return false;
  if (!page->property(vanished_told).toBool()) {
    page->setProperty(vanished_told, true);
    QTabWidget* tabs = ui->tabWidget;
    ruv::information(this, tr("refresh information"),
                     tr("the table '%1' is no longer in the database, the tab '%2' stays open with its edits "
                        "not applied yet.")
                         .arg(page_table(tabs, tabs->indexOf(page)), tabs->tabText(tabs->indexOf(page))));
  }
  return true;
}

void MainWindow::currentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem*) {
  slot_guard("currentItemChanged", [&] {
    tree_actions a = tree_action_set();
    tree_current_changed(ui->treeWidget, current, a);
  });
}

void MainWindow::show_db_actions() {
  slot_guard("show_db_actions", [&] {
    tree_actions a = tree_action_set();
    ::show_db_actions(ui->treeWidget, a);
  });
}

void MainWindow::show_table_actions() {
  slot_guard("show_table_actions", [&] {
    tree_actions a = tree_action_set();
    ::show_table_actions(ui->treeWidget, a);
  });
}

// The names of the tree's current item when it is a table (level 1) or a field (level 2).
static bool current_names(QTreeWidget* tree, int level, QString& table, QString& field) {
  QTreeWidgetItem* cur = tree->currentItem();
  if (tree_level(cur) != level) return false;
  if (level == 1) {
    table = cur->text(0);
  } else {
    field = cur->text(0);
    table = cur->parent()->text(0);
  }
  return true;
}

// The root, or the table item of that name (the first when the server lists it twice).
static QTreeWidgetItem* root_or_table(QTreeWidget* tree, const QString& table) {
  QTreeWidgetItem* root = tree->topLevelItem(0);
  if (!root || table.isNull()) return root;
  for (int i = 0; i < root->childCount(); ++i)
    if (root->child(i)->text(0) == table) return root->child(i);
  return nullptr;
}

// After a destructive operation: the parent of the item it acted on becomes current (found
// again by name, as the boxes may have let the tree be rebuilt), then the tree is refreshed.
void MainWindow::refresh_from(const QString& parent_table) {
  if (QTreeWidgetItem* parent = root_or_table(ui->treeWidget, parent_table)) ui->treeWidget->setCurrentItem(parent);
  refresh(true);
}

void MainWindow::drop_table(bool) {
  slot_guard("drop_table", [&] {
    QString table, field;
    if (!current_names(ui->treeWidget, 1, table, field)) return;
    if (::drop_table(ctx, this, table) == table_op_result::declined) return;
    refresh_from(QString());
    if (QTreeWidgetItem* now = ui->treeWidget->currentItem()) now->setExpanded(true);
  });
}

void MainWindow::truncate_table(bool) {
  slot_guard("truncate_table", [&] {
    QString table, field;
    if (!current_names(ui->treeWidget, 1, table, field)) return;
    if (::truncate_table(ctx, this, table) == table_op_result::declined) return;
    refresh_from(QString());
    if (QTreeWidgetItem* root = ui->treeWidget->topLevelItem(0)) root->setExpanded(true);
  });
}

void MainWindow::delete_col(bool) {
  slot_guard("delete_col", [&] {
    QString table, field;
    if (!current_names(ui->treeWidget, 2, table, field)) return;
    if (delete_field(ctx, this, table, field) == table_op_result::declined) return;
    refresh_from(table);
    if (QTreeWidgetItem* root = ui->treeWidget->topLevelItem(0)) root->setExpanded(true);
  });
}

void MainWindow::open_field_page(col_info_mode mode, const QString& table, const QString& field) {
  col_info* page = open_field_editor(ctx, ui->tabWidget, mode, table, field);
  if (!page) return;  // the tab was open already and is in front now
  connect(page, &col_info::accepted, this, &MainWindow::tab_accepted);
  connect(page, &col_info::rejected, this, &MainWindow::tab_rejected);
}

void MainWindow::create_table(bool) {
  slot_guard("create_table", [&] { open_field_page(col_info_mode::create_table, {}, {}); });
}

void MainWindow::new_field(bool) {
  slot_guard("new_field", [&] {
    QString table, field;
    if (current_names(ui->treeWidget, 1, table, field)) open_field_page(col_info_mode::add_fields, table, {});
  });
}

void MainWindow::view_cols(bool) {
  slot_guard("view_cols", [&] {
    QString table, field;
    if (current_names(ui->treeWidget, 1, table, field)) open_field_page(col_info_mode::view_fields, table, {});
  });
}

void MainWindow::modify_col(bool) {
  slot_guard("modify_col", [&] {
    QString table, field;
    if (current_names(ui->treeWidget, 2, table, field)) open_field_page(col_info_mode::modify_field, table, field);
  });
}

void MainWindow::rename_col(bool) {
  slot_guard("rename_col", [&] {
    QString table, field;
    if (current_names(ui->treeWidget, 2, table, field)) open_field_page(col_info_mode::rename_field, table, field);
  });
}

void MainWindow::view_data(bool) {
  slot_guard("view_data", [&] {
    QString table, field;
    if (!current_names(ui->treeWidget, 1, table, field)) return;
    const QString title = data_view_title(table);
    const int at = tab_with_title(ui->tabWidget, title);
    if (at >= 0) {
      ui->tabWidget->setCurrentIndex(at);
      return;
    }
    auto* page = new data_view(utf8_bytes(table), ctx);
    set_page_table(page, table);
    add_table_page(ui->tabWidget, page, title);
    connect(page, &data_view::accepted, this, &MainWindow::tab_accepted);
    connect(page, &data_view::rejected, this, &MainWindow::tab_rejected);
  });
}

// The page that asked to be closed: the sender, which need not be the current tab (a page's
// button can be reached while another tab is current, by a shortcut or a queued signal).
QWidget* MainWindow::closing_page() const {
  auto* page = qobject_cast<QWidget*>(sender());
  return page && ui->tabWidget->indexOf(page) >= 0 ? page : ui->tabWidget->currentWidget();
}

void MainWindow::tab_accepted() {
  slot_guard("tab_accepted", [&] {
    close_table_page(ui->tabWidget, closing_page());
    refresh(true);
  });
}

void MainWindow::tab_rejected() {
  slot_guard("tab_rejected", [&] { close_table_page(ui->tabWidget, closing_page()); });
}

void MainWindow::exec_sql(bool) {
  slot_guard("exec_sql", [&] {
    if (run_script_file(ctx, this) == script_run_result::completed) refresh(true);
  });
}

void MainWindow::export_data(bool) {
  slot_guard("export_data", [&] {
    QString table, field;
    if (!current_names(ui->treeWidget, 1, table, field)) return;
    import_csv_dlg dlg(nullptr);
    prepare_export(dlg, table);
    if (ruv::run_dialog(dlg) != QDialog::Accepted) return;
    run_export(ctx, this, table, dlg);
  });
}

void MainWindow::import_data(bool) {
  slot_guard("import_data", [&] {
    QString table, field;
    if (!current_names(ui->treeWidget, 1, table, field)) return;
    import_csv_dlg dlg(nullptr);
    prepare_import(dlg, table);
    if (ruv::run_dialog(dlg) != QDialog::Accepted) return;
    run_import(ctx, this, table, dlg);
  });
}

void MainWindow::save(bool) {
  slot_guard("save", [&] {
    QString table, field;
    if (!current_names(ui->treeWidget, 1, table, field)) return;
    save_tab_dlg dlg(nullptr);
    prepare_save(dlg, table);
    if (ruv::run_dialog(dlg) != QDialog::Accepted) return;
    run_save(ctx, this, table, dlg);
    refresh(true);
  });
}

void MainWindow::load(bool) {
  slot_guard("load", [&] {
    load_tab_dlg dlg(nullptr);
    prepare_load(dlg);
    if (ruv::run_dialog(dlg) != QDialog::Accepted || dlg.path().size == 0) return;
    run_load(ctx, this, dlg);
    refresh(true);
  });
}

void MainWindow::backup(bool) {
  slot_guard("backup", [&] {
    save_tab_dlg dlg(nullptr);
    prepare_backup(dlg);
    if (ruv::run_dialog(dlg) != QDialog::Accepted) return;
    run_backup(ctx, this, dlg);
    refresh(true);
  });
}

void MainWindow::restore(bool) {
  slot_guard("restore", [&] {
    load_tab_dlg dlg(nullptr);
    prepare_restore(dlg);
    if (ruv::run_dialog(dlg) != QDialog::Accepted || dlg.path().size == 0) return;
    run_restore(ctx, this, dlg);
    refresh(true);
  });
}

void MainWindow::reconnect(bool) {
  slot_guard("reconnect", [&] {
    // Only the connection changes: the tabs, their edits and the tree stay as they are; a
    // successful login refreshes the tree, a refused one leaves the disconnected icon.
    conn_btn->setIcon(QIcon(QStringLiteral(":/img/disconnect.svg")));
    if (!reconnect_server(this, utf8_text(host), port, utf8_text(user), utf8_text(password))) return;
    refresh(true);
    conn_btn->setIcon(QIcon(QStringLiteral(":/img/connect.svg")));
  });
}
