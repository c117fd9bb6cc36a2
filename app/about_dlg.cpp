#include "app/about_dlg.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>
#include <memory>

#include "app/form_fit.h"
#include "ui_base/slot_guard.h"
#include "ui_about_dlg.h"

about_dlg::about_dlg(QWidget* parent) : QDialog(parent), ui(new Ui::about_dlg) {
  ui->setupUi(this);
  fit_texts(this);
  connect(ui->lic_pb, &QPushButton::clicked, this, &about_dlg::lic);
}

about_dlg::~about_dlg() { delete ui; }

#ifndef RUV_DOC_DIR
#define RUV_DOC_DIR "../share/doc/ruv_mdb"
#endif

QStringList licence_places() {
  const QString name = QStringLiteral("licenses.txt");
  // A relative documentation folder is taken from the program's own folder.
  const QString docs = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QString::fromUtf8(RUV_DOC_DIR));
  return {QDir::current().absoluteFilePath(name), QDir::cleanPath(docs + QLatin1Char('/') + name)};
}

QDialog* make_license_window(const QStringList& places) {
  auto* dlg = new QDialog(nullptr);
  dlg->setModal(true);
  // The text fills the window as it is resized; the window closes by a button too.
  auto* layout = new QVBoxLayout(dlg);
  auto* text = new QTextEdit(dlg);
  text->setObjectName(QStringLiteral("license_text"));
  text->setReadOnly(true);
  layout->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dlg);
  buttons->setObjectName(QStringLiteral("license_buttons"));
  buttons->button(QDialogButtonBox::Close)->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dlg, &QDialog::reject);
  layout->addWidget(buttons);
  dlg->resize(800, 600);
  for (const QString& path : places) {
    QFile f(path);
    // A regular file only: a fifo would block the window.
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly)) continue;
    // Plain text: markup in the file is shown, never interpreted.
    text->setPlainText(QString::fromUtf8(f.readAll()));
    f.close();
    dlg->setWindowTitle(about_dlg::tr("ruv mdb client license"));
    break;
  }
  return dlg;
}

void about_dlg::lic() {
  slot_guard("lic", [&] {
    const std::unique_ptr<QDialog> dlg(make_license_window());
    dlg->exec();
  });
}
