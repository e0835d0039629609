#pragma once
#include <QPointF>
#include <vector>

// The outlines of round bodies (ellipses, lenses) as chords that follow the arc closely, however
// large the body.
namespace figures {

// How far a chord may stray from the curve it stands for, in pixels.
inline constexpr double kCurveFlatness = 0.3;

// The number of chords (4 to 4096) that follow an arc of the radius turning through `sweep`
// radians to within a third of a pixel.
int FlatPieces(double radius, double sweep);

// Points on the ellipse arc about (cx, cy) with semi-axes rx, ry from angle a0 to a1 (radians, as
// in ArcPoints), as few as keep the arc within a third of a pixel of the chords between them
// (4 to 4096 points): outlines of round bodies at any size.
std::vector<QPointF> SmoothArc(double cx, double cy, double rx, double ry, double a0, double a1);

}  // namespace figures
