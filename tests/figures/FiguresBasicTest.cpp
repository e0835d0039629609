// The figure dispatcher and the basic figures of the first palette, and the fill tool.
#include <gtest/gtest.h>

#include "figures/Canvas.h"
#include "figures/DrawFigure.h"
#include "figures/FigureDrag.h"
#include "figures/ToolTable.h"

using namespace figtest;

TEST(FiguresBasic, StoresDragOffsetForEveryTool) {
  for (int tool : {1, 2, 3, 5, 11, 23, 24, 25, 49, 57, 150, 199, 300, -1}) {
    Canvas c(50, 50);
    DragGeometry g = Drag(10.5, 20, 4.25, 33);
    g.DragOffset = {999, 999};
    DrawFigure(c, g, tool, ParameterValues());
    EXPECT_DOUBLE_EQ(g.DragOffset.x, -6.25) << tool;
    EXPECT_DOUBLE_EQ(g.DragOffset.y, 13) << tool;
  }
}

TEST(FiguresBasic, ToolsWithoutFigureLeaveThePictureAlone) {
  // The eraser and the text tool are painted elsewhere; 23 and every button of the palettes whose
  // figure is not in the tool table have no figure.
  std::vector<int> tools = {2, 3, 23, 0, -5, 200, 1000};
  for (int t = 25; t < 200; ++t)
    if (t != 51 && t != 101 && t != 151 && !ToolFigureOf(t).draw) tools.push_back(t);
  for (int tool : tools) {
    Canvas c(80, 60);
    Draw(c, tool, 10, 10, 70, 50);
    EXPECT_EQ(InkCount(c), 0) << "tool " << tool;
  }
}

TEST(FiguresBasic, EveryFigureLeavesTheDrawingStateAsItFoundIt) {
  for (int tool = 1; tool <= 24; ++tool) {
    for (int style : {0, 1, 2, 3}) {
      Canvas c(120, 90);
      c.ForeColor = qRgb(200, 10, 10);
      c.FillColor = qRgb(10, 200, 10);
      c.FillStyle = style == 0 ? 0 : 6;
      c.DrawStyle = style;
      c.DrawWidth = style == 0 ? 4 : 1;
      const DrawingState before(c);
      Draw(c, tool, 20, 15, 90, 70, Params(3, 4));
      EXPECT_TRUE(DrawingState(c) == before) << "tool " << tool << " style " << style;
    }
  }
}

TEST(FiguresBasic, SelectionFrameIsDottedAndCoversTheDrag) {
  Canvas c(80, 60);
  c.DrawStyle = Canvas::kSolid;
  c.DrawWidth = 4;
  c.FillStyle = Canvas::kFillSolid;
  Draw(c, 1, 50, 50, 10, 20);
  EXPECT_EQ(c.DrawStyle, Canvas::kSolid);
  EXPECT_EQ(c.DrawWidth, 4);
  EXPECT_EQ(c.FillStyle, Canvas::kFillSolid);

  // Top-left corner (10, 20), 40 columns and 30 rows: the frame lies on x = 10 and 49, y = 20 and
  // 49, dotted, and nothing is filled inside or drawn outside.
  Canvas expected(80, 60);
  expected.DrawStyle = Canvas::kDot;
  expected.BoxRel(10, 20, 39, 29);
  EXPECT_TRUE(SamePicture(c, expected));
  EXPECT_TRUE(Ink(c, 10, 20));
  for (int x = 0; x < 80; ++x) {
    EXPECT_FALSE(Ink(c, x, 19)) << x;
    EXPECT_FALSE(Ink(c, x, 50)) << x;
  }
  for (int y = 0; y < 60; ++y) {
    EXPECT_FALSE(Ink(c, 9, y)) << y;
    EXPECT_FALSE(Ink(c, 50, y)) << y;
  }
  int onTopEdge = 0;
  for (int x = 10; x <= 49; ++x) onTopEdge += Ink(c, x, 20);
  EXPECT_GT(onTopEdge, 5);
  EXPECT_LT(onTopEdge, 40);  // dotted, not solid
  EXPECT_FALSE(Ink(c, 30, 35));

  Canvas flat(80, 60);
  Draw(flat, 1, 10, 10, 60, 10);  // no rows: no frame
  EXPECT_EQ(InkCount(flat), 0);
}

TEST(FiguresBasic, FreehandJoinsSegmentsAndFollowsThePointer) {
  Canvas c(100, 100);
  DragGeometry g = Drag(10, 10, 10, 10);
  const double path[][2] = {{30, 10}, {30, 40}, {60, 70}};
  for (const auto& p : path) {
    g.CurrentPoint = {p[0], p[1]};
    DrawFigure(c, g, 4, ParameterValues());
    EXPECT_DOUBLE_EQ(g.PressPoint.x, p[0]);
    EXPECT_DOUBLE_EQ(g.PressPoint.y, p[1]);
  }
  Canvas expected(100, 100);
  expected.Line(10, 10, 30, 10);
  expected.Line(30, 10, 30, 40);
  expected.Line(30, 40, 60, 70);
  EXPECT_TRUE(SamePicture(c, expected));
  for (int x = 10; x <= 30; ++x) EXPECT_TRUE(Ink(c, x, 10)) << x;
  for (int i = 0; i <= 30; ++i) EXPECT_TRUE(Ink(c, 30 + i, 40 + i)) << i;
}

TEST(FiguresBasic, AxisLineFollowsTheLongerExtentAndTiesGoVertical) {
  struct Case {
    double x2, y2;
    bool horizontal;
  } cases[] = {{70, 20, false}, {71, 20, true}, {9, 20, true}, {10, 20, false}, {40, 50, false}};
  for (const Case& k : cases) {
    Canvas c(120, 80);
    Draw(c, 5, 40, 50, k.x2, k.y2);  // (+30, -30) is a tie, (+31, -30) is not
    Canvas expected(120, 80);
    if (k.horizontal)
      expected.Line(40, 50, k.x2, 50);
    else
      expected.Line(40, 50, 40, k.y2);
    EXPECT_TRUE(SamePicture(c, expected)) << k.x2 << ", " << k.y2;
  }
  Canvas c(120, 80);
  Draw(c, 5, 40, 50, 70, 20);
  for (int y = 20; y <= 50; ++y) EXPECT_TRUE(Ink(c, 40, y)) << y;
  EXPECT_FALSE(Ink(c, 41, 50));
}

TEST(FiguresBasic, StraightLineRectangleEllipseAndRoundedRectangle) {
  Canvas line(120, 120);
  Draw(line, 6, 10, 10, 60, 60);
  for (int i = 0; i <= 50; ++i) EXPECT_TRUE(Ink(line, 10 + i, 10 + i)) << i;
  EXPECT_EQ(InkCount(line), 51);

  Canvas rect(120, 120);
  Draw(rect, 7, 40, 60, 100, 100);
  for (int x = 40; x <= 100; ++x) EXPECT_TRUE(Ink(rect, x, 60) && Ink(rect, x, 100)) << x;
  for (int y = 60; y <= 100; ++y) EXPECT_TRUE(Ink(rect, 40, y) && Ink(rect, 100, y)) << y;
  EXPECT_EQ(InkCount(rect), 2 * 61 + 2 * 39);

  Canvas round(120, 120);
  Draw(round, 8, 10, 10, 110, 70, Params(20));
  Canvas expectedRound(120, 120);
  expectedRound.RoundRect(10, 10, 110, 70, 20, 20);
  EXPECT_TRUE(SamePicture(round, expectedRound));
  EXPECT_TRUE(Ink(round, 60, 10));
  EXPECT_FALSE(Ink(round, 10, 10));  // the corner is cut round

  Canvas roundHalf(120, 120);  // 20.5 rounds to 20, 21.5 to 22
  Draw(roundHalf, 8, 10, 10, 110, 70, Params(20.5));
  EXPECT_TRUE(SamePicture(roundHalf, expectedRound));

  Canvas ellipse(120, 120);
  Draw(ellipse, 9, 10.5, 10, 110, 70.5);  // 10.5 -> 10, 70.5 -> 70
  Canvas expectedEllipse(120, 120);
  expectedEllipse.Ellipse(10, 10, 110, 70);
  EXPECT_TRUE(SamePicture(ellipse, expectedEllipse));
}

TEST(FiguresBasic, ReversedDragsGiveTheSameShape) {
  for (int tool : {7, 8, 9}) {
    for (int fill : {0, 1, 5}) {
      Canvas forward(130, 130), backward(130, 130);
      forward.FillStyle = backward.FillStyle = fill;
      Draw(forward, tool, 40, 60, 100, 100, Params(15));
      Draw(backward, tool, 100, 100, 40, 60, Params(15));
      EXPECT_TRUE(SamePicture(backward, forward)) << "tool " << tool << " fill " << fill;
      Canvas mixed(130, 130);
      mixed.FillStyle = fill;
      Draw(mixed, tool, 100, 60, 40, 100, Params(15));
      EXPECT_TRUE(SamePicture(mixed, forward)) << "tool " << tool << " fill " << fill;
    }
  }
}

TEST(FiguresBasic, CircleIsCentredOnThePressPointWithACentreDot) {
  Canvas c(120, 120);
  Draw(c, 10, 60, 60, 90, 100);  // radius 50
  Canvas expected(120, 120);
  expected.PSet(60, 60);
  expected.Circle(60, 60, 50);
  EXPECT_TRUE(SamePicture(c, expected));
  EXPECT_TRUE(Ink(c, 60, 60));
  EXPECT_FALSE(Ink(c, 61, 61));
  EXPECT_GT(InkCount(c), 250);  // about 2 pi 50 pixels of outline
  EXPECT_LT(InkCount(c), 450);

  Canvas click(50, 50);
  Draw(click, 10, 20, 20, 20, 20);
  EXPECT_TRUE(Ink(click, 20, 20));
  EXPECT_FALSE(Ink(click, 21, 20));
  EXPECT_FALSE(Ink(click, 20, 21));
}

// ---- The fill tool (ToolId 24) ----

namespace {

// A black 1-pixel rectangle outline from (10, 10) to (50, 40) on a white 80 x 60 picture.
Canvas Outlined() {
  Canvas c(80, 60);
  c.Box(10, 10, 50, 40);
  return c;
}

}  // namespace

TEST(FiguresFill, FillsTheInteriorOnly) {
  Canvas c = Outlined();
  c.FillStyle = Canvas::kFillSolid;
  c.FillColor = qRgb(255, 0, 0);
  Draw(c, 24, 30, 25, 70, 5);  // the release point is not used
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 80; ++x) {
      const bool outline = (x == 10 || x == 50) ? (y >= 10 && y <= 40)
                                                : ((y == 10 || y == 40) && x > 10 && x < 50);
      const bool inside = x > 10 && x < 50 && y > 10 && y < 40;
      const QRgb want = outline ? kBlack : inside ? qRgb(255, 0, 0) | 0xFF000000u : kWhite;
      ASSERT_EQ(c.GetPixel(x, y), want) << x << ", " << y;
    }
}

TEST(FiguresFill, SeedOnTheOutlineFillsTheOutline) {
  Canvas c = Outlined();
  c.FillStyle = Canvas::kFillSolid;
  c.FillColor = qRgb(0, 0, 255);
  Draw(c, 24, 10.4, 25.5, 10, 25);  // rounds to (10, 26), on the left side
  EXPECT_EQ(c.GetPixel(10, 10), qRgb(0, 0, 255));
  EXPECT_EQ(c.GetPixel(50, 40), qRgb(0, 0, 255));
  EXPECT_EQ(c.GetPixel(30, 25), kWhite);
  EXPECT_EQ(c.GetPixel(5, 5), kWhite);
}

TEST(FiguresFill, LeaksThroughAGapToThePictureEdges) {
  Canvas c = Outlined();
  c.Line(30, 10, 30, 10, kWhite);  // a gap in the top side
  c.FillStyle = Canvas::kFillSolid;
  c.FillColor = qRgb(0, 160, 0);
  Draw(c, 24, 30, 25, 30, 25);
  EXPECT_EQ(c.GetPixel(30, 25), qRgb(0, 160, 0));
  EXPECT_EQ(c.GetPixel(0, 0), qRgb(0, 160, 0));
  EXPECT_EQ(c.GetPixel(79, 59), qRgb(0, 160, 0));
  EXPECT_EQ(c.GetPixel(10, 10), kBlack);
}

TEST(FiguresFill, SameColourTransparentAndOffThePictureChangeNothing) {
  Canvas same = Outlined();
  same.FillStyle = Canvas::kFillSolid;
  same.FillColor = qRgb(255, 255, 255);
  Draw(same, 24, 30, 25, 30, 25);
  EXPECT_TRUE(SamePicture(same, Outlined()));

  Canvas transparent = Outlined();
  transparent.FillStyle = Canvas::kFillTransparent;
  Draw(transparent, 24, 30, 25, 30, 25);
  EXPECT_TRUE(SamePicture(transparent, Outlined()));

  for (double x : {-1.0, 80.0, 1e12, -1e300}) {
    Canvas off = Outlined();
    off.FillStyle = Canvas::kFillSolid;
    Draw(off, 24, x, 25, 30, 25);
    EXPECT_TRUE(SamePicture(off, Outlined())) << x;
  }
}

TEST(FiguresFill, HatchFillsOnlyTheAreaWithTheFillColour) {
  Canvas c = Outlined();
  c.FillStyle = 6;  // cross-hatch
  c.FillColor = qRgb(0, 0, 200);
  Draw(c, 24, 30, 25, 30, 25);
  int hatch = 0, white = 0;
  for (int y = 11; y < 40; ++y)
    for (int x = 11; x < 50; ++x) {
      const QRgb p = c.GetPixel(x, y);
      ASSERT_TRUE(p == qRgb(0, 0, 200) || p == kWhite) << x << ", " << y;
      (p == kWhite ? white : hatch)++;
    }
  EXPECT_GT(hatch, 0);
  EXPECT_GT(white, 0);
  EXPECT_EQ(c.GetPixel(5, 5), kWhite);
  EXPECT_EQ(c.GetPixel(60, 50), kWhite);
}
