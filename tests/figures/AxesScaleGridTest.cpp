// Coordinate axes (ToolId 16), tick scale (ToolId 17) and grid paper (ToolId 18).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "figures/Canvas.h"
#include "figures/DrawFigure.h"
#include "figures/FigureDrag.h"
#include "figures/FigureProbes.h"

using namespace figtest;

TEST(CoordinateAxes, CrossAtTheMiddleWithHeadsAtPressHeightAndPointerSide) {
  Canvas c(130, 80);
  Draw(c, 16, 10, 10, 110, 60);
  EXPECT_TRUE(SamePicture(c, Segments(130, 80,
                                      {{60, 10, 60, 60},
                                       {10, 35, 110, 35},
                                       {60, 10, 62, 18},
                                       {60, 10, 58, 18},
                                       {110, 35, 102, 37},
                                       {110, 35, 102, 33}})));
  for (int y = 10; y <= 60; ++y) EXPECT_TRUE(Ink(c, 60, y)) << y;
  for (int x = 10; x <= 110; ++x) EXPECT_TRUE(Ink(c, x, 35)) << x;
  EXPECT_TRUE(Ink(c, 62, 18) && Ink(c, 58, 18) && Ink(c, 102, 37) && Ink(c, 102, 33));

  Canvas back(130, 80);
  Draw(back, 16, 110, 60, 10, 10);
  EXPECT_TRUE(SamePicture(back, Segments(130, 80,
                                         {{60, 60, 60, 10},
                                          {110, 35, 10, 35},
                                          {60, 60, 62, 52},
                                          {60, 60, 58, 52},
                                          {10, 35, 18, 37},
                                          {10, 35, 18, 33}})));
}

TEST(TickScale, HorizontalTicksStandUpEveryFifthMajor) {
  Canvas c(120, 120);
  Draw(c, 17, 0, 100, 100, 110, Params(5, 5));
  std::vector<Seg> ticks;
  for (int i = 0; i <= 5; ++i) {
    const double x = 20 * i;
    ticks.push_back({x, 100, x, i % 5 == 0 ? 94.0 : 97.0});
  }
  EXPECT_TRUE(SamePicture(c, Segments(120, 120, ticks)));
  EXPECT_TRUE(Ink(c, 0, 94) && Ink(c, 100, 94));
  EXPECT_TRUE(Ink(c, 40, 97) && !Ink(c, 40, 96));
  EXPECT_EQ(InkCount(c), 2 * 7 + 4 * 4);
}

TEST(TickScale, TenDivisionsAndFractionalSteps) {
  // nH = 10 over 75 pixels: steps of 7.5 accumulated, the index rounded halves to even.
  Canvas c(120, 120);
  Draw(c, 17, 10, 50, 85, 52, Params(10));
  std::vector<Seg> ticks;
  double x = 10;
  for (int i = 0; i <= 10; ++i, x += 7.5) ticks.push_back({x, 50, x, i % 5 == 0 ? 44.0 : 47.0});
  EXPECT_TRUE(SamePicture(c, Segments(120, 120, ticks)));
  EXPECT_TRUE(Ink(c, 48, 44));  // 47.5 rounds to 48, the fifth tick, major
  EXPECT_TRUE(Ink(c, 18, 47) && !Ink(c, 18, 46));  // 17.5 -> 18, minor
}

TEST(TickScale, VerticalScaleCountsWholePixels) {
  // h = 14, nV = 10: s = 1, fifteen ticks pointing right; k = (y - y1) / 1.4 rounded.
  Canvas c(60, 60);
  Draw(c, 17, 20, 10, 22, 24, Params(5, 10));
  std::vector<Seg> ticks;
  for (int y = 10; y <= 24; ++y) {
    const long k = std::lround((y - 10) / 1.4);
    ticks.push_back({20, double(y), k % 5 == 0 ? 26.0 : 23.0, double(y)});
  }
  EXPECT_TRUE(SamePicture(c, Segments(60, 60, ticks)));
  EXPECT_TRUE(Ink(c, 26, 10) && Ink(c, 26, 17) && Ink(c, 26, 24));  // k = 0, 5, 10
  EXPECT_FALSE(Ink(c, 24, 11));

  Canvas up(60, 60);  // dragged upwards: the loop runs down from y1
  Draw(up, 17, 20, 50, 23, 10, Params(5, 4));  // vs = -10
  EXPECT_TRUE(SamePicture(up, Segments(60, 60,
                                       {{20, 50, 26, 50},
                                        {20, 40, 23, 40},
                                        {20, 30, 23, 30},
                                        {20, 20, 23, 20},
                                        {20, 10, 23, 10}})));
}

TEST(TickScale, NothingForTiesOrTooFewPixels) {
  struct Case {
    double x2, y2, nH, nV;
  } cases[] = {{40, 40, 5, 5}, {10, 10, 5, 5}, {14, 11, 5, 5}, {11, 14, 5, 5}, {30, 12, 30, 5}};
  for (const Case& k : cases) {
    Canvas c(60, 60);
    Draw(c, 17, 10, 10, k.x2, k.y2, Params(k.nH, k.nV));
    EXPECT_EQ(InkCount(c), 0) << k.x2 << ", " << k.y2;
  }
  Canvas c(60, 60);
  Draw(c, 17, 10, 10, 40, 12, Params(30));  // |w| = nH exactly: steps of one pixel
  for (int x = 10; x <= 40; ++x) EXPECT_TRUE(Ink(c, x, 7)) << x;
}

TEST(GridPaper, LinesDivideTheDrag) {
  Canvas c(120, 70);
  Draw(c, 18, 0, 0, 100, 50, Params(5, 5));
  std::vector<Seg> lines;
  for (int i = 0; i <= 5; ++i) lines.push_back({20.0 * i, 0, 20.0 * i, 50});
  for (int i = 0; i <= 5; ++i) lines.push_back({0, 10.0 * i, 100, 10.0 * i});
  EXPECT_TRUE(SamePicture(c, Segments(120, 70, lines)));
  EXPECT_EQ(InkCount(c), 6 * 51 + 6 * 101 - 36);
  EXPECT_FALSE(Ink(c, 101, 0));
  EXPECT_FALSE(Ink(c, 0, 51));

  Canvas back(120, 70);  // reversed: same lines
  Draw(back, 18, 100, 50, 0, 0, Params(5, 5));
  EXPECT_TRUE(SamePicture(back, c));
}

// Line k of n lies at from + k * span / n, rounded half to even as every coordinate is: spans that
// put lines exactly on halves pin the columns (38 pixels in 12: line 9 at 28.5, drawn at 28), in
// both drag directions and along both axes. A line placed by steps (from + k * step, the step
// already rounded to a double) lands a column off where k * step misses the half (29 in 14: line
// 7 at 14.500000000000002).
TEST(GridPaper, LinesLieOnTheColumnsTheirPlacesRoundTo) {
  const struct {
    int from, span, n;
    std::vector<int> columns;
  } cases[] = {
      {0, 38, 12, {0, 3, 6, 10, 13, 16, 19, 22, 25, 28, 32, 35, 38}},
      {0, 45, 14, {0, 3, 6, 10, 13, 16, 19, 22, 26, 29, 32, 35, 39, 42, 45}},
      {0, 53, 12, {0, 4, 9, 13, 18, 22, 26, 31, 35, 40, 44, 49, 53}},
      {0, 55, 12, {0, 5, 9, 14, 18, 23, 28, 32, 37, 41, 46, 50, 55}},
      {0, 29, 14, {0, 2, 4, 6, 8, 10, 12, 14, 17, 19, 21, 23, 25, 27, 29}},
      {7, 45, 14, {7, 10, 13, 17, 20, 23, 26, 30, 33, 36, 39, 42, 46, 49, 52}},
  };
  for (const auto& c : cases)
    for (bool backwards : {false, true})
      for (bool rows : {false, true}) {
        const int press = backwards ? c.from + c.span : c.from, release = backwards ? c.from : c.from + c.span;
        Canvas canvas(64, 64);
        // The other set has one division: its two lines lie at 2 and 8, off the probe at 5.
        if (rows) Draw(canvas, 18, 2, press, 8, release, Params(1, c.n));
        else Draw(canvas, 18, press, 2, release, 8, Params(c.n, 1));
        std::vector<int> inked;
        for (int v = 0; v < 64; ++v)
          if (rows ? Ink(canvas, 5, v) : Ink(canvas, v, 5)) inked.push_back(v);
        EXPECT_EQ(inked, c.columns) << c.span << " in " << c.n << (backwards ? " backwards" : "") << (rows ? ", rows" : "");
      }
}

TEST(GridPaper, EachSetNeedsEnoughPixels) {
  Canvas rows(120, 70);
  Draw(rows, 18, 10, 10, 10, 60, Params(5, 5));  // w = 0: horizontal lines only, each a point
  for (int y = 10; y <= 60; y += 10) EXPECT_TRUE(Ink(rows, 10, y)) << y;
  EXPECT_EQ(InkCount(rows), 6);

  Canvas cols(120, 70);
  Draw(cols, 18, 10, 10, 110, 13, Params(4, 5));  // |h| = 3 < 5: vertical lines only
  EXPECT_TRUE(SamePicture(cols, Segments(120, 70,
                                         {{10, 10, 10, 13},
                                          {35, 10, 35, 13},
                                          {60, 10, 60, 13},
                                          {85, 10, 85, 13},
                                          {110, 10, 110, 13}})));
}

TEST(GridPaper, RowsAndColumnsAreEqualAndTheOutermostLinesOnTheDragsSides) {
  // Steps that are not whole pixels, dragged both ways; a fractional count leaves its last part
  // open.
  struct Case {
    double x1, y1, x2, y2, nH, nV;
  };
  const Case cases[] = {
      {10, 10, 110, 60, 6, 3},    // 50 pixels in 3 rows, 100 in 6 columns
      {150, 95, 20, 20, 7, 4},    // leftwards and upwards: 130 in 7, 75 in 4
      {15, 100, 185, 12, 9, 2.5}, // upwards: 88 pixels in two and a half rows
  };
  for (const Case& k : cases) {
    Canvas c(200, 120);
    Draw(c, 18, k.x1, k.y1, k.x2, k.y2, Params(k.nH, k.nV));
    for (bool rows : {true, false}) {
      const double n = rows ? k.nV : k.nH;
      const double from = rows ? k.y1 : k.x1, span = rows ? k.y2 - k.y1 : k.x2 - k.x1;
      // Across the first cell, between the first two lines of the other set.
      const double otherStep = rows ? (k.x2 - k.x1) / k.nH : (k.y2 - k.y1) / k.nV;
      const int probe = static_cast<int>(std::lround((rows ? k.x1 : k.y1) + otherStep / 2));
      const std::vector<InkRun> lines = RunsAlong(c, probe, !rows);
      const std::string what = (rows ? "rows " : "columns ") + std::to_string(n) + " from " + std::to_string(from);
      ASSERT_EQ(lines.size(), static_cast<size_t>(std::floor(n)) + 1) << what;
      // Line k lies at from + k * span / n, so the last one of a whole count is on the far side.
      const double step = span / n;
      for (size_t i = 0; i < lines.size(); ++i) {
        const size_t k = span > 0 ? i : lines.size() - 1 - i;
        EXPECT_NEAR(lines[i].Centre(), from + k * step, 0.5) << what << " line " << k;
      }
      for (size_t i = 1; i < lines.size(); ++i)
        EXPECT_NEAR(lines[i].Centre() - lines[i - 1].Centre(), std::fabs(step), 1) << what;
    }
  }
}
