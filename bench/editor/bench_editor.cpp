// The code editor widget: one keystroke to its painted viewport at several text sizes,
// against QPlainTextEdit with an empty syntax highlighter in the same run; and one full
// viewport paint with highlighting. Both sides do the same work: the key event, then the
// widget's own paint event for the same 1000 x 700 pixels of text through QWidget::render
// (the editor's visible part; QPlainTextEdit's viewport, without frame and scroll bars).
#include "sqllib/library_startup.h"
#include "sqllib/sql_library.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QSyntaxHighlighter>

#include "ui_base/sys_config.h"
#include "bench/grammar/script_gen.h"
#include "editor/editor.h"

namespace {

constexpr int view_w = 1000, view_h = 700;

// Whole statements of the dialect (the grammar benchmarks' generator) up to the size, so
// the parse at each keystroke below 128 KiB covers the whole text.
QByteArray script(int bytes) {
  std::string t = ruv_bench::script_gen(7).script(static_cast<std::size_t>(bytes) + 4096);
  t.resize(t.rfind(";\n", static_cast<std::size_t>(bytes) - 2) + 2);
  return QByteArray(t.data(), static_cast<int>(t.size()));
}

class empty_highlighter : public QSyntaxHighlighter {
 public:
  using QSyntaxHighlighter::QSyntaxHighlighter;
  void highlightBlock(const QString&) override {}
};

// A blank at a line start: the text stays a whole script, so each parse covers all of it.
void type_key(QWidget* w) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
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
  const QRegion visible(0, top - static_cast<int>(e.y_origin()), view_w, view_h);
  for (auto _ : st) {
    type_key(&e);
    e.render(&img, QPoint(), visible);
  }
  st.counters["parsed_now"] = e.parse_is_current() ? 1 : 0;
  st.counters["parsed_all"] = e.parse_is_current() && e.parse().complete() ? 1 : 0;
}

// A QPlainTextEdit whose viewport is the whole widget, view_w x view_h.
void bare(QPlainTextEdit& ed) {
  ed.setFrameStyle(QFrame::NoFrame);
  ed.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ed.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ed.resize(view_w, view_h);
}

void keystroke_qplaintextedit(benchmark::State& st) {
  const QByteArray t = script(static_cast<int>(st.range(0)));
  QPlainTextEdit ed;
  bare(ed);
  empty_highlighter hl(ed.document());
  ed.setPlainText(QString::fromUtf8(t));
  QTextCursor c = ed.textCursor();
  c.setPosition(ed.document()->characterCount() / 2);
  ed.setTextCursor(c);
  ed.ensureCursorVisible();
  QImage img(view_w, view_h, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : st) {
    type_key(&ed);
    ed.viewport()->render(&img);
  }
  st.counters["viewport_w"] = ed.viewport()->width();
  st.counters["viewport_h"] = ed.viewport()->height();
}

void full_viewport_paint(benchmark::State& st) {
  const QByteArray t = script(64 * 1024);
  ruv::editor e;
  e.set_text(t);
  e.set_visible_rect(QRect(0, 0, view_w, view_h));
  ruv::doc_add_selection(e.document(), {100, 900});
  QImage img(view_w, view_h, QImage::Format_ARGB32_Premultiplied);
  const QRegion visible(0, 0, view_w, view_h);
  for (auto _ : st) e.render(&img, QPoint(), visible);
  st.counters["highlighted"] = e.highlighting_on() && e.parse_is_current() ? 1 : 0;
}

void full_viewport_paint_qplaintextedit(benchmark::State& st) {
  const QByteArray t = script(64 * 1024);
  QPlainTextEdit ed;
  bare(ed);
  empty_highlighter hl(ed.document());
  ed.setPlainText(QString::fromUtf8(t));
  QImage img(view_w, view_h, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : st) ed.viewport()->render(&img);
  st.counters["viewport_w"] = ed.viewport()->width();
  st.counters["viewport_h"] = ed.viewport()->height();
}

}  // namespace

BENCHMARK(keystroke_qplaintextedit)->Arg(100 << 10)->Arg(127 << 10)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(keystroke_editor)->Arg(100 << 10)->Arg(127 << 10)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(full_viewport_paint_qplaintextedit)->Unit(benchmark::kMillisecond);
BENCHMARK(full_viewport_paint)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  // The heap kept by the process, as the program keeps it: otherwise the trees of every
  // parse are handed back to the system and faulted in again (see editor_lang).
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  kk::library_startup();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
