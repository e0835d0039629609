// The rules every figure of the library keeps, checked over the whole tool table: ink only in the
// figure's place, only the pen and fill colours, the same pixels every time, the drawing state
// left as found, facing figures mirrored by a leftward drag, degenerate drags and extreme
// parameters harmless, and each figure's picture as reviewed on the gallery sheet.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <cmath>
#include <limits>
#include <vector>

#include "figures/Canvas.h"
#include "figures/FigureDrag.h"
#include "figures/FigureSamples.h"
#include "figures/ToolTable.h"
#include "workspace/ToolCatalogue.h"

using namespace figtest;

namespace {

constexpr QRgb kPen = 0xFFC00000u;   // the line colour of these checks
constexpr QRgb kFill = 0xFF0000C0u;  // the fill colour

std::vector<ToolFigure> Library() {
  std::vector<ToolFigure> out;
  for (const ToolFigure& f : FiguresWithRoutines())
    if (IsLibraryFigure(f)) out.push_back(f);
  return out;
}

std::string Name(const ToolFigure& f) {
  return std::to_string(ToolNumber(f.id)) + " " + ToolTooltip(ToolNumber(f.id)).toStdString();
}

Canvas Drawn(const ToolFigure& f, const DragGeometry& drag, int width = 1, int fillStyle = 1,
             int drawStyle = 0, const ParameterValues* params = nullptr, int w = figures::kSampleWidth,
             int h = figures::kSampleHeight) {
  Canvas c(w, h);
  c.ForeColor = kPen;
  c.FillColor = kFill;
  c.DrawWidth = width;
  c.FillStyle = fillStyle;
  c.DrawStyle = drawStyle;
  DragGeometry g = drag;
  DrawFigure(c, g, ToolNumber(f.id), params ? *params : DefaultParameters(ToolNumber(f.id)));
  return c;
}

// The figure's place: the box, the band around the segment, the circle about the
// press point, or the box about the vertex; grown by the pen's width.
bool InPlace(const ToolFigure& f, const DragGeometry& g, int penWidth, double x, double y) {
  const double m = penWidth + 1.5;
  const double x1 = g.PressPoint.x, y1 = g.PressPoint.y, x2 = g.CurrentPoint.x, y2 = g.CurrentPoint.y;
  switch (f.kind) {
    case FigureKind::Along: {
      const double dx = x2 - x1, dy = y2 - y1, L = std::hypot(dx, dy);
      const double half = std::max(10.0, L / 4) + m;
      double t = L > 0 ? ((x - x1) * dx + (y - y1) * dy) / (L * L) : 0;
      t = std::clamp(t, 0.0, 1.0);
      return std::hypot(x - (x1 + t * dx), y - (y1 + t * dy)) <= half;
    }
    case FigureKind::CentreRadius:
      return std::hypot(x - x1, y - y1) <= std::hypot(x2 - x1, y2 - y1) + m;
    case FigureKind::VertexPoint:
      return std::fabs(x - x1) <= std::fabs(x2 - x1) + m && std::fabs(y - y1) <= std::fabs(y2 - y1) + m;
    default:
      return x >= std::min(x1, x2) - m && x <= std::max(x1, x2) + m && y >= std::min(y1, y2) - m &&
             y <= std::max(y1, y2) + m;
  }
}

::testing::AssertionResult InkInPlace(const ToolFigure& f, const Canvas& c, const DragGeometry& g, int width) {
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x)
      if (c.GetPixel(x, y) != kWhite && !InPlace(f, g, width, x, y))
        return ::testing::AssertionFailure() << "ink at (" << x << ", " << y << ") outside the figure's place";
  return ::testing::AssertionSuccess();
}

// The drags of the place checks: the sample drags in both directions and both shapes, at the
// sizes teachers use.
std::vector<DragGeometry> PlaceDrags(const ToolFigure& f) {
  std::vector<DragGeometry> drags;
  for (double scale : {0.25, 0.6, 1.0})
    for (bool reversed : {false, true})
      for (auto shape : {figures::SampleShape::Usual, figures::SampleShape::Other})
        drags.push_back(figures::SampleDrag(f.kind, scale, reversed, shape));
  // Upward drags too.
  DragGeometry up = figures::SampleDrag(f.kind);
  std::swap(up.PressPoint, up.CurrentPoint);
  drags.push_back(up);
  return drags;
}

TEST(FigureLibrary, EveryToolWithATooltipDraws) {
  // The eraser and the text tool paint through the gesture itself; every other tool a palette
  // button names has a figure (button 1 of every palette is the one selection tool, number 1).
  for (int t = 1; t <= 200; ++t) {
    if (t == 51 || t == 101 || t == 151) continue;
    const ToolFigure& f = ToolFigureOf(t);
    if (ToolTooltip(t).isEmpty() || f.gesture == Gesture::Eraser || f.gesture == Gesture::Text) continue;
    EXPECT_NE(f.draw, nullptr) << t << " " << ToolTooltip(t).toStdString();
  }
}

TEST(FigureLibrary, InkOnlyInTheFiguresPlaceInThePenAndFillColours) {
  for (const ToolFigure& f : Library()) {
    for (const DragGeometry& g : PlaceDrags(f)) {
      for (int width : {1, 2, 4}) {
        for (int fill : {1, 0, 6}) {
          const Canvas c = Drawn(f, g, width, fill);
          ASSERT_TRUE(InkInPlace(f, c, g, width)) << Name(f) << " width " << width;
          for (int y = 0; y < c.Height(); ++y)
            for (int x = 0; x < c.Width(); ++x) {
              const QRgb p = c.GetPixel(x, y);
              ASSERT_TRUE(p == kWhite || p == kPen || p == kFill)
                  << Name(f) << ": colour " << std::hex << p << " at " << std::dec << x << ", " << y;
              if (fill == 1) {
                ASSERT_NE(p, kFill) << Name(f) << ": fill colour without a fill style";
              }
            }
        }
      }
    }
  }
}

TEST(FigureLibrary, SameInputsSamePixelsAndTheDrawingStateKept) {
  for (const ToolFigure& f : Library()) {
    for (int style : {0, 1, 2, 3}) {
      const DragGeometry g = figures::SampleDrag(f.kind, 0.8);
      Canvas a(figures::kSampleWidth, figures::kSampleHeight);
      a.DrawStyle = style;
      a.FillStyle = 5;
      a.Font.setPointSize(23);
      const DrawingState before(a);
      const QFont font = a.Font;
      DragGeometry ga = g;
      DrawFigure(a, ga, ToolNumber(f.id), DefaultParameters(ToolNumber(f.id)));
      EXPECT_TRUE(DrawingState(a) == before) << Name(f);
      EXPECT_EQ(a.Font, font) << Name(f);
      EXPECT_EQ(ga.PressPoint.x, g.PressPoint.x) << Name(f);
      EXPECT_EQ(ga.CurrentPoint.y, g.CurrentPoint.y) << Name(f);
      Canvas b(figures::kSampleWidth, figures::kSampleHeight);
      b.DrawStyle = style;
      b.FillStyle = 5;
      DragGeometry gb = g;
      DrawFigure(b, gb, ToolNumber(f.id), DefaultParameters(ToolNumber(f.id)));
      EXPECT_TRUE(SamePicture(a, b)) << Name(f);
    }
  }
}

// Every ink pixel of `a` has one within a pixel in `b` mirrored about the vertical through `axis2`
// / 2 (the mirror of x is axis2 - x).
::testing::AssertionResult MirroredWithinAPixel(const Canvas& a, const Canvas& b, int axis2) {
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      if (a.GetPixel(x, y) == kWhite) continue;
      bool found = false;
      for (int dy = -1; dy <= 1 && !found; ++dy)
        for (int dx = -1; dx <= 1 && !found; ++dx) {
          const int mx = axis2 - x + dx, my = y + dy;
          found = mx >= 0 && my >= 0 && mx < b.Width() && my < b.Height() && b.GetPixel(mx, my) != kWhite;
        }
      if (!found) return ::testing::AssertionFailure() << "no mirrored ink for (" << x << ", " << y << ")";
    }
  return ::testing::AssertionSuccess();
}

TEST(FigureLibrary, ALeftwardDragMirrorsTheFiguresThatFaceAWay) {
  for (const ToolFigure& f : Library()) {
    if (!f.facing) continue;
    for (double scale : {0.4, 1.0}) {
      const DragGeometry right = figures::SampleDrag(f.kind, scale, false);
      const DragGeometry left = figures::SampleDrag(f.kind, scale, true);
      const int axis2 = static_cast<int>(std::lround(right.PressPoint.x + right.CurrentPoint.x));
      const Canvas a = Drawn(f, right), b = Drawn(f, left);
      EXPECT_TRUE(MirroredWithinAPixel(a, b, axis2)) << Name(f) << " scale " << scale;
      EXPECT_TRUE(MirroredWithinAPixel(b, a, axis2)) << Name(f) << " scale " << scale;
    }
  }
}

TEST(FigureLibrary, DegenerateAndFarAwayDragsDrawLittleOrNothing) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const ToolFigure& f : Library()) {
    // Zero length, zero width, zero height, one pixel: a small mark in the place at most.
    for (const DragGeometry& g : {Drag(100, 80, 100, 80), Drag(100, 20, 100, 140), Drag(20, 80, 180, 80),
                                  Drag(100, 80, 101, 81)}) {
      for (int width : {1, 4}) {
        const Canvas c = Drawn(f, g, width, 0);
        EXPECT_TRUE(InkInPlace(f, c, g, width)) << Name(f);
      }
    }
    // Huge drags across the picture and drags that are not numbers: back at once.
    for (const DragGeometry& g : {Drag(-1e9, -1e9, 1e9, 1e9), Drag(-3e5, 80, 3e5, 80), Drag(100, -1e12, 100, 1e12),
                                  Drag(nan, 10, 20, 30), Drag(10, 10, inf, -inf), Drag(1e300, 0, -1e300, 1)}) {
      (void)Drawn(f, g, 2, 0);
    }
    // Far away from the picture: nothing on it.
    for (const DragGeometry& g : {Drag(5e8, 5e8, 5e8 + 160, 5e8 + 120), Drag(-5e5, 40, -5e5 + 160, 160),
                                  Drag(100, 3e6, 260, 3e6 + 100)}) {
      EXPECT_EQ(InkCount(Drawn(f, g, 2, 0)), 0) << Name(f);
    }
  }
}

TEST(FigureLibrary, ParameterExtremesAreClampedAndQuick) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (const ToolFigure& f : Library()) {
    if (f.reads == kReadsNothing) continue;
    for (double v : {0.5, 1.0, 200.0, 1e9, -3.0, 0.0, nan, inf, -inf}) {
      ParameterValues p = DefaultParameters(ToolNumber(f.id));
      if (f.reads & kReadsFirst) p.SP = v;
      if (f.reads & kReadsSecond) p.SZ = v;
      if (f.reads & kReadsThird) p.CS = v;
      const DragGeometry g = figures::SampleDrag(f.kind);
      for (int width : {1, 4}) {
        const Canvas c = Drawn(f, g, width, 0, 0, &p);
        EXPECT_TRUE(InkInPlace(f, c, g, width)) << Name(f) << " value " << v;
      }
      // A huge picture: still bounded by what the picture can show.
      const Canvas big = Drawn(f, Drag(50, 50, 1950, 1450), 1, 1, 0, &p, 2000, 1500);
      (void)big;
    }
  }
}

// ---- Pictures kept for comparison ----
// Each figure's picture at the usual sample drag, black on white, width 1, default parameters, as
// reviewed on the gallery sheet, is kept in tests/figures/snapshots/. QM_UPDATE_SNAPSHOTS=1 writes
// the current pictures there (review them on the gallery sheet before committing).

QString SnapshotPath(const ToolFigure& f) {
  return QStringLiteral(QM_SOURCE_DIR "/tests/figures/snapshots/tool-%1.png").arg(ToolNumber(f.id), 3, 10, QLatin1Char('0'));
}

TEST(FigureLibrary, EachFigureLooksAsReviewed) {
  const bool update = qEnvironmentVariableIsSet("QM_UPDATE_SNAPSHOTS");
  for (const ToolFigure& f : Library()) {
    Canvas c(figures::kSampleWidth, figures::kSampleHeight);
    DragGeometry g = figures::SampleDrag(f.kind);
    DrawFigure(c, g, ToolNumber(f.id), DefaultParameters(ToolNumber(f.id)));
    const QImage actual = c.Image().convertToFormat(QImage::Format_Mono);
    const QString path = SnapshotPath(f);
    if (update) {
      QDir().mkpath(QFileInfo(path).path());
      ASSERT_TRUE(actual.save(path, "PNG")) << path.toStdString();
      continue;
    }
    const QImage kept(path);
    ASSERT_FALSE(kept.isNull()) << Name(f) << ": no reviewed picture at " << path.toStdString()
                                << " (look at the gallery sheet, then run with QM_UPDATE_SNAPSHOTS=1)";
    const QImage a = actual.convertToFormat(QImage::Format_RGB32);
    const QImage k = kept.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(a.size(), k.size()) << Name(f);
    int diffs = 0;
    for (int y = 0; y < a.height(); ++y)
      for (int x = 0; x < a.width(); ++x) diffs += (a.pixel(x, y) != k.pixel(x, y));
    EXPECT_EQ(diffs, 0) << Name(f) << ": the figure differs from its reviewed picture in " << diffs << " pixels";
  }
}

}  // namespace
