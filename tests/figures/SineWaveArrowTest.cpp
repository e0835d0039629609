// The wave (ToolId 11) and the arrow (ToolId 12).
#include <gtest/gtest.h>

#include <cmath>

#include "figures/Canvas.h"
#include "figures/DrawFigure.h"
#include "figures/FigureDrag.h"
#include "figures/SineWaveAndArrow.h"

using namespace figtest;

namespace {

// The wave as one Line per pixel column, written out from its definition.
Canvas ExpectedWave(int w, int h, double x1, double y1, double x2, double y2, double n) {
  Canvas c(w, h);
  const double xs = std::min(x1, x2), xe = std::max(x1, x2), W = x2 - x1, A = y2 - y1;
  auto y = [&](double x) { return y1 + A * std::sin(3.1416 * 2 * n * (x - xs) / W); };
  for (double x = xs; x <= xe - 1; x += 1) c.Line(x, y(x), x + 1, y(x + 1));
  return c;
}

int InkInColumn(const Canvas& c, int x) {
  int n = 0;
  for (int y = 0; y < c.Height(); ++y) n += c.GetPixel(x, y) != kWhite;
  return n;
}

}  // namespace

TEST(SineWave, TwoPeriodsFollowTheDrag) {
  Canvas c(120, 140);
  Draw(c, 11, 0, 100, 100, 80, Params(2));
  EXPECT_TRUE(SamePicture(c, ExpectedWave(120, 140, 0, 100, 100, 80, 2)));
  EXPECT_TRUE(Ink(c, 0, 100));     // starts on the axis
  EXPECT_TRUE(Ink(c, 12, 80) || Ink(c, 13, 80));  // first crest at about (12.5, 80)
  EXPECT_TRUE(Ink(c, 25, 100));    // crosses the axis near x = 25
  EXPECT_TRUE(Ink(c, 37, 120) || Ink(c, 38, 120));  // trough
  EXPECT_TRUE(Ink(c, 100, 100));   // two whole periods end on the axis
  for (int y = 0; y < 79; ++y) EXPECT_FALSE(Ink(c, 12, y)) << y;
  for (int x = 101; x < 120; ++x) EXPECT_EQ(InkInColumn(c, x), 0) << x;
}

TEST(SineWave, DraggingLeftRunsThePhaseBackwards) {
  Canvas c(120, 140);
  Draw(c, 11, 100, 100, 0, 80, Params(2));  // xs = 0, W = -100
  EXPECT_TRUE(SamePicture(c, ExpectedWave(120, 140, 100, 100, 0, 80, 2)));
  EXPECT_TRUE(Ink(c, 12, 120) || Ink(c, 13, 120));  // the first crest bulges below the axis
  for (int y = 0; y < 100; ++y) EXPECT_FALSE(Ink(c, 12, y)) << y;
}

TEST(SineWave, FractionalPeriodsAndPositions) {
  for (double n : {0.5, 2.5, 1e-6, 7.3}) {
    Canvas c(160, 120);
    Draw(c, 11, 10.5, 60, 150.25, 20, Params(n));
    EXPECT_TRUE(SamePicture(c, ExpectedWave(160, 120, 10.5, 60, 150.25, 20, n))) << n;
  }
}

TEST(SineWave, VerticalDragDrawsNothing) {
  Canvas c(60, 60);
  Draw(c, 11, 30, 10, 30, 50, Params(2));
  EXPECT_EQ(InkCount(c), 0);
}

TEST(SineWave, PatternedStyleDrawsPointsTwoPixelsApart) {
  for (int style : {1, 2, 3}) {
    Canvas c(120, 60);
    c.DrawStyle = style;
    Draw(c, 11, 10, 30, 60, 30, Params(2));  // zero amplitude: the points lie on y = 30
    EXPECT_EQ(c.DrawStyle, style);
    for (int x = 0; x < 120; ++x) {
      const bool point = x >= 10 && x <= 60 && (x - 10) % 2 == 0;
      EXPECT_EQ(Ink(c, x, 30), point) << "style " << style << " x " << x;
    }
    EXPECT_EQ(InkCount(c), 26);
  }
}

TEST(SineWave, ZeroAmplitudeIsTheAxisLine) {
  Canvas c(120, 60);
  Draw(c, 11, 10, 30, 60, 30, Params(3));
  for (int x = 0; x < 120; ++x) EXPECT_EQ(Ink(c, x, 30), x >= 10 && x <= 60) << x;
  EXPECT_EQ(InkCount(c), 51);
}

TEST(SineWave, DragsReachingFarBeyondThePictureDrawOnlyWhatShows) {
  // The wave over a very wide drag: the visible part equals the same columns drawn one by one.
  const double x1 = -1e9, x2 = 1e9;
  Canvas c(200, 100);
  Draw(c, 11, x1, 50, x2, 10, Params(1e7));
  Canvas expected(200, 100);
  auto y = [&](double x) { return 50 + -40 * std::sin(3.1416 * 2e7 * (x - x1) / (x2 - x1)); };
  for (double x = -10; x <= 210; x += 1) expected.Line(x, y(x), x + 1, y(x + 1));
  EXPECT_TRUE(SamePicture(c, expected));
  EXPECT_GT(InkCount(c), 200);
}

TEST(Arrow, HeadBarbsOpenFifteenDegrees) {
  // Shaft and barbs as lines to the points worked out by hand.
  struct Case {
    double x1, y1, x2, y2;
    double b1x, b1y, b2x, b2y;
  } cases[] = {
      {10, 10, 110, 10, 100.34, 12.59, 100.34, 7.41},
      {110, 10, 10, 10, 19.66, 7.41, 19.66, 12.59},
      {50, 10, 50, 110, 47, 100, 53, 100},
      {50, 110, 50, 10, 47, 20, 53, 20},
      {40, 40, 40, 40, 37, 50, 43, 50},  // a click: the head alone, barbs below
  };
  for (const Case& k : cases) {
    Canvas c(130, 130);
    Draw(c, 12, k.x1, k.y1, k.x2, k.y2);
    Canvas expected(130, 130);
    expected.Line(k.x1, k.y1, k.x2, k.y2);
    expected.Line(k.x2, k.y2, k.b1x, k.b1y);
    expected.Line(k.x2, k.y2, k.b2x, k.b2y);
    EXPECT_TRUE(SamePicture(c, expected)) << k.x1 << "," << k.y1 << " -> " << k.x2 << "," << k.y2;
  }
  Canvas c(130, 130);
  Draw(c, 12, 10, 10, 110, 10);
  EXPECT_TRUE(Ink(c, 100, 7));
  EXPECT_TRUE(Ink(c, 100, 13));
  EXPECT_TRUE(Ink(c, 110, 10));
  EXPECT_FALSE(Ink(c, 111, 10));
}

TEST(Arrow, DiagonalHeadUsesTheShaftAngle) {
  Canvas c(130, 130);
  Draw(c, 12, 10, 10, 100, 100);  // 45 degrees: barbs at 30 and 60 degrees back from the tip
  const double r = 3.1416 / 180;
  EXPECT_TRUE(Ink(c, static_cast<int>(std::lround(100 - 10 * std::cos(30 * r))),
                  static_cast<int>(std::lround(100 - 10 * std::sin(30 * r)))));
  EXPECT_TRUE(Ink(c, static_cast<int>(std::lround(100 - 10 * std::cos(60 * r))),
                  static_cast<int>(std::lround(100 - 10 * std::sin(60 * r)))));
}
