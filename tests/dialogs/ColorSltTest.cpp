#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <string>

#include "dialogs/ColorSlt.h"
#include "dialogs/DialogSeam.h"
#include "support/Controls.h"

namespace {

// Answers the colour dialog with a fixed reply, counting the calls.
class ScriptedColorSeam : public DialogSeam {
 public:
  std::optional<QColor> reply;
  int calls = 0;
  std::optional<QColor> PickColor(QWidget*, const QColor&) override {
    ++calls;
    return reply;
  }
};

class ColorSltTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main.setGeometry(120, 90, 800, 600);
    main.show();
  }
  void TearDown() override { SetDialogSeam(nullptr); }
  QLabel* Label(const char* name) const { return Child<QLabel>(&window, name); }
  QLabel* Swatch(int i) const { return Label(("FColor" + std::to_string(i)).c_str()); }
  QColor TxtColorShown() const { return Label("TxtColor")->palette().color(QPalette::WindowText); }
  QColor SwatchShown(int i) const { return Swatch(i)->palette().color(QPalette::Window); }
  // The colour last chosen (the foreground and fill colour of the picture), black before any.
  QRgb Chosen() const { return chosen.isEmpty() ? qRgb(0, 0, 0) : chosen.last().at(0).value<QRgb>(); }

  QWidget main;
  ColorSlt window{qRgb(0, 0, 0), &main};
  QSignalSpy chosen{&window, &ColorSlt::ColorChosen};
};

TEST_F(ColorSltTest, SwatchesByIndexAndPlace) {
  EXPECT_EQ(window.windowTitle(), QStringLiteral("选取前景色："));
  EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("FColor0")), nullptr) << "made when the window first opens";
  window.Open();
  EXPECT_EQ(Label("TxtColor")->text(), QStringLiteral("当前"));
  EXPECT_EQ(Label("MoreColor")->text(), QStringLiteral("更多"));
  // Index, RGB, row and column of every swatch as it stands on screen.
  struct Case {
    int index, r, g, b, row, column;
  };
  const Case cases[] = {
      {4, 0, 0, 0, 0, 0},         {0, 192, 0, 0, 0, 1},       {12, 192, 64, 0, 0, 2},
      {8, 192, 192, 0, 0, 3},     {27, 0, 192, 0, 0, 4},      {31, 0, 192, 192, 0, 5},
      {19, 0, 0, 192, 0, 6},      {23, 192, 0, 192, 0, 7},    {5, 128, 128, 128, 1, 0},
      {1, 255, 0, 0, 1, 1},       {13, 255, 128, 0, 1, 2},    {9, 255, 255, 0, 1, 3},
      {26, 0, 255, 0, 1, 4},      {30, 0, 255, 255, 1, 5},    {18, 0, 0, 255, 1, 6},
      {22, 255, 0, 255, 1, 7},    {6, 192, 192, 192, 2, 0},   {2, 255, 128, 128, 2, 1},
      {14, 255, 192, 128, 2, 2},  {10, 255, 255, 128, 2, 3},  {25, 128, 255, 128, 2, 4},
      {29, 128, 255, 255, 2, 5},  {17, 128, 128, 255, 2, 6},  {21, 255, 128, 255, 2, 7},
      {7, 224, 224, 224, 3, 0},   {3, 255, 192, 192, 3, 1},   {15, 255, 224, 192, 3, 2},
      {11, 255, 255, 192, 3, 3},  {24, 192, 255, 192, 3, 4},  {28, 192, 255, 255, 3, 5},
      {16, 192, 192, 255, 3, 6},  {20, 255, 192, 255, 3, 7},
  };
  const QPoint origin = Swatch(4)->pos();  // row 0, column 0
  const int stepX = Swatch(0)->pos().x() - origin.x();
  const int stepY = Swatch(5)->pos().y() - origin.y();
  ASSERT_GT(stepX, 0);
  ASSERT_GT(stepY, 0);
  bool seen[32] = {};
  for (const Case& c : cases) {
    seen[c.index] = true;
    EXPECT_EQ(ColorSlt::SwatchColor(c.index), qRgb(c.r, c.g, c.b)) << c.index;
    EXPECT_EQ(SwatchShown(c.index), QColor(c.r, c.g, c.b)) << c.index;
    EXPECT_EQ(Swatch(c.index)->pos(), origin + QPoint(c.column * stepX, c.row * stepY)) << c.index;
  }
  for (bool s : seen) EXPECT_TRUE(s);
}

TEST_F(ColorSltTest, SwatchClickSetsForeAndFillColour) {
  window.Open();
  QTest::mouseClick(Swatch(1), Qt::LeftButton);  // row 2 of the red column
  EXPECT_EQ(Chosen(), qRgb(255, 0, 0));
  EXPECT_EQ(TxtColorShown(), QColor(255, 0, 0));
  QTest::mouseClick(Swatch(17), Qt::LeftButton);
  EXPECT_EQ(Chosen(), qRgb(128, 128, 255));
  EXPECT_EQ(chosen.count(), 2);
  // A right click chooses nothing.
  QTest::mouseClick(Swatch(9), Qt::RightButton);
  EXPECT_EQ(Chosen(), qRgb(128, 128, 255));
  EXPECT_EQ(chosen.count(), 2);
}

TEST_F(ColorSltTest, MoreColourCancelledChangesNothingChosenSetsAll) {
  ScriptedColorSeam seam;
  SetDialogSeam(&seam);
  window.Open();
  QTest::mouseClick(Label("MoreColor"), Qt::LeftButton);
  EXPECT_EQ(seam.calls, 1);
  EXPECT_EQ(chosen.count(), 0) << "cancelled: no colour chosen";
  EXPECT_EQ(TxtColorShown(), QColor(0, 0, 0));

  seam.reply = QColor(10, 20, 30);
  QTest::mouseClick(Label("MoreColor"), Qt::LeftButton);
  EXPECT_EQ(chosen.count(), 1);
  EXPECT_EQ(Chosen(), qRgb(10, 20, 30));
  EXPECT_EQ(TxtColorShown(), QColor(10, 20, 30));
}

TEST_F(ColorSltTest, ClosedFiresOnEveryWayOfClosing) {
  QSignalSpy closed(&window, &ColorSlt::Closed);
  window.Open();
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(window.close());  // the close box
  EXPECT_EQ(closed.count(), 1);
  EXPECT_FALSE(window.IsOpen());
  window.Open();
  window.CloseWindow();
  EXPECT_EQ(closed.count(), 2);
  window.Open();
  window.hide();
  EXPECT_EQ(closed.count(), 3);
  window.CloseWindow();  // already closed: nothing more
  EXPECT_EQ(closed.count(), 3);
}

TEST_F(ColorSltTest, PlacedAtLowerLeftOfTheMainWindow) {
  window.Open();
  const QRect m = main.frameGeometry();
  const QRect w = window.frameGeometry();
  EXPECT_EQ(w.x(), m.x() - 1);
  EXPECT_EQ(w.y() + w.height(), m.y() + m.height() - 1);
}

}  // namespace
