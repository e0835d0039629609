// The mechanics parts: the spring's coils and leads, the pendulum's ball and ceiling, and where
// the slotted mass, the pulley, the bullet and the chain put their parts.
#include <gtest/gtest.h>

#include <limits>

#include "figures/FigureKeyPoints.h"

using namespace figtest;

namespace {

TEST(MechanicsParts, SpringHasNCoilsBetweenStraightLeadsOfATenth) {
  // A 160-pixel spring along row 80: leads 16 pixels long, the zigzag 12 pixels to each side.
  // Coils closer than four pixels would run together: at most 128 / 4 are drawn.
  struct Case {
    double n;
    int coils;
  };
  for (const Case& k : {Case{1, 1}, Case{4, 4}, Case{9, 9}, Case{200, 32}, Case{0, 1},
                        Case{std::numeric_limits<double>::quiet_NaN(), 1}}) {
    Canvas c(200, 160);
    Draw(c, 38, 20, 80, 180, 80, Params(k.n));
    EXPECT_EQ(InkRunsOnRow(c, 68, 0, 199).size(), static_cast<size_t>(k.coils)) << "peaks above, N = " << k.n;
    EXPECT_EQ(InkRunsOnRow(c, 92, 0, 199).size(), static_cast<size_t>(k.coils)) << "peaks below, N = " << k.n;
    for (int x : {20, 28, 35, 165, 172, 180}) {
      EXPECT_EQ(c.GetPixel(x, 80), kBlack) << "lead at " << x << ", N = " << k.n;
      EXPECT_EQ(c.GetPixel(x, 79), kWhite) << "straight lead at " << x << ", N = " << k.n;
      EXPECT_EQ(c.GetPixel(x, 81), kWhite) << "straight lead at " << x << ", N = " << k.n;
    }
  }
}

TEST(MechanicsParts, PendulumBallHasDiameterDUnderAHatchedCeiling) {
  // Pivot (100, 10), bob at (100, 110): the ball's diameter is d, at most twice the figure's reach
  // across the string (a quarter of 100).
  struct Case {
    double d;
    int diameter;
  };
  for (const Case& k : {Case{10, 10}, Case{24, 24}, Case{50, 50}, Case{1e9, 50}}) {
    Canvas c(200, 160);
    c.FillStyle = Canvas::kFillSolid;
    Draw(c, 34, 100, 10, 100, 110, Params(k.d));
    const int r = k.diameter / 2;
    for (int x = 100 - r + 1; x <= 100 + r - 1; ++x) ASSERT_EQ(c.GetPixel(x, 110), kBlack) << "ball at " << x << ", d = " << k.d;
    EXPECT_EQ(c.GetPixel(100 - r - 2, 110), kWhite) << "d = " << k.d;
    EXPECT_EQ(c.GetPixel(100 + r + 2, 110), kWhite) << "d = " << k.d;
    EXPECT_EQ(c.GetPixel(100, 110 + r), kBlack) << "d = " << k.d;
    EXPECT_EQ(c.GetPixel(100, 110 + r + 2), kWhite) << "d = " << k.d;
    // The ceiling: a horizontal line through the pivot, hatched above; below it only the string.
    EXPECT_EQ(c.GetPixel(80, 10), kBlack);
    EXPECT_EQ(c.GetPixel(120, 10), kBlack);
    EXPECT_GE(InkRunsOnRow(c, 7, 0, 199).size(), 5u) << "hatch strokes above the ceiling";
    EXPECT_EQ(InkRunsOnRow(c, 30, 0, 199), std::vector<int>{100}) << "the string alone below the ceiling";
  }
}

TEST(MechanicsParts, HooksRopesTipsAndLinksWhereTheyBelong) {
  ExpectKeyPoints({
      {"slotted mass: hook over the top quarter, body with two grooves", 46, 20, 20, 180, 140,
       {{100, 40}, {112, 20}, {124, 32}, {20, 50}, {180, 140}, {100, 80}, {100, 110}},
       {{20, 20}, {180, 30}, {100, 65}}},
      {"pulley: ropes from the wheel's sides to the top, hook at the bottom", 47, 20, 20, 180, 140,
       {{67, 20}, {133, 20}, {67, 60}, {100, 38}, {100, 104}, {100, 120}, {92, 140}},
       {{100, 20}, {100, 50}, {20, 140}, {180, 140}}},
      {"bullet: body of breadth 16, tip from 80 % to the pointer", 48, 20, 80, 180, 80,
       {{20, 72}, {20, 88}, {148, 72}, {148, 88}, {148, 80}, {180, 80}},
       {{176, 73}, {100, 80}}},
      {"chain: from end to end, ovals and bars alternating", 49, 20, 80, 180, 80,
       {{20, 80}, {180, 80}, {91, 80}, {100, 77}},
       {{100, 80}, {91, 77}}},
  });
}

}  // namespace
