// The function graphs of palette 2 as a user sees them: y = (x − a)^n + c and y = C^(x − a) + c
// pass through their known points, leave no ink where they are undefined, never break where they
// run steep, and a base C of zero or below leaves the axes alone.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "figures/Canvas.h"
#include "figures/FigureDrag.h"
#include "figures/InkComponents.h"

using namespace figtest;

namespace {

constexpr int kPower = 118, kExponential = 119;

// The graphs' box: the origin at (100, 80), five units and a half to the box's smaller side.
constexpr double kOx = 100, kOy = 80, kUnit = 120.0 / 11;

Canvas Graph(int tool, double first, double a, double c) {
  Canvas canvas(200, 160);
  Draw(canvas, tool, 20, 20, 180, 140, Params(first, a, c));
  return canvas;
}

// Every ink pixel lies on the axes, their ticks or their heads.
::testing::AssertionResult AxesOnly(const Canvas& c) {
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x)
      if (c.GetPixel(x, y) != kWhite && std::fabs(x - kOx) > 4 && std::fabs(y - kOy) > 4)
        return ::testing::AssertionFailure() << "ink off the axes at (" << x << ", " << y << ")";
  return ::testing::AssertionSuccess();
}

TEST(FunctionGraphs, EachGraphPassesThroughItsKnownPoints) {
  struct Case {
    int tool;
    double first, a, c;  // n or C, a, c
    double x, y;         // a point of the graph, in units
  };
  const Case cases[] = {
      {kPower, 2, 2, 3, 2, 3},         {kPower, 3, -1, 2, -1, 2},       {kPower, 3, -1, 2, 0, 3},
      {kPower, 0.5, -2, 1, -2, 1},     {kPower, 0.5, -2, 1, 2, 3},      {kPower, -1, 1.5, 0, 2.5, 1},
      {kExponential, 2, 1, 1, 1, 2},   {kExponential, 2, 1, 1, 2, 3},   {kExponential, 0.5, -2, -3, -2, -2},
      {kExponential, 3, 2, -4, 2, -3}, {kExponential, 1, 0, 2.5, -4, 3.5},
  };
  for (const Case& k : cases) {
    const Canvas c = Graph(k.tool, k.first, k.a, k.c);
    EXPECT_TRUE(InkNear(c, kOx + k.x * kUnit, kOy - k.y * kUnit))
        << k.tool << " (" << k.first << ", " << k.a << ", " << k.c << ") misses (" << k.x << ", " << k.y << ")";
  }
}

TEST(FunctionGraphs, ABaseOfZeroOrBelowDrawsTheAxesOnly) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Canvas axes = Graph(kExponential, 0, 0, 0);
  EXPECT_TRUE(AxesOnly(axes));
  EXPECT_TRUE(Ink(axes, 25, 80) && Ink(axes, 175, 80) && Ink(axes, 100, 25) && Ink(axes, 100, 135));
  for (double base : {-2.0, -0.01, -1e9, nan}) {
    EXPECT_TRUE(SamePicture(Graph(kExponential, base, 1, 2), axes)) << "C = " << base;
  }
  EXPECT_FALSE(AxesOnly(Graph(kExponential, 0.5, 0, 0)));
}

TEST(FunctionGraphs, WhereTheGraphIsUndefinedOnlyTheAxesShow) {
  struct Case {
    double n, a, c;
    double from, to;  // the stretch of x (units) without the graph
  };
  const Case cases[] = {
      {0.5, -2, 1, -5.5, -2.1},   // a fractional power of a negative number
      {1.5, 1, -2, -5.5, 0.9},
      {2.5, 3, 4, -5.5, 2.9},
      {-1, 1.5, 0, 1.45, 1.55},   // x = a: the graph goes off to both ends of the box, never across it
      {-3, -1, 0, -1.05, -0.95},
      {-2, 0.5, -1, 0.45, 0.55},
  };
  const Canvas axes = Graph(kExponential, 0, 0, 0);
  for (const Case& k : cases) {
    const Canvas c = Graph(kPower, k.n, k.a, k.c);
    const int x0 = static_cast<int>(std::ceil(kOx + k.from * kUnit));
    const int x1 = static_cast<int>(std::floor(kOx + k.to * kUnit));
    ASSERT_LE(x0, x1);
    for (int x = std::max(x0, 0); x <= x1; ++x)
      for (int y = 0; y < c.Height(); ++y)
        ASSERT_EQ(c.GetPixel(x, y), axes.GetPixel(x, y))
            << "n " << k.n << " a " << k.a << ": ink at (" << x << ", " << y << ") where the graph is undefined";
    EXPECT_FALSE(AxesOnly(c)) << "n " << k.n << ": no graph at all";
  }
}

TEST(FunctionGraphs, SteepGraphsAreUnbroken) {
  struct Case {
    int tool;
    double first, a, c;
  };
  // Each crosses or touches an axis, so graph and axes are one piece of ink.
  const Case cases[] = {
      {kPower, 7, 0, 0},   {kPower, 0.5, 0, 0},  {kPower, 9, 1, -1}, {kPower, 4, -2, -5},
      {kExponential, 20, 0, 0}, {kExponential, 0.05, 0, 0}, {kExponential, 1000, 1, -3},
  };
  for (const Case& k : cases) {
    for (int width : {1, 2}) {
      Canvas c(200, 160);
      c.DrawWidth = width;
      Draw(c, k.tool, 20, 20, 180, 140, Params(k.first, k.a, k.c));
      EXPECT_EQ(InkPieces(c).size(), 1u)
          << k.tool << " (" << k.first << ", " << k.a << ", " << k.c << ") width " << width;
    }
  }
}

}  // namespace
