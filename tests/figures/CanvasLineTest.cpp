// One-pixel lines walked by the canvas: which pixels a line covers, its dash patterns, clipping
// that keeps the pixels of the unclipped line, polylines, and pictures that do not fit in memory.
#include <gtest/gtest.h>

#include <QImage>
#include <QPointF>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "figures/Canvas.h"
#include "support/AddressSpace.h"
#include "support/Colors.h"

namespace {

std::vector<QPoint> InkPixels(const Canvas& c) {
  std::vector<QPoint> out;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x)
      if (c.GetPixel(x, y) != kWhite) out.emplace_back(x, y);
  return out;
}

// Where the true line passes exactly between two pixels, the pixel further down (or right) is
// the one drawn, whichever end the line starts from: the rule the walk promises.
TEST(CanvasLine, ATieBetweenTwoPixelsGoesToTheLargerCoordinate) {
  const struct {
    QPoint a, b, tie;
  } cases[] = {
      {{0, 0}, {2, 1}, {1, 1}}, {{0, 0}, {1, 2}, {1, 1}}, {{0, 1}, {2, 0}, {1, 1}},
      {{1, 0}, {0, 2}, {1, 1}}, {{0, 0}, {6, 3}, {1, 1}}, {{0, 0}, {6, 3}, {3, 2}},
  };
  for (const auto& c : cases) {
    for (bool reversed : {false, true}) {
      Canvas canvas(10, 10);
      const QPoint from = reversed ? c.b : c.a, to = reversed ? c.a : c.b;
      canvas.Line(from.x(), from.y(), to.x(), to.y());
      EXPECT_EQ(canvas.GetPixel(c.tie.x(), c.tie.y()), kBlack)
          << c.a.x() << "," << c.a.y() << " -> " << c.b.x() << "," << c.b.y() << (reversed ? " reversed" : "");
    }
  }
}

// A solid line covers one pixel per step along its longer axis, from one end to the other, each
// within half a pixel of the true line; both ends are drawn; reversing the ends changes nothing.
TEST(CanvasLine, CoversTheCellsOfTheLineInEitherDirection) {
  std::mt19937 rng(7);
  for (int k = 0; k < 400; ++k) {
    const int x0 = static_cast<int>(rng() % 60), y0 = static_cast<int>(rng() % 50);
    const int x1 = static_cast<int>(rng() % 60), y1 = static_cast<int>(rng() % 50);
    SCOPED_TRACE(testing::Message() << x0 << "," << y0 << " -> " << x1 << "," << y1);
    Canvas c(60, 50);
    c.Line(x0, y0, x1, y1);
    Canvas r(60, 50);
    r.Line(x1, y1, x0, y0);
    ASSERT_EQ(c.Raster(), r.Raster());
    ASSERT_EQ(c.GetPixel(x0, y0), kBlack);
    ASSERT_EQ(c.GetPixel(x1, y1), kBlack);
    const std::vector<QPoint> ink = InkPixels(c);
    const bool xMajor = std::abs(x1 - x0) >= std::abs(y1 - y0);
    const int steps = xMajor ? std::abs(x1 - x0) : std::abs(y1 - y0);
    ASSERT_EQ(static_cast<int>(ink.size()), steps + 1);
    for (const QPoint& p : ink) {
      if (steps == 0) break;
      // The line's minor coordinate at this pixel's major coordinate.
      const double t = xMajor ? double(p.x() - x0) / (x1 - x0) : double(p.y() - y0) / (y1 - y0);
      const double minor = xMajor ? y0 + t * (y1 - y0) : x0 + t * (x1 - x0);
      ASSERT_LE(std::abs((xMajor ? p.y() : p.x()) - minor), 0.5) << p.x() << "," << p.y();
    }
  }
}

// Lines running far off the picture keep exactly the pixels of the whole line: the picture shows
// the same as a big picture holding the whole line, cut out where the small one lies. The dash
// pattern keeps its phase from the line's start.
TEST(CanvasLine, ClippingKeepsThePixelsOfTheWholeLine) {
  std::mt19937 rng(11);
  const int offX = 700, offY = 600;  // where the small picture lies in the big one
  for (int k = 0; k < 150; ++k) {
    auto coord = [&](int side) { return static_cast<int>(rng() % (side + 1200)) - 600; };
    const int x0 = coord(80), y0 = coord(40), x1 = coord(80), y1 = coord(40);
    const int style = static_cast<int>(k % 4);
    SCOPED_TRACE(testing::Message() << x0 << "," << y0 << " -> " << x1 << "," << y1 << " style " << style);
    Canvas small(80, 40);
    small.DrawStyle = style;
    small.Line(x0, y0, x1, y1);
    Canvas big(2000, 1600);
    big.DrawStyle = style;
    big.Line(x0 + offX, y0 + offY, x1 + offX, y1 + offY);
    ASSERT_EQ(small.Raster(), big.Raster().copy(offX, offY, 80, 40));
    if (!InkPixels(small).empty()) {
      ASSERT_FALSE(small.Damage().isEmpty());
    }
  }
  // Ends a billion pixels away: the row across the picture is whole.
  Canvas c(100, 10);
  c.Line(-1e9, 4, 1e9, 4);
  for (int x = 0; x < 100; ++x) ASSERT_EQ(c.GetPixel(x, 4), kBlack) << x;
}

// The patterns count pixel steps from the line's start: dash 4 on 2 off, dot 1 on 2 off, dash-dot
// 4-2-1-2, the same along a diagonal as along a row; drawn the other way round the pattern starts
// at the other end.
TEST(CanvasLine, DashPatternsRunFromTheStart) {
  struct Pattern {
    int style;
    std::vector<int> on;
  };
  const Pattern patterns[] = {{Canvas::kDash, {1, 1, 1, 1, 0, 0}},
                              {Canvas::kDot, {1, 0, 0}},
                              {Canvas::kDashDot, {1, 1, 1, 1, 0, 0, 1, 0, 0}}};
  for (const Pattern& p : patterns) {
    SCOPED_TRACE(p.style);
    const int period = static_cast<int>(p.on.size());
    Canvas row(60, 60);
    row.DrawStyle = p.style;
    row.Line(3, 10, 50, 10);
    Canvas back(60, 60);
    back.DrawStyle = p.style;
    back.Line(50, 10, 3, 10);
    Canvas diag(60, 60);
    diag.DrawStyle = p.style;
    diag.Line(5, 5, 52, 52);
    for (int i = 0; i <= 47; ++i) {
      const bool on = p.on[i % period] != 0;
      EXPECT_EQ(row.GetPixel(3 + i, 10) == kBlack, on) << i;
      EXPECT_EQ(back.GetPixel(50 - i, 10) == kBlack, on) << i;
      EXPECT_EQ(diag.GetPixel(5 + i, 5 + i) == kBlack, on) << i;
    }
  }
}

// A polyline gives the pixels of one Line per segment, whatever the width and style, and damages
// what it draws.
TEST(CanvasLine, PolylineEqualsOneLinePerSegment) {
  std::mt19937 rng(5);
  for (int k = 0; k < 60; ++k) {
    std::vector<QPointF> pts;
    const int n = 2 + static_cast<int>(rng() % 12);
    for (int i = 0; i < n; ++i)
      pts.emplace_back((static_cast<int>(rng() % 1600) - 300) / 10.0, (static_cast<int>(rng() % 900) - 200) / 10.0);
    const int width = k % 3 == 0 ? 2 : 1;
    const int style = width == 1 ? static_cast<int>(k % 4) : 0;
    Canvas lines(100, 50), poly(100, 50);
    for (Canvas* c : {&lines, &poly}) c->DrawStyle = style, c->DrawWidth = width;
    for (int i = 1; i < n; ++i) lines.Line(pts[i - 1].x(), pts[i - 1].y(), pts[i].x(), pts[i].y());
    poly.Polyline(pts.data(), n);
    ASSERT_EQ(poly.Raster(), lines.Raster()) << "polyline " << k;
    for (const QPoint& p : InkPixels(poly)) ASSERT_TRUE(poly.Damage().contains(p));
  }
  Canvas c(20, 20);
  const QPointF one[1] = {QPointF(5, 5)};
  c.Polyline(one, 1);
  c.Polyline(nullptr, 4);
  const QPointF bad[3] = {QPointF(1, 1), QPointF(std::nan(""), 3), QPointF(9, 9)};
  c.Polyline(bad, 3);  // both segments touch the NaN point: nothing
  EXPECT_TRUE(InkPixels(c).empty());
}

// A snapshot shares the picture's pixels until the picture is drawn on; drawing then leaves the
// snapshot as it was.
TEST(CanvasLine, DrawingAfterASnapshotLeavesTheSnapshot) {
  Canvas c(30, 30);
  const QImage snapshot = c.Image();
  c.Line(0, 0, 29, 29);
  c.Polyline(std::vector<QPointF>{{0, 29}, {29, 0}}.data(), 2);
  EXPECT_EQ(snapshot.pixel(0, 0), kWhite);
  EXPECT_EQ(snapshot.pixel(29, 0), kWhite);
  EXPECT_EQ(c.GetPixel(0, 0), kBlack);
  EXPECT_EQ(c.GetPixel(29, 0), kBlack);
}

#ifdef QM_ADDRESS_SPACE_LIMIT
// With too little memory for a 16384 x 16384 picture (1 GiB) the canvas refuses to grow and keeps
// its picture, and goes on drawing. Runs in a child process whose address space is limited; the
// exit code tells which check failed.
[[noreturn]] void GrowWithoutMemory() {
  Canvas c(200, 100);
  c.Line(0, 0, 199, 99);
  const QImage before = c.Image().copy();
  LimitAddressSpace(256ll << 20);
  if (c.Resize(Canvas::kMaxSide, Canvas::kMaxSide)) std::exit(5);
  if (c.Size() != QSize(200, 100) || c.Raster() != before) std::exit(6);
  c.Line(0, 99, 199, 0);
  if (c.GetPixel(0, 99) != kBlack) std::exit(7);
  std::exit(0);
}

TEST(CanvasLineDeathTest, PictureThatDoesNotFitIsRefused) { ExpectChildPasses(GrowWithoutMemory); }
#endif

}  // namespace

namespace {

// Closed shapes running off the picture keep exactly the pixels they have on a bigger picture: no
// outline pixel lost where the outline leaves the raster, and a dashed outline keeps the phase of
// its pattern.
TEST(CanvasShapeEdge, ShapesAtTheEdgeMatchABiggerPicture) {
  std::mt19937 rng(3);
  const int offX = 304, offY = 304;  // multiples of 8: the hatches line up
  int failures[3] = {0, 0, 0};
  for (int k = 0; k < 600; ++k) {
    auto coord = [&](int side) { return static_cast<int>(rng() % (side + 160)) - 80; };
    const int l = coord(90), t = coord(60), r = coord(90), b = coord(60);
    const int shape = k % 3;
    const int fill = static_cast<int>(rng() % 8);
    const int style = static_cast<int>(rng() % 4);
    Canvas small(90, 60), big(700, 700);
    for (Canvas* c : {&small, &big}) c->FillStyle = fill, c->DrawStyle = style, c->FillColor = 0xFFFF0000u;
    auto draw = [&](Canvas& c, int dx, int dy) {
      if (shape == 0) c.Ellipse(l + dx, t + dy, r + dx, b + dy);
      if (shape == 1) c.RoundRect(l + dx, t + dy, r + dx, b + dy, 20, 14);
      if (shape == 2) {
        const QPoint p[4] = {QPoint(l + dx, t + dy), QPoint(r + dx, t + dy + 7), QPoint(r + dx, b + dy), QPoint(l + dx - 9, b + dy)};
        c.Polygon(p, 4);
      }
    };
    draw(small, 0, 0);
    draw(big, offX, offY);
    if (small.Raster() != big.Raster().copy(offX, offY, 90, 60)) {
      ++failures[shape];
      if (failures[shape] < 3)
        ADD_FAILURE() << "shape " << shape << " " << l << "," << t << "," << r << "," << b << " fill " << fill
                      << " style " << style;
    }
  }
  EXPECT_EQ(failures[0], 0);
  EXPECT_EQ(failures[1], 0);
  EXPECT_EQ(failures[2], 0);
}

}  // namespace

namespace {

// A one-pixel polygon outline is a closed chain of lines: a rectangle given by its corners from
// the top-left round is exactly the box, pattern and interior included (the interior is the
// pixels inside the outline, the hatches aligned to the picture's origin).
TEST(CanvasShapeEdge, RectanglePolygonEqualsTheBox) {
  for (int style = 0; style <= 3; ++style)
    for (int fill = 0; fill <= 7; ++fill) {
      SCOPED_TRACE(testing::Message() << "style " << style << " fill " << fill);
      Canvas box(60, 40), poly(60, 40);
      for (Canvas* c : {&box, &poly}) c->DrawStyle = style, c->FillStyle = fill, c->FillColor = 0xFFFF0000u;
      box.Box(5, 6, 47, 31);
      const QPoint corners[4] = {QPoint(5, 6), QPoint(47, 6), QPoint(47, 31), QPoint(5, 31)};
      poly.Polygon(corners, 4);
      ASSERT_EQ(poly.Raster(), box.Raster());
    }
}

// Every vertex pixel is drawn, and a filled convex polygon is one run of ink on every row: the
// fill neither leaves a gap inside the outline nor sticks out past it.
TEST(CanvasShapeEdge, PolygonVerticesAndFillInsideTheOutline) {
  std::mt19937 rng(9);
  for (int k = 0; k < 200; ++k) {
    const QPoint p[3] = {QPoint(rng() % 70, rng() % 50), QPoint(rng() % 70, rng() % 50), QPoint(rng() % 70, rng() % 50)};
    SCOPED_TRACE(testing::Message() << p[0].x() << "," << p[0].y() << " " << p[1].x() << "," << p[1].y() << " "
                                    << p[2].x() << "," << p[2].y());
    Canvas c(70, 50);
    c.FillStyle = Canvas::kFillSolid;
    c.FillColor = 0xFFFF0000u;
    c.Polygon(p, 3);
    for (const QPoint& v : p) ASSERT_EQ(c.GetPixel(v.x(), v.y()), kBlack);
    for (int y = 0; y < 50; ++y) {
      int first = -1, last = -1;
      for (int x = 0; x < 70; ++x)
        if (c.GetPixel(x, y) != kWhite) {
          if (first < 0) first = x;
          last = x;
        }
      if (first < 0) continue;
      ASSERT_EQ(c.GetPixel(first, y), kBlack) << "row " << y;
      ASSERT_EQ(c.GetPixel(last, y), kBlack) << "row " << y;
      for (int x = first; x <= last; ++x) ASSERT_NE(c.GetPixel(x, y), kWhite) << x << "," << y;
    }
  }
}

}  // namespace
