#pragma once
// Pieces of ink in a picture: how many separate strokes, dashes or dots a region shows.
#include <QImage>
#include <QRect>
#include <cmath>
#include <vector>

#include "figures/Canvas.h"
#include "figures/FigureDrag.h"

namespace figtest {

// The pieces of ink (pixels that are not white, joined through any of their eight neighbours)
// inside `area` of a picture, each given by its size in pixels.
inline std::vector<int> InkPieces(const QImage& img, QRect area) {
  area &= img.rect();
  std::vector<char> seen(static_cast<size_t>(area.width()) * area.height(), 0);
  auto index = [&](int x, int y) {
    return static_cast<size_t>(y - area.top()) * area.width() + (x - area.left());
  };
  auto inked = [&](int x, int y) { return (img.pixel(x, y) | 0xFF000000u) != kWhite; };
  std::vector<int> pieces;
  std::vector<QPoint> stack;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      if (seen[index(x, y)] || !inked(x, y)) continue;
      int size = 0;
      seen[index(x, y)] = 1;
      stack.push_back({x, y});
      while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        ++size;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const QPoint q(p.x() + dx, p.y() + dy);
            if (!area.contains(q) || seen[index(q.x(), q.y())] || !inked(q.x(), q.y())) continue;
            seen[index(q.x(), q.y())] = 1;
            stack.push_back(q);
          }
      }
      pieces.push_back(size);
    }
  return pieces;
}

inline std::vector<int> InkPieces(const Canvas& c, QRect area) { return InkPieces(c.Raster(), area); }

inline std::vector<int> InkPieces(const Canvas& c) { return InkPieces(c, QRect(0, 0, c.Width(), c.Height())); }

// True when there is ink within a pixel of (x, y).
inline bool InkNear(const Canvas& c, double x, double y) {
  const int cx = static_cast<int>(std::lround(x)), cy = static_cast<int>(std::lround(y));
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (c.GetPixel(cx + dx, cy + dy) != kWhite && c.GetPixel(cx + dx, cy + dy) != Canvas::kNoPixel) return true;
  return false;
}

}  // namespace figtest
