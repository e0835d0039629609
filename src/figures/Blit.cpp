// Pictures drawn into the canvas, scaled, mirrored, copied or combined by AND.
#include <algorithm>
#include <cmath>
#include <vector>

#include "figures/Raster.h"

namespace raster {

QRect Blit(QImage& dst, const QImage& source, int64_t dx, int64_t dy, int64_t dw, int64_t dh,
           int64_t sx, int64_t sy, int64_t sw, int64_t sh, bool mirrorX, bool mirrorY,
           Canvas::RasterOp op) {
  if (source.isNull() || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return QRect();
  const int64_t W = dst.width(), H = dst.height();
  const int64_t x0 = std::max<int64_t>(0, dx), x1 = std::min<int64_t>(W - 1, dx + dw - 1);
  const int64_t y0 = std::max<int64_t>(0, dy), y1 = std::min<int64_t>(H - 1, dy + dh - 1);
  if (x0 > x1 || y0 > y1) return QRect();

  // Reading from the raster while writing it would smear; the format must be 32-bit opaque.
  QImage src;
  if (source.constBits() == dst.constBits())
    src = source.copy();
  else if (source.format() != QImage::Format_RGB32)
    src = source.convertToFormat(QImage::Format_RGB32);
  else
    src = source;
  const int64_t SW = src.width(), SH = src.height();

  auto map = [](int64_t k, int64_t d, int64_t s, bool mirror) -> int64_t {
    if (mirror) k = d - 1 - k;
    if (d == s) return k;
    return static_cast<int64_t>(std::floor((static_cast<double>(k) + 0.5) * static_cast<double>(s) /
                                           static_cast<double>(d)));
  };
  std::vector<int> cols(static_cast<size_t>(x1 - x0 + 1));
  bool identity = !mirrorX && dw == sw;
  for (int64_t x = x0; x <= x1; ++x) {
    const int64_t s = sx + map(x - dx, dw, sw, mirrorX);
    cols[static_cast<size_t>(x - x0)] = (s >= 0 && s < SW) ? static_cast<int>(s) : -1;
    if (s < 0 || s >= SW) identity = false;
  }
  const bool isAnd = op == Canvas::RasterOp::And;
  for (int64_t y = y0; y <= y1; ++y) {
    const int64_t s = sy + map(y - dy, dh, sh, mirrorY);
    if (s < 0 || s >= SH) continue;
    const auto* in = reinterpret_cast<const uint32_t*>(src.constScanLine(static_cast<int>(s)));
    auto* out = reinterpret_cast<uint32_t*>(dst.scanLine(static_cast<int>(y)));
    if (identity) {
      const uint32_t* from = in + cols[0];
      uint32_t* to = out + x0;
      const size_t n = cols.size();
      if (isAnd) {
        for (size_t i = 0; i < n; ++i) to[i] &= from[i] | kOpaque;
      } else {
        for (size_t i = 0; i < n; ++i) to[i] = from[i] | kOpaque;
      }
      continue;
    }
    for (size_t i = 0; i < cols.size(); ++i) {
      const int c = cols[i];
      if (c < 0) continue;
      if (isAnd)
        out[x0 + static_cast<int64_t>(i)] &= in[c] | kOpaque;
      else
        out[x0 + static_cast<int64_t>(i)] = in[c] | kOpaque;
    }
  }
  return QRect(QPoint(static_cast<int>(x0), static_cast<int>(y0)),
               QPoint(static_cast<int>(x1), static_cast<int>(y1)));
}

}  // namespace raster
