// The region fill behind ExtFloodFill: exact colour, 4-connected, brush styles.
#include <gtest/gtest.h>

#include <QImage>

#include <random>

#include "figures/Canvas.h"
#include "figures/FloodFill.h"
#include "support/Colors.h"

namespace {

int Count(const QImage& img, QRgb c) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) == c;
  return n;
}

// A 40 x 30 white canvas with a black box outline from (5, 5) to (24, 19).
Canvas Boxed() {
  Canvas c(40, 30);
  c.Box(5, 5, 24, 19);
  c.FillStyle = Canvas::kFillSolid;
  c.FillColor = kRed;
  c.Restore(c.Image());  // forget the box's damage
  return c;
}

TEST(FloodFillTest, InteriorOnly) {
  Canvas c = Boxed();
  c.ExtFloodFill(10, 10, c.Point(10, 10));
  EXPECT_EQ(Count(c.Raster(), kRed), 18 * 13);
  EXPECT_EQ(Count(c.Raster(), kBlack), 2 * 20 + 2 * 13);
  EXPECT_EQ(c.GetPixel(2, 2), kWhite);
  EXPECT_EQ(c.Damage(), QRect(6, 6, 18, 13));
}

TEST(FloodFillTest, OutlineOnly) {
  Canvas c = Boxed();
  c.ExtFloodFill(5, 5, kBlack);
  EXPECT_EQ(Count(c.Raster(), kRed), 2 * 20 + 2 * 13);
  EXPECT_EQ(Count(c.Raster(), kBlack), 0);
  EXPECT_EQ(Count(c.Raster(), kWhite), 40 * 30 - 66);
}

TEST(FloodFillTest, LeakingGapReachesTheEdges) {
  Canvas c = Boxed();
  c.SetPixel(24, 12, kWhite);  // a one-pixel gap in the right side
  c.ExtFloodFill(10, 10, kWhite);
  EXPECT_EQ(Count(c.Raster(), kWhite), 0);
  EXPECT_EQ(c.GetPixel(0, 0), kRed);
  EXPECT_EQ(c.GetPixel(39, 29), kRed);
}

TEST(FloodFillTest, DiagonalNeighboursDoNotConnect) {
  Canvas c(10, 10);
  c.Line(0, 4, 4, 0);  // a diagonal closes the corner for a 4-connected fill
  c.FillStyle = Canvas::kFillSolid;
  c.FillColor = kRed;
  c.ExtFloodFill(0, 0, kWhite);
  EXPECT_EQ(Count(c.Raster(), kRed), 10);  // the triangle x + y < 4
  EXPECT_EQ(c.GetPixel(9, 9), kWhite);
}

TEST(FloodFillTest, NothingChangesForSameColourTransparentOrOutside) {
  Canvas c = Boxed();
  const QImage before = c.Image().copy();
  c.FillColor = kWhite;
  c.ExtFloodFill(10, 10, kWhite);  // already the fill colour
  EXPECT_EQ(c.Raster(), before);
  c.FillColor = kRed;
  c.FillStyle = Canvas::kFillTransparent;
  c.ExtFloodFill(10, 10, kWhite);
  EXPECT_EQ(c.Raster(), before);
  c.FillStyle = Canvas::kFillSolid;
  c.ExtFloodFill(-1, 10, kWhite);
  c.ExtFloodFill(40, 10, kWhite);
  c.ExtFloodFill(10, 1000000000, kWhite);
  c.ExtFloodFill(10, 10, kGreen);  // the seed is not of the colour
  EXPECT_EQ(c.Raster(), before);
  EXPECT_TRUE(c.Damage().isEmpty());
}

TEST(FloodFillTest, EachHatchPaintsItsPatternAndKeepsTheGaps) {
  for (int style = 2; style <= 7; ++style) {
    SCOPED_TRACE(style);
    Canvas c = Boxed();
    c.FillStyle = style;
    c.ExtFloodFill(10, 10, kWhite);
    // Exactly what a box with the same brush paints in the interior.
    Canvas ref(40, 30);
    ref.FillStyle = style;
    ref.FillColor = kRed;
    ref.Box(5, 5, 24, 19);
    EXPECT_EQ(c.Raster(), ref.Raster());
    EXPECT_GT(Count(c.Raster(), kRed), 0);
    EXPECT_EQ(c.GetPixel(2, 2), kWhite);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) ASSERT_EQ(qAlpha(c.GetPixel(x, y)), 255);
  }
}

TEST(FloodFillTest, HatchOverTheFillColourTerminates) {
  // The gaps keep the target colour, so the fill must not run over them again.
  Canvas c(64, 64);
  c.FillStyle = 6;
  c.FillColor = kBlack;
  c.ExtFloodFill(31, 31, kWhite);
  const uint8_t* tile = HatchRows(6);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      ASSERT_EQ(c.GetPixel(x, y), HatchPaints(tile, x, y) ? kBlack : kWhite);
  // Filling again with the same hatch changes nothing further.
  const QImage once = c.Image().copy();
  c.ExtFloodFill(1, 1, c.Point(1, 1));
  const QImage twice = c.Image().copy();
  int changed = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) changed += once.pixel(x, y) != twice.pixel(x, y);
  EXPECT_EQ(changed, 0);
}

TEST(FloodFillTest, BorderModeFillsUpToTheBorderColour) {
  Canvas c = Boxed();
  c.SetPixel(10, 10, kGreen);  // another colour inside is filled over too
  c.ExtFloodFill(12, 12, kBlack, 0);
  EXPECT_EQ(Count(c.Raster(), kRed), 18 * 13);
  EXPECT_EQ(c.GetPixel(2, 2), kWhite);
}

// Random pictures of three colours against a plain breadth-first reference.
TEST(FloodFillTest, AgreesWithAPixelByPixelFill) {
  std::mt19937 rng(42);
  const QRgb colours[3] = {kWhite, kBlack, kGreen};
  for (int round = 0; round < 300; ++round) {
    const int w = 1 + static_cast<int>(rng() % 50), h = 1 + static_cast<int>(rng() % 40);
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) img.setPixel(x, y, colours[rng() % (round % 2 ? 2 : 3)]);
    const int sx = static_cast<int>(rng() % static_cast<unsigned>(w));
    const int sy = static_cast<int>(rng() % static_cast<unsigned>(h));
    const QRgb target = img.pixel(sx, sy);
    QImage want = img.copy();
    std::vector<QPoint> todo{QPoint(sx, sy)};
    std::vector<char> seen(static_cast<size_t>(w * h), 0);
    seen[static_cast<size_t>(sy * w + sx)] = 1;
    while (!todo.empty()) {
      const QPoint p = todo.back();
      todo.pop_back();
      want.setPixel(p, kRed);
      const QPoint n[4] = {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)};
      for (const QPoint& q : n)
        if (q.x() >= 0 && q.y() >= 0 && q.x() < w && q.y() < h &&
            !seen[static_cast<size_t>(q.y() * w + q.x())] && img.pixel(q) == target) {
          seen[static_cast<size_t>(q.y() * w + q.x())] = 1;
          todo.push_back(q);
        }
    }
    FloodFillRegion(img, sx, sy, target, 1, 0, kRed);
    ASSERT_EQ(img, want) << "round " << round;
  }
}

// One-pixel corridors joined alternately at the bottom and the top: the fill winds through all.
TEST(FloodFillTest, Serpentine) {
  for (int side : {2, 5, 64}) {
    SCOPED_TRACE(side);
    QImage img(side, side, QImage::Format_RGB32);
    img.fill(kWhite);
    for (int x = 1; x < side; x += 2)
      for (int y = 0; y < side; ++y)
        if (y != ((x / 2) % 2 == 0 ? side - 1 : 0)) img.setPixel(x, y, kBlack);
    for (QPoint seed : {QPoint(0, 0), QPoint(side - 1 - (side - 1) % 2, side / 2)}) {
      QImage work = img.copy();
      FloodFillRegion(work, seed.x(), seed.y(), kWhite, 1, 0, kRed);
      EXPECT_EQ(Count(work, kWhite), 0);
      EXPECT_EQ(Count(work, kBlack), Count(img, kBlack));
    }
  }
}

TEST(FloodFillTest, LargeRegion) {
  Canvas c(4096, 4096);
  c.Circle(2048, 2048, 1500);
  c.FillStyle = Canvas::kFillSolid;
  c.FillColor = kRed;
  c.ExtFloodFill(2048, 2048, kWhite);
  EXPECT_EQ(c.GetPixel(2048, 2048), kRed);
  EXPECT_EQ(c.GetPixel(2048 + 1499, 2048), kRed);
  EXPECT_EQ(c.GetPixel(2048 + 1500, 2048), kBlack);
  EXPECT_EQ(c.GetPixel(0, 0), kWhite);
  c.FillStyle = 7;
  c.FillColor = kGreen;
  c.ExtFloodFill(0, 0, kWhite);
  EXPECT_EQ(c.GetPixel(2048, 2048), kRed);
  EXPECT_NE(c.GetPixel(0, 0), kRed);
  EXPECT_EQ(c.Damage(), c.Raster().rect());
}

}  // namespace
