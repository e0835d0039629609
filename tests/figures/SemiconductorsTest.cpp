// The electronic parts: what the library-wide checks cannot know. The amplifier points the way the
// drag went: its two input leads leave the trailing edge of the box, its output lead the leading
// edge.
#include <gtest/gtest.h>

#include "figures/Canvas.h"
#include "figures/FigureDrag.h"
#include "figures/InkRuns.h"
#include "figures/ToolId.h"

using namespace figtest;

namespace {

TEST(Semiconductors, TheAmplifierFacesTheDragsDirection) {
  struct Case {
    const char* what;
    double x1, y1, x2, y2;
    int width;
  };
  const Case cases[] = {
      {"rightwards", 20, 20, 180, 140, 1},
      {"leftwards", 180, 20, 20, 140, 1},
      {"leftwards and upwards", 180, 140, 20, 20, 2},
      {"rightwards, a tall box", 60, 5, 140, 155, 1},
      {"leftwards, a small box", 120, 60, 80, 90, 1},
      {"rightwards, wide pen", 20, 40, 180, 120, 4},
  };
  for (const Case& k : cases) {
    Canvas c(200, 160);
    c.DrawWidth = k.width;
    Draw(c, ToolNumber(ToolId::OperationalAmplifier), k.x1, k.y1, k.x2, k.y2);
    const int from = static_cast<int>(k.x1), to = static_cast<int>(k.x2);
    const int step = to > from ? 1 : -1;
    // Just inside the box at its trailing and leading edges.
    EXPECT_EQ(InkRunsInColumn(c, from + step, 0, 159), 2) << k.what << ": inputs at the trailing edge";
    EXPECT_EQ(InkRunsInColumn(c, to - step, 0, 159), 1) << k.what << ": output at the leading edge";
  }
}

}  // namespace
