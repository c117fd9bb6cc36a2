// Shows the main window against a server (host and port as arguments) with the tree filled, a
// table's data view and a field editor open, and saves a picture of each tab (the file name
// given, and the same with "_fields" before the extension): a look at the real window under
// a display.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

#include "query/wire.h"
#include "app/main_window.h"
#include "client/ruv_sql_lib_mem.h"
#include "sqllib/library_startup.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  kk::library_startup();
  if (argc < 4) return 2;
  const auto port = static_cast<kk::u16>(atoi(argv[2]));
  if (!ruv::wire_connect(argv[1], port, "u", "p")) return 2;
  MainWindow w(kk::adt::string_from_cstr(argv[1]), port, kk::adt::string_from_cstr("u"),
               kk::adt::string_from_cstr("p"), nullptr);
  w.resize(1400, 900);  // what showMaximized gives under a window manager
  auto* tree = w.findChild<QTreeWidget*>(QStringLiteral("treeWidget"));
  auto* tabs = w.findChild<QTabWidget*>(QStringLiteral("tabWidget"));
  QTreeWidgetItem* root = tree->topLevelItem(0);
  if (!root || root->childCount() < 2) return 3;
  QTreeWidgetItem* first = root->child(0);
  tree->setCurrentItem(first);
  first->setExpanded(true);
  w.findChild<QAction*>(QStringLiteral("view_data_act"))->trigger();
  tree->setCurrentItem(root->child(1));
  w.findChild<QAction*>(QStringLiteral("new_field_act"))->trigger();
  tree->setCurrentItem(first->child(0));
  tabs->setCurrentIndex(0);
  const QString out = QString::fromLocal8Bit(argv[3]);
  const QFileInfo info(out);
  const QString second = info.path() + "/" + info.completeBaseName() + "_fields." + info.suffix();
  QTimer::singleShot(800, [&] {
    w.grab().save(out);
    tabs->setCurrentIndex(1);
    QTimer::singleShot(300, [&] {
      w.grab().save(second);
      app.quit();
    });
  });
  return app.exec();
}
