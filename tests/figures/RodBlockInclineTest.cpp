// Rod (ToolId 19), square block (ToolId 20) and incline (ToolId 21).
#include <gtest/gtest.h>

#include <QPoint>
#include <vector>

#include "figures/Canvas.h"
#include "figures/DrawFigure.h"
#include "figures/FigureDrag.h"

using namespace figtest;

namespace {

Canvas PolygonOf(int w, int h, std::vector<QPoint> v, int fillStyle = Canvas::kFillTransparent,
                 QRgb fillColor = qRgb(0, 0, 0)) {
  Canvas c(w, h);
  c.FillStyle = fillStyle;
  c.FillColor = fillColor;
  c.Polygon(v.data(), static_cast<int>(v.size()));
  return c;
}

}  // namespace

TEST(Rod, VerticesAndBoxes) {
  struct Case {
    double x1, y1, x2, y2, t;
    std::vector<QPoint> v;  // empty: the box of the straight cases
  } cases[] = {
      {0, 0, 100, 100, 10, {{0, 0}, {100, 100}, {107, 93}, {7, -7}}},
      {100, 0, 0, 100, 4, {{100, 0}, {0, 100}, {-3, 97}, {97, -3}}},
      {20, 100, 110, 40, 6.5, {}},
  };
  for (const Case& k : cases) {
    for (int fill : {Canvas::kFillTransparent, Canvas::kFillSolid, 4}) {
      Canvas c(130, 130);
      c.FillStyle = fill;
      Draw(c, 19, k.x1, k.y1, k.x2, k.y2, Params(k.t));
      if (k.v.empty()) continue;
      EXPECT_TRUE(SamePicture(c, PolygonOf(130, 130, k.v, fill))) << k.t << " fill " << fill;
    }
  }
  // Against a hand-made rectangle of thickness 6.5 along (20, 100) -> (110, 40):
  // theta = atan(-60/90), offset (t sin theta, -t cos theta) = (-3.6056, -5.4083).
  Canvas slope(130, 130);
  Draw(slope, 19, 20, 100, 110, 40, Params(6.5));
  EXPECT_TRUE(SamePicture(slope, PolygonOf(130, 130, {{20, 100}, {110, 40}, {106, 35}, {16, 95}})));

  Canvas flat(130, 130);
  Draw(flat, 19, 10, 50, 110, 50, Params(3));
  Canvas flatBox(130, 130);
  flatBox.Box(10, 50, 110, 47);
  EXPECT_TRUE(SamePicture(flat, flatBox));
  for (int x = 10; x <= 110; ++x) EXPECT_TRUE(Ink(flat, x, 47) && Ink(flat, x, 50)) << x;
  EXPECT_FALSE(Ink(flat, 50, 46));

  Canvas upright(130, 130);
  Draw(upright, 19, 40, 10, 40, 90, Params(3));
  for (int y = 10; y <= 90; ++y) EXPECT_TRUE(Ink(upright, 40, y) && Ink(upright, 43, y)) << y;
  EXPECT_FALSE(Ink(upright, 44, 50));

  Canvas click(50, 50);
  Draw(click, 19, 20, 20, 20, 20, Params(3));
  EXPECT_EQ(InkCount(click), 0);
}

TEST(SquareBlock, StandsOnTheDraggedSegment) {
  Canvas c(130, 130);
  Draw(c, 20, 0, 100, 40, 70);
  EXPECT_TRUE(SamePicture(c, PolygonOf(130, 130, {{0, 100}, {40, 70}, {10, 30}, {-30, 60}})));
  // The corners on the picture are drawn, each vertex pixel itself.
  for (QPoint p : {QPoint(0, 100), QPoint(40, 70), QPoint(10, 30)}) EXPECT_TRUE(Ink(c, p.x(), p.y())) << p.x() << ", " << p.y();
  EXPECT_FALSE(Ink(c, 45, 70));
  EXPECT_FALSE(Ink(c, 10, 25));

  Canvas level(130, 130);  // left to right along a floor: the block sits above it
  Draw(level, 20, 20, 100, 60, 100);
  for (int x = 20; x <= 60; ++x) EXPECT_TRUE(Ink(level, x, 100) && Ink(level, x, 60)) << x;
  EXPECT_FALSE(Ink(level, 40, 101));

  Canvas reversed(130, 130);  // right to left: below it
  Draw(reversed, 20, 60, 50, 20, 50);
  for (int x = 20; x <= 60; ++x) EXPECT_TRUE(Ink(reversed, x, 90)) << x;

  Canvas vertical(130, 130);
  Draw(vertical, 20, 40, 10, 40, 90);
  EXPECT_EQ(InkCount(vertical), 0);
}

TEST(Incline, RightAngleBelowThePressPoint) {
  Canvas c(130, 130);
  c.FillStyle = Canvas::kFillSolid;
  c.FillColor = qRgb(0, 0, 255);
  Draw(c, 21, 10, 10, 90, 70);
  EXPECT_TRUE(SamePicture(c, PolygonOf(130, 130, {{10, 10}, {90, 70}, {10, 70}},
                                       Canvas::kFillSolid, qRgb(0, 0, 255))));
  for (int y = 10; y <= 70; ++y) EXPECT_TRUE(Ink(c, 10, y)) << y;
  for (int x = 10; x <= 90; ++x) EXPECT_TRUE(Ink(c, x, 70)) << x;
  EXPECT_EQ(c.GetPixel(20, 60), qRgb(0, 0, 255));
  EXPECT_EQ(c.GetPixel(80, 20), kWhite);

  Canvas degenerate(50, 50);
  Draw(degenerate, 21, 10, 20, 40, 20);  // flat: drawn anyway, a line
  for (int x = 10; x <= 40; ++x) EXPECT_TRUE(Ink(degenerate, x, 20)) << x;
}
