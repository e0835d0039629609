// The meters: what the library-wide checks cannot know. The needle of the ammeter and of the
// voltmeter rests at the left end of the scale, the galvanometer's in the middle, whichever way the
// drag went.
#include <gtest/gtest.h>

#include <cmath>

#include "figures/Canvas.h"
#include "figures/FigureDrag.h"
#include "figures/ToolId.h"

using namespace figtest;

namespace {

enum class Rest { Left, Middle };

struct NeedleCase {
  ToolId tool;
  Rest rest;
  double x1, y1, x2, y2;
};

TEST(Instruments, TheNeedleRestsOnTheScalesZero) {
  const NeedleCase cases[] = {
      {ToolId::Ammeter, Rest::Left, 20, 10, 180, 150},
      {ToolId::Ammeter, Rest::Left, 280, 210, 10, 10},  // leftwards and upwards: not mirrored
      {ToolId::Voltmeter, Rest::Left, 60, 5, 140, 145},  // a tall case
      {ToolId::Voltmeter, Rest::Left, 10, 10, 290, 210},
      {ToolId::Galvanometer, Rest::Middle, 20, 10, 180, 150},
      {ToolId::Galvanometer, Rest::Middle, 140, 5, 60, 145},
      {ToolId::Galvanometer, Rest::Middle, 10, 10, 290, 210},
  };
  for (const NeedleCase& k : cases) {
    for (int width : {1, 2}) {
      Canvas c(300, 220);
      c.DrawWidth = width;
      Draw(c, ToolNumber(k.tool), k.x1, k.y1, k.x2, k.y2);
      // Between the scale and the needle's pivot, away from the dial window's sides, the needle
      // is all there is.
      const double left = std::min(k.x1, k.x2), top = std::min(k.y1, k.y2);
      const double w = std::fabs(k.x2 - k.x1), h = std::fabs(k.y2 - k.y1), cx = left + w / 2;
      int needle = 0, astray = 0;
      for (int y = static_cast<int>(top + 0.40 * h); y <= static_cast<int>(top + 0.52 * h); ++y)
        for (int x = static_cast<int>(left + 0.25 * w); x <= static_cast<int>(left + 0.75 * w); ++x) {
          if (c.GetPixel(x, y) == kWhite) continue;
          ++needle;
          astray += k.rest == Rest::Left ? x >= cx - 2 : std::fabs(x - cx) > width;
        }
      EXPECT_GE(needle, 0.1 * h) << ToolNumber(k.tool) << " width " << width << ": no needle";
      EXPECT_EQ(astray, 0) << ToolNumber(k.tool) << " width " << width << ": needle ink away from the zero";
    }
  }
}

}  // namespace
