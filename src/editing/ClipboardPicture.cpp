#include "editing/ClipboardPicture.h"

#include <QBuffer>
#include <QClipboard>
#include <QImageReader>
#include <QMimeData>

#include "document/PngFormat.h"
#include "document/QtDecoding.h"
#include "figures/Canvas.h"

namespace clipboard {

namespace {

// A picture held as an encoded file under `format`: its size is read from the header first, so an
// enormous picture is refused before it is decoded. Null (with `size` untouched) when the format
// holds no picture.
QImage DecodeFile(const QMimeData& data, const QString& format, QSize* size) {
  QByteArray bytes = data.data(format);
  if (bytes.isEmpty()) return {};
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QSize s = reader.size();
  if (!s.isValid()) return {};
  *size = s;
  if (!PastableSize(s)) return {};
  // The same room as for the pictures the program opens (Qt's default bound is lower).
  ShareQtAllocationLimit();
  return reader.read();
}

QImage Decode(bool own, const QMimeData& data, QSize* size) {
  // Our own picture at 1x comes before its companion at k times the detail.
  const QString ownType = QString::fromLatin1(kOwnPictureType);
  if (data.hasFormat(ownType)) {
    const QImage img = DecodeFile(data, ownType, size);
    if (!img.isNull() || (size->isValid() && !PastableSize(*size))) return img;
  }
  auto fromImageData = [&]() -> QImage {
    if (!data.hasImage()) return {};
    const QImage img = qvariant_cast<QImage>(data.imageData());
    if (!img.isNull()) *size = img.size();
    return img;
  };
  // Our own copy (or a picture set in this process) is at hand as it is.
  if (own) {
    const QImage own = fromImageData();
    if (!own.isNull()) return own;
  }
  for (const QString& format : data.formats()) {
    if (!format.startsWith(QLatin1String("image/"))) continue;
    const QImage img = DecodeFile(data, format, size);
    if (!img.isNull()) return img;
    if (size->isValid() && !PastableSize(*size)) return {};
  }
  return fromImageData();
}

}  // namespace

bool PastableSize(QSize s) {
  if (s.width() <= 0 || s.height() <= 0) return true;  // empty: nothing to refuse
  return s.width() <= Canvas::kMaxSide && s.height() <= Canvas::kMaxSide &&
         qint64{s.width()} * s.height() * 4 <= kMaxPastePixelBytes;
}

namespace {
QImage Read(bool own, const QMimeData& data, QSize* size) {
  *size = QSize();
  const QImage image = Decode(own, data, size);
  if (size->isValid() && !PastableSize(*size)) return QImage();
  // Pasted pixels are opaque: transparent parts become white, as in a picture file, so that AND
  // leaves the picture beneath them.
  return OpaqueOverWhite(image);
}
}  // namespace

QImage ReadPicture(const QClipboard& clipboard, const QMimeData& data, QSize* size) {
  return Read(clipboard.ownsClipboard(), data, size);
}

QImage ReadPicture(const QMimeData& data, QSize* size) { return Read(false, data, size); }

QMimeData* PictureData(const QImage& picture) {
  auto* data = new QMimeData;
  data->setImageData(picture);
  // Other programs read the picture in a common file format.
  for (const char* fmt : {"PNG", "BMP"}) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (picture.save(&buffer, fmt))
      data->setData(QStringLiteral("image/") + QString::fromLatin1(fmt).toLower(), bytes);
  }
  return data;
}

QMimeData* HighResolutionData(const QImage& hd, int dotsPerMetre, const QImage& plain) {
  const QByteArray hdPng = WritePng(hd, dotsPerMetre);
  if (hdPng.isEmpty()) return nullptr;
  auto* data = new QMimeData;
  // The image itself carries the resolution too, for the formats Qt encodes from it on request.
  QImage image = hd;
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  data->setImageData(image);
  data->setData(QStringLiteral("image/png"), hdPng);
  const QByteArray own = WritePng(plain, kScreenDotsPerMetre);
  if (!own.isEmpty()) data->setData(QString::fromLatin1(kOwnPictureType), own);
  return data;
}

}  // namespace clipboard
