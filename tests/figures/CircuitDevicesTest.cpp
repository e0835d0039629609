// The circuit devices: what the library-wide checks cannot know. The wire turns its corner where
// the drag's main direction says and ends exactly on the press point and the pointer; the
// transformer's coils show the numbers of turns the parameter window asks for.
#include <gtest/gtest.h>

#include <cmath>

#include "figures/Canvas.h"
#include "figures/FigureDrag.h"
#include "figures/InkRuns.h"
#include "figures/ToolId.h"

using namespace figtest;

namespace {

struct WireCase {
  const char* what;
  double x1, y1, x2, y2;
  double cornerX, cornerY;
};

TEST(CircuitDevices, TheWireTurnsWhereTheDragsMainDirectionSaysAndEndsOnPressAndPointer) {
  const WireCase cases[] = {
      {"wider than high, right and down", 20, 30, 170, 110, 170, 30},
      {"wider than high, left and up", 170, 110, 20, 30, 20, 110},
      {"higher than wide, right and down", 40, 10, 100, 140, 40, 140},
      {"higher than wide, left and up", 150, 140, 90, 15, 150, 15},
      {"as wide as high starts vertically", 30, 30, 110, 110, 30, 110},
      {"a horizontal drag is one straight wire", 10, 70, 180, 70, 180, 70},
      {"a vertical drag is one straight wire", 60, 150, 60, 5, 60, 5},
  };
  for (const WireCase& w : cases) {
    Canvas c(200, 160);
    Draw(c, ToolNumber(ToolId::CircuitWire), w.x1, w.y1, w.x2, w.y2);
    const Canvas expected = Segments(200, 160, {{w.x1, w.y1, w.cornerX, w.cornerY}, {w.cornerX, w.cornerY, w.x2, w.y2}});
    EXPECT_TRUE(SamePicture(c, expected)) << w.what;
    EXPECT_TRUE(Ink(c, static_cast<int>(w.x1), static_cast<int>(w.y1))) << w.what;
    EXPECT_TRUE(Ink(c, static_cast<int>(w.x2), static_cast<int>(w.y2))) << w.what;
  }
}

TEST(CircuitDevices, TheTransformersCoilsShowTheTurnsAsked) {
  struct Case {
    double primary, secondary;
    double x1, y1, x2, y2;
  };
  const Case cases[] = {
      {10, 5, 20, 10, 380, 290},  // the window's first values, a large drag
      {3, 8, 380, 290, 20, 10},   // the other way round: the primary stays on the left
      {1, 1, 40, 20, 360, 280},
      {12, 2, 100, 10, 300, 290},  // a narrow box
  };
  for (const Case& k : cases) {
    Canvas c(400, 300);
    Draw(c, ToolNumber(ToolId::Transformer), k.x1, k.y1, k.x2, k.y2, Params(k.primary, k.secondary));
    // A column through a coil crosses each half turn twice; the leads give two crossings, the
    // core lines one.
    const int left = static_cast<int>(std::min(k.x1, k.x2)), right = static_cast<int>(std::max(k.x1, k.x2));
    const int middle = (left + right) / 2;
    EXPECT_EQ(MostInkRunsInColumns(c, left, middle - 1, 0, 299), 2 * static_cast<int>(k.primary))
        << "primary " << k.primary;
    EXPECT_EQ(MostInkRunsInColumns(c, middle + 1, right, 0, 299), 2 * static_cast<int>(k.secondary))
        << "secondary " << k.secondary;
  }
}

}  // namespace
