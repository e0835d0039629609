#include "document/PngFormat.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>
#include <QImageWriter>
#include <QRgba64>
#include <array>
#include <cstring>

#include "document/BitmapReader.h"
#include "document/OverWhite.h"

namespace {

constexpr uchar kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

// Deflate's largest ratio of decompressed to compressed bytes: image data declaring more raw
// bytes than this many times its compressed bytes cannot be whole.
constexpr qint64 kDeflateMaxRatio = 1032;

quint32 U32(const uchar* p) {
  return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

// The CRC-32 of the PNG chunks (ISO 3309), one table lookup a byte.
constexpr std::array<quint32, 256> kCrcTable = [] {
  std::array<quint32, 256> table{};
  for (quint32 n = 0; n < 256; ++n) {
    quint32 c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}();

quint32 Crc(const uchar* p, qsizetype n) {
  quint32 c = 0xFFFFFFFFu;
  for (qsizetype i = 0; i < n; ++i) c = kCrcTable[(c ^ p[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

PictureRead Fail(const QString& message) {
  PictureRead result;
  result.error = message;
  return result;
}

QString Damaged(const QString& why) { return QStringLiteral("PNG 图像已损坏：") + why; }

bool IsType(const uchar* type, const char* name) { return std::memcmp(type, name, 4) == 0; }

// What the chunks say about the picture.
struct Layout {
  qint64 width = 0;
  qint64 height = 0;
  int bitDepth = 0;
  int colorType = 0;
  bool interlaced = false;
  bool transparency = false;  // a tRNS chunk: Qt then reads the picture with alpha
  qint64 imageBytes = 0;      // compressed bytes of all IDAT chunks
};

// Samples per pixel of each colour type, 0 for a colour type PNG does not have.
int Channels(int colorType) {
  switch (colorType) {
    case 0: return 1;  // grey
    case 2: return 3;  // RGB
    case 3: return 1;  // palette
    case 4: return 2;  // grey and alpha
    case 6: return 4;  // RGBA
    default: return 0;
  }
}

bool DepthAllowed(int colorType, int depth) {
  switch (colorType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6: return depth == 8 || depth == 16;
    default: return false;
  }
}

// Reads IHDR into `layout`; an empty string when it is sound, else why not.
QString ReadHeader(const uchar* body, qint64 maxPixels, Layout* layout) {
  const quint32 w = U32(body), h = U32(body + 4);
  layout->bitDepth = body[8];
  layout->colorType = body[9];
  layout->interlaced = body[12] == 1;
  if (w == 0 || h == 0 || w > 0x7FFFFFFFu || h > 0x7FFFFFFFu) return Damaged(QStringLiteral("图像宽度或高度无效"));
  if (w > quint32(kMaxPictureSide) || h > quint32(kMaxPictureSide))
    return QStringLiteral("图像尺寸过大（超过 %1 像素）").arg(kMaxPictureSide);
  if (qint64(w) * h > maxPixels) return QStringLiteral("图像过大（%1 × %2 像素），无法打开").arg(w).arg(h);
  if (!DepthAllowed(layout->colorType, layout->bitDepth) || body[10] != 0 || body[11] != 0 || body[12] > 1)
    return Damaged(QStringLiteral("图像头无效"));
  layout->width = w;
  layout->height = h;
  return {};
}

// Walks the chunks from the signature to IEND, checking every checksum but those of the image
// data (libpng checks them as it decodes). An empty string when the file is sound, else why not.
QString WalkChunks(const uchar* data, qsizetype size, qint64 maxPixels, Layout* layout) {
  const QString truncated = Damaged(QStringLiteral("文件不完整"));
  qsizetype p = sizeof kSignature;
  for (bool first = true;; first = false) {
    if (size - p < 8) return truncated;
    const quint32 length = U32(data + p);
    const uchar* type = data + p + 4;
    if (length > 0x7FFFFFFFu) return Damaged(QStringLiteral("数据块长度无效"));
    for (int i = 0; i < 4; ++i)
      if (!((type[i] >= 'A' && type[i] <= 'Z') || (type[i] >= 'a' && type[i] <= 'z')))
        return Damaged(QStringLiteral("数据块无效"));
    const bool end = IsType(type, "IEND");
    const qint64 next = qint64(p) + 12 + length;
    if (next > size) {
      // Some writers leave out the checksum of the end chunk, which holds nothing; Qt reads
      // such a file, and every pixel is there.
      if (end && length == 0) break;
      return truncated;
    }
    const bool imageData = IsType(type, "IDAT");
    if (!imageData && Crc(type, qsizetype(length) + 4) != U32(data + p + 8 + length))
      return Damaged(QStringLiteral("校验和错误（%1 数据块）").arg(QString::fromLatin1(reinterpret_cast<const char*>(type), 4)));
    if (first) {
      if (!IsType(type, "IHDR") || length != 13) return Damaged(QStringLiteral("缺少图像头"));
      const QString problem = ReadHeader(data + p + 8, maxPixels, layout);
      if (!problem.isEmpty()) return problem;
    }
    if (imageData) layout->imageBytes += length;
    if (IsType(type, "tRNS")) layout->transparency = true;
    p = qsizetype(next);
    if (end) break;
  }
  return {};
}

// The bytes of the decompressed image data the header declares: each row of each pass of the
// picture with its filter byte.
qint64 RawBytes(const Layout& l) {
  const qint64 bits = qint64(Channels(l.colorType)) * l.bitDepth;
  auto rows = [&](qint64 w, qint64 h) { return w > 0 && h > 0 ? h * (1 + (w * bits + 7) / 8) : 0; };
  if (!l.interlaced) return rows(l.width, l.height);
  // Adam7: the seven passes start at (x0, y0) and step by (dx, dy).
  static constexpr int kPass[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                      {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
  qint64 total = 0;
  for (const auto& s : kPass)
    total += rows((l.width - s[0] + s[2] - 1) / s[2], (l.height - s[1] + s[3] - 1) / s[3]);
  return total;
}

// After libpng refused the image data: whether one of its chunks has a wrong checksum.
bool ImageDataChecksumWrong(const uchar* data, qsizetype size) {
  for (qsizetype p = sizeof kSignature; size - p >= 12;) {
    const quint32 length = U32(data + p);
    if (qint64(p) + 12 + length > size) break;
    if (IsType(data + p + 4, "IDAT") && Crc(data + p + 4, qsizetype(length) + 4) != U32(data + p + 8 + length))
      return true;
    p += qsizetype(length) + 12;
  }
  return false;
}

// Qt refuses to allocate more than its own limit (128 MB in Qt 6.4). The program's limit is a
// picture of kMaxPicturePixels, which Qt decodes at up to 8 bytes a pixel (16-bit samples).
void RaiseQtAllocationLimit() {
  const int needed = int((kMaxPicturePixels * 8) >> 20) + 1;
  const int limit = QImageReader::allocationLimit();
  if (limit != 0 && limit < needed) QImageReader::setAllocationLimit(needed);
}

quint32 To8(quint32 sample16) { return (sample16 + 128) / 257; }  // round(v / 257)

// The picture Qt decoded, as an opaque Format_RGB32 picture over white.
QImage OpaqueOverWhite(QImage image) {
  const int w = image.width(), h = image.height();
  switch (image.format()) {
    case QImage::Format_RGB32:
      return image;
    case QImage::Format_ARGB32: {
      // In place: the buffer becomes the opaque picture.
      for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
          if (row[x] < 0xFF000000u) row[x] = ArgbOverWhite(row[x]);
      }
      image.reinterpretAsFormat(QImage::Format_RGB32);
      return image;
    }
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8: {
      QList<QRgb> table = image.colorTable();
      for (QRgb& c : table) c = ArgbOverWhite(c);
      image.setColorTable(table);
      return image.convertToFormat(QImage::Format_RGB32);
    }
    case QImage::Format_Grayscale16:
    case QImage::Format_RGBX64:
    case QImage::Format_RGBA64: {
      QImage out = AllocatePicture(w, h);
      if (out.isNull()) return out;
      const bool grey = image.format() == QImage::Format_Grayscale16;
      for (int y = 0; y < h; ++y) {
        auto* d = reinterpret_cast<quint32*>(out.scanLine(y));
        if (grey) {
          const auto* s = reinterpret_cast<const quint16*>(image.constScanLine(y));
          for (int x = 0; x < w; ++x) d[x] = 0xFF000000u | To8(s[x]) * 0x010101u;
        } else {
          const auto* s = reinterpret_cast<const QRgba64*>(image.constScanLine(y));
          for (int x = 0; x < w; ++x)
            d[x] = PixelOverWhite(To8(s[x].red()), To8(s[x].green()), To8(s[x].blue()), To8(s[x].alpha()));
        }
      }
      return out;
    }
    default:
      if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB32);
      return OpaqueOverWhite(image.convertToFormat(QImage::Format_ARGB32));
  }
}

}  // namespace

bool IsPngData(const uchar* data, qsizetype size) {
  return size >= qsizetype(sizeof kSignature) && std::memcmp(data, kSignature, sizeof kSignature) == 0;
}

PictureRead ReadPng(const uchar* data, qsizetype size, qint64 maxPixels) {
  if (!IsPngData(data, size)) return Fail(QStringLiteral("不是 PNG 图像"));
  Layout layout;
  const QString problem = WalkChunks(data, size, maxPixels, &layout);
  if (!problem.isEmpty()) return Fail(problem);
  if (layout.imageBytes == 0) return Fail(Damaged(QStringLiteral("没有图像数据")));
  if (RawBytes(layout) > kDeflateMaxRatio * layout.imageBytes)
    return Fail(Damaged(QStringLiteral("图像数据比图像尺寸所需的少得多")));

  RaiseQtAllocationLimit();
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), size);
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "png");
  reader.setDecideFormatFromContent(false);
  QImage image;
  // Qt decodes an 8-bit RGB picture without transparency as Format_RGB32, into a picture of that
  // size and format it is given: given one in huge pages, its first touch costs less.
  // Colour or alpha at 8 bits comes as Format_ARGB32, blended over white in place.
  if (layout.bitDepth == 8 && layout.colorType != 0 && layout.colorType != 3) {
    const bool opaque = layout.colorType == 2 && !layout.transparency;
    image = AllocatePicture(int(layout.width), int(layout.height),
                            opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32);
  }
  if (!reader.read(&image)) {
    if (ImageDataChecksumWrong(data, size)) return Fail(Damaged(QStringLiteral("校验和错误（IDAT 数据块）")));
    return Fail(Damaged(QStringLiteral("图像数据无法解码")));
  }
  PictureRead result;
  result.image = OpaqueOverWhite(std::move(image));
  if (result.image.isNull()) return Fail(QStringLiteral("内存不足，无法打开图像"));
  // The pixels are shown as they are stored; a colour profile read with them is not kept.
  result.image.setColorSpace(QColorSpace());
  return result;
}

QByteArray WritePng(const QImage& image, int dotsPerMetre) {
  if (image.isNull()) return {};
  QImage converted;
  const QImage* source = &image;
  if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32) {
    converted = image.convertToFormat(QImage::Format_RGB32);
    source = &converted;
  }
  // A view of the same pixels as opaque RGB (Qt's writer then drops the fourth byte), carrying
  // nothing but the resolution: no text, no colour profile, and no copy of the pixels.
  QImage view(source->constBits(), source->width(), source->height(), source->bytesPerLine(),
              QImage::Format_RGB32);
  view.setDotsPerMeterX(dotsPerMetre);
  view.setDotsPerMeterY(dotsPerMetre);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(view)) return {};
  return bytes;
}
