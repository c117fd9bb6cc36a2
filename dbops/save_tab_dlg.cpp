#include "dbops/save_tab_dlg.h"

#include "ui_base/seams.h"
#include "ui_base/slot_guard.h"
#include "transfer_dlg/transfer_modes.h"
#include "ui_base/utf8.h"
#include "ui_save_tab_dlg.h"

save_tab_dlg::save_tab_dlg(QWidget* parent) : QDialog(parent), ui(new Ui::save_tab_dlg) {
  ui->setupUi(this);
  connect(ui->rep_cb, &QCheckBox::stateChanged, this, &save_tab_dlg::change_replace_mode);
  connect(ui->s_gb, &QGroupBox::clicked, this, &save_tab_dlg::s_clicked);
  connect(ui->c_gb, &QGroupBox::clicked, this, &save_tab_dlg::c_clicked);
  connect(ui->path_tb, &QToolButton::clicked, this, &save_tab_dlg::change_path);
  ui->c_gb->setChecked(true);
  ui->s_gb->setChecked(true);
  ui->c_gb->setChecked(false);
}

save_tab_dlg::~save_tab_dlg() { delete ui; }

void save_tab_dlg::set_path(const QString& path) {
  slot_guard("set_path", [&] {
    ui->s_path_le->setText(path);
    ui->c_path_le->setText(path);
  });
}

QString save_tab_dlg::chosen_path() const {
  return ui->s_gb->isChecked() ? ui->s_path_le->text() : ui->c_path_le->text();
}

kk::adt::string::string save_tab_dlg::path() const { return utf8_bytes(chosen_path()); }

bool save_tab_dlg::is_client() const { return ui->c_gb->isChecked(); }

bool save_tab_dlg::is_bin_mode() const { return ui->bin_rb->isChecked(); }

bool save_tab_dlg::is_replace() const { return ui->rep_cb->checkState() == Qt::Checked; }

void save_tab_dlg::set_db_mode() { db_mode = true; }

void save_tab_dlg::change_replace_mode(int state) {
  slot_guard("change_replace_mode", [&] {
    replace_box_changed(this, ui->rep_cb, replace_warning, state, tr("replace mode information"),
                        tr("note: the replace mode will <span style='color:orange'>replace exists file</span>, continue?"));
  });
}

static QString client_warning_text() {
  return save_tab_dlg::tr(
      "note: change to client mode will use <span style='color:orange'>big memory</span> store all data for "
      "transform, should not use for <span style='color:orange'>big data</span>, do you want to continue?");
}

void save_tab_dlg::c_clicked(bool checked) {
  slot_guard("c_clicked", [&] {
    client_box_clicked(this, ui->s_gb, ui->c_gb, client_warning, checked, tr("client mode information"),
                       client_warning_text());
  });
}

void save_tab_dlg::s_clicked(bool checked) {
  slot_guard("s_clicked", [&] {
    server_box_clicked(this, ui->s_gb, ui->c_gb, client_warning, checked, tr("client mode information"),
                       client_warning_text());
  });
}

void save_tab_dlg::change_path(bool) {
  slot_guard("change_path", [&] {
    const QString chosen =
        db_mode ? ruv::prompts().save_file_name(this, tr("set database file's path"), ui->c_path_le->text(),
                                                tr("backup files (*.rbk);;all files (*.*)"))
                : ruv::prompts().save_file_name(this, tr("set table file's path"), ui->c_path_le->text(),
                                                tr("bin files (*.bin);;sql files (*.sql);;all files (*.*)"));
    if (!chosen.isEmpty()) ui->c_path_le->setText(chosen);
  });
}

void save_tab_dlg::accept() {
  slot_guard("accept", [&] {
    if (chosen_path().isEmpty()) {
      ruv::information(this, tr("path information"), tr("the input path is empty."));
      return;
    }
    QDialog::accept();
  });
}
