// render_icon <icon.svg> <icon.png> <size>: draws the icon into a square PNG of size pixels,
// for the desktop's fixed-size icon theme folders.
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: render_icon <icon.svg> <icon.png> <size>\n");
    return 2;
  }
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  const int size = std::atoi(argv[3]);
  if (!svg.isValid() || size <= 0) {
    std::fprintf(stderr, "render_icon: %s is not a drawable SVG, or the size is wrong\n", argv[1]);
    return 1;
  }
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  svg.render(&painter);
  painter.end();
  if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "render_icon: %s cannot be written\n", argv[2]);
    return 1;
  }
  return 0;
}
