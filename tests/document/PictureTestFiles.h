#pragma once
// Test-side makers of picture files, written from the formats' definitions byte by byte, so that
// the readers are checked against the formats and not against another program's writer.
#include <QByteArray>
#include <QImage>
#include <functional>
#include <vector>

namespace picture_test {

inline void Put16(QByteArray& b, int at, quint32 v) {
  b[at] = char(v);
  b[at + 1] = char(v >> 8);
}
inline void Put32(QByteArray& b, int at, quint32 v) {
  for (int i = 0; i < 4; ++i) b[at + i] = char(v >> (8 * i));
}

// Packs raw pixel values (palette indices or packed pixels) into bitmap rows: indices below 8
// bits fill each byte from its high bits, wider pixels are little-endian, rows are padded to
// 4 bytes. The first row in the file is the bottom row unless `topDown`.
inline QByteArray PackRows(int w, int h, int bits, const std::function<quint32(int, int)>& value,
                           bool topDown = false) {
  const int stride = (w * bits + 31) / 32 * 4;
  QByteArray out(qsizetype(stride) * h, '\0');
  for (int r = 0; r < h; ++r) {
    const int y = topDown ? r : h - 1 - r;
    auto* row = reinterpret_cast<uchar*>(out.data()) + qsizetype(r) * stride;
    for (int x = 0; x < w; ++x) {
      const quint32 v = value(x, y);
      if (bits < 8) {
        const int bit = x * bits;
        row[bit / 8] |= uchar(v << (8 - bits - bit % 8));
      } else {
        for (int i = 0; i < bits / 8; ++i) row[x * bits / 8 + i] = uchar(v >> (8 * i));
      }
    }
  }
  return out;
}

struct BmpLayout {
  int headerSize = 40;  // 12 core, 16..64 OS/2 2.x, 40/52/56/108/124
  qint32 width = 1;
  qint32 height = 1;  // negative: top-down
  int bits = 24;
  quint32 compression = 0;
  quint32 colorsUsed = 0;          // written as is
  std::vector<quint32> palette;    // 0xRRGGBB, 3-byte entries for the core header
  std::vector<quint32> masks;      // red, green, blue (, alpha)
  bool masksAfterHeader = false;   // 40-byte header with BI_BITFIELDS
  QByteArray pixels;
  qint64 offBits = -1;             // -1: right after the palette
};

inline QByteArray BuildBmp(const BmpLayout& s) {
  QByteArray b(14 + s.headerSize, '\0');
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 14, quint32(s.headerSize));
  if (s.headerSize == 12) {
    Put16(b, 18, quint32(s.width));
    Put16(b, 20, quint32(s.height));
    Put16(b, 22, 1);
    Put16(b, 24, quint32(s.bits));
  } else {
    Put32(b, 18, quint32(s.width));
    Put32(b, 22, quint32(s.height));
    Put16(b, 26, 1);
    Put16(b, 28, quint32(s.bits));
    if (s.headerSize >= 20) Put32(b, 30, s.compression);
    if (s.headerSize >= 24) Put32(b, 34, quint32(s.pixels.size()));
    if (s.headerSize >= 36) Put32(b, 46, s.colorsUsed);
    if (s.headerSize >= 52 && !s.masks.empty())
      for (size_t i = 0; i < s.masks.size() && 40 + 4 * int(i) + 4 <= s.headerSize; ++i)
        Put32(b, 14 + 40 + 4 * int(i), s.masks[i]);
  }
  if (s.masksAfterHeader)
    for (quint32 m : s.masks) {
      const int at = int(b.size());
      b.resize(at + 4);
      Put32(b, at, m);
    }
  for (quint32 c : s.palette) {
    b.append(char(c & 0xFF)).append(char((c >> 8) & 0xFF)).append(char((c >> 16) & 0xFF));
    if (s.headerSize != 12) b.append('\0');
  }
  Put32(b, 10, s.offBits >= 0 ? quint32(s.offBits) : quint32(b.size()));
  b.append(s.pixels);
  Put32(b, 2, quint32(b.size()));
  return b;
}

// A picture whose every pixel differs from its neighbours, for round trips.
inline QImage PatternPicture(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      image.setPixel(x, y, qRgb((x * 37 + y * 11) & 255, (x * 5 + y * 71 + 3) & 255, (x * y * 13 + 7) & 255));
  return image;
}

}  // namespace picture_test
