// The hatched surface (ToolId 13) and the half-axis coordinate figures (ToolIds 14, 15).
#include <gtest/gtest.h>

#include <vector>

#include "figures/Canvas.h"
#include "figures/DrawFigure.h"
#include "figures/FigureDrag.h"

using namespace figtest;

namespace {

struct Stroke {
  double x, y, a, b;  // from (x, y) by (a, b)
};

Canvas Strokes(int w, int h, const std::vector<Stroke>& strokes) {
  Canvas c(w, h);
  for (const Stroke& s : strokes) c.LineRel(s.x, s.y, s.a, s.b);
  return c;
}

}  // namespace

TEST(HatchedSurface, FloorsWallsAndTheirStrokes) {
  struct Case {
    const char* name;
    double x1, y1, x2, y2;
    std::vector<Stroke> strokes;  // the surface line first
  };
  std::vector<Stroke> below = {{10, 50, 60, 0}}, above = {{70, 50, -60, 0}};
  for (double x = 15; x <= 65; x += 10) {
    below.push_back({x, 50, -10, 10});
    above.push_back({x, 50, 10, -10});
  }
  std::vector<Stroke> right = {{50, 10, 0, 40}};
  for (double y = 15; y <= 47; y += 4) right.push_back({50, y, 4, 4});
  std::vector<Stroke> left = {{50, 50, 0, -40}};
  for (double y = 15; y <= 50; y += 4) left.push_back({50, y, -4, 4});
  const Case cases[] = {
      {"floor, strokes below", 10, 50, 70, 60, below},
      {"mirror, strokes above", 70, 50, 10, 40, above},
      {"wall, strokes right", 50, 10, 54, 50, right},
      {"wall dragged up, strokes left", 50, 50, 46, 10, left},
      {"flat drag: line only", 10, 50, 40, 50, {{10, 50, 30, 0}}},
      {"vertical drag: line only", 30, 10, 30, 70, {{30, 10, 0, 60}}},
      {"tie: nothing", 10, 10, 40, 40, {}},
      {"click: nothing", 20, 20, 20, 20, {}},
  };
  for (const Case& k : cases) {
    Canvas c(100, 100);
    Draw(c, 13, k.x1, k.y1, k.x2, k.y2);
    EXPECT_TRUE(SamePicture(c, Strokes(100, 100, k.strokes))) << k.name;
  }
  // Absolute pixels of the first case: the stroke from (15, 50) ends at (5, 60).
  Canvas c(100, 100);
  Draw(c, 13, 10, 50, 70, 60);
  EXPECT_TRUE(Ink(c, 5, 60));
  EXPECT_TRUE(Ink(c, 55, 60));
  EXPECT_TRUE(Ink(c, 60, 55));
  EXPECT_FALSE(Ink(c, 10, 51));
  EXPECT_FALSE(Ink(c, 66, 50 - 1));
}

TEST(HatchedSurface, FractionalWallCountsInWholePixels) {
  // ys + 5 = 15.5 -> 16, ye = 50.5 -> 50, step 3.6 -> 4; the strokes keep the real offset.
  Canvas c(100, 100);
  Draw(c, 13, 50, 10.5, 53.6, 50.5);
  std::vector<Stroke> expected = {{50, 10.5, 0, 40}};
  for (double y = 16; y <= 50; y += 4) expected.push_back({50, y, 3.6, 3.6});
  EXPECT_TRUE(SamePicture(c, Strokes(100, 100, expected)));
}

TEST(HatchedSurface, WallThinnerThanHalfAPixelEnds) {
  // A stroke size of 0.3 pixel would round the wall's step to 0; the wall still ends, with one
  // stroke per pixel row.
  Canvas c(60, 60);
  Draw(c, 13, 20.4, 10, 20.7, 50);  // 20.4 rounds to 20, 20.4 + 0.3 to 21
  const double d = 20.7 - 20.4;
  std::vector<Stroke> expected = {{20.4, 10, 0, 40}};
  for (double y = 15; y <= 50; y += 1) expected.push_back({20.4, y, d, d});
  EXPECT_TRUE(SamePicture(c, Strokes(60, 60, expected)));
  EXPECT_TRUE(Ink(c, 21, 30));
  EXPECT_FALSE(Ink(c, 21, 14));
}

TEST(HatchedSurface, FloorWithSubPixelStrokesMatchesEveryStroke) {
  // Strokes less than a pixel apart: skipping strokes that repeat the same pixels changes
  // nothing. The pointer's y is a whole pixel; the press point's is not.
  for (double y1 : {20.4, 20.6, 20.45, 20.499, 19.9, 20.95}) {
    Canvas c(80, 40);
    Draw(c, 13, 3.3, y1, 70.1, 21 - (y1 > 20.5));
    const double dy = (21 - (y1 > 20.5)) - y1;
    std::vector<Stroke> expected = {{3.3, y1, 70.1 - 3.3, 0}};
    const double step = dy > 0 ? dy : -dy;
    for (double x = 3.3 + 5; x <= 70.1; x += step) expected.push_back({x, y1, -dy, dy});
    EXPECT_TRUE(SamePicture(c, Strokes(80, 40, expected))) << y1;
  }
  // Far below a pixel the strokes fill the row under (or over) the floor line.
  Canvas c(80, 40);
  Draw(c, 13, 3.3, 20.4999, 70.1, 21);
  for (int x = 8; x <= 70; ++x) EXPECT_TRUE(Ink(c, x, 20)) << x;
  for (int x = 9; x <= 69; ++x) EXPECT_TRUE(Ink(c, x, 21)) << x;
}

TEST(HatchedSurface, HugeAndTinyExtentsStayBounded) {
  // One-pixel strokes along a floor far wider than the picture, and sub-nanopixel strokes: both
  // finish, and the visible part is the floor with its strokes.
  Canvas wide(200, 50);
  Draw(wide, 13, -1e9, 25, 1e9, 26);
  for (int x = 0; x < 200; ++x) {
    EXPECT_TRUE(Ink(wide, x, 25)) << x;
    EXPECT_TRUE(Ink(wide, x, 26)) << x;  // every column has a stroke down to the left
  }
  Canvas tiny(200, 50);
  Draw(tiny, 13, -1e9, 25 - 1e-12, 1e9, 25);
  EXPECT_TRUE(Ink(tiny, 100, 25));
  Canvas tall(50, 200);
  Draw(tall, 13, 25, -1e9, 26, 1e9);
  for (int y = 0; y < 200; ++y) EXPECT_TRUE(Ink(tall, 26, y)) << y;
  Canvas far(50, 50);
  Draw(far, 13, -1e11, 5e10, 1e11, 5e10 + 1);
  EXPECT_EQ(InkCount(far), 0);
}

TEST(HalfAxes, AxesMeetBelowThePressPoint) {
  struct Case {
    int tool;
    double x1, y1, x2, y2;
    std::vector<Stroke> strokes;
  };
  const Case cases[] = {
      {14, 20, 20, 120, 100,
       {{20, 20, 0, 80}, {20, 100, 100, 0}, {20, 20, 2, 8}, {20, 20, -2, 8},
        {120, 100, -8, 2}, {120, 100, -8, -2}}},
      {14, 120, 100, 20, 20,
       {{120, 100, 0, -80}, {120, 20, -100, 0}, {120, 100, 2, -8}, {120, 100, -2, -8},
        {20, 20, 8, 2}, {20, 20, 8, -2}}},
      {15, 20, 20, 120, 100,
       {{20, 20, 0, 80}, {20, 60, 100, 0}, {20, 20, 2, 8}, {20, 20, -2, 8},
        {120, 60, -8, 2}, {120, 60, -8, -2}}},
      {15, 120, 101, 20, 20,  // mid-height 60.5 is left to the canvas to round
       {{120, 101, 0, -81}, {120, 60.5, -100, 0}, {120, 101, 2, -8}, {120, 101, -2, -8},
        {20, 60.5, 8, 2}, {20, 60.5, 8, -2}}},
  };
  for (const Case& k : cases) {
    Canvas c(140, 120);
    Draw(c, k.tool, k.x1, k.y1, k.x2, k.y2);
    EXPECT_TRUE(SamePicture(c, Strokes(140, 120, k.strokes))) << k.tool << " " << k.x1;
  }
  Canvas c(140, 120);
  Draw(c, 14, 20, 20, 120, 100);
  EXPECT_TRUE(Ink(c, 22, 28) && Ink(c, 18, 28) && Ink(c, 20, 20));
  EXPECT_TRUE(Ink(c, 112, 102) && Ink(c, 112, 98) && Ink(c, 20, 100));
  EXPECT_FALSE(Ink(c, 121, 100));
  Canvas x(140, 120);
  Draw(x, 15, 20, 20, 120, 100);
  for (int i = 20; i <= 120; ++i) EXPECT_TRUE(Ink(x, i, 60)) << i;
  EXPECT_FALSE(Ink(x, 21, 100));
}
