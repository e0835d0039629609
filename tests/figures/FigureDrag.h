#pragma once
// Helpers for the figure tests: drags, blank pictures and picture comparison.
#include <gtest/gtest.h>

#include <QString>
#include <vector>

#include "figures/Canvas.h"
#include "figures/DrawFigure.h"
#include "support/Colors.h"

namespace figtest {

using ::kBlack;
using ::kWhite;

inline DragGeometry Drag(double x1, double y1, double x2, double y2) {
  DragGeometry g;
  g.PressPoint = {x1, y1};
  g.CurrentPoint = {x2, y2};
  g.DragOffset = {x2 - x1, y2 - y1};
  return g;
}

inline ParameterValues Params(double sp, double sz = 5, double cs = 5) {
  ParameterValues p;
  p.SP = sp;
  p.SZ = sz;
  p.CS = cs;
  return p;
}

// Draws the figure of `toolId` for the drag on `canvas` through the dispatcher.
inline void Draw(Canvas& canvas, int toolId, double x1, double y1, double x2, double y2,
                 const ParameterValues& p = ParameterValues()) {
  DragGeometry g = Drag(x1, y1, x2, y2);
  DrawFigure(canvas, g, toolId, p);
}

// A straight segment of an expected picture.
struct Seg {
  double x1, y1, x2, y2;
};

// The picture the segments give when drawn one by one with Canvas::Line on a white w x h canvas.
inline Canvas Segments(int w, int h, const std::vector<Seg>& segs) {
  Canvas c(w, h);
  for (const Seg& s : segs) c.Line(s.x1, s.y1, s.x2, s.y2);
  return c;
}

inline bool Ink(const Canvas& c, int x, int y) { return c.GetPixel(x, y) == kBlack; }

inline int InkCount(const Canvas& c) {
  int n = 0;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x)
      if (c.GetPixel(x, y) != kWhite) ++n;
  return n;
}

// Compares two pictures pixel by pixel; on a difference, names the first differing pixel.
inline ::testing::AssertionResult SamePicture(const Canvas& actual, const Canvas& expected) {
  if (actual.Size() != expected.Size()) return ::testing::AssertionFailure() << "sizes differ";
  int diffs = 0, fx = -1, fy = -1;
  for (int y = 0; y < actual.Height(); ++y)
    for (int x = 0; x < actual.Width(); ++x)
      if (actual.GetPixel(x, y) != expected.GetPixel(x, y)) {
        if (diffs++ == 0) {
          fx = x;
          fy = y;
        }
      }
  if (diffs == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << diffs << " pixels differ, first at (" << fx << ", " << fy << "): actual "
         << QString::number(actual.GetPixel(fx, fy), 16).toStdString() << ", expected "
         << QString::number(expected.GetPixel(fx, fy), 16).toStdString();
}

// The drawing state a figure must leave as it found it.
struct DrawingState {
  QRgb fore, fill;
  int fillStyle, drawStyle, drawWidth;
  explicit DrawingState(const Canvas& c)
      : fore(c.ForeColor), fill(c.FillColor), fillStyle(c.FillStyle), drawStyle(c.DrawStyle),
        drawWidth(c.DrawWidth) {}
  bool operator==(const DrawingState&) const = default;
};

}  // namespace figtest
