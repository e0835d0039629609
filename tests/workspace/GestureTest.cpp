// Drawing with the mouse: previews, committed figures, the eraser, the fill, the read-outs.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>

#include "figures/DrawFigure.h"
#include "support/WindowDriver.h"

namespace {

// The picture a figure gives when drawn directly on a white 600 x 220 canvas.
QImage Expected(int toolId, QPointF from, QPointF to, ParameterValues params = {}) {
  Canvas c(600, 220);
  DragGeometry g;
  g.PressPoint = {from.x(), from.y()};
  g.CurrentPoint = {to.x(), to.y()};
  DrawFigure(c, g, toolId, params);
  return c.Image();
}

QString Readout(const WindowDriver& d, const char* name) { return d.Find<QLabel>(name)->text(); }

// How many pixels of one column (or row) of the surface show the guide lines' magenta.
int Magenta(const QImage& shown, QPoint from, QPoint step) {
  int n = 0;
  for (QPoint p = from; shown.rect().contains(p); p += step) n += QColor(shown.pixel(p)) == QColor(255, 0, 255);
  return n;
}
int MagentaInColumn(const QImage& shown, int x) { return Magenta(shown, {x, 0}, {0, 1}); }
int MagentaInRow(const QImage& shown, int y) { return Magenta(shown, {0, y}, {1, 0}); }

}  // namespace

TEST(Gesture, EachPaletteZeroFigureEqualsItsFigureDrawnDirectly) {
  struct Case {
    int tool;
    QPointF from, to;
    ParameterValues params;
  };
  const Case cases[] = {
      {5, {30, 40}, {130, 60}, {}},       {6, {200, 20}, {20, 200}, {}},      {7, {40, 30}, {120, 90}, {}},
      {8, {120, 90}, {40, 30}, {15, 5, 5}}, {9, {10, 10}, {300, 150}, {}},    {10, {300, 110}, {340, 130}, {}},
      {11, {20, 100}, {220, 60}, {2, 5, 5}}, {12, {500, 200}, {400, 40}, {}}, {13, {10, 50}, {170, 62}, {}},
      {14, {20, 20}, {120, 100}, {}},     {15, {20, 20}, {120, 100}, {}},     {16, {10, 10}, {110, 60}, {}},
      {17, {0, 100}, {100, 110}, {5, 5, 5}}, {18, {0, 0}, {100, 50}, {5, 5, 5}}, {19, {10, 50}, {110, 150}, {3, 5, 5}},
      {20, {100, 150}, {140, 120}, {}},   {21, {10, 10}, {90, 70}, {}},       {22, {10, 20}, {110, 40}, {}},
  };
  for (const Case& c : cases) {
    WindowDriver d;
    d.ClickTool(c.tool);
    d.Drag(c.from, c.to);
    EXPECT_EQ(d.Image(), Expected(c.tool, c.from, c.to, c.params)) << "tool " << c.tool;
    EXPECT_TRUE(d.State().ImageChanged);
    EXPECT_TRUE(d.Action("Menu_Edit_Undo")->isEnabled());
    EXPECT_TRUE(d.ToolbarButton("Menu_Edit_Undo")->isEnabled());
  }
}

TEST(Gesture, PreviewFollowsThePointerAndOnlyTheLastStays) {
  WindowDriver d;
  d.ClickTool(7);
  d.Press({40, 30});
  d.Move({200, 150});
  EXPECT_EQ(d.Pixel(200, 150), kBlack);
  d.Move({120, 90});
  EXPECT_EQ(d.Pixel(200, 150), kWhite) << "the earlier preview is gone";
  EXPECT_EQ(Readout(d, "DxLb"), "80");
  EXPECT_EQ(Readout(d, "DyLb"), "60");
  d.Release({120, 90});
  EXPECT_EQ(d.Image(), Expected(7, {40, 30}, {120, 90}));
}

TEST(Gesture, ReadoutsShowNegativeNumbersOnAReversedDrag) {
  WindowDriver d;
  d.ClickTool(1);
  d.Press({100, 100});
  d.Move({60, 70});
  EXPECT_EQ(Readout(d, "DxLb"), "-40");
  EXPECT_EQ(Readout(d, "DyLb"), "-30");
  d.Release({60, 70});
  EXPECT_EQ(d.Selection().Left(), 60);
  EXPECT_EQ(d.Selection().Top(), 70);
  EXPECT_EQ(d.Selection().Width(), 40);
  EXPECT_EQ(d.Selection().Height(), 30);
}

TEST(Gesture, RightButtonStartsNothing) {
  WindowDriver d;
  d.ClickTool(7);
  const QImage before = d.Image();
  d.Press({40, 30}, Qt::RightButton);
  d.Move({120, 90}, Qt::RightButton);
  d.Release({120, 90}, Qt::RightButton);
  EXPECT_EQ(d.Image(), before);
  EXPECT_FALSE(d.State().ImageChanged);
}

TEST(Gesture, EraserPaintsWhiteBoxesOnlyAtMovesAndRelease) {
  WindowDriver d;
  QImage black(600, 220, QImage::Format_RGB32);
  black.fill(kBlack);
  d.OpenPicture(black);
  d.ClickTool(2);
  d.Press({10, 10});
  d.Move({50, 10});
  d.Move({90, 10});
  d.Release({130, 10});
  EXPECT_EQ(d.Pixel(10, 10), kBlack) << "the press erases nothing";
  for (int x : {50, 55, 90, 95, 130, 135}) EXPECT_EQ(d.Pixel(x, 12), kWhite) << x;
  for (int x : {56, 70, 89, 96, 129, 136}) EXPECT_EQ(d.Pixel(x, 12), kBlack) << x;  // gaps on fast moves
  EXPECT_EQ(d.Pixel(50, 15), kWhite);
  EXPECT_EQ(d.Pixel(50, 16), kBlack);
  EXPECT_TRUE(Readout(d, "DxLb").isEmpty()) << "the eraser leaves the read-outs alone";

  // Erasing is a change, also of a picture nobody changed yet.
  WindowDriver fresh;
  fresh.ClickTool(2);
  fresh.Drag({10, 10}, {130, 10});
  EXPECT_TRUE(fresh.State().ImageChanged);
}

TEST(Gesture, FillHappensOnceAtReleaseSeededAtThePress) {
  WindowDriver d;
  Canvas boxed(600, 220);
  boxed.Box(20, 20, 80, 80);
  d.OpenPicture(boxed.Image());
  QTest::mouseClick(d.Find<QAbstractButton>("FStay1"), Qt::LeftButton);  // solid
  d.ClickTool(24);
  d.Press({50, 50});
  d.Move({300, 150});
  EXPECT_EQ(d.Pixel(50, 50), kWhite) << "no preview while dragging";
  d.Release({300, 150});
  EXPECT_EQ(d.Pixel(50, 50), kBlack);
  EXPECT_EQ(d.Pixel(300, 150), kWhite) << "only the press point counts";
}

TEST(Gesture, ToolWithoutFigureStillMarksThePictureChanged) {
  WindowDriver d;
  d.Trigger("Menu_View_xz");
  d.ClickTool(40);  // a button of 电场磁场 without a tool
  const QImage before = d.Image();
  d.Drag({10, 10}, {100, 80});
  EXPECT_EQ(d.Image(), before);
  EXPECT_TRUE(d.State().ImageChanged);
  EXPECT_TRUE(d.Action("Menu_Edit_Undo")->isEnabled());
}

TEST(Gesture, FreehandJoinsItsSegments) {
  WindowDriver d;
  d.ClickTool(4);
  d.Press({10, 10});
  d.Move({30, 10});
  d.Move({30, 40});
  d.Move({60, 40});
  d.Release({60, 40});
  for (QPoint p : {QPoint(10, 10), QPoint(20, 10), QPoint(30, 25), QPoint(45, 40), QPoint(60, 40)})
    EXPECT_EQ(d.Pixel(p.x(), p.y()), kBlack) << p.x() << "," << p.y();
  EXPECT_EQ(d.State().PressPoint.x, 60);
  EXPECT_EQ(d.State().PressPoint.y, 40);
}

TEST(Gesture, SelectionReleaseMakesTheFrameAndEnablesEditCommands) {
  WindowDriver d;
  Canvas lined(600, 220);
  lined.Line(0, 50, 599, 50);
  d.OpenPicture(lined.Image());
  d.ClickTool(1);
  d.Drag({20, 40}, {80, 70});
  EXPECT_TRUE(d.Frame()->isVisible());
  EXPECT_EQ(d.Frame()->geometry(), QRect(20, 40, 60, 30));
  EXPECT_EQ(d.Selection().Pixels().size(), QSize(60, 30));
  EXPECT_EQ(d.Selection().Pixels().pixel(0, 10) | 0xff000000u, kBlack);
  EXPECT_EQ(d.Pixel(20, 40), kWhite) << "the dotted rubber band is gone";
  EXPECT_FALSE(d.Action("Menu_Edit_Undo")->isEnabled());
  const std::initializer_list<const char*> commands = {"Menu_Edit_Copy", "Menu_Edit_Cut", "Menu_Edit_Del",
                                                       "Menu_Rot_Sp",    "Menu_Rot_Nss",  "Menu_Rot_Z"};
  ExpectOffered(d, commands, true);
  // Choosing a tool drops the selection and its commands.
  d.ClickTool(7);
  EXPECT_FALSE(d.Frame()->isVisible());
  ExpectOffered(d, commands, false);

  // On a picture nobody changed, a selection is not a change.
  WindowDriver fresh;
  fresh.ClickTool(1);
  fresh.Drag({20, 40}, {80, 70});
  EXPECT_FALSE(fresh.State().ImageChanged) << "a selection is not a change";
}

TEST(Gesture, ClickWithTheSelectionToolGivesAnEmptyFrame) {
  WindowDriver d;
  d.ClickTool(1);
  d.Press({50, 50});
  d.Release({50, 50});
  EXPECT_TRUE(d.Frame()->isVisible());
  EXPECT_EQ(d.Frame()->size(), QSize(0, 0));
  EXPECT_TRUE(d.Action("Menu_Edit_Copy")->isEnabled());
}

TEST(Gesture, TextToolClickOpensTheTextWindowAndStartsNoDrag) {
  WindowDriver d;
  d.ClickTool(3);
  d.Press({70, 80});
  EXPECT_FALSE(d.State().DragActive);
  EXPECT_TRUE(d.Find<QWidget>("TypeTxt")->isVisible());
  d.Release({70, 80});
  EXPECT_FALSE(d.State().ImageChanged);
}

TEST(Gesture, GuideLinesFollowThePointerWithoutAButton) {
  WindowDriver d;
  d.Trigger("Menu_Tools_Line");
  d.Move({123, 45}, Qt::NoButton);
  const QImage shown = d.Shown();
  EXPECT_GT(MagentaInColumn(shown, 123), shown.height() / 2) << "the upright through the pointer";
  EXPECT_GT(MagentaInRow(shown, 45), shown.width() / 2) << "the level line through the pointer";
  EXPECT_LE(MagentaInColumn(shown, 150), 1) << "elsewhere only where the level line crosses";
  EXPECT_LE(MagentaInRow(shown, 100), 1);
  const QImage before = d.Image();
  EXPECT_EQ(d.Image(), before) << "guide lines are never in the picture";
  for (int x = 0; x < 600; ++x) ASSERT_EQ(d.Pixel(x, 45), kWhite) << x;
}
