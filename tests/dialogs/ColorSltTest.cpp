#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "dialogs/ColorSlt.h"
#include "dialogs/DialogSeam.h"
#include "figures/Canvas.h"

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
    canvas.ForeColor = qRgb(0, 0, 0);
    canvas.FillColor = qRgb(0, 0, 0);
  }
  void TearDown() override { SetDialogSeam(nullptr); }
  QColor TxtColorShown() const { return window.TxtColor->palette().color(QPalette::WindowText); }
  QColor SwatchShown(int i) const { return window.FColor[i]->palette().color(QPalette::Window); }

  QWidget main;
  Canvas canvas{60, 40};
  ColorSlt window{canvas, &main};
};

TEST_F(ColorSltTest, SwatchesByIndexAndPlace) {
  EXPECT_EQ(window.windowTitle(), QStringLiteral("选取前景色："));
  EXPECT_EQ(window.TxtColor->text(), QStringLiteral("当前"));
  EXPECT_EQ(window.MoreColor->text(), QStringLiteral("更多"));
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
  window.Open();
  const QPoint origin = window.FColor[4]->pos();  // row 0, column 0
  const int stepX = window.FColor[0]->pos().x() - origin.x();
  const int stepY = window.FColor[5]->pos().y() - origin.y();
  ASSERT_GT(stepX, 0);
  ASSERT_GT(stepY, 0);
  bool seen[32] = {};
  for (const Case& c : cases) {
    seen[c.index] = true;
    EXPECT_EQ(ColorSlt::SwatchColor(c.index), qRgb(c.r, c.g, c.b)) << c.index;
    EXPECT_EQ(SwatchShown(c.index), QColor(c.r, c.g, c.b)) << c.index;
    EXPECT_EQ(window.FColor[c.index]->pos(), origin + QPoint(c.column * stepX, c.row * stepY)) << c.index;
  }
  for (bool s : seen) EXPECT_TRUE(s);
}

TEST_F(ColorSltTest, SwatchClickSetsForeAndFillColour) {
  window.Open();
  QTest::mouseClick(window.FColor[1], Qt::LeftButton);  // row 2 of the red column
  EXPECT_EQ(canvas.ForeColor, qRgb(255, 0, 0));
  EXPECT_EQ(canvas.FillColor, qRgb(255, 0, 0));
  EXPECT_EQ(TxtColorShown(), QColor(255, 0, 0));
  QTest::mouseClick(window.FColor[17], Qt::LeftButton);
  EXPECT_EQ(canvas.ForeColor, qRgb(128, 128, 255));
  EXPECT_EQ(canvas.FillColor, qRgb(128, 128, 255));
  // A right click chooses nothing.
  QTest::mouseClick(window.FColor[9], Qt::RightButton);
  EXPECT_EQ(canvas.ForeColor, qRgb(128, 128, 255));
}

TEST_F(ColorSltTest, MoreColourCancelledChangesNothingChosenSetsAll) {
  ScriptedColorSeam seam;
  SetDialogSeam(&seam);
  window.Open();
  canvas.ForeColor = qRgb(0, 0, 192);
  canvas.FillColor = qRgb(0, 0, 192);
  QTest::mouseClick(window.MoreColor, Qt::LeftButton);
  EXPECT_EQ(seam.calls, 1);
  EXPECT_EQ(canvas.ForeColor, qRgb(0, 0, 192));
  EXPECT_EQ(canvas.FillColor, qRgb(0, 0, 192));
  EXPECT_EQ(TxtColorShown(), QColor(0, 0, 0));

  seam.reply = QColor(10, 20, 30);
  QTest::mouseClick(window.MoreColor, Qt::LeftButton);
  EXPECT_EQ(canvas.ForeColor, qRgb(10, 20, 30));
  EXPECT_EQ(canvas.FillColor, qRgb(10, 20, 30));
  EXPECT_EQ(TxtColorShown(), QColor(10, 20, 30));
}

TEST_F(ColorSltTest, ClosedFiresOnEveryWayOfClosing) {
  int closed = 0;
  window.Closed = [&] { ++closed; };
  window.Open();
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(window.close());  // the close box
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(window.IsOpen());
  window.Open();
  window.CloseWindow();
  EXPECT_EQ(closed, 2);
  window.Open();
  window.hide();
  EXPECT_EQ(closed, 3);
  window.CloseWindow();  // already closed: nothing more
  EXPECT_EQ(closed, 3);
}

TEST_F(ColorSltTest, PlacedAtLowerLeftOfTheMainWindow) {
  window.Open();
  const QRect m = main.frameGeometry();
  const QRect w = window.frameGeometry();
  EXPECT_EQ(w.x(), m.x() - 1);
  EXPECT_EQ(w.y() + w.height(), m.y() + m.height() - 1);
}

}  // namespace
