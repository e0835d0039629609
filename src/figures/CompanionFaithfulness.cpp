#include "figures/CompanionFaithfulness.h"

#include <vector>

namespace {

constexpr uint32_t kOpaqueBits = 0xFF000000u;
constexpr uint32_t kMixed = 0x00000000u;  // no colour covers more than half of the block
constexpr uint32_t kWhitePixel = 0xFFFFFFFFu;

}  // namespace

uint32_t CompanionBlockColour(const QImage& companion, int k, int bx, int by) {
  auto at = [&](int i, int j) {
    return reinterpret_cast<const uint32_t*>(companion.constScanLine(by * k + j))[bx * k + i] | kOpaqueBits;
  };
  // Most blocks are one colour.
  const uint32_t first = at(0, 0);
  bool uniform = true;
  for (int j = 0; j < k && uniform; ++j)
    for (int i = 0; i < k; ++i) uniform = uniform && at(i, j) == first;
  if (uniform) return first;
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

QString CompanionDisagreement(const QImage& picture, const QImage& companion, int k, bool exact) {
  if (k < 2) return companion.isNull() ? QString() : QStringLiteral("a companion at scale 1");
  const int w = picture.width(), h = picture.height();
  if (companion.width() != w * k || companion.height() != h * k)
    return QStringLiteral("companion %1x%2 for a %3x%4 picture at k=%5")
        .arg(companion.width()).arg(companion.height()).arg(w).arg(h).arg(k);
  const QImage pic = picture.convertToFormat(QImage::Format_RGB32);
  const QImage big = companion.convertToFormat(QImage::Format_RGB32);
  std::vector<uint32_t> blocks(static_cast<size_t>(w) * h, kMixed);
  for (int by = 0; by < h; ++by)
    for (int bx = 0; bx < w; ++bx) blocks[static_cast<size_t>(by) * w + bx] = CompanionBlockColour(big, k, bx, by);
  auto pixel = [&](int x, int y) { return reinterpret_cast<const uint32_t*>(pic.constScanLine(y))[x] | kOpaqueBits; };
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
