// Ellipses too large for the painter, drawn row by row.
#include <algorithm>
#include <cmath>

#include "figures/FloodFill.h"
#include "figures/Raster.h"

namespace raster {

QRect BigEllipse(QImage& img, double cx, double cy, double a, double b, int penWidth, QRgb pen,
                 int fillStyle, QRgb fill, int hatchScale) {
  const int w = img.width(), h = img.height();
  const double hw = penWidth / 2.0;
  const double A = a + hw, B = b + hw, Ai = a - hw, Bi = b - hw;
  const int y0 = static_cast<int>(std::max(0.0, std::ceil(cy - B)));
  const int y1 = static_cast<int>(std::min(h - 1.0, std::floor(cy + B)));
  const uint8_t* hatch = HatchRows(fillStyle);
  const bool solid = fillStyle == 0;
  const uint32_t penPx = pen | kOpaque, fillPx = fill | kOpaque;
  QRect touched;
  auto clampX = [&](double v) { return static_cast<int>(std::clamp(v, -1.0, static_cast<double>(w))); };
  for (int y = y0; y <= y1; ++y) {
    const double dy = std::abs(y - cy);
    if (dy > B) continue;
    const double xo = A * std::sqrt((B - dy) * (B + dy)) / B;
    const int ol = std::max(0, clampX(std::ceil(cx - xo)));
    const int orr = std::min(w - 1, clampX(std::floor(cx + xo)));
    if (ol > orr) continue;
    auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
    int il = orr + 1, ir = orr;  // interior [il, ir], empty by default
    if (Ai > 0 && Bi > 0 && dy < Bi) {
      const double xi = Ai * std::sqrt((Bi - dy) * (Bi + dy)) / Bi;
      il = std::max(ol, clampX(std::floor(cx - xi) + 1));
      ir = std::min(orr, clampX(std::ceil(cx + xi) - 1));
    }
    for (int x = ol; x <= orr; ++x) {
      if (x >= il && x <= ir) {
        if (solid || (hatch && HatchPaints(hatch, x / hatchScale, y / hatchScale))) row[x] = fillPx;
      } else {
        row[x] = penPx;
      }
    }
    touched |= QRect(QPoint(ol, y), QPoint(orr, y));
  }
  return touched;
}

}  // namespace raster
