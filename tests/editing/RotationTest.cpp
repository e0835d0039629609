// Rotation of the selection: buffer size, angle 0, quarter turns, agreement with the per-pixel
// mapping.
#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "editing/Rotation.h"
#include "figures/Rounding.h"
#include "support/AddressSpace.h"
#include "support/Colors.h"

namespace {

QImage Noise(int w, int h, unsigned seed) {
  QImage img(w, h, QImage::Format_RGB32);
  std::mt19937 rng(seed);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, 0xFF000000u | (rng() & 0xFFFFFFu));
  return img;
}

// The mapping written pixel by pixel, as the rotation is defined.
QImage Direct(const QImage& base, double angle) {
  const int W = base.width(), H = base.height(), S = RotationSide(W, H);
  QImage out(S, S, QImage::Format_RGB32);
  out.fill(kWhite);
  const double phi = angle * 3.1416 / 180, c = std::cos(phi), s = std::sin(phi);
  for (int i = 0; i < S; ++i)
    for (int j = 0; j < S; ++j) {
      const double xc = i - S / 2, yc = j - S / 2;
      const double sx = W / 2 + (xc * c + yc * s), sy = H / 2 + (yc * c - xc * s);
      const int64_t rx = RoundHalfEven(sx), ry = RoundHalfEven(sy);
      if (rx >= 0 && rx <= W - 1 && ry >= 0 && ry <= H - 1)
        out.setPixel(i, j, base.pixel(static_cast<int>(rx), static_cast<int>(ry)));
    }
  return out;
}

bool NearTie(double v) { return std::abs(v - std::floor(v) - 0.5) < 1e-6; }

TEST(RotationTest, SideIsTheRoundedDiagonal) {
  EXPECT_EQ(RotationSide(3, 4), 5);
  EXPECT_EQ(RotationSide(1000, 1000), 1414);
  EXPECT_EQ(RotationSide(1, 1), 1);
  EXPECT_EQ(RotationSide(7, 0), 7);
  EXPECT_EQ(RotationSide(0, 0), 0);
  EXPECT_EQ(RotationSide(16384, 16384), 23170);
}

TEST(RotationTest, AngleZeroGivesTheSelectionBackWhole) {
  const QImage base = Noise(37, 20, 1);
  QImage buf;
  RenderRotation(base, 30.0 + (-30.0), buf);
  const int S = RotationSide(37, 20);
  ASSERT_EQ(buf.size(), QSize(S, S));
  const int ox = S / 2 - 37 / 2, oy = S / 2 - 20 / 2;
  EXPECT_EQ(buf.copy(ox, oy, 37, 20), base);  // every column and row, outermost included
  int white = 0;
  for (int y = 0; y < S; ++y)
    for (int x = 0; x < S; ++x) white += buf.pixel(x, y) == kWhite;
  EXPECT_EQ(white, S * S - 37 * 20);
}

TEST(RotationTest, QuarterTurnOfALongNarrowSelection) {
  QImage base(40, 3, QImage::Format_RGB32);
  base.fill(qRgb(0, 0, 200));
  base.setPixel(39, 1, qRgb(255, 0, 0));  // the right end
  QImage buf;
  RenderRotation(base, 30, buf);  // an earlier angle must leave nothing behind
  RenderRotation(base, 90, buf);
  const int S = RotationSide(40, 3);
  ASSERT_EQ(buf.size(), QSize(S, S));
  // Clockwise: the right end now points down; the picture is a 3 x 40 column about the centre.
  QRect ink;
  for (int y = 0; y < S; ++y)
    for (int x = 0; x < S; ++x)
      if (buf.pixel(x, y) != kWhite) ink |= QRect(x, y, 1, 1);
  EXPECT_EQ(ink.size(), QSize(3, 40));
  int redY = -1;
  for (int y = 0; y < S; ++y)
    for (int x = 0; x < S; ++x)
      if (buf.pixel(x, y) == qRgb(255, 0, 0)) redY = y;
  EXPECT_EQ(redY, ink.bottom());
}

TEST(RotationTest, AgreesWithTheDirectMapping) {
  const QImage base = Noise(53, 31, 7);
  for (double angle : {0.0, 1.0, -1.0, 30.0, 45.0, 60.0, 90.0, -90.0, 137.0, 180.0, 271.0, 3600.5}) {
    SCOPED_TRACE(angle);
    QImage buf;
    RenderRotation(base, angle, buf);
    const QImage want = Direct(base, angle);
    ASSERT_EQ(buf.size(), want.size());
    const int S = buf.width();
    const double phi = angle * 3.1416 / 180, c = std::cos(phi), s = std::sin(phi);
    int diffs = 0;
    for (int j = 0; j < S; ++j)
      for (int i = 0; i < S; ++i) {
        if (buf.pixel(i, j) == want.pixel(i, j)) continue;
        const double xc = i - S / 2, yc = j - S / 2;
        const double sx = 53 / 2 + (xc * c + yc * s), sy = 31 / 2 + (yc * c - xc * s);
        if (NearTie(sx) || NearTie(sy)) continue;  // rounding ties may go either way
        ++diffs;
      }
    EXPECT_EQ(diffs, 0);
  }
}

TEST(RotationTest, ReusesTheBufferAndHandlesOddInput) {
  const QImage base = Noise(10, 10, 3);
  QImage buf;
  RenderRotation(base, 45, buf);
  const uchar* bits = buf.constBits();
  RenderRotation(base, 46, buf);
  EXPECT_EQ(buf.constBits(), bits);

  QImage ref, b2;
  RenderRotation(base, 45, ref);
  RenderRotation(base.convertToFormat(QImage::Format_ARGB32), 45, b2);
  EXPECT_EQ(b2, ref);

  RenderRotation(QImage(), 30, buf);
  EXPECT_TRUE(buf.isNull());
  RenderRotation(base, std::nan(""), buf);
  ASSERT_EQ(buf.size(), QSize(14, 14));
  EXPECT_EQ(buf.pixel(7, 7), kWhite);
  RenderRotation(base, 1e300, buf);  // absurd angle: a picture, no crash
  EXPECT_EQ(buf.size(), QSize(14, 14));
}

#ifdef QM_ADDRESS_SPACE_LIMIT
// A square too big for the memory left (a 16000 x 1 base needs a 16000 x 16000 square, 1 GiB)
// leaves the buffer null instead of writing through it; a later small rotation works again. Runs in
// a child process whose address space is limited; the exit code tells which check failed.
[[noreturn]] void RotateWithoutMemory() {
  QImage wide(16000, 1, QImage::Format_RGB32);
  wide.fill(0xFF102030u);
  LimitAddressSpace(256ll << 20);
  QImage buf;
  RenderRotation(wide, 30, buf);
  if (!buf.isNull()) std::exit(5);
  RenderRotation(Noise(10, 10, 3), 30, buf);
  if (buf.size() != QSize(14, 14)) std::exit(6);
  std::exit(0);
}

TEST(RotationDeathTest, SquareThatDoesNotFitLeavesTheBufferNull) { ExpectChildPasses(RotateWithoutMemory); }
#endif

}  // namespace
