// Flips and rotations of the floating selection through the real window: the menu entries and the
// toolbar buttons, the square frame, the round trip back to angle 0, flips mixed with rotations,
// and that nothing outside the selection is erased.
#include <gtest/gtest.h>

#include <QSet>

#include "editing/Rotation.h"
#include "support/EditingDriver.h"

using namespace editing;

namespace {

const QRect kSel(30, 20, 60, 50);  // diagonal 78.1: the rotation square is 78 x 78
constexpr int kSide = 78;
const QRect kSquare(30 + 30 - 39, 20 + 25 - 39, kSide, kSide);  // centred on the selection

// `picture` with the rectangle `r` mirrored in place.
QImage Flipped(QImage picture, QRect r, bool horizontal) {
  const QImage part = picture.copy(r).mirrored(horizontal, !horizontal);
  for (int y = 0; y < r.height(); ++y)
    for (int x = 0; x < r.width(); ++x) picture.setPixel(r.left() + x, r.top() + y, part.pixel(x, y));
  return picture;
}

void ClickTbar(ImageDraw& w, QAction* a) { QTest::mouseClick(w.Tbar->widgetForAction(a), Qt::LeftButton); }

}  // namespace

TEST(RotationWindow, FlipsMirrorTheSelectionInPlaceAndTwiceGiveItBack) {
  const QImage picture = Pattern();
  for (bool horizontal : {true, false}) {
    WindowDriver d;
    ImageDraw& w = d.w();
    PutPicture(d, picture);
    Select(d, kSel);
    QAction* flip = horizontal ? w.Menu_Rot_Sp : w.Menu_Rot_Sz;
    ClickTbar(w, flip);  // 平翻 / 竖翻 on Tbar run the menu entries
    EXPECT_EQ(Differences(d.Image(), Flipped(picture, kSel, horizontal)), 0)
        << (horizontal ? "horizontal" : "vertical") << ": nothing beside the selection is erased";
    EXPECT_EQ(w.Sel.IMG_Select, picture.copy(kSel).mirrored(horizontal, !horizontal));
    EXPECT_EQ(w.SelectIMG->geometry(), kSel);
    EXPECT_TRUE(w.State.ImageChanged);
    EXPECT_FALSE(Enabled(w, w.Menu_Edit_Undo)) << "a flip does not offer undo";
    flip->trigger();
    EXPECT_EQ(d.Image(), picture);
  }
}

TEST(RotationWindow, FlipOfAMovedSelectionMirrorsItWhereItIs) {
  WindowDriver d;
  ImageDraw& w = d.w();
  const QImage picture = Marks();
  QImage withMark = picture;
  for (int x = 30; x < 40; ++x) withMark.setPixel(x, 20, kBlack);  // a dash at the selection's top-left
  PutPicture(d, withMark);
  Select(d, kSel);
  MoveSelection(d, 200, 100);
  w.Menu_Rot_Sp->trigger();
  // The dash is now at the top-right of the moved frame (230..289, 120..169); the old place is white.
  for (int x = 280; x < 290; ++x) EXPECT_EQ(d.Pixel(x, 120), kBlack) << x;
  EXPECT_EQ(d.Pixel(230, 120), kWhite);
  EXPECT_EQ(d.Pixel(30, 20), kWhite);
}

TEST(RotationWindow, ThirtyClockwiseThenThirtyBackGivesTheSelectionBackExactly) {
  WindowDriver d;
  ImageDraw& w = d.w();
  const QImage picture = Pattern();
  PutPicture(d, picture);
  Select(d, kSel);
  w.Menu_Rot_Nss->trigger();
  EXPECT_EQ(w.State.RotationAngle, 30);
  EXPECT_NE(d.Image(), picture);
  w.Menu_Rot_Nls->trigger();
  EXPECT_EQ(w.State.RotationAngle, 0);
  // Every pixel of the selection comes back, no white border, nothing around it cleared.
  EXPECT_EQ(Differences(d.Image(), picture), 0);
  EXPECT_EQ(w.SelectIMG->geometry(), kSquare);
  EXPECT_EQ(w.Sel.IMG_Select.copy(QRect(kSel.topLeft() - kSquare.topLeft(), kSel.size())), picture.copy(kSel));
}

TEST(RotationWindow, FortyFiveDegreesShowsASquareFrameCentredOnTheSelection) {
  WindowDriver d;
  ImageDraw& w = d.w();
  const QImage picture = Pattern();
  PutPicture(d, picture);
  Select(d, kSel);
  w.Menu_Rot_Nsw->trigger();
  EXPECT_EQ(kSide, RotationSide(kSel.width(), kSel.height()));
  EXPECT_EQ(w.SelectIMG->geometry(), kSquare);
  EXPECT_TRUE(w.SelectIMG->isVisible());
  EXPECT_EQ(w.Sel.IMG_Select.size(), QSize(kSide, kSide));
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
    QAction* ImageDraw::*entry;
    double degrees;
  };
  const Case cases[] = {{&ImageDraw::Menu_Rot_Nss, 30},  {&ImageDraw::Menu_Rot_Nsw, 45},  {&ImageDraw::Menu_Rot_Nsl, 60},
                        {&ImageDraw::Menu_Rot_Njs, 90},  {&ImageDraw::Menu_Rot_Nls, -30}, {&ImageDraw::Menu_Rot_Nlw, -45},
                        {&ImageDraw::Menu_Rot_Nll, -60}, {&ImageDraw::Menu_Rot_Nlj, -90}, {&ImageDraw::Menu_Rot_S, 1},
                        {&ImageDraw::Menu_Rot_Z, -1}};
  const QImage picture = Pattern();
  for (const Case& c : cases) {
    WindowDriver d;
    ImageDraw& w = d.w();
    PutPicture(d, picture);
    Select(d, kSel);
    (w.*c.entry)->trigger();
    (w.*c.entry)->trigger();
    EXPECT_EQ(w.State.RotationAngle, 2 * c.degrees);
    QImage expected;
    RenderRotation(picture.copy(kSel), 2 * c.degrees, expected);
    EXPECT_EQ(w.Sel.IMG_Select, expected) << c.degrees << ": rendered once from the base, not twice";
    EXPECT_EQ(Differences(d.Image(), AndAt(Cleared(picture, kSel), expected, kSquare.topLeft())), 0) << c.degrees;
  }
}

TEST(RotationWindow, QuarterTurnOfALongNarrowSelectionLeavesOnlyTheTurnedLine) {
  QImage picture = Marks();
  for (int x = 100; x < 180; ++x) picture.setPixel(x, 104, kBlack);  // in the selection 100..179 x 100..109
  WindowDriver a, b;
  for (WindowDriver* d : {&a, &b}) {
    PutPicture(*d, picture);
    Select(*d, QRect(100, 100, 80, 10));
  }
  a.w().Menu_Rot_Njs->trigger();
  b.w().Menu_Rot_Nsw->trigger();
  b.w().Menu_Rot_Nsw->trigger();
  EXPECT_EQ(Differences(a.Image(), b.Image()), 0) << "two 45-degree steps equal one quarter turn";
  QSet<int> columns;
  int black = 0;
  const QImage turned = a.Image();
  for (int y = 0; y < turned.height(); ++y)
    for (int x = 0; x < turned.width(); ++x)
      if ((turned.pixel(x, y) | 0xff000000u) == kBlack) {
        ++black;
        columns.insert(x);
      }
  EXPECT_EQ(columns.size(), 1) << "the line stands upright";
  EXPECT_GE(black, 78);
  EXPECT_LE(black, 81);
}

TEST(RotationWindow, FlipNegatesTheAngleSoRotationKeepsTurningTheMirroredPicture) {
  WindowDriver d;
  ImageDraw& w = d.w();
  const QImage picture = Pattern();
  PutPicture(d, picture);
  Select(d, kSel);
  w.Menu_Rot_Nss->trigger();
  w.Menu_Rot_Sp->trigger();
  EXPECT_EQ(w.State.RotationAngle, -30);
  w.Menu_Rot_Nss->trigger();  // back to angle 0 of the mirrored base
  EXPECT_EQ(Differences(d.Image(), Flipped(picture, kSel, true)), 0);

  // Flip first, then rotate: the mirrored picture turns clockwise like any other.
  WindowDriver e;
  PutPicture(e, picture);
  Select(e, kSel);
  e.w().Menu_Rot_Sz->trigger();
  e.w().Menu_Rot_Njs->trigger();
  QImage expected;
  RenderRotation(picture.copy(kSel).mirrored(false, true), 90, expected);
  EXPECT_EQ(e.w().Sel.IMG_Select, expected);
}

TEST(RotationWindow, AfterAMoveTheSquareKeepsTheFramesTopLeftAndTheMadePlaceIsCleared) {
  WindowDriver d;
  ImageDraw& w = d.w();
  const QImage picture = Pattern();
  PutPicture(d, picture);
  Select(d, kSel);
  KeyDown(d, Qt::Key_Control, Qt::ControlModifier);
  MoveSelection(d, 200, 60);  // a copy: the original stays until the rotation clears it
  KeyUp(d, Qt::Key_Control);
  w.Menu_Rot_Njs->trigger();
  EXPECT_EQ(w.SelectIMG->geometry(), QRect(kSel.topLeft() + QPoint(200, 60), QSize(kSide, kSide)));
  const QImage image = d.Image();
  EXPECT_EQ(Differences(image.copy(kSel), Cleared(picture, kSel).copy(kSel)), 0) << "the place where it was made";
  EXPECT_EQ(d.Pixel(90, 45), picture.pixel(90, 45));
  EXPECT_EQ(d.Pixel(60, 70), picture.pixel(60, 70));
}

TEST(RotationWindow, ToolbarTurnsByOneDegreeAndHiddenFrameStillRenders) {
  WindowDriver d;
  ImageDraw& w = d.w();
  const QImage picture = Pattern();
  PutPicture(d, picture);
  Select(d, kSel);
  ClickTbar(w, w.Menu_Rot_S);  // 顺转
  EXPECT_EQ(w.State.RotationAngle, 1);
  w.RunToolbarCommand(QStringLiteral("逆转"));
  EXPECT_EQ(w.State.RotationAngle, 0);
  EXPECT_EQ(Differences(d.Image(), picture), 0);

  w.PM_Cancel->trigger();
  w.Menu_Rot_Njs->trigger();
  EXPECT_FALSE(w.SelectIMG->isVisible());
  EXPECT_NE(d.Image(), picture);
  w.Menu_Rot_Sp->trigger();  // flips need a visible frame
  EXPECT_EQ(w.State.RotationAngle, 90);
}

TEST(RotationWindow, UndoAfterRotationReturnsToTheBackingCopy) {
  WindowDriver d;
  ImageDraw& w = d.w();
  const QImage picture = Pattern();
  PutPicture(d, picture);
  d.ClickTool(7);
  d.Drag({400, 100}, {450, 150});
  const QImage drawn = d.Image();
  Select(d, kSel);
  w.Menu_Rot_Nsl->trigger();
  w.Menu_Rot_Sz->trigger();
  w.Menu_Edit_Undo->trigger();
  EXPECT_EQ(d.Image(), drawn);
}

TEST(RotationWindow, ASelectionWhoseSquareWouldExceedTheLargestCanvasIsNotTurned) {
  WindowDriver d;
  ImageDraw& w = d.w();
  ASSERT_TRUE(w.SetCanvasSize(Canvas::kMaxSide, 200));
  Select(d, QRect(0, 0, Canvas::kMaxSide, 200));  // diagonal 16385.2
  const QImage before = d.Image();
  w.Menu_Rot_Nss->trigger();
  ASSERT_EQ(d.dialogs.told.size(), 1);
  EXPECT_TRUE(d.dialogs.told[0].contains(QStringLiteral("无法旋转")));
  EXPECT_EQ(w.State.RotationAngle, 0);
  EXPECT_EQ(d.Image(), before);
  EXPECT_EQ(w.SelectIMG->geometry(), QRect(0, 0, Canvas::kMaxSide, 200));
}
