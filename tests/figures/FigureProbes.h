#pragma once
// Measures taken from a drawn picture by the figure tests: runs of ink along a row or a column,
// how far a stroke reaches, where the topmost ink lies.
#include <vector>

#include "figures/Canvas.h"
#include "figures/FigureDrag.h"

namespace figtest {

// A run of ink pixels from `first` to `last` (inclusive) along a row or a column.
struct InkRun {
  int first, last;
  double Centre() const { return (first + last) / 2.0; }
};

inline bool Inked(const Canvas& c, int x, int y) { return c.GetPixel(x, y) != kWhite && c.GetPixel(x, y) != Canvas::kNoPixel; }

// The runs of ink along row y (across = true) or column x (across = false), in order.
inline std::vector<InkRun> RunsAlong(const Canvas& c, int line, bool across) {
  std::vector<InkRun> runs;
  const int n = across ? c.Width() : c.Height();
  for (int i = 0; i < n; ++i) {
    const bool ink = across ? Inked(c, i, line) : Inked(c, line, i);
    if (!ink) continue;
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

// The centre of the ink in the topmost row that has any; -1 for a blank picture.
inline double TopInkCentre(const Canvas& c) {
  for (int y = 0; y < c.Height(); ++y) {
    const std::vector<InkRun> runs = RunsAlong(c, y, true);
    if (!runs.empty()) return (runs.front().first + runs.back().last) / 2.0;
  }
  return -1;
}

// The lowest row with ink; -1 for a blank picture.
inline int BottomInkRow(const Canvas& c) {
  for (int y = c.Height() - 1; y >= 0; --y)
    if (!RunsAlong(c, y, true).empty()) return y;
  return -1;
}

}  // namespace figtest
