// The floating selection without a window: lifting, moving, hiding, deleting, pasting, and turning
// a selection and turning it back in place for every size and position.
#include <gtest/gtest.h>

#include <QImage>

#include "editing/FloatingSelection.h"
#include "editing/Rotation.h"
#include "editing/UndoHistory.h"
#include "figures/Canvas.h"
#include "support/Colors.h"

namespace {

// A picture with no symmetry inside any rectangle.
QImage Pattern(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb((x * 7) & 0xff, (y * 11) & 0xff, ((x + 3 * y) * 5) & 0xff));
  return img;
}

int Differences(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += (a.pixel(x, y) | 0xff000000u) != (b.pixel(x, y) | 0xff000000u);
  return n;
}

// A canvas holding the pattern with a selection of `r` made on it, as the window makes one.
struct Made {
  Canvas canvas{400, 300};
  UndoHistory history;
  FloatingSelection sel;
  QImage before;
  explicit Made(QRect r) {
    canvas.SetPicture(Pattern(400, 300));
    before = canvas.Image();
    sel.Make(canvas, r.x(), r.y(), r.width(), r.height());
    history.Snapshot(canvas);
  }
};

TEST(FloatingSelection, TurningAndTurningBackGivesTheSelectionBackInPlace) {
  // Odd and even sides, both parities of position, squares of odd and even side.
  const QRect cases[] = {{100, 100, 80, 10}, {101, 101, 80, 10}, {31, 21, 61, 50}, {30, 20, 61, 50},
                         {50, 50, 1, 1},     {51, 50, 2, 1},     {100, 80, 99, 99}, {101, 81, 99, 99}};
  for (const QRect& r : cases) {
    for (double angle : {30.0, 90.0, 180.0, 270.0, -90.0, 1.0}) {
      Made m(r);
      ASSERT_TRUE(m.sel.Rotate(m.canvas, m.history, angle));
      // The square's centre pixel stands on the selection's centre pixel.
      const int side = RotationSide(r.width(), r.height());
      EXPECT_EQ(m.sel.FrameRect(), QRect(r.x() + r.width() / 2 - side / 2, r.y() + r.height() / 2 - side / 2, side, side))
          << r.x() << "," << r.y() << " " << r.width() << "x" << r.height() << " at " << angle;
      ASSERT_TRUE(m.sel.Rotate(m.canvas, m.history, -angle));
      EXPECT_EQ(Differences(m.canvas.Image(), m.before), 0)
          << r.x() << "," << r.y() << " " << r.width() << "x" << r.height() << " at " << angle;
    }
  }
}

TEST(FloatingSelection, SamplesRoundToTheNearestPixelHalvesToEven) {
  constexpr int64_t kOne = int64_t{1} << 32, kHalf = kOne / 2;
  const std::pair<int64_t, int64_t> cases[] = {
      {2 * kOne + kHalf, 2}, {3 * kOne + kHalf, 4}, {-kHalf, 0},           {-kOne - kHalf, -2},
      {2 * kOne + kHalf - 1, 2}, {2 * kOne + kHalf + 1, 3}, {5 * kOne, 5}, {-3 * kOne + 1, -3}};
  for (const auto& [fixed, whole] : cases) EXPECT_EQ(RoundFixedHalfEven(fixed), whole) << fixed;
}

TEST(FloatingSelection, LiftMoveAndDeleteLeaveThePictureAsTheUserExpects) {
  const QRect r(40, 30, 20, 10);
  for (bool copy : {false, true}) {
    Made m(r);
    ASSERT_TRUE(m.sel.Press(m.canvas, m.history, {45, 35}, copy));
    ASSERT_TRUE(m.sel.DragTo(m.canvas, m.history, {95, 55}));
    ASSERT_TRUE(m.sel.Release(m.canvas, m.history, {95, 55}));
    EXPECT_EQ(m.sel.FrameRect(), QRect(90, 50, 20, 10));
    EXPECT_TRUE(m.sel.Lifted());
    EXPECT_TRUE(m.sel.Moved());
    // The old place is white unless the drag copied; the new place holds the pixels by AND.
    EXPECT_EQ(m.canvas.GetPixel(40, 30) == kWhite, !copy);
    const QRgb moved = m.before.pixel(40, 30) & m.before.pixel(90, 50);
    EXPECT_EQ(m.canvas.GetPixel(90, 50), moved | 0xff000000u);
    // Delete takes the moved pixels away; the old place stays as the lift left it.
    ASSERT_TRUE(m.sel.Delete(m.canvas, m.history));
    EXPECT_FALSE(m.sel.Visible());
    EXPECT_EQ(m.canvas.GetPixel(90, 50), m.before.pixel(90, 50) | 0xff000000u);
    EXPECT_EQ(m.canvas.GetPixel(40, 30) == kWhite, !copy);
  }
  // An unmoved selection is cleared, exactly its own box.
  Made m(r);
  ASSERT_TRUE(m.sel.Delete(m.canvas, m.history));
  EXPECT_EQ(m.canvas.GetPixel(59, 39), kWhite);
  EXPECT_EQ(m.canvas.GetPixel(60, 39), m.before.pixel(60, 39) | 0xff000000u);
  EXPECT_EQ(m.canvas.GetPixel(59, 40), m.before.pixel(59, 40) | 0xff000000u);
}

TEST(FloatingSelection, HidingEndsEveryDragAndAHiddenFrameIgnoresPresses) {
  Made m(QRect(40, 30, 20, 10));
  ASSERT_TRUE(m.sel.Press(m.canvas, m.history, {45, 35}, false));
  m.sel.Hide();  // the release never arrives (the focus went elsewhere)
  EXPECT_FALSE(m.sel.Dragging());
  const QImage hidden = m.canvas.Image();
  EXPECT_FALSE(m.sel.Press(m.canvas, m.history, {45, 35}, false));
  EXPECT_FALSE(m.sel.DragTo(m.canvas, m.history, {80, 80}));
  EXPECT_FALSE(m.sel.Release(m.canvas, m.history, {80, 80}));
  EXPECT_FALSE(m.sel.Nudge(m.canvas, m.history, 1, 0, false));
  EXPECT_EQ(Differences(m.canvas.Image(), hidden), 0);
  // The next selection starts afresh where it is made.
  m.sel.Make(m.canvas, 100, 100, 10, 10);
  m.history.Snapshot(m.canvas);
  ASSERT_TRUE(m.sel.Press(m.canvas, m.history, {105, 105}, false));
  ASSERT_TRUE(m.sel.DragTo(m.canvas, m.history, {106, 105}));
  ASSERT_TRUE(m.sel.Release(m.canvas, m.history, {106, 105}));
  EXPECT_EQ(m.sel.FrameRect(), QRect(101, 100, 10, 10));
}

TEST(FloatingSelection, APasteTurnsWithoutClearingThePictureUnderIt) {
  Canvas canvas(200, 100);
  canvas.SetPicture(Pattern(200, 100));
  const QImage before = canvas.Image();
  UndoHistory history;
  history.Snapshot(canvas);
  QImage pasted(30, 20, QImage::Format_RGB32);
  pasted.fill(kWhite);
  pasted.setPixel(3, 4, kBlack);
  FloatingSelection sel;
  sel.Paste(pasted);
  canvas.PaintPicture(pasted, 0, 0, 30, 20, 0, 0, 30, 20, Canvas::RasterOp::And);
  EXPECT_TRUE(sel.Visible() && sel.Lifted());
  ASSERT_TRUE(sel.Rotate(canvas, history, 90));
  ASSERT_TRUE(sel.Rotate(canvas, history, -90));
  // The picture beneath the paste shows through it everywhere but at the pasted black pixel.
  QImage expected = before;
  expected.setPixel(3, 4, kBlack);
  EXPECT_EQ(Differences(canvas.Image(), expected), 0);
}

}  // namespace
