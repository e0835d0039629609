#pragma once
#include <QFont>
#include <QImage>
#include <QRgb>
#include <QString>

#include <cstdint>

// One drawing call of the canvas as recorded for its companion: what was called, with the drawing
// state it used. Points, pictures and texts live in side lists of the canvas (index and count here),
// so recording a call copies a few numbers.
struct CanvasCall {
  enum class Kind : uint8_t {
    Line, Polyline, Path, Box, FilledBox, Circle, PSet, SetPixel, Picture, Ellipse, RoundRect,
    Polygon, FloodFill, Text
  };
  Kind kind = Kind::Line;
  bool flag = false;  // Path: closed; Picture: AND
  QRgb fore = 0, fill = 0, color = 0;
  int fillStyle = 1, drawStyle = 0, drawWidth = 1;
  double v[10] = {};
  int first = 0, count = 0;  // points of a path, polyline or polygon
  int data = -1;             // index of the call's pictures or text
};

struct CanvasCallData {
  QImage image, companion;  // a picture's halves; the picture before a fill
  QString text;
  QFont font;
};
