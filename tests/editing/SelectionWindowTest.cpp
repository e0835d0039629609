// The floating selection through the real window: moving with the mouse and the arrow keys,
// copying with Ctrl, the AND combination, delete, undo after a move, the pop-up menu and which
// commands are offered after each step.
#include <gtest/gtest.h>

#include <QMenu>

#include "support/EditingDriver.h"
#include "workspace/DrawingSurface.h"

using namespace editing;

namespace {

bool FrameBorder(const WindowDriver& d) { return d.Find<SelectionFrame>("SelectIMG")->HasBorder(); }

}  // namespace

TEST(SelectionWindow, MakingASelectionCopiesItsPixelsAndOffersTheCommands) {
  const QImage picture = Pattern();
  SelectedWindow d(picture);
  EXPECT_EQ(d.Image(), picture) << "making a selection changes no pixel";
  EXPECT_TRUE(d.Frame()->isVisible());
  EXPECT_EQ(d.Frame()->geometry(), kSel);
  EXPECT_EQ(d.Selection().Pixels(), picture.copy(kSel));
  EXPECT_FALSE(d.Selection().Lifted());
  EXPECT_FALSE(d.Selection().Moved());
  ExpectOffered(d, SelectionCommands(), true);
  EXPECT_FALSE(d.Enabled("Menu_Edit_Undo")) << "a selection is no change";
  // Opening the picture counted as a change: on a picture nobody changed, a selection changes
  // nothing either.
  WindowDriver fresh;
  Select(fresh, kSel);
  EXPECT_FALSE(fresh.State().ImageChanged);

  // A press with a drawing tool drops the selection and its commands.
  d.ClickTool(7);
  d.Press({300, 100});
  EXPECT_FALSE(d.Frame()->isVisible());
  ExpectOffered(d, {"Menu_Edit_Copy", "Menu_Edit_Cut", "Menu_Edit_Del", "Menu_Rot_Sp", "Menu_Rot_S", "Menu_Rot_Z",
                    "Menu_Rot_Nss"},
                false);
  d.Release({300, 100});
}

TEST(SelectionWindow, DragMovesThePixelsClearsTheOldAreaAndCombinesWithAnd) {
  const QImage picture = Pattern();
  SelectedWindow d(picture);
  d.FramePress({10, 10});
  EXPECT_TRUE(d.Selection().Dragging());
  EXPECT_FALSE(FrameBorder(d)) << "the border is off while dragging";
  d.FrameMove({60, 35});
  // Mid-drag the selection is drawn at the pointer, over the picture with the old area cleared.
  EXPECT_EQ(d.Image(), MovedTo(picture, kSel, kSel.topLeft() + QPoint(50, 25)));
  d.FrameMove({110, 60});
  d.FrameRelease({110, 60});

  EXPECT_EQ(Differences(d.Image(), MovedTo(picture, kSel, kSel.topLeft() + QPoint(100, 50))), 0);
  EXPECT_EQ(d.Frame()->geometry(), kSel.translated(100, 50));
  EXPECT_TRUE(FrameBorder(d));
  EXPECT_TRUE(d.Selection().Lifted());
  EXPECT_TRUE(d.Selection().Moved());
  EXPECT_FALSE(d.Selection().Dragging());
  EXPECT_TRUE(d.State().ImageChanged) << "moved pixels are work the save prompt protects";

  // A second drag clears nothing more: it moves the same pixels on over the same background.
  MoveSelection(d, -40, 10);
  EXPECT_EQ(Differences(d.Image(), MovedTo(picture, kSel, kSel.topLeft() + QPoint(60, 60))), 0);

  // Moving is what marks the picture changed: a picture nobody changed counts as changed after it.
  WindowDriver fresh;
  Select(fresh, kSel);
  MoveSelection(fresh, 100, 50);
  EXPECT_TRUE(fresh.State().ImageChanged);
  // So is a drag whose release never comes: the lifted pixels already show moved.
  WindowDriver unreleased;
  Select(unreleased, kSel);
  unreleased.FramePress({10, 10});
  unreleased.FrameMove({60, 35});
  EXPECT_TRUE(unreleased.State().ImageChanged) << "closing now must ask";
}

TEST(SelectionWindow, WhitePixelsLetThePictureShowThroughAndBlackStaysBlack) {
  QImage picture = Marks();
  // A black cross on white in the selection, a red block where it will be dropped.
  for (int i = 0; i < 20; ++i) {
    picture.setPixel(20 + i, 30, kBlack);
    picture.setPixel(30, 20 + i, kBlack);
  }
  for (int y = 100; y < 140; ++y)
    for (int x = 200; x < 240; ++x) picture.setPixel(x, y, kRed);
  SelectedWindow d(picture, QRect(20, 20, 20, 20));
  MoveSelection(d, 190, 90);  // to (210, 110): inside the red block
  EXPECT_EQ(d.Pixel(210, 120), kBlack) << "the cross's left arm";
  EXPECT_EQ(d.Pixel(220, 115), kBlack) << "the cross's upright";
  EXPECT_EQ(d.Pixel(212, 112), kRed) << "white selection pixels leave the red";
  EXPECT_EQ(d.Pixel(229, 129), kRed);
  EXPECT_EQ(d.Pixel(30, 30), kWhite) << "the old place is cleared";
  EXPECT_EQ(d.Pixel(20, 30), kWhite);
}

TEST(SelectionWindow, CtrlAtTheFirstPressCopiesAndALaterCtrlBringsNothingBack) {
  const QImage picture = Pattern();
  SelectedWindow d(picture);
  KeyDown(d, Qt::Key_Control, Qt::ControlModifier);
  EXPECT_TRUE(d.State().CopyModifier);
  MoveSelection(d, 200, 60);
  KeyUp(d, Qt::Key_Control);
  EXPECT_FALSE(d.State().CopyModifier);
  EXPECT_EQ(Differences(d.Image(), AndAt(picture, picture.copy(kSel), kSel.topLeft() + QPoint(200, 60))), 0)
      << "the original stays, a copy moves";

  // Without Ctrl the next drag moves the copy on and leaves the original alone too.
  MoveSelection(d, 100, 0);
  EXPECT_EQ(Differences(d.Image(), AndAt(picture, picture.copy(kSel), kSel.topLeft() + QPoint(300, 60))), 0);

  // The other way round: lifted without Ctrl, Ctrl at a later press does not restore the old area.
  SelectedWindow e(picture);
  MoveSelection(e, 200, 60);
  KeyDown(e, Qt::Key_Control, Qt::ControlModifier);
  MoveSelection(e, 100, 0);
  EXPECT_EQ(Differences(e.Image(), MovedTo(picture, kSel, kSel.topLeft() + QPoint(300, 60))), 0);
}

TEST(SelectionWindow, ArrowKeysNudgeByOnePixelAtTheRelease) {
  struct Case {
    int key;
    QPoint step;
  };
  const Case cases[] = {{Qt::Key_Left, {-1, 0}}, {Qt::Key_Up, {0, -1}}, {Qt::Key_Right, {1, 0}}, {Qt::Key_Down, {0, 1}}};
  const QImage picture = Pattern();
  for (const Case& c : cases) {
    SelectedWindow d(picture);
    // Holding the key: presses and auto-repeated releases do nothing; the real release moves once.
    KeyDown(d, c.key);
    KeyUp(d, c.key, Qt::NoModifier, true);
    KeyDown(d, c.key, Qt::NoModifier, {}, true);
    EXPECT_EQ(d.Image(), picture) << c.key;
    KeyUp(d, c.key);
    EXPECT_EQ(Differences(d.Image(), MovedTo(picture, kSel, kSel.topLeft() + c.step)), 0) << c.key;
    EXPECT_EQ(d.Frame()->geometry(), kSel.translated(c.step)) << c.key;
    EXPECT_TRUE(d.Selection().Moved());
    EXPECT_TRUE(d.Selection().Lifted());
    KeyUp(d, c.key);
    EXPECT_EQ(Differences(d.Image(), MovedTo(picture, kSel, kSel.topLeft() + c.step * 2)), 0) << c.key;
  }

  // No frame, no nudge.
  WindowDriver d;
  d.OpenPicture(picture);
  KeyUp(d, Qt::Key_Right);
  EXPECT_EQ(d.Image(), picture);
}

TEST(SelectionWindow, NudgeWithCtrlHeldCopies) {
  const QImage picture = Pattern();
  SelectedWindow d(picture);
  KeyDown(d, Qt::Key_Control, Qt::ControlModifier);
  KeyUp(d, Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(Differences(d.Image(), AndAt(picture, picture.copy(kSel), kSel.topLeft() + QPoint(0, 1))), 0);
}

TEST(SelectionWindow, UndoAfterAMoveReturnsToThePictureWithTheClearedArea) {
  WindowDriver d;
  d.OpenPicture(Pattern());
  d.ClickTool(7);
  d.Drag({400, 100}, {450, 150});  // some work, so that undo is offered
  const QImage drawn = d.Image();
  Select(d, kSel);
  MoveSelection(d, 100, 50);
  ASSERT_TRUE(d.Enabled("Menu_Edit_Undo"));
  d.Trigger("Menu_Edit_Undo");
  EXPECT_EQ(d.Image(), Cleared(drawn, kSel));
}

TEST(SelectionWindow, DeleteOfAnUnmovedSelectionClearsExactlyTheSelection) {
  const int keys[][2] = {{Qt::Key_Delete, Qt::NoModifier}, {Qt::Key_Backspace, Qt::NoModifier},
                         {Qt::Key_Period, Qt::KeypadModifier}};
  const QImage picture = Pattern();
  for (const auto& k : keys) {
    SelectedWindow d(picture);
    KeyUp(d, k[0], Qt::KeyboardModifiers::fromInt(k[1]));
    EXPECT_EQ(Differences(d.Image(), Cleared(picture, kSel)), 0) << "key " << k[0] << ": nothing beyond the selection";
    EXPECT_FALSE(d.Frame()->isVisible());
    EXPECT_TRUE(d.Enabled("Menu_Edit_Undo"));
    ExpectOffered(d, {"Menu_Edit_Copy", "Menu_Edit_Cut", "Menu_Edit_Del", "Menu_Rot_Sp", "Menu_Rot_Sz", "Menu_Rot_S",
                      "Menu_Rot_Z", "Menu_Rot_Nss", "Menu_Rot_Nlj"},
                  false);
    d.Trigger("Menu_Edit_Undo");
    EXPECT_EQ(d.Image(), picture) << "undo brings the deleted pixels back";
  }

  // The period of the main keys is no delete.
  SelectedWindow d(picture);
  KeyUp(d, Qt::Key_Period);
  EXPECT_EQ(d.Image(), picture);
  EXPECT_TRUE(d.Frame()->isVisible());
}

TEST(SelectionWindow, DeleteAfterAMoveTakesTheMovedPixelsAway) {
  const QImage picture = Pattern();
  SelectedWindow d(picture);
  MoveSelection(d, 150, 40);
  d.Trigger("Menu_Edit_Del");
  EXPECT_EQ(Differences(d.Image(), Cleared(picture, kSel)), 0)
      << "white where it came from, the picture unchanged where it was dropped";

  // After a copy-move the original stays too.
  SelectedWindow e(picture);
  KeyDown(e, Qt::Key_Control, Qt::ControlModifier);
  MoveSelection(e, 150, 40);
  e.Trigger("Menu_Edit_Del");
  EXPECT_EQ(e.Image(), picture);
}

TEST(SelectionWindow, RightReleaseOpensThePopUpMenu) {
  const QImage picture = Pattern();
  SelectedWindow d(picture);
  d.FramePress({5, 5}, Qt::RightButton);
  EXPECT_FALSE(d.Selection().Dragging()) << "the right button drags nothing";
  d.FrameRelease({5, 5}, Qt::RightButton);
  QMenu* menu = d.Find<QMenu>("PM");
  ASSERT_TRUE(menu->isVisible());
  QStringList captions;
  for (QAction* a : menu->actions()) captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
  EXPECT_EQ(captions, QStringList({"复制", "复制高清图", "剪切", "删除", "全选", "-", "取消"}));
  menu->hide();
  EXPECT_EQ(d.Image(), picture);

  // 取消 only hides the frame: the picture stays, undo stays as it was, and the commands that act
  // on a selection go with the frame.
  d.Trigger("PM_Cancel");
  EXPECT_FALSE(d.Frame()->isVisible());
  EXPECT_EQ(d.Image(), picture);
  EXPECT_FALSE(d.Enabled("Menu_Edit_Copy"));
  EXPECT_FALSE(d.Enabled("Menu_Rot_Nss"));
  EXPECT_FALSE(d.Enabled("Menu_Edit_Undo"));

  // 删除 deletes.
  SelectedWindow e(picture);
  e.Trigger("PM_Del");
  EXPECT_EQ(Differences(e.Image(), Cleared(picture, kSel)), 0);
}

TEST(SelectionWindow, PressOnTheFrameDuringAnotherDragDoesNothing) {
  const QImage picture = Pattern();
  SelectedWindow d(picture);
  d.FramePress({5, 5});
  d.FramePress({9, 9});  // a second press while dragging changes nothing
  d.FrameMove({25, 15});
  EXPECT_EQ(Differences(d.Image(), MovedTo(picture, kSel, kSel.topLeft() + QPoint(20, 10))), 0)
      << "the drag still counts from the first press";
  d.FrameRelease({5, 5});
  EXPECT_EQ(d.Frame()->geometry(), kSel);
  EXPECT_EQ(Differences(d.Image(), picture), 0) << "moved by nothing: the pixels are back in place";
}

TEST(SelectionWindow, PointerEventsThroughTheWindowSystemMoveTheSelection) {
  // Presses delivered as the window system does (focus on click, implicit grab of the frame).
  WindowDriver d;
  const QImage picture = Pattern();
  d.OpenPicture(picture);
  d.ClickTool(1);
  QTest::mousePress(d.Surface(), Qt::LeftButton, {}, kSel.topLeft());
  QTest::mouseMove(d.Surface(), kSel.bottomRight());
  QTest::mouseRelease(d.Surface(), Qt::LeftButton, {}, kSel.topLeft() + QPoint(kSel.width(), kSel.height()));
  ASSERT_TRUE(d.Frame()->isVisible());
  ASSERT_EQ(d.Frame()->geometry(), kSel);
  QTest::mousePress(d.Frame(), Qt::LeftButton, {}, {5, 5});
  QTest::mouseMove(d.Frame(), {55, 25});
  QTest::mouseRelease(d.Frame(), Qt::LeftButton, {}, {105, 45});
  EXPECT_TRUE(d.Frame()->isVisible()) << "a press on the frame keeps the selection";
  EXPECT_EQ(d.Frame()->geometry(), kSel.translated(100, 40));
  EXPECT_EQ(Differences(d.Image(), MovedTo(picture, kSel, kSel.topLeft() + QPoint(100, 40))), 0);
  QTest::keyClick(d.Surface(), Qt::Key_Right);
  EXPECT_EQ(d.Frame()->geometry(), kSel.translated(101, 40));
}
