#pragma once
// The motifs several palettes' button pictures share (meters, people, wheels, lenses, coils, ...),
// and the palettes' own tables of pictures.
#include <span>

#include "resources/PictureTables.h"

namespace Pictures {

inline constexpr qreal Pi = M_PI;

// A stick figure: head at (hx, hy), body to the hip, arms and legs as given end points.
struct Limbs {
  QPointF head, neck, hip, hand1, hand2, knee1, foot1, knee2, foot2;
  QPointF elbow1{-1, -1}, elbow2{-1, -1};
};

// Lead wires of a two-terminal symbol on the middle row.
void Leads(Pad& d, qreal left, qreal right, qreal y = 12);

// A round meter face with a letter, with leads (symbol form).
void MeterSymbol(Pad& d, char letter);

// A box meter with a dial, a needle and a letter, terminals on top (apparatus form).
void MeterBox(Pad& d, char letter, bool centreZero);

void Person(Pad& d, const Limbs& l);

// A wheel: a rim with a hub.
void Wheel(Pad& d, qreal x, qreal y, qreal r);

// A pair of lens arrowheads on a vertical line: pointing outwards for a converging lens.
void LensSymbol(Pad& d, bool converging);

// Two slim axes meeting at (ox, oy) with arrowheads.
void SmallAxes(Pad& d, qreal ox, qreal oy);

// A coil drawn as a row of loops along the middle row from x1 to x2.
void Loops(Pad& d, qreal x1, qreal x2, int n, qreal y, qreal ry);

// A knife switch on a base board: blade hinged at the left.
void KnifeSwitch(Pad& d, bool twoWay);

// A cylinder of height h standing at (cx, bottom) with radii rx, ry.
void Cylinder(Pad& d, qreal cx, qreal top, qreal bottom, qreal rx, qreal ry);

// A regular polygon of n corners about (cx, cy), first corner straight up.
void Regular(Pad& d, int n, qreal cx, qreal cy, qreal r);

// A 3-D wedge: right-triangle faces joined by depth lines; the slope rises to the right or left.
void Wedge(Pad& d, bool risesRight);

// Radial field lines around a charge; arrows point out or in.
void ChargeField(Pad& d, bool positive);

// A person's stick figure shortcuts.
Limbs Standing(qreal x);

// A palette's pictures by image index.
struct PaletteEntry {
  int index;
  DrawFn draw;
};
std::span<const PaletteEntry> CommonFigurePictures();      // palette 0
std::span<const PaletteEntry> FieldPictures();             // palette 1
std::span<const PaletteEntry> SolidGeometryPictures();     // palette 2
std::span<const PaletteEntry> MiscellaneousPictures();     // palette 3

}  // namespace Pictures
