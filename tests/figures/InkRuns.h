#pragma once
// Counting strokes in a picture: how many separate runs of ink a row or a column crosses.
#include <algorithm>

#include "figures/Canvas.h"
#include "figures/FigureDrag.h"

namespace figtest {

// The runs of non-white pixels in column x from row y0 to row y1 (inclusive).
inline int InkRunsInColumn(const Canvas& c, int x, int y0, int y1) {
  int runs = 0;
  bool inside = false;
  for (int y = std::max(0, y0); y <= std::min(c.Height() - 1, y1); ++y) {
    const bool ink = c.GetPixel(x, y) != kWhite;
    runs += ink && !inside;
    inside = ink;
  }
  return runs;
}

// The most runs any column from x0 to x1 crosses between rows y0 and y1.
inline int MostInkRunsInColumns(const Canvas& c, int x0, int x1, int y0, int y1) {
  int most = 0;
  for (int x = std::max(0, x0); x <= std::min(c.Width() - 1, x1); ++x)
    most = std::max(most, InkRunsInColumn(c, x, y0, y1));
  return most;
}

}  // namespace figtest
