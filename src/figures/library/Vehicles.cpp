// Vehicles seen from the side: a car and a truck standing on the bottom of the box, facing the
// drag's horizontal direction. Bodies are closed outlines whose interior obeys the fill style,
// cut away over the wheels; wheels have solid hubs.
#include "figures/Canvas.h"
#include "figures/FigureSteps.h"
#include "figures/library/FigureFamilies.h"
#include "figures/library/SceneParts.h"

namespace {

using figures::DesignGrid;
using figures::DesignPath;

constexpr double kHalfTurn = figures::kPi;

// A wheel on the ground line of the design and the arch cut into the body above it.
struct Axle {
  double x;       // design units from the rear
  double radius;  // of the wheel
};

// The body's bottom edge from the front (x = front) back to the rear (x = rear) at height y,
// cut away over each wheel (axles listed from the front) by an arch a little larger than it.
void BottomEdge(DesignPath& body, double front, double rear, double y, std::initializer_list<Axle> axles) {
  body.To(front, y);
  for (const Axle& a : axles) body.Arc(a.x, y, a.radius + 3, 0, kHalfTurn);
  body.To(rear, y);
}

void DrawWheels(Canvas& canvas, const DesignGrid& grid, double y, std::initializer_list<Axle> axles) {
  for (const Axle& a : axles) figures::Wheel(canvas, grid, a.x, y, a.radius, a.radius * 0.3);
}

// A saloon car: a long body with the bonnet in front and the boot behind, the roof set back a
// little from the middle, two side windows, two wheels.
void DrawCar(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!figures::UsableDrag(g)) return;
  const DesignGrid grid(figures::BoxOf(g), 240, 100);
  if (grid.Empty()) return;
  const std::initializer_list<Axle> axles = {{186, 17}, {52, 17}};
  DesignPath body(grid, {{8, 84}, {4, 78}, {4, 56}, {14, 50}, {58, 48}, {82, 20}, {136, 20}, {168, 48},
                         {226, 54}, {236, 60}, {238, 78}});
  BottomEdge(body, 232, 8, 84, axles);
  body.Body(canvas);
  if (!grid.Sparse(canvas.DrawWidth)) {
    DesignPath(grid, {{64, 46}, {85, 25}, {106, 25}, {106, 46}, {64, 46}}).Stroke(canvas);
    DesignPath(grid, {{112, 46}, {112, 25}, {134, 25}, {158, 46}, {112, 46}}).Stroke(canvas);
    DesignPath(grid, {{109, 46}, {109, 78}}).Stroke(canvas);  // the door seam
  }
  DrawWheels(canvas, grid, 83, axles);
}

// A truck: the cab in front, the cargo box behind it on the chassis, one wheel under the cab and
// two under the cargo box.
void DrawTruck(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!figures::UsableDrag(g)) return;
  const DesignGrid grid(figures::BoxOf(g), 260, 100);
  if (grid.Empty()) return;
  const std::initializer_list<Axle> axles = {{212, 13}, {86, 13}, {46, 13}};
  DesignPath chassis(grid, {{4, 66}, {172, 66}, {172, 28}, {220, 28}, {240, 52}, {254, 56}});
  BottomEdge(chassis, 256, 4, 86, axles);
  chassis.Body(canvas);
  DesignPath(grid, {{4, 6}, {168, 6}, {168, 66}, {4, 66}}).Body(canvas);
  if (!grid.Sparse(canvas.DrawWidth))
    DesignPath(grid, {{180, 34}, {216, 34}, {232, 54}, {180, 54}, {180, 34}}).Stroke(canvas);
  DrawWheels(canvas, grid, 87, axles);
}

using K = FigureKind;

const ToolFigure kVehicles[] = {
    {ToolId::Car, K::Box, DrawCar, kReadsNothing, true},
    {ToolId::Truck, K::Box, DrawTruck, kReadsNothing, true},
};

}  // namespace

std::span<const ToolFigure> VehicleFigures() { return kVehicles; }
