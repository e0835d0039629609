// The solids of palette 2 as a user sees them: hidden edges are dashed whatever the line style and
// width, and visible edges follow the line style, at the reviewed picture's drag and at another.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

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

// Where a solid is drawn: the box from (20, 20) to (180, 140) of the stretches above, or the same
// box half as large again, dragged leftwards and upwards from (270, 200) to (30, 20).
struct Placement {
  double x1, y1, x2, y2;
  double scale;
  QRect Of(QRect r) const {
    const double left = std::min(x1, x2), top = std::min(y1, y2);
    return QRect(static_cast<int>(std::lround(left + (r.left() - 20) * scale)),
                 static_cast<int>(std::lround(top + (r.top() - 20) * scale)),
                 static_cast<int>(std::lround(r.width() * scale)), static_cast<int>(std::lround(r.height() * scale)));
  }
};
const Placement kPlacements[] = {{20, 20, 180, 140, 1}, {270, 200, 30, 20, 1.5}};

Canvas Solid(int tool, int style, int width, const Placement& at = kPlacements[0]) {
  Canvas c(300, 220);
  c.DrawStyle = style;
  c.DrawWidth = width;
  Draw(c, tool, at.x1, at.y1, at.x2, at.y2);
  return c;
}

int Largest(const std::vector<int>& pieces) {
  return pieces.empty() ? 0 : *std::max_element(pieces.begin(), pieces.end());
}

TEST(Solids, HiddenEdgesAreDashedWhateverTheLineStyle) {
  for (const Placement& at : kPlacements) {
    for (const Case& k : kCases) {
      const QRect hidden = at.Of(k.hidden);
      for (int style : {Canvas::kSolid, Canvas::kDash, Canvas::kDot, Canvas::kDashDot}) {
        const std::vector<int> dashes = InkPieces(Solid(k.tool, style, 1, at), hidden);
        EXPECT_GE(dashes.size(), 3u) << k.tool << " style " << style << " scale " << at.scale
                                     << ": the hidden edge is not dashed";
        EXPECT_GE(Largest(dashes), 3) << k.tool << " style " << style << " scale " << at.scale << ": dots, not dashes";
      }
      for (int width : {2, 4}) {
        EXPECT_GE(InkPieces(Solid(k.tool, Canvas::kSolid, width, at), hidden).size(), 2u)
            << k.tool << " width " << width << " scale " << at.scale << ": the hidden edge is not dashed";
      }
    }
  }
}

TEST(Solids, VisibleEdgesFollowTheLineStyle) {
  for (const Placement& at : kPlacements) {
    for (const Case& k : kCases) {
      const QRect visible = at.Of(k.visible);
      for (int width : {1, 2, 4}) {
        EXPECT_EQ(InkPieces(Solid(k.tool, Canvas::kSolid, width, at), visible).size(), 1u)
            << k.tool << " width " << width << " scale " << at.scale << ": a solid edge is broken";
      }
      EXPECT_GE(InkPieces(Solid(k.tool, Canvas::kDot, 1, at), visible).size(), 4u)
          << k.tool << " scale " << at.scale << ": not dotted";
      EXPECT_GE(InkPieces(Solid(k.tool, Canvas::kDash, 1, at), visible).size(), 2u)
          << k.tool << " scale " << at.scale << ": not dashed";
    }
  }
}

}  // namespace
