// The mechanics scenery: wheels on the ground, legs and grooves where they belong, the track's
// curve, the conveyor's arrow pointing the way of the drag, and rollers of the diameter asked for.
#include <gtest/gtest.h>

#include "figures/FigureKeyPoints.h"

using namespace figtest;

namespace {

TEST(MechanicsScenery, PartsWhereTheBoxPutsThem) {
  // The box of most drags: x 20..180, y 20..140. Leftward drags are the mirror images of these
  // (checked for every figure that faces a way).
  ExpectKeyPoints({
      {"cart: wheels on the ground at a quarter and three quarters, handle trailing", 35, 20, 20, 180, 140,
       {{60, 140}, {140, 140}, {100, 20}, {36, 104}, {180, 104}, {20, 48}, {28, 48}},
       {{20, 20}, {100, 140}, {20, 104}}},
      {"table: top 12 thick, legs inset a tenth reaching the floor", 36, 20, 20, 180, 140,
       {{100, 20}, {100, 32}, {36, 140}, {43, 140}, {157, 140}, {164, 140}},
       {{20, 140}, {180, 140}, {100, 140}, {100, 80}}},
      {"boat: deck across the middle, keel narrower, cabin on the deck", 37, 20, 20, 180, 140,
       {{20, 80}, {180, 80}, {52, 140}, {148, 140}, {68, 38}, {132, 38}},
       {{20, 140}, {180, 140}, {100, 20}, {100, 60}}},
      {"groove: 0.8 of the width, centred, cut from the top", 39, 20, 20, 180, 140,
       {{20, 20}, {36, 20}, {164, 20}, {180, 20}, {100, 84}, {180, 140}},
       {{100, 20}, {100, 60}, {50, 30}}},
      {"track in a wide box: quarter circle down to the bottom", 40, 20, 20, 180, 140,
       {{20, 20}, {60, 20}, {95, 105}, {180, 140}, {20, 140}},
       {{180, 20}, {140, 40}}},
      {"track in a tall box: ends level on the front face", 40, 20, 20, 100, 140,
       {{20, 20}, {43, 77}, {100, 100}, {100, 120}, {100, 140}},
       {{100, 20}, {80, 40}}},
      {"conveyor: rollers at the ends, belt round them, arrow to the right", 41, 20, 20, 180, 140,
       {{20, 108}, {180, 108}, {52, 108}, {100, 76}, {100, 140}, {85, 57}, {111, 54}},
       {{100, 20}, {100, 108}, {89, 54}}},
  });
}

TEST(MechanicsScenery, InclinedConveyorRollersHaveDiameterD) {
  // Rollers about (40, 80) and (160, 80); the belt d apart. A roller is at most twice the figure's
  // reach across the belt (a quarter of 120) wide.
  struct Case {
    double d;
    int diameter;
  };
  for (const Case& k : {Case{10, 10}, Case{24, 24}, Case{40, 40}, Case{1e9, 60}}) {
    Canvas c(200, 160);
    Draw(c, 42, 40, 80, 160, 80, Params(k.d));
    const int r = k.diameter / 2;
    for (int x : {40, 160}) {
      EXPECT_NE(c.GetPixel(x - r, 80), kWhite) << "roller at " << x << ", d = " << k.d;
      EXPECT_NE(c.GetPixel(x + r, 80), kWhite) << "roller at " << x << ", d = " << k.d;
      EXPECT_EQ(c.GetPixel(x - r - 2, 80), kWhite) << "roller at " << x << ", d = " << k.d;
      EXPECT_EQ(c.GetPixel(x + r + 2, 80), kWhite) << "roller at " << x << ", d = " << k.d;
    }
    EXPECT_EQ(InkRunsOnRow(c, 80, 40 + r + 1, 160 - r - 1).size(), 0u) << "nothing between the belt lines";
    for (int y : {80 - r, 80 + r}) EXPECT_NE(c.GetPixel(100, y), kWhite) << "belt, d = " << k.d;
  }
}

}  // namespace
