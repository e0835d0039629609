#pragma once
// Key points of a figure: where a teacher expects ink (a vertex, the end of an arc, a wheel
// touching the ground) and where the paper must stay white (a cut-away corner, the inside of an
// unfilled body). Checked on a picture of the figure drawn black on white at width 1 with no fill.
#include <gtest/gtest.h>

#include <QPoint>
#include <vector>

#include "figures/FigureDrag.h"

namespace figtest {

struct KeyPoints {
  const char* what;
  int tool;
  double x1, y1, x2, y2;        // the drag
  std::vector<QPoint> ink;      // ink here or at a neighbouring pixel
  std::vector<QPoint> blank;    // this pixel white
  double sp = 5;                // the first parameter value
};

// Ink at (x, y) or at one of its eight neighbours.
inline bool InkNear(const Canvas& c, int x, int y) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (const QRgb p = c.GetPixel(x + dx, y + dy); p != kWhite && p != Canvas::kNoPixel) return true;
  return false;
}

inline void ExpectKeyPoints(const std::vector<KeyPoints>& table) {
  for (const KeyPoints& k : table) {
    Canvas c(200, 160);
    Draw(c, k.tool, k.x1, k.y1, k.x2, k.y2, Params(k.sp));
    for (QPoint p : k.ink) EXPECT_TRUE(InkNear(c, p.x(), p.y())) << k.what << ": no ink at " << p.x() << ", " << p.y();
    for (QPoint p : k.blank) EXPECT_EQ(c.GetPixel(p.x(), p.y()), kWhite) << k.what << ": ink at " << p.x() << ", " << p.y();
  }
}

// The runs of ink on row y between columns x0 and x1 (inclusive): where each starts.
inline std::vector<int> InkRunsOnRow(const Canvas& c, int y, int x0, int x1) {
  std::vector<int> starts;
  bool inRun = false;
  for (int x = x0; x <= x1; ++x) {
    const bool ink = c.GetPixel(x, y) != kWhite;
    if (ink && !inRun) starts.push_back(x);
    inRun = ink;
  }
  return starts;
}

}  // namespace figtest
