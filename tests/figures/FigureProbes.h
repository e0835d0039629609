#pragma once
// Measures the figure tests take from a drawn picture: runs of ink along a row or a column, how
// far a stroke reaches, where the topmost and the lowest ink lie.
#include <vector>

#include "figures/Canvas.h"
#include "figures/FigureDrag.h"

namespace figtest {

inline bool Inked(const Canvas& c, int x, int y) {
  const QRgb p = c.GetPixel(x, y);
  return p != kWhite && p != Canvas::kNoPixel;
}

// A run of ink from `first` to `last` (inclusive) along a row or a column.
struct InkRun {
  int first, last;
  double Centre() const { return (first + last) / 2.0; }
};

// The runs of ink along row `line` (across) or column `line` (not across), in order.
inline std::vector<InkRun> RunsAlong(const Canvas& c, int line, bool across) {
  std::vector<InkRun> runs;
  for (int i = 0; i < (across ? c.Width() : c.Height()); ++i) {
    if (!(across ? Inked(c, i, line) : Inked(c, line, i))) continue;
    if (!runs.empty() && runs.back().last == i - 1)
      runs.back().last = i;
    else
      runs.push_back({i, i});
  }
  return runs;
}

// How many pixels of ink follow (x, y) straight up (dy = -1) or down (dy = 1).
inline int ReachFrom(const Canvas& c, int x, int y, int dy) {
  int n = 0;
  while (Inked(c, x, y + (n + 1) * dy)) ++n;
  return n;
}

// The middle of the topmost row of ink, and the lowest row of ink (-1 for a blank picture).
inline double TopInkCentre(const Canvas& c) {
  for (int y = 0; y < c.Height(); ++y) {
    const std::vector<InkRun> runs = RunsAlong(c, y, true);
    if (!runs.empty()) return (runs.front().first + runs.back().last) / 2.0;
  }
  return -1;
}
inline int BottomInkRow(const Canvas& c) {
  for (int y = c.Height() - 1; y >= 0; --y)
    if (!RunsAlong(c, y, true).empty()) return y;
  return -1;
}

}  // namespace figtest
