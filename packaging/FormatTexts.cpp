// Fills in what a packaging text says about the picture formats, from the picture-format table,
// when the program is built: quillmere_format_texts TEMPLATE OUTPUT. In the template,
//   %MIME_TYPES%     the desktop entry's list: "image/bmp;image/jpeg;...;"
//   %MEDIA_TYPES%    the metainfo's <mediatype> elements, one a line
//   %OPENS%, %SAVES% the names in English: "BMP, JPEG, PNG, WebP and TIFF", "BMP or PNG"
//   %OPENS_ZH%, %SAVES_ZH%  the same in Chinese: "BMP、JPEG、PNG、WebP 和 TIFF", "BMP 或 PNG"
// The output is written only when it changes, so that what depends on it is not rebuilt for nothing.
#include <QFile>
#include <QString>
#include <QStringList>
#include <cstdio>

#include "document/PictureFormats.h"

namespace {

QString EnglishList(const QStringList& names, const QString& conjunction) {
  if (names.size() < 2) return names.join(QString());
  return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + ' ' + conjunction + ' ' + names.last();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s TEMPLATE OUTPUT\n", argv[0]);
    return 2;
  }
  QFile in(QString::fromLocal8Bit(argv[1]));
  if (!in.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
    return 1;
  }
  QString text = QString::fromUtf8(in.readAll());
  const QStringList types = ReadableMimeTypes();
  QStringList media;
  for (const QString& t : types) media << QStringLiteral("    <mediatype>%1</mediatype>").arg(t);
  text.replace(QStringLiteral("%MIME_TYPES%"), types.join(';') + ';');
  text.replace(QStringLiteral("%MEDIA_TYPES%"), media.join('\n'));
  text.replace(QStringLiteral("%OPENS_ZH%"), JoinedNames(ReadableFormatNames(), QStringLiteral("和")));
  text.replace(QStringLiteral("%SAVES_ZH%"), JoinedNames(WritableFormatNames(), QStringLiteral("或")));
  text.replace(QStringLiteral("%OPENS%"), EnglishList(ReadableFormatNames(), QStringLiteral("and")));
  text.replace(QStringLiteral("%SAVES%"), EnglishList(WritableFormatNames(), QStringLiteral("or")));
  const QByteArray bytes = text.toUtf8();
  QFile out(QString::fromLocal8Bit(argv[2]));
  if (out.open(QIODevice::ReadOnly) && out.readAll() == bytes) return 0;
  out.close();
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size()) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
    return 1;
  }
  return 0;
}
