#include "figures/library/TracedCurves.h"

#include <algorithm>
#include <cmath>

#include "figures/Canvas.h"
#include "figures/FigureGeometry.h"
#include "figures/FigureSteps.h"
#include "figures/Rounding.h"

namespace figures {

namespace {

// The pieces a curve is followed in: at most this long (pixels across or down), and so nearly
// straight that a parabola through their ends and middle strays less than kFlatness from the
// curve. Each piece is then drawn as the two chords through its middle.
constexpr double kLongestPiece = 32;
constexpr double kFlatness = kCurveFlatness;
// Halvings of a step, and bisections for an edge: far below a pixel for any curve a picture holds.
constexpr int kHalvings = 48;
// The most points of a curve one trace computes: a spiral of 200 turns filling the largest
// picture needs about a third of them.
constexpr long kMaxEvaluations = 1L << 20;

bool Defined(QPointF p) { return std::isfinite(p.x()) && std::isfinite(p.y()); }

double Length(QPointF d) { return std::sqrt(d.x() * d.x() + d.y() * d.y()); }

bool Inside(const QRectF& r, QPointF p) {
  return Defined(p) && p.x() >= r.left() && p.x() <= r.right() && p.y() >= r.top() && p.y() <= r.bottom();
}

double Chord(QPointF a, QPointF b) { return std::max(std::fabs(a.x() - b.x()), std::fabs(a.y() - b.y())); }

// The distance of m from the segment from a to b.
double Deviation(QPointF a, QPointF m, QPointF b) {
  const QPointF d = b - a;
  const double len2 = QPointF::dotProduct(d, d);
  const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(m - a, d) / len2, 0.0, 1.0) : 0;
  return Length(a + d * t - m);
}

double DistanceOutside(const QRectF& r, QPointF p) {
  const double dx = std::max({r.left() - p.x(), 0.0, p.x() - r.right()});
  const double dy = std::max({r.top() - p.y(), 0.0, p.y() - r.bottom()});
  return Length(QPointF(dx, dy));
}

bool Crosses(QPointF a, QPointF b, const QRectF& r) {
  double u0, u1;
  return Defined(a) && Defined(b) && SegmentInside(a, b, r, u0, u1);
}

// Walks the curve: short straight pieces inside the clip, long strides far from it, bisection at
// the clip's edge and at the ends of undefined stretches.
class Tracer {
 public:
  Tracer(const CurvePoint& curve, const CurveTrace& trace) : curve_(curve), trace_(trace) {}

  std::vector<std::vector<QPointF>> Run() {
    const CurveTrace& c = trace_;
    if (!std::isfinite(c.t0) || !std::isfinite(c.t1) || !(c.t1 >= c.t0) || !(c.step > 0) ||
        !std::isfinite(c.step) || !c.clip.isValid())
      return {};
    t_ = c.t0;
    p_ = At(t_);
    if (Inside(c.clip, p_)) {
      Add(p_);
      WalkInside();
    }
    while (t_ < c.t1 && evaluations_ < kMaxEvaluations) {
      if (Enter()) WalkInside();
    }
    End();
    return std::move(stretches_);
  }

 private:
  // From an inside point, straight pieces until the curve leaves the clip, becomes undefined or
  // ends; the stretch ends there and t_ is the first parameter beyond it.
  void WalkInside() {
    const CurveTrace& c = trace_;
    double dt = c.step, limit = c.t1;  // limit: the last inside parameter, once known
    bool leaving = false;
    double beyond = c.t1;              // the first parameter after the limit
    while (t_ < limit && evaluations_ < kMaxEvaluations) {
      double h = std::min(dt, limit - t_);
      QPointF q = At(t_ + h);
      if (!leaving && !Inside(c.clip, q)) {
        // The curve leaves between t and t + h: find where, and walk up to there.
        double a = t_, b = t_ + h;
        Narrow(a, b, q);
        leaving = true;
        limit = a;
        beyond = b;
        continue;
      }
      // Halve the step until the piece is short enough and straight within a third of a pixel.
      QPointF m = At(t_ + h / 2);
      int halvings = 0;
      for (; halvings < kHalvings && !Straight(p_, m, q); ++halvings) {
        h *= 0.5;
        q = m;
        m = At(t_ + h / 2);
      }
      if (!Inside(c.clip, q) || !Inside(c.clip, m)) break;
      if (Straight(p_, m, q)) {
        AddPiece(p_, m, q);
      } else {  // a jump: the two sides are not joined
        End();
        Add(q);
      }
      t_ = Advance(t_, h);
      p_ = q;
      dt = halvings == 0 ? std::min(c.step, 2 * h) : h;
    }
    End();
    if (leaving) t_ = std::max(t_, beyond);
    p_ = At(t_);
  }

  // From an outside or undefined point, strides until the curve enters the clip (true, with t_
  // and p_ at the first inside point) or ends.
  bool Enter() {
    const CurveTrace& c = trace_;
    // Far from the clip the curve cannot reach it within half the distance; near it, strides of
    // a few pixels let a crossing show between two samples.
    double h = c.step;
    if (Defined(p_) && std::isfinite(c.speed) && c.speed > 0)
      h = std::max(std::min(h, 4 / c.speed), 0.5 * DistanceOutside(c.clip, p_) / c.speed);
    h = std::min(h, c.t1 - t_);
    double a = t_, b = Advance(t_, h);
    QPointF pa = p_, pb = At(b);
    // A steep curve may cross the clip between two samples: look between them.
    for (int k = 0; k < kHalvings && !Inside(c.clip, pb) && Crosses(pa, pb, c.clip); ++k) {
      const double m = (a + b) / 2;
      const QPointF pm = At(m);
      if (!Defined(pm)) break;
      if (Inside(c.clip, pm) || Crosses(pa, pm, c.clip)) {
        b = m;
        pb = pm;
      } else {
        a = m;
        pa = pm;
      }
    }
    if (!Inside(c.clip, pb)) {
      t_ = Advance(t_, h);
      p_ = At(t_);
      return false;
    }
    Narrow(a, b, pb);  // the first inside point
    t_ = b;
    p_ = pb;
    Add(p_);
    return true;
  }

  // Bisects [a, b], whose ends lie on either side of the clip's edge (or of an undefined
  // stretch's end), down to the edge; `pb` stays the point at b.
  void Narrow(double& a, double& b, QPointF& pb) {
    const bool insideAtB = Inside(trace_.clip, pb);
    for (int k = 0; k < kHalvings; ++k) {
      const double m = (a + b) / 2;
      if (m <= a || m >= b) break;
      const QPointF pm = At(m);
      if (Inside(trace_.clip, pm) == insideAtB) {
        b = m;
        pb = pm;
      } else {
        a = m;
      }
    }
  }

  // t + h, at least the next representable number after t.
  static double Advance(double t, double h) {
    const double n = t + h;
    return n > t ? n : std::nextafter(t, HUGE_VAL);
  }

  QPointF At(double t) {
    ++evaluations_;
    return curve_(t);
  }
  // The piece from a through m to b stays inside and may stand for the curve.
  bool Straight(QPointF a, QPointF m, QPointF b) const {
    return Inside(trace_.clip, m) && Inside(trace_.clip, b) && Chord(a, b) <= kLongestPiece &&
           Deviation(a, m, b) <= kFlatness;
  }

  // The piece from a through m to b joins the stretch as two straight segments (it is straight
  // within a third of a pixel, so the pixels of the chords are those of the curve).
  void AddPiece(QPointF, QPointF m, QPointF b) {
    Add(m);
    Add(b);
  }

  // The pixel of p joins the stretch as its next vertex.
  void Add(QPointF p) {
    const QPointF pixel(RoundHalfEvenReal(p.x()), RoundHalfEvenReal(p.y()));
    if (current_.empty() || current_.back() != pixel) current_.push_back(pixel);
  }
  void End() {
    if (!current_.empty()) stretches_.push_back(std::move(current_));
    current_.clear();
  }

  const CurvePoint& curve_;
  const CurveTrace& trace_;
  long evaluations_ = 0;
  double t_ = 0;
  QPointF p_;
  std::vector<QPointF> current_;
  std::vector<std::vector<QPointF>> stretches_;
};

}  // namespace

bool SegmentInside(QPointF a, QPointF b, const QRectF& r, double& u0, double& u1) {
  u0 = 0;
  u1 = 1;
  const QPointF d = b - a;
  const double p[4] = {-d.x(), d.x(), -d.y(), d.y()};
  const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double u = q[i] / p[i];
    if (p[i] < 0)
      u0 = std::max(u0, u);
    else
      u1 = std::min(u1, u);
  }
  return u0 <= u1;
}

std::vector<std::vector<QPointF>> TraceCurve(const CurvePoint& curve, const CurveTrace& trace) {
  return Tracer(curve, trace).Run();
}

void StrokeCurve(Canvas& canvas, const CurvePoint& curve, const CurveTrace& trace) {
  for (const std::vector<QPointF>& stretch : TraceCurve(curve, trace)) StrokePath(canvas, stretch);
}

QRectF PictureReach(const Canvas& canvas) {
  const double m = StrokeMargin(canvas);
  return QRectF(-m, -m, canvas.Width() + 2 * m, canvas.Height() + 2 * m);
}

}  // namespace figures
