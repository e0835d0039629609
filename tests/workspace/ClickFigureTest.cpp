// A click is a drag of length zero: the window system sends no pointer move between a press and a
// release in the same place, and the click still draws the figure of a zero drag.
#include <gtest/gtest.h>

#include "support/WindowDriver.h"

namespace {

TEST(ClickFigure, AClickDrawsTheFigureOfAZeroDrag) {
  struct Case {
    int button;
    const char* what;
    std::vector<QPoint> ink;  // pixels the click must blacken
  };
  const Case cases[] = {
      {10, "circle: its centre dot", {{50, 40}}},
      {12, "arrow: the head pointing up, barbs below the point", {{50, 40}, {47, 50}, {53, 50}}},
      {21, "incline: its one point", {{50, 40}}},
      {6, "straight line: one point", {{50, 40}}},
  };
  for (const Case& c : cases) {
    WindowDriver d;
    d.ClickTool(c.button);
    d.Press({50, 40});
    d.Release({50, 40});
    for (const QPoint& p : c.ink) EXPECT_EQ(d.Pixel(p.x(), p.y()), kBlack) << c.what << " at " << p.x() << "," << p.y();
    EXPECT_TRUE(d.State().ImageChanged) << c.what;
    EXPECT_TRUE(d.Action("Menu_Edit_Undo")->isEnabled()) << c.what;
  }
  // The eraser whitens its box at the click: here across a rectangle's left edge.
  WindowDriver d;
  d.ClickTool(7);
  d.Drag({10, 10}, {200, 150});
  d.ClickTool(2);
  d.Press({8, 60});
  d.Release({8, 60});
  for (int y = 60; y <= 65; ++y) EXPECT_EQ(d.Pixel(10, y), kWhite) << y;
  EXPECT_EQ(d.Pixel(10, 59), kBlack);
  EXPECT_EQ(d.Pixel(10, 66), kBlack);
}

}  // namespace
