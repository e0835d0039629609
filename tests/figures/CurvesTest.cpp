// The curves of palette 2 as a user sees them: a parabola has its vertex at the press point and
// passes through the pointer, and every curve is one unbroken stroke however steep it runs, on
// which a dashed line style stays dashed.
#include <gtest/gtest.h>

#include <algorithm>

#include "figures/Canvas.h"
#include "figures/FigureDrag.h"
#include "figures/InkComponents.h"
#include "workspace/ToolCatalogue.h"

using namespace figtest;

namespace {

Canvas Drawn(int tool, const DragGeometry& drag, double sp, int style = Canvas::kSolid, int width = 1) {
  Canvas c(200, 160);
  c.DrawStyle = style;
  c.DrawWidth = width;
  ParameterValues p = DefaultParameters(tool);
  p.SP = sp;
  DragGeometry g = drag;
  DrawFigure(c, g, tool, p);
  return c;
}

TEST(Curves, AParabolaHasItsVertexAtThePressPointAndPassesThroughThePointer) {
  // The press point is (100, 80). The mirror image of the pointer across the parabola's axis is on
  // the curve for a whole parabola and off it for a half one.
  enum Axis { Vertical, Horizontal };
  struct Case {
    int tool;
    Axis axis;
    bool whole;
    double qx, qy;
  };
  const Case cases[] = {
      {102, Horizontal, false, 170, 25}, {102, Horizontal, false, 30, 150}, {102, Horizontal, false, 103, 10},
      {103, Vertical, false, 170, 25},   {103, Vertical, false, 40, 150},   {103, Vertical, false, 102, 10},
      {104, Vertical, true, 170, 25},    {104, Vertical, true, 130, 150},   {104, Vertical, true, 101, 10},
      {105, Horizontal, true, 170, 25},  {105, Horizontal, true, 30, 150},  {105, Horizontal, true, 190, 78},
  };
  for (const Case& k : cases) {
    for (int width : {1, 4}) {
      const Canvas c = Drawn(k.tool, Drag(100, 80, k.qx, k.qy), 5, Canvas::kSolid, width);
      const std::string name =
          std::to_string(k.tool) + " to " + std::to_string(k.qx) + ", " + std::to_string(k.qy);
      EXPECT_TRUE(Ink(c, 100, 80)) << name << ": no vertex at the press point";
      EXPECT_TRUE(Ink(c, k.qx, k.qy)) << name << ": the curve misses the pointer";
      const double mx = k.axis == Vertical ? 200 - k.qx : k.qx, my = k.axis == Horizontal ? 160 - k.qy : k.qy;
      if (k.whole) {
        EXPECT_TRUE(Ink(c, mx, my)) << name << ": no second branch";
      } else if (width == 1) {
        EXPECT_FALSE(InkNear(c, mx, my)) << name << ": a half parabola with a second branch";
      }
    }
  }
}

TEST(Curves, EveryCurveIsOneUnbrokenStrokeAndADashedStyleStaysDashed) {
  struct Case {
    int tool;
    DragGeometry drag;
    double sp;  // turns or periods
  };
  const Case cases[] = {
      {102, Drag(100, 80, 104, 5), 5},    // nearly upright all the way
      {103, Drag(100, 80, 103, 5), 5},    // steeper and steeper towards the pointer
      {104, Drag(100, 150, 102, 5), 5},   // a needle
      {105, Drag(100, 80, 195, 78), 5},   // a needle lying down
      {107, Drag(100, 80, 170, 80), 5},   {107, Drag(100, 80, 50, 130), 12},
      {108, Drag(95, 5, 105, 155), 6},    // narrow: amplitude 5
      {108, Drag(5, 70, 195, 90), 3},     // wide and low: almost flat runs
      {117, Drag(20, 20, 180, 140), 5},   {117, Drag(150, 10, 130, 150), 5},
  };
  for (const Case& k : cases) {
    const std::string name = std::to_string(k.tool) + " sp " + std::to_string(k.sp);
    for (int width : {1, 2}) {
      EXPECT_EQ(InkPieces(Drawn(k.tool, k.drag, k.sp, Canvas::kSolid, width)).size(), 1u)
          << name << " width " << width << ": the stroke breaks";
    }
    // Dashed: many short dashes all along (two may touch where the curve turns tightly).
    std::vector<int> dashes = InkPieces(Drawn(k.tool, k.drag, k.sp, Canvas::kDash));
    ASSERT_GT(dashes.size(), 4u) << name;
    std::nth_element(dashes.begin(), dashes.begin() + dashes.size() / 2, dashes.end());
    EXPECT_LE(dashes[dashes.size() / 2], 5) << name << ": the dashes run on solid";
  }
}

}  // namespace
