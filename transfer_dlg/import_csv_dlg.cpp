#include "transfer_dlg/import_csv_dlg.h"

#include "ui_base/seams.h"
#include "ui_base/slot_guard.h"
#include "transfer_dlg/transfer_modes.h"
#include "ui_base/utf8.h"
#include "ui_import_csv_dlg.h"

import_csv_dlg::import_csv_dlg(QWidget* parent) : QDialog(parent), ui(new Ui::import_csv_dlg) {
  ui->setupUi(this);
  ui->sp_cmb->addItem(tr(","), QStringLiteral(","));
  ui->sp_cmb->addItem(tr(";"), QStringLiteral(";"));
  ui->sp_cmb->addItem(tr("space"), QStringLiteral(" "));
  ui->sp_cmb->addItem(tr("-"), QStringLiteral("-"));
  ui->sp_cmb->addItem(tr(":"), QStringLiteral(":"));
  ui->sp_cmb->addItem(tr("\\t"), QStringLiteral("\t"));
  ui->sp_cmb->setCurrentIndex(0);
  ui->rep_cb->hide();
  connect(ui->path_tb, &QToolButton::clicked, this, &import_csv_dlg::clicked);
  connect(ui->rep_cb, &QCheckBox::stateChanged, this, &import_csv_dlg::change_replace_mode);
  connect(ui->s_gb, &QGroupBox::clicked, this, &import_csv_dlg::s_clicked);
  connect(ui->c_gb, &QGroupBox::clicked, this, &import_csv_dlg::c_clicked);
  ui->c_gb->setChecked(true);
  ui->s_gb->setChecked(true);
  ui->c_gb->setChecked(false);
}

import_csv_dlg::~import_csv_dlg() { delete ui; }

void import_csv_dlg::set_export_mode() {
  export_mode = true;
  ui->rep_cb->show();
}

void import_csv_dlg::set_path(const QString& path) {
  ui->s_path_le->setText(path);
  ui->c_path_le->setText(path);
}

QString import_csv_dlg::chosen_path() const {
  return ui->s_gb->isChecked() ? ui->s_path_le->text() : ui->c_path_le->text();
}

kk::adt::string::string import_csv_dlg::path() const { return utf8_bytes(chosen_path()); }

bool import_csv_dlg::is_client() const { return ui->c_gb->isChecked(); }

bool import_csv_dlg::is_csv() const { return ui->csv_rb->isChecked(); }

bool import_csv_dlg::is_replace() const { return ui->rep_cb->checkState() == Qt::Checked; }

kk::adt::string::string import_csv_dlg::separator() const {
  // The text in the box is what the user sees: an item's shown text stands for its
  // separator, any other text (typed, entered or not) is the separator itself.
  const QString shown = ui->sp_cmb->currentText();
  const int i = ui->sp_cmb->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
  const QVariant data = i >= 0 ? ui->sp_cmb->itemData(i) : QVariant();
  return utf8_bytes(data.isValid() ? data.toString() : shown);
}

void import_csv_dlg::accept() {
  slot_guard("accept", [&] {
    if (chosen_path().isEmpty()) {
      ruv::information(this, export_mode ? tr("export path information") : tr("import path information"),
                       tr("the input path is empty."));
      return;
    }
    QDialog::accept();
  });
}

void import_csv_dlg::clicked(bool) {
  slot_guard("clicked", [&] {
    const QString filter = tr("csv files (*.csv);;csvs files (*.csvs);;all files (*.*)");
    const QString start = ui->c_path_le->text();
    const QString chosen = export_mode ? ruv::prompts().save_file_name(this, tr("set export csv/csvs file"), start, filter)
                                       : ruv::prompts().open_file_name(this, tr("select import csv/csvs file"), start, filter);
    if (!chosen.isEmpty()) ui->c_path_le->setText(chosen);
  });
}

void import_csv_dlg::change_replace_mode(int state) {
  slot_guard("change_replace_mode", [&] {
    replace_box_changed(this, ui->rep_cb, replace_warning, state, tr("replace mode information"),
                        tr("note: the replace mode will <span style='color:orange'>replace exists file</span>, continue?"));
  });
}

static QString client_warning_text() {
  return import_csv_dlg::tr(
      "note: change to client mode will use <span style='color:orange'>big memory</span> store all data for "
      "transform, should not use for <span style='color:orange'>big data</span>, do you want to continue?");
}

void import_csv_dlg::c_clicked(bool checked) {
  slot_guard("c_clicked", [&] {
    client_box_clicked(this, ui->s_gb, ui->c_gb, client_warning, checked, tr("client mode information"),
                       client_warning_text());
  });
}

void import_csv_dlg::s_clicked(bool checked) {
  slot_guard("s_clicked", [&] {
    server_box_clicked(this, ui->s_gb, ui->c_gb, client_warning, checked, tr("client mode information"),
                       client_warning_text());
  });
}
