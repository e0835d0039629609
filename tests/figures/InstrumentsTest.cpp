// The meters: what the library-wide checks cannot know. The needle of the ammeter and of the
// voltmeter rests at the left end of the scale, the galvanometer's in the middle, whichever way the
// drag went; the scale shows its ten divisions.
#include <gtest/gtest.h>

#include <algorithm>
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

TEST(Instruments, TheScaleShowsTenDivisions) {
  // Drags other than the reviewed picture's: large and made leftwards and upwards, and a tall case.
  struct Case {
    double x1, y1, x2, y2;
  };
  const Case drags[] = {{280, 210, 20, 10}, {160, 5, 60, 215}};
  for (ToolId tool : {ToolId::Ammeter, ToolId::Voltmeter, ToolId::Galvanometer}) {
    for (const Case& k : drags) {
      for (int width : {1, 2}) {
        Canvas c(300, 220);
        c.DrawWidth = width;
        Draw(c, ToolNumber(tool), k.x1, k.y1, k.x2, k.y2);
        // The dial as the meter lays it out: the pivot at 0.58 of the case (the box less the
        // terminals' half below it), the arc as large as the window above the pivot allows.
        const double left = std::min(k.x1, k.x2), top = std::min(k.y1, k.y2);
        const double w = std::fabs(k.x2 - k.x1), h = std::fabs(k.y2 - k.y1);
        const double terminal = std::clamp(std::min(0.05 * h, 0.04 * w), std::min(1.5, 0.05 * h), 6.0);
        const double caseHeight = h - terminal;
        const QPointF pivot(left + w / 2, top + 0.58 * caseHeight);
        const double radius = std::min((0.58 - 0.08 - 0.04) * caseHeight / 1.16, 0.39 * w / (1.16 * std::sqrt(0.5)));
        // Just outside the arc's stroke, within the short ticks' reach (0.09 of the radius), every
        // tick is crossed once: eleven of them from end to end.
        const double out = radius + width + 1;
        ASSERT_LT(out, 1.09 * radius - 0.5);
        int ticks = 0;
        bool inTick = false;
        for (double deg = 140; deg >= 40; deg -= 0.1) {
          const double a = deg * 3.1416 / 180;
          const QPointF p = pivot + QPointF(std::cos(a), -std::sin(a)) * out;
          const bool ink = c.GetPixel(std::lround(p.x()), std::lround(p.y())) != kWhite;
          ticks += ink && !inTick;
          inTick = ink;
        }
        EXPECT_EQ(ticks, 11) << ToolNumber(tool) << " drag to " << k.x2 << ", " << k.y2 << " width " << width;
      }
    }
  }
}

}  // namespace
