// The lenses of palette 2 as a user sees them: they lie along the box's longer side, the bodies
// are closed and take the fill style, and the symbols' heads point out (convex) or in (concave).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "figures/Canvas.h"
#include "figures/FigureDrag.h"
#include "figures/InkComponents.h"

using namespace figtest;

namespace {

constexpr QRgb kFillBlue = 0xFF0000C0u;

struct Spot {
  double x, y;
};

TEST(Lenses, EachLensLiesAlongTheLongerSide) {
  // A tall box (60, 10)-(140, 150) and the same box lying down, (10, 40)-(190, 120).
  struct Case {
    int tool;
    bool tall;
    std::vector<Spot> ink, blank;
  };
  const std::vector<Case> cases = {
      // Concave: flat ends across the box, the sides curving in to a third of its width.
      {126, true, {{60, 10}, {140, 150}, {87, 80}, {113, 80}}, {{60, 80}, {140, 80}, {100, 80}}},
      {126, false, {{10, 40}, {190, 120}, {100, 67}, {100, 93}}, {{100, 40}, {100, 120}, {100, 80}}},
      // Convex: pointed ends in the middle of the short sides, bulging out to the long ones.
      {128, true, {{100, 10}, {100, 150}, {60, 80}, {140, 80}}, {{60, 10}, {140, 150}, {100, 80}}},
      {128, false, {{10, 80}, {190, 80}, {100, 40}, {100, 120}}, {{10, 40}, {190, 120}, {100, 80}}},
      // Symbols: a line through the middle from end to end. The convex lens's heads point out (their
      // barbs open away from the end), the concave lens's in (their barbs open at the end).
      {127, true, {{100, 10}, {100, 80}, {100, 150}, {94, 10}, {106, 150}}, {{80, 80}, {97, 20}, {103, 140}}},
      {129, false, {{10, 80}, {100, 80}, {190, 80}, {20, 74}, {180, 86}}, {{100, 60}, {10, 77}, {190, 83}}},
  };
  for (const Case& k : cases) {
    Canvas c(200, 160);
    if (k.tall)
      Draw(c, k.tool, 60, 10, 140, 150);
    else
      Draw(c, k.tool, 10, 40, 190, 120);
    const std::string name = std::to_string(k.tool) + (k.tall ? " tall" : " lying");
    for (Spot s : k.ink) EXPECT_TRUE(InkNear(c, s.x, s.y)) << name << ": no ink at " << s.x << ", " << s.y;
    for (Spot s : k.blank) EXPECT_FALSE(InkNear(c, s.x, s.y)) << name << ": ink at " << s.x << ", " << s.y;
  }
}

TEST(Lenses, LensBodiesAreClosedAndTakeTheFillStyle) {
  for (int tool : {126, 128}) {
    for (int fill : {Canvas::kFillSolid, Canvas::kFillTransparent}) {
      Canvas c(200, 160);
      c.FillColor = kFillBlue;
      c.FillStyle = fill;
      Draw(c, tool, 60, 10, 140, 150);
      EXPECT_EQ(c.GetPixel(100, 80), fill == Canvas::kFillSolid ? kFillBlue : kWhite) << tool;
      EXPECT_EQ(c.GetPixel(10, 80), kWhite) << tool << ": the fill leaks out";
    }
  }
}

}  // namespace
