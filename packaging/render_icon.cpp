// Renders the program's scalable icon to square PNG files for the desktop's icon theme.
// Usage: quillmere_render_icon <icon.svg> <output folder> <size>...
// Writes <output folder>/<size>x<size>/quillmere.png for every size.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s <icon.svg> <output folder> <size>...\n", argv[0]);
    return 2;
  }
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  if (!svg.isValid()) {
    std::fprintf(stderr, "cannot read the icon %s\n", argv[1]);
    return 1;
  }
  const QDir out(QString::fromLocal8Bit(argv[2]));
  for (int i = 3; i < argc; ++i) {
    bool ok = false;
    const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
    if (!ok || size < 1 || size > 1024) {
      std::fprintf(stderr, "not an icon size: %s\n", argv[i]);
      return 2;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setRenderHint(QPainter::SmoothPixmapTransform);
      svg.render(&painter, QRectF(0, 0, size, size));
    }
    const QString folder = QStringLiteral("%1x%1").arg(size);
    if (!out.mkpath(folder) ||
        !image.convertToFormat(QImage::Format_ARGB32).save(out.filePath(folder + QStringLiteral("/quillmere.png")), "PNG")) {
      std::fprintf(stderr, "cannot write the %dx%d icon under %s\n", size, size, argv[2]);
      return 1;
    }
  }
  return 0;
}
