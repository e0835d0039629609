#pragma once
// Test-side maker of TIFF files, written from the format's definition byte by byte (uncompressed
// strips, one strip a page), so that the reader is checked against the format and not against
// another program's writer.
#include <QByteArray>
#include <QtGlobal>
#include <algorithm>
#include <functional>
#include <vector>

namespace picture_test {

struct TiffPage {
  int width = 1;
  int height = 1;
  int bits = 8;         // bits per sample: 1, 4, 8 or 16
  int samples = 3;      // samples per pixel
  int photometric = 2;  // 0 white is zero, 1 black is zero, 2 RGB, 3 palette, 5 separated (CMYK)
  int extraSamples = 0; // 0: no extra sample; 1 associated (premultiplied) alpha, 2 unassociated
  int orientation = 0;  // the Orientation tag 1..8; 0: none
  int storedRows = -1;  // rows the strip holds (a damaged or a claiming file); -1: all of them
  // Palette pictures: 2^bits entries of 16-bit red, then as many green, then blue.
  std::vector<quint16> colorMap;
  // Sample c of pixel (x, y), at most 2^bits - 1.
  std::function<quint32(int x, int y, int c)> sample;
};

// A TIFF file holding `pages` in that order, little-endian unless `bigEndian`.
inline QByteArray MakeTiff(const std::vector<TiffPage>& pages, bool bigEndian = false) {
  QByteArray out;
  auto put = [&](qsizetype at, quint32 v, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at + i] = char(v >> (8 * (bigEndian ? bytes - 1 - i : i)));
  };
  auto append = [&](quint32 v, int bytes) {
    const qsizetype at = out.size();
    out.resize(at + bytes);
    put(at, v, bytes);
    return at;
  };
  out.append(bigEndian ? "MM" : "II", 2);
  append(42, 2);
  qsizetype nextLink = append(0, 4);  // where the offset of the next directory goes
  for (const TiffPage& p : pages) {
    // The pixels, rows padded to whole bytes.
    const qsizetype pixels = out.size();
    const int rowBits = p.width * p.samples * p.bits;
    for (int y = 0; y < (p.storedRows < 0 ? p.height : p.storedRows); ++y) {
      QByteArray row((rowBits + 7) / 8, '\0');
      for (int x = 0; x < p.width; ++x)
        for (int c = 0; c < p.samples; ++c) {
          const quint32 v = p.sample(x, y, c);
          const int bit = (x * p.samples + c) * p.bits;
          if (p.bits < 8) {
            row[bit / 8] = char(uchar(row[bit / 8]) | uchar(v << (8 - p.bits - bit % 8)));
          } else if (p.bits == 8) {
            row[bit / 8] = char(v);
          } else {
            row[bit / 8 + (bigEndian ? 1 : 0)] = char(v);
            row[bit / 8 + (bigEndian ? 0 : 1)] = char(v >> 8);
          }
        }
      out.append(row);
    }
    const quint32 pixelBytes = quint32(out.size() - pixels);
    if (out.size() % 2) out.append('\0');  // values start on a word boundary
    qsizetype bitsArray = 0, colorMap = 0;
    if (p.samples > 2) {
      bitsArray = out.size();
      for (int c = 0; c < p.samples; ++c) append(quint32(p.bits), 2);
    }
    if (!p.colorMap.empty()) {
      colorMap = out.size();
      for (quint16 v : p.colorMap) append(v, 2);
    }
    struct Entry {
      quint32 tag, type, count, value;
    };
    constexpr quint32 kShort = 3, kLong = 4;
    std::vector<Entry> entries = {
        {256, kLong, 1, quint32(p.width)},
        {257, kLong, 1, quint32(p.height)},
        {258, kShort, quint32(p.samples), p.samples > 2 ? quint32(bitsArray) : quint32(p.bits)},
        {259, kShort, 1, 1},
        {262, kShort, 1, quint32(p.photometric)},
        {273, kLong, 1, quint32(pixels)},
        {277, kShort, 1, quint32(p.samples)},
        {278, kLong, 1, quint32(p.height)},
        {279, kLong, 1, pixelBytes},
        {284, kShort, 1, 1},
    };
    if (p.orientation) entries.push_back({274, kShort, 1, quint32(p.orientation)});
    if (!p.colorMap.empty()) entries.push_back({320, kShort, quint32(p.colorMap.size()), quint32(colorMap)});
    if (p.photometric == 5) entries.push_back({332, kShort, 1, 1});  // InkSet: CMYK
    if (p.extraSamples) entries.push_back({338, kShort, 1, quint32(p.extraSamples)});
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.tag < b.tag; });
    const qsizetype directory = out.size();
    put(nextLink, quint32(directory), 4);
    append(quint32(entries.size()), 2);
    for (const Entry& e : entries) {
      append(e.tag, 2);
      append(e.type, 2);
      append(e.count, 4);
      // A value that fits in four bytes is held in the entry, left-justified.
      const bool inline2 = e.type == kShort && e.count == 1;
      if (inline2) {
        append(e.value, 2);
        append(0, 2);
      } else if (e.type == kShort && e.count == 2) {
        append(quint32(p.bits), 2);
        append(quint32(p.bits), 2);
      } else {
        append(e.value, 4);
      }
    }
    nextLink = append(0, 4);
  }
  return out;
}

}  // namespace picture_test
