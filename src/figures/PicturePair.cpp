#include "figures/PicturePair.h"

#include <algorithm>
#include <cstdint>

int PicturePair::Scale() const {
  if (image.isNull() || image.width() == 0) return 1;
  if (companion.isNull()) return implicitScale >= 2 ? implicitScale : 1;
  return companion.width() / image.width();
}

QImage PicturePair::CompanionAt(int k) const {
  if (k <= 1) return QImage();
  if (!companion.isNull() && companion.size() == image.size() * k) return companion;
  return Enlarged(image, k);
}

PicturePair PicturePair::Mirrored(bool horizontal, bool vertical) const {
  PicturePair out;
  out.image = image.mirrored(horizontal, vertical);
  if (!companion.isNull()) out.companion = companion.mirrored(horizontal, vertical);
  out.implicitScale = implicitScale;
  return out;
}

int CompanionScaleFor(int width, int height) {
  if (width < 1 || height < 1) return 1;
  const int64_t area = int64_t{width} * height, longer = std::max(width, height);
  for (int k = 4; k >= 2; --k)
    if (int64_t{k} * k * area <= (int64_t{1} << 24) && k * longer <= 16384) return k;
  return 1;
}

QImage Enlarged(const QImage& image, int k) {
  if (image.isNull() || k < 1) return QImage();
  const QImage src = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
  if (k == 1) return src;
  QImage out(src.width() * k, src.height() * k, QImage::Format_RGB32);
  if (out.isNull()) return out;
  EnlargeInto(src, src.rect(), k, out);
  return out;
}

void EnlargeInto(const QImage& image, const QRect& r, int k, QImage& target) {
  const QRect c = r & image.rect();
  if (c.isEmpty() || k < 1 || target.size() != image.size() * k) return;
  const QImage src = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
  for (int y = c.top(); y <= c.bottom(); ++y) {
    const auto* in = reinterpret_cast<const uint32_t*>(src.constScanLine(y));
    auto* first = reinterpret_cast<uint32_t*>(target.scanLine(y * k));
    for (int x = c.left(); x <= c.right(); ++x) std::fill(first + x * k, first + x * k + k, in[x] | 0xFF000000u);
    for (int j = 1; j < k; ++j)
      std::copy(first + c.left() * k, first + (c.right() + 1) * k,
                reinterpret_cast<uint32_t*>(target.scanLine(y * k + j)) + c.left() * k);
  }
}
