// Pixel-level behaviour of the canvas's drawing operations.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFont>
#include <QSet>

#include <cmath>
#include <limits>

#include "figures/Canvas.h"
#include "figures/FloodFill.h"
#include "support/Colors.h"

namespace {

int CountColour(const Canvas& c, QRgb colour, QRect area = QRect()) {
  if (area.isNull()) area = QRect(0, 0, c.Width(), c.Height());
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += c.GetPixel(x, y) == colour;
  return n;
}

// The bounding rectangle of the pixels that are not white.
QRect Ink(const Canvas& c) {
  QRect r;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x)
      if (c.GetPixel(x, y) != kWhite) r |= QRect(x, y, 1, 1);
  return r;
}

TEST(CanvasTest, NewCanvasIsWhite) {
  Canvas c(30, 20);
  EXPECT_EQ(c.Size(), QSize(30, 20));
  EXPECT_EQ(CountColour(c, kWhite), 600);
  EXPECT_EQ(c.Raster().format(), QImage::Format_RGB32);
}

TEST(CanvasTest, LineDrawsBothEndPixels) {
  Canvas c(40, 40);
  c.Line(10, 10, 20, 10);
  EXPECT_EQ(Ink(c), QRect(QPoint(10, 10), QPoint(20, 10)));
  EXPECT_EQ(CountColour(c, kBlack), 11);
  Canvas d(40, 40);
  d.Line(20, 30, 20, 5, kRed);
  EXPECT_EQ(Ink(d), QRect(QPoint(20, 5), QPoint(20, 30)));
  EXPECT_EQ(CountColour(d, kRed), 26);
}

TEST(CanvasTest, LineRoundsHalvesToEven) {
  Canvas c(40, 40);
  c.Line(10.5, 3.5, 13.5, 3.5);  // 10.5 -> 10, 13.5 -> 14, 3.5 -> 4
  EXPECT_EQ(Ink(c), QRect(QPoint(10, 4), QPoint(14, 4)));
}

TEST(CanvasTest, DotStyleIsPatternedOnlyAtWidthOne) {
  Canvas c(80, 20);
  c.DrawStyle = Canvas::kDot;
  c.Line(0, 5, 59, 5);
  const int dotted = CountColour(c, kBlack);
  EXPECT_GT(dotted, 10);
  EXPECT_LT(dotted, 40);  // gaps between the dots
  Canvas d(80, 20);
  d.DrawStyle = Canvas::kDot;
  d.DrawWidth = 2;
  d.Line(0, 5, 59, 5);
  for (int x = 0; x <= 59; ++x) {
    int inColumn = 0;
    for (int y = 0; y < 20; ++y) inColumn += d.GetPixel(x, y) == kBlack;
    EXPECT_EQ(inColumn, 2) << "column " << x;
  }
}

TEST(CanvasTest, DashStylesDifferAtWidthOne) {
  QSet<int> counts;
  for (int style : {Canvas::kSolid, Canvas::kDash, Canvas::kDot, Canvas::kDashDot}) {
    Canvas c(100, 10);
    c.DrawStyle = style;
    c.Line(0, 5, 89, 5);
    counts.insert(CountColour(c, kBlack));
  }
  EXPECT_EQ(counts.size(), 4);
  EXPECT_TRUE(counts.contains(90));
}

TEST(CanvasTest, BoxCoversBothCornersInAnyOrder) {
  const QRect expected(QPoint(5, 6), QPoint(24, 17));
  const double corners[4][4] = {{5, 6, 24, 17}, {24, 17, 5, 6}, {5, 17, 24, 6}, {24, 6, 5, 17}};
  for (const auto& k : corners) {
    Canvas c(40, 30);
    c.Box(k[0], k[1], k[2], k[3]);
    EXPECT_EQ(Ink(c), expected);
    EXPECT_EQ(CountColour(c, kBlack), 2 * 20 + 2 * 10);  // outline only, transparent fill
  }
  Canvas r(40, 30);
  r.BoxRel(5, 6, 19, 11);  // relative end (w - 1, h - 1) covers w x h
  EXPECT_EQ(Ink(r), expected);
  Canvas n(40, 30);
  n.BoxRel(24, 17, -19, -11);
  EXPECT_EQ(Ink(n), expected);
}

TEST(CanvasTest, DegenerateBoxesDrawLinesAndPoints) {
  Canvas c(20, 20);
  c.Box(3, 4, 3, 12);
  EXPECT_EQ(Ink(c), QRect(QPoint(3, 4), QPoint(3, 12)));
  Canvas d(20, 20);
  d.Box(7, 7, 7, 7);
  EXPECT_EQ(CountColour(d, kBlack), 1);
  EXPECT_EQ(d.GetPixel(7, 7), kBlack);
}

TEST(CanvasTest, SolidFillBoxInteriorTakesFillColour) {
  Canvas c(30, 30);
  c.FillStyle = Canvas::kFillSolid;
  c.FillColor = kRed;
  c.Box(2, 2, 11, 11);
  EXPECT_EQ(CountColour(c, kBlack), 36);
  EXPECT_EQ(CountColour(c, kRed), 64);
}

// Each hatch paints FillColor exactly where its 8-pixel tile says, aligned to the picture's
// origin, and keeps the pixels beneath in its gaps.
TEST(CanvasTest, HatchStylesKeepPixelsBeneathInGaps) {
  for (int style = 2; style <= 7; ++style) {
    SCOPED_TRACE(style);
    Canvas c(64, 64);
    c.FilledBoxRel(0, 0, 63, 63, kBlue);
    c.FillStyle = style;
    c.FillColor = kRed;
    c.Box(3, 5, 50, 40);
    const uint8_t* tile = HatchRows(style);
    ASSERT_NE(tile, nullptr);
    int red = 0;
    for (int y = 6; y <= 39; ++y)
      for (int x = 4; x <= 49; ++x) {
        const QRgb want = HatchPaints(tile, x, y) ? kRed : kBlue;
        ASSERT_EQ(c.GetPixel(x, y), want) << x << "," << y;
        red += want == kRed;
      }
    EXPECT_GT(red, 0);
    EXPECT_LT(red, 46 * 34);
    EXPECT_EQ(c.GetPixel(2, 5), kBlue);  // outside the box nothing changes
  }
  EXPECT_EQ(HatchRows(0), nullptr);
  EXPECT_EQ(HatchRows(1), nullptr);
  EXPECT_EQ(HatchRows(8), nullptr);
}

TEST(CanvasTest, HatchDirections) {
  auto at = [](int style, int x, int y) { return HatchPaints(HatchRows(style), x, y); };
  // Horizontal: a painted row is painted all along; vertical: a painted column all down.
  for (int y = 0; y < 8; ++y)
    for (int x = 1; x < 8; ++x) {
      EXPECT_EQ(at(2, x, y), at(2, 0, y));
      EXPECT_EQ(at(3, y, x), at(3, y, 0));
    }
  // Upward diagonal rises to the right (x + y constant), downward falls (x - y constant).
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      EXPECT_EQ(at(4, x, y), at(4, x + 1, y + 7));
      EXPECT_EQ(at(5, x, y), at(5, x + 1, y + 1));
    }
}

TEST(CanvasTest, FilledBoxIgnoresFillStyle) {
  for (int style = 0; style <= 7; ++style) {
    Canvas c(20, 20);
    c.FillStyle = style;
    c.FillColor = kRed;
    c.FilledBoxRel(10, 10, 5, 5, kBlack);
    EXPECT_EQ(Ink(c), QRect(10, 10, 6, 6));
    EXPECT_EQ(CountColour(c, kBlack), 36);
    c.FilledBoxRel(12, 12, -5, -5, kWhite);  // whitens (7..12) x (7..12)
    EXPECT_EQ(CountColour(c, kBlack), 36 - 9);
  }
}

TEST(CanvasTest, PSetDotDiameterFollowsWidth) {
  Canvas c(20, 20);
  c.PSet(5, 5);
  EXPECT_EQ(CountColour(c, kBlack), 1);
  EXPECT_EQ(c.GetPixel(5, 5), kBlack);
  Canvas d(20, 20);
  d.DrawWidth = 4;
  d.DrawStyle = Canvas::kDot;  // no effect on points
  d.PSet(10, 10);
  EXPECT_EQ(Ink(d), QRect(8, 8, 4, 4));
  EXPECT_EQ(CountColour(d, kBlack), 12);  // round: the four corners stay white
  Canvas e(20, 20);
  e.DrawWidth = 2;
  e.PSet(10, 10);
  EXPECT_EQ(CountColour(e, kBlack), 4);
  EXPECT_EQ(e.Point(0.4, 0.4), kWhite);
  EXPECT_EQ(e.Point(-1, 0), Canvas::kNoPixel);
  EXPECT_EQ(e.GetPixel(20, 0), Canvas::kNoPixel);
}

TEST(CanvasTest, CircleIsSymmetricAndFilled) {
  Canvas c(60, 60);
  c.Circle(30, 30, 10);
  EXPECT_EQ(Ink(c), QRect(QPoint(20, 20), QPoint(40, 40)));
  EXPECT_EQ(c.GetPixel(30, 30), kWhite);
  c.FillStyle = Canvas::kFillSolid;
  c.FillColor = kRed;
  c.Circle(30, 30, 10);
  EXPECT_EQ(c.GetPixel(30, 30), kRed);
  EXPECT_EQ(c.GetPixel(40, 30), kBlack);
}

TEST(CanvasTest, EllipseAndRoundRectIgnoreCornerOrder) {
  auto draw = [](int which, int l, int t, int r, int b) {
    Canvas c(60, 50);
    c.FillStyle = Canvas::kFillSolid;
    c.FillColor = kRed;
    if (which == 0)
      c.Ellipse(l, t, r, b);
    else
      c.RoundRect(l, t, r, b, 12, 8);
    return c.Raster();
  };
  for (int which : {0, 1}) {
    const QImage ref = draw(which, 5, 7, 50, 40);
    EXPECT_NE(ref.pixel(27, 23), kWhite);
    EXPECT_EQ(draw(which, 50, 40, 5, 7), ref);
    EXPECT_EQ(draw(which, 50, 7, 5, 40), ref);
    EXPECT_EQ(draw(which, 5, 40, 50, 7), ref);
  }
}

TEST(CanvasTest, PolygonFillsAndOutlines) {
  Canvas c(40, 40);
  c.FillStyle = Canvas::kFillSolid;
  c.FillColor = kRed;
  const QPoint tri[3] = {QPoint(5, 5), QPoint(30, 5), QPoint(5, 30)};
  c.Polygon(tri, 3);
  EXPECT_EQ(c.GetPixel(5, 5), kBlack);
  EXPECT_EQ(c.GetPixel(10, 10), kRed);
  EXPECT_EQ(c.GetPixel(30, 30), kWhite);
  c.Polygon(nullptr, 3);
  c.Polygon(tri, 0);
}

TEST(CanvasTest, PaintPictureAndOfWhiteLeavesCanvasUnchanged) {
  Canvas c(50, 40);
  c.Circle(25, 20, 12);
  c.FilledBoxRel(3, 3, 8, 8, kRed);
  const QImage before = c.Image().copy();
  QImage white(30, 30, QImage::Format_RGB32);
  white.fill(kWhite);
  c.PaintPicture(white, 5, 5, 30, 30, 0, 0, 30, 30, Canvas::RasterOp::And);
  EXPECT_EQ(c.Raster(), before);
  c.BitBlt(-10, -10, 30, 30, white, 0, 0, Canvas::RasterOp::And);
  EXPECT_EQ(c.Raster(), before);
}

TEST(CanvasTest, PaintPictureAndIsBitwise) {
  Canvas c(4, 1);
  c.SetPixel(0, 0, qRgb(0xF0, 0x0F, 0xAA));
  c.SetPixel(1, 0, qRgb(0x12, 0x34, 0x56));
  QImage src(2, 1, QImage::Format_RGB32);
  src.setPixel(0, 0, qRgb(0x3C, 0xFF, 0x0F));
  src.setPixel(1, 0, qRgb(0xFF, 0x00, 0xF0));
  c.PaintPicture(src, 0, 0, 2, 1, 0, 0, 2, 1, Canvas::RasterOp::And);
  EXPECT_EQ(c.GetPixel(0, 0), qRgb(0x30, 0x0F, 0x0A));
  EXPECT_EQ(c.GetPixel(1, 0), qRgb(0x12, 0x00, 0x50));
  EXPECT_EQ(c.GetPixel(2, 0), kWhite);
}

TEST(CanvasTest, PaintPictureMirrorsAndScales) {
  QImage src(3, 2, QImage::Format_RGB32);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) src.setPixel(x, y, qRgb(x * 50, y * 100, 7));
  // Negative width: the destination extends to the left of x and is mirrored.
  Canvas h(10, 10);
  h.PaintPicture(src, 8, 1, -3, 2, 0, 0, 3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(h.GetPixel(7 - x, 1 + y), src.pixel(x, y));
  EXPECT_EQ(h.GetPixel(8, 1), kWhite);
  EXPECT_EQ(h.GetPixel(4, 1), kWhite);
  // Negative height: upwards from y, upside down.
  Canvas v(10, 10);
  v.PaintPicture(src, 2, 5, 3, -2, 0, 0, 3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(v.GetPixel(2 + x, 4 - y), src.pixel(x, y));
  // Doubling: each source pixel covers 2 x 2.
  Canvas s(10, 10);
  s.PaintPicture(src, 0, 0, 6, 4, 0, 0, 3, 2);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(s.GetPixel(x, y), src.pixel(x / 2, y / 2));
  // Plain form: natural size, copy.
  Canvas p(10, 10);
  p.PaintPicture(src, 4, 4);
  EXPECT_EQ(p.GetPixel(6, 5), src.pixel(2, 1));
}

TEST(CanvasTest, PaintPictureFromItsOwnRaster) {
  Canvas c(8, 1);
  for (int x = 0; x < 4; ++x) c.SetPixel(x, 0, qRgb(x, x, x));
  c.PaintPicture(c.Raster(), 8, 0, -4, 1, 0, 0, 4, 1);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(c.GetPixel(7 - x, 0), qRgb(x, x, x));
}

TEST(CanvasTest, TextPaintsInForeColorOnly) {
  Canvas c(200, 60);
  c.Font = QFont("WenQuanYi Micro Hei", 16);
  c.ForeColor = kRed;
  c.TextOutA(10, 10, QStringLiteral("F=ma甲乙α"));
  QSet<QRgb> colours;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) colours.insert(c.GetPixel(x, y));
  EXPECT_EQ(colours, (QSet<QRgb>{kWhite, kRed}));
  const QRect ink = [&] {
    QRect r;
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x)
        if (c.GetPixel(x, y) != kWhite) r |= QRect(x, y, 1, 1);
    return r;
  }();
  EXPECT_GE(ink.left(), 10);
  EXPECT_GE(ink.top(), 10);
  EXPECT_GT(ink.width(), 60);  // seven characters wide
  // An empty text draws nothing.
  Canvas empty(200, 60);
  empty.TextOutA(10, 10, QString());
  EXPECT_EQ(CountColour(empty, kWhite), 200 * 60);
}

}  // namespace
