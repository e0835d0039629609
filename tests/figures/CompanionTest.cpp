// The high-resolution companion: every figure of the tool table replayed at k = 2, 3 and 4 stays
// faithful to the picture; axis-aligned strokes, boxes, fills, single pixels, erased squares and
// pictures land exactly on their pixels' blocks; restores, resizes and fills keep it in step.
#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "figures/Canvas.h"
#include "figures/DrawFigure.h"
#include "figures/ToolTable.h"
#include "workspace/ToolCatalogue.h"
#include "support/Faithfulness.h"

namespace {

constexpr QRgb kPen = 0xFFC00000u, kFill = 0xFF0000C0u;

::testing::AssertionResult Faithful(const Canvas& c, bool exact = false) {
  const QString why = faithfulness::Check(c.Raster(), c.Companion(), c.k(), exact);
  if (why.isEmpty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << why.toStdString();
}

struct Style {
  int width, drawStyle, fillStyle;
};

TEST(Companion, EveryFigureStaysFaithfulAtEachScale) {
  const Style styles[] = {{1, 0, 1}, {3, 0, 0}, {1, 1, 5}, {2, 0, 6}, {1, 2, 2}};
  const QLineF drags[] = {{40, 30, 160, 130}, {150, 120, 60, 50}, {30, 80, 170, 80}};
  int n = 0;
  for (const ToolFigure& f : FiguresWithRoutines()) {
    for (const QLineF& d : drags) {
      const Style& s = styles[n % 5];
      const int k = 2 + n % 3;
      ++n;
      Canvas c(200, 160);
      ASSERT_TRUE(c.SetCompanion(k));
      c.ForeColor = kPen, c.FillColor = kFill;
      c.DrawWidth = s.width, c.DrawStyle = s.drawStyle, c.FillStyle = s.fillStyle;
      DragGeometry g;
      g.PressPoint = {d.x1(), d.y1()};
      g.CurrentPoint = {d.x2(), d.y2()};
      g.DragOffset = {d.x2() - d.x1(), d.y2() - d.y1()};
      DrawFigure(c, g, ToolNumber(f.id), DefaultParameters(ToolNumber(f.id)));
      EXPECT_TRUE(Faithful(c)) << "tool " << ToolNumber(f.id) << " k=" << k << " width " << s.width
                               << " style " << s.drawStyle << " fill " << s.fillStyle;
    }
  }
}

// As in a drag: the figure is drawn after a restore from the backing, over another figure, in
// white (taking colour away) or in another colour; only what changed is reconciled then.
TEST(Companion, FiguresOverOthersAfterARestoreStayFaithful) {
  const QRgb overColours[] = {0xFFFFFFFFu, 0xFF00A000u};
  int n = 0;
  for (const ToolFigure& f : FiguresWithRoutines()) {
    const int tool = ToolNumber(f.id), k = 2 + n % 3;
    const QRgb over = overColours[n % 2];
    ++n;
    Canvas c(200, 160);
    ASSERT_TRUE(c.SetCompanion(k));
    c.ForeColor = kPen, c.FillColor = kFill, c.DrawWidth = 1 + n % 3, c.FillStyle = n % 2;
    auto draw = [&](QLineF d) {
      DragGeometry g;
      g.PressPoint = {d.x1(), d.y1()};
      g.CurrentPoint = {d.x2(), d.y2()};
      g.DragOffset = {d.x2() - d.x1(), d.y2() - d.y1()};
      DrawFigure(c, g, tool, DefaultParameters(tool));
    };
    draw({30, 20, 170, 140});
    c.CommitCompanion();
    PicturePair backing;
    c.CopyInto(backing);
    c.Restore(backing);
    c.ForeColor = over, c.FillColor = over;
    draw({45, 35, 160, 125});
    EXPECT_TRUE(Faithful(c)) << "tool " << tool << " k=" << k << " over in " << std::hex << over;
  }
}

TEST(Companion, AxisAlignedWorkLandsExactlyOnItsBlocks) {
  struct Case {
    const char* what;
    void (*draw)(Canvas&);
  };
  const Case cases[] = {
      {"lines of every width and style", [](Canvas& c) {
         for (int w : {1, 2, 3, 5})
           for (int s = 0; s < 4; ++s) {
             c.DrawWidth = w, c.DrawStyle = s;
             c.Line(10 + 40 * s, 10 + 12 * w, 45 + 40 * s, 10 + 12 * w);
             c.Line(10 + 40 * s + w, 80, 10 + 40 * s + w, 140);
           }
       }},
      {"boxes with every fill", [](Canvas& c) {
         for (int f = 0; f < 8; ++f) {
           c.FillStyle = f, c.DrawStyle = f % 4, c.FillColor = kFill;
           c.Box(5 + 24 * f, 10, 25 + 24 * f, 60);
         }
         c.DrawWidth = 3;
         c.Box(20, 80, 120, 140);
       }},
      {"erased squares, pixels and dots", [](Canvas& c) {
         c.FilledBoxRel(0, 0, 199, 159, kPen);
         for (int i = 0; i < 20; ++i) c.FilledBoxRel(7 * i, 5 * i, 9, 9, 0xFFFFFFFFu);
         for (int i = 0; i < 50; ++i) c.SetPixel(3 * i, 150 - i, kFill);
         c.PSet(190, 10);
       }},
      {"a picture pasted, flipped and combined", [](Canvas& c) {
         QImage pic(31, 17, QImage::Format_RGB32);
         for (int y = 0; y < 17; ++y)
           for (int x = 0; x < 31; ++x) pic.setPixel(x, y, (x * y) % 3 ? 0xFFFFFFFFu : 0xFF00A000u);
         c.Box(0, 0, 120, 100);
         c.PaintPicture(pic, 10, 10);
         c.PaintPicture(pic, 80, 40, -31, 17, 0, 0, 31, 17, Canvas::RasterOp::And);
         c.PaintPicture(pic, 40, 90, 31, -17, 0, 0, 31, 17, Canvas::RasterOp::And);
         c.BitBlt(150, 100, 31, 17, pic, 0, 0);
       }},
  };
  for (int k = 2; k <= 4; ++k)
    for (const Case& cs : cases) {
      Canvas c(200, 160);
      ASSERT_TRUE(c.SetCompanion(k));
      c.ForeColor = kPen;
      cs.draw(c);
      EXPECT_TRUE(Faithful(c, true)) << cs.what << " at k=" << k;
    }
}

TEST(Companion, PreviewsTouchOnlyThePictureAndARestoreDropsThem) {
  Canvas c(120, 80);
  ASSERT_TRUE(c.SetCompanion(4));
  PicturePair backing;
  c.CopyInto(backing);
  for (int i = 0; i < 5; ++i) {
    c.Restore(backing);
    c.Circle(60, 40, 10 + i);
    c.Line(0, 0, 20 + i, 70);
  }
  EXPECT_EQ(c.PendingCalls(), 2);
  EXPECT_EQ(backing.companion.constBits() != c.Companion().constBits(), true);
  EXPECT_TRUE(Faithful(c));
  c.Restore(backing);
  EXPECT_EQ(c.Companion(), backing.companion) << "the restore took the replayed calls back";
}

TEST(Companion, FillsStayInsideTheirRegion) {
  for (int k = 2; k <= 4; ++k) {
    Canvas c(160, 120);
    ASSERT_TRUE(c.SetCompanion(k));
    // Two slanted lines that touch only at 1x: the fill on one side must not reach the other.
    c.Line(10, 10, 150, 111);
    c.Line(10, 11, 150, 112);
    c.Circle(80, 60, 30);
    c.FillColor = kFill, c.FillStyle = 0;
    c.ExtFloodFill(140, 20, 0xFFFFFFFFu);
    EXPECT_TRUE(Faithful(c)) << "solid fill at k=" << k;
    c.FillStyle = 6, c.FillColor = kPen;
    c.ExtFloodFill(80, 60, 0xFFFFFFFFu);
    c.ExtFloodFill(20, 100, 0xFFFFFFFFu);
    EXPECT_TRUE(Faithful(c)) << "hatched fill at k=" << k;
  }
}

TEST(Companion, ResizingKeepsTheScaleWhileItFitsAndLowersItOtherwise) {
  Canvas c(600, 220);
  c.ChooseCompanion();
  EXPECT_EQ(c.k(), 4);
  c.Box(10, 10, 590, 210);
  c.Resize(800, 300);
  EXPECT_EQ(c.k(), 4);
  EXPECT_TRUE(Faithful(c, true));
  c.Resize(3000, 2000);
  EXPECT_EQ(c.k(), 1) << "a 3000 x 2000 picture keeps no companion";
  Canvas d(1500, 1500);
  d.ChooseCompanion();
  EXPECT_EQ(d.k(), 2);
  Canvas e(16384, 2);
  e.ChooseCompanion();
  EXPECT_EQ(e.k(), 1);
}

}  // namespace
