// Circuit symbols along the drag: the same picture at every quarter turn, leads that end exactly
// at the drag's ends so that symbols drawn end to end join, upright letters, and a body that
// follows the drag's length within its bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "figures/FigureDrag.h"
#include "figures/InkComponents.h"

using namespace figtest;

namespace {

struct Symbol {
  int tool;
  bool endsOnAxis;  // both ends of the drag carry the symbol's leads (not its side contacts)
  bool letter;      // an upright letter in the body
};

const Symbol kSymbols[] = {
    {52, true, false}, {53, true, false},  {54, true, false},  {57, true, true},   {58, true, true},
    {59, true, false}, {60, true, false},  {61, true, false},  {62, false, false}, {63, false, false},
    {64, true, false}, {65, true, false},  {66, true, false},  {75, true, false},  {85, true, false},
    {89, true, true},  {96, true, false},
};

std::string Name(const Symbol& s) { return "tool " + std::to_string(s.tool); }

Canvas Drawn(int tool, double x1, double y1, double x2, double y2, int width = 1) {
  Canvas c(400, 400);
  c.DrawWidth = width;
  Draw(c, tool, x1, y1, x2, y2);
  return c;
}

double BodyOf(double length) { return std::min(std::clamp(0.4 * length, 10.0, 60.0), length); }

// Every ink pixel of `a`, taken through `map`, has ink within a pixel in `b`; pixels for which
// `skip` holds are left out on both sides.
::testing::AssertionResult CoveredWithinAPixel(const Canvas& a, const Canvas& b,
                                               const std::function<QPoint(int, int)>& map,
                                               const std::function<bool(int, int)>& skip) {
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      if (a.GetPixel(x, y) == kWhite || skip(x, y)) continue;
      const QPoint m = map(x, y);
      bool found = false;
      for (int dy = -1; dy <= 1 && !found; ++dy)
        for (int dx = -1; dx <= 1 && !found; ++dx) {
          const QRgb p = b.GetPixel(m.x() + dx, m.y() + dy);
          found = p != kWhite && p != Canvas::kNoPixel;
        }
      if (!found) return ::testing::AssertionFailure() << "nothing near the image of (" << x << ", " << y << ")";
    }
  return ::testing::AssertionSuccess();
}

TEST(CircuitSymbols, AVerticalDragDrawsTheHorizontalPictureTurnedAQuarter) {
  for (const Symbol& s : kSymbols) {
    for (double L : {40.0, 100.0, 160.0, 300.0}) {
      for (int width : {1, 2}) {
        // Rightward from (50, 200); downward from (200, 50): (dx, dy) turns into (-dy, dx).
        const Canvas across = Drawn(s.tool, 50, 200, 50 + L, 200, width);
        const Canvas down = Drawn(s.tool, 200, 50, 200, 50 + L, width);
        // A letter stays upright instead of turning: its place in the body is left out.
        const double mask = s.letter ? 0.4 * BodyOf(L) : -1;
        auto skipAcross = [&](int x, int y) { return std::hypot(x - (50 + L / 2), y - 200) < mask; };
        auto skipDown = [&](int x, int y) { return std::hypot(x - 200, y - (50 + L / 2)) < mask; };
        auto turn = [](int x, int y) { return QPoint(200 - (y - 200), 50 + (x - 50)); };
        auto unturn = [](int x, int y) { return QPoint(50 + (y - 50), 200 - (x - 200)); };
        EXPECT_TRUE(CoveredWithinAPixel(across, down, turn, skipAcross)) << Name(s) << " L " << L << " width " << width;
        EXPECT_TRUE(CoveredWithinAPixel(down, across, unturn, skipDown)) << Name(s) << " L " << L << " width " << width;
      }
    }
  }
}

// The extent of the ink along the unit direction u from p: the smallest and largest projection.
std::pair<double, double> ExtentAlong(const Canvas& c, QPointF p, QPointF u) {
  double lo = 1e9, hi = -1e9;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x)
      if (c.GetPixel(x, y) != kWhite) {
        const double d = (x - p.x()) * u.x() + (y - p.y()) * u.y();
        lo = std::min(lo, d);
        hi = std::max(hi, d);
      }
  return {lo, hi};
}

TEST(CircuitSymbols, LeadsEndExactlyAtTheDragsEndsSoSymbolsJoin) {
  struct Chain {
    QPointF p, q, r;  // two symbols drawn end to end: P to Q, then Q to R
  };
  const Chain kChains[] = {
      {{40, 100}, {200, 100}, {360, 100}},  // a row
      {{100, 30}, {100, 190}, {100, 350}},  // a column, downwards
      {{360, 300}, {220, 300}, {80, 300}},  // a row, leftwards
      {{40, 380}, {170, 290}, {300, 200}},  // a slanted line
  };
  for (const Symbol& s : kSymbols) {
    for (const Chain& ch : kChains) {
      const Canvas first = Drawn(s.tool, ch.p.x(), ch.p.y(), ch.q.x(), ch.q.y());
      const Canvas second = Drawn(s.tool, ch.q.x(), ch.q.y(), ch.r.x(), ch.r.y());
      const QPointF d = ch.q - ch.p;
      const double L = std::hypot(d.x(), d.y());
      const QPointF u = d / L;
      // Nothing beyond either end, and ink reaching both ends.
      const auto [lo, hi] = ExtentAlong(first, ch.p, u);
      EXPECT_NEAR(lo, 0, 0.75) << Name(s);
      EXPECT_NEAR(hi, L, 0.75) << Name(s);
      if (!s.endsOnAxis) continue;
      // The shared end pixel belongs to both symbols, and the start pixel to the first.
      EXPECT_TRUE(first.GetPixel(ch.q.x(), ch.q.y()) != kWhite) << Name(s) << " at Q";
      EXPECT_TRUE(second.GetPixel(ch.q.x(), ch.q.y()) != kWhite) << Name(s) << " at Q";
      EXPECT_TRUE(first.GetPixel(ch.p.x(), ch.p.y()) != kWhite) << Name(s) << " at P";
    }
  }
}

// The ink within `radius` of `centre`, as offsets from it.
std::vector<QPoint> InkAround(const Canvas& c, QPoint centre, double radius) {
  std::vector<QPoint> ink;
  const int r = static_cast<int>(radius);
  for (int dy = -r; dy <= r; ++dy)
    for (int dx = -r; dx <= r; ++dx)
      if (std::hypot(dx, dy) < radius && c.GetPixel(centre.x() + dx, centre.y() + dy) != kWhite)
        ink.emplace_back(dx, dy);
  std::sort(ink.begin(), ink.end(), [](QPoint a, QPoint b) { return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x(); });
  return ink;
}

TEST(CircuitSymbols, LettersStayUprightAtEveryAngle) {
  for (int tool : {57, 58, 89}) {
    // Drags of length about 160 through the centre (200, 200) at 0, 90, 180, 215 and 300 degrees.
    const QPointF kDirections[] = {{1, 0}, {0, 1}, {-1, 0}, {-0.8192, -0.5736}, {0.5, -0.866}};
    const Canvas level = Drawn(tool, 120, 200, 280, 200);
    const std::vector<QPoint> upright = InkAround(level, {200, 200}, 24);
    ASSERT_GT(upright.size(), 20u) << tool;
    for (QPointF u : kDirections) {
      const Canvas c = Drawn(tool, 200 - 80 * u.x(), 200 - 80 * u.y(), 200 + 80 * u.x(), 200 + 80 * u.y());
      EXPECT_EQ(InkAround(c, {200, 200}, 24), upright) << tool << " direction " << u.x() << ", " << u.y();
    }
  }
}

TEST(CircuitSymbols, RoundBodiesFollowTheDragWithinTheirBounds) {
  for (int tool : {52, 57, 58, 89}) {
    for (double L : {20.0, 40.0, 100.0, 150.0, 300.0}) {
      const Canvas c = Drawn(tool, 50, 200, 50 + L, 200);
      const auto [lo, hi] = ExtentAlong(c, {50, 200}, {0, 1});  // across the drag
      EXPECT_NEAR(hi - lo, BodyOf(L), 1.5) << tool << " L " << L;
    }
  }
}

// A drag for the checks below, and the picture's points in the symbol's own coordinates: s along
// the drag from P, t across it.
struct Along {
  QPointF p, q;
  double Length() const { return std::hypot(q.x() - p.x(), q.y() - p.y()); }
  QPointF U() const { return (q - p) / Length(); }
  QPointF At(double s, double t) const { return p + U() * s + QPointF(-U().y(), U().x()) * t; }
  QPointF Local(int x, int y) const {
    const QPointF d = QPointF(x, y) - p, u = U();
    return {d.x() * u.x() + d.y() * u.y(), -d.x() * u.y() + d.y() * u.x()};
  }
};
const Along kAlongDrags[] = {
    {{40, 200}, {200, 200}},  // the snapshot's length, rightwards
    {{360, 120}, {60, 120}},  // long, leftwards
    {{300, 40}, {300, 130}},  // short, downwards
    {{60, 360}, {250, 220}},  // slanted up to the right
    {{330, 330}, {230, 190}}, // slanted up to the left
};

TEST(CircuitSymbols, TheResistorIsAThreeToOneBoxCentredOnTheDragWithLeadsToBothEnds) {
  for (const Along& a : kAlongDrags) {
    for (int width : {1, 2}) {
      const Canvas c = Drawn(75, a.p.x(), a.p.y(), a.q.x(), a.q.y(), width);
      const double L = a.Length(), b = BodyOf(L), half = b / 2, side = b / 6;
      const std::string at = "drag to (" + std::to_string(a.q.x()) + ", " + std::to_string(a.q.y()) +
                             ") width " + std::to_string(width);
      // The box's outline: its corners and the middles of its sides, as long as the body and a
      // third of that across, in the middle of the drag.
      for (double s : {-half, 0.0, half})
        for (double t : {-side, side}) EXPECT_TRUE(InkNear(c, a.At(L / 2 + s, t).x(), a.At(L / 2 + s, t).y())) << at;
      // Inside the box the paper stays white: the leads stop at its ends.
      for (double s : {-half / 2, 0.0, half / 2}) {
        const QPointF m = a.At(L / 2 + s, 0);
        EXPECT_EQ(c.GetPixel(std::lround(m.x()), std::lround(m.y())), kWhite) << at << " inside the box";
      }
      // The leads: unbroken along the axis from P to the box and from the box to Q.
      for (double s = 0; s <= L; s += 1) {
        if (std::fabs(s - L / 2) < half) continue;
        EXPECT_TRUE(InkNear(c, a.At(s, 0).x(), a.At(s, 0).y())) << at << " lead at " << s;
      }
      // Nothing beyond the box across the drag, and the box no longer than the body.
      for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
          if (c.GetPixel(x, y) == kWhite) continue;
          const QPointF l = a.Local(x, y);
          ASSERT_LE(std::fabs(l.y()), side + 0.5 + width) << at << " at " << x << ", " << y;
          if (std::fabs(l.y()) > 0.5 + width) {
            ASSERT_LE(std::fabs(l.x() - L / 2), half + 0.5 + width) << at;
          }
        }
    }
  }
}

TEST(CircuitSymbols, TheCellsLongPlateIsOnThePressPointsSide) {
  // The long thin plate is the positive one, towards P; the short thick one towards Q.
  for (const Along& a : kAlongDrags) {
    for (int width : {1, 2}) {
      const Canvas c = Drawn(53, a.p.x(), a.p.y(), a.q.x(), a.q.y(), width);
      const double L = a.Length();
      double towardsP = 0, towardsQ = 0;  // how far each plate reaches across the drag
      for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
          if (c.GetPixel(x, y) == kWhite) continue;
          const QPointF l = a.Local(x, y);
          double& reach = l.x() < L / 2 ? towardsP : towardsQ;
          reach = std::max(reach, std::fabs(l.y()));
        }
      const double b = BodyOf(L);
      EXPECT_NEAR(towardsP, 0.45 * b, 1.5) << "drag to " << a.q.x() << ", " << a.q.y() << " width " << width;
      EXPECT_NEAR(towardsQ, 0.22 * b, 1.5) << "drag to " << a.q.x() << ", " << a.q.y() << " width " << width;
    }
  }
}

}  // namespace
