// The wire's wait dialog as a test finds it among the top-level widgets, when it shows.
#pragma once
#include <QApplication>
#include <QProgressDialog>

namespace ruv::test {

inline QProgressDialog* wait_dialog() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* d = qobject_cast<QProgressDialog*>(w); d && d->objectName() == QLatin1String("wire_wait_dlg") && d->isVisible())
      return d;
  return nullptr;
}

}  // namespace ruv::test
