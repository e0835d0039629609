#pragma once
#include <QPointF>
#include <QRectF>
#include <functional>
#include <vector>

class Canvas;

// Smooth curves for the figures of palette 2, traced in short nearly straight pieces and drawn
// pixel by pixel, so that steep stretches never leave gaps.
namespace figures {

// A point of a curve for the parameter t. A point with a coordinate that is not a number marks
// the parameter where the curve is undefined (a graph's gap).
using CurvePoint = std::function<QPointF(double t)>;

// How to trace a curve from t0 to t1.
struct CurveTrace {
  double t0 = 0, t1 = 1;
  // The largest step of t: small enough that no turn of the curve hides between three points
  // half a step apart (an eighth of a wave, a fraction of a turn). Steps shrink below it until the
  // curve runs straight, within a third of a pixel, over pieces at most 32 pixels long.
  double step = 0.01;
  // An upper bound of the curve's speed (pixels per unit of t), used to stride quickly over the
  // parts far from the clip; infinity when unknown (the curve then steps by `step` there).
  double speed = 0;
  // Only the parts inside this rectangle are drawn; a stretch ends exactly at its edge.
  QRectF clip;
};

// The stretches of the curve inside the clip, each a chain of whole pixels, one step apart, that
// follow the curve (straight runs of pixels given by their ends): strokes through them are
// connected and as smooth as the pixels allow. Undefined points and the clip's edge end a
// stretch; a stretch never jumps a gap. The work is bounded whatever the curve.
std::vector<std::vector<QPointF>> TraceCurve(const CurvePoint& curve, const CurveTrace& trace);

// The part [u0, u1] (fractions of the way from a to b) of the segment inside `r`; false when it
// misses the rectangle.
bool SegmentInside(QPointF a, QPointF b, const QRectF& r, double& u0, double& u1);

// Strokes every traced stretch in the current colour, style and width (a dash runs on along each).
void StrokeCurve(Canvas& canvas, const CurvePoint& curve, const CurveTrace& trace);

// The picture's rectangle grown by what a stroke of the current width can reach beyond it: the
// clip of curves that are drawn whole.
QRectF PictureReach(const Canvas& canvas);

}  // namespace figures
