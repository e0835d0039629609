#include "document/QtPluginReader.h"

#include <QBuffer>
#include <QImageReader>

#include "document/BitmapReader.h"
#include "document/PictureFormats.h"
#include "document/QtDecoding.h"

namespace {

PictureRead Fail(const QString& message) {
  PictureRead result;
  result.error = message;
  return result;
}

// The EXIF orientation (1..8) of the transformation a plugin reports.
int OrientationOf(QImageIOHandler::Transformations t) {
  switch (t) {
    case QImageIOHandler::TransformationMirror: return 2;
    case QImageIOHandler::TransformationRotate180: return 3;
    case QImageIOHandler::TransformationFlip: return 4;
    case QImageIOHandler::TransformationFlipAndRotate90: return 5;
    case QImageIOHandler::TransformationRotate90: return 6;
    case QImageIOHandler::TransformationMirrorAndRotate90: return 7;
    case QImageIOHandler::TransformationRotate270: return 8;
    default: return 1;
  }
}

// A size the program's readers take, or why not.
QString SizeRefusal(QSize s, qint64 maxPixels) {
  if (s.width() > kMaxPictureSide || s.height() > kMaxPictureSide)
    return QStringLiteral("图像尺寸过大（超过 %1 像素）").arg(kMaxPictureSide);
  if (qint64(s.width()) * s.height() > maxPixels)
    return QStringLiteral("图像过大（%1 × %2 像素），无法打开").arg(s.width()).arg(s.height());
  return {};
}

}  // namespace

PictureRead ReadThroughQtPlugin(const PictureFormat& format, const uchar* data, qsizetype size, qint64 maxPixels) {
  const QString damaged = QStringLiteral("%1 图像已损坏，或是本程序不能读取的一种 %1 图像").arg(format.name);
  ShareQtAllocationLimit();
  QBuffer buffer;
  buffer.setData(QByteArray::fromRawData(reinterpret_cast<const char*>(data), size));
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format.qtPlugin);
  // Only the row's own plugin reads the file: no other is asked to guess.
  reader.setAutoDetectImageFormat(false);
  reader.setDecideFormatFromContent(false);
  reader.setAutoTransform(false);  // turned below, within the same limits
  if (!reader.canRead()) {
    // No plugin answered for the format at all: it is not installed.
    if (reader.error() == QImageReader::UnsupportedFormatError)
      return Fail(QStringLiteral("无法打开 %1 图像：系统中缺少 Qt 的 %1 图像插件").arg(format.name));
    return Fail(damaged);
  }
  const QSize s = reader.size();
  if (!s.isValid() || s.isEmpty()) return Fail(damaged);
  if (const QString refusal = SizeRefusal(s, maxPixels); !refusal.isEmpty()) return Fail(refusal);
  const QImage::Format decodedAs = reader.imageFormat();
  if (DecodedBytes(s, decodedAs) > kMaxDecodedBytes)
    return Fail(QStringLiteral("图像过大（%1 × %2 像素，每像素 %3 位），无法打开")
                    .arg(s.width())
                    .arg(s.height())
                    .arg(QImage::toPixelFormat(decodedAs).bitsPerPixel()));
  const int orientation =
      format.orientation ? format.orientation(data, size)
      : reader.supportsOption(QImageIOHandler::ImageTransformation) ? OrientationOf(reader.transformation())
                                                                    : 1;

  // A plugin that decodes into a picture of its size and format is given one in huge pages, whose
  // first touch costs less.
  QImage image;
  if (decodedAs == QImage::Format_RGB32 || decodedAs == QImage::Format_ARGB32 ||
      decodedAs == QImage::Format_ARGB32_Premultiplied) {
    image = AllocatePicture(s.width(), s.height(), decodedAs);
    if (image.isNull()) return Fail(QStringLiteral("内存不足，无法打开图像"));
  }
  if (!reader.read(&image) || image.isNull()) return Fail(damaged);
  // What was decoded is what the header said, or is held to the same limits.
  if (image.size() != s)
    if (const QString refusal = SizeRefusal(image.size(), maxPixels); !refusal.isEmpty()) return Fail(refusal);
  image = Oriented(OpaqueOverWhite(std::move(image)), orientation);
  if (image.isNull()) return Fail(QStringLiteral("内存不足，无法打开图像"));
  PictureRead result;
  result.image = std::move(image);
  return result;
}
