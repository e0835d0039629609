#include "document/PictureFormats.h"

#include <QFileInfo>
#include <cstring>

#include "document/BitmapReader.h"
#include "document/BitmapWriter.h"
#include "document/ExifOrientation.h"
#include "document/JpegReader.h"
#include "document/PngFormat.h"
#include "document/QtPluginReader.h"

namespace {

QString Patterns(const QStringList& suffixes) {
  QStringList patterns;
  for (const QString& s : suffixes) patterns << QStringLiteral("*.") + s;
  return patterns.join(QLatin1Char(' '));
}

// True when the `size` bytes at `data` hold the four characters of `tag` from `at` on.
bool StartsWith(const uchar* data, qsizetype size, qsizetype at, const char (&tag)[5]) {
  return size >= at + 4 && std::memcmp(data + at, tag, 4) == 0;
}

// The suffix of the file name itself (a dot in a folder's name does not count), lower case.
QString SuffixOf(const QString& name) { return QFileInfo(name).suffix().toLower(); }

const PictureFormat* FirstWritable() {
  for (const PictureFormat& f : PictureFormats())
    if (f.CanWrite()) return &f;
  return nullptr;
}

}  // namespace

QString PictureFormat::Filter() const {
  return QStringLiteral("%1 (%2)").arg(description, Patterns(suffixes));
}

const std::vector<PictureFormat>& PictureFormats() {
  static const std::vector<PictureFormat> formats = {
      {.name = QStringLiteral("BMP"),
       .suffixes = {QStringLiteral("bmp")},
       .mimeType = QStringLiteral("image/bmp"),
       .description = QStringLiteral("位图文件"),
       .recognises = IsBitmapData,
       .read = ReadBitmap,
       .write = WriteBitmap},
      {.name = QStringLiteral("JPEG"),
       .suffixes = {QStringLiteral("jpg"), QStringLiteral("jpeg")},
       .mimeType = QStringLiteral("image/jpeg"),
       .description = QStringLiteral("JPEG 图像"),
       .recognises = IsJpegData,
       .read = ReadJpeg,
       .readOnlyRefusal = QStringLiteral("JPEG 图像只能打开，不能保存。请改用 .png 或 .bmp。")},
      {.name = QStringLiteral("PNG"),
       .suffixes = {QStringLiteral("png")},
       .mimeType = QStringLiteral("image/png"),
       .description = QStringLiteral("PNG 图像"),
       .recognises = IsPngData,
       .read = ReadPng,
       .write = WritePng,
       .writeWithCompanion = WritePngWithCompanion},
      // Pictures from the web: lossy and lossless, with or without transparency.
      {.name = QStringLiteral("WebP"),
       .suffixes = {QStringLiteral("webp")},
       .mimeType = QStringLiteral("image/webp"),
       .description = QStringLiteral("WebP 图像"),
       .recognises = [](const uchar* d, qsizetype n) { return StartsWith(d, n, 0, "RIFF") && StartsWith(d, n, 8, "WEBP"); },
       .qtPlugin = "webp",
       .orientation = WebpExifOrientation,
       .readOnlyRefusal = QStringLiteral("WebP 图像只能打开，不能保存。请改用 .png 或 .bmp。")},
      // Pictures from scanners: the first page of the file.
      {.name = QStringLiteral("TIFF"),
       .suffixes = {QStringLiteral("tif"), QStringLiteral("tiff")},
       .mimeType = QStringLiteral("image/tiff"),
       .description = QStringLiteral("TIFF 图像"),
       .recognises = [](const uchar* d, qsizetype n) { return StartsWith(d, n, 0, "II*\0") || StartsWith(d, n, 0, "MM\0*"); },
       .qtPlugin = "tiff",
       .readOnlyRefusal = QStringLiteral("TIFF 图像只能打开，不能保存。请改用 .png 或 .bmp。")},
  };
  return formats;
}

PictureRead PictureFormat::Read(const uchar* data, qsizetype size, qint64 maxPixels) const {
  if (read) return read(data, size, maxPixels);
  return ReadThroughQtPlugin(*this, data, size, maxPixels);
}

QString OpenDialogFilter() {
  QStringList every, filters;
  for (const PictureFormat& f : PictureFormats()) {
    every << f.suffixes;
    filters << f.Filter();
  }
  filters.prepend(QStringLiteral("所有图像 (%1)").arg(Patterns(every)));
  return filters.join(QStringLiteral(";;"));
}

QString SaveDialogFilter(const PictureFormat* first) {
  QStringList filters;
  for (const PictureFormat& f : PictureFormats())
    if (f.CanWrite()) {
      if (&f == first) filters.prepend(f.Filter());
      else filters << f.Filter();
    }
  return filters.join(QStringLiteral(";;"));
}

const PictureFormat& FormatNamed(const QString& name) {
  for (const PictureFormat& f : PictureFormats())
    if (f.name == name) return f;
  return PictureFormats().front();
}

const PictureFormat* FormatOfFileName(const QString& fileName) {
  const QString suffix = SuffixOf(fileName);
  if (suffix.isEmpty()) return nullptr;
  for (const PictureFormat& f : PictureFormats())
    if (f.suffixes.contains(suffix)) return &f;
  return nullptr;
}

const PictureFormat* FormatOfFilter(const QString& filter) {
  const QString chosen = filter.trimmed();
  for (const PictureFormat& f : PictureFormats())
    if (chosen == f.Filter()) return &f;
  return nullptr;
}

SaveTarget ResolveSaveName(const QString& typedName, const QString& chosenFilter) {
  SaveTarget target;
  if (QFileInfo(typedName).fileName().isEmpty()) {
    target.refusal = QStringLiteral("没有给出文件名。");
    return target;
  }
  if (const PictureFormat* named = FormatOfFileName(typedName)) {
    if (!named->CanWrite()) {
      target.refusal = named->readOnlyRefusal;
      return target;
    }
    target.path = typedName;
    target.format = named;
    return target;
  }
  const PictureFormat* chosen = FormatOfFilter(chosenFilter);
  if (chosen == nullptr || !chosen->CanWrite()) chosen = FirstWritable();
  // "incline." gets "bmp", not a second dot.
  const QString dot = typedName.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".");
  target.path = typedName + dot + chosen->suffixes.first();
  target.format = chosen;
  return target;
}

QStringList ReadableFormatNames() {
  QStringList names;
  for (const PictureFormat& f : PictureFormats()) names << f.name;
  return names;
}

QStringList WritableFormatNames() {
  QStringList names;
  for (const PictureFormat& f : PictureFormats())
    if (f.CanWrite()) names << f.name;
  return names;
}

QStringList ReadableMimeTypes() {
  QStringList types;
  for (const PictureFormat& f : PictureFormats()) types << f.mimeType;
  return types;
}

QString JoinedNames(const QStringList& names, const QString& conjunction) {
  if (names.size() <= 1) return names.join(QString());
  return names.mid(0, names.size() - 1).join(QStringLiteral("、")) + QLatin1Char(' ') + conjunction +
         QLatin1Char(' ') + names.last();
}
