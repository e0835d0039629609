#include "document/PrintPicture.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr QRgb kWhite = 0xFFFFFFFFu;
}  // namespace

QRect InkRect(const QImage& picture, int margin) {
  if (picture.isNull()) return {};
  const QImage rgb = picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
  int left = rgb.width(), right = -1, top = rgb.height(), bottom = -1;
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    int x0 = 0;
    while (x0 < rgb.width() && (row[x0] | 0xFF000000u) == kWhite) ++x0;
    if (x0 == rgb.width()) continue;
    int x1 = rgb.width() - 1;
    while ((row[x1] | 0xFF000000u) == kWhite) --x1;
    left = std::min(left, x0);
    right = std::max(right, x1);
    top = std::min(top, y);
    bottom = y;
  }
  if (right < 0) return rgb.rect();
  return QRect(QPoint(left, top), QPoint(right, bottom)).adjusted(-margin, -margin, margin, margin) & rgb.rect();
}

int DotsPerMetreAt(int k) { return static_cast<int>(std::lround(std::max(k, 1) * 96 / 0.0254)); }

QSizeF PrintSizeCm(QSize pixels, int dotsPerMetre) {
  if (dotsPerMetre <= 0) return {};
  return QSizeF(pixels.width() * 100.0 / dotsPerMetre, pixels.height() * 100.0 / dotsPerMetre);
}

PrintPicture PrintPictureOf(const QImage& picture, const QImage& companion, int k, const QRect& r) {
  const QRect part = r & picture.rect();
  if (k >= 2 && companion.size() == picture.size() * k)
    return {companion.copy(QRect(part.topLeft() * k, part.size() * k)), k};
  return {picture.copy(part), 1};
}
