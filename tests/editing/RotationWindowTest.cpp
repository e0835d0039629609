// Flips and rotations of the floating selection through the real window: the menu entries and the
// toolbar buttons, the square frame, the round trip back to angle 0, flips mixed with rotations,
// and that nothing outside the selection is erased.
#include <gtest/gtest.h>

#include <QSet>

#include "editing/Rotation.h"
#include "support/EditingDriver.h"

using namespace editing;

namespace {

// kSel's diagonal is 78.1: the rotation square is 78 x 78.
constexpr int kSide = 78;
const QRect kSquare(30 + 30 - 39, 20 + 25 - 39, kSide, kSide);  // centred on the selection

// `picture` with the rectangle `r` mirrored in place.
QImage Flipped(QImage picture, QRect r, bool horizontal) {
  const QImage part = picture.copy(r).mirrored(horizontal, !horizontal);
  for (int y = 0; y < r.height(); ++y)
    for (int x = 0; x < r.width(); ++x) picture.setPixel(r.left() + x, r.top() + y, part.pixel(x, y));
  return picture;
}

}  // namespace

TEST(RotationWindow, FlipsMirrorTheSelectionInPlaceAndTwiceGiveItBack) {
  const QImage picture = Pattern();
  for (bool horizontal : {true, false}) {
    SelectedWindow d(picture);
    const char* flip = horizontal ? "Menu_Rot_Sp" : "Menu_Rot_Sz";
    d.ClickToolbar(flip);  // 平翻 / 竖翻 on Tbar run the menu entries
    EXPECT_EQ(Differences(d.Image(), Flipped(picture, kSel, horizontal)), 0)
        << (horizontal ? "horizontal" : "vertical") << ": nothing beside the selection is erased";
    EXPECT_EQ(d.Selection().Pixels(), picture.copy(kSel).mirrored(horizontal, !horizontal));
    EXPECT_EQ(d.Frame()->geometry(), kSel);
    EXPECT_FALSE(d.Enabled("Menu_Edit_Undo")) << "a flip does not offer undo";
    d.Trigger(flip);
    EXPECT_EQ(d.Image(), picture);

    // A flip is work the save prompt protects.
    WindowDriver fresh;
    Select(fresh, kSel);
    fresh.Trigger(flip);
    EXPECT_TRUE(fresh.State().ImageChanged);
  }
}

TEST(RotationWindow, FlipOfAMovedSelectionMirrorsItWhereItIs) {
  QImage withMark = Marks();
  for (int x = 30; x < 40; ++x) withMark.setPixel(x, 20, kBlack);  // a dash at the selection's top-left
  SelectedWindow d(withMark);
  MoveSelection(d, 200, 100);
  d.Trigger("Menu_Rot_Sp");
  // The dash is now at the top-right of the moved frame (230..289, 120..169); the old place is white.
  for (int x = 280; x < 290; ++x) EXPECT_EQ(d.Pixel(x, 120), kBlack) << x;
  EXPECT_EQ(d.Pixel(230, 120), kWhite);
  EXPECT_EQ(d.Pixel(30, 20), kWhite);
}

TEST(RotationWindow, ThirtyClockwiseThenThirtyBackGivesTheSelectionBackExactly) {
  const QImage picture = Pattern();
  SelectedWindow d(picture);
  d.Trigger("Menu_Rot_Nss");
  EXPECT_EQ(d.Selection().Angle(), 30);
  EXPECT_NE(d.Image(), picture);
  d.Trigger("Menu_Rot_Nls");
  EXPECT_EQ(d.Selection().Angle(), 0);
  // Every pixel of the selection comes back, no white border, nothing around it cleared.
  EXPECT_EQ(Differences(d.Image(), picture), 0);
  EXPECT_EQ(d.Frame()->geometry(), kSquare);
  EXPECT_EQ(d.Selection().Pixels().copy(QRect(kSel.topLeft() - kSquare.topLeft(), kSel.size())), picture.copy(kSel));
}

TEST(RotationWindow, FortyFiveDegreesShowsASquareFrameCentredOnTheSelection) {
  const QImage picture = Pattern();
  SelectedWindow d(picture);
  d.Trigger("Menu_Rot_Nsw");
  EXPECT_EQ(kSide, RotationSide(kSel.width(), kSel.height()));
  EXPECT_EQ(d.Frame()->geometry(), kSquare);
  EXPECT_TRUE(d.Frame()->isVisible());
  EXPECT_EQ(d.Selection().Pixels().size(), QSize(kSide, kSide));
  EXPECT_EQ(d.Pixel(60, 45), picture.pixel(60, 45)) << "the centre stays in place";
  EXPECT_EQ(d.Pixel(30, 20), kWhite) << "the selection's corner is cleared and not covered at 45 degrees";
  EXPECT_EQ(d.Pixel(kSquare.left(), kSquare.top()), picture.pixel(kSquare.left(), kSquare.top()))
      << "the square's white corners leave the picture";
  // Beside the corners the turned selection does not reach: the column after it and the row below
  // it keep the picture.
  EXPECT_EQ(d.Pixel(90, 20), picture.pixel(90, 20));
  EXPECT_EQ(d.Pixel(30, 70), picture.pixel(30, 70));
}

TEST(RotationWindow, EachStepAddsItsAngleAndRendersFromTheBase) {
  struct Case {
    const char* entry;
    double degrees;
  };
  const Case cases[] = {{"Menu_Rot_Nss", 30},  {"Menu_Rot_Nsw", 45},  {"Menu_Rot_Nsl", 60}, {"Menu_Rot_Njs", 90},
                        {"Menu_Rot_Nls", -30}, {"Menu_Rot_Nlw", -45}, {"Menu_Rot_Nll", -60}, {"Menu_Rot_Nlj", -90},
                        {"Menu_Rot_S", 1},     {"Menu_Rot_Z", -1}};
  const QImage picture = Pattern();
  for (const Case& c : cases) {
    SelectedWindow d(picture);
    d.Trigger(c.entry);
    d.Trigger(c.entry);
    EXPECT_EQ(d.Selection().Angle(), 2 * c.degrees);
    QImage expected;
    RenderRotation(picture.copy(kSel), 2 * c.degrees, expected);
    EXPECT_EQ(d.Selection().Pixels(), expected) << c.degrees << ": rendered once from the base, not twice";
    EXPECT_EQ(Differences(d.Image(), AndAt(Cleared(picture, kSel), expected, kSquare.topLeft())), 0) << c.degrees;
  }
}

TEST(RotationWindow, QuarterTurnOfALongNarrowSelectionLeavesOnlyTheTurnedLine) {
  QImage picture = Marks();
  for (int x = 100; x < 180; ++x) picture.setPixel(x, 104, kBlack);  // in the selection 100..179 x 100..109
  const QRect narrow(100, 100, 80, 10);
  QImage quarter, twoEighths;
  {
    SelectedWindow a(picture, narrow);
    a.Trigger("Menu_Rot_Njs");
    quarter = a.Image();
  }
  {
    SelectedWindow b(picture, narrow);
    b.Trigger("Menu_Rot_Nsw");
    b.Trigger("Menu_Rot_Nsw");
    twoEighths = b.Image();
  }
  EXPECT_EQ(Differences(quarter, twoEighths), 0) << "two 45-degree steps equal one quarter turn";
  QSet<int> columns;
  int black = 0;
  for (int y = 0; y < quarter.height(); ++y)
    for (int x = 0; x < quarter.width(); ++x)
      if ((quarter.pixel(x, y) | 0xff000000u) == kBlack) {
        ++black;
        columns.insert(x);
      }
  EXPECT_EQ(columns.size(), 1) << "the line stands upright";
  EXPECT_GE(black, 78);
  EXPECT_LE(black, 81);
}

TEST(RotationWindow, FlipNegatesTheAngleSoRotationKeepsTurningTheMirroredPicture) {
  const QImage picture = Pattern();
  SelectedWindow d(picture);
  d.Trigger("Menu_Rot_Nss");
  d.Trigger("Menu_Rot_Sp");
  EXPECT_EQ(d.Selection().Angle(), -30);
  d.Trigger("Menu_Rot_Nss");  // back to angle 0 of the mirrored base
  EXPECT_EQ(Differences(d.Image(), Flipped(picture, kSel, true)), 0);

  // Flip first, then rotate: the mirrored picture turns clockwise like any other.
  SelectedWindow e(picture);
  e.Trigger("Menu_Rot_Sz");
  e.Trigger("Menu_Rot_Njs");
  QImage expected;
  RenderRotation(picture.copy(kSel).mirrored(false, true), 90, expected);
  EXPECT_EQ(e.Selection().Pixels(), expected);
}

TEST(RotationWindow, AfterAMoveTheSquareKeepsTheFramesTopLeftAndTheMadePlaceIsCleared) {
  const QImage picture = Pattern();
  SelectedWindow d(picture);
  KeyDown(d, Qt::Key_Control, Qt::ControlModifier);
  MoveSelection(d, 200, 60);  // a copy: the original stays until the rotation clears it
  KeyUp(d, Qt::Key_Control);
  d.Trigger("Menu_Rot_Njs");
  EXPECT_EQ(d.Frame()->geometry(), QRect(kSel.topLeft() + QPoint(200, 60), QSize(kSide, kSide)));
  const QImage image = d.Image();
  EXPECT_EQ(Differences(image.copy(kSel), Cleared(picture, kSel).copy(kSel)), 0) << "the place where it was made";
  EXPECT_EQ(d.Pixel(90, 45), picture.pixel(90, 45));
  EXPECT_EQ(d.Pixel(60, 70), picture.pixel(60, 70));
}

TEST(RotationWindow, ToolbarTurnsByOneDegreeAndAHiddenFrameTurnsNothing) {
  const QImage picture = Pattern();
  SelectedWindow d(picture);
  d.ClickToolbar("Menu_Rot_S");  // 顺转
  EXPECT_EQ(d.Selection().Angle(), 1);
  d.ClickToolbar("Menu_Rot_Z");  // 逆转
  EXPECT_EQ(d.Selection().Angle(), 0);
  EXPECT_EQ(Differences(d.Image(), picture), 0);

  // Once 取消 has hidden the frame there is no selection to turn: the commands go with the frame.
  d.Trigger("PM_Cancel");
  EXPECT_FALSE(d.Enabled("Menu_Rot_Njs"));
  d.Trigger("Menu_Rot_Njs");
  d.Trigger("Menu_Rot_Sp");
  EXPECT_FALSE(d.Frame()->isVisible());
  EXPECT_EQ(Differences(d.Image(), picture), 0);
  EXPECT_EQ(d.Selection().Angle(), 0);
}

TEST(RotationWindow, UndoAfterRotationReturnsToTheBackingCopy) {
  WindowDriver d;
  d.OpenPicture(Pattern());
  d.ClickTool(7);
  d.Drag({400, 100}, {450, 150});
  const QImage drawn = d.Image();
  Select(d, kSel);
  d.Trigger("Menu_Rot_Nsl");
  d.Trigger("Menu_Rot_Sz");
  d.Trigger("Menu_Edit_Undo");
  EXPECT_EQ(d.Image(), drawn);
}

TEST(RotationWindow, ASelectionWhoseSquareWouldExceedTheLargestCanvasIsNotTurned) {
  WindowDriver d;
  d.ResizePicture(Canvas::kMaxSide, 200);
  ASSERT_EQ(d.Picture().Size(), QSize(Canvas::kMaxSide, 200));
  Select(d, QRect(0, 0, Canvas::kMaxSide, 200));  // diagonal 16385.2
  const QImage before = d.Image();
  d.Trigger("Menu_Rot_Nss");
  ASSERT_EQ(d.dialogs.told.size(), 1);
  EXPECT_TRUE(d.dialogs.told[0].contains(QStringLiteral("无法旋转")));
  EXPECT_EQ(d.Selection().Angle(), 0);
  EXPECT_EQ(d.Image(), before);
  EXPECT_EQ(d.Frame()->geometry(), QRect(0, 0, Canvas::kMaxSide, 200));
}
