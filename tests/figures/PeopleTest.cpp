// The people face the drag's horizontal direction, each with the lean or the things of its pose
// (the runner's head ahead, the box pulled from behind), and stand on the bottom of the box.
#include <gtest/gtest.h>

#include <cmath>

#include "figures/Canvas.h"
#include "figures/FigureDrag.h"
#include "figures/FigureProbes.h"
#include "figures/ToolId.h"

using namespace figtest;

namespace {

struct PoseCase {
  ToolId tool;
  int head;  // where the top of the head lies for a rightward drag: +1 ahead of the middle,
             // -1 behind it, 0 on it (facing the viewer)
};

TEST(People, HeadsLieAsTheirPosesFaceTheDragAndFeetStandOnTheBoxsBottom) {
  const PoseCase cases[] = {
      {ToolId::StandingPerson, 0}, {ToolId::SittingPerson, -1}, {ToolId::WalkingPerson, 1},
      {ToolId::RunningPerson, 1},  {ToolId::PullingPerson, -1}, {ToolId::PushingPerson, 1},
      {ToolId::Cyclist, 1},
  };
  for (const PoseCase& p : cases) {
    for (bool rightward : {true, false}) {
      SCOPED_TRACE(testing::Message() << ToolNumber(p.tool) << (rightward ? " rightward" : " leftward"));
      Canvas c(500, 340);
      Draw(c, ToolNumber(p.tool), rightward ? 20 : 480, 20, rightward ? 480 : 20, 320);
      // The figure is centred across the drag, on x = 250.
      const double ahead = (TopInkCentre(c) - 250) * (rightward ? 1 : -1);
      if (p.head == 0)
        EXPECT_LE(std::fabs(ahead), 1);
      else
        EXPECT_GT(ahead * p.head, 8);
      EXPECT_NEAR(BottomInkRow(c), 320, 1) << "feet (or wheels) on the box's bottom";
    }
  }
}

}  // namespace
