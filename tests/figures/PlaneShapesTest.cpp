// The plane shapes: where their vertices and arc ends fall in the drag, how many concentric circles
// are drawn, and how thick the ring is and how its fill lies.
#include <gtest/gtest.h>

#include <cmath>

#include "figures/FigureKeyPoints.h"

using namespace figtest;

namespace {

TEST(PlaneShapes, VerticesAndArcEndsWhereTheDragPutsThem) {
  // The box of most drags: x 20..180, y 20..140, centre (100, 80).
  ExpectKeyPoints({
      {"apex up, middle of the press row", 26, 20, 20, 180, 140, {{100, 20}, {20, 140}, {100, 140}, {180, 140}}, {{20, 20}, {180, 20}, {100, 80}}},
      {"apex down for an upward drag", 26, 20, 140, 180, 20, {{100, 140}, {20, 20}, {180, 20}}, {{20, 140}, {180, 140}}},
      {"base on the pointer's column", 27, 20, 20, 180, 140, {{20, 80}, {180, 20}, {180, 80}, {180, 140}}, {{20, 20}, {20, 140}}},
      {"apex on the press column, leftward", 27, 180, 20, 20, 140, {{180, 80}, {20, 20}, {20, 140}}, {{180, 20}, {180, 140}}},
      {"pentagon with a vertex at the top", 28, 20, 20, 180, 140, {{100, 20}, {24, 61}, {176, 61}, {53, 128}, {147, 128}}, {{20, 20}, {100, 140}}},
      {"hexagon with flat top and bottom", 29, 20, 20, 180, 140, {{20, 80}, {180, 80}, {100, 28}, {100, 132}}, {{100, 20}, {100, 140}}},
      {"half arc bulging down to the pointer", 30, 20, 20, 180, 140, {{20, 20}, {180, 20}, {100, 140}}, {{100, 20}, {100, 80}}},
      {"half arc bulging up", 30, 20, 140, 180, 20, {{20, 140}, {180, 140}, {100, 20}}, {{100, 140}}},
      {"quarter arc about the press point", 31, 20, 20, 180, 140, {{180, 20}, {133, 105}, {20, 140}}, {{20, 20}, {180, 140}, {100, 60}}},
      {"horizontal plane receding right", 43, 20, 80, 180, 140, {{20, 140}, {120, 140}, {180, 80}, {80, 80}}, {{20, 80}, {180, 140}}},
      {"wall receding upwards", 44, 20, 20, 100, 140, {{20, 140}, {20, 60}, {100, 20}, {100, 100}}, {{20, 20}, {100, 140}}},
      {"rhombus on the sides' midpoints", 45, 20, 20, 180, 140, {{100, 20}, {180, 80}, {100, 140}, {20, 80}}, {{20, 20}, {180, 20}, {20, 140}, {180, 140}, {100, 80}}},
  });
}

TEST(PlaneShapes, ConcentricCirclesCountAndSpacing) {
  // Radius 60 along the row of the centre; the circles cross it at 100 + 60 k / N. Circles
  // closer than two pixels would run together: at most R / 2 are drawn.
  struct Case {
    double n;
    int expected;
  };
  for (const Case& k : {Case{1, 1}, Case{2, 2}, Case{5, 5}, Case{12, 12}, Case{200, 30}, Case{-4, 1}}) {
    Canvas c(200, 160);
    Draw(c, 32, 100, 80, 160, 80, Params(k.n));
    EXPECT_EQ(c.GetPixel(100, 80), kBlack) << "the centre is marked";
    const std::vector<int> runs = InkRunsOnRow(c, 80, 102, 170);
    ASSERT_EQ(static_cast<int>(runs.size()), k.expected) << "N = " << k.n;
    for (int i = 0; i < k.expected; ++i)
      EXPECT_NEAR(runs[i], 100 + 60.0 * (i + 1) / k.expected, 1.0) << "N = " << k.n << ", circle " << i + 1;
  }
}

TEST(PlaneShapes, RingIsTPixelsThickAndOnlyTheRingIsFilled) {
  // The outer circle through (170, 80) about (100, 80); the inner one t pixels inside.
  struct Case {
    double t;
    int fill;
  };
  for (const Case& k : {Case{1, 1}, Case{6, 1}, Case{20, 1}, Case{6, 0}, Case{20, 0}, Case{20, 6}, Case{13, 4}}) {
    Canvas c(200, 160);
    c.FillStyle = k.fill;
    c.FillColor = 0xFF0000C0u;
    Draw(c, 33, 100, 80, 170, 80, Params(k.t));
    const int inner = 170 - static_cast<int>(k.t);
    EXPECT_NE(c.GetPixel(170, 80), kWhite) << "t = " << k.t;
    EXPECT_NE(c.GetPixel(inner, 80), kWhite) << "t = " << k.t;
    EXPECT_EQ(c.GetPixel(inner - 2, 80), kWhite) << "the hole shows the paper, t = " << k.t;
    EXPECT_EQ(c.GetPixel(100, 80), kWhite) << "t = " << k.t;
    if (k.t >= 3 && k.fill == Canvas::kFillTransparent) {
      EXPECT_EQ(c.GetPixel(inner + 1, 80), kWhite) << "two circles, t = " << k.t;
    }
    if (k.fill == Canvas::kFillTransparent) continue;
    // Between the circles, the fill is exactly what a filled circle of the same style shows there.
    Canvas disc(200, 160);
    disc.FillStyle = k.fill;
    disc.FillColor = c.FillColor;
    disc.Circle(100, 80, 70);
    for (int y = 0; y < 160; ++y)
      for (int x = 0; x < 200; ++x) {
        const double d = std::hypot(x - 100, y - 80);
        if (d > 70 - k.t + 1.5 && d < 70 - 1.5) {
          ASSERT_EQ(c.GetPixel(x, y), disc.GetPixel(x, y)) << "ring fill at " << x << ", " << y << ", t = " << k.t;
        }
        if (d < 70 - k.t - 1.5) {
          ASSERT_EQ(c.GetPixel(x, y), kWhite) << "hole at " << x << ", " << y;
        }
      }
  }
}

}  // namespace
