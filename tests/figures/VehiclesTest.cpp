// The vehicles face the drag's horizontal direction: the car's roof sits back from its middle
// (the bonnet in front is longer than the boot), the truck's tall cargo box rides behind its cab.
// Both stand on the bottom of the box.
#include <gtest/gtest.h>

#include "figures/Canvas.h"
#include "figures/FigureDrag.h"
#include "figures/FigureProbes.h"
#include "figures/ToolId.h"

using namespace figtest;

namespace {

TEST(Vehicles, TheirHighestPartSitsBehindTheMiddleAndTheyStandOnTheBoxsBottom) {
  for (ToolId tool : {ToolId::Car, ToolId::Truck}) {
    for (bool rightward : {true, false}) {
      SCOPED_TRACE(testing::Message() << ToolNumber(tool) << (rightward ? " rightward" : " leftward"));
      Canvas c(400, 200);
      Draw(c, ToolNumber(tool), rightward ? 20 : 380, 30, rightward ? 380 : 20, 170);
      // A drag 360 wide: the figure is centred on x = 200 and its rear is where the drag began.
      const double behind = rightward ? -1 : 1;
      EXPECT_GT(behind * (TopInkCentre(c) - 200), 8) << "the highest part lies towards the rear";
      EXPECT_NEAR(BottomInkRow(c), 170, 1) << "the wheels stand on the box's bottom";
    }
  }
}

}  // namespace
