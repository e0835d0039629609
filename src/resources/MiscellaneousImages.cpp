// Pictures of the buttons of palette 3 — 综合图形: everyday objects and people.
#include <cmath>

#include "resources/PaletteMotifs.h"

namespace Pictures {
namespace {

void Escalator(Pad& d) {
  d.Pen().Fill(Metal);
  d.Polygon({{2, 21}, {2, 18}, {6, 18}, {6, 15}, {10, 15}, {10, 12}, {14, 12}, {14, 9}, {18, 9}, {18, 6},
             {21, 6}, {21, 21}});
  d.Pen(1.2, Blue).Line(2, 14, 19, 2);
}

void TickerTape(Pad& d) {
  d.Pen().Fill(Paper).Rect(1, 8, 21, 7);
  d.Pen();
  const qreal xs[] = {3, 5.5, 9, 13.5, 19};
  for (qreal x : xs) d.Dot(x, 11.5, 0.9);
}

void Caliper(Pad& d) {
  d.Pen().Fill(Metal);
  d.Rect(2, 5, 20, 4);
  d.Polygon({{2, 9}, {6, 9}, {6, 15}, {3, 20}, {2, 20}});
  d.Fill(Metal.darker(112)).Rect(10, 4, 7, 7);
  d.Fill(Metal.darker(112)).Polygon({{10, 11}, {14, 11}, {11, 20}, {10, 20}});
  d.Pen(1, Ink);
  for (int x = 7; x <= 21; x += 2) d.Line(x, 5, x, 6);
  d.Pen(1, Ink).Line(11, 11, 16, 11);
}

void Sedan(Pad& d) {
  d.Pen().Fill(Tint);
  d.Polygon({{1, 16}, {1, 12}, {5, 11}, {8, 6}, {16, 6}, {19, 11}, {22, 12}, {22, 16}});
  d.Pen().Fill(Paper).Polygon({{7, 11}, {9, 8}, {15, 8}, {17, 11}});
  d.Pen().Line(12, 8, 12, 11);
  Wheel(d, 6, 16.5, 2.8);
  Wheel(d, 17, 16.5, 2.8);
}

void Truck(Pad& d) {
  d.Pen().Fill(Wood).Rect(1, 5, 13, 10);
  d.Pen().Fill(Tint).Polygon({{14, 8}, {19, 8}, {22, 12}, {22, 15}, {14, 15}});
  d.Pen().Fill(Paper).Polygon({{16, 9.5}, {18.5, 9.5}, {20.5, 12}, {16, 12}});
  Wheel(d, 5, 17, 2.6);
  Wheel(d, 18, 17, 2.6);
}

void PersonStanding(Pad& d) { Person(d, Standing(11.5)); }

void PersonSitting(Pad& d) {
  d.Pen(1.2, Grey);
  d.Line(11, 15, 19, 15);
  d.Line(18, 15, 18, 21);
  d.Line(12, 15, 12, 21);
  Person(d, {{16, 4}, {16, 7}, {16, 14}, {11, 12}, {12, 13}, {9, 14}, {9, 21}, {8, 14.5}, {8, 21}});
}

void PersonWalking(Pad& d) {
  Person(d, {{12, 3.5}, {12, 6.5}, {11.5, 13.5}, {8, 12}, {15, 12}, {13.5, 17}, {16, 21}, {10, 17}, {7, 21},
             {10, 9.5}, {13.8, 9.5}});
}

void PersonRunning(Pad& d) {
  Person(d, {{15, 3.5}, {14, 6.5}, {11, 13}, {8, 9}, {18.5, 8.5}, {15, 15}, {14, 20}, {7, 15}, {4, 19},
             {10, 9}, {17, 10.5}});
}

void PersonPulling(Pad& d) {
  d.Pen().Fill(Wood).Rect(16, 14, 6, 6);
  d.Pen(1, Grey).Line(1, 21, 23, 21);
  d.Pen().Line(9, 10, 16, 16);
  Person(d, {{5, 5}, {6, 8}, {5, 14}, {9, 10}, {9, 10.5}, {8, 17}, {9, 20.5}, {5, 17.5}, {3, 20.5}});
}

void PersonPushing(Pad& d) {
  d.Pen().Fill(Wood).Rect(15, 12, 7, 8);
  d.Pen(1, Grey).Line(1, 21, 23, 21);
  Person(d, {{11, 4.5}, {10, 7.5}, {6.5, 13}, {15, 12}, {15, 14}, {8.5, 17}, {8, 20.5}, {4, 16}, {2, 20.5},
             {13, 9}, {12.5, 11}});
}

void PersonCycling(Pad& d) {
  d.Pen().NoFill();
  d.Circle(5, 17, 4);
  d.Circle(18, 17, 4);
  d.Polyline({{5, 17}, {9, 11}, {16, 11}, {18, 17}});
  d.Line(9, 11, 11.5, 17);
  d.Line(11.5, 17, 16, 11);
  Person(d, {{12.5, 2.5}, {11.5, 5}, {9, 10}, {16, 9}, {16, 9.5}, {12.5, 13}, {11.5, 17}, {11, 13}, {12, 16.5},
             {14, 7}, {14, 7.2}});
}

void SpringBalance(Pad& d) {
  d.Pen().NoFill().Circle(11.5, 2.5, 1.6);
  d.Pen().Fill(Metal).RoundRect(8, 4, 7, 14, 1.5);
  d.Pen(1, Grey);
  for (int y = 6; y <= 15; y += 2) d.Line(12, y, 14, y);
  d.Pen(1, Red).Line(9, 12, 12, 12);
  d.Pen().Line(11.5, 18, 11.5, 19.5);
  d.NoFill().Arc(11.5, 21, 1.5, 1.5, 90, 270);
}

constexpr PaletteEntry kEntries[] = {
    {152, &Escalator},   {153, &TickerTape},  {154, &Caliper},      {155, &Sedan},
    {156, &Truck},        {157, &PersonStanding}, {158, &PersonSitting}, {159, &PersonWalking}, {160, &PersonRunning},
    {161, &PersonPulling}, {162, &PersonPushing}, {163, &PersonCycling}, {164, &SpringBalance},
};

}  // namespace

std::span<const PaletteEntry> MiscellaneousPictures() { return kEntries; }

}  // namespace Pictures
