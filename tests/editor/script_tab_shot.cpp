// Shows one script tab with its result grid against a server (host and port as arguments)
// and saves a picture of it: a look at the real widget under a display.
#include <QApplication>
#include <QTimer>

#include "query/wire.h"
#include "client/ruv_sql_lib_mem.h"
#include "sqllib/library_startup.h"
#include "query/db_ctx.h"
#include "editor/editor.h"
#include "editor/scroll_area.h"
#include "script_tab/sql_script_editor.h"
#include "tests/support/scripted_prompt.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  kk::library_startup();
  if (argc < 4 || !ruv::wire_connect(argv[1], static_cast<uint16_t>(atoi(argv[2])), "u", "p")) return 2;
  ruv::test::scripted_prompt prompt;
  db_ctx ctx{kk::adt::string_from_cstr("ruv_mdb"), nullptr};
  QByteArray script = "show tables;\n# the first table's rows\n";
  ruv::sql_script_editor tab(&ctx, kk::adt::string_from_cstr(script.constData()));
  tab.resize(900, 600);
  tab.show();
  tab.exec_sql();
  QTimer::singleShot(500, [&] {
    tab.grab().save(QString::fromLocal8Bit(argv[3]));
    qInfo("area %d x %d, view %d x %d, editor %d x %d", tab.area()->width(), tab.area()->height(), tab.area()->view_width(), tab.area()->view_height(), tab.editor_widget()->width(), tab.editor_widget()->height());
    app.quit();
  });
  const int rc = app.exec();
  ruv::wire_exit();
  return rc;
}
