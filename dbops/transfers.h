#pragma once
// The table and database transfers of the tree's actions, without the main window: each
// prepare_* titles its dialog and proposes a file name; after the dialog was accepted, the
// matching run_* hands the choices to the transfer statement builder and shows the outcome.
// Each run_* returns whether the transfer succeeded (false too when nothing was sent).
#include <QString>

class db_ctx;
class QWidget;
class import_csv_dlg;
class load_tab_dlg;
class save_tab_dlg;

void prepare_export(import_csv_dlg& dlg, const QString& table);
void prepare_import(import_csv_dlg& dlg, const QString& table);
void prepare_save(save_tab_dlg& dlg, const QString& table);
void prepare_load(load_tab_dlg& dlg);
void prepare_backup(save_tab_dlg& dlg);
void prepare_restore(load_tab_dlg& dlg);

bool run_export(db_ctx* ctx, QWidget* parent, const QString& table, const import_csv_dlg& dlg);
bool run_import(db_ctx* ctx, QWidget* parent, const QString& table, const import_csv_dlg& dlg);
bool run_save(db_ctx* ctx, QWidget* parent, const QString& table, const save_tab_dlg& dlg);
// An empty path sends nothing and shows nothing; the "sql" format with no table name loads
// as "ignored_table_name".
bool run_load(db_ctx* ctx, QWidget* parent, const load_tab_dlg& dlg);
bool run_backup(db_ctx* ctx, QWidget* parent, const save_tab_dlg& dlg);
// An empty path sends nothing and shows nothing.
bool run_restore(db_ctx* ctx, QWidget* parent, const load_tab_dlg& dlg);
