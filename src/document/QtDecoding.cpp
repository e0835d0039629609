#include "document/QtDecoding.h"

#include <QColorSpace>
#include <QImageReader>
#include <QPixelFormat>
#include <QRgba64>
#include <algorithm>
#include <mutex>

#include "document/BitmapReader.h"
#include "document/OverWhite.h"

namespace {

quint32 To8(quint32 sample16) { return (sample16 + 128) / 257; }  // round(v / 257)

// Premultiplied alpha over white: each channel c + 255 − a (a channel above its alpha, which a
// damaged file may hold, stays white).
quint32 PremultipliedOverWhite(quint32 r, quint32 g, quint32 b, quint32 a) {
  auto channel = [a](quint32 c) { return std::min<quint32>(c + 255 - a, 255); };
  return 0xFF000000u | (channel(r) << 16) | (channel(g) << 8) | channel(b);
}

// 8-bit pixels over white, in place.
void ArgbInPlace(QImage& image, bool premultiplied) {
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<quint32*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const quint32 p = row[x];
      if (p >= 0xFF000000u) continue;
      row[x] = premultiplied ? PremultipliedOverWhite((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF, p >> 24)
                             : ArgbOverWhite(p);
    }
  }
  image.reinterpretAsFormat(QImage::Format_RGB32);
}

// 16-bit pixels over white, in place: each becomes the opaque 8-bit result, held as 16-bit
// samples that Qt's own conversion to 8 bits (exact for multiples of 257) then gives back as they
// are, in the same buffer.
bool Rgba64InPlace(QImage& image) {
  const bool premultiplied = image.format() == QImage::Format_RGBA64_Premultiplied;
  if (image.format() != QImage::Format_RGBX64) {
    for (int y = 0; y < image.height(); ++y) {
      auto* row = reinterpret_cast<QRgba64*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x) {
        const QRgba64 p = row[x];
        if (p.alpha() == 65535) continue;
        const quint32 out = premultiplied
                                ? PremultipliedOverWhite(To8(p.red()), To8(p.green()), To8(p.blue()), To8(p.alpha()))
                                : PixelOverWhite(To8(p.red()), To8(p.green()), To8(p.blue()), To8(p.alpha()));
        row[x] = QRgba64::fromRgba64(quint16(((out >> 16) & 0xFF) * 257), quint16(((out >> 8) & 0xFF) * 257),
                                     quint16((out & 0xFF) * 257), 65535);
      }
    }
  }
  // Alpha is now opaque everywhere: Qt's conversion to 8 bits rounds as round(v / 257).
  image.convertTo(QImage::Format_RGB32);
  return !image.isNull() && image.format() == QImage::Format_RGB32;
}

QImage Grey16(const QImage& image) {
  QImage out = AllocatePicture(image.width(), image.height());
  if (out.isNull()) return out;
  for (int y = 0; y < image.height(); ++y) {
    const auto* s = reinterpret_cast<const quint16*>(image.constScanLine(y));
    auto* d = reinterpret_cast<quint32*>(out.scanLine(y));
    for (int x = 0; x < image.width(); ++x) d[x] = 0xFF000000u | To8(s[x]) * 0x010101u;
  }
  return out;
}

}  // namespace

void ShareQtAllocationLimit() {
  static std::once_flag once;
  std::call_once(once, [] { QImageReader::setAllocationLimit(int(kMaxDecodedBytes >> 20)); });
}

qint64 DecodedBytes(QSize size, QImage::Format format) {
  if (size.width() <= 0 || size.height() <= 0) return -1;
  const int bits = format == QImage::Format_Invalid ? 32 : int(QImage::toPixelFormat(format).bitsPerPixel());
  const qint64 bytesPerLine = (qint64(size.width()) * std::max(bits, 1) + 31) / 32 * 4;
  return bytesPerLine * size.height();
}

bool OwnBufferNeeded(QImage::Format format) {
  switch (format) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBX64:
    case QImage::Format_RGBA64:
    case QImage::Format_RGBA64_Premultiplied:
      return false;
    default:
      return true;
  }
}

QImage OpaqueOverWhite(QImage image) {
  if (image.isNull()) return image;
  switch (image.format()) {
    case QImage::Format_RGB32:
      break;
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
      ArgbInPlace(image, image.format() == QImage::Format_ARGB32_Premultiplied);
      break;
    case QImage::Format_RGBX64:
    case QImage::Format_RGBA64:
    case QImage::Format_RGBA64_Premultiplied:
      if (!Rgba64InPlace(image)) return QImage();
      break;
    case QImage::Format_Grayscale16:
      image = Grey16(image);
      break;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8: {
      QList<QRgb> table = image.colorTable();
      for (QRgb& c : table) c = ArgbOverWhite(c);
      image.setColorTable(table);
      image = image.convertToFormat(QImage::Format_RGB32);
      break;
    }
    default:
      if (!image.hasAlphaChannel()) {
        image = image.convertToFormat(QImage::Format_RGB32);
        break;
      }
      return OpaqueOverWhite(image.convertToFormat(QImage::Format_ARGB32));
  }
  if (image.isNull()) return image;
  // The pixels are shown as they are stored; a colour profile read with them is not kept.
  image.setColorSpace(QColorSpace());
  return image;
}

QImage Oriented(QImage image, int orientation) {
  if (image.isNull()) return image;
  switch (orientation) {
    case 2: return std::move(image).mirrored(true, false);
    case 3: return std::move(image).mirrored(true, true);
    case 4: return std::move(image).mirrored(false, true);
    case 5:
    case 6:
    case 7:
    case 8: break;
    default: return image;
  }
  // Stored column x becomes row x (5, 6) or w - 1 - x (7, 8); stored row y becomes column y
  // (5, 8) or h - 1 - y (6, 7).
  const int w = image.width(), h = image.height();
  QImage turned = AllocatePicture(h, w);
  if (turned.isNull()) return turned;
  const bool rowsReversed = orientation == 7 || orientation == 8;
  const bool columnsReversed = orientation == 6 || orientation == 7;
  // In tiles, so that the rows read and the rows written stay in the cache.
  constexpr int kTile = 64;
  const uchar* in = image.constBits();
  uchar* out = turned.bits();
  const qsizetype inLine = image.bytesPerLine(), outLine = turned.bytesPerLine();
  for (int y0 = 0; y0 < h; y0 += kTile)
    for (int x0 = 0; x0 < w; x0 += kTile)
      for (int y = y0; y < std::min(h, y0 + kTile); ++y) {
        const auto* s = reinterpret_cast<const quint32*>(in + qsizetype(y) * inLine);
        const int column = columnsReversed ? h - 1 - y : y;
        for (int x = x0; x < std::min(w, x0 + kTile); ++x)
          reinterpret_cast<quint32*>(out + qsizetype(rowsReversed ? w - 1 - x : x) * outLine)[column] = s[x];
      }
  return turned;
}
