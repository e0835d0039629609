// Damage tracking, capture and restore, and absurd input.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include <functional>
#include <limits>
#include <random>

#include "figures/Canvas.h"
#include "support/Colors.h"

namespace {

// Draws one random operation; coordinates often run off the raster.
int RandomDraw(Canvas& c, std::mt19937& rng) {
  auto coord = [&](int side) { return static_cast<double>(static_cast<int>(rng() % (side + 40)) - 20); };
  auto W = [&] { return coord(c.Width()); };
  auto H = [&] { return coord(c.Height()); };
  c.ForeColor = qRgb(rng() % 256, rng() % 256, rng() % 256);
  c.FillColor = qRgb(rng() % 256, rng() % 256, rng() % 256);
  c.FillStyle = static_cast<int>(rng() % 8);
  c.DrawWidth = (rng() % 3 == 0) ? 4 : (rng() % 2 ? 2 : 1);
  c.DrawStyle = c.DrawWidth == 1 ? static_cast<int>(rng() % 4) : 0;
  const int op = static_cast<int>(rng() % 11);
  switch (op) {
    case 0: c.Line(W(), H(), W(), H()); break;
    case 1: c.Box(W(), H(), W(), H()); break;
    case 2: c.FilledBoxRel(W(), H(), W() / 4, H() / 4, c.ForeColor); break;
    case 3: c.Circle(W(), H(), rng() % 30); break;
    case 4: c.PSet(W(), H()); break;
    case 5: c.Ellipse(static_cast<int>(W()), static_cast<int>(H()), static_cast<int>(W()), static_cast<int>(H())); break;
    case 6: c.RoundRect(static_cast<int>(W()), static_cast<int>(H()), static_cast<int>(W()), static_cast<int>(H()), 10, 6); break;
    case 7: {
      const QPoint p[4] = {QPoint(W(), H()), QPoint(W(), H()), QPoint(W(), H()), QPoint(W(), H())};
      c.Polygon(p, 3 + static_cast<int>(rng() % 2));
      break;
    }
    case 8: c.ExtFloodFill(static_cast<int>(W()), static_cast<int>(H()), c.GetPixel(static_cast<int>(W()), static_cast<int>(H()))); break;
    case 9: {
      QImage pic(7, 5, QImage::Format_RGB32);
      pic.fill(qRgb(rng() % 256, 0, 255));
      c.PaintPicture(pic, W(), H(), W() / 3, H() / 3, 0, 0, 7, 5,
                     rng() % 2 ? Canvas::RasterOp::And : Canvas::RasterOp::Copy);
      break;
    }
    default: c.TextOutA(static_cast<int>(W()), static_cast<int>(H()), QStringLiteral("Ab甲\\vec{F}_1^2")); break;
  }
  return op;
}

// What the screen is told must cover what changed, and a damage-limited restore must give the
// same picture as a full one.
TEST(CanvasDamageTest, DamageRestoreEqualsFullRestore) {
  std::mt19937 rng(2024);
  Canvas c(120, 80);
  for (int i = 0; i < 40; ++i) RandomDraw(c, rng);
  for (int step = 0; step < 300; ++step) {
    QImage backing;
    c.CopyInto(backing);
    c.Restore(backing);
    c.TakeScreenDamage();
    const int n = 1 + static_cast<int>(rng() % 4);
    QString ops;
    for (int i = 0; i < n; ++i) ops += QString::number(RandomDraw(c, rng)) + ' ';
    SCOPED_TRACE(ops.toStdString());
    const QImage drawn = c.Image().copy();
    const QRect damage = c.Damage();
    const QRect screen = c.TakeScreenDamage();
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x)
        if (drawn.pixel(x, y) != backing.pixel(x, y)) {
          ASSERT_TRUE(damage.contains(x, y)) << "step " << step << " at " << x << "," << y;
          ASSERT_TRUE(screen.contains(x, y));
        }
    c.Restore(backing);
    ASSERT_EQ(c.Raster(), backing) << "step " << step;
    EXPECT_TRUE(c.Damage().isEmpty());
    const QRect repaint = c.TakeScreenDamage();
    EXPECT_TRUE(damage.isEmpty() || repaint.contains(damage));
    for (int i = 0; i < n; ++i) RandomDraw(c, rng);  // keep some figures for the next round
  }
}

TEST(CanvasDamageTest, CopyIntoReusesTheTargetBuffer) {
  Canvas c(64, 32);
  QImage target;
  c.CopyInto(target);
  const uchar* bits = target.constBits();
  c.Line(0, 0, 63, 31);
  c.CopyInto(target);
  EXPECT_EQ(target.constBits(), bits);
  EXPECT_EQ(target, c.Raster());
  c.Line(0, 31, 63, 0);
  EXPECT_NE(target, c.Raster());  // a copy, not a view
}

TEST(CanvasDamageTest, RestoreOfAnotherSizeReplacesThePicture) {
  Canvas c(20, 10);
  QImage small(5, 5, QImage::Format_RGB32);
  small.fill(kRed);
  c.Restore(small);
  EXPECT_EQ(c.Size(), QSize(20, 10));
  EXPECT_EQ(c.GetPixel(4, 4), kRed);
  EXPECT_EQ(c.GetPixel(5, 4), kWhite);
  EXPECT_EQ(c.GetPixel(4, 5), kWhite);
  EXPECT_TRUE(c.Damage().isEmpty());
  EXPECT_EQ(c.TakeScreenDamage(), QRect(0, 0, 20, 10));
  EXPECT_TRUE(c.TakeScreenDamage().isEmpty());
}

TEST(CanvasDamageTest, ResizeKeepsTopLeftAndRefusesBadSizes) {
  Canvas c(10, 10);
  c.FilledBoxRel(0, 0, 9, 9, kBlack);
  EXPECT_TRUE(c.Resize(15, 5));
  EXPECT_EQ(c.Size(), QSize(15, 5));
  EXPECT_EQ(c.GetPixel(9, 4), kBlack);
  EXPECT_EQ(c.GetPixel(10, 4), kWhite);
  for (QSize bad : {QSize(0, 5), QSize(5, 0), QSize(-3, 5), QSize(Canvas::kMaxSide + 1, 5)}) {
    EXPECT_FALSE(c.Resize(bad.width(), bad.height()));
    EXPECT_EQ(c.Size(), QSize(15, 5));
  }
  c.Clear();
  EXPECT_EQ(c.GetPixel(0, 0), kWhite);
}

// Absurd and non-finite input: no crash, no hang, and a sensible picture.
TEST(CanvasDamageTest, AbsurdCoordinates) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* name;
    std::function<void(Canvas&)> draw;
    int expectBlack;  // -1: any
  };
  const Case cases[] = {
      {"line across", [](Canvas& c) { c.Line(-1e9, 10, 1e9, 10); }, 100},
      {"line far away", [](Canvas& c) { c.Line(-1e9, -1e9, -1e9 + 5, 1e9); }, 0},
      {"line beyond limits", [](Canvas& c) { c.Line(-1e300, 20, 1e300, 20); }, 100},
      {"dashed diagonal", [](Canvas& c) { c.DrawStyle = Canvas::kDash; c.Line(-1e9, -1e9, 1e9, 1e9); }, -1},
      {"line NaN", [nan](Canvas& c) { c.Line(nan, 1, 5, 5); }, 0},
      {"line inf", [inf](Canvas& c) { c.Line(1, 1, inf, 5); }, 0},
      {"rel inf", [inf](Canvas& c) { c.LineRel(1, 1, inf, -inf); }, 0},
      {"box huge", [](Canvas& c) { c.Box(-1e9, -1e9, 1e9, 1e9); }, 0},
      {"box huge filled", [](Canvas& c) { c.FillStyle = 0; c.Box(-1e9, -1e9, 1e9, 1e9); }, 100 * 50},
      {"box half off", [](Canvas& c) { c.Box(-1e9, 10, 50, 20); }, 51 * 2 + 9},
      {"box NaN", [nan](Canvas& c) { c.Box(nan, 0, 5, 5); }, 0},
      {"filled box inf", [inf](Canvas& c) { c.FilledBoxRel(0, 0, inf, 5, kBlack); }, 0},
      {"filled box huge", [](Canvas& c) { c.FilledBoxRel(-1e9, -1e9, 2e9, 2e9, kBlack); }, 100 * 50},
      {"filled box negative", [](Canvas& c) { c.FilledBoxRel(10, 10, -1e9, -1e9, kBlack); }, 11 * 11},
      {"circle r=1e9", [](Canvas& c) { c.Circle(50, 25, 1e9); }, 0},
      {"circle r=1e9 filled", [](Canvas& c) { c.FillStyle = 0; c.Circle(50, 25, 1e9); }, 100 * 50},
      {"circle edge through", [](Canvas& c) { c.Circle(50, 1e9 + 10, 1e9); }, -1},
      {"circle hatched huge", [](Canvas& c) { c.FillStyle = 6; c.Circle(50, 25, 1e12); }, -1},
      {"circle negative r", [](Canvas& c) { c.Circle(50, 25, -5); }, 0},
      {"circle NaN", [nan](Canvas& c) { c.Circle(50, nan, 5); }, 0},
      {"circle far", [](Canvas& c) { c.Circle(1e9, 1e9, 10); }, 0},
      {"pset far", [](Canvas& c) { c.DrawWidth = 4; c.PSet(-1e9, 1e9); }, 0},
      {"pset NaN", [nan](Canvas& c) { c.PSet(nan, nan); }, 0},
      {"ellipse extreme", [](Canvas& c) { c.Ellipse(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX); }, 0},
      {"ellipse extreme dashed", [](Canvas& c) { c.DrawStyle = 1; c.Ellipse(-2000000000, 0, 2000000000, 40); }, -1},
      {"roundrect extreme", [](Canvas& c) { c.RoundRect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX); }, -1},
      {"roundrect negative corners", [](Canvas& c) { c.RoundRect(5, 5, 40, 30, -10, -10); }, -1},
      {"polygon extreme", [](Canvas& c) {
         const QPoint p[3] = {QPoint(INT32_MIN, INT32_MIN), QPoint(INT32_MAX, 0), QPoint(0, INT32_MAX)};
         c.FillStyle = 0;
         c.Polygon(p, 3);
       }, -1},
      {"picture huge", [](Canvas& c) {
         QImage p(3, 3, QImage::Format_RGB32);
         p.fill(kBlack);
         c.PaintPicture(p, -5e8, -5e8, 1e9, 1e9, 0, 0, 3, 3);
       }, 100 * 50},
      {"picture zero size", [](Canvas& c) {
         QImage p(3, 3, QImage::Format_RGB32);
         p.fill(kBlack);
         c.PaintPicture(p, 0, 0, 0, 5, 0, 0, 3, 3);
         c.PaintPicture(p, 0, 0, 5, 5, 0, 0, -3, 3);
         c.PaintPicture(p, 0, 0, 5, 5, 1e9, 0, 3, 3);
         c.PaintPicture(QImage(), 0, 0);
       }, 0},
      {"bitblt extreme", [](Canvas& c) {
         QImage p(3, 3, QImage::Format_RGB32);
         p.fill(kBlack);
         c.BitBlt(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, p, INT32_MIN, 0, Canvas::RasterOp::Copy);
         c.BitBlt(-5, -5, -3, 10, p, 0, 0, Canvas::RasterOp::Copy);
         c.BitBlt(1, 1, 100, 100, p, 2, 2, Canvas::RasterOp::Copy);
       }, 1},
      {"text far", [](Canvas& c) { c.TextOutA(INT32_MIN, INT32_MAX, QStringLiteral("abc")); }, 0},
      {"text with scripts far", [](Canvas& c) { c.TextOutA(INT32_MAX, 0, QStringLiteral("x_1^2\\vec{AB}")); }, 0},
      {"fill far", [](Canvas& c) { c.FillStyle = 0; c.ExtFloodFill(INT32_MIN, INT32_MAX, kWhite); }, 0},
      {"pixels far", [](Canvas& c) { c.SetPixel(INT32_MIN, 0, kBlack); c.SetPixel(100, 0, kBlack); }, 0},
      {"huge pen", [](Canvas& c) { c.DrawWidth = INT32_MAX; c.Line(50, 25, 50, 25); }, -1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Canvas c(100, 50);
    k.draw(c);
    int black = 0;
    for (int y = 0; y < 50; ++y)
      for (int x = 0; x < 100; ++x) black += c.GetPixel(x, y) == kBlack;
    if (k.expectBlack >= 0) {
      EXPECT_EQ(black, k.expectBlack);
    }
    if (black > 0) {
      EXPECT_FALSE(c.Damage().isEmpty());
    }
  }
}

TEST(CanvasDamageTest, HugeCircleEdgeLooksLikeALine) {
  // A circle of radius 5e8 whose top passes through row 10: a horizontal line across.
  Canvas c(100, 50);
  c.Circle(50, 10 + 5e8, 5e8);
  for (int x = 0; x < 100; ++x) EXPECT_EQ(c.GetPixel(x, 10), kBlack) << x;
  EXPECT_EQ(c.GetPixel(50, 9), kWhite);
  EXPECT_EQ(c.GetPixel(50, 11), kWhite);
}

}  // namespace
