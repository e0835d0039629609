// The solids of palette 2 as a user sees them: hidden edges are dashed whatever the line style and
// width, and visible edges follow the line style.
#include <gtest/gtest.h>

#include <algorithm>

#include "figures/Canvas.h"
#include "figures/FigureDrag.h"
#include "figures/InkComponents.h"

using namespace figtest;

namespace {

// Each solid drawn in the box from (20, 20) to (180, 140), with a stretch of a hidden edge and a
// stretch of a visible edge that nothing else crosses.
struct Case {
  int tool;
  QRect hidden, visible;
};
const Case kCases[] = {
    {109, QRect(70, 64, 61, 9), QRect(70, 88, 61, 9)},      // sphere: the equator's far and near halves
    {110, QRect(65, 98, 71, 5), QRect(65, 58, 71, 5)},      // cuboid: the back's bottom, the front's top
    {111, QRect(70, 108, 61, 9), QRect(70, 46, 61, 7)},     // tall cylinder: bottom far half, top near half
    {112, QRect(40, 84, 21, 17), QRect(40, 70, 21, 8)},     // flat cylinder: the same near the left side
    {113, QRect(70, 108, 61, 9), QRect(55, 66, 11, 14)},    // cone: the base's far half, a generator
    {114, QRect(100, 108, 46, 5), QRect(100, 138, 46, 5)},  // wedges: the back's bottom, the front's bottom
    {115, QRect(55, 108, 46, 5), QRect(55, 138, 46, 5)},
};

Canvas Solid(int tool, int style, int width) {
  Canvas c(200, 160);
  c.DrawStyle = style;
  c.DrawWidth = width;
  Draw(c, tool, 20, 20, 180, 140);
  return c;
}

int Largest(const std::vector<int>& pieces) {
  return pieces.empty() ? 0 : *std::max_element(pieces.begin(), pieces.end());
}

TEST(Solids, HiddenEdgesAreDashedWhateverTheLineStyle) {
  for (const Case& k : kCases) {
    for (int style : {Canvas::kSolid, Canvas::kDash, Canvas::kDot, Canvas::kDashDot}) {
      const std::vector<int> dashes = InkPieces(Solid(k.tool, style, 1), k.hidden);
      EXPECT_GE(dashes.size(), 3u) << k.tool << " style " << style << ": the hidden edge is not dashed";
      EXPECT_GE(Largest(dashes), 3) << k.tool << " style " << style << ": dots, not dashes";
    }
    for (int width : {2, 4}) {
      EXPECT_GE(InkPieces(Solid(k.tool, Canvas::kSolid, width), k.hidden).size(), 2u)
          << k.tool << " width " << width << ": the hidden edge is not dashed";
    }
  }
}

TEST(Solids, VisibleEdgesFollowTheLineStyle) {
  for (const Case& k : kCases) {
    for (int width : {1, 2, 4}) {
      EXPECT_EQ(InkPieces(Solid(k.tool, Canvas::kSolid, width), k.visible).size(), 1u)
          << k.tool << " width " << width << ": a solid edge is broken";
    }
    EXPECT_GE(InkPieces(Solid(k.tool, Canvas::kDot, 1), k.visible).size(), 4u) << k.tool << ": not dotted";
    EXPECT_GE(InkPieces(Solid(k.tool, Canvas::kDash, 1), k.visible).size(), 2u) << k.tool << ": not dashed";
  }
}

}  // namespace
