#include "dbops/load_tab_dlg.h"

#include "ui_base/seams.h"
#include "ui_base/slot_guard.h"
#include "transfer_dlg/transfer_modes.h"
#include "ui_base/utf8.h"
#include "ui_load_tab_dlg.h"

load_tab_dlg::load_tab_dlg(QWidget* parent) : QDialog(parent), ui(new Ui::load_tab_dlg) {
  ui->setupUi(this);
  connect(ui->path_tb, &QToolButton::clicked, this, &load_tab_dlg::change_path);
  connect(ui->s_gb, &QGroupBox::clicked, this, &load_tab_dlg::s_clicked);
  connect(ui->c_gb, &QGroupBox::clicked, this, &load_tab_dlg::c_clicked);
  connect(ui->bin_rb, &QRadioButton::clicked, this, &load_tab_dlg::bin_clicked);
  connect(ui->sql_rb, &QRadioButton::clicked, this, &load_tab_dlg::sql_clicked);
  ui->c_gb->setChecked(true);
  ui->s_gb->setChecked(true);
  ui->c_gb->setChecked(false);
}

load_tab_dlg::~load_tab_dlg() { delete ui; }

void load_tab_dlg::set_path(const QString& path) {
  slot_guard("set_path", [&] {
    ui->s_path_le->setText(path);
    ui->c_path_le->setText(path);
  });
}

QString load_tab_dlg::chosen_path() const {
  return ui->s_gb->isChecked() ? ui->s_path_le->text() : ui->c_path_le->text();
}

kk::adt::string::string load_tab_dlg::path() const { return utf8_bytes(chosen_path()); }

kk::adt::string::string load_tab_dlg::table_name() const { return utf8_bytes(ui->tab_le->text()); }

bool load_tab_dlg::is_client() const { return ui->c_gb->isChecked(); }

bool load_tab_dlg::is_bin_mode() const { return ui->bin_rb->isChecked(); }

void load_tab_dlg::show_table_name(bool shown) {
  // A restore has no table: a click on "bin" must not ask for a name it never sends.
  if (table_name_off) shown = false;
  ui->tab_le->setVisible(shown);
  ui->tab_lbl->setVisible(shown);
}

void load_tab_dlg::hide_table_name() {
  table_name_off = true;
  show_table_name(false);
}

void load_tab_dlg::set_db_mode() { db_mode = true; }

void load_tab_dlg::bin_clicked(bool checked) { show_table_name(checked); }

void load_tab_dlg::sql_clicked(bool checked) { show_table_name(!checked); }

static QString client_warning_text() {
  return load_tab_dlg::tr(
      "note: change to client mode will use <span style='color:orange'>big memory</span> for transform, should not "
      "use for <span style='color:orange'>big data</span>, do you want to continue?");
}

void load_tab_dlg::c_clicked(bool checked) {
  slot_guard("c_clicked", [&] {
    client_box_clicked(this, ui->s_gb, ui->c_gb, client_warning, checked, tr("client mode information"),
                       client_warning_text());
  });
}

void load_tab_dlg::s_clicked(bool checked) {
  slot_guard("s_clicked", [&] {
    if (client_warning && !checked) {
      if (ruv::warning(this, tr("client mode information"), client_warning_text(), QMessageBox::Yes | QMessageBox::No,
                       QMessageBox::No) != QMessageBox::Yes) {
        ui->c_path_le->setEnabled(false);
        ui->c_gb->setChecked(false);
        ui->s_gb->setChecked(true);
        return;
      }
      client_warning = false;
    }
    ui->c_gb->setChecked(!checked);
  });
}

void load_tab_dlg::change_path(bool) {
  slot_guard("change_path", [&] {
    const QString chosen =
        db_mode ? ruv::prompts().open_file_name(this, tr("select database file's path"), ui->c_path_le->text(),
                                                tr("backup files (*.rbk);;all files (*.*)"))
                : ruv::prompts().open_file_name(this, tr("select table file's path"), ui->c_path_le->text(),
                                                tr("bin files (*.bin);;sql files (*.sql);;all files (*.*)"));
    if (!chosen.isEmpty()) ui->c_path_le->setText(chosen);
  });
}

void load_tab_dlg::accept() {
  slot_guard("accept", [&] {
    // isHidden, not isVisible: a dialog that is not shown yet has no visible child at all.
    if (!ui->tab_le->isHidden() && ui->tab_le->text().isEmpty()) {
      ruv::information(this, tr("table name information"), tr("the input table's name is empty."));
      return;
    }
    // Every format and the restore need a file: an empty path would close the dialog and
    // load nothing, without a word.
    if (chosen_path().isEmpty()) {
      if (db_mode)
        ruv::information(this, tr("path information"), tr("the input database file's path is empty."));
      else
        ruv::information(this, tr("table path information"), tr("the input table's path is empty."));
      return;
    }
    QDialog::accept();
  });
}
