#pragma once
// Test-side maker of PNG files, written from the format's definition chunk by chunk (the image
// data deflated by Qt's zlib through qCompress), so that the reader is checked against the format
// and not against the writer it shares with Qt.
#include <QByteArray>
#include <QList>
#include <QtGlobal>
#include <functional>
#include <vector>

namespace picture_test {

inline quint32 PngCrc(const char* p, qsizetype n) {
  quint32 c = 0xFFFFFFFFu;
  for (qsizetype i = 0; i < n; ++i) {
    c ^= uchar(p[i]);
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
  }
  return c ^ 0xFFFFFFFFu;
}

inline void AppendU32(QByteArray& b, quint32 v) {
  for (int s = 24; s >= 0; s -= 8) b.append(char(v >> s));
}

inline QByteArray PngChunk(const char* type, const QByteArray& body) {
  QByteArray c;
  AppendU32(c, quint32(body.size()));
  const QByteArray typed = QByteArray(type, 4) + body;
  c.append(typed);
  AppendU32(c, PngCrc(typed.constData(), typed.size()));
  return c;
}

struct PngLayout {
  int width = 1;
  int height = 1;
  int colorType = 2;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
  int bitDepth = 8;
  bool interlaced = false;
  // The value of sample `channel` of pixel (x, y), at the bit depth (a palette index for type 3).
  std::function<quint32(int x, int y, int channel)> sample;
  std::vector<quint32> palette;  // 0xRRGGBB entries (PLTE)
  QByteArray transparency;       // the tRNS chunk's body, written when not empty
  int declaredWidth = 0;         // when not 0, the width IHDR claims instead of `width`
  int declaredHeight = 0;
};

inline int PngChannels(int colorType) {
  return colorType == 2 ? 3 : colorType == 4 ? 2 : colorType == 6 ? 4 : 1;
}

// The filtered rows (filter type 0) of the pixels (x0 + i·dx, y0 + j·dy), or nothing for an empty pass.
inline QByteArray PngPass(const PngLayout& s, int x0, int y0, int dx, int dy) {
  QByteArray out;
  const int channels = PngChannels(s.colorType);
  for (int y = y0; y < s.height; y += dy) {
    QByteArray row(1, '\0');
    quint32 acc = 0;
    int bits = 0;
    int columns = 0;
    for (int x = x0; x < s.width; x += dx, ++columns)
      for (int c = 0; c < channels; ++c) {
        const quint32 v = s.sample(x, y, c);
        if (s.bitDepth == 16) {
          row.append(char(v >> 8)).append(char(v));
        } else {
          acc = (acc << s.bitDepth) | v;
          bits += s.bitDepth;
          if (bits == 8) {
            row.append(char(acc));
            acc = 0;
            bits = 0;
          }
        }
      }
    if (bits > 0) row.append(char(acc << (8 - bits)));
    if (columns > 0) out.append(row);
  }
  return out;
}

inline QByteArray PngImageData(const PngLayout& s) {
  if (!s.interlaced) return PngPass(s, 0, 0, 1, 1);
  static constexpr int kPass[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                      {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
  QByteArray raw;
  for (const auto& p : kPass) raw.append(PngPass(s, p[0], p[1], p[2], p[3]));
  return raw;
}

inline QByteArray PngHeader(int w, int h, int depth, int colorType, bool interlaced) {
  QByteArray ihdr;
  AppendU32(ihdr, quint32(w));
  AppendU32(ihdr, quint32(h));
  ihdr.append(char(depth)).append(char(colorType)).append('\0').append('\0').append(char(interlaced ? 1 : 0));
  return PngChunk("IHDR", ihdr);
}

inline const QByteArray& PngSignature() {
  static const QByteArray signature("\x89PNG\r\n\x1A\n", 8);
  return signature;
}

// The whole file: signature, IHDR, PLTE, tRNS, one IDAT, IEND.
inline QByteArray MakePng(const PngLayout& s) {
  QByteArray file = PngSignature();
  file.append(PngHeader(s.declaredWidth ? s.declaredWidth : s.width, s.declaredHeight ? s.declaredHeight : s.height,
                        s.bitDepth, s.colorType, s.interlaced));
  if (!s.palette.empty()) {
    QByteArray plte;
    for (quint32 c : s.palette) plte.append(char(c >> 16)).append(char(c >> 8)).append(char(c));
    file.append(PngChunk("PLTE", plte));
  }
  if (!s.transparency.isEmpty()) file.append(PngChunk("tRNS", s.transparency));
  file.append(PngChunk("IDAT", qCompress(PngImageData(s), 9).mid(4)));  // qCompress puts the length first
  file.append(PngChunk("IEND", {}));
  return file;
}

// The offset of the first chunk of `type` in a PNG file, -1 when there is none.
inline qsizetype PngChunkAt(const QByteArray& file, const char* type) {
  for (qsizetype p = 8; p + 12 <= file.size();) {
    const quint32 length = quint32(uchar(file[p])) << 24 | quint32(uchar(file[p + 1])) << 16 |
                           quint32(uchar(file[p + 2])) << 8 | uchar(file[p + 3]);
    if (file.mid(p + 4, 4) == QByteArray(type, 4)) return p;
    p += 12 + qsizetype(length);
  }
  return -1;
}

}  // namespace picture_test
