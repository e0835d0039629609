// The floating selection through focus changes: coming back to the window keeps it, a click on the
// picture itself drops it, a press acts only on a visible frame, hiding it ends its drag, and the
// commands that act on it follow its frame after every step.
#include <gtest/gtest.h>

#include <QKeyEvent>

#include "support/WindowDriver.h"

namespace {

// A picture with no symmetry, opened as the user would.
QImage Pattern() {
  QImage img(600, 220, QImage::Format_RGB32);
  for (int y = 0; y < 220; ++y)
    for (int x = 0; x < 600; ++x) img.setPixel(x, y, qRgb((x * 3) & 0xff, (y * 5) & 0xff, ((x + 2 * y) * 7) & 0xff));
  return img;
}

// The commands on a selection (copy, cut, delete, the flips and turns) are enabled exactly while
// the frame is visible.
::testing::AssertionResult CommandsFollowTheFrame(WindowDriver& d) {
  const bool visible = d.Frame()->isVisible();
  if (visible != d.Selection().Visible()) return ::testing::AssertionFailure() << "frame widget and selection disagree";
  for (const char* name : SelectionCommands())
    if (d.Action(name)->isEnabled() != visible)
      return ::testing::AssertionFailure() << name << (visible ? " disabled with a frame" : " enabled without one");
  return ::testing::AssertionSuccess();
}

struct SelectionOnPattern : WindowDriver {
  QWidget other;  // another program's window
  QImage picture;
  SelectionOnPattern() {
    OpenPicture(Pattern());
    picture = Image();
    ClickTool(1);
    Drag({100, 50}, {160, 90});
    Surface()->setFocus(Qt::OtherFocusReason);
    other.resize(100, 60);
  }
  void GoElsewhereAndBack() {
    other.show();
    other.activateWindow();
    QApplication::processEvents();
    w().activateWindow();
    QApplication::processEvents();
  }
};

TEST(SelectionFocus, ComingBackToTheWindowKeepsTheSelectionAndAPressActsOnlyOnAVisibleFrame) {
  SelectionOnPattern d;
  ASSERT_TRUE(d.Selection().Visible());
  d.GoElsewhereAndBack();
  EXPECT_TRUE(d.Selection().Visible());
  EXPECT_TRUE(CommandsFollowTheFrame(d));
  // The first click on the frame after coming back starts an ordinary drag: nothing is whitened.
  d.FramePress({5, 5});
  d.FrameRelease({5, 5});
  EXPECT_EQ(d.Image(), d.picture);
  EXPECT_TRUE(CommandsFollowTheFrame(d));

  // A click on the picture itself, which gives it the focus, drops the selection (with no tool
  // chosen the press starts nothing else); a press on the hidden frame then does nothing.
  d.Trigger("Menu_View_xz");  // no tool chosen; the selection stays
  ASSERT_TRUE(d.Selection().Visible());
  d.Surface()->clearFocus();
  QTest::mouseClick(d.Surface(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 150));
  EXPECT_FALSE(d.Selection().Visible());
  EXPECT_TRUE(CommandsFollowTheFrame(d));
  d.FramePress({5, 5});
  d.FrameMove({30, 30});
  d.FrameRelease({30, 30});
  EXPECT_EQ(d.Image(), d.picture);
}

TEST(SelectionFocus, HidingTheFrameEndsItsDragSoTheNextSelectionMovesFromItsOwnPlace) {
  SelectionOnPattern d;
  d.FramePress({5, 5});
  d.FrameMove({20, 5});
  // The release never arrives: choosing a tool hides the frame first (the moved pixels stay).
  d.ClickTool(7);
  d.ClickTool(1);
  EXPECT_FALSE(d.Selection().Dragging());
  EXPECT_TRUE(CommandsFollowTheFrame(d));
  const QImage before = d.Image();
  d.Drag({300, 100}, {340, 140});
  ASSERT_TRUE(d.Selection().Visible());
  d.FramePress({5, 5});
  d.FrameMove({15, 5});
  d.FrameRelease({15, 5});
  EXPECT_EQ(d.Selection().FrameRect(), QRect(310, 100, 40, 40));
  // The old place is white, the pixels stand ten pixels to the right, nothing else changed.
  QImage expected = before;
  for (int y = 100; y < 140; ++y)
    for (int x = 300; x < 350; ++x)
      expected.setPixel(x, y, x < 310 ? kWhite : (before.pixel(x - 10, y) & (x < 340 ? kWhite : before.pixel(x, y))));
  EXPECT_EQ(d.Image(), expected);
  EXPECT_TRUE(CommandsFollowTheFrame(d));
}

TEST(SelectionFocus, TheKeypadDecimalKeyDeletesWhateverItTypes) {
  for (int key : {Qt::Key_Period, Qt::Key_Comma}) {
    SelectionOnPattern d;
    QKeyEvent press(QEvent::KeyPress, key, Qt::KeypadModifier, key == Qt::Key_Period ? "." : ",");
    QKeyEvent release(QEvent::KeyRelease, key, Qt::KeypadModifier, key == Qt::Key_Period ? "." : ",");
    QApplication::sendEvent(d.Surface(), &press);
    QApplication::sendEvent(d.Surface(), &release);
    EXPECT_FALSE(d.Selection().Visible()) << key;
    EXPECT_EQ(d.Pixel(120, 60), kWhite) << key;
    EXPECT_TRUE(CommandsFollowTheFrame(d));
  }
  // The point of the main keys does nothing.
  SelectionOnPattern d;
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Period, Qt::NoModifier, ".");
  QApplication::sendEvent(d.Surface(), &release);
  EXPECT_TRUE(d.Selection().Visible());
}

}  // namespace
