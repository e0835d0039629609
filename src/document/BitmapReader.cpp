#include "document/BitmapReader.h"

#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdlib>
#include <cstring>

#include "document/OverWhite.h"

namespace {

// Compression values of the bitmap headers.
enum : quint32 {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitFields = 3,  // OS/2 2.x headers: one-dimensional Huffman
  kJpeg = 4,       // OS/2 2.x headers: RLE24
  kPng = 5,
  kAlphaBitFields = 6,
};

constexpr quint32 kOpaque = 0xFF000000u;

quint16 U16(const uchar* p) { return quint16(p[0] | (p[1] << 8)); }
quint32 U32(const uchar* p) {
  return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

PictureRead Fail(const QString& message) {
  PictureRead result;
  result.error = message;
  return result;
}

QImage NewPicture(int width, int height, QImage::Format format);

PictureRead Damaged(const char* why) {
  return Fail(QStringLiteral("位图文件已损坏：") + QString::fromUtf8(why));
}

// One colour channel of a 16- or 32-bit pixel given by a bit mask: the masked value is shifted
// down to at most 8 bits and scaled to 0..255 through a table.
struct Channel {
  int shift = 0;
  quint32 mask = 0;
  uchar scale[256] = {};

  void Set(quint32 channelMask) {
    mask = channelMask;
    if (mask == 0) return;  // a missing channel reads as 0
    shift = std::countr_zero(mask);
    int width = 32 - std::countl_zero(mask >> shift);
    if (width > 8) shift += width - 8;
    const quint32 max = mask >> shift;  // at most 255, never 0
    for (quint32 v = 0; v <= max; ++v) scale[v] = uchar((v * 255 + max / 2) / max);
  }
  quint32 Read(quint32 pixel) const { return mask ? scale[(pixel & mask) >> shift] : 0; }
};

struct Masks {
  Channel red, green, blue;
  quint32 Pixel(quint32 v) const {
    return kOpaque | (red.Read(v) << 16) | (green.Read(v) << 8) | blue.Read(v);
  }
};

// Three 24-bit pixels and a bit make 12 bytes that become four 32-bit pixels.
void Row24(const uchar* s, quint32* d, int width) {
  int x = 0;
  for (; x + 4 <= width; x += 4, s += 12, d += 4) {
    quint32 a, b, c;
    std::memcpy(&a, s, 4);
    std::memcpy(&b, s + 4, 4);
    std::memcpy(&c, s + 8, 4);
    d[0] = a | kOpaque;
    d[1] = (a >> 24) | (b << 8) | kOpaque;
    d[2] = (b >> 16) | (c << 16) | kOpaque;
    d[3] = (c >> 8) | kOpaque;
  }
  for (; x < width; ++x, s += 3) *d++ = kOpaque | (quint32(s[2]) << 16) | (quint32(s[1]) << 8) | s[0];
}

void RowPalette(const uchar* s, quint32* d, int width, int bits, const quint32* palette) {
  switch (bits) {
    case 1:
      for (int x = 0; x < width; ++x) d[x] = palette[(s[x >> 3] >> (7 - (x & 7))) & 1];
      break;
    case 2:
      for (int x = 0; x < width; ++x) d[x] = palette[(s[x >> 2] >> (6 - 2 * (x & 3))) & 3];
      break;
    case 4:
      for (int x = 0; x < width; ++x) d[x] = palette[(s[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
      break;
    default:
      for (int x = 0; x < width; ++x) d[x] = palette[s[x]];
      break;
  }
}

// The pixel x of a row of 16- or 32-bit pixels.
quint32 PixelAt(const uchar* row, int bits, int x) { return bits == 16 ? U16(row + 2 * x) : U32(row + 4 * x); }

// Whether any 16- or 32-bit pixel of the rows has a bit of `alphaMask` set.
bool AnyAlpha(const uchar* pixels, qint64 stride, int width, int height, int bits, quint32 alphaMask) {
  for (int r = 0; r < height; ++r) {
    const uchar* s = pixels + qsizetype(r) * stride;
    for (int x = 0; x < width; ++x)
      if (PixelAt(s, bits, x) & alphaMask) return true;
  }
  return false;
}

// What new pictures are filled with before a reader writes them (tests); -1: nothing.
std::atomic<qint64> g_newPictureFill{-1};

// Draws a run-length encoded stream (RLE8 or RLE4) into `image`, already filled with palette
// entry 0. Pixels beyond the right edge are dropped; the stream ends at its end-of-bitmap marker,
// at the top row or where the data ends.
void DecodeRle(const uchar* s, qsizetype n, bool rle4, const quint32* palette, bool topDown,
               QImage& image) {
  const int w = image.width();
  const int h = image.height();
  uchar* bits = image.bits();
  const qsizetype bpl = image.bytesPerLine();
  auto row = [&](int y) {
    return reinterpret_cast<quint32*>(bits + qsizetype(topDown ? y : h - 1 - y) * bpl);
  };
  qsizetype p = 0;
  int x = 0;
  int y = 0;
  while (p + 1 < n && y < h) {
    const int a = s[p];
    const int b = s[p + 1];
    p += 2;
    if (a > 0) {  // a run of `a` pixels of one index (RLE4: two alternating indices)
      const int count = std::min(a, w - x);
      quint32* d = row(y) + x;
      if (rle4) {
        const quint32 even = palette[b >> 4], odd = palette[b & 15];
        for (int i = 0; i < count; ++i) d[i] = (i & 1) ? odd : even;
      } else {
        std::fill(d, d + count, palette[b]);
      }
      x += count;
    } else if (b == 0) {  // end of line
      x = 0;
      ++y;
    } else if (b == 1) {  // end of bitmap
      break;
    } else if (b == 2) {  // delta: move right and up
      if (p + 1 >= n) break;
      x = std::min(w, x + s[p]);
      y += s[p + 1];
      p += 2;
    } else {  // absolute run of `b` indices, padded to 16 bits
      const qsizetype bytes = rle4 ? (b + 1) / 2 : b;
      const int available = int(std::min<qsizetype>(b, rle4 ? (n - p) * 2 : n - p));
      const int count = std::min(available, w - x);
      quint32* d = row(y) + x;
      for (int i = 0; i < count; ++i) {
        const int index = rle4 ? ((s[p + i / 2] >> ((i & 1) ? 0 : 4)) & 15) : s[p + i];
        d[i] = palette[index];
      }
      x += count;
      if (available < b) break;
      p += (bytes + 1) & ~qsizetype(1);
    }
  }
}

}  // namespace

bool IsBitmapData(const uchar* data, qsizetype size) {
  return size >= 2 && data[0] == 'B' && data[1] == 'M';
}

void SetNewPictureFill(qint64 pattern) { g_newPictureFill.store(pattern < 0 ? -1 : pattern & 0xFFFFFFFF); }

QImage AllocatePicture(int width, int height, QImage::Format format) {
  QImage image = NewPicture(width, height, format);
  const qint64 fill = g_newPictureFill.load(std::memory_order_relaxed);
  if (fill >= 0 && !image.isNull()) image.fill(uint(fill));
  return image;
}

namespace {
QImage NewPicture(int width, int height, QImage::Format format) {
  const qsizetype bytes = qsizetype(width) * 4 * height;
  constexpr qsizetype kHugePage = qsizetype(2) << 20;
  if (bytes >= 4 * kHugePage) {
    const qsizetype rounded = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    if (void* p = std::aligned_alloc(kHugePage, size_t(rounded))) {
#ifdef MADV_HUGEPAGE
      madvise(p, size_t(rounded), MADV_HUGEPAGE);
#endif
      return QImage(
          static_cast<uchar*>(p), width, height, qsizetype(width) * 4, format,
          [](void* q) { std::free(q); }, p);
    }
  }
  return QImage(width, height, format);
}
}  // namespace

PictureRead ReadBitmap(const uchar* data, qsizetype size, qint64 maxPixels) {
  if (!IsBitmapData(data, size)) return Fail(QStringLiteral("不是位图文件或 JPEG 图像"));
  if (size < 18) return Damaged("文件头不完整");
  const quint32 offBits = U32(data + 10);
  const quint32 headerSize = U32(data + 14);
  if (headerSize < 12 || (headerSize > 12 && headerSize < 16) || headerSize > 124 ||
      (headerSize > 64 && headerSize != 108 && headerSize != 124))
    return Fail(QStringLiteral("不支持的位图信息头（%1 字节）").arg(headerSize));
  if (qsizetype(14 + headerSize) > size) return Damaged("信息头不完整");
  const uchar* h = data + 14;

  const bool core = headerSize == 12;
  const bool os2 = !core && headerSize != 40 && headerSize != 52 && headerSize != 56 &&
                   headerSize != 108 && headerSize != 124;
  qint64 width, height;
  int bits;
  quint32 compression = kRgb, colorsUsed = 0;
  if (core) {
    width = U16(h + 4);
    height = U16(h + 6);
    bits = U16(h + 10);
  } else {
    width = qint32(U32(h + 4));
    height = qint32(U32(h + 8));
    bits = U16(h + 14);
    if (headerSize >= 20) compression = U32(h + 16);
    if (headerSize >= 36) colorsUsed = U32(h + 32);
  }
  const bool topDown = height < 0;
  height = topDown ? -height : height;
  if (width <= 0 || height <= 0) return Damaged("图像宽度或高度无效");
  if (width > kMaxPictureSide || height > kMaxPictureSide)
    return Fail(QStringLiteral("图像尺寸过大（超过 %1 像素）").arg(kMaxPictureSide));
  if (width * height > maxPixels)
    return Fail(QStringLiteral("图像过大（%1 × %2 像素），无法打开").arg(width).arg(height));

  if (os2 && (compression == 3 || compression == 4))
    return Fail(QStringLiteral("不支持的位图压缩方式"));
  if (compression == kJpeg || compression == kPng)
    return Fail(QStringLiteral("不支持的位图压缩方式（内含 JPEG 或 PNG 图像）"));
  if (compression > kAlphaBitFields) return Fail(QStringLiteral("不支持的位图压缩方式"));
  const bool bitFields = compression == kBitFields || compression == kAlphaBitFields;
  const bool rle = compression == kRle8 || compression == kRle4;
  if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return Fail(QStringLiteral("不支持的位图颜色深度（%1 位）").arg(bits));
  if ((compression == kRle8 && bits != 8) || (compression == kRle4 && bits != 4))
    return Damaged("压缩方式与颜色深度不符");
  if (bitFields && bits != 16 && bits != 32) return Damaged("压缩方式与颜色深度不符");

  // Colour masks: in the header from 52 bytes on, after a 40-byte header otherwise.
  qsizetype paletteStart = 14 + headerSize;
  Masks masks;
  quint32 alphaMask = 0;
  if (bitFields) {
    const uchar* m = h + 40;
    if (headerSize == 40) {
      const qsizetype maskBytes = compression == kAlphaBitFields ? 16 : 12;
      if (paletteStart + maskBytes > size) return Damaged("颜色掩码不完整");
      paletteStart += maskBytes;
    } else if (headerSize < 52) {
      return Damaged("缺少颜色掩码");
    }
    masks.red.Set(U32(m));
    masks.green.Set(U32(m + 4));
    masks.blue.Set(U32(m + 8));
    // An alpha mask: in the header from 56 bytes on, or after a 40-byte header that says so.
    if (!os2 && (headerSize >= 56 || (headerSize == 40 && compression == kAlphaBitFields)))
      alphaMask = U32(m + 12);
  } else if (bits == 16) {
    masks.red.Set(0x7C00);
    masks.green.Set(0x03E0);
    masks.blue.Set(0x001F);
  }

  // The palette: a count of 0 (or more than the bits can index) means 2^bits entries, limited
  // to the entries that are really there before the pixels; missing entries draw black.
  quint32 palette[256];
  std::fill(palette, palette + 256, kOpaque);
  const qsizetype pixelStart = offBits ? qsizetype(offBits) : -1;
  if (bits <= 8) {
    const qint64 maxColors = qint64(1) << bits;
    qint64 count = (colorsUsed == 0 || colorsUsed > maxColors) ? maxColors : colorsUsed;
    const int entry = core ? 3 : 4;
    const qsizetype paletteEnd = pixelStart > paletteStart ? pixelStart : size;
    count = std::min<qint64>(count, std::max<qsizetype>(0, paletteEnd - paletteStart) / entry);
    if (paletteStart + count * entry > size) return Damaged("调色板不完整");
    for (qint64 i = 0; i < count; ++i) {
      const uchar* e = data + paletteStart + i * entry;
      palette[i] = kOpaque | (quint32(e[2]) << 16) | (quint32(e[1]) << 8) | e[0];
    }
    if (pixelStart < 0) paletteStart += count * entry;
  }
  const qsizetype pixelOffset = pixelStart >= 0 ? pixelStart : paletteStart;
  if (pixelOffset >= size) return Damaged("像素数据的位置超出文件末尾");
  if (pixelOffset < 14 + qsizetype(headerSize)) return Damaged("像素数据的位置无效");
  const uchar* pixels = data + pixelOffset;
  const qsizetype available = size - pixelOffset;

  const qint64 stride = (width * bits + 31) / 32 * 4;
  if (!rle) {
    // The last row may lack its padding: some writers leave it out.
    const qint64 needed = stride * (height - 1) + (width * bits + 7) / 8;
    if (available < needed) return Damaged("像素数据不完整（文件被截断）");
  }

  QImage image = AllocatePicture(int(width), int(height));
  if (image.isNull()) return Fail(QStringLiteral("内存不足，无法打开图像"));
  const int w = int(width);
  const int ht = int(height);
  if (rle) {
    image.fill(palette[0]);
    DecodeRle(pixels, available, compression == kRle4, palette, topDown, image);
  } else {
    uchar* out = image.bits();
    const qsizetype bpl = image.bytesPerLine();
    const bool plain32 = bits == 32 && (!bitFields || (masks.red.mask == 0x00FF0000 &&
                                                       masks.green.mask == 0x0000FF00 &&
                                                       masks.blue.mask == 0x000000FF));
    if (bits == 32 && !bitFields) {
      masks.red.Set(0x00FF0000);
      masks.green.Set(0x0000FF00);
      masks.blue.Set(0x000000FF);
    }
    // A 16- or 32-bit bitmap whose header declares an alpha mask (ARGB1555, ARGB4444, ARGB8888)
    // is shown over white, unless its alpha is zero everywhere: many writers leave those bits
    // empty. The fourth byte of a plain 32-bit bitmap is not alpha.
    Channel alpha;
    if ((bits == 32 || bits == 16) && alphaMask != 0 && AnyAlpha(pixels, stride, w, ht, bits, alphaMask))
      alpha.Set(alphaMask);
    for (int r = 0; r < ht; ++r) {
      const uchar* s = pixels + qsizetype(r) * stride;
      auto* d = reinterpret_cast<quint32*>(out + qsizetype(topDown ? r : ht - 1 - r) * bpl);
      if (bits == 24) {
        Row24(s, d, w);
      } else if (alpha.mask != 0) {
        for (int x = 0; x < w; ++x) {
          const quint32 v = PixelAt(s, bits, x);
          d[x] = PixelOverWhite(masks.red.Read(v), masks.green.Read(v), masks.blue.Read(v), alpha.Read(v));
        }
      } else if (plain32) {
        for (int x = 0; x < w; ++x) d[x] = U32(s + 4 * x) | kOpaque;
      } else if (bits == 32) {
        for (int x = 0; x < w; ++x) d[x] = masks.Pixel(U32(s + 4 * x));
      } else if (bits == 16) {
        for (int x = 0; x < w; ++x) d[x] = masks.Pixel(U16(s + 2 * x));
      } else {
        RowPalette(s, d, w, bits, palette);
      }
    }
  }
  PictureRead result;
  result.image = std::move(image);
  return result;
}
