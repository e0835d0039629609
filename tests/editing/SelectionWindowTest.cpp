// The floating selection through the real window: moving with the mouse and the arrow keys,
// copying with Ctrl, the AND combination, delete, undo after a move, the pop-up menu and which
// commands are offered after each step.
#include <gtest/gtest.h>

#include <QMenu>

#include "support/EditingDriver.h"

using namespace editing;

namespace {
const QRect kSel(30, 20, 60, 50);  // the selected rectangle in most tests
}  // namespace

TEST(SelectionWindow, MakingASelectionCopiesItsPixelsAndOffersTheCommands) {
  WindowDriver d;
  ImageDraw& w = d.w();
  const QImage picture = Pattern();
  PutPicture(d, picture);
  Select(d, kSel);
  EXPECT_EQ(d.Image(), picture) << "making a selection changes no pixel";
  EXPECT_TRUE(w.SelectIMG->isVisible());
  EXPECT_EQ(w.SelectIMG->geometry(), kSel);
  EXPECT_EQ(w.Sel.IMG_Select, picture.copy(kSel));
  EXPECT_FALSE(w.State.SelectionLifted);
  EXPECT_FALSE(w.State.SelectionMoved);
  for (QAction* a : {w.Menu_Edit_Copy, w.Menu_Edit_Cut, w.Menu_Edit_Del, w.Menu_Rot_Sp, w.Menu_Rot_Sz, w.Menu_Rot_Nss,
                     w.Menu_Rot_Nsw, w.Menu_Rot_Nsl, w.Menu_Rot_Njs, w.Menu_Rot_Nls, w.Menu_Rot_Nlw, w.Menu_Rot_Nll,
                     w.Menu_Rot_Nlj, w.Menu_Rot_S, w.Menu_Rot_Z})
    EXPECT_TRUE(Enabled(w, a)) << a->objectName().toStdString();
  EXPECT_FALSE(Enabled(w, w.Menu_Edit_Undo)) << "a selection is no change";
  EXPECT_FALSE(w.State.ImageChanged);

  // A press with a drawing tool drops the selection and its commands.
  d.ClickTool(7);
  d.Press({300, 100});
  EXPECT_FALSE(w.SelectIMG->isVisible());
  for (QAction* a : {w.Menu_Edit_Copy, w.Menu_Edit_Cut, w.Menu_Edit_Del, w.Menu_Rot_Sp, w.Menu_Rot_S, w.Menu_Rot_Z,
                     w.Menu_Rot_Nss})
    EXPECT_FALSE(Enabled(w, a)) << a->objectName().toStdString();
  d.Release({300, 100});
}

TEST(SelectionWindow, DragMovesThePixelsClearsTheOldAreaAndCombinesWithAnd) {
  WindowDriver d;
  ImageDraw& w = d.w();
  const QImage picture = Pattern();
  PutPicture(d, picture);
  Select(d, kSel);
  d.FramePress({10, 10});
  EXPECT_TRUE(w.State.SelectionDragging);
  EXPECT_FALSE(w.SelectIMG->border) << "the border is off while dragging";
  d.FrameMove({60, 35});
  // Mid-drag the selection is drawn at the pointer, over the picture with the old area cleared.
  const QImage cleared = Cleared(picture, kSel);
  EXPECT_EQ(d.Image(), AndAt(cleared, picture.copy(kSel), kSel.topLeft() + QPoint(50, 25)));
  d.FrameMove({110, 60});
  d.FrameRelease({110, 60});

  const QImage expected = AndAt(cleared, picture.copy(kSel), kSel.topLeft() + QPoint(100, 50));
  EXPECT_EQ(Differences(d.Image(), expected), 0);
  EXPECT_EQ(w.SelectIMG->geometry(), kSel.translated(100, 50));
  EXPECT_TRUE(w.SelectIMG->border);
  EXPECT_TRUE(w.State.SelectionLifted);
  EXPECT_TRUE(w.State.SelectionMoved);
  EXPECT_FALSE(w.State.SelectionDragging);
  EXPECT_TRUE(w.State.ImageChanged) << "moved pixels are work the save prompt protects";

  // A second drag clears nothing more: it moves the same pixels on over the same background.
  MoveSelection(d, -40, 10);
  EXPECT_EQ(Differences(d.Image(), AndAt(cleared, picture.copy(kSel), kSel.topLeft() + QPoint(60, 60))), 0);
}

TEST(SelectionWindow, WhitePixelsLetThePictureShowThroughAndBlackStaysBlack) {
  WindowDriver d;
  QImage picture = Marks();
  // A black cross on white in the selection, a red block where it will be dropped.
  for (int i = 0; i < 20; ++i) {
    picture.setPixel(20 + i, 30, kBlack);
    picture.setPixel(30, 20 + i, kBlack);
  }
  for (int y = 100; y < 140; ++y)
    for (int x = 200; x < 240; ++x) picture.setPixel(x, y, kRed);
  PutPicture(d, picture);
  Select(d, QRect(20, 20, 20, 20));
  MoveSelection(d, 190, 90);  // to (210, 110): inside the red block
  EXPECT_EQ(d.Pixel(210, 120), kBlack) << "the cross's left arm";
  EXPECT_EQ(d.Pixel(220, 115), kBlack) << "the cross's upright";
  EXPECT_EQ(d.Pixel(212, 112), kRed) << "white selection pixels leave the red";
  EXPECT_EQ(d.Pixel(229, 129), kRed);
  EXPECT_EQ(d.Pixel(30, 30), kWhite) << "the old place is cleared";
  EXPECT_EQ(d.Pixel(20, 30), kWhite);
}

TEST(SelectionWindow, CtrlAtTheFirstPressCopiesAndALaterCtrlBringsNothingBack) {
  WindowDriver d;
  ImageDraw& w = d.w();
  const QImage picture = Pattern();
  PutPicture(d, picture);
  Select(d, kSel);
  KeyDown(d, Qt::Key_Control, Qt::ControlModifier);
  EXPECT_TRUE(w.State.CopyModifier);
  MoveSelection(d, 200, 60);
  KeyUp(d, Qt::Key_Control);
  EXPECT_FALSE(w.State.CopyModifier);
  EXPECT_EQ(Differences(d.Image(), AndAt(picture, picture.copy(kSel), kSel.topLeft() + QPoint(200, 60))), 0)
      << "the original stays, a copy moves";

  // Without Ctrl the next drag moves the copy on and leaves the original alone too.
  MoveSelection(d, 100, 0);
  EXPECT_EQ(Differences(d.Image(), AndAt(picture, picture.copy(kSel), kSel.topLeft() + QPoint(300, 60))), 0);

  // The other way round: lifted without Ctrl, Ctrl at a later press does not restore the old area.
  WindowDriver e;
  PutPicture(e, picture);
  Select(e, kSel);
  MoveSelection(e, 200, 60);
  KeyDown(e, Qt::Key_Control, Qt::ControlModifier);
  MoveSelection(e, 100, 0);
  EXPECT_EQ(Differences(e.Image(), AndAt(Cleared(picture, kSel), picture.copy(kSel), kSel.topLeft() + QPoint(300, 60))),
            0);
}

TEST(SelectionWindow, ArrowKeysNudgeByOnePixelAtTheRelease) {
  struct Case {
    int key;
    QPoint step;
  };
  const Case cases[] = {{Qt::Key_Left, {-1, 0}}, {Qt::Key_Up, {0, -1}}, {Qt::Key_Right, {1, 0}}, {Qt::Key_Down, {0, 1}}};
  const QImage picture = Pattern();
  for (const Case& c : cases) {
    WindowDriver d;
    ImageDraw& w = d.w();
    PutPicture(d, picture);
    Select(d, kSel);
    // Holding the key: presses and auto-repeated releases do nothing; the real release moves once.
    KeyDown(d, c.key);
    KeyUp(d, c.key, Qt::NoModifier, true);
    KeyDown(d, c.key, Qt::NoModifier, {}, true);
    EXPECT_EQ(d.Image(), picture) << c.key;
    KeyUp(d, c.key);
    const QImage once = AndAt(Cleared(picture, kSel), picture.copy(kSel), kSel.topLeft() + c.step);
    EXPECT_EQ(Differences(d.Image(), once), 0) << c.key;
    EXPECT_EQ(w.SelectIMG->geometry(), kSel.translated(c.step)) << c.key;
    EXPECT_TRUE(w.State.SelectionMoved);
    EXPECT_TRUE(w.State.SelectionLifted);
    KeyUp(d, c.key);
    EXPECT_EQ(Differences(d.Image(), AndAt(Cleared(picture, kSel), picture.copy(kSel), kSel.topLeft() + c.step * 2)),
              0)
        << c.key;
  }

  // No frame, no nudge.
  WindowDriver d;
  PutPicture(d, picture);
  KeyUp(d, Qt::Key_Right);
  EXPECT_EQ(d.Image(), picture);
}

TEST(SelectionWindow, NudgeWithCtrlHeldCopies) {
  WindowDriver d;
  const QImage picture = Pattern();
  PutPicture(d, picture);
  Select(d, kSel);
  KeyDown(d, Qt::Key_Control, Qt::ControlModifier);
  KeyUp(d, Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(Differences(d.Image(), AndAt(picture, picture.copy(kSel), kSel.topLeft() + QPoint(0, 1))), 0);
}

TEST(SelectionWindow, UndoAfterAMoveReturnsToThePictureWithTheClearedArea) {
  WindowDriver d;
  ImageDraw& w = d.w();
  const QImage picture = Pattern();
  PutPicture(d, picture);
  d.ClickTool(7);
  d.Drag({400, 100}, {450, 150});  // some work, so that undo is offered
  const QImage drawn = d.Image();
  Select(d, kSel);
  MoveSelection(d, 100, 50);
  ASSERT_TRUE(w.Menu_Edit_Undo->isEnabled());
  w.Menu_Edit_Undo->trigger();
  EXPECT_EQ(d.Image(), Cleared(drawn, kSel));
}

TEST(SelectionWindow, DeleteOfAnUnmovedSelectionClearsExactlyTheSelection) {
  const int keys[][2] = {{Qt::Key_Delete, Qt::NoModifier}, {Qt::Key_Backspace, Qt::NoModifier},
                         {Qt::Key_Period, Qt::KeypadModifier}};
  const QImage picture = Pattern();
  for (const auto& k : keys) {
    WindowDriver d;
    ImageDraw& w = d.w();
    PutPicture(d, picture);
    Select(d, kSel);
    KeyUp(d, k[0], Qt::KeyboardModifiers::fromInt(k[1]));
    EXPECT_EQ(Differences(d.Image(), Cleared(picture, kSel)), 0) << "key " << k[0] << ": nothing beyond the selection";
    EXPECT_FALSE(w.SelectIMG->isVisible());
    EXPECT_TRUE(Enabled(w, w.Menu_Edit_Undo));
    for (QAction* a : {w.Menu_Edit_Copy, w.Menu_Edit_Cut, w.Menu_Edit_Del, w.Menu_Rot_Sp, w.Menu_Rot_Sz, w.Menu_Rot_S,
                       w.Menu_Rot_Z, w.Menu_Rot_Nss, w.Menu_Rot_Nlj})
      EXPECT_FALSE(Enabled(w, a)) << a->objectName().toStdString();
    w.Menu_Edit_Undo->trigger();
    EXPECT_EQ(d.Image(), picture) << "undo brings the deleted pixels back";
  }

  // The period of the main keys is no delete.
  WindowDriver d;
  PutPicture(d, picture);
  Select(d, kSel);
  KeyUp(d, Qt::Key_Period);
  EXPECT_EQ(d.Image(), picture);
  EXPECT_TRUE(d.w().SelectIMG->isVisible());
}

TEST(SelectionWindow, DeleteAfterAMoveTakesTheMovedPixelsAway) {
  WindowDriver d;
  ImageDraw& w = d.w();
  const QImage picture = Pattern();
  PutPicture(d, picture);
  Select(d, kSel);
  MoveSelection(d, 150, 40);
  w.Menu_Edit_Del->trigger();
  EXPECT_EQ(Differences(d.Image(), Cleared(picture, kSel)), 0)
      << "white where it came from, the picture unchanged where it was dropped";

  // After a copy-move the original stays too.
  WindowDriver e;
  PutPicture(e, picture);
  Select(e, kSel);
  KeyDown(e, Qt::Key_Control, Qt::ControlModifier);
  MoveSelection(e, 150, 40);
  e.w().Menu_Edit_Del->trigger();
  EXPECT_EQ(e.Image(), picture);
}

TEST(SelectionWindow, RightReleaseOpensThePopUpMenu) {
  WindowDriver d;
  ImageDraw& w = d.w();
  const QImage picture = Pattern();
  PutPicture(d, picture);
  Select(d, kSel);
  d.FramePress({5, 5}, Qt::RightButton);
  EXPECT_FALSE(w.State.SelectionDragging) << "the right button drags nothing";
  d.FrameRelease({5, 5}, Qt::RightButton);
  ASSERT_TRUE(w.PM->isVisible());
  QStringList captions;
  for (QAction* a : w.PM->actions()) captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
  EXPECT_EQ(captions, QStringList({"复制", "剪切", "删除", "-", "取消"}));
  w.PM->hide();
  EXPECT_EQ(d.Image(), picture);

  // 取消 only hides the frame: the picture and the commands stay as they are.
  w.PM_Cancel->trigger();
  EXPECT_FALSE(w.SelectIMG->isVisible());
  EXPECT_EQ(d.Image(), picture);
  EXPECT_TRUE(Enabled(w, w.Menu_Edit_Copy));
  EXPECT_FALSE(Enabled(w, w.Menu_Edit_Undo));

  // 删除 deletes.
  WindowDriver e;
  PutPicture(e, picture);
  Select(e, kSel);
  e.w().PM_Del->trigger();
  EXPECT_EQ(Differences(e.Image(), Cleared(picture, kSel)), 0);
}

TEST(SelectionWindow, PressOnTheFrameDuringAnotherDragDoesNothing) {
  WindowDriver d;
  ImageDraw& w = d.w();
  const QImage picture = Pattern();
  PutPicture(d, picture);
  Select(d, kSel);
  d.FramePress({5, 5});
  d.FramePress({9, 9});  // a second press while dragging changes nothing
  EXPECT_EQ(w.State.PressPoint.x, 5);
  d.FrameRelease({5, 5});
  EXPECT_EQ(w.SelectIMG->geometry(), kSel);
  EXPECT_EQ(Differences(d.Image(), picture), 0) << "moved by nothing: the pixels are back in place";
}

TEST(SelectionWindow, PointerEventsThroughTheWindowSystemMoveTheSelection) {
  // Presses delivered as the window system does (focus on click, implicit grab of the frame).
  WindowDriver d;
  ImageDraw& w = d.w();
  const QImage picture = Pattern();
  PutPicture(d, picture);
  d.ClickTool(1);
  QTest::mousePress(w.Draw_PIC, Qt::LeftButton, {}, kSel.topLeft());
  QTest::mouseMove(w.Draw_PIC, kSel.bottomRight());
  QTest::mouseRelease(w.Draw_PIC, Qt::LeftButton, {}, kSel.topLeft() + QPoint(kSel.width(), kSel.height()));
  ASSERT_TRUE(w.SelectIMG->isVisible());
  ASSERT_EQ(w.SelectIMG->geometry(), kSel);
  QTest::mousePress(w.SelectIMG, Qt::LeftButton, {}, {5, 5});
  QTest::mouseMove(w.SelectIMG, {55, 25});
  QTest::mouseRelease(w.SelectIMG, Qt::LeftButton, {}, {105, 45});
  EXPECT_TRUE(w.SelectIMG->isVisible()) << "a press on the frame keeps the selection";
  EXPECT_EQ(w.SelectIMG->geometry(), kSel.translated(100, 40));
  EXPECT_EQ(Differences(d.Image(), AndAt(Cleared(picture, kSel), picture.copy(kSel), kSel.topLeft() + QPoint(100, 40))), 0);
  QTest::keyClick(w.Draw_PIC, Qt::Key_Right);
  EXPECT_EQ(w.SelectIMG->geometry(), kSel.translated(101, 40));
}
