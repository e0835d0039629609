#pragma once
// The rule that keeps the high-resolution companion honest: reduced by k (each k x k block taking
// the colour that covers more than half of it, else "mixed"), it agrees with the picture within one
// pixel both ways. Shared by the tests and the soak.
#include <QImage>
#include <QString>

#include <cstdint>
#include <vector>

namespace faithfulness {

inline constexpr uint32_t kMixed = 0x00000000u;  // no colour covers more than half of the block
inline constexpr uint32_t kWhitePixel = 0xFFFFFFFFu;

// The colour covering more than half of the block (bx, by), or kMixed.
inline uint32_t BlockOf(const QImage& companion, int k, int bx, int by) {
  auto at = [&](int i, int j) {
    return reinterpret_cast<const uint32_t*>(companion.constScanLine(by * k + j))[bx * k + i] | 0xFF000000u;
  };
  // A majority colour, if any, survives the pairing of different colours (Boyer-Moore vote).
  uint32_t candidate = 0;
  int votes = 0;
  for (int j = 0; j < k; ++j)
    for (int i = 0; i < k; ++i) {
      const uint32_t p = at(i, j);
      if (votes == 0) candidate = p, votes = 1;
      else votes += p == candidate ? 1 : -1;
    }
  int n = 0;
  for (int j = 0; j < k; ++j)
    for (int i = 0; i < k; ++i) n += at(i, j) == candidate;
  return 2 * n > k * k ? candidate : kMixed;
}

// The companion reduced by k: one colour (or kMixed) per picture pixel.
inline std::vector<uint32_t> Reduce(const QImage& companion, int k, int w, int h) {
  std::vector<uint32_t> out(static_cast<size_t>(w) * h, kMixed);
  for (int by = 0; by < h; ++by)
    for (int bx = 0; bx < w; ++bx) out[static_cast<size_t>(by) * w + bx] = BlockOf(companion, k, bx, by);
  return out;
}

// Empty when the companion is faithful to the picture; else what first disagrees. With `exact`
// every block must be exactly its pixel's colour.
inline QString Check(const QImage& picture, const QImage& companion, int k, bool exact = false) {
  if (k < 2) return companion.isNull() ? QString() : QStringLiteral("a companion at scale 1");
  const int w = picture.width(), h = picture.height();
  if (companion.width() != w * k || companion.height() != h * k)
    return QStringLiteral("companion %1x%2 for a %3x%4 picture at k=%5")
        .arg(companion.width()).arg(companion.height()).arg(w).arg(h).arg(k);
  const QImage pic = picture.convertToFormat(QImage::Format_RGB32);
  const QImage big = companion.convertToFormat(QImage::Format_RGB32);
  const std::vector<uint32_t> blocks = Reduce(big, k, w, h);
  auto pixel = [&](int x, int y) { return reinterpret_cast<const uint32_t*>(pic.constScanLine(y))[x] | 0xFF000000u; };
  auto block = [&](int x, int y) { return blocks[static_cast<size_t>(y) * w + x]; };
  auto near = [&](int x, int y, uint32_t c, bool inBlocks) {
    for (int j = -1; j <= 1; ++j)
      for (int i = -1; i <= 1; ++i) {
        const int xx = x + i, yy = y + j;
        if (xx < 0 || yy < 0 || xx >= w || yy >= h) continue;
        if ((inBlocks ? block(xx, yy) : pixel(xx, yy)) == c) return true;
      }
    return false;
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t p = pixel(x, y), b = block(x, y);
      if (exact) {
        if (b != p) return QStringLiteral("block (%1,%2) is %3, pixel %4").arg(x).arg(y).arg(b, 8, 16).arg(p, 8, 16);
        continue;
      }
      if (p != kWhitePixel && !near(x, y, p, true))
        return QStringLiteral("pixel (%1,%2) %3 has no block of its colour beside it").arg(x).arg(y).arg(p, 8, 16);
      if (b != kWhitePixel && b != kMixed && !near(x, y, b, false))
        return QStringLiteral("block (%1,%2) %3 has no pixel of its colour beside it").arg(x).arg(y).arg(b, 8, 16);
    }
  return QString();
}

}  // namespace faithfulness
