// Shows the code editor with a highlighted SQL script, a selection and search marks, for a
// look on a real display (run under xvfb-run and take a screenshot). Quits by itself after
// the number of milliseconds given as its argument (default 4000).
#include "sqllib/library_startup.h"
#include "sqllib/sql_library.h"

#include <QApplication>
#include <QTimer>

#include <vector>

#include "ui_base/sys_config.h"
#include "editor/doc_search.h"
#include "editor/editor.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  kk::library_startup();
  // A colour per token class, so the classes can be told apart on screen.
  const unsigned rgb[10][3] = {{0, 0, 0},     {0, 0, 220},  {0, 130, 130}, {170, 0, 170}, {200, 0, 0},
                               {120, 60, 0},  {0, 140, 0},  {230, 110, 0}, {60, 60, 60}, {150, 150, 150}};
  for (int i = 0; i < 10; ++i) {
    text_format& f = sys_config.text_formats[0][i];
    f.red = rgb[i][0], f.green = rgb[i][1], f.blue = rgb[i][2];
    f.bold = (i == 6 || i == 7) ? 1 : 0;
  }
  ruv::editor e;
  e.set_auto_resize(false);
  e.set_text(
      "// monthly report\n"
      "select sin(a) from orders order by a asc;\n"
      "insert into orders (a, b) values (1, \"x\");\n"
      "select a from orders first 3; /* note */\n"
      "delete from orders where a == 1;\n"
      "rows_of orders;\tcaf\xC3\xA9 \xE4\xB8\xAD\xE6\x96\x87\n"
      "selec broken here\n");
  std::vector<ruv::byte_range> found;
  ruv::doc_find_all(e.document(), ruv::doc_view("orders"), found, ruv::search_plain, 0);
  ruv::doc_add_selection(e.document(), {found[1].start - 5, found[1].end});
  ruv::doc_set_cursor(e.document(), 40);
  e.cursor_point();
  e.show_cursor();
  e.resize(900, 200);
  e.move(0, 0);
  e.show();
  QTimer::singleShot(argc > 1 ? atoi(argv[1]) : 4000, &app, &QApplication::quit);
  return app.exec();
}
