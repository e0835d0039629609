// People as textbooks draw them, standing on the bottom of the box and facing the drag's
// horizontal direction: standing, sitting on a stool, walking, running, pulling a box by a rope,
// pushing a box and riding a bicycle. Things the person uses (the stool's seat, the box, the
// wheels) are closed bodies whose interior obeys the fill style.
#include "figures/Canvas.h"
#include "figures/library/FigureFamilies.h"
#include "figures/library/SceneParts.h"

namespace {

using figures::DesignGrid;
using figures::DesignPath;

struct Limb {
  QPointF bend;  // elbow or knee
  QPointF end;   // hand or foot
};

// A person as textbooks draw one: a head circle whose interior obeys the fill style, the body and
// the limbs as strokes in the current line style. The pose gives the joints in design units for a
// person facing right; the grid mirrors it for a leftward drag.
struct PersonPose {
  QPointF head;
  double headRadius = 9;
  QPointF neck, shoulder, hip;
  Limb nearArm, farArm, nearLeg, farLeg;
};

void DrawLimb(Canvas& canvas, const DesignGrid& grid, QPointF from, const Limb& limb) {
  DesignPath(grid, {from, limb.bend, limb.end}).Stroke(canvas);
}

void DrawPerson(Canvas& canvas, const DesignGrid& grid, const PersonPose& pose) {
  DrawLimb(canvas, grid, pose.shoulder, pose.farArm);
  DrawLimb(canvas, grid, pose.hip, pose.farLeg);
  DesignPath(grid, {pose.neck, pose.hip}).Stroke(canvas);
  DrawLimb(canvas, grid, pose.hip, pose.nearLeg);
  DrawLimb(canvas, grid, pose.shoulder, pose.nearArm);
  const QPointF head = grid(pose.head);
  canvas.Circle(head.x(), head.y(), pose.headRadius * grid.Unit());
}

// Each scene is designed 100 units tall and `Width` units wide.
template <int Width, void (*Scene)(Canvas&, const DesignGrid&)>
void DrawScene(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!figures::UsableDrag(g)) return;
  const DesignGrid grid(figures::BoxOf(g), Width, 100);
  if (grid.Empty()) return;
  Scene(canvas, grid);
}

// The ground under a person and what they move.
void Ground(Canvas& canvas, const DesignGrid& grid) {
  DesignPath(grid, {{0, 100}, {grid.w, 100}}).Stroke(canvas);
}

// A box standing on the ground from x0 to x1, `top` units down from the top of the design.
void Crate(Canvas& canvas, const DesignGrid& grid, double x0, double x1, double top) {
  DesignPath(grid, {{x0, top}, {x1, top}, {x1, 100}, {x0, 100}}).Body(canvas);
}

void Standing(Canvas& canvas, const DesignGrid& grid) {
  const PersonPose pose{{22, 10}, 9, {22, 19}, {22, 25}, {22, 57},
                        {{14, 40}, {10, 55}}, {{30, 40}, {34, 55}},
                        {{17, 78}, {13, 100}}, {{27, 78}, {31, 100}}};
  DrawPerson(canvas, grid, pose);
}

void Sitting(Canvas& canvas, const DesignGrid& grid) {
  DesignPath(grid, {{16, 67}, {12, 100}}).Stroke(canvas);  // the stool's legs
  DesignPath(grid, {{38, 67}, {42, 100}}).Stroke(canvas);
  DesignPath(grid, {{12, 63}, {42, 63}, {42, 67}, {12, 67}}).Body(canvas);  // its seat
  const PersonPose pose{{27, 11}, 9, {26, 20}, {26, 26}, {24, 60},
                        {{34, 44}, {46, 55}}, {{31, 45}, {42, 57}},
                        {{54, 58}, {56, 100}}, {{49, 60}, {49, 100}}};
  DrawPerson(canvas, grid, pose);
}

void Walking(Canvas& canvas, const DesignGrid& grid) {
  const PersonPose pose{{32, 10}, 9, {30, 19}, {29.5, 25}, {27, 56},
                        {{22, 40}, {17, 52}}, {{35, 40}, {41, 50}},
                        {{35, 77}, {44, 100}}, {{22, 78}, {12, 98}}};
  DrawPerson(canvas, grid, pose);
}

void Running(Canvas& canvas, const DesignGrid& grid) {
  const PersonPose pose{{58, 11}, 9, {53, 19}, {51, 25}, {36, 54},
                        {{41, 40}, {31, 42}}, {{62, 40}, {70, 30}},
                        {{56, 64}, {50, 90}}, {{28, 77}, {12, 100}}};
  DrawPerson(canvas, grid, pose);
}

// Facing the box he pulls towards himself, leaning back, the rope running down to the box.
void Pulling(Canvas& canvas, const DesignGrid& grid) {
  Ground(canvas, grid);
  Crate(canvas, grid, 100, 146, 58);
  DesignPath(grid, {{50, 45}, {100, 66}}).Stroke(canvas);
  const PersonPose pose{{22, 11}, 9, {25, 20}, {26.5, 26}, {34, 57},
                        {{38, 38}, {50, 44}}, {{37, 40}, {49, 46}},
                        {{48, 76}, {58, 100}}, {{30, 78}, {22, 100}}};
  DrawPerson(canvas, grid, pose);
}

// Leaning into the box, both hands on its near side.
void Pushing(Canvas& canvas, const DesignGrid& grid) {
  Ground(canvas, grid);
  Crate(canvas, grid, 90, 130, 50);
  const PersonPose pose{{73, 20}, 9, {66, 27}, {64, 31}, {40, 56},
                        {{77, 40}, {90, 55}}, {{76, 42}, {90, 60}},
                        {{57, 73}, {54, 100}}, {{25, 80}, {12, 100}}};
  DrawPerson(canvas, grid, pose);
}

// A bicycle (two wheels, a diamond frame, handlebar, saddle and cranks) and its rider, one
// pedal down in front, the other up.
void Cycling(Canvas& canvas, const DesignGrid& grid) {
  const QPointF rear(23, 79), front(97, 79), crank(57, 80), seat(46, 52), head(86, 52);
  figures::Wheel(canvas, grid, rear.x(), rear.y(), 21, 2.5);
  figures::Wheel(canvas, grid, front.x(), front.y(), 21, 2.5);
  DesignPath(grid, {rear, seat, head, front}).Stroke(canvas);
  DesignPath(grid, {rear, crank, head}).Stroke(canvas);
  DesignPath(grid, {seat, crank}).Stroke(canvas);
  DesignPath(grid, {head, {84, 43}, {78, 43}}).Stroke(canvas);
  if (!grid.Sparse(canvas.DrawWidth)) {
    DesignPath(grid, {{40, 51}, {52, 51}}).Stroke(canvas);
    DesignPath(grid, {{60, 71}, crank, {54, 89}}).Stroke(canvas);
  }
  const PersonPose pose{{69, 12}, 9, {63, 21}, {62, 25}, {45, 48},
                        {{72, 33}, {78, 43}}, {{71, 34}, {77, 43}},
                        {{63.5, 65}, {54, 89}}, {{70, 47}, {60, 71}}};
  DrawPerson(canvas, grid, pose);
}

using K = FigureKind;

const ToolFigure kPeople[] = {
    {ToolId::StandingPerson, K::Box, DrawScene<44, Standing>, kReadsNothing, true},
    {ToolId::SittingPerson, K::Box, DrawScene<64, Sitting>, kReadsNothing, true},
    {ToolId::WalkingPerson, K::Box, DrawScene<56, Walking>, kReadsNothing, true},
    {ToolId::RunningPerson, K::Box, DrawScene<78, Running>, kReadsNothing, true},
    {ToolId::PullingPerson, K::Box, DrawScene<150, Pulling>, kReadsNothing, true},
    {ToolId::PushingPerson, K::Box, DrawScene<130, Pushing>, kReadsNothing, true},
    {ToolId::Cyclist, K::Box, DrawScene<120, Cycling>, kReadsNothing, true},
};

}  // namespace

std::span<const ToolFigure> PeopleFigures() { return kPeople; }
