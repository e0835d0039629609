// The high-resolution companion: every figure of the tool table replayed at k = 2, 3 and 4 stays
// faithful to the picture; axis-aligned strokes, boxes, fills, single pixels, erased squares and
// pictures land exactly on their pixels' blocks; restores, resizes and fills keep it in step.
#include <gtest/gtest.h>

#include <QImage>
#include <QRandomGenerator>
#include <vector>

#include "figures/Canvas.h"
#include "figures/CompanionRule.h"
#include "figures/DrawFigure.h"
#include "figures/Raster.h"
#include "figures/ToolTable.h"
#include "workspace/ToolCatalogue.h"
#include "support/Colors.h"
#include "support/Faithfulness.h"

namespace {

constexpr QRgb kPen = 0xFFC00000u, kFill = 0xFF0000C0u;

::testing::AssertionResult Faithful(const QImage& picture, const QImage& companion, int k, bool exact = false) {
  const QString why = faithfulness::Check(picture, companion, k, exact);
  if (why.isEmpty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << why.toStdString();
}

::testing::AssertionResult Faithful(const Canvas& c, bool exact = false) {
  return Faithful(c.Raster(), c.Companion(), c.k(), exact);
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
  EXPECT_EQ(c.Companion(), backing.CompanionAt(c.k())) << "the restore took the replayed calls back";
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

// The scale on the edges of its two limits, both inclusive: k x the longer side at most 16384,
// k^2 x the pixels at most 2^24 (64 MB of companion).
TEST(Companion, TheScaleOnBothLimitsEdges) {
  struct Case {
    int width, height, k;  // k 1: no companion
  };
  const Case cases[] = {
      {4096, 256, 4},  {4097, 256, 3},  {256, 4097, 3},  // 4 x 4096 = 16384 and 16 x 4096 x 256 = 2^24
      {5461, 1, 3},    {5462, 1, 2},    {1, 5462, 2},    // 3 x 5461 = 16383, 3 x 5462 = 16386
      {8192, 1, 2},    {8193, 1, 1},    {1, 8193, 1},    // 2 x 8192 = 16384
      {1024, 1024, 4}, {1025, 1024, 3}, {1024, 1025, 3},  // 16 x 1024 x 1024 = 2^24
      {1365, 1365, 3}, {1366, 1365, 2},                   // 9 x 1365 x 1365 <= 2^24 < 9 x 1366 x 1365
      {2048, 2048, 2}, {2049, 2048, 1},                   // 4 x 2048 x 2048 = 2^24
      {1, 1, 4},       {0, 5, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompanionScaleFor(c.width, c.height), c.k) << c.width << " x " << c.height;
    if (c.width < 1) continue;
    // The canvas takes the scale the rule gives, and no higher one.
    Canvas canvas(c.width, c.height);
    canvas.ChooseCompanion();
    EXPECT_EQ(canvas.k(), c.k) << c.width << " x " << c.height;
    if (c.k < 4) {
      EXPECT_FALSE(canvas.SetCompanion(c.k + 1)) << c.width << " x " << c.height;
    }
  }
}

// A white picture's companion is white at k without pixels of its own; they are made by the first
// change that reaches it, given back when the picture is white again, and what it gives meanwhile
// is a white companion's.
TEST(Companion, AWhitePicturesCompanionIsMadeWhenFirstReached) {
  QImage white(200, 160, QImage::Format_RGB32), coloured(200, 160, QImage::Format_RGB32);
  white.fill(0xFFFFFFFFu);
  coloured.fill(0xFFFFFFFFu);
  for (int x = 20; x < 120; ++x) coloured.setPixel(x, 50, kPen);
  Canvas c(200, 160);
  ASSERT_TRUE(c.SetCompanion(3));
  EXPECT_FALSE(c.CompanionAllocated());
  EXPECT_EQ(c.Companion(), Enlarged(white, 3));
  EXPECT_EQ(c.Pair().Scale(), 3);
  EXPECT_EQ(c.Pair().CompanionAt(3), Enlarged(white, 3));
  EXPECT_EQ(c.CapturePair(QRect(10, 10, 30, 20)).CompanionAt(3), Enlarged(white.copy(10, 10, 30, 20), 3));
  // Previews of a drag, each put back: only the picture is drawn on.
  PicturePair backing;
  c.CopyInto(backing);
  for (int i = 0; i < 3; ++i) {
    c.Restore(backing);
    c.Circle(100, 80, 20 + i);
  }
  c.Restore(backing);
  EXPECT_FALSE(c.CompanionAllocated()) << "previews put back made the companion";
  EXPECT_EQ(c.Raster(), white);
  // The figure that stays reaches it.
  c.Circle(100, 80, 30);
  EXPECT_TRUE(Faithful(c));
  EXPECT_TRUE(c.CompanionAllocated());
  c.Clear();
  EXPECT_FALSE(c.CompanionAllocated()) << "新建 keeps the white companion's pixels";
  // Colour put back from a picture without a companion of its own (a bitmap's) reaches it.
  c.Restore(coloured);
  EXPECT_EQ(c.Raster(), coloured);
  EXPECT_EQ(c.Companion(), Enlarged(coloured, 3));
  c.SetPicture(white);
  EXPECT_FALSE(c.CompanionAllocated()) << "a white picture set";
}

// The companion follows its geometry, not a place near it: a figure and its mirror image give
// companions that are exact mirrors, which a companion a fraction of a pixel off would not be
// (the rule would pass it, a pixel being allowed either way).
constexpr int kMirrorWidth = 161;
double Flip(double x, bool mirrored) { return mirrored ? kMirrorWidth - 1 - x : x; }

TEST(Companion, MirroredFiguresHaveMirroredCompanions) {
  constexpr int W = kMirrorWidth, H = 121;
  struct Case {
    const char* what;
    void (*draw)(Canvas&, bool mirrored);
  };
  const Case cases[] = {
      {"a slanted line", [](Canvas& c, bool m) { c.Line(Flip(17, m), 13, Flip(138, m), 97); }},
      {"an ellipse", [](Canvas& c, bool m) {
         const int l = static_cast<int>(Flip(23, m)), r = static_cast<int>(Flip(136, m));
         c.Ellipse(std::min(l, r), 17, std::max(l, r), 102);
       }},
      {"a polygon", [](Canvas& c, bool m) {
         const double xs[] = {31, 128, 104, 52, 12}, ys[] = {11, 29, 107, 94, 60};
         QPoint pts[5];
         for (int i = 0; i < 5; ++i) pts[i] = QPoint(static_cast<int>(Flip(xs[i], m)), static_cast<int>(ys[i]));
         c.Polygon(pts, 5);
       }},
  };
  // One-pixel outlines, whose pictures are mirrors of each other (a wider pen puts its extra
  // pixel on one side), filled.
  for (const Case& cs : cases)
    for (int k = 2; k <= 4; ++k) {
      Canvas a(W, H), b(W, H);
      for (Canvas* c : {&a, &b}) {
        ASSERT_TRUE(c->SetCompanion(k));
        c->FillStyle = 0, c->FillColor = kFill, c->ForeColor = kPen;
      }
      cs.draw(a, false);
      cs.draw(b, true);
      ASSERT_TRUE(a.Image().mirrored(true, false) == b.Image()) << cs.what << ": the picture is its own mirror";
      EXPECT_TRUE(Faithful(a)) << cs.what << " k=" << k;
      const QImage mirrored = a.Companion().mirrored(true, false), other = b.Companion();
      int off = 0;
      for (int y = 0; y < other.height(); ++y)
        for (int x = 0; x < other.width(); ++x) off += mirrored.pixel(x, y) != other.pixel(x, y);
      EXPECT_EQ(off, 0) << cs.what << " k=" << k;
    }
}

// A thin stroke of the companion supports its pixel from either block it straddles, whatever its
// width, and only from within a pixel: a one-pixel line of the picture (column 5 or row 5) and
// a stroke of the companion w pixels wide starting d companion pixels from the line's blocks.
TEST(Companion, TheRuleOnStraddlingStrokes) {
  for (int k = 2; k <= 4; ++k)
    for (bool across : {false, true})
      for (int w = 1; w <= 2 * k; ++w)
        for (int d = -2 * k; d <= 3 * k; ++d) {
          QImage picture(12, 12, QImage::Format_RGB32), big(12 * k, 12 * k, QImage::Format_RGB32);
          picture.fill(kWhite), big.fill(kWhite);
          for (int i = 0; i < 12; ++i) picture.setPixel(across ? i : 5, across ? 5 : i, kBlack);
          for (int i = 0; i < 12 * k; ++i)
            for (int j = 5 * k + d; j < 5 * k + d + w; ++j) big.setPixel(across ? i : j, across ? j : i, kBlack);
          // Within the blocks of the line and its neighbours the stroke supports it (a quarter
          // of a block is as thin as k / 4); two blocks off it supports nothing and is itself
          // ink without a pixel.
          const bool near = d >= -k && d + w <= 2 * k;
          const bool far = d >= 2 * k || d + w <= -k;
          const std::string at = "k=" + std::to_string(k) + " width " + std::to_string(w) + " at " +
                                 std::to_string(d) + (across ? " across" : " down");
          if (near || far) {
            EXPECT_EQ(CompanionFaithful(picture, big, k), near) << at;
          }
        }
}

// The program's check and its reconciling are one rule: on pictures and companions that differ
// at random, the reconciling leaves exactly the faithful companions untouched and makes the
// others faithful; a block's colour is the one covering more than half of it.
TEST(Companion, TheReconcilingPutsRightExactlyWhatTheCheckFinds) {
  QRandomGenerator random(30);
  const QRgb colours[] = {kWhite, kWhite, kPen, kFill};
  int faithful = 0, unfaithful = 0;
  for (int k = 2; k <= 4; ++k)
    for (int trial = 0; trial < 300; ++trial) {
      QImage picture(9, 7, QImage::Format_RGB32);
      picture.fill(kWhite);
      for (int i = 0; i < 12; ++i) picture.setPixel(random.bounded(9), random.bounded(7), colours[random.bounded(4)]);
      // The picture enlarged, then strokes of the companion moved, thinned or added at random.
      QImage big = picture.scaled(9 * k, 7 * k);
      for (int i = 0, n = random.bounded(1, 10); i < n; ++i) {
        const int x = random.bounded(9 * k), y = random.bounded(7 * k);
        const int w = random.bounded(1, 2 * k + 1), h = random.bounded(1, 3 * k + 1);
        for (int yy = y; yy < std::min(7 * k, y + h); ++yy)
          for (int xx = x; xx < std::min(9 * k, x + w); ++xx) big.setPixel(xx, yy, colours[random.bounded(4)]);
      }
      for (int by = 0; by < 7; ++by)
        for (int bx = 0; bx < 9; ++bx) {
          QRgb most = 0;
          for (QRgb c : colours) {
            int n = 0;
            for (int j = 0; j < k; ++j)
              for (int i = 0; i < k; ++i) n += big.pixel(bx * k + i, by * k + j) == c;
            if (2 * n > k * k) most = c;
          }
          ASSERT_EQ(CompanionBlockColour(big, k, bx, by), most) << "block " << bx << "," << by << " k=" << k;
        }
      const bool before = CompanionFaithful(picture, big, k);
      QImage reconciled = big.copy();
      raster::Reconcile(picture, reconciled, k, picture.rect());
      if (before) {
        ++faithful;
        EXPECT_EQ(reconciled, big) << "a faithful companion is left as it is, k=" << k << " trial " << trial;
      } else {
        ++unfaithful;
        EXPECT_NE(reconciled, big) << "k=" << k << " trial " << trial;
        EXPECT_TRUE(Faithful(picture, reconciled, k)) << "k=" << k << " trial " << trial;
      }
    }
  EXPECT_GT(faithful, 100);
  EXPECT_GT(unfaithful, 100);
}

}  // namespace
