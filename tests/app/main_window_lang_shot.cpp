// A picture of the main window in one language against a server (host, port, language code,
// output file): the tree with a table's fields, a script tab that ran two statements with its
// result grid and log, and a table's data view behind it. For the README and docs/img.
// With a sixth argument, a prefix: pictures of the preferences and transfer dialogs too
// (<prefix>_<dialog>.png), shown as the window's slots prepare them.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QTreeWidget>

#include "query/wire.h"
#include "app/main_window.h"
#include "transfer_dlg/import_csv_dlg.h"
#include "dbops/load_tab_dlg.h"
#include "dbops/save_tab_dlg.h"
#include "dbops/transfers.h"
#include "editor/sys_pre_dlg.h"
#include "app/startup.h"
#include "ui_base/sys_config.h"
#include "client/ruv_sql_lib_mem.h"
#include "editor/editor.h"
#include "script_tab/sql_script_editor.h"
#include "sqllib/library_startup.h"
#include "tests/support/scripted_prompt.h"

int main(int argc, char** argv) {
  if (argc < 5) return 2;
  QApplication app(argc, argv);
  keep_c_numeric();
  app.setStyleSheet(read_style_sheet(QString::fromLatin1(style_sheet_resource)));
  kk::library_startup();
  sys_config.language = static_cast<kk::u32>(atoi(argv[3]));
  sys_config.completion = 0;
  QTranslator qt, program;
  install_translations(app, qt, program, sys_config.language);

  const auto port = static_cast<kk::u16>(atoi(argv[2]));
  if (!ruv::wire_connect(argv[1], port, "u", "p")) return 3;
  QTemporaryDir dir;
  ruv::test::scripted_prompt prompt;  // boxes take their default; the chooser names the script
  MainWindow w(kk::adt::string_from_cstr(argv[1]), port, kk::adt::string_from_cstr("u"),
               kk::adt::string_from_cstr("p"), nullptr);
  w.resize(1400, 860);  // what showMaximized gives under a window manager
  auto* tree = w.findChild<QTreeWidget*>(QStringLiteral("treeWidget"));
  auto* tabs = w.findChild<QTabWidget*>(QStringLiteral("tabWidget"));
  QTreeWidgetItem* root = tree->topLevelItem(0);
  if (!root || root->childCount() < 3) return 4;

  // A data view of the second table, then a script in front of it.
  tree->setCurrentItem(root->child(1));
  w.findChild<QAction*>(QStringLiteral("view_data_act"))->trigger();
  prompt.files.push_back({dir.filePath(QStringLiteral("orders.sql"))});
  w.findChild<QAction*>(QStringLiteral("new_file_act"))->trigger();
  auto* script = qobject_cast<ruv::sql_script_editor*>(tabs->currentWidget());
  if (!script) return 5;
  script->editor_widget()->set_text(
      "# the customers and their orders\n"
      "select * from customers;\n"
      "select * from orders where first 20;\n");
  script->exec_sql();  // the run ends with a refresh, which builds the tree anew
  root = tree->topLevelItem(0);
  QTreeWidgetItem* orders = root->child(2);
  orders->setExpanded(true);
  tree->setCurrentItem(orders->child(0));
  tabs->setCurrentWidget(script);

  const QString out = QString::fromLocal8Bit(argv[4]);
  const QString dialogs = argc > 5 ? QString::fromLocal8Bit(argv[5]) : QString();
  QTimer::singleShot(800, [&] {
    w.grab().save(out);
    if (!dialogs.isEmpty()) {
      auto grab = [&](QWidget& d, const char* name) {
        d.show();
        QCoreApplication::processEvents();
        d.grab().save(dialogs + "_" + name + ".png");
        d.hide();
      };
      sys_pre_dlg prefs(nullptr);
      grab(prefs, "preferences");
      import_csv_dlg exp(nullptr);
      prepare_export(exp, QStringLiteral("orders"));
      grab(exp, "export");
      save_tab_dlg backup(nullptr);
      prepare_backup(backup);
      grab(backup, "backup");
      load_tab_dlg load(nullptr);
      prepare_load(load);
      grab(load, "load");
    }
    app.quit();
  });
  return app.exec();  // the window's teardown logs out
}
