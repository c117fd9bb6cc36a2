// The code editor widget: one keystroke to its painted viewport at several text sizes,
// against QPlainTextEdit with an empty syntax highlighter in the same run; and one full
// viewport paint with highlighting.
#include "grammar/library_startup.h"
#include "grammar/sql_library.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSyntaxHighlighter>

#include "app/sys_config.h"
#include "editor/editor.h"

namespace {

constexpr int view_w = 1000, view_h = 700;

QByteArray script(int bytes) {
  static const char* lines[] = {
      "select name, sum(amount) from orders where amount > 10 order by name; // totals\n",
      "insert into orders values ('widget', 12, \"2026-01-01\");\n",
      "update orders set amount = amount + 1 where name = 'gadget';\n",
      "select count(*) from customers where city = 'Lyon';\n",
  };
  QByteArray t;
  t.reserve(bytes + 128);
  for (int i = 0; t.size() < bytes; ++i) t += lines[i % 4];
  t.truncate(bytes);
  const int cut = t.lastIndexOf('\n');
  if (cut > 0) t.truncate(cut + 1);
  while (t.size() < bytes) t += ' ';
  return t;
}

class empty_highlighter : public QSyntaxHighlighter {
 public:
  using QSyntaxHighlighter::QSyntaxHighlighter;
  void highlightBlock(const QString&) override {}
};

void type_key(QWidget* w) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
  QApplication::sendEvent(w, &press);
}

void keystroke_editor(benchmark::State& st) {
  const QByteArray t = script(static_cast<int>(st.range(0)));
  ruv::editor e;
  e.set_text(t);
  // The cursor in the middle, the view around it.
  ruv::doc_set_cursor(e.document(), t.size() / 2);
  ruv::doc_line_begin(e.document());
  e.cursor_point();
  const int top = std::max(0, e.cursor_pos().y() - view_h / 2);
  e.set_visible_rect(QRect(0, -top, view_w, view_h));
  QImage img(view_w, view_h, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : st) {
    type_key(&e);
    QPainter p(&img);
    p.translate(0, -top + static_cast<int>(e.y_origin()));
    e.paint_text(p);
  }
  st.counters["parsed_now"] = e.parse_is_current() ? 1 : 0;
}

void keystroke_qplaintextedit(benchmark::State& st) {
  const QByteArray t = script(static_cast<int>(st.range(0)));
  QPlainTextEdit ed;
  ed.resize(view_w, view_h);
  empty_highlighter hl(ed.document());
  ed.setPlainText(QString::fromUtf8(t));
  QTextCursor c = ed.textCursor();
  c.setPosition(ed.document()->characterCount() / 2);
  ed.setTextCursor(c);
  ed.ensureCursorVisible();
  QImage img(view_w, view_h, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : st) {
    type_key(&ed);
    ed.render(&img);
  }
}

void full_viewport_paint(benchmark::State& st) {
  const QByteArray t = script(64 * 1024);
  ruv::editor e;
  e.set_text(t);
  e.set_visible_rect(QRect(0, 0, view_w, view_h));
  ruv::doc_add_selection(e.document(), {100, 900});
  QImage img(view_w, view_h, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : st) {
    QPainter p(&img);
    e.paint_text(p);
  }
  st.counters["highlighted"] = e.highlighting_on() && e.parse_is_current() ? 1 : 0;
}

void full_viewport_paint_qplaintextedit(benchmark::State& st) {
  const QByteArray t = script(64 * 1024);
  QPlainTextEdit ed;
  ed.resize(view_w, view_h);
  empty_highlighter hl(ed.document());
  ed.setPlainText(QString::fromUtf8(t));
  QImage img(view_w, view_h, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : st) ed.render(&img);
}

}  // namespace

BENCHMARK(keystroke_qplaintextedit)->Arg(100 << 10)->Arg(127 << 10)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(keystroke_editor)->Arg(100 << 10)->Arg(127 << 10)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(full_viewport_paint_qplaintextedit)->Unit(benchmark::kMillisecond);
BENCHMARK(full_viewport_paint)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  kk::library_startup();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
