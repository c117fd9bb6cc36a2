// Build-time tool: one language's manual source and the shared reference of examples into
// the PDF manual, through Qt's own PDF writer over a QTextDocument of the generated HTML, on
// the offscreen platform (no display needed).
//
//   ruv_manual_pdf <source.md> <reference.txt> <out.pdf> [--html <out.html>]
//
// The first page holds the title and the contents with page numbers; every chapter starts on
// a page of its own; every page but the first has a footer with the title and its number.
// Entries the code has and the source lacks are reported as warnings (the tests fail on
// them); a character that no installed font can show fails the run, so no manual ships with
// empty boxes.
#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <cstdio>

#include "docs/manual/manual_gen.h"

namespace {

// Latin text, code, and the CJK glyphs both lack (the fallback also serves the manuals in
// English and French, which name the languages and show Chinese weekday names).
const char* const text_family = "Noto Sans";
const char* const code_family = "Noto Sans Mono";
const char* const cjk_family = "Droid Sans Fallback";
const char* const font_packages = "fonts-noto-core and fonts-droid-fallback (scripts/deps.sh installs them)";

QString style_sheet() {
  const QString text = QStringLiteral("'%1', '%2'").arg(text_family, cjk_family);
  const QString code = QStringLiteral("'%1', '%2'").arg(code_family, cjk_family);
  return QStringLiteral(
             "body { font-family: %1; font-size: 10pt; color: #1a1a1a; }"
             "p { margin-top: 3px; margin-bottom: 5px; }"
             "h2 { font-size: 18pt; color: #1f3b63; margin-top: 0px; margin-bottom: 10px; page-break-before: always; }"
             "h3 { font-size: 13pt; color: #1f3b63; margin-top: 14px; margin-bottom: 6px; }"
             "h4 { font-family: %2; font-size: 10.5pt; color: #1f3b63; margin-top: 12px; margin-bottom: 2px; }"
             "span.code { font-family: %2; color: #5a2d0c; }"
             "pre.example { font-family: %2; font-size: 8.5pt; background-color: #eef1f5; white-space: pre-wrap; "
             "margin-left: 12px; margin-top: 2px; margin-bottom: 6px; }"
             "p.syntax { font-family: %2; font-size: 8.5pt; margin-left: 12px; }"
             "p.sig { font-family: %2; font-size: 10pt; color: #1f3b63; margin-top: 10px; margin-bottom: 1px; }"
             "p.desc { margin-left: 12px; }"
             "p.caption { font-size: 7.5pt; color: #666666; margin-left: 12px; margin-top: 2px; margin-bottom: 0px; }"
             "span.meta { color: #8a8a8a; }"
             "a { color: #1f3b63; text-decoration: none; }"
             "p.title { font-size: 20pt; color: #1f3b63; margin-top: 30px; margin-bottom: 4px; }"
             "p.subtitle { font-size: 11pt; color: #555555; margin-bottom: 24px; }"
             "p.contents { font-size: 14pt; color: #1f3b63; margin-bottom: 6px; }"
             "td.toc2 { font-weight: bold; padding-top: 5px; }"
             "td.toc3 { padding-left: 18px; }"
             "td.page { color: #444444; }"
             "th { background-color: #e3e8ef; text-align: left; }"
             "table.grammar td.lhs { font-family: %2; font-size: 8pt; padding-right: 8px; }"
             "table.grammar td.rhs { font-family: %2; font-size: 8pt; }")
      .arg(text, code);
}

QString utf8(const std::string& s) { return QString::fromUtf8(s.data(), int(s.size())); }

// The contents: one row per chapter and section with its page ("000" before the pages are
// known, which takes as much room as the numbers will).
QString contents_html(const ruv::manual::document& doc, const QVector<int>& pages) {
  QString h = QStringLiteral("<p class=\"contents\">%1</p>\n<table width=\"100%\" cellspacing=\"0\" cellpadding=\"1\">\n")
                  .arg(utf8(doc.labels.count("contents") ? doc.labels.at("contents") : "Contents").toHtmlEscaped());
  for (int i = 0; i < int(doc.headings.size()); ++i) {
    const ruv::manual::heading& e = doc.headings[size_t(i)];
    const QString page = i < pages.size() ? QString::number(pages[i]) : QStringLiteral("000");
    h += QStringLiteral("<tr><td class=\"toc%1\"><a href=\"#%2\">%3</a></td><td class=\"page\" align=\"right\">%4</td></tr>\n")
             .arg(e.level)
             .arg(utf8(e.anchor), utf8(e.text).toHtmlEscaped(), page);
  }
  return h + QStringLiteral("</table>\n");
}

QString page_html(const ruv::manual::document& doc, const QVector<int>& pages) {
  return QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body>\n<p class=\"title\">%1</p>\n"
                        "<p class=\"subtitle\">ruv_mdb_cli</p>\n")
             .arg(utf8(doc.title).toHtmlEscaped()) +
         contents_html(doc, pages) + utf8(doc.body_html) + QStringLiteral("</body></html>\n");
}

// Page (from 1) on which each chapter and section heading stands, in document order.
QVector<int> heading_pages(QTextDocument& td, qreal page_height) {
  td.pageCount();  // lays the whole document out (the layout is lazy otherwise)
  QVector<int> pages;
  for (QTextBlock b = td.begin(); b.isValid(); b = b.next()) {
    const int level = b.blockFormat().headingLevel();
    if (level != 2 && level != 3) continue;
    const QTextLayout* l = b.layout();
    const qreal y = l->position().y() + (l->lineCount() ? l->lineAt(0).y() : 0);
    pages << int(y / page_height) + 1;
  }
  return pages;
}

// Characters of the document that none of the fonts has.
QString missing_glyphs(const QString& text, QStringList& missing_families) {
  QList<QRawFont> fonts;
  for (const char* f : {text_family, code_family, cjk_family}) {
    QRawFont r = QRawFont::fromFont(QFont(QString::fromLatin1(f)));
    if (r.familyName() != QLatin1String(f))
      missing_families << QString::fromLatin1(f);
    else
      fonts << r;
  }
  QSet<uint> seen;
  QString out;
  for (uint c : text.toUcs4()) {
    if (c < 0x21 || c == 0xa0 || c == 0xfffc || c == 0x2028 || c == 0x2029 || seen.contains(c)) continue;
    seen.insert(c);
    bool found = false;
    for (const QRawFont& r : fonts) found = found || r.supportsCharacter(c);
    if (!found) out += QStringLiteral(" U+%1").arg(c, 4, 16, QLatin1Char('0')).toUpper();
  }
  return out;
}

bool read_file(const char* path, std::string& out) {
  QFile f(QString::fromLocal8Bit(path));
  if (!f.open(QIODevice::ReadOnly)) return false;
  const QByteArray b = f.readAll();
  out.assign(b.constData(), size_t(b.size()));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // A build step: no display, whatever the environment says.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 4 && !(argc == 6 && std::string(argv[4]) == "--html")) {
    std::fprintf(stderr, "usage: %s <source.md> <reference.txt> <out.pdf> [--html <out.html>]\n", argv[0]);
    return 2;
  }
  std::string source, reference_text;
  if (!read_file(argv[1], source) || !read_file(argv[2], reference_text)) {
    std::fprintf(stderr, "%s: cannot read %s or %s\n", argv[0], argv[1], argv[2]);
    return 1;
  }
  const ruv::manual::dialect d;
  if (!d.ok()) {
    std::fprintf(stderr, "%s: the SQL grammar does not compile\n", argv[0]);
    return 1;
  }
  const ruv::manual::reference ref = ruv::manual::read_reference(reference_text);
  const ruv::manual::document doc = ruv::manual::render(source, ref, d);
  for (const std::string& p : ruv::manual::reference_problems(ref, d))
    std::fprintf(stderr, "warning: %s: %s\n", argv[2], p.c_str());
  for (const std::string& p : ruv::manual::source_problems(doc, ref, d))
    std::fprintf(stderr, "warning: %s: %s\n", argv[1], p.c_str());

  QPdfWriter writer(QString::fromLocal8Bit(argv[3]));
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageMargins(QMarginsF(20, 16, 20, 12), QPageLayout::Millimeter);
  writer.setResolution(300);
  writer.setTitle(utf8(doc.title));
  writer.setCreator(QStringLiteral("ruv_manual_pdf"));
  const QRectF paint = writer.pageLayout().paintRectPixels(writer.resolution());
  const qreal footer = writer.resolution() * 0.4;  // about 10 mm under the text
  const QSizeF page(paint.width(), paint.height() - footer);

  QTextDocument td;
  td.documentLayout()->setPaintDevice(&writer);
  QFont base(QString::fromLatin1(text_family), 10);
  base.setFamilies({QString::fromLatin1(text_family), QString::fromLatin1(cjk_family)});
  // No ligatures: "fi" stays two letters, so a reader's search for "field" finds it.
  base.setStyleStrategy(QFont::PreferNoShaping);
  td.setDefaultFont(base);
  td.setDefaultStyleSheet(style_sheet());
  td.setPageSize(page);

  // The contents' page numbers take the room of three digits at first; once the headings'
  // pages are known the numbers go in, which moves nothing (checked, with a second round).
  QVector<int> pages;
  for (int round = 0; round < 3; ++round) {
    td.setHtml(page_html(doc, pages));
    const QVector<int> now = heading_pages(td, page.height());
    if (now == pages) break;
    pages = now;
  }
  if (pages.size() != int(doc.headings.size())) {
    std::fprintf(stderr, "%s: %d headings laid out, %d expected\n", argv[0], int(pages.size()),
                 int(doc.headings.size()));
    return 1;
  }
  if (argc == 6) {
    QFile h(QString::fromLocal8Bit(argv[5]));
    if (h.open(QIODevice::WriteOnly)) h.write(page_html(doc, pages).toUtf8());
  }

  QStringList missing_families;
  const QString missing = missing_glyphs(utf8(doc.title) + td.toPlainText(), missing_families);
  if (!missing_families.isEmpty() || !missing.isEmpty()) {
    std::fprintf(stderr, "%s: %s: fonts missing (%s), characters without a glyph:%s; install %s\n", argv[0], argv[1],
                 qPrintable(missing_families.join(QStringLiteral(", "))), qPrintable(missing), font_packages);
    return 1;
  }

  QPainter painter(&writer);
  QFont foot(QString::fromLatin1(text_family), 8);
  foot.setFamilies({QString::fromLatin1(text_family), QString::fromLatin1(cjk_family)});
  const int count = td.pageCount();
  for (int p = 0; p < count; ++p) {
    if (p) writer.newPage();
    painter.save();
    const QRectF clip(0, p * page.height(), page.width(), page.height());
    painter.setClipRect(QRectF(QPointF(0, 0), page));
    painter.translate(0, -clip.top());
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.clip = clip;
    td.documentLayout()->draw(&painter, ctx);
    painter.restore();
    if (p == 0) continue;
    painter.setPen(QColor(0x88, 0x88, 0x88));
    painter.setFont(foot);
    const qreal rule = page.height() + footer * 0.35;
    painter.drawLine(QPointF(0, rule), QPointF(page.width(), rule));
    const QRectF band(0, rule, page.width(), footer * 0.6);
    painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter, utf8(doc.title));
    painter.drawText(band, Qt::AlignRight | Qt::AlignVCenter, QString::number(p + 1));
  }
  if (!painter.end()) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[3]);
    return 1;
  }
  return 0;
}
