#include "document/PictureFormats.h"

#include <QFileInfo>

#include "document/BitmapReader.h"
#include "document/BitmapWriter.h"
#include "document/JpegReader.h"
#include "document/PngFormat.h"

namespace {

QString Patterns(const QStringList& suffixes) {
  QStringList patterns;
  for (const QString& s : suffixes) patterns << QStringLiteral("*.") + s;
  return patterns.join(QLatin1Char(' '));
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
      {QStringLiteral("BMP"), {QStringLiteral("bmp")}, QStringLiteral("image/bmp"),
       QStringLiteral("位图文件"), IsBitmapData, ReadBitmap, WriteBitmap, {}},
      {QStringLiteral("JPEG"), {QStringLiteral("jpg"), QStringLiteral("jpeg")}, QStringLiteral("image/jpeg"),
       QStringLiteral("JPEG 图像"), IsJpegData, ReadJpeg, nullptr,
       QStringLiteral("JPEG 图像只能打开，不能保存。请改用 .png 或 .bmp。")},
      {QStringLiteral("PNG"), {QStringLiteral("png")}, QStringLiteral("image/png"),
       QStringLiteral("PNG 图像"), IsPngData, ReadPng, WritePng, {}, WritePngWithCompanion},
  };
  return formats;
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

QString JoinedNames(const QStringList& names, const QString& conjunction) {
  if (names.size() <= 1) return names.join(QString());
  return names.mid(0, names.size() - 1).join(QStringLiteral("、")) + QLatin1Char(' ') + conjunction +
         QLatin1Char(' ') + names.last();
}
