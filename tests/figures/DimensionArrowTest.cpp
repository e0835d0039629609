// The dimension arrow (ToolId 22).
#include <gtest/gtest.h>

#include <vector>

#include "figures/Canvas.h"
#include "figures/DrawFigure.h"
#include "figures/FigureDrag.h"

using namespace figtest;

TEST(DimensionArrow, LongAndShortSpansInBothDirections) {
  struct Case {
    const char* name;
    double x1, y1, x2, y2;
    std::vector<Seg> segs;
  };
  const Case cases[] = {
      {"long horizontal", 10, 20, 110, 40,
       {{10, 20, 10, 40}, {110, 20, 110, 40}, {10, 30, 110, 30},
        {10, 30, 19, 32}, {10, 30, 19, 28}, {110, 30, 101, 32}, {110, 30, 101, 28}}},
      {"long horizontal dragged left", 110, 40, 10, 20,
       {{110, 40, 110, 20}, {10, 40, 10, 20}, {110, 30, 10, 30},
        {110, 30, 101, 32}, {110, 30, 101, 28}, {10, 30, 19, 32}, {10, 30, 19, 28}}},
      {"short horizontal", 10, 20, 30, 25,
       {{10, 20, 10, 25}, {30, 20, 30, 25}, {10, 22.5, -2, 22.5}, {30, 22.5, 42, 22.5},
        {10, 22.5, 1, 24.5}, {10, 22.5, 1, 20.5}, {30, 22.5, 39, 24.5}, {30, 22.5, 39, 20.5}}},
      {"short horizontal dragged left", 50, 20, 30, 25,
       {{50, 20, 50, 25}, {30, 20, 30, 25}, {50, 22.5, 62, 22.5}, {30, 22.5, 18, 22.5},
        {50, 22.5, 59, 24.5}, {50, 22.5, 59, 20.5}, {30, 22.5, 21, 24.5}, {30, 22.5, 21, 20.5}}},
      {"long vertical upward", 50, 100, 60, 10,
       {{50, 100, 60, 100}, {50, 10, 60, 10}, {55, 100, 55, 10},
        {55, 100, 57, 91}, {55, 100, 53, 91}, {55, 10, 57, 19}, {55, 10, 53, 19}}},
      {"short vertical downward", 40, 40, 44, 60,
       {{40, 40, 44, 40}, {40, 60, 44, 60}, {42, 40, 42, 28}, {42, 60, 42, 72},
        {42, 40, 44, 31}, {42, 40, 40, 31}, {42, 60, 44, 69}, {42, 60, 40, 69}}},
      {"tie", 10, 10, 50, 50, {}},
      {"click", 30, 30, 30, 30, {}},
  };
  for (const Case& k : cases) {
    Canvas c(130, 130);
    Draw(c, 22, k.x1, k.y1, k.x2, k.y2);
    EXPECT_TRUE(SamePicture(c, Segments(130, 130, k.segs))) << k.name;
  }
  Canvas c(130, 130);
  Draw(c, 22, 10, 20, 110, 40);
  EXPECT_TRUE(Ink(c, 19, 32) && Ink(c, 19, 28) && Ink(c, 101, 32) && Ink(c, 101, 28));
  for (int x = 10; x <= 110; ++x) EXPECT_TRUE(Ink(c, x, 30)) << x;
}

TEST(DimensionArrow, ThirtyPixelsIsShortThirtyOneLong) {
  // 30: no line between the extension lines, tails outside; 31: the line, no tails.
  Canvas shortSpan(100, 60);
  Draw(shortSpan, 22, 30, 20, 60, 30);
  EXPECT_FALSE(Ink(shortSpan, 45, 25));
  EXPECT_TRUE(Ink(shortSpan, 18, 25) && Ink(shortSpan, 72, 25));
  Canvas longSpan(100, 60);
  Draw(longSpan, 22, 30, 20, 61, 30);
  EXPECT_TRUE(Ink(longSpan, 45, 25));
  EXPECT_FALSE(Ink(longSpan, 25, 25));
  EXPECT_FALSE(Ink(longSpan, 66, 25));

  Canvas shortV(60, 100);
  Draw(shortV, 22, 20, 30, 26, 60);
  EXPECT_FALSE(Ink(shortV, 23, 45));
  Canvas longV(60, 100);
  Draw(longV, 22, 20, 30, 26, 61);
  EXPECT_TRUE(Ink(longV, 23, 45));
}
