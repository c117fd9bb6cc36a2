#include "app/about_dlg.h"

#include <QFile>
#include <QTextEdit>
#include <memory>

#include "app/seams/slot_guard.h"
#include "ui_about_dlg.h"

about_dlg::about_dlg(QWidget* parent) : QDialog(parent), ui(new Ui::about_dlg) {
  ui->setupUi(this);
  connect(ui->lic_pb, &QPushButton::clicked, this, &about_dlg::lic);
}

about_dlg::~about_dlg() { delete ui; }

QDialog* make_license_window() {
  auto* dlg = new QDialog(nullptr);
  dlg->setModal(true);
  dlg->resize(800, 600);
  auto* text = new QTextEdit(dlg);
  text->setObjectName(QStringLiteral("license_text"));
  text->resize(800, 600);
  text->setReadOnly(true);
  QFile f(QStringLiteral("licenses.txt"));
  if (f.open(QIODevice::ReadOnly)) {
    // Plain text: markup in the file is shown, never interpreted.
    text->setPlainText(QString::fromUtf8(f.readAll()));
    f.close();
    dlg->setWindowTitle(about_dlg::tr("ruv mdb client license"));
  }
  return dlg;
}

void about_dlg::lic() {
  slot_guard("lic", [&] {
    const std::unique_ptr<QDialog> dlg(make_license_window());
    dlg->exec();
  });
}
