// Every figure under extreme drags and parameters: nothing crashes, hangs or overflows, and the
// drawing state comes back unchanged. Finishing at all is the check for bounded time.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "figures/Canvas.h"
#include "figures/DrawFigure.h"
#include "figures/FigureDrag.h"

using namespace figtest;

TEST(FigureExtremes, ParametersAtTheirExtremes) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<double> values = {1e-6, 1e-4, 0.0001, 0.37, 2.5, 30, 1e7, 1e9, 1e12,
                                      0, -3, inf, -inf, nan};
  const std::vector<DragGeometry> drags = {Drag(10, 10, 190, 120), Drag(190.5, 120, 10.25, 9),
                                           Drag(100, 10, 100, 120), Drag(10, 60, 190, 60),
                                           Drag(50, 50, 50, 50), Drag(-5e8, 70, 5e8, 71)};
  for (int tool : {8, 11, 17, 18, 19}) {
    for (double sp : values) {
      for (double sz : {5.0, 1e-4, 1e9, nan}) {
        for (const DragGeometry& d : drags) {
          for (int style : {0, 2}) {
            Canvas c(200, 130);
            c.DrawStyle = style;
            c.FillStyle = style == 0 ? 0 : 1;
            const DrawingState before(c);
            DragGeometry g = d;
            DrawFigure(c, g, tool, Params(sp, sz));
            ASSERT_TRUE(DrawingState(c) == before) << tool << " " << sp;
          }
        }
      }
    }
  }
}

TEST(FigureExtremes, DragsFarBeyondThePicture) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<DragGeometry> drags = {
      Drag(-1e9, -1e9, 1e9, 1e9),     Drag(1e9, 5, -1e9, 6),       Drag(5, -1e9, 6, 1e9),
      Drag(-1e15, 10, 1e15, 20),      Drag(10, -1e15, 20, 1e15),   Drag(1e300, 1e300, -1e300, 0),
      Drag(inf, 10, 20, 30),          Drag(10, nan, 20, 30),       Drag(10, 10, -inf, inf),
      Drag(0.4, 0.6, 0.6, 0.4),       Drag(-3e9, 50, 3e9, 50.5),   Drag(5e3, 5e3, 6e3, 7e3)};
  for (int tool = 1; tool <= 24; ++tool) {
    for (const DragGeometry& d : drags) {
      for (double sp : {1e-6, 5.0, 1e7, 1e12}) {
        Canvas c(150, 100);
        c.DrawWidth = tool % 2 ? 1 : 4;
        const DrawingState before(c);
        DragGeometry g = d;
        DrawFigure(c, g, tool, Params(sp, sp));
        ASSERT_TRUE(DrawingState(c) == before) << tool;
      }
    }
  }
}

TEST(FigureExtremes, ThickRodClipsInsteadOfWrapping) {
  // A rod a trillion pixels thick covers the picture above the drag line: no vertex wraps round
  // to the other side of the 32-bit range.
  Canvas c(100, 100);
  c.FillStyle = Canvas::kFillSolid;
  Draw(c, 19, 10, 80, 90, 70, Params(1e12));
  EXPECT_TRUE(Ink(c, 50, 10));   // far on the rod's side
  EXPECT_FALSE(Ink(c, 50, 95));  // below the drag line stays white
  Canvas box(100, 100);
  box.FillStyle = Canvas::kFillSolid;
  Draw(box, 19, 10, 80, 90, 80, Params(1e12));
  EXPECT_TRUE(Ink(box, 50, 10));
  EXPECT_FALSE(Ink(box, 50, 95));
}

TEST(FigureExtremes, GridWithHugeDivisionsAndTinyOnes) {
  // 1e9 divisions never fit a drag; 0.0001 divisions make one step far beyond the drag, so each
  // set is its first line alone.
  Canvas many(100, 100);
  Draw(many, 18, 10, 10, 90, 90, Params(1e9, 1e9));
  EXPECT_EQ(InkCount(many), 0);
  Canvas few(100, 100);
  Draw(few, 18, 10, 10, 90, 90, Params(0.0001, 0.0001));
  for (int i = 10; i <= 90; ++i) EXPECT_TRUE(Ink(few, 10, i) && Ink(few, i, 10)) << i;
  EXPECT_EQ(InkCount(few), 161);
  Canvas scale(100, 100);
  Draw(scale, 17, 10, 50, 90, 52, Params(0.0001));
  EXPECT_EQ(InkCount(scale), 7);  // the first tick, major
  EXPECT_TRUE(Ink(scale, 10, 44));
}
