// Everyday objects of mechanics problems: an escalator, a ticker tape of an evenly accelerated
// motion, a vernier caliper and a spring balance.
#include <algorithm>
#include <cmath>
#include <vector>

#include "figures/Canvas.h"
#include "figures/DrawingStateScope.h"
#include "figures/FigureGeometry.h"
#include "figures/FigureSteps.h"
#include "figures/library/FigureFamilies.h"
#include "figures/library/SceneParts.h"

namespace {

using figures::BoxOf;
using figures::ClosedBody;
using figures::CountParameter;
using figures::DesignGrid;
using figures::DesignPath;
using figures::FigureBox;
using figures::WithinReach;
using figures::StandingFrame;
using figures::UsableDrag;

// The smallest gap between two parallel strokes that keeps them apart under the pen.
double Apart(const Canvas& canvas) { return 2.0 * std::max(1, canvas.DrawWidth) + 1; }

// An escalator of N steps rising across the box in the drag's direction: the steps on a slanted
// truss, and a handrail parallel to the slope above the steps' edges, on a post at each end. At
// small sizes it shows as many steps as the pen can draw apart.
void DrawEscalator(Canvas& canvas, const DragGeometry& g, const ParameterValues& params) {
  if (!UsableDrag(g)) return;
  const FigureBox b = BoxOf(g);
  const double W = b.Width(), H = b.Height();
  if (!(W >= 4 && H >= 4) || !WithinReach(b)) return;
  const double rail = 0.22 * H;  // the handrail's height over the steps' edges
  const double least = Apart(canvas);
  const int fit = static_cast<int>(std::min(W / least, (H - rail) / least - 0.5));
  const int n = std::max(1, std::min(CountParameter(params.SP), fit));
  const double run = W / n;
  const double railEnd = std::min(run / 2, W / 5);  // the handrail's ends, in from the box's sides
  const double rise = (H - rail) / (1 + n - railEnd / run);
  // A point `forward` pixels from the box's trailing side and `up` pixels over its bottom.
  auto at = [&](double forward, double up) { return b.Facing(forward / W, (H - up) / H); };
  std::vector<QPointF> body{at(0, 0)};
  for (int i = 0; i < n; ++i) {
    body.push_back(at(i * run, (i + 1) * rise));
    body.push_back(at((i + 1) * run, (i + 1) * rise));
  }
  const double truss = std::min(1.2 * rise, 0.8 * n * rise);
  body.push_back(at(W, n * rise - truss));
  body.push_back(at(truss / rise * run, 0));
  ClosedBody(canvas, body);
  // The handrail and its posts down to the treads beneath its ends.
  auto railAt = [&](double x) { return at(x, rise + x / run * rise + rail); };
  auto treadAt = [&](double x) { return at(x, (std::floor(x / run) + 1) * rise); };
  const QPointF low = railAt(railEnd), high = railAt(W - railEnd);
  figures::StrokePath(canvas, {treadAt(railEnd), low, high, treadAt(W - railEnd)});
}

// A paper tape along the box's longer side with N dots on its middle line, the gaps between
// them growing by the same amount each time in the drag's direction (across: its horizontal
// direction; upright: its vertical one).
void DrawTickerTape(Canvas& canvas, const DragGeometry& g, const ParameterValues& params) {
  if (!UsableDrag(g)) return;
  const FigureBox b = BoxOf(g);
  const bool across = b.Width() >= b.Height();
  const int pen = std::max(1, canvas.DrawWidth);
  const double length = b.Larger();
  const double breadth = std::min(b.Smaller(), std::max(length / 6, 6.0 + 4 * pen));
  if (!(length >= 4) || !WithinReach(b)) return;
  const double forward = across ? b.Forward() : (g.CurrentPoint.y < g.PressPoint.y ? -1 : 1);
  // A point `s` pixels along the tape from the end where the dots start, `t` across it.
  auto at = [&](double s, double t) {
    const double from = forward > 0 ? s : length - s;
    return across ? QPointF(b.left + from, b.CentreY() + t) : QPointF(b.CentreX() + t, b.top + from);
  };
  const double h = breadth / 2;
  if (h >= 0.5)
    ClosedBody(canvas, {at(0, -h), at(length, -h), at(length, h), at(0, h)});
  else  // a box without breadth: the tape seen edge on
    figures::StrokePath(canvas, {at(0, 0), at(length, 0)});
  const int n = CountParameter(params.SP);
  // Dots that grow with the pen, from a margin at each end; gaps of 1, 2, 3, ... (n - 1) units.
  double r = std::clamp(0.1 * breadth, 1.0, 3.0) + 0.5 * (pen - 1);
  const double margin = std::min(std::max(0.06 * length, pen + 1 + r), length / 2);
  const double unit = n > 1 ? std::max(0.0, length - 2 * margin) / (n * (n - 1) / 2.0) : 0;
  if (n > 1) r = std::min(r, std::max(1.0, 0.3 * unit));  // the dots stay apart over the first gap
  for (int k = 0; k < n; ++k) figures::SolidDot(canvas, at(margin + unit * k * (k + 1) / 2.0, 0), r);
}

// A spring hanging from `top` to `bottom` (design units) about the upright line x: a zigzag
// between short straight ends, with as many coils as stay apart under the pen, five at most.
void Spring(Canvas& canvas, const DesignGrid& grid, double x, double top, double bottom, double half) {
  const double from = top + 2, to = bottom - 2;
  const int coils = std::clamp(static_cast<int>((to - from) * grid.Unit() / Apart(canvas)), 0, 5);
  DesignPath spring(grid);
  spring.To(x, top).To(x, from);
  for (int i = 0; i < 2 * coils; ++i)
    spring.To(x + (i % 2 ? half : -half), from + (to - from) * (i + 0.5) / (2 * coils));
  spring.To(x, to).To(x, bottom).Stroke(canvas);
}

// The lines of a scale standing on the scale line at height y, `dir` 1 downwards or -1 upwards:
// line i at x0 + i * spacing for i = 0..count, `len` pixels long, half as long again every 5th
// line (and the vernier's last) and, on the main scale, twice as long every 10th. Lines too close
// for the pen are left out by fives, then by tens, then all.
void ScaleLines(Canvas& canvas, double x0, double spacing, int count, double y, double len, bool mainScale,
                double dir) {
  int step = 1;
  while (step <= 10 && spacing * step < Apart(canvas)) step *= step == 1 ? 5 : 2;
  for (int i = 0; step <= 10 && i <= count; i += step) {
    double l = len;
    if (mainScale && i % 10 == 0)
      l = 2 * len;
    else if (i % 5 == 0 || (!mainScale && i == count))
      l = 1.5 * len;
    const double x = x0 + i * spacing;
    canvas.Line(x, y, x, y + dir * l);
  }
}

// Where the parts of a caliper lie in its frame (pixels).
struct CaliperLayout {
  int divisions = 0;  // the vernier's N
  int mm = 0;         // main-scale lines after the zero
  double pitch = 0;   // one millimetre
  double left = 0, right = 0, zero = 0, slide = 0, sliderLeft = 0, sliderRight = 0, jaw = 0, prong = 0;
  double top = 0, band = 0, beamTop = 0, scaleLine = 0, beamBottom = 0, sliderBottom = 0, jawBend = 0;
  double tip = 0;
};

CaliperLayout CaliperIn(const FigureBox& f, int n) {
  CaliperLayout c;
  const double W = f.Width(), H = f.Height();
  c.divisions = n;
  c.left = f.left, c.right = f.right, c.top = f.top, c.tip = f.bottom;
  c.band = f.top + 0.16 * H, c.beamTop = f.top + 0.22 * H, c.scaleLine = f.top + 0.42 * H;
  c.beamBottom = f.top + 0.52 * H, c.sliderBottom = f.top + 0.64 * H, c.jawBend = f.top + 0.78 * H;
  c.zero = f.left + 0.08 * W, c.jaw = 0.07 * W, c.prong = 0.04 * W;
  // Open by a few whole millimetres and j/N, so that the vernier's j-th line meets a main line.
  const int whole = std::max(2, static_cast<int>(std::lround(0.12 * (n - 1))));
  const int j = std::max(1, static_cast<int>(std::lround(0.3 * n)));
  const double reading = whole + static_cast<double>(j) / n;
  c.mm = static_cast<int>(std::ceil(reading + (n - 1) + std::max(3.0, 0.2 * (n - 1))));
  c.pitch = (f.left + 0.97 * W - c.zero) / c.mm;
  c.slide = c.zero + reading * c.pitch;
  const double margin = std::min(0.6 * reading * c.pitch, std::max(3.0, 0.03 * W));
  c.sliderLeft = c.slide - margin, c.sliderRight = c.slide + (n - 1) * c.pitch + margin;
  return c;
}

// The caliper in full: the beam with the fixed jaws (the small upper one for inside measures) cut
// where the slider's plate covers it; the slider's plate with the vernier and its jaw, its band
// along the beam's top edge with the small jaw, and its ends across the beam's face; the scales.
void FullCaliper(Canvas& canvas, const CaliperLayout& c) {
  ClosedBody(canvas, {{c.left, c.beamTop}, {c.zero - c.prong, c.beamTop}, {c.zero - c.prong, c.top},
                      {c.zero, c.beamTop}, {c.right, c.beamTop}, {c.right, c.beamBottom},
                      {c.sliderRight, c.beamBottom}, {c.sliderRight, c.scaleLine},
                      {c.sliderLeft, c.scaleLine}, {c.sliderLeft, c.beamBottom}, {c.zero, c.beamBottom},
                      {c.zero, c.tip}, {c.left, c.jawBend}});
  ClosedBody(canvas, {{c.sliderLeft, c.scaleLine}, {c.sliderRight, c.scaleLine},
                      {c.sliderRight, c.sliderBottom}, {c.slide + c.jaw, c.sliderBottom},
                      {c.slide + c.jaw, c.jawBend}, {c.slide, c.tip}, {c.slide, c.sliderBottom},
                      {c.sliderLeft, c.sliderBottom}});
  ClosedBody(canvas, {{c.sliderLeft, c.beamTop}, {c.sliderLeft, c.top}, {c.sliderLeft + c.prong, c.band},
                      {c.sliderRight, c.band}, {c.sliderRight, c.beamTop}});
  canvas.Line(c.sliderLeft, c.beamTop, c.sliderLeft, c.scaleLine);
  canvas.Line(c.sliderRight, c.beamTop, c.sliderRight, c.scaleLine);
  const double tick = 0.07 * (c.tip - c.top), n = c.divisions;
  ScaleLines(canvas, c.zero, c.pitch, c.mm, c.scaleLine, tick, true, -1);
  ScaleLines(canvas, c.slide, c.pitch * (n - 1) / n, c.divisions, c.scaleLine, tick, false, 1);
}

// A vernier caliper seen from the front, reading from left to right: the beam with its
// millimetre scale (lines longer every 5 and 10 mm), the fixed jaws at its left end, and the
// slider with its jaw and a vernier of N divisions (2..100) spanning N - 1 mm. Too small for the
// pen, it becomes the outline of the beam and the two jaws, then three strokes.
void DrawVernierCaliper(Canvas& canvas, const DragGeometry& g, const ParameterValues& params) {
  if (!UsableDrag(g)) return;
  const FigureBox f = StandingFrame(BoxOf(g), 2.4, 2);
  if (!(f.Width() >= 8 && f.Height() >= 4) || !WithinReach(f)) return;
  const CaliperLayout c = CaliperIn(f, CountParameter(params.SP, 2, 100));
  const double pen = std::max(1, canvas.DrawWidth);
  if (f.Height() >= 8 * pen) {
    FullCaliper(canvas, c);
  } else if (f.Height() >= 5 * pen) {
    ClosedBody(canvas, {{c.left, c.beamTop}, {c.right, c.beamTop}, {c.right, c.beamBottom},
                        {c.slide + c.jaw, c.beamBottom}, {c.slide + c.jaw, c.jawBend}, {c.slide, c.tip},
                        {c.slide, c.beamBottom}, {c.zero, c.beamBottom}, {c.zero, c.tip},
                        {c.left, c.jawBend}});
  } else {
    const double mid = (c.beamTop + c.beamBottom) / 2;
    canvas.Line(c.left, mid, c.right, mid);
    canvas.Line(c.zero, mid, c.zero, c.tip);
    canvas.Line(c.slide, mid, c.slide, c.tip);
  }
}

// An upright spring balance: a ring on top, the case, a scale of ten divisions along its right
// side, the spring inside ending at the pointer, the rod out of the bottom ending in a hook.
void DrawSpringBalance(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!UsableDrag(g)) return;
  FigureBox box = BoxOf(g);
  box.facingLeft = false;  // the scale stays on the right
  const DesignGrid grid(box, 40, 100, 1.15);
  if (grid.Empty()) return;
  {
    DrawingStateScope keep(canvas);
    canvas.FillStyle = Canvas::kFillTransparent;  // a ring, not a disc
    const QPointF ring = grid(20, 6);
    canvas.Circle(ring.x(), ring.y(), 5 * grid.Unit());
  }
  DesignPath(grid, {{20, 11}, {20, 16}}).Stroke(canvas);
  DesignPath(grid, {{6, 16}, {34, 16}, {34, 82}, {6, 82}}).Body(canvas);
  // Too narrow for the pen: the case, the ring and the hook only.
  const bool inside = grid.frame.Width() >= 10 * std::max(1, canvas.DrawWidth);
  const double first = 24, division = 5.2, pointer = inside ? first + 4 * division : 82;
  const int every = division * grid.Unit() >= Apart(canvas) ? 1 : 5;
  for (int i = 0; inside && i <= 10; i += every) {
    const double y = first + i * division;
    DesignPath(grid, {{i % 5 ? 29.0 : 26.0, y}, {34, y}}).Stroke(canvas);
  }
  if (inside) {
    Spring(canvas, grid, 20, 16, pointer, 3.5);
    DesignPath(grid, {{20, pointer}, {28, pointer}}).Stroke(canvas);
  }
  DesignPath hook(grid, {{20, pointer}, {20, 91}});
  hook.Arc(16, 91, 4, 0, -figures::kPi).To(12, 87).Stroke(canvas);
}

using K = FigureKind;

const ToolFigure kEverydayObjects[] = {
    {ToolId::Escalator, K::Box, DrawEscalator, kReadsFirst, true},
    {ToolId::TickerTape, K::Box, DrawTickerTape, kReadsFirst, true},
    {ToolId::VernierCaliper, K::Box, DrawVernierCaliper, kReadsFirst, false},
    {ToolId::SpringBalance, K::Box, DrawSpringBalance, kReadsNothing, false},
};

}  // namespace

std::span<const ToolFigure> EverydayObjectFigures() { return kEverydayObjects; }
