// Field figures draw what they count: nH x nV marks through the page, N parallel lines each with
// its arrowhead the way of the drag, a solenoid of N turns, and eight field lines about a charge
// with their arrowheads pointing away from a positive and towards a negative one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "figures/FigureDrag.h"

using namespace figtest;

namespace {

bool Inked(const Canvas& c, int x, int y) {
  const QRgb p = c.GetPixel(x, y);
  return p != kWhite && p != Canvas::kNoPixel;
}

// The number of 8-connected pieces of ink.
int Pieces(const Canvas& c) {
  std::vector<char> seen(static_cast<size_t>(c.Width()) * c.Height(), 0);
  int pieces = 0;
  std::vector<QPoint> stack;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) {
      if (!Inked(c, x, y) || seen[y * c.Width() + x]) continue;
      ++pieces;
      stack = {{x, y}};
      seen[y * c.Width() + x] = 1;
      while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = p.x() + dx, ny = p.y() + dy;
            if (!Inked(c, nx, ny) || seen[ny * c.Width() + nx]) continue;
            seen[ny * c.Width() + nx] = 1;
            stack.emplace_back(nx, ny);
          }
      }
    }
  return pieces;
}

// The runs of ink met walking from `from` in steps of `step`, `count` steps: their lengths.
std::vector<int> Runs(const Canvas& c, QPoint from, QPoint step, int count) {
  std::vector<int> runs;
  int run = 0;
  for (int i = 0; i <= count; ++i) {
    const QPoint p = from + step * i;
    if (i < count && Inked(c, p.x(), p.y())) {
      ++run;
    } else if (run > 0) {
      runs.push_back(run);
      run = 0;
    }
  }
  return runs;
}

// The length of the run of ink through p along n (0 when p is not ink).
int ThicknessAt(const Canvas& c, QPoint p, QPoint n) {
  if (!Inked(c, p.x(), p.y())) return 0;
  int w = 1;
  for (QPoint q = p + n; Inked(c, q.x(), q.y()); q += n) ++w;
  for (QPoint q = p - n; Inked(c, q.x(), q.y()); q -= n) ++w;
  return w;
}

Canvas Drawn(int tool, double x1, double y1, double x2, double y2, double sp, double sz = 5, int width = 1) {
  Canvas c(320, 320);
  c.DrawWidth = width;
  Draw(c, tool, x1, y1, x2, y2, Params(sp, sz));
  return c;
}

TEST(FieldFigures, TheFieldThroughThePageIsAGridOfNHByNVMarks) {
  struct Grid {
    int nH, nV;
  };
  for (const Grid& grid : {Grid{5, 5}, Grid{3, 7}, Grid{1, 1}, Grid{8, 2}, Grid{12, 10}}) {
    for (int tool : {67, 68}) {
      const Canvas c = Drawn(tool, 10, 10, 310, 250, grid.nH, grid.nV);
      // A mark out of the page is a circle and its dot; one into the page is a single cross.
      const int perMark = tool == 67 ? 2 : 1;
      EXPECT_EQ(Pieces(c), grid.nH * grid.nV * perMark) << tool << ": " << grid.nH << " x " << grid.nV;
      for (int j = 0; j < grid.nV; ++j)
        for (int i = 0; i < grid.nH; ++i) {
          const double x = 10 + (i + 0.5) * 300.0 / grid.nH, y = 10 + (j + 0.5) * 240.0 / grid.nV;
          // Ink at the middle of the cell (a pixel either way where the middle falls between).
          bool mark = false;
          for (double px : {std::floor(x), std::ceil(x)})
            for (double py : {std::floor(y), std::ceil(y)}) mark = mark || Inked(c, px, py);
          EXPECT_TRUE(mark) << tool << ": cell " << i << ", " << j;
        }
    }
  }
}

TEST(FieldFigures, ParallelLinesCarryOneArrowheadEachTheWayOfTheDrag) {
  struct Case {
    double x1, y1, x2, y2;
  };
  // Wide boxes run the lines across, tall ones down; the drag's direction picks the arrow's.
  for (const Case& k : {Case{10, 60, 310, 260}, Case{310, 60, 10, 260}, Case{60, 10, 260, 310}, Case{60, 310, 260, 10}}) {
    const bool wide = std::fabs(k.x2 - k.x1) >= std::fabs(k.y2 - k.y1);
    const QPoint along = wide ? QPoint(k.x2 > k.x1 ? 1 : -1, 0) : QPoint(0, k.y2 > k.y1 ? 1 : -1);
    const QPoint across = wide ? QPoint(0, 1) : QPoint(1, 0);
    const QPoint middle(160, 160);
    for (int n : {1, 3, 5, 8}) {
      const Canvas c = Drawn(69, k.x1, k.y1, k.x2, k.y2, n);
      // Away from the middle: n thin lines.
      const QPoint side = middle - along * 100 - across * 155;
      const std::vector<int> lines = Runs(c, side, across, 310);
      EXPECT_EQ(lines.size(), static_cast<size_t>(n)) << "lines, N " << n;
      for (int w : lines) EXPECT_EQ(w, 1);
      // Through the arrowheads: n of them, narrower ahead of the middle than behind it.
      const std::vector<int> behind = Runs(c, middle - along * 3 - across * 155, across, 310);
      const std::vector<int> ahead = Runs(c, middle + along * 3 - across * 155, across, 310);
      ASSERT_EQ(behind.size(), static_cast<size_t>(n)) << "arrowheads, N " << n;
      ASSERT_EQ(ahead.size(), static_cast<size_t>(n)) << "arrowheads, N " << n;
      for (int i = 0; i < n; ++i) EXPECT_GT(behind[i], ahead[i]) << "arrowhead " << i << ", N " << n;
    }
  }
}

TEST(FieldFigures, TheSolenoidHasNTurns) {
  for (int n : {1, 2, 5, 9}) {
    // Front strokes take the line's width (4 here), the strokes behind are thin: a row through
    // the lower half of the coil meets one wide front stroke per turn.
    const Canvas wide = Drawn(70, 10, 80, 310, 240, n, 5, 4);
    std::vector<int> runs = Runs(wide, {0, 190}, {1, 0}, 320);
    EXPECT_EQ(std::count_if(runs.begin(), runs.end(), [](int w) { return w >= 3; }), n) << "wide, N " << n;
    const Canvas tall = Drawn(70, 80, 10, 240, 310, n, 5, 4);
    runs = Runs(tall, {130, 0}, {0, 1}, 320);
    EXPECT_EQ(std::count_if(runs.begin(), runs.end(), [](int w) { return w >= 3; }), n) << "tall, N " << n;
  }
}

TEST(FieldFigures, EightFieldLinesPointAwayFromAPositiveChargeAndTowardsANegativeOne) {
  for (int tool : {73, 74}) {
    const Canvas c = Drawn(tool, 60, 60, 260, 260, 5);
    // A circle outside the arrowheads meets the eight lines (counted as ink after a gap, once
    // round).
    auto onCircle = [&](int i) {
      const double a = i * 2 * M_PI / 720;
      return Inked(c, std::lround(160 + 85 * std::cos(a)), std::lround(160 + 85 * std::sin(a)));
    };
    int crossings = 0;
    for (int i = 0; i < 720; ++i) crossings += onCircle(i) && !onCircle((i + 719) % 720);
    EXPECT_EQ(crossings, 8) << tool;
    // Along the four upright and level lines, the arrowhead narrows outwards for the positive
    // charge and inwards for the negative one.
    for (QPoint u : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
      const QPoint n(u.y(), u.x());
      std::vector<int> width;
      for (int d = 20; d < 95; ++d) width.push_back(ThicknessAt(c, QPoint(160, 160) + u * d, n));
      int first = -1, last = -1;
      for (int i = 0; i < static_cast<int>(width.size()); ++i)
        if (width[i] > 1) {
          if (first < 0) first = i;
          last = i;
        }
      ASSERT_GT(last, first + 2) << tool;
      if (tool == 73)
        EXPECT_GT(width[first + 1], width[last - 1]) << tool;
      else
        EXPECT_LT(width[first + 1], width[last - 1]) << tool;
    }
  }
}

}  // namespace
