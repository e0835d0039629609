#pragma once
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRgb>
#include <QString>

#include <cstdint>
#include <type_traits>
#include <variant>
#include <vector>

#include "figures/PenAndBrush.h"
#include "figures/RasterOp.h"

// The drawing calls of the canvas as recorded for its companion: one small struct per kind of
// call, holding that call's own arguments. Points, pictures and labels live in side lists of the
// record (their place there is in the struct), so that a call is a few numbers: recording one
// copies them, and dropping the record frees nothing call by call.
namespace call {

// Where the points of a path, polyline or polygon lie in the record's list.
struct Points {
  int first = 0, count = 0;
};

struct Line {
  double x1, y1, x2, y2;
  QRgb color;
};
struct Polyline {
  Points points;
};
struct Path {
  Points points;
  bool closed;
};
struct Box {
  double x1, y1, x2, y2;
};
struct FilledBox {
  double x, y, a, b;
  QRgb color;
};
struct Circle {
  double cx, cy, r;
};
struct PSet {
  double x, y;
};
struct SetPixel {
  int x, y;
  QRgb color;
};
struct Ellipse {
  int left, top, right, bottom;
};
struct RoundRect {
  int left, top, right, bottom, cornerWidth, cornerHeight;
};
struct Polygon {
  Points points;
};
// A picture drawn into the destination rectangle (dx, dy, dw, dh) from its source rectangle, the
// sizes made positive and the mirroring told apart. Its picture and companion are the record's
// images `image` and `image + 1` (the companion null when the picture brought none).
struct Picture {
  int64_t dx, dy, dw, dh, sx, sy, sw, sh;
  bool mirrorX, mirrorY;
  RasterOp op;
  int image;
};
// A flood fill from (x, y) of the region of `color`; the picture as it was before the fill is the
// record's image `before`.
struct FloodFill {
  int x, y;
  QRgb color;
  int fillType;
  int before;
};
// A label with its top-left corner at (x, y); its text and font are the record's label `label`.
struct Text {
  int x, y;
  int label;
};

using Shape = std::variant<Line, Polyline, Path, Box, FilledBox, Circle, PSet, SetPixel, Ellipse, RoundRect,
                           Polygon, Picture, FloodFill, Text>;

}  // namespace call

// One recorded call: what was drawn, and the pen and brush it was drawn with.
struct CanvasCall {
  PenAndBrush state;
  call::Shape shape;
};
static_assert(std::is_trivially_destructible_v<CanvasCall>, "a record is dropped without visiting its calls");

// The calls recorded since the companion last followed the picture, with their side lists.
struct CallRecord {
  struct Label {
    QString text;
    QFont font;
  };
  std::vector<CanvasCall> calls;
  std::vector<QPointF> points;  // of paths, polylines and polygons
  std::vector<QImage> images;   // of pictures drawn and of the pictures fills began from
  std::vector<Label> labels;

  bool empty() const { return calls.empty(); }
  void clear() { calls.clear(), points.clear(), images.clear(), labels.clear(); }
  const QPointF* PointsOf(call::Points p) const { return p.count > 0 ? points.data() + p.first : nullptr; }
  template <class P>
  call::Points AddPoints(const P* from, int count) {
    const call::Points p{static_cast<int>(points.size()), from && count > 0 ? count : 0};
    for (int i = 0; i < p.count; ++i) points.emplace_back(from[i]);
    return p;
  }
  int AddImage(const QImage& image) {
    images.push_back(image);
    return static_cast<int>(images.size()) - 1;
  }
};
