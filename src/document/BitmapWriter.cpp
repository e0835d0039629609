#include "document/BitmapWriter.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstring>

namespace {

void Put16(uchar* p, quint32 v) {
  p[0] = uchar(v);
  p[1] = uchar(v >> 8);
}
void Put32(uchar* p, quint32 v) {
  p[0] = uchar(v);
  p[1] = uchar(v >> 8);
  p[2] = uchar(v >> 16);
  p[3] = uchar(v >> 24);
}

// Asks for huge pages under the untouched middle of a large new buffer: the first write to a
// fresh 48 MB buffer otherwise costs more than the encoding itself.
void PreferHugePages(char* data, qsizetype size) {
#ifdef MADV_HUGEPAGE
  constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
  if (size < qsizetype(4 * kHugePage)) return;
  const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kHugePage - 1) & ~(kHugePage - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(data) + std::uintptr_t(size)) & ~(kHugePage - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)data;
  (void)size;
#endif
}

// Four 32-bit pixels become 12 bytes of blue, green, red.
void Row24(const quint32* s, uchar* d, int width) {
  int x = 0;
  for (; x + 4 <= width; x += 4, s += 4, d += 12) {
    const quint32 a = s[0] & 0xFFFFFFu, b = s[1] & 0xFFFFFFu, c = s[2] & 0xFFFFFFu,
                  e = s[3] & 0xFFFFFFu;
    const quint32 w0 = a | (b << 24), w1 = (b >> 8) | (c << 16), w2 = (c >> 16) | (e << 8);
    std::memcpy(d, &w0, 4);
    std::memcpy(d + 4, &w1, 4);
    std::memcpy(d + 8, &w2, 4);
  }
  for (; x < width; ++x, ++s, d += 3) {
    d[0] = uchar(*s);
    d[1] = uchar(*s >> 8);
    d[2] = uchar(*s >> 16);
  }
}

}  // namespace

QByteArray WriteBitmap(const QImage& image, int dotsPerMetre) {
  if (image.isNull()) return {};
  QImage converted;
  const QImage* source = &image;
  if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32) {
    converted = image.convertToFormat(QImage::Format_RGB32);
    source = &converted;
  }
  const int w = source->width();
  const int h = source->height();
  const qsizetype stride = (qsizetype(w) * 3 + 3) & ~qsizetype(3);
  const qsizetype pixelBytes = stride * h;
  constexpr int kHeaders = 14 + 40;
  QByteArray bytes(kHeaders + pixelBytes, Qt::Uninitialized);
  PreferHugePages(bytes.data(), bytes.size());
  auto* out = reinterpret_cast<uchar*>(bytes.data());
  std::memset(out, 0, kHeaders);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out + 2, quint32(bytes.size()));
  Put32(out + 10, kHeaders);
  uchar* info = out + 14;
  Put32(info, 40);
  Put32(info + 4, quint32(w));
  Put32(info + 8, quint32(h));
  Put16(info + 12, 1);   // planes
  Put16(info + 14, 24);  // bits per pixel
  Put32(info + 20, quint32(pixelBytes));
  Put32(info + 24, quint32(dotsPerMetre));
  Put32(info + 28, quint32(dotsPerMetre));
  const uchar* in = source->constBits();
  const qsizetype bpl = source->bytesPerLine();
  for (int r = 0; r < h; ++r) {
    uchar* d = out + kHeaders + qsizetype(r) * stride;
    Row24(reinterpret_cast<const quint32*>(in + qsizetype(h - 1 - r) * bpl), d, w);
    for (qsizetype i = qsizetype(w) * 3; i < stride; ++i) d[i] = 0;
  }
  return bytes;
}
