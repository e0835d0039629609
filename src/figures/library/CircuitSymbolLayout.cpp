#include "figures/library/CircuitSymbolLayout.h"

#include <algorithm>
#include <cmath>

#include "figures/Canvas.h"
#include "figures/DrawingStateScope.h"
#include "figures/FigureGeometry.h"

namespace figures::circuit {

std::optional<SymbolLayout> SymbolLayoutOf(const DragGeometry& g) {
  if (!WithinReach(g)) return std::nullopt;
  SymbolLayout s;
  s.frame = FrameOf(g);
  if (!(s.frame.length > 0) || !std::isfinite(s.frame.length)) return std::nullopt;
  // Above the segment: the frame's left is up for a rightward drag, down for a leftward one.
  s.side = s.frame.along.x() < 0 ? -1 : 1;
  const SymbolSpan span = SymbolSpanOf(s.frame.length);
  s.bodyStart = span.bodyStart;
  s.bodyEnd = span.bodyEnd;
  return s;
}

void Leads(Canvas& canvas, const SymbolLayout& s, double from, double to) {
  const QPointF a = s.At(from, 0), b = s.At(to, 0);
  canvas.Line(s.frame.start.x(), s.frame.start.y(), a.x(), a.y());
  canvas.Line(b.x(), b.y(), s.frame.end.x(), s.frame.end.y());
}

void LocalLine(Canvas& canvas, const SymbolLayout& s, Local a, Local b) {
  const QPointF p = s.At(a.x(), a.y()), q = s.At(b.x(), b.y());
  canvas.Line(p.x(), p.y(), q.x(), q.y());
}

namespace {
std::vector<QPointF> OnCanvas(const SymbolLayout& s, const std::vector<Local>& points) {
  std::vector<QPointF> out;
  out.reserve(points.size());
  for (const Local& p : points) out.push_back(s.At(p.x(), p.y()));
  return out;
}
}  // namespace

void LocalPath(Canvas& canvas, const SymbolLayout& s, const std::vector<Local>& points, bool closed) {
  StrokePath(canvas, OnCanvas(s, points), closed);
}

void LocalBody(Canvas& canvas, const SymbolLayout& s, const std::vector<Local>& points) {
  ClosedBody(canvas, OnCanvas(s, points));
}

void Plate(Canvas& canvas, const SymbolLayout& s, double along, double half, int thickness) {
  DrawingStateScope keep(canvas);
  const int pen = std::clamp(canvas.DrawWidth, 1, 64) * std::max(1, thickness);
  canvas.DrawWidth = pen;
  // A wide pen's square caps reach half its width beyond the ends: the plate keeps its length.
  const double cap = (pen - 1) / 2.0;
  const double reach = std::max(0.0, half - cap);
  LocalLine(canvas, s, {along, -reach}, {along, reach});
}

void ResistorBox(Canvas& canvas, const SymbolLayout& s, Local centre, double length) {
  const double a = length / 2, b = length / 6;
  const double x = centre.x(), y = centre.y();
  LocalBody(canvas, s, {{x - a, y - b}, {x + a, y - b}, {x + a, y + b}, {x - a, y + b}});
}

void Terminal(Canvas& canvas, const SymbolLayout& s, Local centre, double r) {
  DrawingStateScope keep(canvas);
  canvas.FillStyle = Canvas::kFillTransparent;
  canvas.DrawStyle = Canvas::kSolid;
  const QPointF c = s.At(centre.x(), centre.y());
  canvas.Circle(c.x(), c.y(), r);
}

double TerminalRadius(double body) { return std::clamp(body / 16, 1.5, 3.5); }

}  // namespace figures::circuit
